#include "serial/SioClock.h"

#include <atomic>
#include <chrono>

namespace {

class SteadyClock : public SioClock {
public:
    uint32_t NowMs() override
    {
        auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
            std::chrono::steady_clock::now().time_since_epoch());
        return static_cast<uint32_t>(ms.count());
    }
};

SteadyClock steadyClock;
std::atomic<SioClock*> currentClock{&steadyClock};
std::atomic<SioMessagePump*> currentPump{nullptr};

} // namespace

void SetSioClock(SioClock* clock) { currentClock = clock ? clock : &steadyClock; }
void SetSioMessagePump(SioMessagePump* pump) { currentPump = pump; }

uint32_t SioTimeGetTime() { return currentClock.load()->NowMs(); }

uint32_t SafeYield()
{
    SioMessagePump* pump = currentPump;
    return pump ? pump->PumpOne() : 0;
}

void DelayMS(uint32_t ms)
{
    uint64_t waited = 0;
    uint32_t last = SioTimeGetTime();
    while (waited < ms) {
        uint32_t now = SioTimeGetTime();
        waited += static_cast<uint32_t>(now - last);
        last = now;
    }
}
