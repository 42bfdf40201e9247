#pragma once
// While a modal form or a message box waits for the user, the rest of the program takes
// no input: every visible, enabled top-level window of the calling thread is disabled
// for the length of the scope and enabled again at its end.
#include <windows.h>

#include <vector>

class TTaskWindowsDisabled {
public:
    // Leaves except alone (the owner of a box, which the box disables itself).
    explicit TTaskWindowsDisabled(HWND except = nullptr);
    ~TTaskWindowsDisabled();
    TTaskWindowsDisabled(const TTaskWindowsDisabled&) = delete;
    TTaskWindowsDisabled& operator=(const TTaskWindowsDisabled&) = delete;

private:
    std::vector<HWND> disabled_;
};
