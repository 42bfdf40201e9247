// The gradient dialog, and the main window's gradient and colour tools over marked
// cells, with the colour dialog answered by the test.
#include <gtest/gtest.h>

#include <functional>

#include "MainFormFixture.h"
#include "setup/UnitGradient.h"
#include "ui/ExtCtrls.h"

namespace {

class GradientDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        dialog = new TFormGradient(Application);
        dialog->Maximum = 128;
    }
    void TearDown() override { TComponent::Free(dialog); }
    void Type(TEdit* edit, char key, char expected)
    {
        char k = key;
        edit->OnKeyPress(edit, k);
        EXPECT_EQ(k, expected) << "key " << int(key);
    }
    TFormGradient* dialog = nullptr;
};

TEST_F(GradientDialogTest, PresetsAreLimitedToTheMaximumAndNegativeOnesGiveTheFullRange)
{
    dialog->Maximum = 128;
    dialog->BeginPreset = 129;  // a ramp-up cell
    dialog->EndPreset = 10;
    dialog->FormShow(dialog);
    EXPECT_EQ(dialog->BeginValue, 128);
    EXPECT_EQ(dialog->EndValue, 10);
    EXPECT_EQ(dialog->EditMin->Text(), "128");
    EXPECT_EQ(dialog->EditMax->Text(), "10");
    EXPECT_EQ(dialog->TrackBarBeginValue->Position(), 128);
    EXPECT_EQ(dialog->TrackBarEndValue->Position(), 10);

    dialog->Maximum = 64;
    dialog->BeginPreset = -1;
    dialog->EndPreset = -1;
    dialog->FormShow(dialog);
    EXPECT_EQ(dialog->BeginValue, 0);
    EXPECT_EQ(dialog->EndValue, 64);
    EXPECT_EQ(dialog->TrackBarEndValue->Max(), 64);
    EXPECT_EQ(dialog->TrackBarBeginValue->Max(), 64);
    EXPECT_EQ(dialog->EditMax->Text(), "64");
}

TEST_F(GradientDialogTest, EditsTakeDigitsOnlyAndLimitWhatIsTyped)
{
    dialog->BeginPreset = 5;
    dialog->EndPreset = 7;
    dialog->FormShow(dialog);
    dialog->EditMinEnter(dialog->EditMin);
    EXPECT_EQ(dialog->EditMin->Color(), clWindow);
    Type(dialog->EditMin, 'a', 0);
    Type(dialog->EditMin, '-', 0);
    Type(dialog->EditMin, '5', '5');
    Type(dialog->EditMin, 8, 8);

    dialog->EditMin->SetText("500");
    Type(dialog->EditMin, 13, 13);  // Enter applies
    EXPECT_EQ(dialog->BeginValue, 128);
    EXPECT_EQ(dialog->EditMin->Text(), "128");
    EXPECT_EQ(dialog->EditMin->Color(), clBtnFace);
    EXPECT_EQ(dialog->TrackBarBeginValue->Position(), 128);

    dialog->EditMax->SetText("3");
    Type(dialog->EditMax, 27, 27);  // Esc restores the stored value
    EXPECT_EQ(dialog->EditMax->Text(), "7");
    EXPECT_EQ(dialog->EndValue, 7);

    dialog->EditMax->SetText("");
    dialog->EditMaxExit(dialog->EditMax);
    EXPECT_EQ(dialog->EndValue, 7) << "no number keeps the value";
}

TEST_F(GradientDialogTest, TheBarsShowTheirPositionInTheEditsAndOkTakesTheEdits)
{
    dialog->BeginPreset = 0;
    dialog->EndPreset = 128;
    dialog->FormShow(dialog);
    dialog->TrackBarBeginValue->SetPosition(40);
    EXPECT_EQ(dialog->EditMin->Text(), "40");
    EXPECT_EQ(dialog->BeginValue, 0) << "the value is taken from the edit at OK";
    dialog->EditMax->SetText("90");
    dialog->SpeedButtonOk->Click();
    EXPECT_EQ(dialog->ModalResult, mrOk);
    EXPECT_EQ(dialog->BeginValue, 40);
    EXPECT_EQ(dialog->EndValue, 90);
    dialog->SpeedButtonCancel->Click();
    EXPECT_EQ(dialog->ModalResult, mrCancel);
}

class MainToolsTest : public MainFormTest {
protected:
    void Mark(int column, int row)
    {
        form->SelectionMark(column, row) = 1;
        form->SelectionMark(column, 1) = 1;
    }
    // Runs action while the gradient dialog, once shown, is answered by answer.
    void WithGradientDialog(const std::function<void()>& action, const std::function<void(TFormGradient&)>& answer)
    {
        TTimer answerer(nullptr);
        answerer.SetInterval(1);
        answerer.OnTimer = [&](TObject*) {
            if (!FormGradient->Visible())
                return;
            answerer.SetEnabled(false);
            ++gradientShown;
            answer(*FormGradient);
        };
        action();
    }
    void RgbGroup(int firstChannel)
    {
        for (int ch = firstChannel; ch < firstChannel + 3; ++ch)
            form->Config.channelTable[ch].rgbGroup = 1;
    }
    int gradientShown = 0;
};

