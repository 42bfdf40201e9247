// Triggers and their notification, driven cycle by cycle on the test's thread: handles,
// the data-trigger matcher, the order of notifications, take counting, status and timer
// triggers, handler lists, saving and restoring.
#include <gtest/gtest.h>

#include "FakeSioClock.h"
#include "MemoryDispatcher.h"
#include "NotifyRecorder.h"

namespace {

// Feeds text to one trigger's matcher; the 1-based positions where it completed.
std::vector<int> MatchPositions(const std::string& trigger, const std::string& input)
{
    uint32_t state[MatchCandidates] = {};
    std::vector<int> at;
    for (size_t i = 0; i < input.size(); ++i)
        if (MatchDataChar(state, static_cast<uint8_t>(input[i]), static_cast<uint32_t>(trigger.size()), false,
                          reinterpret_cast<const uint8_t*>(trigger.data())))
            at.push_back(static_cast<int>(i + 1));
    return at;
}

TEST(SioDataTriggerMatch, OverlappingCandidates)
{
    EXPECT_EQ(MatchPositions("ab", "aab"), (std::vector<int>{3}));
    EXPECT_EQ(MatchPositions("aab", "aaab"), (std::vector<int>{4}));
    EXPECT_EQ(MatchPositions("abab", "ababab"), (std::vector<int>{4}));
    EXPECT_EQ(MatchPositions("aa", "aaaa"), (std::vector<int>{2, 3}));
    EXPECT_EQ(MatchPositions("OK", "xOxOK"), (std::vector<int>{5}));
    uint32_t state[MatchCandidates] = {};
    const uint8_t upper[] = {'O', 'K'};
    EXPECT_FALSE(MatchDataChar(state, 'o', 2, true, upper));
    EXPECT_TRUE(MatchDataChar(state, 'k', 2, true, upper)) << "case ignored";
}

class SioTriggers : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(d.Open(), 0);
        d.RegisterEventTriggerHandler(recorder.Event());
    }
    uint32_t PortBits() const { return static_cast<uint32_t>(d.Handle()) << 16; }
    std::string TakeAll(uint32_t n)
    {
        std::string s(n, '\0');
        EXPECT_EQ(d.GetBlock(&s[0], n), static_cast<int32_t>(n));
        return s;
    }

    NotifyRecorder recorder;
    MemoryDispatcher d;  // goes before the handler it calls
};

TEST_F(SioTriggers, HandlesAreMultiplesOfEightThenReused)
{
    EXPECT_EQ(d.AddTimerTrigger(), 8);
    for (int i = 2; i < 4095; ++i)
        ASSERT_GT(d.AddTimerTrigger(), 0);
    EXPECT_EQ(d.AddTimerTrigger(), 32760) << "the 4095th";
    EXPECT_EQ(d.RemoveTrigger(16), 0);
    EXPECT_EQ(d.AddStatusTrigger(3), 16 + 3) << "the lowest free handle, with the status type";
    EXPECT_EQ(d.AddDataTrigger("x", false), -5001) << "8 .. 4096 are all held";
    EXPECT_EQ(d.RemoveTrigger(4096), 0);
    EXPECT_EQ(d.AddDataTrigger("x", false), 4096);
    d.RemoveAllTriggers();
    EXPECT_EQ(d.AddDataTrigger("x", false), 8) << "the count starts over";
}

