#include "setup/CtrFile.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "support/ReadWholeFile.h"
#include "support/TempDir.h"
#include "ui/Exceptions.h"

namespace {

std::unique_ptr<ControllerConfig> DefaultConfig(int channels)
{
    auto cfg = std::make_unique<ControllerConfig>();
    std::memset(cfg.get(), 0, sizeof(ControllerConfig));
    ResetControllerConfig(*cfg);
    SetChannelDefaults(*cfg);
    cfg->channels = channels;
    return cfg;
}

std::string WriteText(const TempDir& dir, const std::string& name, const std::string& text)
{
    return dir.Write(name, std::vector<unsigned char>(text.begin(), text.end()));
}

TEST(CtrFile, ANewTwoChannelFileHoldsTheKeysInTheirOrder)
{
    TempDir dir;
    auto cfg = DefaultConfig(2);
    std::string file = dir.File("Новый.ctr");
    WriteCtrFile(file, *cfg, {"Кан. 1", "Кан. 2"}, dir.Folder());
    EXPECT_EQ(ReadWholeFile(file),
              "[CHANNELS]\r\nChannels=2\r\nType=Qarto18\r\nPicName=\r\n"
              "Name0=\xCA\xE0\xED. 1\r\nName1=\xCA\xE0\xED. 2\r\nGroup0=0\r\nGroup1=0\r\n"
              "Color0=16777215\r\nColor1=16777215\r\n");
    EXPECT_STREQ(cfg->setupFile, file.c_str());
}

TEST(CtrFile, NamesComeFromTheCallerAndTheRestFromTheRecord)
{
    TempDir dir;
    auto cfg = DefaultConfig(4);
    CopyText(cfg->modelName, "Brevan8");
    cfg->channelTable[3].color = 0x0000FF;
    for (int i = 0; i < 3; ++i)
        cfg->channelTable[i].rgbGroup = 1;
    CopyText(cfg->pictureFile, dir.Folder() + "Pics\\stage.bmp");
    std::string file = dir.File("set.ctr");
    WriteCtrFile(file, *cfg, {"Red", "Green"}, dir.Folder());

    auto back = DefaultConfig(1);
    ASSERT_TRUE(ReadCtrFile(file, *back));
    EXPECT_EQ(back->channels, 4);
    EXPECT_STREQ(back->modelName, "Brevan8");
    EXPECT_EQ(back->modelIndex, 5u);
    EXPECT_STREQ(back->firmwareFile, "Brevan81um.rom");
    EXPECT_EQ(back->paramRow, 0u) << "the parameter row is the dialog's to set";
    EXPECT_STREQ(back->channelTable[0].name, "Red");
    EXPECT_STREQ(back->channelTable[1].name, "Green");
    EXPECT_STREQ(back->channelTable[2].name, "Кан. 3") << "beyond the given names the record's own";
    EXPECT_EQ(back->channelTable[2].rgbGroup, 1u);
    EXPECT_EQ(back->channelTable[3].rgbGroup, 0u);
    EXPECT_EQ(back->channelTable[3].color, 0x0000FFu);
    EXPECT_STREQ(back->pictureFile, "Pics\\stage.bmp") << "stored relative to the program folder";
    EXPECT_STREQ(back->setupFile, file.c_str());
}

TEST(CtrFile, ReadingClampsCutsAndFillsDefaults)
{
    TempDir dir;
    std::string longName(60, 'n');
    std::string file = WriteText(dir, "odd.ctr",
                                 "[channels]\nchannels=700\nType=NoSuchModel\nName0=" + longName +
                                     "\nColor0=255\nGroup0=7\nGroup1=1\nGroup2=1\nColor2=12\n");
    auto cfg = DefaultConfig(18);
    ASSERT_TRUE(ReadCtrFile(file, *cfg));
    EXPECT_EQ(cfg->channels, 640);
    EXPECT_EQ(cfg->modelIndex, kUnknownModel);
    EXPECT_STREQ(cfg->firmwareFile, "");
    EXPECT_EQ(std::string(cfg->channelTable[0].name), std::string(49, 'n'));
    EXPECT_EQ(cfg->channelTable[0].color, 255u);
    EXPECT_EQ(cfg->channelTable[0].rgbGroup, 1u);
    EXPECT_EQ(cfg->channelTable[3].color, 0xFFFFFFu) << "a missing colour is white";
    EXPECT_STREQ(cfg->channelTable[3].name, "Кан. 4") << "a missing name keeps the record's";
    EXPECT_STREQ(cfg->pictureFile, "");

    std::string low = WriteText(dir, "low.ctr", "[CHANNELS]\nChannels=-3\n");
    ASSERT_TRUE(ReadCtrFile(low, *cfg));
    EXPECT_EQ(cfg->channels, 1);
    EXPECT_STREQ(cfg->modelName, "NoSuchModel") << "a missing type keeps the record's model";
}

TEST(CtrFile, AFailedReadLeavesTheRecordUnchanged)
{
    TempDir dir;
    auto cfg = DefaultConfig(5);
    CopyText(cfg->setupFile, "C:\\old.ctr");
    auto before = std::make_unique<ControllerConfig>(*cfg);
    EXPECT_FALSE(ReadCtrFile(dir.File("missing.ctr"), *cfg));
    EXPECT_EQ(std::memcmp(cfg.get(), before.get(), sizeof(ControllerConfig)), 0);
}

TEST(CtrFile, SavingFewerChannelsOverAnOlderFileKeepsItsOtherKeys)
{
    TempDir dir;
    std::string file = dir.File("over.ctr");
    auto cfg = DefaultConfig(4);
    WriteCtrFile(file, *cfg, {}, dir.Folder());
    cfg->channels = 2;
    cfg->channelTable[1].color = 5;
    WriteCtrFile(file, *cfg, {}, dir.Folder());
    EXPECT_EQ(ReadWholeFile(file),
              "[CHANNELS]\r\nChannels=2\r\nType=Qarto18\r\nPicName=\r\n"
              "Name0=\xCA\xE0\xED. 1\r\nName1=\xCA\xE0\xED. 2\r\nName2=\xCA\xE0\xED. 3\r\nName3=\xCA\xE0\xED. 4\r\n"
              "Group0=0\r\nGroup1=0\r\nGroup2=0\r\nGroup3=0\r\n"
              "Color0=16777215\r\nColor1=5\r\nColor2=16777215\r\nColor3=16777215\r\n");
}

TEST(CtrFile, AFailedWriteKeepsTheRecordsSetUpFile)
{
    TempDir dir;
    auto cfg = DefaultConfig(1);
    CopyText(cfg->setupFile, "kept.ctr");
    EXPECT_THROW(WriteCtrFile(dir.File("no/folder/x.ctr"), *cfg, {}, dir.Folder()), EFCreateError);
    EXPECT_STREQ(cfg->setupFile, "kept.ctr");
}

TEST(RelativePath, OnlyPathsInsideTheProgramFolderLoseIt)
{
    const std::string folder = "C:\\Program Files\\Редактор\\";
    EXPECT_EQ(MakeRelativePath("C:\\program files\\РЕДАКТОР\\Pics\\a.bmp", folder), "Pics\\a.bmp");
    EXPECT_EQ(MakeRelativePath(folder, folder), folder) << "the folder itself stays";
    EXPECT_EQ(MakeRelativePath("C:\\Program Files\\", folder), "C:\\Program Files\\");
    EXPECT_EQ(MakeRelativePath("D:\\Other\\a.scn", folder), "D:\\Other\\a.scn");
    EXPECT_EQ(MakeRelativePath(folder + "\\a.scn", folder), folder + "\\a.scn") << "no path from a drive's root";
    EXPECT_EQ(MakeRelativePath(folder + "D:x.scn", folder), folder + "D:x.scn");
    EXPECT_EQ(MakeRelativePath("C:\\Program Files\\РедакторX\\a.scn", folder), "C:\\Program Files\\РедакторX\\a.scn");

    EXPECT_EQ(ResolveRelativePath("Pics\\a.bmp", folder), folder + "Pics\\a.bmp");
    EXPECT_EQ(ResolveRelativePath("D:\\a.scn", folder), "D:\\a.scn");
    EXPECT_EQ(ResolveRelativePath("\\\\server\\a.scn", folder), "\\\\server\\a.scn");
    EXPECT_EQ(ResolveRelativePath("", folder), "");
}

} // namespace
