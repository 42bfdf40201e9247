#pragma once
// The threads of a port. TSioDispatcherThread is their common base: a joinable thread
// that its dispatcher owns from before it runs until it has been joined, so nothing the
// thread uses is released while it still runs. The dispatcher thread (TDispThread)
// fills the receive ring and runs the trigger checks; a back end adds its device
// threads (read, write, status) as further subclasses.
#include <atomic>
#include <cstdint>
#include <functional>
#include <thread>

#include "serial/SioDispatcher.h"

class TSioDispatcherThread {
public:
    explicit TSioDispatcherThread(TSioBaseDispatcher& dispatcher) : Dispatcher(dispatcher) {}
    // Joins the thread when it still runs (asking it to terminate first).
    virtual ~TSioDispatcherThread();
    TSioDispatcherThread(const TSioDispatcherThread&) = delete;
    TSioDispatcherThread& operator=(const TSioDispatcherThread&) = delete;

    // Runs method(msg, trigger, data) on the main thread and returns when it has run. An
    // exception it raises is shown in the exception box; the thread goes on.
    void SyncNotify(uint32_t msg, uint32_t trigger, int32_t data, TSioNotifyEvent method);
    void SyncEvent() { SyncMethod(SyncMsg, SyncTrigger, SyncData); }
    void Sync(const std::function<void()>& method) { SioSynchronize(method); }

    void Terminate() { terminated_ = true; }
    bool Terminated() const { return terminated_; }
    bool Finished() const { return finished_; }
    // The thread's priority as normal + boost; the portable threads keep theirs.
    virtual void SetPriorityBoost(int boost) { (void)boost; }
    // The thread object the calling thread runs, or null.
    static TSioDispatcherThread* Current();

    TSioBaseDispatcher& Dispatcher;
    TSioThreadRole Role = TSioThreadRole::Dispatch;
    // 0, or the failure the thread ended with (-160 write, -161 read or status).
    std::atomic<int32_t> ReturnValue{0};
    uint32_t SyncMsg = 0;
    uint32_t SyncTrigger = 0;
    int32_t SyncData = 0;
    TSioNotifyEvent SyncMethod;

protected:
    // The thread's work; ThreadStart runs before it and ThreadGone after it, also when
    // it raises: the exception is then shown in the exception box and the thread ends
    // as a failed one (-160 the write thread, -161 the others), ending the port's
    // threads with it.
    virtual void Execute() = 0;

private:
    friend class TSioBaseDispatcher;
    void Start();
    void Join();
    void Run();

    std::thread thread_;
    std::atomic<bool> terminated_{false};
    std::atomic<bool> finished_{false};
};

// The dispatcher thread: waits up to 50 ms for work, runs a dispatch cycle and the
// follow-up pass, until KillThreads or a pending close.
class TDispThread : public TSioDispatcherThread {
public:
    using TSioDispatcherThread::TSioDispatcherThread;
    static constexpr uint32_t WaitMs = 50;

protected:
    void Execute() override;
};
