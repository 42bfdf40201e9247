// The real program under Wine programs a scenario into simulated controllers on serial
// lines: a settings file with a model the program does not know (so the port list offers
// the COM ports and every run goes through the channel-range window), one range and two
// ranges, and the question for a scenario too long, answered in the main window.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>

#include "BurnTestSupport.h"
#include "ProgramUnderTest.h"
#include "scenario/ScenarioFile.h"
#include "scenario/ScenarioSnapshot.h"

namespace {

constexpr int kChannels = 18;
const int kBurnButtonLeft = 4 + 8 * 30 + 30;  // the ninth tool button, after three gaps

uint8_t CellOf(int step, int channel) { return static_cast<uint8_t>((step * 3 + channel * 7) % 129); }

// A scenario of steps x 18 channels with the cells above, in the limits of the models
// the program does not know (those of the first parameter row).
std::string ScenarioFile(int steps)
{
    ScenarioSnapshot scenario;
    scenario.SetCell(0, 0, static_cast<uint16_t>(steps + 1));
    for (int c = 1; c <= steps; ++c) {
        scenario.SetCell(c, 1, 20);
        for (int k = 0; k < kChannels; ++k)
            scenario.SetCell(c, kFirstChannelRow + k, CellOf(c, k));
    }
    const Bytes bytes = EncodeScenario(scenario, kChannels, 20, ScenarioModel{10, 80, 1, 6000, 128, true, true, true});
    return std::string(bytes.begin(), bytes.end());
}

// Checks the controller image for channels first .. first + count - 1 of steps steps.
void ExpectImage(const std::string& flash, size_t at, int first, int count, int steps)
{
    ASSERT_GE(flash.size(), at + 10 + static_cast<size_t>(steps) * (count + 2));
    EXPECT_EQ(flash.substr(at, 4), "SCN1");
    EXPECT_EQ(static_cast<uint8_t>(flash[at + 4]), count);
    EXPECT_EQ(static_cast<uint8_t>(flash[at + 5]) | static_cast<uint8_t>(flash[at + 6]) << 8, steps);
    int wrong = 0;
    for (int c = 1; c <= steps; ++c)
        for (int k = 0; k < count; ++k)
            if (static_cast<uint8_t>(flash[at + 10 + (c - 1) * (count + 2) + 2 + k]) != CellOf(c, first + k))
                ++wrong;
    EXPECT_EQ(wrong, 0) << "cells differing from the scenario's";
}

class BurnProgram : public ::testing::Test {
protected:
    // Starts the program on a scenario of that many steps, its port COMline.
    void Start(int line, int steps)
    {
        ASSERT_FALSE(exe.empty()) << "PELVOR_EXE names the program under test";
        program = std::make_unique<ProgramUnderTest>(exe);
        ASSERT_TRUE(WriteWholeFile(program->Folder() + L"show.scn", ScenarioFile(steps)));
        const std::string settings = "[OPTIONS]\r\nLastOpenFile=show.scn\r\nCtrType=Sim18\r\nComPort=COM" +
                                     std::to_string(line) + "\r\nChannels=18\r\n";
        ASSERT_TRUE(WriteWholeFile(program->Folder() + L"pelvor.ini", settings));
        ASSERT_TRUE(program->Start());
        main = program->WaitForWindow(L"show.scn");
        ASSERT_NE(main, nullptr) << "no main window with the scenario";
    }
    // Burn, the range first .. last (1-based) in the channel-range window, "Загрузить";
    // returns the programming window.
    HWND Program(int first, int last)
    {
        ClickToolButton(main, kBurnButtonLeft);
        HWND ranges = program->WaitForWindow(L"Программирование Sim18");
        if (!ranges)
            return nullptr;
        std::vector<HWND> edits = ChildrenOfClass(ranges, L"EDIT");
        if (edits.size() != 3)
            return nullptr;
        // The edits by their place: the controller number above, then first and last.
        std::sort(edits.begin(), edits.end(), [](HWND a, HWND b) {
            RECT ra, rb;
            GetWindowRect(a, &ra);
            GetWindowRect(b, &rb);
            return ra.top != rb.top ? ra.top < rb.top : ra.left < rb.left;
        });
        // The window fills its edits as it comes up: the range is typed until it stays
        // once the window has handled what the typing set off.
        const std::wstring from = std::to_wstring(first), to = std::to_wstring(last);
        for (int attempt = 0; attempt < 20; ++attempt) {
            SendMessageW(edits[1], WM_SETTEXT, 0, reinterpret_cast<LPARAM>(from.c_str()));
            SendMessageW(edits[2], WM_SETTEXT, 0, reinterpret_cast<LPARAM>(to.c_str()));
            if (!Settle(ranges) || (WindowText(edits[1]) == from && WindowText(edits[2]) == to))
                break;
        }
        const LPARAM burn = MAKELPARAM(236 + 52, 20 + 15);
        PostMessageW(ranges, WM_LBUTTONDOWN, MK_LBUTTON, burn);
        PostMessageW(ranges, WM_LBUTTONUP, 0, burn);
        return program->WaitForWindow(L"  Программирование");
    }
    static bool WaitGone(HWND window, DWORD limitMs)
    {
        for (DWORD start = GetTickCount(); GetTickCount() - start < limitMs; Sleep(50))
            if (!IsWindow(window) || !IsWindowVisible(window))
                return true;
        return false;
    }
    // The box titled "Программирование контроллера": its text, and answer pressed.
    std::wstring AnswerBox(WPARAM answer)
    {
        HWND box = program->WaitForWindow(L"Программирование контроллера");
        if (!box)
            return L"(no box)";
        std::wstring text = BoxText(box);
        PostMessageW(box, WM_COMMAND, answer, 0);
        return text;
    }
    // Closes the program, saying No should it ask to save the scenario; its settings.
    std::string CloseProgram()
    {
        PostMessageW(main, WM_CLOSE, 0, 0);
        long code = -1;
        for (int i = 0; i < 300 && (code = program->WaitForExit(100)) == -1; ++i) {
            for (HWND question : VisibleBoxes(program->ProcessId(), L""))
                PostMessageW(question, WM_COMMAND, IDNO, 0);
        }
        EXPECT_EQ(code, 0);
        return ReadWholeFile(program->Folder() + L"pelvor.ini");
    }

