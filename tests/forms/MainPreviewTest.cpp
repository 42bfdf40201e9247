// The preview in the main window, frames driven by the test with chosen elapsed times:
// the play range from the launch button, loops, ramps, strobe and RGB groups in the lamp
// column and in the show window, checked on the pixels of their bitmaps.
#include "MainFormFixture.h"

#include "preview/UnitShow.h"

namespace {

class MainPreviewTest : public MainFormTest {
protected:
    void SetUp() override
    {
        MainFormTest::SetUp();
        form->DestroyDrawThread();  // the test runs the frames itself
        frame.SetSize(40, 400);
        // Rows of 24 pixels, as the grid lays them out at zoom 1 scrolled to the top.
        for (int c = 0; c < kMaxChannels; ++c)
            form->ChannelRowSpans[c] = RowSpan{(c + 3) * 25 + 2, (c + 3) * 25 + 22};
        form->MsPerTimeUnit = 10.0;
        Steps(8, 10);  // 100 ms each
    }
    void Steps(int steps, uint16_t time)
    {
        form->Grid->SetColCount(1 + steps);
        form->Scn().SetCell(0, 0, static_cast<uint16_t>(1 + steps));
        for (int c = 1; c <= steps; ++c)
            form->Scn().SetCell(c, 1, time);
    }
    void Channels(int n)
    {
        form->Config.channels = n;
        form->Grid->SetRowCount(3 + n);
    }
    void Channel(int c, uint32_t colour, bool group = false)
    {
        form->Config.channelTable[c].color = colour;
        form->Config.channelTable[c].rgbGroup = group ? 1 : 0;
    }
    void Cell(int column, int channel, uint16_t code) { form->Scn().SetCell(column, 3 + channel, code); }
    void Tick(unsigned ms) { form->PreviewTick(ms, &frame, false); }
    // The middle of a channel's lamp in the lamp column.
    uint32_t Lamp(int channel) { return frame.ScanLine((channel + 3) * 25 + 12)[20] & 0xFFFFFF; }
    // The middle of generated lamp j in the show window's image.
    uint32_t ShowLamp(int j)
    {
        FormShow->RenderFrame();
        return FormShow->Composition()->ScanLine(6)[j * 12 + 6] & 0xFFFFFF;
    }

