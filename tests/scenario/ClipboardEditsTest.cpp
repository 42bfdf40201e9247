// Copy, cut and the floating paste on the scenario: what the clipboard takes, where a
// drop lands, and what falls outside the grid.
#include "scenario/ClipboardEdits.h"

#include <gtest/gtest.h>

#include <memory>

#include "scenario/StepColumns.h"

namespace {

// 30 steps and 10 channels: columns 0..30, rows 0..12. Cell [c][r] of a step holds
// c * 16 + r mod 128 (never 0), step c has time 100 + c.
constexpr GridSize kSize{31, 13};

class Clipboard : public ::testing::Test {
protected:
    Clipboard()
    {
        scn->SetCell(0, 0, kSize.colCount);
        for (int c = 1; c < kSize.colCount; ++c) {
            scn->SetCell(c, 1, static_cast<uint16_t>(Time(c)));
            for (int r = kFixedRows; r < kSize.rowCount; ++r)
                scn->SetCell(c, r, static_cast<uint16_t>(Code(c, r)));
        }
    }
    static int Time(int c) { return 100 + c; }
    static int Code(int c, int r) { return 1 + (c * 16 + r) % 127; }

    // Marks as the grid's selection makes them.
    void SelectSteps(int first, int last) { edit->Marks.Fill(CellRange{first, 1, last, kSize.rowCount - 1}, 1); }
    void SelectChannel(int row)
    {
        edit->Marks.Fill(CellRange{1, 1, kSize.colCount - 1, 1}, 1);
        edit->Marks.Fill(CellRange{1, row, kSize.colCount - 1, row}, 1);
    }
    void Float(int mouseCol, int mouseRow)
    {
        edit->MouseCol = mouseCol;
        edit->MouseRow = mouseRow;
        StartFloatingPaste(*edit);
    }
    CellRange Drop(int firstRow, GridSize size = kSize)
    {
        return PasteClipboard(*scn, edit->Clipboard, DropOffset(*edit), firstRow, size);
    }

