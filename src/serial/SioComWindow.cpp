// The port window's side of the component: the procedure that turns the dispatcher's
// notifications into the port's events on the window's thread, and the end of a close
// that had to wait for a handler. Also the installed platform.
#include <algorithm>
#include <atomic>
#include <vector>

#include "serial/SioComPort.h"
#include "serial/SioComPortPlatform.h"
#include "serial/SioDispatcher.h"
#include "serial/SioPortList.h"

namespace {

std::atomic<SioComPortPlatform*> platform{nullptr};

// Dispatchers whose component was destroyed while one of its handlers still ran: their
// close is finished by their window's PortClosingMessage. Only touched under the
// port-list lock.
struct OrphanPort {
    std::unique_ptr<TSioBaseDispatcher> dispatcher;
    SioWindow window;
};
std::vector<OrphanPort>& Orphans()
{
    static std::vector<OrphanPort> orphans;
    return orphans;
}

// True when d is an orphan (its messages then concern nobody else).
bool HandleOrphanMessage(TSioBaseDispatcher* d, uint32_t msg, int32_t lParam)
{
    auto& orphans = Orphans();
    auto it = std::find_if(orphans.begin(), orphans.end(), [d](const OrphanPort& o) { return o.dispatcher.get() == d; });
    if (it == orphans.end())
        return false;
    if (msg != PortClosingMessage)
        return true;
    SioComPortPlatform* p = platform;
    if (!d->CanFinishClose()) {
        if (p)
            p->PostClosingMessageLater(it->window, lParam);
        return true;
    }
    OrphanPort orphan = std::move(*it);
    orphans.erase(it);
    if (p && orphan.window)
        p->DestroyComWindow(orphan.window);
    orphan.dispatcher.reset();  // completes the close
    return true;
}

} // namespace

void SetSioComPortPlatform(SioComPortPlatform* p) { platform = p; }
SioComPortPlatform* CurrentSioComPortPlatform() { return platform; }

void TSioCustomComPort::AdoptOrphan(std::unique_ptr<TSioBaseDispatcher> dispatcher, SioWindow window)
{
    if (!dispatcher)
        return;
    SioPortListLock lock;
    Orphans().push_back({std::move(dispatcher), window});
}

bool IsSioComWindowMessage(uint32_t msg)
{
    return (msg >= TriggerAvailMessage && msg <= TriggerStatusMessage) || msg == PortClosingMessage;
}

int32_t SioComWindowProc(SioWindow window, uint32_t msg, uintptr_t wParam, intptr_t lParam)
{
    if (!IsSioComWindowMessage(msg))
        return 0;
    // Held for the whole handling, handlers included (it is re-entrant for this thread).
    SioPortListLock lock;
    int32_t index = static_cast<int32_t>(static_cast<uint32_t>(lParam) >> 16);
    if (index >= PortListCount())
        return 0;
    TSioBaseDispatcher* d = PortListEntry(index);
    if (!d || HandleOrphanMessage(d, msg, static_cast<int32_t>(lParam)))
        return 0;
    if (auto* port = dynamic_cast<TSioCustomComPort*>(d->Owner)) {
        // The port's events for the notification the courier is sending this window are
        // the notification's handlers: what they take is their read-ahead.
        TSioBaseDispatcher::PortWindowScope inside(*d, {window, msg, wParam, lParam});
        port->HandleComWindowMessage(window, msg, static_cast<uint32_t>(wParam), static_cast<int32_t>(lParam));
    }
    return 0;
}

void TSioCustomComPort::HandleComWindowMessage(SioWindow window, uint32_t msg, uint32_t wParam, int32_t lParam)
{
    std::shared_ptr<bool> alive = alive_;
    ++busyDepth_;
    try {
        auto handle = static_cast<uint16_t>(wParam);
        Trigger(static_cast<uint16_t>(msg), handle,
                msg == TriggerAvailMessage ? handle : static_cast<uint16_t>(lParam & 0xFFFF));
        if (*alive) {
            switch (msg) {
            case TriggerAvailMessage:
                TriggerAvail(handle);
                break;
            case TriggerDataMessage:
                TriggerData(handle);
                break;
            case TriggerTimerMessage:
                TriggerTimer(handle);
                break;
            case TriggerStatusMessage:
                TriggerStatus(handle);
                if (!*alive)
                    break;
                switch (ClassifyStatusTrigger(handle)) {
                case stModem:
                    TriggerModemStatus();
                    break;
                case stLine: {
                    bool lineBreak = LineBreak();
                    TriggerLineError(LineError(), lineBreak);
                    break;
                }
                case stOutBuffFree:
                    TriggerOutbuffFree();
                    break;
                case stOutBuffUsed:
                    TriggerOutbuffUsed();
                    break;
                case stOutSent:
                    TriggerOutSent();
                    break;
                default:
                    break;
                }
                break;
            case PortClosingMessage:
                FinishDeferredClose(window, lParam);
                break;
            default:
                break;
            }
        }
    } catch (...) {
        ShowHandledSioException();
    }
    if (*alive)
        --busyDepth_;
}
