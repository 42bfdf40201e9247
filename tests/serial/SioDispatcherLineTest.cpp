// The dispatcher's line settings, flow control, modem and line status over the
// in-memory back end.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "MemoryDispatcher.h"
#include "support/WaitUntil.h"

namespace {

class SioDispatcherLine : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(d.Open(), 0); }
    MemoryDispatcher d;
};

TEST_F(SioDispatcherLine, SetLineKeepsWhatIsAskedToStay)
{
    int calls = d.setStateCalls;
    EXPECT_EQ(d.SetLine(38400, 0, 8, 1), 0);
    EXPECT_EQ(d.SetLine(0, 5, 9, 3), 0);
    EXPECT_EQ(d.setStateCalls, calls) << "the current values do not touch the device";

    EXPECT_EQ(d.SetLine(0, 2, 7, 3), 0);
    TSioDCB device = d.Device();
    EXPECT_EQ(device.BaudRate, 38400u);
    EXPECT_EQ(device.Parity, 2);
    EXPECT_EQ(device.ByteSize, 7);
    EXPECT_EQ(device.StopBits, 0);
    EXPECT_EQ(d.ChangeBaud(9600), 0);
    EXPECT_EQ(d.Device().ByteSize, 7);
    EXPECT_EQ(d.Device().BaudRate, 9600u);
    EXPECT_EQ(d.LastBaud(), 9600u);

    // A change waits for the output to drain: flow control set meanwhile stays.
    ASSERT_EQ(d.PutString("pending"), 0);
    const int polls = d.statusReads;
    std::thread change([&] { EXPECT_EQ(d.ChangeBaud(19200), 0); });
    EXPECT_TRUE(WaitUntil([&] { return d.statusReads != polls; })) << "the change never began to wait for the output";
    EXPECT_EQ(d.HWFlowOptions(100, 10, 2), 0);
    d.Written();
    change.join();
    EXPECT_EQ(d.Device().BaudRate, 19200u);
    EXPECT_TRUE(d.Device().Flags & DcbFlag::RtsHandshake) << "the line change undid the handshake";
    EXPECT_TRUE(d.RTSAuto());
}

TEST_F(SioDispatcherLine, StopBitCodes)
{
    EXPECT_EQ(d.SetLine(0, 5, 8, 2), 0);
    EXPECT_EQ(d.Device().StopBits, 2);
    EXPECT_EQ(d.SetLine(0, 5, 8, 7), 0);
    EXPECT_EQ(d.Device().StopBits, 2) << "above 2 is 2";
    EXPECT_EQ(d.SetLine(0, 5, 5, 3), 0);
    EXPECT_EQ(d.Device().StopBits, 1) << "five data bits with two stop bits get one and a half";
    EXPECT_EQ(d.SetLine(0, 5, 5, 0), 0);
    EXPECT_EQ(d.Device().StopBits, 0) << "a request for one stays one with five data bits";
    EXPECT_EQ(d.SetLine(0, 5, 5, 2), 0);
    EXPECT_EQ(d.Device().StopBits, 1);
    uint32_t baud, parity;
    uint8_t bits, stop;
    d.GetLine(baud, parity, bits, stop);
    EXPECT_EQ(bits, 5);
    EXPECT_EQ(stop, 2);
}

TEST_F(SioDispatcherLine, GetLineMapsTheOldBaudCodes)
{
    uint32_t baud, parity;
    uint8_t bits, stop;
    const std::pair<uint32_t, uint32_t> codes[] = {
        {0xFEFF, 115200}, {0xFF1B, 38400}, {0xFF10, 110}, {0xFF27, 256000}, {0xFF19, 0xFF19}, {57600, 57600}};
    for (auto [code, rate] : codes) {
        d.device.BaudRate = code;
        d.GetLine(baud, parity, bits, stop);
        EXPECT_EQ(baud, rate) << std::hex << code;
    }
    EXPECT_EQ(stop, 1);
    EXPECT_EQ(bits, 8);
}

TEST(SioDispatcherTiming, EighteenCharacterTimes)
{
    TSioDCB dcb;
    dcb.BaudRate = 38400;
    dcb.ByteSize = 8;
    EXPECT_EQ(TSioBaseDispatcher::CharTimesDelayMs(dcb), 5u) << "260 x 10 x 18 = 46,800 units";
    dcb.BaudRate = 110;
    dcb.Parity = 2;
    dcb.StopBits = 2;
    EXPECT_EQ(TSioBaseDispatcher::CharTimesDelayMs(dcb), 1964u) << "90909 x 12 x 18 units";
    dcb.BaudRate = 1000000;
    dcb.Parity = 0;
    dcb.StopBits = 0;
    EXPECT_EQ(TSioBaseDispatcher::CharTimesDelayMs(dcb), 1u) << "short waits are doubled: 1800 -> 3600 units";
    dcb.BaudRate = 0;
    EXPECT_EQ(TSioBaseDispatcher::CharTimesDelayMs(dcb), 0u) << "baud 0 does not divide";
    dcb.BaudRate = 0xFEFF;
    EXPECT_EQ(TSioBaseDispatcher::CharTimesDelayMs(dcb), 2u);
}

