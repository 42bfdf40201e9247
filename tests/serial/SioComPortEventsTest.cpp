// The port component's events through its window, with the dispatcher's threads
// running: the order of the events, exceptions in handlers, closing, reopening and
// destroying the port from inside a handler, and the wait routines.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <mutex>
#include <thread>

#include "FakePortWindows.h"
#include "OutsideReader.h"
#include "serial/SioComPort.h"
#include "serial/SioPortList.h"
#include "support/WaitUntil.h"

namespace {

std::vector<std::string> shownErrors;
void RecordError(const std::string& message) { shownErrors.push_back(message); }

// Ends the test program when a test hangs past the given time, so a wait that can never
// end fails the run instead of stalling it.
class Watchdog {
public:
    explicit Watchdog(int seconds)
        : thread_([this, seconds] {
              std::unique_lock<std::mutex> guard(lock_);
              if (!done_.wait_for(guard, std::chrono::seconds(seconds), [this] { return finished_; })) {
                  std::fprintf(stderr, "hung for %d s\n", seconds);
                  std::_Exit(1);
              }
          })
    {
    }
    ~Watchdog()
    {
        {
            std::lock_guard<std::mutex> guard(lock_);
            finished_ = true;
        }
        done_.notify_all();
        thread_.join();
    }

private:
    std::mutex lock_;
    std::condition_variable done_;
    bool finished_ = false;
    std::thread thread_;
};

class SioComPortWithThreads : public ::testing::Test {
protected:
    SioComPortWithThreads()
    {
        windows.threaded = true;
        port->SetComNumber(5);
        port->AutoOpen = false;
        shownErrors.clear();
        SetSioExceptionBox(&RecordError);
    }
    ~SioComPortWithThreads() override { SetSioExceptionBox(nullptr); }
    MemoryDispatcher& Memory() { return *static_cast<MemoryDispatcher*>(port->Dispatcher()); }
    void Open()
    {
        port->SetOpen(true);
        ASSERT_TRUE(PumpUntil([&] { return Memory().RunningThreads() == 2; }));
    }
    uint32_t LParam() { return static_cast<uint32_t>(port->Dispatcher()->Handle()) << 16; }

