// The programming window's USB steps: against the simulated boot-loader behind the HID
// interface, and through the system's HID.DLL, where no boot-loader is ever attached.
#include "BurnWindowFixture.h"

#include "SimulatedBootloader.h"
#include "programming/BurnTexts.h"
#include "programming/FlashImage.h"
#include "programming/HidLibrary.h"

namespace {

class BurnWindowUsb : public BurnWindowTest {
protected:
    BurnWindowUsb()
    {
        firmware = Pattern(1000, 7);
        UseFirmware(firmware, 'A');
        form->PortName = "USB";
        form->DeviceId = "SIM-8";
        form->ModelName = "Контроллер 8";
        form->ScnData = Pattern(700, 8);
        form->EeData = Pattern(40, 9);
    }
    // The window reaches the device through the simulated boot-loader.
    void Attach(const std::function<void(SimulatedBootloader&)>& prepare = {})
    {
        device = std::make_unique<SimulatedBootloader>(config);
        if (prepare)
            prepare(*device);
        form->MakeHidDevice = [this] { return device->Access(); };
    }
    bool FlashHolds(size_t address, const Bytes& bytes) const
    {
        return std::equal(bytes.begin(), bytes.end(), device->Flash().begin() + static_cast<std::ptrdiff_t>(address));
    }
    void ExpectProgrammed()
    {
        EXPECT_TRUE(dialogs.boxes.empty()) << dialogs.boxes[0].text;
        EXPECT_TRUE(FlashHolds(0, firmware));
        EXPECT_TRUE(FlashHolds(1024, form->ScnData));
        EXPECT_TRUE(std::equal(form->EeData.begin(), form->EeData.end(), device->Eeprom().begin()));
        EXPECT_TRUE(device->LeftBootloader());
        EXPECT_TRUE(device->Faults().empty());
        EXPECT_FALSE(form->ProgressBar1->Visible());
        EXPECT_EQ(form->PortName, "USB");
    }

    BoxRecorder dialogs;
    Bytes firmware;
    SimulatedBootloaderConfig config;
    std::unique_ptr<SimulatedBootloader> device;
};

TEST_F(BurnWindowUsb, ProgramsFlashAndEepromThenLeavesTheBootloader)
{
    Attach();
    ASSERT_TRUE(Run());
    ExpectProgrammed();
    EXPECT_TRUE(form->UsbMode);
    // 8192 - 1024 bytes beside the boot-loader, 1024 of firmware: (6144 - 10) / 20 steps.
    EXPECT_EQ(maxSteps, (std::vector<std::pair<int, bool>>{{306, true}}));
    EXPECT_EQ(form->Panel1->Caption(), "Завершение...");
}

TEST_F(BurnWindowUsb, AFailedTransferAndALatePlugAreResumedAtTheTicks)
{
    Attach([](SimulatedBootloader& d) { d.FailTransfer(6); });
    ASSERT_TRUE(Run());
    ExpectProgrammed();

    TComponent::Free(form);
    form = new TFormBurn(Application);
    form->PortName = "USB";
    form->DeviceId = "SIM-8";
    form->RomFileName = firmwareFile;
    form->ScnData = Pattern(700, 8);
    form->EeData = Pattern(40, 9);
    Attach([](SimulatedBootloader& d) { d.Unplug(); });
    static SimulatedBootloader* plugLater = nullptr;
    plugLater = device.get();
    const UINT_PTR plug = SetTimer(nullptr, 0, 1300, [](HWND, UINT, UINT_PTR id, DWORD) {
        KillTimer(nullptr, id);
        plugLater->Plug();
    });
    ASSERT_TRUE(Run());
    KillTimer(nullptr, plug);
    ExpectProgrammed();
    EXPECT_GE(device->Enumerations(), 3) << "searched at every tick until plugged";
}

TEST_F(BurnWindowUsb, ControllersThatCannotBeProgrammedGetTheirBox)
{
    struct Case {
        const char* what;
        std::function<void()> setUp;
        std::string message;
        int answer;
    };
    const Case cases[] = {
        {"another chip", [this] { config.signature = 0x1E9403; }, "Несоответствующий контроллер!",
         IDOK},
        {"a scenario too long, cut", [this] { form->ScnData = Pattern(7000, 1); },
         MemoryShortageText(306, 0, 0), IDYES},
        {"no step fits", [this] { UseFirmware(Pattern(7100, 2), 'A'); },
         "Не хватает памяти контроллера для записи сценария!", IDOK},
    };
    for (const Case& c : cases) {
        config = SimulatedBootloaderConfig{};
        maxSteps.clear();
        dialogs.boxes.clear();
        dialogs.answers = {c.answer};
        c.setUp();
        Attach();
        ASSERT_TRUE(Run()) << c.what;
        ASSERT_EQ(dialogs.boxes.size(), 1u) << c.what;
        EXPECT_EQ(dialogs.boxes[0].text, c.message) << c.what;
        EXPECT_EQ(dialogs.boxes[0].caption, "Программирование контроллера") << c.what;
        EXPECT_TRUE(device->FlashWrites().empty()) << c.what;
        if (c.answer == IDYES) {
            EXPECT_EQ(dialogs.boxes[0].flags, unsigned(MB_YESNO | MB_ICONQUESTION));
            EXPECT_EQ(maxSteps, (std::vector<std::pair<int, bool>>{{306, false}})) << "Yes cuts the scenario";
        } else {
            EXPECT_EQ(dialogs.boxes[0].flags, unsigned(MB_OK | MB_ICONERROR)) << c.what;
            EXPECT_TRUE(maxSteps.empty()) << c.what;
        }
        TComponent::Free(form);
        form = new TFormBurn(Application);
        form->OnSetMaxSteps = [this](int steps, bool keep) { maxSteps.emplace_back(steps, keep); };
        form->PortName = "USB";
        form->DeviceId = "SIM-8";
        form->ChannelCount = 18;
        form->RomFileName = firmwareFile;
        form->ScnData = Pattern(700, 8);
    }
}

TEST_F(BurnWindowUsb, WithTheSystemsHidLibraryTheWindowCountsDownToTheTimeoutBox)
{
    ASSERT_TRUE(HIDLibrary().Loaded()) << "HID.DLL loads";
    std::string statusAtBox;
    dialogs.onBox = [&] { statusAtBox = form->Panel1->Caption(); };
    dialogs.answers = {IDCANCEL};
    ASSERT_TRUE(Run());
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].text, TimeoutText(true, "Контроллер 8"));
    EXPECT_EQ(dialogs.boxes[0].flags, unsigned(MB_OKCANCEL | MB_ICONERROR));
    EXPECT_EQ(statusAtBox, "Поиск контроллера..." + std::string(20, '.'));
    EXPECT_NE(form->Usb(), nullptr);
    EXPECT_TRUE(form->Usb()->Closed());
}

} // namespace
