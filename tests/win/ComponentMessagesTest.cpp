// Owners, free notification, replaceable message handlers, the control-list message
// and notifications reflected from a parent to its child.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include "UiTestHelpers.h"
#include "ui/ComCtrls.h"
#include "ui/ExtCtrls.h"
#include "ui/Messages.h"
#include "ui/StdCtrls.h"

namespace {

struct Tracked : TComponent {
    Tracked(TComponent* owner, std::vector<std::string>& log, std::string name) : TComponent(owner), log_(log)
    {
        Name = std::move(name);
    }
    ~Tracked() override { log_.push_back("free " + Name); }
    void Notification(TComponent* component, TOperation operation) override
    {
        TComponent::Notification(component, operation);
        if (operation == opRemove && Name == "watcher")
            log_.push_back(Name + " told of " + component->Name);
    }
    std::vector<std::string>& log_;
};

} // namespace

TEST(ComponentOwnership, OwnerFreesOwnedComponentsLastFirstAndTellsWatchers)
{
    std::vector<std::string> log;
    auto* owner = new TComponent(nullptr);
    auto* a = new Tracked(owner, log, "a");
    new Tracked(owner, log, "b");
    auto* watcher = new Tracked(nullptr, log, "watcher");
    watcher->FreeNotification(a);
    EXPECT_EQ(owner->ComponentCount(), 2);
    EXPECT_EQ(owner->FindComponent("b")->Name, "b");
    TComponent::Free(owner);
    EXPECT_EQ(log, (std::vector<std::string>{"free b", "free a", "watcher told of a"}));
    log.clear();
    TComponent::Free(watcher);  // a is gone: nothing left to tell
    EXPECT_EQ(log, std::vector<std::string>{"free watcher"});
}

TEST(ComponentOwnership, FreedAssociateIsForgottenByItsUpDown)
{
    TestForm f;
    auto* edit = new TEdit(f.form);
    auto* updown = new TUpDown(f.form);
    edit->SetParent(f.form);
    updown->SetParent(f.form);
    updown->SetAssociate(edit);
    EXPECT_EQ(edit->Text(), "0");
    TComponent::Free(edit);
    EXPECT_EQ(updown->Associate(), nullptr);
    updown->SetPosition(5);  // must not touch the freed edit
    EXPECT_EQ(updown->Position(), 5);
}

TEST(MessageHandler, ReplacedWindowProcSeesMessagesAndChainsToTheOldOne)
{
    TestForm f;
    auto* edit = new TEdit(f.form);
    edit->SetParent(f.form);
    edit->HandleNeeded();
    std::vector<UINT> seen;
    TWndMethod old = edit->WindowProc;
    edit->WindowProc = [&](TMessage& m) {
        seen.push_back(m.Msg);
        old(m);
    };
    edit->SetText("abc");  // WM_SETTEXT goes through the window procedure
    EXPECT_NE(std::find(seen.begin(), seen.end(), static_cast<UINT>(WM_SETTEXT)), seen.end());
    EXPECT_EQ(edit->Text(), "abc");
    EXPECT_EQ(edit->Perform(WM_GETTEXTLENGTH), 3);
    EXPECT_EQ(seen.back(), static_cast<UINT>(WM_GETTEXTLENGTH));

    // A windowless control has the same handler.
    auto* label = new TLabel(f.form);
    label->SetParent(f.form);
    std::vector<UINT> labelSeen;
    TWndMethod labelOld = label->WindowProc;
    label->WindowProc = [&](TMessage& m) {
        labelSeen.push_back(m.Msg);
        labelOld(m);
    };
    label->Perform(CM_MOUSEENTER, 0, reinterpret_cast<LPARAM>(label));
    EXPECT_EQ(labelSeen, std::vector<UINT>{CM_MOUSEENTER});
}

TEST(MessageHandler, ControlListChangeBubblesUpToTheForm)
{
    TestForm f;
    std::vector<std::pair<TControl*, LPARAM>> changes;
    TWndMethod old = f->WindowProc;
    f->WindowProc = [&](TMessage& m) {
        if (m.Msg == CM_CONTROLLISTCHANGE)
            changes.emplace_back(reinterpret_cast<TControl*>(m.WParam), m.LParam);
        old(m);
    };
    f->Show();
    auto* panel = new TPanel(f.form);
    panel->SetParent(f.form);
    auto* edit = new TEdit(f.form);
    edit->SetParent(panel);
    EXPECT_TRUE(edit->HandleAllocated());  // a control added to a shown form gets its window
    edit->SetParent(nullptr);
    ASSERT_EQ(changes.size(), 3u);
    EXPECT_EQ(changes[0].first, panel);
    EXPECT_EQ(changes[0].second, 1);
    EXPECT_EQ(changes[1].first, edit);
    EXPECT_EQ(changes[1].second, 1);
    EXPECT_EQ(changes[2].first, edit);
    EXPECT_EQ(changes[2].second, 0);
}

TEST(MessageHandler, CommandAndNotifyAreReflectedToTheChild)
{
    TestForm f;
    f->Show();
    auto* button = new TButton(f.form);
    button->SetParent(f.form);
    int clicks = 0;
    button->OnClick = [&](TObject* sender) {
        EXPECT_EQ(sender, button);
        ++clicks;
    };
    std::vector<UINT> reflected;
    TWndMethod old = button->WindowProc;
    button->WindowProc = [&](TMessage& m) {
        if (m.Msg >= kCnBase)
            reflected.push_back(m.Msg);
        old(m);
    };
    SendMessageW(f->Handle(), WM_COMMAND, MAKEWPARAM(0, BN_CLICKED), reinterpret_cast<LPARAM>(button->Handle()));
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(reflected, std::vector<UINT>{CN_COMMAND});

    auto* updown = new TUpDown(f.form);
    updown->SetParent(f.form);
    updown->SetMax(10);
    NMUPDOWN nm{};
    nm.hdr.hwndFrom = updown->Handle();
    nm.hdr.code = UDN_DELTAPOS;
    nm.iPos = 0;
    nm.iDelta = 1;
    LRESULT r = SendMessageW(f->Handle(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&nm));
    EXPECT_EQ(r, 1);  // the up-down moved itself; the window must not move again
    EXPECT_EQ(updown->Position(), 1);
    EXPECT_EQ(SendMessageW(updown->Handle(), UDM_GETPOS32, 0, 0), 1);
}
