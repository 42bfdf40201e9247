// The port component's data, status, trigger, trace and log operations: each forwards
// to the dispatcher and raises for a negative result. While the port shuts down they do
// nothing and answer 0, character 0, False or OutSize.
#include "serial/SioComPort.h"
#include "serial/SioDispatcher.h"
#include "serial/SioExceptions.h"

namespace {
uint16_t Clamp16(uint32_t n) { return static_cast<uint16_t>(n > 0xFFFF ? 0xFFFF : n); }
} // namespace

// ---- Buffers: never raise, never open the port ----

uint16_t TSioCustomComPort::InBuffUsed() { return IsOpen() ? Clamp16(dispatcher_->InBuffUsed()) : 0; }

uint16_t TSioCustomComPort::InBuffFree()
{
    return IsOpen() ? Clamp16(dispatcher_->InBuffFree()) : TSioBaseDispatcher::DispatchBufferSize;
}

uint16_t TSioCustomComPort::OutBuffUsed() { return IsOpen() ? Clamp16(dispatcher_->OutBuffUsed()) : 0; }

uint16_t TSioCustomComPort::OutBuffFree() { return IsOpen() ? Clamp16(dispatcher_->OutBuffFree()) : outSize_; }

// ---- Data ----

bool TSioCustomComPort::CharReady() { return !ShuttingDown() && ValidDispatcher()->CharReady(); }

char TSioCustomComPort::PeekChar(uint16_t count)
{
    if (ShuttingDown())
        return 0;
    uint8_t c = 0;
    if (int32_t result = ValidDispatcher()->PeekChar(c, count)) {
        CheckException(this, result);
        return 0;
    }
    return static_cast<char>(c);
}

char TSioCustomComPort::GetChar()
{
    if (ShuttingDown())
        return 0;
    uint8_t c = 0;
    if (int32_t result = ValidDispatcher()->GetChar(c)) {
        CheckException(this, result);
        return 0;
    }
    return static_cast<char>(c);
}

void TSioCustomComPort::PeekBlock(void* block, uint16_t len)
{
    if (!ShuttingDown())
        CheckException(this, ValidDispatcher()->PeekBlock(block, len));
}

void TSioCustomComPort::GetBlock(void* block, uint16_t len)
{
    if (!ShuttingDown())
        CheckException(this, ValidDispatcher()->GetBlock(block, len));
}

void TSioCustomComPort::PutChar(char c)
{
    if (!ShuttingDown())
        CheckException(this, ValidDispatcher()->PutChar(static_cast<uint8_t>(c)));
}

void TSioCustomComPort::PutString(const std::string& s)
{
    if (!ShuttingDown())
        CheckException(this, ValidDispatcher()->PutBlock(s.data(), static_cast<uint32_t>(s.size())));
}

int32_t TSioCustomComPort::PutBlock(const void* block, uint16_t len)
{
    if (ShuttingDown())
        return 0;
    CheckException(this, ValidDispatcher()->PutBlock(block, len));
    return 0;
}

void TSioCustomComPort::FlushInBuffer()
{
    if (!ShuttingDown())
        CheckException(this, ValidDispatcher()->FlushInBuffer());
}

void TSioCustomComPort::FlushOutBuffer()
{
    if (!ShuttingDown())
        CheckException(this, ValidDispatcher()->FlushOutBuffer());
}

void TSioCustomComPort::ProcessCommunications()
{
    if (!ShuttingDown())
        CheckException(this, ValidDispatcher()->ProcessCommunications());
}

// ---- Line and modem status ----

