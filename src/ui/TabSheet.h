#pragma once
// A page of controls with a border of its own width around its client area.
#include "ui/Controls.h"

class TTabSheet : public TWinControl {
public:
    using TWinControl::TWinControl;

    int BorderWidth() const { return borderWidth_; }
    void SetBorderWidth(int value);

    void WndProc(TMessage& message) override;

private:
    int borderWidth_ = 0;
};