    TBitmap frame;
};

TEST_F(MainPreviewTest, PlaysLevelsRampsStrobeLoopsAndAnRgbGroup)
{
    Channels(6);
    Channel(0, 0x0000FF);
    Channel(1, 0xFFFFFF);
    Channel(2, 0x00FF00);
    Channel(3, 0x0000FF, true);
    Channel(4, 0x00FF00, true);
    Channel(5, 0xFF0000, true);
    Cell(1, 0, 128);
    Cell(1, 1, kCellRampUp);
    Cell(1, 2, kCellStrobe);
    Cell(1, 3, 128);
    Cell(1, 4, 0);
    Cell(1, 5, 64);
    Cell(2, 0, 64);
    form->Scn().loops = {LoopRecord{2, 3, 2}};
    form->Grid->SetCol(1);
    form->SpeedButtonShow->Click();
    form->SpeedButtonLaunch->Click();
    ASSERT_TRUE(form->SpeedButtonLaunch->Down());

    Tick(50);  // half of the first step
    EXPECT_EQ(form->PlayColumn, 1);
    EXPECT_EQ(Lamp(0), 0xFF0000u);
    EXPECT_EQ(Lamp(1), 0x7F7F7Fu) << "ramp up at half";
    EXPECT_EQ(Lamp(2), 0u) << "strobe dark";
    EXPECT_EQ(Lamp(4), 0xFF007Fu) << "one lamp for the group, coloured by its levels";
    EXPECT_EQ(ShowLamp(0), 0xFF0000u);
    EXPECT_EQ(ShowLamp(1), 0x7F7F7Fu);
    EXPECT_EQ(ShowLamp(2), 0u);
    EXPECT_EQ(ShowLamp(3), 0xFF007Fu) << "each channel of the group in its own colour";

    Tick(11);
    Tick(11);  // the third frame flips the strobe
    EXPECT_EQ(Lamp(2), 0x00FF00u);
    EXPECT_EQ(ShowLamp(2), 0x00FF00u);

    Tick(40);  // 112 ms: on to step 2
    EXPECT_EQ(form->PlayColumn, 2);
    EXPECT_EQ(Lamp(0), 0x7F0000u);
    EXPECT_EQ(ShowLamp(0), 0x7F0000u);

    std::vector<int> played;
    for (int i = 0; i < 4; ++i) {
        Tick(100);
        played.push_back(form->PlayColumn);
    }
    EXPECT_EQ(played, (std::vector<int>{3, 2, 3, 4})) << "the loop plays twice";
}

TEST_F(MainPreviewTest, StoppedPreviewHoldsItsColumnWhileRampsMove)
{
    Channels(1);
    Channel(0, 0xFFFFFF);
    Cell(2, 0, kCellRampDown);
    form->PlayColumn = 2;
    Tick(25);
    EXPECT_EQ(Lamp(0), 0xBFBFBFu);  // 128 - 32 = 96 of 128
    Tick(25);
    EXPECT_EQ(Lamp(0), 0x7F7F7Fu);
    Tick(300);
    EXPECT_EQ(form->PlayColumn, 2);
}

TEST_F(MainPreviewTest, LaunchPlaysTheSelectedColumnsOrTheWholeScenario)
{
    for (int c = 3; c <= 5; ++c)
        form->EditState.Marks.Set(c, 1, 1);
    form->Grid->SetCol(7);
    form->SpeedButtonLaunch->Click();
    EXPECT_EQ(form->PlayColumn, 7);
    EXPECT_EQ(form->PreviewFirstColumn, 3);
    EXPECT_EQ(form->PreviewLastColumn, 5);
    Tick(101);
    EXPECT_EQ(form->PlayColumn, 3) << "after one step play wraps into the selection";

    form->SpeedButtonLaunch->Click();  // up: nothing changes
    EXPECT_FALSE(form->SpeedButtonLaunch->Down());
    EXPECT_EQ(form->PreviewFirstColumn, 3);
    Tick(500);
    EXPECT_EQ(form->PlayColumn, 3);

    form->EditState.Marks.Set(3, 1, 0);  // one column only
    form->EditState.Marks.Set(5, 1, 0);
    form->SpeedButtonLaunch->Click();
    EXPECT_EQ(form->PreviewFirstColumn, 1);
    EXPECT_EQ(form->PreviewLastColumn, 8);
    EXPECT_EQ(form->Preview.State().AccumulatedMs, 0) << "the playback starts afresh";
}

TEST_F(MainPreviewTest, ShowButtonShowsAndHidesTheShowWindow)
{
    form->SpeedButtonShow->Click();
    ASSERT_TRUE(form->SpeedButtonShow->Down());
    EXPECT_TRUE(FormShow->Visible());
    EXPECT_TRUE(FormShow->Shown());
    EXPECT_EQ(FormShow->Caption(), "Шоу!");
    // 18 channels: 18 lamps in one row, shown four times their size.
    EXPECT_EQ(FormShow->PanelPaint->Width(), 18 * 12 * 4);
    EXPECT_EQ(FormShow->PanelPaint->Height(), 12 * 4);
    EXPECT_EQ(FormShow->Left(), 0);
    EXPECT_EQ(FormShow->Top(), 0);

    form->SpeedButtonShow->Click();
    EXPECT_FALSE(FormShow->Visible());
    EXPECT_FALSE(FormShow->Shown());

    form->SpeedButtonShow->Click();
    FormShow->Close();  // its own close box
    EXPECT_FALSE(form->SpeedButtonShow->Down());
    EXPECT_FALSE(FormShow->Shown());
}

} // namespace