uint8_t TSioCustomComPort::ModemStatus() { return ShuttingDown() ? 0 : ValidDispatcher()->GetModemStatus(); }
bool TSioCustomComPort::DSR() { return IsOpen() && dispatcher_->CheckDSR(); }
bool TSioCustomComPort::CTS() { return IsOpen() && dispatcher_->CheckCTS(); }
bool TSioCustomComPort::RI() { return IsOpen() && dispatcher_->CheckRI(); }
bool TSioCustomComPort::DCD() { return IsOpen() && dispatcher_->CheckDCD(); }
bool TSioCustomComPort::DeltaDSR() { return IsOpen() && dispatcher_->CheckDeltaDSR(); }
bool TSioCustomComPort::DeltaCTS() { return IsOpen() && dispatcher_->CheckDeltaCTS(); }
bool TSioCustomComPort::DeltaRI() { return IsOpen() && dispatcher_->CheckDeltaRI(); }
bool TSioCustomComPort::DeltaDCD() { return IsOpen() && dispatcher_->CheckDeltaDCD(); }
bool TSioCustomComPort::LineBreak() { return IsOpen() && dispatcher_->CheckLineBreak(); }

uint16_t TSioCustomComPort::LineError()
{
    if (!IsOpen())
        return 0;
    return static_cast<uint16_t>(CheckException(this, dispatcher_->GetLineError()) & 0xFFFF);
}

TFlowControlState TSioCustomComPort::FlowState()
{
    if (ShuttingDown())
        return fcOff;
    TSioBaseDispatcher* d = ValidDispatcher();
    // The dispatcher counts its states from 1.
    int32_t state = CheckException(this, d->HWFlowState()) - 1;
    if (state == fcOff)
        state = CheckException(this, d->SWFlowState()) - 1;
    return state >= fcOff && state <= fcXBothHold ? static_cast<TFlowControlState>(state) : fcOff;
}

uint32_t TSioCustomComPort::LastWinError() { return dispatcher_ ? dispatcher_->LastWinError.load() : 0; }

void TSioCustomComPort::SendBreak(uint16_t ticks, bool yield)
{
    if (!ShuttingDown())
        ValidDispatcher()->SendBreak(ticks, yield);
}

void TSioCustomComPort::SetBreak(bool breakOn)
{
    if (!ShuttingDown())
        ValidDispatcher()->SetBreak(breakOn);
}

// ---- Triggers ----

uint16_t TSioCustomComPort::AddDataTrigger(const std::string& data, bool ignoreCase)
{
    if (ShuttingDown())
        return 0;
    // The text is at most 255 characters, as the trigger's string type holds.
    std::string text = data.substr(0, 255);
    return static_cast<uint16_t>(CheckException(
        this, ValidDispatcher()->AddDataTriggerLen(text.data(), ignoreCase, static_cast<uint32_t>(text.size()))));
}

uint16_t TSioCustomComPort::AddTimerTrigger()
{
    return ShuttingDown() ? 0 : static_cast<uint16_t>(CheckException(this, ValidDispatcher()->AddTimerTrigger()));
}

uint16_t TSioCustomComPort::AddStatusTrigger(uint16_t sType)
{
    return ShuttingDown() ? 0
                          : static_cast<uint16_t>(CheckException(this, ValidDispatcher()->AddStatusTrigger(sType)));
}

void TSioCustomComPort::SetTimerTrigger(uint16_t handle, int32_t ticks, bool activate)
{
    if (!ShuttingDown())
        CheckException(this, ValidDispatcher()->SetTimerTrigger(handle, ticks, activate));
}

void TSioCustomComPort::SetStatusTrigger(uint16_t handle, uint16_t value, bool activate)
{
    if (!ShuttingDown())
        CheckException(this, ValidDispatcher()->SetStatusTrigger(handle, value, activate));
}

void TSioCustomComPort::RemoveTrigger(uint16_t handle)
{
    if (IsOpen())
        CheckException(this, dispatcher_->RemoveTrigger(handle));
}

void TSioCustomComPort::RemoveAllTriggers()
{
    if (!IsOpen())
        return;
    dispatcher_->RemoveAllTriggers();
    triggerLength_ = 0;
}

// ---- Trace and log: no dispatcher, nothing to do ----

