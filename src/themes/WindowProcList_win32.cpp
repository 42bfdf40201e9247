// The lists of subclassed controls: which class each list takes, the subclassing itself
// and the passing on of messages.
#include "themes/StyleControlKinds.h"
#include "themes/VisualStyleMgr.h"
#include "ui/Animate.h"
#include "ui/Buttons.h"
#include "ui/CheckListBox.h"
#include "ui/ComCtrls.h"
#include "ui/ExtCtrls.h"
#include "ui/Forms.h"
#include "ui/Frames.h"
#include "ui/ListView.h"
#include "ui/Messages.h"
#include "ui/StatusBar.h"
#include "ui/TabSheet.h"

namespace {

// The class bit each list tests a control for.
constexpr TControlKind ListClass[StyleListCount] = {
    ckListView, ckTabSheet, ckGroupBox, ckButtonControl, ckSpeedButton, ckSplitter, ckTrackBar,
    ckAnimate, ckStatusBar, ckCheckListBox, ckForm, ckFrame, ckPanel, ckWinControl};

// What every subclassed control's handler is: the main manager's procedure of its class.
void StyleWindowProc(TStyleList kind, TControl* control, TMessage& message)
{
    if (TVisualStyleManager* main = TVisualStyleManager::CurrentStyleManager())
        main->ClassWindowProc(kind, control, message);
    else
        control->WndProc(message);
}

} // namespace

unsigned StyleControlKinds(TControl* control)
{
    unsigned kinds = 0;
    auto is = [control](auto* typed, TControlKind kind) { return typed ? kind : 0u; };
    kinds |= is(dynamic_cast<TButtonControl*>(control), ckButtonControl);
    kinds |= is(dynamic_cast<TSpeedButton*>(control), ckSpeedButton);
    kinds |= is(dynamic_cast<TCustomGroupBox*>(control), ckGroupBox);
    kinds |= is(dynamic_cast<TTabSheet*>(control), ckTabSheet);
    kinds |= is(dynamic_cast<TCustomPanel*>(control), ckPanel);
    kinds |= is(dynamic_cast<TCustomFrame*>(control), ckFrame);
    kinds |= is(dynamic_cast<TCustomListView*>(control), ckListView);
    kinds |= is(dynamic_cast<TTrackBar*>(control), ckTrackBar);
    kinds |= is(dynamic_cast<TCheckListBox*>(control), ckCheckListBox);
    kinds |= is(dynamic_cast<TCustomStatusBar*>(control), ckStatusBar);
    kinds |= is(dynamic_cast<TSplitter*>(control), ckSplitter);
    kinds |= is(dynamic_cast<TAnimate*>(control), ckAnimate);
    kinds |= is(dynamic_cast<TForm*>(control), ckForm);
    if (control->IsWindowed())
        kinds |= ckWinControl;
    return kinds;
}

TControl* TWindowProcList::Control(int index) const
{
    return static_cast<TControl*>(const_cast<void*>(entries_.At(index).Control));
}

int TWindowProcList::Add(TControl* control)
{
    if (!(StyleControlKinds(control) & ListClass[kind_]))
        return -1;
    int index = entries_.Add(control, control->WindowProc);
    if (index < 0)
        return -1;
    TStyleList kind = kind_;
    control->WindowProc = [kind, control](TMessage& message) { StyleWindowProc(kind, control, message); };
    // Every control the manager holds tells it when it goes, whoever owns it.
    owner_->FreeNotification(control);
    return index;
}

void TWindowProcList::Remove(TControl* control)
{
    TWndMethod saved;
    if (entries_.Take(control, saved)) {
        control->WindowProc = saved;
        if (auto* windowed = dynamic_cast<TWinControl*>(control))
            owner_->RemoveChildSubclassing(windowed);
    }
    if (TVisualStyleManager* main = TVisualStyleManager::CurrentStyleManager())
        main->RemoveRecreationCandidate(control);
}

void TWindowProcList::Clear()
{
    while (Count() > 0)
        Remove(Control(0));
    entries_.Clear();
}

void TWindowProcList::DispatchMessage(TControl* control, TMessage& message)
{
    int index;
    if (!Find(control, index)) {
        control->WndProc(message);  // not subclassed by this list: the class's own handling
        return;
    }
    TVisualStyleManager* main = TVisualStyleManager::CurrentStyleManager();
    if (message.Msg == CM_RECREATEWND && main)
        main->AddRecreationCandidate(control);
    TWndMethod saved = entries_.At(index).Value;  // the entry may go while it runs
    saved(message);
    if (message.Msg == WM_DESTROY) {
        bool recreated = !(control->ComponentState & csDestroying) && main && main->IsRecreationCandidate(control);
        if (!recreated)
            Remove(control);
    }
}
