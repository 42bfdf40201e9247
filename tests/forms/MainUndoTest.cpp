// Undo and redo as the main window shows them: buttons, caption, Modified and the
// controls brought back in line.
#include "MainFormFixture.h"

namespace {

class MainUndoTest : public MainFormTest {
protected:
    void SetUp() override
    {
        MainFormTest::SetUp();
        EnablePushing();
    }
};

TEST_F(MainUndoTest, UndoAndRedoMoveThroughTheHistoryAndMarkTheScenario)
{
    EditCell(1, 3, 10);
    EditCell(1, 3, 20);
    form->Modified = false;  // as after a save
    form->SetCaption(false);

    form->SpeedButtonUndo->Click();
    EXPECT_EQ(form->Scn().Cell(1, 3), 10);
    EXPECT_TRUE(form->Modified) << "an undo that moves changes the scenario";
    EXPECT_EQ(form->Caption().substr(form->Caption().size() - 2), " *");
    EXPECT_TRUE(form->SpeedButtonUndo->Enabled());
    EXPECT_TRUE(form->SpeedButtonRedo->Enabled());
    form->Undo();
    EXPECT_EQ(form->Scn().Cell(1, 3), 0);
    EXPECT_FALSE(form->SpeedButtonUndo->Enabled());
    form->Undo();
    EXPECT_EQ(form->Scn().Cell(1, 3), 0) << "nothing left to undo";

    form->SpeedButtonRedo->Click();
    form->SpeedButtonRedo->Click();
    EXPECT_EQ(form->Scn().Cell(1, 3), 20);
    EXPECT_FALSE(form->SpeedButtonRedo->Enabled());
    form->Redo();
    EXPECT_EQ(form->Scn().Cell(1, 3), 20);
}

TEST_F(MainUndoTest, AnEditAfterUndoDropsTheRedoHistory)
{
    EditCell(2, 3, 1);
    form->Undo();
    EXPECT_TRUE(form->SpeedButtonRedo->Enabled());
    EditCell(2, 3, 2);
    EXPECT_FALSE(form->SpeedButtonRedo->Enabled());
    form->Redo();
    EXPECT_EQ(form->Scn().Cell(2, 3), 2);
}

TEST_F(MainUndoTest, UndoRestoresTheSpeedWithoutLosingTheRedoStep)
{
    int before = form->TrackBarSpeed->Position();
    // A user move of the slider pushes once and suspends pushing until the timer.
    form->TrackBarSpeed->SetPosition(before - 30);
    EnablePushing();
    ASSERT_EQ(form->Scn().Cell(0, 1), before - 30);

    form->Undo();
    EXPECT_EQ(form->TrackBarSpeed->Position(), before);
    EXPECT_EQ(form->Scn().Cell(0, 1), before);
    EXPECT_EQ(form->EditSpeed->Text(), std::to_string(before));
    EXPECT_TRUE(form->Ring().CanRedo()) << "moving the slider back must not push a snapshot";
    EXPECT_TRUE(form->SpeedButtonRedo->Enabled());
    EXPECT_TRUE(form->Ring().UndoEnabled) << "pushing is not left suspended";

    form->Redo();
    EXPECT_EQ(form->TrackBarSpeed->Position(), before - 30);
    EXPECT_DOUBLE_EQ(form->MsPerTimeUnit, (10 + 80 - (before - 30)) * 0.5);
}

TEST_F(MainUndoTest, MarksOfColumnsThatAnUndoTakesAwayAreCleared)
{
    form->EditStepNum->SetText("30");
    form->EditStepNumExit(form->EditStepNum);
    form->EditStepNum->SetText("40");
    form->EditStepNumExit(form->EditStepNum);
    Key('A', ssCtrl);
    EXPECT_EQ(form->SelectionMark(40, 5), 1);
    form->SpeedButtonUndo->Click();
    EXPECT_EQ(form->Grid->ColCount(), 31);
    EXPECT_EQ(form->SelectionMark(40, 5), 0);
    EXPECT_EQ(form->SelectionMark(30, 5), 1);
    form->SpeedButtonRedo->Click();
    EXPECT_EQ(form->SelectionMark(40, 5), 0) << "no phantom selection on the returning steps";
}

TEST_F(MainUndoTest, ColumnCountFollowsTheRestoredScenario)
{
    int cols = form->Grid->ColCount();
    form->PushUndo();
    form->Scn().SetCell(0, 0, 11);
    form->Grid->SetColCount(11);
    form->Undo();
    EXPECT_EQ(form->Grid->ColCount(), cols);
    form->Redo();
    EXPECT_EQ(form->Grid->ColCount(), 11);
}

} // namespace
