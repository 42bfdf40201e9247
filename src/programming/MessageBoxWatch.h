#pragma once
// Notes the message box this thread opens while the watch lives, so that the program can
// end that very box later by its own window handle (never by a title that another
// window may carry). Watches nest: an inner watch takes the box opened while it is the
// innermost one. Windows only.
#include <windows.h>

class MessageBoxWatch {
public:
    MessageBoxWatch();
    ~MessageBoxWatch();
    MessageBoxWatch(const MessageBoxWatch&) = delete;
    MessageBoxWatch& operator=(const MessageBoxWatch&) = delete;

    // The box's window; null before it opened, once it was ended, or when the box was
    // shown without a window (a test's dialogs).
    HWND Box() const { return box_; }
    // Ends the box as if its OK button had been pressed; false when there is none.
    bool PressOk();

private:
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam);

    HWND box_ = nullptr;
    MessageBoxWatch* outer_ = nullptr;  // the watch this one nests in; not owned
};
