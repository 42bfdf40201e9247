// The step grid driven by real mouse and key messages: selections of cells, steps and
// channels with their popup texts, drags, the right button, double clicks and keys that
// cycle effects, the loop and label keys, the wheel's zoom and the zoom buttons.
#include "MainFormFixture.h"

#include "ui/Messages.h"

namespace {

class MainGridTest : public ShownMainFormTest {
protected:
    LPARAM At(int col, int row)
    {
        TRect r = form->Grid->CellRect(col, row);
        EXPECT_GT(r.Width(), 0) << "cell " << col << "," << row << " is in view";
        return MAKELPARAM(r.Left + r.Width() / 2, r.Top + r.Height() / 2);
    }
    void Click(int col, int row, WPARAM keys = 0)
    {
        SendMessageW(form->Grid->Handle(), WM_LBUTTONDOWN, MK_LBUTTON | keys, At(col, row));
        SendMessageW(form->Grid->Handle(), WM_LBUTTONUP, keys, At(col, row));
    }
    void DoubleClick(int col, int row)
    {
        Click(col, row);
        SendMessageW(form->Grid->Handle(), WM_LBUTTONDBLCLK, MK_LBUTTON, At(col, row));
        SendMessageW(form->Grid->Handle(), WM_LBUTTONUP, 0, At(col, row));
    }
    void Move(int col, int row, WPARAM keys)
    {
        SendMessageW(form->Grid->Handle(), WM_MOUSEMOVE, keys, At(col, row));
    }
    void Char(wchar_t c) { SendMessageW(form->Grid->Handle(), WM_CHAR, c, 0); }
    uint16_t Mark(int col, int row) { return form->SelectionMark(col, row); }
};

TEST_F(MainGridTest, AClickThenAShiftClickSelectsTheRectangle)
{
    Click(2, 4);
    EXPECT_EQ(form->Grid->Col(), 2);
    EXPECT_EQ(form->Grid->Row(), 4);
    EXPECT_EQ(Mark(2, 4), 0) << "a plain click selects nothing";
    Click(4, 6, MK_SHIFT);
    EXPECT_EQ(Mark(2, 4), 1);
    EXPECT_EQ(Mark(4, 6), 1);
    EXPECT_EQ(Mark(3, 1), 1);
    EXPECT_EQ(Mark(5, 6), 0);
    EXPECT_EQ(form->N_Copy->Caption, "Копировать");
    EXPECT_EQ(form->N_Cut->Caption, "Вырезать");
    EXPECT_EQ(form->N_DelStep->Caption, "Удалить выделенные шаги");
    EXPECT_EQ(form->N_Copy->Tag, 0);
}

TEST_F(MainGridTest, StepHeadersSelectStepsAndChannelNamesSelectChannels)
{
    Click(5, 0);
    Click(8, 0, MK_SHIFT);
    for (int c = 5; c <= 8; ++c)
        EXPECT_EQ(Mark(c, 20), 1) << c;
    EXPECT_EQ(Mark(4, 20), 0);
    EXPECT_EQ(form->Grid->Col(), 5);
    EXPECT_EQ(form->N_Copy->Caption, "Копировать шаги");
    EXPECT_EQ(form->N_Cut->Caption, "Вырезать шаги");
    EXPECT_EQ(form->N_DelStep->Caption, "Удалить выделенные шаги");
    EXPECT_EQ(form->SpeedButtonDelStep->Hint, "Удалить выделенные шаги");
    EXPECT_TRUE(form->SpeedButtonGradient->Enabled());
    Click(6, 1);  // the time row selects one step
    EXPECT_EQ(form->N_Copy->Caption, "Копировать шаг");
    EXPECT_EQ(form->N_DelStep->Caption, "Удалить выделенный шаг");
    EXPECT_FALSE(form->SpeedButtonGradient->Enabled());

    Click(0, 5);  // channel 2
    EXPECT_EQ(form->Grid->Row(), 5);
    EXPECT_EQ(Mark(1, 5), 1);
    EXPECT_EQ(Mark(form->Grid->ColCount() - 1, 5), 1);
    EXPECT_EQ(Mark(1, 6), 0);
    EXPECT_EQ(form->N_Copy->Caption, "Копировать канал");
    EXPECT_EQ(form->N_Copy->Tag, 2);
    Click(0, 7, MK_SHIFT);
    EXPECT_EQ(form->N_Cut->Caption, "Вырезать каналы");
}

TEST_F(MainGridTest, DraggingBackOverASmallerRectangleDeselectsTheRest)
{
    SendMessageW(form->Grid->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, At(2, 4));
    Move(5, 8, MK_LBUTTON);
    EXPECT_EQ(Mark(5, 8), 1);
    EXPECT_EQ(form->PlayColumn, 5) << "the preview follows the drag";
    Move(3, 5, MK_LBUTTON);
    SendMessageW(form->Grid->Handle(), WM_LBUTTONUP, 0, At(3, 5));
    EXPECT_EQ(Mark(3, 5), 1);
    EXPECT_EQ(Mark(5, 8), 0);
    EXPECT_EQ(Mark(4, 4), 0);
    EXPECT_EQ(Mark(5, 1), 0);
    EXPECT_EQ(form->Grid->Col(), 2) << "the current cell stays where the drag began";
}

TEST_F(MainGridTest, ARightClickMovesTheCurrentCellGivesBackTheMenuAndSkipsOneDragStep)
{
    form->Grid->PopupMenu = nullptr;  // as a floating paste leaves it
    form->EditState.FloatingPaste = true;
    SendMessageW(form->Grid->Handle(), WM_RBUTTONDOWN, MK_RBUTTON, At(6, 7));
    EXPECT_EQ(form->Grid->Col(), 6);
    EXPECT_EQ(form->Grid->Row(), 7);
    EXPECT_EQ(form->Grid->PopupMenu, form->PopupMenu);
    EXPECT_FALSE(form->EditState.FloatingPaste);
    Move(8, 9, MK_LBUTTON);
    EXPECT_EQ(Mark(8, 9), 0) << "the first move does not extend a selection";
    EXPECT_FALSE(form->EditState.SkipDrag);
}

TEST_F(MainGridTest, DoubleClicksAndSpaceCycleTheEffectsTheModelAllows)
{
    // An on/off lamp model: one level, strobe, no ramps.
    form->Params = ModelParamTable[1];
    form->ApplyModelParams();
    DoubleClick(3, 4);
    EXPECT_EQ(form->Scn().Cell(3, 4), 1);
    DoubleClick(3, 4);
    EXPECT_EQ(form->Scn().Cell(3, 4), kCellStrobe);
    EXPECT_TRUE(form->SpeedButtonStepStrob->Down());
    Char(L' ');
    EXPECT_EQ(form->Scn().Cell(3, 4), 0);
    form->SpeedButtonUndo->Click();
    EXPECT_EQ(form->Scn().Cell(3, 4), kCellStrobe) << "each change is one undo step";
}

TEST_F(MainGridTest, ArrowKeysMoveTheCurrentCellAndTheControlsFollowOnKeyUp)
{
    Click(2, 4);
    form->Scn().SetCell(3, 1, 250);
    form->Scn().SetCell(3, 4, kCellRampDown);
    TypeKey(form->Grid, VK_RIGHT);
    EXPECT_EQ(form->Grid->Col(), 3);
    EXPECT_EQ(form->EditStepTime->Text(), "250");
    EXPECT_TRUE(form->SpeedButtonStepDown->Down());
    EXPECT_EQ(form->PlayColumn, 3);
}

TEST_F(MainGridTest, LoopAndLabelKeysActOnlyThroughAnEnabledVisibleButton)
{
    int loops = 0, labels = 0;
    form->SpeedButtonSubAdd->OnClick = [&](TObject*) { ++loops; };
    form->SpeedButtonLabelAdd->OnClick = [&](TObject*) { ++labels; };
    Char(L'L');
    Char(L'm');
    EXPECT_EQ(loops, 1);
    EXPECT_EQ(labels, 1);
    form->SpeedButtonSubAdd->SetEnabled(false);
    form->GroupBoxLabels->Hide();  // a model without labels
    Char(L'l');
    Char(L'M');
    EXPECT_EQ(loops, 1);
    EXPECT_EQ(labels, 1);
}

TEST_F(MainGridTest, EscapeEndsTheFloatingPasteAndGivesBackTheMenu)
{
    form->Grid->PopupMenu = nullptr;
    form->EditState.FloatingPaste = true;
    Char(27);
    EXPECT_FALSE(form->EditState.FloatingPaste);
    EXPECT_EQ(form->Grid->PopupMenu, form->PopupMenu);
}

TEST_F(MainGridTest, TheWheelZoomsAndNeverScrolls)
{
    int top = form->Grid->TopRow();
    SendMessageW(form->Grid->Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), 0);
    EXPECT_FLOAT_EQ(form->Zoom, 0.9f);
    EXPECT_EQ(form->Grid->TopRow(), top);
    EXPECT_EQ(form->Grid->RowHeights(5), 21);
    SendMessageW(form->Grid->Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), 0);
    SendMessageW(form->Grid->Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), 0);
    SendMessageW(form->Grid->Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), 0);
    EXPECT_FLOAT_EQ(form->Zoom, 1.2f);
    EXPECT_FALSE(form->SpeedButtonZoomPlus->Enabled());
    EXPECT_EQ(form->Grid->RowHeights(5), 28);
    EXPECT_EQ(form->Grid->ColWidths(1), 30) << "a time of 1 unit at zoom 1.2";
    EXPECT_EQ(form->Grid->TopRow(), top);
}

