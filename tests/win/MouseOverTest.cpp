// What the mouse over a control brings: its hint, which is gone while a dialog opened
// from it is open, whichever kind of dialog; its pointer; its enter and leave events.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include "UiTestHelpers.h"
#include "ui/Buttons.h"
#include "ui/Dialogs.h"
#include "ui/Messages.h"
#include "ui/StdCtrls.h"

namespace {

HWND VisibleHintWindow()
{
    struct Search {
        HWND found = nullptr;
    } search;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND hwnd, LPARAM param) -> BOOL {
            wchar_t name[64] = {};
            GetClassNameW(hwnd, name, 64);
            if (lstrcmpiW(name, TOOLTIPS_CLASSW) == 0 && IsWindowVisible(hwnd)) {
                reinterpret_cast<Search*>(param)->found = hwnd;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// The hint timer's tick, as the application's window receives it.
void HintTimerTick() { SendMessageW(Application->Handle(), WM_TIMER, 1, 0); }

// Answers every dialog and notes whether a hint was visible while it was open; a hint
// timer that ticks meanwhile must not bring a hint back either.
class HintWatchingDialogs : public RecordingDialogs {
public:
    int ShowMessageBox(void* owner, const std::string& text, const std::string& caption, unsigned flags) override
    {
        Watch();
        return RecordingDialogs::ShowMessageBox(owner, text, caption, flags);
    }
    bool ShowFileDialog(void* owner, FileDialogRequest& request) override
    {
        Watch();
        return RecordingDialogs::ShowFileDialog(owner, request);
    }
    bool ShowColorDialog(void* owner, uint32_t& color, uint32_t* custom) override
    {
        Watch();
        return RecordingDialogs::ShowColorDialog(owner, color, custom);
    }
    void Watch()
    {
        ++opened;
        HintTimerTick();
        if (VisibleHintWindow())
            ++hintsOverDialogs;
    }
    int opened = 0;
    int hintsOverDialogs = 0;
};

class HintTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        form->Show();
        button = new TSpeedButton(form.form);
        button->SetParent(form.form);
        button->SetBounds(10, 10, 28, 28);
        button->Hint = "Программирование контроллера";
    }
    void TearDown() override { Application->CancelHint(); }
    void HoverAndShowHint()
    {
        button->Perform(CM_MOUSEENTER, 0, reinterpret_cast<LPARAM>(button));
        HintTimerTick();
    }

    TestForm form;
    TSpeedButton* button = nullptr;
    HintWatchingDialogs dialogs;
};

TEST_F(HintTest, TheHintShowsOverItsButtonAndGoesWhenTheMouseLeaves)
{
    HoverAndShowHint();
    EXPECT_NE(VisibleHintWindow(), nullptr);
    button->Perform(CM_MOUSELEAVE, 0, reinterpret_cast<LPARAM>(button));
    EXPECT_EQ(VisibleHintWindow(), nullptr);
}

TEST_F(HintTest, NoHintStaysOverAMessageBoxOrAFileOrColourDialog)
{
    HoverAndShowHint();
    ASSERT_NE(VisibleHintWindow(), nullptr);
    ShowMessageBox("Текст", "Заголовок", MB_OK);

    HoverAndShowHint();
    ASSERT_NE(VisibleHintWindow(), nullptr);
    TSaveDialog save(nullptr);
    save.Execute();

    HoverAndShowHint();
    ASSERT_NE(VisibleHintWindow(), nullptr);
    TColorDialog colour(nullptr);
    colour.Execute();

    HoverAndShowHint();
    ASSERT_NE(VisibleHintWindow(), nullptr);
    Application->ShowException("Ошибка");

    EXPECT_EQ(dialogs.opened, 4);
    EXPECT_EQ(dialogs.hintsOverDialogs, 0);
}

TEST_F(HintTest, APendingHintDoesNotAppearOverAMessageBox)
{
    button->Perform(CM_MOUSEENTER, 0, reinterpret_cast<LPARAM>(button));  // timer running
    ShowMessageBox("Текст", "Заголовок", MB_OK);
    EXPECT_EQ(dialogs.opened, 1);
    EXPECT_EQ(dialogs.hintsOverDialogs, 0);
}

TEST_F(HintTest, NoHintStaysOverAModalForm)
{
    HoverAndShowHint();
    ASSERT_NE(VisibleHintWindow(), nullptr);
    TestForm modal;
    bool hintOverForm = true;
    modal->OnShow = [&](TObject*) {
        HintTimerTick();
        hintOverForm = VisibleHintWindow() != nullptr;
        modal->ModalResult = mrOk;
    };
    EXPECT_EQ(modal->ShowModal(), mrOk);
    EXPECT_FALSE(hintOverForm);
}

TEST(MousePointer, AControlWithAPointerOfItsOwnShowsIt)
{
    TestForm form;
    auto* link = new TLabel(form.form);
    link->SetParent(form.form);
    link->SetBounds(20, 20, 100, 20);
    link->Cursor = crHandPoint;
    auto* plain = new TLabel(form.form);
    plain->SetParent(form.form);
    plain->SetBounds(20, 60, 100, 20);
    form->Show();
    HWND window = form->Handle();
    auto pointerOver = [&](TControl* control) {
        TPoint p = control->ClientToScreen(TPoint{5, 5});
        SetCursorPos(p.X, p.Y);
        SetCursor(LoadCursorW(nullptr, IDC_WAIT));
        SendMessageW(window, WM_SETCURSOR, reinterpret_cast<WPARAM>(window), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        return GetCursor();
    };
    HCURSOR hand = LoadCursorW(nullptr, IDC_HAND);
    EXPECT_EQ(pointerOver(link), hand);
    EXPECT_NE(pointerOver(plain), hand);
    EXPECT_EQ(pointerOver(link), hand);
}

TEST(MouseEvents, EnterAndLeaveReachTheirEvents)
{
    TestForm form;
    auto* label = new TLabel(form.form);
    label->SetParent(form.form);
    std::string log;
    label->OnMouseEnter = [&](TObject* sender) { log += sender == label ? "enter " : "? "; };
    label->OnMouseLeave = [&](TObject* sender) { log += sender == label ? "leave" : "?"; };
    label->Perform(CM_MOUSEENTER, 0, reinterpret_cast<LPARAM>(label));
    label->Perform(CM_MOUSELEAVE, 0, reinterpret_cast<LPARAM>(label));
    EXPECT_EQ(log, "enter leave");
}

} // namespace