    FakePortWindows windows;
    std::vector<std::string> events;
    // Goes first: its close pumps messages, and a handler may still use what is above.
    TComponent owner{nullptr};
    TSioComPort* port = new TSioComPort(&owner);
};

TEST_F(SioComPortWithThreads, ReceivedDataFiresOnTriggerThenOnTriggerAvailWithTheCount)
{
    port->SetOnTrigger([&](TObject* cp, uint16_t msg, uint16_t handle, uint16_t data) {
        EXPECT_EQ(cp, port);
        events.push_back("trigger " + std::to_string(msg) + " " + std::to_string(handle) + " " + std::to_string(data));
    });
    port->SetOnTriggerAvail([&](TObject*, uint16_t count) {
        events.push_back("avail " + std::to_string(count));
        std::string taken(count, '\0');
        port->GetBlock(&taken[0], count);
        EXPECT_EQ(taken, "abcd");
    });
    std::string userTook;
    SioWindow user = windows.UserWindow([&](const Notice&) {
        userTook.resize(2);
        EXPECT_EQ(Memory().GetBlock(&userTook[0], 2), 2);
    });
    Open();
    Memory().RegisterWndTriggerHandler(user);
    Memory().PushData("abcd");
    EXPECT_TRUE(PumpUntil([&] { return events.size() == 2 && !userTook.empty(); }));  // the close below runs
    EXPECT_EQ(events, (std::vector<std::string>{"trigger 32257 4 4", "avail 4"}));
    EXPECT_EQ(userTook, "ab") << "the window after the port's own reads from the same start";
    EXPECT_EQ(port->InBuffUsed(), 0);
    port->SetOpen(false);  // before the user's window, bound to this frame, can hear more
}

// A window that answers its notification early and reads on is an outside reader once
// the dispatcher has gone on to the next window, however late its thread gets to the
// ring: what it takes then is not counted as the next window's.
TEST_F(SioComPortWithThreads, AWindowThatAnswersEarlyReadsOnOutsideTheHandlers)
{
    std::string earlyTook, nextTook;
    SioWindow early = windows.UserWindow([&](const Notice&) {
        for (int i = 0; i < 3; ++i) {
            if (i == 2)
                windows.AnswerEarly();  // and held up between the answer and this take
            uint8_t c;
            if (Memory().GetChar(c) == 0)
                earlyTook += static_cast<char>(c);
        }
    });
    SioWindow next = windows.UserWindow([&](const Notice&) {
        std::string block(Memory().InBuffUsed(), '\0');
        if (!block.empty() && Memory().GetBlock(&block[0], static_cast<uint32_t>(block.size())) > 0)
            nextTook = block;
    });
    Open();
    Memory().RegisterWndTriggerHandler(early);
    Memory().RegisterWndTriggerHandler(next);
    Memory().PushData("abcdef");
    EXPECT_TRUE(PumpUntil([&] { return !nextTook.empty() && !Memory().EventBusy(); }));
    EXPECT_EQ(earlyTook, "abc") << "a byte given twice";
    EXPECT_EQ(nextTook, "def") << "the early window's last take was counted as the next one's";
    EXPECT_EQ(Memory().InBuffUsed(), 0u);
    port->SetOpen(false);  // the windows are bound to this frame
    EXPECT_EQ(port->PortState(), psClosed);
}

TEST_F(SioComPortWithThreads, StatusTriggersAreClassifiedByTheirHandle)
{
    port->SetOnTrigger([&](TObject*, uint16_t, uint16_t, uint16_t) { events.push_back("trigger"); });
    port->SetOnTriggerStatus([&](TObject*, uint16_t handle) { events.push_back("status " + std::to_string(handle)); });
    port->SetOnTriggerLineError([&](TObject*, uint16_t error, bool lineBreak) {
        events.push_back("line " + std::to_string(error) + (lineBreak ? " break" : ""));
    });
    port->SetOnTriggerOutSent([&](TObject*) { events.push_back("sent"); });
    windows.threaded = false;
    port->SetOpen(true);
    Memory().AddLineErrors(LineErr::Parity);
    Memory().RefreshStatus();
    SioComWindowProc(port->ComWindow(), TriggerStatusMessage, 16 + 2, static_cast<int32_t>(LParam()));
    EXPECT_EQ(events, (std::vector<std::string>{"trigger", "status 18", "line 3"}));
    for (uint32_t type : {0u, 6u, 7u, 5u}) {
        events.clear();
        SioComWindowProc(port->ComWindow(), TriggerStatusMessage, 24 + type, static_cast<int32_t>(LParam()));
        std::vector<std::string> expected{"trigger", "status " + std::to_string(24 + type)};
        if (type == 5)
            expected.push_back("sent");
        EXPECT_EQ(events, expected) << "type " << type;
    }
    events.clear();
    SioComWindowProc(port->ComWindow(), TriggerStatusMessage, 18, static_cast<int32_t>(LParam() + 0x7F0000));
    EXPECT_TRUE(events.empty()) << "no dispatcher at that index";
}

TEST_F(SioComPortWithThreads, AnExceptionInAHandlerIsShownOnceAndTheNextNoticeArrives)
{
    int calls = 0;
    port->SetOnTriggerAvail([&](TObject*, uint16_t count) {
        std::string taken(count, '\0');
        port->GetBlock(&taken[0], count);
        if (++calls == 1)
            throw Exception("handler failed");
    });
    Open();
    Memory().PushData("a");
    ASSERT_TRUE(PumpUntil([&] { return calls == 1 && !Memory().EventBusy(); }));
    Memory().PushData("b");
    ASSERT_TRUE(PumpUntil([&] { return calls == 2; }));
    EXPECT_EQ(shownErrors, (std::vector<std::string>{"handler failed"}));
    EXPECT_EQ(port->PortState(), psOpen);
}

TEST_F(SioComPortWithThreads, ACloseInsideAHandlerIsFinishedAfterIt)
{
    std::vector<uint16_t> closingNotices;
    TPortState inside = psOpen;
    port->SetOnTrigger([&](TObject*, uint16_t msg, uint16_t handle, uint16_t data) {
        if (msg == PortClosingMessage) {
            EXPECT_EQ(handle, 0);
            EXPECT_EQ(data, 0);
            closingNotices.push_back(msg);
        }
    });
    port->SetOnTriggerAvail([&](TObject*, uint16_t) {
        port->SetOpen(false);
        inside = port->PortState();
        EXPECT_EQ(port->InBuffUsed(), 0) << "a closing port answers nothing";
        EXPECT_EQ(port->GetChar(), '\0');
    });
    Open();
    Memory().PushData("x");
    ASSERT_TRUE(PumpUntil([&] { return port->PortState() == psClosed; }));
    EXPECT_EQ(inside, psShuttingDown);
    EXPECT_FALSE(port->Open());
    EXPECT_EQ(port->Dispatcher(), nullptr);
    EXPECT_GE(closingNotices.size(), 1u);
    EXPECT_EQ(windows.LiveWindows(), 0);
}

TEST_F(SioComPortWithThreads, CloseAndOpenInsideOneHandlerLeaveThePortOpen)
{
    int calls = 0;
    port->SetOnTriggerAvail([&](TObject*, uint16_t count) {
        if (++calls > 1) {
            std::string taken(count, '\0');
            port->GetBlock(&taken[0], count);
            return;
        }
        port->SetOpen(false);
        port->SetOpen(true);
    });
    Open();
    Memory().PushData("x");
    ASSERT_TRUE(PumpUntil([&] { return windows.dispatchersMade == 2 && port->PortState() == psOpen; }));
    EXPECT_TRUE(port->Open());
    EXPECT_EQ(windows.LiveWindows(), 1);
    ASSERT_TRUE(PumpUntil([&] { return Memory().RunningThreads() == 2; }));
    Memory().PushData("again");
    ASSERT_TRUE(PumpUntil([&] { return calls == 2; })) << "the new port delivers too";
}

TEST_F(SioComPortWithThreads, DestroyingThePortWhileItsCloseIsPutOffFinishesTheClose)
{
    bool closed = false;
    port->SetOnTriggerAvail([&](TObject*, uint16_t) {
        port->SetOpen(false);
        closed = true;
    });
    Open();
    int32_t handle = port->Dispatcher()->Handle();
    Memory().PushData("x");
    ASSERT_TRUE(PumpUntil([&] { return closed; }));
    ASSERT_EQ(port->PortState(), psShuttingDown);
    TComponent::Free(port);
    EXPECT_EQ(PortListEntry(handle), nullptr) << "the dispatcher is gone";
    EXPECT_EQ(windows.LiveWindows(), 0);
    EXPECT_TRUE(PumpUntil([&] { return windows.NothingPosted(); })) << "late messages find no port";
}

TEST_F(SioComPortWithThreads, DestroyingThePortInsideItsOwnHandlerLeavesTheCloseToItsWindow)
{
    bool gone = false;
    port->SetOnTriggerAvail([&](TObject*, uint16_t) {
        TComponent::Free(port);
        gone = true;
    });
    Open();
    int32_t handle = port->Dispatcher()->Handle();
    Memory().PushData("x");
    ASSERT_TRUE(PumpUntil([&] { return gone && windows.LiveWindows() == 0; }));
    EXPECT_EQ(PortListEntry(handle), nullptr);
}

TEST_F(SioComPortWithThreads, APreparedWaitWithoutItsRoutineDoesNotHoldTheCloseOff)
{
    Open();
    port->PrepareWait();
    EXPECT_TRUE(Memory().EventBusy());
    port->SetOpen(false);
    EXPECT_EQ(port->PortState(), psClosed);
}

TEST_F(SioComPortWithThreads, ACloseRightAfterAHandlerIsDoneAtOnceAndAWriteAfterReopeningGoesOut)
{
    bool handled = false;
    port->SetOnTriggerAvail([&](TObject*, uint16_t count) {
        std::string taken(count, '\0');
        port->GetBlock(&taken[0], count);
        handled = true;
    });
    Open();
    windows.returnAfterNextPump = true;  // the close's own pump
    Memory().PushData("x");
    ASSERT_TRUE(PumpUntil([&] { return handled; }));
    ASSERT_TRUE(Memory().EventBusy()) << "the dispatcher thread is still finishing the notification";
    port->SetOpen(false);
    EXPECT_EQ(port->PortState(), psClosed);
    EXPECT_EQ(port->Dispatcher(), nullptr);
    EXPECT_EQ(windows.LiveWindows(), 0);
    windows.returnAfterNextPump = false;
    port->SetOpen(true);
    ASSERT_EQ(port->PortState(), psOpen);
    port->PutString("y");
    EXPECT_EQ(Memory().Written(), "y");
}

// The dispatcher's thread waits on the main thread for a synchronised method, for work
// a handler on its own thread hands there, and for a user's window: a close asked for
// there cannot wait for that thread.
TEST_F(SioComPortWithThreads, ACloseOnTheMainThreadThatTheDispatcherWaitsForIsPutOffUntilItReturns)
{
    Watchdog watchdog(120);
    TPortState inside = psOpen;
    int32_t threadsInside = 0;
    auto closeAndReopen = [&] {
        port->SetOpen(false);
        inside = port->PortState();
        threadsInside = Memory().RunningThreads();
        port->SetOpen(true);
    };
    NotifyRecorder synchronised, onItsThread;
    synchronised.onNotice = [&](const Notice&) { closeAndReopen(); };
    onItsThread.onNotice = [&](const Notice&) { SioSynchronize(closeAndReopen); };
    SioWindow user = windows.UserWindow([&](const Notice&) { closeAndReopen(); });
    const std::function<void()> registrations[] = {
        [&] { Memory().RegisterSyncEventTriggerHandler(synchronised.Event()); },
        [&] { Memory().RegisterEventTriggerHandler(onItsThread.Event()); },
        [&] { Memory().RegisterWndTriggerHandler(user); },
    };
    Open();
    for (int route = 0; route < 3; ++route) {
        inside = psOpen;
        registrations[route]();
        Memory().PushData("x");
        ASSERT_TRUE(PumpUntil([&] { return windows.dispatchersMade == route + 2 && port->PortState() == psOpen; }))
            << "closed after the handler, then reopened; route " << route;
        EXPECT_EQ(inside, psShuttingDown) << route;
        EXPECT_GT(threadsInside, 0) << "the close did not wait for the thread that waits for it; route " << route;
        ASSERT_TRUE(PumpUntil([&] { return Memory().RunningThreads() == 2; }));
    }
    EXPECT_EQ(windows.UserMessages(user), std::vector<uint32_t>{TriggerAvailMessage});
    EXPECT_EQ(windows.LiveWindows(), 1);

    // A close asked for elsewhere while a synchronised method waits to run: the close's
    // yield runs it, and it may destroy the port.
    NotifyRecorder destroying;
    destroying.onNotice = [&](const Notice&) { TComponent::Free(port); };
    Memory().RegisterSyncEventTriggerHandler(destroying.Event());
    const int32_t handle = Memory().Handle();
    Memory().PushData("x");
    ASSERT_TRUE(WaitUntil([&] { return windows.Queued(); }))
        << "the synchronised method never came to the main thread";
    port->SetOpen(false);
    ASSERT_EQ(destroying.Count(), 1u);
    EXPECT_TRUE(PumpUntil([&] { return windows.LiveWindows() == 0 && PortListEntry(handle) == nullptr; }));
}

// No event of the port is assigned: what the main thread takes is its own, whichever
// way it reads, with no handler at all or beside a handler of the data notifications
// that tries for a share of each one, a byte at a time, on the dispatcher's thread (a
// wait routine begins while that handler runs). No byte reaches anyone twice and none
// is lost; a wait routine acts only on bytes it was given.
TEST_F(SioComPortWithThreads, AReaderOutsideTheHandlersGetsEveryByteOnceAndInOrder)
{
    enum Route { Alone, BesideAHandler, ThroughAWait };
    for (Route route : {Alone, BesideAHandler, ThroughAWait}) {
        SCOPED_TRACE(route);
        const uint32_t total = route == Alone ? 200000 : 30000;
        Open();
        TSioBaseDispatcher& d = Memory();
        std::mutex handlerLock;
        std::string handlerTook;
        uint32_t notices = 0;
        std::atomic<bool> inHandler{false};
        NotifyRecorder handler;
        handler.onNotice = [&](const Notice& n) {
            if (n.msg != TriggerAvailMessage)
                return;
            inHandler = true;
            // None, half or all of what it was told of; the main thread's takes meanwhile
            // leave it less.
            const uint32_t share = n.wParam * (notices++ % 3) / 2;
            for (uint32_t i = 0; i < share; ++i) {
                uint8_t c;
                if (d.GetChar(c) != 0) {
                    std::this_thread::yield();
                    continue;
                }
                std::lock_guard<std::mutex> guard(handlerLock);
                handlerTook += static_cast<char>(c);
            }
            inHandler = false;
        };
        if (route != Alone)
            d.RegisterEventTriggerHandler(handler.Event());
        std::atomic<bool> readerDone{false};
        std::thread feeder([&] {
            for (uint32_t i = 0; i < total && !readerDone; ++i) {
                Memory().PushData(std::string(1, CountedByte(i)));
                while (Memory().DispatchQueue.BytesQueued() > 4096 && !readerDone)
                    std::this_thread::yield();
            }
        });
        OutsideReader reader(*port);
        const std::string& got = reader.Got;
        auto handlerTotal = [&] {
            std::lock_guard<std::mutex> guard(handlerLock);
            return static_cast<uint32_t>(handlerTook.size());
        };
        port->OnWaitChar = [&](TObject*, char c) { reader.Got += c; };
        // Time for every byte on a loaded machine under a sanitizer: only a loss waits it out.
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(120);
        while (got.size() + handlerTotal() < total && std::chrono::steady_clock::now() < deadline) {
            // Beside a handler the main thread reads only once the handler has taken a
            // byte: left to the scheduler, its reads could win every race, or take each
            // byte before a notification was raised.
            if (route != Alone && handlerTotal() == 0)
                std::this_thread::yield();
            else if (route == ThroughAWait && inHandler)
                port->WaitForString("\xFE", 1, false, false);  // never arrives
            else
                reader.ReadOnce();
        }
        readerDone = true;
        feeder.join();
        // Put off while the handler runs on the dispatcher's thread: the threads that run
        // it have ended once the port is closed.
        port->SetOpen(false);
        ASSERT_TRUE(PumpUntil([&] { return port->PortState() == psClosed; }));
        port->OnWaitChar = nullptr;
        EXPECT_EQ(got.find('\0'), std::string::npos) << "a byte that never came was passed on";
        EXPECT_EQ(got.size() + handlerTook.size(), total) << "bytes given twice, or lost";
        if (route == Alone) {
            EXPECT_EQ(reader.Raised, 0u) << "a read raised after CharReady said a byte was there";
            EXPECT_EQ(OffPattern(got), 0u) << "a byte came twice, or out of order";
        } else {
            EXPECT_GT(handlerTook.size(), 0u);
        }
    }
}

TEST_F(SioComPortWithThreads, WaitRoutinesTakeTextAsItArrives)
{
    Open();
    std::string seen;
    port->OnWaitChar = [&](TObject*, char c) { seen += c; };
    EXPECT_TRUE(port->WaitForString("", 0, false, false));
    std::thread feeder([&] { Memory().PushData("xxHeLLo"); });
    const int32_t halfAMinute = 546;  // ticks, for what comes: a wait ends as it arrives
    EXPECT_TRUE(port->WaitForString("hello", halfAMinute, false, true));
    feeder.join();
    EXPECT_EQ(seen, "xxHeLLo");
    EXPECT_FALSE(Memory().EventBusy()) << "notifications flow again";

    Memory().PushData("ERROR\r\n");
    EXPECT_EQ(port->WaitForMultiString("OK|ERROR|", halfAMinute, false, false, '|'), 2);
    EXPECT_FALSE(port->WaitForString("never", 2, true, false)) << "two ticks, then the time is up";
    EXPECT_EQ(port->WaitForMultiString("never|again", 1, false, false, '|'), 0);

    uint8_t index = 0;
    EXPECT_FALSE(port->CheckForString(index, 'a', "ab", false));
    EXPECT_FALSE(port->CheckForString(index, 'a', "ab", false));
    EXPECT_EQ(index, 1) << "the second 'a' starts the match again";
    EXPECT_TRUE(port->CheckForString(index, 'b', "ab", false));
    EXPECT_EQ(index, 0);
}

TEST_F(SioComPortWithThreads, ACloseDuringAWaitIsPutOffUntilTheWaitEnds)
{
    Open();
    bool given = false;
    port->OnWaitChar = [&](TObject*, char) {
        given = true;
        port->SetOpen(false);
    };
    Memory().PushData("z");
    ASSERT_TRUE(PumpUntil([&] { return port->InBuffUsed() == 1; }));  // there when the wait begins
    EXPECT_FALSE(port->WaitForString("zz", 2, true, false));
    ASSERT_TRUE(given);
    ASSERT_TRUE(PumpUntil([&] { return port->PortState() == psClosed; }));
    EXPECT_EQ(windows.LiveWindows(), 0);
}

} // namespace
