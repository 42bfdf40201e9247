#pragma once
// Threads with Synchronize: a worker hands a method to the main thread and waits until
// it has run. The main thread runs queued methods when the application's hidden window
// receives CM_SYNCHRONIZE (so inside every message loop, modal ones included) and
// while it waits for a thread in WaitFor.
#include <windows.h>

#include <atomic>
#include <exception>
#include <functional>

#include "ui/Handles.h"

// A thread is always created suspended: the constructor never starts it, because
// Execute is a virtual of the derived class, which does not exist yet while the base
// constructor runs. Start it with Start() once the object is complete (for example at
// the end of the derived constructor, or right after new).
class TThread {
public:
    TThread() = default;
    // Terminates and waits for the thread. A derived class whose Execute uses its own
    // members must call TerminateAndWait in its destructor, before they go.
    virtual ~TThread();
    TThread(const TThread&) = delete;
    TThread& operator=(const TThread&) = delete;

    void Start();
    void Terminate() { terminated_ = true; }
    bool Terminated() const { return terminated_; }
    bool Finished() const { return finished_; }
    // Waits until Execute has returned; on the main thread, queued Synchronize calls
    // and sent messages are served meanwhile. Returns ReturnValue.
    int WaitFor();
    void TerminateAndWait();
    HANDLE Handle() const { return handle_.Get(); }
    // The exception that ended Execute, if any.
    std::exception_ptr FatalException;
    int ReturnValue = 0;

protected:
    virtual void Execute() = 0;
    // Runs method on the main thread and waits for it; an exception it raises is
    // raised again in this thread. Called on the main thread it simply runs method.
    void Synchronize(const std::function<void()>& method);

private:
    static unsigned __stdcall ThreadProc(void* self);

    TKernelHandle handle_;
    std::atomic<bool> terminated_{false};
    std::atomic<bool> finished_{false};
    bool started_ = false;
};

// The window that receives CM_SYNCHRONIZE (the application's hidden window).
void SetSynchronizeWindow(HWND window);
// Runs every method queued by Synchronize; true if any ran. Main thread only.
bool CheckSynchronize();
bool IsMainThread();
