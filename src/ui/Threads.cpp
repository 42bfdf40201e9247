#include "ui/Threads.h"

#include <process.h>

#include <condition_variable>
#include <deque>
#include <mutex>

#include "ui/Exceptions.h"
#include "ui/Messages.h"

namespace {

struct SyncRequest {
    const std::function<void()>* method;
    std::exception_ptr error;
    bool done = false;
};

std::mutex g_syncLock;
std::condition_variable g_syncDone;
std::deque<SyncRequest*> g_syncQueue;
HWND g_syncWindow = nullptr;
// Set while something is queued, so a main thread waiting in WaitFor wakes up.
HANDLE g_syncEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
const DWORD g_mainThreadId = GetCurrentThreadId();

} // namespace

bool IsMainThread() { return GetCurrentThreadId() == g_mainThreadId; }

void SetSynchronizeWindow(HWND window) { g_syncWindow = window; }

bool CheckSynchronize()
{
    bool any = false;
    for (;;) {
        SyncRequest* req;
        {
            std::lock_guard<std::mutex> lock(g_syncLock);
            if (g_syncQueue.empty()) {
                ResetEvent(g_syncEvent);
                return any;
            }
            req = g_syncQueue.front();
            g_syncQueue.pop_front();
        }
        any = true;
        try {
            (*req->method)();
        } catch (...) {
            req->error = std::current_exception();
        }
        {
            std::lock_guard<std::mutex> lock(g_syncLock);
            req->done = true;
        }
        g_syncDone.notify_all();
    }
}

TThread::~TThread()
{
    TerminateAndWait();
}

void TThread::Start()
{
    if (started_)
        return;
    started_ = true;
    handle_.Reset(reinterpret_cast<HANDLE>(_beginthreadex(nullptr, 0, ThreadProc, this, 0, nullptr)));
    if (!handle_) {
        started_ = false;
        throw Exception("Thread creation error");
    }
}

unsigned __stdcall TThread::ThreadProc(void* param)
{
    auto* self = static_cast<TThread*>(param);
    try {
        self->Execute();
    } catch (...) {
        self->FatalException = std::current_exception();
    }
    self->finished_ = true;
    return static_cast<unsigned>(self->ReturnValue);
}

void TThread::Synchronize(const std::function<void()>& method)
{
    if (IsMainThread()) {
        method();
        return;
    }
    SyncRequest req{&method, nullptr, false};
    {
        std::lock_guard<std::mutex> lock(g_syncLock);
        g_syncQueue.push_back(&req);
        SetEvent(g_syncEvent);
    }
    if (g_syncWindow)
        PostMessageW(g_syncWindow, CM_SYNCHRONIZE, 0, 0);
    {
        std::unique_lock<std::mutex> lock(g_syncLock);
        g_syncDone.wait(lock, [&req] { return req.done; });
    }
    if (req.error)
        std::rethrow_exception(req.error);
}

int TThread::WaitFor()
{
    if (!started_ || !handle_)
        return ReturnValue;
    if (!IsMainThread()) {
        WaitForSingleObject(handle_.Get(), INFINITE);
        return ReturnValue;
    }
    HANDLE handles[2] = {handle_.Get(), g_syncEvent};
    for (;;) {
        DWORD r = MsgWaitForMultipleObjects(2, handles, FALSE, INFINITE, QS_SENDMESSAGE);
        if (r == WAIT_OBJECT_0)
            break;
        if (r == WAIT_OBJECT_0 + 1) {
            CheckSynchronize();
        } else {
            // Serve messages sent to this thread's windows, without taking posted ones.
            MSG msg;
            PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
        }
    }
    return ReturnValue;
}

void TThread::TerminateAndWait()
{
    if (!started_ || finished_) {
        if (started_ && handle_)
            WaitForSingleObject(handle_.Get(), INFINITE);
        return;
    }
    Terminate();
    WaitFor();
}
