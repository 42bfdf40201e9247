#pragma once
// The editor's own clipboard at work: copying the selection (or the steps of a file read
// for insertion) into it, and dropping the floating paste into the scenario. The window
// cuts, pushes the undo snapshot and repaints around these.
#include "scenario/GridEditState.h"
#include "scenario/ScenarioSnapshot.h"

// Copy and cut: the clipboard takes every marked cell and the current cell (col, row),
// nothing else; kind is what the selection consists of. The clipboard position shown
// under the mouse is the current cell, its column only for channels and its row only
// for steps.
void CopySelection(GridEditState& edit, const ScenarioSnapshot& scn, GridSize size, int col, int row, int kind);

// Insertion from a file: the clipboard takes rows 0 .. rowCount - 1 of every column of
// the loaded scenario, as steps whose first one is shown under the mouse. False when the
// loaded scenario has no column.
bool CopyLoadedSteps(GridEditState& edit, const ScenarioSnapshot& loaded, int rowCount);

// Steps (columns c >= 1 with a time) and channels (rows r >= 3 with a cell in column 1)
// that the clipboard holds, for the paste command's caption.
int ClipboardStepCount(const CellClipboard& clip);
int ClipboardChannelCount(const CellClipboard& clip);

// The floating paste starts: the clipboard follows the mouse from here on.
void StartFloatingPaste(GridEditState& edit);

// Where the floating paste drops: the offset from clipboard positions to grid cells.
struct PasteOffset {
    int col;
    int row;
};
// The offset of a drop at the mouse cell; steps move only sideways, channels only up
// and down.
PasteOffset DropOffset(const GridEditState& edit);

// Writes every clipboard position of rows firstRow and below that is not empty into the
// scenario at offset, where it lands on a step cell of rows firstRow .. rowCount - 1;
// what falls outside is dropped. Returns the cells written.
CellRange PasteClipboard(ScenarioSnapshot& scn, const CellClipboard& clip, PasteOffset offset, int firstRow,
                         GridSize size);
