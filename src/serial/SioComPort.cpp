// The port component's life: construction and destruction, opening and closing, the
// port number, loading and copying.
#include "serial/SioComPort.h"

#include <chrono>
#include <exception>
#include <thread>

#include "serial/SioClock.h"
#include "serial/SioComPortPlatform.h"
#include "serial/SioDispatcher.h"
#include "serial/SioDispatcherThread.h"
#include "serial/SioExceptions.h"
#include "serial/SioNotifyServices.h"
#include "ui/SysUtils.h"

TSioCustomComPort::TSioCustomComPort(TComponent* owner) : TSioBaseComponent(owner) {}

TSioCustomComPort::~TSioCustomComPort()
{
    ComponentState |= csDestroying;
    try {
        if (portState_ == psOpen)
            DonePort();
    } catch (const std::exception& e) {
        ShowSioException(e.what());
    }
    if (portState_ == psShuttingDown)
        SettleDeferredClose();
    *alive_ = false;
    TSioBaseDispatcher::ClearSaveBuffers(SavedTriggers);
}

void TSioCustomComPort::SettleDeferredClose()
{
    OpenPending = false;
    if (SettleCloseHere()) {
        FinishClose();
        return;
    }
    if (portState_ != psShuttingDown)
        return;  // the window's message finished the close meanwhile
    // A handler of this port runs underneath, or one on another thread still holds the
    // dispatcher: it stays busy until that handler returns. The window's message, on its
    // way since the close was put off, finishes the close then.
    if (dispatcher_) {
        dispatcher_->DeregisterWndTriggerHandler(comWindow_);
        dispatcher_->UpdateHandlerFlags(fuDisablePort);
    }
    AdoptOrphan(std::move(dispatcher_), comWindow_);
    comWindow_ = 0;
    portState_ = psClosed;
    open_ = false;
}

std::string TSioCustomComPort::ComName(uint16_t n) { return "COM" + IntToStr(n); }

TSioCustomComPort* TSioCustomComPort::SearchComPort(TComponent* c)
{
    if (!c)
        return nullptr;
    for (int i = 0; i < c->ComponentCount(); ++i) {
        TComponent* child = c->Components(i);
        if (auto* port = dynamic_cast<TSioCustomComPort*>(child))
            return port;
        if (TSioCustomComPort* port = SearchComPort(child))
            return port;
    }
    return nullptr;
}

bool TSioCustomComPort::EventsAllowed() const
{
    if (ComponentState & csDestroying)
        return false;
    TComponent* o = Owner();
    return !(o && (o->ComponentState & csDestroying));
}

// ---- Opening ----

void TSioCustomComPort::SetOpen(bool value)
{
    if (Loading()) {
        if (value == open_)
            return;
        open_ = value;
        if (value)
            OpenOnLoad = true;
        return;
    }
    // The port's real state decides: during a close put off, Open still reads True.
    if (value) {
        if (portState_ == psClosed)
            InitPort();
        else if (portState_ == psShuttingDown)
            OpenPending = true;
    } else {
        if (portState_ == psOpen)
            DonePort();
        else if (portState_ == psShuttingDown)
            OpenPending = false;  // the reopen asked for meanwhile is called off
    }
}

void TSioCustomComPort::Loaded()
{
    TSioBaseComponent::Loaded();
    if (OpenOnLoad)
        open_ = true;
    if (!open_)
        return;
    OpenOnLoad = false;
    open_ = false;
    try {
        InitPort();
    } catch (const std::exception& e) {
        open_ = false;
        ShowSioException(e.what());
    }
}

void TSioCustomComPort::ForcePortOpen()
{
    if (AutoOpen)
        OpenOnLoad = true;
}

void TSioCustomComPort::ValidateComport()
{
    if (comNumber_ != 0)
        return;
    if (PromptForPort) {
        SioComPortPlatform* platform = CurrentSioComPortPlatform();
        uint16_t chosen = platform ? platform->SelectComPort() : 0;
        if (chosen != 0) {
            comNumber_ = chosen;
            return;
        }
    }
    CheckException(this, -2011);
    throw ENoPortSelected(-2011);  // while loading CheckException keeps quiet: no port, no open
}

