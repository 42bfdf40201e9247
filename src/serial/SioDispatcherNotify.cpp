// The dispatcher's trigger checks, the delivery of notifications to every handler, and
// the dispatch cycle of the dispatcher thread.
#include <algorithm>

#include "serial/SioDispatcher.h"
#include "serial/SioDispatcherThread.h"
#include "serial/SioNotifyCourier.h"

namespace {
constexpr uint64_t RingSize = TSioBaseDispatcher::DispatchBufferSize;
}

// ---- Checks ----

bool TSioBaseDispatcher::CheckTriggers()
{
    return CheckTimerTriggers() || CheckStatusTriggers() || CheckReceiveTriggers();
}

bool TSioBaseDispatcher::CheckTimerTriggers()
{
    std::lock_guard<std::mutex> check(checkLock_);
    return CheckTimerTriggersPrim();
}

bool TSioBaseDispatcher::CheckStatusTriggers()
{
    std::lock_guard<std::mutex> check(checkLock_);
    return CheckStatusTriggersPrim();
}

bool TSioBaseDispatcher::CheckTimerTriggersPrim()
{
    uint32_t handle = 0;
    {
        std::lock_guard<std::recursive_mutex> guard(DataSection);
        for (auto& trigger : timerTriggers_) {
            if (trigger->Active && TimerExpired(trigger->Timer)) {
                trigger->Active = false;
                handle = trigger->Handle;
                AddLog(dtTrigger, dstTimer, handle);
                break;
            }
        }
    }
    return handle && SendNotify(TriggerTimerMessage, handle, 0);
}

bool TSioBaseDispatcher::StatusHolds(TStatusTrigger& trigger, uint32_t& data)
{
    data = 0;
    switch (trigger.StatusType) {
    case stModem:
        return ((trigger.Value & 0xFF) ^ modemStatus_) & (trigger.Value >> 8);
    case stLine:
        return trigger.Value & lastError_;
    case stOutBuffFree:
        data = OutBuffFree();
        return data >= trigger.Value;
    case stOutBuffUsed:
        data = OutBuffUsed();
        return data <= trigger.Value;
    case stOutSent:
        return outSentPending_.exchange(false);
    default:
        return false;
    }
}

bool TSioBaseDispatcher::CheckStatusTriggersPrim()
{
    uint32_t handle = 0;
    uint32_t data = 0;
    {
        std::lock_guard<std::recursive_mutex> guard(DataSection);
        for (auto& trigger : statusTriggers_) {
            if (!trigger->Active || trigger->Hit || !StatusHolds(*trigger, data))
                continue;
            trigger->Active = false;
            trigger->Hit = true;
            statusHit_ = true;
            handle = trigger->Handle;
            AddLog(dtTrigger, dstStatus, handle);
            break;
        }
    }
    return handle && SendNotify(TriggerStatusMessage, handle, data);
}

