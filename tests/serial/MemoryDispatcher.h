#pragma once
// An in-memory back end for the dispatcher: the test pushes received blocks and comm
// events onto the dispatch queue, reads what the application wrote from the output
// ring, sets modem lines, line errors and hold flags, and drives the dispatch cycle
// itself or lets the real dispatcher thread do it.
#include <atomic>
#include <chrono>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "serial/SioDispatcherThread.h"
#include "ui/Exceptions.h"

class MemoryDispatcher : public TSioBaseDispatcher {
public:
    // threaded: StartDispatcher runs the dispatcher thread and a device thread.
    explicit MemoryDispatcher(bool threaded = false, TComponent* owner = nullptr)
        : TSioBaseDispatcher(owner), threaded_(threaded)
    {
        device.BaudRate = 9600;
        device.ByteSize = 8;
        sendTimeoutMs_ = 60000;  // a loaded test machine is no late handler; late ones set less
    }
    ~MemoryDispatcher() override { FinishPort(); }

    int32_t Open(uint32_t options = 3, uint32_t outSize = 4096)
    {
        return InitPort("\\\\.\\COM5", 38400, 0, 8, 1, 4096, outSize, options);
    }

    // ---- The test's side of the device ----
    void PushData(const std::string& bytes, size_t blockSize = 256)
    {
        for (size_t at = 0; at < bytes.size(); at += blockSize) {
            auto block = std::make_unique<TDataBuffer>(static_cast<int32_t>(blockSize));
            size_t n = std::min(blockSize, bytes.size() - at);
            std::copy(bytes.begin() + at, bytes.begin() + at + n, block->Data.get());
            block->BytesUsed = static_cast<int32_t>(n);
            DispatchQueue.Push(std::move(block));
        }
    }
    void PushStatus(uint32_t mask)
    {
        auto status = std::make_unique<TStatusBuffer>();
        status->Status = mask;
        DispatchQueue.Push(std::move(status));
    }
    // Everything written so far (what a write thread would have sent).
    std::string Written()
    {
        std::vector<uint8_t> pending = TakeOutputRing();
        std::lock_guard<std::mutex> guard(lock_);
        written_.append(pending.begin(), pending.end());
        return written_;
    }
    void SetLines(uint8_t lines) { lines_ = lines; }
    void AddLineErrors(uint32_t bits)
    {
        std::lock_guard<std::mutex> guard(lock_);
        pendingErrors_ |= bits;
    }
    void SetHoldFlags(uint32_t flags) { holdFlags_ = flags; }
    TSioDCB Device()
    {
        std::lock_guard<std::mutex> guard(lock_);
        return device;
    }
    std::vector<int32_t> Escapes()
    {
        std::lock_guard<std::mutex> guard(lock_);
        return escapes_;
    }
    // Runs cycles as the dispatcher thread would, until nothing is left to take.
    void Cycle(int times = 1)
    {
        for (int i = 0; i < times; ++i) {
            DispatchCycle();
            FollowUpPass();
        }
    }

    using TSioBaseDispatcher::sendTimeoutMs_;

    TSioDCB device;  // the device's settings (set before opening)
    bool failOpen = false;
    bool failSetup = false;
    uint32_t systemError = 2;
    int32_t setStateResult = 0;
    int32_t escapeResult = 0;
    uint16_t baseAddress = 0x3F8;
    std::atomic<int> setStateCalls{0};
    std::atomic<int> closeCalls{0};
    std::atomic<int> breakChanges{0};
    std::atomic<bool> breakOn{false};
    // The device thread ends with this failure (-160, -161) once it is not 0.
    std::atomic<int32_t> failDevice{0};
    // WriteCom answers this instead of writing, once it is not 0.
    std::atomic<int32_t> writeResult{0};
    // The priority boost the device thread was last given.
    std::atomic<int> deviceBoost{-1};
    // How often the device's status was read (GetComError).
    std::atomic<int> statusReads{0};

