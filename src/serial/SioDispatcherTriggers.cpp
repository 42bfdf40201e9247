// The dispatcher's triggers and notification targets: adding, arming, finding and
// removing them, saving and restoring them across a reopen.
#include <algorithm>
#include <cstring>

#include "serial/SioDispatcher.h"

namespace {

template <class T>
std::vector<std::unique_ptr<T>> CopyRecords(const std::vector<T>& from)
{
    std::vector<std::unique_ptr<T>> to;
    for (const T& record : from)
        to.push_back(std::make_unique<T>(record));
    return to;
}

template <class T>
std::vector<T> SaveRecords(const std::vector<std::unique_ptr<T>>& from)
{
    std::vector<T> to;
    for (const auto& record : from)
        to.push_back(*record);
    return to;
}

} // namespace

// ---- Handles ----

uint32_t TSioBaseDispatcher::GetTriggerHandle()
{
    if (nextHandle_ < 4096)
        return nextHandle_++ * 8;
    // Every handle up to 32760 has been given once: take the lowest free one again.
    for (uint32_t h = 8; h <= 4096; h += 8) {
        bool used = std::any_of(timerTriggers_.begin(), timerTriggers_.end(), [h](auto& t) { return t->Handle == h; }) ||
                    std::any_of(statusTriggers_.begin(), statusTriggers_.end(),
                                [h](auto& t) { return (t->Handle & ~7u) == h; }) ||
                    std::any_of(dataTriggers_.begin(), dataTriggers_.end(), [h](auto& t) { return t->Handle == h; });
        if (!used)
            return h;
    }
    return 0;
}

int32_t TSioBaseDispatcher::FindTriggerFromHandle(uint32_t handle, bool remove, void*& trigger, TTriggerType& type)
{
    std::lock_guard<std::recursive_mutex> guard(DataSection);
    type = ttNone;
    trigger = nullptr;
    if (handle < 2)
        return -5003;
    auto find = [&](auto& list, TTriggerType listType, auto matches, TDispatchSubType subType) {
        auto it = std::find_if(list.begin(), list.end(), matches);
        if (it == list.end())
            return false;
        type = listType;
        trigger = it->get();
        if (remove) {
            uint8_t kind = static_cast<uint8_t>(handle & 7);
            AddLog(dtTriggerDispose, subType, handle, listType == ttStatus ? &kind : nullptr,
                   listType == ttStatus ? 1 : 0);
            list.erase(it);
            trigger = nullptr;
        }
        return true;
    };
    if (find(timerTriggers_, ttTimer, [handle](auto& t) { return t->Handle == handle; }, dstTimerTrigger) ||
        find(statusTriggers_, ttStatus, [handle](auto& t) { return t->Handle == handle; }, dstStatusTrigger) ||
        find(dataTriggers_, ttData, [handle](auto& t) { return t->Handle == (handle & ~7u); }, dstDataTrigger))
        return 0;
    return -5003;
}

// ---- Adding and removing ----

void TSioBaseDispatcher::ChangeLengthTrigger(uint32_t length)
{
    std::lock_guard<std::recursive_mutex> guard(DataSection);
    lengthTrigger_ = length;
    AddLog(dtTriggerDataChange, dstAvailTrigger, length);
}

uint32_t TSioBaseDispatcher::GetLengthTrigger()
{
    std::lock_guard<std::recursive_mutex> guard(DataSection);
    return lengthTrigger_;
}

int32_t TSioBaseDispatcher::AddTimerTrigger()
{
    std::lock_guard<std::recursive_mutex> guard(DataSection);
    uint32_t handle = GetTriggerHandle();
    if (!handle)
        return -5001;
    auto trigger = std::make_unique<TTimerTrigger>();
    trigger->Handle = handle;
    timerTriggers_.push_back(std::move(trigger));
    AddLog(dtTriggerAlloc, dstTimerTrigger, handle);
    return static_cast<int32_t>(handle);
}

