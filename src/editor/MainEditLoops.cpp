// The "Циклы" and "Метки" boxes: loops over the selected steps with their repeat counts,
// labels on steps, and the repairs of both lists after the step count changed.
#include "editor/UnitMain.h"
#include "scenario/ScenarioLabels.h"
#include "scenario/ScenarioLoops.h"
#include "ui/SysUtils.h"

namespace {

constexpr char kEnter = 13;
constexpr char kEscape = 27;

// The warning when a list has no room left; what names the entries.
void WarnFull(const char* what, int limit)
{
    ShowMessageBox(std::string("Сценарий уже содержит максимально допустимое количество ") + what + " (" +
                       IntToStr(limit) + ")!",
                   "Предупреждение", MB_OK | MB_ICONWARNING);
}

// A count typed by the user: 2 .. 32767 (endless only comes from its radio button).
int TypedRepeat(const std::string& text, int fallback)
{
    return std::clamp(StrToIntDef(text, fallback), 2, 32767);
}

} // namespace

std::vector<int> TFormMain::SelectedStepsAndCurrent() const
{
    std::vector<int> columns;
    for (int c = kFixedCols; c < Grid->ColCount(); ++c)
        if (EditState.Marks.At(c, 1) != 0 || c == Grid->Col())
            columns.push_back(c);
    return columns;
}

// ---------------------------------------------------------------------------------------
// Loops

int TFormMain::FindLoop(int column) { return ::FindLoop(Scn(), column); }

void TFormMain::AddLoop()
{
    if (Scn().loops.size() >= static_cast<size_t>(kMaxLoops)) {
        WarnFull("циклов", kMaxLoops);
        return;
    }
    std::vector<int> columns = SelectedStepsAndCurrent();
    if (columns.empty())
        return;
    uint16_t repeat = RadioButtonLoopEndless->Checked() ? kEndlessLoop
                                                        : static_cast<uint16_t>(TypedRepeat(EditSubCnt->Text(), 2));
    ::AddLoop(Scn(), columns.front(), columns.back(), repeat);
    RecalcScenario();
    Grid->Invalidate();
}

void TFormMain::DeleteLoops()
{
    std::vector<int> columns = SelectedStepsAndCurrent();
    if (AnyLoopHolds(Scn(), columns)) {
        PushUndo();
        ring_.UndoEnabled = false;
        ::DeleteLoops(Scn(), columns);
    }
    RecalcScenario();
    Grid->Invalidate();
}

void TFormMain::SetLoopRepeat(int count)
{
    int i = FindLoop(Grid->Col());
    if (i >= 0) {
        uint16_t repeat = ClampLoopRepeat(count);
        if (repeat != Scn().loops[static_cast<size_t>(i)].repeatCount) {
            PushUndo();
            Scn().loops[static_cast<size_t>(i)].repeatCount = repeat;
            Grid->Invalidate();
        }
        if (repeat != kEndlessLoop)
            EditSubCnt->SetText(IntToStr(repeat));
    }
    RecalcScenario();
}

void TFormMain::ValidateLoops() { ::ValidateLoops(Scn()); }

void TFormMain::SpeedButtonSubAddClick(TObject*)
{
    PushUndo();
    ring_.UndoEnabled = false;
    DeleteLoops();  // the new loop replaces every loop it touches
    AddLoop();
    ring_.UndoEnabled = true;
    UpdateControls();
}

void TFormMain::SpeedButtonSubDelClick(TObject*)
{
    DeleteLoops();
    ring_.UndoEnabled = true;
    UpdateControls();
}

void TFormMain::UpDownSubCntChangingEx(TObject*, bool&, short NewValue, TUpDownDirection) { SetLoopRepeat(NewValue); }

void TFormMain::EditSubCntKeyPress(TObject* Sender, char& Key)
{
    if (Key == kEnter) {
        Key = 0;
        EditSubCntExit(Sender);
    } else if (Key == kEscape) {
        Key = 0;
        int i = FindLoop(Grid->Col());
        if (i >= 0)
            EditSubCnt->SetText(IntToStr(Scn().loops[static_cast<size_t>(i)].repeatCount));
        EditSubCnt->SetColor(clBtnFace);
    } else {
        EditSubCnt->SetColor(clWindow);
    }
}

void TFormMain::EditSubCntExit(TObject*)
{
    int i = FindLoop(Grid->Col());
    if (i >= 0)
        SetLoopRepeat(TypedRepeat(EditSubCnt->Text(), Scn().loops[static_cast<size_t>(i)].repeatCount));
    EditSubCnt->SetColor(clBtnFace);
}

void TFormMain::RadioButtonLoopRepeatClick(TObject*)
{
    bool endless = RadioButtonLoopEndless->Checked();
    EditSubCnt->SetEnabled(!endless);
    UpDownSubCnt->SetEnabled(!endless);
    SetLoopRepeat(endless ? kEndlessLoop : UpDownSubCnt->Position());
}

// ---------------------------------------------------------------------------------------
// Labels

void TFormMain::AddLabel(int column)
{
    switch (::AddLabel(Scn(), column)) {
    case LabelAdd::Full:
        WarnFull("меток", kMaxLabels);
        break;
    case LabelAdd::Added:
        RecalcScenario();
        Grid->Invalidate();
        break;
    case LabelAdd::Present:
        break;
    }
}

void TFormMain::DeleteLabel(int column)
{
    if (!::DeleteLabel(Scn(), column))
        return;
    RecalcScenario();
    Grid->Invalidate();
}

void TFormMain::ValidateLabels()
{
    std::vector<uint16_t> before = Scn().labels;
    if (!::ValidateLabels(Scn()))
        WarnFull("меток", kMaxLabels);
    if (Scn().labels != before) {
        RecalcScenario();
        Grid->Invalidate();
    }
}

void TFormMain::SpeedButtonLabelAddClick(TObject*)
{
    PushUndo();
    ring_.UndoEnabled = false;
    AddLabel(Grid->Col());
    ring_.UndoEnabled = true;
}

void TFormMain::SpeedButtonLabelDelClick(TObject*)
{
    // The label on step 1 stays while others exist.
    if (Scn().labels.size() > 1 && Grid->Col() == 1)
        return;
    PushUndo();
    ring_.UndoEnabled = false;
    DeleteLabel(Grid->Col());
    ring_.UndoEnabled = true;
}
