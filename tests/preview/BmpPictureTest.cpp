// Reading layout pictures: the pixel formats a bitmap file can hold, run-length encoded
// rows, and damaged files that must be refused with a reason instead of read past.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "preview/BmpPicture.h"
#include "preview/ShowLayout.h"
#include "support/BmpFile.h"

namespace {

BmpContent Content(int32_t width, int32_t height, uint16_t bitCount, uint32_t compression = 0)
{
    BmpContent s;
    s.width = width;
    s.height = height;
    s.bitCount = bitCount;
    s.compression = compression;
    return s;
}

class BmpPictureTest : public ::testing::Test {
protected:
    bool Open(const std::vector<uint8_t>& bytes)
    {
        stream.Clear();
        stream.Write(bytes.data(), static_cast<int64_t>(bytes.size()));
        picture = BmpPicture();
        error.clear();
        return picture.Open(stream, error);
    }
    std::vector<uint32_t> Row(int y)
    {
        std::vector<uint32_t> row(static_cast<size_t>(picture.Width()), 0xDEAD);
        EXPECT_TRUE(picture.ReadRow(y, row.data()));
        return row;
    }
    using Pixels = std::vector<uint32_t>;

    TMemoryStream stream;
    BmpPicture picture;
    std::string error;
};

TEST_F(BmpPictureTest, TrueColourRowsComeTopFirstWithoutTheirPadding)
{
    ASSERT_TRUE(Open(Bmp24(3, 2, {0x112233, 0x445566, 0x778899, 0xAABBCC, 0xDDEEFF, 0x000001})));
    EXPECT_EQ(picture.Width(), 3);
    EXPECT_EQ(picture.Height(), 2);
    EXPECT_EQ(Row(0), (Pixels{0x112233, 0x445566, 0x778899}));
    EXPECT_EQ(Row(1), (Pixels{0xAABBCC, 0xDDEEFF, 0x000001}));
    uint32_t row[3];
    EXPECT_FALSE(picture.ReadRow(2, row));
    EXPECT_FALSE(picture.ReadRow(-1, row));

    // 32 bits stored top-down: the fourth byte is no part of the colour.
    BmpContent s = Content(2, -2, 32);
    for (uint32_t p : {0xFF102030u, 0x80405060u, 0x00708090u, 0x01A0B0C0u})
        PutLE(s.data, p, 4);
    ASSERT_TRUE(Open(BmpBytes(s)));
    EXPECT_EQ(Row(0), (Pixels{0x102030, 0x405060}));
    EXPECT_EQ(Row(1), (Pixels{0x708090, 0xA0B0C0}));
}

TEST_F(BmpPictureTest, PaletteIndexesOfEveryWidthAreUnpacked)
{
    BmpContent s = Content(10, 1, 1);
    s.palette = {0x000000, 0xFFFFFF};
    s.data = {0xA5, 0xC0, 0, 0};  // 1010 0101 11
    ASSERT_TRUE(Open(BmpBytes(s)));
    uint32_t w = 0xFFFFFF;
    EXPECT_EQ(Row(0), (Pixels{w, 0, w, 0, 0, w, 0, w, w, w}));

    s.width = 5;
    s.bitCount = 2;
    s.palette = {0x000001, 0x000002, 0x000003, 0x000004};
    s.data = {0x1B, 0x80, 0, 0};  // 00 01 10 11 | 10
    ASSERT_TRUE(Open(BmpBytes(s)));
    EXPECT_EQ(Row(0), (Pixels{1, 2, 3, 4, 3}));

    s.width = 3;
    s.bitCount = 4;
    s.palette.assign(16, 0);
    s.palette[2] = 0x220000;
    s.palette[15] = 0x0000FF;
    s.data = {0x2F, 0x50, 0, 0};  // index 5 is black: the palette's extra entries are zero
    ASSERT_TRUE(Open(BmpBytes(s)));
    EXPECT_EQ(Row(0), (Pixels{0x220000, 0x0000FF, 0}));

    // Only the entries in use are stored; an index past them is black.
    s.width = 2;
    s.bitCount = 8;
    s.colorsUsed = 2;
    s.palette = {0x010203, 0x040506};
    s.data = {1, 200, 0, 0};
    ASSERT_TRUE(Open(BmpBytes(s)));
    EXPECT_EQ(Row(0), (Pixels{0x040506, 0}));
}

TEST_F(BmpPictureTest, SixteenBitPixelsUseDefaultOrGivenFields)
{
    BmpContent s = Content(3, 1, 16);
    for (uint32_t p : {0x7FFFu, 0x7C00u, 0x0010u})
        PutLE(s.data, p, 2);
    s.data.resize(8, 0);
    ASSERT_TRUE(Open(BmpBytes(s)));
    EXPECT_EQ(Row(0), (Pixels{0xFFFFFF, 0xFF0000, 0x000084}));

    s.compression = 3;
    s.fields = {0xF800, 0x07E0, 0x001F};
    s.data.clear();
    for (uint32_t p : {0xF800u, 0x07E0u, 0x0001u})
        PutLE(s.data, p, 2);
    s.data.resize(8, 0);
    ASSERT_TRUE(Open(BmpBytes(s)));
    EXPECT_EQ(Row(0), (Pixels{0xFF0000, 0x00FF00, 0x000008}));
}

TEST_F(BmpPictureTest, CoreHeaderWithThreeBytePalette)
{
    BmpContent s = Content(2, 1, 8);
    s.headerSize = 12;
    s.palette.assign(256, 0);
    s.palette[7] = 0x123456;
    s.data = {7, 0, 0, 0};
    ASSERT_TRUE(Open(BmpBytes(s)));
    EXPECT_EQ(Row(0), (Pixels{0x123456, 0}));
}

TEST_F(BmpPictureTest, RunLengthRowsWithJumpsAndLiteralRuns)
{
    BmpContent s = Content(6, 3, 8, 1);
    s.colorsUsed = 4;
    s.palette = {0x000010, 0x000011, 0x000012, 0x000013};
    s.data = {3, 1,             // bottom row: three of colour 1,
              0, 3, 2, 3, 1, 0, // then three literal pixels, padded to a word,
              0, 0,             // end of line
              0, 2, 2, 1,       // jump 2 right and 1 up: the middle row stays empty
              2, 3,             // two of colour 3
              0, 1};            // end of picture
    ASSERT_TRUE(Open(BmpBytes(s)));
    EXPECT_EQ(Row(0), (Pixels{0x10, 0x10, 0x13, 0x13, 0x10, 0x10}));
    EXPECT_EQ(Row(1), (Pixels(6, 0x10)));
    EXPECT_EQ(Row(2), (Pixels{0x11, 0x11, 0x11, 0x12, 0x13, 0x11}));

    s.width = 5;
    s.height = 1;
    s.compression = 2;
    s.bitCount = 4;
    s.data = {5, 0x12, 0, 1};
    ASSERT_TRUE(Open(BmpBytes(s)));
    EXPECT_EQ(Row(0), (Pixels{0x11, 0x12, 0x11, 0x12, 0x11}));
}

TEST_F(BmpPictureTest, DamagedRunsStopAtTheEdgeOfTheRowAndTheData)
{
    BmpContent s = Content(4, 2, 8, 1);
    s.colorsUsed = 2;
    s.palette = {0x000000, 0xFFFFFF};
    s.data = {255, 1,       // a run far past the right edge
              0, 2, 255, 0, // a jump past the right edge, same row
              0, 0,
              0, 9, 1, 1};  // nine literal pixels promised, two given
    ASSERT_TRUE(Open(BmpBytes(s)));
    EXPECT_EQ(Row(1), (Pixels(4, 0xFFFFFF)));
    EXPECT_EQ(Row(0), (Pixels(4, 0)));
}

TEST_F(BmpPictureTest, DamagedFilesAreRefusedWithAReason)
{
    std::vector<uint8_t> good = Bmp24(2, 2, {1, 2, 3, 4});
    ASSERT_TRUE(Open(good));
    auto refused = [&](std::vector<uint8_t> bytes, const char* what) {
        EXPECT_FALSE(Open(bytes)) << what;
        EXPECT_FALSE(error.empty()) << what;
    };
    refused({}, "empty");
    refused(std::vector<uint8_t>(good.begin(), good.begin() + 20), "cut in the header");
    refused(std::vector<uint8_t>(good.begin(), good.end() - 1), "cut in the pixels");
    std::vector<uint8_t> bad = good;
    bad[0] = 'X';
    refused(bad, "no signature");
    bad = good;
    bad[14] = 64;
    refused(bad, "unknown header size");
    bad = good;
    bad[28] = 7;
    refused(bad, "7 bits per pixel");
    bad = good;
    bad[10] = 0xFF;
    bad[11] = 0xFF;
    refused(bad, "pixels outside the file");
    bad = good;
    bad[18] = bad[19] = bad[20] = 0;
    bad[21] = 0x80;
    refused(bad, "negative width");
    bad = good;
    bad[22] = bad[23] = bad[24] = bad[25] = 0;
    refused(bad, "no rows");

    BmpContent s = Content(2, -2, 8, 1);
    s.colorsUsed = 1;
    s.palette = {0};
    s.data = {0, 1};
    refused(BmpBytes(s), "run-length rows stored top-down");
    s.height = 2;
    s.bitCount = 24;
    s.palette.clear();
    refused(BmpBytes(s), "run-length coding of 24-bit pixels");
    s.bitCount = 8;
    s.colorsUsed = 0;
    s.palette = {0, 0};
    refused(BmpBytes(s), "palette cut short");
}

} // namespace
