#include "ui/ToolBar.h"

#include <commctrl.h>

#include "ui/DrawText.h"

// ---------------------------------------------------------------------------------------
// TToolBar

TToolBar::TToolBar(TComponent* owner) : TWinControl(owner)
{
    height_ = 29;
    align_ = alTop;
}

void TToolBar::SetTransparent(bool value)
{
    transparent_ = value;
    Invalidate();
}

bool TToolBar::EraseBackground(HDC dc)
{
    if (!transparent_ || !parent_)
        return TWinControl::EraseBackground(dc);
    EraseWithParentBackground(this, dc);
    return true;
}

// ---------------------------------------------------------------------------------------
// TToolButton

TToolButton::TToolButton(TComponent* owner) : TGraphicControl(owner)
{
    width_ = 23;
    height_ = 22;
}

void TToolButton::SetStyle(TToolButtonStyle value)
{
    style_ = value;
    Invalidate();
}

void TToolButton::Paint()
{
    RECT r{0, 0, width_, height_};
    if (style_ == tbsSeparator || style_ == tbsDivider) {
        if (style_ == tbsDivider) {
            RECT line{width_ / 2 - 1, 0, width_ / 2 + 1, height_};
            DrawEdge(canvas_.Handle(), &line, EDGE_ETCHED, BF_LEFT);
        }
        return;
    }
    if (mouseInControl_ && enabled_)
        DrawEdge(canvas_.Handle(), &r, BDR_RAISEDINNER, BF_RECT);
    DrawCaption(canvas_.Handle(), text_, r, DT_SINGLELINE | DT_CENTER | DT_VCENTER, font_,
                enabled_ ? font_.Color : clGrayText);
}

// ---------------------------------------------------------------------------------------
// TCoolBar

TCoolBar::TCoolBar(TComponent* owner) : TWinControl(owner)
{
    height_ = 75;
    align_ = alTop;
}

void TCoolBar::CreateParams(TCreateParams& p)
{
    TWinControl::CreateParams(p);
    p.systemClass = REBARCLASSNAMEW;
    p.style |= CCS_NOPARENTALIGN | CCS_NORESIZE | RBS_VARHEIGHT;
}