int32_t TSioBaseDispatcher::AddDataTriggerLen(const void* data, bool ignoreCase, uint32_t len)
{
    if (len > MaxDataTriggerLen)
        return -5002;
    std::lock_guard<std::recursive_mutex> guard(DataSection);
    uint32_t handle = GetTriggerHandle();
    if (!handle)
        return -5001;
    auto trigger = std::make_unique<TDataTrigger>();
    trigger->Handle = handle;
    trigger->Length = len;
    trigger->IgnoreCase = ignoreCase;
    if (len)
        std::memcpy(trigger->MatchString, data, len);
    if (ignoreCase)
        for (uint32_t i = 0; i < len; ++i)
            trigger->MatchString[i] = TriggerUpCase(trigger->MatchString[i]);
    AddLog(dtTriggerAlloc, dstDataTrigger, handle, trigger->MatchString, static_cast<int32_t>(len));
    dataTriggers_.push_back(std::move(trigger));
    return static_cast<int32_t>(handle);
}

int32_t TSioBaseDispatcher::AddDataTrigger(const char* data, bool ignoreCase)
{
    return AddDataTriggerLen(data, ignoreCase, data ? static_cast<uint32_t>(std::strlen(data)) : 0);
}

int32_t TSioBaseDispatcher::AddStatusTrigger(uint32_t sType)
{
    if (sType >= 6)
        return -1002;
    std::lock_guard<std::recursive_mutex> guard(DataSection);
    uint32_t handle = GetTriggerHandle();
    if (!handle)
        return -5001;
    auto trigger = std::make_unique<TStatusTrigger>();
    trigger->Handle = handle + sType;
    trigger->StatusType = sType;
    uint8_t kind = static_cast<uint8_t>(sType);
    AddLog(dtTriggerAlloc, dstStatusTrigger, handle + sType, &kind, 1);
    statusTriggers_.push_back(std::move(trigger));
    return static_cast<int32_t>(handle + sType);
}

int32_t TSioBaseDispatcher::RemoveTrigger(uint32_t handle)
{
    if (handle == LengthTriggerHandle) {
        std::lock_guard<std::recursive_mutex> guard(DataSection);
        lengthTrigger_ = 0;
        return 0;
    }
    void* trigger;
    TTriggerType type;
    return FindTriggerFromHandle(handle, true, trigger, type);
}

void TSioBaseDispatcher::RemoveAllTriggers()
{
    std::lock_guard<std::recursive_mutex> guard(DataSection);
    lengthTrigger_ = 0;
    timerTriggers_.clear();
    dataTriggers_.clear();
    statusTriggers_.clear();
    nextHandle_ = 1;
}

// ---- Arming ----

// The timer or status trigger of that handle (caller holds DataSection); null when the
// handle names no trigger of that kind.
template <class T>
T* TSioBaseDispatcher::FindTrigger(uint32_t handle, TTriggerType wanted)
{
    void* found;
    TTriggerType type;
    return FindTriggerFromHandle(handle, false, found, type) == 0 && type == wanted ? static_cast<T*>(found)
                                                                                      : nullptr;
}

int32_t TSioBaseDispatcher::SetTimerTrigger(uint32_t handle, int32_t ticks, bool activate)
{
    std::lock_guard<std::recursive_mutex> guard(DataSection);
    auto* trigger = FindTrigger<TTimerTrigger>(handle, ttTimer);
    if (!trigger)
        return -5003;
    if (activate) {
        if (ticks != 0)
            trigger->Ticks = static_cast<uint32_t>(ticks);
        NewTimer(trigger->Timer, static_cast<int32_t>(trigger->Ticks));
        AddLog(dtTriggerDataChange, dstTimerTrigger, handle, &trigger->Ticks, 4);
    } else {
        AddLog(dtTriggerDataChange, dstTimerTrigger, handle, "Deactivated", 11);
    }
    trigger->Active = activate;
    return 0;
}

int32_t TSioBaseDispatcher::ExtendTimer(uint32_t handle, int32_t ticks)
{
    std::lock_guard<std::recursive_mutex> guard(DataSection);
    auto* trigger = FindTrigger<TTimerTrigger>(handle, ttTimer);
    if (!trigger)
        return -5003;
    int64_t expiry = int64_t{trigger->Timer.ExpireTicks} + ticks;
    trigger->Timer.ExpireTicks = static_cast<int32_t>(std::clamp<int64_t>(expiry, INT32_MIN, INT32_MAX));
    AddLog(dtTriggerDataChange, dstTimerTrigger, handle, &ticks, 4);
    return 0;
}