TEST_F(SioDispatcherLine, DtrAndRts)
{
    EXPECT_EQ(d.SetDtr(false), 0);
    EXPECT_FALSE(d.DTRState());
    EXPECT_EQ(d.Escapes().back(), ComEscape::ClrDtr);
    EXPECT_EQ(d.SetModem(true, false), 0);
    std::vector<int32_t> escapes = d.Escapes();
    EXPECT_EQ(std::vector<int32_t>(escapes.end() - 2, escapes.end()), (std::vector<int32_t>{ComEscape::SetDtr, ComEscape::ClrRts}));
    d.escapeResult = -1;
    EXPECT_EQ(d.SetRts(true), -1002);
    d.escapeResult = 0;

    ASSERT_EQ(d.HWFlowOptions(100, 10, 1), 0);
    EXPECT_TRUE(d.DTRAuto());
    size_t before = d.Escapes().size();
    EXPECT_EQ(d.SetDtr(false), 1) << "DTR belongs to the flow control";
    EXPECT_EQ(d.Escapes().size(), before);
    EXPECT_TRUE(d.DTRState());
}

TEST_F(SioDispatcherLine, HardwareFlowControl)
{
    EXPECT_EQ(d.HWFlowOptions(5000, 10, 2), -1002) << "above the input queue";
    EXPECT_EQ(d.HWFlowOptions(100, 200, 2), -1002) << "resume above full";
    EXPECT_EQ(d.HWFlowState(), 1);
    ASSERT_EQ(d.HWFlowOptions(3686, 409, 2 | 8), 0);
    TSioDCB device = d.Device();
    EXPECT_EQ(device.Flags & DcbFlag::RtsControl, DcbFlag::RtsHandshake);
    EXPECT_EQ(device.Flags & DcbFlag::DtrControl, DcbFlag::DtrEnable) << "DTR keeps its level";
    EXPECT_TRUE(device.Flags & DcbFlag::OutxCtsFlow);
    EXPECT_FALSE(device.Flags & DcbFlag::OutxDsrFlow);
    EXPECT_EQ(device.XoffLim, 4096 - 3686);
    EXPECT_EQ(device.XonLim, 409);
    EXPECT_TRUE(d.RTSAuto());
    EXPECT_FALSE(d.DTRAuto());
    EXPECT_EQ(d.HWFlowState(), 2);
    d.SetHoldFlags(ComStatFlag::CtsHold);
    EXPECT_EQ(d.HWFlowState(), 4);

    uint32_t hw, sw, full, resume;
    char on, off;
    EXPECT_EQ(d.GetFlowOptions(hw, sw, full, resume, on, off), 0);
    EXPECT_EQ(hw, 2u | 8u);
    EXPECT_EQ(sw, 0u);
    EXPECT_EQ(full, 3686u);
    EXPECT_EQ(resume, 409u);

    d.SetRS485Mode(true);
    ASSERT_EQ(d.HWFlowOptions(100, 10, 0), 0);
    EXPECT_EQ(d.Device().Flags & DcbFlag::RtsControl, DcbFlag::RtsToggle) << "the driver raises RTS around sending";
}

TEST_F(SioDispatcherLine, SoftwareFlowControl)
{
    EXPECT_EQ(d.SWFlowState(), 1);
    ASSERT_EQ(d.SWFlowEnable(3072, 1024, 3), 0);
    TSioDCB device = d.Device();
    EXPECT_EQ(device.Flags & (DcbFlag::OutX | DcbFlag::InX), DcbFlag::OutX | DcbFlag::InX);
    EXPECT_EQ(device.XonChar, 17);
    EXPECT_EQ(device.XoffChar, 19);
    EXPECT_EQ(device.XoffLim, 1024);
    EXPECT_EQ(device.XonLim, 1024);
    EXPECT_EQ(d.SWFlowState(), 2);
    d.SetHoldFlags(ComStatFlag::XoffHold);
    EXPECT_EQ(d.SWFlowState(), 6);
    d.SetHoldFlags(ComStatFlag::XoffSent);
    EXPECT_EQ(d.SWFlowState(), 7);
    d.SetHoldFlags(ComStatFlag::XoffHold | ComStatFlag::XoffSent);
    EXPECT_EQ(d.SWFlowState(), 8);
    ASSERT_EQ(d.SWFlowChars('A', 'B'), 0);
    EXPECT_EQ(d.Device().XonChar, 'A');
    ASSERT_EQ(d.SWFlowDisable(), 0);
    EXPECT_EQ(d.SWFlowState(), 1);
    EXPECT_EQ(d.SWFlowEnable(1, 2, 2), -1002);
}