TEST_F(SioTriggers, AddingFindingRemoving)
{
    EXPECT_EQ(d.AddDataTriggerLen("123456789012345678901", false, 21), 8);
    EXPECT_EQ(d.AddDataTriggerLen("1234567890123456789012", false, 22), -5002);
    EXPECT_EQ(d.AddStatusTrigger(6), -1002);
    int32_t status = d.AddStatusTrigger(stLine);
    EXPECT_EQ(status, 16 + 2);
    EXPECT_EQ(ClassifyStatusTrigger(static_cast<uint32_t>(status)), stLine);
    int32_t timer = d.AddTimerTrigger();

    void* record;
    TTriggerType type;
    EXPECT_EQ(d.FindTriggerFromHandle(static_cast<uint32_t>(status), false, record, type), 0);
    EXPECT_EQ(type, ttStatus);
    EXPECT_EQ(static_cast<TStatusTrigger*>(record)->StatusType, stLine);
    EXPECT_EQ(d.FindTriggerFromHandle(8 + 5, false, record, type), 0) << "a data handle with type bits";
    EXPECT_EQ(type, ttData);
    EXPECT_EQ(d.FindTriggerFromHandle(1, false, record, type), -5003);
    EXPECT_EQ(d.SetTimerTrigger(static_cast<uint32_t>(status), 1, true), -5003) << "not a timer";
    EXPECT_EQ(d.SetStatusTrigger(static_cast<uint32_t>(timer), 1, true), -5003) << "not a status trigger";

    d.ChangeLengthTrigger(10);
    EXPECT_EQ(d.RemoveTrigger(1), 0);
    EXPECT_EQ(d.GetLengthTrigger(), 0u);
    EXPECT_EQ(d.RemoveTrigger(0), -5003);
    EXPECT_EQ(d.RemoveTrigger(static_cast<uint32_t>(timer)), 0);
    EXPECT_EQ(d.RemoveTrigger(static_cast<uint32_t>(timer)), -5003);
}

TEST_F(SioTriggers, LengthTriggerFiresOncePerArrivalWithEverythingAvailable)
{
    d.ChangeLengthTrigger(4);
    d.PushData("abc");
    d.Cycle();
    EXPECT_EQ(recorder.Count(), 0u);
    d.PushData("de");
    d.Cycle();
    d.Cycle();
    ASSERT_EQ(recorder.Count(), 1u) << "not again without new bytes";
    Notice n = recorder.Notices()[0];
    EXPECT_EQ(n.msg, TriggerAvailMessage);
    EXPECT_EQ(n.wParam, 5u);
    EXPECT_EQ(static_cast<uint32_t>(n.lParam), PortBits());
    EXPECT_EQ(d.InBuffUsed(), 5u) << "a handler that takes nothing leaves the bytes";
}

TEST_F(SioTriggers, ARingFullOfBytesArrivingAtOnceStillFires)
{
    d.ChangeLengthTrigger(1);
    d.PushData("x");
    d.Cycle();
    EXPECT_EQ(TakeAll(1), "x");
    // Exactly 8192 bytes: the ring's head comes back to where it was.
    d.PushData(std::string(8192, 'y'), 8192);
    d.Cycle();
    ASSERT_EQ(recorder.Count(), 2u);
    EXPECT_EQ(recorder.Notices()[1].wParam, 8192u);
}

TEST_F(SioTriggers, DataTriggersAfterTheLengthTriggerLaterOnesFirst)
{
    int32_t ok = d.AddDataTrigger("OK", false);
    int32_t k = d.AddDataTrigger("K", false);
    d.ChangeLengthTrigger(3);
    d.PushData("abcdOKxy");
    d.Cycle();
    std::vector<Notice> n = recorder.Notices();
    ASSERT_EQ(n.size(), 4u);
    EXPECT_EQ(n[0].msg, TriggerAvailMessage);
    EXPECT_EQ(n[0].wParam, 4u) << "the bytes in front of the match";
    EXPECT_EQ(n[1].msg, TriggerDataMessage);
    EXPECT_EQ(n[1].wParam, static_cast<uint32_t>(k));
    EXPECT_EQ(static_cast<uint32_t>(n[1].lParam), PortBits() + 1);
    EXPECT_EQ(n[2].wParam, static_cast<uint32_t>(ok));
    EXPECT_EQ(static_cast<uint32_t>(n[2].lParam), PortBits() + 2) << "the trigger's length";
    EXPECT_EQ(n[3].msg, TriggerAvailMessage);
    EXPECT_EQ(n[3].wParam, 8u) << "then once more for all that arrived";
}

