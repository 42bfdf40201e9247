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

namespace controls_detail {
const wchar_t kObjectProp[] = L"PelvorControl";
TWinControl* g_creating = nullptr;
TControl* g_mouseControl = nullptr;
TControl* g_captureControl = nullptr;
} // namespace controls_detail

using namespace controls_detail;

namespace {
int g_dispatchDepth = 0;
std::vector<std::pair<HWND, UINT>> g_outermostPosts;  // waiting for the depth to reach 0
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

TShiftState MouseShiftState(WPARAM keys)
{
    TShiftState s = 0;
    if (keys & MK_SHIFT)
        s |= ssShift;
    if (keys & MK_CONTROL)
        s |= ssCtrl;
    if (GetKeyState(VK_MENU) < 0)
        s |= ssAlt;
    if (keys & MK_LBUTTON)
        s |= ssLeft;
    if (keys & MK_RBUTTON)
        s |= ssRight;
    if (keys & MK_MBUTTON)
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
    SendFreeNotifications();
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
    if (parent_) {
        if (parentColor_)
            ChangeColor(parent_->color_);
        parent_->InsertControl(this);
    }
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
    parentColor_ = false;
    ChangeColor(color);
}

void TControl::SetParentColor(bool value)
{
    parentColor_ = value;
    if (value && parent_)
        ChangeColor(parent_->color_);
}

void TControl::ChangeColor(TColor color)
{
    if (color == color_)
        return;
    color_ = color;
    ColorChanged();
    if (IsWindowed())
        for (TControl* c : static_cast<TWinControl*>(this)->controls_)
            if (c->parentColor_)
                c->ChangeColor(color);
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
        if (OnMouseEnter && EventsAllowed())
            OnMouseEnter(this);
        return;
    case CM_MOUSELEAVE:
        mouseInControl_ = false;
        MouseLeave();
        HintLeave(this);
        if (OnMouseLeave && EventsAllowed())
            OnMouseLeave(this);
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
    // The keys held when the message was made, not when it is handled.
    TShiftState shift = MouseShiftState(m.WParam);
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
            if (ControlStyle & csCaptureMouse)
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

TGraphicControl::TGraphicControl(TComponent* owner) : TControl(owner) { ControlStyle |= csCaptureMouse; }

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
// TCustomControl

void TWinControl::PaintMessage(TMessage& m, TCanvas& canvas, const std::function<void()>& paint)
{
    if (DoubleBuffered && m.Msg == WM_PAINT && !m.WParam) {
        // Background and paint go into a bitmap, which then covers the window at once.
        PaintDCScope scope(handle_, 0);
        RECT r;
        GetClientRect(handle_, &r);
        TBitmap buffer;
        buffer.SetSize(std::max(1L, r.right), std::max(1L, r.bottom));
        HDC dc = buffer.Canvas()->Handle();
        Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(dc));
        Perform(WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
        BitBlt(scope.DC(), 0, 0, r.right, r.bottom, dc, 0, 0, SRCCOPY);
        m.Result = 0;
        return;
    }
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

TCustomControl::TCustomControl(TComponent* owner) : TWinControl(owner) { ControlStyle |= csCaptureMouse; }

void TCustomControl::WndProc(TMessage& m)
{
    if (m.Msg == WM_PAINT || m.Msg == WM_PRINTCLIENT) {
        PaintMessage(m, canvas_, [this] { Paint(); });
        return;
    }
    TWinControl::WndProc(m);
}
