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

TEST(ChannelSetup, GroupsAreAlignedTriplesOfGridRows)
{
    EXPECT_EQ(RgbGroupEndRow(1), 3);
    EXPECT_EQ(RgbGroupEndRow(3), 3);
    EXPECT_EQ(RgbGroupEndRow(4), 6);
    EXPECT_EQ(RgbGroupEndRow(7), 9);
    EXPECT_EQ(ClampChannelCount(999), 640);
    EXPECT_EQ(ClampChannelCount(0), 1);
    EXPECT_EQ(ClampChannelCount(-5), 1);
}

TEST(ChannelSetup, AMarkedGroupIsRedGreenBlueAndAnUnmarkedOneWhite)
{
    auto cfg = Config(9);
    cfg->channelTable[4].color = 0x123456;
    SetRgbGroup(*cfg, 6, true);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(cfg->channelTable[3 + i].rgbGroup, 1u);
        EXPECT_EQ(cfg->channelTable[3 + i].color, kRgbGroupColours[i]);
    }
    EXPECT_EQ(cfg->channelTable[2].rgbGroup, 0u);
    EXPECT_EQ(cfg->channelTable[6].rgbGroup, 0u);
    SetRgbGroup(*cfg, 6, false);
    for (int ch = 3; ch < 6; ++ch) {
        EXPECT_EQ(cfg->channelTable[ch].rgbGroup, 0u);
        EXPECT_EQ(cfg->channelTable[ch].color, kChannelWhite);
    }
}

TEST(ChannelSetup, OnlyTheChannelsBelowTheCountJoinAGroup)
{
    auto cfg = Config(7);
    SetRgbGroup(*cfg, 9, true);
    EXPECT_EQ(cfg->channelTable[6].rgbGroup, 1u);
    EXPECT_EQ(cfg->channelTable[7].rgbGroup, 0u);
    EXPECT_EQ(cfg->channelTable[8].rgbGroup, 0u);
}

TEST(ChannelSetup, DissolvingAGroupWhitensItsFlaggedChannels)
{
    auto cfg = Config(9);
    SetRgbGroup(*cfg, 6, true);
    cfg->channelTable[2].color = 0x445566;   // outside the group
    cfg->channelTable[5].rgbGroup = 0;       // a broken group: this one keeps its colour
    DissolveRgbGroup(*cfg, 6);
    EXPECT_EQ(cfg->channelTable[3].color, kChannelWhite);
    EXPECT_EQ(cfg->channelTable[4].color, kChannelWhite);
    EXPECT_EQ(cfg->channelTable[5].color, kRgbGroupColours[2]);
    for (int ch = 3; ch < 6; ++ch)
        EXPECT_EQ(cfg->channelTable[ch].rgbGroup, 0u);
    EXPECT_EQ(cfg->channelTable[2].color, 0x445566u);
    DissolveRgbGroup(*cfg, 642);  // the last rows: channels 639..641, two beyond the table's use
    EXPECT_EQ(cfg->channelTable[639].rgbGroup, 0u);
}

TEST(ChannelSetup, ColoursGoToChannelsOutsideGroupsAndSystemColoursAreBlack)
{
    auto cfg = Config(6);
    SetRgbGroup(*cfg, 3, true);
    EXPECT_TRUE(SetChannelColour(*cfg, 0, 0x00AA00));
    EXPECT_EQ(cfg->channelTable[0].color, kRgbGroupColours[0]);
    EXPECT_EQ(cfg->channelTable[3].color, 0x00AA00u);
    EXPECT_EQ(cfg->channelTable[639].color, 0x00AA00u);
    EXPECT_FALSE(SetChannelColour(*cfg, 2, 0x0000AA)) << "row 2 is channel 1, in the group";
    EXPECT_EQ(cfg->channelTable[1].color, kRgbGroupColours[1]);
    EXPECT_TRUE(SetChannelColour(*cfg, 5, 0xFF00000F));
    EXPECT_EQ(cfg->channelTable[4].color, 0u);
    EXPECT_EQ(StoredChannelColour(0x00FFFFFF), 0x00FFFFFFu);
}

