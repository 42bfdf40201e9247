#pragma once
// The common controls: track bar, up-down and progress bar.
#include "ui/Controls.h"

enum TTrackBarOrientation { trHorizontal, trVertical };

class TTrackBar : public TWinControl {
public:
    explicit TTrackBar(TComponent* owner);

    int Min() const { return min_; }
    int Max() const { return max_; }
    int Position() const { return position_; }
    // A position outside the range is clamped; a range that excludes the position
    // moves it. OnChange fires whenever the position really changes.
    void SetMin(int value) { SetRange(value, max_ < value ? value : max_); }
    void SetMax(int value) { SetRange(min_ > value ? value : min_, value); }
    void SetRange(int min, int max);
    void SetPosition(int value);
    int Frequency() const { return frequency_; }
    void SetFrequency(int value);
    int PageSize() const { return pageSize_; }
    void SetPageSize(int value);
    int LineSize() const { return lineSize_; }
    void SetLineSize(int value);
    TTrackBarOrientation Orientation() const { return orientation_; }
    void SetOrientation(TTrackBarOrientation value);

    TNotifyEvent OnChange;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateHandleDone() override;
    bool HandleReflected(TMessage& message) override;
    void Changed();

    int min_ = 0, max_ = 10, position_ = 0;
    int frequency_ = 1, pageSize_ = 2, lineSize_ = 1;
    TTrackBarOrientation orientation_ = trHorizontal;
};

enum TUDBtnType { btNext, btPrev };
enum TUpDownDirection { updNone, updUp, updDown };
enum TUDOrientation { udHorizontal, udVertical };
using TUDClickEvent = std::function<void(TObject* Sender, TUDBtnType Button)>;
using TUDChangingEvent = std::function<void(TObject* Sender, bool& AllowChange)>;
using TUDChangingEventEx =
    std::function<void(TObject* Sender, bool& AllowChange, short NewValue, TUpDownDirection Direction)>;

// Arrows that step a position; the associated control shows the position as its text,
// and its Up and Down keys step it as the arrows do.
class TUpDown : public TWinControl {
public:
    explicit TUpDown(TComponent* owner);
    ~TUpDown() override;

    int Min() const { return min_; }
    int Max() const { return max_; }
    // A new range keeps the position within it but leaves the associate's text alone.
    void SetMin(int value);
    void SetMax(int value);
    // The number in the associate's text when it is one within the range (typed there),
    // else the position last set or stepped to.
    int Position();
    // From code: clamped to the range, shown in the associate; no event.
    void SetPosition(int value);
    int Increment = 1;
    bool Wrap = false;
    TWinControl* Associate() const { return associate_; }
    void SetAssociate(TWinControl* control);
    TUDOrientation Orientation() const { return orientation_; }
    void SetOrientation(TUDOrientation value);

    // The path a click on an arrow takes: OnChanging and OnChangingEx may refuse the
    // step; otherwise the position moves, then OnClick runs.
    void Click(TUDBtnType button);

    // The arrow's click event takes the arrow; it hides the control's plain OnClick.
    TUDClickEvent OnClick;
    TUDChangingEvent OnChanging;
    TUDChangingEventEx OnChangingEx;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateHandleDone() override;
    bool HandleReflected(TMessage& message) override;
    void Notification(TComponent* component, TOperation operation) override;
    bool AssociateKey(WORD key) override;

private:
    // Runs the changing events for a step to newValue; true when allowed.
    bool CanChange(int newValue, TUpDownDirection direction);
    void ShowPosition();
    void SetRange(int min, int max);

    int min_ = 0, max_ = 100, position_ = 0;
    TWinControl* associate_ = nullptr;  // not owned
    TUDOrientation orientation_ = udVertical;
};

class TProgressBar : public TWinControl {
public:
    explicit TProgressBar(TComponent* owner);

    int Min() const { return min_; }
    int Max() const { return max_; }
    void SetMin(int value);
    void SetMax(int value);
    int Position() const { return position_; }
    void SetPosition(int value);
    int Step() const { return step_; }
    void SetStep(int value) { step_ = value; }
    // Advances by Step, starting again from Min past Max (as the window does).
    void StepIt();

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateHandleDone() override;

private:
    int min_ = 0, max_ = 100, position_ = 0, step_ = 10;
};
