#include <windows.h>

#include <chrono>
#include <cstddef>
#include <cstring>

#include "serial/SioClock.h"
#include "serial/SioWin32Dispatcher.h"
#include "serial/SioWin32Threads.h"
#include "ui/Text.h"

namespace {

// The flag word of the platform's DCB sits right after its baud rate; TSioDCB keeps it
// bit for bit.
uint32_t* DcbFlags(::DCB& dcb)
{
    return reinterpret_cast<uint32_t*>(reinterpret_cast<char*>(&dcb) + offsetof(::DCB, BaudRate) + sizeof(DWORD));
}

// The fields both line-setting records name alike.
template <class From, class To>
void CopyLineFields(const From& from, To& to)
{
    to.BaudRate = from.BaudRate;
    to.XonLim = from.XonLim;
    to.XoffLim = from.XoffLim;
    to.ByteSize = from.ByteSize;
    to.Parity = from.Parity;
    to.StopBits = from.StopBits;
    to.XonChar = from.XonChar;
    to.XoffChar = from.XoffChar;
}

TKernelHandle MakeEvent(bool manualReset)
{
    TKernelHandle event(CreateEventW(nullptr, manualReset, FALSE, nullptr));
    if (!event)
        RaiseLastWin32Error("CreateEventW");
    return event;
}

} // namespace

TSioWin32Dispatcher::TSioWin32Dispatcher(TComponent* owner)
    : TSioBaseDispatcher(owner), serialEvent_(MakeEvent(false)), stopEvent_(MakeEvent(true))
{
}

TSioWin32Dispatcher::~TSioWin32Dispatcher() { FinishPort(); }

// ---- Opening and the device's settings ----

intptr_t TSioWin32Dispatcher::OpenCom(const char* name, uint32_t, uint32_t)
{
    std::wstring device = ToWide(name ? name : "");
    HANDLE h = CreateFileW(device.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OVERLAPPED, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        LastWinError = GetLastError();
        return -1;
    }
    SetComHandle(reinterpret_cast<intptr_t>(h));
    return reinterpret_cast<intptr_t>(h);
}

bool TSioWin32Dispatcher::SetupCom(uint32_t inSize, uint32_t outSize)
{
    if (SetupComm(Device(), inSize, outSize))
        return true;
    LastWinError = GetLastError();
    return false;
}

int32_t TSioWin32Dispatcher::GetComState(TSioDCB& dcb)
{
    ::DCB d{};
    d.DCBlength = sizeof d;
    if (!GetCommState(Device(), &d))
        return -1;
    CopyLineFields(d, dcb);
    dcb.Flags = *DcbFlags(d);
    return 0;
}

int32_t TSioWin32Dispatcher::SetComState(const TSioDCB& dcb)
{
    ::DCB d{};
    d.DCBlength = sizeof d;
    GetCommState(Device(), &d);  // the characters TSioDCB does not hold stay as they are
    CopyLineFields(dcb, d);
    *DcbFlags(d) = dcb.Flags;
    if (SetCommState(Device(), &d))
        return 0;
    return -static_cast<int32_t>(GetLastError());
}

int32_t TSioWin32Dispatcher::EscapeComFunction(int32_t func)
{
    EscapeCommFunction(Device(), static_cast<DWORD>(func));
    return 0;
}

uint32_t TSioWin32Dispatcher::GetComError(TSioComStat& stat)
{
    DWORD errors = 0;
    COMSTAT status{};
    if (ClearCommError(Device(), &errors, &status)) {
        // COMSTAT's flag bits are TSioComStat's.
        std::memcpy(&stat.Flags, &status, sizeof stat.Flags);
        stat.InQue = status.cbInQue;
    } else {
        errors = 0;
    }
    stat.OutQue = OutBufUsed();
    return errors;
}

int32_t TSioWin32Dispatcher::GetComEventMask(int32_t) { return 0; }

bool TSioWin32Dispatcher::WaitComEvent(uint32_t& evtMask, void*)
{
    evtMask = 0;  // the status thread does the waiting
    return true;
}

uint8_t TSioWin32Dispatcher::GetComModemStatus()
{
    DWORD lines = 0;
    return GetCommModemStatus(Device(), &lines) ? static_cast<uint8_t>(lines & 0xF0) : 0;
}

int32_t TSioWin32Dispatcher::SetComBreak(bool on)
{
    if (on ? SetCommBreak(Device()) : ClearCommBreak(Device()))
        return 0;
    return -static_cast<int32_t>(GetLastError());
}

