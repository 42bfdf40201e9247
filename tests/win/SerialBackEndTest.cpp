// The Win32 back end on its own: a dispatcher on a handle opened elsewhere, its threads
// and close, a second close waiting for the first, a flush during a write.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "SerialTestHelpers.h"
#include "serial/SioWin32Dispatcher.h"
#include "ui/Exceptions.h"

namespace {

int32_t OpenEcho(TSioWin32Dispatcher& d)
{
    return d.InitPort("\\\\.\\COM21", 38400, 0, 8, 1, 4096, 4096, 0);
}

TEST(SerialBackEnd, ADispatcherWithoutAHandleFromElsewhereCannotOpen)
{
    TSioTAPI32Dispatcher d(nullptr, 0);
    EXPECT_EQ(d.InitPort("", 38400, 0, 8, 1, 4096, 4096, 0), -2007);
    EXPECT_EQ(d.LastWinError, 2007u);
}

TEST(SerialBackEnd, OpensRunsItsFourThreadsAndClosesTheDevice)
{
    TSioWin32Dispatcher d(nullptr);
    ASSERT_EQ(OpenEcho(d), 0);
    EXPECT_TRUE(PumpUntil([&] { return d.RunningThreads() == 4; }));
    EXPECT_THROW(d.StartDispatcher(), Exception);
    EXPECT_EQ(d.PutString("ping"), 0);
    EXPECT_TRUE(PumpUntil([&] { return d.InBuffUsed() == 4; })) << "read back through the peer";
    d.DonePort();
    EXPECT_EQ(d.RunningThreads(), 0);
    EXPECT_EQ(d.ComHandle(), -1);
    EXPECT_NE(d.LastError(), LineErr::DeviceFailure) << "a close is no device failure";
    EXPECT_EQ(d.LastWinError, 0u);
}

TEST(SerialBackEnd, ASecondCloseWaitsForTheOneRunning)
{
    TSioWin32Dispatcher d(nullptr);
    ASSERT_EQ(OpenEcho(d), 0);
    // Another thread's close is under way (it holds Closing) until it says it is done,
    // in a method run on this thread: that runs only where this thread handles its
    // messages, which the second close does while it waits.
    d.Closing = true;
    std::atomic<bool> released{false};
    std::thread other([&] {
        SioSynchronize([&] {
            released = true;
            d.Closing = false;
        });
    });
    EXPECT_EQ(d.CloseCom(), 0);
    EXPECT_TRUE(released) << "returned only once the other close was done";
    EXPECT_GE(d.ComHandle(), 0) << "the second close closed the device itself";
    PumpUntil([&] { return released.load(); });  // a close that did not wait left it queued
    other.join();
    d.DonePort();
    EXPECT_EQ(d.ComHandle(), -1);
}

TEST(SerialBackEnd, AFlushEmptiesTheOutputAndTheWriteThreadSaysSo)
{
    TSioWin32Dispatcher d(nullptr);
    ASSERT_EQ(OpenEcho(d), 0);
    std::string block(4096, 'f');
    ASSERT_EQ(d.PutBlock(block.data(), 4096), 0);
    EXPECT_NE(d.FlushOutBuffer(), 0) << "the purge's answer";
    EXPECT_EQ(d.OutBuffUsed(), 0u);
    EXPECT_EQ(d.PutString("after"), 0) << "the port goes on";
    // What went out before the purge comes back ahead of "after": taken until "after" has
    // come, so no echo is left on the line for the next test that opens it.
    std::string back;
    EXPECT_TRUE(PumpUntil(
        [&] {
            std::string block(d.InBuffUsed(), '\0');
            if (!block.empty() && d.GetBlock(&block[0], static_cast<uint32_t>(block.size())) > 0)
                back += block;
            return back.size() >= 5 && back.compare(back.size() - 5, 5, "after") == 0;
        },
        20000))
        << back.size() << " bytes came back";
    EXPECT_EQ(back.find_first_not_of('f'), back.size() - 5) << "only the block's bytes came before it";
    d.DonePort();
    EXPECT_NE(d.LastError(), LineErr::DeviceFailure) << "an aborted write is no device failure";
}

} // namespace
