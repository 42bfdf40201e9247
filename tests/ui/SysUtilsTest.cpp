#include "ui/SysUtils.h"

#include <gtest/gtest.h>

namespace {

TEST(SysUtils, PathPartsFollowTheLastSeparatorOrDriveColon)
{
    EXPECT_EQ(ExtractFilePath("C:\\Program\\pelvor.exe"), "C:\\Program\\");
    EXPECT_EQ(ExtractFileName("C:\\Program\\pelvor.exe"), "pelvor.exe");
    EXPECT_EQ(ExtractFileName("C:pelvor.exe"), "pelvor.exe");
    EXPECT_EQ(ExtractFilePath("pelvor.exe"), "");
    EXPECT_EQ(ExtractFileName("dir/file.scn"), "file.scn");
}

TEST(SysUtils, ChangeFileExtTouchesOnlyTheFileNamePart)
{
    EXPECT_EQ(ChangeFileExt("C:\\a\\pelvor.exe", ".ini"), "C:\\a\\pelvor.ini");
    EXPECT_EQ(ChangeFileExt("C:\\a.b\\pelvor", ".ini"), "C:\\a.b\\pelvor.ini");
    EXPECT_EQ(ChangeFileExt("Новый.scn", ".h"), "Новый.h");
    EXPECT_EQ(ChangeFileExt("x.tar.gz", ""), "x.tar");
}

TEST(SysUtils, StrToIntDefRejectsWhatIsNotA32BitNumber)
{
    EXPECT_EQ(StrToIntDef(" 42 ", 0), 42);
    EXPECT_EQ(StrToIntDef("-7", 0), -7);
    EXPECT_EQ(StrToIntDef("", 5), 5);
    EXPECT_EQ(StrToIntDef("12a", 5), 5);
    EXPECT_EQ(StrToIntDef("2147483648", 5), 5);
    EXPECT_EQ(StrToIntDef("-2147483648", 5), -2147483647 - 1);
}

TEST(SysUtils, UpperCaseChangesOnlyAsciiLetters)
{
    EXPECT_EQ(UpperCase("file"), "FILE");
    EXPECT_EQ(UpperCase("Новый"), "Новый");
}

TEST(SysUtils, AnsiUpperCaseFoldsEveryWindows1251Letter)
{
    EXPECT_EQ(AnsiUpperCase("file Новый ёж"), "FILE НОВЫЙ ЁЖ");
    EXPECT_EQ(AnsiUpperCase("ђѓљњќћџўјґєїіѕ"), "ЂЃЉЊЌЋЏЎЈҐЄЇІЅ");
    EXPECT_EQ(AnsiUpperCase("\x9B\xB5\xB6 1;"), "\x9B\xB5\xB6 1;") << "signs stay";
}

} // namespace
