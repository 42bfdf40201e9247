// The real program, started under Wine without a settings file.
#include <gtest/gtest.h>

#include <algorithm>

#include "ProgramUnderTest.h"

namespace {

const std::wstring kNewScenarioCaption = L" Редактор сценария (Qarto18)  -  Новый.scn";

bool Contains(const std::vector<std::wstring>& items, const std::wstring& item)
{
    return std::find(items.begin(), items.end(), item) != items.end();
}

void StartsAndClosesCleanly(const std::wstring& exe)
{
    ProgramUnderTest program(exe);
    ASSERT_TRUE(program.Start());
    HWND main = program.WaitForWindow(L"Новый.scn");
    ASSERT_NE(main, nullptr) << "no main window with a new scenario";
    EXPECT_EQ(WindowText(main), kNewScenarioCaption);
    PostMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(program.WaitForExit(), 0);
}

TEST(MainWindow, StartsWithANewScenarioAndClosesWithExitCodeZero)
{
    std::wstring exe = ProgramFromEnvironment(L"PELVOR_EXE");
    ASSERT_FALSE(exe.empty()) << "PELVOR_EXE names the program under test";
    StartsAndClosesCleanly(exe);
}

TEST(MainWindow, ShippedThirtyTwoBitProgramStartsAndCloses)
{
    std::wstring exe = ProgramFromEnvironment(L"PELVOR_EXE_32");
    if (exe.empty())
        GTEST_SKIP() << "PELVOR_EXE_32 is not set";
    StartsAndClosesCleanly(exe);
}

TEST(MainWindow, FileArgumentInAnyCaseOffersTheFilePort)
{
    std::wstring exe = ProgramFromEnvironment(L"PELVOR_EXE");
    ASSERT_FALSE(exe.empty());
    for (const wchar_t* argument : {L"file", L"FILE", L""}) {
        ProgramUnderTest program(exe);
        ASSERT_TRUE(program.Start(argument));
        HWND main = program.WaitForWindow(L"Новый.scn");
        ASSERT_NE(main, nullptr);
        std::vector<HWND> combos = ChildrenOfClass(main, L"COMBOBOX");
        ASSERT_EQ(combos.size(), 1u) << " children " << ChildrenOfClass(main, L"").size() << " window " << main;
        std::vector<std::wstring> items = ComboItems(combos[0]);
        EXPECT_EQ(Contains(items, L"FILE"), *argument != L'\0') << "argument '" << argument << "'";
        PostMessageW(main, WM_CLOSE, 0, 0);
        EXPECT_EQ(program.WaitForExit(), 0);
    }
}

// Clicks the tool-bar button whose left edge is at x, as the mouse does: the tool bar
// is the main window's first child, along its top.
void ClickToolButton(HWND main, int left)
{
    POINT p{left + 14, 20};
    HWND bar = ChildWindowFromPointEx(main, p, CWP_SKIPINVISIBLE);
    ASSERT_NE(bar, nullptr);
    ASSERT_NE(bar, main);
    PostMessageW(bar, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(p.x, p.y));
    PostMessageW(bar, WM_LBUTTONUP, 0, MAKELPARAM(p.x, p.y));
}

TEST(MainWindow, TheSetUpAndAboutButtonsOpenTheirDialogs)
{
    std::wstring exe = ProgramFromEnvironment(L"PELVOR_EXE");
    ASSERT_FALSE(exe.empty());
    ProgramUnderTest program(exe);
    ASSERT_TRUE(program.Start());
    HWND main = program.WaitForWindow(L"Новый.scn");
    ASSERT_NE(main, nullptr);
    // Buttons are 30 pixels apart, with gaps after the files, history and preview groups.
    const int setupLeft = 4 + 9 * 30 + 30, aboutLeft = setupLeft + 30;

    ClickToolButton(main, setupLeft);
    HWND setup = program.WaitForWindow(L"Настройка каналов");
    ASSERT_NE(setup, nullptr) << "no set-up dialog";
    EXPECT_EQ(ComboItems(ChildrenOfClass(setup, L"COMBOBOX").at(0)).size(), 9u);
    PostMessageW(setup, WM_CLOSE, 0, 0);
    for (int i = 0; i < 100 && IsWindowVisible(setup); ++i)
        Sleep(50);
    EXPECT_FALSE(IsWindowVisible(setup));

    ClickToolButton(main, aboutLeft);
    HWND about = program.WaitForWindow(L"О программе");
    ASSERT_NE(about, nullptr) << "no About box";
    PostMessageW(about, WM_CLOSE, 0, 0);
    for (int i = 0; i < 100 && IsWindowVisible(about); ++i)
        Sleep(50);
    EXPECT_FALSE(IsWindowVisible(about));

    PostMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(program.WaitForExit(), 0);
}

} // namespace
