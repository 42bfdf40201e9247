// The main window's life cycle, caption, keys, closing and port list.
#include "MainFormFixture.h"

#include "ui/SysUtils.h"

namespace {

const char kNewCaption[] = " Редактор сценария (Qarto18)  -  Новый.scn";

TEST_F(MainFormTest, StartsWithANewScenarioOfTheFirstModel)
{
    EXPECT_EQ(form->Caption(), kNewCaption);
    EXPECT_EQ(form->ScenarioFileName, form->ProgramFolder + "Новый.scn");
    EXPECT_EQ(Application->Title(), "Редактор сценария");
    EXPECT_FALSE(form->Modified);
    // No firmware file beside the test: the model's 32768 bytes, boot 2048, pages of
    // 128, over 18 + 2 channels.
    EXPECT_EQ(form->StepMaximum, (32768 - 2048 - 4608 - 10) / 20);
    EXPECT_EQ(form->Grid->ColCount(), 1 + form->StepMaximum);
    EXPECT_EQ(form->Grid->RowCount(), 3 + 18);
    EXPECT_EQ(form->Scn().ColCount(), form->Grid->ColCount());
    EXPECT_EQ(form->Scn().Cell(1, 1), form->Params.minTime);
    EXPECT_EQ(form->TrackBarSpeed->Min(), 10);
    EXPECT_EQ(form->TrackBarSpeed->Max(), 80);
    // The slider is inverted: the default speed 20 sits at 80 + 10 - 20.
    EXPECT_EQ(form->TrackBarSpeed->Position(), 70);
    EXPECT_EQ(form->Scn().Cell(0, 1), 70);
    EXPECT_DOUBLE_EQ(form->MsPerTimeUnit, 20 * 0.5);
    EXPECT_FALSE(form->SpeedButtonUndo->Enabled());
    EXPECT_FALSE(form->SpeedButtonRedo->Enabled());
    EXPECT_EQ(form->SpeedButtonStepLevel->Tag, 128);
    EXPECT_EQ(form->SpeedButtonStepStrob->Tag, 131);
    EXPECT_TRUE(form->GroupBoxLabels->Visible());
    EXPECT_EQ(form->SpeedButtonColorRGB->Left(), form->SpeedButtonStepLevel->Left());
}

TEST_F(MainFormTest, ASecondActivationLoadsNothing)
{
    form->ScenarioFileName = "kept.scn";
    form->Scn().SetCell(1, 3, 7);
    form->FormActivate(form);
    EXPECT_EQ(form->ScenarioFileName, "kept.scn");
    EXPECT_EQ(form->Scn().Cell(1, 3), 7);
}

TEST_F(MainFormTest, PushingWorksRightAfterStartUpAndASuspendedPushStillMarksTheScenario)
{
    // The start-up speed synchronisation is a change made by the program: it neither
    // pushes nor suspends pushing.
    EXPECT_TRUE(form->Ring().UndoEnabled);
    EXPECT_FALSE(form->TimerSpeedChange->Enabled());
    EXPECT_EQ(form->Caption(), kNewCaption);
    form->PushUndo();
    EXPECT_TRUE(form->Modified);
    EXPECT_EQ(form->Caption(), std::string(kNewCaption) + " *");
    EXPECT_TRUE(form->SpeedButtonUndo->Enabled());
    EXPECT_EQ(form->Ring().UndoDepth, 1);

    // While a gesture holds pushing off, its later changes share one undo step, yet each
    // marks the scenario, so closing still asks to save.
    form->TrackBarSpeed->SetPosition(form->TrackBarSpeed->Position() - 5);
    EXPECT_FALSE(form->Ring().UndoEnabled);
    EXPECT_EQ(form->Ring().UndoDepth, 2);
    form->Modified = false;  // as after a save
    form->SetCaption(false);
    form->PushUndo();
    EXPECT_EQ(form->Ring().UndoDepth, 2);
    EXPECT_TRUE(form->Modified);
    EXPECT_EQ(form->Caption(), std::string(kNewCaption) + " *");
}

TEST_F(MainFormTest, CtrlKeysSelectAllClearAndUndo)
{
    Key('A', ssCtrl | ssShift);
    int lastCol = form->Grid->ColCount() - 1, lastRow = form->Grid->RowCount() - 1;
    EXPECT_EQ(form->SelectionMark(1, 1), 1);
    EXPECT_EQ(form->SelectionMark(lastCol, lastRow), 1);
    EXPECT_EQ(form->SelectionMark(0, 5), 0) << "the fixed column is not a step";
    EXPECT_EQ(form->SelectionMark(1, 0), 0);
    Key('D', ssCtrl);
    EXPECT_EQ(form->SelectionMark(lastCol, lastRow), 0);
    Key('A', 0);
    EXPECT_EQ(form->SelectionMark(1, 1), 0) << "without Ctrl nothing happens";

    // Ctrl+Z with nothing to undo changes nothing.
    Key('Z', ssCtrl);
    EXPECT_FALSE(form->Modified);
    EXPECT_FALSE(form->SpeedButtonUndo->Enabled());
    EnablePushing();
    EditCell(2, 4, 9);
    Key('Z', ssCtrl);
    EXPECT_EQ(form->Scn().Cell(2, 4), 0);
    Key('Z', ssCtrl | ssShift);
    EXPECT_EQ(form->Scn().Cell(2, 4), 9);
}

TEST_F(MainFormTest, TheFormSeesCtrlKeysBeforeTheGrid)
{
    form->Show();
    EXPECT_TRUE(form->Grid->Focused()) << "the window opens with the step grid focused";
    EnablePushing();
    EditCell(2, 4, 9);
    {
        HeldKeys ctrl({VK_CONTROL});
        TypeKey(form->Grid, 'Z');
    }
    EXPECT_EQ(form->Scn().Cell(2, 4), 0);
    {
        HeldKeys ctrlShift({VK_CONTROL, VK_SHIFT});
        TypeKey(form->Grid, 'Z');
        TypeKey(form->Grid, 'A');
    }
    EXPECT_EQ(form->Scn().Cell(2, 4), 9);
    EXPECT_EQ(form->SelectionMark(3, 5), 1) << "Ctrl+Shift+A selects all as well";
}

TEST_F(MainFormTest, TheFormSeesCtrlKeysTypedInThePortBox)
{
    form->Show();
    EnablePushing();
    EditCell(2, 4, 9);
    HWND text = FindWindowExW(form->ComboBoxComNumber->Handle(), nullptr, L"Edit", nullptr);
    ASSERT_NE(text, nullptr) << "the box's text part";
    {
        HeldKeys ctrl({VK_CONTROL});
        for (WORD key : {'Z', 'A'}) {
            SendMessageW(text, WM_KEYDOWN, key, 0);
            SendMessageW(text, WM_CHAR, key - 'A' + 1, 0);
            SendMessageW(text, WM_KEYUP, key, 0);
        }
    }
    EXPECT_EQ(form->Scn().Cell(2, 4), 0) << "Ctrl+Z undid the scenario";
    EXPECT_EQ(form->SelectionMark(3, 5), 1) << "Ctrl+A selected every cell";
}

TEST_F(MainFormTest, AskSaveChangesNamesTheFileAndHonoursTheAnswer)
{
    EXPECT_TRUE(form->AskSaveChanges());
    EXPECT_TRUE(dialogs.boxes.empty()) << "an unchanged scenario asks nothing";

    form->Modified = true;
    dialogs.answers = {IDCANCEL, IDNO};
    EXPECT_FALSE(form->AskSaveChanges());
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].text, "В сценарий внесены изменения!\nСохранить файл \"Новый.scn\"?");
    EXPECT_EQ(dialogs.boxes[0].caption, "Выход");
    EXPECT_EQ(dialogs.boxes[0].flags, static_cast<unsigned>(MB_YESNOCANCEL | MB_ICONEXCLAMATION));
    EXPECT_TRUE(form->AskSaveChanges());

    bool canClose = true;
    dialogs.answers = {IDCANCEL};
    form->FormCloseQuery(form, canClose);
    EXPECT_FALSE(canClose) << "Cancel keeps the window open";
}

