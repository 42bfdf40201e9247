#include "ui/StatusBar.h"

#include <commctrl.h>

TCustomStatusBar::TCustomStatusBar(TComponent* owner) : TWinControl(owner)
{
    height_ = 19;
    align_ = alBottom;
}

void TCustomStatusBar::CreateParams(TCreateParams& p)
{
    TWinControl::CreateParams(p);
    p.systemClass = STATUSCLASSNAMEW;
    // The library lays it out; the window must not move itself.
    p.style |= CCS_NOPARENTALIGN | CCS_NORESIZE | SBARS_SIZEGRIP;
}