TEST_F(SioTriggers, AHandlerThatLeavesBytesStopsTheChecks)
{
    d.ChangeLengthTrigger(1);
    d.AddDataTrigger("z", false);
    recorder.onNotice = [this](const Notice& n) {
        if (n.msg != TriggerAvailMessage)
            return;
        uint32_t before = d.InBuffUsed();
        EXPECT_EQ(before, n.wParam);
        char five[5];
        EXPECT_EQ(d.GetBlock(five, 5), 5);
        EXPECT_EQ(d.InBuffUsed(), before - 5) << "what this handler has taken is gone for it";
        EXPECT_EQ(d.InBuffFree(), 8192u - before + 5);
    };
    d.PushData("0123456789");
    d.ExtractData();
    EXPECT_FALSE(d.CheckReceiveTriggers()) << "5 of 10 taken";
    EXPECT_EQ(d.InBuffUsed(), 5u);
    EXPECT_FALSE(d.CheckReceiveTriggers());
    EXPECT_EQ(recorder.Count(), 1u) << "not notified again until new bytes arrive";
    d.PushData("z");
    d.Cycle();
    std::vector<Notice> n = recorder.Notices();
    ASSERT_EQ(n.size(), 3u);
    EXPECT_EQ(n[1].msg, TriggerDataMessage);
    EXPECT_EQ(n[2].msg, TriggerAvailMessage);
    EXPECT_EQ(n[2].wParam, 6u) << "everything available, after the match";
    EXPECT_EQ(TakeAll(1), "z") << "that handler took 5 more";
}

TEST_F(SioTriggers, BytesFlushedInAHandlerAreNotExaminedAgain)
{
    d.AddDataTrigger("OK", false);
    int32_t k = d.AddDataTrigger("K", false);
    d.ChangeLengthTrigger(1);
    recorder.onNotice = [this](const Notice& n) {
        if (n.msg != TriggerDataMessage)
            return;
        d.FlushInBuffer();
        EXPECT_EQ(d.InBuffUsed(), 0u) << "the flushing handler finds nothing more";
        uint8_t c;
        EXPECT_EQ(d.GetChar(c), -3007);
    };
    NotifyRecorder after;
    uint32_t afterSaw = 0;
    after.onNotice = [&](const Notice& n) {
        if (n.msg == TriggerDataMessage)
            afterSaw = d.InBuffUsed();
    };
    d.RegisterEventTriggerHandler(after.Event());
    d.PushData("xOKabcOKdef");
    d.Cycle();
    std::vector<Notice> n = recorder.Notices();
    ASSERT_EQ(n.size(), 2u);
    EXPECT_EQ(n[0].msg, TriggerAvailMessage);
    EXPECT_EQ(n[1].msg, TriggerDataMessage);
    EXPECT_EQ(n[1].wParam, static_cast<uint32_t>(k)) << "the match of OK was in the flushed bytes";
    EXPECT_EQ(afterSaw, 11u) << "the handlers after the flushing one still see it all";
    EXPECT_EQ(d.InBuffUsed(), 0u);
}

