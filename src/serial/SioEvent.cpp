#include "serial/SioEvent.h"

#include <chrono>
#include <condition_variable>
#include <mutex>

namespace {

// One lock and one wake-up for every event: events are signalled seldom, and a waiter
// of two events then needs nothing more than a predicate over both.
std::mutex& EventLock()
{
    static std::mutex lock;
    return lock;
}

std::condition_variable& EventChanged()
{
    static std::condition_variable changed;
    return changed;
}

} // namespace

void SioEvent::Set()
{
    {
        std::lock_guard<std::mutex> guard(EventLock());
        signalled_ = true;
    }
    EventChanged().notify_all();
}

void SioEvent::Reset()
{
    std::lock_guard<std::mutex> guard(EventLock());
    signalled_ = false;
}

bool SioEvent::IsSet() const
{
    std::lock_guard<std::mutex> guard(EventLock());
    return signalled_;
}

bool SioEvent::Take()
{
    if (!signalled_)
        return false;
    if (!manualReset_)
        signalled_ = false;
    return true;
}

bool SioEvent::WaitFor(uint32_t timeoutMs)
{
    std::unique_lock<std::mutex> guard(EventLock());
    return EventChanged().wait_for(guard, std::chrono::milliseconds(timeoutMs), [this] { return Take(); });
}

int SioEvent::WaitForEither(SioEvent& first, SioEvent& second, uint32_t timeoutMs)
{
    std::unique_lock<std::mutex> guard(EventLock());
    int which = -1;
    EventChanged().wait_for(guard, std::chrono::milliseconds(timeoutMs), [&] {
        which = first.Take() ? 0 : second.Take() ? 1 : -1;
        return which >= 0;
    });
    return which;
}
