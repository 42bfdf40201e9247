// The dispatcher's life and data paths over the in-memory back end, cycle by cycle:
// opening and closing, the receive ring, the output ring, trace and log entries.
#include <gtest/gtest.h>

#include "MemoryDispatcher.h"
#include "support/ReadWholeFile.h"
#include "support/TempDir.h"

namespace {

std::string Pattern(size_t n, size_t offset = 0)
{
    std::string s(n, '\0');
    for (size_t i = 0; i < n; ++i)
        s[i] = static_cast<char>((i + offset) * 7 % 251);
    return s;
}

std::string Take(TSioBaseDispatcher& d, uint32_t n)
{
    std::string s(n, '\0');
    EXPECT_EQ(d.GetBlock(&s[0], n), static_cast<int32_t>(n));
    return s;
}

class SioDispatcherData : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(d.Open(), 0); }
    MemoryDispatcher d;
};

TEST(SioDispatcherOpen, AppliesTheSettingsAndClosesOnce)
{
    MemoryDispatcher d;
    d.device.Flags = DcbFlag::Parity | DcbFlag::Null;
    ASSERT_EQ(d.Open(3), 0);
    TSioDCB device = d.Device();
    EXPECT_EQ(device.BaudRate, 38400u);
    EXPECT_EQ(device.ByteSize, 8);
    EXPECT_EQ(device.StopBits, 0);
    EXPECT_EQ(device.Flags & (DcbFlag::Parity | DcbFlag::Null), 0u);
    EXPECT_EQ(device.Flags & (DcbFlag::Binary | DcbFlag::TxContinueOnXoff | DcbFlag::DtrEnable | DcbFlag::RtsEnable),
              DcbFlag::Binary | DcbFlag::TxContinueOnXoff | DcbFlag::DtrEnable | DcbFlag::RtsEnable);
    EXPECT_TRUE(d.DTRState());
    EXPECT_TRUE(d.RTSState());
    EXPECT_EQ(d.LastBaud(), 38400u);
    EXPECT_GE(d.ComHandle(), 0);
    ASSERT_NE(d.ComEvent(), nullptr);
    EXPECT_EQ(d.InBuffFree(), 8192u);

    d.DonePort();
    EXPECT_EQ(d.closeCalls, 1);
    EXPECT_LT(d.ComHandle(), 0);
    EXPECT_EQ(d.ComEvent(), nullptr);
    EXPECT_EQ(d.OutFlushEvent(), nullptr);
    EXPECT_EQ(d.PutString("x"), -2007) << "no output ring once closed";
    uint8_t c;
    EXPECT_EQ(d.GetChar(c), -3007);
}

TEST(SioDispatcherOpen, EveryFailedOpenReleasesWhatItMade)
{
    MemoryDispatcher missing;
    missing.failOpen = true;
    EXPECT_EQ(missing.Open(), -2);
    EXPECT_EQ(missing.ComEvent(), nullptr);
    EXPECT_EQ(missing.closeCalls, 0);

    MemoryDispatcher busy;
    busy.failSetup = true;
    busy.systemError = 5;
    EXPECT_EQ(busy.Open(), -5);
    EXPECT_EQ(busy.GeneralEvent(), nullptr);
    EXPECT_EQ(busy.closeCalls, 1);

    MemoryDispatcher refused;
    refused.setStateResult = -87;
    EXPECT_EQ(refused.Open(), -87);
    EXPECT_EQ(refused.ReadyEvent(), nullptr);
    EXPECT_EQ(refused.closeCalls, 1);
    EXPECT_EQ(refused.InBuffFree(), 8192u);
    EXPECT_EQ(refused.Open(), -87) << "a second attempt fails the same way";
}

TEST_F(SioDispatcherData, EmptyRingRefusesAndTakesNothing)
{
    uint8_t c = 'x';
    EXPECT_FALSE(d.CharReady());
    EXPECT_EQ(d.GetChar(c), -3007);
    EXPECT_EQ(c, 'x');
    d.PushData("123456789");
    d.Cycle();
    char block[10];
    EXPECT_EQ(d.GetBlock(block, 10), -3007);
    EXPECT_EQ(d.PeekBlock(block, 10), -3007);
    EXPECT_EQ(d.InBuffUsed(), 9u);
    EXPECT_EQ(d.PeekChar(c, 0), -1002) << "positions count from 1";
    EXPECT_EQ(d.PeekChar(c, 3), 0);
    EXPECT_EQ(c, '3');
    EXPECT_EQ(d.PeekChar(c, 10), -3007);
    EXPECT_EQ(d.PeekBlock(block, 4), 4);
    EXPECT_EQ(std::string(block, 4), "1234");
    EXPECT_EQ(d.GetChar(c), 0);
    EXPECT_EQ(c, '1');
    EXPECT_EQ(Take(d, 8), "23456789");
    EXPECT_FALSE(d.CharReady());
}

TEST_F(SioDispatcherData, AFullRingLeavesTheRestQueuedUntilTheApplicationReads)
{
    const std::string sent = Pattern(8192 + 300);
    d.PushData(sent);
    d.Cycle(5);
    EXPECT_EQ(d.InBuffUsed(), 8192u);
    EXPECT_EQ(d.InBuffFree(), 0u);
    EXPECT_TRUE(d.CharReady());
    EXPECT_TRUE(d.ReceiveRingFull());
    EXPECT_EQ(d.DispatchQueue.Count(), 2) << "the blocks the ring could not take stay queued";
    EXPECT_EQ(Take(d, 5000), sent.substr(0, 5000));
    d.Cycle();
    EXPECT_EQ(d.InBuffUsed(), 8192u - 5000 + 300);
    EXPECT_EQ(d.DispatchQueue.BytesQueued(), 0);
    EXPECT_EQ(Take(d, 8192 - 5000 + 300), sent.substr(5000));
}

