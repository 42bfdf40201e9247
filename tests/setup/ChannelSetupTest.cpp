#include "setup/ChannelSetup.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <utility>

namespace {

std::unique_ptr<ControllerConfig> Config(int channels)
{
    auto cfg = std::make_unique<ControllerConfig>();
    ResetControllerConfig(*cfg);
    SetChannelDefaults(*cfg);
    cfg->channels = channels;
    return cfg;
}

TEST(ChannelSetup, AGroupIsRedGreenBlueWithinTheCountAndWhiteWhenUndone)
{
    EXPECT_EQ(RgbGroupEndRow(1), 3);
    EXPECT_EQ(RgbGroupEndRow(4), 6);
    auto cfg = Config(8);
    SetRgbGroup(*cfg, 9, true);  // channels 6-8; channel 8 is beyond the count
    EXPECT_EQ(cfg->channelTable[6].rgbGroup, 1u);
    EXPECT_EQ(cfg->channelTable[7].color, kRgbGroupColours[1]);
    EXPECT_EQ(cfg->channelTable[8].rgbGroup, 0u);
    SetRgbGroup(*cfg, 9, false);
    EXPECT_EQ(cfg->channelTable[6].rgbGroup, 0u);
    EXPECT_EQ(cfg->channelTable[6].color, kChannelWhite);

    SetRgbGroup(*cfg, 6, true);
    cfg->channelTable[5].rgbGroup = 0;  // a broken group: this one keeps its colour
    DissolveRgbGroup(*cfg, 6);
    EXPECT_EQ(cfg->channelTable[3].color, kChannelWhite);
    EXPECT_EQ(cfg->channelTable[5].color, kRgbGroupColours[2]);
    EXPECT_EQ(cfg->channelTable[4].rgbGroup, 0u);
}

TEST(ChannelSetup, ColoursGoToChannelsOutsideGroupsAndSystemColoursAreBlack)
{
    auto cfg = Config(6);
    SetRgbGroup(*cfg, 3, true);
    EXPECT_TRUE(SetChannelColour(*cfg, 0, 0x00AA00));
    EXPECT_EQ(cfg->channelTable[0].color, kRgbGroupColours[0]);
    EXPECT_EQ(cfg->channelTable[639].color, 0x00AA00u);
    EXPECT_FALSE(SetChannelColour(*cfg, 2, 0x0000AA)) << "row 2 is channel 1, in the group";
    EXPECT_TRUE(SetChannelColour(*cfg, 5, 0xFF00000F));
    EXPECT_EQ(cfg->channelTable[4].color, 0u);
}

// A black picture but for the given pixels.
struct Picture {
    int width, height;
    std::map<std::pair<int, int>, uint32_t> pixels;
    std::function<uint32_t(int, int)> Fn() const
    {
        return [this](int x, int y) {
            auto it = pixels.find({x, y});
            return it == pixels.end() ? 0u : it->second;
        };
    }
};

TEST(PictureMarkers, TheFirstMarkerGivesTheFrameAndEachFrameAChannelColour)
{
    Picture p{20, 45, {{{19, 10}, 0x0000FF}, {{19, 20}, 0x00FF00}, {{19, 30}, 0xFF123456}, {{18, 5}, 0xFFFFFF}}};
    auto cfg = Config(9);
    ASSERT_TRUE(ReadMarkerColours(p.width, p.height, p.Fn(), *cfg));
    EXPECT_EQ(cfg->channels, 45 / 10 - 1);
    EXPECT_EQ(cfg->channelTable[1].color, 0x00FF00u);
    EXPECT_EQ(cfg->channelTable[2].color, 0x123456u);

    Picture many{4, 1000, {{{3, 1}, 0x010101}}};
    ASSERT_TRUE(ReadMarkerColours(many.width, many.height, many.Fn(), *cfg));
    EXPECT_EQ(cfg->channels, 640);
}

TEST(PictureMarkers, WithoutAMarkerOrAWholeChannelFrameNothingChanges)
{
    auto cfg = Config(5);
    Picture rowZero{8, 30, {{{7, 0}, 0xFFFFFF}}};
    EXPECT_FALSE(ReadMarkerColours(rowZero.width, rowZero.height, rowZero.Fn(), *cfg));
    Picture tall{8, 30, {{{7, 20}, 0xFFFFFF}}};
    EXPECT_FALSE(ReadMarkerColours(tall.width, tall.height, tall.Fn(), *cfg));
    EXPECT_EQ(cfg->channels, 5);
    EXPECT_EQ(cfg->channelTable[0].color, kChannelWhite);
}

} // namespace
