// The visual-style manager against the class library: which controls it subclasses and
// when, how they get their handlers back, the main-manager rule, the options and the
// theme changes. Each test expects what the style state of its run calls for.
#include <gtest/gtest.h>

#include "StyleTestHelpers.h"
#include "themes/ThemeLibrary.h"
#include "ui/Animate.h"
#include "ui/Buttons.h"
#include "ui/ComCtrls.h"
#include "ui/ExtCtrls.h"
#include "ui/ListView.h"
#include "ui/Messages.h"
#include "ui/StdCtrls.h"
#include "ui/ToolBar.h"

namespace {

bool Styled() { return StyleActiveRun(); }

// Counts the messages of subclassed controls that the manager offers to its event.
struct OfferedMessages {
    explicit OfferedMessages(TVisualStyleManager* m) : manager(m)
    {
        manager->OnControlMessage = [this](TObject*, TControl* control, TMessage&, bool&) { controls.push_back(control); };
    }
    ~OfferedMessages() { manager->OnControlMessage = nullptr; }
    int For(TControl* control) const
    {
        int n = 0;
        for (TControl* c : controls)
            n += c == control;
        return n;
    }
    TVisualStyleManager* manager;
    std::vector<TControl*> controls;
};

// A listener that keeps one message from the controls.
struct Keeper {
    UINT kept = WM_USER + 1;
    int heard = 0;
    void Hear(TObject*, TControl*, TMessage& m, bool& handled)
    {
        ++heard;
        handled = m.Msg == kept;
    }
};

// A control that will not be subclassed.
class StubbornEdit : public TEdit {
public:
    using TEdit::TEdit;
    void WndProc(TMessage& m) override
    {
        if (m.Msg == CM_DENYSUBCLASSING) {
            m.Result = 1;
            return;
        }
        TEdit::WndProc(m);
    }
};

} // namespace

TEST(StyleManager, CollectsTheFormsAndTheControlsTheirClassesAllow)
{
    TestForm f;
    auto* panel = Place<TPanel>(f.form, 0, 0, 200, 100);
    auto* speed = Place<TSpeedButton>(panel, 4, 4, 23, 22);
    auto* track = Place<TTrackBar>(f.form, 0, 110, 150, 30);
    auto* list = Place<TListView>(f.form, 0, 150, 150, 80);
    auto* label = Place<TLabel>(f.form, 200, 0, 60, 13);
    auto* animate = Place<TAnimate>(f.form, 200, 20, 60, 40);
    TestManager m;
    EXPECT_TRUE(m->IsMainManager());
    EXPECT_EQ(TVisualStyleManager::CurrentStyleManager(), m.manager);
    EXPECT_TRUE(m.Holds(slForm, f.form));
    EXPECT_TRUE(m.Holds(slListView, list));  // whatever the style
    EXPECT_EQ(m.Holds(slPanel, panel), Styled());
    EXPECT_EQ(m.Holds(slSpeedButton, speed), Styled());
    EXPECT_EQ(m.Holds(slTrackBar, track), Styled());
    EXPECT_EQ(m.Entries(), Styled() ? 5 : 2);
    EXPECT_FALSE(m.Holds(slAnimate, animate));  // not with the default options
    EXPECT_FALSE(m.Holds(slWinControl, animate));
    EXPECT_TRUE(label->Transparent());  // the default options make labels transparent
}

TEST(StyleManager, ControlsPlacedOnASubclassedFormJoinAtOnceAndLeaveWhenRemoved)
{
    TestForm f;
    f->Show();
    TestManager m;
    auto* box = Place<TGroupBox>(f.form, 10, 10, 200, 120);
    auto* speed = Place<TSpeedButton>(box, 8, 20, 23, 22);
    auto* list = Place<TListView>(f.form, 10, 140, 200, 80);
    EXPECT_EQ(m.Holds(slGroupBox, box), Styled());
    EXPECT_EQ(m.Holds(slSpeedButton, speed), Styled());
    EXPECT_TRUE(m.Holds(slListView, list));
    speed->SetParent(nullptr);
    EXPECT_FALSE(m.Holds(slSpeedButton, speed));
    TComponent::Free(box);
    TComponent::Free(list);
    Pump();
    EXPECT_EQ(m.Entries(), 1);  // the form
}

TEST(StyleManager, AFormMadeLaterIsSubclassedOnTheNextMessageOfTheApplicationWindow)
{
    TestManager m;
    TestForm f;  // announced to the manager while it is being made
    auto* edit = Place<TEdit>(f.form, 10, 10, 100, 21);
    EXPECT_FALSE(m.Holds(slForm, f.form));
    f->Show();
    Pump();
    EXPECT_TRUE(m.Holds(slForm, f.form));
    EXPECT_EQ(m.Holds(slWinControl, edit), Styled());
    EXPECT_FALSE(GetUpdateRect(f->Handle(), nullptr, FALSE));  // redrawn at once
}

