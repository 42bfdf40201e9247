#include "ui/Streams.h"

#include <gtest/gtest.h>

#include "support/TempDir.h"
#include "ui/Exceptions.h"

namespace {

TEST(Streams, FileStreamReadsWritesSeeksAndReportsShortReads)
{
    TempDir dir;
    std::string name = dir.File("data.bin");
    {
        TFileStream out(name, fmCreate);
        out.WriteBuffer("abcdef", 6);
        EXPECT_EQ(out.Size(), 6);
    }
    TFileStream in(name, fmOpenRead | fmShareDenyWrite);
    char buf[8] = {};
    in.SetPosition(2);
    EXPECT_EQ(in.Read(buf, 8), 4);
    EXPECT_EQ(std::string(buf, 4), "cdef");
    in.SetPosition(4);
    EXPECT_THROW(in.ReadBuffer(buf, 3), EReadError);
}

TEST(Streams, FlushWritesThroughAndReportsAFileThatCannotBeFlushed)
{
    TempDir dir;
    TFileStream out(dir.File("data.bin"), fmCreate);
    out.WriteBuffer("abc", 3);
    EXPECT_NO_THROW(out.Flush());
    // A device cannot be synchronised with a disk: the failure must not pass as success.
    TFileStream device("/dev/null", fmOpenWrite);
    device.WriteBuffer("abc", 3);
    try {
        device.Flush();
        ADD_FAILURE() << "flushing a device succeeded";
    } catch (const EWriteError& e) {
        EXPECT_NE(e.Message.find("/dev/null"), std::string::npos) << e.Message;
    }
}

TEST(Streams, OpeningAMissingFileRaisesWithItsName)
{
    TempDir dir;
    try {
        TFileStream s(dir.File("missing.rom"), fmOpenRead);
        FAIL() << "opened a missing file";
    } catch (const EFOpenError& e) {
        EXPECT_NE(e.Message.find("missing.rom"), std::string::npos);
    }
    EXPECT_THROW(TFileStream(dir.File("no/dir/x"), fmCreate), EFCreateError);
}

TEST(Streams, MemoryStreamGrowsOnWriteAndStopsAtItsEnd)
{
    TMemoryStream m;
    m.WriteBuffer("xyz", 3);
    m.Seek(5, TSeekOrigin::soBeginning);
    m.WriteBuffer("!", 1);
    EXPECT_EQ(m.Size(), 6);
    EXPECT_EQ(m.Bytes()[4], 0);
    m.SetPosition(1);
    char buf[10];
    EXPECT_EQ(m.Read(buf, 10), 5);
    m.Seek(-2, TSeekOrigin::soEnd);
    EXPECT_EQ(m.Position(), 4);
}

} // namespace