// One position per call: examines received bytes from the first one not yet examined;
// at the first byte that completes data triggers it notifies them (after the length
// trigger, when that is due with the bytes in front of the match) and stops there.
// With nothing matched, the length trigger fires once per arrival of new bytes.
bool TSioBaseDispatcher::CheckReceiveTriggers()
{
    std::lock_guard<std::mutex> check(checkLock_);
    uint64_t arrived, consumed, taken, pos;
    {
        std::lock_guard<std::recursive_mutex> guard(DispSection);
        if (!dBuffer_)
            return false;
        arrived = arrived_;
        consumed = consumed_;
        taken = readAhead_ ? takeCount_ : 0;
        // Bytes that new ones have overwritten cannot be examined any more.
        pos = std::max(checkPos_, arrived > RingSize ? arrived - RingSize : 0);
    }
    struct Hit {
        uint32_t handle, length;
    };
    std::vector<Hit> hits;
    bool lengthDue = false;
    uint32_t before = 0;
    {
        std::lock_guard<std::recursive_mutex> guard(DataSection);
        if (std::none_of(dataTriggers_.begin(), dataTriggers_.end(), [](auto& t) { return t->Length != 0; }))
            pos = arrived;  // nothing can match
        uint32_t longest = 0;
        for (; pos != arrived; ++pos) {
            uint8_t c = dBuffer_[pos % RingSize];
            for (auto& trigger : dataTriggers_) {
                if (trigger->Length == 0)
                    continue;
                if (!trigger->Matched)
                    trigger->Matched = MatchDataChar(trigger->MatchState, c, trigger->Length, trigger->IgnoreCase,
                                                     trigger->MatchString);
                if (trigger->Matched)
                    longest = std::max(longest, trigger->Length);
            }
            if (longest)
                break;
        }
        if (longest) {
            int64_t through = static_cast<int64_t>(pos - consumed + 1) - static_cast<int64_t>(taken);
            if (lengthTrigger_ != 0 && lengthFiredPos_ != pos && through - longest >= lengthTrigger_) {
                lengthDue = true;
                before = static_cast<uint32_t>(through - longest);
                AddLog(dtTrigger, dstAvail, before);
            }
            for (auto it = dataTriggers_.rbegin(); it != dataTriggers_.rend(); ++it) {
                if ((*it)->Matched) {
                    (*it)->Matched = false;
                    AddLog(dtTrigger, dstData, (*it)->Handle);
                    hits.push_back({(*it)->Handle, (*it)->Length});
                }
            }
        }
    }
    auto advanceTo = [this](uint64_t next) {
        std::lock_guard<std::recursive_mutex> guard(DispSection);
        checkPos_ = std::max(checkPos_, next);
    };

    if (hits.empty()) {
        advanceTo(pos);
        uint32_t available = InBuffUsed();
        {
            std::lock_guard<std::recursive_mutex> guard(DataSection);
            if (lengthTrigger_ == 0 || lengthFiredPos_ == pos || available < lengthTrigger_)
                return false;
            AddLog(dtTrigger, dstAvail, available);
        }
        lengthFiredPos_ = pos;
        return SendNotify(TriggerAvailMessage, available, 0);
    }
    if (lengthDue) {
        advanceTo(pos);
        lengthFiredPos_ = pos;
        SendNotify(TriggerAvailMessage, before, 0);
    }
    bool result = false;
    for (const Hit& hit : hits)
        result = SendNotify(TriggerDataMessage, hit.handle, hit.length);
    advanceTo(pos + 1);
    return result;
}

// ---- Delivery ----

bool TSioBaseDispatcher::SendNotify(uint32_t msg, uint32_t triggerHandle, uint32_t data)
{
    if (!handlerFlag_)
        return true;
    if (donePortPending_)
        return false;
    {
        std::lock_guard<std::recursive_mutex> guard(DataSection);
        if (eventBusy_)
            return false;  // a handler or a wait routine runs: nothing more goes into it
        eventBusy_ = true;
    }
    {
        std::lock_guard<std::recursive_mutex> guard(DispSection);
        maxTake_ = 0;
        takeCount_ = 0;
        readAhead_ = msg == TriggerAvailMessage || msg == TriggerDataMessage;
        notifyMsg_ = msg;
        notifyCount_ = triggerHandle;
    }
    auto lParam = static_cast<int32_t>((static_cast<uint32_t>(handle_) << 16) + (data & 0xFFFF));
    Delivery outcome;
    try {
        outcome = DeliverToHandlers(msg, triggerHandle, lParam);
    } catch (...) {
        FinishNotify(false);
        throw;
    }
    if (outcome == Delivery::Abandoned)
        return false;  // the courier finishes it when the late handler returns
    return FinishNotify(outcome == Delivery::Delivered);
}