TEST_F(SioTriggers, AMatchIsNotifiedOnlyToTriggersThatStillHoldItAfterTheLengthNotice)
{
    int32_t ok = d.AddDataTrigger("OK", false);
    int32_t k = d.AddDataTrigger("K", false);
    d.ChangeLengthTrigger(1);
    int lengthNotices = 0;
    recorder.onNotice = [&](const Notice& n) {
        if (n.msg != TriggerAvailMessage)
            return;
        ++lengthNotices;
        if (lengthNotices == 1) {
            d.RemoveTrigger(static_cast<uint32_t>(k));
        } else if (lengthNotices == 3) {
            d.RemoveAllTriggers();
            EXPECT_EQ(d.AddDataTrigger("OK", false), ok) << "the old match's handle again";
        }
    };
    d.PushData("xOK");
    d.Cycle();
    d.PushData("yOK");
    d.Cycle();
    std::vector<std::pair<uint32_t, uint32_t>> got;
    for (const Notice& n : recorder.Notices())
        got.emplace_back(n.msg, n.wParam);
    EXPECT_EQ(got, (std::vector<std::pair<uint32_t, uint32_t>>{{TriggerAvailMessage, 1},
                                                                {TriggerDataMessage, static_cast<uint32_t>(ok)},
                                                                {TriggerAvailMessage, 3},
                                                                {TriggerAvailMessage, 4}}));
}

TEST_F(SioTriggers, EveryHandlerSeesTheSameBytesAndTheLargestTakeCounts)
{
    NotifyRecorder second;
    d.RegisterProcTriggerHandler([](uint32_t, uint32_t, int32_t) {});
    d.RegisterEventTriggerHandler(second.Event());
    std::string seen1, seen2;
    recorder.onNotice = [&](const Notice&) { seen1 = TakeAll(3); };
    second.onNotice = [&](const Notice&) { seen2 = TakeAll(7); };
    d.ChangeLengthTrigger(10);
    d.PushData("0123456789");
    d.Cycle();
    EXPECT_EQ(seen1, "012");
    EXPECT_EQ(seen2, "0123456");
    EXPECT_EQ(d.InBuffUsed(), 3u);
    EXPECT_EQ(TakeAll(3), "789");
}

TEST_F(SioTriggers, StatusTriggerFiresOnceUntilArmedAgain)
{
    int32_t room = d.AddStatusTrigger(stOutBuffFree);
    ASSERT_EQ(d.SetStatusTrigger(static_cast<uint32_t>(room), 100, true), 0);
    d.Cycle(3);
    std::vector<Notice> n = recorder.Notices();
    ASSERT_EQ(n.size(), 1u);
    EXPECT_EQ(n[0].msg, TriggerStatusMessage);
    EXPECT_EQ(n[0].wParam, static_cast<uint32_t>(room));
    EXPECT_EQ(static_cast<uint32_t>(n[0].lParam), PortBits() + 4096);
    ASSERT_EQ(d.SetStatusTrigger(static_cast<uint32_t>(room), 4090, true), 0);
    d.PutString("0123456789");
    d.Cycle();
    EXPECT_EQ(recorder.Count(), 1u) << "4086 free";
    d.Written();
    d.Cycle();
    EXPECT_EQ(recorder.Count(), 2u);
}

TEST_F(SioTriggers, LineAndModemStatusTriggers)
{
    int32_t line = d.AddStatusTrigger(stLine);
    int32_t modem = d.AddStatusTrigger(stModem);
    int32_t sent = d.AddStatusTrigger(stOutSent);
    ASSERT_EQ(d.SetStatusTrigger(static_cast<uint32_t>(line), 4, true), 0);  // framing
    ASSERT_EQ(d.SetStatusTrigger(static_cast<uint32_t>(modem), ModemBit::Dcd, true), 0);
    ASSERT_EQ(d.SetStatusTrigger(static_cast<uint32_t>(sent), 0, true), 0);
    d.AddLineErrors(LineErr::Parity);
    d.PushStatus(CommEvent::Err);
    d.Cycle();
    EXPECT_EQ(recorder.Count(), 0u) << "parity was not selected";
    d.AddLineErrors(LineErr::Framing);
    d.PushStatus(CommEvent::Err);
    d.SetLines(ModemBit::Cts);
    d.PushStatus(CommEvent::Cts);
    d.Cycle(2);
    ASSERT_EQ(recorder.Count(), 1u);
    EXPECT_EQ(recorder.Notices()[0].wParam, static_cast<uint32_t>(line));
    d.SetLines(ModemBit::Cts | ModemBit::Dcd);
    d.PushStatus(CommEvent::Rlsd);
    d.PutChar('x');
    d.Cycle();
    std::vector<Notice> n = recorder.Notices();
    ASSERT_EQ(n.size(), 3u);
    EXPECT_EQ(n[1].wParam, static_cast<uint32_t>(modem));
    EXPECT_EQ(n[2].wParam, static_cast<uint32_t>(sent));
}

