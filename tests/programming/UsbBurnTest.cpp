#include "programming/UsbBurn.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <functional>
#include <numeric>

#include "SimulatedBootloader.h"
#include "programming/FlashImage.h"
#include "support/RecordingUsbBurnView.h"

namespace {

std::vector<uint8_t> Pattern(size_t size, int seed)
{
    std::vector<uint8_t> bytes(size);
    for (size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<uint8_t>(i * 31 + seed);
    return bytes;
}

const char kSearching[] = "Поиск контроллера...";

struct Burn {
    SimulatedBootloaderConfig config;
    BurnInputs inputs;
    RomFile rom;
    RecordingUsbBurnView view;
    std::unique_ptr<SimulatedBootloader> device;
    std::unique_ptr<UsbBurn> burn;

    Burn()
    {
        inputs.PortName = "USB";
        inputs.RomFileName = "C:\\pelvor\\Rom\\sim8.rom";
        inputs.DeviceId = "SIM-8";
        inputs.ModelName = "Контроллер 8";
        inputs.ChannelCount = 8;
        inputs.LoopCount = 1;
        inputs.ScnData = Pattern(700, 3);
        inputs.EeData = Pattern(40, 9);
        rom.RomLoaded = true;
        rom.RomType = 'A';
        rom.RomData = Pattern(1000, 5);
        rom.RomLength = 1000;
    }
    void WithoutFirmwareFile(size_t keptFirmware)
    {
        rom = RomFile{};
        config.keptFirmware = Pattern(keptFirmware, 1);
    }
    // Builds the device and the steps and connects.
    void Connect(const std::function<void(SimulatedBootloader&)>& prepare = {})
    {
        device = std::make_unique<SimulatedBootloader>(config);
        if (prepare)
            prepare(*device);
        burn = std::make_unique<UsbBurn>(inputs, rom, view, device->Access());
        burn->Connect();
    }
    // The flash from address holds bytes.
    bool FlashHolds(size_t address, const std::vector<uint8_t>& bytes) const
    {
        return std::equal(bytes.begin(), bytes.end(), device->Flash().begin() + address);
    }
    void ExpectProgrammed(size_t scenarioAt, size_t eepromBytes)
    {
        EXPECT_TRUE(FlashHolds(scenarioAt, inputs.ScnData));
        EXPECT_TRUE(std::equal(inputs.EeData.begin(), inputs.EeData.begin() + eepromBytes, device->Eeprom().begin()));
        EXPECT_TRUE(device->LeftBootloader());
        EXPECT_TRUE(device->Faults().empty());
        EXPECT_TRUE(view.errors.empty());
        EXPECT_TRUE(burn->Closed());
        EXPECT_EQ(view.closes, 1);
        EXPECT_FALSE(view.progressShown);
    }
};

TEST(UsbBurn, ProgramsFirmwareScenarioAndEepromOnConnect)
{
    Burn t;
    t.config.eepromSize = 32;  // fewer EEPROM bytes than the block: only these are written
    t.Connect();
    t.ExpectProgrammed(1024, 32);
    EXPECT_TRUE(t.FlashHolds(0, t.rom.RomData));
    EXPECT_EQ(std::count(t.device->Flash().begin() + 1000, t.device->Flash().begin() + 1024, 0xFF), 24);
    EXPECT_EQ(t.device->EepromWrites().size(), 32u);
    EXPECT_EQ(t.view.statuses, (std::vector<std::string>{kSearching, "Загрузка...", "Настройка..."}));
    EXPECT_EQ(t.view.progress, 32);
    // 8192 - 1024 bytes beside the boot-loader, 1024 of firmware: (6144 - 10) / 10 steps.
    EXPECT_EQ(t.view.maxSteps, (std::vector<std::pair<int, bool>>{{613, true}}));
}

TEST(UsbBurn, SearchesOncePerTickUntilTheControllerIsPlugged)
{
    Burn t;
    t.config.pageSize = 256;  // the last page is written whole, from the 0xFF filling
    t.Connect([](SimulatedBootloader& device) { device.Unplug(); });
    EXPECT_FALSE(t.burn->Closed());
    for (int tick = 1; tick <= 3; ++tick) {
        const int before = t.device->Enumerations();
        t.burn->Tick();
        EXPECT_EQ(t.device->Enumerations(), before + 1);
        EXPECT_EQ(t.view.statuses.back(), kSearching + std::string(tick, '.'));
    }
    EXPECT_EQ(t.burn->Countdown(), kUsbTimeoutTicks - 3);
    t.device->Plug();
    const int before = t.device->Enumerations();
    t.burn->Tick();
    EXPECT_EQ(t.device->Enumerations(), before + 1);
    t.ExpectProgrammed(1024, 40);
    EXPECT_EQ(t.device->FlashWrites().back(), 1664u);  // the second half of the page at 1536
}

TEST(UsbBurn, KeepsTheControllersFirmwareWithoutAFile)
{
    Burn t;
    t.WithoutFirmwareFile(1280);
    t.config.pageSize = 64;
    t.Connect();
    t.ExpectProgrammed(1280, 40);
    EXPECT_TRUE(t.FlashHolds(0, t.config.keptFirmware));
    EXPECT_EQ(t.device->FlashWrites().front(), 1280u);
}

TEST(UsbBurn, RefusesControllersItCannotProgram)
{
    struct Case {
        const char* what;
        void (*setUp)(Burn&);
        std::string message;
    };
    const std::string file = "\"C:\\pelvor\\Rom\\sim8.rom\"";
    const Case cases[] = {
        {"other chip", [](Burn& t) { t.config.signature = 0x1E9403; }, "Несоответствующий контроллер!"},
        {"no firmware", [](Burn& t) { t.WithoutFirmwareFile(0); },
         "Невозможно загрузить сценарий!\nНе найден файл " + file},
        {"firmware size off the page",
         [](Burn& t) {
             t.WithoutFirmwareFile(100);
             t.config.reportedFirmwareSize = 5000;
         },
         "Невозможно загрузить сценарий!\nНе найден файл " + file},
        {"64-byte page, firmware ending inside a chunk",
         [](Burn& t) {
             t.WithoutFirmwareFile(1216);
             t.config.pageSize = 64;
         },
         "Невозможно загрузить сценарий!\nПрограмма контроллера не кончается на границе блока записи,\nнужен файл " +
             file},
        {"firmware larger than the flash",
         [](Burn& t) {
             t.rom.RomData.resize(8000);
             t.rom.RomLength = 8000;
         },
         "Не хватает памяти контроллера для записи сценария!"},
        {"kept firmware larger than the flash",
         [](Burn& t) {
             t.WithoutFirmwareFile(128);
             t.config.reportedFirmwareSize = 16384;
         },
         "Не хватает памяти контроллера для записи сценария!"},
        {"firmware leaving no room for a step",
         [](Burn& t) { t.rom.RomData.resize(7100); },
         "Не хватает памяти контроллера для записи сценария!"},
    };
    for (const Case& c : cases) {
        Burn t;
        c.setUp(t);
        t.Connect();
        EXPECT_EQ(t.view.errors, std::vector<std::string>{c.message}) << c.what;
        EXPECT_TRUE(t.view.questions.empty()) << c.what << ": never a question to cut to no steps";
        EXPECT_TRUE(t.view.maxSteps.empty()) << c.what;
        EXPECT_TRUE(t.burn->Closed()) << c.what;
        EXPECT_TRUE(t.device->FlashWrites().empty()) << c.what;
        EXPECT_TRUE(t.device->EepromWrites().empty()) << c.what;
        EXPECT_TRUE(t.FlashHolds(0, t.config.keptFirmware)) << c.what;
    }
}

TEST(UsbBurn, AFailedTransferIsResumedAtTheNextTick)
{
    // Transfers: the identity, 14 flash chunks, then the EEPROM bytes.
    for (int failing : {1, 6, 15 + 17}) {
        Burn t;
        t.Connect([&](SimulatedBootloader& device) { device.FailTransfer(failing); });
        EXPECT_FALSE(t.burn->Closed()) << failing;
        EXPECT_EQ(t.view.statuses.back(), kSearching) << failing;
        EXPECT_FALSE(t.view.progressShown);
        t.burn->Tick();
        t.ExpectProgrammed(1024, 40);
        // EEPROM bytes are written once each: a later attempt resumes at the failed one.
        std::vector<uint16_t> addresses(40);
        std::iota(addresses.begin(), addresses.end(), 0);
        EXPECT_EQ(t.device->EepromWrites(), addresses) << failing;
        // The resumed EEPROM write shows itself, not the flash write before it.
        EXPECT_EQ(t.view.statuses.back(), "Настройка...");
        EXPECT_EQ(t.view.bars.back(), (std::pair<int, int>(40, failing == 32 ? 16 : 0)));
    }
}

TEST(UsbBurn, TimeOutBoxAfterTwentyTicksWithoutAController)
{
    Burn t;
    t.config.product = "SIM-9";  // another model is plugged in
    t.Connect();
    t.view.answers = {true, false};
    for (int tick = 1; tick < kUsbTimeoutTicks; ++tick)
        t.burn->Tick();
    EXPECT_TRUE(t.view.retries.empty());
    t.burn->Tick();
    const std::string blanks(18, ' ');
    EXPECT_EQ(t.view.retries, std::vector<std::string>{"Ошибка загрузки!" + blanks +
                                                         "\n\n1. Убедитесь, что подключен контроллер \"Контроллер 8\"" +
                                                         blanks + "\n2. Отключите и снова подключите кабель USB"});
    EXPECT_EQ(t.view.statuses.back(), kSearching);  // OK: the dots go, the countdown restarts
    EXPECT_EQ(t.burn->Countdown(), kUsbTimeoutTicks);
    EXPECT_FALSE(t.burn->Closed());
    for (int tick = 1; tick <= kUsbTimeoutTicks; ++tick)
        t.burn->Tick();
    EXPECT_EQ(t.view.retries.size(), 2u);  // Cancel closes the window
    EXPECT_TRUE(t.burn->Closed());
    EXPECT_TRUE(t.device->FlashWrites().empty());
}

TEST(UsbBurn, NoTimeOutBoxOnceTheWindowCloses)
{
    Burn t;
    t.config.signature = 0x1E9403;  // found on the last tick, but the wrong chip
    t.Connect([](SimulatedBootloader& device) { device.Unplug(); });
    for (int tick = 1; tick < kUsbTimeoutTicks; ++tick)
        t.burn->Tick();
    t.device->Plug();
    t.burn->Tick();
    EXPECT_EQ(t.view.errors, std::vector<std::string>{"Несоответствующий контроллер!"});
    EXPECT_TRUE(t.view.retries.empty());
    t.burn->Tick();
    EXPECT_EQ(t.view.closes, 1);
}

TEST(UsbBurn, ScenarioTooLargeAsksToLowerTheStepMaximum)
{
    for (bool yes : {true, false}) {
        Burn t;
        t.inputs.ScnData.assign(6145, 1);  // one byte more than the 6144 left
        t.view.answers = {yes};
        t.Connect();
        ASSERT_EQ(t.view.questions.size(), 1u);
        EXPECT_EQ(t.view.questions[0], MemoryShortageText(612, 1, 0));
        if (yes)
            EXPECT_EQ(t.view.maxSteps, (std::vector<std::pair<int, bool>>{{612, false}}));
        else
            EXPECT_TRUE(t.view.maxSteps.empty());
        EXPECT_TRUE(t.burn->Closed());
        EXPECT_TRUE(t.device->FlashWrites().empty());
    }
}

} // namespace