TEST(StyleManager, ARefusingControlKeepsItsOwnHandlerAndASubclassedOneIsRestored)
{
    if (!Styled())
        GTEST_SKIP() << "only list views join without a style";
    TestForm f;
    TestManager m;
    OfferedMessages offered(m.manager);
    auto* stubborn = Place<StubbornEdit>(f.form, 10, 10, 100, 21);
    EXPECT_FALSE(m.Holds(slWinControl, stubborn));
    auto* edit = new TEdit(f.form);
    MessageRecorder beneath(edit);
    edit->SetParent(f.form);
    ASSERT_TRUE(m.Holds(slWinControl, edit));
    m->OnAllowSubclassing = [edit](TObject*, TControl* control, bool& allow) { allow = control != edit; };
    m->HandleControlChange(edit, true);  // asked again: refused, so released
    EXPECT_FALSE(m.Holds(slWinControl, edit));
    offered.controls.clear();
    edit->Perform(WM_NULL);
    EXPECT_EQ(offered.For(edit), 0);
    EXPECT_EQ(beneath.Count(WM_NULL), 1);
}

TEST(StyleManager, ReleasingEveryEntryGivesEachControlTheHandlerItHadBefore)
{
    TestForm f;
    auto* list = Place<TListView>(f.form, 0, 0, 200, 100);
    auto* button = Place<TButton>(f.form, 0, 110, 75, 25);
    MessageRecorder listBeneath(list), buttonBeneath(button), formBeneath(f.form);
    int before = 0;
    {
        TestManager m;
        OfferedMessages offered(m.manager);
        list->Perform(WM_NULL);
        button->Perform(WM_NULL);
        f->Perform(WM_NULL);
        EXPECT_EQ(offered.For(list), 1);
        EXPECT_EQ(offered.For(button), Styled() ? 1 : 0);
        EXPECT_EQ(offered.For(f.form), 1);
        before = m.Entries();
        EXPECT_GE(before, 2);
    }  // the manager goes and lets every control go
    for (TControl* c : std::initializer_list<TControl*>{list, button, f.form})
        c->Perform(WM_NULL);
    EXPECT_EQ(listBeneath.Count(WM_NULL), 2);
    EXPECT_EQ(buttonBeneath.Count(WM_NULL), 2);
    EXPECT_EQ(formBeneath.Count(WM_NULL), 2);
}

TEST(StyleManager, ASecondManagerDefersToTheMainOneAndTakesOverWhenItGoes)
{
    TestForm f;
    auto* edit = Place<TEdit>(f.form, 10, 10, 100, 21);
    int hooks = Application->HookCount();
    auto* first = new TVisualStyleManager(Application);
    first->Loaded();
    TThemeOptions withAnimations = DefaultThemeOptions.With(toSubclassAnimate);
    first->SetThemeOptions(withAnimations);
    TestManager second;
    // Both watch the application's window, with a style or without: the hand-over
    // reaches the second one either way.
    EXPECT_EQ(Application->HookCount(), hooks + 2);
    EXPECT_FALSE(second->IsMainManager());
    EXPECT_EQ(second->Options(), withAnimations);  // copied
    EXPECT_EQ(second.Entries(), 0);                // collects nothing
    second->SetThemeOptions(DefaultThemeOptions);  // applied to the main manager
    EXPECT_EQ(first->Options(), DefaultThemeOptions);
    TComponent::Free(first);
    EXPECT_TRUE(second->IsMainManager());  // by the hand-over message
    EXPECT_TRUE(second.Holds(slForm, f.form));
    EXPECT_EQ(second.Holds(slWinControl, edit), Styled());
}

TEST(StyleManager, ForcingAnotherManagerMainMovesEveryControlOver)
{
    TestForm f;
    auto* list = Place<TListView>(f.form, 0, 0, 100, 100);
    MessageRecorder beneath(list);
    TestManager first;
    TestManager second;
    second->ForceAsMainManager();
    EXPECT_TRUE(second->IsMainManager());
    EXPECT_EQ(first.Entries(), 0);
    EXPECT_TRUE(second.Holds(slForm, f.form));
    EXPECT_TRUE(second.Holds(slListView, list));
    Pump();  // the list view's window is made again
    OfferedMessages offered(second.manager);
    list->Perform(WM_NULL);
    f->Perform(WM_NULL);
    EXPECT_EQ(offered.For(list), 1);  // subclassed once
    EXPECT_EQ(offered.For(f.form), 1);
    EXPECT_EQ(beneath.Count(WM_NULL), 1);
}