TEST_F(SioTriggers, TimerTriggers)
{
    FakeSioClock clock(55 * 1000);
    int32_t timer = d.AddTimerTrigger();
    ASSERT_EQ(d.SetTimerTrigger(static_cast<uint32_t>(timer), 2, true), 0);
    int32_t left = -1;
    EXPECT_EQ(d.TimerTicksRemaining(static_cast<uint32_t>(timer), left), 0);
    EXPECT_EQ(left, 2);
    clock.Advance(3 * 55);
    EXPECT_EQ(d.ExtendTimer(static_cast<uint32_t>(timer), 1), 0);
    d.Cycle();
    EXPECT_EQ(recorder.Count(), 0u) << "extended by a tick";
    clock.Advance(55);
    d.Cycle(2);
    ASSERT_EQ(recorder.Count(), 1u) << "once";
    EXPECT_EQ(recorder.Notices()[0].msg, TriggerTimerMessage);
    EXPECT_EQ(recorder.Notices()[0].wParam, static_cast<uint32_t>(timer));
    ASSERT_EQ(d.SetTimerTrigger(static_cast<uint32_t>(timer), 0, true), 0) << "the same interval again";
    ASSERT_EQ(d.SetTimerTrigger(static_cast<uint32_t>(timer), 0, false), 0);
    clock.Advance(10 * 55);
    d.Cycle();
    EXPECT_EQ(recorder.Count(), 1u) << "deactivated";
    EXPECT_EQ(d.TimerTicksRemaining(99, left), -5003);
}

TEST_F(SioTriggers, WindowHandlersAndThePortsOwnWindow)
{
    RecorderMessenger messenger;
    NotifyRecorder port, other;
    messenger.Add(1, port);
    messenger.Add(2, other);
    d.DeregisterEventTriggerHandler(recorder.Event());
    EXPECT_FALSE(d.HandlerFlag()) << "no target left";
    d.RegisterWndTriggerHandler(1);
    d.UpdateHandlerFlags(fuDisablePort);
    EXPECT_FALSE(d.HandlerFlag());
    d.ChangeLengthTrigger(1);
    d.PushData("a");
    d.Cycle();
    EXPECT_EQ(port.Count(), 0u);
    d.UpdateHandlerFlags(fuEnablePort);
    d.PushData("b");
    d.Cycle();
    ASSERT_EQ(port.Count(), 1u);
    EXPECT_EQ(port.Notices()[0].wParam, 2u);
    d.UpdateHandlerFlags(fuDisablePort);
    d.RegisterWndTriggerHandler(2);
    EXPECT_TRUE(d.HandlerFlag());
    d.PushData("c");
    d.Cycle();
    EXPECT_EQ(port.Count(), 2u) << "with two windows both hear it";
    EXPECT_EQ(other.Count(), 1u);
    d.CreateDispatcherWindow();
    EXPECT_EQ(d.DispatcherWindow(), 0x777u);
}

TEST_F(SioTriggers, DeregisteringDuringANotificationOnlyMarks)
{
    NotifyRecorder second;
    d.RegisterEventTriggerHandler(second.Event());
    recorder.onNotice = [&](const Notice&) {
        d.DeregisterEventTriggerHandler(second.Event());
        d.DeregisterEventTriggerHandler(recorder.Event());
    };
    d.ChangeLengthTrigger(1);
    d.PushData("a");
    d.Cycle();
    EXPECT_EQ(recorder.Count(), 1u);
    EXPECT_EQ(second.Count(), 0u) << "marked, so not called";
    EXPECT_FALSE(d.HandlerFlag()) << "recomputed when the notification ended";
    d.RegisterEventTriggerHandler(second.Event());
    d.PushData("b");
    d.Cycle();
    EXPECT_EQ(second.Count(), 1u);
    EXPECT_EQ(recorder.Count(), 1u) << "removed";
}

