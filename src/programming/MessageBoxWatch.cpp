#include "programming/MessageBoxWatch.h"

#include <cwchar>

namespace {

// The innermost watch of this thread and the hook that serves all of them.
thread_local MessageBoxWatch* innermost = nullptr;
thread_local HHOOK hook = nullptr;

bool IsDialogWindow(HWND window)
{
    wchar_t name[16] = {};
    return GetClassNameW(window, name, 16) > 0 && std::wcscmp(name, L"#32770") == 0;
}

} // namespace

MessageBoxWatch::MessageBoxWatch() : outer_(innermost)
{
    if (!hook)
        hook = SetWindowsHookExW(WH_CBT, &MessageBoxWatch::Hook, nullptr, GetCurrentThreadId());
    innermost = this;
}

MessageBoxWatch::~MessageBoxWatch()
{
    innermost = outer_;
    if (!innermost && hook) {
        UnhookWindowsHookEx(hook);
        hook = nullptr;
    }
}

LRESULT CALLBACK MessageBoxWatch::Hook(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_CREATEWND && innermost && !innermost->box_) {
        auto window = reinterpret_cast<HWND>(wParam);
        const auto* create = reinterpret_cast<const CBT_CREATEWNDW*>(lParam);
        if (!(create->lpcs->style & WS_CHILD) && IsDialogWindow(window))
            innermost->box_ = window;
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

bool MessageBoxWatch::PressOk()
{
    HWND box = box_;
    box_ = nullptr;
    if (!box || !IsWindow(box))
        return false;
    SetActiveWindow(box);
    SendMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    return true;
}
