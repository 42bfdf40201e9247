#include "ui/ExtCtrls.h"

#include <algorithm>
#include <map>

#include "ui/Application.h"
#include "ui/DrawText.h"

namespace {

void BevelFrame(HDC dc, RECT& r, TBevelCut cut, int w)
{
    if (cut == bvNone)
        return;
    if (cut == bvSpace) {
        InflateRect(&r, -w, -w);
        return;
    }
    bool raised = cut == bvRaised;
    Frame3D(dc, r, raised ? clBtnHighlight : clBtnShadow, raised ? clBtnShadow : clBtnHighlight, w);
}

} // namespace

// ---------------------------------------------------------------------------------------
// TCustomPanel

TCustomPanel::TCustomPanel(TComponent* owner) : TCustomControl(owner)
{
    width_ = 185;
    height_ = 41;
}

void TCustomPanel::CreateParams(TCreateParams& p)
{
    TCustomControl::CreateParams(p);
    if (borderStyle_ == bsSingle)
        p.style |= WS_BORDER;
}

int TCustomPanel::FrameWidth() const
{
    int w = borderWidth_;
    if (bevelOuter_ != bvNone)
        w += bevelWidth_;
    if (bevelInner_ != bvNone)
        w += bevelWidth_;
    return w;
}

TRect TCustomPanel::ClientRect()
{
    TRect r = TCustomControl::ClientRect();
    int w = FrameWidth();
    return Rect(r.Left + w, r.Top + w, r.Right - w, r.Bottom - w);
}

void TCustomPanel::SetBevelOuter(TBevelCut value)
{
    bevelOuter_ = value;
    AlignControls();
    Invalidate();
}

void TCustomPanel::SetBevelInner(TBevelCut value)
{
    bevelInner_ = value;
    AlignControls();
    Invalidate();
}

void TCustomPanel::SetBevelWidth(int value)
{
    bevelWidth_ = std::max(1, value);
    AlignControls();
    Invalidate();
}

void TCustomPanel::SetBorderWidth(int value)
{
    borderWidth_ = std::max(0, value);
    AlignControls();
    Invalidate();
}

void TCustomPanel::SetBorderStyle(TBorderStyle value)
{
    if (value == borderStyle_)
        return;
    borderStyle_ = value;
    RecreateWnd();
}

void TCustomPanel::SetAlignment(TAlignment value)
{
    alignment_ = value;
    Invalidate();
}

void TCustomPanel::Paint()
{
    HDC dc = canvas_.Handle();
    RECT r = TCustomControl::ClientRect().ToRECT();
    BevelFrame(dc, r, bevelOuter_, bevelWidth_);
    Frame3D(dc, r, color_, color_, borderWidth_);
    BevelFrame(dc, r, bevelInner_, bevelWidth_);
    canvas_.Brush.Color = color_;
    canvas_.FillRect(TRect::From(r));
    if (text_.empty())
        return;
    unsigned flags = DT_SINGLELINE | DT_VCENTER | DT_EXPANDTABS;
    flags |= alignment_ == taCenter ? DT_CENTER : alignment_ == taRightJustify ? DT_RIGHT : DT_LEFT;
    DrawCaption(dc, text_, r, flags, font_, enabled_ ? font_.Color : clGrayText);
}

// ---------------------------------------------------------------------------------------
// TBevel

TBevel::TBevel(TComponent* owner) : TGraphicControl(owner)
{
    width_ = 50;
    height_ = 50;
}

void TBevel::SetShape(TBevelShape value)
{
    shape_ = value;
    Invalidate();
}

void TBevel::SetStyle(TBevelStyle value)
{
    style_ = value;
    Invalidate();
}

void TBevel::Paint()
{
    HDC dc = canvas_.Handle();
    TColor first = style_ == bsLowered ? clBtnShadow : clBtnHighlight;
    TColor second = style_ == bsLowered ? clBtnHighlight : clBtnShadow;
    RECT r{0, 0, width_, height_};
    auto line = [&](int x1, int y1, int x2, int y2, TColor c) {
        canvas_.Pen.Color = c;
        canvas_.MoveTo(x1, y1);
        canvas_.LineTo(x2, y2);
    };
    switch (shape_) {
    case bsBox:
        Frame3D(dc, r, first, second, 1);
        break;
    case bsFrame: {
        // Two offset rectangles make an etched (or bumped) frame.
        RECT outer{0, 0, width_ - 1, height_ - 1}, inner{1, 1, width_, height_};
        Frame3D(dc, inner, second, second, 1);
        Frame3D(dc, outer, first, first, 1);
        break;
    }
    case bsTopLine:
        line(0, 0, width_, 0, first);
        line(0, 1, width_, 1, second);
        break;
    case bsBottomLine:
        line(0, height_ - 2, width_, height_ - 2, first);
        line(0, height_ - 1, width_, height_ - 1, second);
        break;
    case bsLeftLine:
        line(0, 0, 0, height_, first);
        line(1, 0, 1, height_, second);
        break;
    case bsRightLine:
        line(width_ - 2, 0, width_ - 2, height_, first);
        line(width_ - 1, 0, width_ - 1, height_, second);
        break;
    case bsSpacer:
        break;
    }
}