TEST_F(MainGridTest, ZoomButtonsStopAtTheirEnds)
{
    for (int i = 0; i < 12; ++i)
        form->SpeedButtonZoomMinus->Click();
    EXPECT_FLOAT_EQ(form->Zoom, 0.1f);
    EXPECT_FALSE(form->SpeedButtonZoomMinus->Enabled());
    EXPECT_TRUE(form->SpeedButtonZoomPlus->Enabled());
    EXPECT_EQ(form->Grid->RowHeights(5), 10);
    EXPECT_EQ(form->Grid->ColWidths(1), 2);
    EXPECT_EQ(form->Grid->ColWidths(0), 80) << "the channel names keep their width";
    // The lamps beside the grid follow the rows.
    EXPECT_EQ(form->ChannelRowSpans[0].top, 3 * 11 + 2);
    EXPECT_EQ(form->ChannelRowSpans[639].top, (3 + 639) * 11 + 2);
}

TEST_F(MainGridTest, ScrollingMovesTheChannelRowSpans)
{
    int first = form->ChannelRowSpans[1].top;
    SendMessageW(form->Grid->Handle(), WM_VSCROLL, SB_LINEDOWN, 0);
    EXPECT_EQ(form->Grid->TopRow(), 4);
    EXPECT_EQ(form->ChannelRowSpans[1].top, first - 25);
}

