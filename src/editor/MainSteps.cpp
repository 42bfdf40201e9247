// The "Шаги" box: step count and step times (slider, edit, the -1/+1 buttons with their
// auto-repeat), the largest step count, and the recalculation and control updates that
// follow every change of the scenario.
#include "editor/UnitMain.h"
#include "scenario/ScenarioTotals.h"
#include "scenario/StepEdits.h"
#include "ui/SysUtils.h"

namespace {
constexpr char kEnter = 13;
constexpr char kEscape = 27;
} // namespace

// ---------------------------------------------------------------------------------------
// Recalculation and controls

void TFormMain::RecalcScenario()
{
    std::vector<int> widths;
    ScenarioTotals totals = RecalcStepTimes(Scn(), Grid->ColCount(), Limits(), Zoom, MsPerTimeUnit, widths);
    Grid->SetColWidthsFrom(1, widths);
    PanelLoops->SetCaption(IntToStr(static_cast<long long>(Scn().loops.size())) + " ");
    EditScenTime->SetAlignment(taRightJustify);
    EditScenTime->SetText(totals.text);
    EditScenTime->SetColor(totals.twoDaysOrMore ? clYellow : clBtnFace);
    int steps = Grid->ColCount() - 1;
    EditStepNum->SetText(IntToStr(steps));
    bool locked = CheckBoxTimesLock->Checked();
    if (steps <= 1)
        SpeedButtonDelStep->SetEnabled(false);
    else if (!locked)
        SpeedButtonDelStep->SetEnabled(true);
    if (steps >= StepMaximum) {
        SpeedButtonInsertStep->SetEnabled(false);
        N_AddStep->Enabled = false;
    } else if (!locked) {
        SpeedButtonInsertStep->SetEnabled(true);
        N_AddStep->Enabled = true;
    }
    PanelLabels->SetCaption(IntToStr(static_cast<long long>(Scn().labels.size())) + " ");
}

void TFormMain::UpdateControls()
{
    TagScope timeByProgram(*TrackBarStepTime, 1);
    TagScope levelByProgram(*TrackBarStepLevel, 1);
    if (!SpeedButtonLaunch->Down())
        PlayColumn = Grid->Col();
    int time = StepTime(Scn(), Grid->Col());
    TrackBarStepTime->SetPosition(TimeToSliderPosition(time));
    ShowStepTime(time);
    int channel = Grid->Row() - kFixedRows;
    bool rgb = channel >= 0 && channel < kMaxChannels && Config.channelTable[channel].rgbGroup != 0;
    SpeedButtonColorRGB->SetVisible(rgb);
    SpeedButtonStepLevel->SetVisible(!rgb);
    int value = Scn().Cell(Grid->Col(), Grid->Row());
    if (value > Params.levelMax) {
        if (value == kCellRampUp)
            SpeedButtonStepUp->SetDown(true);
        else if (value == kCellRampDown)
            SpeedButtonStepDown->SetDown(true);
        else if (value == kCellStrobe)
            SpeedButtonStepStrob->SetDown(true);
    } else if (value != 0) {
        SpeedButtonStepLevel->SetDown(true);
        TrackBarStepLevel->SetPosition(value);
        EditStepLevel->SetText(IntToStr(value));
    } else {
        SpeedButtonStepOff->SetDown(true);
    }
    if (!CheckBoxTimesLock->Checked()) {
        const LoopRecord* loop = LoopAt(Scn(), Grid->Col());
        if (!loop) {
            EditSubCnt->SetEnabled(false);
            UpDownSubCnt->SetEnabled(false);
        } else if (loop->repeatCount != kEndlessLoop) {
            UpDownSubCnt->SetPosition(loop->repeatCount);
            EditSubCnt->SetEnabled(true);
            UpDownSubCnt->SetEnabled(true);
            RadioButtonLoopRepeat->SetChecked(true);
        } else {
            RadioButtonLoopEndless->SetChecked(true);
        }
    }
}

void TFormMain::ShowStepTime(int time)
{
    EditStepTime->SetText(FormatStepTime(time, CheckBoxTimeInSec->Checked(), MsPerTimeUnit));
}

void TFormMain::SliderGestureStep()
{
    TimerSpeedChange->SetEnabled(false);
    TimerSpeedChange->SetInterval(1500);
    TimerSpeedChange->SetEnabled(true);
    PushUndo();
    ring_.UndoEnabled = false;
}

// ---------------------------------------------------------------------------------------
// Step count

void TFormMain::SetMaxSteps(int maxSteps, bool keepSteps)
{
    StepMaximum = ClampMaxSteps(maxSteps);
    UpDownStepNum->SetMax(StepMaximum);
    if (keepSteps)
        return;
    UpDownStepNum->SetPosition(StepMaximum);
    SetStepCount(StepMaximum);
    {
        TagScope byProgram(*TrackBarStepLevel, 1);
        TrackBarStepLevel->SetMax(Params.levelMax);
    }
    UpdateControls();
    RecalcScenario();
    Grid->Invalidate();
    ClearUndo();
}

