#pragma once
// The courier of a dispatcher's window notifications: it sends each message on a thread
// of its own, so the dispatcher thread can stop waiting after a time-out while the
// window's handler still runs. When such a late handler returns, the courier ends its
// turn (the take count applied once) and has the dispatcher thread go on to the windows
// after it, or finishes the notification itself (the busy flag cleared) when that
// thread no longer serves or a close is pending, unless the dispatcher has gone
// meanwhile.
#include <cstdint>
#include <memory>
#include <thread>

#include "serial/SioNotifyServices.h"

class TSioBaseDispatcher;

class SioNotifyCourier {
public:
    explicit SioNotifyCourier(TSioBaseDispatcher& dispatcher);
    // Forgets the dispatcher; a send still running is left to end by itself.
    ~SioNotifyCourier();
    SioNotifyCourier(const SioNotifyCourier&) = delete;
    SioNotifyCourier& operator=(const SioNotifyCourier&) = delete;

    // True when the window's procedure returned within timeoutMs; false when it still
    // runs (the notification is then finished when it returns). turn: the dispatcher's
    // handler turn the send belongs to. Watched: sent with SendWatched, for a window
    // whose procedure does not tell by itself that it handles the notification.
    bool Deliver(const SioSentMessage& message, uint64_t turn, bool watched, uint32_t timeoutMs);
    // The turn of the send now on its way, from before it goes out until the messenger's
    // send has returned (which is later than the window's answer when its procedure
    // answered early), with its message; 0 when there is none.
    uint64_t Sending(SioSentMessage& message) const;

private:
    struct State;
    static void Run(std::shared_ptr<State> state);

    std::shared_ptr<State> state_;
    std::thread thread_;
};
