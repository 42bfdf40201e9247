#pragma once
// Starts a copy of the program in a fresh folder of its own (so it finds no settings
// file) and drives it from outside through its windows.
#include <windows.h>

#include <string>
#include <vector>

#include "support/WaitUntil.h"

class ProgramUnderTest {
public:
    // exe: the program to copy (a Unix path is mapped to Wine's Z: drive).
    explicit ProgramUnderTest(const std::wstring& exe);
    ~ProgramUnderTest();
    ProgramUnderTest(const ProgramUnderTest&) = delete;
    ProgramUnderTest& operator=(const ProgramUnderTest&) = delete;

    // Starts the copy; again after it ended, in the same folder (a restart).
    bool Start(const std::wstring& arguments = L"");
    // The visible top-level window of the program whose caption ends with the text, or
    // null after the time-out.
    HWND WaitForWindow(const std::wstring& captionEnd, DWORD timeoutMs = 30000);
    // Waits for the process to end; returns its exit code, or -1 on time-out.
    long WaitForExit(DWORD timeoutMs = 30000);
    const std::wstring& Folder() const { return folder_; }
    DWORD ProcessId() const { return process_.dwProcessId; }

private:
    std::wstring folder_;
    std::wstring copy_;
    PROCESS_INFORMATION process_{};
};

// Waits until pred holds, 30 s at most, looking again every 50 ms: the program under
// test has its own work to do. Whether it held.
template <class Pred>
bool PollUntil(Pred pred)
{
    return WaitUntil(pred, std::chrono::seconds(30), std::chrono::milliseconds(50));
}
// Whether the thread of the window has come back to its message loop twice since this
// was called (two round trips of a sent message, 10 s each at most): the work it was
// doing then, and what that work sent it, is done. Posted messages may still wait.
bool Settle(HWND window);
// The program named by an environment variable (PELVOR_EXE), or "" when unset.
std::wstring ProgramFromEnvironment(const wchar_t* variable);
std::wstring WindowText(HWND window);
std::wstring ClassName(HWND window);
// Every descendant window of a window whose class name contains the text (any case).
std::vector<HWND> ChildrenOfClass(HWND parent, const std::wstring& classPart);
// The items of a combo box of another process.
std::vector<std::wstring> ComboItems(HWND combo);
// Clicks the main window's tool-bar button whose left edge is at left, as the mouse does.
void ClickToolButton(HWND main, int left);
// A file's bytes: written whole (false when that failed), read whole ("" when missing).
bool WriteWholeFile(const std::wstring& name, const std::string& bytes);
std::string ReadWholeFile(const std::wstring& name);
