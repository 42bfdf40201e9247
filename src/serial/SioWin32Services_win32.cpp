#include <windows.h>
#include <mmsystem.h>

#include <mutex>

#include "serial/SioClock.h"
#include "serial/SioComPortPlatform.h"
#include "serial/SioDispatchLog.h"
#include "serial/SioMessageTable.h"
#include "serial/SioNotifyServices.h"
#include "serial/SioSystem.h"
#include "serial/SioWin32SentMessages.h"
#include "serial/SioWin32Services.h"
#include "ui/Application.h"
#include "ui/DialogProvider.h"
#include "ui/Text.h"
#include "ui/Threads.h"

namespace {

class MultimediaClock : public SioClock {
public:
    uint32_t NowMs() override { return timeGetTime(); }
};

// Handles one message of the calling thread; a quit message is posted again so that
// the application's own loop still sees it.
class ThreadMessagePump : public SioMessagePump {
public:
    uint32_t PumpOne() override
    {
        MSG msg;
        if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
            return 0;
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam));
        } else {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        auto window = static_cast<uint32_t>(reinterpret_cast<UINT_PTR>(msg.hwnd) & 0xFFFF);
        return (msg.message & 0xFFFF) | (window << 16);
    }
};

// Notifications to windows: a blocking send (the dispatcher bounds its own wait); a
// watched one lets the window's thread tell that it is handling it.
class WindowMessenger : public SioWindowMessenger {
public:
    bool Send(SioWindow window, uint32_t msg, uint32_t wParam, int32_t lParam) override
    {
        return SendFull({window, msg, wParam, lParam});
    }
    bool SendWatched(const SioSentMessage& message) override
    {
        SioWin32SentMessages::Watch watch(message);
        return SendFull(message);
    }
    bool RunsSentMessage(const SioSentMessage& message) override { return SioWin32SentMessages::Runs(message); }
    SioWindow CreateDispatcherWindow() override
    {
        HWND hwnd = CreateWindowExW(0, L"sioDispatch", L"", 0, 0, 0, 10, 10, nullptr, nullptr,
                                    GetModuleHandleW(nullptr), nullptr);
        return reinterpret_cast<SioWindow>(hwnd);
    }

private:
    // The parameters go out as the message holds them, so the hooks see exactly what
    // the watch compares.
    static bool SendFull(const SioSentMessage& message)
    {
        HWND hwnd = reinterpret_cast<HWND>(message.Window);
        if (!IsWindow(hwnd))
            return false;
        SendMessageW(hwnd, message.Msg, message.WParam, message.LParam);
        return true;
    }
};

// Synchronised methods run through the class library's threads' Synchronize.
class MainThreadSynchronizer : public SioSynchronizer {
    struct Caller : TThread {
        void Execute() override {}
        using TThread::Synchronize;
    };

public:
    void Synchronize(const std::function<void()>& method) override
    {
        Caller caller;
        caller.Synchronize(method);
    }
};

// The class library's exception box, task-modal with the error icon, from any thread.
void ShowExceptionBox(const std::string& message)
{
    std::string text = message;
    if (!text.empty() && static_cast<unsigned char>(text.back()) > '.')
        text += '.';
    Dialogs().ShowMessageBox(nullptr, text, Application ? Application->Title() : std::string(),
                             MB_OK | MB_ICONERROR | MB_TASKMODAL);
}

std::string SystemMessage(uint32_t number) { return SysErrorMessageText(number); }

std::string DescribeThisSystem() { return SioDescribeSystem(SioGetOsVersion()); }

MultimediaClock multimediaClock;
ThreadMessagePump pump;
WindowMessenger messenger;
MainThreadSynchronizer synchronizer;
std::mutex lock;
int installs = 0;
UINT timerPeriod = 0;

} // namespace

void SioInstallWin32Services()
{
    std::lock_guard<std::mutex> guard(lock);
    if (installs++ > 0)
        return;
    TIMECAPS caps{};
    if (timeGetDevCaps(&caps, sizeof(caps)) == TIMERR_NOERROR && timeBeginPeriod(caps.wPeriodMin) == TIMERR_NOERROR)
        timerPeriod = caps.wPeriodMin;
    SetSioClock(&multimediaClock);
    SetSioMessagePump(&pump);
    SetSioSystemMessageSource(&SystemMessage);
    SetSioSystemDescription(&DescribeThisSystem);
    SetSioWindowMessenger(&messenger);
    SetSioSynchronizer(&synchronizer);
    SetSioExceptionBox(&ShowExceptionBox);
    SetSioPlatformIsNT(IsWinNT());
    SetSioComPortPlatform(&Win32ComPortPlatform());
}

void SioUninstallWin32Services()
{
    std::lock_guard<std::mutex> guard(lock);
    if (installs == 0 || --installs > 0)
        return;
    if (timerPeriod)
        timeEndPeriod(timerPeriod);
    timerPeriod = 0;
    SetSioClock(nullptr);
    SetSioMessagePump(nullptr);
    SetSioSystemMessageSource(nullptr);
    SetSioSystemDescription(nullptr);
    SetSioWindowMessenger(nullptr);
    SetSioSynchronizer(nullptr);
    SetSioExceptionBox(nullptr);
    SetSioPlatformIsNT(true);
    SetSioComPortPlatform(nullptr);
}