// ---------------------------------------------------------------------------------------
// TPaintBox and TImage

TPaintBox::TPaintBox(TComponent* owner) : TGraphicControl(owner)
{
    width_ = 105;
    height_ = 105;
}

void TPaintBox::Paint()
{
    if (OnPaint && EventsAllowed())
        OnPaint(this);
}

TImage::TImage(TComponent* owner) : TGraphicControl(owner)
{
    width_ = 105;
    height_ = 105;
}

TCanvas* TImage::Canvas()
{
    if (bitmap_.Empty())
        bitmap_.SetSize(std::max(1, width_), std::max(1, height_));
    Invalidate();
    return bitmap_.Canvas();
}

void TImage::PictureChanged()
{
    if (autoSize_ && !bitmap_.Empty())
        SetBounds(left_, top_, bitmap_.Width(), bitmap_.Height());
    Invalidate();
}

void TImage::SetStretch(bool value)
{
    stretch_ = value;
    Invalidate();
}

void TImage::SetCenter(bool value)
{
    center_ = value;
    Invalidate();
}

void TImage::SetAutoSize(bool value)
{
    autoSize_ = value;
    PictureChanged();
}

void TImage::Paint()
{
    if (bitmap_.Empty())
        return;
    if (stretch_) {
        canvas_.StretchDraw(Rect(0, 0, width_, height_), &bitmap_);
        return;
    }
    int x = center_ ? (width_ - bitmap_.Width()) / 2 : 0;
    int y = center_ ? (height_ - bitmap_.Height()) / 2 : 0;
    canvas_.Draw(x, y, &bitmap_);
}

// ---------------------------------------------------------------------------------------
// TSplitter

TSplitter::TSplitter(TComponent* owner) : TGraphicControl(owner)
{
    width_ = 3;
    height_ = 100;
    align_ = alLeft;
}

void TSplitter::Paint()
{
    canvas_.Brush.Color = color_;
    canvas_.FillRect(Rect(0, 0, width_, height_));
}

// ---------------------------------------------------------------------------------------
// TTimer: every timer of the program runs on one message-only window.

namespace {

std::map<UINT_PTR, TTimer*>& RunningTimers()
{
    static std::map<UINT_PTR, TTimer*> timers;
    return timers;
}

LRESULT CALLBACK TimerWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_TIMER) {
        auto it = RunningTimers().find(wParam);
        if (it != RunningTimers().end()) {
            try {
                TDispatchScope depth;
                it->second->Timer();
            } catch (...) {
                ApplicationHandleException();
            }
        }
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

HWND TimerWindow()
{
    static HWND window = nullptr;
    if (!window) {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = TimerWndProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"PelvorTimers";
        RegisterClassExW(&wc);
        window = CreateWindowExW(0, wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance,
                                 nullptr);
    }
    return window;
}

UINT_PTR g_nextTimerId = 1;

} // namespace

TTimer::TTimer(TComponent* owner) : TComponent(owner) { UpdateTimer(); }

TTimer::~TTimer()
{
    enabled_ = false;
    UpdateTimer();
}

void TTimer::SetEnabled(bool value)
{
    if (value == enabled_)
        return;
    enabled_ = value;
    UpdateTimer();
}

void TTimer::SetInterval(unsigned value)
{
    if (value == interval_)
        return;
    interval_ = value;
    UpdateTimer();
}

void TTimer::UpdateTimer()
{
    if (id_) {
        KillTimer(TimerWindow(), id_);
        RunningTimers().erase(id_);
        id_ = 0;
    }
    if (!enabled_ || interval_ == 0 || (ComponentState & csDestroying))
        return;
    UINT_PTR id = g_nextTimerId++;
    if (!SetTimer(TimerWindow(), id, interval_, nullptr))
        return;
    id_ = id;
    RunningTimers()[id_] = this;
}

void TTimer::Timer()
{
    if (!OnTimer || (ComponentState & csDestroying))
        return;
    TComponent* o = Owner();
    if (o && (o->ComponentState & csDestroying))
        return;
    OnTimer(this);
}
