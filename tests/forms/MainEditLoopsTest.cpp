// The "Циклы" and "Метки" boxes through their buttons, edit, radio buttons and the
// grid's keys: loops over the selection replacing the loops they touch, repeat counts
// kept in range, labels on steps, the limits' warnings, and undo of each.
#include "MainFormFixture.h"

namespace {

class MainEditLoopsTest : public ShownMainFormTest {
protected:
    void SetUp() override
    {
        ShownMainFormTest::SetUp();
        form->SetStepCount(12);
    }
    std::vector<LoopRecord>& Loops() { return form->Scn().loops; }
    void ExpectLoop(size_t i, int first, int last, int repeat)
    {
        ASSERT_LT(i, Loops().size());
        EXPECT_EQ(Loops()[i].firstColumn, first);
        EXPECT_EQ(Loops()[i].lastColumn, last);
        EXPECT_EQ(Loops()[i].repeatCount, repeat);
    }
    void Enter(TEdit* edit, const std::wstring& text)
    {
        edit->SetFocus();
        TypeText(edit, text);
        TypeKey(edit, VK_RETURN, L'\r');
    }
    void Warned(const char* what)
    {
        ASSERT_EQ(dialogs.boxes.size(), 1u);
        EXPECT_EQ(dialogs.boxes[0].text,
                  std::string("Сценарий уже содержит максимально допустимое количество ") + what + " (255)!");
        EXPECT_EQ(dialogs.boxes[0].caption, "Предупреждение");
        EXPECT_EQ(dialogs.boxes[0].flags, static_cast<unsigned>(MB_OK | MB_ICONWARNING));
    }
};

TEST_F(MainEditLoopsTest, ALoopOverTheSelectedStepsReplacesTheLoopsItTouches)
{
    form->EditSubCnt->SetText("5");
    Click(3, 0);
    Click(6, 0, MK_SHIFT);
    form->SpeedButtonSubAdd->Click();
    ASSERT_EQ(Loops().size(), 1u);
    ExpectLoop(0, 3, 6, 5);
    EXPECT_EQ(form->PanelLoops->Caption(), "1 ");
    int depth = form->Ring().UndoDepth;

    Click(4, 5);
    Char(L'L');  // again over step 4 alone
    ASSERT_EQ(Loops().size(), 1u);
    ExpectLoop(0, 4, 4, 5);
    EXPECT_EQ(form->Ring().UndoDepth, depth + 1) << "one undo step for replacing";
    form->SpeedButtonUndo->Click();
    ExpectLoop(0, 3, 6, 5);

    // Ctrl-clicked steps 2 and 9: one loop from the first to the last, over the loop
    // 3..6 that neither step touches.
    Click(2, 4, MK_CONTROL);
    Click(9, 4, MK_CONTROL);
    form->SpeedButtonSubAdd->Click();
    ASSERT_EQ(Loops().size(), 2u);
    ExpectLoop(0, 3, 6, 5);
    ExpectLoop(1, 2, 9, 5);

    // Both loops hold step 5: deleting there removes both.
    Click(5, 4);
    form->SpeedButtonSubDel->Click();
    EXPECT_TRUE(Loops().empty());
    EXPECT_EQ(form->PanelLoops->Caption(), "0 ");
    form->SpeedButtonUndo->Click();
    EXPECT_EQ(Loops().size(), 2u);
}

TEST_F(MainEditLoopsTest, RepeatCountsAreKeptInRangeAndEndlessComesFromItsButton)
{
    Click(7, 4);
    form->SpeedButtonSubAdd->Click();
    Click(7, 4);
    ASSERT_TRUE(form->EditSubCnt->Enabled());
    Enter(form->EditSubCnt, L"1");
    ExpectLoop(0, 7, 7, 2);
    EXPECT_EQ(form->EditSubCnt->Text(), "2");
    Enter(form->EditSubCnt, L"40000");
    ExpectLoop(0, 7, 7, 32767);
    Enter(form->EditSubCnt, L"65535");  // a typed count never makes the loop endless
    ExpectLoop(0, 7, 7, 32767);

    SendMessageW(form->RadioButtonLoopEndless->Handle(), BM_CLICK, 0, 0);
    ExpectLoop(0, 7, 7, kEndlessLoop);
    EXPECT_FALSE(form->EditSubCnt->Enabled());
    EXPECT_FALSE(form->UpDownSubCnt->Enabled());
    SendMessageW(form->RadioButtonLoopRepeat->Handle(), BM_CLICK, 0, 0);
    EXPECT_TRUE(form->EditSubCnt->Enabled());
    ExpectLoop(0, 7, 7, form->UpDownSubCnt->Position());
    int before = Loops()[0].repeatCount;
    form->UpDownSubCnt->SetPosition(100);
    form->UpDownSubCnt->Click(btNext);
    ExpectLoop(0, 7, 7, 101);

    form->SpeedButtonUndo->Click();
    EXPECT_EQ(Loops()[0].repeatCount, before);
    EXPECT_EQ(form->UpDownSubCnt->Position(), before) << "the controls follow the restored loop";
}

TEST_F(MainEditLoopsTest, The256thLoopAndLabelAreRefusedWithAWarning)
{
    form->PushUndo();
    for (int i = 0; i < kMaxLoops; ++i)
        Loops().push_back(LoopRecord{1, 1, 2});
    for (int c = 1; c <= kMaxLabels; ++c)
        form->Scn().labels.push_back(static_cast<uint16_t>(c));
    Click(5, 4);
    form->SpeedButtonSubAdd->Click();
    Warned("циклов");
    EXPECT_EQ(Loops().size(), 255u);
    EXPECT_EQ(form->FindLoop(5), -1);
    dialogs.boxes.clear();
    form->AddLabel(300);
    Warned("меток");
    EXPECT_EQ(form->Scn().labels.size(), 255u);
}

TEST_F(MainEditLoopsTest, LabelsStartOnStepOneWhichStaysWhileOthersExist)
{
    form->Config.typeLetter = 'M';
    form->ApplyModelParams();
    ASSERT_TRUE(form->GroupBoxLabels->Visible());
    Click(7, 4);
    Char(L'm');
    EXPECT_EQ(form->Scn().labels, (std::vector<uint16_t>{1, 7}));
    EXPECT_EQ(form->PanelLabels->Caption(), "2 ");

    Click(1, 4);
    form->SpeedButtonLabelDel->Click();
    EXPECT_EQ(form->Scn().labels, (std::vector<uint16_t>{1, 7})) << "step 1 keeps its label";
    Click(7, 4);
    form->SpeedButtonLabelDel->Click();
    Click(1, 4);
    form->SpeedButtonLabelDel->Click();
    EXPECT_TRUE(form->Scn().labels.empty());
    EXPECT_EQ(form->PanelLabels->Caption(), "0 ");

    form->SpeedButtonUndo->Click();
    form->SpeedButtonUndo->Click();
    EXPECT_EQ(form->Scn().labels, (std::vector<uint16_t>{1, 7}));
}

} // namespace