TEST_F(SioDispatcherData, BytesCrossTheEndOfTheRingInOrder)
{
    d.PushData(Pattern(8000));
    d.Cycle();
    EXPECT_EQ(Take(d, 8000), Pattern(8000));
    // One block larger than what is left before the end: read in two parts.
    const std::string wrapped = Pattern(1000, 3);
    d.PushData(wrapped, 1000);
    d.Cycle();
    EXPECT_EQ(d.InBuffUsed(), 1000u);
    char c[2];
    ASSERT_EQ(d.PeekBlock(c, 2), 2);
    EXPECT_EQ(std::string(c, 2), wrapped.substr(0, 2));
    EXPECT_EQ(Take(d, 1000), wrapped);
}

TEST_F(SioDispatcherData, FlushInBufferEmptiesRingAndQueue)
{
    d.PushData(Pattern(9000));
    d.Cycle();
    ASSERT_GT(d.DispatchQueue.BytesQueued(), 0);
    EXPECT_EQ(d.FlushInBuffer(), 0);
    EXPECT_EQ(d.InBuffUsed(), 0u);
    EXPECT_EQ(d.DispatchQueue.Count(), 0);
    d.PushData("ab");
    d.Cycle();
    EXPECT_EQ(Take(d, 2), "ab");
}

TEST_F(SioDispatcherData, PutBlockFillsTheOutputRingWholeOrNotAtAll)
{
    MemoryDispatcher small;
    ASSERT_EQ(small.Open(3, 16), 0);
    EXPECT_EQ(small.PutBlock("", 0), 0);
    EXPECT_EQ(small.PutString("0123456789"), 0);
    EXPECT_EQ(small.OutBuffFree(), 6u);
    EXPECT_EQ(small.PutString("abcdefg"), -3006) << "one byte more than the free space";
    EXPECT_EQ(small.OutBuffUsed(), 10u);
    EXPECT_EQ(small.PutString("abcdef"), 0) << "exactly the free space";
    EXPECT_EQ(small.OutBuffFree(), 0u);
    EXPECT_EQ(small.OutBuffUsed(), 16u);
    EXPECT_EQ(small.Written(), "0123456789abcdef");
    EXPECT_EQ(small.OutBuffUsed(), 0u);
    // Around the end of the ring.
    EXPECT_EQ(small.PutString("0123456789"), 0);
    EXPECT_EQ(small.Written(), "0123456789abcdef0123456789");
    EXPECT_EQ(small.PutString("ABCDEFGHIJKLMNOP"), 0);
    EXPECT_EQ(small.PutChar('!'), -3006);
    EXPECT_EQ(small.FlushOutBuffer(), 0);
    EXPECT_EQ(small.PutChar('!'), 0);
    EXPECT_EQ(small.Written(), "0123456789abcdef0123456789!");
}

TEST_F(SioDispatcherData, AFailedWriteKeepsThePendingLineErrors)
{
    d.AddLineErrors(LineErr::Overrun);
    d.RefreshStatus();
    d.AddLineErrors(LineErr::Framing);
    d.writeResult = -5;
    EXPECT_EQ(d.PutString("abc"), -3004);
    EXPECT_EQ(d.LastError(), LineErr::Overrun | LineErr::Framing);
    d.writeResult = 0;
    EXPECT_EQ(d.PutString("abc"), 0);
    EXPECT_EQ(d.Written(), "abc");
}

TEST(SioDispatcherSocket, AReceiveRingWithoutALine)
{
    MemoryDispatcher d;
    ASSERT_EQ(d.InitSocket(4096, 4096), 0);
    EXPECT_LT(d.ComHandle(), 0) << "no device was opened";
    EXPECT_EQ(d.setStateCalls, 0) << "no line settings";
    d.PushData("net");
    d.Cycle();
    EXPECT_EQ(Take(d, 3), "net");
    EXPECT_EQ(d.PutString("x"), -2007) << "no output ring";
    d.DonePort();
    EXPECT_EQ(d.ComEvent(), nullptr);
    EXPECT_EQ(d.closeCalls, 0);
}

TEST_F(SioDispatcherData, TraceAndLogSeeWhatWasWrittenAndTaken)
{
    TempDir dir;
    ASSERT_EQ(d.Trace().InitTracing(100), 0);
    d.Log().InitDispatchLogging(0);
    d.PutString("AB");
    d.PushData("\r");
    d.Cycle();
    uint8_t c;
    ASSERT_EQ(d.GetChar(c), 0);
    ASSERT_EQ(d.Trace().DumpTrace(dir.File("SIO.TRC"), false, false), 0);
    EXPECT_EQ(ReadWholeFile(dir.File("SIO.TRC")), "Transmit: \r\nAB\r\nReceive: \r\n[13]\r\n");

    d.AddStringToLog("note");
    ASSERT_EQ(d.Log().DumpDispatchLog(dir.File("SIO.LOG"), false, false), 0);
    const std::string log = ReadWholeFile(dir.File("SIO.LOG"));
    size_t write = log.find("Dispatch  WriteCom      00000002  AB\r\n");
    size_t read = log.find("Dispatch  ReadCom       00000001  [13]\r\n");
    size_t user = log.find("User                    00000000  note\r\n");
    EXPECT_NE(write, std::string::npos) << log;
    EXPECT_NE(read, std::string::npos) << log;
    EXPECT_NE(user, std::string::npos) << log;
    EXPECT_TRUE(write < read && read < user) << log;
}

} // namespace
