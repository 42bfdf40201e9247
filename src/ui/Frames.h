#pragma once
// Frames: a group of controls placed on a form as one control, in a scrolling container.
#include "ui/ScrollingWinControl.h"

class TCustomFrame : public TScrollingWinControl {
public:
    using TScrollingWinControl::TScrollingWinControl;
};

class TFrame : public TCustomFrame {
public:
    using TCustomFrame::TCustomFrame;
};
