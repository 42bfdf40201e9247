// The editor's own clipboard: copy and cut of cells, steps or channels, the steps of a
// file taken for insertion, and the floating paste that follows the mouse until a left
// click drops it.
#include "editor/UnitMain.h"
#include "scenario/ClipboardEdits.h"

void TFormMain::CopyToClipboard(int mode)
{
    if (mode == 2) {
        if (CopyLoadedSteps(EditState, LoadBuffer, Grid->RowCount()))
            N_Paste->Enabled = true;
        return;
    }
    int kind = EditState.ClipboardKind;
    // The origin is the current cell before a cut of steps moves it.
    CopySelection(EditState, Scn(), Size(), Grid->Col(), Grid->Row(), kind);
    N_Paste->Enabled = true;
    if (mode == 1) {
        if (kind == kSelectSteps)
            DeleteSteps();
        else
            ApplyEffect(kCellOff);
    }
}

void TFormMain::CopyOrCut(int mode)
{
    EditState.ClipboardKind = N_Copy->Tag;
    CopyToClipboard(mode);
    switch (EditState.ClipboardKind) {
    case kSelectSteps:
        N_Paste->Caption = ClipboardStepCount(EditState.Clipboard) < 2 ? "Вставить шаг" : "Вставить шаги";
        break;
    case kSelectChannels:
        N_Paste->Caption = ClipboardChannelCount(EditState.Clipboard) < 2 ? "Вставить канал" : "Вставить каналы";
        break;
    default:
        N_Paste->Caption = "Вставить";
        break;
    }
    N_Paste->Click();  // the block floats under the mouse at once
}

void TFormMain::N_CopyClick(TObject*) { CopyOrCut(0); }
void TFormMain::N_CutClick(TObject*) { CopyOrCut(1); }

void TFormMain::N_PasteClick(TObject*)
{
    StartFloatingPaste(EditState);
    // A right click now cancels the paste instead of opening the menu.
    Grid->PopupMenu = nullptr;
    Grid->Invalidate();
}

void TFormMain::PasteClipboard()
{
    EditState.FloatingPaste = false;
    Grid->PopupMenu = PopupMenu;
    Grid->Invalidate();
    if (!IsStepCell(EditState.MouseCol, EditState.MouseRow))
        return;  // dropped beside the step cells: nothing is written
    // A paste is an undo step of its own, also during another gesture's step.
    ring_.UndoEnabled = true;
    PushUndo();
    int kind = EditState.ClipboardKind;
    int firstRow = kind == kSelectSteps && !CheckBoxTimesLock->Checked() ? 1 : kFixedRows;
    ::PasteClipboard(Scn(), EditState.Clipboard, DropOffset(EditState), firstRow, Size());
    if (kind == kSelectSteps)
        RecalcScenario();  // the step times came along
}

void TFormMain::EndFloatingPaste()
{
    EditState.FloatingPaste = false;
    Grid->Invalidate();
}

void TFormMain::ClearClipboard()
{
    // An empty clipboard has nothing to float: a click would only record an empty edit.
    EditState.Clipboard.Clear();
    EndFloatingPaste();
    Grid->PopupMenu = PopupMenu;
}
