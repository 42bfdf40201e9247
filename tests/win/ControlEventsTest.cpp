// Which setters fire events and which do not, what user actions fire, and that state
// set before a control has its window survives the window's creation and recreation.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <commdlg.h>

#include "UiTestHelpers.h"
#include "ui/Buttons.h"
#include "ui/ComCtrls.h"
#include "ui/Dialogs.h"
#include "ui/ExtCtrls.h"
#include "ui/Menus.h"
#include "ui/StdCtrls.h"

namespace {

// What the parent window receives when the user works a system control.
void UserCommand(TWinControl* control, WORD code)
{
    SendMessageW(control->Parent()->Handle(), WM_COMMAND, MAKEWPARAM(0, code),
                 reinterpret_cast<LPARAM>(control->Handle()));
}

} // namespace

TEST(CheckAndRadio, CheckedFromCodeFiresOnClickOnlyOnChange)
{
    TestForm f;
    auto* box = new TCheckBox(f.form);
    box->SetParent(f.form);
    int clicks = 0;
    box->OnClick = [&](TObject*) { ++clicks; };
    box->SetChecked(true);  // no window yet
    box->SetChecked(true);
    EXPECT_EQ(clicks, 1);
    f->Show();
    EXPECT_EQ(SendMessageW(box->Handle(), BM_GETCHECK, 0, 0), BST_CHECKED);
    box->SetChecked(false);
    EXPECT_EQ(clicks, 2);
    EXPECT_EQ(SendMessageW(box->Handle(), BM_GETCHECK, 0, 0), BST_UNCHECKED);
    SendMessageW(box->Handle(), BM_CLICK, 0, 0);  // the user's click toggles
    EXPECT_TRUE(box->Checked());
    EXPECT_EQ(clicks, 3);
}

