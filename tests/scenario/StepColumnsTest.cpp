#include "scenario/StepColumns.h"

#include <gtest/gtest.h>

#include <memory>

#include "scenario/LoopRecordEquality.h"

#include "scenario/ScenarioLabels.h"
#include "scenario/UndoRing.h"

namespace {

using Loops = std::vector<LoopRecord>;
using Labels = std::vector<uint16_t>;
using Columns = std::vector<int>;

// A scenario whose step c has time 10 + c and carries c in its first and last channel
// rows, so every step can be recognised wherever it moves.
class Steps : public ::testing::Test {
protected:
    void Make(int steps)
    {
        scn->SetCell(0, 0, static_cast<uint16_t>(steps + 1));
        for (int c = 1; c <= steps; ++c) {
            scn->SetCell(c, 1, static_cast<uint16_t>(10 + c));
            scn->SetCell(c, kFirstChannelRow, static_cast<uint16_t>(c));
            scn->SetCell(c, kSnapshotRows - 1, static_cast<uint16_t>(c));
        }
    }
    // The original step number of every step, left to right (0 for an empty one).
    Columns Order() const
    {
        Columns order;
        for (int c = 1; c < scn->ColCount(); ++c) {
            EXPECT_EQ(scn->Cell(c, kFirstChannelRow), scn->Cell(c, kSnapshotRows - 1)) << "column " << c;
            order.push_back(scn->Cell(c, kFirstChannelRow));
        }
        return order;
    }