TEST(StyleManager, AListViewWhoseWindowIsRecreatedStaysSubclassed)
{
    TestForm f;
    f->Show();
    auto* list = Place<TListView>(f.form, 0, 0, 200, 100);
    auto* inside = Place<TEdit>(list, 4, 30, 80, 21);
    TestManager m;
    Pump();  // the window made again with the subclassing in place
    HWND before = list->Handle();
    list->RecreateWnd();
    EXPECT_NE(list->Handle(), before);
    EXPECT_TRUE(m.Holds(slListView, list));
    EXPECT_TRUE(m->IsRecreationCandidate(list));
    Pump();  // the hook collects its children again
    EXPECT_FALSE(m->IsRecreationCandidate(list));
    EXPECT_EQ(m.Holds(slWinControl, inside), Styled());
}

TEST(StyleManager, ListenersSeeTheMessagesAndMayKeepThem)
{
    Keeper keeper;
    TestForm f;
    MessageRecorder beneath(f.form);
    TestManager m;
    auto listener = TControlMessageListeners::Bind<&Keeper::Hear>(&keeper);
    m->RegisterListener(listener);
    m->RegisterListener(listener);
    f->Perform(WM_USER + 1);
    f->Perform(WM_USER + 2);
    EXPECT_EQ(keeper.heard, 2);
    EXPECT_EQ(beneath.Count(WM_USER + 1), 0);
    EXPECT_EQ(beneath.Count(WM_USER + 2), 1);
    int index = -1;
    EXPECT_TRUE(m->FindListener(listener, index));
    m->UnregisterListener(listener);
    EXPECT_FALSE(m->FindListener(listener, index));
}

TEST(StyleManager, FixControlsMakesToolBarsAndLabelsTransparentAndToolButtonsLetTheMouseGo)
{
    TestForm f;
    auto* bar = Place<TToolBar>(f.form, 0, 0, 300, 29);
    auto* plain = Place<TToolButton>(bar, 0, 0, 23, 22);
    auto* dropDown = Place<TToolButton>(bar, 23, 0, 23, 22);
    dropDown->SetStyle(tbsDropDown);
    auto* panel = Place<TPanel>(f.form, 0, 40, 200, 60);
    auto* label = Place<TLabel>(panel, 4, 4, 60, 13);
    TestManager m;
    EXPECT_TRUE(bar->Transparent());
    EXPECT_TRUE(label->Transparent());
    EXPECT_FALSE(plain->ControlStyle & csCaptureMouse);
    EXPECT_TRUE(dropDown->ControlStyle & csCaptureMouse);
}

// The controls' windows are made after the manager collected their form.
TEST(StyleManager, FixControlsGivesTheDialogTextureToWindowsMadeAfterItRan)
{
    TestForm f;
    auto* panel = Place<TPanel>(f.form, 0, 0, 200, 100);
    auto* edit = Place<TEdit>(panel, 10, 10, 100, 21);
    TestManager m;
    ASSERT_FALSE(edit->HandleAllocated());
    f->HandleNeeded();
    auto textured = [](TWinControl* c) { return UxTheme.IsThemeDialogTextureEnabled(c->Handle()) != FALSE; };
    EXPECT_EQ(textured(panel), Styled());
    EXPECT_EQ(textured(edit), Styled());
    edit->RecreateWnd();  // a window made again keeps it
    EXPECT_EQ(textured(edit), Styled());
}

// A form announced to the manager and then placed inside another form is asked once,
// on its insertion; the announcement does not subclass it again later.
TEST(StyleManager, AFormInsertedIntoAnotherLeavesThePendingForms)
{
    if (!Styled())
        GTEST_SKIP() << "forms join on insertion only with a style";
    TestForm host;
    TestManager m;
    TestForm inner;  // pending until the next message of the application's window
    TForm* refused = inner.form;
    m->OnAllowSubclassing = [refused](TObject*, TControl* control, bool& allow) { allow = control != refused; };
    inner->SetParent(host.form);
    Pump();
    EXPECT_FALSE(m.Holds(slForm, inner.form));
}

