#pragma once
// Notification targets for tests: a recorder of the notifications a handler receives
// (with an optional action run inside the handler), and a window messenger whose
// "windows" are recorders.
#include <functional>
#include <map>
#include <mutex>
#include <vector>

#include "serial/SioNotifyServices.h"

struct Notice {
    uint32_t msg;
    uint32_t wParam;
    int32_t lParam;
};

class NotifyRecorder {
public:
    // Runs inside the handler, after the notice is recorded.
    std::function<void(const Notice&)> onNotice;

    void Handle(uint32_t msg, uint32_t wParam, int32_t lParam)
    {
        Notice notice{msg, wParam, lParam};
        {
            std::lock_guard<std::mutex> guard(lock_);
            notices_.push_back(notice);
        }
        if (onNotice)
            onNotice(notice);
    }
    TSioNotifyEvent Event() { return MakeSioNotifyEvent<NotifyRecorder, &NotifyRecorder::Handle>(this); }
    std::vector<Notice> Notices()
    {
        std::lock_guard<std::mutex> guard(lock_);
        return notices_;
    }
    size_t Count() { return Notices().size(); }

private:
    std::mutex lock_;
    std::vector<Notice> notices_;
};

// Installed for its lifetime.
class RecorderMessenger : public SioWindowMessenger {
public:
    RecorderMessenger() { SetSioWindowMessenger(this); }
    ~RecorderMessenger() override { SetSioWindowMessenger(nullptr); }
    void Add(SioWindow window, NotifyRecorder& recorder) { windows_[window] = &recorder; }
    bool Send(SioWindow window, uint32_t msg, uint32_t wParam, int32_t lParam) override
    {
        auto it = windows_.find(window);
        if (it == windows_.end())
            return false;
        it->second->Handle(msg, wParam, lParam);
        return true;
    }
    SioWindow CreateDispatcherWindow() override { return 0x777; }

private:
    std::map<SioWindow, NotifyRecorder*> windows_;
};
