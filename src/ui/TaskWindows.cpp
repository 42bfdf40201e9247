#include "ui/TaskWindows.h"

namespace {

struct Enumeration {
    HWND except;
    std::vector<HWND>* windows;
};

BOOL CALLBACK Collect(HWND window, LPARAM data)
{
    auto* e = reinterpret_cast<Enumeration*>(data);
    if (window != e->except && IsWindowVisible(window) && IsWindowEnabled(window))
        e->windows->push_back(window);
    return TRUE;
}

} // namespace

TTaskWindowsDisabled::TTaskWindowsDisabled(HWND except)
{
    Enumeration e{except, &disabled_};
    EnumThreadWindows(GetCurrentThreadId(), Collect, reinterpret_cast<LPARAM>(&e));
    for (HWND window : disabled_)
        EnableWindow(window, FALSE);
}

TTaskWindowsDisabled::~TTaskWindowsDisabled()
{
    // A window destroyed meanwhile is skipped.
    for (HWND window : disabled_)
        if (IsWindow(window))
            EnableWindow(window, TRUE);
}
