#include "ui/ComCtrls.h"

#include <commctrl.h>

#include <algorithm>

#include "ui/Messages.h"
#include "ui/SysUtils.h"

// ---------------------------------------------------------------------------------------
// TTrackBar

TTrackBar::TTrackBar(TComponent* owner) : TWinControl(owner)
{
    TabStop = true;
    width_ = 150;
    height_ = 45;
}

void TTrackBar::CreateParams(TCreateParams& p)
{
    TWinControl::CreateParams(p);
    p.systemClass = TRACKBAR_CLASSW;
    p.style |= TBS_AUTOTICKS | (orientation_ == trVertical ? TBS_VERT : TBS_HORZ);
}

void TTrackBar::CreateHandleDone()
{
    SendMessageW(handle_, TBM_SETRANGEMIN, FALSE, min_);
    SendMessageW(handle_, TBM_SETRANGEMAX, FALSE, max_);
    SendMessageW(handle_, TBM_SETTICFREQ, static_cast<WPARAM>(frequency_), 0);
    SendMessageW(handle_, TBM_SETPAGESIZE, 0, pageSize_);
    SendMessageW(handle_, TBM_SETLINESIZE, 0, lineSize_);
    SendMessageW(handle_, TBM_SETPOS, TRUE, position_);
}

void TTrackBar::SetRange(int min, int max)
{
    if (max < min)
        max = min;
    min_ = min;
    max_ = max;
    if (HandleAllocated()) {
        SendMessageW(handle_, TBM_SETRANGEMIN, FALSE, min_);
        SendMessageW(handle_, TBM_SETRANGEMAX, TRUE, max_);
    }
    SetPosition(position_);
}

void TTrackBar::SetPosition(int value)
{
    value = std::max(min_, std::min(max_, value));
    if (HandleAllocated())
        SendMessageW(handle_, TBM_SETPOS, TRUE, value);
    if (value == position_)
        return;
    position_ = value;
    Changed();
}

void TTrackBar::SetFrequency(int value)
{
    frequency_ = value;
    if (HandleAllocated())
        SendMessageW(handle_, TBM_SETTICFREQ, static_cast<WPARAM>(value), 0);
}

void TTrackBar::SetPageSize(int value)
{
    pageSize_ = value;
    if (HandleAllocated())
        SendMessageW(handle_, TBM_SETPAGESIZE, 0, value);
}

void TTrackBar::SetLineSize(int value)
{
    lineSize_ = value;
    if (HandleAllocated())
        SendMessageW(handle_, TBM_SETLINESIZE, 0, value);
}

void TTrackBar::SetOrientation(TTrackBarOrientation value)
{
    if (value == orientation_)
        return;
    orientation_ = value;
    RecreateWnd();
}

bool TTrackBar::HandleReflected(TMessage& m)
{
    if (m.Msg != CN_HSCROLL && m.Msg != CN_VSCROLL)
        return false;
    int pos = static_cast<int>(SendMessageW(handle_, TBM_GETPOS, 0, 0));
    if (pos != position_) {
        position_ = pos;
        Changed();
    }
    return true;
}

void TTrackBar::Changed()
{
    if (OnChange && EventsAllowed())
        OnChange(this);
}

// ---------------------------------------------------------------------------------------
// TUpDown

TUpDown::TUpDown(TComponent* owner) : TWinControl(owner)
{
    width_ = 17;
    height_ = 21;
}

TUpDown::~TUpDown() { SetAssociate(nullptr); }

void TUpDown::CreateParams(TCreateParams& p)
{
    TWinControl::CreateParams(p);
    p.systemClass = UPDOWN_CLASSW;
    if (orientation_ == udHorizontal)
        p.style |= UDS_HORZ;
}

void TUpDown::CreateHandleDone()
{
    SendMessageW(handle_, UDM_SETRANGE32, static_cast<WPARAM>(min_), max_);
    SendMessageW(handle_, UDM_SETPOS32, 0, position_);
}

void TUpDown::SetMin(int value) { SetRange(value, max_); }

void TUpDown::SetMax(int value) { SetRange(min_, value); }

void TUpDown::SetRange(int min, int max)
{
    // The associate may show a number typed there or set by its form: a new range is
    // no reason to overwrite it with a position from before.
    min_ = min;
    max_ = max;
    position_ = std::max(min_, std::min(max_, position_));
    if (HandleAllocated()) {
        SendMessageW(handle_, UDM_SETRANGE32, static_cast<WPARAM>(min_), max_);
        SendMessageW(handle_, UDM_SETPOS32, 0, position_);
    }
}

int TUpDown::Position()
{
    if (associate_) {
        int typed = StrToIntDef(Trim(associate_->Text()), min_ - 1);
        if (typed >= min_ && typed <= max_)
            position_ = typed;
    }
    return position_;
}

