// The "Шаги" box and the level controls, driven through their controls: step count,
// step times with the slider, the edit and the auto-repeat buttons, speed, the times
// lock, milliseconds, levels and effects, the step maximum, and one undo step per
// gesture.
#include "MainFormFixture.h"

#include "scenario/ScenarioTotals.h"

namespace {

class MainStepsTest : public ShownMainFormTest {
protected:
    int Steps() const { return form->Grid->ColCount() - 1; }
    int TimeOf(int column) { return StepTime(form->Scn(), column); }
    // Types text into an edit and presses Enter.
    void Enter(TEdit* edit, const std::wstring& text)
    {
        edit->SetFocus();
        TypeText(edit, text);
        TypeKey(edit, VK_RETURN, L'\r');
    }
    // A click on a check box as the user makes it.
    void Tick(TCheckBox* box) { SendMessageW(box->Handle(), BM_CLICK, 0, 0); }
    // A click at the middle of a speed button, through its parent's window.
    void Press(TSpeedButton* button, UINT message, WPARAM keys)
    {
        SendMessageW(button->Parent()->Handle(), message, keys,
                     MAKELPARAM(button->Left() + button->Width() / 2, button->Top() + button->Height() / 2));
    }
};

TEST_F(MainStepsTest, TypedStepCountsAreClampedAndCutColumnsLoseTheirMarks)
{
    form->EditState.SelectAll(GridSize{form->Grid->ColCount(), form->Grid->RowCount()});
    Enter(form->EditStepNum, L"20");
    EXPECT_EQ(Steps(), 20);
    EXPECT_EQ(form->Scn().ColCount(), 21);
    EXPECT_EQ(form->EditStepNum->Text(), "20");
    EXPECT_EQ(form->SelectionMark(21, 5), 0) << "a column that left keeps no mark";
    EXPECT_TRUE(form->Ring().CanUndo());
    Enter(form->EditStepNum, L"0");
    EXPECT_EQ(Steps(), 1);
    EXPECT_FALSE(form->SpeedButtonDelStep->Enabled()) << "the last step cannot go";
    Enter(form->EditStepNum, L"9000");
    EXPECT_EQ(Steps(), form->StepMaximum);
    EXPECT_FALSE(form->SpeedButtonInsertStep->Enabled());
    EXPECT_FALSE(form->N_AddStep->Enabled);
    EXPECT_EQ(form->SelectionMark(21, 5), 0) << "no phantom selection comes back";
    // Leaving the edit applies what was typed too.
    form->EditStepNum->SetFocus();
    TypeText(form->EditStepNum, L"7");
    form->Grid->SetFocus();
    EXPECT_EQ(Steps(), 7);
}

TEST_F(MainStepsTest, TheUpDownAddsAStepWithTheTimeTypedForIt)
{
    Enter(form->EditStepNum, L"10");
    form->EditStepTime->SetText("250");
    form->UpDownStepNum->Click(btNext);
    EXPECT_EQ(Steps(), 11);
    EXPECT_EQ(TimeOf(11), 250);
    EXPECT_EQ(form->Scn().Cell(11, 3), 0);
    form->UpDownStepNum->Click(btPrev);
    EXPECT_EQ(Steps(), 10);
}

TEST_F(MainStepsTest, ANewLimitLeavesTheStepCountAndTheArrowKeysStepIt)
{
    Enter(form->EditStepNum, L"50");
    form->SetMaxSteps(1305, true);  // as after a programming run that fits
    EXPECT_EQ(form->EditStepNum->Text(), "50");
    form->EditStepNum->SetFocus();
    form->Grid->SetFocus();
    EXPECT_EQ(Steps(), 50) << "leaving the field changes nothing";
    form->EditStepNum->SetFocus();
    TypeKey(form->EditStepNum, VK_UP);
    EXPECT_EQ(Steps(), 51);
    TypeKey(form->EditStepNum, VK_DOWN);
    TypeKey(form->EditStepNum, VK_DOWN);
    EXPECT_EQ(Steps(), 49);
    EXPECT_EQ(form->EditStepNum->Text(), "49");
}

TEST_F(MainStepsTest, NumericEditsTakeDigitsOnlyAndEscapePutsTheStepCountBack)
{
    form->Scn().loops = {{1, 5, 3}};  // a loop holds the current step: its count can be typed
    form->UpdateControls();
    for (TEdit* edit : {form->EditStepNum, form->EditStepTime, form->EditSubCnt}) {
        edit->SetFocus();
        TypeText(edit, L"1x2");
        EXPECT_EQ(edit->Text(), "12") << edit->Name;
    }
    form->EditStepNum->SetFocus();
    TypeText(form->EditStepNum, L"7");
    EXPECT_EQ(form->EditStepNum->Color(), clWindow) << "being typed in";
    TypeKey(form->EditStepNum, VK_ESCAPE, 27);
    EXPECT_EQ(form->EditStepNum->Text(), "12");
    EXPECT_EQ(form->EditStepNum->Color(), clBtnFace);
}

TEST_F(MainStepsTest, TheTimeSliderIsOneUndoStepPerGesture)
{
    int before = TimeOf(1);
    int depth = form->Ring().UndoDepth;
    form->TrackBarStepTime->SetFocus();
    TypeKey(form->TrackBarStepTime, VK_END);
    EXPECT_EQ(TimeOf(1), form->Params.maxTime);
    EXPECT_EQ(form->EditStepTime->Text(), "6000");
    TypeKey(form->TrackBarStepTime, VK_PRIOR);  // a page back: still the same gesture
    EXPECT_EQ(form->TrackBarStepTime->Position(), 100 - form->TrackBarStepTime->PageSize());
    EXPECT_EQ(TimeOf(1), SliderPositionToTime(form->TrackBarStepTime->Position(), 6000));
    EXPECT_EQ(form->Ring().UndoDepth, depth + 1);
    EXPECT_TRUE(form->TimerSpeedChange->Enabled());
    form->Grid->SetFocus();
    EXPECT_TRUE(form->Ring().UndoEnabled) << "leaving the slider ends the gesture";
    form->SpeedButtonUndo->Click();
    EXPECT_EQ(TimeOf(1), before);
    EXPECT_EQ(form->TrackBarStepTime->Position(), before);
    EXPECT_GT(form->Grid->ColWidths(1), 0);
}

TEST_F(MainStepsTest, MillisecondsAreShownAndTypedAtTheSpeedsScale)
{
    Enter(form->EditSpeed, L"20");  // slider 10..80 at 20: speed 70, 35 ms per unit
    EXPECT_EQ(form->TrackBarSpeed->Position(), 20);
    EXPECT_DOUBLE_EQ(form->MsPerTimeUnit, 35.0);
    Tick(form->CheckBoxTimeInSec);
    ASSERT_TRUE(form->CheckBoxTimeInSec->Checked());
    EXPECT_EQ(form->EditStepTime->Text(), "35");
    form->EditStepTime->SetFocus();
    EXPECT_EQ(form->EditStepTime->Color(), clWindow) << "being typed in";
    Enter(form->EditStepTime, L"53");
    EXPECT_EQ(TimeOf(1), 2);
    EXPECT_EQ(form->EditStepTime->Text(), "70");
    EXPECT_EQ(form->EditStepTime->Color(), clBtnFace);
    Enter(form->EditStepTime, L"52");
    EXPECT_EQ(TimeOf(1), 1);
    EXPECT_EQ(form->EditStepTime->Text(), "35");
    // Escape puts back what the step has.
    form->EditStepTime->SetFocus();
    TypeText(form->EditStepTime, L"999");
    EXPECT_EQ(form->EditStepTime->Color(), clWindow);
    TypeKey(form->EditStepTime, VK_ESCAPE, 27);
    EXPECT_EQ(form->EditStepTime->Text(), "35");
    form->Grid->SetFocus();
    EXPECT_EQ(TimeOf(1), 1) << "nothing typed differs: leaving changes nothing";
}

TEST_F(MainStepsTest, HoldingThePlusButtonRepeatsWithinOneUndoStep)
{
    form->Scn().SetCell(2, 1, 5999);
    form->EditState.Marks.Set(2, 1, 1);  // step 2 is selected
    form->Scn().SetCell(1, 1, 5990);
    int depth = form->Ring().UndoDepth;
    Press(form->ButtonStepTimeInc, WM_LBUTTONDOWN, MK_LBUTTON);
    EXPECT_EQ(TimeOf(1), 5991) << "one step at once";
    EXPECT_TRUE(form->TimerStepTimeRepeat->Enabled());
    EXPECT_EQ(form->TimerStepTimeRepeat->Interval(), 500u);
    form->TimerStepTimeRepeat->Timer();
    EXPECT_EQ(form->TimerStepTimeRepeat->Interval(), 70u) << "then faster";
    for (int i = 0; i < 7; ++i)
        form->TimerStepTimeRepeat->Timer();
    EXPECT_EQ(TimeOf(1), 5999) << "nine in one second";
    EXPECT_EQ(TimeOf(2), 6000) << "the selected step stops at the longest time";
    form->TimerStepTimeRepeat->Timer();
    EXPECT_EQ(TimeOf(1), 6000);
    form->TimerStepTimeRepeat->Timer();
    EXPECT_EQ(TimeOf(1), 6000) << "at the longest time the step stays";
    Press(form->ButtonStepTimeInc, WM_LBUTTONUP, 0);
    EXPECT_FALSE(form->TimerStepTimeRepeat->Enabled());
    EXPECT_TRUE(form->Ring().UndoEnabled);
    EXPECT_EQ(form->Ring().UndoDepth, depth + 1);
    Press(form->ButtonStepTimeDec, WM_LBUTTONDOWN, MK_LBUTTON);
    Press(form->ButtonStepTimeDec, WM_LBUTTONUP, 0);
    EXPECT_EQ(TimeOf(1), 5999);
    form->SpeedButtonUndo->Click();
    form->SpeedButtonUndo->Click();
    EXPECT_EQ(TimeOf(1), 5990);
}

TEST_F(MainStepsTest, SpeedEditTakesDigitsOnlyAndLeavingClampsIt)
{
    form->EditSpeed->SetFocus();
    TypeText(form->EditSpeed, L"4x5");
    EXPECT_EQ(form->EditSpeed->Text(), "45") << "other keys are discarded";
    TypeKey(form->EditSpeed, VK_ESCAPE, 27);
    EXPECT_EQ(form->EditSpeed->Text(), "70");
    form->Modified = false;
    TypeText(form->EditSpeed, L"999");
    form->Grid->SetFocus();
    EXPECT_EQ(form->TrackBarSpeed->Position(), 80);
    EXPECT_EQ(form->EditSpeed->Text(), "80");
    EXPECT_EQ(form->Scn().Cell(0, 1), 80);
    EXPECT_DOUBLE_EQ(form->MsPerTimeUnit, 10 * 0.5);
    EXPECT_TRUE(form->Modified);
    EXPECT_TRUE(form->Ring().UndoEnabled) << "leaving the edit ends the gesture";
    EXPECT_EQ(form->EditSpeed->Color(), clBtnFace);
}

TEST_F(MainStepsTest, ASpeedSetByTheProgramCannotLeaveTheScenarioUnmarked)
{
    // An exception between setting and restoring the slider's Tag used to leave it at 1,
    // after which no speed change marked the scenario.
    form->TrackBarSpeed->SetPosition(30);
    form->TrackBarSpeed->OnChange = [](TObject*) { throw std::runtime_error("broken"); };
    dialogs.answers = {IDNO};
    EXPECT_THROW(form->SpeedButtonNew->Click(), std::runtime_error);
    EXPECT_EQ(form->TrackBarSpeed->Tag, 0);
    form->TrackBarSpeed->OnChange = [this](TObject* s) { form->TrackBarSpeedChange(s); };
    form->Modified = false;
    form->TrackBarSpeed->SetPosition(form->TrackBarSpeed->Position() + 1);
    EXPECT_TRUE(form->Modified);
}

TEST_F(MainStepsTest, TheTimesLockDisablesStepControlsUntilTheUserAgrees)
{
    Tick(form->CheckBoxTimesLock);
    for (TControl* c : std::initializer_list<TControl*>{form->EditStepNum, form->TrackBarStepTime, form->EditSpeed,
                                                        form->ButtonStepTimeInc, form->SpeedButtonInsertStep,
                                                        form->SpeedButtonSubAdd, form->UpDownSubCnt})
        EXPECT_FALSE(c->Enabled()) << c->Name;
    EXPECT_FALSE(form->N_DelStep->Enabled);
    dialogs.answers = {IDNO};
    Tick(form->CheckBoxTimesLock);
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].text, "Отключить фиксацию шагов?");
    EXPECT_EQ(dialogs.boxes[0].caption, "Редактор сценария");
    EXPECT_EQ(dialogs.boxes[0].flags, static_cast<unsigned>(MB_YESNO | MB_ICONQUESTION));
    EXPECT_TRUE(form->CheckBoxTimesLock->Checked()) << "No ticks the box again";
    EXPECT_FALSE(form->EditStepNum->Enabled());
    EXPECT_FALSE(form->SpeedButtonDelStep->Enabled());
    dialogs.answers = {IDYES};
    Tick(form->CheckBoxTimesLock);
    EXPECT_FALSE(form->CheckBoxTimesLock->Checked());
    EXPECT_TRUE(form->EditStepNum->Enabled());
    EXPECT_TRUE(form->SpeedButtonDelStep->Enabled());
    EXPECT_FALSE(form->SpeedButtonInsertStep->Enabled()) << "the scenario has the most steps";
    EXPECT_TRUE(form->SpeedButtonSubDel->Enabled());
}

