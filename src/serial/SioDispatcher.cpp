// The dispatcher's life: construction, opening and closing a port, its events and the
// bookkeeping of its threads.
#include "serial/SioDispatcher.h"

#include <chrono>
#include <thread>
#include <utility>

#include "serial/SioClock.h"
#include "serial/SioDispatcherThread.h"
#include "serial/SioExceptions.h"
#include "serial/SioNotifyCourier.h"
#include "serial/SioPortList.h"
#include "ui/Exceptions.h"

namespace {
std::atomic<uint64_t> lastDeliveryKey{0};
}

TSioBaseDispatcher::TSioBaseDispatcher(TComponent* owner)
    : Owner(owner), roomEvent_(std::make_unique<SioEvent>(false)), courier_(std::make_unique<SioNotifyCourier>(*this)),
      deliveryKey_(++lastDeliveryKey)
{
    handle_ = EnterPortList(this);
}

TSioBaseDispatcher::~TSioBaseDispatcher()
{
    // A back end has closed the port in its own destructor (FinishPort); what is left
    // here needs no device operation.
    JoinThreads();
    courier_.reset();
    ReleaseEvents();
    ReleaseRings();
    LeavePortList(this, handle_);
}

void TSioBaseDispatcher::FinishPort()
{
    if (finished_)
        return;
    finished_ = true;
    if (!donePortPending_ && !eventBusy_)
        DonePort();
    DonePortPrim();
    while (runningThreads_ > 0) {
        if (!SafeYield())
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

bool TSioBaseDispatcher::OnPortThread() const
{
    TSioDispatcherThread* current = TSioDispatcherThread::Current();
    return current && &current->Dispatcher == this;
}

// ---- Open and close ----

int32_t TSioBaseDispatcher::LastErrorResult()
{
    uint32_t error = LastWinError;
    return error ? -static_cast<int32_t>(error & 0x7FFFFFFF) : -1;
}

int32_t TSioBaseDispatcher::InitPort(const char* name, int32_t baud, uint32_t parity, uint8_t dataBits,
                                     uint8_t stopBits, uint32_t inSize, uint32_t outSize, uint32_t options)
{
    {
        std::lock_guard<std::recursive_mutex> guard(DataSection);
        ringFlag_ = false;
        eventBusy_ = false;
        handlerCleanup_ = false;
    }
    finished_ = false;
    CreateEvents();

    intptr_t device = OpenCom(name, inSize, outSize);
    if (device < 0) {
        int32_t result = device == -8 ? -8 : LastErrorResult();
        comHandle_ = -1;
        DonePort();
        return result;
    }
    comHandle_ = device;
    if (!SetupCom(inSize, outSize)) {
        int32_t result = LastErrorResult();
        DonePort();
        return result;
    }

    MakeReceiveRing();
    {
        std::lock_guard<std::recursive_mutex> guard(OutputSection);
        oBuffer_.reset(new uint8_t[outSize ? outSize : 1]());
        oBufHead_ = oBufTail_ = 0;
        oBufFull_ = false;
    }
    inQue_ = inSize;
    outQue_ = outSize;
    {
        std::lock_guard<std::recursive_mutex> guard(DataSection);
        lastError_ = 0;
    }
    outSentPending_ = false;
    donePortPending_ = false;
    rs485Mode_ = false;
    baseAddress_ = 0;

    {
        std::lock_guard<std::recursive_mutex> guard(DataSection);
        GetComState(dcb_);
    }
    if (options & 0x10) {
        dtrAuto_ = true;
    } else {
        dtrAuto_ = false;
        SetDtr(options & 1);
    }
    if (options & 0x20)
        rtsAuto_ = true;
    else
        SetRts(options & 2);

    RemoveAllTriggers();
    lengthFiredPos_ = 0;
    {
        std::lock_guard<std::recursive_mutex> guard(DataSection);
        modemStatus_ = 0;
    }
    GetModemStatusPrim(0xF0);
    lastBaud_ = 115200;

    if (int32_t result = SetLine(baud, parity, dataBits, stopBits)) {
        DonePort();
        return result;
    }
    RefreshStatus();
    trace_.StopTracing();
    log_.SetTimeBase(SioTimeGetTime());
    log_.StopDispatchLogging();
    StartDispatcher();
    return 0;
}

int32_t TSioBaseDispatcher::InitSocket(uint32_t inSize, uint32_t outSize)
{
    {
        std::lock_guard<std::recursive_mutex> guard(DataSection);
        ringFlag_ = false;
        eventBusy_ = false;
        handlerCleanup_ = false;
        lastError_ = 0;
    }
    finished_ = false;
    CreateEvents();
    MakeReceiveRing();
    inQue_ = inSize;
    outQue_ = outSize;
    donePortPending_ = false;
    RemoveAllTriggers();
    lengthFiredPos_ = 0;
    log_.SetTimeBase(SioTimeGetTime());
    StartDispatcher();
    return 0;
}

void TSioBaseDispatcher::DonePort()
{
    // A close asked for from a handler (or while a wait routine runs) must not wait for
    // the dispatcher thread, which may be waiting for that very handler: it only asks
    // the threads to end and leaves the rest to the owner.
    bool deferred = eventBusy_ || OnPortThread();
    if (comHandle_ >= 0) {
        FlushOutBuffer();
        FlushInBuffer();
        if (!deferred)
            CloseCom();
    }
    if (!deferred) {
        DonePortPrim();
        return;
    }
    donePortPending_ = true;
    KillThreads = true;
    WakeThreads();
}

void TSioBaseDispatcher::DonePortPrim()
{
    if (OnPortThread()) {
        KillThreads = true;  // the owner finishes the close
        return;
    }
    if (dispActive_)
        StopDispatcher();
    StopThreads();
    if (comHandle_ >= 0)
        CloseCom();
    ReleaseEvents();
    ReleaseRings();
}

void TSioBaseDispatcher::ReleaseRings()
{
    {
        std::lock_guard<std::recursive_mutex> guard(DispSection);
        dBuffer_.reset();
    }
    std::lock_guard<std::recursive_mutex> guard(OutputSection);
    oBuffer_.reset();
    oBufHead_ = oBufTail_ = 0;
    oBufFull_ = false;
}

void TSioBaseDispatcher::CreateEvents()
{
    // ComEvent, ReadyEvent, GeneralEvent, OutputEvent, SentEvent (manual), OutFlushEvent.
    for (int i = 0; i < 6; ++i)
        if (!events_[i])
            events_[i] = std::make_unique<SioEvent>(i == 4);
}

void TSioBaseDispatcher::ReleaseEvents()
{
    for (auto& event : events_)
        event.reset();
}

void TSioBaseDispatcher::WakeThreads()
{
    for (auto& event : {ComEvent(), ReadyEvent()})
        if (event)
            event->Set();
    roomEvent_->Set();
    DispatchQueue.Wake();  // the dispatcher thread sees KillThreads at once
}

// ---- Threads ----

void TSioBaseDispatcher::BeginDispatcher()
{
    std::lock_guard<std::recursive_mutex> guard(DataSection);
    if (dispActive_)
        throw Exception("Dispatcher already started.");
    dispActive_ = true;
    KillThreads = false;
}

void TSioBaseDispatcher::StartThread(TSioThreadRole role, std::unique_ptr<TSioDispatcherThread> thread)
{
    auto& slot = threads_[static_cast<int>(role)];
    thread->Role = role;
    TSioDispatcherThread* fresh = thread.get();
    std::unique_ptr<TSioDispatcherThread> previous;
    {
        std::lock_guard<std::recursive_mutex> guard(DataSection);
        previous = std::exchange(slot, std::move(thread));
    }
    previous.reset();  // joins an ended one of an earlier open
    ++runningThreads_;
    try {
        fresh->Start();
    } catch (...) {
        --runningThreads_;
        std::lock_guard<std::recursive_mutex> guard(DataSection);
        slot.reset();  // it never ran: nothing to join
        throw;
    }
    if (SioEvent* started = GeneralEvent())
        started->WaitFor(3000);
}

void TSioBaseDispatcher::StopThreads()
{
    KillThreads = true;
    WakeThreads();
    for (TSioThreadRole role : {TSioThreadRole::Status, TSioThreadRole::Write, TSioThreadRole::Read,
                                TSioThreadRole::Dispatch}) {
        TSioDispatcherThread* thread;
        {
            // The port's one closer (its owner) is the only thread that changes the slots.
            std::lock_guard<std::recursive_mutex> guard(DataSection);
            thread = threads_[static_cast<int>(role)].get();
        }
        if (!thread || thread == TSioDispatcherThread::Current())
            continue;
        // The thread may be waiting for a handler on this thread: keep its messages moving.
        while (!thread->Finished()) {
            if (!SafeYield())
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    }
    JoinThreads();
    dispActive_ = false;
}

void TSioBaseDispatcher::JoinThreads()
{
    // Taken out of their slots first: another thread setting a boost or the RS-485 mode
    // calls a thread object only while it is in its slot, under the same lock.
    std::unique_ptr<TSioDispatcherThread> ended[4];
    {
        std::lock_guard<std::recursive_mutex> guard(DataSection);
        for (int i = 0; i < 4; ++i) {
            if (threads_[i] && threads_[i].get() != TSioDispatcherThread::Current())
                ended[i] = std::move(threads_[i]);
        }
    }
    for (auto& thread : ended) {
        if (thread) {
            thread->Join();
            thread.reset();
        }
    }
}

bool TSioBaseDispatcher::ThreadAlive(TSioThreadRole role)
{
    std::lock_guard<std::recursive_mutex> guard(DataSection);
    const auto& thread = threads_[static_cast<int>(role)];
    return thread && !thread->Finished();
}

void TSioBaseDispatcher::ThreadStart(TSioDispatcherThread& thread)
{
    if (thread.Role == TSioThreadRole::Dispatch)
        DispatcherServes(true);
    if (SioEvent* started = GeneralEvent())
        started->Set();
}

void TSioBaseDispatcher::ThreadGone(TSioDispatcherThread& thread)
{
    if (thread.Role == TSioThreadRole::Dispatch)
        DispatcherServes(false);
    int32_t result = thread.ReturnValue;
    try {
        if (result == -160 || result == -161) {
            {
                std::lock_guard<std::recursive_mutex> guard(DataSection);
                lastError_ = LineErr::DeviceFailure;
            }
            // A line-error status trigger reports the failure. A handler running now
            // keeps it back until it returns (it may be one the dispatcher thread stopped
            // waiting for, and that thread has ended with this failure): then it goes
            // out, unless the port is closing meanwhile.
            while (eventBusy_ && !donePortPending_)
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
            if (!eventBusy_ && !donePortPending_)
                CheckStatusTriggers();
        } else {
            CheckException(Owner, result);
        }
    } catch (...) {
        // The exception for the result, or one a handler of the failure notice raised:
        // shown, and the thread is still counted out.
        ShowHandledSioException();
    }
    if (--runningThreads_ == 0)
        dispActive_ = false;
}

// Other threads than the one that opens and closes the port call a thread object only in
// its slot, under DataSection: the close takes it out under the same lock before it
// joins and destroys it.
void TSioBaseDispatcher::SetThreadBoost(uint8_t boost)
{
    std::lock_guard<std::recursive_mutex> guard(DataSection);
    if (boost == threadBoost_)
        return;
    threadBoost_ = boost;
    for (TSioThreadRole role : {TSioThreadRole::Read, TSioThreadRole::Write, TSioThreadRole::Status}) {
        if (auto& thread = threads_[static_cast<int>(role)])
            thread->SetPriorityBoost(boost + (role == TSioThreadRole::Write && rs485Mode_ ? 1 : 0));
    }
}

// ---- Trace, log and state ----

void TSioBaseDispatcher::AddLog(TDispatchType type, TDispatchSubType subType, uint32_t data, const void* buffer,
                                int32_t len)
{
    if (log_.LogOn())
        log_.AddDispatchEntry(type, subType, data, buffer, len);
}

void TSioBaseDispatcher::AddTraceBytes(char type, const uint8_t* bytes, uint32_t count)
{
    if (!trace_.TraceOn() || count == 0)
        return;
    std::lock_guard<std::recursive_mutex> guard(DataSection);
    for (uint32_t i = 0; i < count; ++i)
        trace_.AddTraceEntry(type, bytes[i]);
}

void TSioBaseDispatcher::AddStringToLog(const std::string& s)
{
    AddLog(dtUser, dstNone, 0, s.data(), static_cast<int32_t>(s.size()));
}
