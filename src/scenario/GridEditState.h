#pragma once
// The editing state of the step grid that lives beside the scenario: the selection and
// its anchor, the cell under the mouse, the floating paste with its clipboard. It holds
// the rules by which mouse clicks, drags and keys change the selection; the window
// feeds it the grid's events and carries out what it answers (moving the current cell,
// repainting, updating the menu texts).
//
// Grid layout: column 0 names the channels, columns 1 .. colCount - 1 are the steps;
// row 0 numbers the steps, row 1 holds their times, row 2 the loops, rows 3 .. are the
// channels.
#include "scenario/CellClipboard.h"
#include "scenario/SelectionMarks.h"

constexpr int kFixedCols = 1;
constexpr int kFixedRows = kFirstChannelRow;

// What a selection consists of; also the kind of what copy and cut take.
enum SelectionKind : int { kSelectCells = 0, kSelectSteps = 1, kSelectChannels = 2 };

// Keys and buttons held during a mouse event.
enum GridKeys : unsigned { kKeyShift = 1, kKeyCtrl = 2, kKeyDouble = 4, kKeyLeftButton = 8 };

struct GridSize {
    int colCount;
    int rowCount;
};

inline bool IsStepCell(int col, int row) { return col >= kFixedCols && row >= kFixedRows; }

// What the window does after the state has handled a mouse event.
struct GridMouseResult {
    bool selectionCleared = false;  // the selection was cleared: its menu texts reset
    int menuKind = -1;              // >= 0: the selection menu follows this kind
    int moveCol = -1;               // >= 0: the grid's current column moves here
    int moveRow = -1;               // >= 0: the grid's current row moves here
    bool cycleEffect = false;       // a double click on a step cell
    bool invalidate = false;        // the whole grid is repainted
    CellRange repaint;              // cells whose marks were set, repainted at once
    int playColumn = -1;            // >= 0: the preview shows this column
};

class GridEditState {
public:
    SelectionMarks Marks;
    CellClipboard Clipboard;
    // The cell of the last click without Shift; Shift-clicks and drags extend from it.
    int SelectionAnchorCol = 0;
    int SelectionAnchorRow = 0;
    // The cell under the mouse (-1 outside the cells).
    int MouseCol = -1;
    int MouseRow = -1;
    // A right click on a cell makes the next move with the left button held no drag.
    bool SkipDrag = false;
    // The floating paste: the clipboard follows the mouse as a ghost until dropped.
    bool FloatingPaste = false;
    int PasteOffsetCol = 0;
    int PasteOffsetRow = 0;
    int ClipboardKind = kSelectCells;
    int ClipboardOriginCol = 0;
    int ClipboardOriginRow = 0;

    // The left button went down on (col, row) (-1 outside the cells); currentCol and
    // currentRow are the grid's current cell before the click.
    GridMouseResult LeftButtonDown(int col, int row, unsigned keys, int currentCol, int currentRow,
                                   GridSize size);
    // Another button went down: the floating paste ends. True when (col, row) is a step
    // cell: the current cell moves there and the next drag step is skipped.
    bool OtherButtonDown(int col, int row);
    GridMouseResult MouseMove(int col, int row, unsigned keys, int currentCol, int currentRow, GridSize size);

    // Every cell of every step: rows 1 .. rowCount - 1 of columns 1 .. colCount - 1.
    void SelectAll(GridSize size);
    // Selected steps: columns c >= 1 with [c][1] set; selected channels: rows r >= 3
    // with [1][r] set.
    int SelectedStepCount(GridSize size) const;
    int SelectedChannelCount(GridSize size) const;

private:
    // Marks (c, r) and the time-row mark of its column for every cell of the range.
    CellRange MarkCells(const CellRange& range);
    // Marks rows 1 .. rowCount - 1 of columns col1 .. col2.
    CellRange MarkSteps(int col1, int col2, GridSize size);
    // Marks rows row1 .. row2 and the time row in every step column.
    CellRange MarkChannels(int row1, int row2, GridSize size);

    int lastMoveCol_ = -1;  // the cell of the previous handled mouse move
    int lastMoveRow_ = -1;
};
