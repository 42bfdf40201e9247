// Path, number and bit helpers, the growable text and the line reader.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "serial/LineReader.h"
#include "serial/SioBaseComponent.h"
#include "serial/SioBits.h"
#include "serial/SioPaths.h"
#include "serial/SioStr.h"
#include "serial/SioSystem.h"
#include "ui/Streams.h"

namespace {

TEST(SioPaths, JustPathname)
{
    EXPECT_EQ(JustPathnameZ("C:\\"), "C:\\");
    EXPECT_EQ(JustPathnameZ("C:\\x"), "C:\\");
    EXPECT_EQ(JustPathnameZ("C:x"), "C:");
    EXPECT_EQ(JustPathnameZ("a\\b\\c"), "a\\b");
    EXPECT_EQ(JustPathnameZ("name.txt"), "");
    EXPECT_EQ(JustPathnameZ("\\name"), "\\");
}

TEST(SioPaths, FileNamesAndExtensions)
{
    EXPECT_EQ(JustFilenameZ("C:\\dir\\file.txt"), "file.txt");
    EXPECT_EQ(JustFilenameZ("C:file"), "file");
    EXPECT_EQ(JustFilenameZ(std::string(300, 'a')).size(), 255u);
    EXPECT_EQ(JustExtensionZ("a\\b.html"), "htm");
    EXPECT_EQ(JustExtensionZ("a.b\\noext"), "");
    EXPECT_EQ(JustName("C:\\dir\\sio.log.old"), "sio");
    EXPECT_EQ(ForceExtensionZ("dir.x\\sio.log", "trc"), "dir.x\\sio.trc");
    EXPECT_EQ(ForceExtensionZ("dir.x\\sio", "trc"), "dir.x\\sio.trc");
    EXPECT_EQ(DefaultExtensionZ("sio", "log"), "sio.log");
    EXPECT_EQ(DefaultExtensionZ("sio.txt", "log"), "sio.txt");
}

TEST(SioPaths, BackSlashes)
{
    EXPECT_EQ(AddBackSlashZ(""), "");
    EXPECT_EQ(AddBackSlashZ("C:"), "C:");
    EXPECT_EQ(AddBackSlashZ("C:\\dir"), "C:\\dir\\");
    EXPECT_EQ(AddBackSlashZ("C:\\dir\\"), "C:\\dir\\");
    EXPECT_EQ(AddBackSlash("\"C:\\dir\""), "\"C:\\dir\\\"");
    EXPECT_EQ(AddBackSlash("C:"), "C:");
    EXPECT_EQ(AddBackSlash(""), "");
}

TEST(SioPaths, Numbers)
{
    int32_t v = 7;
    EXPECT_EQ(Long2StrZ(-42), "-42");
    EXPECT_TRUE(Str2LongZ("123", v));
    EXPECT_EQ(v, 123);
    EXPECT_TRUE(Str2LongZ(" -2147483648", v));
    EXPECT_EQ(v, INT32_MIN);
    EXPECT_TRUE(Str2LongZ("$FF", v));
    EXPECT_EQ(v, 255);
    v = 7;
    EXPECT_FALSE(Str2LongZ("12a", v));
    EXPECT_FALSE(Str2LongZ("", v));
    EXPECT_FALSE(Str2LongZ("-", v));
    EXPECT_FALSE(Str2LongZ("2147483648", v));
    EXPECT_EQ(v, 7);
    EXPECT_EQ(StrStCopy("abcdef", 2, 3), "cde");
    EXPECT_EQ(StrStCopy("abcdef", 4, 10), "ef");
    EXPECT_EQ(StrStCopy("abc", 3, 1), "");
}

TEST(SioBits, FlagsAndInversion)
{
    uint32_t flags = 0x10;
    SetFlag(flags, 0x3);
    ClearFlag(flags, 0x10);
    EXPECT_EQ(flags, 0x3u);
    EXPECT_TRUE(FlagIsSet(flags, 0x2));
    EXPECT_FALSE(FlagIsSet(flags, 0x4));
    uint8_t b = 0x81;
    ClearByteFlag(b, 0x80);
    SetByteFlag(b, 0x40);
    EXPECT_EQ(b, 0x41);
    EXPECT_EQ(MinWord(3, 9), 3u);
    unsigned char buf[7] = {0, 1, 2, 3, 4, 5, 0xFF};
    NotBuffer(buf, 6);
    const unsigned char want[7] = {0xFF, 0xFE, 0xFD, 0xFC, 0xFB, 0xFA, 0xFF};
    EXPECT_EQ(std::string(buf, buf + 7), std::string(want, want + 7));
}

TEST(SioStr, EditsKeepLengthAndCapacity)
{
    TSioStr s(4);
    s.Append("abc");
    s.Append("defg");  // grows
    EXPECT_EQ(s.Text(), "abcdefg");
    EXPECT_EQ(s.GetMaxLen(), 7) << "grows to exactly the length asked for";
    s.Prepend(">");
    s.Insert("--", 3);
    EXPECT_EQ(s.Text(), ">a--bcdefg");
    s.Insert("x", 99);  // outside: nothing
    s.Delete(8, 100);   // past the end: the tail only
    EXPECT_EQ(s.Text(), ">a--bcd");
    EXPECT_EQ(s.GetLen(), 7);
    s.Delete(1, 0);
    EXPECT_EQ(s.Copy(5, 100), "bcd");
    EXPECT_EQ(s.CursorPos(), 5);
    EXPECT_EQ(s.GetCurChar(), 'b');
    EXPECT_EQ(s.Pos("--"), 3);
    EXPECT_EQ(s.PosIdx("-", 4), 4);
    EXPECT_EQ(s.Pos("zz"), 0);
    EXPECT_FALSE(s.HasCursor());
    s.SetChar(1, '\0');
    EXPECT_EQ(s.GetLen(), 1);
    s.SetLen(5);  // longer: nothing
    EXPECT_EQ(s.Text(), ">");
    s.SetChar(1000, 'x');  // outside the capacity: nothing
    TSioStr t(0);
    t.Assign(s);
    EXPECT_EQ(t.Text(), ">");
    EXPECT_EQ(t.GetMaxLen(), s.GetMaxLen());
}

TEST(SioStr, NoBufferAndNoCursorAreSafe)
{
    TSioStr empty(0);
    empty.SetLen(0);
    EXPECT_EQ(empty.GetLen(), 0);
    TSioStr s(8);
    s.Append("abc");
    EXPECT_EQ(s.Pos("z"), 0);
    s.Prev();
    s.MoveBy(-5);
    EXPECT_FALSE(s.HasCursor()) << "relative moves need a cursor";
    EXPECT_EQ(s.CursorPos(), 0);
    s.GotoPos(INT32_MAX);
    s.Next();
    EXPECT_EQ(s.CursorPos(), INT32_MAX);
    EXPECT_EQ(s.GetCurChar(), '\0');
}

TEST(SioStr, ATextStartingWithAZeroAddsNothing)
{
    const std::string zeroFirst("\0ab", 3);
    TSioStr none(0);
    none.Append(zeroFirst);
    none.Prepend(zeroFirst);
    none.Insert(zeroFirst, 1);
    none.AppendBuff("");
    EXPECT_EQ(none.GetLen(), 0);
    EXPECT_EQ(none.GetMaxLen(), 0);
    none.Append(std::string("xy\0z", 4));
    EXPECT_EQ(none.Text(), "xy");
    EXPECT_EQ(none.GetMaxLen(), 2);
    none.Insert(zeroFirst, 1);
    EXPECT_EQ(none.Text(), "xy");
    TSioStr copy(0);
    copy.AppendTSioStr(none);
    EXPECT_EQ(copy.Text(), "xy");
}

TEST(SioStr, ResizeKeepsAPrefix)
{
    TSioStr s(10);
    s.Append("abcdef");
    s.Resize(4);
    EXPECT_EQ(s.Text(), "abc");
    EXPECT_EQ(s.GetBuffLen(), 5);
    s.SetMaxLen(20);
    EXPECT_EQ(s.GetLen(), 0);
}

std::unique_ptr<TStream> StreamOf(const std::string& text)
{
    auto stream = std::make_unique<TMemoryStream>();
    stream->WriteBuffer(text.data(), static_cast<int64_t>(text.size()));
    stream->SetPosition(0);
    return stream;
}

TEST(LineReader, SplitsLinesAcrossPages)
{
    // The CR of the first line is the page's last byte, its LF the next page's first.
    std::string first(TLineReader::PageSize - 1, 'a');
    TLineReader reader(StreamOf(first + "\r\nsecond\rthird\r\nlast"));
    EXPECT_EQ(reader.StreamSize(), TLineReader::PageSize + 19);
    EXPECT_EQ(reader.NextLine(), first);
    EXPECT_EQ(reader.NextLine(), "second");
    EXPECT_EQ(reader.NextLine(), "third");
    EXPECT_EQ(reader.NextLine(), "last");
    EXPECT_TRUE(reader.EndOfStream());
    EXPECT_EQ(reader.BytesRead(), TLineReader::PageSize + 19);
}

TEST(LineReader, LongLineAndCtrlZ)
{
    std::string longLine(TLineReader::PageSize * 2 + 10, 'x');
    TLineReader reader(StreamOf(longLine + "\r\nend\x1a"));
    EXPECT_EQ(reader.NextLine(), longLine);
    EXPECT_EQ(reader.NextLine(), "end");
}

TEST(SioSystem, DescribesTheSystem)
{
    SioOsVersion v{2, 5, 1, 2600, "Service Pack 3"};
    EXPECT_EQ(SioDescribeSystem(v), "Windows XP 5.1 Service Pack 3");
    EXPECT_TRUE(IsWinNT(v));
    EXPECT_FALSE(IsWin2000(v));
    EXPECT_EQ(SioDescribeSystem({2, 6, 1, 7601, ""}), "WinNT 6.1 ");
    EXPECT_EQ(SioDescribeSystem({1, 4, 0, 0, " B"}), "Win32 on Windows 95 OSR 2 4.0 ");
    EXPECT_EQ(SioDescribeSystem({1, 4, 10, 0, " A"}), "Win32 on Windows 98 OSR 2 4.10 ");
    EXPECT_EQ(SioDescribeSystem({1, 4, 90, 0, ""}), "4.90 ");
    EXPECT_EQ(SioDescribeSystem({1, 4, 90, 0x045A0BB8, " x"}), "Win32 on Windows ME 4.90 ");
    EXPECT_EQ(SioDescribeSystem({7, 1, 0, 0, "sp"}), "Unknown1.0 ");
}

TEST(SioBaseComponent, VersionIsFixed)
{
    TSioBaseComponent c(nullptr);
    c.SetVersion("v9");
    EXPECT_EQ(c.GetVersion(), "v1.00");
}

} // namespace
