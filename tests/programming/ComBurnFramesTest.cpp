#include "programming/ComBurnFrames.h"

#include <gtest/gtest.h>

#include "programming/BurnRandom.h"

namespace {

TEST(ComBurnFrames, FirmwareBlocksAreXoredWithARunningKey)
{
    std::vector<uint8_t> image(64);
    for (size_t i = 0; i < image.size(); ++i)
        image[i] = static_cast<uint8_t>(i * 3);
    // Block 1 of 32 bytes; random 300: key (300 mod 255) | 0x40 = 0x6D.
    BurnBytes f = FlashBlockFrame(image.data(), 64, 1, 32, true, 300);
    ASSERT_EQ(f.size(), 36u);
    EXPECT_EQ(f[0], 0);
    EXPECT_EQ(f[1], 1);
    EXPECT_EQ(f[2], 0x6D);
    uint8_t key = 0x6D, sum = 0;
    for (int i = 0; i < 32; ++i) {
        uint8_t plain = image[32 + static_cast<size_t>(i)];
        EXPECT_EQ(f[3 + static_cast<size_t>(i)], plain ^ key) << i;
        key = static_cast<uint8_t>(key + 21);
        sum = static_cast<uint8_t>(sum + plain);
    }
    EXPECT_EQ(f[35], sum) << "the sum is over the plain bytes";
    EXPECT_EQ(FlashBlockFrame(image.data(), 64, 0, 32, true, 0x3F)[2], 0x7F);
}

TEST(ComBurnFrames, ImageBlocksGoPlainAndEndWithPadding)
{
    const uint8_t image[300 + 5] = {};
    const int keys[][2] = {{32, 2}, {64, 4}, {128, 8}, {256, 16}, {512, 32}};
    for (const auto& k : keys)
        EXPECT_EQ(FlashBlockFrame(image, 0, 0, k[0], false, 0)[2], k[1]) << k[0];
    // 300 + 5 bytes of zeros: block 2 of 128 holds 49 of them, then 0xFF.
    BurnBytes f = FlashBlockFrame(image, 305, 2, 128, false, 0);
    EXPECT_EQ(f[3 + 48], 0);
    EXPECT_EQ(f[3 + 49], 0xFF);
    EXPECT_EQ(f[3 + 127], 0xFF);
    EXPECT_EQ(f[131], static_cast<uint8_t>(79 * 0xFF));
}

TEST(ComBurnFrames, SmallFrames)
{
    EXPECT_EQ(HelloFrame(), (BurnBytes{0x62, 0x01, 0x72, 0x73}));
    EXPECT_EQ(EepromByteFrame(0x123, 0xF0), (BurnBytes{0x01, 0x23, 0xF0, 0x14}));
    EXPECT_EQ(FlashBlockFrame(nullptr, 0, 0x1234, 32, false, 0)[0], 0x12);
}

TEST(ComBurnFrames, SizeCodes)
{
    const int eeprom[] = {64, 128, 256, 512, 1024, 2048, 4096};
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(EepromSizeCode("./01234"[i]), eeprom[i]);
    const int blocks[] = {32, 64, 128, 256, 512};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(BlockSizeCode("QRSTV"[i]), blocks[i]);
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(BootSizeCode(static_cast<char>('a' + i)), 128 << i);
    const int flash[] = {1024, 2048, 4096, 8192, 16384, 32768, 65536, 131072, 262144, 40960};
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(FlashSizeCode("ghilmnopqr"[i]), flash[i]);
    for (char c : {'U', 'j', 'k', 's', '5', '-', '\0'})
        EXPECT_EQ(EepromSizeCode(c) + BlockSizeCode(c) + BootSizeCode(c) + FlashSizeCode(c), 0) << c;
    EXPECT_TRUE(IsTypeLetter('L'));
    EXPECT_FALSE(IsTypeLetter('G'));
    EXPECT_FALSE(IsTypeLetter('\0'));
}

TEST(BurnRandom, TheCompilersGenerator)
{
    BurnRandom r;
    r.Seed(1);
    EXPECT_EQ(r.Next(), 1410184549u);
    EXPECT_EQ(r.Next(), 672584604u);
    EXPECT_EQ(r.Next(), 1915668986u);
    r.Seed(1234567);
    EXPECT_EQ(r.Next(), 1757896367u);
}

} // namespace
