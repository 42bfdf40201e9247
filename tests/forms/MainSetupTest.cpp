// The set-up button's flow around the (replaceable) set-up dialog.
#include "MainFormFixture.h"

#include "ui/Forms.h"

namespace {

class MainSetupTest : public MainFormTest {
protected:
    // The dialog answers with result after applying edit to its copy of the record.
    void Answer(int result, std::function<void(ControllerConfig&)> edit = {})
    {
        form->RunSetupDialog = [this, result, edit](ControllerConfig& config) {
            ++dialogRuns;
            if (edit)
                edit(config);
            return result;
        };
    }
    static void Model(ControllerConfig& c, unsigned index)
    {
        const ControllerModel& m = ControllerModelTable[index];
        c.modelIndex = index;
        CopyText(c.modelName, m.name);
        CopyText(c.deviceId, m.deviceId);
        c.paramRow = m.paramRow;
        c.channels = static_cast<int32_t>(m.channels);
        c.typeLetter = m.typeLetter;
    }
    int dialogRuns = 0;
};

TEST_F(MainSetupTest, CancelLeavesEverythingAsItWas)
{
    Answer(mrCancel, [](ControllerConfig& c) { Model(c, 6); });
    form->SpeedButtonSetup->Click();
    EXPECT_EQ(dialogRuns, 1);
    EXPECT_STREQ(form->Config.modelName, "Qarto18");
    EXPECT_EQ(form->Grid->RowCount(), 21);
}

TEST_F(MainSetupTest, SameParameterRowKeepsTheScenario)
{
    EnablePushing();
    EditCell(1, 3, 42);
    Answer(mrOk, [](ControllerConfig& c) { Model(c, 4); });  // Qarto6, row 0, 16 KiB
    form->SpeedButtonSetupClick(form->SpeedButtonSetup);
    EXPECT_STREQ(form->Config.modelName, "Qarto6");
    EXPECT_EQ(form->Scn().Cell(1, 3), 42);
    EXPECT_EQ(form->Grid->RowCount(), 3 + 6);
    EXPECT_EQ(form->StepMaximum, (16384 - 2048 - 4608 - 10) / 8);
    EXPECT_EQ(form->Grid->ColCount(), 1 + form->StepMaximum) << "cut to the smaller memory";
    EXPECT_EQ(form->Scn().ColCount(), form->Grid->ColCount());
    EXPECT_EQ(form->UpDownStepNum->Max(), form->StepMaximum);
    EXPECT_EQ(form->EditStepNum->Text(), IntToStr(form->StepMaximum));
    EXPECT_FALSE(form->SpeedButtonUndo->Enabled()) << "no undo step brings back more steps than the controller holds";
    EXPECT_EQ(form->Caption(), " Редактор сценария (Qarto6)  -  Новый.scn *") << "the edit is still unsaved";
    EXPECT_EQ(dialogs.boxes.size(), 1u) << "the cut was asked";
}

TEST_F(MainSetupTest, ACutToASmallerMaximumIsAskedFirstAndMarksTheScenario)
{
    const int steps = form->Grid->ColCount() - 1;
    const int smaller = (16384 - 2048 - 4608 - 10) / 8;
    Answer(mrOk, [](ControllerConfig& c) { Model(c, 4); });  // Qarto6, row 0, 16 KiB
    dialogs.answers = {IDCANCEL};
    form->SpeedButtonSetupClick(form->SpeedButtonSetup);
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].text, "Количество шагов в сценарии (" + std::to_string(steps) +
                                         ") превышает максимально возможное для контроллера (" +
                                         std::to_string(smaller) + ")!\nСократить сценарий до " +
                                         std::to_string(smaller) + " шагов?");
    EXPECT_EQ(dialogs.boxes[0].caption, "Настройки");
    EXPECT_EQ(dialogs.boxes[0].flags, static_cast<unsigned>(MB_OKCANCEL | MB_ICONQUESTION));
    EXPECT_STREQ(form->Config.modelName, "Qarto18") << "Cancel leaves the set-up as it was";
    EXPECT_EQ(form->Grid->ColCount(), 1 + steps);
    EXPECT_EQ(form->UpDownStepNum->Max(), steps);
    EXPECT_FALSE(form->Modified);

    form->SpeedButtonSetupClick(form->SpeedButtonSetup);  // OK
    EXPECT_STREQ(form->Config.modelName, "Qarto6");
    EXPECT_EQ(form->Grid->ColCount(), 1 + smaller);
    EXPECT_TRUE(form->Modified);
    EXPECT_EQ(form->Caption(), " Редактор сценария (Qarto6)  -  Новый.scn *");
}

