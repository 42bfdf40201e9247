#pragma once
// Stands for the application's main thread in tests: "synchronised" methods queue up
// here and run when the test's thread pumps (SafeYield, which the dispatcher also calls
// while it waits for its threads), as they run from the message loop in the program.
// Installed for its lifetime, on the thread that is to be the main one.
#include <chrono>
#include <condition_variable>
#include <deque>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>

#include "serial/SioClock.h"
#include "serial/SioNotifyServices.h"

class MainThreadQueue : public SioSynchronizer, public SioMessagePump {
public:
    MainThreadQueue()
    {
        SetSioSynchronizer(this);
        SetSioMessagePump(this);
    }
    ~MainThreadQueue() override
    {
        SetSioSynchronizer(nullptr);
        SetSioMessagePump(nullptr);
    }

    void Synchronize(const std::function<void()>& method) override
    {
        if (std::this_thread::get_id() == main_) {
            method();
            return;
        }
        Request request{&method, false, nullptr};
        std::unique_lock<std::mutex> guard(lock_);
        queue_.push_back(&request);
        done_.wait(guard, [&request] { return request.done; });
        if (request.error)
            std::rethrow_exception(request.error);
    }

    bool OnMainThread() const { return std::this_thread::get_id() == main_; }
    // A method waits to run on the main thread.
    bool Queued()
    {
        std::lock_guard<std::mutex> guard(lock_);
        return !queue_.empty();
    }

    uint32_t PumpOne() override
    {
        if (!OnMainThread())
            return 0;
        Request* request;
        {
            std::lock_guard<std::mutex> guard(lock_);
            if (queue_.empty())
                return 0;
            request = queue_.front();
            queue_.pop_front();
        }
        try {
            (*request->method)();
        } catch (...) {
            request->error = std::current_exception();
        }
        {
            std::lock_guard<std::mutex> guard(lock_);
            request->done = true;
        }
        done_.notify_all();
        return 1;
    }

private:
    struct Request {
        const std::function<void()>* method;
        bool done = false;
        std::exception_ptr error;
    };
    const std::thread::id main_ = std::this_thread::get_id();
    std::mutex lock_;
    std::condition_variable done_;
    std::deque<Request*> queue_;
};

// Pumps the main thread's queue until pred holds or ms pass; whether it held.
template <class Pred>
bool PumpUntil(Pred pred, int ms = 5000)
{
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (!pred()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        if (!SafeYield())
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}
