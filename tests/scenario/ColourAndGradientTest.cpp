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

constexpr int kCols = 11;      // steps 1..10
constexpr int kRows = 3 + 12;  // channels 0..11

TEST(Gradient, RunsFromBeginToEndOverTheMarkedCellsOfTheMarkedSteps)
{
    ScenarioSnapshot scn;
    Marks marks;
    for (int c = 1; c <= 5; ++c)
        marks.Mark(c, 4);
    marks.Mark(8, 4);  // steps 6 and 7 hold no marks
    scn.SetCell(6, 4, 7);
    scn.SetCell(1, 5, 7);
    ASSERT_TRUE(WriteGradient(scn, marks.Fn(), kCols, kRows, 0, 112));
    const int expected[] = {0, 16, 32, 48, 64, 7, 0, 112};
    for (int c = 1; c <= 8; ++c)
        EXPECT_EQ(scn.Cell(c, 4), expected[c - 1]) << c;
    EXPECT_EQ(scn.Cell(1, 5), 7) << "unmarked rows keep their cells";
    EXPECT_EQ(GradientLevel(5, 3, 7, 100, 10), 55);
    EXPECT_EQ(GradientLevel(4, 3, 7, 100, 10), 78) << "77.5 rounds up";
}

TEST(Gradient, NeedsTwoMarkedStepColumnsAndColumnZeroNeverCounts)
{
    ScenarioSnapshot scn;
    scn.SetCell(4, 5, 9);
    Marks marks;
    marks.Mark(4, 5);
    marks.Mark(0, 5);
    EXPECT_FALSE(WriteGradient(scn, marks.Fn(), kCols, kRows, 0, 128));
    EXPECT_EQ(scn.Cell(4, 5), 9);
    EXPECT_FALSE(WriteGradient(scn, Marks().Fn(), kCols, kRows, 0, 128));

    marks.Mark(6, 8);
    marks.cells.insert({8, 1});  // a column mark without a marked channel cell
    MarkedColumns m = FindMarkedColumns(marks.Fn(), kCols, kRows);
    EXPECT_EQ(m.first, 4);
    EXPECT_EQ(m.last, 8);
    EXPECT_EQ(m.row, 8) << "the first marked row of the last column that has one";
}

TEST(RgbColour, LevelsRoundTripThroughColoursAndFullIsTheMaximum)
{
    for (int levelMax : {1, 64, 128}) {
        EXPECT_EQ(ComponentToLevel(255, levelMax), levelMax);
        for (int level = 0; level <= levelMax; ++level)
            ASSERT_EQ(ComponentToLevel(LevelToComponent(level, levelMax), levelMax), level) << levelMax;
    }
    EXPECT_EQ(ComponentToLevel(128, 128), 64);
    RgbLevels red = ColourToLevels(0x0000FF, 128);
    EXPECT_EQ(red.red, 128);
    EXPECT_EQ(red.blue, 0);
    EXPECT_EQ(LevelsToColour(RgbLevels{64, 128, 0}, 128), 0x00FF80u);
    EXPECT_EQ(LevelsToColour(RgbLevels{kCellRampUp, 0, 0}, 128), 0x0000FFu) << "effects show as full";
}

TEST(RgbColour, GroupCellsPastTheLastChannelRowAreNeitherWrittenNorRead)
{
    EXPECT_EQ(RgbGroupFirstRow(5), 3);
    EXPECT_EQ(RgbGroupFirstRow(642), 642);
    ScenarioSnapshot scn;
    scn.SetCell(2, 10, 5);  // a row beyond the channels of a grid of 10 rows
    EXPECT_EQ(WriteRgbCells(scn, 9, 2, 10, RgbLevels{1, 2, 3}), 1);
    EXPECT_EQ(scn.Cell(2, 9), 1);
    EXPECT_EQ(scn.Cell(2, 10), 5);
    EXPECT_EQ(ReadRgbCells(scn, 9, 2, 10).green, 0);
    EXPECT_EQ(WriteRgbCells(scn, 642, 1, kSnapshotRows, RgbLevels{4, 5, 6}), 1);
    EXPECT_EQ(WriteRgbCells(scn, 3, 1, kRows, RgbLevels{4, 5, 6}), 3);
    EXPECT_EQ(scn.Cell(1, 5), 6);
}

TEST(RgbColour, TargetsAreTheCurrentGroupThenEveryMarkedCellInAGroup)
{
    // Channels 0-2 and 6-8 are RGB groups (rows 3-5 and 9-11).
    auto inGroup = [](int ch) { return ch < 3 || (ch >= 6 && ch < 9); };
    Marks marks;
    marks.Mark(2, 4);
    marks.Mark(2, 7);   // channel 4: no group
    marks.Mark(3, 10);
    marks.Mark(3, 11);  // the same group again
    std::vector<std::pair<int, int>> visits;
    auto visit = [&](int firstRow, int column) { visits.push_back({firstRow, column}); };
    ForEachRgbTarget(marks.Fn(), inGroup, kCols, kRows, 5, 9, visit);
    std::vector<std::pair<int, int>> expected = {{9, 5}, {3, 2}, {9, 3}, {9, 3}};
    EXPECT_EQ(visits, expected);
    visits.clear();
    ForEachRgbTarget(marks.Fn(), inGroup, kCols, kRows, 5, 7, visit);  // current channel outside
    expected.erase(expected.begin());
    EXPECT_EQ(visits, expected);
}

} // namespace