void TFormMain::SetStepCount(int count)
{
    int steps = ClampStepCount(count, StepMaximum);
    if (steps != Grid->ColCount() - 1) {
        int newTime = ParseStepTimeEdit();  // read while the current column still exists
        PushUndo();
        ResizeSteps(Scn(), steps, newTime);
        Grid->SetColCount(1 + steps);
        EditState.Marks.ClearColumnsFrom(Grid->ColCount());
        // The menu texts and the gradient button follow what is still selected.
        if (EditState.SelectedStepCount(Size()) == 0)
            ResetSelectionMenu();
        else
            UpdateSelectionMenu(N_Copy->Tag);
    }
    ValidateLoops();
    ValidateLabels();
    RecalcScenario();
}

void TFormMain::EditStepNumExit(TObject*)
{
    SetStepCount(StrToIntDef(EditStepNum->Text(), Grid->ColCount() - 1));
    EditStepNum->SetColor(clBtnFace);
}

void TFormMain::EditStepNumKeyPress(TObject* Sender, char& Key)
{
    if (Key == kEnter) {
        Key = 0;  // handled here, no beep from the edit
        EditStepNumExit(Sender);
    } else if (Key == kEscape) {
        Key = 0;
        EditStepNum->SetText(IntToStr(Grid->ColCount() - 1));
        EditStepNum->SetColor(clBtnFace);
    } else {
        EditStepNum->SetColor(clWindow);
    }
}

void TFormMain::UpDownStepNumChangingEx(TObject*, bool&, short NewValue, TUpDownDirection)
{
    SetStepCount(NewValue);
}

// ---------------------------------------------------------------------------------------
// Step time

int TFormMain::TimeToSliderPosition(int time) { return ::TimeToSliderPosition(time, Params.maxTime); }

int TFormMain::SliderPositionToTime(int position) { return ::SliderPositionToTime(position, Params.maxTime); }

void TFormMain::SetStepTime(int column, int time)
{
    if (time < Params.minTime || time > Params.maxTime)
        return;
    {
        TagScope byProgram(*TrackBarStepTime, 1);
        TrackBarStepTime->SetPosition(TimeToSliderPosition(time));
    }
    ShowStepTime(time);
    SetStepTimes(Scn(), EditState.Marks, column, time, Limits(), Grid->ColCount());
    RecalcScenario();
    Grid->Invalidate();
}

void TFormMain::ChangeStepTime(int delta)
{
    if (ChangeStepTimes(Scn(), EditState.Marks, Grid->Col(), delta, Limits(), Grid->ColCount())) {
        int time = StepTime(Scn(), Grid->Col());
        TagScope byProgram(*TrackBarStepTime, 1);
        TrackBarStepTime->SetPosition(TimeToSliderPosition(time));
        ShowStepTime(time);
    }
    RecalcScenario();
    Grid->Invalidate();
}

int TFormMain::ParseStepTimeEdit()
{
    return ParseStepTime(EditStepTime->Text(), CheckBoxTimeInSec->Checked(), StepTime(Scn(), Grid->Col()),
                         MsPerTimeUnit, Limits());
}

void TFormMain::ApplyStepTimeEdit()
{
    SetStepTime(Grid->Col(), ParseStepTimeEdit());
    EditStepTime->SetColor(clBtnFace);
}

void TFormMain::TrackBarStepTimeChange(TObject*)
{
    if (TrackBarStepTime->Tag != 0)
        return;  // moved by the program
    SliderGestureStep();
    SetStepTime(Grid->Col(), SliderPositionToTime(TrackBarStepTime->Position()));
}

void TFormMain::TrackBarStepTimeExit(TObject*) { ring_.UndoEnabled = true; }

void TFormMain::EditStepTimeEnter(TObject* Sender)
{
    if (auto* edit = dynamic_cast<TControl*>(Sender))
        edit->SetColor(clWindow);
}

void TFormMain::EditStepTimeKeyPress(TObject*, char& Key)
{
    if (Key == kEnter) {
        Key = 0;
        PushUndo();
        ring_.UndoEnabled = false;
        ApplyStepTimeEdit();
    } else if (Key == kEscape) {
        Key = 0;
        ShowStepTime(StepTime(Scn(), Grid->Col()));
        EditStepTime->SetColor(clBtnFace);
    } else {
        EditStepTime->SetColor(clWindow);
    }
}

void TFormMain::EditStepTimeExit(TObject*)
{
    if (ParseStepTimeEdit() != StepTime(Scn(), Grid->Col())) {
        PushUndo();
        ApplyStepTimeEdit();
    }
    ring_.UndoEnabled = true;
    EditStepTime->SetColor(clBtnFace);
}

// One step at once, the next after 500 ms, then one every 70 ms, all in one undo step.
void TFormMain::ButtonStepTimeDecMouseDown(TObject* Sender, TMouseButton, TShiftState, int, int)
{
    int delta = static_cast<TComponent*>(Sender)->Tag;
    TimerStepTimeRepeat->Tag = delta;
    TimerStepTimeRepeat->SetInterval(500);
    TimerStepTimeRepeat->SetEnabled(true);
    PushUndo();
    ring_.UndoEnabled = false;
    ChangeStepTime(delta);
}

void TFormMain::TimerStepTimeRepeatTimer(TObject*)
{
    TimerStepTimeRepeat->SetInterval(70);
    ChangeStepTime(TimerStepTimeRepeat->Tag);
}

void TFormMain::ButtonStepTimeDecMouseUp(TObject*, TMouseButton, TShiftState, int, int)
{
    TimerStepTimeRepeat->SetEnabled(false);
    ring_.UndoEnabled = true;
}
