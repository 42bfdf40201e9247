// The programming command of the main window: range decision, C-header export and the
// request handed to the programming window.
#include "MainFormFixture.h"

#include <windows.h>

#include <fstream>

#include "programming/UnitSetBurnChannels.h"
#include "support/ReadWholeFile.h"
#include "support/TempDir.h"
#include "ui/SysUtils.h"

namespace {

class MainBurnTest : public MainFormTest {
protected:
    void SetUp() override
    {
        MainFormTest::SetUp();
        RecordRuns();
        // A small scenario: 3 steps, one level, a label on step 1.
        form->Grid->SetColCount(4);
        form->Scn().SetCell(0, 0, 4);
        form->Scn().SetCell(2, 3, 128);
        form->Scn().labels = {1};
    }
    // Programming runs are recorded; a run ends on nextPortName when one is given.
    void RecordRuns()
    {
        form->RunProgrammingWindow = [this](BurnInputs& inputs) {
            requests.push_back(inputs);
            if (!nextPortName.empty())
                inputs.PortName = nextPortName;
        };
    }
    int Steps() const { return form->Grid->ColCount() - 1; }
    // A click of the left mouse button on a button of the channel-range window, handled
    // once that window runs its modal loop.
    static void PostClick(TControl* button)
    {
        const LPARAM at = MAKELPARAM(button->Left() + button->Width() / 2, button->Top() + button->Height() / 2);
        PostMessageW(FormSetBurnChannels->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
        PostMessageW(FormSetBurnChannels->Handle(), WM_LBUTTONUP, 0, at);
    }

    std::vector<BurnInputs> requests;
    std::string nextPortName;
};

TEST_F(MainBurnTest, FilePortWritesTheHeaderWhereTheUserChooses)
{
    TempDir dir;
    std::string target = dir.File("pelvor-burn-test.h");
    form->PortName = "FILE";
    dialogs.fileAnswers = {target};
    form->SpeedButtonBurn->Click();

    ASSERT_EQ(dialogs.fileRequests.size(), 1u);
    const FileDialogRequest& r = dialogs.fileRequests[0];
    EXPECT_TRUE(r.save);
    EXPECT_EQ(r.fileName, "Новый.h");
    EXPECT_EQ(r.defaultExt, "h");
    EXPECT_EQ(r.filter, "Файл *.h|*.h|Все файлы|*.*");
    EXPECT_EQ(r.initialDir, form->ProgramFolder);
    EXPECT_TRUE(requests.empty()) << "no programming window for the header";
    EXPECT_EQ(form->PortName, "FILE");

    std::string text = ReadWholeFile(target);
    int speed = 80 + 10 - form->TrackBarSpeed->Position();
    EXPECT_EQ(text.rfind("#define FIXEDSCN\neeprom unsigned char SpeedEE = " + std::to_string(speed) +
                             ";\nflash char TestScnData[] = {\n0x53,0x43,0x4e,0x31,0x12,",
                         0),
              0u)
        << text.substr(0, 120);
    EXPECT_EQ(text.substr(text.size() - 3), "\n};");
}

TEST_F(MainBurnTest, CancellingTheSaveDialogWritesNothing)
{
    form->PortName = "FILE";
    form->SpeedButtonBurnClick(form->SpeedButtonBurn);
    EXPECT_EQ(dialogs.fileRequests.size(), 1u);
    EXPECT_TRUE(requests.empty());
}

TEST_F(MainBurnTest, SerialControllerGetsThePortAndBothBuffers)
{
    form->Config.deviceId[0] = '\0';  // the first model is a USB one
    form->PortName = "COM5";
    nextPortName = "COM6";
    form->SpeedButtonBurnClick(form->SpeedButtonBurn);
    ASSERT_EQ(requests.size(), 1u);
    const BurnInputs& r = requests[0];
    EXPECT_EQ(r.PortName, "COM5");
    EXPECT_TRUE(r.DeviceId.empty());
    EXPECT_TRUE(r.ModelName.empty());
    EXPECT_EQ(r.ChannelCount, 18);
    EXPECT_EQ(r.LabelCount, 1);
    EXPECT_EQ(r.ScnData.size(), static_cast<size_t>((18 + 2) * Steps() + 10 + 2));
    EXPECT_EQ(r.EeData.size(), 33u);
    EXPECT_EQ(ExtractFileName(r.RomFileName), "Qarto186umb.rom");
    EXPECT_EQ(form->PortName, "COM6") << "the window's port name is taken back";
    EXPECT_EQ(form->ComboBoxComNumber->Text(), "COM6");
}

TEST_F(MainBurnTest, UsbControllerIsNamedByItsDeviceId)
{
    std::strcpy(form->Config.deviceId, "Qarto186");
    form->PortName = "COM5";
    form->SpeedButtonBurnClick(form->SpeedButtonBurn);
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].PortName, "USB");
    EXPECT_EQ(requests[0].DeviceId, "Qarto186");
    EXPECT_EQ(requests[0].ModelName, "Qarto18");
    EXPECT_EQ(form->PortName, "USB");
    EXPECT_EQ(form->ComboBoxComNumber->Text(), "USB");
}

