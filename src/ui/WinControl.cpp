// Windowed controls: their windows (created, destroyed, recreated), children, layout and focus.
#include "ui/Controls.h"

#include <windowsx.h>

#include <algorithm>
#include <map>

#include "ui/Application.h"
#include "ui/ControlState.h"
#include "ui/Exceptions.h"
#include "ui/Forms.h"
#include "ui/Menus.h"
#include "ui/Messages.h"
#include "ui/PaintScopes.h"
#include "ui/SysUtils.h"
#include "ui/Text.h"

using namespace controls_detail;

// ---------------------------------------------------------------------------------------
// TWinControl

TWinControl::TWinControl(TComponent* owner) : TControl(owner) {}

TWinControl::~TWinControl()
{
    ComponentState |= csDestroying;
    SendFreeNotifications();  // those told still find the children and the window
    for (TControl* c : controls_)
        c->parent_ = nullptr;
    controls_.clear();
    if (handle_) {
        // Let the window's own class tear it down without calling back into this object.
        HWND h = handle_;
        RemovePropW(h, kObjectProp);
        SetWindowLongPtrW(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(defProc_));
        handle_ = nullptr;
        DestroyWindow(h);
    }
}

// Registers (once) the library's own class or a superclass of a system control whose
// procedure is ours, and tells which procedure handles what ours does not.
namespace {

const wchar_t kOwnClass[] = L"PelvorWindow";

struct WindowClass {
    std::wstring name;
    WNDPROC systemProc;
};

} // namespace

