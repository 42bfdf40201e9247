#pragma once
// The port component's platform for native tests. Port windows are numbers whose
// messages run SioComWindowProc on the test's main thread: a sent one (a notification
// from the dispatcher's courier thread) waits until the main thread pumps (and, on
// request, comes back only at its next pump after that), a posted one (a close put off)
// queues up until then, one posted for later waits 10 ms more. Users'
// windows record what they are sent, and a user's window given a handler runs it on the
// main thread as its procedure, as a sent message. As on Win32, the main thread knows
// only of a watched send that it runs a window's procedure for it, until that send has
// returned; such a handler may answer its send early (AnswerEarly).
// The built-in dispatcher is the in-memory one, and the port dialog answers chosenPort.
// Installed for its lifetime, on the thread that is to be the main one.
#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <set>
#include <thread>
#include <vector>

#include "MainThreadQueue.h"
#include "MemoryDispatcher.h"
#include "NotifyRecorder.h"
#include "serial/SioComPortPlatform.h"

class FakePortWindows : public MainThreadQueue, public SioWindowMessenger, public SioComPortPlatform {
public:
    FakePortWindows()
    {
        SetSioWindowMessenger(this);
        SetSioComPortPlatform(this);
    }
    ~FakePortWindows() override
    {
        SetSioWindowMessenger(nullptr);
        SetSioComPortPlatform(nullptr);
    }

    // ---- The platform ----
    SioWindow CreateComWindow() override
    {
        std::lock_guard<std::mutex> guard(lock_);
        SioWindow window = nextWindow_++;
        live_.insert(window);
        ++created;
        return window;
    }
    void DestroyComWindow(SioWindow window) override
    {
        std::lock_guard<std::mutex> guard(lock_);
        live_.erase(window);
        ++destroyed;
    }
    void PostComMessage(SioWindow window, uint32_t msg, uint32_t wParam, int32_t lParam) override
    {
        std::lock_guard<std::mutex> guard(lock_);
        posted_.push_back({window, {msg, wParam, lParam}});
    }
    void PostClosingMessageLater(SioWindow window, int32_t lParam) override
    {
        std::lock_guard<std::mutex> guard(lock_);
        later_.push_back({std::chrono::steady_clock::now() + std::chrono::milliseconds(10),
                          {window, {PortClosingMessage, 0, lParam}}});
    }
    std::unique_ptr<TSioBaseDispatcher> CreateDispatcher(TComponent* owner, bool, intptr_t) override
    {
        ++dispatchersMade;
        auto d = std::make_unique<MemoryDispatcher>(threaded, owner);
        d->failOpen = failOpen;
        d->systemError = systemError;
        return d;
    }
    uint16_t SelectComPort() override
    {
        ++prompts;
        return chosenPort;
    }

    // ---- Window messages ----
    bool Send(SioWindow window, uint32_t msg, uint32_t wParam, int32_t lParam) override
    {
        return Deliver({window, msg, wParam, lParam}, false);
    }
    bool SendWatched(const SioSentMessage& message) override { return Deliver(message, true); }
    bool RunsSentMessage(const SioSentMessage& message) override
    {
        if (!OnMainThread())
            return false;
        std::unique_lock<std::mutex> guard(lock_);
        auto inside = std::find_if(watched_.rbegin(), watched_.rend(), [&](const Watched& w) {
            return w.message == message && onItsWay_.count(w.send);
        });
        if (inside == watched_.rend())
            return false;
        const uint64_t send = inside->send;
        if (send == answerEarly_) {
            answerEarly_ = 0;
            guard.unlock();
            AnswerNow();
            guard.lock();
            sendBegun_.wait_for(guard, std::chrono::seconds(30), [&] { return sendsBegun_ > send; });
        }
        return true;
    }
    SioWindow CreateDispatcherWindow() override { return 0; }
    // Methods queued for the main thread first, then one posted message.
    uint32_t PumpOne() override
    {
        {
            std::lock_guard<std::mutex> guard(lock_);
            ++pumps_;
        }
        pumped_.notify_all();
        if (MainThreadQueue::PumpOne())
            return 1;
        std::pair<SioWindow, Notice> message;
        {
            std::lock_guard<std::mutex> guard(lock_);
            auto now = std::chrono::steady_clock::now();
            if (!later_.empty() && later_.front().first <= now) {
                posted_.push_back(later_.front().second);
                later_.pop_front();
            }
            if (posted_.empty())
                return 0;
            message = posted_.front();
            posted_.pop_front();
        }
        if (IsLive(message.first))
            SioComWindowProc(message.first, message.second.msg, message.second.wParam, message.second.lParam);
        return 1;
    }

