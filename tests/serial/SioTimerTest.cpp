// The event timer and tick arithmetic, on an injected clock.
#include <gtest/gtest.h>

#include <climits>

#include "FakeSioClock.h"
#include "serial/SioClock.h"
#include "serial/SioTimer.h"

namespace {

TEST(SioTimer, ConversionsMatchTheTickRate)
{
    EXPECT_EQ(Secs2Ticks(1), 18);
    EXPECT_EQ(Secs2Ticks(10), 182);
    EXPECT_EQ(Secs2Ticks(-10), -182);
    EXPECT_EQ(Ticks2Secs(18), 1);
    EXPECT_EQ(Ticks2Secs(0), 0);
    EXPECT_EQ(Ticks2Secs(182), 10);
    EXPECT_EQ(MSecs2Ticks(1000), 18);
    EXPECT_EQ(MSecs2Ticks(50), 0);
}

TEST(SioTimer, ConversionsDoNotOverflow)
{
    // 32-bit products would overflow here; the results are the exact quotients.
    EXPECT_EQ(MSecs2Ticks(INT_MAX), 39098207);
    EXPECT_EQ(Secs2Ticks(2000000), 36413043);
    EXPECT_EQ(Ticks2Secs(INT_MAX), 117951341);
    EXPECT_EQ(Secs2Ticks(INT_MAX), INT_MAX);
    EXPECT_EQ(Secs2Ticks(INT_MIN), INT_MIN);
}

TEST(SioTimer, ZeroTickTimerExpiresAtTheNextTickBoundary)
{
    FakeSioClock clock(1000);  // tick 18, which ends at 1044 ms
    EventTimer et;
    NewTimer(et, 0);
    EXPECT_EQ(et.StartTicks, 18);
    EXPECT_EQ(et.ExpireTicks, 18);
    EXPECT_FALSE(TimerExpired(et));
    clock.Set(1044);
    EXPECT_FALSE(TimerExpired(et));
    clock.Set(1045);
    EXPECT_TRUE(TimerExpired(et));
}

TEST(SioTimer, CountsElapsedAndRemainingTicks)
{
    FakeSioClock clock(55 * 100);
    EventTimer et;
    NewTimerSecs(et, 1);  // 18 ticks
    EXPECT_EQ(et.ExpireTicks - et.StartTicks, 18);
    clock.Advance(55 * 5);
    EXPECT_EQ(ElapsedTime(et), 5);
    EXPECT_EQ(RemainingTime(et), 13);
    clock.Advance(55 * 13);
    EXPECT_EQ(RemainingTime(et), 0);
    EXPECT_FALSE(TimerExpired(et));
    clock.Advance(55);
    EXPECT_TRUE(TimerExpired(et));
    EXPECT_EQ(RemainingTime(et), 0);  // never negative
    clock.Advance(55 * 1000);
    EXPECT_EQ(RemainingTime(et), 0);
    EXPECT_EQ(ElapsedTimeInSecs(et), Ticks2Secs(1019));
}

TEST(SioTimer, LongTimersAreCapped)
{
    FakeSioClock clock(0);
    EventTimer et;
    NewTimer(et, 50000000);
    EXPECT_EQ(et.ExpireTicks - et.StartTicks, MaxTimerTicks);
    EXPECT_EQ(RemainingTime(et), MaxTimerTicks);
}

TEST(SioTimer, SurvivesTheWrapOfTheMillisecondClock)
{
    FakeSioClock clock(0xFFFFFFFFu - 275);  // tick 78,090,309; the clock wraps 276 ms later
    EventTimer et;
    NewTimer(et, 10);
    int32_t lastRemaining = 10;
    int32_t lastElapsed = 0;
    for (uint32_t ms = 0; ms < 275 + 274; ++ms) {
        clock.Advance(1);
        ASSERT_FALSE(TimerExpired(et)) << ms;
        int32_t remaining = RemainingTime(et);
        int32_t elapsed = ElapsedTime(et);
        ASSERT_LE(remaining, lastRemaining);
        ASSERT_GE(elapsed, lastElapsed);
        ASSERT_LE(elapsed, 10);
        lastRemaining = remaining;
        lastElapsed = elapsed;
    }
    EXPECT_EQ(clock.Peek(), 273u);  // well past the wrap
    EXPECT_EQ(RemainingTime(et), 0);
    clock.Advance(2);
    EXPECT_TRUE(TimerExpired(et));
    EXPECT_EQ(ElapsedTime(et), 11);
}

class ScriptedPump : public SioMessagePump {
public:
    explicit ScriptedPump(int quitAfter) : quitAfter_(quitAfter) { SetSioMessagePump(this); }
    ~ScriptedPump() override { SetSioMessagePump(nullptr); }
    uint32_t PumpOne() override
    {
        ++calls;
        if (quitAfter_ > 0 && calls >= quitAfter_)
            return WM_QUIT_NUMBER;
        return calls % 2 ? 0 : 0x00120201;  // nothing, or a message with a window
    }
    int calls = 0;

private:
    int quitAfter_;
};

TEST(SioTimer, DelayTicksWaitsAndYields)
{
    FakeSioClock clock(0, 5);  // 5 ms per reading
    ScriptedPump pump(0);
    EXPECT_EQ(DelayTicks(0, true), 0u);
    EXPECT_EQ(DelayTicks(-3, true), 0u);
    EXPECT_EQ(pump.calls, 0);
    uint32_t start = clock.Peek();
    DelayTicks(2, true);
    uint32_t waited = clock.Peek() - start;
    EXPECT_GT(waited, 2u * 55);
    EXPECT_LE(waited, 3u * 55 + 10);
    EXPECT_GT(pump.calls, 10);
    int before = pump.calls;
    DelayTicks(2, false);
    EXPECT_EQ(pump.calls, before);
}

TEST(SioTimer, DelayTicksStopsAtQuit)
{
    FakeSioClock clock(0, 1);
    ScriptedPump pump(3);
    EXPECT_EQ(DelayTicks(MaxTimerTicks, true), WM_QUIT_NUMBER);
    EXPECT_EQ(pump.calls, 3);
}

TEST(SioTimer, SafeYieldWithoutPumpAndDelayMsAcrossTheWrap)
{
    EXPECT_EQ(SafeYield(), 0u);
    FakeSioClock clock(0xFFFFFFF0u, 3);
    DelayMS(0);
    DelayMS(40);
    uint32_t waited = clock.Peek() - 0xFFFFFFF0u;
    EXPECT_GE(waited, 40u);
    EXPECT_LE(waited, 50u);
}

} // namespace
