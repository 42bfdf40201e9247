#pragma once
// The records and numbers through which the dispatcher talks to a serial device: the
// line settings (device-control block), the comm status, the comm event bits, the
// escape functions, and the baud codes of the older 16-bit interface.
#include <cstdint>

// Line settings as the device holds them. Flags uses the platform's bit layout.
struct TSioDCB {
    uint32_t BaudRate = 0;
    uint32_t Flags = 0;
    uint16_t XonLim = 0;
    uint16_t XoffLim = 0;
    uint8_t ByteSize = 0;
    uint8_t Parity = 0;    // 0 none, 1 odd, 2 even, 3 mark, 4 space
    uint8_t StopBits = 0;  // 0 one, 1 one and a half, 2 two
    char XonChar = 0;
    char XoffChar = 0;

    bool operator==(const TSioDCB& o) const
    {
        return BaudRate == o.BaudRate && Flags == o.Flags && XonLim == o.XonLim && XoffLim == o.XoffLim &&
               ByteSize == o.ByteSize && Parity == o.Parity && StopBits == o.StopBits && XonChar == o.XonChar &&
               XoffChar == o.XoffChar;
    }
};

// Bits of TSioDCB::Flags.
namespace DcbFlag {
constexpr uint32_t Binary = 0x1;
constexpr uint32_t Parity = 0x2;             // parity checking
constexpr uint32_t OutxCtsFlow = 0x4;        // output waits for CTS
constexpr uint32_t OutxDsrFlow = 0x8;        // output waits for DSR
constexpr uint32_t DtrEnable = 0x10;
constexpr uint32_t DtrHandshake = 0x20;
constexpr uint32_t DsrSensitivity = 0x40;
constexpr uint32_t TxContinueOnXoff = 0x80;
constexpr uint32_t OutX = 0x100;             // transmit XON/XOFF
constexpr uint32_t InX = 0x200;              // receive XON/XOFF
constexpr uint32_t Null = 0x800;             // null stripping
constexpr uint32_t RtsEnable = 0x1000;
constexpr uint32_t RtsHandshake = 0x2000;
constexpr uint32_t RtsToggle = 0x3000;
constexpr uint32_t DtrControl = 0x30;
constexpr uint32_t RtsControl = 0x3000;
} // namespace DcbFlag

// The flow control a DCB's flags hold, as the dispatcher's option bits: hardware 1 DTR
// handshake, 2 RTS handshake, 4 DSR, 8 CTS; software 1 transmit, 2 receive.
inline uint32_t DcbHWFlowOptions(uint32_t flags)
{
    return ((flags & DcbFlag::DtrControl) == DcbFlag::DtrHandshake ? 1 : 0) |
           ((flags & DcbFlag::RtsControl) == DcbFlag::RtsHandshake ? 2 : 0) | (flags & DcbFlag::OutxDsrFlow ? 4 : 0) |
           (flags & DcbFlag::OutxCtsFlow ? 8 : 0);
}
inline uint32_t DcbSWFlowOptions(uint32_t flags)
{
    return (flags & DcbFlag::OutX ? 1 : 0) | (flags & DcbFlag::InX ? 2 : 0);
}

// The device's status: hold flags and the counts of its queues.
struct TSioComStat {
    uint32_t Flags = 0;  // CTS hold 1, DSR hold 2, XOFF-received hold 8, XOFF sent 0x10
    uint32_t InQue = 0;
    uint32_t OutQue = 0;
};

namespace ComStatFlag {
constexpr uint32_t CtsHold = 0x1;
constexpr uint32_t DsrHold = 0x2;
constexpr uint32_t XoffHold = 0x8;
constexpr uint32_t XoffSent = 0x10;
} // namespace ComStatFlag

// Line-error bits of the dispatcher's LastError (and of the device's error answer).
namespace LineErr {
constexpr uint32_t RxOverflow = 1;
constexpr uint32_t Overrun = 2;
constexpr uint32_t Parity = 4;
constexpr uint32_t Framing = 8;
constexpr uint32_t Break = 16;
constexpr uint32_t DeviceFailure = 0xFFFFFFFFu;
} // namespace LineErr

// Comm event bits reported by the device's status waits.
namespace CommEvent {
constexpr uint32_t RxChar = 0x1;
constexpr uint32_t Cts = 0x8;
constexpr uint32_t Dsr = 0x10;
constexpr uint32_t Rlsd = 0x20;
constexpr uint32_t Break = 0x40;
constexpr uint32_t Err = 0x80;
constexpr uint32_t Ring = 0x100;
constexpr uint32_t RingTrailingEdge = 0x2000;
} // namespace CommEvent

// Modem-status byte: lines in bits 4..7, change flags in bits 0..3.
namespace ModemBit {
constexpr uint8_t DeltaCts = 0x01;
constexpr uint8_t DeltaDsr = 0x02;
constexpr uint8_t Ring = 0x04;
constexpr uint8_t DeltaDcd = 0x08;
constexpr uint8_t Cts = 0x10;
constexpr uint8_t Dsr = 0x20;
constexpr uint8_t Ri = 0x40;
constexpr uint8_t Dcd = 0x80;
} // namespace ModemBit

// Escape functions of the device.
namespace ComEscape {
constexpr int32_t SetRts = 3;
constexpr int32_t ClrRts = 4;
constexpr int32_t SetDtr = 5;
constexpr int32_t ClrDtr = 6;
constexpr int32_t GetBaseAddress = 10;
} // namespace ComEscape

// The baud a DCB baud value stands for: 0xFEFF is 115200, 0xFF10..0xFF27 are the
// 16-bit interface's codes (a code without a rate passes through unchanged); anything
// else is bits per second.
uint32_t MapBaud(uint32_t baud);
