#include "ui/Application.h"

#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>

#include "ui/Controls.h"
#include "ui/Dialogs.h"
#include "ui/Exceptions.h"
#include "ui/Forms.h"
#include "ui/Messages.h"
#include "ui/Text.h"
#include "ui/Threads.h"

TApplication* Application = nullptr;

namespace {
const wchar_t kHiddenClass[] = L"PelvorApplication";
const UINT_PTR kHintTimer = 1;
const UINT kHintDelayMs = 500;

// Hints of the form "short|long": the part before the bar is shown.
std::string ShortHint(const std::string& hint)
{
    size_t bar = hint.find('|');
    return bar == std::string::npos ? hint : hint.substr(0, bar);
}
// A file name as the program can hold it: characters Windows-1251 lacks become '?',
// which no file name contains, so the name can never open a different file.
std::string ExactOrMarked(const std::wstring& name)
{
    std::string out;
    FromWideExact(name, out);
    return out;
}
} // namespace

TApplication::TApplication() : TComponent(nullptr), wake_(CreateEventW(nullptr, FALSE, FALSE, nullptr))
{
    Application = this;
    int argc = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    for (int i = 0; argv && i < argc; ++i)
        params_.push_back(ExactOrMarked(argv[i]));
    if (argv)
        LocalFree(argv);
}

TApplication::~TApplication()
{
    DestroyComponents();
    if (hintWindow_)
        DestroyWindow(hintWindow_);
    if (handle_)
        DestroyWindow(handle_);
    if (Application == this)
        Application = nullptr;
}

void TApplication::Initialize()
{
    if (handle_)
        return;
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&icc);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = HiddenWndProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = kHiddenClass;
    wc.hIcon = LoadIconW(wc.hInstance, MAKEINTRESOURCEW(1));
    RegisterClassExW(&wc);
    handle_ = CreateWindowExW(WS_EX_TOOLWINDOW, kHiddenClass, ToWide(title_).c_str(), WS_POPUP, 0, 0, 0, 0,
                              nullptr, nullptr, wc.hInstance, nullptr);
    SetSynchronizeWindow(handle_);
}

void TApplication::SetTitle(const std::string& title)
{
    title_ = title;
    if (handle_)
        SetWindowTextW(handle_, ToWide(title).c_str());
}

int TApplication::HookMainWindow(TWindowHook hook)
{
    hooks_.push_back(Hook{nextHookId_, std::move(hook)});
    return nextHookId_++;
}

void TApplication::UnhookMainWindow(int id)
{
    hooks_.erase(std::remove_if(hooks_.begin(), hooks_.end(), [id](const Hook& h) { return h.id == id; }),
                 hooks_.end());
}

