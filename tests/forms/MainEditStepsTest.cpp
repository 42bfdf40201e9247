// Inserting and deleting steps through the "Шаги" box, the popup menu and its keys:
// loops and labels follow the steps, the only step is emptied, the times lock turns a
// delete into switching cells off, and undo brings every edit back.
#include "MainFormFixture.h"

#include <string>

#include "scenario/ScenarioTotals.h"

namespace {

class MainEditStepsTest : public ShownMainFormTest {
protected:
    void SetUp() override
    {
        ShownMainFormTest::SetUp();
        form->SetStepCount(10);
        // Step c carries c in channel 1 so it can be recognised where it moves.
        form->PushUndo();
        for (int c = 1; c <= 10; ++c)
            form->Scn().SetCell(c, kFixedRows, static_cast<uint16_t>(c));
    }
    int Steps() const { return form->Grid->ColCount() - 1; }
    int StepAt(int column) { return form->Scn().Cell(column, kFixedRows); }
    const LoopRecord& Loop(size_t i) { return form->Scn().loops.at(i); }
    void CtrlKey(WORD key)
    {
        HeldKeys ctrl{VK_CONTROL};
        TypeKey(form->Grid, key);
    }
};

TEST_F(MainEditStepsTest, InsertingInsideALoopLengthensItAndAtItsStartMovesIt)
{
    form->Scn().loops = {{3, 6, 4}};
    form->Scn().labels = {1, 5};
    Click(4, 5);
    form->EditStepTime->SetText("250");
    form->SpeedButtonInsertStep->Click();
    EXPECT_EQ(Steps(), 11);
    EXPECT_EQ(Loop(0).firstColumn, 3);
    EXPECT_EQ(Loop(0).lastColumn, 7);
    EXPECT_EQ(form->Scn().labels, (std::vector<uint16_t>{1, 6}));
    EXPECT_EQ(StepAt(4), 0) << "the new step is empty";
    EXPECT_EQ(StepTime(form->Scn(), 4), 250) << "with the time in the edit";
    EXPECT_EQ(StepAt(5), 4);
    EXPECT_EQ(form->EditStepNum->Text(), "11");

    Click(3, 5);
    CtrlKey(VK_INSERT);  // the popup menu's shortcut
    EXPECT_EQ(Steps(), 12);
    EXPECT_EQ(Loop(0).firstColumn, 4);
    EXPECT_EQ(Loop(0).lastColumn, 8);

    form->SpeedButtonUndo->Click();
    form->SpeedButtonUndo->Click();
    EXPECT_EQ(Steps(), 10);
    EXPECT_EQ(Loop(0).firstColumn, 3);
    EXPECT_EQ(Loop(0).lastColumn, 6);
    EXPECT_EQ(StepAt(4), 4);
    EXPECT_EQ(form->Scn().labels, (std::vector<uint16_t>{1, 5}));
}

TEST_F(MainEditStepsTest, DeletingSelectedStepsMovesLoopsAndLabelsAndEndsTheSelection)
{
    form->Scn().loops = {{2, 4, 3}, {4, 4, 5}, {5, 7, 2}};
    form->Scn().labels = {1, 4, 8};
    Click(4, 0);  // step 4 selected; Ctrl+Delete deletes it
    EXPECT_EQ(form->N_DelStep->Caption, "Удалить выделенный шаг");
    CtrlKey(VK_DELETE);
    EXPECT_EQ(Steps(), 9);
    EXPECT_EQ(StepAt(4), 5);
    ASSERT_EQ(form->Scn().loops.size(), 2u) << "the loop of step 4 alone went";
    EXPECT_EQ(Loop(0).lastColumn, 3);
    EXPECT_EQ(Loop(1).firstColumn, 4);
    EXPECT_EQ(Loop(1).lastColumn, 6);
    EXPECT_EQ(form->Scn().labels, (std::vector<uint16_t>{1, 7}));
    EXPECT_EQ(form->N_DelStep->Caption, "Удалить текущий шаг") << "nothing is selected any more";
    EXPECT_EQ(form->SpeedButtonDelStep->Hint, "Удалить текущий шаг");
    EXPECT_EQ(form->SelectionMark(4, 1), 0);

    Click(6, 0);
    Click(8, 0, MK_SHIFT);
    form->SpeedButtonDelStep->Click();
    EXPECT_EQ(Steps(), 6);
    EXPECT_EQ(StepAt(6), 10);
    EXPECT_EQ(form->Grid->Col(), 6);

    form->SpeedButtonUndo->Click();
    form->SpeedButtonUndo->Click();
    EXPECT_EQ(Steps(), 10);
    for (int c = 1; c <= 10; ++c)
        EXPECT_EQ(StepAt(c), c);
    EXPECT_EQ(form->Scn().loops.size(), 3u);
    EXPECT_EQ(form->Scn().labels, (std::vector<uint16_t>{1, 4, 8}));
}

TEST_F(MainEditStepsTest, AfterADeleteTheEffectControlsShowTheCurrentCellAsAClickWould)
{
    // Which effect button is down, and the level slider and edit.
    auto effects = [this] {
        std::string shown;
        for (TSpeedButton* b : {form->SpeedButtonStepOff, form->SpeedButtonStepLevel, form->SpeedButtonStepUp,
                                form->SpeedButtonStepDown, form->SpeedButtonStepStrob})
            shown += b->Down() ? '1' : '0';
        return shown + " " + std::to_string(form->TrackBarStepLevel->Position()) + " " + form->EditStepLevel->Text();
    };
    auto clickedCurrentCell = [&] {
        Click(form->Grid->Col(), form->Grid->Row());
        return effects();
    };
    form->Scn().SetCell(5, kFixedRows, kCellStrobe);
    form->Scn().SetCell(6, kFixedRows, 90);
    Click(4, kFixedRows);
    ASSERT_EQ(effects(), "01000 4 4");
    form->SpeedButtonDelStep->Click();  // the strobe of step 5 comes under the cursor
    std::string shown = effects();
    EXPECT_EQ(shown, "00001 4 4");
    EXPECT_EQ(shown, clickedCurrentCell());
    form->N_DelStep->Click();  // then the level 90 of step 6
    shown = effects();
    EXPECT_EQ(shown, "01000 90 90");
    EXPECT_EQ(shown, clickedCurrentCell());

    // Every step deleted: one empty step is left, its cell off.
    Key('A', ssCtrl);
    form->SpeedButtonDelStep->Click();
    ASSERT_EQ(Steps(), 1);
    shown = effects();
    EXPECT_EQ(shown, "10000 90 90");
    EXPECT_EQ(shown, clickedCurrentCell());
}

TEST_F(MainEditStepsTest, WithTheTimesLockDeletingSwitchesCellsOffAndInsertingDoesNothing)
{
    SendMessageW(form->CheckBoxTimesLock->Handle(), BM_CLICK, 0, 0);
    ASSERT_TRUE(form->CheckBoxTimesLock->Checked());
    EXPECT_FALSE(form->SpeedButtonInsertStep->Enabled());
    form->InsertStep();
    EXPECT_EQ(Steps(), 10);

    Click(3, kFixedRows);
    Click(5, kFixedRows, MK_SHIFT);
    form->DeleteSteps();
    EXPECT_EQ(Steps(), 10);
    EXPECT_EQ(StepAt(3), 0);
    EXPECT_EQ(StepAt(5), 0);
    EXPECT_EQ(StepAt(6), 6);
    form->SpeedButtonUndo->Click();
    EXPECT_EQ(StepAt(3), 3);
    EXPECT_EQ(StepAt(5), 5);
}

} // namespace