TEST_F(MainFormTest, ASaveThatFailsNeverPassesForSuccess)
{
    form->ScenarioFileName = form->ProgramFolder + "no-such-folder\\Новый.scn";
    form->Modified = true;
    dialogs.answers = {IDYES};
    bool canClose = true;
    EXPECT_ANY_THROW(form->FormCloseQuery(form, canClose));
    EXPECT_TRUE(form->Modified);
}

TEST_F(MainFormTest, NewAsksFirstAndCanBeUndone)
{
    EnablePushing();
    EditCell(3, 5, 100);
    dialogs.answers = {IDCANCEL};
    form->SpeedButtonNewClick(form->SpeedButtonNew);
    EXPECT_EQ(form->Scn().Cell(3, 5), 100) << "Cancel keeps the scenario";

    dialogs.answers = {IDNO};
    form->SpeedButtonNewClick(form->SpeedButtonNew);
    EXPECT_EQ(form->Scn().Cell(3, 5), 0);
    EXPECT_FALSE(form->Modified);
    EXPECT_EQ(form->Caption(), kNewCaption);
    form->Undo();
    EXPECT_EQ(form->Scn().Cell(3, 5), 100) << "New pushed the scenario it replaced";
}

TEST_F(MainFormTest, PortListFollowsTheDeviceId)
{
    std::strcpy(form->Config.deviceId, "Qarto186");
    form->FillPortList();
    ASSERT_EQ(form->ComboBoxComNumber->Items().Count(), 1);
    EXPECT_EQ(form->ComboBoxComNumber->Items()[0], "USB");
    EXPECT_EQ(form->ComboBoxComNumber->Text(), "USB");

    form->SerialPortName = "COM7";
    for (const char* serial : {"", "485"}) {
        std::strcpy(form->Config.deviceId, serial);
        form->FillPortList();
        EXPECT_EQ(form->ComboBoxComNumber->Items().IndexOf("USB"), -1);
        EXPECT_EQ(form->ComboBoxComNumber->Items().IndexOf("FILE"), -1) << "no FILE argument given";
        EXPECT_EQ(form->ComboBoxComNumber->Text(), "COM7");
    }
    form->ComboBoxComNumber->SetText("COM3");
    form->ComboBoxComNumberChange(form->ComboBoxComNumber);
    EXPECT_EQ(form->PortName, "COM3");
}

