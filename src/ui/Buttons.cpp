#include "ui/Buttons.h"

#include <algorithm>

#include "ui/ColourPixel.h"
#include "ui/DrawText.h"
#include "ui/Messages.h"

// ---------------------------------------------------------------------------------------
// TButtonGlyph

void DrawDisabledGlyph(HDC dc, int x, int y, TBitmap& glyph, COLORREF transparent)
{
    // The dark pixels become the shadow colour, everything else transparent.
    int width = glyph.Width();
    TBitmap grey;
    grey.SetSize(width, glyph.Height());
    uint32_t key = PixelFromColour(transparent);
    uint32_t shadow = PixelFromColour(ColorToRGB(clBtnShadow));
    for (int row = 0; row < glyph.Height(); ++row) {
        const uint32_t* src = glyph.ScanLine(row);
        uint32_t* dst = grey.ScanLine(row);
        for (int col = 0; col < width; ++col) {
            uint32_t p = src[col] & 0xFFFFFF;
            int luma = (((p >> 16) & 0xFF) * 3 + ((p >> 8) & 0xFF) * 6 + (p & 0xFF)) / 10;
            dst[col] = p != key && luma < 192 ? shadow : key;
        }
    }
    GdiTransparentBlt(dc, x, y, width, glyph.Height(), grey.Canvas()->Handle(), 0, 0, width, glyph.Height(),
                      transparent);
}

void TButtonGlyph::Draw(HDC dc, const RECT& r, const std::string& caption, TButtonState state, const TFont& font)
{
    int count = std::max(1, NumGlyphs);
    SIZE g{0, 0};
    if (!Glyph.Empty()) {
        g.cx = Glyph.Width() / count;
        g.cy = Glyph.Height();
    }
    SIZE t = caption.empty() ? SIZE{0, 0} : MeasureCaption(caption, font, DT_SINGLELINE);
    int cw = r.right - r.left, ch = r.bottom - r.top;
    bool horizontal = Layout == blGlyphLeft || Layout == blGlyphRight;
    int gAlong = horizontal ? g.cx : g.cy, tAlong = horizontal ? t.cx : t.cy;
    int room = horizontal ? cw : ch;
    int spacing = (gAlong == 0 || tAlong == 0) ? 0 : Spacing;
    int margin = Margin;
    if (margin < 0) {
        if (spacing < 0) {
            margin = (room - gAlong - tAlong) / 3;
            spacing = margin;
        } else {
            margin = (room - gAlong - spacing - tAlong) / 2;
        }
    }
    if (spacing < 0)
        spacing = (room - margin - gAlong - tAlong) / 2;
    // Positions along the layout axis, measured from the glyph's side.
    int gPos = margin, tPos = margin + gAlong + spacing;
    if (Layout == blGlyphRight || Layout == blGlyphBottom) {
        gPos = room - margin - gAlong;
        tPos = gPos - spacing - tAlong;
    }
    POINT gp, tp;
    if (horizontal) {
        gp = POINT{r.left + gPos, r.top + (ch - g.cy) / 2};
        tp = POINT{r.left + tPos, r.top + (ch - t.cy) / 2};
    } else {
        gp = POINT{r.left + (cw - g.cx) / 2, r.top + gPos};
        tp = POINT{r.left + (cw - t.cx) / 2, r.top + tPos};
    }
    if (g.cx > 0) {
        int index = state == bsDisabled ? 1 : state == bsDown ? 2 : state == bsExclusive ? 3 : 0;
        if (index >= count)
            index = 0;
        HDC src = Glyph.Canvas()->Handle();
        COLORREF key = GetPixel(src, index * g.cx, g.cy - 1);
        if (state == bsDisabled && count < 2) {
            DrawDisabledGlyph(dc, gp.x, gp.y, Glyph, key);
        } else {
            GdiTransparentBlt(dc, gp.x, gp.y, g.cx, g.cy, src, index * g.cx, 0, g.cx, g.cy, key);
        }
    }
    if (t.cx > 0) {
        RECT tr{tp.x, tp.y, tp.x + t.cx, tp.y + t.cy};
        DrawCaption(dc, caption, tr, DT_SINGLELINE | DT_CENTER | DT_VCENTER, font,
                    state == bsDisabled ? clGrayText : font.Color);
    }
}

void TGlyphProperties::SetNumGlyphs(int value)
{
    glyph_.NumGlyphs = std::max(1, std::min(4, value));
    GlyphChanged();
}

void TGlyphProperties::SetLayout(TButtonLayout value)
{
    glyph_.Layout = value;
    GlyphChanged();
}

void TGlyphProperties::SetMargin(int value)
{
    glyph_.Margin = value;
    GlyphChanged();
}

void TGlyphProperties::SetSpacing(int value)
{
    glyph_.Spacing = value;
    GlyphChanged();
}

// ---------------------------------------------------------------------------------------
// TSpeedButton

TSpeedButton::TSpeedButton(TComponent* owner) : TGraphicControl(owner)
{
    width_ = 23;
    height_ = 22;
}

