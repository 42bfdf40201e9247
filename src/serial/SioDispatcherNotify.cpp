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

// Each check tests and consumes its trigger and claims the port for the notice under
// one hold of DataSection: while a handler or a wait routine holds the port, it leaves
// the trigger as it is, to fire once the port is free.
bool TSioBaseDispatcher::CheckTimerTriggersPrim()
{
    uint32_t handle = 0;
    bool claimed = false;
    {
        std::lock_guard<std::recursive_mutex> guard(DataSection);
        if (NotifyHeldBack())
            return false;
        for (auto& trigger : timerTriggers_) {
            if (trigger->Active && TimerExpired(trigger->Timer)) {
                trigger->Active = false;
                handle = trigger->Handle;
                AddLog(dtTrigger, dstTimer, handle);
                claimed = ClaimNotify();
                break;
            }
        }
    }
    return handle && (!claimed || DeliverNotify(TriggerTimerMessage, handle, 0));
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
    bool claimed = false;
    {
        std::lock_guard<std::recursive_mutex> guard(DataSection);
        if (NotifyHeldBack())
            return false;
        for (auto& trigger : statusTriggers_) {
            if (!trigger->Active || trigger->Hit || !StatusHolds(*trigger, data))
                continue;
            trigger->Active = false;
            trigger->Hit = true;
            statusHit_ = true;
            handle = trigger->Handle;
            AddLog(dtTrigger, dstStatus, handle);
            claimed = ClaimNotify();
            break;
        }
    }
    return handle && (!claimed || DeliverNotify(TriggerStatusMessage, handle, data));
}

// One position per call: examines received bytes from the first one not yet examined;
// at the first byte that completes data triggers it notifies them (after the length
// trigger, when that is due with the bytes in front of the match) and stops there.
// With nothing matched, the length trigger fires once per arrival of new bytes.
bool TSioBaseDispatcher::CheckReceiveTriggers()
{
    std::lock_guard<std::mutex> check(checkLock_);
    // Matches a busy port held back go out before anything new is examined.
    if (MatchPending())
        return NotifyMatches(true);
    uint64_t pos;
    bool matched = false;
    bool lengthDue = false;
    bool claimed = false;
    uint32_t before = 0;
    {
        // The receive ring and the triggers together: a flush on another thread comes
        // before the scan or after it has marked its match, never in between.
        std::lock_guard<std::recursive_mutex> ring(DispSection);
        std::lock_guard<std::recursive_mutex> guard(DataSection);
        if (!dBuffer_ || NotifyHeldBack())
            return false;  // examined once the port is free
        uint64_t arrived = arrived_;
        // Bytes that new ones have overwritten cannot be examined any more.
        pos = std::max(checkPos_, arrived > RingSize ? arrived - RingSize : 0);
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
        matched = longest != 0;
        // Past the match: the matched records keep it until their notices go out.
        checkPos_ = std::max(checkPos_, matched ? pos + 1 : pos);
        if (matched) {
            // The bytes through the match that a reader could still take.
            int64_t through = static_cast<int64_t>(pos + 1) - static_cast<int64_t>(ReadStart(false));
            if (lengthTrigger_ != 0 && lengthFiredPos_ != pos && through - longest >= lengthTrigger_) {
                lengthDue = true;
                before = static_cast<uint32_t>(through - longest);
                AddLog(dtTrigger, dstAvail, before);
                claimed = ClaimNotify();
            }
        }
    }
    if (!matched) {
        uint32_t available = InBuffUsed();
        {
            std::lock_guard<std::recursive_mutex> guard(DataSection);
            if (lengthTrigger_ == 0 || lengthFiredPos_ == pos || available < lengthTrigger_ || NotifyHeldBack())
                return false;
            AddLog(dtTrigger, dstAvail, available);
            claimed = ClaimNotify();
        }
        lengthFiredPos_ = pos;
        return !claimed || DeliverNotify(TriggerAvailMessage, available, 0);
    }
    bool result = true;
    if (lengthDue) {
        lengthFiredPos_ = pos;
        result = !claimed || DeliverNotify(TriggerAvailMessage, before, 0);
    }
    return NotifyMatches(result);
}

bool TSioBaseDispatcher::MatchPending()
{
    std::lock_guard<std::recursive_mutex> guard(DataSection);
    return std::any_of(dataTriggers_.begin(), dataTriggers_.end(), [](auto& t) { return t->Matched; });
}