int32_t TSioWin32Dispatcher::ProcessCommunications()
{
    Sleep(0);
    return 0;
}

// ---- Data: the dispatch queue and the output ring ----

uint32_t TSioWin32Dispatcher::InQueueUsed() { return DispatchQueueHeadBytes(); }

int32_t TSioWin32Dispatcher::ReadCom(uint8_t* buffer, int32_t size) { return ReadDispatchQueue(buffer, size); }

int32_t TSioWin32Dispatcher::WriteCom(const uint8_t* buffer, int32_t size) { return WriteOutputRing(buffer, size); }

uint32_t TSioWin32Dispatcher::OutBufUsed() { return OutputRingUsed(); }

int32_t TSioWin32Dispatcher::FlushCom(int32_t queue)
{
    if (queue == 0) {
        EmptyOutputRing();
        BOOL purged = PurgeComm(Device(), PURGE_TXABORT | PURGE_TXCLEAR);
        SioEvent* flush = OutFlushEvent();
        SioEvent* general = GeneralEvent();
        // The write thread drops what it is sending and says so.
        if (flush && general && ThreadAlive(TSioThreadRole::Write)) {
            flush->Set();
            general->WaitFor(5000);
        }
        return purged;
    }
    BOOL purged = PurgeComm(Device(), PURGE_RXABORT | PURGE_RXCLEAR);
    DispatchQueue.Clear();
    return purged;
}

// ---- Threads ----

void TSioWin32Dispatcher::StartDispatcher()
{
    BeginDispatcher();
    ResetEvent(stopEvent_.Get());
    ResetEvent(serialEvent_.Get());
    DispatchQueue.Clear();
    StartThread(TSioThreadRole::Read, std::make_unique<TReadThread>(*this));
    StartThread(TSioThreadRole::Dispatch, std::make_unique<TDispThread>(*this));
    StartThread(TSioThreadRole::Write, std::make_unique<TWriteThread>(*this));
    StartThread(TSioThreadRole::Status, std::make_unique<TStatusThread>(*this));
}

void TSioWin32Dispatcher::StopDispatcher()
{
    if (DispActive())
        CloseCom();
}

int32_t TSioWin32Dispatcher::CloseCom()
{
    const std::thread::id self = std::this_thread::get_id();
    if (Closing.exchange(true)) {
        // A close runs already. On another thread: wait until it is done rather than
        // return while it still stops the threads and closes the device. On this one (a
        // handler run while the close waits): the close goes on once it returns.
        if (closingThread_.load() != self) {
            while (Closing) {
                if (!SafeYield())
                    std::this_thread::sleep_for(std::chrono::milliseconds(1));
            }
        }
        return 0;
    }
    closingThread_ = self;
    if (DispActive()) {
        {
            std::lock_guard<std::mutex> guard(statusStart_);
            KillThreads = true;
        }
        SetEvent(stopEvent_.Get());
        // Each thread is woken where it waits: the status thread's comm-event wait ends
        // when the mask is cleared, the write thread takes the flush event, the read
        // thread its serial event.
        if (ThreadAlive(TSioThreadRole::Status)) {
            SetCommMask(Device(), 0);
            if (SioEvent* ready = ReadyEvent())
                ready->Set();
        }
        if (ThreadAlive(TSioThreadRole::Write))
            if (SioEvent* flush = OutFlushEvent())
                flush->Set();
        if (ThreadAlive(TSioThreadRole::Read)) {
            SetEvent(serialEvent_.Get());
            if (SioEvent* general = GeneralEvent())
                general->Reset();
        }
        StopThreads();
    }
    int32_t result = 0;
    if (ComHandle() >= 0) {
        if (CloseHandle(Device()))
            SetComHandle(-1);
        else
            result = -1;
    }
    closingThread_ = std::thread::id();
    Closing = false;
    return result;
}

// ---- A device opened elsewhere ----

TSioTAPI32Dispatcher::TSioTAPI32Dispatcher(TComponent* owner, intptr_t handle) : TSioWin32Dispatcher(owner)
{
    if (handle != 0)
        SetComHandle(handle);
}

intptr_t TSioTAPI32Dispatcher::OpenCom(const char*, uint32_t, uint32_t)
{
    if (ComHandle() > 0)
        return ComHandle();
    SetLastError(2007);
    LastWinError = 2007;
    return -2007;
}
