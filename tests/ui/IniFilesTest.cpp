#include "ui/IniFiles.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/ReadWholeFile.h"
#include "support/TempDir.h"
#include "ui/Exceptions.h"

namespace {

std::string WriteText(const TempDir& dir, const std::string& name, const std::string& text)
{
    return dir.Write(name, std::vector<unsigned char>(text.begin(), text.end()));
}

TEST(IniFile, ANewFileHoldsItsSectionsAndKeysInWritingOrder)
{
    TempDir dir;
    std::string file = dir.File("new.ini");
    TIniFile ini(file);
    EXPECT_FALSE(ini.FileFound());
    ini.WriteString("OPTIONS", "LastOpenFile", "Новый.scn");
    ini.WriteBool("OPTIONS", "TimesLock", true);
    ini.WriteInteger("POSITION", "Top", -12);
    ini.WriteFloat("OPTIONS", "Zoom", 1.2f);
    ini.UpdateFile();
    EXPECT_EQ(ReadWholeFile(file),
              "[OPTIONS]\r\nLastOpenFile=\xCD\xEE\xE2\xFB\xE9.scn\r\nTimesLock=1\r\nZoom=1.20000004768372\r\n"
              "\r\n[POSITION]\r\nTop=-12\r\n");
    EXPECT_FALSE(std::filesystem::exists(file + ".tmp~"));

    TIniFile back(file);
    EXPECT_TRUE(back.FileFound());
    EXPECT_EQ(back.ReadString("OPTIONS", "LastOpenFile", ""), "Новый.scn");
    EXPECT_TRUE(back.ReadBool("OPTIONS", "TimesLock", false));
    EXPECT_EQ(back.ReadInteger("POSITION", "Top", 0), -12);
    EXPECT_EQ(static_cast<float>(back.ReadFloat("OPTIONS", "Zoom", 0)), 1.2f) << "15 digits bring the float back";
}

TEST(IniFile, ReadsWithThePrivateProfileConventions)
{
    TempDir dir;
    std::string file = WriteText(dir, "a.ini",
                                 "; comment\n[Channels]\n  name0 =  Кан. 1  \nNAME0=second\n"
                                 "Quoted=\"  spaced  \"\nHalf=\"open\nEmpty=\nno equals sign\n"
                                 "[channels]\nName1=of a later section of the same name\n"
                                 "[Другая]\nключ=значение\r\nCR=1\rLF=2");
    TIniFile ini(file);
    EXPECT_EQ(ini.ReadString("CHANNELS", "Name0", "-"), "Кан. 1") << "names ignore case, values are trimmed";
    EXPECT_EQ(ini.ReadString("channels", "Quoted", "-"), "  spaced  ");
    EXPECT_EQ(ini.ReadString("channels", "Half", "-"), "\"open");
    EXPECT_EQ(ini.ReadString("channels", "Empty", "-"), "");
    EXPECT_EQ(ini.ReadString("channels", "Name1", "-"), "-") << "the first section of a name counts";
    EXPECT_EQ(ini.ReadString("channels", "no equals sign", "-"), "-");
    EXPECT_EQ(ini.ReadString("ДРУГАЯ", "КЛЮЧ", "-"), "значение") << "Cyrillic names ignore case too";
    EXPECT_EQ(ini.ReadInteger("Другая", "CR", 0), 1);
    EXPECT_EQ(ini.ReadInteger("Другая", "LF", 0), 2);
    EXPECT_EQ(ini.ReadString("Missing", "Name0", "def"), "def");
}

TEST(IniFile, NumbersThatDoNotParseGiveTheDefault)
{
    TempDir dir;
    std::string file = WriteText(dir, "n.ini", "[S]\nI=12x\nBig=99999999999\nB=7\nZ=0\nF=1,5\nG= 2.5 \nE=1E-5\n");
    TIniFile ini(file);
    EXPECT_EQ(ini.ReadInteger("S", "I", 3), 3);
    EXPECT_EQ(ini.ReadInteger("S", "Big", 3), 3);
    EXPECT_TRUE(ini.ReadBool("S", "B", false));
    EXPECT_FALSE(ini.ReadBool("S", "Z", true));
    EXPECT_TRUE(ini.ReadBool("S", "I", true));
    EXPECT_DOUBLE_EQ(ini.ReadFloat("S", "F", 9), 9) << "the decimal separator is always '.'";
    EXPECT_DOUBLE_EQ(ini.ReadFloat("S", "G", 9), 2.5);
    EXPECT_DOUBLE_EQ(ini.ReadFloat("S", "E", 9), 1e-5);
}

TEST(IniFile, FloatsUseTheGeneralFormat)
{
    EXPECT_EQ(FloatToStr(1.0), "1");
    EXPECT_EQ(FloatToStr(0.5), "0.5");
    EXPECT_EQ(FloatToStr(static_cast<double>(0.1f)), "0.100000001490116");
    EXPECT_EQ(FloatToStr(1e20), "1E20");
    EXPECT_EQ(FloatToStr(-2.5e-7), "-2.5E-7");
    EXPECT_EQ(FloatToStr(123456789012345678.0), "1.23456789012346E17");
}

TEST(IniFile, RewritingKeepsStaleKeysAndOtherLinesAndAppendsNewKeysToTheirSection)
{
    TempDir dir;
    std::string file = WriteText(dir, "old.ini",
                                 "top line\r\n[A]\r\n; note\r\nKeep = as it was \r\nname=old\r\n\r\n"
                                 "[B]\r\nx=1\r\n");
    TIniFile ini(file);
    ini.WriteString("a", "NAME", "new");
    ini.WriteString("A", "Added", "line\r\nbreak");
    ini.WriteString("b", "y", "2");
    ini.WriteString("C", "z", " 3 ");
    ini.WriteString("C", "q", "\"quoted\"");
    ini.UpdateFile();
    EXPECT_EQ(ReadWholeFile(file),
              "top line\r\n[A]\r\n; note\r\nKeep = as it was \r\nname=new\r\nAdded=line\r\n\r\n"
              "[B]\r\nx=1\r\ny=2\r\n\r\n[C]\r\nz=\" 3 \"\r\nq=\"\"quoted\"\"\r\n");
    TIniFile back(file);
    EXPECT_EQ(back.ReadString("C", "z", ""), " 3 ") << "what is written reads back unchanged";
    EXPECT_EQ(back.ReadString("C", "q", ""), "\"quoted\"");
}

TEST(IniFile, NothingIsWrittenWithoutAChangeAndAMissingFolderRaises)
{
    TempDir dir;
    TIniFile unchanged(dir.File("none.ini"));
    unchanged.UpdateFile();
    EXPECT_FALSE(std::filesystem::exists(dir.File("none.ini")));

    TIniFile lost(dir.File("no/folder/x.ini"));
    lost.WriteInteger("S", "K", 1);
    EXPECT_THROW(lost.UpdateFile(), EFCreateError);
}

} // namespace
