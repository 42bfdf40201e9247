#include "scenario/ScenarioLoops.h"

#include <gtest/gtest.h>

#include <memory>

#include "scenario/LoopRecordEquality.h"

namespace {

std::unique_ptr<ScenarioSnapshot> WithSteps(int steps, std::vector<LoopRecord> loops = {})
{
    auto s = std::make_unique<ScenarioSnapshot>();
    s->SetCell(0, 0, static_cast<uint16_t>(steps + 1));
    s->loops = std::move(loops);
    return s;
}

using Loops = std::vector<LoopRecord>;

TEST(ScenarioLoops, FindLoopGivesTheFirstLoopHoldingTheColumn)
{
    auto s = WithSteps(20, {{2, 9, 3}, {5, 6, 4}, {12, 12, kEndlessLoop}});
    EXPECT_EQ(FindLoop(*s, 1), -1);
    EXPECT_EQ(FindLoop(*s, 2), 0);
    EXPECT_EQ(FindLoop(*s, 5), 0) << "the enclosing loop comes first in the list";
    EXPECT_EQ(FindLoop(*s, 10), -1);
    EXPECT_EQ(FindLoop(*s, 12), 2);
}

TEST(ScenarioLoops, RepeatCountsAreBroughtIntoRangeButEndlessStays)
{
    EXPECT_EQ(ClampLoopRepeat(1), 2);
    EXPECT_EQ(ClampLoopRepeat(0), 2);
    EXPECT_EQ(ClampLoopRepeat(-7), 2);
    EXPECT_EQ(ClampLoopRepeat(2), 2);
    EXPECT_EQ(ClampLoopRepeat(32767), 32767);
    EXPECT_EQ(ClampLoopRepeat(40000), 32767);
    EXPECT_EQ(ClampLoopRepeat(65534), 32767);
    EXPECT_EQ(ClampLoopRepeat(65536), 32767);
    EXPECT_EQ(ClampLoopRepeat(kEndlessLoop), kEndlessLoop);
}

TEST(ScenarioLoops, AddedLoopGoesBeforeTheFirstLoopStartingAfterIt)
{
    auto s = WithSteps(20, {{1, 2, 2}, {8, 9, 3}});
    EXPECT_EQ(AddLoop(*s, 4, 5, 7), LoopAdd::Added);
    EXPECT_EQ(s->loops, (Loops{{1, 2, 2}, {4, 5, 7}, {8, 9, 3}}));
    EXPECT_EQ(AddLoop(*s, 15, 15, kEndlessLoop), LoopAdd::Added);
    EXPECT_EQ(s->loops.back(), (LoopRecord{15, 15, kEndlessLoop}));
}

TEST(ScenarioLoops, ReplacingALoopRemovesEveryLoopTouchingTheColumns)
{
    auto s = WithSteps(20);
    ASSERT_EQ(AddLoop(*s, 3, 6, 4), LoopAdd::Added);
    // Adding again over step 4: the loops holding it go, the new one comes.
    std::vector<int> columns{4};
    EXPECT_TRUE(AnyLoopHolds(*s, columns));
    EXPECT_EQ(DeleteLoops(*s, columns), 1);
    AddLoop(*s, 4, 4, 9);
    EXPECT_EQ(s->loops, (Loops{{4, 4, 9}}));

    EXPECT_FALSE(AnyLoopHolds(*s, {1, 2, 3, 5}));
    EXPECT_EQ(DeleteLoops(*s, {1, 2, 3, 5}), 0);
    EXPECT_EQ(s->loops.size(), 1u);
}

TEST(ScenarioLoops, DeleteLoopsRemovesOverlappingLoopsThatFollowEachOther)
{
    // A selection spanning 2..9 around a loop it did not touch leaves two loops over
    // step 5, one after the other in the list: both must go.
    auto s = WithSteps(20, {{1, 1, 2}, {2, 9, 3}, {5, 6, 4}, {7, 7, 5}, {12, 14, 6}});
    EXPECT_EQ(DeleteLoops(*s, {5}), 2);
    EXPECT_EQ(s->loops, (Loops{{1, 1, 2}, {7, 7, 5}, {12, 14, 6}}));
    EXPECT_EQ(DeleteLoops(*s, {1, 7, 13}), 3);
    EXPECT_TRUE(s->loops.empty());
}

TEST(ScenarioLoops, The256thLoopIsRefused)
{
    auto s = WithSteps(8000);
    for (int i = 0; i < kMaxLoops; ++i)
        ASSERT_EQ(AddLoop(*s, 1 + 2 * i, 1 + 2 * i, 2), LoopAdd::Added);
    EXPECT_EQ(AddLoop(*s, 600, 610, 2), LoopAdd::Full);
    EXPECT_EQ(s->loops.size(), 255u);
    EXPECT_EQ(FindLoop(*s, 600), -1);
}

TEST(ScenarioLoops, ValidateCutsDropsAndClampsAfterTheStepCountChanged)
{
    auto s = WithSteps(10, {{0, 3, 5}, {2, 4, 0}, {5, 12, 40000}, {6, 0, 3}, {8, 8, kEndlessLoop}, {11, 12, 5},
                            {10, 10, 65534}});
    ValidateLoops(*s);
    EXPECT_EQ(s->loops, (Loops{{2, 4, 2}, {5, 10, 32767}, {8, 8, kEndlessLoop}, {10, 10, 32767}}));

    auto valid = WithSteps(10, {{1, 10, 2}, {3, 4, 32767}});
    Loops before = valid->loops;
    ValidateLoops(*valid);
    EXPECT_EQ(valid->loops, before);
}

} // namespace
