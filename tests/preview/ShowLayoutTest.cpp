// The show window's layouts: generated lamp grids, layout pictures with their marker
// column, the composed image against the raster-operation chain it replaces, and the
// drawn size.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <random>
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

// The image as the chain of raster operations makes it, over whole frames: the
// background copied, then for each channel a frame filled with its scaled colour, ANDed
// with its mask and ORed into the image.
std::vector<uint32_t> ChainImage(PicturePixels& picture, int frameHeight, const std::vector<uint32_t>& colours,
                                 const std::vector<int>& levels, int levelMax)
{
    int fw = picture.Width() - 1;
    std::vector<uint32_t> image(static_cast<size_t>(fw) * static_cast<size_t>(frameHeight));
    for (int y = 0; y < frameHeight; ++y)
        for (int x = 0; x < fw; ++x)
            image[static_cast<size_t>(y * fw + x)] = picture.At(x, y);
    for (size_t c = 0; c < colours.size(); ++c) {
        uint32_t light = PixelFromColour(ScaleColour(colours[c], levels[c], levelMax));
        for (int y = 0; y < frameHeight; ++y)
            for (int x = 0; x < fw; ++x)
                image[static_cast<size_t>(y * fw + x)] |=
                    light & picture.At(x, (static_cast<int>(c) + 1) * frameHeight + y);
    }
    return image;
}

TEST(LayoutPicture, ComposedImageEqualsTheRasterOperationChain)
{
    std::mt19937 random(20240611);
    auto any = [&](uint32_t n) { return static_cast<uint32_t>(random() % n); };
    const int fw = 23, fh = 17, frames = 12, kept = 9;
    PicturePixels picture(fw + 1, (frames + 1) * fh + 5);  // rows after the last frame are ignored
    picture.At(fw, fh) = 0x000100;
    for (int i = 0; i < 40; ++i)
        picture.At(static_cast<int>(any(fw)), static_cast<int>(any(fh))) = any(0x1000000);
    for (int k = 1; k <= frames; ++k) {
        if (k == 4)
            continue;  // a channel that lights nothing
        // A blob of grey and coloured light, or (channel 7) light over the whole frame.
        int left = static_cast<int>(any(fw)), top = static_cast<int>(any(fh));
        int right = k == 7 ? fw : std::min(fw, left + 1 + static_cast<int>(any(8)));
        int bottom = k == 7 ? fh : std::min(fh, top + 1 + static_cast<int>(any(6)));
        if (k == 7)
            left = top = 0;
        for (int y = top; y < bottom; ++y)
            for (int x = left; x < right; ++x)
                picture.At(x, k * fh + y) = any(3) ? any(256) * 0x010101u : any(0x1000000);
    }
    ShowLayout layout;
    ASSERT_TRUE(ShowLayout::FromPicture(picture, kept, layout));
    ASSERT_EQ(layout.ChannelCount(), frames);

    for (int round = 0; round < 20; ++round) {
        std::vector<uint32_t> colours(kept);
        std::vector<int> levels(kept);
        for (int c = 0; c < kept; ++c) {
            colours[static_cast<size_t>(c)] = any(0x1000000) | (round % 3 == 0 ? 0xFF000000u : 0);
            levels[static_cast<size_t>(c)] = static_cast<int>(any(150)) - 10;
        }
        std::vector<uint32_t> image(fw * fh, 0x5A5A5A);
        layout.Compose(PixelView{image.data(), fw, fh}, colours.data(), levels.data(), kept, 128);
        ASSERT_EQ(image, ChainImage(picture, fh, colours, levels, 128)) << "round " << round;

        // A smaller target gets the frame's top-left part.
        std::vector<uint32_t> part(10 * 4, 0);
        layout.Compose(PixelView{part.data(), 10, 4}, colours.data(), levels.data(), kept, 128);
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 10; ++x)
                ASSERT_EQ(part[static_cast<size_t>(y * 10 + x)], image[static_cast<size_t>(y * fw + x)]);
    }
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
