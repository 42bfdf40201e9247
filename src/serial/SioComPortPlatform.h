#pragma once
// What the port component needs of the platform beyond the dispatcher's own services:
// its hidden notification window, the dispatcher of the built-in device layer, and the
// port selection dialog. The Win32 side installs the real ones at start-up
// (SioInstallWin32Services); tests install their own. Without one, no window is made,
// the built-in layer is missing (the open raises ENullApi) and no port can be chosen.
#include <cstdint>
#include <memory>

#include "serial/SioComPortTypes.h"

class SioComPortPlatform {
public:
    virtual ~SioComPortPlatform() = default;
    // A hidden window whose messages 0x7E01..0x7E04 and 0x7E0A go to SioComWindowProc on
    // the calling thread; 0 when it cannot be made.
    virtual SioWindow CreateComWindow() = 0;
    virtual void DestroyComWindow(SioWindow window) = 0;
    // Queues a message for a port window (handled later on its thread).
    virtual void PostComMessage(SioWindow window, uint32_t msg, uint32_t wParam, int32_t lParam) = 0;
    // Sends PortClosingMessage (wParam 0) to a port window again after about 10 ms. Not
    // posted at once: a loop that handles messages until none is left (a wait routine
    // that yields, a handler pumping messages while it waits) would otherwise get it back
    // for ever while the close waits for that very loop.
    virtual void PostClosingMessageLater(SioWindow window, int32_t lParam) = 0;
    // The built-in dispatcher: the device's own (tapi false), or one working on a device
    // handle opened elsewhere (tapi true).
    virtual std::unique_ptr<TSioBaseDispatcher> CreateDispatcher(TComponent* owner, bool tapi, intptr_t tapiHandle) = 0;
    // Shows the port selection dialog modally; the chosen port's number, or 0 when none
    // was chosen.
    virtual uint16_t SelectComPort() = 0;
};

// Installs the platform (not owned; null removes it).
void SetSioComPortPlatform(SioComPortPlatform* platform);
SioComPortPlatform* CurrentSioComPortPlatform();

// The port windows' procedure for the messages above (SioComWindow.cpp): finds the port
// by the dispatcher handle in lParam's high word and turns the message into its events.
// The parameters come at the platform's full width, so that the message is told from the
// dispatcher's own by all of it. Returns 0.
int32_t SioComWindowProc(SioWindow window, uint32_t msg, uintptr_t wParam, intptr_t lParam);
// True for the messages SioComWindowProc handles.
bool IsSioComWindowMessage(uint32_t msg);
