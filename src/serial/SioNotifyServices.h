#pragma once
// How the serial library reaches the application: the three kinds of notification
// targets (windows, procedures, methods), and the platform services that deliver to
// them. The portable defaults know no windows, run "synchronised" methods on the
// calling thread and show no exception box; the Win32 side installs the real ones at
// start-up (SioWin32Services.h).
#include <cstdint>
#include <functional>
#include <string>

// A window handle as a number.
using SioWindow = uintptr_t;

// A plain procedure handler.
using TSioNotifyProc = void (*)(uint32_t msg, uint32_t wParam, int32_t lParam);

// A method handler: a function bound to an object. Two are equal when both the object
// and the function are, so a handler can be found again to deregister it.
struct TSioNotifyEvent {
    void* Data = nullptr;
    void (*Code)(void* data, uint32_t msg, uint32_t wParam, int32_t lParam) = nullptr;

    explicit operator bool() const { return Code != nullptr; }
    void operator()(uint32_t msg, uint32_t wParam, int32_t lParam) const { Code(Data, msg, wParam, lParam); }
    bool operator==(const TSioNotifyEvent& o) const { return Data == o.Data && Code == o.Code; }
    bool operator!=(const TSioNotifyEvent& o) const { return !(*this == o); }
};

// The method M of object as a notification event.
template <class T, void (T::*M)(uint32_t, uint32_t, int32_t)>
TSioNotifyEvent MakeSioNotifyEvent(T* object)
{
    return {object, [](void* data, uint32_t msg, uint32_t wParam, int32_t lParam) {
                (static_cast<T*>(data)->*M)(msg, wParam, lParam);
            }};
}

// One message sent to a window, its parameters at the platform's full width: a message
// that differs from a notification only above bit 31 is another message.
struct SioSentMessage {
    SioWindow Window = 0;
    uint32_t Msg = 0;
    uintptr_t WParam = 0;
    intptr_t LParam = 0;

    bool operator==(const SioSentMessage& o) const
    {
        return Window == o.Window && Msg == o.Msg && WParam == o.WParam && LParam == o.LParam;
    }
    bool operator!=(const SioSentMessage& o) const { return !(*this == o); }
};

class SioWindowMessenger {
public:
    virtual ~SioWindowMessenger() = default;
    // Sends msg to window and returns once the window's procedure has returned, however
    // long that takes; false when there is no such window. The dispatcher calls it on a
    // thread of its own, never on the window's.
    virtual bool Send(SioWindow window, uint32_t msg, uint32_t wParam, int32_t lParam) = 0;
    // The same for a notification to a window whose procedure is not the serial
    // library's own: while it is on its way, RunsSentMessage can tell the window's
    // thread that it is handling it.
    // (The dispatcher's notifications carry 32-bit parameters.)
    virtual bool SendWatched(const SioSentMessage& message)
    {
        return Send(message.Window, message.Msg, static_cast<uint32_t>(message.WParam),
                    static_cast<int32_t>(message.LParam));
    }
    // Whether the calling thread is running the procedure of message's window for a
    // message equal to it, while SendWatched is still delivering message from another
    // thread (until that send returns, so also a little after a procedure that answered
    // early has answered); also deeper down, in a loop that procedure runs. Handling any
    // other message, sent by anyone, does not count outside that procedure. Messengers
    // that call windows on the sending thread keep this false. The dispatcher acts on
    // the answer only while the delivery it was asked for is still the one running.
    virtual bool RunsSentMessage(const SioSentMessage& message)
    {
        (void)message;
        return false;
    }
    // A hidden 10 by 10 window of class "sioDispatch" (0 when it cannot be made).
    virtual SioWindow CreateDispatcherWindow() = 0;
};

class SioSynchronizer {
public:
    virtual ~SioSynchronizer() = default;
    // Runs method on the application's main thread and returns when it has run; an
    // exception it raises comes back here.
    virtual void Synchronize(const std::function<void()>& method) = 0;
};

// Installs a service (not owned; null restores the portable default).
void SetSioWindowMessenger(SioWindowMessenger* messenger);
void SetSioSynchronizer(SioSynchronizer* synchronizer);
void SetSioExceptionBox(void (*show)(const std::string& message));
// Whether the system is of the NT family (the default): elsewhere RS-485 is driven
// through the UART's registers.
void SetSioPlatformIsNT(bool isNT);

SioWindowMessenger* CurrentSioWindowMessenger();
void SioSynchronize(const std::function<void()>& method);
// The same, with an exception of method shown in the exception box instead of raised.
void SioSynchronizeShowingErrors(const std::function<void()>& method);
// Shows an exception's text in the application's exception box (task-modal, error icon).
void ShowSioException(const std::string& message);
// The same for the exception being handled (call from a catch block).
void ShowHandledSioException();
bool SioPlatformIsNT();
