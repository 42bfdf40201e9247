// Key preview, discarded keys, default and cancel buttons, and focus enter/exit order.
#include <gtest/gtest.h>

#include "UiTestHelpers.h"
#include "ui/ExtCtrls.h"
#include "ui/Messages.h"
#include "ui/StdCtrls.h"

namespace {

// A shown form with an edit, a default OK button and a cancel button.
struct DialogForm {
    DialogForm()
    {
        f->Show();
        edit = new TEdit(f.form);
        auto* ok = new TButton(f.form);
        auto* cancel = new TButton(f.form);
        for (TWinControl* c : std::initializer_list<TWinControl*>{edit, ok, cancel})
            c->SetParent(f.form);
        ok->SetDefault(true);
        ok->ModalResult = mrOk;
        cancel->Cancel = true;
        cancel->ModalResult = mrCancel;
    }
    TestForm f;
    TEdit* edit = nullptr;
};

} // namespace

TEST(Keys, FormPreviewRunsFirstAndZeroKeyStopsTheControl)
{
    TestForm f;
    f->Show();
    auto* edit = new TEdit(f.form);
    edit->SetParent(f.form);
    std::vector<std::string> log;
    bool swallow = false;
    f->KeyPreview = true;
    f->OnKeyDown = [&](TObject* sender, WORD& key, TShiftState) {
        log.push_back(sender == f.form ? "form" : "?");
        if (swallow)
            key = 0;
    };
    edit->OnKeyDown = [&](TObject*, WORD& key, TShiftState) { log.push_back("edit " + std::to_string(key)); };
    SendMessageW(edit->Handle(), WM_KEYDOWN, 'A', 0);
    swallow = true;
    SendMessageW(edit->Handle(), WM_KEYDOWN, 'B', 0);
    EXPECT_EQ(log, (std::vector<std::string>{"form", "edit 65", "form"}));

    // Without a focused control the form's own key event runs once.
    log.clear();
    swallow = false;
    SendMessageW(f->Handle(), WM_KEYDOWN, 'C', 0);
    EXPECT_EQ(log, std::vector<std::string>{"form"});
}

TEST(Keys, KeyPressCanDiscardOrReplaceACharacter)
{
    TestForm f;
    f->Show();
    auto* edit = new TEdit(f.form);
    edit->SetParent(f.form);
    edit->OnKeyPress = [](TObject*, char& key) {
        if (key == 'x')
            key = 'y';
        else if (key < '0' || key > '9')
            key = 0;
    };
    for (wchar_t c : std::wstring(L"1a2x\x0416"))
        SendMessageW(edit->Handle(), WM_CHAR, c, 0);
    EXPECT_EQ(edit->Text(), "12y");
}

