// Step times, speed, column widths and zoom: the formulas behind the step box and the
// grid's geometry.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "scenario/GridZoom.h"
#include "scenario/StepTiming.h"

namespace {

constexpr TimeLimits kLed{1, 6000};

TEST(StepTimeSlider, LowPositionsAreTimesAndHighOnesSpreadToTheLongestTime)
{
    for (int p = 1; p < 50; ++p) {
        EXPECT_EQ(SliderPositionToTime(p, 6000), p);
        EXPECT_EQ(TimeToSliderPosition(p, 6000), p);
    }
    EXPECT_EQ(SliderPositionToTime(50, 6000), 50);
    EXPECT_EQ(SliderPositionToTime(51, 6000), 170);
    EXPECT_EQ(SliderPositionToTime(75, 6000), 3050);
    EXPECT_EQ(SliderPositionToTime(100, 6000), 6000) << "capped from 6050";
    EXPECT_EQ(TimeToSliderPosition(3050, 6000), 75);
    EXPECT_EQ(TimeToSliderPosition(6000, 6000), 100);
    EXPECT_EQ(TimeToSliderPosition(50, 6000), 50);
    // The two directions are not inverses: 170 units sit at position 51 only by luck.
    EXPECT_EQ(TimeToSliderPosition(170, 6000), 51);
    EXPECT_EQ(TimeToSliderPosition(400, 400), 100);
    EXPECT_EQ(SliderPositionToTime(60, 400), 130);
}

TEST(Speed, MillisecondsPerUnitFollowTheInvertedSlider)
{
    // Slider 10..80 at position 20: speed 70, 35 ms per unit at factor 0.5.
    int speed = SpeedOfSlider(10, 80, 20);
    EXPECT_EQ(speed, 70);
    EXPECT_DOUBLE_EQ(MsPerTimeUnitAt(speed, 0.5f, nullptr), 35.0);
    EXPECT_DOUBLE_EQ(MsPerTimeUnitAt(5, 10.0f, nullptr), 50.0);
    const float table[] = {0, 1.5f, 2.5f, 7.25f};
    EXPECT_DOUBLE_EQ(MsPerTimeUnitAt(3, 0.5f, table), 7.25) << "a table replaces the factor";
}

TEST(StepTimeText, UnitsOrRoundedMilliseconds)
{
    EXPECT_EQ(FormatStepTime(10, false, 5.5), "10");
    EXPECT_EQ(FormatStepTime(10, true, 5.5), "55");
    EXPECT_EQ(FormatStepTime(3, true, 0.5), "2") << "1.5 ms shows as the printf rounding gives it";
    EXPECT_EQ(FormatStepTime(6000, true, 300), "1800000");
}

TEST(StepTimeText, TypedMillisecondsBecomeTheNearestUnit)
{
    EXPECT_EQ(ParseStepTime("53", true, 7, 35, kLed), 2);
    EXPECT_EQ(ParseStepTime("52", true, 7, 35, kLed), 1);
    EXPECT_EQ(ParseStepTime(" 70 ", true, 7, 35, kLed), 2);
    EXPECT_EQ(ParseStepTime("17.5", true, 7, 35, kLed), 1) << "exactly half a unit rounds up";
    EXPECT_EQ(ParseStepTime("abc", true, 7, 35, kLed), 7) << "no number: the current time";
    EXPECT_EQ(ParseStepTime("", true, 7, 35, kLed), 7);
    EXPECT_EQ(ParseStepTime("0", true, 7, 35, kLed), 1) << "clamped to the shortest time";
    EXPECT_EQ(ParseStepTime("1e30", true, 7, 35, kLed), 6000) << "clamped to the longest time";
    EXPECT_EQ(ParseStepTime("100", true, 7, 0, kLed), 7) << "no speed yet: nothing to divide by";
}

TEST(StepTimeText, TypedUnitsAreClamped)
{
    EXPECT_EQ(ParseStepTime("250", false, 7, 35, kLed), 250);
    EXPECT_EQ(ParseStepTime("0", false, 7, 35, kLed), 1);
    EXPECT_EQ(ParseStepTime("9999999", false, 7, 35, kLed), 6000);
    EXPECT_EQ(ParseStepTime("12x", false, 7, 35, kLed), 7);
    EXPECT_EQ(ParseStepTime("500", false, 7, 35, TimeLimits{1, 400}), 400);
}

TEST(StepCount, BoundsOfTheCountAndOfTheMaximum)
{
    EXPECT_EQ(ClampStepCount(0, 8000), 1);
    EXPECT_EQ(ClampStepCount(-3, 8000), 1);
    EXPECT_EQ(ClampStepCount(9000, 8000), 8000);
    EXPECT_EQ(ClampStepCount(700, 500), 500);
    EXPECT_EQ(ClampMaxSteps(0), 1);
    EXPECT_EQ(ClampMaxSteps(-20), 1);
    EXPECT_EQ(ClampMaxSteps(12000), 8000);
    EXPECT_EQ(ClampMaxSteps(1308), 1308);
}

TEST(GridGeometry, ColumnWidthGrowsWithTheLogarithmOfTheTime)
{
    EXPECT_EQ(StepColumnWidth(1, 1.0f), 25);
    EXPECT_EQ(StepColumnWidth(50, 1.0f), 55);
    EXPECT_EQ(StepColumnWidth(6000, 1.0f), 91);
    EXPECT_EQ(StepColumnWidth(1, 0.1f), 2);
    EXPECT_EQ(StepColumnWidth(6000, 1.2f), 110);
    EXPECT_EQ(StepColumnWidth(0, 1.0f), 25) << "no logarithm of zero";
}

TEST(GridGeometry, ZoomEndsAndRowHeights)
{
    ZoomState z = ClampZoom(1.0f);
    EXPECT_FLOAT_EQ(z.zoom, 1.0f);
    EXPECT_TRUE(z.plusEnabled);
    EXPECT_TRUE(z.minusEnabled);
    // "Крупнее" at 1.2 stays at 1.2 and disables itself.
    z = ClampZoom(static_cast<float>(1.2f + kZoomStep));
    EXPECT_FLOAT_EQ(z.zoom, 1.2f);
    EXPECT_FALSE(z.plusEnabled);
    z = ClampZoom(static_cast<float>(1.1f + kZoomStep));
    EXPECT_FLOAT_EQ(z.zoom, 1.2f) << "1.1 + 0.1 reaches the end";
    EXPECT_FALSE(z.plusEnabled);
    // "Мельче" from 0.2 gives 0.1 and disables itself.
    z = ClampZoom(static_cast<float>(0.2f - kZoomStep));
    EXPECT_FLOAT_EQ(z.zoom, 0.1f);
    EXPECT_FALSE(z.minusEnabled);
    EXPECT_TRUE(z.plusEnabled);
    z = ClampZoom(std::numeric_limits<float>::quiet_NaN());
    EXPECT_FLOAT_EQ(z.zoom, 0.1f);
    EXPECT_FALSE(z.minusEnabled);

    EXPECT_EQ(RowHeightForZoom(1.0f), 24);
    EXPECT_EQ(RowHeightForZoom(0.1f), 10);
    EXPECT_EQ(RowHeightForZoom(1.2f), 28);
    EXPECT_EQ(RowHeightForZoom(3.0f), 36);
}

TEST(GridGeometry, ChannelRowSpansFollowTheScrolledRows)
{
    // Rows of 24 pixels and a 1-pixel line: pitch 25.
    ChannelRowSpan spans[4];
    ComputeChannelRowSpans(25, 24, 3, 3, 4, spans);
    EXPECT_EQ(spans[0].top, 3 * 25 + 2);
    EXPECT_EQ(spans[0].bottom, 3 * 25 + 2 + 20);
    EXPECT_EQ(spans[3].top, 6 * 25 + 2);
    ComputeChannelRowSpans(25, 24, 3, 5, 4, spans);
    EXPECT_EQ(spans[2].top, 3 * 25 + 2) << "channel 2 is the first row in view";
    EXPECT_LT(spans[0].bottom, 3 * 25) << "scrolled out above the channels";
}

} // namespace