int32_t TSioBaseDispatcher::TimerTicksRemaining(uint32_t handle, int32_t& remaining)
{
    std::lock_guard<std::recursive_mutex> guard(DataSection);
    auto* trigger = FindTrigger<TTimerTrigger>(handle, ttTimer);
    remaining = trigger ? RemainingTime(trigger->Timer) : 0;
    return trigger ? 0 : -5003;
}

int32_t TSioBaseDispatcher::SetStatusTrigger(uint32_t handle, uint32_t value, bool activate)
{
    std::lock_guard<std::recursive_mutex> guard(DataSection);
    auto* trigger = FindTrigger<TStatusTrigger>(handle, ttStatus);
    if (!trigger)
        return -5003;
    if (activate) {
        switch (trigger->StatusType) {
        case stModem: {
            // Armed on the masked lines' present levels: fires when one of them changes.
            uint8_t mask = static_cast<uint8_t>(value);
            trigger->Value = static_cast<uint16_t>(mask << 8 | (mask & modemStatus_));
            break;
        }
        case stLine:
            // Selection bits 1, 2, 4, 8 stand for overrun, parity, framing and break.
            trigger->Value = static_cast<uint16_t>((value & 0x0F) << 1);
            break;
        case stOutBuffFree:
        case stOutBuffUsed:
            trigger->Value = static_cast<uint16_t>(value);
            break;
        default:
            break;
        }
    }
    AddLog(dtTriggerDataChange, dstStatusTrigger, handle, &trigger->Value, 2);
    trigger->Active = activate;
    return 0;
}

void TSioBaseDispatcher::ResetStatusHits()
{
    std::lock_guard<std::recursive_mutex> guard(DataSection);
    for (auto& trigger : statusTriggers_)
        trigger->Hit = false;
    statusHit_ = false;
}

void TSioBaseDispatcher::ResetDataTriggers()
{
    std::lock_guard<std::recursive_mutex> guard(DataSection);
    for (auto& trigger : dataTriggers_) {
        std::fill(std::begin(trigger->MatchState), std::end(trigger->MatchState), 0u);
        trigger->Matched = false;  // a match not yet notified goes too
    }
}

void TSioBaseDispatcher::SaveTriggers(TTriggerSave& save)
{
    std::lock_guard<std::recursive_mutex> guard(DataSection);
    save.LengthTrigger = lengthTrigger_;
    save.NextHandle = nextHandle_;
    save.Timers = SaveRecords(timerTriggers_);
    save.Data = SaveRecords(dataTriggers_);
    // A match not yet notified belongs to this port's input, not to a reopened one.
    for (TDataTrigger& trigger : save.Data)
        trigger.Matched = false;
    save.Status = SaveRecords(statusTriggers_);
}

void TSioBaseDispatcher::RestoreTriggers(const TTriggerSave& save)
{
    std::lock_guard<std::recursive_mutex> guard(DataSection);
    lengthTrigger_ = save.LengthTrigger;
    // The handle counter comes back too, so new triggers never take a restored handle.
    nextHandle_ = save.NextHandle;
    timerTriggers_ = CopyRecords(save.Timers);
    dataTriggers_ = CopyRecords(save.Data);
    statusTriggers_ = CopyRecords(save.Status);
}

// ---- Notification targets ----

void TSioBaseDispatcher::RegisterWndTriggerHandler(SioWindow window) { AddWindowHandler(window, false); }

void TSioBaseDispatcher::RegisterPortWindow(SioWindow window) { AddWindowHandler(window, true); }

void TSioBaseDispatcher::AddWindowHandler(SioWindow window, bool portWindow)
{
    std::lock_guard<std::recursive_mutex> guard(DataSection);
    wndHandlers_.push_back(std::make_unique<WndHandler>(WndHandler{window, portWindow}));
    handlerFlag_ = true;
    AddLog(dtTriggerHandlerAlloc, dstWndHandler, static_cast<uint32_t>(window));
}

void TSioBaseDispatcher::RegisterProcTriggerHandler(TSioNotifyProc proc)
{
    std::lock_guard<std::recursive_mutex> guard(DataSection);
    procHandlers_.push_back(std::make_unique<ProcHandler>(ProcHandler{proc}));
    handlerFlag_ = true;
    AddLog(dtTriggerHandlerAlloc, dstProcHandler, 0);
}

