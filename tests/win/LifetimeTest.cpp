// The application's loop ending, logoff asking the main form, forms released from a
// handler that runs a nested loop, controls deleted directly, a minimized form's
// geometry and a lost mouse capture.
#include <gtest/gtest.h>

#include "UiTestHelpers.h"
#include "ui/Buttons.h"
#include "ui/ExtCtrls.h"
#include "ui/Messages.h"
#include "ui/StdCtrls.h"
#include "ui/Threads.h"

TEST(ApplicationLoop, TerminateLeavesNoQuitMessageForTheBoxesThatFollow)
{
    TApplication* shared = Application;
    {
        TApplication app;  // becomes Application for the length of the block
        app.Initialize();
        app.Terminate();
        app.Run();
        MSG msg;
        EXPECT_FALSE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
        Application = shared;
        SetSynchronizeWindow(shared->Handle());
    }
    EXPECT_FALSE(Application->Terminated());
}

TEST(ApplicationLoop, LogoffAsksTheMainFormWhetherItMayClose)
{
    TestForm f;
    f->Show();
    bool allow = false;
    int asked = 0;
    f->OnCloseQuery = [&](TObject*, bool& canClose) {
        ++asked;
        canClose = allow;
    };
    TForm* main = Application->MainForm;
    Application->MainForm = f.form;
    EXPECT_EQ(SendMessageW(f->Handle(), WM_QUERYENDSESSION, 0, 0), FALSE);
    allow = true;
    EXPECT_EQ(SendMessageW(f->Handle(), WM_QUERYENDSESSION, 0, 0), TRUE);
    Application->MainForm = main;
    EXPECT_EQ(asked, 2);
}

TEST(FormLifetime, AFormReleasedByAHandlerLivesUntilTheHandlerReturns)
{
    auto* form = new TForm(Application);
    form->SetBounds(100, 100, 300, 200);
    auto* button = new TButton(form);
    button->SetParent(form);
    form->Show();
    bool destroyed = false, aliveAfterBox = false;
    form->OnDestroy = [&](TObject*) { destroyed = true; };
    form->OnClose = [](TObject*, TCloseAction& action) { action = caFree; };
    button->OnClick = [&](TObject*) {
        form->Close();
        Pump();  // what the loop of a message box shown here does
        aliveAfterBox = !destroyed;
    };
    SendMessageW(button->Handle(), BM_CLICK, 0, 0);
    EXPECT_TRUE(aliveAfterBox);
    Pump();
    EXPECT_TRUE(destroyed);
    if (!destroyed)
        TComponent::Free(form);
}

TEST(FormLifetime, AControlDeletedDirectlyIsAlreadyDestroyingWhenItsParentHears)
{
    TestForm f;
    auto* panel = new TPanel(f.form);
    panel->SetParent(f.form);
    auto* edit = new TEdit(f.form);
    edit->SetParent(panel);
    TComponent* watched = edit;
    bool heard = false, destroying = false;
    TWndMethod old = panel->WindowProc;
    panel->WindowProc = [&, old](TMessage& m) {
        if (m.Msg == CM_CONTROLLISTCHANGE && m.LParam == 0 && m.WParam == reinterpret_cast<WPARAM>(watched)) {
            heard = true;
            destroying = (watched->ComponentState & csDestroying) != 0;
        }
        old(m);
    };
    delete edit;
    panel->WindowProc = old;
    EXPECT_TRUE(heard);
    EXPECT_TRUE(destroying);
}

TEST(FormGeometry, MinimizingKeepsTheFormsGeometryAndItsLayout)
{
    TestForm f;
    auto* panel = new TPanel(f.form);
    panel->SetParent(f.form);
    panel->SetAlign(alClient);
    f->Show();
    Pump();
    int left = f->Left(), top = f->Top(), width = f->Width(), height = f->Height();
    int panelWidth = panel->Width(), panelHeight = panel->Height();
    ASSERT_GT(panelWidth, 0);
    f->SetWindowState(wsMinimized);
    Pump();
    if (!IsIconic(f->Handle()))
        GTEST_SKIP() << "this display does not minimize windows";
    EXPECT_EQ(f->Left(), left);
    EXPECT_EQ(f->Top(), top);
    EXPECT_EQ(f->Width(), width);
    EXPECT_EQ(f->Height(), height);
    EXPECT_EQ(panel->Width(), panelWidth);
    EXPECT_EQ(panel->Height(), panelHeight);
    f->SetWindowState(wsNormal);
    Pump();
}