TEST_F(MainSetupTest, ThePortNameAfterSetUpIsWhatThePortBoxShows)
{
    form->PortName = "FILE";  // chosen in the box of a program started with FILE
    Answer(mrOk);
    form->SpeedButtonSetupClick(form->SpeedButtonSetup);
    EXPECT_EQ(form->ComboBoxComNumber->Text(), "USB");
    EXPECT_EQ(form->PortName, "USB") << "programming follows the box, not a hidden choice";
}

TEST_F(MainSetupTest, AModelWithRoomForTheScenarioKeepsItsHistory)
{
    EnablePushing();
    Answer(mrOk, [](ControllerConfig& c) { Model(c, 4); });  // Qarto6: fewer steps, cut
    form->SpeedButtonSetup->Click();
    EditCell(1, 3, 42);
    Answer(mrOk, [](ControllerConfig& c) { Model(c, 0); });  // back to Qarto18: more room
    form->SpeedButtonSetup->Click();
    EXPECT_EQ(form->Scn().Cell(1, 3), 42);
    EXPECT_TRUE(form->SpeedButtonUndo->Enabled()) << "the history stays";
    EXPECT_EQ(form->UpDownStepNum->Max(), form->StepMaximum);
    EXPECT_EQ(form->Grid->ColCount(), 1 + (16384 - 2048 - 4608 - 10) / 8) << "the scenario keeps its steps";
}

TEST_F(MainSetupTest, AnotherParameterRowAsksBeforeReplacingTheScenario)
{
    EnablePushing();
    EditCell(1, 3, 42);
    Answer(mrOk, [](ControllerConfig& c) { Model(c, 6); });  // Brevan8D, row 1

    dialogs.answers = {IDCANCEL};
    form->SpeedButtonSetupClick(form->SpeedButtonSetup);
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].caption, "Выход");
    EXPECT_STREQ(form->Config.modelName, "Qarto18") << "Cancel does not apply the dialog's result";
    EXPECT_EQ(form->Params.levelMax, 128);
    EXPECT_EQ(form->Scn().Cell(1, 3), 42);

    dialogs.answers = {IDNO};
    form->SpeedButtonSetupClick(form->SpeedButtonSetup);
    EXPECT_STREQ(form->Config.modelName, "Brevan8D");
    EXPECT_EQ(form->Params.levelMax, 1);
    EXPECT_EQ(form->Scn().Cell(1, 3), 0) << "a new scenario";
    EXPECT_FALSE(form->SpeedButtonUndo->Enabled()) << "and a new history";
    EXPECT_FALSE(form->Ring().CanUndo());
    EXPECT_EQ(form->Scn().Cell(1, 1), ModelParamTable[1].minTime);
    EXPECT_EQ(form->TrackBarSpeed->Position(), 2 + 30 - 10);
}

TEST_F(MainSetupTest, AnotherParameterRowOfAnUnchangedScenarioAsksNothing)
{
    Answer(mrOk, [](ControllerConfig& c) { Model(c, 5); });  // Brevan8, row 2
    form->SpeedButtonSetupClick(form->SpeedButtonSetup);
    EXPECT_TRUE(dialogs.boxes.empty());
    EXPECT_STREQ(form->Config.modelName, "Brevan8");
    EXPECT_EQ(form->Params.levelMax, 64);
}

} // namespace
