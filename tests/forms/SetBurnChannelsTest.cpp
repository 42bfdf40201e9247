// The channel-range window driven through its controls: ranges proposed one controller
// after the other, edited ranges, refused ranges and closing.
#include <gtest/gtest.h>

#include <windows.h>

#include "programming/UnitSetBurnChannels.h"
#include "support/RecordingDialogs.h"
#include "ui/Application.h"
#include "ui/Exceptions.h"

namespace {

class SetBurnChannelsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        form = new TFormSetBurnChannels(Application);
        form->BuildControllerImage = [this](int first, int count) { programmed.emplace_back(first, count); };
    }
    void TearDown() override { TComponent::Free(form); }

    // As the main window fills it.
    void Fill(int rows, int perController)
    {
        form->FirstCh = 0;
        form->EndCh = rows;
        form->TotalCh = rows;
        form->CtrlName = "Qarto18";
        form->CtrlChannels = perController;
    }
    // Filled and shown, without the modal loop.
    void Open(int rows, int perController)
    {
        Fill(rows, perController);
        form->FormShow(form);
    }
    std::string Shown() const
    {
        return form->EditCtrlNum->Text() + ": " + form->EditFirstCh->Text() + ".." + form->EditEndCh->Text() + " " +
               form->LabelNum->Caption();
    }
    void Type(TEdit* edit, const std::string& text)
    {
        edit->SetText(text);
        char enter = 13;
        SendMessageW(edit->Handle(), WM_CHAR, enter, 0);
    }
    // Typed key by key over the edit's whole text.
    void TypeKeys(TEdit* edit, const std::wstring& keys)
    {
        SendMessageW(edit->Handle(), EM_SETSEL, 0, -1);
        for (wchar_t c : keys)
            SendMessageW(edit->Handle(), WM_CHAR, c, 0);
    }

    RecordingDialogs dialogs;
    TFormSetBurnChannels* form = nullptr;
    std::vector<std::pair<int, int>> programmed;
};

TEST_F(SetBurnChannelsTest, EveryControllerGetsItsRangeThenTheWindowCloses)
{
    Open(40, 18);
    EXPECT_EQ(form->Caption(), " Программирование Qarto18");
    EXPECT_EQ(form->UpDownCtrlNum->Max(), 3);
    EXPECT_EQ(Shown(), "1: 1..18 (18)");
    form->SpeedButtonBurn->Click();
    EXPECT_EQ(Shown(), "2: 19..36 (18)");
    form->SpeedButtonBurn->Click();
    EXPECT_EQ(Shown(), "3: 37..40 (4)");
    EXPECT_EQ(form->ModalResult, mrNone);
    form->SpeedButtonBurn->Click();
    EXPECT_EQ(programmed, (std::vector<std::pair<int, int>>{{0, 18}, {18, 18}, {36, 4}}));
    EXPECT_EQ(form->ModalResult, mrCancel);
    EXPECT_EQ(form->FirstCh, 36);
    EXPECT_EQ(form->EndCh, 39);
    EXPECT_TRUE(dialogs.boxes.empty());
}

TEST_F(SetBurnChannelsTest, TheArrowsAndTheEditsMoveTheRange)
{
    Open(40, 18);
    form->UpDownCtrlNum->Click(btNext);
    EXPECT_EQ(Shown(), "2: 19..36 (18)");
    Type(form->EditCtrlNum, "1");
    EXPECT_EQ(Shown(), "1: 1..18 (18)");
    Type(form->EditFirstCh, "5");
    EXPECT_EQ(Shown(), "1: 5..22 (18)");
    form->UpDownFirstCh->Click(btPrev);
    EXPECT_EQ(Shown(), "1: 4..21 (18)");
    EXPECT_EQ(form->EditEndCh->Color(), clWindow);
    form->UpDownEndCh->Click(btNext);
    EXPECT_EQ(Shown(), "1: 4..22 (19)");
    EXPECT_EQ(form->EditEndCh->Color(), clYellow) << "wider than one controller";
    Type(form->EditEndCh, "2");
    EXPECT_EQ(Shown(), "1: 4..2 (19)") << "a last channel before the first stays as typed";
}

