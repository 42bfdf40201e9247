// Undo and redo in the main window: the ring moves, the buttons and the caption follow,
// and the controls are brought back in line with the restored scenario.
#include "editor/UnitMain.h"

void TFormMain::PushUndo()
{
    if (!ring_.Push())
        return;
    SpeedButtonUndo->SetEnabled(true);
    SetCaption(true);
    Modified = true;
    SpeedButtonRedo->SetEnabled(false);
}

void TFormMain::ClearUndo()
{
    ring_.Clear();
    SpeedButtonUndo->SetEnabled(false);
    SpeedButtonRedo->SetEnabled(false);
}

void TFormMain::Undo()
{
    if (!ring_.Undo()) {
        SpeedButtonUndo->SetEnabled(false);
        return;
    }
    SpeedButtonRedo->SetEnabled(true);
    SpeedButtonUndo->SetEnabled(ring_.CanUndo());
    // The scenario now differs from what was saved (or loaded).
    Modified = true;
    SetCaption(true);
    Resynchronise();
}

void TFormMain::Redo()
{
    if (!ring_.Redo()) {
        SpeedButtonRedo->SetEnabled(false);
        return;
    }
    SpeedButtonUndo->SetEnabled(true);
    SpeedButtonRedo->SetEnabled(ring_.CanRedo());
    Modified = true;
    SetCaption(true);
    Resynchronise();
}

void TFormMain::Resynchronise()
{
    Grid->SetColCount(Scn().ColCount());
    // Moving the speed slider to the restored position runs its change handler, which
    // would push a snapshot and so wipe the redo history: keep pushing off meanwhile.
    bool pushing = ring_.UndoEnabled;
    ring_.UndoEnabled = false;
    TrackBarSpeed->Tag = 1;
    TrackBarSpeed->SetPosition(Scn().Cell(0, 1));
    TrackBarSpeed->Tag = 0;
    ring_.UndoEnabled = pushing;
    RecalcScenario();
    Grid->Invalidate();
    UpdateControls();
}
