// The serial library's Win32 services: texts for system error numbers, and the delivery
// of notifications to windows, to the main thread and to the exception box.
#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "UiTestHelpers.h"
#include "serial/MainThreadQueue.h"
#include "serial/MemoryDispatcher.h"
#include "serial/NotifyRecorder.h"
#include "serial/SioMessageTable.h"
#include "serial/SioWin32Services.h"
#include "support/WaitUntil.h"
#include "ui/Text.h"

namespace {

struct WindowNotice {
    UINT msg;
    WPARAM wParam;
    LPARAM lParam;
    DWORD thread;
    std::string taken;  // the two bytes the window took
};
std::vector<WindowNotice> windowNotices;
TSioBaseDispatcher* readPort = nullptr;
// The port the windows read, while it lives: however a test ends, nothing reads through
// readPort once the port has gone.
struct ReadingPort {
    explicit ReadingPort(TSioBaseDispatcher& port) { readPort = &port; }
    ~ReadingPort() { readPort = nullptr; }
};

std::string TakeTwo()
{
    char two[2] = {};
    return readPort && readPort->GetBlock(two, 2) == 2 ? std::string(two, 2) : std::string("nothing");
}

LRESULT CALLBACK TargetProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg >= TriggerAvailMessage && msg <= TriggerStatusMessage) {
        windowNotices.push_back({msg, wParam, lParam, GetCurrentThreadId(), TakeTwo()});
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

// A window no notification goes to; another thread sends it WM_APP. Its procedure lets
// the bytes in wParam arrive and takes two once the port's courier waits to send this
// thread a notification. With WM_APP + 1 it takes none, but first has another thread
// send lookAlikes, so that they are handled before the notification, while the
// courier's send of it is on its way.
std::string outsideTaken;
bool notificationWaited = false;  // the courier's send was seen waiting before the take
std::vector<MSG> lookAlikes;
LRESULT CALLBACK BystanderProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg != WM_APP && msg != WM_APP + 1)
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    if (msg == WM_APP + 1) {
        std::thread([] {
            for (const MSG& m : lookAlikes)
                SendNotifyMessageW(m.hwnd, m.message, m.wParam, m.lParam);
        }).join();
    }
    GetQueueStatus(QS_SENDMESSAGE);  // what waits already is no news
    static_cast<MemoryDispatcher*>(readPort)->PushData(reinterpret_cast<const char*>(wParam));
    notificationWaited = WaitUntil([] { return (LOWORD(GetQueueStatus(QS_SENDMESSAGE)) & QS_SENDMESSAGE) != 0; },
                                   std::chrono::seconds(30), std::chrono::milliseconds(1));
    if (msg == WM_APP)
        outsideTaken = TakeTwo();
    return 0;
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