TEST(StyleManager, ATrackBarFinishesEveryNotificationButCustomDrawingWithoutPassingItOn)
{
    if (!Styled())
        GTEST_SKIP() << "track bars join only with a style";
    TestForm f;
    auto* bar = Place<TTrackBar>(f.form, 0, 0, 150, 30);
    MessageRecorder beneath(bar);
    TestManager m;
    ASSERT_TRUE(m.Holds(slTrackBar, bar));
    NMHDR released{bar->Handle(), 0, static_cast<UINT>(NM_RELEASEDCAPTURE)};
    bar->Perform(CN_NOTIFY, 0, reinterpret_cast<LPARAM>(&released));
    NMCUSTOMDRAW draw{};
    draw.hdr = NMHDR{bar->Handle(), 0, static_cast<UINT>(NM_CUSTOMDRAW)};
    draw.dwDrawStage = CDDS_PREPAINT;
    EXPECT_EQ(bar->Perform(CN_NOTIFY, 0, reinterpret_cast<LPARAM>(&draw)), CDRF_NOTIFYITEMDRAW);
    EXPECT_EQ(beneath.Count(CN_NOTIFY), 0);
}

TEST(StyleManager, AListViewColumnWithoutImageAsksForNoImageAndHeaderTextRequestsAreKept)
{
    std::vector<UINT> masks;  // outlives the list view
    TestForm f;
    auto* list = Place<TListView>(f.form, 0, 0, 200, 100);
    TWndMethod own = list->WindowProc;
    list->WindowProc = [&masks, own](TMessage& m) {
        if (m.Msg == LVM_INSERTCOLUMNW)
            masks.push_back(reinterpret_cast<LVCOLUMNW*>(m.LParam)->mask);
        own(m);
    };
    MessageRecorder beneath(list);
    list->HandleNeeded();
    TestManager m;  // subclasses list views with or without a style
    Pump();
    list->AddColumn(TListColumn{"Без картинки", 80, -1});
    list->AddColumn(TListColumn{"С картинкой", 80, 0});
    ASSERT_EQ(masks.size(), 2u);
    EXPECT_FALSE(masks[0] & LVCF_IMAGE);
    EXPECT_TRUE(masks[1] & LVCF_IMAGE);
    NMHDR request{list->Handle(), 0, static_cast<UINT>(HDN_GETDISPINFOW)};
    list->Perform(WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&request));
    EXPECT_EQ(beneath.Count(WM_NOTIFY), 0);
    NMHDR other{list->Handle(), 0, static_cast<UINT>(HDN_ITEMCLICKW)};
    list->Perform(WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&other));
    EXPECT_EQ(beneath.Count(WM_NOTIFY), 1);
}

// Switching the controls' theming off and on goes through the application's theming
// flags, which the library keeps for the process.
TEST(StyleManager, SwitchingControlThemingOffAndOnFollowsAtRunTime)
{
    if (!Styled())
        GTEST_SKIP() << "needs a style";
    TestForm f;
    f->Show();
    auto* speed = Place<TSpeedButton>(f.form, 10, 10, 23, 22);
    auto* edit = Place<TEdit>(f.form, 10, 40, 100, 21);
    MessageRecorder editBeneath(edit);
    TestManager m;
    int changes = 0;
    m->OnThemeChange = [&changes](TObject*) { ++changes; };
    ASSERT_TRUE(ThemeServices()->ThemesEnabled());
    m->SetThemeOptions(DefaultThemeOptions.Without(toAllowControls));
    EXPECT_EQ(UxTheme.GetThemeAppProperties() & STAP_ALLOW_CONTROLS, 0u);
    EXPECT_FALSE(ThemeServices()->ThemesEnabled());
    EXPECT_GE(editBeneath.Count(WM_THEMECHANGED), 1);  // told through the broadcast
    EXPECT_GE(changes, 1);
    // A speed button made and freed while controls are not themed leaves no entry.
    EXPECT_TRUE(m.Holds(slSpeedButton, speed));
    TComponent::Free(speed);
    EXPECT_FALSE(m.Holds(slSpeedButton, speed));
    m->SetThemeOptions(DefaultThemeOptions);
    EXPECT_TRUE(ThemeServices()->ThemesEnabled());
    EXPECT_TRUE(m.Holds(slWinControl, edit));
}

// A manager made while controls may not be themed still follows when they may again.
TEST(StyleManager, AManagerMadeWithoutThemingThemesTheControlsWhenItIsSwitchedOn)
{
    if (!Styled())
        GTEST_SKIP() << "needs a style";
    DWORD saved = UxTheme.GetThemeAppProperties();
    UxTheme.SetThemeAppProperties(STAP_ALLOW_NONCLIENT);
    ThemeServices()->UpdateThemes();
    TestForm f;
    auto* speed = Place<TSpeedButton>(f.form, 10, 10, 23, 22);
    TestManager m;
    EXPECT_FALSE(m.Holds(slSpeedButton, speed));
    UxTheme.SetThemeAppProperties(saved);
    SendMessageW(Application->Handle(), WM_THEMECHANGED, 0, 0);
    EXPECT_TRUE(m.Holds(slSpeedButton, speed));
}
