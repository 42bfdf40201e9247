// The settings file: what the main window writes when it closes and reads when it
// starts.
#include "MainFormFixture.h"

#include <fstream>

#include "preview/UnitShow.h"
#include "setup/ChannelSetup.h"
#include "support/BmpFile.h"
#include "support/ReadWholeFile.h"
#include "support/TempDir.h"

namespace {

class MainSettingsTest : public MainFormTest {
protected:
    // Destroys the window (which saves the options) and starts a new one, on the
    // settings file as it then is, or as given.
    void Restart(const std::string* settings = nullptr)
    {
        TComponent::Free(form);
        if (settings)
            std::ofstream(SettingsFile(), std::ios::binary) << *settings;
        form = new TFormMain(Application);
        form->FormActivate(form);
    }
    void Restart(const std::string& settings) { Restart(&settings); }
};

TEST_F(MainSettingsTest, AFirstRunWritesTheDefaults)
{
    const int steps = form->StepMaximum;
    TComponent::Free(form);
    std::string expected = "[OPTIONS]\r\nLastOpenFile=Новый.scn\r\nCtrFile=\r\nCtrType=Qarto18\r\nComPort=COM1\r\n"
                           "TimesLock=0\r\nTimeInSec=0\r\nMaxSteps=" +
                           std::to_string(steps) + "\r\nChannels=18\r\nZoom=1\r\nPicName=\r\n\r\n[CHANNELS]\r\n";
    for (int i = 0; i < 18; ++i)
        expected += "Name" + std::to_string(i) + "=Кан. " + std::to_string(i + 1) + "\r\n";
    for (int i = 0; i < 18; ++i)
        expected += "Group" + std::to_string(i) + "=0\r\n";
    for (int i = 0; i < 18; ++i)
        expected += "Color" + std::to_string(i) + "=16777215\r\n";
    EXPECT_EQ(ReadWholeFile(SettingsFile()), expected);
    form = new TFormMain(Application);
}

TEST_F(MainSettingsTest, OptionsAndChannelsSurviveARestart)
{
    form->Config.channels = 4;
    CopyText(form->Config.modelName, "Brevan8");
    CopyText(form->Config.channelTable[2].name, "Стробы");
    form->Config.channelTable[3].color = 0x00FF00;
    SetRgbGroup(form->Config, 3, true);
    CopyText(form->Config.pictureFile, form->ProgramFolder + "Pics\\stage.bmp");
    CopyText(form->Config.setupFile, "D:\\sets\\hall.ctr");
    form->SerialPortName = "COM7";
    form->Zoom = 0.7f;
    form->CheckBoxTimeInSec->SetChecked(true);
    Restart();
    EXPECT_STREQ(form->Config.modelName, "Brevan8");
    EXPECT_EQ(form->Config.modelIndex, 5u);
    EXPECT_EQ(form->Config.paramRow, 2u);
    EXPECT_EQ(form->Params.levelMax, 64);
    EXPECT_STREQ(form->Config.deviceId, "Brevan81");
    EXPECT_STREQ(form->Config.firmwareFile, "Brevan81um.rom");
    EXPECT_EQ(form->Config.channels, 4);
    EXPECT_EQ(form->Grid->RowCount(), 3 + 4);
    EXPECT_STREQ(form->Config.channelTable[2].name, "Стробы");
    EXPECT_EQ(form->Config.channelTable[3].color, 0x00FF00u);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(form->Config.channelTable[i].rgbGroup, 1u);
        EXPECT_EQ(form->Config.channelTable[i].color, kRgbGroupColours[i]);
    }
    EXPECT_STREQ(form->Config.pictureFile, (form->ProgramFolder + "Pics\\stage.bmp").c_str());
    EXPECT_STREQ(form->Config.setupFile, "D:\\sets\\hall.ctr");
    EXPECT_EQ(form->SerialPortName, "COM7");
    EXPECT_EQ(form->ComboBoxComNumber->Text(), "USB") << "Brevan8 is a USB controller";
    EXPECT_EQ(form->Zoom, 0.7f);
    EXPECT_TRUE(form->CheckBoxTimeInSec->Checked());
    const std::string text = ReadWholeFile(SettingsFile());
    EXPECT_NE(text.find("\r\nPicName=Pics\\stage.bmp\r\n"), std::string::npos) << "relative inside the program folder";
    EXPECT_NE(text.find("\r\nZoom=0.699999988079071\r\n"), std::string::npos);

    // The port FILE is never stored: the port before it stays.
    form->PortName = "FILE";
    Restart();
    EXPECT_EQ(form->SerialPortName, "COM7");
}

