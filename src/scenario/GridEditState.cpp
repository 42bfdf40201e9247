#include "scenario/GridEditState.h"

#include <algorithm>

GridMouseResult GridEditState::LeftButtonDown(int col, int row, unsigned keys, int currentCol, int currentRow,
                                              GridSize size)
{
    GridMouseResult result;
    if (keys & kKeyDouble) {
        result.cycleEffect = IsStepCell(col, row);
        return result;
    }
    bool shift = (keys & kKeyShift) != 0;
    if (!(keys & kKeyCtrl)) {
        Marks.Clear();
        result.selectionCleared = true;
    }
    if (IsStepCell(col, row)) {
        // Ctrl adds the cell, Shift the rectangle from the anchor; both together do both.
        if (keys & kKeyCtrl) {
            result.repaint.Include(MarkCells(CellRange{col, row, col, row}));
            result.menuKind = kSelectCells;
        }
        if (shift) {
            result.repaint.Include(MarkCells(CellRange::Span(SelectionAnchorCol, SelectionAnchorRow, col, row)));
            result.menuKind = kSelectCells;
        }
    } else if (col >= kFixedCols && row >= 0) {
        // A header cell of a step column selects steps, with Shift from the current one.
        if (shift) {
            result.repaint = MarkSteps(std::min(currentCol, col), std::max(currentCol, col), size);
        } else {
            result.moveCol = col;
            result.repaint = MarkSteps(col, col, size);
        }
        result.menuKind = kSelectSteps;
    } else if (col == 0 && row >= kFixedRows) {
        // A channel's name selects the channel, with Shift from the current row.
        if (shift) {
            result.repaint = MarkChannels(std::min(currentRow, row), std::max(currentRow, row), size);
        } else {
            result.moveRow = row;
            result.repaint = MarkChannels(row, row, size);
        }
        result.menuKind = kSelectChannels;
    }
    if (!shift) {
        if (col >= 0)
            SelectionAnchorCol = col;
        if (row >= 0)
            SelectionAnchorRow = row;
    }
    return result;
}

bool GridEditState::OtherButtonDown(int col, int row)
{
    FloatingPaste = false;
    if (!IsStepCell(col, row))
        return false;
    SkipDrag = true;
    return true;
}

GridMouseResult GridEditState::MouseMove(int col, int row, unsigned keys, int currentCol, int currentRow,
                                         GridSize size)
{
    GridMouseResult result;
    bool left = (keys & kKeyLeftButton) != 0;
    if (left && SkipDrag) {
        SkipDrag = false;
        return result;
    }
    MouseCol = col;
    MouseRow = row;
    if (col < 0 || row < 0 || (col == lastMoveCol_ && row == lastMoveRow_))
        return result;
    if (FloatingPaste) {
        PasteOffsetCol = ClipboardKind == kSelectChannels ? 0 : col - ClipboardOriginCol;
        PasteOffsetRow = ClipboardKind == kSelectSteps ? 0 : row - ClipboardOriginRow;
        result.invalidate = true;
    }
    if (left) {
        result.playColumn = col;
        if (IsStepCell(col, row)) {
            // The rectangle from the anchor replaces what the drag marked before; with
            // Ctrl it is added to the earlier marks.
            if (!(keys & kKeyCtrl))
                Marks.ClearRange(CellRange{1, 1, size.colCount - 1, size.rowCount - 1});
            MarkCells(CellRange::Span(SelectionAnchorCol, SelectionAnchorRow, col, row));
            result.menuKind = kSelectCells;
        } else if (col >= kFixedCols) {
            MarkSteps(std::min(currentCol, col), std::max(currentCol, col), size);
            result.menuKind = kSelectSteps;
        } else if (row >= kFixedRows) {
            MarkChannels(std::min(currentRow, row), std::max(currentRow, row), size);
            result.menuKind = kSelectChannels;
        }
        result.invalidate = result.invalidate || result.menuKind >= 0;
    }
    lastMoveCol_ = col;
    lastMoveRow_ = row;
    return result;
}

CellRange GridEditState::MarkCells(const CellRange& range)
{
    Marks.Fill(range, 1);
    Marks.Fill(CellRange{range.left, 1, range.right, 1}, 1);
    CellRange marked = range;
    marked.Include(CellRange{range.left, 1, range.right, 1});
    return marked;
}

CellRange GridEditState::MarkSteps(int col1, int col2, GridSize size)
{
    CellRange steps{col1, 1, col2, size.rowCount - 1};
    Marks.Fill(steps, 1);
    return steps;
}

CellRange GridEditState::MarkChannels(int row1, int row2, GridSize size)
{
    CellRange times{1, 1, size.colCount - 1, 1};
    CellRange channels{1, row1, size.colCount - 1, row2};
    Marks.Fill(times, 1);
    Marks.Fill(channels, 1);
    channels.Include(times);
    return channels;
}

void GridEditState::SelectAll(GridSize size) { Marks.Fill(CellRange{1, 1, size.colCount - 1, size.rowCount - 1}, 1); }

int GridEditState::SelectedStepCount(GridSize size) const
{
    int n = 0;
    for (int c = kFixedCols; c < std::min(size.colCount, kSnapshotColumns); ++c)
        n += Marks.At(c, 1) != 0;
    return n;
}

int GridEditState::SelectedChannelCount(GridSize size) const
{
    int n = 0;
    for (int r = kFixedRows; r < std::min(size.rowCount, kSnapshotRows); ++r)
        n += Marks.At(1, r) != 0;
    return n;
}
