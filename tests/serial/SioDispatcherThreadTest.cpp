// The dispatcher with its real threads (these tests also run under ThreadSanitizer):
// data and timers through the dispatcher thread, closing from handlers, late window
// handlers, device failures, a full ring, and many opens and closes under traffic. And
// the list of open ports.
#include <gtest/gtest.h>

#include <atomic>
#include <random>

#include "MainThreadQueue.h"
#include "MemoryDispatcher.h"
#include "NotifyRecorder.h"
#include "serial/SioPortList.h"
#include "support/WaitUntil.h"

namespace {

std::string Pattern(size_t n)
{
    std::string s(n, '\0');
    for (size_t i = 0; i < n; ++i)
        s[i] = static_cast<char>(i * 13 % 253);
    return s;
}

// Takes every available byte into a string, from any thread.
class Collector {
public:
    void TakeAll(TSioBaseDispatcher& d)
    {
        uint32_t n = d.InBuffUsed();
        if (n == 0)
            return;
        std::string block(n, '\0');
        if (d.GetBlock(&block[0], n) != static_cast<int32_t>(n))
            return;
        std::lock_guard<std::mutex> guard(lock_);
        text_ += block;
    }
    std::string Text()
    {
        std::lock_guard<std::mutex> guard(lock_);
        return text_;
    }
    size_t Size() { return Text().size(); }

private:
    std::mutex lock_;
    std::string text_;
};

class SioDispatcherThread : public ::testing::Test {
protected:
    void Open(MemoryDispatcher& port)
    {
        ASSERT_EQ(port.Open(), 0);
        ASSERT_TRUE(PumpUntil([&] { return port.RunningThreads() == 2; }));
    }
    // Waits until the dispatcher thread has ended the cycle it is in, or the next one (it
    // sets its ready event at the end of every cycle that a close does not cut short);
    // false after ten seconds. A cycle that sent a window a notification ends once the
    // send returned or was given up.
    bool CycleEnded()
    {
        d->ReadyEvent()->Reset();
        return d->ReadyEvent()->WaitFor(10000);
    }
    // Waits, without pumping, until a synchronised method waits in the main thread's
    // queue; false after thirty seconds.
    bool MethodQueued()
    {
        return WaitUntil([&] { return mainThread.Queued(); });
    }
    MainThreadQueue mainThread;
    NotifyRecorder recorder;
    Collector received;
    std::unique_ptr<MemoryDispatcher> d = std::make_unique<MemoryDispatcher>(true);  // goes first
};

TEST_F(SioDispatcherThread, BurstsLargerThanTheRingArriveWhole)
{
    Open(*d);
    d->ChangeLengthTrigger(1);
    recorder.onNotice = [&](const Notice&) { received.TakeAll(*d); };
    d->RegisterEventTriggerHandler(recorder.Event());
    const std::string sent = Pattern(50000);
    std::thread feeder([&] {
        for (size_t at = 0; at < sent.size(); at += 10000)
            d->PushData(sent.substr(at, 10000));
    });
    feeder.join();
    ASSERT_TRUE(PumpUntil([&] { return received.Size() == sent.size(); }));
    EXPECT_EQ(received.Text(), sent);
    EXPECT_THROW(d->StartDispatcher(), Exception) << "Dispatcher already started.";
}

TEST_F(SioDispatcherThread, PriorityBoostReachesTheDeviceThreads)
{
    Open(*d);
    d->SetThreadBoost(2);
    EXPECT_EQ(d->deviceBoost, 2);
    d->SetRS485Mode(true);
    EXPECT_EQ(d->deviceBoost, 3) << "the write thread one higher for RS-485";
    d->SetRS485Mode(false);
    EXPECT_EQ(d->deviceBoost, 2);
    d->deviceBoost = -1;
    d->SetThreadBoost(2);
    EXPECT_EQ(d->deviceBoost, -1) << "unchanged: nothing to do";

    // Set from another thread while the port closes and opens again: no thread object is
    // called while the close takes it out and destroys it (ThreadSanitizer tells).
    std::atomic<bool> stop{false};
    std::thread booster([&] {
        for (uint8_t boost = 0; !stop; boost = (boost + 1) % 4) {
            d->SetThreadBoost(boost);
            d->SetRS485Mode(boost % 2);
        }
    });
    for (int round = 0; round < 3; ++round) {
        d->DonePort();
        EXPECT_EQ(d->RunningThreads(), 0);
        Open(*d);
    }
    stop = true;
    booster.join();
}

TEST_F(SioDispatcherThread, TimersFireWithoutAnyTraffic)
{
    Open(*d);
    d->RegisterSyncEventTriggerHandler(recorder.Event());
    // Next on the dispatcher's thread, once the synchronised method has run.
    NotifyRecorder after;
    std::atomic<bool> methodKept{true}, checked{false};
    after.onNotice = [&](const Notice&) {
        methodKept = static_cast<bool>(TSioDispatcherThread::Current()->SyncMethod);
        checked = true;
    };
    d->RegisterEventTriggerHandler(after.Event());
    int32_t timer = d->AddTimerTrigger();
    ASSERT_EQ(d->SetTimerTrigger(static_cast<uint32_t>(timer), 1, true), 0);
    const bool fired = PumpUntil([&] { return recorder.Count() == 1 && checked; });
    d.reset();  // no handler outlives the locals it is bound to
    ASSERT_TRUE(fired);
    EXPECT_EQ(recorder.Notices()[0].msg, TriggerTimerMessage);
    EXPECT_FALSE(methodKept) << "the thread keeps no method it ran, nor what it was bound to";
}

TEST_F(SioDispatcherThread, ASynchronisedMethodDeregisteredWhileItWaitsIsNotCalled)
{
    Open(*d);
    d->ChangeLengthTrigger(1);
    std::atomic<int> calls{0};
    auto method = std::make_unique<NotifyRecorder>();
    method->onNotice = [&](const Notice&) { ++calls; };
    d->RegisterSyncEventTriggerHandler(method->Event());
    d->PushData("x");
    EXPECT_TRUE(MethodQueued()) << "the call never came to the main thread";
    d->DeregisterEventTriggerHandler(method->Event());
    method.reset();  // before the main thread runs what waits for it
    ASSERT_TRUE(PumpUntil([&] { return !d->EventBusy(); }));
    EXPECT_EQ(calls, 0) << "called after its deregistration returned";
    EXPECT_EQ(d->InBuffUsed(), 1u);
}

TEST_F(SioDispatcherThread, KillThreadsEndsThemAndKeepsWhatWasReceived)
{
    Open(*d);
    d->PushData("kept");
    ASSERT_TRUE(PumpUntil([&] { return d->InBuffUsed() == 4; }));
    d->KillThreads = true;
    ASSERT_TRUE(PumpUntil([&] { return d->RunningThreads() == 0; }));
    EXPECT_FALSE(d->DispActive());
    EXPECT_TRUE(d->CanFinishClose());
    char text[4];
    EXPECT_EQ(d->GetBlock(text, 4), 4);
    EXPECT_EQ(std::string(text, 4), "kept");
    d->DonePort();
    EXPECT_EQ(d->closeCalls, 1);
    EXPECT_EQ(d->ComEvent(), nullptr);
}

TEST_F(SioDispatcherThread, ADeviceFailureArrivesAsALineError)
{
    Open(*d);
    d->RegisterEventTriggerHandler(recorder.Event());
    int32_t line = d->AddStatusTrigger(stLine);
    ASSERT_EQ(d->SetStatusTrigger(static_cast<uint32_t>(line), 1, true), 0);
    d->PushData("before");
    ASSERT_TRUE(PumpUntil([&] { return d->InBuffUsed() == 6; }));
    d->failDevice = -161;
    ASSERT_TRUE(PumpUntil([&] { return d->RunningThreads() == 0; }));
    ASSERT_EQ(recorder.Count(), 1u);
    EXPECT_EQ(recorder.Notices()[0].msg, TriggerStatusMessage);
    EXPECT_EQ(recorder.Notices()[0].wParam, static_cast<uint32_t>(line));
    EXPECT_EQ(d->GetLineError(), 10);
    EXPECT_EQ(d->PutString("after"), -3004) << "nothing would send it";
    char text[6];
    EXPECT_EQ(d->GetBlock(text, 6), 6) << "the ring stays until the port is closed";
    d.reset();
}

TEST_F(SioDispatcherThread, ACloseFromAHandlerIsFinishedByTheOwner)
{
    Open(*d);
    d->ChangeLengthTrigger(1);
    std::atomic<bool> returned{false};
    recorder.onNotice = [&](const Notice&) {
        d->DonePort();  // on the dispatcher thread, which waits for this handler
        returned = true;
    };
    d->RegisterEventTriggerHandler(recorder.Event());
    d->PushData("x");
    ASSERT_TRUE(PumpUntil([&] { return returned.load(); }));
    EXPECT_TRUE(d->DonePortPending());
    ASSERT_TRUE(PumpUntil([&] { return d->CanFinishClose(); }));
    EXPECT_EQ(d->closeCalls, 0) << "the device is closed by the owner";
    d.reset();
    EXPECT_EQ(recorder.Count(), 1u);
}

TEST_F(SioDispatcherThread, ACloseFromASynchronisedHandlerReturnsAtOnce)
{
    Open(*d);
    d->ChangeLengthTrigger(1);
    recorder.onNotice = [&](const Notice&) { d->DonePort(); };
    d->RegisterSyncEventTriggerHandler(recorder.Event());
    d->PushData("x");
    ASSERT_TRUE(PumpUntil([&] { return recorder.Count() == 1 && d->CanFinishClose(); }));
    EXPECT_TRUE(d->DonePortPending());
    d.reset();
}

TEST_F(SioDispatcherThread, AnOwnerClosingWhileASynchronisedHandlerWaitsDoesNotHang)
{
    Open(*d);
    d->ChangeLengthTrigger(1);
    d->RegisterSyncEventTriggerHandler(recorder.Event());
    d->PushData("x");
    ASSERT_TRUE(MethodQueued()) << "the call never came to the main thread";  // not run: nothing pumps
    ASSERT_TRUE(d->EventBusy());
    d->DonePort();  // the handler still waits in this thread's queue
    EXPECT_TRUE(d->DonePortPending()) << "a notification runs: the close is left to the owner";
    ASSERT_TRUE(PumpUntil([&] { return d->CanFinishClose(); }));
    EXPECT_EQ(recorder.Count(), 1u);
    d.reset();
}

TEST_F(SioDispatcherThread, ALateWindowHandlerGetsNothingMoreAndItsTakeCountsOnce)
{
    RecorderMessenger messenger;
    NotifyRecorder window;
    messenger.Add(1, window);
    std::mutex gate;
    std::unique_lock<std::mutex> closed(gate);
    std::atomic<int> calls{0};
    window.onNotice = [&](const Notice&) {
        if (calls++ > 0)
            return;
        std::lock_guard<std::mutex> wait(gate);  // held up by the test
        char three[3];
        EXPECT_EQ(d->GetBlock(three, 3), 3);
    };
    d->sendTimeoutMs_ = 30;
    Open(*d);
    d->RegisterWndTriggerHandler(1);
    d->UpdateHandlerFlags(fuEnablePort);
    d->ChangeLengthTrigger(1);
    d->PushData("abcdef");
    // Nothing returns before the gate opens: the held handler is bound to this frame.
    EXPECT_TRUE(PumpUntil([&] { return window.Count() == 1; }));
    EXPECT_TRUE(CycleEnded()) << "the send was never given up";
    d->PushData("gh");
    EXPECT_TRUE(PumpUntil([&] { return d->InBuffUsed() == 8; }));
    EXPECT_TRUE(CycleEnded()) << "the cycle that took in \"gh\" never ended";
    EXPECT_EQ(window.Count(), 1u) << "nothing more goes into a running handler";
    EXPECT_TRUE(d->EventBusy());
    closed.unlock();
    ASSERT_TRUE(PumpUntil([&] { return window.Count() == 2; }));
    EXPECT_EQ(window.Notices()[1].wParam, 5u) << "the three taken bytes counted once";
    ASSERT_TRUE(PumpUntil([&] { return !d->EventBusy(); }));  // its handler has returned
    char rest[5];
    EXPECT_EQ(d->GetBlock(rest, 5), 5);
    EXPECT_EQ(std::string(rest, 5), "defgh");
}

TEST_F(SioDispatcherThread, WindowsAfterALateHandlerGetTheNotificationOnceItReturns)
{
    RecorderMessenger messenger;
    NotifyRecorder late, next;
    messenger.Add(1, late);
    messenger.Add(2, next);
    std::mutex gate;
    std::unique_lock<std::mutex> held(gate);
    late.onNotice = [&](const Notice&) {
        char three[3];
        EXPECT_EQ(d->GetBlock(three, 3), 3);
        std::lock_guard<std::mutex> wait(gate);  // held up by the test, past the send's time-out
    };
    next.onNotice = [&](const Notice&) {
        char five[5];
        EXPECT_EQ(d->GetBlock(five, 5), 5);
        EXPECT_EQ(std::string(five, 5), "abcde") << "it reads from the same start as the late one";
    };
    d->sendTimeoutMs_ = 30;
    Open(*d);
    d->RegisterWndTriggerHandler(1);
    d->RegisterWndTriggerHandler(2);
    d->ChangeLengthTrigger(1);
    d->PushData("abcdef");
    EXPECT_TRUE(PumpUntil([&] { return late.Count() == 1; }));  // the gate opens below
    EXPECT_TRUE(CycleEnded()) << "the send was never given up";
    EXPECT_EQ(next.Count(), 0u) << "nothing runs beside a late handler";
    EXPECT_TRUE(d->EventBusy());
    held.unlock();
    ASSERT_TRUE(PumpUntil([&] { return next.Count() == 1; })) << "the window after the late one was skipped";
    ASSERT_TRUE(PumpUntil([&] { return !d->EventBusy(); }));
    EXPECT_EQ(d->InBuffUsed(), 1u) << "the most any handler took is consumed";

    // The dispatcher's thread ends before it can go on to the window after a late one:
    // what the late one took is not given again.
    held.lock();
    d->PushData("ghi");
    EXPECT_TRUE(PumpUntil([&] { return late.Count() == 2; }));
    EXPECT_TRUE(CycleEnded()) << "the send was never given up";
    d->KillThreads = true;
    held.unlock();
    ASSERT_TRUE(PumpUntil([&] { return d->RunningThreads() == 0 && !d->EventBusy(); }));
    EXPECT_EQ(next.Count(), 1u);
    char rest[2] = {};
    EXPECT_EQ(d->GetBlock(rest, 2), -3007) << "the late handler's \"fgh\" came back";
    EXPECT_EQ(d->GetBlock(rest, 1), 1);
    EXPECT_EQ(rest[0], 'i');
}

TEST_F(SioDispatcherThread, ADeviceFailureDuringALateWindowHandlerIsReportedWhenItReturns)
{
    RecorderMessenger messenger;
    NotifyRecorder window;
    messenger.Add(1, window);
    std::mutex gate;
    std::unique_lock<std::mutex> held(gate);
    window.onNotice = [&](const Notice& n) {
        if (n.msg != TriggerAvailMessage)
            return;
        char c;
        EXPECT_EQ(d->GetBlock(&c, 1), 1);
        std::lock_guard<std::mutex> wait(gate);
    };
    d->sendTimeoutMs_ = 30;
    Open(*d);
    d->RegisterWndTriggerHandler(1);
    d->UpdateHandlerFlags(fuEnablePort);
    int32_t line = d->AddStatusTrigger(stLine);
    ASSERT_EQ(d->SetStatusTrigger(static_cast<uint32_t>(line), 1, true), 0);
    d->ChangeLengthTrigger(1);
    d->PushData("x");
    EXPECT_TRUE(PumpUntil([&] { return window.Count() == 1; }));  // the gate opens below
    EXPECT_TRUE(CycleEnded()) << "the send was never given up";
    d->failDevice = -160;
    // The dispatcher thread ends; the failed device thread keeps its report back while
    // the late handler runs, and is counted until it has made it.
    EXPECT_TRUE(PumpUntil([&] { return d->RunningThreads() == 1; }));
    EXPECT_EQ(window.Count(), 1u);
    held.unlock();
    // The notice of the failure may be late itself: the port stays busy until its send
    // has returned.
    ASSERT_TRUE(PumpUntil([&] { return d->RunningThreads() == 0 && !d->EventBusy(); }));
    ASSERT_EQ(window.Count(), 2u) << "the failure was lost behind the late handler";
    EXPECT_EQ(window.Notices()[1].msg, TriggerStatusMessage);
    EXPECT_EQ(window.Notices()[1].wParam, static_cast<uint32_t>(line));
    EXPECT_EQ(d->GetLineError(), 10);
    d.reset();
}

TEST_F(SioDispatcherThread, AFullRingWaitsForRoom)
{
    Open(*d);
    d->Log().InitDispatchLogging(0);
    const std::string sent = Pattern(8192 + 1000);
    d->PushData(sent);
    ASSERT_TRUE(PumpUntil([&] { return d->ReceiveRingFull(); }));
    // Each cycle on a full ring logs that it is full: counted over the time this thread
    // really waited, however much longer than asked a loaded machine made it.
    const auto start = std::chrono::steady_clock::now();
    const int before = d->Log().LogQueue().Count();
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    const int during = d->Log().LogQueue().Count() - before;
    const auto waited = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
    EXPECT_LE(during, waited.count() / 50 + 3) << "a cycle every 50 ms, not a spin; " << waited.count() << " ms";
    d->Log().AbortDispatchLogging();
    received.TakeAll(*d);
    ASSERT_TRUE(PumpUntil([&] { return d->InBuffUsed() == 1000; }));
    received.TakeAll(*d);
    EXPECT_EQ(received.Text(), sent);
}

TEST_F(SioDispatcherThread, AHandlerThatRaisesIsShownAndEndsThePortAsADeviceFailure)
{
    static std::mutex shownLock;
    static std::vector<std::string> shown;
    shown.clear();
    SetSioExceptionBox([](const std::string& text) {
        std::lock_guard<std::mutex> guard(shownLock);
        shown.push_back(text);
    });
    Open(*d);
    int32_t line = d->AddStatusTrigger(stLine);
    ASSERT_EQ(d->SetStatusTrigger(static_cast<uint32_t>(line), 1, true), 0);
    d->ChangeLengthTrigger(1);
    recorder.onNotice = [this](const Notice& n) {
        uint8_t c;
        if (n.msg == TriggerAvailMessage) {
            EXPECT_EQ(d->GetChar(c), 0);
        }
        throw Exception("boom");
    };
    d->RegisterEventTriggerHandler(recorder.Event());
    d->PushData("x");
    ASSERT_TRUE(PumpUntil([&] { return d->RunningThreads() == 0; })) << "no thread goes on queuing for nobody";
    EXPECT_FALSE(d->EventBusy());
    EXPECT_EQ(d->InBuffUsed(), 0u) << "what the handler took before it raised is not given again";
    ASSERT_EQ(recorder.Count(), 2u);
    EXPECT_EQ(recorder.Notices()[1].wParam, static_cast<uint32_t>(line)) << "the line error, as for a failed device";
    EXPECT_EQ(d->GetLineError(), 10);
    SetSioExceptionBox(nullptr);
    std::lock_guard<std::mutex> guard(shownLock);
    EXPECT_EQ(shown, (std::vector<std::string>{"boom", "boom"})) << "the handler raised on both";
}

// Many opens and closes while bursts arrive: handlers that read, handlers that close the
// port, owners that close it; every byte a port took is one that was sent, in order.
TEST(SioDispatcherThreadStress, OpensClosesAndBurstsUnderTraffic)
{
    MainThreadQueue mainThread;
    std::mt19937 random(12345);
    const std::string sent = Pattern(30000);
    for (int round = 0; round < 24; ++round) {
        Collector received;
        NotifyRecorder handler;
        std::atomic<int> notices{0};
        const int closeAfter = static_cast<int>(random() % 4);  // 0: the owner closes
        const bool sync = random() % 2;
        auto port = std::make_unique<MemoryDispatcher>(true);  // goes before what its handler uses
        ASSERT_EQ(port->Open(), 0);
        handler.onNotice = [&](const Notice&) {
            received.TakeAll(*port);
            if (closeAfter && ++notices == closeAfter)
                port->DonePort();
        };
        port->ChangeLengthTrigger(1 + random() % 64);
        if (sync)
            port->RegisterSyncEventTriggerHandler(handler.Event());
        else
            port->RegisterEventTriggerHandler(handler.Event());
        std::thread feeder([&] {
            for (size_t at = 0; at < sent.size(); at += 3000)
                port->PushData(sent.substr(at, 3000), 1 + at % 512);
        });
        EXPECT_TRUE(PumpUntil([&] { return received.Size() == sent.size() || port->DonePortPending(); }))
            << "round " << round;
        feeder.join();
        if (!port->DonePortPending())
            port->DonePort();
        ASSERT_TRUE(PumpUntil([&] { return port->CanFinishClose(); }));
        port.reset();
        std::string got = received.Text();
        ASSERT_EQ(got, sent.substr(0, got.size())) << "round " << round;
    }
}

TEST(SioPortList, SlotsAreReusedAndTheListShrinks)
{
    const int32_t before = PortListCount();
    auto first = std::make_unique<MemoryDispatcher>();
    auto second = std::make_unique<MemoryDispatcher>();
    const int32_t slot = first->Handle();
    EXPECT_EQ(second->Handle(), slot + 1);
    EXPECT_EQ(PortListEntry(slot), first.get());
    first.reset();
    EXPECT_EQ(PortListEntry(slot), nullptr);
    auto third = std::make_unique<MemoryDispatcher>();
    EXPECT_EQ(third->Handle(), slot) << "the first empty slot";
    second.reset();
    EXPECT_EQ(PortListCount(), slot + 1) << "empty slots at the end are dropped";
    third.reset();
    EXPECT_EQ(PortListCount(), before);
    EXPECT_EQ(PortListEntry(-1), nullptr);
}

TEST(SioPortList, LookupByDeviceHandle)
{
    struct OtherBackEnd : MemoryDispatcher {};
    MemoryDispatcher a;
    OtherBackEnd b;
    ASSERT_EQ(a.Open(), 0);
    ASSERT_EQ(b.Open(), 0);
    EXPECT_EQ(GetTComRecPtr<MemoryDispatcher>(a.ComHandle()), &a);
    EXPECT_EQ(GetTComRecPtr<MemoryDispatcher>(a.ComHandle()), &a) << "from the cache";
    EXPECT_EQ(GetTComRecPtr<OtherBackEnd>(a.ComHandle()), nullptr) << "not of that class";
    EXPECT_EQ(GetTComRecPtr<MemoryDispatcher>(b.ComHandle()), &b);
    EXPECT_EQ(GetTComRecPtr<MemoryDispatcher>(-5), nullptr);
    intptr_t closed = a.ComHandle();
    a.DonePort();
    EXPECT_EQ(GetTComRecPtr<MemoryDispatcher>(closed), nullptr) << "a closed port holds that device no more";
}

} // namespace