TEST_F(SioDispatcherLine, LineErrorsInOrderOfWeight)
{
    d.AddLineErrors(LineErr::Overrun | LineErr::Parity);
    d.RefreshStatus();
    EXPECT_EQ(d.GetLineError(), 2);
    EXPECT_EQ(d.GetLineError(), 0) << "both cleared";
    d.AddLineErrors(LineErr::Break | LineErr::Framing);
    d.RefreshStatus();
    EXPECT_EQ(d.GetLineError(), 4);
    EXPECT_EQ(d.GetLineError(), 9);
    EXPECT_EQ(d.GetLineError(), 9) << "the break stays until it is checked";
    EXPECT_TRUE(d.CheckLineBreak());
    EXPECT_FALSE(d.CheckLineBreak());
    EXPECT_EQ(d.GetLineError(), 0);
    d.AddLineErrors(0x20 | LineErr::RxOverflow);
    d.RefreshStatus();
    EXPECT_EQ(d.LastError(), LineErr::RxOverflow) << "only the five line-error bits";
}

TEST_F(SioDispatcherLine, ModemLinesAndTheirChangeFlags)
{
    d.SetLines(ModemBit::Cts | ModemBit::Dsr);
    d.MapEventsToMS(CommEvent::Cts | CommEvent::Dsr);
    EXPECT_EQ(d.ModemStatus(), ModemBit::Cts | ModemBit::Dsr | ModemBit::DeltaCts | ModemBit::DeltaDsr);
    EXPECT_TRUE(d.CheckDeltaCTS());
    EXPECT_FALSE(d.CheckDeltaCTS()) << "cleared by the check";
    EXPECT_TRUE(d.CheckDeltaDSR());
    EXPECT_TRUE(d.CheckCTS());
    EXPECT_FALSE(d.CheckDCD());
    d.SetLines(ModemBit::Dsr | ModemBit::Dcd);
    d.MapEventsToMS(CommEvent::Cts | CommEvent::Rlsd);
    EXPECT_EQ(d.GetModemStatus(), ModemBit::Dsr | ModemBit::Dcd | ModemBit::DeltaCts | ModemBit::DeltaDcd);
    EXPECT_EQ(d.GetModemStatus(), ModemBit::Dsr | ModemBit::Dcd) << "GetModemStatus clears every change flag";
    d.PushStatus(CommEvent::Ring);
    d.Cycle();
    EXPECT_EQ(d.LastEventMask(), CommEvent::Ring);
    EXPECT_TRUE(d.CheckDeltaRI()) << "a reported ring sets the ring flag";
    EXPECT_FALSE(d.CheckDeltaRI());
}

TEST_F(SioDispatcherLine, OptionsAndDataPointers)
{
    d.OptionsOn(4 | 8);
    EXPECT_TRUE(d.OptionsAreOn(4 | 8));
    d.OptionsOff(8);
    EXPECT_TRUE(d.OptionsAreOn(4));
    EXPECT_FALSE(d.OptionsAreOn(4 | 8));
    int x = 0;
    void* p = nullptr;
    EXPECT_EQ(d.SetDataPointer(&x, 3), 0);
    EXPECT_EQ(d.GetDataPointer(p, 3), 0);
    EXPECT_EQ(p, &x);
    EXPECT_EQ(d.SetDataPointer(&x, 0), -1002);
    EXPECT_EQ(d.GetDataPointer(p, 4), -1002);
    uint32_t in, out;
    d.BufferSizes(in, out);
    EXPECT_EQ(in, 4096u);
    EXPECT_EQ(out, 4096u);
}

TEST_F(SioDispatcherLine, BreaksAndRs485OutsideTheNTFamily)
{
    d.SendBreak(0, false);
    EXPECT_EQ(d.breakChanges, 2);
    EXPECT_FALSE(d.breakOn);
    d.SetBreak(true);
    EXPECT_TRUE(d.breakOn);
    d.SetBreak(false);

    SetSioPlatformIsNT(false);
    d.SetRS485Mode(true);
    EXPECT_EQ(d.GetBaseAddress(), 0x3F8) << "asked from the driver";
    d.SetBaseAddress(0);
    EXPECT_EQ(d.PutString("x"), -3010);
    EXPECT_EQ(d.Written(), "");
    d.SetBaseAddress(0x2F8);
    d.SetRts(false);
    EXPECT_EQ(d.PutString("x"), 0);
    EXPECT_EQ(d.Escapes().back(), ComEscape::SetRts) << "RTS raised for the transmission";
    d.Written();
    d.SetBreak(false);
    EXPECT_EQ(d.Escapes().back(), ComEscape::ClrRts) << "dropped once nothing is left to send";
    SetSioPlatformIsNT(true);
}

} // namespace
