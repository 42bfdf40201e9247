#include "ui/Controls.h"

#include <windowsx.h>

#include <algorithm>
#include <map>

#include "ui/Application.h"
#include "ui/Exceptions.h"
#include "ui/Forms.h"
#include "ui/Menus.h"
#include "ui/Messages.h"
#include "ui/PaintScopes.h"
#include "ui/SysUtils.h"
#include "ui/Text.h"

namespace {

const wchar_t kObjectProp[] = L"PelvorControl";
const wchar_t kOwnClass[] = L"PelvorWindow";

TWinControl* g_creating = nullptr;   // the control whose window CreateWindowEx is making
TControl* g_mouseControl = nullptr;  // the control the mouse is over
TControl* g_captureControl = nullptr;
int g_dispatchDepth = 0;
std::vector<std::pair<HWND, UINT>> g_outermostPosts;  // waiting for the depth to reach 0

struct WindowClass {
    std::wstring name;
    WNDPROC systemProc;
};

} // namespace

TShiftState KeyboardShiftState()
{
    TShiftState s = 0;
    if (GetKeyState(VK_SHIFT) < 0)
        s |= ssShift;
    if (GetKeyState(VK_CONTROL) < 0)
        s |= ssCtrl;
    if (GetKeyState(VK_MENU) < 0)
        s |= ssAlt;
    if (GetKeyState(VK_LBUTTON) < 0)
        s |= ssLeft;
    if (GetKeyState(VK_RBUTTON) < 0)
        s |= ssRight;
    if (GetKeyState(VK_MBUTTON) < 0)
        s |= ssMiddle;
    return s;
}

TDispatchScope::TDispatchScope() { ++g_dispatchDepth; }
TDispatchScope::~TDispatchScope()
{
    if (--g_dispatchDepth > 0 || g_outermostPosts.empty())
        return;
    auto posts = std::move(g_outermostPosts);
    g_outermostPosts.clear();
    for (auto& p : posts)
        PostMessageW(p.first, p.second, 0, 0);  // fails harmlessly for a window gone meanwhile
}

int DispatchDepth() { return g_dispatchDepth; }

void PostWhenOutermost(HWND window, UINT msg)
{
    if (g_dispatchDepth == 0)
        PostMessageW(window, msg, 0, 0);
    else
        g_outermostPosts.emplace_back(window, msg);
}

TControl* MouseControl() { return g_mouseControl; }
TControl* CaptureControl() { return g_captureControl; }

void SetCaptureControl(TControl* control)
{
    g_captureControl = control;
    if (!control) {
        if (GetCapture())
            ReleaseCapture();
        return;
    }
    TWinControl* w = control->IsWindowed() ? static_cast<TWinControl*>(control) : control->Parent();
    if (w && w->HandleAllocated())
        SetCapture(w->Handle());
    g_captureControl = control;  // SetCapture may have cleared it through WM_CAPTURECHANGED
}

// ---------------------------------------------------------------------------------------
// TControl

TControl::TControl(TComponent* owner) : TComponent(owner)
{
    WindowProc = [this](TMessage& m) { WndProc(m); };
}

TControl::~TControl()
{
    ComponentState |= csDestroying;  // deleted directly: no event into a half-destroyed control
    HintLeave(this);
    if (g_mouseControl == this)
        g_mouseControl = nullptr;
    if (g_captureControl == this)
        SetCaptureControl(nullptr);
    if (parent_)
        parent_->RemoveControl(this);
    parent_ = nullptr;
}

void TControl::SetParent(TWinControl* parent)
{
    if (parent == parent_)
        return;
    if (parent_)
        parent_->RemoveControl(this);
    parent_ = parent;
    if (parent_)
        parent_->InsertControl(this);
}

TForm* TControl::ParentForm()
{
    TControl* c = this;
    while (c->parent_)
        c = c->parent_;
    return dynamic_cast<TForm*>(c);
}

void TControl::SetBounds(int left, int top, int width, int height)
{
    if (left == left_ && top == top_ && width == width_ && height == height_)
        return;
    if (parent_ && visible_)
        Invalidate();
    left_ = left;
    top_ = top;
    width_ = width;
    height_ = height;
    if (parent_ && visible_)
        Invalidate();
    BoundsChanged();
    if (parent_ && align_ != alNone)
        parent_->AlignControls();
}

TRect TControl::ClientRect() { return Rect(0, 0, width_, height_); }

TPoint TControl::ClientToScreen(TPoint p)
{
    if (!parent_)
        return p;
    return parent_->ClientToScreen(TPoint{p.X + left_, p.Y + top_});
}