void TSioBaseDispatcher::RegisterEventTriggerHandler(TSioNotifyEvent method)
{
    std::lock_guard<std::recursive_mutex> guard(DataSection);
    eventHandlers_.push_back(std::make_unique<EventHandler>(EventHandler{method, false}));
    handlerFlag_ = true;
    AddLog(dtTriggerHandlerAlloc, dstEventHandler, 0);
}

void TSioBaseDispatcher::RegisterSyncEventTriggerHandler(TSioNotifyEvent method)
{
    std::lock_guard<std::recursive_mutex> guard(DataSection);
    eventHandlers_.push_back(std::make_unique<EventHandler>(EventHandler{method, true}));
    handlerFlag_ = true;
    AddLog(dtTriggerHandlerAlloc, dstEventHandler, 1);
}

template <class List, class Match>
bool TSioBaseDispatcher::DeregisterHandler(List& list, Match match, TDispatchSubType subType, uint32_t data)
{
    std::lock_guard<std::recursive_mutex> guard(DataSection);
    auto it = std::find_if(list.begin(), list.end(), [&](auto& h) { return !h->Deleted && match(*h); });
    if (it == list.end()) {
        UpdateHandlerFlags(fuKeepPort);
        return false;
    }
    AddLog(dtTriggerHandlerDispose, subType, data);
    if (eventBusy_) {
        // A notification may be walking the list: the record goes when it ends.
        (*it)->Deleted = true;
        handlerCleanup_ = true;
    } else {
        list.erase(it);
        UpdateHandlerFlags(fuKeepPort);
    }
    return true;
}

void TSioBaseDispatcher::DeregisterWndTriggerHandler(SioWindow window)
{
    DeregisterHandler(wndHandlers_, [window](const WndHandler& h) { return h.Window == window; }, dstWndHandler,
                      static_cast<uint32_t>(window));
}

void TSioBaseDispatcher::DeregisterProcTriggerHandler(TSioNotifyProc proc)
{
    DeregisterHandler(procHandlers_, [proc](const ProcHandler& h) { return h.Proc == proc; }, dstProcHandler, 0);
}

void TSioBaseDispatcher::DeregisterEventTriggerHandler(TSioNotifyEvent method)
{
    DeregisterHandler(eventHandlers_, [method](const EventHandler& h) { return h.Method == method; },
                      dstEventHandler, 0);
}

void TSioBaseDispatcher::PurgeDeletedHandlers()
{
    auto purge = [](auto& list) {
        list.erase(std::remove_if(list.begin(), list.end(), [](auto& h) { return h->Deleted; }), list.end());
    };
    purge(wndHandlers_);
    purge(procHandlers_);
    purge(eventHandlers_);
    handlerCleanup_ = false;
}

uint32_t TSioBaseDispatcher::CountHandlers(bool windows)
{
    auto live = [](auto& list) {
        return static_cast<uint32_t>(std::count_if(list.begin(), list.end(), [](auto& h) { return !h->Deleted; }));
    };
    return windows ? live(wndHandlers_) : live(procHandlers_) + live(eventHandlers_);
}

void TSioBaseDispatcher::UpdateHandlerFlags(TSioHandlerFlagUpdate update)
{
    std::lock_guard<std::recursive_mutex> guard(DataSection);
    bool others = CountHandlers(true) > 1 || CountHandlers(false) > 0;
    switch (update) {
    case fuKeepPort:
        handlerFlag_ = others || portEnabled_;
        break;
    case fuEnablePort:
        portEnabled_ = true;
        handlerFlag_ = true;
        break;
    case fuDisablePort:
        portEnabled_ = false;
        handlerFlag_ = others;
        break;
    }
}

void TSioBaseDispatcher::SetEventBusy(bool& wasBusy, bool busy)
{
    std::lock_guard<std::recursive_mutex> guard(DataSection);
    wasBusy = eventBusy_;
    eventBusy_ = busy;
}

void TSioBaseDispatcher::CreateDispatcherWindow()
{
    if (SioWindowMessenger* messenger = CurrentSioWindowMessenger())
        dispatcherWindow_ = messenger->CreateDispatcherWindow();
}
