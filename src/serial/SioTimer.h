#pragma once
// The coarse event timer of the serial library. A tick is 55 ms of the library's clock
// (SioClock.h); timers are capped at MaxTimerTicks (about 24.8 days).
//
// The tick count is the 32-bit millisecond clock divided by 55, so it runs from 0 to
// 78,090,314 and then wraps with the clock. Elapsed and remaining times are taken as
// differences modulo that cycle, so a timer that spans the wrap keeps its length.
#include <cstdint>

struct EventTimer {
    int32_t StartTicks = 0;   // tick count when set
    int32_t ExpireTicks = 0;  // StartTicks + requested ticks
};

constexpr int32_t MaxTimerTicks = 39045157;
constexpr uint32_t MsPerTick = 55;
// Number of distinct tick values before the clock wraps.
constexpr int64_t TickCycle = int64_t{0xFFFFFFFFu} / MsPerTick + 1;

// The current tick count.
int32_t CurrentTicks();

// Conversions; results outside 32 bits are held at the nearest 32-bit value.
int32_t Secs2Ticks(int32_t secs);    // secs * 1675 / 92
int32_t MSecs2Ticks(int32_t msecs);  // msecs * 1675 / 92000
int32_t Ticks2Secs(int32_t ticks);   // (ticks + 9) * 92 / 1675

void NewTimer(EventTimer& et, int32_t ticks);
void NewTimerSecs(EventTimer& et, int32_t secs);
// True once more ticks than the timer's length have passed since it was set (a timer
// of 0 ticks expires at the next tick boundary).
bool TimerExpired(const EventTimer& et);
int32_t ElapsedTime(const EventTimer& et);
int32_t ElapsedTimeInSecs(const EventTimer& et);
// Ticks left, never negative.
int32_t RemainingTime(const EventTimer& et);
int32_t RemainingTimeInSecs(const EventTimer& et);

// Waits ticks ticks; with yield, handles the thread's messages meanwhile (SafeYield)
// and stops early at a quit message. Returns the last SafeYield result (0 if none ran).
uint32_t DelayTicks(int32_t ticks, bool yield);