static const WindowClass& ClassFor(const wchar_t* systemClass, WNDPROC ourProc)
{
    static std::map<std::wstring, WindowClass> classes;
    std::wstring key = systemClass ? systemClass : L"";
    auto it = classes.find(key);
    if (it != classes.end())
        return it->second;
    HINSTANCE inst = GetModuleHandleW(nullptr);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    WindowClass result;
    if (systemClass) {
        if (!GetClassInfoExW(nullptr, systemClass, &wc))
            throw Exception("Window class is not registered: " + FromWide(systemClass));
        result.name = std::wstring(L"Pelvor.") + systemClass;
        result.systemProc = wc.lpfnWndProc;
    } else {
        wc.style = CS_DBLCLKS;
        wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
        wc.hIcon = LoadIconW(inst, MAKEINTRESOURCEW(1));
        result.name = kOwnClass;
        result.systemProc = DefWindowProcW;
    }
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = ourProc;
    wc.hInstance = inst;
    wc.lpszClassName = result.name.c_str();
    wc.style &= ~static_cast<UINT>(CS_GLOBALCLASS);
    if (!RegisterClassExW(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
        throw Exception("Cannot register window class " + FromWide(result.name));
    return classes.emplace(key, result).first->second;
}

LRESULT CALLBACK TWinControl::StaticWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    auto* self = static_cast<TWinControl*>(GetPropW(hwnd, kObjectProp));
    if (!self && g_creating) {
        self = g_creating;
        g_creating = nullptr;
        SetPropW(hwnd, kObjectProp, self);
        self->handle_ = hwnd;
    }
    if (!self)
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    TMessage m{msg, wParam, lParam, 0};
    try {
        TDispatchScope depth;
        TWndMethod proc = self->WindowProc;  // a handler may replace WindowProc while it runs
        proc(m);
    } catch (...) {
        ApplicationHandleException();
    }
    if (msg == WM_NCDESTROY) {
        RemovePropW(hwnd, kObjectProp);
        if (self->handle_ == hwnd)
            self->handle_ = nullptr;
    }
    return m.Result;
}

void TWinControl::CreateParams(TCreateParams& params)
{
    params.style = WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
    if (TabStop)
        params.style |= WS_TABSTOP;
}

void TWinControl::CreateWnd()
{
    if (handle_)
        return;
    TCreateParams p;
    CreateParams(p);
    if (p.style & WS_CHILD) {
        if (!parent_)
            return;  // a child window needs its parent; it is made when it gets one
        p.parent = parent_->Handle();
        if (handle_)
            return;  // making the parent's window made this one with it
    }
    // A top-level window is shown only once it is complete, children included:
    // showing activates it, and activation runs the form's code.
    if (visible_ && (p.style & WS_CHILD))
        p.style |= WS_VISIBLE;
    else
        p.style &= ~static_cast<DWORD>(WS_VISIBLE);
    if (!enabled_)
        p.style |= WS_DISABLED;
    // Our own containers (panels, group boxes) let Tab reach the controls inside them.
    if ((p.style & WS_CHILD) && !p.systemClass && !TabStop)
        p.exStyle |= WS_EX_CONTROLPARENT;

    const WindowClass& wc = ClassFor(p.systemClass, StaticWndProc);
    defProc_ = wc.systemProc;

    g_creating = this;
    HWND h = CreateWindowExW(p.exStyle, wc.name.c_str(), ToWide(text_).c_str(), p.style, left_, top_, width_,
                             height_, p.parent, nullptr, GetModuleHandleW(nullptr), nullptr);
    g_creating = nullptr;
    if (!h)
        throw Exception(LastWin32ErrorText("CreateWindowExW"));
    handle_ = h;
    SendMessageW(h, WM_SETFONT, reinterpret_cast<WPARAM>(FontHandle(font_)), FALSE);
    CreateHandleDone();
    for (TControl* c : controls_)
        if (c->IsWindowed())
            static_cast<TWinControl*>(c)->CreateWnd();
    AlignControls();
}

void TWinControl::DestroyWnd()
{
    if (!handle_)
        return;
    // Keep what lives only in the windows (typed text, positions) before they go.
    std::function<void(TWinControl*)> save = [&save](TWinControl* w) {
        if (!w->handle_)
            return;
        w->text_ = w->Text();
        w->DestroyHandleStart();
        for (TControl* c : w->controls_)
            if (c->IsWindowed())
                save(static_cast<TWinControl*>(c));
    };
    save(this);
    if (g_captureControl && (g_captureControl == this || g_captureControl->parent_ == this))
        g_captureControl = nullptr;
    DestroyWindow(handle_);
    handle_ = nullptr;
}

HWND TWinControl::Handle()
{
    if (!handle_)
        CreateWnd();
    if (!handle_)
        throw Exception("Control '" + Name + "' has no parent window");
    return handle_;
}


namespace {
using OwnedSearch = std::pair<HWND, std::vector<HWND>*>;

// A window procedure's calling convention: a plain lambda does not convert to it in
// the 32-bit build.
BOOL CALLBACK CollectOwned(HWND h, LPARAM param)
{
    auto* search = reinterpret_cast<OwnedSearch*>(param);
    if (GetWindow(h, GW_OWNER) == search->first)
        search->second->push_back(h);
    return TRUE;
}

// The top-level windows that window owns: destroying it would destroy them too.
std::vector<HWND> OwnedWindows(HWND window)
{
    std::vector<HWND> owned;
    OwnedSearch search{window, &owned};
    EnumThreadWindows(GetCurrentThreadId(), CollectOwned, reinterpret_cast<LPARAM>(&search));
    return owned;
}
} // namespace

void TWinControl::RecreateWnd()
{
    if (handle_)
        Perform(CM_RECREATEWND);
}

void TWinControl::RecreateWindow()
{
    if (!handle_)
        return;
    // A top-level window is created hidden (CreateWnd) and owns other windows: keep what
    // the system holds for it, and lend its owned windows to the application's window.
    bool topLevel = !(GetWindowLongW(handle_, GWL_STYLE) & WS_CHILD);
    bool shown = IsWindowVisible(handle_) != FALSE;
    bool windowEnabled = IsWindowEnabled(handle_) != FALSE;
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    std::vector<HWND> owned;
    if (topLevel) {
        GetWindowPlacement(handle_, &placement);
        owned = OwnedWindows(handle_);
        HWND lender = Application ? Application->Handle() : nullptr;
        for (HWND h : owned)
            SetWindowLongPtrW(h, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(lender));
    }
    TWinControl* focused = nullptr;
    for (HWND h = GetFocus(); h && !focused; h = GetParent(h))
        if (h == handle_ || IsChild(handle_, h))
            focused = ControlOfWindow(h);
    recreating_ = true;
    DestroyWnd();
    CreateWnd();
    recreating_ = false;
    if (topLevel && handle_) {
        for (HWND h : owned)
            if (IsWindow(h))
                SetWindowLongPtrW(h, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(handle_));
        if (!windowEnabled)
            EnableWindow(handle_, FALSE);
        if (shown) {
            if (placement.showCmd == SW_SHOWMINIMIZED)
                placement.showCmd = SW_SHOWMINNOACTIVE;
            else if (placement.showCmd != SW_SHOWMAXIMIZED)
                placement.showCmd = SW_SHOWNA;
            SetWindowPlacement(handle_, &placement);
            ShowWindow(handle_, placement.showCmd);
        }
    }
    if (focused && focused->handle_)
        ::SetFocus(focused->handle_);
}

void TWinControl::SetParent(TWinControl* parent)
{
    if (parent == parent_)
        return;
    if (handle_ && parent && parent->HandleAllocated()) {
        TControl::SetParent(parent);
        ::SetParent(handle_, parent->Handle());
        return;
    }
    if (handle_ && (GetWindowLongW(handle_, GWL_STYLE) & WS_CHILD))
        DestroyWnd();
    TControl::SetParent(parent);
}

void TWinControl::InsertControl(TControl* control)
{
    controls_.push_back(control);
    if (handle_) {
        if (control->IsWindowed())
            static_cast<TWinControl*>(control)->CreateWnd();
        else
            control->Invalidate();
    }
    Perform(CM_CONTROLLISTCHANGE, reinterpret_cast<WPARAM>(control), 1);
    if (control->align_ != alNone)
        AlignControls();
}

void TWinControl::RemoveControl(TControl* control)
{
    Perform(CM_CONTROLLISTCHANGE, reinterpret_cast<WPARAM>(control), 0);
    if (!control->IsWindowed())
        control->Invalidate();
    controls_.erase(std::remove(controls_.begin(), controls_.end(), control), controls_.end());
    if (g_mouseControl == control)
        g_mouseControl = nullptr;
}

void TWinControl::SetBounds(int left, int top, int width, int height)
{
    if (left == left_ && top == top_ && width == width_ && height == height_)
        return;
    left_ = left;
    top_ = top;
    width_ = width;
    height_ = height;
    if (handle_) {
        SetWindowPos(handle_, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
        // The system may give the window another size than asked for (a window with a
        // caption has a least and a largest one), and then reports no change when the
        // window keeps the size it had: the control takes the bounds the window got.
        if (!IsIconic(handle_)) {
            TRect got = WindowBounds();
            left_ = got.Left;
            top_ = got.Top;
            width_ = got.Width();
            height_ = got.Height();
        }
    }
    BoundsChanged();
    if (parent_ && align_ != alNone)
        parent_->AlignControls();
}

TRect TWinControl::WindowBounds() const
{
    RECT r;
    GetWindowRect(handle_, &r);
    if (parent_ && parent_->HandleAllocated())
        MapWindowPoints(nullptr, parent_->Handle(), reinterpret_cast<POINT*>(&r), 2);
    return TRect::From(r);
}

TRect TWinControl::ClientRect()
{
    if (!handle_)
        return Rect(0, 0, width_, height_);
    RECT r;
    GetClientRect(handle_, &r);
    return TRect::From(r);
}

std::string TWinControl::Text()
{
    if (!handle_)
        return text_;
    int n = GetWindowTextLengthW(handle_);
    std::wstring w(static_cast<size_t>(n) + 1, L'\0');
    n = GetWindowTextW(handle_, &w[0], n + 1);
    w.resize(static_cast<size_t>(n > 0 ? n : 0));
    return FromWide(w);
}

void TWinControl::TextChanged()
{
    if (handle_)
        SetWindowTextW(handle_, ToWide(text_).c_str());
}

void TWinControl::VisibleChanged()
{
    if (handle_)
        ShowWindow(handle_, visible_ ? SW_SHOWNA : SW_HIDE);
}

void TWinControl::EnabledChanged()
{
    if (handle_)
        EnableWindow(handle_, enabled_);
    Invalidate();
}

void TWinControl::FontChanged()
{
    if (handle_)
        SendMessageW(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(FontHandle(font_)), TRUE);
}

void TWinControl::Invalidate()
{
    if (handle_)
        InvalidateRect(handle_, nullptr, (ControlStyle & csOpaque) == 0);
}

TControl* FindDragTarget(TPoint screenPos, bool allowDisabled)
{
    POINT p{screenPos.X, screenPos.Y};
    HWND window = WindowFromPoint(p);
    if (!window)
        return nullptr;
    // Down to the innermost visible child window there, disabled ones included.
    for (;;) {
        POINT local = p;
        ScreenToClient(window, &local);
        HWND child = ChildWindowFromPointEx(window, local, CWP_SKIPINVISIBLE | CWP_SKIPTRANSPARENT);
        if (!child || child == window)
            break;
        window = child;
    }
    TWinControl* control = ControlOfWindow(window);
    if (!control)
        return nullptr;
    POINT local = p;
    ScreenToClient(window, &local);
    TControl* inner = control->ControlAtPos(TPoint{local.x, local.y});
    if (inner && (allowDisabled || inner->Enabled()))
        return inner;
    return allowDisabled || control->Enabled() ? control : nullptr;
}

void EraseWithParentBackground(TControl* control, HDC dc)
{
    TWinControl* parent = control->Parent();
    if (!parent)
        return;
    POINT origin;
    GetWindowOrgEx(dc, &origin);
    SetWindowOrgEx(dc, origin.x + control->Left(), origin.y + control->Top(), nullptr);
    parent->Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(dc));
    SetWindowOrgEx(dc, origin.x, origin.y, nullptr);
}

TControl* TWinControl::ControlAtPos(TPoint p) const
{
    for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
        TControl* c = *it;
        if (c->IsWindowed() || !c->visible_)
            continue;
        if (p.X >= c->left_ && p.Y >= c->top_ && p.X < c->left_ + c->width_ && p.Y < c->top_ + c->height_)
            return c;
    }
    return nullptr;
}

