#include "programming/FlashImage.h"

#include <gtest/gtest.h>

#include "programming/BurnTexts.h"

namespace {

struct FlashImageTest : ::testing::Test {
    FlashImageTest()
    {
        rom.RomLoaded = true;
        rom.RomLength = 5000;
        rom.RomData.assign(5000, 0xA5);
        inputs.ChannelCount = 18;
        inputs.LoopCount = 2;
        inputs.LabelCount = 1;
    }
    FlashImage Build(int scnSize)
    {
        scenario.assign(static_cast<size_t>(scnSize), 0x3C);
        inputs.ScnData = scenario.data();
        inputs.ScnSize = scnSize;
        return BuildFlashImage(layout, rom, firmwareSize, inputs);
    }

    FlashLayout layout{16384, 1024, 128};
    RomFile rom;
    int firmwareSize = 0;
    BurnInputs inputs;
    std::vector<uint8_t> scenario;
};

TEST_F(FlashImageTest, FirmwareRegionThenTheScenario)
{
    // 15360 bytes below the boot-loader; 5000 bytes of firmware take 40 blocks.
    FlashImage fi = Build(2000);
    ASSERT_EQ(fi.result, FlashImageResult::Ready);
    EXPECT_EQ(fi.FirmwareBlocks, 40);
    EXPECT_EQ(fi.firstBlock, 0);
    EXPECT_EQ(fi.length, 5120 + 2000);
    EXPECT_EQ(fi.fitSteps, 511);
    EXPECT_EQ(fi.maxSteps, 510);
    ASSERT_EQ(fi.image.size(), 15360u);
    EXPECT_EQ(fi.image[4999], 0xA5);
    EXPECT_EQ(fi.image[5000], 0xFF);
    EXPECT_EQ(fi.image[5119], 0xFF);
    EXPECT_EQ(fi.image[5120], 0x3C);
    EXPECT_EQ(fi.image[7119], 0x3C);
    EXPECT_EQ(fi.image[7120], 0xFF);
}

TEST_F(FlashImageTest, KeptFirmwareIsSkippedAndRoundedUpOnlyPastAnEdge)
{
    rom = RomFile{};
    firmwareSize = 5000;
    FlashImage fi = Build(100);
    EXPECT_EQ(fi.firstBlock, 40);
    EXPECT_EQ(fi.image[0], 0xFF) << "nothing is copied over the kept firmware";
    firmwareSize = 5120;
    EXPECT_EQ(Build(100).firstBlock, 40);
    rom.RomLoaded = true;  // a file is rounded up even at an edge
    rom.RomLength = 4096;
    rom.RomData.assign(4096, 1);
    EXPECT_EQ(Build(100).FirmwareBlocks, 33);
}

TEST_F(FlashImageTest, WhatCannotBePlacedIsRefused)
{
    EXPECT_EQ(Build(10240).result, FlashImageResult::Ready) << "exactly full";
    FlashImage fi = Build(10241);
    EXPECT_EQ(fi.result, FlashImageResult::TooLarge);
    EXPECT_EQ(fi.maxSteps, 510);
    EXPECT_TRUE(fi.image.empty());

    layout = {16384, 1024, 0};
    EXPECT_EQ(Build(100).result, FlashImageResult::LinkError);
    layout = {0, 1024, 128};
    EXPECT_EQ(Build(100).result, FlashImageResult::LinkError);
    layout = {1024, 4096, 128};
    EXPECT_EQ(Build(100).result, FlashImageResult::NoMemory);
    layout = {8192, 4096, 128};  // 4096 bytes left, less than the firmware
    EXPECT_EQ(Build(100).result, FlashImageResult::NoMemory);
    layout = {16384, 1024, 128};
    rom.RomLength = 15360;  // fits, but its extra block does not
    rom.RomData.assign(15360, 1);
    EXPECT_EQ(Build(100).result, FlashImageResult::NoMemory);
    layout = {16384, 1024, 32};
    rom.RomLength = 15300;  // 32 bytes left: room for no step beside the loops and the label
    rom.RomData.assign(15300, 1);
    fi = Build(50);
    EXPECT_EQ(fi.result, FlashImageResult::NoMemory);
    EXPECT_EQ(fi.maxSteps, 0);
    rom = RomFile{};
    firmwareSize = 0;
    EXPECT_EQ(Build(100).result, FlashImageResult::NoFirmware);
}

TEST_F(FlashImageTest, FirmwareAloneWhenThereIsNoScenario)
{
    FlashImage fi = Build(0);
    EXPECT_EQ(fi.result, FlashImageResult::Ready);
    EXPECT_EQ(fi.length, 5120);
}

TEST(BurnTexts, TheCutQuestionNamesLoopsAndLabels)
{
    const std::string pad(22, ' ');
    const std::string head = "Не хватает памяти контроллера для записи сценария!" + pad +
                             "\nСценарий должен содержать не более 510 шагов";
    const std::string tail = pad + "\n\nИзменить максимальное количество шагов в программе?";
    EXPECT_EQ(CutScenarioQuestion(510, 0, 0), head + "." + tail);
    EXPECT_EQ(CutScenarioQuestion(510, 2, 0), head + " (с учетом 2 циклов)." + tail);
    EXPECT_EQ(CutScenarioQuestion(510, 0, 3), head + " (с учетом 3 меток)." + tail);
    EXPECT_EQ(CutScenarioQuestion(510, 2, 1), head + " (с учетом 2 циклов и 1 меток)." + tail);
}

TEST(BurnTexts, TimeoutTexts)
{
    const std::string pad(18, ' ');
    EXPECT_EQ(TimeoutText(false, ""), "Ошибка загрузки!" + pad + "\n\n1. Проверьте правильность подключения кабеля" +
                                          pad + "\n2. Выключите и снова включите питание контроллера");
    EXPECT_EQ(TimeoutText(true, "Qarto18"), "Ошибка загрузки!" + pad +
                                                "\n\n1. Убедитесь, что подключен контроллер \"Qarto18\"" + pad +
                                                "\n2. Отключите и снова подключите кабель USB");
}

} // namespace
