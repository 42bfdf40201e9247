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

// Whether the window is maximised and stays so, looked at again and again for a second,
// each time after its program's thread has come back to its message loop. A maximise
// that the windowing system undoes (as it does when it asks an absent window manager) is
// undone some 50-400 ms later on its own clock, which no round trip hurries: a second of
// looking sees such an undo, and nothing in it can fail a maximise that stays.
bool StaysZoomed(HWND window)
{
    for (const DWORD start = GetTickCount(); GetTickCount() - start < 1000; Sleep(50)) {
        if (!Settle(window) || !IsZoomed(window))
            return false;
    }
    return true;
}

// A scenario file of two steps of 18 channels for the first model.
std::string TwoStepScenario()
{
    std::string b(48, '\0');
    b.replace(0, 8, "SCN 1.5 ");
    const unsigned char fields[] = {150, 0, 48, 0, 18, 0, 2, 0, 2, 1, 20, 0, 0, 128, 0, 10, 80};
    for (size_t i = 0; i < sizeof fields; ++i)
        b[8 + i] = static_cast<char>(fields[i]);
    for (int step = 0; step < 2; ++step) {
        b += std::string{static_cast<char>(40 + step), 0};
        for (int k = 0; k < 18; ++k)
            b += static_cast<char>(k == step ? 128 : 0);
    }
    return b;
}

TEST(MainWindow, ReopensTheLastScenarioAndItsWindowPositionsAfterARestart)
{
    std::wstring exe = ProgramFromEnvironment(L"PELVOR_EXE");
    ASSERT_FALSE(exe.empty());
    ProgramUnderTest program(exe);
    ASSERT_TRUE(WriteWholeFile(program.Folder() + L"show.scn", TwoStepScenario()));
    ASSERT_TRUE(WriteWholeFile(program.Folder() + L"pelvor.ini", "[OPTIONS]\r\nLastOpenFile=show.scn\r\n"));

    // First run: the file named in the settings opens; the window is moved and closed.
    ASSERT_TRUE(program.Start());
    HWND main = program.WaitForWindow(L"show.scn");
    ASSERT_NE(main, nullptr) << "the scenario of the settings file was not opened";
    MoveWindow(main, 100, 80, 1040, 730, TRUE);
    PostMessageW(main, WM_CLOSE, 0, 0);
    ASSERT_EQ(program.WaitForExit(), 0);
    std::string settings = ReadWholeFile(program.Folder() + L"pelvor.ini");
    EXPECT_NE(settings.find("\r\nLastOpenFile=show.scn\r\n"), std::string::npos) << settings;
    EXPECT_NE(settings.find("\r\nLeft=100\r\n"), std::string::npos) << settings;

    // Second run, on what the first one wrote: the same scenario at the same place; it
    // is closed maximised, which keeps the normal bounds.
    ASSERT_TRUE(program.Start());
    main = program.WaitForWindow(L"show.scn");
    ASSERT_NE(main, nullptr) << "the last scenario was not reopened";
    EXPECT_EQ(WindowText(main), L" Редактор сценария (Qarto18)  -  show.scn");
    // The caption comes with the settings, the position on the first activation.
    RECT r{};
    PollUntil([&] { return GetWindowRect(main, &r) && r.left == 100 && r.top == 80; });
    EXPECT_EQ(r.left, 100);
    EXPECT_EQ(r.top, 80);
    EXPECT_EQ(r.right - r.left, 1040);
    EXPECT_EQ(r.bottom - r.top, 730);
    ShowWindow(main, SW_MAXIMIZE);
    EXPECT_TRUE(StaysZoomed(main)) << "the maximise was undone before the close";
    PostMessageW(main, WM_CLOSE, 0, 0);
    ASSERT_EQ(program.WaitForExit(), 0);
    settings = ReadWholeFile(program.Folder() + L"pelvor.ini");
    EXPECT_NE(settings.find("\r\nWindowState=2\r\nTop=80\r\nLeft=100\r\nHeight=730\r\nWidth=1040\r\n"),
              std::string::npos)
        << settings.substr(0, 200);

    // Third run: maximised again.
    ASSERT_TRUE(program.Start());
    main = program.WaitForWindow(L"show.scn");
    ASSERT_NE(main, nullptr);
    // Maximised on its first activation.
    PollUntil([&] { return IsZoomed(main) != FALSE; });
    EXPECT_TRUE(StaysZoomed(main));
    PostMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(program.WaitForExit(), 0);
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
    EXPECT_TRUE(PollUntil([&] { return !IsWindowVisible(setup); })) << "the set-up dialog stayed";

    ClickToolButton(main, aboutLeft);
    HWND about = program.WaitForWindow(L"О программе");
    ASSERT_NE(about, nullptr) << "no About box";
    PostMessageW(about, WM_CLOSE, 0, 0);
    EXPECT_TRUE(PollUntil([&] { return !IsWindowVisible(about); })) << "the About box stayed";

    PostMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(program.WaitForExit(), 0);
}

} // namespace
