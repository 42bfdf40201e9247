// Speed, the times lock, the milliseconds display, and the effect and level controls as
// they write into cells.
#include <algorithm>

#include "editor/UnitMain.h"
#include "scenario/StepEdits.h"
#include "ui/Application.h"
#include "ui/SysUtils.h"

namespace {

constexpr char kEnter = 13;
constexpr char kEscape = 27;
constexpr char kBackspace = 8;

bool IsDigitKey(char key) { return (key >= '0' && key <= '9') || key == kBackspace; }

} // namespace

// ---------------------------------------------------------------------------------------
// Speed

void TFormMain::TrackBarSpeedChange(TObject*)
{
    // A change made by the program (Tag 1: start-up, new scenario, model, undo) only
    // brings the figures in line; the user's change is one undo step per gesture.
    if (TrackBarSpeed->Tag != 1)
        SliderGestureStep();  // also marks the scenario modified, in a suspension too
    int position = TrackBarSpeed->Position();
    EditSpeed->SetText(IntToStr(position));
    Scn().SetCell(0, 1, static_cast<uint16_t>(position));
    int speed = SpeedOfSlider(TrackBarSpeed->Min(), TrackBarSpeed->Max(), position);
    MsPerTimeUnit = MsPerTimeUnitAt(speed, Params.speedFactor, Params.speedTable);
    UpdateControls();
    RecalcScenario();
    Grid->Invalidate();
}

void TFormMain::TimerSpeedChangeTimer(TObject*)
{
    TimerSpeedChange->SetEnabled(false);
    ring_.UndoEnabled = true;
}

void TFormMain::EditSpeedKeyPress(TObject*, char& Key)
{
    if (Key == kEnter) {
        Key = 0;
        PushUndo();
        ring_.UndoEnabled = false;
        TrackBarSpeed->SetPosition(StrToIntDef(EditSpeed->Text(), TrackBarSpeed->Position()));
    } else if (Key == kEscape) {
        Key = 0;
        EditSpeed->SetText(IntToStr(TrackBarSpeed->Position()));
        EditSpeed->SetColor(clBtnFace);
    } else if (!IsDigitKey(Key)) {
        Key = 0;
    } else {
        EditSpeed->SetColor(clWindow);
    }
}

void TFormMain::EditSpeedExit(TObject*)
{
    int v = StrToIntDef(EditSpeed->Text(), TrackBarSpeed->Position());
    v = std::max(TrackBarSpeed->Min(), std::min(v, TrackBarSpeed->Max()));
    if (v != TrackBarSpeed->Position()) {
        PushUndo();
        TrackBarSpeed->SetPosition(v);
    }
    EditSpeed->SetText(IntToStr(TrackBarSpeed->Position()));
    Scn().SetCell(0, 1, static_cast<uint16_t>(TrackBarSpeed->Position()));
    ring_.UndoEnabled = true;
    EditSpeed->SetColor(clBtnFace);
}

// ---------------------------------------------------------------------------------------
// Times lock and milliseconds

void TFormMain::CheckBoxTimesLockClick(TObject*)
{
    TControl* steps[] = {EditStepNum, UpDownStepNum, TrackBarStepTime, EditStepTime, ButtonStepTimeDec,
                         ButtonStepTimeInc, TrackBarSpeed, EditSpeed};
    TControl* loops[] = {EditSubCnt, UpDownSubCnt, SpeedButtonSubAdd, SpeedButtonSubDel};
    if (CheckBoxTimesLock->Checked()) {
        for (TControl* c : steps)
            c->SetEnabled(false);
        for (TControl* c : loops)
            c->SetEnabled(false);
        N_AddStep->Enabled = false;
        N_DelStep->Enabled = false;
        SpeedButtonDelStep->SetEnabled(false);
        SpeedButtonInsertStep->SetEnabled(false);
        return;
    }
    if (ShowMessageBox("Отключить фиксацию шагов?", Application->Title(), MB_YESNO | MB_ICONQUESTION) != IDYES) {
        CheckBoxTimesLock->SetChecked(true);
        return;
    }
    for (TControl* c : steps)
        c->SetEnabled(true);
    int count = Grid->ColCount() - 1;
    SpeedButtonDelStep->SetEnabled(count >= 2);
    N_DelStep->Enabled = count >= 2;
    SpeedButtonInsertStep->SetEnabled(count < StepMaximum);
    N_AddStep->Enabled = count < StepMaximum;
    for (TControl* c : loops)
        c->SetEnabled(true);
}

void TFormMain::CheckBoxTimeInSecClick(TObject*)
{
    UpdateControls();
    RecalcScenario();
    Grid->Invalidate();
}

// ---------------------------------------------------------------------------------------
// Effects and level

void TFormMain::ApplyEffect(int code)
{
    PushUndo();
    RepaintCells(ApplyEffectToSelection(Scn(), EditState.Marks, Grid->Col(), Grid->Row(),
                                        static_cast<uint16_t>(code), Size()));
    UpdateControls();
}

void TFormMain::TrackBarStepLevelChange(TObject*)
{
    if (TrackBarStepLevel->Tag != 0)
        return;  // moved by the program
    SliderGestureStep();
    ApplyEffect(TrackBarStepLevel->Position());
}

void TFormMain::TrackBarStepLevelExit(TObject*) { ring_.UndoEnabled = true; }

void TFormMain::EditStepLevelEnter(TObject*) { EditStepLevel->SetColor(clWindow); }

void TFormMain::EditStepLevelExit(TObject*)
{
    int current = Scn().Cell(Grid->Col(), Grid->Row());
    int v = std::max(0, std::min(StrToIntDef(EditStepLevel->Text(), current), Params.levelMax));
    EditStepLevel->SetText(IntToStr(v));
    if (v != current)
        ApplyEffect(v);
    EditStepLevel->SetColor(clBtnFace);
}

void TFormMain::EditStepLevelKeyPress(TObject* Sender, char& Key)
{
    if (Key == kEnter) {
        Key = 0;
        EditStepLevelExit(Sender);
    } else if (Key == kEscape) {
        Key = 0;
        EditStepLevel->SetText(IntToStr(Scn().Cell(Grid->Col(), Grid->Row())));
        EditStepLevel->SetColor(clBtnFace);
    } else if (!IsDigitKey(Key)) {
        Key = 0;
    } else {
        EditStepLevel->SetColor(clWindow);
    }
}
