#include "scenario/ColourAndGradient.h"

#include <gtest/gtest.h>

#include <set>
#include <utility>
#include <vector>

namespace {

// Selection marks as the grid keeps them: a cell's mark and its column's mark in row 1.
struct Marks {
    std::set<std::pair<int, int>> cells;
    void Mark(int column, int row)
    {
        cells.insert({column, row});
        cells.insert({column, 1});
    }
    CellMarked Fn() const
    {
        return [this](int c, int r) { return cells.count({c, r}) != 0; };
    }
};

constexpr int kCols = 11;        // steps 1..10
constexpr int kRows = 3 + 12;    // channels 0..11

TEST(Gradient, RunsFromBeginToEndOverTheMarkedSteps)
{
    ScenarioSnapshot scn;
    Marks marks;
    for (int c = 1; c <= 5; ++c)
        for (int r = 3; r < 6; ++r)
            marks.Mark(c, r);
    ASSERT_TRUE(WriteGradient(scn, marks.Fn(), kCols, kRows, 0, 128));
    const int expected[] = {0, 32, 64, 96, 128};
    for (int c = 1; c <= 5; ++c)
        for (int r = 3; r < 6; ++r)
            EXPECT_EQ(scn.Cell(c, r), expected[c - 1]) << c << "," << r;
    EXPECT_EQ(scn.Cell(1, 6), 0) << "unmarked rows keep their cells";
}

TEST(Gradient, ColumnsBetweenWithoutMarksKeepTheirCells)
{
    ScenarioSnapshot scn;
    for (int c = 1; c < kCols; ++c)
        scn.SetCell(c, 4, 7);
    Marks marks;
    marks.Mark(3, 4);
    marks.Mark(7, 4);
    ASSERT_TRUE(WriteGradient(scn, marks.Fn(), kCols, kRows, 100, 10));
    EXPECT_EQ(scn.Cell(3, 4), 100);
    EXPECT_EQ(scn.Cell(7, 4), 10);
    for (int c : {1, 2, 4, 5, 6, 8})
        EXPECT_EQ(scn.Cell(c, 4), 7) << c;
}

TEST(Gradient, RoundsHalfUpAndDescendsAsWellAsItRises)
{
    EXPECT_EQ(GradientLevel(2, 1, 3, 0, 3), 2);    // 1.5 rounds up
    EXPECT_EQ(GradientLevel(2, 1, 4, 0, 1), 0);    // 0.33
    EXPECT_EQ(GradientLevel(3, 1, 4, 0, 1), 1);    // 0.67
    EXPECT_EQ(GradientLevel(5, 3, 7, 100, 10), 55);
    EXPECT_EQ(GradientLevel(4, 3, 7, 100, 10), 78);  // 77.5 rounds up
}

TEST(Gradient, NeedsTwoMarkedStepColumnsAndColumnZeroNeverCounts)
{
    ScenarioSnapshot scn;
    scn.SetCell(4, 5, 9);
    Marks one;
    one.Mark(4, 5);
    EXPECT_FALSE(WriteGradient(scn, one.Fn(), kCols, kRows, 0, 128));
    EXPECT_EQ(scn.Cell(4, 5), 9);

    Marks withFixedColumn = one;
    withFixedColumn.Mark(0, 5);
    EXPECT_FALSE(WriteGradient(scn, withFixedColumn.Fn(), kCols, kRows, 0, 128));
    EXPECT_EQ(scn.Cell(4, 5), 9);

    EXPECT_FALSE(WriteGradient(scn, Marks().Fn(), kCols, kRows, 0, 128));
}

TEST(Gradient, MarkedColumnsAndTheRowOfTheirPresets)
{
    Marks marks;
    marks.Mark(2, 9);
    marks.Mark(6, 4);
    marks.Mark(6, 8);
    marks.cells.insert({8, 1});  // a column mark without a marked channel cell
    MarkedColumns m = FindMarkedColumns(marks.Fn(), kCols, kRows);
    EXPECT_EQ(m.first, 2);
    EXPECT_EQ(m.last, 8);
    EXPECT_EQ(m.row, 4) << "the first marked row of the last column that has one";
    EXPECT_EQ(FindMarkedColumns(Marks().Fn(), kCols, kRows).first, -1);
}

TEST(RgbColour, LevelsAndColoursRoundTrip)
{
    for (int levelMax : {1, 64, 128}) {
        SCOPED_TRACE(levelMax);
        EXPECT_EQ(ComponentToLevel(255, levelMax), levelMax);
        EXPECT_EQ(LevelToComponent(levelMax, levelMax), 255);
        EXPECT_EQ(ComponentToLevel(0, levelMax), 0);
        for (int level = 0; level <= levelMax; ++level)
            ASSERT_EQ(ComponentToLevel(LevelToComponent(level, levelMax), levelMax), level) << level;
    }
    EXPECT_EQ(ComponentToLevel(128, 128), 64);
}

TEST(RgbColour, ColoursAreRedGreenBlueFromTheLowByte)
{
    RgbLevels red = ColourToLevels(0x0000FF, 128);
    EXPECT_EQ(red.red, 128);
    EXPECT_EQ(red.green, 0);
    EXPECT_EQ(red.blue, 0);
    // A group holding 64, 128, 0 shows as 0x00BBGGRR = 00 FF 80.
    EXPECT_EQ(LevelsToColour(RgbLevels{64, 128, 0}, 128), 0x00FF80u);
    // Effect codes above the maximum level show as full.
    EXPECT_EQ(LevelsToColour(RgbLevels{kCellRampUp, 0, kCellStrobe}, 128), 0xFF00FFu);
}

TEST(RgbColour, GroupsAreAlignedTriplesOfChannelRows)
{
    EXPECT_EQ(RgbGroupFirstRow(3), 3);
    EXPECT_EQ(RgbGroupFirstRow(5), 3);
    EXPECT_EQ(RgbGroupFirstRow(6), 6);
    EXPECT_EQ(RgbGroupFirstRow(642), 642);
}

TEST(RgbColour, GroupCellsPastTheLastChannelRowAreNeitherWrittenNorRead)
{
    ScenarioSnapshot scn;
    scn.SetCell(2, 10, 5);  // a row beyond the channels of this grid
    EXPECT_EQ(WriteRgbCells(scn, 9, 2, 10, RgbLevels{1, 2, 3}), 1);
    EXPECT_EQ(scn.Cell(2, 9), 1);
    EXPECT_EQ(scn.Cell(2, 10), 5);
    EXPECT_EQ(scn.Cell(2, 11), 0);
    RgbLevels read = ReadRgbCells(scn, 9, 2, 10);
    EXPECT_EQ(read.red, 1);
    EXPECT_EQ(read.green, 0);

    // The last possible channel: its group would reach past the whole grid.
    EXPECT_EQ(WriteRgbCells(scn, 642, 1, kSnapshotRows, RgbLevels{4, 5, 6}), 1);
    EXPECT_EQ(scn.Cell(1, 642), 4);
    EXPECT_EQ(WriteRgbCells(scn, 3, 1, kRows, RgbLevels{4, 5, 6}), 3);
    EXPECT_EQ(scn.Cell(1, 5), 6);
}

TEST(RgbColour, TargetsAreTheCurrentGroupThenEveryMarkedCellInAGroup)
{
    // Channels 0-2 and 6-8 are RGB groups (rows 3-5 and 9-11).
    auto inGroup = [](int ch) { return ch < 3 || (ch >= 6 && ch < 9); };
    Marks marks;
    marks.Mark(2, 4);   // group of rows 3-5
    marks.Mark(2, 7);   // channel 4: no group
    marks.Mark(3, 10);  // group of rows 9-11
    marks.Mark(3, 11);  // the same group again
    std::vector<std::pair<int, int>> visits;
    auto visit = [&](int firstRow, int column) { visits.push_back({firstRow, column}); };

    ForEachRgbTarget(marks.Fn(), inGroup, kCols, kRows, 5, 9, visit);
    std::vector<std::pair<int, int>> expected = {{9, 5}, {3, 2}, {9, 3}, {9, 3}};
    EXPECT_EQ(visits, expected);

    // The current channel outside a group: only the marked cells that are in one.
    visits.clear();
    ForEachRgbTarget(marks.Fn(), inGroup, kCols, kRows, 5, 7, visit);
    expected = {{3, 2}, {9, 3}, {9, 3}};
    EXPECT_EQ(visits, expected);
}

} // namespace