TPoint TControl::ScreenToClient(TPoint p)
{
    TPoint origin = ClientToScreen(TPoint{0, 0});
    return TPoint{p.X - origin.X, p.Y - origin.Y};
}

void TControl::SetAlign(TAlign align)
{
    if (align == align_)
        return;
    align_ = align;
    if (parent_)
        parent_->AlignControls();
}

void TControl::SetVisible(bool visible)
{
    if (visible == visible_)
        return;
    visible_ = visible;
    VisibleChanged();
    if (parent_ && align_ != alNone)
        parent_->AlignControls();
}

bool TControl::Showing() const { return visible_ && (!parent_ || parent_->Showing()); }

void TControl::SetEnabled(bool enabled)
{
    if (enabled == enabled_)
        return;
    enabled_ = enabled;
    EnabledChanged();
}

std::string TControl::Text() { return text_; }

void TControl::SetText(const std::string& text)
{
    if (text == Text())
        return;
    text_ = text;
    TextChanged();
    Invalidate();
}

void TControl::SetColor(TColor color)
{
    if (color == color_)
        return;
    color_ = color;
    ColorChanged();
}

void TControl::SetFont(const TFont& font)
{
    if (font == font_)
        return;
    font_ = font;
    FontChanged();
}

LRESULT TControl::Perform(UINT msg, WPARAM wParam, LPARAM lParam)
{
    TMessage m{msg, wParam, lParam, 0};
    TWndMethod proc = WindowProc;  // a handler may replace WindowProc while it runs
    proc(m);
    return m.Result;
}

void TControl::WndProc(TMessage& message)
{
    switch (message.Msg) {
    case CM_MOUSEENTER:
        mouseInControl_ = true;
        MouseEnter();
        HintEnter(this);
        return;
    case CM_MOUSELEAVE:
        mouseInControl_ = false;
        MouseLeave();
        HintLeave(this);
        return;
    }
    DefaultHandler(message);
}

void TControl::DefaultHandler(TMessage&) {}

void TControl::Invalidate()
{
    if (!parent_ || !parent_->HandleAllocated())
        return;
    RECT r = BoundsRect().ToRECT();
    InvalidateRect(parent_->Handle(), &r, TRUE);
}

void TControl::Repaint()
{
    Invalidate();
    TWinControl* w = IsWindowed() ? static_cast<TWinControl*>(this) : parent_;
    if (w && w->HandleAllocated())
        UpdateWindow(w->Handle());
}

void TControl::Click()
{
    if (OnClick && EventsAllowed())
        OnClick(this);
}

bool TControl::EventsAllowed()
{
    if (ComponentState & csDestroying)
        return false;
    TComponent* o = Owner();
    return !(o && (o->ComponentState & csDestroying));
}

void TControl::VisibleChanged() { Invalidate(); }

void TControl::EnabledChanged() { Invalidate(); }

void TControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    if (OnMouseDown && EventsAllowed())
        OnMouseDown(this, button, shift, x, y);
}

void TControl::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    if (OnMouseUp && EventsAllowed())
        OnMouseUp(this, button, shift, x, y);
}

void TControl::MouseMove(TShiftState shift, int x, int y)
{
    if (OnMouseMove && EventsAllowed())
        OnMouseMove(this, shift, x, y);
}

bool TControl::HandleMouseMessage(TMessage& m)
{
    int x = GET_X_LPARAM(m.LParam), y = GET_Y_LPARAM(m.LParam);
    TShiftState shift = KeyboardShiftState();
    bool clicks = !IsWindowed() || dynamic_cast<TCustomControl*>(this) != nullptr;
    switch (m.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        if (m.Msg == WM_LBUTTONDBLCLK) {
            shift |= ssDouble;
            if (OnDblClick && EventsAllowed())
                OnDblClick(this);
        }
        if (clicks) {
            clickPending_ = true;
            SetCaptureControl(this);
        }
        MouseDown(mbLeft, shift, x, y);
        return clicks;
    case WM_RBUTTONDOWN:
        MouseDown(mbRight, shift, x, y);
        return false;
    case WM_MBUTTONDOWN:
        MouseDown(mbMiddle, shift, x, y);
        return false;
    case WM_LBUTTONUP: {
        bool wasPending = clickPending_;
        clickPending_ = false;
        if (clicks && g_captureControl == this)
            SetCaptureControl(nullptr);
        MouseUp(mbLeft, shift, x, y);
        if (clicks && wasPending && x >= 0 && y >= 0 && x < width_ && y < height_)
            Click();
        return clicks;
    }
    case WM_RBUTTONUP:
        MouseUp(mbRight, shift, x, y);
        return false;
    case WM_MBUTTONUP:
        MouseUp(mbMiddle, shift, x, y);
        return false;
    case WM_MOUSEMOVE:
        MouseMove(shift, x, y);
        return false;
    }
    return false;
}