TEST_F(MainFormTest, ModelParametersDriveSpeedRangeEffectsAndLabels)
{
    form->Scn().labels = {1, 5};
    form->Config.typeLetter = 'A';
    form->Params = ModelParamTable[1];
    form->ApplyModelParams();
    EXPECT_FALSE(form->GroupBoxLabels->Visible());
    EXPECT_TRUE(form->Scn().labels.empty());
    EXPECT_FALSE(form->SpeedButtonStepUp->Enabled());
    EXPECT_FALSE(form->SpeedButtonStepDown->Enabled());
    EXPECT_TRUE(form->SpeedButtonStepStrob->Enabled());
    EXPECT_EQ(form->SpeedButtonStepLevel->Tag, 1);
    EXPECT_EQ(form->TrackBarStepLevel->Max(), 1);
    EXPECT_EQ(form->TrackBarSpeed->Min(), 2);
    EXPECT_EQ(form->TrackBarSpeed->Max(), 30);
    EXPECT_EQ(form->TrackBarSpeed->Frequency(), 28 / 5);
    EXPECT_FALSE(form->Modified) << "a change made by the program does not mark the scenario";

    // Position 30 after the first change; a row whose minimum lies above it moves the
    // slider to the new maximum.
    form->Params = ModelParamTable[0];
    form->TrackBarSpeed->SetPosition(5);
    form->ApplyModelParams();
    EXPECT_EQ(form->TrackBarSpeed->Position(), 80);
}

} // namespace
