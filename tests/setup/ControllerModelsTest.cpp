#include "setup/ControllerModels.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "support/TempDir.h"

namespace {

TEST(ControllerModels, EveryFieldOfEveryModelRow)
{
    // A typo here breaks the firmware lookup (file name) or the USB match (device id).
    const ControllerModel rows[] = {
        {"Qarto18", 18, "Qarto186umb.rom", 0, 'M', "Qarto186", 32768},
        {"Qarto16", 16, "Qarto166umb.rom", 0, 'M', "Qarto166", 32768},
        {"Qarto16x3", 16, "Qarto165umb.rom", 0, 'M', "Qarto165", 32768},
        {"Qarto9", 9, "Qarto93umb.rom", 0, 'M', "Qarto92", 32768},
        {"Qarto6", 6, "Qarto63umb.rom", 0, 'M', "Qarto62", 16384},
        {"Brevan8", 8, "Brevan81um.rom", 2, 'M', "Brevan81", 32768},
        {"Brevan8D", 8, "Brevan81Dum.rom", 1, 'M', "Brevan81D", 32768},
        {"Brevan4", 4, "Brevan46um.rom", 2, 'M', "Brevan46", 16384},
        {"Brevan4D", 4, "Brevan46Dum.rom", 1, 'M', "Brevan46D", 16384},
        {"", 0, "", 0, 0, "", 0},
    };
    for (unsigned i = 0; i <= kModelCount; ++i) {
        SCOPED_TRACE(i);
        const ControllerModel& m = ControllerModelTable[i];
        EXPECT_STREQ(m.name, rows[i].name);
        EXPECT_EQ(m.channels, rows[i].channels);
        EXPECT_STREQ(m.firmwareFile, rows[i].firmwareFile);
        EXPECT_EQ(m.paramRow, rows[i].paramRow);
        EXPECT_EQ(m.typeLetter, rows[i].typeLetter);
        EXPECT_STREQ(m.deviceId, rows[i].deviceId);
        EXPECT_EQ(m.memorySize, rows[i].memorySize);
    }
}

TEST(ControllerModels, EveryFieldOfEveryParameterRow)
{
    struct Row {
        int minSpeed, maxSpeed, defaultSpeed;
        float speedFactor;
        int minTime, maxTime, levelMax, rampUp, rampDown, strobe, gradient;
    };
    const Row rows[] = {
        {10, 80, 20, 0.5f, 1, 6000, 128, 1, 1, 1, 1},  // LED strip controllers
        {2, 30, 10, 10.0f, 1, 400, 1, 0, 0, 1, 0},     // on/off lamp controllers
        {1, 30, 5, 10.0f, 1, 6000, 64, 1, 1, 1, 1},    // dimming lamp controllers
    };
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        const ModelParams& p = ModelParamTable[i];
        EXPECT_EQ(p.minSpeed, rows[i].minSpeed);
        EXPECT_EQ(p.maxSpeed, rows[i].maxSpeed);
        EXPECT_EQ(p.defaultSpeed, rows[i].defaultSpeed);
        EXPECT_EQ(p.speedFactor, rows[i].speedFactor);
        EXPECT_EQ(p.speedTable, nullptr);
        EXPECT_EQ(p.minTime, rows[i].minTime);
        EXPECT_EQ(p.maxTime, rows[i].maxTime);
        EXPECT_EQ(p.levelMax, rows[i].levelMax);
        EXPECT_EQ(p.rampUpAllowed, rows[i].rampUp);
        EXPECT_EQ(p.rampDownAllowed, rows[i].rampDown);
        EXPECT_EQ(p.strobeAllowed, rows[i].strobe);
        EXPECT_EQ(p.gradientAllowed, rows[i].gradient);
    }
}

TEST(ControllerModels, FindModelComparesNamesExactly)
{
    for (unsigned i = 0; i < kModelCount; ++i) {
        EXPECT_EQ(FindModelIndex(ControllerModelTable[i].name), i);
        EXPECT_EQ(FindModelParamRow(ControllerModelTable[i].name), ControllerModelTable[i].paramRow);
    }
    for (const char* name : {"", "qarto18", "QARTO18", "Qarto1", "Qarto18 ", "Brevan8d", "Unknown"}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(FindModelIndex(name), kUnknownModel);
        EXPECT_EQ(FindModelParamRow(name), 0u);
    }
}

