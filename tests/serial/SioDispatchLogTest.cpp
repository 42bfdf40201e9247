// The dispatch log: its record limit, its times and its text dump, byte for byte.
#include <gtest/gtest.h>

#include <fstream>

#include "support/TempDir.h"
#include "support/ReadWholeFile.h"
#include "FakeSioClock.h"
#include "serial/SioDispatchLog.h"

namespace {

const std::string header = std::string("SIO v1.00\r\nCompiler : ") + SioCompilerText() +
                           "\r\nOperating System : TestOS 1.0\r\nDevice: \r\nDate/time: 01/02/03, 04:05:06\r\n"
                           "Time      Type      SubType       Data      OtherData\r\n"
                           "--------  --------  ------------  --------  ---------\r\n";

class SioDispatchLogTest : public ::testing::Test {
protected:
    SioDispatchLogTest()
    {
        log.SystemText = [] { return "TestOS 1.0"; };
        log.DateTimeText = [] { return "01/02/03, 04:05:06"; };
        log.SetTimeBase(1000);
        log.InitDispatchLogging(0);
    }
    void AddAt(uint32_t ms, TDispatchType type, TDispatchSubType sub, uint32_t data, const std::string& bytes = "")
    {
        clock.Set(ms);
        log.AddDispatchEntry(type, sub, data, bytes.data(), static_cast<int32_t>(bytes.size()));
    }
    std::string Dump(bool inHex = false, bool allHex = false)
    {
        EXPECT_EQ(log.DumpDispatchLog(file, inHex, allHex), 0);
        return ReadWholeFile(file);
    }

    FakeSioClock clock;
    std::recursive_mutex lock;
    SioDispatchLog log{lock};
    TempDir dir;
    std::string file = dir.File("SIO.LOG");
};

TEST_F(SioDispatchLogTest, RecordsUnderTheHeader)
{
    AddAt(1005, dtDispatch, dstWriteCom, 2, "AB");
    AddAt(1000 + 12345678, dtThread, dstThreadStart, 0);
    EXPECT_EQ(Dump(), header +
                          "0000.005  Dispatch  WriteCom      00000002  AB\r\n"
                          "12345.678  Thread    Start         00000000  \r\n");
    EXPECT_EQ(log.LogQueue().Count(), 0);  // consumed
    EXPECT_TRUE(log.LogOn());
    EXPECT_EQ(log.DumpDispatchLog(dir.File("other.log"), false, false), 0);
    EXPECT_FALSE(std::ifstream(dir.File("other.log")).good());  // empty: no file
}

TEST_F(SioDispatchLogTest, DataWordInUpperCaseHex)
{
    AddAt(1000, dtTriggerAlloc, dstTimerTrigger, 0xABCDEF09u);
    AddAt(1000, dtTrigger, dstStatus, 0xFA);
    EXPECT_EQ(Dump(), header +
                          "0000.000  TrigAllc  Timer         ABCDEF09  \r\n"
                          "0000.000  Trigger   Status        000000FA  \r\n");
}

TEST_F(SioDispatchLogTest, TimesAreUnsignedAndWrapWithTheClock)
{
    log.SetTimeBase(0xFFFFFFF0u);
    AddAt(0x10, dtUser, dstNone, 0);
    log.SetTimeBase(0);
    AddAt(0xFFFFFFFFu, dtUser, dstNone, 0);
    EXPECT_EQ(Dump(), header +
                          "0000.032  User                    00000000  \r\n"
                          "4294967.295  User                    00000000  \r\n");
}

TEST_F(SioDispatchLogTest, LongDataContinuesOnIndentedLines)
{
    AddAt(1000, dtDispatch, dstReadCom, 40, std::string(40, 'x'));
    EXPECT_EQ(Dump(), header + "0000.000  Dispatch  ReadCom       00000028  " + std::string(33, 'x') + "\r\n" +
                          std::string(44, ' ') + std::string(7, 'x') + "\r\n");
}

TEST_F(SioDispatchLogTest, ByteRulesAndUserText)
{
    AddAt(1001, dtDispatch, dstReadCom, 3, "a \r");
    AddAt(1002, dtUser, dstNone, 0, "hi");
    EXPECT_EQ(Dump(true, true), header +
                                    "0000.001  Dispatch  ReadCom       00000003  [61][20][0D]\r\n"
                                    "0000.002  User                    00000000  hi\r\n");
    AddAt(1001, dtDispatch, dstReadCom, 3, "a \r");
    EXPECT_EQ(Dump(), header + "0000.001  Dispatch  ReadCom       00000003  a [13]\r\n");
}

TEST_F(SioDispatchLogTest, TelnetStatusTriggerAndModemStatusNames)
{
    AddAt(1000, dtTelnet, dstSWill, 1);
    AddAt(1000, dtTelnet, dstRDo, 50);
    AddAt(1000, dtTriggerAlloc, dstStatusTrigger, 3, std::string(1, '\x01'));
    AddAt(1000, dtTriggerDispose, dstStatusTrigger, 3, std::string(1, '\x09'));
    AddAt(1000, dtDispatch, dstModemStatus, 0x31, "1");
    EXPECT_EQ(Dump(), header +
                          "0000.000  Telnet    Sent WILL     00000001  [Echo]\r\n"
                          "0000.000  Telnet    Recv DO       00000032  []\r\n"
                          "0000.000  TrigAllc  Status        00000003  (Modem status)\r\n"
                          "0000.000  TrigDisp  Status        00000003  \r\n"
                          "0000.000  Dispatch  Modem status  00000031  1(DCTS CTS DSR)\r\n");
}

TEST_F(SioDispatchLogTest, LimitBoundsTheQueuedDataBytes)
{
    log.InitDispatchLogging(100);
    for (int i = 0; i < 5; ++i) {
        AddAt(1000 + static_cast<uint32_t>(i), dtDispatch, dstReadCom, 60, std::string(60, 'z'));
        EXPECT_LE(log.LogQueue().Count(), 2);
    }
    EXPECT_EQ(log.LogQueue().BytesQueued(), 120);
    log.StopDispatchLogging();
    AddAt(2000, dtUser, dstNone, 0);
    EXPECT_EQ(log.LogQueue().Count(), 2);
    log.AbortDispatchLogging();
    EXPECT_FALSE(log.LogOn());
    EXPECT_EQ(log.LogQueue().Count(), 0);
}

TEST_F(SioDispatchLogTest, FailedOpenKeepsTheLog)
{
    AddAt(1000, dtUser, dstNone, 0, "kept");
    EXPECT_LT(log.DumpDispatchLog(dir.File("missing/SIO.LOG"), false, false), 0);
    EXPECT_EQ(log.LogQueue().Count(), 1);
    EXPECT_EQ(log.AppendDispatchLog(file, false, false), 0);
    EXPECT_EQ(log.AppendDispatchLog(file, false, false), 0);  // nothing left: file untouched
    AddAt(1000, dtUser, dstNone, 0, "again");
    EXPECT_EQ(log.AppendDispatchLog(file, false, false), 0);
    EXPECT_EQ(ReadWholeFile(file), header + "0000.000  User                    00000000  kept\r\n" + header +
                                  "0000.000  User                    00000000  again\r\n");
}

} // namespace
