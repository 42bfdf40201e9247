#include "scenario/UndoRing.h"

#include <gtest/gtest.h>

namespace {

// A ring in use: pushing enabled, a one-step scenario whose first cell carries a marker
// that each edit below sets, so every state can be recognised.
class Ring : public ::testing::Test {
protected:
    Ring()
    {
        ring.Clear();
        ring.Current().SetCell(0, 0, 2);
    }
    // One editing operation: record the state, then change the current slot.
    void Edit(uint16_t marker)
    {
        ASSERT_TRUE(ring.Push());
        ring.Current().SetCell(1, 3, marker);
    }
    int Marker() const { return ring.Current().Cell(1, 3); }

    struct State {
        int current, undoSlot, redoSlot, undoDepth, redoDepth;
        bool operator==(const State& o) const
        {
            return current == o.current && undoSlot == o.undoSlot && redoSlot == o.redoSlot &&
                   undoDepth == o.undoDepth && redoDepth == o.redoDepth;
        }
    };
    State Indexes() const
    {
        return {ring.CurrentSlot, ring.UndoSlot, ring.RedoSlot, ring.UndoDepth, ring.RedoDepth};
    }

    UndoRing ring;
};

TEST_F(Ring, StartsSuspendedAndAPushThenDoesNothing)
{
    UndoRing fresh;
    EXPECT_FALSE(fresh.UndoEnabled);
    EXPECT_EQ(fresh.CurrentSlot, 0);
    EXPECT_EQ(fresh.UndoSlot, -1);
    EXPECT_EQ(fresh.RedoSlot, -1);

    Edit(1);
    Edit(2);
    ASSERT_TRUE(ring.Undo());
    ring.UndoEnabled = false;
    State before = Indexes();
    size_t bytes = ring.MemoryBytes();
    int next = ring.CurrentSlot + 1;
    ring.Slot(next).SetCell(1, 3, 77);

    EXPECT_FALSE(ring.Push());
    EXPECT_EQ(Indexes(), before) << "the redo step survives too";
    EXPECT_EQ(ring.MemoryBytes(), bytes);
    EXPECT_EQ(ring.Slot(next).Cell(1, 3), 77) << "nothing was copied forward";
    EXPECT_EQ(Marker(), 1);
}

TEST_F(Ring, UndoAndRedoWithoutStepsChangeNothing)
{
    State before = Indexes();
    EXPECT_FALSE(ring.CanUndo());
    EXPECT_FALSE(ring.Undo());
    EXPECT_FALSE(ring.Redo());
    EXPECT_EQ(Indexes(), before);

    Edit(1);
    EXPECT_FALSE(ring.Redo());
    EXPECT_EQ(Marker(), 1);
}

TEST_F(Ring, AWriteAfterAPushLeavesThePreviousSlot)
{
    ring.Current().SetCell(1, 3, 5);
    ring.Current().loops = {{1, 1, 2}};
    Edit(6);
    ring.Current().loops.clear();
    ring.Current().labels = {1};
    EXPECT_EQ(ring.Slot(ring.UndoSlot).Cell(1, 3), 5);
    EXPECT_EQ(ring.Slot(ring.UndoSlot).loops.size(), 1u);
    EXPECT_TRUE(ring.Slot(ring.UndoSlot).labels.empty());

    ASSERT_TRUE(ring.Undo());
    EXPECT_EQ(Marker(), 5);
    ASSERT_TRUE(ring.Redo());
    EXPECT_EQ(Marker(), 6);
    EXPECT_EQ(ring.Current().labels.size(), 1u);
}

TEST_F(Ring, DepthIsCappedAt99AndTheHundredthUndoDoesNothing)
{
    ring.Current().SetCell(1, 3, 0);
    for (uint16_t i = 1; i <= 150; ++i)
        Edit(i);
    EXPECT_EQ(ring.UndoDepth, 99);
    EXPECT_EQ(Marker(), 150);

    for (int j = 1; j <= 99; ++j) {
        ASSERT_TRUE(ring.Undo()) << j;
        ASSERT_EQ(Marker(), 150 - j) << "state " << j << " pushes back";
    }
    EXPECT_EQ(ring.UndoDepth, 0);
    EXPECT_EQ(ring.RedoDepth, 99);
    State oldest = Indexes();
    EXPECT_FALSE(ring.Undo());
    EXPECT_EQ(Indexes(), oldest);
    EXPECT_EQ(Marker(), 51);

    for (int j = 1; j <= 99; ++j)
        ASSERT_TRUE(ring.Redo()) << j;
    EXPECT_EQ(Marker(), 150);
    EXPECT_EQ(ring.UndoDepth, 99);
    EXPECT_FALSE(ring.Redo());
}

TEST_F(Ring, PushAfterUndoDropsRedoAndAdvancesFromTheCurrentSlot)
{
    Edit(1);
    Edit(2);
    Edit(3);
    ASSERT_TRUE(ring.Undo());
    ASSERT_TRUE(ring.Undo());
    EXPECT_EQ(ring.RedoDepth, 2);
    int from = ring.CurrentSlot;
    int depth = ring.UndoDepth;

    Edit(10);
    EXPECT_EQ(ring.UndoSlot, from);
    EXPECT_EQ(ring.CurrentSlot, from + 1);
    EXPECT_EQ(ring.UndoDepth, depth + 1);
    EXPECT_EQ(ring.RedoDepth, 0);
    EXPECT_EQ(ring.RedoSlot, -1);
    EXPECT_FALSE(ring.CanRedo());
    EXPECT_FALSE(ring.Redo());
    EXPECT_EQ(Marker(), 10);
    ASSERT_TRUE(ring.Undo());
    EXPECT_EQ(Marker(), 1) << "the undone edits are gone";
}

TEST_F(Ring, UndoThenRedoReturnsToTheSameSlotAndDepths)
{
    for (uint16_t i = 1; i <= 5; ++i)
        Edit(i);
    ASSERT_TRUE(ring.Undo());  // some redo depth as well
    for (int round = 0; round < 3; ++round) {
        State before = Indexes();
        ASSERT_TRUE(ring.Undo());
        ASSERT_TRUE(ring.Redo());
        EXPECT_EQ(Indexes(), before);
        EXPECT_EQ(Marker(), 4);
    }
}

TEST_F(Ring, SlotIndexesWrapAroundTheRing)
{
    for (uint16_t i = 1; i <= 99; ++i)
        Edit(i);
    EXPECT_EQ(ring.CurrentSlot, 99);

    ASSERT_TRUE(ring.Undo());
    EXPECT_EQ(ring.RedoSlot, 99);
    ASSERT_TRUE(ring.Redo());
    EXPECT_EQ(ring.CurrentSlot, 99);
    EXPECT_EQ(ring.RedoSlot, 0) << "redo slot wraps from 99 to 0";

    Edit(100);
    EXPECT_EQ(ring.CurrentSlot, 0) << "current slot wraps from 99 to 0";
    EXPECT_EQ(ring.UndoSlot, 99);

    Edit(101);
    EXPECT_EQ(ring.UndoSlot, 0);
    ASSERT_TRUE(ring.Undo());
    EXPECT_EQ(ring.CurrentSlot, 0);
    EXPECT_EQ(ring.UndoSlot, 99) << "undo slot wraps from 0 to 99";
    EXPECT_EQ(Marker(), 100);
    ASSERT_TRUE(ring.Undo());
    EXPECT_EQ(Marker(), 99);
}

TEST_F(Ring, ClearKeepsTheSlotsAndReenablesPushing)
{
    Edit(1);
    Edit(2);
    ASSERT_TRUE(ring.Undo());
    ring.UndoEnabled = false;
    int current = ring.CurrentSlot;

    ring.Clear();
    EXPECT_EQ(Indexes(), (State{current, -1, -1, 0, 0}));
    EXPECT_TRUE(ring.UndoEnabled);
    EXPECT_EQ(Marker(), 1);
    EXPECT_FALSE(ring.Undo());
    EXPECT_FALSE(ring.Redo());

    Edit(3);
    EXPECT_EQ(ring.CurrentSlot, current + 1);
    ASSERT_TRUE(ring.Undo());
    EXPECT_EQ(Marker(), 1);
}

TEST_F(Ring, ResetZeroesEverySlotAndIndex)
{
    for (uint16_t i = 1; i <= 120; ++i)
        Edit(i);
    ring.Current().loops = {{1, 1, 2}};
    ring.Current().labels = {1};
    ring.Undo();

    ring.Reset();
    EXPECT_EQ(Indexes(), (State{0, -1, -1, 0, 0}));
    EXPECT_FALSE(ring.UndoEnabled);
    for (int s = 0; s < kUndoSlots; ++s) {
        ASSERT_EQ(ring.Slot(s).ColCount(), 0) << s;
        ASSERT_EQ(ring.Slot(s).Cell(1, 3), 0) << s;
        ASSERT_TRUE(ring.Slot(s).loops.empty()) << s;
        ASSERT_TRUE(ring.Slot(s).labels.empty()) << s;
    }
    EXPECT_FALSE(ring.Push());
}

TEST_F(Ring, OverTheMemoryBudgetTheOldestStepsAreForgotten)
{
    // A scenario of 20 steps; each edit rewrites all of them, so every step costs 20
    // column buffers. The budget holds about five such states beside what exists now.
    ring.Current().SetCell(0, 0, 21);
    const size_t column = ScenarioSnapshot::kColumnBytes;
    ring.MemoryBudget = ScenarioSnapshot::ColumnBytesInUse() + 5 * 20 * column;
    for (uint16_t marker = 1; marker <= 30; ++marker) {
        ASSERT_TRUE(ring.Push());
        for (int c = 1; c <= 20; ++c)
            ring.Current().SetCell(c, 3, marker);
    }
    EXPECT_LE(ScenarioSnapshot::ColumnBytesInUse(), ring.MemoryBudget + 20 * column)
        << "at most the edit after the last push goes over";
    EXPECT_GE(ring.UndoDepth, 4);
    EXPECT_LE(ring.UndoDepth, 6);

    // The steps that are left still lead back, each to its own state.
    int depth = ring.UndoDepth;
    for (int back = 1; back <= depth; ++back) {
        ASSERT_TRUE(ring.Undo());
        EXPECT_EQ(Marker(), 30 - back);
        EXPECT_EQ(ring.Current().Cell(20, 3), 30 - back);
    }
    EXPECT_FALSE(ring.Undo());
}

} // namespace
