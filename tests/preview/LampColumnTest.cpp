// The lamps beside the grid: their geometry, pen, colour from levels, the rows scrolled
// off the top, and clipping to the frame.
#include <gtest/gtest.h>

#include <vector>

#include "preview/LampColumn.h"

namespace {

constexpr uint32_t kBackground = 0x123456;
constexpr uint32_t kBlack = 0;

class LampColumnTest : public ::testing::Test {
protected:
    void SetUp() override { Frame(40, 100); }
    void Frame(int width, int height)
    {
        pixels.assign(static_cast<size_t>(width) * static_cast<size_t>(height), kBackground);
        column.frame = PixelView{pixels.data(), width, height};
        column.width = width;
        column.rows = rows;
        column.levelMax = 128;
    }
    uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y * column.frame.width + x)]; }
    bool Untouched() const
    {
        for (uint32_t p : pixels)
            if (p != kBackground)
                return false;
        return true;
    }

    std::vector<uint32_t> pixels;
    RowSpan rows[8] = {};
    LampColumn column;
};

TEST_F(LampColumnTest, TallRowGetsAThickOutlineAroundTheLevelColour)
{
    rows[0] = RowSpan{10, 30};  // h 20: radius 0.4 × 40 = 16, pen 3
    column.DrawChannel(0, 64, 0x0080FF);
    uint32_t fill = 0x7F4000;  // red FF and green 80 at half, as a pixel
    EXPECT_EQ(At(20, 20), fill);
    EXPECT_EQ(At(20, 8), kBackground);
    EXPECT_EQ(At(20, 9), kBlack) << "the pen reaches one pixel outside";
    EXPECT_EQ(At(20, 11), kBlack);
    EXPECT_EQ(At(20, 12), fill);
    EXPECT_EQ(At(2, 20), kBackground);
    EXPECT_EQ(At(3, 20), kBlack);
    EXPECT_EQ(At(36, 20), kBlack);
    EXPECT_EQ(At(37, 20), kBackground);
    EXPECT_EQ(At(3, 9), kBackground) << "corners are rounded";
}

TEST_F(LampColumnTest, LowRowGetsAThinOutlineAndItsHeightAsRadius)
{
    rows[0] = RowSpan{0, 10};  // h 10: radius 10, pen 1
    column.DrawChannel(0, 128, 0xFFFFFF);
    EXPECT_EQ(At(20, 0), kBlack);
    EXPECT_EQ(At(20, 1), 0xFFFFFFu);
    EXPECT_EQ(At(20, 9), kBlack);
    EXPECT_EQ(At(20, 10), kBackground);
    EXPECT_EQ(At(9, 5), kBackground);
    EXPECT_EQ(At(10, 5), kBlack);
    EXPECT_EQ(At(11, 5), 0xFFFFFFu);
    EXPECT_EQ(At(29, 5), kBlack);
    EXPECT_EQ(At(30, 5), kBackground);
}

TEST_F(LampColumnTest, RowScrolledOffTheTopIsNotDrawn)
{
    rows[2] = RowSpan{-40, -20};
    rows[3] = RowSpan{5, 25};
    column.hiddenRows = 3;
    column.DrawChannel(2, 128, 0xFFFFFF);
    EXPECT_TRUE(Untouched());
    column.DrawChannel(3, 128, 0xFFFFFF);
    EXPECT_EQ(At(20, 15), 0xFFFFFFu);
}

TEST_F(LampColumnTest, RgbGroupIsOneLampOverItsThreeRowsInTheLevelsColour)
{
    rows[0] = RowSpan{0, 20};
    rows[1] = RowSpan{25, 45};
    rows[2] = RowSpan{50, 70};
    column.hiddenRows = 3;  // the whole group is above the view
    column.DrawRgb(0, 128, 64, 0);
    EXPECT_TRUE(Untouched());
    column.hiddenRows = 2;  // its last row is still in view
    column.DrawRgb(0, 128, 64, 0);
    uint32_t fill = 0xFF7F00;
    EXPECT_EQ(At(20, 10), fill);
    EXPECT_EQ(At(20, 35), fill) << "across the rows between";
    EXPECT_EQ(At(20, 60), fill);
    EXPECT_EQ(At(20, 69), kBlack);
    EXPECT_EQ(At(20, 70), kBlack);
    EXPECT_EQ(At(20, 71), kBackground);
}

TEST_F(LampColumnTest, RgbPenFollowsTheRadiusWhereASingleLampFollowsTheHeight)
{
    Frame(20, 100);  // radius 0.4 × 20 = 8 for a row of 20
    rows[0] = RowSpan{0, 20};
    rows[1] = RowSpan{20, 40};
    rows[2] = RowSpan{40, 60};
    column.DrawRgb(0, 128, 128, 128);
    EXPECT_EQ(At(10, 0), kBlack);
    EXPECT_EQ(At(10, 1), 0xFFFFFFu) << "pen 1: the radius is below 12";
    column.DrawChannel(3, 128, 0xFFFFFF);  // row 3 is unset: nothing
    rows[3] = RowSpan{70, 90};
    column.DrawChannel(3, 128, 0xFFFFFF);
    EXPECT_EQ(At(10, 71), kBlack) << "pen 3: the height is 20";
    EXPECT_EQ(At(10, 72), 0xFFFFFFu);
}

TEST_F(LampColumnTest, LevelsOutsideTheRangeAreClampedInTheColour)
{
    rows[0] = RowSpan{0, 20};
    rows[1] = RowSpan{30, 50};
    column.DrawChannel(0, -5, 0x0080FF);
    column.DrawChannel(1, 500, 0x0080FF);
    EXPECT_EQ(At(20, 10), kBlack);
    EXPECT_EQ(At(20, 40), 0xFF8000u);
}

TEST_F(LampColumnTest, LampsBeyondTheFrameAreClipped)
{
    rows[0] = RowSpan{-50, 150};
    column.width = 200;  // wider than the frame
    column.DrawChannel(0, 128, 0xFFFFFF);
    EXPECT_EQ(At(39, 0), 0xFFFFFFu);
    EXPECT_EQ(At(39, 99), 0xFFFFFFu);
    EXPECT_EQ(At(0, 50), kBackground);
    std::vector<uint32_t> before = pixels;
    column.width = 40;
    rows[1] = RowSpan{101, 140};  // wholly below the frame, its pen too
    column.DrawChannel(1, 128, 0x00FF00);
    EXPECT_EQ(pixels, before);
}

TEST(LevelColours, ComponentsScaleToTheLevelAndStayInTheirPlace)
{
    EXPECT_EQ(ScaleColour(0x00FF8040, 64, 128), 0x007F4020u);
    EXPECT_EQ(ScaleColour(0x00FF8040, 128, 128), 0x00FF8040u);
    EXPECT_EQ(ScaleColour(0xFFFFFFFF, 1, 1), 0x00FFFFFFu) << "no bits outside the components";
    EXPECT_EQ(ScaleColour(0x00FF8040, -1, 128), 0u);
    EXPECT_EQ(ScaleColour(0x00FF8040, 300, 128), 0x00FF8040u);
    EXPECT_EQ(ScaleColour(0x00FF8040, 5, 0), 0u);
    EXPECT_EQ(LevelsColour(64, 0, 64, 64), 0x00FF00FFu);
    EXPECT_EQ(PixelFromColour(0x00112233), 0x00332211u);
}

} // namespace