// The port box names where programming goes: a serial controller's the serial port
// chosen last, whatever a USB controller's box showed or its run used meanwhile; the
// settings keep that serial port.
TEST_F(MainBurnTest, ASerialControllerIsProgrammedOnTheSerialPortItsBoxShows)
{
    const auto setUp = [this](const char* deviceId) {
        form->RunSetupDialog = [deviceId](ControllerConfig& c) {
            CopyText(c.deviceId, deviceId);
            return static_cast<int>(mrOk);
        };
        form->SpeedButtonSetup->Click();
    };
    const auto box = [this] { return form->ComboBoxComNumber->Text(); };

    // A serial controller, its port typed into the box.
    setUp("485");
    HWND text = FindWindowExW(form->ComboBoxComNumber->Handle(), nullptr, L"Edit", nullptr);
    ASSERT_NE(text, nullptr) << "the box's text part";
    SendMessageW(text, EM_SETSEL, 0, -1);
    for (wchar_t c : std::wstring(L"COM7"))
        SendMessageW(text, WM_CHAR, c, 0);
    ASSERT_EQ(form->PortName, "COM7");

    // A USB controller set up, then the serial one again.
    setUp("Qarto186");
    EXPECT_EQ(box(), "USB");
    setUp("485");
    EXPECT_EQ(box(), "COM7");
    form->SpeedButtonBurn->Click();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].PortName, "COM7");

    // A USB run, then the serial controller again, whose run ends on the port the
    // connection names.
    setUp("Qarto186");
    form->SpeedButtonBurn->Click();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[1].PortName, "USB");
    EXPECT_EQ(requests[1].DeviceId, "Qarto186");
    EXPECT_EQ(box(), "USB");
    setUp("485");
    EXPECT_EQ(box(), "COM7");
    nextPortName = "COM8";
    form->SpeedButtonBurn->Click();
    ASSERT_EQ(requests.size(), 3u);
    EXPECT_EQ(requests[2].PortName, "COM7");
    EXPECT_TRUE(requests[2].DeviceId.empty());
    EXPECT_EQ(box(), "COM8");
    setUp("Qarto186");
    TComponent::Free(form);
    EXPECT_NE(ReadWholeFile(SettingsFile()).find("\r\nComPort=COM8\r\n"), std::string::npos)
        << "the serial port is stored, not what the USB controller's box shows";

    // A settings file naming "USB" as the port of a serial controller (a model in no
    // row of the table has no device id): the box shows the first port listed.
    std::ofstream(SettingsFile(), std::ios::binary) << "[OPTIONS]\r\nCtrType=Serial8\r\nComPort=USB\r\nChannels=8\r\n";
    form = new TFormMain(Application);
    form->FormActivate(form);
    RecordRuns();
    nextPortName.clear();
    auto& ports = form->ComboBoxComNumber->Items();
    const std::string first = ports.Count() > 0 ? ports[0] : "";
    EXPECT_EQ(box(), first) << "with no port listed the box is empty and the port component asks";
    form->BuildControllerImage(0, 8);
    ASSERT_EQ(requests.size(), 4u);
    EXPECT_EQ(requests[3].PortName, first);
    EXPECT_NE(requests[3].PortName, "USB");
    TComponent::Free(form);
    EXPECT_NE(ReadWholeFile(SettingsFile()).find("\r\nComPort=" + first + "\r\n"), std::string::npos);
    form = new TFormMain(Application);
}

