// The byte trace: its ring and its text dump, byte for byte.
#include <gtest/gtest.h>

#include <fstream>

#include "support/TempDir.h"
#include "support/ReadWholeFile.h"
#include "serial/SioByteText.h"
#include "serial/SioTrace.h"

namespace {

class SioTraceTest : public ::testing::Test {
protected:
    std::recursive_mutex lock;
    SioTrace trace{lock};
    TempDir dir;
    std::string file = dir.File("SIO.TRC");

    void Add(char type, const std::string& bytes)
    {
        for (char c : bytes)
            trace.AddTraceEntry(type, static_cast<uint8_t>(c));
    }
};

TEST(SioByteText, ByteRules)
{
    EXPECT_EQ(SioByteText('A', false, false), "A");
    EXPECT_EQ(SioByteText(' ', false, false), " ");
    EXPECT_EQ(SioByteText(' ', true, false), "[20]");
    EXPECT_EQ(SioByteText(5, false, false), "[5]");
    EXPECT_EQ(SioByteText(13, false, false), "[13]");
    EXPECT_EQ(SioByteText(200, false, false), "[200]");
    EXPECT_EQ(SioByteText(127, false, false), "[127]");
    EXPECT_EQ(SioByteText(13, true, false), "[0D]");
    EXPECT_EQ(SioByteText('~', true, false), "~");
    EXPECT_EQ(SioByteText('A', false, true), "[41]");
    EXPECT_EQ(SioByteText(0xAB, true, true), "[AB]");
}

TEST_F(SioTraceTest, SizesAreChecked)
{
    EXPECT_EQ(trace.InitTracing(SioTrace::MaxEntries + 1), -1002);
    EXPECT_EQ(trace.InitTracing(0), -1002);
    EXPECT_EQ(trace.InitTracing(-5), -1002);
    EXPECT_FALSE(trace.HasBuffer());
    EXPECT_FALSE(trace.TraceOn());
    EXPECT_EQ(trace.InitTracing(SioTrace::MaxEntries), 0);
    EXPECT_TRUE(trace.TraceOn());
    EXPECT_EQ(trace.InitTracing(SioTrace::MaxEntries + 1), 0);  // keeps the old size
    EXPECT_EQ(trace.TraceMax(), SioTrace::MaxEntries);
    trace.AbortTracing();
    EXPECT_FALSE(trace.HasBuffer());
    trace.StartTracing();
    EXPECT_FALSE(trace.TraceOn());
}

TEST_F(SioTraceTest, EmptyTraceWritesNoFile)
{
    EXPECT_EQ(trace.DumpTrace(file, false, false), 0);
    trace.InitTracing(10);
    EXPECT_EQ(trace.DumpTrace(file, false, false), 0);
    EXPECT_FALSE(std::ifstream(file).good());
}

TEST_F(SioTraceTest, TransmitAndReceiveRuns)
{
    trace.InitTracing(100);
    Add('T', "AB");
    Add('R', "\r");
    ASSERT_EQ(trace.DumpTrace(file, false, false), 0);
    EXPECT_EQ(ReadWholeFile(file), "Transmit: \r\nAB\r\nReceive: \r\n[13]\r\n");
    EXPECT_TRUE(trace.TraceOn());  // emptied and on again
    Add('R', "\r ");
    Add('!', "x");
    ASSERT_EQ(trace.AppendTrace(file, true, false), 0);
    EXPECT_EQ(ReadWholeFile(file), "Transmit: \r\nAB\r\nReceive: \r\n[13]\r\n"
                              "Receive: \r\n[0D][20]\r\nSpecial-!: \r\nx\r\n");
    Add('T', "Hi");
    ASSERT_EQ(trace.DumpTrace(file, false, true), 0);
    EXPECT_EQ(ReadWholeFile(file), "Transmit: \r\n[48][69]\r\n");
}

TEST_F(SioTraceTest, RingKeepsTheNewestEntries)
{
    trace.InitTracing(5);
    Add('T', "1234567");
    ASSERT_EQ(trace.DumpTrace(file, false, false), 0);
    EXPECT_EQ(ReadWholeFile(file), "Transmit: \r\n34567\r\n");
}

TEST_F(SioTraceTest, LongRunsWrapAfterColumn78)
{
    trace.InitTracing(1000);
    Add('R', std::string(80, 'a'));
    ASSERT_EQ(trace.DumpTrace(file, false, false), 0);
    EXPECT_EQ(ReadWholeFile(file), "Receive: \r\n" + std::string(78, 'a') + "\r\naa\r\n");

    // 76 characters, then a 4-column piece that would pass column 78 starts a new line.
    Add('R', std::string(76, 'b') + "\x0d");
    ASSERT_EQ(trace.DumpTrace(file, false, false), 0);
    EXPECT_EQ(ReadWholeFile(file), "Receive: \r\n" + std::string(76, 'b') + "\r\n[13]\r\n");

    Add('R', std::string(74, 'c') + "\x0d");  // exactly 78 columns fit
    ASSERT_EQ(trace.DumpTrace(file, false, false), 0);
    EXPECT_EQ(ReadWholeFile(file), "Receive: \r\n" + std::string(74, 'c') + "[13]\r\n");
}

TEST_F(SioTraceTest, FailedOpenDiscardsTheTrace)
{
    trace.InitTracing(10);
    Add('T', "x");
    int32_t result = trace.DumpTrace(dir.File("missing/SIO.TRC"), false, false);
    EXPECT_LT(result, 0);
    EXPECT_FALSE(trace.HasBuffer());
    EXPECT_FALSE(trace.TraceOn());
}

} // namespace