LRESULT CALLBACK TApplication::HiddenWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    TApplication* app = Application;
    if (!app || (app->handle_ && app->handle_ != hwnd))
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    TMessage m{msg, wParam, lParam, 0};
    try {
        TDispatchScope depth;
        // Hooks may unhook themselves: walk a copy.
        std::vector<Hook> hooks = app->hooks_;
        for (Hook& h : hooks)
            if (h.fn(m))
                return m.Result;
        switch (msg) {
        case CM_SYNCHRONIZE:
            CheckSynchronize();
            return 0;
        case WM_TIMER:
            if (wParam == kHintTimer) {
                KillTimer(hwnd, kHintTimer);
                app->ShowHintNow();
                return 0;
            }
            break;
        }
    } catch (...) {
        ApplicationHandleException();
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

bool TApplication::ProcessMessage()
{
    MSG msg;
    if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
        return false;
    if (msg.message == WM_QUIT) {
        terminated_ = true;
        return true;
    }
    // Tab and Shift+Tab move the focus between the controls of a form.
    if (msg.message == WM_KEYDOWN && msg.wParam == VK_TAB && GetKeyState(VK_CONTROL) >= 0) {
        HWND top = GetAncestor(msg.hwnd, GA_ROOT);
        LRESULT code = SendMessageW(msg.hwnd, WM_GETDLGCODE, msg.wParam, reinterpret_cast<LPARAM>(&msg));
        if (top && !(code & (DLGC_WANTTAB | DLGC_WANTALLKEYS))) {
            HWND next = GetNextDlgTabItem(top, msg.hwnd, GetKeyState(VK_SHIFT) < 0);
            if (next) {
                SetFocus(next);
                return true;
            }
        }
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
    return true;
}

void TApplication::HandleMessage()
{
    try {
        if (!ProcessMessage() && !terminated_) {
            HANDLE wake = wake_.Get();
            MsgWaitForMultipleObjectsEx(wake ? 1 : 0, &wake, INFINITE, QS_ALLINPUT, 0);
        }
    } catch (...) {
        HandleException();
    }
}

void TApplication::Wake()
{
    if (wake_)
        SetEvent(wake_.Get());
}

void TApplication::ProcessMessages()
{
    while (ProcessMessage()) {
    }
}

void TApplication::Run()
{
    if (MainForm)
        MainForm->Show();
    while (!terminated_)
        HandleMessage();
    // A WM_QUIT still queued (posted by other code) would end the first message box
    // shown while the forms are freed.
    MSG msg;
    while (PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
}

void TApplication::Terminate()
{
    // Wakes the loop without WM_QUIT, which would also end any later message box.
    terminated_ = true;
    Wake();
}

void TApplication::ShowException(const std::string& message)
{
    std::string text = message;
    // The default box ends the message with a full stop, as the class library does.
    if (!text.empty() && static_cast<unsigned char>(text.back()) > '.')
        text += '.';
    ShowMessageBox(text, title_, MB_OK | MB_ICONSTOP);
}

HWND DialogOwnerWindow()
{
    if (HWND active = GetActiveWindow())
        return active;
    // Not the active program (an error from a timer or a thread's Synchronize): the
    // main form's window, or the popup it last showed, still owns the box.
    if (Application && Application->MainForm && Application->MainForm->HandleAllocated())
        return GetLastActivePopup(Application->MainForm->Handle());
    return nullptr;
}

void TApplication::HandleException()
{
    try {
        throw;
    } catch (const Exception& e) {
        ShowException(e.Message);
    } catch (const std::exception& e) {
        ShowException(e.what());
    } catch (...) {
        ShowException("");
    }
}

void ApplicationHandleException()
{
    if (Application) {
        Application->HandleException();
        return;
    }
    try {
        throw;
    } catch (...) {
    }
}

std::string TApplication::ExeName() const
{
    wchar_t buf[32768];
    DWORD n = GetModuleFileNameW(nullptr, buf, 32768);
    return ExactOrMarked(std::wstring(buf, n));
}

int TApplication::ParamCount() const { return params_.empty() ? 0 : static_cast<int>(params_.size()) - 1; }

std::string TApplication::ParamStr(int index) const
{
    if (index == 0)
        return ExeName();
    if (index < 0 || index >= static_cast<int>(params_.size()))
        return std::string();
    return params_[static_cast<size_t>(index)];
}

void TApplication::ShowHintNow()
{
    TControl* c = hintControl_;
    if (!c || !c->ShowHint || ShortHint(c->Hint).empty())
        return;
    if (!hintWindow_) {
        hintWindow_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX, 0, 0, 0, 0,
                                      handle_, nullptr, GetModuleHandleW(nullptr), nullptr);
        if (!hintWindow_)
            return;
    }
    static std::wstring text;
    text = ToWide(ShortHint(c->Hint));
    TOOLINFOW ti{};
    ti.cbSize = sizeof ti;
    ti.uFlags = TTF_TRACK | TTF_ABSOLUTE;
    ti.hwnd = handle_;
    ti.uId = 1;
    ti.lpszText = &text[0];
    SendMessageW(hintWindow_, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
    SendMessageW(hintWindow_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
    POINT p;
    GetCursorPos(&p);
    SendMessageW(hintWindow_, TTM_TRACKPOSITION, 0, MAKELPARAM(p.x + 8, p.y + 20));
    SendMessageW(hintWindow_, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&ti));
}

void HintEnter(TControl* control)
{
    TApplication* app = Application;
    if (!app || !app->handle_)
        return;
    app->hintControl_ = control;
    SetTimer(app->handle_, kHintTimer, kHintDelayMs, nullptr);
}

void TApplication::CancelHint()
{
    hintControl_ = nullptr;
    if (handle_)
        KillTimer(handle_, kHintTimer);
    if (hintWindow_) {
        TOOLINFOW ti{};
        ti.cbSize = sizeof ti;
        ti.hwnd = handle_;
        ti.uId = 1;
        SendMessageW(hintWindow_, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&ti));
    }
}

void HintLeave(TControl* control)
{
    TApplication* app = Application;
    if (app && app->hintControl_ == control)
        app->CancelHint();
}