// Every window handler reads the same bytes, and the most any took is consumed; a read
// on that thread for a message someone else sent it is no handler's, even while the
// courier waits to send it a notification, and even when that message differs from the
// notification only above bit 31.
TEST_F(SioWin32Services, NotificationsReachWindowsAndSynchronisedMethodsOnTheMainThread)
{
    WNDCLASSW wc{};
    wc.lpfnWndProc = TargetProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"SioTestTarget";
    RegisterClassW(&wc);
    wc.lpfnWndProc = BystanderProc;
    wc.lpszClassName = L"SioTestBystander";
    RegisterClassW(&wc);
    auto make = [&](const wchar_t* name) {
        return CreateWindowExW(0, name, L"", 0, 0, 0, 0, 0, nullptr, nullptr, wc.hInstance, nullptr);
    };
    HWND target = make(L"SioTestTarget");
    HWND second = make(L"SioTestTarget");
    HWND bystander = make(L"SioTestBystander");
    struct Windows {
        HINSTANCE instance;
        HWND list[3];
        ~Windows()
        {
            for (HWND window : list)
                DestroyWindow(window);
            UnregisterClassW(L"SioTestTarget", instance);
            UnregisterClassW(L"SioTestBystander", instance);
        }
    } windows{wc.hInstance, {target, second, bystander}};
    ASSERT_TRUE(target && second && bystander);
    windowNotices.clear();

    NotifyRecorder sync;
    std::atomic<DWORD> syncThread{0};
    sync.onNotice = [&](const Notice&) { syncThread = GetCurrentThreadId(); };
    {
        MemoryDispatcher port(true);
        ASSERT_EQ(port.Open(), 0);
        ReadingPort reading(port);
        port.RegisterWndTriggerHandler(reinterpret_cast<SioWindow>(target));
        port.RegisterWndTriggerHandler(reinterpret_cast<SioWindow>(second));
        port.UpdateHandlerFlags(fuEnablePort);
        port.RegisterSyncEventTriggerHandler(sync.Event());
        port.ChangeLengthTrigger(3);
        port.PushData("abc");
        ASSERT_TRUE(PumpUntil([&] { return windowNotices.size() == 2 && sync.Count() == 1; }));
        EXPECT_EQ(windowNotices[0].msg, TriggerAvailMessage);
        EXPECT_EQ(windowNotices[0].wParam, 3u);
        EXPECT_EQ(HIWORD(windowNotices[0].lParam), port.Handle());
        EXPECT_EQ(windowNotices[0].thread, GetCurrentThreadId());
        EXPECT_EQ(syncThread, GetCurrentThreadId());
        EXPECT_EQ(windowNotices[0].taken, "ab");
        EXPECT_EQ(windowNotices[1].taken, "ab") << "each window handler reads from the same start";
        ASSERT_TRUE(PumpUntil([&] { return !port.EventBusy(); }));
        EXPECT_EQ(port.InBuffUsed(), 1u);

        port.DeregisterEventTriggerHandler(sync.Event());
        notificationWaited = false;
        std::atomic<bool> sent{false};
        std::thread sender([&] {
            SendMessageW(bystander, WM_APP, reinterpret_cast<WPARAM>("def"), 0);
            sent = true;
        });
        const bool delivered = PumpUntil([&] { return windowNotices.size() == 4 && sent; });
        sender.join();
        ASSERT_TRUE(delivered);
        EXPECT_TRUE(notificationWaited) << "the read was not made while the courier's send waited";
        EXPECT_EQ(outsideTaken, "cd") << "taken outside the handlers, from the tail";
        EXPECT_EQ(windowNotices[2].taken, "ef") << "the handlers read on from what that read left";
        EXPECT_EQ(windowNotices[3].taken, "ef") << "a byte given outside was given again";
        ASSERT_TRUE(PumpUntil([&] { return !port.EventBusy(); }));
        EXPECT_EQ(port.InBuffUsed(), 0u);
#ifdef _WIN64
        const LPARAM notified = static_cast<LPARAM>(port.Handle()) << 16;
        lookAlikes = {{target, TriggerAvailMessage, 6 + (WPARAM{1} << 32), notified},
                      {target, TriggerAvailMessage, 6, notified + (LPARAM{1} << 32)}};
        sent = false;
        notificationWaited = false;
        std::thread lookAlikeSender([&] {
            SendMessageW(bystander, WM_APP + 1, reinterpret_cast<WPARAM>("ghijkl"), 0);
            sent = true;
        });
        const bool handled = PumpUntil([&] { return windowNotices.size() == 8 && sent; });
        lookAlikeSender.join();
        ASSERT_TRUE(handled);
        EXPECT_TRUE(notificationWaited) << "the look-alikes were not handled while the courier's send waited";
        EXPECT_EQ(windowNotices[4].wParam, 6 + (WPARAM{1} << 32)) << "handled before the notification";
        EXPECT_EQ(windowNotices[4].taken, "gh");
        EXPECT_EQ(windowNotices[5].taken, "ij");
        EXPECT_EQ(windowNotices[6].wParam, 6u);
        EXPECT_EQ(windowNotices[6].taken, "kl");
        EXPECT_EQ(windowNotices[7].taken, "kl") << "a look-alike's take was counted as the handler's";
        ASSERT_TRUE(PumpUntil([&] { return !port.EventBusy(); }));
        EXPECT_EQ(port.InBuffUsed(), 0u);
#endif
        port.DonePort();
    }
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
