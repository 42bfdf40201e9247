#include "programming/ControllerImage.h"

#include <gtest/gtest.h>

namespace {

using Bytes = std::vector<uint8_t>;

// Three steps; channel rows 0..3 filled so that a range of rows 1..2 must skip rows 0 and 3.
ScenarioSnapshot SmallScenario()
{
    ScenarioSnapshot s;
    s.SetCell(0, 0, 4);
    s.SetCell(1, 1, 0x0102);
    s.SetCell(2, 1, 5);
    s.SetCell(3, 1, 0x1234);
    const uint16_t cells[3][4] = {{9, 129, 0x0141, 50}, {9, 0, 131, 50}, {9, 7, 130, 50}};
    for (int c = 0; c < 3; ++c)
        for (int k = 0; k < 4; ++k)
            s.SetCell(1 + c, kFirstChannelRow + k, cells[c][k]);
    s.loops = {{1, 2, 3}, {2, 3, kEndlessLoop}};
    s.labels = {1, 3};
    return s;
}

TEST(ControllerImage, SmallScenarioWithLoopsAndLabels)
{
    const Bytes expected = {
        'S', 'C', 'N', '1', 0x02, 0x03, 0x00, 0x2C, 0x02, 0x02,
        0x02, 0x01, 0x81, 0x41,   // step 0: time 0x0102, rows 1 and 2 (low bytes)
        0x05, 0x00, 0x00, 0x83,   // step 1
        0x34, 0x12, 0x07, 0x82,   // step 2
        0x00, 0x00, 0x01, 0x00, 0x03, 0x00,   // columns 1..2, three times
        0x01, 0x00, 0x02, 0x00, 0xFF, 0xFF,   // columns 2..3, endless
        0x00, 0x00, 0x02, 0x00,               // labels at columns 1 and 3
    };
    EXPECT_EQ(MakeControllerImage(SmallScenario(), 300, 1, 2), expected);
}

TEST(ControllerImage, NoLoopsNoLabelsAndTheEndlessLoopRecord)
{
    ScenarioSnapshot s = SmallScenario();
    s.loops.clear();
    s.labels.clear();
    Bytes image = MakeControllerImage(s, 20, 0, 4);
    ASSERT_EQ(image.size(), (4u + 2) * 3 + 10);
    EXPECT_EQ(image[4], 4);
    EXPECT_EQ(image[8], 0);
    EXPECT_EQ(image[9], 0);
    EXPECT_EQ(Bytes(image.end() - 6, image.end()), (Bytes{0x34, 0x12, 9, 7, 0x82, 50}));

    s.SetCell(0, 0, 5);
    s.loops = {{1, 4, kEndlessLoop}};
    image = MakeControllerImage(s, 20, 0, 1);
    ASSERT_EQ(image.size(), 3u * 4 + 10 + 6);
    EXPECT_EQ(Bytes(image.end() - 6, image.end()), (Bytes{0x00, 0x00, 0x03, 0x00, 0xFF, 0xFF}));
}

TEST(ControllerImage, ChannelRangeLimits)
{
    const ScenarioSnapshot s = SmallScenario();
    // 255 channels fit the one-byte count; 256 would be stored as 0 and is refused.
    Bytes image = MakeControllerImage(s, 1, 0, 255);
    ASSERT_EQ(image.size(), 257u * 3 + 10 + 12 + 4);
    EXPECT_EQ(image[4], 255);
    EXPECT_TRUE(MakeControllerImage(s, 1, 0, 256).empty());
    EXPECT_FALSE(IsImageChannelRange(0, 256));
    EXPECT_FALSE(IsImageChannelRange(0, 0));
    EXPECT_FALSE(IsImageChannelRange(-1, 10));
    EXPECT_TRUE(IsImageChannelRange(640 - 255, 255));
    EXPECT_FALSE(IsImageChannelRange(640 - 254, 255));
    EXPECT_STREQ(kChannelRangeMessage, "Неверно указан диапазон каналов для загрузки!");
}

TEST(ControllerImage, EmptyScenarioHasOnlyTheHeader)
{
    ScenarioSnapshot s;
    s.SetCell(0, 0, 1);
    EXPECT_EQ(MakeControllerImage(s, 0x1FF, 0, 3), (Bytes{'S', 'C', 'N', '1', 3, 0, 0, 0xFF, 0, 0}));
}

TEST(EepromBlock, SpeedOncePerLabelOrOnce)
{
    Bytes expected(31, 0xFF);
    expected.push_back(0x00);
    expected.push_back(0x2C);
    EXPECT_EQ(MakeEepromBlock(0, 300), expected);
    expected.push_back(0x2C);
    expected.push_back(0x2C);
    EXPECT_EQ(MakeEepromBlock(3, 300), expected);
    EXPECT_EQ(MakeEepromBlock(255, 7).size(), 287u);
}

} // namespace
