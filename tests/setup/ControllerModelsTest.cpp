#include "setup/ControllerModels.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "support/TempDir.h"

namespace {

TEST(ControllerModels, TablesEndWithTheTerminatorAndGiveEachModelItsRow)
{
    struct Expected {
        const char* name;
        unsigned channels;
        unsigned paramRow;
        unsigned memory;
    };
    const Expected rows[] = {
        {"Qarto18", 18, 0, 32768}, {"Qarto16", 16, 0, 32768}, {"Qarto16x3", 16, 0, 32768},
        {"Qarto9", 9, 0, 32768},   {"Qarto6", 6, 0, 16384},   {"Brevan8", 8, 2, 32768},
        {"Brevan8D", 8, 1, 32768}, {"Brevan4", 4, 2, 16384},  {"Brevan4D", 4, 1, 16384},
    };
    for (unsigned i = 0; i < kModelCount; ++i) {
        SCOPED_TRACE(rows[i].name);
        const ControllerModel& m = ControllerModelTable[i];
        EXPECT_STREQ(m.name, rows[i].name);
        EXPECT_EQ(m.channels, rows[i].channels);
        EXPECT_EQ(m.paramRow, rows[i].paramRow);
        EXPECT_EQ(m.memorySize, rows[i].memory);
        EXPECT_EQ(m.typeLetter, 'M');
    }
    const ControllerModel& end = ControllerModelTable[kUnknownModel];
    EXPECT_EQ(end.channels, 0u);
    EXPECT_EQ(end.memorySize, 0u);
    EXPECT_STREQ(end.name, "");

    // The editor's limits: levels 128 / 1 / 64, and the on/off row allows no ramps.
    EXPECT_EQ(ModelParamTable[0].levelMax, 128);
    EXPECT_EQ(ModelParamTable[1].levelMax, 1);
    EXPECT_EQ(ModelParamTable[2].levelMax, 64);
    EXPECT_EQ(ModelParamTable[1].maxTime, 400);
    EXPECT_EQ(ModelParamTable[1].rampUpAllowed, 0);
    EXPECT_EQ(ModelParamTable[1].gradientAllowed, 0);
    EXPECT_FLOAT_EQ(ModelParamTable[0].speedFactor, 0.5f);
    for (const ModelParams& p : ModelParamTable) {
        EXPECT_LT(p.minSpeed, p.maxSpeed);
        EXPECT_GE(p.defaultSpeed, p.minSpeed);
        EXPECT_LE(p.defaultSpeed, p.maxSpeed);
        EXPECT_EQ(p.speedTable, nullptr);
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