TEST_F(MainBurnTest, MoreChannelsThanTheModelGoThroughTheRangeWindow)
{
    form->Grid->SetRowCount(3 + 40);
    PostClick(FormSetBurnChannels->SpeedButtonExit);
    form->SpeedButtonBurnClick(form->SpeedButtonBurn);
    EXPECT_TRUE(requests.empty());
    EXPECT_EQ(FormSetBurnChannels->FirstCh, 0);
    EXPECT_EQ(FormSetBurnChannels->EndCh, 40);
    EXPECT_EQ(FormSetBurnChannels->TotalCh, 40);
    EXPECT_EQ(FormSetBurnChannels->CtrlName, "Qarto18");
    EXPECT_EQ(FormSetBurnChannels->CtrlChannels, 18);

    // Exactly as many channels as the model drives programs directly.
    form->Grid->SetRowCount(3 + 18);
    form->SpeedButtonBurnClick(form->SpeedButtonBurn);
    EXPECT_EQ(requests.size(), 1u);
}

// Ends the range window's modal loop should the posted clicks not do it.
void CALLBACK GiveUp(HWND, UINT, UINT_PTR, DWORD) { FormSetBurnChannels->ModalResult = mrCancel; }

TEST_F(MainBurnTest, TheRangeWindowProgramsOneControllerAfterTheOther)
{
    form->Grid->SetRowCount(3 + 40);
    form->Scn().SetCell(2, 3 + 18, 77);  // channel 19: the first of the second controller
    for (int i = 0; i < 3; ++i)
        PostClick(FormSetBurnChannels->SpeedButtonBurn);
    const UINT_PTR timer = SetTimer(nullptr, 0, 10000, GiveUp);
    form->SpeedButtonBurnClick(form->SpeedButtonBurn);
    KillTimer(nullptr, timer);

    ASSERT_EQ(requests.size(), 3u) << "one programming run per controller, then the window closed";
    const size_t step2 = 10 + (2 + 18);  // step 2's record: its time, then its channels
    EXPECT_EQ(requests[0].ChannelCount, 18);
    EXPECT_EQ(requests[0].ScnData[step2 + 2], 128) << "channel 1";
    EXPECT_EQ(requests[1].ChannelCount, 18);
    EXPECT_EQ(requests[1].ScnData[step2 + 2], 77) << "channel 19";
    EXPECT_EQ(requests[2].ChannelCount, 4);
    EXPECT_EQ(requests[2].ScnData[4], 4);
    EXPECT_FALSE(FormSetBurnChannels->Showing());
}

TEST_F(MainBurnTest, ARangeWiderThanOneImageIsRefused)
{
    form->Grid->SetRowCount(3 + 300);
    form->BuildControllerImage(0, 256);
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].text, "Неверно указан диапазон каналов для загрузки!");
    EXPECT_EQ(dialogs.boxes[0].caption, "Программирование контроллера");
    EXPECT_TRUE(requests.empty());
    form->BuildControllerImage(0, 255);
    EXPECT_EQ(requests.size(), 1u);
}

} // namespace