    // ---- The test's side ----
    // From a user's window's handler: the next time this messenger tells the main thread
    // that it runs that send, the send is answered (the sender goes on) before the answer
    // is returned, and the thread is held up until the next send has begun (30 s at most):
    // a procedure that answers early and is pre-empted between the answer it was given
    // and its take.
    void AnswerEarly()
    {
        std::lock_guard<std::mutex> guard(lock_);
        if (!watched_.empty())
            answerEarly_ = watched_.back().send;
    }
    // A user's window that records the messages it is sent; with a handler, its
    // procedure runs it.
    SioWindow UserWindow(std::function<void(const Notice&)> handler = {})
    {
        std::lock_guard<std::mutex> guard(lock_);
        SioWindow window = 0x10000 + users_.size();
        users_[window];
        userHandlers_[window] = std::move(handler);
        return window;
    }
    std::vector<uint32_t> UserMessages(SioWindow window)
    {
        std::lock_guard<std::mutex> guard(lock_);
        std::vector<uint32_t> msgs;
        for (const Notice& n : users_[window])
            msgs.push_back(n.msg);
        return msgs;
    }
    bool IsLive(SioWindow window)
    {
        std::lock_guard<std::mutex> guard(lock_);
        return live_.count(window) != 0;
    }
    int LiveWindows()
    {
        std::lock_guard<std::mutex> guard(lock_);
        return static_cast<int>(live_.size());
    }
    // No posted message waits, now or for later.
    bool NothingPosted()
    {
        std::lock_guard<std::mutex> guard(lock_);
        return posted_.empty() && later_.empty();
    }

    bool threaded = false;  // the dispatchers run their threads
    // A send to a port window comes back only once the main thread has begun another
    // pump after the one that ran its procedure (30 s at most): the dispatcher thread
    // finishes the notification no sooner than that.
    std::atomic<bool> returnAfterNextPump{false};
    bool failOpen = false;
    uint32_t systemError = 2;
    uint16_t chosenPort = 0;
    int prompts = 0;
    int dispatchersMade = 0;
    int created = 0;
    int destroyed = 0;

private:
    // A send to a window: a user's window records it and runs its handler, a port's
    // window runs SioComWindowProc.
    bool Deliver(const SioSentMessage& sent, bool watched)
    {
        const SioWindow window = sent.Window;
        const uint32_t msg = sent.Msg, wParam = sent.WParam;
        const int32_t lParam = sent.LParam;
        std::function<void(const Notice&)> handler;
        {
            std::lock_guard<std::mutex> guard(lock_);
            auto user = users_.find(window);
            if (user != users_.end()) {
                user->second.push_back({msg, wParam, lParam});
                handler = userHandlers_[window];
                if (!handler)
                    return true;
            }
        }
        if (handler) {
            RunSent(sent, watched, [handler, msg, wParam, lParam] { handler({msg, wParam, lParam}); });
            return true;
        }
        if (!IsLive(window))
            return false;
        uint64_t ranIn = 0;  // the pump that ran the procedure
        RunSent(sent, watched, [this, window, msg, wParam, lParam, &ranIn] {
            ranIn = Pumps();
            if (IsLive(window))
                SioComWindowProc(window, msg, wParam, lParam);
        });
        if (returnAfterNextPump) {
            std::unique_lock<std::mutex> guard(lock_);
            pumped_.wait_for(guard, std::chrono::seconds(30), [&] { return pumps_ > ranIn; });
        }
        return true;
    }
    // A window's procedure on the main thread for a message another thread sent it; all
    // it needs is its own, as a procedure that answered early runs on after the send.
    template <class Procedure>
    void RunSent(const SioSentMessage& message, bool watched, Procedure procedure)
    {
        watched = watched && !OnMainThread();
        uint64_t send;
        {
            std::lock_guard<std::mutex> guard(lock_);
            send = ++sendsBegun_;
            if (watched)
                onItsWay_.insert(send);
        }
        sendBegun_.notify_all();
        Synchronize([this, message, watched, send, procedure] {
            if (watched)
                Enter({message, send});
            procedure();
            if (watched)
                Leave();
        });
        std::lock_guard<std::mutex> guard(lock_);
        onItsWay_.erase(send);
    }
    struct Watched {
        SioSentMessage message;
        uint64_t send;
    };
    void Enter(const Watched& inside)
    {
        std::lock_guard<std::mutex> guard(lock_);
        watched_.push_back(inside);
    }
    void Leave()
    {
        std::lock_guard<std::mutex> guard(lock_);
        watched_.pop_back();
    }
    uint64_t Pumps()
    {
        std::lock_guard<std::mutex> guard(lock_);
        return pumps_;
    }

    std::mutex lock_;
    std::condition_variable sendBegun_;
    std::condition_variable pumped_;
    uint64_t pumps_ = 0;  // the main thread's pumps begun so far
    // Watched sends whose procedures run on the main thread, innermost last; sends not
    // returned yet; sends begun so far; a send to answer early.
    std::vector<Watched> watched_;
    std::set<uint64_t> onItsWay_;
    uint64_t sendsBegun_ = 0;
    uint64_t answerEarly_ = 0;
    SioWindow nextWindow_ = 1;
    std::set<SioWindow> live_;
    std::deque<std::pair<SioWindow, Notice>> posted_;
    std::deque<std::pair<std::chrono::steady_clock::time_point, std::pair<SioWindow, Notice>>> later_;
    std::map<SioWindow, std::vector<Notice>> users_;
    std::map<SioWindow, std::function<void(const Notice&)>> userHandlers_;
};
