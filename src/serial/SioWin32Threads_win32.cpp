#include <windows.h>

#include <cstring>
#include <exception>
#include <memory>

#include "serial/SioWin32Threads.h"
#include "ui/Handles.h"

namespace {

// The library's code for a block or status entry that could not be had.
constexpr int32_t NoMemory = -13868;
// How long a thread waits for a cancelled operation to complete.
constexpr DWORD CancelWaitMs = 1000;

} // namespace

// ---- The overlapped operation ----

SioOverlappedIo::SioOverlappedIo()
{
    auto block = std::make_unique<Block>();
    block->event.Reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    if (!block->event)
        RaiseLastWin32Error("CreateEventW");
    block_ = block.release();
}

SioOverlappedIo::~SioOverlappedIo()
{
    if (!pending_)
        delete block_;
}

OVERLAPPED* SioOverlappedIo::Start()
{
    block_->overlapped = OVERLAPPED{};
    block_->overlapped.hEvent = block_->event.Get();
    ResetEvent(block_->event.Get());
    pending_ = true;
    return &block_->overlapped;
}

bool SioOverlappedIo::CancelAndWait(HANDLE device, DWORD waitMs)
{
    if (!pending_)
        return true;
    CancelIoEx(device, &block_->overlapped);
    if (WaitForSingleObject(block_->event.Get(), waitMs) == WAIT_OBJECT_0) {
        DWORD count = 0;
        GetOverlappedResult(device, &block_->overlapped, &count, FALSE);
        pending_ = false;
    }
    return !pending_;
}

// ---- Common to the device threads ----

TSioWin32Thread::TSioWin32Thread(TSioWin32Dispatcher& dispatcher) : TSioDispatcherThread(dispatcher), Port(dispatcher)
{
}

void TSioWin32Thread::ApplyBoost()
{
    int boost = boost_;
    if (boost == applied_)
        return;
    SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_NORMAL + boost);
    applied_ = boost;
}

void TSioWin32Thread::Fail(int32_t result)
{
    // A failure while the port closes (the device cancelled under us, the mask cleared)
    // is the close itself, not a broken device.
    if (!Stopping() && IoError != ERROR_INVALID_HANDLE) {
        Port.LastWinError = IoError;
        ReturnValue = result;
    }
    Port.KillThreads = true;
}

void TSioWin32Thread::AbortIo(SioOverlappedIo& io) { io.CancelAndWait(Port.Device(), CancelWaitMs); }

int32_t TSioWin32Thread::WaitForOverlapped(SioOverlappedIo& io) { return WaitInSlices(io, 100, -161); }

int32_t TSioWin32Thread::WaitInSlices(SioOverlappedIo& io, DWORD sliceMs, int32_t failure)
{
    HANDLE waits[2] = {io.Event(), Port.StopEvent()};
    for (;;) {
        DWORD r = WaitForMultipleObjects(2, waits, FALSE, sliceMs);
        if (r == WAIT_OBJECT_0) {
            DWORD count = 0;
            BOOL ok = GetOverlappedResult(Port.Device(), io.Overlapped(), &count, TRUE);
            IoError = ok ? 0 : GetLastError();
            io.Done();
            ResetEvent(io.Event());
            return ok ? static_cast<int32_t>(count) : failure;
        }
        if (r == WAIT_OBJECT_0 + 1 || r == WAIT_TIMEOUT) {
            int32_t early = 0;
            if (StopEarly(io, early))
                return early;
            if (r == WAIT_OBJECT_0 + 1 || Stopping()) {
                AbortIo(io);
                return 0;
            }
            continue;
        }
        IoError = GetLastError();
        AbortIo(io);
        return failure;
    }
}

// ---- Read thread ----

int32_t TReadThread::ReadSerial(SioOverlappedIo& io)
{
    DWORD count = 0;
    OVERLAPPED* overlapped = io.Start();
    if (ReadFile(Port.Device(), io.ReadBuffer(), SioOverlappedIo::ReadSize, &count, overlapped)) {
        io.Done();
        return static_cast<int32_t>(count);
    }
    DWORD error = GetLastError();
    if (error == ERROR_IO_PENDING) {
        int32_t n = WaitForOverlapped(io);
        // A read cancelled by a purge or a close brought nothing.
        return n < 0 && IoError == ERROR_OPERATION_ABORTED ? 0 : n;
    }
    io.Done();
    IoError = error;
    return -161;
}

void TReadThread::Execute()
{
    SioOverlappedIo io;
    // A read returns at once with whatever has arrived.
    COMMTIMEOUTS timeouts{MAXDWORD, 0, 0, 0, 0};
    SetCommTimeouts(Port.Device(), &timeouts);
    ReturnValue = 0;
    while (!Stopping()) {
        ApplyBoost();
        DWORD w = WaitForSingleObject(Port.SerialEvent(), 50);
        if (w != WAIT_OBJECT_0 && w != WAIT_TIMEOUT) {
            IoError = GetLastError();
            Fail(-161);
            break;
        }
        int32_t n = 0;
        while (!Stopping() && (n = ReadSerial(io)) > 0) {
            std::unique_ptr<TDataBuffer> block;
            try {
                block = std::make_unique<TDataBuffer>(SioOverlappedIo::ReadSize);
            } catch (const std::exception&) {
                ReturnValue = NoMemory;
                Port.KillThreads = true;
                return;
            }
            std::memcpy(block->Data.get(), io.ReadBuffer(), static_cast<size_t>(n));
            block->BytesUsed = n;
            Port.DispatchQueue.Push(std::move(block));
        }
        if (!Stopping() && n < 0) {
            Fail(-161);
            break;
        }
    }
}

