// The port component's settings: each is stored and, while the port is open, applied to
// the dispatcher. A setter does nothing when the value is the stored one, unless Force
// is set (the open pushes every setting into a fresh dispatcher that way).
#include <algorithm>

#include "serial/SioComPort.h"
#include "serial/SioDispatcher.h"
#include "serial/SioExceptions.h"

namespace {

// Stores value in field; false when there was nothing to do.
template <class T>
bool Store(T& field, T value, bool force)
{
    if (value == field && !force)
        return false;
    field = value;
    return true;
}

} // namespace

void TSioCustomComPort::ApplyLine()
{
    if (IsOpen())
        CheckException(this, dispatcher_->SetLine(baud_, parity_, static_cast<uint8_t>(dataBits_),
                                                  static_cast<uint8_t>(stopBits_)));
}

void TSioCustomComPort::SetBaud(int32_t value)
{
    if (Store(baud_, value, Force))
        ApplyLine();
}

void TSioCustomComPort::SetParity(TParity value)
{
    if (Store(parity_, value, Force))
        ApplyLine();
}

void TSioCustomComPort::SetDataBits(uint16_t value)
{
    if (Store(dataBits_, value, Force))
        ApplyLine();
}

void TSioCustomComPort::SetStopBits(uint16_t value)
{
    if (Store(stopBits_, value, Force))
        ApplyLine();
}

void TSioCustomComPort::SetInSize(uint16_t value)
{
    if (Store(inSize_, value, Force) && IsOpen())
        dispatcher_->SetCommBuffers(inSize_, outSize_);
}

void TSioCustomComPort::SetOutSize(uint16_t value)
{
    if (Store(outSize_, value, Force) && IsOpen())
        dispatcher_->SetCommBuffers(inSize_, outSize_);
}

void TSioCustomComPort::SetDTR(bool value)
{
    if (value == dtr_ && !Force)
        return;
    if (IsOpen())
        CheckException(this, dispatcher_->SetDtr(value));
    dtr_ = value;  // kept as it was when the dispatcher refused
}

void TSioCustomComPort::SetRTS(bool value)
{
    if (value == rts_ && !Force)
        return;
    if (IsOpen())
        CheckException(this, dispatcher_->SetRts(value));
    rts_ = value;
}

void TSioCustomComPort::SetUseMSRShadow(bool) {}

void TSioCustomComPort::SetUseEventWord(bool value)
{
    if (!Store(useEventWord_, value, Force))
        return;
    if (IsOpen()) {
        if (value)
            dispatcher_->OptionsOn(4);
        else
            dispatcher_->OptionsOff(4);
    }
}

void TSioCustomComPort::SetRS485Mode(bool value)
{
    if (!Store(rs485Mode_, value, Force))
        return;
    if (IsOpen())
        dispatcher_->SetRS485Mode(value);
    if (value) {
        SetHWFlowOptions(hwFlowOptions_ & ~(SetOf(hwfUseRTS) | SetOf(hwfRequireCTS)));
        SetRTS(false);
    }
}

void TSioCustomComPort::SetTriggerLength(uint16_t value)
{
    if (Store(triggerLength_, value, Force) && IsOpen())
        dispatcher_->ChangeLengthTrigger(value);
}

void TSioCustomComPort::SetThreadBoost(TSioThreadBoost value)
{
    if (Store(threadBoost_, value, Force) && IsOpen())
        dispatcher_->SetThreadBoost(static_cast<uint8_t>(value));
}

uint16_t TSioCustomComPort::BaseAddress() { return IsOpen() ? dispatcher_->GetBaseAddress() : 0; }

void TSioCustomComPort::SetBaseAddress(uint16_t value)
{
    if (IsOpen())
        dispatcher_->SetBaseAddress(value);
}

// ---- Flow control ----

void TSioCustomComPort::SetHWFlowOptions(THWFlowOptionSet value)
{
    if (value == hwFlowOptions_ && !Force)
        return;
    if (value) {
        if (bufferFull_ == 0 || bufferFull_ > inSize_)
            bufferFull_ = static_cast<uint16_t>(inSize_ * 9 / 10);
        if (bufferResume_ == 0 || bufferResume_ > bufferFull_)
            bufferResume_ = static_cast<uint16_t>(inSize_ / 10);
    }
    if (IsOpen())
        CheckException(this, dispatcher_->HWFlowOptions(bufferFull_, bufferResume_, value & 0x0F));
    hwFlowOptions_ = value;
    if (value & (SetOf(hwfUseRTS) | SetOf(hwfRequireCTS)))
        SetRS485Mode(false);
}

void TSioCustomComPort::SetSWFlowOptions(TSWFlowOptions value)
{
    if (value == swFlowOptions_ && !Force)
        return;
    static const uint32_t option[] = {0, 2, 1, 3};  // none, receive, transmit, both
    uint32_t opt = option[value];
    if (opt) {
        if (bufferFull_ == 0 || bufferFull_ > inSize_)
            bufferFull_ = static_cast<uint16_t>(inSize_ * 3 / 4);
        if (bufferResume_ == 0 || bufferResume_ > bufferFull_)
            bufferResume_ = static_cast<uint16_t>(inSize_ / 4);
    }
    if (IsOpen()) {
        if (opt) {
            CheckException(this, dispatcher_->SWFlowEnable(bufferFull_, bufferResume_, opt));
            // Enabling puts the standard characters into the device: the port's own go
            // back, so the device sends and obeys the ones XOnChar and XOffChar show.
            CheckException(this, dispatcher_->SWFlowChars(xOnChar_, xOffChar_));
        } else {
            CheckException(this, dispatcher_->SWFlowDisable());
        }
    }
    swFlowOptions_ = value;
}

