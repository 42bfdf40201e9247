#pragma once
// Tool bars with their flat buttons, and the cool bar that holds bands of controls. The
// buttons keep the places they are given.
#include "ui/Controls.h"

class TToolBar : public TWinControl {
public:
    explicit TToolBar(TComponent* owner);

    // A transparent bar shows its parent's background behind its buttons.
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool value);

protected:
    bool EraseBackground(HDC dc) override;

private:
    bool transparent_ = false;
};

enum TToolButtonStyle { tbsButton, tbsCheck, tbsDropDown, tbsSeparator, tbsDivider };

class TToolButton : public TGraphicControl {
public:
    explicit TToolButton(TComponent* owner);

    TToolButtonStyle Style() const { return style_; }
    void SetStyle(TToolButtonStyle value);

protected:
    void Paint() override;
    void MouseEnter() override { Invalidate(); }
    void MouseLeave() override { Invalidate(); }

private:
    TToolButtonStyle style_ = tbsButton;
};

class TCoolBar : public TWinControl {
public:
    explicit TCoolBar(TComponent* owner);

protected:
    void CreateParams(TCreateParams& params) override;
};
