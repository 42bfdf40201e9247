// The recalculation of step times: clamping, column widths and the show's total time.
#include <gtest/gtest.h>

#include "scenario/ScenarioTotals.h"

namespace {

constexpr TimeLimits kLed{1, 6000};

ScenarioSnapshot Steps(int steps, int time)
{
    ScenarioSnapshot s;
    s.SetCell(0, 0, static_cast<uint16_t>(steps + 1));
    for (int c = 1; c <= steps; ++c)
        s.SetCell(c, 1, static_cast<uint16_t>(time));
    return s;
}

TEST(ScenarioTotals, TimesAreClampedWrittenBackAndGiveTheColumnWidths)
{
    ScenarioSnapshot s = Steps(4, 50);
    s.SetCell(2, 1, 0);
    s.SetCell(3, 1, 7000);
    s.SetCell(4, 1, static_cast<uint16_t>(-5));
    std::vector<int> widths;
    ScenarioTotals t = RecalcStepTimes(s, 5, kLed, 1.0f, 10, widths);
    EXPECT_EQ(s.Cell(2, 1), 1);
    EXPECT_EQ(s.Cell(3, 1), 6000);
    EXPECT_EQ(s.Cell(4, 1), 1) << "a step time is a signed number";
    ASSERT_EQ(widths.size(), 4u);
    EXPECT_EQ(widths[0], 55);
    EXPECT_EQ(widths[1], 25);
    EXPECT_EQ(widths[2], 91);
    EXPECT_EQ(t.units, 50 + 1 + 6000 + 1);
}

TEST(ScenarioTotals, TheTotalShowsHoursMinutesAndSeconds)
{
    bool yellow = true;
    EXPECT_EQ(FormatShowTime(90000, 35, yellow), "0:52:30");
    EXPECT_FALSE(yellow);
    // 26 hours keep their hours.
    EXPECT_EQ(FormatShowTime(26 * 3600, 1000, yellow), "26:00:00");
    EXPECT_FALSE(yellow);
    EXPECT_EQ(FormatShowTime(47 * 3600, 1000, yellow), "47:00:00");
    EXPECT_FALSE(yellow);
    EXPECT_EQ(FormatShowTime(50 * 3600, 1000, yellow), "50:00:00");
    EXPECT_TRUE(yellow);
    EXPECT_EQ(FormatShowTime(48 * 3600, 1000, yellow), "48:00:00");
    EXPECT_TRUE(yellow) << "two days exactly";
    // Far beyond what single precision could count to the second.
    EXPECT_EQ(FormatShowTime(123456789012LL, 1.0, yellow), "34293:33:09");
    EXPECT_EQ(FormatShowTime(1, 999.4, yellow), "0:00:00");
    EXPECT_EQ(FormatShowTime(1, 999.5, yellow), "0:00:01") << "rounded to the millisecond first";
}

TEST(ScenarioTotals, CountedLoopsAddTheirRepeatsAndEndlessOnesRunOnce)
{
    ScenarioSnapshot s = Steps(10, 100);
    std::vector<int> widths;
    s.loops = {{2, 4, 4}};
    EXPECT_EQ(RecalcStepTimes(s, 11, kLed, 1.0f, 10, widths).units, 1000 + 900);
    s.loops = {{2, 4, kEndlessLoop}};
    EXPECT_EQ(RecalcStepTimes(s, 11, kLed, 1.0f, 10, widths).units, 1000);
    s.loops = {{1, 1, 2}, {3, 10, 3}};
    EXPECT_EQ(RecalcStepTimes(s, 11, kLed, 1.0f, 10, widths).units, 1000 + 100 + 2 * 800);
    s.loops = {{3, 11, 3}};
    EXPECT_EQ(RecalcStepTimes(s, 11, kLed, 1.0f, 10, widths).units, 1000) << "an end past the last step";
    s.loops = {{5, 3, 3}, {0, 2, 2}, {4, 4, 0}};
    EXPECT_EQ(RecalcStepTimes(s, 11, kLed, 1.0f, 10, widths).units, 1000 + 200)
        << "reversed ends and a zero count add nothing; column 0 is no step";
}

TEST(ScenarioTotals, LoopsCountTheClampedTimes)
{
    ScenarioSnapshot s = Steps(3, 0);
    s.loops = {{1, 3, 5}};
    std::vector<int> widths;
    ScenarioTotals t = RecalcStepTimes(s, 4, kLed, 1.0f, 70, widths);
    EXPECT_EQ(t.units, 3 + 4 * 3);
    EXPECT_EQ(t.text, "0:00:01");
}

} // namespace