TEST_F(MainStepsTest, TheTotalCountsLoopsAndTurnsYellowFromTwoDays)
{
    Enter(form->EditSpeed, L"20");  // 35 ms per unit
    Enter(form->EditStepNum, L"15");
    HeldKeys ctrl({VK_CONTROL});
    TypeKey(form->Grid, 'A');  // the form sees the key first: select all
    Enter(form->EditStepTime, L"6000");
    EXPECT_EQ(TimeOf(15), 6000) << "every selected step takes the time";
    EXPECT_EQ(form->EditScenTime->Text(), "0:52:30");
    EXPECT_EQ(form->EditScenTime->Color(), clBtnFace);
    EXPECT_EQ(form->EditScenTime->Alignment(), taRightJustify);
    form->Scn().loops = {{1, 15, 200}};
    Enter(form->EditStepNum, L"15");
    EXPECT_EQ(form->EditScenTime->Text(), "175:00:00");
    EXPECT_EQ(form->EditScenTime->Color(), clYellow);
    EXPECT_EQ(form->PanelLoops->Caption(), "1 ");
}

TEST_F(MainStepsTest, LevelsAndEffectsGoIntoTheCurrentCellAndTheSelection)
{
    form->Grid->SetCol(3);
    form->Grid->SetRow(4);
    form->EditState.Marks.Set(5, 6, 1);
    form->SpeedButtonStepStrob->Click();
    EXPECT_EQ(form->Scn().Cell(3, 4), kCellStrobe);
    EXPECT_EQ(form->Scn().Cell(5, 6), kCellStrobe);
    EXPECT_TRUE(form->SpeedButtonStepStrob->Down());
    form->TrackBarStepLevel->SetFocus();
    EXPECT_TRUE(form->SpeedButtonStepLevel->Down()) << "entering the level slider picks the level effect";
    TypeKey(form->TrackBarStepLevel, VK_HOME);
    EXPECT_EQ(form->Scn().Cell(3, 4), 1);
    EXPECT_EQ(form->EditStepLevel->Text(), "1");
    EXPECT_FALSE(form->Ring().UndoEnabled);
    form->EditStepLevel->SetFocus();
    EXPECT_TRUE(form->Ring().UndoEnabled) << "leaving the slider ends the gesture";
    EXPECT_EQ(form->EditStepLevel->Color(), clWindow);
    TypeText(form->EditStepLevel, L"7x");
    form->Grid->SetFocus();
    EXPECT_EQ(form->Scn().Cell(3, 4), 7) << "leaving the edit applies it; the letter was discarded";
    EXPECT_EQ(form->EditStepLevel->Color(), clBtnFace);
    Enter(form->EditStepLevel, L"300");
    EXPECT_EQ(form->Scn().Cell(3, 4), 128) << "no level above the model's";
    EXPECT_EQ(form->EditStepLevel->Text(), "128");
    Enter(form->EditStepLevel, L"0");
    EXPECT_EQ(form->Scn().Cell(3, 4), 0);
    EXPECT_TRUE(form->SpeedButtonStepOff->Down());
    form->TrackBarStepLevel->SetPosition(60);  // the slider's level for the level button
    form->SpeedButtonStepLevel->Click();
    EXPECT_EQ(form->Scn().Cell(3, 4), 60);
    form->SpeedButtonStepLevel->Click();  // already down: nothing more
    EXPECT_EQ(form->Scn().Cell(3, 4), 60);
}

