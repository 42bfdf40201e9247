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
#include <vector>

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
        std::function<void()> method;  // its own copy: the caller may be answered early
        {
            std::lock_guard<std::mutex> guard(lock_);
            if (queue_.empty())
                return 0;
            request = queue_.front();
            queue_.pop_front();
            method = *request->method;
            running_.push_back(request);
        }
        std::exception_ptr error;
        try {
            method();
        } catch (...) {
            error = std::current_exception();
        }
        {
            std::lock_guard<std::mutex> guard(lock_);
            if (running_.back()) {
                request->error = error;
                request->done = true;
            }
            running_.pop_back();
        }
        done_.notify_all();
        return 1;
    }

    // From inside a method run for another thread: that thread goes on at once, as if
    // the method had returned (what it raises later is lost), while it runs on here.
    void AnswerNow()
    {
        {
            std::lock_guard<std::mutex> guard(lock_);
            if (running_.empty() || !running_.back())
                return;
            running_.back()->done = true;
            running_.back() = nullptr;
        }
        done_.notify_all();
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
    std::vector<Request*> running_;  // innermost last; null once answered
};

// Pumps the main thread's queue until pred holds or ms pass; whether it held. The default
// is for what must come: long enough for a loaded machine, and only a fault waits it out.
template <class Pred>
bool PumpUntil(Pred pred, int ms = 30000)
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