    std::unique_ptr<ScenarioSnapshot> scn = std::make_unique<ScenarioSnapshot>();
    std::unique_ptr<GridEditState> edit = std::make_unique<GridEditState>();
};

TEST_F(Clipboard, AnUnselectedCurrentCellIsCopiedAloneAndDroppedUnderTheMouse)
{
    CopySelection(*edit, *scn, kSize, 4, 6, kSelectCells);
    EXPECT_EQ(edit->Clipboard.Cell(4, 6), Code(4, 6));
    const CellRange& e = edit->Clipboard.Extent();
    EXPECT_TRUE(e.left == 4 && e.right == 4 && e.top == 6 && e.bottom == 6) << "nothing else was copied";

    Float(9, 10);
    EXPECT_TRUE(edit->FloatingPaste);
    EXPECT_EQ(edit->PasteOffsetCol, 5);
    EXPECT_EQ(edit->PasteOffsetRow, 4);
    CellRange written = Drop(kFixedRows);
    EXPECT_EQ(scn->Cell(9, 10), Code(4, 6));
    EXPECT_EQ(scn->Cell(9, 9), Code(9, 9));
    EXPECT_EQ(scn->Cell(9, 1), Time(9)) << "a cell carries no time";
    EXPECT_TRUE(written.left == 9 && written.right == 9 && written.top == 10 && written.bottom == 10);
}

TEST_F(Clipboard, CopiedStepsLandWithTheirTimesAndAreCutAtTheLastStep)
{
    SelectSteps(5, 8);
    CopySelection(*edit, *scn, kSize, 5, 7, kSelectSteps);
    EXPECT_EQ(ClipboardStepCount(edit->Clipboard), 4);
    EXPECT_EQ(edit->ClipboardOriginRow, 0);

    Float(20, 11);
    EXPECT_EQ(edit->PasteOffsetRow, 0) << "steps move only sideways";
    Drop(1);
    for (int c = 20; c <= 23; ++c) {
        EXPECT_EQ(scn->Cell(c, 1), Time(c - 15));
        for (int r = kFixedRows; r < kSize.rowCount; ++r)
            ASSERT_EQ(scn->Cell(c, r), Code(c - 15, r)) << c << "," << r;
    }
    EXPECT_EQ(scn->Cell(24, 3), Code(24, 3));

    // Over the last step but one only two columns land; nothing goes past the grid.
    Float(kSize.colCount - 2, 3);
    CellRange written = Drop(1);
    EXPECT_EQ(scn->Cell(29, 4), Code(5, 4));
    EXPECT_EQ(scn->Cell(30, 4), Code(6, 4));
    EXPECT_EQ(scn->Cell(31, 4), 0);
    EXPECT_EQ(written.right, 30);
    EXPECT_EQ(scn->ColCount(), kSize.colCount) << "a paste never adds steps";
}

TEST_F(Clipboard, ACutChannelDropsOnAnotherChannelColumnForColumn)
{
    int channel2 = kFixedRows + 1;
    SelectChannel(channel2);
    CopySelection(*edit, *scn, kSize, 6, channel2, kSelectChannels);
    EXPECT_EQ(ClipboardChannelCount(edit->Clipboard), 1);
    EXPECT_EQ(edit->ClipboardOriginCol, 0);
    // The cut switches the row off (the window applies the off effect to the selection).
    for (int c = 1; c < kSize.colCount; ++c)
        scn->SetCell(c, channel2, kCellOff);

    int channel5 = kFixedRows + 4;
    Float(17, channel5);
    EXPECT_EQ(edit->PasteOffsetCol, 0) << "channels move only up and down";
    Drop(kFixedRows);
    for (int c = 1; c < kSize.colCount; ++c) {
        ASSERT_EQ(scn->Cell(c, channel5), Code(c, channel2)) << c;
        ASSERT_EQ(scn->Cell(c, 1), Time(c)) << "times stay";
        ASSERT_EQ(scn->Cell(c, channel2), kCellOff);
    }
}

TEST_F(Clipboard, CutLastStepsCanBeDroppedEarlierInTheScenario)
{
    SelectSteps(29, 30);
    CopySelection(*edit, *scn, kSize, 29, 4, kSelectSteps);
    EXPECT_EQ(edit->ClipboardOriginCol, 29) << "taken before the cut moves the current column";
    DeleteSteps(*scn, 29, {29, 30});
    GridSize shorter{scn->ColCount(), kSize.rowCount};
    ASSERT_EQ(shorter.colCount, 29);

    Float(3, 8);
    Drop(1, shorter);
    EXPECT_EQ(scn->Cell(3, 1), Time(29));
    EXPECT_EQ(scn->Cell(4, 1), Time(30));
    EXPECT_EQ(scn->Cell(4, 12), Code(30, 12));
}

TEST_F(Clipboard, ADropBesideTheStepCellsWritesNothingThere)
{
    SelectSteps(1, 2);
    CopySelection(*edit, *scn, kSize, 2, 3, kSelectCells);
    edit->ClipboardKind = kSelectCells;
    // Shifted up by two rows and left by one: the header rows and column 0 stay.
    CellRange written = PasteClipboard(*scn, edit->Clipboard, PasteOffset{-1, -2}, kFixedRows, kSize);
    EXPECT_EQ(scn->Cell(0, 3), 0);
    EXPECT_EQ(scn->Cell(1, 1), Time(1));
    EXPECT_EQ(scn->Cell(1, 2), 0);
    EXPECT_EQ(scn->Cell(1, 3), Code(2, 5));
    EXPECT_EQ(written.left, 1);
    EXPECT_EQ(written.top, kFixedRows);
    EXPECT_EQ(written.right, 1);
}

TEST_F(Clipboard, CopyingAgainForgetsThePreviousContent)
{
    SelectSteps(1, 10);
    CopySelection(*edit, *scn, kSize, 1, 3, kSelectSteps);
    edit->Marks.Clear();
    CopySelection(*edit, *scn, kSize, 20, 4, kSelectCells);
    EXPECT_EQ(edit->Clipboard.Cell(5, 5), CellClipboard::kEmpty);
    EXPECT_EQ(edit->Clipboard.Cell(20, 4), Code(20, 4));
    EXPECT_EQ(ClipboardStepCount(edit->Clipboard), 0);
}

TEST_F(Clipboard, AFileStepsFloatFromTheMouseColumnAndAreCutAtTheLastStep)
{
    auto loaded = std::make_unique<ScenarioSnapshot>();
    loaded->SetCell(0, 0, 4);  // three steps
    for (int c = 1; c <= 3; ++c) {
        loaded->SetCell(c, 1, static_cast<uint16_t>(500 + c));
        loaded->SetCell(c, 3, static_cast<uint16_t>(c));
    }
    ASSERT_TRUE(CopyLoadedSteps(*edit, *loaded, kSize.rowCount));
    EXPECT_EQ(ClipboardStepCount(edit->Clipboard), 3);
    EXPECT_EQ(edit->ClipboardKind, kSelectSteps);
    EXPECT_EQ(edit->Clipboard.Cell(2, 12), 0) << "the file's empty cells are copied too";

    Float(29, 7);
    EXPECT_EQ(edit->PasteOffsetCol, 28);
    Drop(1);
    EXPECT_EQ(scn->Cell(29, 1), 501);
    EXPECT_EQ(scn->Cell(29, 3), 1);
    EXPECT_EQ(scn->Cell(29, 4), 0) << "an off cell of the file switches the step's cell off";
    EXPECT_EQ(scn->Cell(30, 1), 502);
    EXPECT_EQ(scn->ColCount(), kSize.colCount);

    auto none = std::make_unique<ScenarioSnapshot>();
    EXPECT_FALSE(CopyLoadedSteps(*edit, *none, kSize.rowCount));
    EXPECT_TRUE(edit->Clipboard.Extent().Empty());
}

} // namespace
