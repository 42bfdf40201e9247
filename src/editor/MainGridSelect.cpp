// Selection in the step grid with the mouse and keys, the popup texts that follow it,
// the effect buttons, cycling a cell through the effects, and the wheel's zoom.
#include "editor/UnitMain.h"
#include "scenario/StepEdits.h"

namespace {

unsigned GridKeysOf(TShiftState shift)
{
    unsigned keys = 0;
    if (shift & ssShift)
        keys |= kKeyShift;
    if (shift & ssCtrl)
        keys |= kKeyCtrl;
    if (shift & ssDouble)
        keys |= kKeyDouble;
    if (shift & ssLeft)
        keys |= kKeyLeftButton;
    return keys;
}

} // namespace

// ---------------------------------------------------------------------------------------
// Selection and its menu texts

void TFormMain::ResetSelectionMenu()
{
    N_DelStep->Caption = "Удалить текущий шаг";
    SpeedButtonDelStep->Hint = N_DelStep->Caption;
    N_Copy->Tag = kSelectCells;
    N_Copy->Caption = "Копировать";
    N_Cut->Caption = "Вырезать";
    SpeedButtonGradient->SetEnabled(false);
}

void TFormMain::ClearSelection()
{
    ResetSelectionMenu();
    EditState.Marks.Clear();
    Grid->Invalidate();
}

void TFormMain::UpdateSelectionMenu(int kind)
{
    N_Copy->Tag = kind;
    int steps = EditState.SelectedStepCount(Size());
    int channels = EditState.SelectedChannelCount(Size());
    if (steps < 2) {
        N_DelStep->Caption = "Удалить выделенный шаг";
        SpeedButtonGradient->SetEnabled(false);
    } else {
        N_DelStep->Caption = "Удалить выделенные шаги";
        SpeedButtonGradient->SetEnabled(Params.gradientAllowed != 0);
    }
    SpeedButtonDelStep->Hint = N_DelStep->Caption;
    switch (kind) {
    case kSelectSteps:
        N_Copy->Caption = steps < 2 ? "Копировать шаг" : "Копировать шаги";
        N_Cut->Caption = steps < 2 ? "Вырезать шаг" : "Вырезать шаги";
        break;
    case kSelectChannels:
        N_Copy->Caption = channels < 2 ? "Копировать канал" : "Копировать каналы";
        N_Cut->Caption = channels < 2 ? "Вырезать канал" : "Вырезать каналы";
        break;
    default:
        N_Copy->Caption = "Копировать";
        N_Cut->Caption = "Вырезать";
        break;
    }
}

// ---------------------------------------------------------------------------------------
// Mouse

void TFormMain::GridMouseDown(TObject*, TMouseButton Button, TShiftState Shift, int X, int Y)
{
    int col, row;
    Grid->MouseToCell(X, Y, col, row);
    if (Button != mbLeft) {
        // The floating paste (which took the popup menu away) ends; the menu opens.
        bool stepCell = EditState.OtherButtonDown(col, row);
        Grid->PopupMenu = PopupMenu;
        if (stepCell) {
            Grid->SetCol(col);
            Grid->SetRow(row);
            UpdateControls();
        }
        return;
    }
    if (EditState.FloatingPaste)
        PasteClipboard();
    unsigned keys = GridKeysOf(Shift);
    GridMouseResult result = EditState.LeftButtonDown(col, row, keys, Grid->Col(), Grid->Row(), Size());
    if (keys & kKeyDouble) {
        if (result.cycleEffect)
            CycleCellEffect();
        return;
    }
    if (result.selectionCleared) {
        ResetSelectionMenu();
        Grid->Invalidate();
    }
    if (result.moveCol >= 0)
        Grid->SetCol(result.moveCol);
    if (result.moveRow >= 0)
        Grid->SetRow(result.moveRow);
    if (result.menuKind >= 0)
        UpdateSelectionMenu(result.menuKind);
    RepaintCells(result.repaint);
    UpdateControls();
}

void TFormMain::GridMouseMove(TObject*, TShiftState Shift, int X, int Y)
{
    int col, row;
    Grid->MouseToCell(X, Y, col, row);
    GridMouseResult result = EditState.MouseMove(col, row, GridKeysOf(Shift), Grid->Col(), Grid->Row(), Size());
    if (result.playColumn >= 0)
        PlayColumn = result.playColumn;
    if (result.menuKind >= 0)
        UpdateSelectionMenu(result.menuKind);
    if (result.invalidate)
        Grid->Invalidate();
}

void TFormMain::GridMouseUp(TObject*, TMouseButton, TShiftState, int, int)
{
    UpdateControls();
    Grid->Invalidate();
}

void TFormMain::GridMouseWheelDown(TObject*, TShiftState, TPoint, bool& Handled)
{
    SpeedButtonZoomMinus->Click();
    Handled = true;
}

void TFormMain::GridMouseWheelUp(TObject*, TShiftState, TPoint, bool& Handled)
{
    SpeedButtonZoomPlus->Click();
    Handled = true;
}

// ---------------------------------------------------------------------------------------
// Keys

bool TFormMain::VisibleOnForm(TControl* control) const
{
    for (TControl* c = control; c && c != this; c = c->Parent())
        if (!c->Visible())
            return false;
    return true;
}

void TFormMain::GridKeyPress(TObject*, char& Key)
{
    switch (Key) {
    case 27:
        EditState.FloatingPaste = false;
        Grid->PopupMenu = PopupMenu;
        break;
    case ' ':
        CycleCellEffect();
        break;
    case 'L':
    case 'l':
        if (SpeedButtonSubAdd->Enabled() && VisibleOnForm(SpeedButtonSubAdd))
            SpeedButtonSubAdd->Click();
        break;
    case 'M':
    case 'm':
        if (SpeedButtonLabelAdd->Enabled() && VisibleOnForm(SpeedButtonLabelAdd))
            SpeedButtonLabelAdd->Click();
        break;
    default:
        break;
    }
}

void TFormMain::GridKeyUp(TObject*, WORD&, TShiftState)
{
    UpdateControls();
    Grid->Invalidate();
}

// ---------------------------------------------------------------------------------------
// Effects

void TFormMain::CycleCellEffect()
{
    EffectRules rules{Params.levelMax, Params.rampUpAllowed != 0, Params.rampDownAllowed != 0,
                      Params.strobeAllowed != 0};
    int current = Scn().Cell(Grid->Col(), Grid->Row());
    ApplyEffect(NextCellEffect(current, TrackBarStepLevel->Position(), rules));
}

void TFormMain::SpeedButtonStepLevelClick(TObject* Sender)
{
    auto* button = dynamic_cast<TSpeedButton*>(Sender);
    if (!button || !button->Down())
        return;
    ApplyEffect(button->Tag == Params.levelMax ? TrackBarStepLevel->Position() : button->Tag);
}

void TFormMain::TrackBarStepLevelEnter(TObject*) { SpeedButtonStepLevel->SetDown(true); }

void TFormMain::RadioButtonStepLevelClick(TObject* Sender)
{
    if (auto* component = dynamic_cast<TComponent*>(Sender))
        ApplyEffect(component->Tag);
}
