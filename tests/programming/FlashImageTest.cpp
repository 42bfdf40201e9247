#include "programming/FlashImage.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

RomFile Firmware(size_t size)
{
    RomFile rom;
    rom.RomLoaded = true;
    rom.RomType = 'A';
    for (size_t i = 0; i < size; ++i)
        rom.RomData.push_back(static_cast<uint8_t>(i * 7 + 1));
    rom.RomLength = static_cast<uint32_t>(size);
    return rom;
}

struct Build {
    RomFile rom;
    std::vector<uint8_t> scenario = std::vector<uint8_t>(300, 0x5C);
    FlashImageInput input;

    Build()
    {
        input.rom = &rom;
        input.scenario = &scenario;
        input.blockSize = 128;
        input.flashSize = 16384;
        input.bootSize = 1024;
        input.channelCount = 18;
        input.loopCount = 2;
        input.labelCount = 1;
    }
    FlashImage Run() { return BuildFlashImage(input); }
};

TEST(FlashImage, FirmwareFileThenScenarioWithTheStepsThatFit)
{
    Build build;
    build.rom = Firmware(5000);
    FlashImage image = build.Run();
    ASSERT_EQ(image.status, FlashImageStatus::Built);
    ASSERT_EQ(image.data.size(), 15360u);
    EXPECT_EQ(image.firmwareBlocks, 40);
    EXPECT_FALSE(image.keepsControllerFirmware);
    EXPECT_EQ(image.length, 5120 + 300);
    EXPECT_EQ(image.fitSteps, 511);
    EXPECT_EQ(image.maxSteps, 510);
    EXPECT_TRUE(std::equal(build.rom.RomData.begin(), build.rom.RomData.end(), image.data.begin()));
    EXPECT_EQ(std::count(image.data.begin() + 5000, image.data.begin() + 5120, 0xFF), 120);
    EXPECT_EQ(std::count(image.data.begin() + 5120, image.data.begin() + 5420, 0x5C), 300);
    EXPECT_EQ(std::count(image.data.begin() + 5420, image.data.end(), 0xFF), 15360 - 5420);
}

TEST(FlashImage, FirmwareRegionEndsOnTheNextBlock)
{
    Build build;
    build.rom = Firmware(4096);  // a whole number of blocks still gets one more
    EXPECT_EQ(build.Run().firmwareBlocks, 33);

    Build kept;  // no file: the controller's own 5000 bytes stay, the scenario follows
    kept.input.firmwareSize = 5000;
    FlashImage image = kept.Run();
    EXPECT_TRUE(image.keepsControllerFirmware);
    EXPECT_EQ(image.firmwareBlocks, 40);
    EXPECT_EQ(image.data[5119], 0xFF);
    EXPECT_EQ(image.data[5120], 0x5C);
}

TEST(FlashImage, ScenarioTooLargeAsksWithTheStepMaximum)
{
    Build build;
    build.rom = Firmware(5000);
    build.scenario.assign(10241, 1);
    FlashImage image = build.Run();
    EXPECT_EQ(image.status, FlashImageStatus::TooLarge);
    EXPECT_EQ(image.maxSteps, 510);
    const std::string blanks(22, ' ');
    EXPECT_EQ(MemoryShortageText(510, 2, 1),
              "Не хватает памяти контроллера для записи сценария!" + blanks +
                  "\nСценарий должен содержать не более 510 шагов (с учетом 2 циклов и 1 меток)." + blanks +
                  "\n\nИзменить максимальное количество шагов в программе?");
    EXPECT_NE(MemoryShortageText(7, 0, 3).find("не более 7 шагов (с учетом 3 меток)." + blanks), std::string::npos);
    EXPECT_NE(MemoryShortageText(7, 0, 0).find("не более 7 шагов." + blanks), std::string::npos);

    // Less room than the loops and labels need: the maximum stays at 0.
    build.input.flashSize = 1024 + 5120 + 12;
    image = build.Run();
    EXPECT_EQ(image.status, FlashImageStatus::TooLarge);
    EXPECT_EQ(image.maxSteps, 0);
    EXPECT_EQ(image.fitSteps, 0);
}

TEST(FlashImage, RefusesWhatCannotBePlaced)
{
    auto status = [](void (*change)(Build&)) {
        Build build;
        build.rom = Firmware(1000);
        change(build);
        return build.Run().status;
    };
    EXPECT_EQ(status([](Build& b) { b.input.flashSize = 0; }), FlashImageStatus::NoMemorySizes);
    EXPECT_EQ(status([](Build& b) { b.input.bootSize = 0; }), FlashImageStatus::NoMemorySizes);
    EXPECT_EQ(status([](Build& b) { b.input.blockSize = 0; }), FlashImageStatus::NoMemorySizes);
    EXPECT_EQ(status([](Build& b) { b.input.bootSize = b.input.flashSize; }), FlashImageStatus::NoRoom);
    // The file fills the free flash exactly: its one more block no longer fits.
    EXPECT_EQ(status([](Build& b) { b.rom = Firmware(15360); }), FlashImageStatus::FirmwareTooLarge);
    EXPECT_EQ(status([](Build& b) {
                  b.rom = RomFile{};
                  b.input.firmwareSize = 20000;
              }),
              FlashImageStatus::NoRoom);
    EXPECT_EQ(status([](Build& b) { b.rom = RomFile{}; }), FlashImageStatus::Empty);
    EXPECT_EQ(status([](Build& b) { b.scenario.clear(); }), FlashImageStatus::Built);
}

TEST(FlashImage, EachFailureHasTheSameBoxForEveryController)
{
    FlashImage image;
    auto describe = [&](FlashImageStatus status, int maxSteps) {
        image.status = status;
        image.maxSteps = maxSteps;
        return DescribeFlashImageFailure(image, "C:\\Rom\\a.rom", 2, 1);
    };
    const std::string noMemory = "Не хватает памяти контроллера для записи сценария!";
    EXPECT_EQ(describe(FlashImageStatus::NoMemorySizes, 0).text,
              "Невозможно загрузить сценарий!\nОшибка связи с контроллером.");
    EXPECT_EQ(describe(FlashImageStatus::NoRoom, 0).text, noMemory);
    EXPECT_EQ(describe(FlashImageStatus::FirmwareTooLarge, 0).text, noMemory);
    EXPECT_EQ(describe(FlashImageStatus::Empty, 0).text,
              "Невозможно загрузить сценарий!\nНе найден файл \"C:\\Rom\\a.rom\"");
    FlashImageFailure cut = describe(FlashImageStatus::TooLarge, 7);
    EXPECT_TRUE(cut.cutQuestion);
    EXPECT_EQ(cut.maxSteps, 7);
    EXPECT_EQ(cut.text, MemoryShortageText(7, 2, 1));
    // No step fits: saying so plainly, as a question to cut to none would wipe the scenario.
    FlashImageFailure none = describe(FlashImageStatus::TooLarge, 0);
    EXPECT_FALSE(none.cutQuestion);
    EXPECT_EQ(none.text, noMemory);
    EXPECT_FALSE(describe(FlashImageStatus::NoRoom, 0).cutQuestion);
}

} // namespace
