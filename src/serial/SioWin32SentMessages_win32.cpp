#include "serial/SioWin32SentMessages.h"

#include <windows.h>

#include <algorithm>
#include <map>
#include <mutex>
#include <vector>

namespace {

struct WatchedSend {
    unsigned long long id;
    SioSentMessage message;
};

struct ThreadHooks {
    HHOOK before = nullptr;
    HHOOK after = nullptr;
    int sends = 0;  // watched sends on their way to the thread
};

std::mutex lock;  // the watched sends and the hooked threads
std::vector<WatchedSend> watchedSends;
std::map<DWORD, ThreadHooks> hookedThreads;
unsigned long long nextSend = 1;

// The watched sends whose procedures the thread is inside, innermost last. A message
// equal to the innermost one that arrives inside its procedure (sent by that procedure
// to itself, say) gets a record of its own, so that the hook after each procedure
// takes away its own.
struct Inside {
    unsigned long long send;
    SioSentMessage message;
};
thread_local std::vector<Inside> insideSends;

// At full width: a message whose parameters differ from a watched send's only above
// bit 31 is another message.
SioSentMessage MessageOf(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    return {reinterpret_cast<SioWindow>(hwnd), msg, wParam, lParam};
}

// Under the lock.
bool OnItsWay(unsigned long long send)
{
    return std::any_of(watchedSends.begin(), watchedSends.end(), [send](const WatchedSend& s) { return s.id == send; });
}

// Under the lock: records whose send has ended while its procedure still ran (the
// window answered early, or its hooks went first) say nothing any more.
void DropEnded()
{
    while (!insideSends.empty() && !OnItsWay(insideSends.back().send))
        insideSends.pop_back();
}

void Entering(const SioSentMessage& message, bool fromThisThread)
{
    if (fromThisThread && insideSends.empty())
        return;  // the common case, decided without the lock
    std::lock_guard<std::mutex> guard(lock);
    DropEnded();
    if (!insideSends.empty() && insideSends.back().message == message) {
        insideSends.push_back(insideSends.back());
        return;
    }
    if (fromThisThread)
        return;
    auto send = std::find_if(watchedSends.begin(), watchedSends.end(),
                             [&message](const WatchedSend& s) { return s.message == message; });
    if (send != watchedSends.end())
        insideSends.push_back({send->id, message});
}

void Left(const SioSentMessage& message)
{
    if (insideSends.empty())
        return;
    std::lock_guard<std::mutex> guard(lock);
    DropEnded();
    if (!insideSends.empty() && insideSends.back().message == message)
        insideSends.pop_back();
}

// wParam: whether the message comes from the thread itself.
LRESULT CALLBACK BeforeProcedure(int code, WPARAM fromThisThread, LPARAM info)
{
    if (code == HC_ACTION) {
        const auto* call = reinterpret_cast<const CWPSTRUCT*>(info);
        Entering(MessageOf(call->hwnd, call->message, call->wParam, call->lParam), fromThisThread != 0);
    }
    return CallNextHookEx(nullptr, code, fromThisThread, info);
}

LRESULT CALLBACK AfterProcedure(int code, WPARAM wParam, LPARAM info)
{
    if (code == HC_ACTION) {
        const auto* call = reinterpret_cast<const CWPRETSTRUCT*>(info);
        Left(MessageOf(call->hwnd, call->message, call->wParam, call->lParam));
    }
    return CallNextHookEx(nullptr, code, wParam, info);
}

} // namespace

SioWin32SentMessages::Watch::Watch(const SioSentMessage& message)
{
    DWORD process = 0;
    DWORD thread = GetWindowThreadProcessId(reinterpret_cast<HWND>(message.Window), &process);
    if (!thread || thread == GetCurrentThreadId() || process != GetCurrentProcessId())
        return;
    std::lock_guard<std::mutex> guard(lock);
    thread_ = thread;
    send_ = nextSend++;
    watchedSends.push_back({send_, message});
    ThreadHooks& hooks = hookedThreads[thread];
    if (hooks.sends++ == 0) {
        // Set before the message goes out, so the thread sees it with the hooks on.
        hooks.before = SetWindowsHookExW(WH_CALLWNDPROC, BeforeProcedure, nullptr, thread);
        hooks.after = SetWindowsHookExW(WH_CALLWNDPROCRET, AfterProcedure, nullptr, thread);
    }
}

SioWin32SentMessages::Watch::~Watch()
{
    if (!thread_)
        return;
    // Hooks come and go under the lock, so a thread never has two pairs at once.
    std::lock_guard<std::mutex> guard(lock);
    watchedSends.erase(std::find_if(watchedSends.begin(), watchedSends.end(),
                                    [this](const WatchedSend& s) { return s.id == send_; }));
    auto hooks = hookedThreads.find(thread_);
    if (--hooks->second.sends > 0)
        return;
    if (hooks->second.before)
        UnhookWindowsHookEx(hooks->second.before);
    if (hooks->second.after)
        UnhookWindowsHookEx(hooks->second.after);
    hookedThreads.erase(hooks);
}

bool SioWin32SentMessages::Runs(const SioSentMessage& message)
{
    if (insideSends.empty())
        return false;
    std::lock_guard<std::mutex> guard(lock);
    return std::any_of(insideSends.begin(), insideSends.end(), [&message](const Inside& inside) {
        return inside.message == message && OnItsWay(inside.send);
    });
}
