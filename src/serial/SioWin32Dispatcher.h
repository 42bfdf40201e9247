#pragma once
// The dispatcher of a serial device on the Win32 communications interface, with
// overlapped I/O (Windows only). Besides the dispatcher thread it runs three device
// threads (SioWin32Threads.h): the read thread turns received bytes into 256-byte
// blocks on the dispatch queue, the status thread turns comm events into status
// entries on the same queue (and wakes the read thread for received characters), and
// the write thread sends what the application put into the output ring.
//
// Who may touch what: each device thread alone starts, waits for and cancels its own
// overlapped operation; CloseCom (application thread) only sets KillThreads and the
// stop event, ends the status thread's wait through the comm mask and waits for the
// threads, and closes the device after the last one has ended.
#include <atomic>
#include <mutex>
#include <thread>

#include "serial/SioDispatcher.h"
#include "ui/Handles.h"

class TSioWin32Dispatcher : public TSioBaseDispatcher {
public:
    // Raises EInOutError when its events cannot be made.
    explicit TSioWin32Dispatcher(TComponent* owner);
    ~TSioWin32Dispatcher() override;

    int32_t EscapeComFunction(int32_t func) override;
    int32_t FlushCom(int32_t queue) override;
    uint32_t GetComError(TSioComStat& stat) override;
    int32_t GetComEventMask(int32_t evtMask) override;
    int32_t GetComState(TSioDCB& dcb) override;
    int32_t ReadCom(uint8_t* buffer, int32_t size) override;
    int32_t SetComState(const TSioDCB& dcb) override;
    int32_t WriteCom(const uint8_t* buffer, int32_t size) override;
    bool WaitComEvent(uint32_t& evtMask, void* overlapped) override;
    bool SetupCom(uint32_t inSize, uint32_t outSize) override;
    void StartDispatcher() override;
    void StopDispatcher() override;
    uint32_t OutBufUsed() override;
    uint32_t InQueueUsed() override;
    intptr_t OpenCom(const char* name, uint32_t inSize, uint32_t outSize) override;
    // Stops the threads and closes the device. A second close while one runs on another
    // thread waits for it (handling this thread's messages) instead of closing under it.
    int32_t CloseCom() override;
    int32_t ProcessCommunications() override;
    uint8_t GetComModemStatus() override;
    int32_t SetComBreak(bool on) override;

    HANDLE Device() const { return reinterpret_cast<HANDLE>(ComHandle()); }
    // Auto-reset: received characters are waiting (the status thread sets it).
    HANDLE SerialEvent() const { return serialEvent_.Get(); }
    // Manual-reset, set by CloseCom: the device threads stop waiting at once.
    HANDLE StopEvent() const { return stopEvent_.Get(); }

private:
    friend class TSioWin32Thread;
    friend class TReadThread;
    friend class TWriteThread;
    friend class TStatusThread;

    TKernelHandle serialEvent_;
    TKernelHandle stopEvent_;
    // The status thread checks KillThreads and starts its wait under this lock, and
    // CloseCom sets KillThreads under it before it clears the comm mask: so no wait is
    // ever started with the cleared mask, which some drivers would never complete.
    std::mutex statusStart_;
    std::atomic<std::thread::id> closingThread_{};
};

// A dispatcher on a device handle opened elsewhere; its OpenCom answers that handle.
class TSioTAPI32Dispatcher : public TSioWin32Dispatcher {
public:
    TSioTAPI32Dispatcher(TComponent* owner, intptr_t handle);
    // The handle given; without one, -2007 with the last error 2007.
    intptr_t OpenCom(const char* name, uint32_t inSize, uint32_t outSize) override;
};
