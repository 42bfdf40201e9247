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

TEST_F(BurnWindowUsb, AFailedTransferIsResumedAtTheNextTick)
{
    Attach([](SimulatedBootloader& d) { d.FailTransfer(6); });
    ASSERT_TRUE(Run());
    ExpectProgrammed();
    EXPECT_EQ(device->Enumerations(), 2) << "one search at the start, one at the tick";
}

TEST_F(BurnWindowUsb, TheStepsBoxesAreTheWindowsBoxes)
{
    // An error box with OK.
    config.signature = 0x1E9403;
    Attach();
    ASSERT_TRUE(Run());
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].text, "Несоответствующий контроллер!");
    EXPECT_EQ(dialogs.boxes[0].caption, "Программирование контроллера");
    EXPECT_EQ(dialogs.boxes[0].flags, unsigned(MB_OK | MB_ICONERROR));

    // A question with Yes and No; Yes lowers the editor's step maximum, cutting.
    Renew();
    form->ScnData = Pattern(7000, 1);
    config = SimulatedBootloaderConfig{};
    Attach();
    dialogs.answers = {IDYES};
    ASSERT_TRUE(Run());
    ASSERT_EQ(dialogs.boxes.size(), 2u);
    EXPECT_EQ(dialogs.boxes[1].text, MemoryShortageText(306, 0, 0));
    EXPECT_EQ(dialogs.boxes[1].flags, unsigned(MB_YESNO | MB_ICONQUESTION));
    EXPECT_EQ(maxSteps, (std::vector<std::pair<int, bool>>{{306, false}}));
    EXPECT_TRUE(device->FlashWrites().empty());
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