TEST(CheckAndRadio, CheckingARadioButtonUnchecksItsSiblingsOnly)
{
    TestForm f;
    auto* group = new TGroupBox(f.form);
    group->SetParent(f.form);
    auto* a = new TRadioButton(f.form);
    auto* b = new TRadioButton(f.form);
    auto* other = new TRadioButton(f.form);
    a->SetParent(group);
    b->SetParent(group);
    other->SetParent(f.form);
    std::vector<std::string> log;
    a->OnClick = [&](TObject*) { log.push_back("a"); };
    b->OnClick = [&](TObject*) { log.push_back("b"); };
    a->SetChecked(true);
    other->SetChecked(true);
    b->SetChecked(true);
    EXPECT_FALSE(a->Checked());
    EXPECT_TRUE(b->Checked());
    EXPECT_TRUE(other->Checked());
    EXPECT_EQ(log, (std::vector<std::string>{"a", "b"}));
    f->Show();
    UserCommand(a, BN_CLICKED);
    EXPECT_TRUE(a->Checked());
    EXPECT_FALSE(b->Checked());
    EXPECT_EQ(SendMessageW(b->Handle(), BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_EQ(log.back(), "a");
}

TEST(TrackBarEvents, PositionFromCodeAndRangeClampFireOnChangeWhenItMoves)
{
    TestForm f;
    auto* bar = new TTrackBar(f.form);
    bar->SetParent(f.form);
    std::vector<int> changes;
    bar->OnChange = [&](TObject*) { changes.push_back(bar->Position()); };
    bar->SetRange(0, 100);
    bar->SetPosition(40);
    bar->SetPosition(40);
    bar->SetPosition(500);  // clamped to 100
    bar->SetMax(60);        // the position follows the range
    bar->SetMin(0);
    EXPECT_EQ(changes, (std::vector<int>{40, 100, 60}));
    f->Show();
    EXPECT_EQ(SendMessageW(bar->Handle(), TBM_GETPOS, 0, 0), 60);
    EXPECT_EQ(SendMessageW(bar->Handle(), TBM_GETRANGEMAX, 0, 0), 60);
    // The user drags: the window moves, then tells the parent.
    SendMessageW(bar->Handle(), TBM_SETPOS, TRUE, 25);
    SendMessageW(f->Handle(), WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, 25), reinterpret_cast<LPARAM>(bar->Handle()));
    SendMessageW(f->Handle(), WM_HSCROLL, MAKEWPARAM(TB_ENDTRACK, 0), reinterpret_cast<LPARAM>(bar->Handle()));
    EXPECT_EQ(changes, (std::vector<int>{40, 100, 60, 25}));
}

TEST(ComboBoxEvents, CodeIsSilentAndTheUsersChoiceFiresOnChange)
{
    TestForm f;
    auto* combo = new TComboBox(f.form);
    combo->SetParent(f.form);
    combo->SetStyle(csDropDownList);
    int changes = 0;
    combo->OnChange = [&](TObject*) { ++changes; };
    combo->Items().Add("COM1");
    combo->Items().Add("COM3");
    combo->Items().Add("COM7");
    combo->SetItemIndex(1);
    EXPECT_EQ(combo->Text(), "COM3");
    combo->SetText("COM7");
    EXPECT_EQ(combo->ItemIndex(), 2);
    f->Show();
    EXPECT_EQ(SendMessageW(combo->Handle(), CB_GETCOUNT, 0, 0), 3);
    EXPECT_EQ(combo->ItemIndex(), 2);
    EXPECT_EQ(combo->Text(), "COM7");
    combo->SetItemIndex(0);
    combo->Items().Insert(0, "COM0");  // the selection moves with its item
    EXPECT_EQ(combo->Text(), "COM1");
    EXPECT_EQ(changes, 0);
    SendMessageW(combo->Handle(), CB_SETCURSEL, 3, 0);
    UserCommand(combo, CBN_SELCHANGE);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(combo->ItemIndex(), 3);
    combo->SetStyle(csDropDown);  // a new window keeps items and selection
    EXPECT_EQ(SendMessageW(combo->Handle(), CB_GETCOUNT, 0, 0), 4);
    EXPECT_EQ(combo->ItemIndex(), 3);
    EXPECT_EQ(combo->Text(), "COM7");
    combo->SetText("typed");
    EXPECT_EQ(combo->Text(), "typed");
    EXPECT_EQ(changes, 1);
}

TEST(EditEvents, EveryTextChangeFiresOnChangeAndStateSurvivesRecreation)
{
    TestForm f;
    auto* edit = new TEdit(f.form);
    edit->SetParent(f.form);
    std::vector<std::string> changes;
    edit->OnChange = [&](TObject*) { changes.push_back(edit->Text()); };
    edit->SetText("12");  // before the window exists
    edit->SetMaxLength(3);
    f->Show();
    edit->SetText("345");
    SendMessageW(edit->Handle(), WM_CHAR, '9', 0);  // at the limit: refused
    EXPECT_EQ(edit->Text(), "345");
    edit->SelectAll();
    SendMessageW(edit->Handle(), WM_CHAR, '7', 0);
    EXPECT_EQ(changes, (std::vector<std::string>{"12", "345", "7"}));
    edit->SetAlignment(taRightJustify);
    EXPECT_TRUE(GetWindowLongW(edit->Handle(), GWL_STYLE) & ES_RIGHT);
    EXPECT_EQ(edit->Text(), "7");
    EXPECT_EQ(SendMessageW(edit->Handle(), EM_GETLIMITTEXT, 0, 0), 3);
    EXPECT_EQ(changes.size(), 3u);
}

TEST(UpDownEvents, PositionFromCodeIsSilentAndClicksAskFirst)
{
    TestForm f;
    auto* edit = new TEdit(f.form);
    auto* updown = new TUpDown(f.form);
    edit->SetParent(f.form);
    updown->SetParent(f.form);
    updown->SetMin(1);
    updown->SetMax(3);
    updown->SetAssociate(edit);
    std::vector<std::string> log;
    bool allow = true;
    updown->OnChangingEx = [&](TObject*, bool& ok, short value, TUpDownDirection dir) {
        log.push_back("changing " + std::to_string(value) + " " + std::to_string(dir));
        ok = allow;
    };
    updown->OnClick = [&](TObject*, TUDBtnType b) { log.push_back(b == btNext ? "next" : "prev"); };
    updown->SetPosition(2);
    EXPECT_EQ(edit->Text(), "2");
    EXPECT_TRUE(log.empty());
    updown->Click(btNext);
    EXPECT_EQ(updown->Position(), 3);
    EXPECT_EQ(edit->Text(), "3");
    updown->Click(btNext);  // at the end: nowhere to go
    EXPECT_EQ(updown->Position(), 3);
    allow = false;
    updown->Click(btPrev);
    EXPECT_EQ(updown->Position(), 3);
    EXPECT_EQ(log, (std::vector<std::string>{"changing 3 1", "next", "changing 3 0", "changing 2 2"}));
    allow = true;
    updown->Wrap = true;
    updown->Click(btNext);
    EXPECT_EQ(updown->Position(), 1);
    edit->SetText("2");  // typed into the associate: the step starts there
    updown->Click(btNext);
    EXPECT_EQ(updown->Position(), 3);
}

TEST(UpDownEvents, ThePositionIsTheAssociatesNumberAndItsArrowKeysStepIt)
{
    TestForm f;
    auto* edit = new TEdit(f.form);
    auto* updown = new TUpDown(f.form);
    edit->SetParent(f.form);
    updown->SetParent(f.form);
    updown->SetMin(1);
    updown->SetMax(10);
    updown->SetAssociate(edit);
    updown->SetPosition(3);
    std::vector<std::string> log;
    updown->OnChangingEx = [&](TObject*, bool&, short value, TUpDownDirection) {
        log.push_back("changing " + std::to_string(value));
    };
    updown->OnClick = [&](TObject*, TUDBtnType b) { log.push_back(b == btNext ? "next" : "prev"); };
    edit->SetText("7");  // typed there
    EXPECT_EQ(updown->Position(), 7);
    updown->SetMax(20);
    EXPECT_EQ(edit->Text(), "7") << "a new range leaves the text alone";
    SendMessageW(edit->Handle(), WM_KEYDOWN, VK_UP, 0);
    EXPECT_EQ(edit->Text(), "8");
    SendMessageW(edit->Handle(), WM_KEYDOWN, VK_DOWN, 0);
    SendMessageW(edit->Handle(), WM_KEYDOWN, VK_DOWN, 0);
    EXPECT_EQ(updown->Position(), 6);
    EXPECT_EQ(log, (std::vector<std::string>{"changing 8", "next", "changing 7", "prev", "changing 6", "prev"}));
}

TEST(SpeedButtons, GroupAndAllowAllUpThroughClick)
{
    TestForm f;
    auto* panel = new TPanel(f.form);
    panel->SetParent(f.form);
    auto* a = new TSpeedButton(f.form);
    auto* b = new TSpeedButton(f.form);
    auto* single = new TSpeedButton(f.form);
    for (TSpeedButton* s : {a, b, single})
        s->SetParent(panel);
    a->SetGroupIndex(1);
    b->SetGroupIndex(1);
    int clicks = 0;
    a->OnClick = b->OnClick = single->OnClick = [&](TObject*) { ++clicks; };
    a->Click();
    EXPECT_TRUE(a->Down());
    b->Click();
    EXPECT_TRUE(b->Down());
    EXPECT_FALSE(a->Down());
    b->Click();  // the group does not allow all up
    EXPECT_TRUE(b->Down());
    a->SetAllowAllUp(true);  // shared by the group
    EXPECT_TRUE(b->AllowAllUp());
    b->Click();
    EXPECT_FALSE(b->Down());
    single->Click();
    EXPECT_FALSE(single->Down());
    EXPECT_EQ(clicks, 5);
    a->SetDown(true);  // from code: no event
    EXPECT_TRUE(a->Down());
    EXPECT_EQ(clicks, 5);
}

TEST(SpeedButtons, MouseClickOnThePanelReachesTheButton)
{
    TestForm f;
    f->Show();
    auto* panel = new TPanel(f.form);
    panel->SetParent(f.form);
    panel->SetBounds(0, 0, 200, 100);
    auto* b = new TSpeedButton(f.form);
    b->SetParent(panel);
    b->SetBounds(10, 10, 23, 22);
    std::vector<std::string> log;
    b->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int x, int y) {
        log.push_back("down " + std::to_string(x) + "," + std::to_string(y));
    };
    b->OnClick = [&](TObject*) { log.push_back("click"); };
    SendMessageW(panel->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(15, 12));
    EXPECT_EQ(b->State(), bsDown);
    SendMessageW(panel->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(15, 12));
    EXPECT_EQ(log, (std::vector<std::string>{"down 5,2", "click"}));
    EXPECT_EQ(b->State(), bsUp);
}

