#include "scenario/ScenarioSnapshot.h"

#include <gtest/gtest.h>

#include <memory>
#include <unordered_set>

namespace {

// Snapshots are large only through their columns; the test keeps them on the heap anyway.
std::unique_ptr<ScenarioSnapshot> MakeSnapshot() { return std::make_unique<ScenarioSnapshot>(); }

TEST(ScenarioSnapshot, CellsStartAtZeroAndIgnoreWritesOutsideTheGrid)
{
    auto s = MakeSnapshot();
    EXPECT_EQ(s->Cell(0, 0), 0);
    EXPECT_EQ(s->Cell(8000, 642), 0);

    s->SetCell(8000, 642, kCellStrobe);
    s->SetCell(0, 0, 8001);
    s->SetCell(1, 1, 250);
    EXPECT_EQ(s->Cell(8000, 642), kCellStrobe);
    EXPECT_EQ(s->ColCount(), 8001);
    EXPECT_EQ(s->Cell(1, 1), 250);
    EXPECT_EQ(s->Cell(1, 2), 0) << "a neighbouring row stays zero";

    for (auto [c, r] : {std::pair{-1, 3}, {8001, 3}, {5, -1}, {5, 643}}) {
        s->SetCell(c, r, 7);
        EXPECT_EQ(s->Cell(c, r), 0) << c << "," << r;
    }
    std::unordered_set<const void*> columns;
    s->CountMemory(columns);
    EXPECT_EQ(columns.size(), 3u) << "only the three written columns hold memory";
}

TEST(ScenarioSnapshot, CopyTakesTheColumnsInUseWithLoopsAndLabels)
{
    auto a = MakeSnapshot();
    a->SetCell(0, 0, 4);  // three steps: columns 1..3
    a->SetCell(0, 1, 33);
    a->SetCell(3, 1, 12);
    a->SetCell(3, 642, 64);
    a->SetCell(4, 3, 99);     // beyond the column count
    a->SetCell(8000, 3, 98);  // far beyond it
    a->loops = {{1, 2, 5}, {3, 3, kEndlessLoop}};
    a->labels = {1, 3};

    auto b = MakeSnapshot();
    b->SetCell(2, 5, 1);  // whatever b held before goes
    b->loops = {{7, 8, 2}};
    b->CopyFrom(*a);

    EXPECT_EQ(b->ColCount(), 4);
    EXPECT_EQ(b->Cell(0, 1), 33);
    EXPECT_EQ(b->Cell(3, 1), 12);
    EXPECT_EQ(b->Cell(3, 642), 64);
    EXPECT_EQ(b->Cell(2, 5), 0);
    EXPECT_EQ(b->Cell(4, 3), 0) << "columns beyond the column count are not copied";
    EXPECT_EQ(b->Cell(8000, 3), 0);
    ASSERT_EQ(b->loops.size(), 2u);
    EXPECT_EQ(b->loops[1].firstColumn, 3);
    EXPECT_EQ(b->loops[1].repeatCount, kEndlessLoop);
    EXPECT_EQ(b->labels, (std::vector<uint16_t>{1, 3}));
    EXPECT_EQ(a->Cell(4, 3), 99) << "the source keeps its own cells";
}

TEST(ScenarioSnapshot, WritesAfterACopyStayInTheSnapshotWritten)
{
    auto a = MakeSnapshot();
    a->SetCell(0, 0, 3);
    a->SetCell(1, 3, 10);
    a->SetCell(2, 3, 20);
    auto b = MakeSnapshot();
    b->CopyFrom(*a);

    b->SetCell(1, 3, 11);
    b->SetCell(2, 4, 0);  // zero over zero
    a->SetCell(2, 3, 21);
    a->loops.push_back({1, 2, 3});
    EXPECT_EQ(a->Cell(1, 3), 10);
    EXPECT_EQ(b->Cell(1, 3), 11);
    EXPECT_EQ(b->Cell(2, 3), 20);
    EXPECT_EQ(a->Cell(2, 3), 21);
    EXPECT_TRUE(b->loops.empty());

    // Clearing a cell of a shared column unshares it too.
    auto c = MakeSnapshot();
    c->CopyFrom(*a);
    c->SetCell(1, 3, 0);
    EXPECT_EQ(c->Cell(1, 3), 0);
    EXPECT_EQ(a->Cell(1, 3), 10);
}

TEST(ScenarioSnapshot, DamagedColumnCountsCopyWithinTheGrid)
{
    auto a = MakeSnapshot();
    a->SetCell(0, 0, 65535);
    a->SetCell(8000, 642, 5);
    auto b = MakeSnapshot();
    b->CopyFrom(*a);
    EXPECT_EQ(b->Cell(8000, 642), 5) << "a count above the grid copies the whole grid";

    a->SetCell(0, 0, 0);
    a->SetCell(0, 1, 40);
    b->CopyFrom(*a);
    EXPECT_EQ(b->Cell(0, 1), 40) << "column 0 is always copied";
    EXPECT_EQ(b->Cell(8000, 642), 0);

    b->CopyFrom(*b);
    EXPECT_EQ(b->Cell(0, 1), 40) << "copying onto itself changes nothing";
}

TEST(ScenarioSnapshot, ClearEmptiesCellsLoopsAndLabels)
{
    auto a = MakeSnapshot();
    a->SetCell(0, 0, 2);
    a->SetCell(1, 3, 129);
    a->loops = {{1, 1, 2}};
    a->labels = {1};
    auto b = MakeSnapshot();
    b->CopyFrom(*a);
    b->Clear();
    EXPECT_EQ(b->ColCount(), 0);
    EXPECT_EQ(b->Cell(1, 3), 0);
    EXPECT_TRUE(b->loops.empty());
    EXPECT_TRUE(b->labels.empty());
    EXPECT_EQ(a->Cell(1, 3), 129) << "clearing a copy leaves the shared columns' other owner";
}

} // namespace
