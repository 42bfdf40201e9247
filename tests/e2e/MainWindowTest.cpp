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
        ASSERT_EQ(combos.size(), 1u);
        std::vector<std::wstring> items = ComboItems(combos[0]);
        EXPECT_EQ(Contains(items, L"FILE"), *argument != L'\0') << "argument '" << argument << "'";
        PostMessageW(main, WM_CLOSE, 0, 0);
        EXPECT_EQ(program.WaitForExit(), 0);
    }
}

} // namespace
