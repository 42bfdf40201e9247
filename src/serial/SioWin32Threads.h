#pragma once
// The device threads of the Win32 back end and the overlapped operation each of them
// owns (Windows only). A thread starts at most one operation at a time, waits for it in
// bounded slices so KillThreads and termination are seen within 100 ms, and before it
// ends cancels an operation still pending and waits for its completion: the device may
// write into the OVERLAPPED block and the buffer until then.
#include <atomic>
#include <cstdint>
#include <vector>

#include "serial/SioDispatcherThread.h"
#include "serial/SioWin32Dispatcher.h"

// One overlapped operation: its block, event and the memory the device fills or reads.
class SioOverlappedIo {
public:
    static constexpr uint32_t ReadSize = 256;

    // Raises EInOutError when the event cannot be made.
    SioOverlappedIo();
    // An operation that never completed (a driver that ignores cancellation) keeps its
    // memory: it is left allocated rather than freed under the device.
    ~SioOverlappedIo();
    SioOverlappedIo(const SioOverlappedIo&) = delete;
    SioOverlappedIo& operator=(const SioOverlappedIo&) = delete;

    // A fresh block for a new operation, which counts as pending until Done.
    OVERLAPPED* Start();
    void Done() { pending_ = false; }
    bool Pending() const { return pending_; }
    HANDLE Event() const { return block_->event.Get(); }
    OVERLAPPED* Overlapped() { return &block_->overlapped; }
    uint8_t* ReadBuffer() { return block_->read; }
    DWORD& Mask() { return block_->mask; }
    std::vector<uint8_t>& WriteBuffer() { return block_->write; }
    // Cancels the pending operation and waits up to waitMs for it; true when done.
    bool CancelAndWait(HANDLE device, DWORD waitMs);

private:
    struct Block {
        OVERLAPPED overlapped{};
        TKernelHandle event;
        uint8_t read[ReadSize] = {};
        DWORD mask = 0;
        std::vector<uint8_t> write;
    };
    Block* block_;
    bool pending_ = false;
};

class TSioWin32Thread : public TSioDispatcherThread {
public:
    explicit TSioWin32Thread(TSioWin32Dispatcher& dispatcher);
    // Applied by the thread itself at its next turn.
    void SetPriorityBoost(int boost) override { boost_ = boost; }

protected:
    // Waits for the operation: its byte count; 0 when stopped by termination or
    // KillThreads (the operation is then cancelled); a negative value on failure, with
    // the error in IoError.
    virtual int32_t WaitForOverlapped(SioOverlappedIo& io);
    // The wait itself: slices of sliceMs on the operation and the stop event; failure is
    // the answer for a failed operation.
    int32_t WaitInSlices(SioOverlappedIo& io, DWORD sliceMs, int32_t failure);
    // Asked after each slice: true to end the wait with result.
    virtual bool StopEarly(SioOverlappedIo& io, int32_t& result)
    {
        (void)io, (void)result;
        return false;
    }
    // Ends a pending operation before the thread lets go of it.
    virtual void AbortIo(SioOverlappedIo& io);
    bool Stopping() const { return Terminated() || Port.KillThreads; }
    // Sets the thread's priority when a new boost was asked for.
    void ApplyBoost();
    // Records a failure: LastWinError and the thread's result, unless the device was
    // closed (error 6) or the port is closing anyway; in every case the threads end.
    void Fail(int32_t result);

    TSioWin32Dispatcher& Port;
    DWORD IoError = 0;

private:
    std::atomic<int> boost_{0};
    int applied_ = 0;
};

class TReadThread : public TSioWin32Thread {
public:
    using TSioWin32Thread::TSioWin32Thread;

protected:
    void Execute() override;

private:
    // Bytes read (0 when none or aborted), or -161.
    int32_t ReadSerial(SioOverlappedIo& io);
};

class TWriteThread : public TSioWin32Thread {
public:
    using TSioWin32Thread::TSioWin32Thread;

protected:
    static constexpr int32_t Flushed = -1;
    void Execute() override;
    // In shorter slices, and it also ends when a flush is asked for: Flushed then, the
    // write cancelled.
    int32_t WaitForOverlapped(SioOverlappedIo& io) override;
    bool StopEarly(SioOverlappedIo& io, int32_t& result) override;

private:
    // Sends everything in the output ring; 0 or -160.
    int32_t WriteSerial(SioOverlappedIo& io);
};

class TStatusThread : public TSioWin32Thread {
public:
    using TSioWin32Thread::TSioWin32Thread;
    // The comm event mask asked of the device.
    DWORD CommMask = 0;

protected:
    void Execute() override;
    // A pending comm-event wait ends when the mask is cleared; cancelling alone is not
    // enough for every driver.
    void AbortIo(SioOverlappedIo& io) override;

private:
    // 0 with the events in io.Mask(), or negative.
    int32_t WaitSerialEvent(SioOverlappedIo& io);
    // Starts a wait under the dispatcher's lock: false when the port is closing, else
    // error is 0 (the wait ended at once), ERROR_IO_PENDING or the failure.
    bool StartWait(SioOverlappedIo& io, DWORD& error);
};