TEST_F(SioTriggers, HeldBackWhileBusy)
{
    d.ChangeLengthTrigger(1);
    bool was = true;
    d.SetEventBusy(was, true);
    EXPECT_FALSE(was);
    d.PushData("a");
    d.Cycle();
    EXPECT_FALSE(d.SendNotify(TriggerAvailMessage, 1, 0));
    EXPECT_EQ(recorder.Count(), 0u);
    d.SetEventBusy(was, false);
    EXPECT_TRUE(was);
    d.PushData("b");
    d.Cycle();
    ASSERT_EQ(recorder.Count(), 1u);
    EXPECT_EQ(recorder.Notices()[0].wParam, 2u);
}

TEST_F(SioTriggers, TriggersDueWhileAWaitHoldsThePortFireOnceItIsFree)
{
    FakeSioClock clock(55 * 1000);
    int32_t timer = d.AddTimerTrigger();
    ASSERT_EQ(d.SetTimerTrigger(static_cast<uint32_t>(timer), 1, true), 0);
    int32_t sent = d.AddStatusTrigger(stOutSent);
    ASSERT_EQ(d.SetStatusTrigger(static_cast<uint32_t>(sent), 0, true), 0);
    int32_t ok = d.AddDataTrigger("OK", false);
    d.PutChar('x');
    d.PushData("OK");
    d.ExtractData();
    clock.Advance(2 * 55);
    // A wait routine takes the port just as the dispatcher thread runs its checks.
    bool was;
    d.SetEventBusy(was, true);
    EXPECT_FALSE(d.CheckTimerTriggers());
    EXPECT_FALSE(d.CheckStatusTriggers());
    EXPECT_FALSE(d.CheckReceiveTriggers());
    d.SetEventBusy(was, false);
    d.Cycle();
    std::vector<uint32_t> fired;
    for (const Notice& n : recorder.Notices())
        fired.push_back(n.wParam);
    EXPECT_EQ(fired, (std::vector<uint32_t>{static_cast<uint32_t>(sent), static_cast<uint32_t>(ok),
                                            static_cast<uint32_t>(timer)}));
}

TEST_F(SioTriggers, SavedTriggersComeBackWithTheirHandleCount)
{
    d.ChangeLengthTrigger(7);
    int32_t data = d.AddDataTrigger("ok", true);
    int32_t status = d.AddStatusTrigger(stOutSent);
    TTriggerSave save;
    d.SaveTriggers(save);
    d.RemoveAllTriggers();
    EXPECT_EQ(d.AddTimerTrigger(), 8);
    d.RestoreTriggers(save);
    EXPECT_EQ(d.GetLengthTrigger(), 7u);
    void* record;
    TTriggerType type;
    EXPECT_EQ(d.FindTriggerFromHandle(8, false, record, type), 0);
    EXPECT_EQ(type, ttData) << "the timer made meanwhile is gone";
    EXPECT_EQ(d.FindTriggerFromHandle(static_cast<uint32_t>(status), false, record, type), 0);
    EXPECT_EQ(d.AddTimerTrigger(), 24) << "no restored handle is given again";
    d.PushData("OK");
    d.Cycle();
    ASSERT_EQ(recorder.Count(), 1u);
    EXPECT_EQ(recorder.Notices()[0].wParam, static_cast<uint32_t>(data)) << "upper-cased, case ignored";
    TSioBaseDispatcher::ClearSaveBuffers(save);
    EXPECT_TRUE(save.Data.empty());
}

} // namespace
