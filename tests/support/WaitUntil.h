#pragma once
// Waiting for what another thread or program is to do, looking again until it is done.
#include <chrono>
#include <thread>

// Waits until pred holds, or until limit has passed; whether it held. The default limit
// is for what must come: long enough for a loaded machine, so only a fault waits it out.
// Between looks the thread yields, or sleeps pause when one is given (to look gently
// where each look costs, or where another program needs the time).
template <class Pred>
bool WaitUntil(Pred pred, std::chrono::milliseconds limit = std::chrono::seconds(30),
               std::chrono::milliseconds pause = std::chrono::milliseconds(0))
{
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!pred()) {
        if (std::chrono::steady_clock::now() >= deadline)
            return pred();
        if (pause.count() > 0)
            std::this_thread::sleep_for(pause);
        else
            std::this_thread::yield();
    }
    return true;
}
