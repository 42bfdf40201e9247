#include "serial/SioNotifyCourier.h"

#include <chrono>
#include <condition_variable>
#include <mutex>

#include "serial/SioDispatcher.h"

struct SioNotifyCourier::State {
    std::mutex lock;
    std::condition_variable changed;
    TSioBaseDispatcher* dispatcher;
    SioSentMessage job;
    uint64_t turn = 0;
    bool watched = false;
    bool hasJob = false;
    bool done = false;
    bool abandoned = false;
    bool stop = false;
};

SioNotifyCourier::SioNotifyCourier(TSioBaseDispatcher& dispatcher) : state_(std::make_shared<State>())
{
    state_->dispatcher = &dispatcher;
}

SioNotifyCourier::~SioNotifyCourier()
{
    bool sending;
    {
        std::lock_guard<std::mutex> guard(state_->lock);
        state_->dispatcher = nullptr;
        state_->stop = true;
        sending = state_->hasJob;
    }
    state_->changed.notify_all();
    if (!thread_.joinable())
        return;
    if (sending)
        thread_.detach();  // the state it shares outlives the dispatcher
    else
        thread_.join();
}

bool SioNotifyCourier::Deliver(const SioSentMessage& message, uint64_t turn, bool watched, uint32_t timeoutMs)
{
    std::unique_lock<std::mutex> guard(state_->lock);
    if (!thread_.joinable())
        thread_ = std::thread(&SioNotifyCourier::Run, state_);
    state_->job = message;
    state_->turn = turn;
    state_->watched = watched;
    state_->hasJob = true;
    state_->done = false;
    state_->abandoned = false;
    state_->changed.notify_all();
    if (state_->changed.wait_for(guard, std::chrono::milliseconds(timeoutMs), [this] { return state_->done; })) {
        state_->done = false;
        return true;
    }
    state_->abandoned = true;
    return false;
}

uint64_t SioNotifyCourier::Sending(SioSentMessage& message) const
{
    std::lock_guard<std::mutex> guard(state_->lock);
    if (!state_->hasJob)
        return 0;
    message = state_->job;
    return state_->turn;
}

void SioNotifyCourier::Run(std::shared_ptr<State> state)
{
    std::unique_lock<std::mutex> guard(state->lock);
    for (;;) {
        state->changed.wait(guard, [&state] { return state->hasJob || state->stop; });
        if (!state->hasJob)
            return;
        const SioSentMessage job = state->job;
        const bool watched = state->watched;
        const uint64_t key = state->dispatcher ? state->dispatcher->deliveryKey_ : 0;
        const uint64_t turn = state->turn;
        guard.unlock();
        if (SioWindowMessenger* messenger = CurrentSioWindowMessenger()) {
            // A messenger may call the window on this thread: it is then inside the
            // notification's delivery, in the turn of this send.
            TSioBaseDispatcher::DeliveryMark inside(key, turn);
            try {
                if (watched)
                    messenger->SendWatched(job);
                else
                    messenger->Send(job.Window, job.Msg, static_cast<uint32_t>(job.WParam),
                                    static_cast<int32_t>(job.LParam));
            } catch (...) {
                // The window's own procedure handles its exceptions; nothing to add.
            }
        }
        guard.lock();
        state->hasJob = false;
        if (state->abandoned) {
            state->abandoned = false;
            if (state->dispatcher)
                state->dispatcher->FinishAbandonedNotify();
        } else {
            state->done = true;
        }
        state->changed.notify_all();
    }
}
