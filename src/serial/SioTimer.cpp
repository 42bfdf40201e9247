#include "serial/SioTimer.h"

#include <algorithm>
#include <limits>

#include "serial/SioClock.h"

namespace {

int32_t Clamp32(int64_t v)
{
    return static_cast<int32_t>(std::clamp<int64_t>(v, std::numeric_limits<int32_t>::min(),
                                                    std::numeric_limits<int32_t>::max()));
}

// Ticks from start to now, modulo the tick cycle.
int64_t TicksSince(int32_t start, int32_t now)
{
    int64_t diff = int64_t{now} - start;
    return now < start ? diff + TickCycle : diff;
}

} // namespace

int32_t CurrentTicks() { return static_cast<int32_t>(SioTimeGetTime() / MsPerTick); }

int32_t Secs2Ticks(int32_t secs) { return Clamp32(int64_t{secs} * 1675 / 92); }
int32_t MSecs2Ticks(int32_t msecs) { return Clamp32(int64_t{msecs} * 1675 / 92000); }
int32_t Ticks2Secs(int32_t ticks) { return Clamp32((int64_t{ticks} + 9) * 92 / 1675); }

void NewTimer(EventTimer& et, int32_t ticks)
{
    ticks = std::min(ticks, MaxTimerTicks);
    et.StartTicks = CurrentTicks();
    et.ExpireTicks = Clamp32(int64_t{et.StartTicks} + ticks);
}

void NewTimerSecs(EventTimer& et, int32_t secs) { NewTimer(et, Secs2Ticks(secs)); }

bool TimerExpired(const EventTimer& et)
{
    int64_t length = int64_t{et.ExpireTicks} - et.StartTicks;
    return TicksSince(et.StartTicks, CurrentTicks()) > length;
}

int32_t ElapsedTime(const EventTimer& et) { return Clamp32(TicksSince(et.StartTicks, CurrentTicks())); }

int32_t ElapsedTimeInSecs(const EventTimer& et) { return Ticks2Secs(ElapsedTime(et)); }

int32_t RemainingTime(const EventTimer& et)
{
    int64_t length = int64_t{et.ExpireTicks} - et.StartTicks;
    int64_t left = length - TicksSince(et.StartTicks, CurrentTicks());
    return left < 0 ? 0 : Clamp32(left);
}

int32_t RemainingTimeInSecs(const EventTimer& et) { return Ticks2Secs(RemainingTime(et)); }

uint32_t DelayTicks(int32_t ticks, bool yield)
{
    uint32_t result = 0;
    if (ticks <= 0)
        return result;
    EventTimer et;
    NewTimer(et, ticks);
    for (;;) {
        if (yield) {
            result = SafeYield();
            if ((result & 0xFFFF) == WM_QUIT_NUMBER)
                break;
        }
        if (TimerExpired(et))
            break;
    }
    return result;
}
