#include <windows.h>
#include <mmsystem.h>

#include <mutex>

#include "serial/SioClock.h"
#include "serial/SioDispatchLog.h"
#include "serial/SioMessageTable.h"
#include "serial/SioSystem.h"
#include "serial/SioWin32Services.h"
#include "ui/Text.h"

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

std::string SystemMessage(uint32_t number) { return SysErrorMessageText(number); }

std::string DescribeThisSystem() { return SioDescribeSystem(SioGetOsVersion()); }

MultimediaClock multimediaClock;
ThreadMessagePump pump;
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
}
