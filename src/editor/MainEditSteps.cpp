// Inserting and deleting steps from the "Шаги" box and the grid's popup menu, and the
// bindings of the editing commands' controls.
#include "editor/UnitMain.h"
#include "scenario/StepColumns.h"

void TFormMain::InsertStep()
{
    if (CheckBoxTimesLock->Checked() || Grid->ColCount() - 1 >= StepMaximum)
        return;
    int time = ParseStepTimeEdit();
    PushUndo();
    if (!::InsertStep(Scn(), Grid->Col(), static_cast<uint16_t>(time)))
        return;
    Grid->SetColCount(Scn().ColCount());
    RecalcScenario();
    ClearSelection();
}

void TFormMain::DeleteSteps()
{
    if (CheckBoxTimesLock->Checked()) {
        ApplyEffect(kCellOff);  // the steps stay; their cells go off
        return;
    }
    std::vector<int> marked;
    for (int c = kFixedCols; c < Grid->ColCount(); ++c)
        if (EditState.Marks.At(c, 1) != 0)
            marked.push_back(c);
    PushUndo();
    int current = ::DeleteSteps(Scn(), Grid->Col(), marked);
    Grid->SetColCount(Scn().ColCount());
    if (current >= 0) {
        Grid->SetCol(current);
        if (!SpeedButtonLaunch->Down())
            PlayColumn = Grid->Col();
    }
    ValidateLoops();
    ValidateLabels();
    RecalcScenario();
    // Every marked step went (a marked cell marks its step too): nothing is selected any
    // more, so the selection's menu texts and kind are reset with the marks.
    ClearSelection();
    // Another step (or the emptied only one) is current now: the effect, level and time
    // controls show it as a click on it would.
    UpdateControls();
}

void TFormMain::N_AddStepClick(TObject*) { InsertStep(); }
void TFormMain::SpeedButtonInsertStepClick(TObject*) { InsertStep(); }
void TFormMain::N_DelStepClick(TObject*) { DeleteSteps(); }
void TFormMain::SpeedButtonDelStepClick(TObject*) { DeleteSteps(); }

void TFormMain::BindEditEvents()
{
    using std::placeholders::_1;
    using std::placeholders::_2;
    N_AddStep->OnClick = std::bind(&TFormMain::N_AddStepClick, this, _1);
    SpeedButtonInsertStep->OnClick = std::bind(&TFormMain::SpeedButtonInsertStepClick, this, _1);
    N_DelStep->OnClick = std::bind(&TFormMain::N_DelStepClick, this, _1);
    SpeedButtonDelStep->OnClick = std::bind(&TFormMain::SpeedButtonDelStepClick, this, _1);
    N_Copy->OnClick = std::bind(&TFormMain::N_CopyClick, this, _1);
    N_Cut->OnClick = std::bind(&TFormMain::N_CutClick, this, _1);
    N_Paste->OnClick = std::bind(&TFormMain::N_PasteClick, this, _1);

    SpeedButtonSubAdd->OnClick = std::bind(&TFormMain::SpeedButtonSubAddClick, this, _1);
    SpeedButtonSubDel->OnClick = std::bind(&TFormMain::SpeedButtonSubDelClick, this, _1);
    UpDownSubCnt->OnChangingEx = [this](TObject* sender, bool& allow, short value, TUpDownDirection direction) {
        UpDownSubCntChangingEx(sender, allow, value, direction);
    };
    EditSubCnt->OnKeyPress = std::bind(&TFormMain::EditSubCntKeyPress, this, _1, _2);
    EditSubCnt->OnExit = std::bind(&TFormMain::EditSubCntExit, this, _1);
    RadioButtonLoopRepeat->OnClick = std::bind(&TFormMain::RadioButtonLoopRepeatClick, this, _1);
    RadioButtonLoopEndless->OnClick = std::bind(&TFormMain::RadioButtonLoopRepeatClick, this, _1);
    SpeedButtonLabelAdd->OnClick = std::bind(&TFormMain::SpeedButtonLabelAddClick, this, _1);
    SpeedButtonLabelDel->OnClick = std::bind(&TFormMain::SpeedButtonLabelDelClick, this, _1);
}
