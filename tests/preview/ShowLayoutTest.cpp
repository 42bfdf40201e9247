// The show window's layouts: generated lamp grids, layout pictures with their marker
// column, the composed image against the raster-operation chain it replaces, and the
// drawn size.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "preview/ShowLayout.h"

namespace {

constexpr uint32_t kWhite = 0xFFFFFF;

// A picture held as pixels, top row first; rows from failRow on cannot be read.
class PicturePixels : public PictureRows {
public:
    PicturePixels(int w, int h) : w_(w), h_(h), pixels(static_cast<size_t>(w) * static_cast<size_t>(h), 0) {}
    int Width() const override { return w_; }
    int Height() const override { return h_; }
    bool ReadRow(int y, uint32_t* row) override
    {
        if (y < 0 || y >= h_ || y >= failRow)
            return false;
        std::copy_n(&At(0, y), w_, row);
        return true;
    }
    uint32_t& At(int x, int y) { return pixels[static_cast<size_t>(y) * static_cast<size_t>(w_) + static_cast<size_t>(x)]; }

    int failRow = 1 << 30;

private:
    int w_, h_;

public:
    std::vector<uint32_t> pixels;
};

std::unique_ptr<ControllerConfig> Config(int channels, std::vector<int> groups = {})
{
    auto cfg = std::make_unique<ControllerConfig>();
    *cfg = ControllerConfig{};
    SetChannelDefaults(*cfg);
    cfg->channels = channels;
    for (int first : groups)
        for (int c = first; c < first + 3; ++c)
            cfg->channelTable[c].rgbGroup = 1;
    return cfg;
}

// True when channel's mask is exactly the 10-pixel square of lamp cell (col, row).
bool LightsCell(const ShowLayout& layout, int channel, int col, int row)
{
    for (int y = 0; y < layout.FrameHeight(); ++y)
        for (int x = 0; x < layout.FrameWidth(); ++x) {
            bool inside = x >= col * 12 + 1 && x < col * 12 + 11 && y >= row * 12 + 1 && y < row * 12 + 11;
            if (layout.FramePixel(channel, x, y) != (inside ? kWhite : 0))
                return false;
        }
    return true;
}

TEST(GeneratedLayout, TwentyChannelsMakeOneRow)
{
    auto cfg = Config(20);
    ShowLayout layout = ShowLayout::Generate(cfg->channels, cfg->channelTable);
    EXPECT_EQ(layout.FrameWidth(), 240);
    EXPECT_EQ(layout.FrameHeight(), 12);
    EXPECT_EQ(layout.ChannelCount(), 20);
    EXPECT_TRUE(LightsCell(layout, 0, 0, 0));
    EXPECT_TRUE(LightsCell(layout, 19, 19, 0));
    EXPECT_EQ(layout.FramePixel(-1, 5, 5), 0u) << "the background stays black";
}

TEST(GeneratedLayout, TwentyFirstLampStartsTheSecondRow)
{
    auto cfg = Config(21);
    ShowLayout layout = ShowLayout::Generate(cfg->channels, cfg->channelTable);
    EXPECT_EQ(layout.FrameWidth(), 240);
    EXPECT_EQ(layout.FrameHeight(), 24);
    EXPECT_TRUE(LightsCell(layout, 20, 0, 1));
}

TEST(GeneratedLayout, RgbGroupsShareOneSquare)
{
    auto cfg = Config(6, {0, 3});
    ShowLayout layout = ShowLayout::Generate(cfg->channels, cfg->channelTable);
    EXPECT_EQ(layout.FrameWidth(), 24);
    EXPECT_EQ(layout.FrameHeight(), 12);
    for (int c = 0; c < 3; ++c)
        EXPECT_TRUE(LightsCell(layout, c, 0, 0)) << c;
    for (int c = 3; c < 6; ++c)
        EXPECT_TRUE(LightsCell(layout, c, 1, 0)) << c;

    // The group's channels light the square each in its own colour.
    uint32_t colours[6] = {0x0000FF, 0x00FF00, 0xFF0000, 0x0000FF, 0, 0};
    int levels[6] = {128, 64, 128, 0, 0, 0};
    std::vector<uint32_t> image(24 * 12, 0xABCDEF);
    layout.Compose(PixelView{image.data(), 24, 12}, colours, levels, 6, 128);
    EXPECT_EQ(image[5 * 24 + 5], 0xFF7FFFu);
    EXPECT_EQ(image[5 * 24 + 17], 0u) << "a dark group leaves its square black";
    EXPECT_EQ(image[0], 0u) << "the cell's border is background";
}

TEST(GeneratedLayout, GroupFlagsRunningPastTheLastChannelGiveSingleLamps)
{
    auto cfg = Config(5);
    cfg->channelTable[3].rgbGroup = 1;  // a group 3-5 of a 5-channel scenario
    cfg->channelTable[4].rgbGroup = 1;
    cfg->channelTable[5].rgbGroup = 1;
    ShowLayout layout = ShowLayout::Generate(cfg->channels, cfg->channelTable);
    EXPECT_EQ(layout.FrameWidth(), 5 * 12);
    EXPECT_TRUE(LightsCell(layout, 3, 3, 0));
    EXPECT_TRUE(LightsCell(layout, 4, 4, 0));
    EXPECT_EQ(layout.MaskCount(), 5);
}

TEST(LayoutPicture, MarkerGivesTheFrameHeightAndTheChannelCount)
{
    PicturePixels picture(3, 500);
    picture.At(2, 100) = 0x010000;
    ShowLayout layout;
    ASSERT_TRUE(ShowLayout::FromPicture(picture, 640, layout));
    EXPECT_EQ(layout.FrameWidth(), 2);
    EXPECT_EQ(layout.FrameHeight(), 100);
    EXPECT_EQ(layout.ChannelCount(), 4);
}

TEST(LayoutPicture, PicturesWithoutUsableFramesAreRefused)
{
    ShowLayout layout;
    PicturePixels noMarker(4, 40);
    noMarker.At(3, 0) = kWhite;  // row 0 does not count
    EXPECT_FALSE(ShowLayout::FromPicture(noMarker, 640, layout));
    PicturePixels markerOnly(1, 40);
    markerOnly.At(0, 10) = kWhite;
    EXPECT_FALSE(ShowLayout::FromPicture(markerOnly, 640, layout));
    PicturePixels unreadable(4, 40);
    unreadable.At(3, 10) = kWhite;
    unreadable.failRow = 25;
    EXPECT_FALSE(ShowLayout::FromPicture(unreadable, 640, layout));
    EXPECT_EQ(layout.FrameWidth(), 0) << "a refused picture leaves the layout alone";
}

TEST(LayoutPicture, OnlyTheConfiguredChannelsAreKept)
{
    PicturePixels picture(5, 10 * 4);
    picture.At(4, 10) = kWhite;
    for (int k = 1; k < 4; ++k)
        picture.At(k, k * 10 + 2) = kWhite;
    ShowLayout layout;
    ASSERT_TRUE(ShowLayout::FromPicture(picture, 2, layout));
    EXPECT_EQ(layout.ChannelCount(), 3);
    EXPECT_EQ(layout.MaskCount(), 2);
    EXPECT_EQ(layout.FramePixel(1, 2, 2), kWhite);
    EXPECT_EQ(layout.FramePixel(2, 3, 2), 0u);
}

TEST(LayoutPicture, ImageIsComposedWithinTheTarget)
{
    PicturePixels picture(9, 3 * 4);
    picture.At(8, 4) = kWhite;
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 8; ++x) {
            picture.At(x, y) = 0x000100u * static_cast<uint32_t>(x + 8 * y);
            picture.At(x, 4 + y) = x >= 2 ? 0x808080u : 0u;  // channel 0 lights its right part
            picture.At(x, 8 + y) = y == 3 ? kWhite : 0u;     // channel 1 its bottom row
        }
    ShowLayout layout;
    ASSERT_TRUE(ShowLayout::FromPicture(picture, 2, layout));
    uint32_t colours[2] = {0x0000FF, 0xFF0000};
    int levels[2] = {128, 64};
    std::vector<uint32_t> image(8 * 4, 0xDEAD);
    layout.Compose(PixelView{image.data(), 8, 4}, colours, levels, 2, 128);
    EXPECT_EQ(image[0], 0u);
    EXPECT_EQ(image[3], 0x800300u) << "red light through a grey mask over the background";
    EXPECT_EQ(image[3 * 8 + 1], 0x00197Fu) << "half-level blue over the background";
    EXPECT_EQ(image[3 * 8 + 5], 0x801D7Fu) << "both lights and the background together";
    // A smaller target gets the frame's top-left part, and nothing beyond it is touched.
    std::vector<uint32_t> part(5 * 4, 0xDEAD);
    layout.Compose(PixelView{part.data(), 5, 3}, colours, levels, 2, 128);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x)
            EXPECT_EQ(part[static_cast<size_t>(y * 5 + x)], image[static_cast<size_t>(y * 8 + x)]);
    EXPECT_EQ(part[15], 0xDEADu);
}

TEST(DrawnSize, FrameFillsThePanelKeepingItsAspectRatio)
{
    struct Case {
        int panelWidth, panelHeight, frameWidth, frameHeight, width, height;
    };
    for (const Case& c : {Case{800, 300, 240, 24, 800, 80}, Case{100, 400, 20, 40, 100, 200},
                          Case{960, 48, 240, 12, 960, 48}, Case{1000, 96, 240, 24, 960, 96},
                          Case{800, 300, 0, 0, 0, 0}}) {
        DrawSize size = FitFrame(c.panelWidth, c.panelHeight, c.frameWidth, c.frameHeight);
        EXPECT_EQ(size.width, c.width) << c.panelWidth << "x" << c.panelHeight;
        EXPECT_EQ(size.height, c.height) << c.panelWidth << "x" << c.panelHeight;
    }
}

} // namespace
