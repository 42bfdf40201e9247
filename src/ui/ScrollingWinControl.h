#pragma once
// A windowed control whose client area scrolls over its children: its scroll bars span
// as far as the children reach beyond the client area, and scrolling moves them. And the
// windowed control that would host an embedded object, which this program never embeds:
// it is a plain windowed control, there as a parent class.
#include "ui/Controls.h"

class TScrollingWinControl : public TWinControl {
public:
    using TWinControl::TWinControl;

    // How far the client area is scrolled (0, 0 at the start).
    TPoint ScrollPosition() const { return scroll_; }
    // Scrolls to x, y (held inside the range) and moves the children by the difference.
    void ScrollTo(int x, int y);
    // Sets the scroll bars' ranges from the children and the client size.
    void UpdateScrollBars();
    void WndProc(TMessage& message) override;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateHandleDone() override { UpdateScrollBars(); }

private:
    // The children's extent, right and bottom, as if not scrolled.
    TPoint Extent() const;
    int LimitedTo(int value, int extent, int client) const;

    TPoint scroll_;
    bool updatingBars_ = false;
};

class TOleControl : public TWinControl {
public:
    using TWinControl::TWinControl;
};
