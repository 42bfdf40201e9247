// The clipboard through the popup menu and its keys: copy and cut float the block under
// the mouse, a left click drops it as one undo step, Escape and a drop beside the step
// cells cancel, and the steps of a file float and drop like copied steps.
#include "MainFormFixture.h"

#include "scenario/ScenarioTotals.h"

namespace {

class MainEditClipboardTest : public ShownMainFormTest {
protected:
    void SetUp() override
    {
        ShownMainFormTest::SetUp();
        form->SetStepCount(12);
        // Cell [c][r] holds c * 10 + r - 2 (never 0), step c has time 100 + c.
        form->PushUndo();
        for (int c = 1; c <= 12; ++c) {
            form->Scn().SetCell(c, 1, static_cast<uint16_t>(100 + c));
            for (int r = kFixedRows; r < kFixedRows + 6; ++r)
                form->Scn().SetCell(c, r, static_cast<uint16_t>(Code(c, r)));
        }
        form->RecalcScenario();
    }
    static int Code(int c, int r) { return c * 10 + r - 2; }
    int Cell(int c, int r) { return form->Scn().Cell(c, r); }
    void CtrlKey(WORD key)
    {
        HeldKeys ctrl{VK_CONTROL};
        TypeKey(form->Grid, key);
    }
    // The mouse comes over a cell and the left button drops the paste there.
    void DropAt(int col, int row)
    {
        Move(col, row, 0);
        Click(col, row);
    }
};

TEST_F(MainEditClipboardTest, ACopiedCellFloatsUnderTheMouseAndDropsAsOneUndoStep)
{
    Click(3, 4);
    CtrlKey('C');
    EXPECT_TRUE(form->EditState.FloatingPaste);
    EXPECT_EQ(form->Grid->PopupMenu, nullptr) << "a right click cancels instead of opening the menu";
    EXPECT_TRUE(form->N_Paste->Enabled);
    EXPECT_EQ(form->N_Paste->Caption, "Вставить");
    int depth = form->Ring().UndoDepth;

    DropAt(6, 7);
    EXPECT_FALSE(form->EditState.FloatingPaste);
    EXPECT_EQ(form->Grid->PopupMenu, form->PopupMenu);
    EXPECT_EQ(Cell(6, 7), Code(3, 4));
    EXPECT_EQ(Cell(6, 6), Code(6, 6)) << "nothing else was copied";
    EXPECT_EQ(form->Ring().UndoDepth, depth + 1);
    EXPECT_TRUE(form->Modified);

    form->SpeedButtonUndo->Click();
    EXPECT_EQ(Cell(6, 7), Code(6, 7));
}

TEST_F(MainEditClipboardTest, CutStepsGoAtOnceAndStayGoneWhenEscapeCancels)
{
    Click(4, 0);
    Click(5, 0, MK_SHIFT);
    EXPECT_EQ(form->N_Cut->Caption, "Вырезать шаги");
    CtrlKey('X');
    EXPECT_EQ(form->Grid->ColCount(), 11);
    EXPECT_EQ(Cell(4, 3), Code(6, 3));
    EXPECT_TRUE(form->EditState.FloatingPaste);
    EXPECT_EQ(form->EditState.ClipboardOriginCol, 4) << "taken before the cut moved the current column";
    Char(27);
    EXPECT_FALSE(form->EditState.FloatingPaste);
    EXPECT_EQ(form->Grid->ColCount(), 11);
    form->SpeedButtonUndo->Click();
    EXPECT_EQ(form->Grid->ColCount(), 13);
    EXPECT_EQ(Cell(4, 3), Code(4, 3));
}

TEST_F(MainEditClipboardTest, ACutChannelDropsOnAnotherChannel)
{
    Click(0, 4);  // channel 2
    form->N_Cut->Click();
    EXPECT_EQ(form->N_Paste->Caption, "Вставить канал");
    EXPECT_EQ(Cell(5, 4), 0) << "the cut switched the row off";
    DropAt(9, 7);  // channel 5, whatever the column
    for (int c = 1; c <= 12; ++c) {
        EXPECT_EQ(Cell(c, 7), Code(c, 4)) << c;
        EXPECT_EQ(StepTime(form->Scn(), c), 100 + c);
    }
    form->SpeedButtonUndo->Click();
    form->SpeedButtonUndo->Click();
    EXPECT_EQ(Cell(5, 4), Code(5, 4));
    EXPECT_EQ(Cell(5, 7), Code(5, 7));
}

TEST_F(MainEditClipboardTest, ADropBesideTheStepCellsCancelsWithoutAnUndoStep)
{
    // Steps float sideways only: over a step number they would still line up with
    // steps, but the drop there is cancelled.
    Click(2, 0);
    Click(3, 0, MK_SHIFT);
    form->N_Copy->Click();
    int depth = form->Ring().UndoDepth;
    form->Modified = false;
    DropAt(8, 0);
    EXPECT_FALSE(form->EditState.FloatingPaste);
    EXPECT_EQ(form->Ring().UndoDepth, depth);
    EXPECT_FALSE(form->Modified);
    for (int r = kFixedRows; r < kFixedRows + 6; ++r)
        ASSERT_EQ(Cell(8, r), Code(8, r)) << r;
    EXPECT_EQ(StepTime(form->Scn(), 8), 108);
}

TEST_F(MainEditClipboardTest, WithTheTimesLockStepsArePastedWithoutTheirTimes)
{
    SendMessageW(form->CheckBoxTimesLock->Handle(), BM_CLICK, 0, 0);
    Click(2, 0);
    form->N_Copy->Click();
    DropAt(10, 3);
    EXPECT_EQ(Cell(10, 3), Code(2, 3));
    EXPECT_EQ(StepTime(form->Scn(), 10), 110);
}

TEST_F(MainEditClipboardTest, AFilesStepsFloatAndDropFromTheMouseColumn)
{
    form->LoadBuffer.Clear();
    form->LoadBuffer.SetCell(0, 0, 4);  // three steps
    for (int c = 1; c <= 3; ++c) {
        form->LoadBuffer.SetCell(c, 1, static_cast<uint16_t>(500 + c));
        form->LoadBuffer.SetCell(c, 3, kCellStrobe);
    }
    form->N_Copy->Tag = kSelectSteps;
    form->CopyOrCut(2);
    EXPECT_EQ(form->N_Paste->Caption, "Вставить шаги");
    ASSERT_TRUE(form->EditState.FloatingPaste);
    DropAt(11, 6);
    EXPECT_EQ(Cell(11, 3), kCellStrobe);
    EXPECT_EQ(Cell(12, 3), kCellStrobe);
    EXPECT_EQ(Cell(11, 6), 0) << "what the file holds, off cells too";
    EXPECT_EQ(StepTime(form->Scn(), 12), 502);
    EXPECT_EQ(form->Grid->ColCount(), 13);
    form->SpeedButtonUndo->Click();
    EXPECT_EQ(Cell(11, 3), Code(11, 3));
}

TEST_F(MainEditClipboardTest, ANewScenarioEmptiesTheClipboardAndEndsTheFloatingPaste)
{
    Click(3, 4);
    form->N_Copy->Click();
    ASSERT_TRUE(form->EditState.FloatingPaste);
    dialogs.answers.push_back(IDNO);  // do not save the changes
    form->SpeedButtonNew->Click();
    EXPECT_FALSE(form->EditState.FloatingPaste);
    EXPECT_EQ(form->Grid->PopupMenu, form->PopupMenu);
    EXPECT_FALSE(form->N_Paste->Enabled);
    form->Modified = false;
    Click(6, 7);
    EXPECT_FALSE(form->Modified) << "the click drops nothing";
}

} // namespace