// Walks one handler list by index: records may be appended meanwhile, and removed ones
// are only marked. invoke answers false when a window's handler outlived the wait.
template <class Handler, class Invoke>
TSioBaseDispatcher::Delivery TSioBaseDispatcher::DeliverToList(std::vector<std::unique_ptr<Handler>>& list,
                                                               Invoke invoke, size_t from)
{
    for (size_t i = from;; ++i) {
        Handler handler;
        {
            std::lock_guard<std::recursive_mutex> guard(DataSection);
            if (i >= list.size())
                return Delivery::Delivered;
            handler = *list[i];
        }
        if (handler.Deleted)
            continue;
        {
            std::lock_guard<std::recursive_mutex> guard(DispSection);
            takeCount_ = 0;
        }
        if (!invoke(handler, i))
            return Delivery::Abandoned;
        // A close asked for stops the delivery at once.
        if (donePortPending_)
            return Delivery::Stopped;
        std::lock_guard<std::recursive_mutex> guard(DispSection);
        maxTake_ = std::max(maxTake_, takeCount_);
    }
}

TSioBaseDispatcher::Delivery TSioBaseDispatcher::DeliverToHandlers(uint32_t msg, uint32_t triggerHandle,
                                                                   int32_t lParam)
{
    Delivery outcome = DeliverToList(eventHandlers_, [&](const EventHandler& handler, size_t) {
        if (!handler.Sync)
            handler.Method(msg, triggerHandle, lParam);
        else if (TSioDispatcherThread* thread = TSioDispatcherThread::Current())
            thread->SyncNotify(msg, triggerHandle, lParam, handler.Method);
        else
            SioSynchronizeShowingErrors([&] { handler.Method(msg, triggerHandle, lParam); });
        return true;
    });
    if (outcome != Delivery::Delivered)
        return outcome;
    outcome = DeliverToList(procHandlers_, [&](const ProcHandler& handler, size_t) {
        handler.Proc(msg, triggerHandle, lParam);
        return true;
    });
    if (outcome != Delivery::Delivered)
        return outcome;
    {
        std::lock_guard<std::recursive_mutex> guard(DataSection);
        if (CountHandlers(true) <= 1 && !portEnabled_)
            return Delivery::Delivered;  // the one window is the port's own, and it is off
    }
    return DeliverToWindows(msg, triggerHandle, lParam, 0);
}

TSioBaseDispatcher::Delivery TSioBaseDispatcher::DeliverToWindows(uint32_t msg, uint32_t triggerHandle,
                                                                  int32_t lParam, size_t from)
{
    return DeliverToList(
        wndHandlers_,
        [&](const WndHandler& handler, size_t index) {
            {
                // Known before the send: the handler may return late at any moment.
                std::lock_guard<std::mutex> guard(lateLock_);
                late_ = LateDelivery{msg, triggerHandle, lParam, index + 1};
            }
            return courier_->Deliver(handler.Window, msg, triggerHandle, lParam, sendTimeoutMs_);
        },
        from);
}

bool TSioBaseDispatcher::FinishNotify(bool applyTake)
{
    bool result = applyTake;
    {
        std::lock_guard<std::recursive_mutex> guard(DispSection);
        if (readAhead_) {
            readAhead_ = false;
            if (applyTake) {
                // The bytes taken are those of the handler that took most.
                Consume(maxTake_);
                // A data-available handler that left bytes stops the checks of this cycle.
                if (notifyMsg_ == TriggerAvailMessage && maxTake_ != notifyCount_)
                    result = false;
            }
        }
        takeCount_ = 0;
    }
    std::lock_guard<std::recursive_mutex> guard(DataSection);
    eventBusy_ = false;
    if (handlerCleanup_) {
        PurgeDeletedHandlers();
        UpdateHandlerFlags(fuKeepPort);
    }
    return result;
}