// From the list's end to its start. Each record is looked up again before its notice:
// a handler before it may have removed triggers, added new ones or flushed the input,
// and a record that no longer holds a match hears nothing. While the port is held the
// matches stay with their records for a later check.
bool TSioBaseDispatcher::NotifyMatches(bool result)
{
    for (;;) {
        uint32_t handle, length;
        bool claimed;
        {
            std::lock_guard<std::recursive_mutex> guard(DataSection);
            auto it = std::find_if(dataTriggers_.rbegin(), dataTriggers_.rend(), [](auto& t) { return t->Matched; });
            if (it == dataTriggers_.rend())
                return result;
            if (NotifyHeldBack())
                return false;
            TDataTrigger& trigger = **it;
            trigger.Matched = false;
            handle = trigger.Handle;
            length = trigger.Length;
            AddLog(dtTrigger, dstData, handle);
            claimed = ClaimNotify();
        }
        result = !claimed || DeliverNotify(TriggerDataMessage, handle, length);
    }
}

// ---- Delivery ----

bool TSioBaseDispatcher::NotifyHeldBack() const
{
    // A handler or a wait routine runs (nothing more goes into it), or the port closes.
    return handlerFlag_ && (eventBusy_ || donePortPending_);
}

bool TSioBaseDispatcher::ClaimNotify()
{
    if (!handlerFlag_)
        return false;
    eventBusy_ = true;
    return true;
}

bool TSioBaseDispatcher::SendNotify(uint32_t msg, uint32_t triggerHandle, uint32_t data)
{
    {
        std::lock_guard<std::recursive_mutex> guard(DataSection);
        if (NotifyHeldBack())
            return false;
        if (!ClaimNotify())
            return true;
    }
    return DeliverNotify(msg, triggerHandle, data);
}

bool TSioBaseDispatcher::DeliverNotify(uint32_t msg, uint32_t triggerHandle, uint32_t data)
{
    if (donePortPending_)
        return FinishNotify(false);  // the close came after the claim
    {
        std::lock_guard<std::recursive_mutex> guard(DispSection);
        takeBase_ = consumed_;
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
        FinishNotify(false);  // what the handlers took, the one that raised included
        throw;
    }
    if (outcome == Delivery::Abandoned)
        return false;  // the courier finishes it when the late handler returns
    return FinishNotify(outcome == Delivery::Delivered);
}

// Walks one handler list by index: records may be appended meanwhile, and removed ones
// are only marked until the notification ends.
template <class Handler, class Invoke>
TSioBaseDispatcher::Delivery TSioBaseDispatcher::DeliverToList(std::vector<std::unique_ptr<Handler>>& list,
                                                               Invoke invoke, size_t from)
{
    for (size_t i = from;; ++i) {
        Handler* record;
        {
            std::lock_guard<std::recursive_mutex> guard(DataSection);
            if (i >= list.size())
                return Delivery::Delivered;
            record = list[i].get();
        }
        BeginTurn();
        if (!invoke(*record, i))
            return Delivery::Abandoned;  // the turn ends when the late handler returns
        EndTurn();
        // A close asked for stops the delivery at once.
        if (donePortPending_)
            return Delivery::Stopped;
    }
}

template <class Handler>
bool TSioBaseDispatcher::Deregistered(const Handler& record)
{
    std::lock_guard<std::recursive_mutex> guard(DataSection);
    return record.Deleted;
}