    std::unique_ptr<ScenarioSnapshot> scn = std::make_unique<ScenarioSnapshot>();
};

TEST_F(Steps, InsertingInsideALoopLengthensItAndAtItsStartMovesIt)
{
    Make(8);
    scn->loops = {{3, 6, 4}};
    ASSERT_TRUE(InsertStep(*scn, 4, 25));
    EXPECT_EQ(scn->loops, (Loops{{3, 7, 4}}));
    EXPECT_EQ(Order(), (Columns{1, 2, 3, 0, 4, 5, 6, 7, 8}));
    EXPECT_EQ(scn->Cell(4, 1), 25) << "the new step has the time asked for";
    EXPECT_EQ(scn->Cell(5, 1), 14) << "the old step 4 kept its time";
    EXPECT_EQ(scn->ColCount(), 10);

    scn->loops = {{3, 6, 4}};
    ASSERT_TRUE(InsertStep(*scn, 3, 25));
    EXPECT_EQ(scn->loops, (Loops{{4, 7, 4}}));

    scn->loops = {{3, 6, 4}};
    ASSERT_TRUE(InsertStep(*scn, 7, 25));
    EXPECT_EQ(scn->loops, (Loops{{3, 6, 4}})) << "a step after the loop leaves it alone";
}

TEST_F(Steps, InsertingMovesEveryLabelButTheFirst)
{
    Make(8);
    scn->labels = {1, 4, 6};
    ASSERT_TRUE(InsertStep(*scn, 4, 20));
    EXPECT_EQ(scn->labels, (Labels{1, 5, 7}));
    ASSERT_TRUE(InsertStep(*scn, 1, 20));
    EXPECT_EQ(scn->labels, (Labels{1, 6, 8}));
    EXPECT_EQ(Order(), (Columns{0, 1, 2, 3, 0, 4, 5, 6, 7, 8}));
}

TEST_F(Steps, InsertingIsRefusedWithoutRoomOrOutsideTheSteps)
{
    Make(8000);
    EXPECT_FALSE(InsertStep(*scn, 1, 20));
    EXPECT_EQ(scn->ColCount(), 8001);
    EXPECT_EQ(scn->Cell(1, kFirstChannelRow), 1);
    EXPECT_EQ(scn->Cell(8000, kFirstChannelRow), 8000);

    auto small = std::make_unique<ScenarioSnapshot>();
    small->SetCell(0, 0, 4);
    EXPECT_FALSE(InsertStep(*small, 0, 20));
    EXPECT_FALSE(InsertStep(*small, 4, 20));
    EXPECT_EQ(small->ColCount(), 4);
}

TEST_F(Steps, DeletingAStepShortensMovesOrRemovesLoopsAndLabels)
{
    Make(10);
    scn->loops = {{2, 4, 3}, {4, 4, 5}, {5, 7, kEndlessLoop}, {9, 10, 2}};
    scn->labels = {1, 4, 6, 9};
    EXPECT_EQ(DeleteColumn(*scn, 4), 4);
    EXPECT_EQ(Order(), (Columns{1, 2, 3, 5, 6, 7, 8, 9, 10}));
    EXPECT_EQ(scn->loops, (Loops{{2, 3, 3}, {4, 6, kEndlessLoop}, {8, 9, 2}}));
    EXPECT_EQ(scn->labels, (Labels{1, 5, 8}));
}

TEST_F(Steps, EveryLoopThatHeldOnlyTheDeletedStepGoes)
{
    Make(10);
    scn->loops = {{3, 3, 2}, {3, 3, 7}, {3, 5, 4}};
    DeleteColumn(*scn, 3);
    EXPECT_EQ(scn->loops, (Loops{{3, 4, 4}}));
}

TEST_F(Steps, DeletingTheOnlyStepEmptiesIt)
{
    Make(1);
    scn->SetCell(1, 200, 131);
    scn->loops = {{1, 1, 3}};
    scn->labels = {1};
    EXPECT_EQ(DeleteColumn(*scn, 1), 1);
    EXPECT_EQ(scn->ColCount(), 2);
    for (int r = 1; r < kSnapshotRows; ++r)
        ASSERT_EQ(scn->Cell(1, r), 0) << "row " << r;
    EXPECT_TRUE(scn->loops.empty());
    EXPECT_TRUE(scn->labels.empty());
}

TEST_F(Steps, DeleteStepsTakesTheCurrentStepAndEveryMarkedOne)
{
    Make(10);
    scn->loops = {{1, 3, 2}, {6, 8, 3}};
    scn->labels = {1, 5, 9};
    EXPECT_EQ(DeleteSteps(*scn, 2, {5, 7, 8}), 4);
    EXPECT_EQ(Order(), (Columns{1, 3, 4, 6, 9, 10}));
    EXPECT_EQ(scn->loops, (Loops{{1, 2, 2}, {4, 4, 3}}));
    EXPECT_EQ(scn->labels, (Labels{1, 5}));

    // The current step among the marked ones is deleted once.
    EXPECT_EQ(DeleteSteps(*scn, 3, {2, 3}), 2);
    EXPECT_EQ(Order(), (Columns{1, 6, 9, 10}));
}

TEST_F(Steps, DeletingEveryStepLeavesOneEmptyStep)
{
    Make(3);
    scn->labels = {1, 3};
    EXPECT_EQ(DeleteSteps(*scn, 1, {1, 2, 3}), 1);
    EXPECT_EQ(Order(), (Columns{0}));
    EXPECT_EQ(scn->Cell(1, 1), 0) << "its time too (the recalculation raises it to the minimum)";
    EXPECT_TRUE(scn->labels.empty());
}

TEST_F(Steps, DeletingStepOneMovesTheLabelsAndValidationPutsOneBack)
{
    Make(10);
    scn->labels = {1, 7};
    DeleteColumn(*scn, 1);
    EXPECT_EQ(scn->labels, (Labels{6}));
    ValidateLabels(*scn);
    EXPECT_EQ(scn->labels, (Labels{1, 6}));
}

TEST(StepColumnsUndo, TheSnapshotBeforeAnInsertOrDeleteKeepsItsSteps)
{
    auto ring = std::make_unique<UndoRing>();
    ring->Clear();
    ScenarioSnapshot& first = ring->Current();
    first.SetCell(0, 0, 4);
    for (int c = 1; c <= 3; ++c)
        first.SetCell(c, kFirstChannelRow, static_cast<uint16_t>(c));
    first.loops = {{2, 3, 5}};

    ASSERT_TRUE(ring->Push());
    ASSERT_TRUE(InsertStep(ring->Current(), 2, 30));
    ASSERT_TRUE(ring->Push());
    DeleteColumn(ring->Current(), 1);
    EXPECT_EQ(ring->Current().Cell(1, kFirstChannelRow), 0);
    EXPECT_EQ(ring->Current().Cell(2, kFirstChannelRow), 2);

    ASSERT_TRUE(ring->Undo());
    EXPECT_EQ(ring->Current().ColCount(), 5);
    EXPECT_EQ(ring->Current().Cell(1, kFirstChannelRow), 1);
    EXPECT_EQ(ring->Current().Cell(3, kFirstChannelRow), 2);
    ASSERT_TRUE(ring->Undo());
    const ScenarioSnapshot& back = ring->Current();
    EXPECT_EQ(back.ColCount(), 4);
    for (int c = 1; c <= 3; ++c)
        EXPECT_EQ(back.Cell(c, kFirstChannelRow), c);
    EXPECT_EQ(back.loops, (Loops{{2, 3, 5}}));
}

} // namespace