TEST_F(MainGridTest, CtrlAMarksEveryStepAndCtrlDClears)
{
    {
        HeldKeys ctrl({VK_CONTROL});
        TypeKey(form->Grid, 'A');
    }
    int lastCol = form->Grid->ColCount() - 1, lastRow = form->Grid->RowCount() - 1;
    EXPECT_EQ(Mark(lastCol, lastRow), 1);
    EXPECT_EQ(Mark(1, 1), 1);
    EXPECT_EQ(Mark(0, 4), 0);
    EXPECT_EQ(form->N_DelStep->Caption, "Удалить выделенные шаги");
    {
        HeldKeys ctrl({VK_CONTROL});
        TypeKey(form->Grid, 'D');
    }
    EXPECT_EQ(Mark(lastCol, lastRow), 0);
    EXPECT_EQ(form->N_DelStep->Caption, "Удалить текущий шаг");
}

TEST_F(MainGridTest, ThePopupMenuHasItsSeparatorAndPictures)
{
    ASSERT_EQ(form->PopupMenu->Items.size(), 7u);
    EXPECT_EQ(form->PopupMenu->Items[1], form->N_DelStep);
    EXPECT_EQ(form->PopupMenu->Items[2]->Caption, "-");
    EXPECT_EQ(form->PopupMenu->Items[3], form->N_InsertFromFile);
    EXPECT_EQ(form->PopupMenu->Images, form->ImageList1);
    for (TMenuItem* item : {form->N_AddStep, form->N_DelStep, form->N_InsertFromFile, form->N_Cut, form->N_Copy,
                            form->N_Paste})
        EXPECT_NE(form->ImageList1->AlphaBitmap(item->ImageIndex), nullptr) << item->Name;
}

} // namespace