TEST_F(MainSettingsTest, OddValuesAreClampedOrFallBack)
{
    Restart("[OPTIONS]\r\nCtrType=Unknown\r\nChannels=700\r\nMaxSteps=0\r\nZoom=abc\r\n[CHANNELS]\r\nName639=Last\r\n");
    EXPECT_EQ(form->Config.modelIndex, kUnknownModel);
    EXPECT_EQ(form->Config.paramRow, 0u);
    EXPECT_STREQ(form->Config.deviceId, "");
    EXPECT_EQ(form->Config.typeLetter, '\0');
    EXPECT_EQ(form->Config.channels, 640);
    EXPECT_STREQ(form->Config.channelTable[639].name, "Last");
    EXPECT_EQ(form->Zoom, 1.0f);
    EXPECT_GE(form->StepMaximum, 1);
}

TEST_F(MainSettingsTest, OnlyWholeRgbGroupsAreReadSoEveryLampStandsBesideItsRow)
{
    // Edited by hand: a group shifted onto channels 1-3, a whole one on 6-8 in colours of
    // its own, and one cut short by the count on channel 9.
    Restart("[OPTIONS]\r\nChannels=10\r\n[CHANNELS]\r\n"
            "Group1=1\r\nGroup2=1\r\nGroup3=1\r\nColor1=255\r\nColor2=65280\r\nColor3=16711680\r\n"
            "Group6=1\r\nGroup7=1\r\nGroup8=1\r\nColor6=65535\r\nColor7=16776960\r\nColor8=16711935\r\n"
            "Group9=1\r\nColor9=255\r\n");
    const ChannelRecord* ch = form->Config.channelTable;
    for (int c : {1, 2, 3, 9}) {
        EXPECT_EQ(ch[c].rgbGroup, 0u) << "channel " << c;
        EXPECT_EQ(ch[c].color, kChannelWhite) << "channel " << c << ", as when a group is undone";
    }
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(ch[6 + i].rgbGroup, 1u);
        EXPECT_EQ(ch[6 + i].color, kRgbGroupColours[i]) << "a group's channels are red, green and blue";
    }

    // The lamp column beside rows of 24 pixels: channel 1 and 9 full, the group green.
    form->DestroyDrawThread();
    TBitmap frame;
    frame.SetSize(40, 400);
    for (int c = 0; c < 10; ++c)
        form->ChannelRowSpans[c] = RowSpan{(c + 3) * 25 + 2, (c + 3) * 25 + 22};
    form->MsPerTimeUnit = 10.0;
    form->PlayColumn = 1;
    form->Scn().SetCell(1, 1, 10);
    form->Scn().SetCell(1, 3 + 1, 128);
    form->Scn().SetCell(1, 3 + 7, 128);
    form->Scn().SetCell(1, 3 + 9, 128);
    form->PreviewTick(20, &frame, false);
    auto lamp = [&frame](int channel) { return frame.ScanLine((channel + 3) * 25 + 12)[20] & 0xFFFFFF; };
    EXPECT_EQ(lamp(1), 0xFFFFFFu);
    EXPECT_EQ(lamp(2), 0u) << "a lamp of its own, off";
    EXPECT_EQ(lamp(3), 0u);
    for (int c = 6; c < 9; ++c)
        EXPECT_EQ(lamp(c), 0x00FF00u) << "one lamp across the group's rows";
    EXPECT_EQ(lamp(9), 0xFFFFFFu);
}

TEST_F(MainSettingsTest, WindowPositionsAreStoredInTheNormalStateAndRestored)
{
    form->Show();  // placed on the screen first, as at start-up
    form->SetBounds(40, 30, 1040, 730);
    form->SetWindowState(wsMaximized);
    ASSERT_EQ(form->WindowState(), wsMaximized);
    ASSERT_NE(FormShow, nullptr);
    FormShow->SetBounds(15, 25, 320, 240);
    TCloseAction action = caFree;
    form->FormClose(form, action);
    const std::string text = ReadWholeFile(SettingsFile());
    EXPECT_EQ(text, "[POSITION]\r\nWindowState=2\r\nTop=30\r\nLeft=40\r\nHeight=730\r\nWidth=1040\r\n"
                    "ShowTop=25\r\nShowLeft=15\r\nShowHeight=240\r\nShowWidth=320\r\n");
    form->Hide();
    Restart();  // not shown: the state waits for the window to be shown
    EXPECT_EQ(form->Left(), 40);
    EXPECT_EQ(form->Top(), 30);
    EXPECT_EQ(form->Width(), 1040);
    EXPECT_EQ(form->Height(), 730);
    EXPECT_EQ(form->WindowState(), wsMaximized);
    EXPECT_EQ(FormShow->Top(), 25);
    EXPECT_EQ(FormShow->Left(), 15);
    EXPECT_EQ(FormShow->StoredHeight, 240);
    EXPECT_EQ(FormShow->StoredWidth, 320);
}

