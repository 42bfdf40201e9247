// The gradient dialog, and the main window's gradient and colour tools over marked
// cells, with the colour dialog answered by the test.
#include <gtest/gtest.h>

#include <functional>

#include "MainFormFixture.h"
#include "setup/UnitGradient.h"
#include "ui/ExtCtrls.h"

namespace {

TEST(GradientDialog, PresetsAreLimitedAndTheEditsTakeDigitsOnly)
{
    TFormGradient* d = new TFormGradient(Application);
    d->Maximum = 64;
    d->BeginPreset = -1;
    d->EndPreset = -1;
    d->FormShow(d);
    EXPECT_EQ(d->EditMin->Text(), "0");
    EXPECT_EQ(d->EditMax->Text(), "64");
    EXPECT_EQ(d->TrackBarEndValue->Max(), 64);

    d->Maximum = 128;
    d->BeginPreset = kCellRampUp;
    d->EndPreset = 10;
    d->FormShow(d);
    EXPECT_EQ(d->EditMin->Text(), "128");
    EXPECT_EQ(d->TrackBarEndValue->Position(), 10);

    auto type = [&](TEdit* edit, char key) {
        edit->OnKeyPress(edit, key);
        return key;
    };
    EXPECT_EQ(type(d->EditMin, 'a'), 0);
    EXPECT_EQ(type(d->EditMin, '5'), '5');
    EXPECT_EQ(d->EditMin->Color(), clWindow);
    d->EditMax->SetText("3");
    type(d->EditMax, 27);  // Esc puts the value back
    EXPECT_EQ(d->EditMax->Text(), "10");
    d->EditMin->SetText("500");
    type(d->EditMin, 13);  // Enter takes it, limited
    EXPECT_EQ(d->BeginValue, 128);
    EXPECT_EQ(d->EditMin->Text(), "128");
    EXPECT_EQ(d->EditMin->Color(), clBtnFace);

    d->TrackBarBeginValue->SetPosition(40);
    EXPECT_EQ(d->EditMin->Text(), "40");
    d->EditMax->SetText("x");
    d->SpeedButtonOk->Click();
    EXPECT_EQ(d->ModalResult, mrOk);
    EXPECT_EQ(d->BeginValue, 40);
    EXPECT_EQ(d->EndValue, 10) << "no number keeps the value";
    TComponent::Free(d);
}

class MainToolsTest : public MainFormTest {
protected:
    void SetUp() override
    {
        MainFormTest::SetUp();
        EnablePushing();
    }
    void Mark(int column, int row)
    {
        form->EditState.Marks.Set(column, row, 1);
        form->EditState.Marks.Set(column, 1, 1);
    }
    // Clicks the gradient button; the dialog, once shown, is answered by answer.
    void Gradient(const std::function<void(TFormGradient&)>& answer)
    {
        TTimer answerer(nullptr);
        answerer.SetInterval(1);
        answerer.OnTimer = [&](TObject*) {
            if (!FormGradient->Visible())
                return;
            answerer.SetEnabled(false);
            answer(*FormGradient);
        };
        form->SpeedButtonGradientClick(form->SpeedButtonGradient);
    }
};

TEST_F(MainToolsTest, TheGradientButtonPresetsFromTheMarkedCellsAndWritesWhatIsAccepted)
{
    for (int c = 1; c <= 5; ++c)
        Mark(c, 4);
    form->Scn().SetCell(1, 4, kCellRampUp);
    form->Scn().SetCell(5, 4, 10);
    Gradient([](TFormGradient& d) { d.SpeedButtonCancel->Click(); });
    EXPECT_FALSE(form->Modified) << "cancelled";
    std::string presets;
    Gradient([&](TFormGradient& d) {
        presets = d.EditMin->Text() + " " + d.EditMax->Text();
        d.EditMin->SetText("0");
        d.EditMax->SetText("128");
        d.SpeedButtonOk->Click();
    });
    EXPECT_EQ(presets, "128 10");
    const int expected[] = {0, 32, 64, 96, 128};
    for (int c = 1; c <= 5; ++c)
        EXPECT_EQ(form->Scn().Cell(c, 4), expected[c - 1]) << c;
    form->Undo();
    EXPECT_EQ(form->Scn().Cell(1, 4), kCellRampUp);

    // One marked step is no gradient: nothing is written, nothing is pushed.
    form->ClearUndo();
    form->ClearSelection();
    Mark(3, 5);
    form->ApplyGradient(0, 128);
    EXPECT_FALSE(form->SpeedButtonUndo->Enabled());
}

TEST_F(MainToolsTest, TheColourToolShowsTheGroupsColourAndWritesTheChosenOne)
{
    for (int ch : {0, 1, 2, 6, 7, 8})
        form->Config.channelTable[ch].rgbGroup = 1;  // rows 3-5 and 9-11
    form->Grid->SetCol(2);
    form->Grid->SetRow(4);
    form->Scn().SetCell(2, 3, 64);
    form->Scn().SetCell(2, 4, 128);
    Mark(3, 10);
    Mark(3, 7);  // channel 4: no group
    form->Scn().SetCell(3, 7, 33);

    dialogs.colourAnswers = {0x00FF80};  // OK on the colour shown
    form->SpeedButtonColorRGBClick(form->SpeedButtonColorRGB);
    ASSERT_EQ(dialogs.colourRequests.size(), 1u);
    EXPECT_EQ(dialogs.colourRequests[0].initial, 0x00FF80u);
    std::vector<uint32_t> custom = {0xFFFFFF, 0x0000FF, 0x00FF00, 0xFF0000, 0x00FFFF, 0xFFFF00,
                                    0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(dialogs.colourRequests[0].customColors, custom);
    EXPECT_EQ(form->Scn().Cell(2, 3), 64) << "the levels shown come back unchanged";
    EXPECT_EQ(form->Scn().Cell(2, 4), 128);
    EXPECT_EQ(form->Scn().Cell(3, 9), 64) << "and go to the marked group";

    dialogs.colourAnswers = {0x0000FF};  // pure red
    form->SpeedButtonColorRGBClick(form->SpeedButtonColorRGB);
    EXPECT_EQ(form->Scn().Cell(2, 3), 128) << "255 is the maximum level";
    EXPECT_EQ(form->Scn().Cell(2, 4), 0);
    EXPECT_EQ(form->Scn().Cell(3, 9), 128);
    EXPECT_EQ(form->Scn().Cell(3, 7), 33) << "a marked cell outside a group is left alone";

    form->Grid->SetRow(7);  // the current channel outside a group
    form->ApplyRgbColour(0x00FF00);
    EXPECT_EQ(form->Scn().Cell(2, 3), 128);
    EXPECT_EQ(form->Scn().Cell(3, 10), 128);
}

} // namespace
