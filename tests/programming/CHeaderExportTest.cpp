#include "programming/CHeaderExport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>

#include "support/TempDir.h"
#include "ui/Exceptions.h"

namespace {

const std::string kPrologue =
    "#define FIXEDSCN\neeprom unsigned char SpeedEE = 300;\nflash char TestScnData[] = {\n";

std::vector<uint8_t> Steps15(size_t n)
{
    std::vector<uint8_t> bytes(n);
    for (size_t i = 0; i < n; ++i)
        bytes[i] = static_cast<uint8_t>(i * 15);
    return bytes;
}

TEST(CHeader, SeventeenEntriesPerLine)
{
    const std::string line17 =
        "0x00,0x0f,0x1e,0x2d,0x3c,0x4b,0x5a,0x69,0x78,0x87,0x96,0xa5,0xb4,0xc3,0xd2,0xe1,0xf0,\n";
    auto b18 = Steps15(18);
    EXPECT_EQ(FormatCHeader(b18.data(), 18, 300), kPrologue + line17 + "0xff,\n};");
    // A multiple of 17 ends with an empty line before the brace.
    EXPECT_EQ(FormatCHeader(b18.data(), 17, 300), kPrologue + line17 + "\n};");
    auto b34 = Steps15(34);
    std::string text = FormatCHeader(b34.data(), 34, 300);
    EXPECT_EQ(text.substr(text.size() - 5), ",\n\n};");
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 3 + 2 + 1);
    EXPECT_EQ(FormatCHeader(nullptr, 0, 300), kPrologue + "\n};");
    EXPECT_EQ(FormatCHeader(b18.data(), 1, -5).substr(0, 51),
              "#define FIXEDSCN\neeprom unsigned char SpeedEE = -5;");
}

TEST(CHeader, WritesTheFileOrRaises)
{
    TempDir dir;
    auto bytes = Steps15(40);
    const std::string file = dir.File("show.h");
    {
        std::ofstream old(file);
        old << std::string(5000, 'x');  // longer than the header: must be truncated
    }
    WriteCHeader(file, bytes.data(), bytes.size(), 300);
    std::ifstream in(file, std::ios::binary);
    std::string written((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(written, FormatCHeader(bytes.data(), bytes.size(), 300));

    EXPECT_THROW(WriteCHeader(dir.File("no/such/folder/x.h"), bytes.data(), bytes.size(), 1),
                 EFCreateError);
}

TEST(CHeader, SaveDialogDefaults)
{
    CHeaderSaveDefaults d = MakeCHeaderSaveDefaults("C:\\Shows\\Новый.scn");
    EXPECT_EQ(d.initialDir, "C:\\Shows\\");
    EXPECT_EQ(d.fileName, "Новый.h");
    EXPECT_EQ(d.defaultExt, "h");
    EXPECT_EQ(d.filter, "Файл *.h|*.h|Все файлы|*.*");
}

} // namespace