TEST(ChannelSetup, ModelFieldsComeFromTheModelRow)
{
    auto cfg = Config(18);
    TakeModelIdentity(*cfg, 6);
    TakeModelFirmware(*cfg, 6);
    EXPECT_STREQ(cfg->modelName, "Brevan8D");
    EXPECT_EQ(cfg->modelIndex, 6u);
    EXPECT_STREQ(cfg->firmwareFile, "Brevan81Dum.rom");
    EXPECT_EQ(cfg->paramRow, 1u);
    EXPECT_STREQ(cfg->deviceId, "Brevan81D");
    EXPECT_EQ(cfg->typeLetter, 'M');
    EXPECT_TRUE(ChannelsExceedModel(*cfg)) << "18 channels on an 8-channel model";
    cfg->channels = 8;
    EXPECT_FALSE(ChannelsExceedModel(*cfg));
    EXPECT_FALSE(FirmwareDiffersFromModel(*cfg, "C:\\Rom\\Brevan81Dum.rom"));
    EXPECT_TRUE(FirmwareDiffersFromModel(*cfg, "Brevan81um.rom"));
    CopyText(cfg->modelName, "Unknown");
    EXPECT_TRUE(FirmwareDiffersFromModel(*cfg, "Brevan81Dum.rom"));
}

TEST(ChannelSetup, ANewSetUpFileLiesInTheProgramFolder)
{
    EXPECT_EQ(NewCtrFileName("C:\\Pelvor\\"), "C:\\Pelvor\\Новый.ctr");
    EXPECT_EQ(NewCtrFileName(std::string(1995, 'p')), "Новый.ctr");
}

// A picture of width w and height h, black but for the given pixels.
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
    Picture p{20, 45, {{{19, 10}, 0x0000FF}, {{19, 20}, 0x00FF00}, {{19, 30}, 0xFF000000 | 0x123456}}};
    p.pixels[{18, 5}] = 0xFFFFFF;  // not in the rightmost column
    auto cfg = Config(9);
    ASSERT_TRUE(ReadMarkerColours(p.width, p.height, p.Fn(), *cfg));
    EXPECT_EQ(cfg->channels, 45 / 10 - 1);
    EXPECT_EQ(cfg->channelTable[0].color, 0x0000FFu);
    EXPECT_EQ(cfg->channelTable[1].color, 0x00FF00u);
    EXPECT_EQ(cfg->channelTable[2].color, 0x123456u);
}

TEST(PictureMarkers, RowZeroIsNoMarkerAndAPictureWithoutOneChangesNothing)
{
    Picture p{8, 30, {{{7, 0}, 0xFFFFFF}}};
    auto cfg = Config(5);
    cfg->channelTable[0].color = 0x222222;
    EXPECT_FALSE(ReadMarkerColours(p.width, p.height, p.Fn(), *cfg));
    EXPECT_EQ(cfg->channels, 5);
    EXPECT_EQ(cfg->channelTable[0].color, 0x222222u);

    Picture tall{8, 30, {{{7, 20}, 0xFFFFFF}}};  // a frame, but no whole channel frame below it
    EXPECT_FALSE(ReadMarkerColours(tall.width, tall.height, tall.Fn(), *cfg));
    EXPECT_FALSE(ReadMarkerColours(0, 0, tall.Fn(), *cfg));
}

TEST(PictureMarkers, AtMost640ChannelsAreTaken)
{
    Picture p{4, 1000, {{{3, 1}, 0x010101}}};
    auto cfg = Config(5);
    ASSERT_TRUE(ReadMarkerColours(p.width, p.height, p.Fn(), *cfg));
    EXPECT_EQ(cfg->channels, 640);
}

} // namespace