TEST(ButtonEvents, ModalResultOfAButtonGoesToItsForm)
{
    TestForm f;
    auto* panel = new TPanel(f.form);
    panel->SetParent(f.form);
    auto* ok = new TBitBtn(f.form);
    ok->SetParent(panel);
    ok->ModalResult = mrAbort;
    bool clicked = false;
    ok->OnClick = [&](TObject*) { clicked = true; };
    ok->Click();
    EXPECT_TRUE(clicked);
    EXPECT_EQ(f->ModalResult, mrAbort);
}

TEST(PopupMenus, ShortcutKeyRunsTheItemInsteadOfTheKeyEvent)
{
    TestForm f;
    f->Show();
    auto* edit = new TEdit(f.form);
    edit->SetParent(f.form);
    auto* menu = new TPopupMenu(f.form);
    auto* item = new TMenuItem(f.form);
    item->ShortCut = ShortCut(VK_INSERT, ssCtrl);
    menu->Add(item);
    f->PopupMenu = menu;  // the form's menu serves its controls
    int runs = 0, keys = 0;
    item->OnClick = [&](TObject*) { ++runs; };
    edit->OnKeyDown = [&](TObject*, WORD&, TShiftState) { ++keys; };
    BYTE state[256];
    GetKeyboardState(state);
    state[VK_CONTROL] = 0x80;
    SetKeyboardState(state);
    SendMessageW(edit->Handle(), WM_KEYDOWN, VK_INSERT, 0);
    state[VK_CONTROL] = 0;
    SetKeyboardState(state);
    SendMessageW(edit->Handle(), WM_KEYDOWN, VK_INSERT, 0);  // without Ctrl: an ordinary key
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(keys, 1);
}