void TWinControl::PaintControls(HDC dc, const RECT* clip)
{
    for (TControl* c : controls_) {
        if (c->IsWindowed() || !c->visible_)
            continue;
        RECT r = c->BoundsRect().ToRECT(), both;
        if (clip && !IntersectRect(&both, &r, clip))
            continue;
        SavedDCScope saved(dc);
        POINT org;
        GetViewportOrgEx(dc, &org);
        SetViewportOrgEx(dc, org.x + c->left_, org.y + c->top_, nullptr);
        IntersectClipRect(dc, 0, 0, c->width_, c->height_);
        c->Perform(WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
    }
}

void TWinControl::AlignControls()
{
    if (aligning_)
        return;
    aligning_ = true;
    TRect r = ClientRect();
    auto place = [&](TAlign which) {
        for (TControl* c : controls_) {
            if (c->align_ != which || !c->visible_)
                continue;
            switch (which) {
            case alTop:
                c->SetBounds(r.Left, r.Top, r.Width(), c->height_);
                r.Top += c->height_;
                break;
            case alBottom:
                c->SetBounds(r.Left, r.Bottom - c->height_, r.Width(), c->height_);
                r.Bottom -= c->height_;
                break;
            case alLeft:
                c->SetBounds(r.Left, r.Top, c->width_, r.Height());
                r.Left += c->width_;
                break;
            case alRight:
                c->SetBounds(r.Right - c->width_, r.Top, c->width_, r.Height());
                r.Right -= c->width_;
                break;
            case alClient:
                c->SetBounds(r.Left, r.Top, r.Width(), r.Height());
                break;
            default:
                break;
            }
        }
    };
    place(alTop);
    place(alBottom);
    place(alLeft);
    place(alRight);
    place(alClient);
    aligning_ = false;
}

bool TWinControl::Focused() const { return handle_ && GetFocus() == handle_; }

bool TWinControl::CanFocus()
{
    for (TControl* c = this; c; c = c->parent_)
        if (!c->visible_ || !c->enabled_)
            return false;
    return true;
}

void TWinControl::SetFocus()
{
    if (CanFocus())
        ::SetFocus(Handle());
}

void TWinControl::DoEnter()
{
    if (OnEnter && EventsAllowed())
        OnEnter(this);
}

void TWinControl::DoExit()
{
    if (OnExit && EventsAllowed())
        OnExit(this);
}