TEST_F(SetBurnChannelsTest, ATypedRangeIsNeitherClampedNorRewrittenOnLeavingAnEdit)
{
    Fill(40, 18);
    form->Show();
    form->EditFirstCh->SetFocus();
    TypeKeys(form->EditFirstCh, L"5\r");
    EXPECT_EQ(Shown(), "1: 5..22 (18)") << "the last channel follows the first";
    form->EditEndCh->SetFocus();
    TypeKeys(form->EditEndCh, L"4\r");
    PostMessageW(form->EditEndCh->Handle(), WM_KEYDOWN, VK_TAB, 0);
    Application->ProcessMessages();
    EXPECT_FALSE(form->EditEndCh->Focused());
    EXPECT_EQ(form->EditEndCh->Text(), "4");
    form->SpeedButtonBurn->Click();
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].text, "Неверно указан диапазон каналов для загрузки!");
    EXPECT_TRUE(programmed.empty());
}

TEST_F(SetBurnChannelsTest, TheRangeEditsTakeDigitsOnly)
{
    Open(40, 18);
    TypeKeys(form->EditCtrlNum, L"1z");
    TypeKeys(form->EditFirstCh, L"2x");
    TypeKeys(form->EditEndCh, L"9y");
    EXPECT_EQ(Shown(), "1: 2..9 (18)");
    form->SpeedButtonBurn->Click();
    EXPECT_EQ(programmed, (std::vector<std::pair<int, int>>{{1, 8}}));
    EXPECT_TRUE(dialogs.boxes.empty());
}

TEST_F(SetBurnChannelsTest, AWiderRangeIsProgrammedAsTyped)
{
    Open(40, 18);
    form->EditEndCh->SetText("20");
    form->SpeedButtonBurn->Click();
    EXPECT_EQ(programmed, (std::vector<std::pair<int, int>>{{0, 20}}));
}

TEST_F(SetBurnChannelsTest, RangesThatCannotBeProgrammedAreRefused)
{
    Open(300, 18);
    for (auto [first, end] : {std::pair<const char*, const char*>{"5", "4"}, {"1", "256"}, {"290", "301"}}) {
        form->EditFirstCh->SetText(first);
        form->EditEndCh->SetText(end);
        form->SpeedButtonBurn->Click();
    }
    ASSERT_EQ(dialogs.boxes.size(), 3u);
    for (const auto& box : dialogs.boxes) {
        EXPECT_EQ(box.text, "Неверно указан диапазон каналов для загрузки!");
        EXPECT_EQ(box.caption, "Программирование контроллера");
        EXPECT_EQ(box.flags, static_cast<unsigned>(MB_OK | MB_ICONERROR));
    }
    EXPECT_TRUE(programmed.empty());
    EXPECT_EQ(form->EditCtrlNum->Text(), "1") << "a refused range does not move on";
    form->EditFirstCh->SetText("1");
    form->EditEndCh->SetText("255");
    form->SpeedButtonBurn->Click();
    EXPECT_EQ(programmed, (std::vector<std::pair<int, int>>{{0, 255}}));
}

TEST_F(SetBurnChannelsTest, TextThatIsNoNumberIsAConversionError)
{
    Open(40, 18);
    form->EditFirstCh->SetText("x");
    EXPECT_THROW(form->SpeedButtonBurnClick(form->SpeedButtonBurn), EConvertError);
    EXPECT_TRUE(programmed.empty());
}

TEST_F(SetBurnChannelsTest, AModelWithoutChannelsIsOneController)
{
    Open(40, 0);
    EXPECT_EQ(form->UpDownCtrlNum->Max(), 1);
    EXPECT_EQ(Shown(), "1: 1..40 (40)") << "the whole scenario";
    EXPECT_EQ(form->EditEndCh->Color(), clWindow);
    form->EditEndCh->SetText("40");
    form->SpeedButtonBurn->Click();
    EXPECT_EQ(programmed, (std::vector<std::pair<int, int>>{{0, 40}}));
    EXPECT_EQ(form->ModalResult, mrCancel);
}

TEST_F(SetBurnChannelsTest, ExitAndEscapeClose)
{
    Open(40, 18);
    form->SpeedButtonExit->Click();
    EXPECT_EQ(form->ModalResult, mrCancel);
    form->ModalResult = mrNone;
    SendMessageW(form->EditFirstCh->Handle(), WM_CHAR, 27, 0);
    EXPECT_EQ(form->ModalResult, mrCancel);
    EXPECT_TRUE(programmed.empty());
}

} // namespace
