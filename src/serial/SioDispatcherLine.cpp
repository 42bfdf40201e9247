// The dispatcher's line settings, flow control, modem and line status, and options.
#include <chrono>
#include <thread>

#include "serial/SioDispatcher.h"
#include "serial/SioDispatcherThread.h"

namespace {

constexpr uint32_t HandshakeAndWaits = DcbFlag::RtsHandshake | DcbFlag::DtrHandshake | DcbFlag::OutxDsrFlow |
                                       DcbFlag::OutxCtsFlow;  // 0x202C
constexpr uint32_t LineEnables = DcbFlag::RtsEnable | DcbFlag::DtrEnable;  // 0x1010

void SleepMs(uint32_t ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

// What a line change changes: the values asked for (baud 0, parity 5, data bits 9 and
// stop bits 3 keep theirs), binary mode (which the platform requires) and sending on
// after XOFF on, parity checking, DSR sensitivity and null stripping off.
void ApplyLine(TSioDCB& dcb, int32_t baud, uint32_t parity, uint8_t dataBits, uint8_t stopBits)
{
    dcb.Flags = (dcb.Flags & ~(DcbFlag::Parity | DcbFlag::DsrSensitivity | DcbFlag::Null)) | DcbFlag::Binary |
                DcbFlag::TxContinueOnXoff;
    if (baud != 0)
        dcb.BaudRate = static_cast<uint32_t>(baud);
    if (parity != 5)
        dcb.Parity = static_cast<uint8_t>(parity);
    if (dataBits != 9)
        dcb.ByteSize = dataBits;
    if (stopBits != 3)
        dcb.StopBits = stopBits <= 1 ? 0 : 2;
    // Five data bits know no two stop bits: they get one and a half.
    if (dcb.ByteSize == 5 && dcb.StopBits == 2)
        dcb.StopBits = 1;
}

} // namespace

// ---- Line settings ----

TSioDCB TSioBaseDispatcher::ReadDCB()
{
    GetComState(dcb_);
    return dcb_;
}

int32_t TSioBaseDispatcher::SetLine(int32_t baud, uint32_t parity, uint8_t dataBits, uint8_t stopBits)
{
    {
        std::lock_guard<std::recursive_mutex> guard(DataSection);
        GetComState(dcb_);
        TSioDCB wanted = dcb_;
        ApplyLine(wanted, baud, parity, dataBits, stopBits);
        if (wanted == dcb_)
            return 0;
    }
    WaitTxSent();
    // Applied to the settings as they are now: what another thread changed while the
    // output drained (flow control, say) stays.
    std::lock_guard<std::recursive_mutex> guard(DataSection);
    TSioDCB next = ReadDCB();
    ApplyLine(next, baud, parity, dataBits, stopBits);
    return SetCommStateFix(next);
}

void TSioBaseDispatcher::GetLine(uint32_t& baud, uint32_t& parity, uint8_t& dataBits, uint8_t& stopBits)
{
    std::lock_guard<std::recursive_mutex> guard(DataSection);
    GetComState(dcb_);
    baud = MapBaud(dcb_.BaudRate);
    parity = dcb_.Parity;
    dataBits = dcb_.ByteSize;
    stopBits = dcb_.StopBits != 0 ? 2 : 1;
}

uint32_t TSioBaseDispatcher::CharTimesDelayMs(const TSioDCB& dcb)
{
    uint32_t baud = MapBaud(dcb.BaudRate);
    if (baud == 0)
        return 0;
    uint64_t bits = dcb.ByteSize + 2u + (dcb.Parity ? 1 : 0) + (dcb.StopBits ? 1 : 0);
    uint64_t t = 10000000u / baud * bits * 18;  // in 100 ns units
    if (t < 10000)
        t *= 2;
    return static_cast<uint32_t>((t + 9999) / 10000);
}

void TSioBaseDispatcher::WaitTxSent()
{
    for (int polls = 0; polls < 5000 && OutBuffUsed() != 0; ++polls)
        SleepMs(2);
    TSioDCB dcb;
    {
        std::lock_guard<std::recursive_mutex> guard(DataSection);
        dcb = ReadDCB();
    }
    if (uint32_t ms = CharTimesDelayMs(dcb))
        SleepMs(ms);
}

int32_t TSioBaseDispatcher::SetCommStateFix(TSioDCB dcb)
{
    if (!dtrAuto_)
        dcb.Flags = (dcb.Flags & ~DcbFlag::DtrControl) | (dtrState_ ? DcbFlag::DtrEnable : 0);
    if (!rtsAuto_)
        dcb.Flags = (dcb.Flags & ~DcbFlag::RtsControl) | (rtsState_ ? DcbFlag::RtsEnable : 0);
    int32_t result = SetComState(dcb);
    if (result == 0) {
        dcb_ = dcb;
        lastBaud_ = dcb.BaudRate;
    }
    SetDtr(dtrState_);
    if (!rs485Mode_)
        SetRts(rtsState_);
    return result;
}

// DTR and RTS take no lock of the dispatcher's: PutBlock raises RTS for RS-485 while it
// holds the output ring.
int32_t TSioBaseDispatcher::SetModemLine(bool on, const std::atomic<bool>& automatic, std::atomic<bool>& state,
                                         int32_t setFunc, int32_t clearFunc)
{
    if (automatic)
        return 1;
    int32_t result = EscapeComFunction(on ? setFunc : clearFunc);
    if (result < 0)
        result = -1002;
    state = on;
    return result;
}

int32_t TSioBaseDispatcher::SetDtr(bool on)
{
    return SetModemLine(on, dtrAuto_, dtrState_, ComEscape::SetDtr, ComEscape::ClrDtr);
}

int32_t TSioBaseDispatcher::SetRts(bool on)
{
    return SetModemLine(on, rtsAuto_, rtsState_, ComEscape::SetRts, ComEscape::ClrRts);
}

int32_t TSioBaseDispatcher::SetModem(bool dtr, bool rts)
{
    int32_t result = SetDtr(dtr);
    return result == 0 ? SetRts(rts) : result;
}

void TSioBaseDispatcher::SendBreak(int32_t ticks, bool yield)
{
    SetBreak(true);
    DelayTicks(ticks, yield);
    SetBreak(false);
}

void TSioBaseDispatcher::SetBreak(bool on)
{
    if (on) {
        if (rs485Mode_)
            SetRts(true);
        SetComBreak(true);
        return;
    }
    SetComBreak(false);
    if (rs485Mode_ && OutBuffUsed() == 0)
        SetRts(false);
}

// ---- Flow control ----

int32_t TSioBaseDispatcher::CheckFlowLevels(uint32_t bufferFull, uint32_t bufferResume) const
{
    return bufferResume > bufferFull || bufferFull > inQue_ ? -1002 : 0;
}

int32_t TSioBaseDispatcher::HWFlowOptions(uint32_t bufferFull, uint32_t bufferResume, uint32_t options)
{
    if (CheckFlowLevels(bufferFull, bufferResume))
        return -1002;
    std::lock_guard<std::recursive_mutex> guard(DataSection);
    TSioDCB dcb = ReadDCB();
    dcb.Flags &= ~(HandshakeAndWaits | LineEnables);
    dtrAuto_ = false;
    rtsAuto_ = false;
    if (options & 1) {
        dcb.Flags |= DcbFlag::DtrHandshake;
        dtrAuto_ = true;
    } else if (dtrState_) {
        dcb.Flags |= DcbFlag::DtrEnable;
    }
    if (options & 2) {
        dcb.Flags |= DcbFlag::RtsHandshake;
        rtsAuto_ = true;
    } else if (rtsState_) {
        dcb.Flags |= DcbFlag::RtsEnable;
    }
    if (rs485Mode_ && SioPlatformIsNT()) {
        dcb.Flags |= DcbFlag::RtsToggle;
        rtsAuto_ = true;
    }
    dcb.XoffLim = static_cast<uint16_t>(inQue_ - bufferFull);
    dcb.XonLim = static_cast<uint16_t>(bufferResume);
    if (options & 4)
        dcb.Flags |= DcbFlag::OutxDsrFlow;
    if (options & 8)
        dcb.Flags |= DcbFlag::OutxCtsFlow;
    return SetCommStateFix(dcb);
}

int32_t TSioBaseDispatcher::HWFlowState()
{
    std::lock_guard<std::recursive_mutex> guard(DataSection);
    uint32_t flags = dcb_.Flags;
    if (!(flags & HandshakeAndWaits))
        return 1;
    int32_t state = 2;
    if (flags & (DcbFlag::RtsHandshake | DcbFlag::DtrHandshake)) {
        RefreshStatus();
        if ((flags & DcbFlag::OutxDsrFlow) && (comStatus_.Flags & ComStatFlag::DsrHold))
            state = 3;
        if ((flags & DcbFlag::OutxCtsFlow) && (comStatus_.Flags & ComStatFlag::CtsHold))
            state = 4;
    }
    return state;
}

int32_t TSioBaseDispatcher::SWFlowEnable(uint32_t bufferFull, uint32_t bufferResume, uint32_t options)
{
    if (CheckFlowLevels(bufferFull, bufferResume))
        return -1002;
    std::lock_guard<std::recursive_mutex> guard(DataSection);
    TSioDCB dcb = ReadDCB();
    // Exactly the directions asked for: one left on from an earlier call goes off.
    dcb.Flags &= ~(DcbFlag::OutX | DcbFlag::InX);
    if (options & 2) {
        dcb.Flags |= DcbFlag::InX;
        dcb.XoffLim = static_cast<uint16_t>(inQue_ - bufferFull);
        dcb.XonLim = static_cast<uint16_t>(bufferResume);
    }
    if (options & 1)
        dcb.Flags |= DcbFlag::OutX;
    if (options & 3) {
        dcb.XonChar = 17;
        dcb.XoffChar = 19;
    }
    return SetCommStateFix(dcb);
}

int32_t TSioBaseDispatcher::SWFlowDisable()
{
    std::lock_guard<std::recursive_mutex> guard(DataSection);
    TSioDCB dcb = ReadDCB();
    dcb.Flags &= ~(DcbFlag::OutX | DcbFlag::InX);
    return SetCommStateFix(dcb);
}

int32_t TSioBaseDispatcher::SWFlowState()
{
    std::lock_guard<std::recursive_mutex> guard(DataSection);
    if (!(dcb_.Flags & (DcbFlag::OutX | DcbFlag::InX)))
        return 1;
    RefreshStatus();
    bool outHeld = comStatus_.Flags & ComStatFlag::XoffHold;
    bool sent = comStatus_.Flags & ComStatFlag::XoffSent;
    return outHeld && sent ? 8 : outHeld ? 6 : sent ? 7 : 2;
}

int32_t TSioBaseDispatcher::SWFlowChars(char onChar, char offChar)
{
    std::lock_guard<std::recursive_mutex> guard(DataSection);
    TSioDCB dcb = ReadDCB();
    dcb.XonChar = onChar;
    dcb.XoffChar = offChar;
    return SetCommStateFix(dcb);
}

int32_t TSioBaseDispatcher::GetFlowOptions(uint32_t& hwOpts, uint32_t& swOpts, uint32_t& bufferFull,
                                           uint32_t& bufferResume, char& onChar, char& offChar)
{
    std::lock_guard<std::recursive_mutex> guard(DataSection);
    int32_t result = GetComState(dcb_);
    hwOpts = DcbHWFlowOptions(dcb_.Flags);
    swOpts = DcbSWFlowOptions(dcb_.Flags);
    // The levels as the flow-control operations stored them.
    bufferFull = dcb_.XoffLim <= inQue_ ? inQue_ - dcb_.XoffLim : 0;
    bufferResume = dcb_.XonLim;
    onChar = dcb_.XonChar;
    offChar = dcb_.XoffChar;
    return result;
}

// ---- Status ----

void TSioBaseDispatcher::RefreshStatus()
{
    std::lock_guard<std::recursive_mutex> guard(DataSection);
    TSioComStat status;
    uint32_t errors = GetComError(status);
    comStatus_ = status;
    lastError_ |= errors & 0x1F;
}

uint8_t TSioBaseDispatcher::GetModemStatusPrim(uint8_t clearMask)
{
    uint8_t lines = GetComModemStatus() & 0xF0;
    std::lock_guard<std::recursive_mutex> guard(DataSection);
    modemStatus_ = static_cast<uint8_t>(lines | (modemStatus_ & 0x0F));
    if (ringFlag_) {
        ringFlag_ = false;
        modemStatus_ |= ModemBit::Ring;
    }
    uint8_t result = modemStatus_;
    modemStatus_ &= clearMask;
    return result;
}

void TSioBaseDispatcher::MapEventsToMS(uint32_t)
{
    std::lock_guard<std::recursive_mutex> guard(DataSection);
    uint8_t old = modemStatus_;
    uint8_t now = GetModemStatusPrim(0xFF);
    modemStatus_ |= static_cast<uint8_t>(((old ^ now) >> 4) & 0x0F);
}

int32_t TSioBaseDispatcher::GetLineError()
{
    std::lock_guard<std::recursive_mutex> guard(DataSection);
    int32_t code = 0;
    if (lastError_ == LineErr::DeviceFailure)
        code = 10;
    else if (lastError_ & LineErr::RxOverflow)
        code = 1;
    else if (lastError_ & LineErr::Overrun)
        code = 2;
    else if (lastError_ & LineErr::Parity)
        code = 3;
    else if (lastError_ & LineErr::Framing)
        code = 4;
    else if (lastError_ & LineErr::Break)
        code = 9;
    if (code)
        lastError_ = lastError_ == LineErr::DeviceFailure ? 0 : lastError_ & ~0x0Fu;
    return code;
}

bool TSioBaseDispatcher::CheckLineBreak()
{
    std::lock_guard<std::recursive_mutex> guard(DataSection);
    bool lineBreak = lastError_ & LineErr::Break;
    lastError_ &= ~LineErr::Break;
    return lineBreak;
}

// ---- Other ----

void TSioBaseDispatcher::SetRS485Mode(bool on)
{
    std::lock_guard<std::recursive_mutex> guard(DataSection);
    rs485Mode_ = on;
    if (auto& writer = threads_[static_cast<int>(TSioThreadRole::Write)])
        writer->SetPriorityBoost(threadBoost_ + (on ? 1 : 0));
    // Elsewhere than on the NT family the write thread drives RTS through the UART.
    if (on && !SioPlatformIsNT())
        baseAddress_ = static_cast<uint16_t>(EscapeComFunction(ComEscape::GetBaseAddress));
}

void TSioBaseDispatcher::SetBaseAddress(uint16_t address)
{
    std::lock_guard<std::recursive_mutex> guard(DataSection);
    baseAddress_ = address;
}

void TSioBaseDispatcher::OptionsOn(uint32_t bits)
{
    std::lock_guard<std::recursive_mutex> guard(DataSection);
    flags_ |= bits;
}

void TSioBaseDispatcher::OptionsOff(uint32_t bits)
{
    std::lock_guard<std::recursive_mutex> guard(DataSection);
    flags_ &= ~bits;
}

bool TSioBaseDispatcher::OptionsAreOn(uint32_t bits)
{
    std::lock_guard<std::recursive_mutex> guard(DataSection);
    return (flags_ & bits) == bits;
}

int32_t TSioBaseDispatcher::SetDataPointer(void* p, uint32_t index)
{
    if (index < 1 || index > 3)
        return -1002;
    std::lock_guard<std::recursive_mutex> guard(DataSection);
    dataPointers_[index - 1] = p;
    return 0;
}

int32_t TSioBaseDispatcher::GetDataPointer(void*& p, uint32_t index)
{
    if (index < 1 || index > 3)
        return -1002;
    std::lock_guard<std::recursive_mutex> guard(DataSection);
    p = dataPointers_[index - 1];
    return 0;
}
