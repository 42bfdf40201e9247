#include "setup/StoredOptions.h"

#include <gtest/gtest.h>

#include "support/ReadWholeFile.h"
#include "support/TempDir.h"
#include "ui/IniFiles.h"

namespace {

const std::string kFolder = "C:\\Pelvor\\";

TEST(StoredOptions, MissingKeysKeepTheCurrentValuesExceptPortAndZoom)
{
    TempDir dir;
    TIniFile ini(dir.File("none.ini"));
    StoredOptions o;
    o.maxSteps = 1308;
    o.lastOpenFile = "D:\\show.scn";
    o.ctrType = "Qarto6";
    o.comPort = "COM9";
    o.timesLock = true;
    o.channels = 6;
    o.zoom = 0.5;
    ReadStoredOptions(ini, o, kFolder);
    EXPECT_EQ(o.maxSteps, 1308);
    EXPECT_EQ(o.lastOpenFile, "D:\\show.scn");
    EXPECT_EQ(o.ctrType, "Qarto6");
    EXPECT_EQ(o.comPort, "COM1");
    EXPECT_TRUE(o.timesLock);
    EXPECT_EQ(o.channels, 6);
    EXPECT_EQ(o.zoom, 1.0);
}

TEST(StoredOptions, ValuesAreClampedCutAndResolvedAgainstTheProgramFolder)
{
    TempDir dir;
    std::string text = "[options]\nMaxSteps=9000\nChannels=0\nCtrType=" + std::string(60, 'q') +
                       "\nLastOpenFile=shows\\a.scn\nPicName=E:\\p.bmp\nCtrFile=\nZoom=0.3\nTimeInSec=5\n";
    TIniFile ini(dir.Write("o.ini", std::vector<unsigned char>(text.begin(), text.end())));
    StoredOptions o;
    o.ctrFile = "old.ctr";
    ReadStoredOptions(ini, o, kFolder);
    EXPECT_EQ(o.maxSteps, 8000);
    EXPECT_EQ(o.channels, 1);
    EXPECT_EQ(o.ctrType, std::string(49, 'q'));
    EXPECT_EQ(o.lastOpenFile, kFolder + "shows\\a.scn");
    EXPECT_EQ(o.picName, "E:\\p.bmp");
    EXPECT_EQ(o.ctrFile, "");
    EXPECT_DOUBLE_EQ(o.zoom, 0.3);
    EXPECT_TRUE(o.timeInSec);

    text = "[OPTIONS]\nMaxSteps=-4\n";
    TIniFile low(dir.Write("l.ini", std::vector<unsigned char>(text.begin(), text.end())));
    ReadStoredOptions(low, o, kFolder);
    EXPECT_EQ(o.maxSteps, 1);
}

TEST(StoredOptions, WritingStoresPathsRelativeAndNeverThePortFile)
{
    TempDir dir;
    std::string file = dir.File("w.ini");
    std::string text = "[OPTIONS]\r\nComPort=COM3\r\n";
    dir.Write("w.ini", std::vector<unsigned char>(text.begin(), text.end()));
    TIniFile ini(file);
    StoredOptions o;
    o.lastOpenFile = "c:\\pelvor\\Новый.scn";
    o.ctrFile = "D:\\hall.ctr";
    o.ctrType = "Qarto18";
    o.comPort = "FILE";
    o.zoom = static_cast<double>(1.2f);
    WriteStoredOptions(ini, o, kFolder);
    ini.UpdateFile();
    EXPECT_EQ(ReadWholeFile(file),
              "[OPTIONS]\r\nComPort=COM3\r\nLastOpenFile=\xCD\xEE\xE2\xFB\xE9.scn\r\nCtrFile=D:\\hall.ctr\r\n"
              "CtrType=Qarto18\r\nTimesLock=0\r\nTimeInSec=0\r\nMaxSteps=8000\r\nChannels=18\r\n"
              "Zoom=1.20000004768372\r\nPicName=\r\n");
}

} // namespace