std::unique_ptr<TSioBaseDispatcher> TSioCustomComPort::ActivateDeviceLayer()
{
    if (CustomDispatcher)
        return CustomDispatcher(this);
    if (deviceLayer_ == dlWinsock)
        return nullptr;
    SioComPortPlatform* platform = CurrentSioComPortPlatform();
    if (!platform)
        return nullptr;
    return platform->CreateDispatcher(this, TapiMode == tmOn, TapiCommHandle);
}

int32_t TSioCustomComPort::InitializePort()
{
    uint32_t options = (dtr_ ? 1 : 0) | (rts_ ? 2 : 0) | (hwFlowOptions_ & SetOf(hwfUseDTR) ? 0x10 : 0) |
                       (hwFlowOptions_ & SetOf(hwfUseRTS) ? 0x20 : 0);
    std::string name = TapiMode == tmOn ? std::string() : "\\\\.\\" + ComName(comNumber_);
    int32_t result = dispatcher_->InitPort(name.c_str(), baud_, parity_, static_cast<uint8_t>(dataBits_),
                                           static_cast<uint8_t>(stopBits_), inSize_, outSize_, options);
    // A port another program holds answers "access denied" (some systems report a
    // sharing violation instead); a port that does not exist "file/path not found".
    if (result == -5 || result == -32)
        return -2008;
    if (result == -2 || result == -3)
        return -2001;
    return result;
}

void TSioCustomComPort::InitPort()
{
    if (TapiMode != tmOn)
        ValidateComport();
    dispatcher_ = ActivateDeviceLayer();
    if (!dispatcher_) {
        CheckException(this, -3001);
        return;
    }
    dispatcher_->Log().DeviceName = "\\\\.\\" + ComName(comNumber_);
    try {
        if (TapiMode == tmOn) {
            if (dispatcher_->ComHandle() <= 0) {
                CheckException(this, -2012);
                throw ENotOpenedByTapi(-2012);
            }
            TSioDCB dcb;
            dispatcher_->GetComState(dcb);
            baud_ = static_cast<int32_t>(MapBaud(dcb.BaudRate));
            parity_ = dcb.Parity <= pSpace ? static_cast<TParity>(dcb.Parity) : pNone;
            dataBits_ = dcb.ByteSize;
            stopBits_ = dcb.StopBits == 2 ? 2 : 1;
            hwFlowOptions_ = static_cast<THWFlowOptionSet>(DcbHWFlowOptions(dcb.Flags));
            uint32_t sw = DcbSWFlowOptions(dcb.Flags);
            swFlowOptions_ = sw == 1 ? swfTransmit : sw == 2 ? swfReceive : sw == 3 ? swfBoth : swfNone;
            xOnChar_ = dcb.XonChar;
            xOffChar_ = dcb.XoffChar;
        }
        int32_t result = InitializePort();
        if (result != 0) {
            CheckException(this, result);  // raises for every negative code...
            throw ESioException(result);   // ...unless loading: the port stays closed anyway
        }
        portState_ = psOpen;
        UpdateHandlerFlag();
        {
            Force = true;
            SetTracing(tracing_);
            SetLogging(logging_);
            SetHWFlowOptions(hwFlowOptions_);
            SetSWFlowOptions(swFlowOptions_);
            SetXOnChar(xOnChar_);
            SetXOffChar(xOffChar_);
            SetTriggerLength(triggerLength_);
            SetDTR(dtr_);
            SetRTS(rts_);
            SetUseEventWord(useEventWord_);
            SetRS485Mode(rs485Mode_);
            SetThreadBoost(threadBoost_);
            Force = false;
        }
        open_ = true;
        RegisterComPort(true);
        if (TriggersSaved) {
            TriggersSaved = false;
            dispatcher_->RestoreTriggers(SavedTriggers);
        }
        PortOpen();
    } catch (...) {
        Force = false;
        open_ = false;
        portState_ = psClosed;
        if (comWindow_)
            RegisterComPort(false);
        dispatcher_.reset();
        throw;
    }
}

// ---- Closing ----

