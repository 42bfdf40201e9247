// Playback of the preview driven with chosen elapsed times: step times, loops, the play
// range, ramps, strobe, and what happens when the scenario changes under a running frame.
#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <vector>

#include "preview/PreviewEngine.h"

namespace {

constexpr int kLevelMax = 128;

class FakeHost : public PreviewHost {
public:
    const ScenarioSnapshot& Scenario() override { return scenario; }
    int ColumnCount() override { return columns; }
    bool Running() override { return running; }
    double MsPerTimeUnit() override { return msPerTimeUnit; }
    void ColumnAdvanced(int previous, int column) override
    {
        redrawn.push_back(previous);
        played.push_back(column);
        if (onAdvance)
            onAdvance(column);
    }

    ScenarioSnapshot scenario;
    int columns = 0;
    bool running = true;
    double msPerTimeUnit = 1.0;
    std::vector<int> played;
    std::vector<int> redrawn;
    std::function<void(int)> onAdvance;
};

class PreviewEngineTest : public ::testing::Test {
protected:
    // A scenario of steps whose times are all time units long.
    void Steps(int steps, int time)
    {
        host.columns = steps + 1;
        host.scenario.SetCell(0, 0, static_cast<uint16_t>(steps + 1));
        for (int c = 1; c <= steps; ++c)
            host.scenario.SetCell(c, 1, static_cast<uint16_t>(time));
        first = 1;
        last = steps;
    }
    PreviewFrame Frame(unsigned elapsedMs)
    {
        return engine.Advance(elapsedMs, PlayPosition{column, first, last}, kLevelMax, host);
    }
    int Output(uint16_t code, const PreviewFrame& frame) { return PreviewEngine::ChannelOutput(code, frame, kLevelMax); }