TEST_F(MainSettingsTest, StoredWindowsNotWithinTheWorkAreaAreFittedToItAndNotStoredAgain)
{
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    const int workWidth = work.right - work.left, workHeight = work.bottom - work.top;
    auto number = [](long value) { return std::to_string(value); };
    Restart("[POSITION]\r\nLeft=" + number(work.right + 220) + "\r\nTop=-40\r\nHeight=1\r\nWidth=0\r\n");
    EXPECT_EQ(form->Width(), 1024) << "the design size";
    EXPECT_EQ(form->Height(), 720);
    EXPECT_EQ(form->Left(), work.right - 1024) << "moved onto the screen";
    EXPECT_EQ(form->Top(), work.top);
    TCloseAction action = caFree;
    form->FormClose(form, action);
    EXPECT_NE(ReadWholeFile(SettingsFile()).find("\nHeight=720\r"), std::string::npos) << "the damaged 1 is gone";

    // A window laid over the whole work area sticks out by its frame: it stays.
    Restart("[POSITION]\r\nLeft=" + number(work.left - 8) + "\r\nTop=" + number(work.top - 8) + "\r\nWidth=" +
            number(workWidth + 16) + "\r\nHeight=" + number(workHeight + 16) + "\r\n");
    EXPECT_EQ(form->Left(), work.left - 8);
    EXPECT_EQ(form->Top(), work.top - 8);
    EXPECT_EQ(form->Width(), workWidth + 16);
    EXPECT_EQ(form->Height(), workHeight + 16);

    // Wider than the work area and past its bottom: shrunk to it and moved onto it. The
    // show window's kept place and size (a picture layout takes them) likewise.
    TempDir dir;
    const std::string picture =
        dir.Write("layout.bmp", Bmp24(3, 4, {0, 0, 0, 0, 0, 0, 0, 0, 0xFFFFFF, 0, 0, 0}));
    Restart("[OPTIONS]\r\nPicName=" + picture + "\r\n[POSITION]\r\nLeft=100\r\nTop=" + number(work.bottom - 600) +
            "\r\nWidth=" + number(workWidth + 300) + "\r\nHeight=720\r\nShowLeft=" + number(work.right - 50) +
            "\r\nShowTop=-300\r\nShowWidth=" + number(workWidth + 500) + "\r\nShowHeight=300\r\n");
    EXPECT_EQ(form->Left(), work.left);
    EXPECT_EQ(form->Width(), workWidth);
    EXPECT_EQ(form->Top(), work.bottom - 720);
    EXPECT_EQ(form->Height(), 720);
    form->SpeedButtonShow->Click();
    ASSERT_TRUE(FormShow->Shown());
    EXPECT_EQ(FormShow->Left(), work.left);
    EXPECT_EQ(FormShow->Top(), work.top);
    EXPECT_EQ(FormShow->Width(), workWidth);
    EXPECT_EQ(FormShow->Height(), 300);

    // Kept where it lies within the work area, though the picture alone (600 pixels
    // wide) would not fit there.
    std::vector<uint32_t> wide(601 * 4, 0);
    wide[2 * 601 + 600] = 0xFFFFFF;  // the marker
    Restart("[OPTIONS]\r\nPicName=" + dir.Write("wide.bmp", Bmp24(601, 4, wide)) + "\r\n[POSITION]\r\nShowLeft=" +
            number(work.right - 250) + "\r\nShowTop=100\r\nShowWidth=200\r\nShowHeight=150\r\n");
    form->SpeedButtonShow->Click();
    EXPECT_EQ(FormShow->Left(), work.right - 250);
    EXPECT_EQ(FormShow->Top(), 100);
    EXPECT_EQ(FormShow->Width(), 200);

    // The generated layout of 640 channels (240 x 384 pixels) is scaled down to the work
    // area's height, keeping its aspect, where four times its size would not fit.
    form->SpeedButtonShow->Click();
    form->Config.pictureFile[0] = 0;
    form->Config.channels = 640;
    form->SpeedButtonShow->Click();
    ASSERT_TRUE(FormShow->Shown());
    EXPECT_EQ(FormShow->Height(), workHeight);
    EXPECT_LE(FormShow->Width(), workWidth);
    EXPECT_EQ(FormShow->PanelPaint->Width(), FormShow->PanelPaint->Height() * 240 / 384);
    form->SpeedButtonShow->Click();
}

TEST_F(MainSettingsTest, ASettingsFileThatCannotBeWrittenIsReportedOnce)
{
    form->SettingsFileName = form->ProgramFolder + "no-such-folder\\pelvor.ini";
    TCloseAction action = caFree;
    form->FormClose(form, action);
    TComponent::Free(form);
    form = nullptr;
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].flags, static_cast<unsigned>(MB_OK | MB_ICONSTOP));
    form = new TFormMain(Application);
}

} // namespace