TEST(Timers, TickRunsOnTimerOnlyWhileEnabled)
{
    auto* timer = new TTimer(nullptr);
    int ticks = 0;
    timer->OnTimer = [&](TObject*) { ++ticks; };
    timer->Timer();
    EXPECT_EQ(ticks, 1);
    timer->SetInterval(1);
    DWORD start = GetTickCount();
    while (ticks < 2 && GetTickCount() - start < 5000)
        Application->HandleMessage();
    EXPECT_EQ(ticks, 2);
    timer->SetEnabled(false);
    TComponent::Free(timer);
}

TEST(DialogsThroughProvider, FileDialogPassesOptionsAndTakesTheChoice)
{
    RecordingDialogs dialogs;
    TSaveDialog save(nullptr);
    save.Filter = "Сценарии|*.scn";
    save.DefaultExt = "scn";
    save.Options = ofOverwritePrompt | ofHideReadOnly;
    dialogs.chosenFile = "C:\\a\\b.scn";
    ASSERT_TRUE(save.Execute());
    EXPECT_EQ(save.FileName, "C:\\a\\b.scn");
    ASSERT_EQ(dialogs.files.size(), 1u);
    EXPECT_TRUE(dialogs.files[0].save);
    EXPECT_EQ(dialogs.files[0].options, static_cast<unsigned>(OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY));
    dialogs.chosenFile.clear();
    TOpenDialog open(nullptr);
    open.FileName = "keep.scn";
    EXPECT_FALSE(open.Execute());
    EXPECT_EQ(open.FileName, "keep.scn");
    EXPECT_FALSE(dialogs.files[1].save);

    TColorDialog color(nullptr);
    dialogs.chosenColor = 0x123456;
    ASSERT_TRUE(color.Execute());
    EXPECT_EQ(color.Color, 0x123456u);
    EXPECT_EQ(ShowMessageBox("Текст", "Заголовок", MB_YESNO), 1);
    EXPECT_EQ(dialogs.boxes.back().caption, "Заголовок");
}