    FakeHost host;
    PreviewEngine engine;
    int column = 1, first = 1, last = 1;
};

TEST_F(PreviewEngineTest, TimeAdvancesOneColumnPerStepAndKeepsTheRest)
{
    Steps(10, 10);  // 10 ms a step
    PreviewFrame f = Frame(10);
    EXPECT_TRUE(f.draw);
    EXPECT_EQ(column, 1) << "a step ends only once its time is exceeded";
    Frame(15);
    EXPECT_EQ(column, 3);
    EXPECT_EQ(engine.State().AccumulatedMs, 5);
    EXPECT_EQ(host.played, (std::vector<int>{2, 3}));
    EXPECT_EQ(host.redrawn, (std::vector<int>{0, 2})) << "the header redrawn before is cleared";
    EXPECT_EQ(engine.State().LastColumn, 3);

    // A fractional step time is taken off and the rest truncated.
    host.msPerTimeUnit = 1.05;  // 10.5 ms
    engine.Reset();
    Frame(25);
    EXPECT_EQ(engine.State().AccumulatedMs, 3);  // 25 - 10.5 = 14 (truncated), 14 - 10.5 = 3
}

TEST_F(PreviewEngineTest, LoopWithTwoPassesPlaysItsColumnsTwice)
{
    Steps(12, 10);
    host.scenario.loops = {LoopRecord{5, 7, 2}};
    column = 4;
    Frame(75);  // seven steps' worth
    EXPECT_EQ(host.played, (std::vector<int>{5, 6, 7, 5, 6, 7, 8}));
    EXPECT_EQ(engine.State().LoopRemaining, 0);
}

TEST_F(PreviewEngineTest, RangeEndingInsideALoopWrapsAndKeepsThePassCount)
{
    Steps(12, 10);
    host.scenario.loops = {LoopRecord{5, 7, 3}};
    last = 6;
    column = 4;
    Frame(65);
    EXPECT_EQ(host.played, (std::vector<int>{5, 6, 1, 2, 3, 4}));
    EXPECT_EQ(engine.State().LoopRemaining, 3);
}

TEST_F(PreviewEngineTest, StoppedPreviewKeepsTheColumnWhileRampAndStrobeMove)
{
    Steps(4, 10);
    host.running = false;
    column = 2;
    host.scenario.SetCell(2, 1, 100);  // 100 ms
    std::vector<int> rampUp, strobe;
    for (int i = 0; i < 6; ++i) {
        PreviewFrame f = Frame(20);
        rampUp.push_back(Output(kCellRampUp, f));
        strobe.push_back(Output(kCellStrobe, f));
    }
    EXPECT_EQ(column, 2);
    EXPECT_TRUE(host.played.empty());
    // 20, 40, 60, 80, 100 ms of 100, then 120 > 100: the time is consumed (20 left).
    EXPECT_EQ(rampUp, (std::vector<int>{25, 51, 76, 102, 128, 25}));
    EXPECT_EQ(strobe, (std::vector<int>{0, 0, kLevelMax, kLevelMax, kLevelMax, 0}));
}

TEST_F(PreviewEngineTest, RampsFollowThePartOfTheStepPlayed)
{
    Steps(3, 10);
    host.msPerTimeUnit = 2.0;  // 20 ms
    PreviewFrame f = Frame(5);
    EXPECT_DOUBLE_EQ(f.ramp, 32.0);
    EXPECT_EQ(Output(kCellRampUp, f), 32);
    EXPECT_EQ(Output(kCellRampDown, f), 96);

    // A step of one time unit shows both ramps at half.
    engine.Reset();
    host.scenario.SetCell(1, 1, 1);
    f = Frame(1);
    EXPECT_EQ(Output(kCellRampUp, f), kLevelMax / 2);
    EXPECT_EQ(Output(kCellRampDown, f), kLevelMax / 2);
}

TEST_F(PreviewEngineTest, StrobeFlipsEveryThirdFrameWhateverTheStepTime)
{
    Steps(3, 1000);
    std::vector<int> levels;
    for (int i = 0; i < 9; ++i)
        levels.push_back(Frame(i % 2 ? 1 : 50).strobeLevel);
    EXPECT_EQ(levels, (std::vector<int>{0, 0, kLevelMax, kLevelMax, kLevelMax, 0, 0, 0, kLevelMax}));
    engine.Reset();
    EXPECT_EQ(engine.State().StrobeCountdown, 3);
    EXPECT_EQ(engine.State().StrobeLevel, 0);
}

TEST_F(PreviewEngineTest, SteadyLevelsAreCappedAtTheMaximum)
{
    PreviewFrame f;
    f.ramp = 200;  // beyond the range: ramps still stay inside it
    f.strobeLevel = kLevelMax;
    EXPECT_EQ(Output(0, f), 0);
    EXPECT_EQ(Output(77, f), 77);
    EXPECT_EQ(Output(128, f), 128);
    EXPECT_EQ(Output(200, f), 128);
    EXPECT_EQ(Output(kCellRampUp, f), 128);
    EXPECT_EQ(Output(kCellRampDown, f), 0);
    EXPECT_EQ(Output(kCellStrobe, f), kLevelMax);
    EXPECT_EQ(Output(0xFFFF, f), -1) << "a damaged cell reads as signed; colours clamp it";
}

TEST_F(PreviewEngineTest, StepsOfZeroTimeArePassedOverAndTheFrameEnds)
{
    Steps(6, 10);
    host.scenario.SetCell(3, 1, 0);
    host.scenario.SetCell(4, 1, 0);
    column = 2;
    Frame(14);
    EXPECT_EQ(host.played, (std::vector<int>{3, 4, 5})) << "each zero step takes 1 ms";
    EXPECT_EQ(column, 5);

    // Every step empty: time still runs through them, and a frame at one still draws.
    Steps(6, 0);
    engine.Reset();
    host.played.clear();
    PreviewFrame f = Frame(4);
    EXPECT_TRUE(f.draw);
    EXPECT_EQ(host.played.size(), 3u);
    EXPECT_EQ(Output(kCellRampUp, f), kLevelMax / 2);
}

TEST_F(PreviewEngineTest, DeletedStepsClampThePlayRange)
{
    Steps(10, 10);
    column = 7;
    first = 6;
    last = 10;
    // Input let in after the first advance deletes the steps from 5 on.
    host.onAdvance = [this](int) {
        host.columns = 5;
        host.onAdvance = nullptr;
    };
    Frame(35);
    EXPECT_EQ(last, 4);
    EXPECT_EQ(first, 4);
    EXPECT_EQ(host.played, (std::vector<int>{8, 4, 4}));

    // No step left at all: nothing to play or draw.
    host.columns = 1;
    EXPECT_FALSE(Frame(50).draw);
}

TEST_F(PreviewEngineTest, LoopDeletedWhilePlayingIsForgotten)
{
    Steps(10, 10);
    host.scenario.loops = {LoopRecord{1, 3, 5}, LoopRecord{5, 6, 4}};
    column = 5;
    host.onAdvance = [this](int) { host.scenario.loops.resize(1); };
    Frame(45);
    EXPECT_EQ(host.played, (std::vector<int>{6, 7, 8, 9}));
    EXPECT_EQ(engine.State().LoopRemaining, 0);
}

TEST_F(PreviewEngineTest, PassesOfADeletedLoopNeverGoToTheLoopTakingItsPlace)
{
    Steps(10, 10);
    host.scenario.loops = {LoopRecord{2, 3, 5}, LoopRecord{5, 6, 2}};
    // Input let in on the second pass through the first loop deletes it.
    int visitsOfTwo = 0;
    host.onAdvance = [this, &visitsOfTwo](int c) {
        if (c == 2 && ++visitsOfTwo == 2)
            host.scenario.loops.erase(host.scenario.loops.begin());
    };
    Frame(115);
    EXPECT_EQ(host.played, (std::vector<int>{2, 3, 2, 3, 4, 5, 6, 5, 6, 7, 8}));
}

TEST_F(PreviewEngineTest, HugeElapsedTimeDoesNotOverflow)
{
    Steps(2, 6000);
    host.msPerTimeUnit = 300.0;  // 1.8 million ms a step
    host.running = false;
    Frame(UINT_MAX);
    Frame(UINT_MAX);
    EXPECT_GE(engine.State().AccumulatedMs, 0);
    EXPECT_LE(engine.State().AccumulatedMs, 1800000);
}

} // namespace