TEST_F(MainToolsTest, TheGradientButtonPresetsFromTheMarkedCellsAndWritesWhatIsAccepted)
{
    EnablePushing();
    for (int c = 1; c <= 5; ++c)
        Mark(c, 4);
    form->Scn().SetCell(1, 4, kCellRampUp);
    form->Scn().SetCell(5, 4, 10);
    std::string presetMin, presetMax;
    WithGradientDialog([&] { form->SpeedButtonGradientClick(form->SpeedButtonGradient); },
                       [&](TFormGradient& d) {
                           presetMin = d.EditMin->Text();
                           presetMax = d.EditMax->Text();
                           d.EditMin->SetText("0");
                           d.EditMax->SetText("128");
                           d.SpeedButtonOk->Click();
                       });
    EXPECT_EQ(gradientShown, 1);
    EXPECT_EQ(presetMin, "128") << "a ramp-up cell presets the maximum";
    EXPECT_EQ(presetMax, "10");
    const int expected[] = {0, 32, 64, 96, 128};
    for (int c = 1; c <= 5; ++c)
        EXPECT_EQ(form->Scn().Cell(c, 4), expected[c - 1]) << c;
    EXPECT_TRUE(form->Modified);
    form->Undo();
    EXPECT_EQ(form->Scn().Cell(1, 4), kCellRampUp);
    EXPECT_EQ(form->Scn().Cell(3, 4), 0);
}

TEST_F(MainToolsTest, CancellingTheGradientChangesNothing)
{
    EnablePushing();
    Mark(2, 3);
    Mark(4, 3);
    WithGradientDialog([&] { form->SpeedButtonGradientClick(form->SpeedButtonGradient); },
                       [](TFormGradient& d) { d.SpeedButtonCancel->Click(); });
    EXPECT_EQ(gradientShown, 1);
    EXPECT_FALSE(form->Modified);
    EXPECT_FALSE(form->SpeedButtonUndo->Enabled());
}

TEST_F(MainToolsTest, AGradientOverOneMarkedStepChangesNothingAndPushesNothing)
{
    EnablePushing();
    Mark(3, 5);
    form->Scn().SetCell(3, 5, 9);
    form->ApplyGradient(0, 128);
    EXPECT_EQ(form->Scn().Cell(3, 5), 9);
    EXPECT_FALSE(form->Modified);
    EXPECT_FALSE(form->SpeedButtonUndo->Enabled());
}

TEST_F(MainToolsTest, TheColourDialogOpensWithTheGroupsColourAndOkWithoutAChangeKeepsTheLevels)
{
    EnablePushing();
    RgbGroup(0);
    form->Grid->SetCol(2);
    form->Grid->SetRow(4);  // the group's green row
    form->Scn().SetCell(2, 3, 64);
    form->Scn().SetCell(2, 4, 128);
    form->Scn().SetCell(2, 5, 0);
    dialogs.colourAnswers = {0x00FF80};  // OK on the colour shown
    form->SpeedButtonColorRGBClick(form->SpeedButtonColorRGB);
    ASSERT_EQ(dialogs.colourRequests.size(), 1u);
    EXPECT_EQ(dialogs.colourRequests[0].initial, 0x00FF80u);
    std::vector<uint32_t> custom = {0xFFFFFF, 0x0000FF, 0x00FF00, 0xFF0000, 0x00FFFF, 0xFFFF00,
                                    0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(dialogs.colourRequests[0].customColors, custom);
    EXPECT_EQ(form->Scn().Cell(2, 3), 64);
    EXPECT_EQ(form->Scn().Cell(2, 4), 128);
    EXPECT_EQ(form->Scn().Cell(2, 5), 0);

    form->SpeedButtonColorRGBClick(form->SpeedButtonColorRGB);  // cancelled
    EXPECT_EQ(form->Scn().Cell(2, 3), 64);
}

TEST_F(MainToolsTest, AChosenColourGoesToTheCurrentGroupAndToMarkedCellsInGroups)
{
    EnablePushing();
    RgbGroup(0);   // rows 3-5
    RgbGroup(6);   // rows 9-11
    form->Grid->SetCol(1);
    form->Grid->SetRow(5);
    Mark(3, 10);   // in the second group
    Mark(3, 7);    // channel 4: no group
    form->Scn().SetCell(3, 7, 33);
    dialogs.colourAnswers = {0x0000FF};  // pure red
    form->SpeedButtonColorRGBClick(form->SpeedButtonColorRGB);
    EXPECT_EQ(form->Scn().Cell(1, 3), 128) << "255 is the maximum level";
    EXPECT_EQ(form->Scn().Cell(1, 4), 0);
    EXPECT_EQ(form->Scn().Cell(1, 5), 0);
    EXPECT_EQ(form->Scn().Cell(3, 9), 128);
    EXPECT_EQ(form->Scn().Cell(3, 10), 0);
    EXPECT_EQ(form->Scn().Cell(3, 7), 33) << "a marked cell outside a group is left alone";
    EXPECT_TRUE(form->Modified);

    // The current channel outside a group: only the marked cells in groups change.
    form->Grid->SetRow(7);
    form->ApplyRgbColour(0x00FF00);
    EXPECT_EQ(form->Scn().Cell(1, 3), 128);
    EXPECT_EQ(form->Scn().Cell(3, 9), 0);
    EXPECT_EQ(form->Scn().Cell(3, 10), 128);
    EXPECT_EQ(form->Scn().Cell(3, 7), 33);
}

} // namespace
