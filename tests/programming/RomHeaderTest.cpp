#include "programming/RomHeader.h"

#include <gtest/gtest.h>

#include "support/TempDir.h"

namespace {

std::vector<unsigned char> Header(char type, unsigned char format = 1)
{
    std::vector<unsigned char> h = {'M', '6', '0', '0', 9, 9, 9, 9, format, 20,
                                    static_cast<unsigned char>(type), 7,
                                    0x10, 0x00, 0x00, 0x00, 0x78, 0x56, 0x34, 0x12};
    return h;
}

TEST(RomHeader, ReadsAValidHeaderWithoutData)
{
    TempDir dir;
    std::string file = dir.Write("a.rom", Header('M'));
    RomHeader h{};
    ASSERT_TRUE(ReadRomHeader(file, h));
    EXPECT_EQ(h.typeLetter, 'M');
    EXPECT_EQ(h.version, 7);
    EXPECT_EQ(h.dataOffset, 20);
    EXPECT_EQ(h.dataLength, 16u);
    EXPECT_EQ(h.crc, 0x12345678u);
}

TEST(RomHeader, RejectsShortWrongMagicAndWrongFormat)
{
    TempDir dir;
    RomHeader h{};
    auto shortFile = Header('M');
    shortFile.resize(19);
    EXPECT_FALSE(ReadRomHeader(dir.Write("short.rom", shortFile), h));

    auto magic = Header('M');
    magic[3] = '1';
    EXPECT_FALSE(ReadRomHeader(dir.Write("magic.rom", magic), h));
    EXPECT_EQ(h.magic[3], '1') << "the header keeps what was read";

    EXPECT_FALSE(ReadRomHeader(dir.Write("format.rom", Header('M', 2)), h));
    EXPECT_FALSE(ReadRomHeader(dir.File("missing.rom"), h));
}

} // namespace