void TSioCustomComPort::InitTracing(uint32_t numEntries)
{
    if (ShuttingDown() || !dispatcher_)
        return;
    if (numEntries)
        traceSize_ = numEntries;
    CheckException(this, dispatcher_->Trace().InitTracing(static_cast<int32_t>(traceSize_)));
    tracing_ = tlOn;
}

void TSioCustomComPort::DumpTrace(const std::string& fileName, bool inHex)
{
    if (ShuttingDown() || !dispatcher_)
        return;
    std::string name = fileName.substr(0, 255);
    tracing_ = tlOff;  // a trace that could not be written is gone all the same
    CheckException(this, dispatcher_->Trace().DumpTrace(name, inHex, TraceAllHex));
}

void TSioCustomComPort::AppendTrace(const std::string& fileName, bool inHex, TTraceLogState newState)
{
    if (ShuttingDown() || !dispatcher_)
        return;
    std::string name = fileName.substr(0, 255);
    tracing_ = newState;
    CheckException(this, dispatcher_->Trace().AppendTrace(name, inHex, TraceAllHex));
}

void TSioCustomComPort::ClearTracing()
{
    if (!ShuttingDown() && dispatcher_)
        CheckException(this, dispatcher_->Trace().ClearTracing());
}

void TSioCustomComPort::AbortTracing()
{
    if (ShuttingDown() || !dispatcher_)
        return;
    dispatcher_->Trace().AbortTracing();
    tracing_ = tlOff;
}

void TSioCustomComPort::StartTracing()
{
    if (ShuttingDown() || !dispatcher_)
        return;
    dispatcher_->Trace().StartTracing();
    tracing_ = tlOn;
}

void TSioCustomComPort::StopTracing()
{
    if (ShuttingDown() || !dispatcher_)
        return;
    dispatcher_->Trace().StopTracing();
    tracing_ = tlPause;
}

void TSioCustomComPort::AddTraceEntry(char curEntry, char curCh)
{
    if (!ShuttingDown() && dispatcher_)
        dispatcher_->Trace().AddTraceEntry(curEntry, static_cast<uint8_t>(curCh));
}

void TSioCustomComPort::InitLogging(uint32_t size)
{
    if (ShuttingDown() || !dispatcher_)
        return;
    if (size)
        logSize_ = size;
    dispatcher_->Log().InitDispatchLogging(static_cast<int32_t>(logSize_));
    logging_ = tlOn;
}

void TSioCustomComPort::DumpLog(const std::string& fileName, bool inHex)
{
    if (ShuttingDown() || !dispatcher_)
        return;
    std::string name = fileName.substr(0, 255);
    logging_ = tlOff;
    CheckException(this, dispatcher_->Log().DumpDispatchLog(name, inHex, LogAllHex));
}

void TSioCustomComPort::AppendLog(const std::string& fileName, bool inHex, TTraceLogState newState)
{
    if (ShuttingDown() || !dispatcher_)
        return;
    std::string name = fileName.substr(0, 255);
    logging_ = newState;
    CheckException(this, dispatcher_->Log().AppendDispatchLog(name, inHex, LogAllHex));
}

void TSioCustomComPort::ClearLogging()
{
    if (!ShuttingDown() && dispatcher_)
        dispatcher_->Log().ClearDispatchLogging();
}

void TSioCustomComPort::AbortLogging()
{
    if (ShuttingDown() || !dispatcher_)
        return;
    dispatcher_->Log().AbortDispatchLogging();
    logging_ = tlOff;
}

void TSioCustomComPort::StartLogging()
{
    if (ShuttingDown() || !dispatcher_)
        return;
    dispatcher_->Log().StartDispatchLogging();
    logging_ = tlOn;
}

void TSioCustomComPort::StopLogging()
{
    if (ShuttingDown() || !dispatcher_)
        return;
    dispatcher_->Log().StopDispatchLogging();
    logging_ = tlPause;
}

void TSioCustomComPort::AddStringToLog(const std::string& s)
{
    if (!ShuttingDown())
        ValidDispatcher()->AddStringToLog(s);
}