void TSioCustomComPort::DonePort()
{
    if (portState_ != psOpen)
        return;
    // A trace or log that cannot be written does not keep the port open: the close goes
    // on and the failure is raised at its end.
    std::exception_ptr dumpFailure;
    for (auto dump : {&TSioCustomComPort::SetTracing, &TSioCustomComPort::SetLogging}) {
        try {
            (this->*dump)(tlDump);
        } catch (...) {
            if (!dumpFailure)
                dumpFailure = std::current_exception();
        }
    }
    // A PrepareWait without its wait routine would hold the close off for ever.
    if (WaitPrepared && busyDepth_ == 0) {
        if (!WaitBusySaved)
            ClearEventBusy();
        WaitPrepared = WaitBusySaved = false;
    }
    portState_ = psShuttingDown;
    PortClosing();
    dispatcher_->SaveTriggers(SavedTriggers);
    TriggersSaved = true;
    dispatcher_->DonePort();
    bool deferred = dispatcher_->DonePortPending();
    if (deferred) {
        if (SioComPortPlatform* platform = CurrentSioComPortPlatform())
            platform->PostComMessage(comWindow_, PortClosingMessage, 0,
                                     static_cast<int32_t>(static_cast<uint32_t>(dispatcher_->Handle()) << 16));
        std::shared_ptr<bool> alive = alive_;
        SafeYield();
        bool settled = *alive && SettleCloseHere();
        if (!*alive) {
            if (dumpFailure)
                std::rethrow_exception(dumpFailure);
            return;  // destroyed by a handler meanwhile: its window finishes the close
        }
        if (settled) {
            deferred = false;
            FinishClose();
        }
    } else {
        FinishClose();
    }
    PortClose();
    // Open := True asked for while the port closed (from a user's callback, say).
    if (!deferred && OpenPending && portState_ == psClosed && !(ComponentState & csDestroying)) {
        OpenPending = false;
        InitPort();
    }
    if (dumpFailure)
        std::rethrow_exception(dumpFailure);
}

bool TSioCustomComPort::HandlerUnderneath() const
{
    return busyDepth_ > 0 || TSioDispatcherThread::Current() || (dispatcher_ && dispatcher_->HandlerRunning());
}

