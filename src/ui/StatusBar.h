#pragma once
// The status bar: one line of text along the bottom of its parent.
#include "ui/Controls.h"

class TCustomStatusBar : public TWinControl {
public:
    explicit TCustomStatusBar(TComponent* owner);

protected:
    void CreateParams(TCreateParams& params) override;
};

class TStatusBar : public TCustomStatusBar {
public:
    using TCustomStatusBar::TCustomStatusBar;
};
