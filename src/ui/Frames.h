#pragma once
// Containers of other controls in a window of the library's own class: the base of
// scrolling containers, and frames (a group of controls placed as one). The library
// does not scroll their contents.
#include "ui/Controls.h"

class TScrollingWinControl : public TWinControl {
public:
    using TWinControl::TWinControl;
};

class TCustomFrame : public TScrollingWinControl {
public:
    using TScrollingWinControl::TScrollingWinControl;
};

class TFrame : public TCustomFrame {
public:
    using TCustomFrame::TCustomFrame;
};