TEST(ControllerModels, ResetFillsTheModelFieldsFromRowZeroAndLeavesTheChannels)
{
    auto cfg = std::make_unique<ControllerConfig>();
    std::memset(cfg.get(), 'x', sizeof *cfg);  // every text unterminated, every number junk
    ResetControllerConfig(*cfg);

    EXPECT_EQ(cfg->modelIndex, 0u);
    EXPECT_EQ(cfg->channels, 18);
    EXPECT_EQ(cfg->paramRow, 0u);
    EXPECT_STREQ(cfg->modelName, "Qarto18");
    EXPECT_STREQ(cfg->firmwareFile, "Qarto186umb.rom");
    EXPECT_STREQ(cfg->setupFile, "");
    EXPECT_STREQ(cfg->deviceId, "Qarto186");
    EXPECT_STREQ(cfg->pictureFile, "");
    EXPECT_EQ(cfg->typeLetter, 'M');
    EXPECT_EQ(cfg->channelTable[0].name[0], 'x');
    EXPECT_EQ(cfg->channelTable[0].color, 0x78787878u);
}

TEST(ControllerModels, ChannelDefaultsNameAndColourThe640UsedRecords)
{
    auto cfg = std::make_unique<ControllerConfig>();
    std::memset(cfg.get(), 'x', sizeof *cfg);
    SetChannelDefaults(*cfg);

    EXPECT_STREQ(cfg->channelTable[0].name, "Кан. 1");
    EXPECT_STREQ(cfg->channelTable[9].name, "Кан. 10");
    EXPECT_STREQ(cfg->channelTable[639].name, "Кан. 640");
    EXPECT_EQ(std::strlen(cfg->channelTable[0].name), 6u) << "the name is one byte per letter";
    for (int i = 0; i < kMaxChannels; ++i) {
        ASSERT_EQ(cfg->channelTable[i].color, 0xFFFFFFu) << i;
        ASSERT_EQ(cfg->channelTable[i].rgbGroup, 0u) << i;
    }
    EXPECT_EQ(cfg->channelTable[640].name[0], 'x') << "records past channel 640 are not used";
    EXPECT_EQ(cfg->modelName[0], 'x');
}

// A program folder with a "Rom" folder in it, both given with a trailing separator.
struct RomFolders {
    TempDir dir;
    std::string program = dir.Folder();
    std::string rom = dir.Folder() + "Rom\\";
};

TEST(FindRomFile, SearchesTheNameThenTheProgramFolderThenTheGivenFolder)
{
    RomFolders f;
    std::string inRom = f.dir.Write("Rom/a.rom", {1});
    EXPECT_EQ(FindRomFile("a.rom", f.rom, f.program), f.rom + "a.rom");
    EXPECT_EQ(FindRomFile("C:\\Elsewhere\\a.rom", f.rom, f.program), f.rom + "a.rom");
    EXPECT_EQ(FindRomFile("C:a.rom", f.rom, f.program), f.rom + "a.rom") << "a drive colon ends the folder";

    std::string beside = f.dir.Write("a.rom", {1});
    EXPECT_EQ(FindRomFile("a.rom", f.rom, f.program), f.program + "a.rom")
        << "the program folder comes before the given folder";
    EXPECT_EQ(FindRomFile(f.dir.Folder() + "missing/a.rom", f.rom, f.program), f.program + "a.rom");

    EXPECT_EQ(FindRomFile(inRom, f.rom, f.program), inRom) << "an existing full path stays";
    EXPECT_EQ(FindRomFile(beside, f.rom, f.program), beside);
}

TEST(FindRomFile, ReturnsTheNameUnchangedWhenNothingExists)
{
    RomFolders f;
    EXPECT_EQ(FindRomFile("C:\\Roms\\none.rom", f.rom, f.program), "C:\\Roms\\none.rom");
    EXPECT_EQ(FindRomFile("", f.rom, f.program), "");
    f.dir.Write("Rom/x.rom", {1});
    EXPECT_EQ(FindRomFile("none.rom", f.rom, f.program), "none.rom");
}

} // namespace
