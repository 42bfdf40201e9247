// The selection rules of the step grid: clicks with and without Shift and Ctrl on cells
// and headers, drags, a right click's skipped drag step, and the marks' own bookkeeping.
#include <gtest/gtest.h>

#include <memory>

#include "scenario/GridEditState.h"

namespace {

// 20 steps and 10 channels: columns 0..20, rows 0..12.
constexpr GridSize kSize{21, 13};

class GridSelection : public ::testing::Test {
protected:
    GridMouseResult Click(int col, int row, unsigned keys = 0)
    {
        GridMouseResult r = state->LeftButtonDown(col, row, keys, currentCol, currentRow, kSize);
        if (r.moveCol >= 0)
            currentCol = r.moveCol;
        if (r.moveRow >= 0)
            currentRow = r.moveRow;
        if (IsStepCell(col, row) && !(keys & kKeyDouble)) {
            currentCol = col;  // the grid moves its current cell before the handler runs
            currentRow = row;
        }
        return r;
    }
    GridMouseResult Drag(int col, int row, unsigned keys = 0)
    {
        return state->MouseMove(col, row, keys | kKeyLeftButton, currentCol, currentRow, kSize);
    }
    int Marked() const
    {
        int n = 0;
        for (int c = 0; c < kSnapshotColumns; ++c)
            for (int r = 0; r < kSnapshotRows; ++r)
                n += state->Marks.At(c, r) != 0;
        return n;
    }

