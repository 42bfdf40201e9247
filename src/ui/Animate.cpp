#include "ui/Animate.h"

#include <commctrl.h>

TAnimate::TAnimate(TComponent* owner) : TWinControl(owner)
{
    width_ = 100;
    height_ = 80;
}

void TAnimate::CreateParams(TCreateParams& p)
{
    TWinControl::CreateParams(p);
    p.systemClass = ANIMATE_CLASSW;
    p.style |= ACS_CENTER;
    if (transparent_)
        p.style |= ACS_TRANSPARENT;
}

void TAnimate::SetTransparent(bool value)
{
    if (value == transparent_)
        return;
    transparent_ = value;
    RecreateWnd();  // a window style fixed at creation
}