TSioBaseDispatcher::Delivery TSioBaseDispatcher::DeliverToHandlers(uint32_t msg, uint32_t triggerHandle,
                                                                   int32_t lParam)
{
    Delivery outcome = DeliverToList(eventHandlers_, [&](const EventHandler& record, size_t) {
        // Run wherever the method runs (a synchronised one on the main thread, where it
        // may wait a while): its record is read there as it is called, and the call is
        // counted as running.
        struct Call {
            TSioBaseDispatcher* dispatcher;
            const EventHandler* record;
        } call{this, &record};
        auto run = [](void* data, uint32_t m, uint32_t w, int32_t l) {
            auto& c = *static_cast<Call*>(data);
            if (c.dispatcher->Deregistered(*c.record))
                return;
            HandlerScope running(*c.dispatcher);
            c.record->Method(m, w, l);
        };
        TSioNotifyEvent method{&call, run};
        if (!record.Sync)
            method(msg, triggerHandle, lParam);
        else if (TSioDispatcherThread* thread = TSioDispatcherThread::Current())
            thread->SyncNotify(msg, triggerHandle, lParam, method);
        else
            SioSynchronizeShowingErrors([&] { method(msg, triggerHandle, lParam); });
        return true;
    });
    if (outcome != Delivery::Delivered)
        return outcome;
    outcome = DeliverToList(procHandlers_, [&](const ProcHandler& record, size_t) {
        if (Deregistered(record))
            return true;
        HandlerScope running(*this);
        record.Proc(msg, triggerHandle, lParam);
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
        [&](const WndHandler& record, size_t index) {
            if (Deregistered(record))
                return true;
            {
                // Known before the send: the handler may return late at any moment.
                std::lock_guard<std::mutex> guard(lateLock_);
                late_ = LateDelivery{msg, triggerHandle, lParam, index + 1};
            }
            return courier_->Deliver({record.Window, msg, triggerHandle, lParam}, turn_, !record.PortWindow,
                                     sendTimeoutMs_);
        },
        from);
}

// ---- Inside a delivery ----

thread_local const TSioBaseDispatcher::DeliveryMark* TSioBaseDispatcher::DeliveryMark::innermost_ = nullptr;

TSioBaseDispatcher::DeliveryMark::DeliveryMark(uint64_t key, uint64_t turn)
    : key_(key), turn_(turn), outer_(innermost_)
{
    innermost_ = this;
}

TSioBaseDispatcher::DeliveryMark::~DeliveryMark() { innermost_ = outer_; }

bool TSioBaseDispatcher::DeliveryMark::Held(uint64_t key, uint64_t turn)
{
    for (const DeliveryMark* mark = innermost_; mark; mark = mark->outer_) {
        if (mark->key_ == key && mark->turn_ == turn)
            return true;
    }
    return false;
}

uint64_t TSioBaseDispatcher::DeliveryTurn() const
{
    const uint64_t turn = turn_;
    if (turn == 0)
        return 0;
    // Handlers the dispatcher calls, the port's own window procedure and the courier's
    // own send mark their thread with their turn.
    if (DeliveryMark::Held(deliveryKey_, turn))
        return turn;
    // Any other window's procedure is the system's to call: the messenger tells whether
    // this thread runs it for the message the courier is sending in this turn.
    SioSentMessage sent;
    if (!courier_ || courier_->Sending(sent) != turn)
        return 0;
    SioWindowMessenger* messenger = CurrentSioWindowMessenger();
    return messenger && messenger->RunsSentMessage(sent) ? turn : 0;
}

uint64_t TSioBaseDispatcher::TurnSending(const SioSentMessage& message) const
{
    SioSentMessage sent;
    const uint64_t turn = courier_ ? courier_->Sending(sent) : 0;
    return turn && sent == message ? turn : 0;
}

void TSioBaseDispatcher::BeginTurn()
{
    std::lock_guard<std::recursive_mutex> guard(DispSection);
    takeCount_ = 0;
    turn_ = ++lastTurn_;
}

void TSioBaseDispatcher::EndTurn()
{
    std::lock_guard<std::recursive_mutex> guard(DispSection);
    maxTake_ = std::max(maxTake_, takeCount_);
    takeCount_ = 0;
    turn_ = 0;
}

bool TSioBaseDispatcher::HandlerRunning() const
{
    // The count drops on the handler's own thread as it returns (for a synchronised
    // method, before the dispatcher's thread goes on), so a close asked for after it
    // sees none.
    return handlersRunning_ > 0 || InDelivery();
}

bool TSioBaseDispatcher::FinishNotify(bool delivered)
{
    bool result = delivered;
    {
        std::lock_guard<std::recursive_mutex> guard(DispSection);
        // The turn of a handler that raised.
        EndTurn();
        if (readAhead_) {
            readAhead_ = false;
            // What the handlers were given is consumed however the delivery ended: the
            // bytes taken are those of the handler that took most.
            ConsumeTo(takeBase_ + maxTake_);
            // A data-available handler that left bytes stops the checks of this cycle.
            if (delivered && notifyMsg_ == TriggerAvailMessage && maxTake_ != notifyCount_)
                result = false;
        }
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
    EndTurn();
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
    // Not while the port closes or its threads are ending: the notification then just
    // ends, as it does when the thread ends before it gets here.
    Delivery outcome = Delivery::Stopped;
    if (!donePortPending_ && !KillThreads) {
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
    // failed, so the notification just ends, with what the late handler took consumed.
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
