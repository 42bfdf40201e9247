#include <gtest/gtest.h>

#include "scenario/UndoRing.h"

namespace {

constexpr size_t kColumn = ScenarioSnapshot::kColumnBytes;
constexpr size_t kFullScenario = kSnapshotColumns * kColumn;

// The largest scenario: 8000 steps, every one of the 640 channels holding a code.
void FillLargest(ScenarioSnapshot& s)
{
    s.SetCell(0, 0, kSnapshotColumns);
    s.SetCell(0, 1, 40);
    for (int c = 1; c < kSnapshotColumns; ++c) {
        s.SetCell(c, 1, static_cast<uint16_t>(1 + c % 100));
        for (int k = 0; k < 640; ++k)
            s.SetCell(c, kFirstChannelRow + k, static_cast<uint16_t>(1 + (c + k) % 131));
    }
}

class UndoMemory : public ::testing::Test {
protected:
    UndoMemory()
    {
        ring.Clear();
        FillLargest(ring.Current());
    }
    UndoRing ring;
};

TEST_F(UndoMemory, PushesOfAnUnchangedScenarioShareItsColumns)
{
    size_t one = ring.MemoryBytes();
    EXPECT_GE(one, kFullScenario);
    for (int i = 0; i < 150; ++i)
        ASSERT_TRUE(ring.Push());
    // Each slot keeps a table of column references, but no slot copies the cells.
    EXPECT_LT(ring.MemoryBytes(), 3 * kFullScenario) << "a full copy per push would be 100x";
    EXPECT_EQ(ring.Current().Cell(8000, 642), ring.Slot(ring.UndoSlot).Cell(8000, 642));
}

TEST_F(UndoMemory, AnEditedColumnCostsAboutOneColumn)
{
    for (int i = 0; i < 120; ++i)
        ASSERT_TRUE(ring.Push());  // every slot has been in use once
    size_t before = ring.MemoryBytes();

    ASSERT_TRUE(ring.Push());
    ring.Current().SetCell(5000, 200, 0);
    ring.Current().SetCell(5000, 201, 3);  // same column again: no further copy
    size_t afterOne = ring.MemoryBytes();
    EXPECT_GE(afterOne, before + kColumn);
    EXPECT_LT(afterOne, before + 2 * kColumn);

    ASSERT_TRUE(ring.Push());
    for (int c = 1; c <= 10; ++c)
        ring.Current().SetCell(c * 700, 3, 0);
    size_t afterTen = ring.MemoryBytes();
    EXPECT_GE(afterTen, afterOne + 10 * kColumn);
    EXPECT_LT(afterTen, afterOne + 11 * kColumn);

    ASSERT_TRUE(ring.Undo());
    ASSERT_TRUE(ring.Undo());
    EXPECT_EQ(ring.MemoryBytes(), afterTen) << "undo copies nothing";
    EXPECT_NE(ring.Current().Cell(5000, 200), 0);
}

} // namespace