    // ---- Device operations ----
    int32_t EscapeComFunction(int32_t func) override
    {
        std::lock_guard<std::mutex> guard(lock_);
        escapes_.push_back(func);
        return func == ComEscape::GetBaseAddress ? baseAddress : escapeResult;
    }
    int32_t FlushCom(int32_t queue) override
    {
        if (queue == 0)
            EmptyOutputRing();
        else
            DispatchQueue.Clear();
        return 0;
    }
    uint32_t GetComError(TSioComStat& stat) override
    {
        ++statusReads;
        uint32_t used = OutBufUsed();
        std::lock_guard<std::mutex> guard(lock_);
        stat.Flags = holdFlags_;
        stat.InQue = 0;
        stat.OutQue = used;
        uint32_t errors = pendingErrors_;
        pendingErrors_ = 0;
        return errors;
    }
    int32_t GetComEventMask(int32_t) override { return 0; }
    int32_t GetComState(TSioDCB& dcb) override
    {
        std::lock_guard<std::mutex> guard(lock_);
        dcb = device;
        return 0;
    }
    int32_t ReadCom(uint8_t* buffer, int32_t size) override { return ReadDispatchQueue(buffer, size); }
    int32_t SetComState(const TSioDCB& dcb) override
    {
        ++setStateCalls;
        std::lock_guard<std::mutex> guard(lock_);
        if (setStateResult == 0)
            device = dcb;
        return setStateResult;
    }
    int32_t WriteCom(const uint8_t* buffer, int32_t size) override
    {
        return writeResult ? writeResult.load() : WriteOutputRing(buffer, size);
    }
    bool WaitComEvent(uint32_t& evtMask, void*) override
    {
        evtMask = 0;
        return true;
    }
    bool SetupCom(uint32_t, uint32_t) override
    {
        if (failSetup)
            LastWinError = systemError;
        return !failSetup;
    }
    void StartDispatcher() override;
    void StopDispatcher() override { CloseCom(); }
    uint32_t OutBufUsed() override { return OutputRingUsed(); }
    uint32_t InQueueUsed() override { return DispatchQueueHeadBytes(); }
    intptr_t OpenCom(const char*, uint32_t, uint32_t) override
    {
        static std::atomic<intptr_t> nextDevice{100};
        if (failOpen) {
            LastWinError = systemError;
            return -1;
        }
        return nextDevice++;
    }
    int32_t CloseCom() override
    {
        if (Closing.exchange(true))
            return 0;
        if (DispActive())
            StopThreads();
        if (ComHandle() >= 0) {
            ++closeCalls;
            SetComHandle(-1);
        }
        Closing = false;
        return 0;
    }
    int32_t ProcessCommunications() override { return 0; }
    uint8_t GetComModemStatus() override { return lines_; }
    int32_t SetComBreak(bool on) override
    {
        ++breakChanges;
        breakOn = on;
        return 0;
    }

private:
    // Stands for a device thread (in the write thread's place): idles until the port
    // closes or the test makes it fail.
    class DeviceThread : public TSioDispatcherThread {
    public:
        DeviceThread(MemoryDispatcher& d) : TSioDispatcherThread(d), device_(d) {}
        void SetPriorityBoost(int boost) override { device_.deviceBoost = boost; }

    protected:
        void Execute() override
        {
            while (!device_.KillThreads && !Terminated()) {
                if (int32_t failure = device_.failDevice) {
                    ReturnValue = failure;
                    device_.KillThreads = true;
                    return;
                }
                std::this_thread::sleep_for(std::chrono::milliseconds(2));
            }
        }

    private:
        MemoryDispatcher& device_;
    };

    const bool threaded_;
    std::mutex lock_;  // the device's own state; taken last
    std::vector<int32_t> escapes_;
    std::string written_;
    uint32_t pendingErrors_ = 0;
    std::atomic<uint32_t> holdFlags_{0};
    std::atomic<uint8_t> lines_{0};
};

inline void MemoryDispatcher::StartDispatcher()
{
    BeginDispatcher();
    if (!threaded_)
        return;
    StartThread(TSioThreadRole::Dispatch, std::make_unique<TDispThread>(*this));
    StartThread(TSioThreadRole::Write, std::make_unique<DeviceThread>(*this));
}