    std::wstring exe = ProgramFromEnvironment(L"PELVOR_EXE");
    std::unique_ptr<ProgramUnderTest> program;
    HWND main = nullptr;
};

TEST_F(BurnProgram, OneRangeFillsTheFlashBehindTheControllersFirmware)
{
    const int steps = 500;
    Start(kTimingLine, steps);
    // The port list offers the system's COM ports (under Wine those the prefix had when
    // its server started), not the USB entry of the known models.
    HWND portList = ChildrenOfClass(main, L"COMBOBOX").at(0);
    std::vector<std::wstring> ports = ComboItems(portList);
    std::wstring listed;
    for (const std::wstring& port : ports)
        listed += port + L" ";
    EXPECT_TRUE(!ports.empty() && std::all_of(ports.begin(), ports.end(), [](const std::wstring& port) {
        return port.compare(0, 3, L"COM") == 0;
    })) << std::string(listed.begin(), listed.end());

    HWND burn = Program(1, kChannels);
    ASSERT_NE(burn, nullptr) << "no programming window";
    ASSERT_TRUE(WaitGone(burn, 60000)) << "the programming window stayed";
    ExpectImage(Stored(kTimingLine, "flash-1.bin"), 5120, 0, kChannels, steps);
    const std::string eeprom = Stored(kTimingLine, "eeprom-1.bin");
    EXPECT_EQ(eeprom.substr(0, 32), std::string(31, '\xFF') + '\0');

    size_t bytes = 0;
    double seconds = 0;
    ASSERT_EQ(std::sscanf(Stored(kTimingLine, "transfer-1.txt").c_str(), "bytes=%zu seconds=%lf", &bytes, &seconds), 2);
    const double limit = static_cast<double>(bytes) * 10 / 38400;
    std::printf("16 KiB flash at 38400 baud through the program: %zu bytes in %.3f s, line limit %.3f s, x%.3f\n",
                bytes, seconds, limit, seconds / limit);
    RecordProperty("run_over_line_limit", std::to_string(seconds / limit));

    // The editor's step maximum became what this controller holds: (10240 - 10) / 20.
    EXPECT_NE(CloseProgram().find("\r\nMaxSteps=511\r\n"), std::string::npos);
}

TEST_F(BurnProgram, TwoRangesTwoControllersOfNineChannels)
{
    const int steps = 20;
    Start(kTwoRangeLine, steps);
    HWND burn = Program(1, 9);
    ASSERT_NE(burn, nullptr);
    ASSERT_TRUE(WaitGone(burn, 30000));
    burn = Program(10, 18);
    ASSERT_NE(burn, nullptr);
    ASSERT_TRUE(WaitGone(burn, 30000));
    ExpectImage(Stored(kTwoRangeLine, "flash-1.bin"), 2048, 0, 9, steps);
    ExpectImage(Stored(kTwoRangeLine, "flash-2.bin"), 2048, 9, 9, steps);
    CloseProgram();
}

TEST_F(BurnProgram, AScenarioTooLongIsCutWhenTheUserAgrees)
{
    Start(kSmallFlashLine, 200);
    HWND burn = Program(1, kChannels);
    ASSERT_NE(burn, nullptr);
    // 8192 - 1024 bytes beside the boot-loader, 4096 of them kept firmware: (3072 - 10) / 20.
    const std::wstring blanks(22, L' ');
    EXPECT_EQ(AnswerBox(IDYES), L"Не хватает памяти контроллера для записи сценария!" + blanks +
                                    L"\nСценарий должен содержать не более 153 шагов." + blanks +
                                    L"\n\nИзменить максимальное количество шагов в программе?");
    ASSERT_TRUE(WaitGone(burn, 30000));
    EXPECT_TRUE(NothingWritten(kSmallFlashLine, 4096));
    EXPECT_NE(CloseProgram().find("\r\nMaxSteps=153\r\n"), std::string::npos) << "the scenario was cut";
}

} // namespace