TEST_F(MainStepsTest, AModelWithFewerLevelsLeavesTheCurrentCellAlone)
{
    form->Grid->SetCol(2);
    form->Grid->SetRow(3);
    ASSERT_EQ(form->TrackBarStepLevel->Position(), 128);
    int depth = form->Ring().UndoDepth;
    form->Params = ModelParamTable[2];  // dimming lamps: 64 levels
    form->ApplyModelParams();
    EXPECT_EQ(form->TrackBarStepLevel->Position(), 64) << "the slider follows the new range";
    EXPECT_EQ(form->Scn().Cell(2, 3), 0) << "moved by the program: nothing is written";
    EXPECT_EQ(form->Ring().UndoDepth, depth);
}

TEST_F(MainStepsTest, TheStepMaximumCutsTheScenarioAndEmptiesTheHistory)
{
    form->SetMaxSteps(500, false);
    EXPECT_EQ(Steps(), 500);
    EXPECT_EQ(form->UpDownStepNum->Max(), 500);
    EXPECT_EQ(form->UpDownStepNum->Position(), 500);
    EXPECT_FALSE(form->Ring().CanUndo());
    EXPECT_FALSE(form->SpeedButtonUndo->Enabled());
    form->SetMaxSteps(0, false);
    EXPECT_EQ(Steps(), 1) << "never fewer than one step";
    EXPECT_EQ(form->StepMaximum, 1);
    form->SetMaxSteps(9000, true);
    EXPECT_EQ(form->StepMaximum, 8000);
    EXPECT_EQ(Steps(), 1) << "kept";
}

} // namespace
