// The port component's events and its registered users: the trigger operations the
// port window calls, the event setters, and the notices of open, closing and close.
#include "serial/SioComPort.h"
#include "serial/SioNotifyServices.h"

namespace {

// Runs a copy of the handler: a handler that destroys the port destroys the port's
// own copy of it, which must not be the one running.
template <class Event, class... Args>
void Fire(const Event& event, Args... args)
{
    Event running = event;
    running(args...);
}

} // namespace

// ---- Trigger operations (called by the port window) ----

void TSioCustomComPort::Trigger(uint16_t msg, uint16_t triggerHandle, uint16_t data)
{
    if (onTrigger_ && EventsAllowed())
        Fire(onTrigger_, this, msg, triggerHandle, data);
}

void TSioCustomComPort::TriggerAvail(uint16_t count)
{
    if (onTriggerAvail_ && EventsAllowed())
        Fire(onTriggerAvail_, this, count);
}

void TSioCustomComPort::TriggerData(uint16_t triggerHandle)
{
    if (onTriggerData_ && EventsAllowed())
        Fire(onTriggerData_, this, triggerHandle);
}

void TSioCustomComPort::TriggerStatus(uint16_t triggerHandle)
{
    if (onTriggerStatus_ && EventsAllowed())
        Fire(onTriggerStatus_, this, triggerHandle);
}

void TSioCustomComPort::TriggerTimer(uint16_t triggerHandle)
{
    if (onTriggerTimer_ && EventsAllowed())
        Fire(onTriggerTimer_, this, triggerHandle);
}

void TSioCustomComPort::TriggerLineError(uint16_t error, bool lineBreak)
{
    if (onTriggerLineError_ && EventsAllowed())
        Fire(onTriggerLineError_, this, error, lineBreak);
}

void TSioCustomComPort::TriggerModemStatus()
{
    if (onTriggerModemStatus_ && EventsAllowed())
        Fire(onTriggerModemStatus_, this);
}

void TSioCustomComPort::TriggerOutbuffFree()
{
    if (onTriggerOutbuffFree_ && EventsAllowed())
        Fire(onTriggerOutbuffFree_, this);
}

void TSioCustomComPort::TriggerOutbuffUsed()
{
    if (onTriggerOutbuffUsed_ && EventsAllowed())
        Fire(onTriggerOutbuffUsed_, this);
}

void TSioCustomComPort::TriggerOutSent()
{
    if (onTriggerOutSent_ && EventsAllowed())
        Fire(onTriggerOutSent_, this);
}

void TSioCustomComPort::WaitChar(char c)
{
    if (OnWaitChar && EventsAllowed())
        Fire(OnWaitChar, this, c);
}

// ---- Event setters: the dispatcher notifies the port only while one is assigned ----

#define SIO_EVENT_SETTER(Name, Type, field) \
    void TSioCustomComPort::Set##Name(Type value) \
    {                                             \
        field = std::move(value);                 \
        UpdateHandlerFlag();                      \
    }
SIO_EVENT_SETTER(OnTrigger, TTriggerEvent, onTrigger_)
SIO_EVENT_SETTER(OnTriggerAvail, TTriggerAvailEvent, onTriggerAvail_)
SIO_EVENT_SETTER(OnTriggerData, TTriggerDataEvent, onTriggerData_)
SIO_EVENT_SETTER(OnTriggerStatus, TTriggerStatusEvent, onTriggerStatus_)
SIO_EVENT_SETTER(OnTriggerTimer, TTriggerTimerEvent, onTriggerTimer_)
SIO_EVENT_SETTER(OnTriggerLineError, TTriggerLineErrorEvent, onTriggerLineError_)
SIO_EVENT_SETTER(OnTriggerModemStatus, TNotifyEvent, onTriggerModemStatus_)
SIO_EVENT_SETTER(OnTriggerOutbuffFree, TNotifyEvent, onTriggerOutbuffFree_)
SIO_EVENT_SETTER(OnTriggerOutbuffUsed, TNotifyEvent, onTriggerOutbuffUsed_)
SIO_EVENT_SETTER(OnTriggerOutSent, TNotifyEvent, onTriggerOutSent_)
#undef SIO_EVENT_SETTER

// ---- Users ----

void TSioCustomComPort::RegisterUser(SioWindow handle) { userList_.push_back({handle, {}, {}, false}); }
void TSioCustomComPort::RegisterUserEx(SioWindow handle) { userList_.push_back({handle, {}, {}, true}); }
void TSioCustomComPort::RegisterUserCallback(TPortCallback callback) { userList_.push_back({0, callback, {}, false}); }
void TSioCustomComPort::RegisterUserCallbackEx(TPortCallbackEx callback)
{
    userList_.push_back({0, {}, callback, true});
}

namespace {

template <class Match>
void RemoveUsers(std::vector<TUserListEntry>& list, Match match)
{
    for (size_t i = list.size(); i-- > 0;)
        if (match(list[i]))
            list.erase(list.begin() + static_cast<std::ptrdiff_t>(i));
}

} // namespace

void TSioCustomComPort::DeregisterUser(SioWindow handle)
{
    if (!(ComponentState & csDestroying) && handle)
        RemoveUsers(userList_, [handle](const TUserListEntry& e) { return e.Handle == handle; });
}

void TSioCustomComPort::DeregisterUserCallback(TPortCallback callback)
{
    if (!(ComponentState & csDestroying) && callback)
        RemoveUsers(userList_, [&callback](const TUserListEntry& e) { return e.Callback.Code == callback.Code; });
}

void TSioCustomComPort::DeregisterUserCallbackEx(TPortCallbackEx callback)
{
    if (!(ComponentState & csDestroying) && callback)
        RemoveUsers(userList_, [&callback](const TUserListEntry& e) { return e.CallbackEx.Code == callback.Code; });
}

// From the last entry to the first; an entry a user removes meanwhile is skipped.
void TSioCustomComPort::NotifyUsers(uint32_t msg, TSioCallbackType type, bool opening, bool exOnly)
{
    for (size_t i = userList_.size(); i-- > 0;) {
        if (i >= userList_.size())
            continue;
        TUserListEntry entry = userList_[i];
        if (exOnly && !entry.IsEx)
            continue;
        if (entry.Handle) {
            if (SioWindowMessenger* messenger = CurrentSioWindowMessenger())
                messenger->Send(entry.Handle, msg, 0, 0);
        } else if (entry.IsEx) {
            if (entry.CallbackEx)
                entry.CallbackEx(this, type);
        } else if (entry.Callback) {
            entry.Callback(this, opening);
        }
    }
}

void TSioCustomComPort::PortOpen()
{
    NotifyUsers(PortOpenMessage, ctOpen, true, false);
    if (OnPortOpen && EventsAllowed())
        Fire(OnPortOpen, this);
}

void TSioCustomComPort::PortClosing() { NotifyUsers(PortClosingMessage, ctClosing, false, true); }

void TSioCustomComPort::PortClose()
{
    NotifyUsers(PortClosedMessage, ctClosed, false, false);
    if (OnPortClose && EventsAllowed())
        Fire(OnPortClose, this);
}