void TSioCustomComPort::SetXOnChar(char value)
{
    if (Store(xOnChar_, value, Force) && IsOpen())
        CheckException(this, dispatcher_->SWFlowChars(xOnChar_, xOffChar_));
}

void TSioCustomComPort::SetXOffChar(char value)
{
    if (Store(xOffChar_, value, Force) && IsOpen())
        CheckException(this, dispatcher_->SWFlowChars(xOnChar_, xOffChar_));
}

// Enabled flow control picks new thresholds up.
void TSioCustomComPort::ApplyFlowOptions()
{
    bool force = Force;
    Force = true;
    try {
        SetHWFlowOptions(hwFlowOptions_);
        SetSWFlowOptions(swFlowOptions_);
    } catch (...) {
        Force = force;
        throw;
    }
    Force = force;
}

void TSioCustomComPort::SetBufferFull(uint16_t value)
{
    if (value == bufferFull_ && !Force)
        return;
    bufferFull_ = value > inSize_ ? static_cast<uint16_t>(inSize_ * 9 / 10) : value;
    ApplyFlowOptions();
}

void TSioCustomComPort::SetBufferResume(uint16_t value)
{
    if (value == bufferResume_ && !Force)
        return;
    bufferResume_ = value > bufferFull_ ? static_cast<uint16_t>(bufferFull_ / 10) : value;
    ApplyFlowOptions();
}

// ---- Trace and log states ----

// What the trace and the log have in common: their state and size fields and their
// operations, so one state machine serves both.
struct TSioCustomComPort::TracePath {
    TTraceLogState TSioCustomComPort::*state;
    uint32_t TSioCustomComPort::*size;
    void (TSioCustomComPort::*init)(uint32_t);
    void (TSioCustomComPort::*start)();
    void (TSioCustomComPort::*stop)();
    void (TSioCustomComPort::*clear)();
    void (TSioCustomComPort::*abort)();
    void (TSioCustomComPort::*dump)(const std::string&, bool);
    void (TSioCustomComPort::*append)(const std::string&, bool, TTraceLogState);
    std::string TSioCustomComPort::*name;
    bool TSioCustomComPort::*hex;
};

void TSioCustomComPort::SetTraceState(const TracePath& path, TTraceLogState value)
{
    TTraceLogState current = this->*path.state;
    if (value == current && !Force)
        return;
    if (!IsOpen()) {
        this->*path.state = value == tlOn ? tlOn : tlOff;
        return;
    }
    bool running = current == tlOn || current == tlPause;
    switch (value) {
    case tlOff:
        if (running)
            (this->*path.abort)();
        break;
    case tlOn:
        if (current == tlPause)
            (this->*path.start)();
        else
            (this->*path.init)(this->*path.size);
        break;
    case tlDump:
        if (running) {
            (this->*path.start)();
            (this->*path.dump)(this->*path.name, this->*path.hex);
        }
        break;
    case tlAppend:
    case tlAppendAndContinue:
        if (running) {
            (this->*path.start)();
            (this->*path.append)(this->*path.name, this->*path.hex, value == tlAppend ? tlOff : tlOn);
        }
        break;
    case tlClear:
        if (running)
            (this->*path.clear)();
        break;
    case tlPause:
        if (current == tlOn)
            (this->*path.stop)();
        break;
    }
}

void TSioCustomComPort::SetTraceBufferSize(const TracePath& path, uint32_t value, uint32_t cap)
{
    value = std::min(value, cap);
    if (value == this->*path.size && !Force)
        return;
    this->*path.size = value;
    TTraceLogState state = this->*path.state;
    if (IsOpen() && (state == tlOn || state == tlPause)) {
        (this->*path.abort)();
        SetTraceState(path, tlOn);
        if (state == tlPause)
            SetTraceState(path, tlPause);
    }
}

const TSioCustomComPort::TracePath& TSioCustomComPort::TracePathOf(bool log)
{
    using P = TSioCustomComPort;
    static const TracePath trace{&P::tracing_, &P::traceSize_, &P::InitTracing, &P::StartTracing,
                                 &P::StopTracing, &P::ClearTracing, &P::AbortTracing, &P::DumpTrace,
                                 &P::AppendTrace, &P::TraceName, &P::TraceHex};
    static const TracePath logPath{&P::logging_, &P::logSize_, &P::InitLogging, &P::StartLogging,
                                   &P::StopLogging, &P::ClearLogging, &P::AbortLogging, &P::DumpLog,
                                   &P::AppendLog, &P::LogName, &P::LogHex};
    return log ? logPath : trace;
}

void TSioCustomComPort::SetTracing(TTraceLogState value) { SetTraceState(TracePathOf(false), value); }
void TSioCustomComPort::SetLogging(TTraceLogState value) { SetTraceState(TracePathOf(true), value); }
void TSioCustomComPort::SetTraceSize(uint32_t value) { SetTraceBufferSize(TracePathOf(false), value, 4000000); }
void TSioCustomComPort::SetLogSize(uint32_t value) { SetTraceBufferSize(TracePathOf(true), value, 16000000); }