    std::unique_ptr<GridEditState> state = std::make_unique<GridEditState>();
    int currentCol = 1, currentRow = 3;
};

TEST_F(GridSelection, AClickSelectsNothingAndAShiftClickTheRectangleFromIt)
{
    GridMouseResult r = Click(3, 4);
    EXPECT_TRUE(r.selectionCleared);
    EXPECT_EQ(r.menuKind, -1);
    EXPECT_EQ(Marked(), 0);
    EXPECT_EQ(state->SelectionAnchorCol, 3);
    EXPECT_EQ(state->SelectionAnchorRow, 4);

    r = Click(5, 6, kKeyShift);
    EXPECT_EQ(r.menuKind, kSelectCells);
    for (int c = 3; c <= 5; ++c) {
        for (int row = 4; row <= 6; ++row)
            EXPECT_EQ(state->Marks.At(c, row), 1) << c << "," << row;
        EXPECT_EQ(state->Marks.At(c, 1), 1) << "the column holds a selected cell";
    }
    EXPECT_EQ(Marked(), 9 + 3);
    EXPECT_EQ(state->SelectionAnchorCol, 3) << "Shift keeps the anchor";
    EXPECT_TRUE(r.repaint.Contains(5, 6));
    EXPECT_TRUE(r.repaint.Contains(3, 1));

    Click(2, 2 + 8, kKeyShift);  // another Shift-click replaces the rectangle
    EXPECT_EQ(state->Marks.At(5, 6), 0);
    EXPECT_EQ(state->Marks.At(2, 10), 1);
    EXPECT_EQ(Marked(), 2 * 7 + 2);
}

TEST_F(GridSelection, CtrlClicksKeepScatteredCells)
{
    Click(2, 3, kKeyCtrl);
    Click(7, 9, kKeyCtrl);
    GridMouseResult r = Click(12, 5, kKeyCtrl);
    EXPECT_FALSE(r.selectionCleared);
    EXPECT_EQ(r.menuKind, kSelectCells);
    EXPECT_EQ(state->Marks.At(2, 3), 1);
    EXPECT_EQ(state->Marks.At(7, 9), 1);
    EXPECT_EQ(state->Marks.At(12, 5), 1);
    EXPECT_EQ(Marked(), 6);
    EXPECT_EQ(state->SelectedStepCount(kSize), 3);
    Click(4, 4);
    EXPECT_EQ(Marked(), 0) << "a click without Ctrl clears";
}

TEST_F(GridSelection, StepHeadersSelectWholeStepsFromTheCurrentColumn)
{
    GridMouseResult r = Click(5, 0);
    EXPECT_EQ(r.moveCol, 5);
    EXPECT_EQ(r.menuKind, kSelectSteps);
    r = Click(8, 0, kKeyShift);
    EXPECT_EQ(r.moveCol, -1);
    for (int c = 5; c <= 8; ++c)
        for (int row = 1; row < kSize.rowCount; ++row)
            ASSERT_EQ(state->Marks.At(c, row), 1) << c << "," << row;
    EXPECT_EQ(state->Marks.At(4, 5), 0);
    EXPECT_EQ(state->Marks.At(5, 0), 0) << "the number row is not marked";
    EXPECT_EQ(state->SelectedStepCount(kSize), 4);
    EXPECT_TRUE(r.repaint.Contains(5, 12));
    EXPECT_TRUE(r.repaint.Contains(8, 1));
    // The time and loop rows select steps too.
    Click(10, 2);
    EXPECT_EQ(state->SelectedStepCount(kSize), 1);
    EXPECT_EQ(currentCol, 10);
}

TEST_F(GridSelection, ChannelNamesSelectWholeRows)
{
    GridMouseResult r = Click(0, 4);
    EXPECT_EQ(r.moveRow, 4);
    EXPECT_EQ(r.menuKind, kSelectChannels);
    for (int c = 1; c < kSize.colCount; ++c) {
        ASSERT_EQ(state->Marks.At(c, 4), 1);
        ASSERT_EQ(state->Marks.At(c, 1), 1);
    }
    EXPECT_EQ(state->SelectedChannelCount(kSize), 1);
    Click(0, 7, kKeyShift);
    EXPECT_EQ(state->SelectedChannelCount(kSize), 4);
    EXPECT_EQ(state->Marks.At(20, 6), 1);
    EXPECT_EQ(state->Marks.At(20, 8), 0);
    // The corner cells select nothing.
    r = Click(0, 1);
    EXPECT_EQ(r.menuKind, -1);
    EXPECT_EQ(Marked(), 0);
}

TEST_F(GridSelection, ADoubleClickCyclesAStepCellAndTouchesNothingElse)
{
    Click(3, 3, kKeyCtrl);
    GridMouseResult r = state->LeftButtonDown(3, 3, kKeyDouble, 3, 3, kSize);
    EXPECT_TRUE(r.cycleEffect);
    EXPECT_FALSE(r.selectionCleared);
    EXPECT_EQ(state->Marks.At(3, 3), 1);
    EXPECT_FALSE(state->LeftButtonDown(3, 0, kKeyDouble, 3, 3, kSize).cycleEffect);
}

TEST_F(GridSelection, DraggingBackOverASmallerRectangleDeselectsTheRest)
{
    Click(2, 3);
    Drag(6, 8);
    EXPECT_EQ(Marked(), 5 * 6 + 5);
    GridMouseResult r = Drag(4, 5);
    EXPECT_TRUE(r.invalidate);
    EXPECT_EQ(r.menuKind, kSelectCells);
    EXPECT_EQ(r.playColumn, 4);
    EXPECT_EQ(Marked(), 3 * 3 + 3);
    EXPECT_EQ(state->Marks.At(6, 8), 0);
    EXPECT_EQ(state->Marks.At(6, 1), 0) << "the time-row mark of a column that left goes too";
    EXPECT_EQ(state->Marks.At(4, 5), 1);
    // With Ctrl the rectangle is added to what is there.
    Click(15, 10, kKeyCtrl);  // a new anchor
    Drag(16, 11, kKeyCtrl);
    EXPECT_EQ(state->Marks.At(4, 5), 1);
    EXPECT_EQ(state->Marks.At(16, 11), 1);
}

TEST_F(GridSelection, DragsOverHeadersExtendSteps)
{
    Click(5, 0);
    Drag(7, 0);
    EXPECT_EQ(state->SelectedStepCount(kSize), 3);
    Drag(3, 1);
    EXPECT_EQ(state->SelectedStepCount(kSize), 5) << "steps 3..7, the earlier marks stay";
    Click(0, 5);
    GridMouseResult r = Drag(0, 9);
    EXPECT_EQ(r.menuKind, kSelectChannels);
    EXPECT_EQ(state->SelectedChannelCount(kSize), 5);
}

TEST_F(GridSelection, MovesWithoutTheButtonOnlyFollowTheMouse)
{
    Click(2, 3);
    GridMouseResult r = state->MouseMove(6, 8, 0, currentCol, currentRow, kSize);
    EXPECT_FALSE(r.invalidate);
    EXPECT_EQ(Marked(), 0);
    EXPECT_EQ(state->MouseCol, 6);
    EXPECT_EQ(state->MouseRow, 8);
    // The same cell again, or no cell, changes nothing more.
    EXPECT_FALSE(Drag(6, 8).invalidate) << "the last handled move was already here";
    r = Drag(-1, 5);
    EXPECT_EQ(state->MouseCol, -1);
    EXPECT_EQ(r.playColumn, -1);
    EXPECT_EQ(Marked(), 0);
}

TEST_F(GridSelection, TheFirstDragStepAfterARightClickIsSkipped)
{
    EXPECT_TRUE(state->OtherButtonDown(4, 6));
    EXPECT_TRUE(state->SkipDrag);
    GridMouseResult r = Drag(8, 9);
    EXPECT_FALSE(r.invalidate);
    EXPECT_FALSE(state->SkipDrag);
    EXPECT_EQ(Marked(), 0);
    EXPECT_EQ(state->MouseCol, -1) << "the skipped move is not even followed";
    Drag(9, 9);
    EXPECT_GT(Marked(), 0);
    EXPECT_FALSE(state->OtherButtonDown(0, 6)) << "a header is no step cell";
}

TEST_F(GridSelection, TheFloatingPasteFollowsTheMouse)
{
    state->FloatingPaste = true;
    state->ClipboardOriginCol = 3;
    state->ClipboardOriginRow = 4;
    GridMouseResult r = state->MouseMove(7, 9, 0, currentCol, currentRow, kSize);
    EXPECT_TRUE(r.invalidate);
    EXPECT_EQ(state->PasteOffsetCol, 4);
    EXPECT_EQ(state->PasteOffsetRow, 5);
    state->ClipboardKind = kSelectSteps;
    state->MouseMove(8, 9, 0, currentCol, currentRow, kSize);
    EXPECT_EQ(state->PasteOffsetCol, 5);
    EXPECT_EQ(state->PasteOffsetRow, 0) << "steps stay on their rows";
    state->ClipboardKind = kSelectChannels;
    state->MouseMove(8, 10, 0, currentCol, currentRow, kSize);
    EXPECT_EQ(state->PasteOffsetCol, 0) << "channels stay in their columns";
    EXPECT_EQ(state->PasteOffsetRow, 6);
    state->OtherButtonDown(-1, -1);
    EXPECT_FALSE(state->FloatingPaste);
}

TEST_F(GridSelection, SelectAllStaysInsideTheArrayAndClearingLeavesNothing)
{
    state->SelectAll(GridSize{kSnapshotColumns + 50, kSnapshotRows + 50});
    EXPECT_EQ(state->Marks.At(kSnapshotColumns - 1, kSnapshotRows - 1), 1);
    EXPECT_EQ(state->Marks.At(1, 1), 1);
    EXPECT_EQ(state->Marks.At(0, 5), 0);
    EXPECT_EQ(state->Marks.At(5, 0), 0);
    state->Marks.Clear();
    EXPECT_EQ(Marked(), 0);
    EXPECT_TRUE(state->Marks.Extent().Empty());
}

TEST(SelectionMarks, ColumnsThatLeaveTheScenarioLoseTheirMarks)
{
    auto marks = std::make_unique<SelectionMarks>();
    marks->Fill(CellRange{1, 1, 30, 12}, 1);
    marks->Set(8000, 642, 2);
    marks->ClearColumnsFrom(21);
    EXPECT_EQ(marks->At(20, 12), 1);
    EXPECT_EQ(marks->At(21, 5), 0);
    EXPECT_EQ(marks->At(30, 12), 0);
    EXPECT_EQ(marks->At(8000, 642), 0);
    EXPECT_EQ(marks->Extent().right, 20);
    CellRange before = marks->Extent();
    marks->Set(-1, 3, 1);
    marks->Set(3, kSnapshotRows, 1);
    EXPECT_EQ(marks->At(-1, 3), 0);
    EXPECT_EQ(marks->Extent().left, before.left) << "cells outside the array are ignored";
    EXPECT_EQ(marks->Extent().bottom, before.bottom);
    marks->ClearColumnsFrom(0);
    EXPECT_TRUE(marks->Extent().Empty());
    EXPECT_EQ(marks->At(1, 1), 0);
}

} // namespace
