#include "serial/SioDispatcherThread.h"

namespace {
thread_local TSioDispatcherThread* currentThread = nullptr;
}

TSioDispatcherThread::~TSioDispatcherThread()
{
    Terminate();
    if (thread_.joinable() && thread_.get_id() == std::this_thread::get_id())
        thread_.detach();  // freed by its own thread: it ends right after this
    Join();
}

TSioDispatcherThread* TSioDispatcherThread::Current() { return currentThread; }

void TSioDispatcherThread::Start() { thread_ = std::thread(&TSioDispatcherThread::Run, this); }

void TSioDispatcherThread::Join()
{
    if (thread_.joinable() && thread_.get_id() != std::this_thread::get_id())
        thread_.join();
}

void TSioDispatcherThread::Run()
{
    currentThread = this;
    Dispatcher.ThreadStart(*this);
    try {
        Execute();
    } catch (...) {
        // A thread that raised (a handler the dispatcher thread called, say) serves its
        // port no more: the port ends as it does when its device fails, so no other
        // thread goes on queuing what nobody reads. While the port closes anyway, it
        // only ends.
        if (!Dispatcher.KillThreads.exchange(true) && !Terminated())
            ReturnValue = Role == TSioThreadRole::Write ? -160 : -161;
        ShowHandledSioException();
    }
    Dispatcher.ThreadGone(*this);
    currentThread = nullptr;
    finished_ = true;
}

void TSioDispatcherThread::SyncNotify(uint32_t msg, uint32_t trigger, int32_t data, TSioNotifyEvent method)
{
    SyncMsg = msg;
    SyncTrigger = trigger;
    SyncData = data;
    SyncMethod = method;
    SioSynchronizeShowingErrors([this] { SyncEvent(); });
    // The method may be bound to the caller's frame: it is not kept past this call.
    SyncMethod = {};
}

void TDispThread::Execute()
{
    TSioBaseDispatcher& d = Dispatcher;
    while (!Terminated()) {
        // A full ring waits for the application to make room instead of spinning over
        // the blocks that wait in the queue.
        if (d.ReceiveRingFull())
            d.WaitForRoom(WaitMs);
        else
            d.DispatchQueue.WaitForBuffer(WaitMs);
        if (d.KillThreads)
            return;
        if (d.ResumeLateDelivery())
            continue;
        d.DispatchCycle();
        d.FollowUpPass();
        if (d.KillThreads || d.DonePortPending()) {
            if (SioEvent* general = d.GeneralEvent())
                general->Set();
            return;
        }
    }
}