template <class F>
void TSpeedButton::ForEachInGroup(F f)
{
    if (!parent_ || groupIndex_ == 0)
        return;
    for (int i = 0; i < parent_->ControlCount(); ++i) {
        auto* b = dynamic_cast<TSpeedButton*>(parent_->Controls(i));
        if (b && b != this && b->groupIndex_ == groupIndex_)
            f(b);
    }
}

void TSpeedButton::SetGroupIndex(int value)
{
    groupIndex_ = value;
    if (groupIndex_ == 0)
        down_ = false;
    Invalidate();
}

void TSpeedButton::SetDown(bool value)
{
    if (groupIndex_ == 0)
        value = false;
    if (value == down_)
        return;
    if (down_ && !allowAllUp_)
        return;
    down_ = value;
    if (value)
        ForEachInGroup([](TSpeedButton* b) {
            if (b->down_) {
                b->down_ = false;
                b->Invalidate();
            }
        });
    Invalidate();
}

void TSpeedButton::SetAllowAllUp(bool value)
{
    allowAllUp_ = value;
    ForEachInGroup([value](TSpeedButton* b) { b->allowAllUp_ = value; });
}

void TSpeedButton::SetFlat(bool value)
{
    flat_ = value;
    Invalidate();
}

TButtonState TSpeedButton::State() const
{
    if (!enabled_)
        return bsDisabled;
    if (pressed_)
        return bsDown;
    return down_ ? bsExclusive : bsUp;
}

void TSpeedButton::Click()
{
    if (groupIndex_ > 0) {
        if (!down_)
            SetDown(true);
        else if (allowAllUp_)
            SetDown(false);
    }
    TGraphicControl::Click();
}

void TSpeedButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    if (button == mbLeft) {
        pressed_ = true;
        Repaint();
    }
    TGraphicControl::MouseDown(button, shift, x, y);
}

void TSpeedButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    if (button == mbLeft && pressed_) {
        pressed_ = false;
        Invalidate();
    }
    TGraphicControl::MouseUp(button, shift, x, y);
}

void TSpeedButton::MouseCaptureLost()
{
    if (pressed_) {
        pressed_ = false;
        Invalidate();
    }
    TGraphicControl::MouseCaptureLost();
}

void TSpeedButton::MouseEnter()
{
    if (flat_)
        Invalidate();
}

void TSpeedButton::MouseLeave()
{
    if (flat_)
        Invalidate();
}

void TSpeedButton::Paint()
{
    HDC dc = canvas_.Handle();
    RECT r{0, 0, width_, height_};
    TButtonState state = State();
    bool sunk = state == bsDown || state == bsExclusive;
    if (flat_) {
        canvas_.Brush.Color = color_;
        canvas_.FillRect(TRect::From(r));
        if (sunk)
            DrawEdge(dc, &r, BDR_SUNKENOUTER, BF_RECT);
        else if (mouseInControl_ && enabled_)
            DrawEdge(dc, &r, BDR_RAISEDINNER, BF_RECT);
    } else {
        UINT flags = DFCS_BUTTONPUSH | DFCS_ADJUSTRECT;
        if (state == bsDown)
            flags |= DFCS_PUSHED;
        else if (state == bsExclusive)
            flags |= DFCS_PUSHED | DFCS_CHECKED;
        DrawFrameControl(dc, &r, DFC_BUTTON, flags);
    }
    RECT content{1, 1, width_ - 1, height_ - 1};
    if (sunk)
        OffsetRect(&content, 1, 1);
    glyph_.Draw(dc, content, text_, state, font_);
}

// ---------------------------------------------------------------------------------------
// TBitBtn

void TBitBtn::CreateParams(TCreateParams& p)
{
    TButton::CreateParams(p);
    p.style = (p.style & ~static_cast<DWORD>(BS_TYPEMASK)) | BS_OWNERDRAW;
}

bool TBitBtn::HandleReflected(TMessage& m)
{
    if (m.Msg == CN_DRAWITEM) {
        DrawItem(*reinterpret_cast<DRAWITEMSTRUCT*>(m.LParam));
        m.Result = TRUE;
        return true;
    }
    return TButton::HandleReflected(m);
}

void TBitBtn::DrawItem(const DRAWITEMSTRUCT& item)
{
    HDC dc = item.hDC;
    RECT r = item.rcItem;
    bool pressed = (item.itemState & ODS_SELECTED) != 0;
    bool focused = (item.itemState & ODS_FOCUS) != 0;
    // The default button (and a focused one) wears a dark outer frame.
    if (default_ || focused) {
        TBrushHandle frame(CreateSolidBrush(ColorToRGB(clWindowText)));
        FrameRect(dc, &r, frame.Get());
        InflateRect(&r, -1, -1);
    }
    DrawFrameControl(dc, &r, DFC_BUTTON, DFCS_BUTTONPUSH | DFCS_ADJUSTRECT | (pressed ? DFCS_PUSHED : 0));
    if (pressed)
        OffsetRect(&r, 1, 1);
    TButtonState state = !enabled_ ? bsDisabled : pressed ? bsDown : bsUp;
    glyph_.Draw(dc, r, Text(), state, font_);
    if (focused) {
        RECT f = item.rcItem;
        InflateRect(&f, -4, -4);
        DrawFocusRect(dc, &f);
    }
}