// ---- Write thread ----

int32_t TWriteThread::WaitForOverlapped(SioOverlappedIo& io) { return WaitInSlices(io, 20, -160); }

bool TWriteThread::StopEarly(SioOverlappedIo& io, int32_t& result)
{
    SioEvent* flush = Port.OutFlushEvent();
    if (!flush || !flush->WaitFor(0))
        return false;
    AbortIo(io);
    IoError = 0;
    result = Flushed;
    return true;
}

int32_t TWriteThread::WriteSerial(SioOverlappedIo& io)
{
    while (Port.OutputRingUsed() > 0) {
        // Taken out of the ring at once, so the application can queue more meanwhile.
        std::vector<uint8_t>& data = io.WriteBuffer();
        data = Port.TakeOutputRing();
        size_t done = 0;
        while (done < data.size()) {
            if (Stopping())
                return 0;
            DWORD count = 0;
            OVERLAPPED* overlapped = io.Start();
            auto rest = static_cast<DWORD>(data.size() - done);
            if (WriteFile(Port.Device(), data.data() + done, rest, &count, overlapped)) {
                io.Done();
                done += count;
                continue;
            }
            DWORD error = GetLastError();
            if (error != ERROR_IO_PENDING) {
                io.Done();
                IoError = error;
                return -160;
            }
            int32_t n = WaitForOverlapped(io);
            if (n == Flushed) {
                // A flush: the rest of the block goes with the ring's contents.
                if (SioEvent* general = Port.GeneralEvent())
                    general->Set();
                return 0;
            }
            if (n < 0) {
                if (IoError != ERROR_OPERATION_ABORTED)
                    return -160;
                // Aborted (by a purge, say): nothing was written. When a flush asked
                // for it the rest is dropped, else the write goes on.
                SioEvent* flush = Port.OutFlushEvent();
                if (flush && flush->WaitFor(200)) {
                    if (SioEvent* general = Port.GeneralEvent())
                        general->Set();
                    return 0;
                }
                continue;
            }
            done += static_cast<size_t>(n);
        }
    }
    return 0;
}

void TWriteThread::Execute()
{
    SioOverlappedIo io;
    ReturnValue = 0;
    SioEventPair wake = Port.OutputWaitPair();
    while (!Stopping()) {
        ApplyBoost();
        int which = wake.WaitFor(100);
        if (which == 0) {
            if (!Stopping() && WriteSerial(io) != 0) {
                Fail(-160);
                break;
            }
        } else if (which == 1) {
            if (SioEvent* general = Port.GeneralEvent())
                general->Set();  // a flush is acknowledged
        }
    }
}

// ---- Status thread ----

bool TStatusThread::StartWait(SioOverlappedIo& io, DWORD& error)
{
    std::lock_guard<std::mutex> guard(Port.statusStart_);
    if (Stopping())
        return false;
    io.Mask() = 0;
    BOOL ok = WaitCommEvent(Port.Device(), &io.Mask(), io.Start());
    error = ok ? 0 : GetLastError();
    if (error != ERROR_IO_PENDING)
        io.Done();
    return true;
}

int32_t TStatusThread::WaitSerialEvent(SioOverlappedIo& io)
{
    DWORD error = 0;
    if (!StartWait(io, error))
        return 0;
    bool retry = false;
    if (error == ERROR_INVALID_PARAMETER && (CommMask & CommEvent::RingTrailingEdge)) {
        // Only platforms outside the NT family take the ring's trailing edge.
        CommMask &= ~CommEvent::RingTrailingEdge;
        retry = true;
    } else if (error == ERROR_NOT_SUPPORTED && CommMask != CommEvent::RxChar) {
        // A driver without modem and line events (ptys, some USB adapters): received
        // characters still wake the read thread.
        CommMask = CommEvent::RxChar;
        retry = true;
    }
    if (retry) {
        SetCommMask(Port.Device(), CommMask);
        if (!StartWait(io, error))
            return 0;
    }
    if (error == 0)
        return 0;
    if (error == ERROR_IO_PENDING) {
        int32_t n = WaitForOverlapped(io);
        return n < 0 && IoError == ERROR_OPERATION_ABORTED ? 0 : n < 0 ? n : 0;
    }
    IoError = error;
    return -161;
}

void TStatusThread::AbortIo(SioOverlappedIo& io)
{
    if (io.Pending())
        SetCommMask(Port.Device(), 0);
    io.CancelAndWait(Port.Device(), CancelWaitMs);
}

void TStatusThread::Execute()
{
    SioOverlappedIo io;
    CommMask = SioPlatformIsNT() ? 0x1F9 : 0x21F9;
    SetCommMask(Port.Device(), CommMask);
    ReturnValue = 0;
    while (!Stopping()) {
        ApplyBoost();
        int32_t r = WaitSerialEvent(io);
        if (Stopping())
            break;
        if (r < 0) {
            Fail(r);
            break;
        }
        DWORD mask = io.Mask();
        if (mask & CommEvent::RxChar)
            SetEvent(Port.SerialEvent());
        if (mask & 0x21F8) {
            std::unique_ptr<TStatusBuffer> status;
            try {
                status = std::make_unique<TStatusBuffer>();
            } catch (const std::exception&) {
                ReturnValue = NoMemory;
                Port.KillThreads = true;
                return;
            }
            status->Status = mask;
            Port.DispatchQueue.Push(std::move(status));
        }
    }
}