void TUpDown::SetPosition(int value)
{
    position_ = std::max(min_, std::min(max_, value));
    if (HandleAllocated())
        SendMessageW(handle_, UDM_SETPOS32, 0, position_);
    ShowPosition();
}

void TUpDown::ShowPosition()
{
    if (associate_)
        associate_->SetText(IntToStr(position_));
}

void TUpDown::SetAssociate(TWinControl* control)
{
    if (associate_) {
        associate_->RemoveFreeNotification(this);
        if (associate_->AssociatedUpDown() == this)
            associate_->SetAssociatedUpDown(nullptr);
    }
    associate_ = control;
    if (associate_) {
        associate_->FreeNotification(this);
        associate_->SetAssociatedUpDown(this);
        ShowPosition();
    }
}

void TUpDown::Notification(TComponent* component, TOperation operation)
{
    TWinControl::Notification(component, operation);
    if (operation == opRemove && component == associate_)
        associate_ = nullptr;
}

bool TUpDown::AssociateKey(WORD key)
{
    if ((key != VK_UP && key != VK_DOWN) || !enabled_)
        return false;
    Click(key == VK_UP ? btNext : btPrev);
    return true;
}

void TUpDown::SetOrientation(TUDOrientation value)
{
    if (value == orientation_)
        return;
    orientation_ = value;
    RecreateWnd();
}

bool TUpDown::CanChange(int newValue, TUpDownDirection direction)
{
    bool allow = true;
    if (!EventsAllowed())
        return allow;
    if (OnChanging)
        OnChanging(this, allow);
    if (OnChangingEx)
        OnChangingEx(this, allow, static_cast<short>(newValue), direction);
    return allow;
}

void TUpDown::Click(TUDBtnType button)
{
    // A number typed into the associate is where the step starts from.
    Position();
    int step = button == btNext ? Increment : -Increment;
    int target = position_ + step;
    TUpDownDirection direction = button == btNext ? updUp : updDown;
    if (target > max_ || target < min_) {
        if (Wrap) {
            target = target > max_ ? min_ : max_;
        } else {
            // At the end of the range the step goes nowhere.
            target = std::max(min_, std::min(max_, target));
            direction = updNone;
        }
    }
    if (!CanChange(target, direction))
        return;
    if (target == position_) {
        ShowPosition();
        return;
    }
    SetPosition(target);
    if (OnClick && EventsAllowed())
        OnClick(this, button);
}

bool TUpDown::HandleReflected(TMessage& m)
{
    if (m.Msg == CN_NOTIFY && reinterpret_cast<NMHDR*>(m.LParam)->code == UDN_DELTAPOS) {
        auto* nm = reinterpret_cast<NMUPDOWN*>(m.LParam);
        if (nm->iDelta != 0)
            Click(nm->iDelta > 0 ? btNext : btPrev);
        m.Result = 1;  // the position moved here, not in the window
        return true;
    }
    return m.Msg == CN_VSCROLL || m.Msg == CN_HSCROLL;
}

// ---------------------------------------------------------------------------------------
// TProgressBar

TProgressBar::TProgressBar(TComponent* owner) : TWinControl(owner)
{
    width_ = 150;
    height_ = 16;
}

void TProgressBar::CreateParams(TCreateParams& p)
{
    TWinControl::CreateParams(p);
    p.systemClass = PROGRESS_CLASSW;
}

void TProgressBar::CreateHandleDone()
{
    SendMessageW(handle_, PBM_SETRANGE32, static_cast<WPARAM>(min_), max_);
    SendMessageW(handle_, PBM_SETPOS, static_cast<WPARAM>(position_), 0);
}

void TProgressBar::SetMin(int value)
{
    min_ = value;
    if (max_ < min_)
        max_ = min_;
    if (HandleAllocated())
        SendMessageW(handle_, PBM_SETRANGE32, static_cast<WPARAM>(min_), max_);
    SetPosition(position_);
}

void TProgressBar::SetMax(int value)
{
    max_ = value;
    if (min_ > max_)
        min_ = max_;
    if (HandleAllocated())
        SendMessageW(handle_, PBM_SETRANGE32, static_cast<WPARAM>(min_), max_);
    SetPosition(position_);
}

void TProgressBar::SetPosition(int value)
{
    position_ = std::max(min_, std::min(max_, value));
    if (HandleAllocated())
        SendMessageW(handle_, PBM_SETPOS, static_cast<WPARAM>(position_), 0);
}

void TProgressBar::StepIt()
{
    int next = position_ + step_;
    SetPosition(next > max_ ? min_ + (next - max_) : next);
}
