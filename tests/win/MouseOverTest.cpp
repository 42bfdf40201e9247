// What the mouse over a control brings: its hint, gone while a dialog opened from it is
// open (whichever kind), and its own pointer.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include "UiTestHelpers.h"
#include "ui/Buttons.h"
#include "ui/Dialogs.h"
#include "ui/Messages.h"
#include "ui/StdCtrls.h"

namespace {

bool HintVisible()
{
    bool visible = false;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND hwnd, LPARAM param) -> BOOL {
            wchar_t name[64] = {};
            GetClassNameW(hwnd, name, 64);
            if (lstrcmpiW(name, TOOLTIPS_CLASSW) == 0 && IsWindowVisible(hwnd))
                *reinterpret_cast<bool*>(param) = true;
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&visible));
    return visible;
}

// The hint timer's tick, as the application's window receives it.
void HintTimerTick() { SendMessageW(Application->Handle(), WM_TIMER, 1, 0); }

// Notes whether a hint shows while a dialog is open, even after a hint timer tick.
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
        hintsOverDialogs += HintVisible();
    }
    int opened = 0;
    int hintsOverDialogs = 0;
};

TEST(Hints, TheHintGoesWhenTheMouseLeavesAndWhenADialogOpens)
{
    TestForm form;
    form->Show();
    auto* button = new TSpeedButton(form.form);
    button->SetParent(form.form);
    button->SetBounds(10, 10, 28, 28);
    button->Hint = "Программирование контроллера";
    HintWatchingDialogs dialogs;
    auto enter = [&] { button->Perform(CM_MOUSEENTER, 0, reinterpret_cast<LPARAM>(button)); };

    enter();
    HintTimerTick();
    EXPECT_TRUE(HintVisible());
    button->Perform(CM_MOUSELEAVE, 0, reinterpret_cast<LPARAM>(button));
    EXPECT_FALSE(HintVisible());

    TSaveDialog save(nullptr);
    TColorDialog colour(nullptr);
    std::function<void()> opens[] = {
        [] { ShowMessageBox("Текст", "Заголовок", MB_OK); },
        [&] { save.Execute(); },
        [&] { colour.Execute(); },
        [] { Application->ShowException("Ошибка"); },
    };
    for (auto& open : opens) {
        enter();
        HintTimerTick();
        ASSERT_TRUE(HintVisible());
        open();
    }
    enter();  // the hint's timer runs: the box opens before the hint shows
    ShowMessageBox("Текст", "Заголовок", MB_OK);
    EXPECT_EQ(dialogs.opened, 5);
    EXPECT_EQ(dialogs.hintsOverDialogs, 0);

    enter();
    HintTimerTick();
    TestForm modal;
    bool hintOverForm = true;
    modal->OnShow = [&](TObject*) {
        HintTimerTick();
        hintOverForm = HintVisible();
        modal->ModalResult = mrOk;
    };
    modal->ShowModal();
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
}

} // namespace