TEST(Mouse, LosingTheCaptureDisarmsTheClickAndRaisesTheSpeedButton)
{
    TestForm f;
    f->Show();
    auto* button = new TSpeedButton(f.form);
    button->SetParent(f.form);
    button->SetBounds(10, 10, 30, 30);
    int clicks = 0;
    button->OnClick = [&](TObject*) { ++clicks; };
    SendMessageW(f->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 20));
    ASSERT_EQ(button->State(), bsDown);
    ReleaseCapture();  // a box shown from MouseDown, or a switch to another program
    EXPECT_EQ(button->State(), bsUp);
    SendMessageW(f->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(20, 20));
    EXPECT_EQ(clicks, 0);
}

TEST(Boxes, WhenTheProgramIsNotActiveTheMainFormOwnsTheBox)
{
    RecordingDialogs dialogs;
    TestForm f;
    f->Show();
    TForm* main = Application->MainForm;
    Application->MainForm = f.form;
    SetActiveWindow(nullptr);
    if (GetActiveWindow() != nullptr) {
        Application->MainForm = main;
        GTEST_SKIP() << "the active window cannot be cleared on this display";
    }
    Application->ShowException("Порт не отвечает");
    Application->MainForm = main;
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].owner, f->Handle());
}

TEST(FormLifetime, ARecreatedFormStaysShownWhereItWasWithItsOwnedFormsAndFocus)
{
    TestForm main;
    TForm* previousMain = Application->MainForm;
    Application->MainForm = main.form;
    auto* edit = new TEdit(main.form);
    edit->SetParent(main.form);
    auto* other = new TEdit(main.form);
    other->SetParent(main.form);
    other->SetTop(40);
    main->Show();
    TestForm owned;  // created while the main form has a window: owned by it
    owned->Show();
    ASSERT_EQ(GetWindow(owned->Handle(), GW_OWNER), main->Handle());
    other->SetFocus();
    Pump();
    ASSERT_TRUE(other->Focused());
    RECT before;
    GetWindowRect(main->Handle(), &before);
    HWND old = main->Handle();

    main->RecreateWnd();
    Pump();
    Application->MainForm = previousMain;
    EXPECT_NE(main->Handle(), old);
    EXPECT_TRUE(IsWindowVisible(main->Handle()));
    RECT after;
    GetWindowRect(main->Handle(), &after);
    EXPECT_EQ(after.left, before.left);
    EXPECT_EQ(after.top, before.top);
    EXPECT_EQ(after.right - after.left, before.right - before.left);
    ASSERT_TRUE(owned->HandleAllocated());
    EXPECT_TRUE(IsWindowVisible(owned->Handle()));
    EXPECT_EQ(GetWindow(owned->Handle(), GW_OWNER), main->Handle());
    EXPECT_TRUE(other->Focused());

    // A form disabled by a modal loop stays disabled.
    EnableWindow(main->Handle(), FALSE);
    main->RecreateWnd();
    EXPECT_FALSE(IsWindowEnabled(main->Handle()));
    EnableWindow(main->Handle(), TRUE);
}

namespace {

TEST(ControlLifetime, AChildAskedForItsWindowFirstGetsOneWindowOnly)
{
    TestForm f;
    auto* box = Place<TWinControl>(f.form, 10, 10, 120, 100);
    Place<TPanel>(box, 5, 5, 40, 40);
    HWND made = box->Handle();  // makes the form's window, and box's with it
    int windows = 0;
    for (HWND child = GetWindow(f->Handle(), GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        ++windows;
    EXPECT_EQ(windows, 1);
    EXPECT_EQ(GetParent(made), f->Handle());
}

} // namespace
