// Whole-column work on snapshots: moving columns for inserted and deleted steps,
// rewriting a column without a copy first, and the pool their buffers come from.
#include <gtest/gtest.h>

#include <memory>

#include "scenario/ColumnPool.h"
#include "scenario/ScenarioSnapshot.h"

namespace {

std::unique_ptr<ScenarioSnapshot> Numbered(int columns)
{
    auto s = std::make_unique<ScenarioSnapshot>();
    s->SetCell(0, 0, static_cast<uint16_t>(columns));
    for (int c = 1; c < columns; ++c)
        s->SetCell(c, 5, static_cast<uint16_t>(c));
    return s;
}

TEST(SnapshotColumns, InsertAndRemoveMoveWholeColumnsButNotColumnZero)
{
    auto s = Numbered(5);
    s->SetCell(0, 1, 33);
    s->InsertColumn(2);
    EXPECT_EQ(s->Cell(0, 1), 33);
    EXPECT_EQ(s->Cell(1, 5), 1);
    EXPECT_EQ(s->Cell(2, 5), 0);
    EXPECT_EQ(s->Cell(3, 5), 2);
    EXPECT_EQ(s->Cell(5, 5), 4);
    s->RemoveColumn(1);
    EXPECT_EQ(s->Cell(1, 5), 0);
    EXPECT_EQ(s->Cell(2, 5), 2);
    EXPECT_EQ(s->Cell(4, 5), 4);
    EXPECT_EQ(s->Cell(5, 5), 0) << "nothing is left behind at the end";

    s->InsertColumn(0);
    s->RemoveColumn(0);
    EXPECT_EQ(s->Cell(0, 1), 33);
    EXPECT_EQ(s->Cell(2, 5), 2);
}

TEST(SnapshotColumns, TheGridsLastColumnDropsOffWhenAColumnIsInserted)
{
    auto s = std::make_unique<ScenarioSnapshot>();
    s->SetCell(kSnapshotColumns - 1, 3, 9);
    s->SetCell(kSnapshotColumns - 2, 3, 8);
    s->InsertColumn(1);
    EXPECT_EQ(s->Cell(kSnapshotColumns - 1, 3), 8);
    EXPECT_EQ(s->Cell(1, 3), 0);
}

TEST(SnapshotColumns, ARewriteLeavesASharedColumnToItsOtherSnapshot)
{
    auto a = Numbered(4);
    auto b = std::make_unique<ScenarioSnapshot>();
    b->CopyFrom(*a);

    b->RewriteColumn(2, [](const uint16_t* before, uint16_t* cells) {
        ASSERT_NE(before, nullptr);
        EXPECT_NE(before, cells) << "shared: a buffer of its own";
        for (int r = 0; r < kSnapshotRows; ++r)
            cells[r] = static_cast<uint16_t>(before[r] + 100);
    });
    EXPECT_EQ(b->Cell(2, 5), 102);
    EXPECT_EQ(b->Cell(2, 0), 100);
    EXPECT_EQ(a->Cell(2, 5), 2);
    EXPECT_EQ(a->Cell(2, 0), 0);

    const uint16_t* own = b->ColumnCells(2);
    b->RewriteColumn(2, [&](const uint16_t* before, uint16_t* cells) {
        EXPECT_EQ(before, own);
        EXPECT_EQ(cells, own) << "not shared any more: rewritten in place";
        cells[5] = 7;
    });
    EXPECT_EQ(b->Cell(2, 5), 7);

    b->RewriteColumn(3000, [](const uint16_t* before, uint16_t* cells) {
        EXPECT_EQ(before, nullptr) << "a column never written had only zeros";
        std::fill(cells, cells + kSnapshotRows, uint16_t{4});
    });
    EXPECT_EQ(b->Cell(3000, 642), 4);
    bool called = false;
    b->RewriteColumn(kSnapshotColumns, [&](const uint16_t*, uint16_t*) { called = true; });
    EXPECT_FALSE(called);
}

TEST(SnapshotColumns, ColumnBytesInUseCountEveryBufferOnceWhileItLives)
{
    const size_t column = ScenarioSnapshot::kColumnBytes;
    const size_t base = ScenarioSnapshot::ColumnBytesInUse();
    auto a = Numbered(4);
    EXPECT_EQ(ScenarioSnapshot::ColumnBytesInUse(), base + 4 * column);
    auto b = std::make_unique<ScenarioSnapshot>();
    b->CopyFrom(*a);
    EXPECT_EQ(ScenarioSnapshot::ColumnBytesInUse(), base + 4 * column) << "shared, not copied";
    b->SetCell(2, 5, 9);
    EXPECT_EQ(ScenarioSnapshot::ColumnBytesInUse(), base + 5 * column) << "copied on the first write";
    a.reset();
    EXPECT_EQ(ScenarioSnapshot::ColumnBytesInUse(), base + 4 * column);
    b->Clear();
    EXPECT_EQ(ScenarioSnapshot::ColumnBytesInUse(), base);
}

TEST(SnapshotColumns, APoolCountsTheBlocksItHandsOutWhereverTheyComeFrom)
{
    BlockPool pool(1);
    void* a = pool.Allocate(100);  // from the heap: the pool keeps none yet
    void* b = pool.Allocate(100);
    EXPECT_EQ(pool.InUse(), 2u);
    pool.Release(a, 100);  // kept
    pool.Release(b, 100);  // the pool is full: freed
    EXPECT_EQ(pool.InUse(), 0u);
    EXPECT_EQ(pool.Allocate(100), a) << "the kept block is handed out again";
    EXPECT_EQ(pool.InUse(), 1u);
    pool.Release(a, 100);
}

TEST(SnapshotColumns, APoolKeepsBlocksOfOneSizeUpToItsCapacity)
{
    BlockPool pool(2);
    EXPECT_EQ(pool.Take(100), nullptr);
    void* a = ::operator new(100);
    void* b = ::operator new(100);
    void* c = ::operator new(100);
    void* other = ::operator new(50);
    ASSERT_TRUE(pool.Keep(a, 100));
    EXPECT_FALSE(pool.Keep(other, 50)) << "one size only";
    EXPECT_EQ(pool.Take(50), nullptr);
    ASSERT_TRUE(pool.Keep(b, 100));
    EXPECT_FALSE(pool.Keep(c, 100)) << "full";
    EXPECT_EQ(pool.Take(100), b);
    ASSERT_TRUE(pool.Keep(c, 100));
    ::operator delete(b);
    ::operator delete(other);
    // a and c are freed with the pool (the sanitizer would report them otherwise).
}

} // namespace
