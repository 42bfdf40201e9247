#pragma once
// Speed buttons (windowless, with groups) and bitmap buttons (push buttons with a glyph).
#include "ui/ButtonTypes.h"
#include "ui/Controls.h"
#include "ui/StdCtrls.h"

enum TButtonState { bsUp, bsDisabled, bsDown, bsExclusive };

// Glyph and caption properties shared by speed buttons and bitmap buttons. A glyph
// holds NumGlyphs images side by side: up, disabled, clicked, down. Its bottom-left
// pixel is the transparent colour.
struct TButtonGlyph {
    TBitmap Glyph;  // owned
    int NumGlyphs = 1;
    TButtonLayout Layout = blGlyphLeft;
    int Margin = -1;   // -1: centred
    int Spacing = 4;
    // Draws the glyph image for state and the caption inside r.
    void Draw(HDC dc, const RECT& r, const std::string& caption, TButtonState state, const TFont& font);
};

// Draws a one-image glyph greyed at (x, y), as a disabled button shows a glyph that has
// no disabled image of its own: its dark pixels in the shadow colour, the rest see-through.
void DrawDisabledGlyph(HDC dc, int x, int y, TBitmap& glyph, COLORREF transparent);

// The glyph properties of speed and bitmap buttons; a change repaints the button.
class TGlyphProperties {
public:
    virtual ~TGlyphProperties() = default;
    TBitmap* Glyph() { return &glyph_.Glyph; }
    int NumGlyphs() const { return glyph_.NumGlyphs; }
    void SetNumGlyphs(int value);
    TButtonLayout Layout() const { return glyph_.Layout; }
    void SetLayout(TButtonLayout value);
    int Margin() const { return glyph_.Margin; }
    void SetMargin(int value);
    int Spacing() const { return glyph_.Spacing; }
    void SetSpacing(int value);

protected:
    virtual void GlyphChanged() = 0;
    TButtonGlyph glyph_;
};

class TSpeedButton : public TGraphicControl, public TGlyphProperties {
public:
    explicit TSpeedButton(TComponent* owner);

    int GroupIndex() const { return groupIndex_; }
    void SetGroupIndex(int value);
    bool Down() const { return down_; }
    // From code, no event: a button of a group going down puts the others up; it
    // goes up only when the group allows all up. A button without a group stays up.
    void SetDown(bool value);
    bool AllowAllUp() const { return allowAllUp_; }
    // Shared by the whole group.
    void SetAllowAllUp(bool value);
    bool Flat() const { return flat_; }
    void SetFlat(bool value);
    // The state drawn now (up, disabled, pressed or down).
    TButtonState State() const;
    bool MouseInControl() const { return mouseInControl_; }

    // A group button goes down (or, with AllowAllUp, toggles), then OnClick runs.
    void Click() override;

protected:
    void Paint() override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseEnter() override;
    void MouseLeave() override;
    void MouseCaptureLost() override;
    void GlyphChanged() override { Invalidate(); }

private:
    // The other buttons of this button's group (same parent and GroupIndex).
    template <class F>
    void ForEachInGroup(F f);

    int groupIndex_ = 0;
    bool down_ = false;
    bool allowAllUp_ = false;
    bool flat_ = false;
    bool pressed_ = false;  // the left button is held on it
};

// A push button that draws a glyph beside its caption.
class TBitBtn : public TButton, public TGlyphProperties {
public:
    using TButton::TButton;

protected:
    void GlyphChanged() override { Invalidate(); }
    void CreateParams(TCreateParams& params) override;
    bool HandleReflected(TMessage& message) override;

private:
    void DrawItem(const DRAWITEMSTRUCT& item);
};
