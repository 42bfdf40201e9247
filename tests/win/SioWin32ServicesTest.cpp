// The serial library's Win32 services: texts for system error numbers, and the delivery
// of notifications to windows, to the main thread and to the exception box.
#include <gtest/gtest.h>

#include <vector>

#include "UiTestHelpers.h"
#include "serial/MainThreadQueue.h"
#include "serial/MemoryDispatcher.h"
#include "serial/NotifyRecorder.h"
#include "serial/SioMessageTable.h"
#include "serial/SioWin32Services.h"
#include "ui/Text.h"

namespace {

struct WindowNotice {
    UINT msg;
    WPARAM wParam;
    LPARAM lParam;
    DWORD thread;
};
std::vector<WindowNotice> windowNotices;

LRESULT CALLBACK TargetProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg >= TriggerAvailMessage && msg <= TriggerStatusMessage) {
        windowNotices.push_back({msg, wParam, lParam, GetCurrentThreadId()});
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

class SioWin32Services : public ::testing::Test {
protected:
    SioWin32Services() { SioInstallWin32Services(); }
    ~SioWin32Services() override { SioUninstallWin32Services(); }
};

TEST_F(SioWin32Services, SystemMessagesKeepOneTrailingBlankForTheLineEnd)
{
    const std::string raw = SysErrorMessageText(87);  // no table text of its own
    ASSERT_GE(raw.size(), 2u);
    ASSERT_EQ(raw.back(), '\n') << "the system's text ends in a line break";
    const std::string text = SioLoadStr(-87);
    EXPECT_EQ(text, SysErrorMessage(87) + " ");
    EXPECT_EQ(SioLoadStr(87), text);
    EXPECT_EQ(SioLoadStr(-2), "File not found") << "table texts come first";
}

TEST_F(SioWin32Services, NotificationsReachWindowsAndSynchronisedMethodsOnTheMainThread)
{
    WNDCLASSW wc{};
    wc.lpfnWndProc = TargetProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"SioTestTarget";
    RegisterClassW(&wc);
    HWND target = CreateWindowExW(0, L"SioTestTarget", L"", 0, 0, 0, 0, 0, nullptr, nullptr, wc.hInstance, nullptr);
    ASSERT_NE(target, nullptr);
    windowNotices.clear();

    NotifyRecorder sync;
    std::atomic<DWORD> syncThread{0};
    sync.onNotice = [&](const Notice&) { syncThread = GetCurrentThreadId(); };
    {
        MemoryDispatcher port(true);
        ASSERT_EQ(port.Open(), 0);
        port.RegisterWndTriggerHandler(reinterpret_cast<SioWindow>(target));
        port.UpdateHandlerFlags(fuEnablePort);
        port.RegisterSyncEventTriggerHandler(sync.Event());
        port.ChangeLengthTrigger(3);
        port.PushData("abc");
        ASSERT_TRUE(PumpUntil([&] { return windowNotices.size() == 1 && sync.Count() == 1; }));
        EXPECT_EQ(windowNotices[0].msg, TriggerAvailMessage);
        EXPECT_EQ(windowNotices[0].wParam, 3u);
        EXPECT_EQ(HIWORD(windowNotices[0].lParam), port.Handle());
        EXPECT_EQ(windowNotices[0].thread, GetCurrentThreadId());
        EXPECT_EQ(syncThread, GetCurrentThreadId());
        port.DonePort();
    }
    DestroyWindow(target);
    UnregisterClassW(L"SioTestTarget", wc.hInstance);
}

TEST_F(SioWin32Services, AThreadsFailureIsShownInTheExceptionBox)
{
    RecordingDialogs dialogs;
    MemoryDispatcher port(true);
    ASSERT_EQ(port.Open(), 0);
    port.failDevice = -2001;
    ASSERT_TRUE(PumpUntil([&] { return port.RunningThreads() == 0; }));
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].text, "ie_BadId - Specified comport doesn't exist.");
    EXPECT_EQ(dialogs.boxes[0].flags, static_cast<unsigned>(MB_OK | MB_ICONERROR | MB_TASKMODAL));
}

} // namespace