// ---------------------------------------------------------------------------------------
// TGraphicControl

void TGraphicControl::WndProc(TMessage& message)
{
    if (message.Msg == WM_PAINT) {
        if (message.WParam) {
            CanvasDCScope scope(canvas_, reinterpret_cast<HDC>(message.WParam));
            canvas_.Font = font_;
            canvas_.Brush.Color = color_;
            Paint();
        }
        return;
    }
    if (message.Msg >= WM_MOUSEFIRST && message.Msg <= WM_MOUSELAST) {
        if (enabled_)
            HandleMouseMessage(message);
        return;
    }
    TControl::WndProc(message);
}

// ---------------------------------------------------------------------------------------
// TWinControl

TWinControl::TWinControl(TComponent* owner) : TControl(owner) {}

TWinControl::~TWinControl()
{
    ComponentState |= csDestroying;
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
    if (colorBrush_)
        DeleteObject(colorBrush_);
}

// Registers (once) the library's own class or a superclass of a system control whose
// procedure is ours, and tells which procedure handles what ours does not.
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
        throw Exception("Error creating window: " + IntToStr(static_cast<long long>(GetLastError())));
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

static TWinControl* ControlOfWindow(HWND hwnd);

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
    if (handle_)
        SetWindowPos(handle_, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    BoundsChanged();
    if (parent_ && align_ != alNone)
        parent_->AlignControls();
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
        InvalidateRect(handle_, nullptr, TRUE);
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

bool TWinControl::DoKeyDown(WORD& key, TShiftState shift)
{
    TForm* form = ParentForm();
    if (form && form != this && form->KeyPreview && form->OnKeyDown && form->EventsAllowed()) {
        form->OnKeyDown(form, key, shift);
        if (key == 0)
            return true;
    }
    if (OnKeyDown && EventsAllowed())
        OnKeyDown(this, key, shift);
    return key == 0;
}

bool TWinControl::DoMenuKey(WORD key)
{
    TShiftState shift = KeyboardShiftState();
    if (!(shift & (ssCtrl | ssAlt)) && !(key >= VK_F1 && key <= VK_F24))
        return false;  // plain keys are never menu shortcuts here
    TShortCut sc = ShortCut(key, shift);
    for (TControl* c = this; c; c = c->Parent()) {
        if (!c->PopupMenu)
            continue;
        if (TMenuItem* item = c->PopupMenu->FindShortCut(sc)) {
            if (EventsAllowed())
                item->Click();
            return true;
        }
    }
    return false;
}

bool TWinControl::DoKeyPress(char& key)
{
    TForm* form = ParentForm();
    if (form && form != this && form->KeyPreview && form->OnKeyPress && form->EventsAllowed()) {
        form->OnKeyPress(form, key);
        if (key == 0)
            return true;
    }
    if (OnKeyPress && EventsAllowed())
        OnKeyPress(this, key);
    return key == 0;
}

bool TWinControl::WantsDialogKey(WORD key, LPARAM keyData)
{
    // Asked the way a dialog asks, with the key message, so a control can claim one key
    // (an open drop-down list keeps Escape and Enter).
    MSG msg{handle_, WM_KEYDOWN, key, keyData, static_cast<DWORD>(GetMessageTime()), {0, 0}};
    LRESULT code = Perform(WM_GETDLGCODE, key, reinterpret_cast<LPARAM>(&msg));
    return (code & (DLGC_WANTALLKEYS | DLGC_WANTMESSAGE)) != 0;
}

bool TWinControl::EraseBackground(HDC dc)
{
    if (defProc_ != DefWindowProcW)
        return false;  // system controls erase themselves
    RECT r;
    GetClientRect(handle_, &r);
    HBRUSH b = CreateSolidBrush(ColorToRGB(color_));
    FillRect(dc, &r, b);
    DeleteObject(b);
    return true;
}

LRESULT TWinControl::ColorMessage(HDC dc)
{
    COLORREF rgb = ColorToRGB(color_);
    if (!colorBrush_ || colorBrushColor_ != rgb) {
        if (colorBrush_)
            DeleteObject(colorBrush_);
        colorBrush_ = CreateSolidBrush(rgb);
        colorBrushColor_ = rgb;
    }
    SetTextColor(dc, ColorToRGB(font_.Color));
    SetBkColor(dc, rgb);
    return reinterpret_cast<LRESULT>(colorBrush_);
}

static TWinControl* ControlOfWindow(HWND hwnd)
{
    return hwnd ? static_cast<TWinControl*>(GetPropW(hwnd, kObjectProp)) : nullptr;
}

bool TWinControl::ReflectToChild(TMessage& m)
{
    HWND child = nullptr;
    switch (m.Msg) {
    case WM_COMMAND:
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSTATIC:
        child = reinterpret_cast<HWND>(m.LParam);
        break;
    case WM_NOTIFY:
        child = reinterpret_cast<NMHDR*>(m.LParam)->hwndFrom;
        break;
    case WM_DRAWITEM:
        child = reinterpret_cast<DRAWITEMSTRUCT*>(m.LParam)->hwndItem;
        break;
    default:
        return false;
    }
    TWinControl* target = ControlOfWindow(child);
    if (!target || target == this)
        return false;
    m.Result = target->Perform(kCnBase + m.Msg, m.WParam, m.LParam);
    return true;
}

void TWinControl::TrackMouse(TControl* target)
{
    if (g_mouseControl != target) {
        TControl* old = g_mouseControl;
        g_mouseControl = target;
        if (old)
            old->Perform(CM_MOUSELEAVE, 0, reinterpret_cast<LPARAM>(old));
        if (target)
            target->Perform(CM_MOUSEENTER, 0, reinterpret_cast<LPARAM>(target));
    }
    TRACKMOUSEEVENT tme{sizeof tme, TME_LEAVE, handle_, 0};
    TrackMouseEvent(&tme);
}

void TWinControl::WndProc(TMessage& m)
{
    switch (m.Msg) {
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_DRAWITEM:
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSTATIC:
        if (ReflectToChild(m))
            return;
        break;
    case CN_CTLCOLOREDIT:
    case CN_CTLCOLORLISTBOX:
    case CN_CTLCOLORBTN:
    case CN_CTLCOLORSTATIC:
        if (HandleReflected(m))
            return;
        m.Result = ColorMessage(reinterpret_cast<HDC>(m.WParam));
        return;
    case WM_ERASEBKGND:
        if (EraseBackground(reinterpret_cast<HDC>(m.WParam))) {
            m.Result = 1;
            return;
        }
        break;
    case WM_SIZE:
    case WM_MOVE:
    case WM_WINDOWPOSCHANGED: {
        if (m.Msg == WM_WINDOWPOSCHANGED) {
            DefaultHandler(m);  // sends WM_SIZE and WM_MOVE
            return;
        }
        // A minimized window's iconic rectangle is not the form's geometry, and its
        // empty client area is no place to lay the children out in.
        if ((m.Msg == WM_SIZE && m.WParam == SIZE_MINIMIZED) || (m.Msg == WM_MOVE && IsIconic(handle_)))
            break;
        RECT r;
        GetWindowRect(handle_, &r);
        if (parent_ && parent_->HandleAllocated())
            MapWindowPoints(nullptr, parent_->Handle(), reinterpret_cast<POINT*>(&r), 2);
        bool resized = (r.right - r.left) != width_ || (r.bottom - r.top) != height_;
        left_ = r.left;
        top_ = r.top;
        width_ = r.right - r.left;
        height_ = r.bottom - r.top;
        if (m.Msg == WM_SIZE) {
            AlignControls();
            if (OnResize && EventsAllowed())
                OnResize(this);
        } else if (resized) {
            AlignControls();
        }
        break;
    }
    case WM_SETFOCUS:
        if (TForm* form = ParentForm())
            if (form != this)
                form->SetFocusedControl(this);
        break;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: {
        // The key notification comes first; a control that answers it keeps the key.
        if (Perform(CN_KEYDOWN, m.WParam, m.LParam)) {
            m.Result = 0;
            return;
        }
        WORD key = static_cast<WORD>(m.WParam);
        if (DoMenuKey(key))
            return;
        if (DoKeyDown(key, KeyboardShiftState()))
            return;
        if (m.Msg == WM_KEYDOWN && (key == VK_RETURN || key == VK_ESCAPE) && !WantsDialogKey(key, m.LParam))
            if (TForm* form = ParentForm())
                if (form->Perform(CM_DIALOGKEY, key, 0))
                    return;
        m.WParam = key;
        break;
    }
    case WM_KEYUP:
    case WM_SYSKEYUP: {
        WORD key = static_cast<WORD>(m.WParam);
        if (OnKeyUp && EventsAllowed())
            OnKeyUp(this, key, KeyboardShiftState());
        if (key == 0)
            return;
        m.WParam = key;
        break;
    }
    case WM_CHAR: {
        wchar_t wc = static_cast<wchar_t>(m.WParam);
        char key = 0;
        if (wc < 0x80) {
            key = static_cast<char>(wc);
        } else {
            std::string narrow = FromWide(std::wstring(1, wc));
            key = narrow.empty() ? '?' : narrow[0];
        }
        char before = key;
        if (DoKeyPress(key))
            return;
        if (key != before) {
            std::wstring wide = ToWide(std::string(1, key));
            m.WParam = wide.empty() ? 0 : wide[0];
        }
        break;
    }
    case WM_CONTEXTMENU:
        if (PopupMenu && EventsAllowed()) {
            int x = GET_X_LPARAM(m.LParam), y = GET_Y_LPARAM(m.LParam);
            if (x == -1 && y == -1) {
                TPoint p = ClientToScreen(TPoint{0, 0});
                x = p.X;
                y = p.Y;
            }
            PopupMenu->PopupComponent = this;
            PopupMenu->Popup(x, y);
            return;
        }
        break;
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP: {
        TPoint p{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
        TControl* target = g_captureControl && g_captureControl->parent_ == this ? g_captureControl : nullptr;
        if (!target && g_captureControl != this)
            target = ControlAtPos(p);
        if (target && target->enabled_) {
            if (m.Msg == WM_MOUSEMOVE)
                TrackMouse(target);
            target->Perform(m.Msg, m.WParam, MAKELPARAM(p.X - target->left_, p.Y - target->top_));
            return;
        }
        if (m.Msg == WM_MOUSEMOVE)
            TrackMouse(this);
        if (HandleMouseMessage(m))
            return;
        break;
    }
    case WM_MOUSELEAVE:
        if (g_mouseControl && (g_mouseControl == this || g_mouseControl->parent_ == this)) {
            TControl* old = g_mouseControl;
            g_mouseControl = nullptr;
            old->Perform(CM_MOUSELEAVE, 0, reinterpret_cast<LPARAM>(old));
        }
        break;
    case WM_CAPTURECHANGED:
        if (g_captureControl && (g_captureControl == this || g_captureControl->parent_ == this) &&
            reinterpret_cast<HWND>(m.LParam) != handle_) {
            TControl* lost = g_captureControl;
            g_captureControl = nullptr;
            lost->MouseCaptureLost();
        }
        break;
    case CM_CONTROLLISTCHANGE:
        if (parent_)
            parent_->WindowProc(m);
        return;
    case CM_RECREATEWND:
        RecreateWnd();
        return;
    case CM_DIALOGKEY:
        for (size_t i = 0; i < controls_.size() && !m.Result; ++i)
            m.Result = controls_[i]->Perform(m.Msg, m.WParam, m.LParam);
        return;
    default:
        if (m.Msg >= kCnBase && m.Msg < kCnBase + 0x1000) {
            if (!HandleReflected(m))
                m.Result = 0;
            return;
        }
        if (m.Msg == CM_MOUSEENTER || m.Msg == CM_MOUSELEAVE) {
            TControl::WndProc(m);
            return;
        }
        break;
    }
    DefaultHandler(m);
}

void TWinControl::DefaultHandler(TMessage& m)
{
    if (!handle_) {
        m.Result = 0;
        return;
    }
    m.Result = CallWindowProcW(defProc_ ? defProc_ : DefWindowProcW, handle_, m.Msg, m.WParam, m.LParam);
}

// ---------------------------------------------------------------------------------------
// TCustomControl

void TWinControl::PaintMessage(TMessage& m, TCanvas& canvas, const std::function<void()>& paint)
{
    PaintDCScope scope(handle_, m.WParam);
    if (paint) {
        CanvasDCScope onDC(canvas, scope.DC());
        canvas.Font = font_;
        canvas.Brush.Color = color_;
        paint();
    }
    PaintControls(scope.DC(), scope.Clip());
    m.Result = 0;
}

void TCustomControl::WndProc(TMessage& m)
{
    if (m.Msg == WM_PAINT || m.Msg == WM_PRINTCLIENT) {
        PaintMessage(m, canvas_, [this] { Paint(); });
        return;
    }
    TWinControl::WndProc(m);
}
