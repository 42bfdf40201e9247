#pragma once
// Panels, bevels, paint boxes, images, splitters and timers.
#include <memory>

#include "ui/Controls.h"
#include "ui/Forms.h"
#include "ui/StdCtrls.h"

enum TBevelCut { bvNone, bvLowered, bvRaised, bvSpace };

// A windowed surface with bevels and a centred caption; parents other controls.
class TCustomPanel : public TCustomControl {
public:
    explicit TCustomPanel(TComponent* owner);
    TRect ClientRect() override;

    TBevelCut BevelOuter() const { return bevelOuter_; }
    void SetBevelOuter(TBevelCut value);
    TBevelCut BevelInner() const { return bevelInner_; }
    void SetBevelInner(TBevelCut value);
    int BevelWidth() const { return bevelWidth_; }
    void SetBevelWidth(int value);
    int BorderWidth() const { return borderWidth_; }
    void SetBorderWidth(int value);
    TBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TBorderStyle value);
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment value);

protected:
    void CreateParams(TCreateParams& params) override;
    void Paint() override;
    // Width of the bevels and border on each side.
    int FrameWidth() const;

    TBevelCut bevelOuter_ = bvRaised;
    TBevelCut bevelInner_ = bvNone;
    int bevelWidth_ = 1;
    int borderWidth_ = 0;
    TBorderStyle borderStyle_ = bsNone;
    TAlignment alignment_ = taCenter;
};

class TPanel : public TCustomPanel {
public:
    using TCustomPanel::TCustomPanel;
};

enum TBevelShape { bsBox, bsFrame, bsTopLine, bsBottomLine, bsLeftLine, bsRightLine, bsSpacer };
enum TBevelStyle { bsLowered, bsRaised };

class TBevel : public TGraphicControl {
public:
    explicit TBevel(TComponent* owner);
    TBevelShape Shape() const { return shape_; }
    void SetShape(TBevelShape value);
    TBevelStyle Style() const { return style_; }
    void SetStyle(TBevelStyle value);

protected:
    void Paint() override;

private:
    TBevelShape shape_ = bsBox;
    TBevelStyle style_ = bsLowered;
};

// A surface for OnPaint to draw on through Canvas().
class TPaintBox : public TGraphicControl {
public:
    explicit TPaintBox(TComponent* owner);
    TNotifyEvent OnPaint;

protected:
    void Paint() override;
};

// Shows a bitmap it owns; drawing on Canvas() draws into the bitmap.
class TImage : public TGraphicControl {
public:
    explicit TImage(TComponent* owner);

    TBitmap* Bitmap() { return &bitmap_; }
    // The bitmap's canvas (a bitmap of the control's size is made when empty); the
    // control is repainted afterwards.
    TCanvas* Canvas();
    // Call after changing the bitmap from outside: applies AutoSize and repaints.
    void PictureChanged();
    bool Stretch() const { return stretch_; }
    void SetStretch(bool value);
    bool Center() const { return center_; }
    void SetCenter(bool value);
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool value);

protected:
    void Paint() override;

private:
    TBitmap bitmap_;
    bool stretch_ = false;
    bool center_ = false;
    bool autoSize_ = false;
};

// A bar between two aligned controls, drawn in its colour.
class TSplitter : public TGraphicControl {
public:
    explicit TSplitter(TComponent* owner);

protected:
    void Paint() override;
};

// Calls OnTimer every Interval milliseconds while Enabled, on the main thread through
// the message loop.
class TTimer : public TComponent {
public:
    explicit TTimer(TComponent* owner);
    ~TTimer() override;

    bool Enabled() const { return enabled_; }
    void SetEnabled(bool value);
    unsigned Interval() const { return interval_; }
    void SetInterval(unsigned value);
    TNotifyEvent OnTimer;
    // What a tick does; tests may call it.
    void Timer();

private:
    void UpdateTimer();

    bool enabled_ = true;
    unsigned interval_ = 1000;
    UINT_PTR id_ = 0;  // running timer's id, 0 when stopped
};