void TSioBaseDispatcher::FinishAbandonedNotify()
{
    {
        std::lock_guard<std::recursive_mutex> guard(DispSection);
        maxTake_ = std::max(maxTake_, takeCount_);
    }
    {
        // The window handlers after the late one still get the notification: the
        // dispatcher thread delivers it to them (this courier thread cannot send).
        std::lock_guard<std::mutex> guard(lateLock_);
        if (dispatcherServing_ && !donePortPending_) {
            resumeDue_ = true;
            DispatchQueue.Wake();
            return;
        }
    }
    FinishNotify(!donePortPending_);
}

bool TSioBaseDispatcher::ResumeLateDelivery()
{
    LateDelivery late;
    {
        std::lock_guard<std::mutex> guard(lateLock_);
        if (!resumeDue_)
            return false;
        resumeDue_ = false;
        late = late_;
    }
    std::lock_guard<std::mutex> check(checkLock_);
    Delivery outcome = Delivery::Stopped;
    if (!donePortPending_) {
        try {
            outcome = DeliverToWindows(late.msg, late.triggerHandle, late.lParam, late.nextWindow);
        } catch (...) {
            FinishNotify(false);
            throw;
        }
    }
    if (outcome != Delivery::Abandoned)
        FinishNotify(outcome == Delivery::Delivered);
    return true;
}

void TSioBaseDispatcher::DispatcherServes(bool serving)
{
    bool due;
    {
        std::lock_guard<std::mutex> guard(lateLock_);
        dispatcherServing_ = serving;
        due = resumeDue_ && !serving;
        resumeDue_ = resumeDue_ && serving;
    }
    // The thread ends with a late delivery still to go on: the port is closing or has
    // failed, so the notification just ends.
    if (due)
        FinishNotify(false);
}

// ---- The dispatch cycle ----

void TSioBaseDispatcher::StatusTriggerLoop()
{
    while (!donePortPending_ && CheckStatusTriggers()) {
    }
}

void TSioBaseDispatcher::DispatchCycle()
{
    uint32_t mask = 0;
    if (TIOBuffer* entry = DispatchQueue.Peek()) {
        if (auto* status = dynamic_cast<TStatusBuffer*>(entry)) {
            mask = status->Status;
            DispatchQueue.Pop();
        } else {
            entry->InUse = false;  // received bytes: ExtractData takes them
        }
    }
    lastEventMask_ = mask;
    if (mask & (CommEvent::Ring | CommEvent::RingTrailingEdge)) {
        std::lock_guard<std::recursive_mutex> guard(DataSection);
        ringFlag_ = true;
    }
    if (mask & (CommEvent::Cts | CommEvent::Dsr | CommEvent::Rlsd | CommEvent::Ring | CommEvent::RingTrailingEdge)) {
        MapEventsToMS(mask);
        if (!eventBusy_) {
            StatusTriggerLoop();
            if (donePortPending_)
                return;
            ResetStatusHitsIfAny();
        }
    }
    if ((mask & 0xFF) > 63) {  // break or line error
        RefreshStatus();
        if (!eventBusy_) {
            StatusTriggerLoop();
            if (donePortPending_)
                return;
        }
    }
    ExtractData();
    if (!eventBusy_) {
        GetModemStatusPrim(0xFF);  // fresh lines, change flags kept
        StatusTriggerLoop();
        while (!donePortPending_ && CheckReceiveTriggers()) {
        }
        if (donePortPending_)
            return;
    }
    ResetStatusHitsIfAny();
    if (SioEvent* ready = ReadyEvent())
        ready->Set();
}

void TSioBaseDispatcher::FollowUpPass()
{
    if (donePortPending_ || eventBusy_)
        return;
    {
        std::lock_guard<std::recursive_mutex> guard(DataSection);
        statusHit_ = false;
    }
    // Each status trigger fires at most once per pass (its Hit flag).
    while (!donePortPending_ && (CheckStatusTriggers() || CheckTimerTriggers())) {
    }
    ResetStatusHitsIfAny();
}

void TSioBaseDispatcher::ResetStatusHitsIfAny()
{
    std::lock_guard<std::recursive_mutex> guard(DataSection);
    if (statusHit_)
        ResetStatusHits();
}
