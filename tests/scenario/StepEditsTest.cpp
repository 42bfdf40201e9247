// Edits from the step box and the effect controls: step count, step times of the
// current and the selected steps, effects written into the selection, effect cycling.
#include <gtest/gtest.h>

#include <memory>

#include "scenario/StepEdits.h"

namespace {

constexpr TimeLimits kLed{1, 6000};
constexpr GridSize kSize{11, 8};  // 10 steps, 5 channels

struct Scenario {
    Scenario()
    {
        scn.SetCell(0, 0, 11);
        for (int c = 1; c <= 10; ++c)
            scn.SetCell(c, 1, 100);
    }
    ScenarioSnapshot scn;
    std::unique_ptr<SelectionMarks> marks = std::make_unique<SelectionMarks>();
};

TEST(StepCount, AddedAndReturningColumnsStartFresh)
{
    Scenario s;
    s.scn.SetCell(10, 4, 77);
    s.scn.SetCell(10, 2, 5);
    s.scn.SetCell(10, 20, 64);  // a channel beyond the current count
    ResizeSteps(s.scn, 8, 0);
    EXPECT_EQ(s.scn.ColCount(), 9);
    EXPECT_EQ(s.scn.Cell(10, 4), 77) << "a cut column keeps its cells until it comes back";
    ResizeSteps(s.scn, 12, 35);
    EXPECT_EQ(s.scn.ColCount(), 13);
    for (int c = 9; c <= 12; ++c) {
        EXPECT_EQ(s.scn.Cell(c, 1), 35) << c;
        EXPECT_EQ(s.scn.Cell(c, 2), 0);
        EXPECT_EQ(s.scn.Cell(c, 4), 0);
        EXPECT_EQ(s.scn.Cell(c, 20), 0) << "hidden channels come back empty too";
    }
    EXPECT_EQ(s.scn.Cell(8, 1), 100) << "columns that stayed keep their time";
    ResizeSteps(s.scn, 9000, 1);
    EXPECT_EQ(s.scn.ColCount(), kSnapshotColumns) << "never past the grid's room";
}

TEST(StepTimes, SetReachesTheSelectedStepsOnlyWithinTheLimits)
{
    Scenario s;
    s.marks->Set(3, 1, 1);
    s.marks->Set(7, 1, 1);
    EXPECT_TRUE(SetStepTimes(s.scn, *s.marks, 5, 250, kLed, kSize.colCount));
    EXPECT_EQ(s.scn.Cell(5, 1), 250);
    EXPECT_EQ(s.scn.Cell(3, 1), 250);
    EXPECT_EQ(s.scn.Cell(7, 1), 250);
    EXPECT_EQ(s.scn.Cell(4, 1), 100);
    EXPECT_FALSE(SetStepTimes(s.scn, *s.marks, 5, 6001, kLed, kSize.colCount));
    EXPECT_FALSE(SetStepTimes(s.scn, *s.marks, 5, 0, kLed, kSize.colCount));
    EXPECT_EQ(s.scn.Cell(5, 1), 250);
}

TEST(StepTimes, ChangeTestsEachColumnByItself)
{
    Scenario s;
    s.scn.SetCell(2, 1, 6000);
    s.scn.SetCell(4, 1, 5999);
    s.marks->Set(4, 1, 1);
    s.marks->Set(6, 1, 1);
    // At the longest time the current step stays while a selected one below still grows.
    EXPECT_FALSE(ChangeStepTimes(s.scn, *s.marks, 2, 1, kLed, kSize.colCount));
    EXPECT_EQ(s.scn.Cell(2, 1), 6000);
    EXPECT_EQ(s.scn.Cell(4, 1), 6000);
    EXPECT_EQ(s.scn.Cell(6, 1), 101);
    EXPECT_EQ(s.scn.Cell(3, 1), 100);
    EXPECT_TRUE(ChangeStepTimes(s.scn, *s.marks, 6, -1, kLed, kSize.colCount));
    EXPECT_EQ(s.scn.Cell(6, 1), 100) << "the current step counts once even when it is selected";
    EXPECT_EQ(s.scn.Cell(4, 1), 5999);
}

TEST(Effects, CyclingSkipsWhatTheModelForbids)
{
    EffectRules led{128, true, true, true};
    EXPECT_EQ(NextCellEffect(0, 90, led), 90);
    EXPECT_EQ(NextCellEffect(90, 90, led), kCellRampUp);
    EXPECT_EQ(NextCellEffect(kCellRampUp, 90, led), kCellRampDown);
    EXPECT_EQ(NextCellEffect(kCellRampDown, 90, led), kCellStrobe);
    EXPECT_EQ(NextCellEffect(kCellStrobe, 90, led), 0);
    EXPECT_EQ(NextCellEffect(40, 90, led), 40) << "another level is rewritten with its own value";
    EffectRules onOff{1, false, false, true};
    EXPECT_EQ(NextCellEffect(0, 1, onOff), 1);
    EXPECT_EQ(NextCellEffect(1, 1, onOff), kCellStrobe);
    EXPECT_EQ(NextCellEffect(kCellStrobe, 1, onOff), 0);
    EffectRules none{64, false, false, false};
    EXPECT_EQ(NextCellEffect(64, 64, none), 0);
    EXPECT_EQ(NextCellEffect(kCellRampUp, 64, none), kCellRampUp) << "not in the cycle: stays";
}

TEST(Effects, ApplyWritesTheCurrentCellAndEverySelectedStepCell)
{
    Scenario s;
    s.marks->Fill(CellRange{2, 3, 3, 4}, 1);
    s.marks->Set(2, 1, 1);  // a time-row mark is no step cell
    s.marks->Set(0, 5, 1);  // nor is the channel header
    s.marks->Set(15, 5, 1); // nor a column outside the grid
    CellRange written = ApplyEffectToSelection(s.scn, *s.marks, 7, 6, kCellStrobe, kSize);
    EXPECT_EQ(s.scn.Cell(7, 6), kCellStrobe);
    for (int c = 2; c <= 3; ++c)
        for (int r = 3; r <= 4; ++r)
            EXPECT_EQ(s.scn.Cell(c, r), kCellStrobe);
    EXPECT_EQ(s.scn.Cell(2, 1), 100);
    EXPECT_EQ(s.scn.Cell(0, 5), 0);
    EXPECT_EQ(s.scn.Cell(15, 5), 0);
    EXPECT_TRUE(written.Contains(7, 6));
    EXPECT_TRUE(written.Contains(2, 3));
    EXPECT_FALSE(written.Contains(2, 1));
}

TEST(Loops, TheLoopHoldingAColumn)
{
    Scenario s;
    s.scn.loops = {{2, 4, 3}, {6, 6, kEndlessLoop}};
    EXPECT_EQ(LoopAt(s.scn, 3)->repeatCount, 3);
    EXPECT_EQ(LoopAt(s.scn, 6)->repeatCount, kEndlessLoop);
    EXPECT_EQ(LoopAt(s.scn, 5), nullptr);
    EXPECT_EQ(LoopAt(s.scn, 1), nullptr);
}

} // namespace