bool TSioCustomComPort::SettleCloseHere()
{
    // The dispatcher puts a close off while its busy flag is set. That flag is also set
    // from the moment its thread claims a notification until it has finished it, which
    // is a little after the handler has returned here. With no handler of this port
    // underneath, nothing on this thread holds the threads up: they are let end here,
    // so the port is closed when Open := False returns. Left to the window, a reopen
    // asked for right after would only be noted for later and a write between the two
    // dropped, and the device would stay taken for another moment.
    if (HandlerUnderneath())
        return false;
    std::shared_ptr<bool> alive = alive_;
    // The window's message may finish the close (and reopen the port) meanwhile.
    auto pending = [&] { return *alive && portState_ == psShuttingDown && dispatcher_; };
    // What the threads may still wait for is this thread's messages (a notification not
    // yet taken, a synchronised method not yet run) or a window of another thread, which
    // the dispatcher waits for no longer than its notification time-out.
    while (pending() && dispatcher_->RunningThreads() > 0) {
        if (!SafeYield())
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return pending() && dispatcher_->CanFinishClose();
}

void TSioCustomComPort::FinishClose()
{
    RegisterComPort(false);
    dispatcher_.reset();  // its destructor completes the close
    portState_ = psClosed;
    open_ = false;
}

void TSioCustomComPort::FinishDeferredClose(SioWindow window, int32_t lParam)
{
    if (!dispatcher_ || portState_ != psShuttingDown)
        return;  // a message left over from a close finished otherwise
    if (!dispatcher_->CanFinishClose()) {
        if (SioComPortPlatform* platform = CurrentSioComPortPlatform())
            platform->PostClosingMessageLater(window, lParam);
        return;
    }
    FinishClose();
    if (OpenPending && !(ComponentState & csDestroying)) {
        OpenPending = false;
        InitPort();
    }
}

void TSioCustomComPort::RegisterComPort(bool use)
{
    SioComPortPlatform* platform = CurrentSioComPortPlatform();
    if (use) {
        comWindow_ = platform ? platform->CreateComWindow() : 0;
        if (comWindow_ && dispatcher_)
            dispatcher_->RegisterPortWindow(comWindow_);
        return;
    }
    if (!comWindow_)
        return;
    if (dispatcher_)
        dispatcher_->DeregisterWndTriggerHandler(comWindow_);
    if (platform)
        platform->DestroyComWindow(comWindow_);
    comWindow_ = 0;
}

void TSioCustomComPort::UpdateHandlerFlag()
{
    if (!IsOpen())
        return;
    bool any = onTrigger_ || onTriggerAvail_ || onTriggerData_ || onTriggerStatus_ || onTriggerTimer_ ||
               onTriggerLineError_ || onTriggerModemStatus_ || onTriggerOutbuffFree_ || onTriggerOutbuffUsed_ ||
               onTriggerOutSent_;
    dispatcher_->UpdateHandlerFlags(any ? fuEnablePort : fuDisablePort);
}

TSioBaseDispatcher* TSioCustomComPort::GetDispatcher()
{
    if (!dispatcher_ && !Loading() && portState_ != psOpen && AutoOpen)
        SetOpen(true);
    return dispatcher_.get();
}

TSioBaseDispatcher* TSioCustomComPort::ValidDispatcher()
{
    TSioBaseDispatcher* d = GetDispatcher();
    if (!d) {
        CheckException(this, -2007);
        throw ECommNotOpen(-2007);
    }
    return d;
}

// ---- Port number and copying ----

void TSioCustomComPort::SetComNumber(uint16_t value)
{
    if (value == comNumber_)
        return;
    if (!IsOpen()) {
        comNumber_ = value;
        return;
    }
    TTriggerSave saved;
    dispatcher_->SaveTriggers(saved);
    TTraceLogState tracing = tracing_, logging = logging_;
    SetOpen(false);
    comNumber_ = value;
    // A paused trace or log comes back running and is paused again below.
    tracing_ = tracing == tlOn || tracing == tlPause ? tlOn : tlOff;
    logging_ = logging == tlOn || logging == tlPause ? tlOn : tlOff;
    SetOpen(true);
    if (IsOpen()) {
        dispatcher_->RestoreTriggers(saved);
        if (tracing == tlPause)
            SetTracing(tlPause);
        if (logging == tlPause)
            SetLogging(tlPause);
    }
}

void TSioCustomComPort::SetDeviceLayer(TDeviceLayer value)
{
    if (portState_ != psClosed || !(deviceLayers_ & SetOf(value)))
        return;
    deviceLayer_ = value;
    DeviceLayerChanged();
}

void TSioCustomComPort::Assign(TComponent* source)
{
    auto* from = dynamic_cast<TSioCustomComPort*>(source);
    if (!from || from == this)
        return;
    userList_ = from->userList_;
    if (from->IsOpen()) {
        from->dispatcher_->SaveTriggers(SavedTriggers);
        TriggersSaved = true;
    }
    deviceLayer_ = from->deviceLayer_;
    deviceLayers_ = from->deviceLayers_;
    comNumber_ = from->comNumber_;
    baud_ = from->baud_;
    parity_ = from->parity_;
    dataBits_ = from->dataBits_;
    stopBits_ = from->stopBits_;
    inSize_ = from->inSize_;
    outSize_ = from->outSize_;
    PromptForPort = from->PromptForPort;
    AutoOpen = from->AutoOpen;
    CommNotificationLevel = from->CommNotificationLevel;
    TapiCommHandle = from->TapiCommHandle;
    rs485Mode_ = from->rs485Mode_;
    threadBoost_ = from->threadBoost_;
    dtr_ = from->dtr_;
    rts_ = from->rts_;
    bufferFull_ = from->bufferFull_;
    bufferResume_ = from->bufferResume_;
    hwFlowOptions_ = from->hwFlowOptions_;
    swFlowOptions_ = from->swFlowOptions_;
    xOnChar_ = from->xOnChar_;
    xOffChar_ = from->xOffChar_;
    tracing_ = from->tracing_;
    traceSize_ = from->traceSize_;
    TraceName = from->TraceName;
    TraceHex = from->TraceHex;
    TraceAllHex = from->TraceAllHex;
    logging_ = from->logging_;
    logSize_ = from->logSize_;
    LogName = from->LogName;
    LogHex = from->LogHex;
    LogAllHex = from->LogAllHex;
    useMSRShadow_ = from->useMSRShadow_;
    useEventWord_ = from->useEventWord_;
    triggerLength_ = from->triggerLength_;
    open_ = false;
    SetOnTrigger(from->onTrigger_);
    SetOnTriggerAvail(from->onTriggerAvail_);
    SetOnTriggerData(from->onTriggerData_);
    SetOnTriggerStatus(from->onTriggerStatus_);
    SetOnTriggerTimer(from->onTriggerTimer_);
    OnPortOpen = from->OnPortOpen;
    OnPortClose = from->OnPortClose;
    TapiMode = from->TapiMode;
}
