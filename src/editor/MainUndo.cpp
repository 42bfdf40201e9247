// Undo and redo in the main window: the ring moves, the buttons, the scenario's file and
// the caption follow, and the controls are brought back in line with the restored
// scenario.
#include "editor/UnitMain.h"

void TFormMain::PushUndo()
{
    // The change that follows makes the scenario differ from its file, also while one
    // gesture's changes share a single undo step.
    SetCaption(true);
    Modified = true;
    if (!ring_.Push())
        return;
    SpeedButtonUndo->SetEnabled(true);
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
    // The restored scenario may be another file's (before an open or a new one).
    TakeDocumentFile();
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
    TakeDocumentFile();
    Modified = true;
    SetCaption(true);
    Resynchronise();
}

void TFormMain::TakeDocumentFile()
{
    ScenarioFileName = ring_.Document().fileName;
    ScenarioFileOwned = ring_.Document().owned;
}

void TFormMain::Resynchronise()
{
    Grid->SetColCount(Scn().ColCount());
    // Moving the speed slider to the restored position runs its change handler; as a
    // change made by the program it neither pushes a snapshot (which would wipe the
    // redo history) nor suspends pushing.
    {
        TagScope byProgram(*TrackBarSpeed, 1);
        TrackBarSpeed->SetPosition(Scn().Cell(0, 1));
    }
    EditState.Marks.ClearColumnsFrom(Grid->ColCount());
    RecalcScenario();
    Grid->Invalidate();
    UpdateControls();
}