TEST(Keys, EnterClicksTheDefaultButtonAndEscapeTheCancelOne)
{
    DialogForm d;
    TestForm& f = d.f;
    TEdit* edit = d.edit;
    bool enterHandled = false;
    edit->OnKeyDown = [&](TObject*, WORD& key, TShiftState) {
        if (key == VK_RETURN && enterHandled)
            key = 0;  // an edit that applies its value on Enter keeps the key
    };
    SendMessageW(edit->Handle(), WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_EQ(f->ModalResult, mrCancel);
    SendMessageW(edit->Handle(), WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_EQ(f->ModalResult, mrOk);
    f->ModalResult = mrNone;
    enterHandled = true;
    SendMessageW(edit->Handle(), WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_EQ(f->ModalResult, mrNone);
}

TEST(Focus, ExitThenEnterFollowingTheParentChain)
{
    TestForm f;
    auto* a = new TEdit(f.form);
    auto* group = new TGroupBox(f.form);
    auto* b = new TEdit(f.form);
    a->SetParent(f.form);
    group->SetParent(f.form);
    b->SetParent(group);
    group->SetBounds(0, 40, 200, 100);
    std::vector<std::string> log;
    auto track = [&](TWinControl* c, const std::string& name) {
        c->OnEnter = [&log, name](TObject*) { log.push_back("enter " + name); };
        c->OnExit = [&log, name](TObject*) { log.push_back("exit " + name); };
    };
    track(a, "a");
    track(group, "group");
    track(b, "b");
    f->Show();
    Pump();
    a->SetFocus();
    Pump();
    ASSERT_TRUE(a->Focused());
    log.clear();
    b->SetFocus();
    Pump();
    EXPECT_EQ(log, (std::vector<std::string>{"exit a", "enter group", "enter b"}));
    EXPECT_EQ(f->ActiveControl(), b);
    log.clear();
    a->SetFocus();
    Pump();
    EXPECT_EQ(log, (std::vector<std::string>{"exit b", "exit group", "enter a"}));
}

TEST(Keys, KeyNotificationComesFirstAndCanConsumeTheKey)
{
    TestForm f;
    f->Show();
    auto* edit = new TEdit(f.form);
    edit->SetParent(f.form);
    std::vector<WPARAM> notified;
    std::vector<WORD> down;
    TWndMethod old = edit->WindowProc;
    edit->WindowProc = [&notified, old](TMessage& m) {
        if (m.Msg == CN_KEYDOWN) {
            notified.push_back(m.WParam);
            m.Result = m.WParam == 'Q';
            return;
        }
        old(m);
    };
    edit->OnKeyDown = [&](TObject*, WORD& key, TShiftState) { down.push_back(key); };
    SendMessageW(edit->Handle(), WM_KEYDOWN, 'A', 0);
    SendMessageW(edit->Handle(), WM_KEYDOWN, 'Q', 0);
    EXPECT_EQ(notified, (std::vector<WPARAM>{'A', 'Q'}));
    EXPECT_EQ(down, std::vector<WORD>{'A'});
    edit->WindowProc = old;
}

TEST(Keys, AControlThatAsksForEscapeKeepsItFromTheCancelButton)
{
    DialogForm d;
    TestForm& f = d.f;
    TEdit* edit = d.edit;
    // Like an open drop-down list: it wants Escape when asked with the key message.
    TWndMethod old = edit->WindowProc;
    edit->WindowProc = [old](TMessage& m) {
        old(m);
        auto* msg = reinterpret_cast<const MSG*>(m.LParam);
        if (m.Msg == WM_GETDLGCODE && msg && msg->message == WM_KEYDOWN && msg->wParam == VK_ESCAPE)
            m.Result |= DLGC_WANTMESSAGE;
    };
    SendMessageW(edit->Handle(), WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_EQ(f->ModalResult, mrNone);
    SendMessageW(edit->Handle(), WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_EQ(f->ModalResult, mrOk);
    edit->WindowProc = old;
}

TEST(Focus, TabReachesTheControlsInsidePanelsAndGroupBoxes)
{
    TestForm f;
    auto* a = new TEdit(f.form);
    auto* panel = new TPanel(f.form);
    auto* b = new TEdit(f.form);
    auto* group = new TGroupBox(f.form);
    auto* c = new TEdit(f.form);
    a->SetParent(f.form);
    panel->SetParent(f.form);
    panel->SetBounds(0, 40, 200, 50);
    b->SetParent(panel);
    group->SetParent(f.form);
    group->SetBounds(0, 100, 200, 80);
    c->SetParent(group);
    c->SetTop(20);
    f->Show();
    EXPECT_EQ(GetNextDlgTabItem(f->Handle(), a->Handle(), FALSE), b->Handle());
    EXPECT_EQ(GetNextDlgTabItem(f->Handle(), b->Handle(), FALSE), c->Handle());
    EXPECT_EQ(GetNextDlgTabItem(f->Handle(), c->Handle(), TRUE), b->Handle());
}

TEST(Focus, AFormOpensWithItsFirstTabStopFocusedAfterOnShow)
{
    TestForm f;
    auto* panel = new TPanel(f.form);
    auto* first = new TEdit(panel);
    auto* second = new TEdit(f.form);
    panel->SetParent(f.form);
    first->SetParent(panel);
    second->SetParent(f.form);
    second->SetTop(60);
    std::vector<std::string> log;
    f->OnShow = [&](TObject*) { log.push_back("show"); };
    first->OnEnter = [&](TObject*) { log.push_back("enter"); };
    f->Show();
    EXPECT_TRUE(first->Focused());
    EXPECT_EQ(f->ActiveControl(), first);
    EXPECT_EQ(log, (std::vector<std::string>{"show", "enter"}));
}

TEST(Focus, TheActiveControlIsForgottenWhenAnotherOwnerFreesIt)
{
    TestForm f;
    auto* panel = new TPanel(f.form);
    panel->SetParent(f.form);
    auto* edit = new TEdit(panel);  // owned by the panel, not the form
    edit->SetParent(panel);
    f->Show();
    f->SetFocusedControl(edit);
    ASSERT_EQ(f->ActiveControl(), edit);
    TComponent::Free(edit);
    EXPECT_EQ(f->ActiveControl(), panel) << "the focus went on to the edit's parent";
}
