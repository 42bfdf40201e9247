#pragma once
// The serial-port component. It keeps a port's settings, owns while the port is open
// one dispatcher and one hidden notification window, and forwards data, line and
// trigger operations to the dispatcher. A negative result of the dispatcher goes
// through CheckException, so operations report failure by raising. Used from the main
// thread only; its trigger events run there too, raised by the port's window
// (SioComWindow.cpp) when the dispatcher thread reports a trigger.
//
// A close asked for while a handler of the port runs cannot stop the dispatcher's
// threads at once, since one of them waits for that handler: one running underneath the
// caller (the port's own events, a method or a user's window the dispatcher notifies),
// or a method or procedure handler running on one of the port's threads, whoever asks
// for the close. A close asked for underneath a wait routine is put off too: no thread
// waits for the routine, but it reads on until it returns, keeping the port busy so that
// no notification starts meanwhile (one already running when it began frees the port
// as it ends). The port then stays psShuttingDown and its window finishes the close once
// the threads have ended; Open := True meanwhile reopens the port at that moment. Asked
// for while no handler runs, a close is finished before Open := False returns, even
// while the dispatcher's thread is still finishing a notification whose handler has
// already returned.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "serial/SioBaseComponent.h"
#include "serial/SioComPortTypes.h"
#include "serial/SioTriggers.h"

class TSioCustomComPort : public TSioBaseComponent {
public:
    explicit TSioCustomComPort(TComponent* owner);
    // Closes an open port; a close still put off is finished (or, when one of this
    // port's handlers is running underneath, left to the port's window to finish).
    ~TSioCustomComPort() override;

    void Loaded() override;
    // Copies another port's settings, users, triggers and events; this port's Open
    // becomes False without closing it.
    void Assign(TComponent* source);

    // ---- Settings (published) ----
    TDeviceLayer DeviceLayer() const { return deviceLayer_; }
    // Only while closed, and only to a member of DeviceLayers.
    void SetDeviceLayer(TDeviceLayer value);
    TDeviceLayers DeviceLayers() const { return deviceLayers_; }
    void SetDeviceLayers(TDeviceLayers value) { deviceLayers_ = value; }
    uint16_t ComNumber() const { return comNumber_; }
    // On an open port: closes it and opens the new number with the same triggers and
    // trace and log states.
    void SetComNumber(uint16_t value);
    int32_t Baud() const { return baud_; }
    void SetBaud(int32_t value);
    TParity Parity() const { return parity_; }
    void SetParity(TParity value);
    uint16_t DataBits() const { return dataBits_; }
    void SetDataBits(uint16_t value);
    uint16_t StopBits() const { return stopBits_; }
    void SetStopBits(uint16_t value);
    uint16_t InSize() const { return inSize_; }
    void SetInSize(uint16_t value);
    uint16_t OutSize() const { return outSize_; }
    void SetOutSize(uint16_t value);
    bool Open() const { return open_; }
    void SetOpen(bool value);
    bool DTR() const { return dtr_; }
    void SetDTR(bool value);
    bool RTS() const { return rts_; }
    void SetRTS(bool value);
    THWFlowOptionSet HWFlowOptions() const { return hwFlowOptions_; }
    void SetHWFlowOptions(THWFlowOptionSet value);
    TSWFlowOptions SWFlowOptions() const { return swFlowOptions_; }
    void SetSWFlowOptions(TSWFlowOptions value);
    char XOnChar() const { return xOnChar_; }
    void SetXOnChar(char value);
    char XOffChar() const { return xOffChar_; }
    void SetXOffChar(char value);
    uint16_t BufferFull() const { return bufferFull_; }
    void SetBufferFull(uint16_t value);
    uint16_t BufferResume() const { return bufferResume_; }
    void SetBufferResume(uint16_t value);
    TTraceLogState Tracing() const { return tracing_; }
    void SetTracing(TTraceLogState value);
    uint32_t TraceSize() const { return traceSize_; }
    void SetTraceSize(uint32_t value);
    TTraceLogState Logging() const { return logging_; }
    void SetLogging(TTraceLogState value);
    uint32_t LogSize() const { return logSize_; }
    void SetLogSize(uint32_t value);
    bool UseMSRShadow() const { return useMSRShadow_; }
    // Does nothing in this class: the value stays True.
    virtual void SetUseMSRShadow(bool value);
    bool UseEventWord() const { return useEventWord_; }
    void SetUseEventWord(bool value);
    bool RS485Mode() const { return rs485Mode_; }
    // True also drops hwfUseRTS and hwfRequireCTS and sets RTS False.
    void SetRS485Mode(bool value);

    // Plain settings: stored, nothing else happens.
    bool PromptForPort = true;
    bool AutoOpen = true;
    uint16_t CommNotificationLevel = 10;
    TTapiMode TapiMode = tmAuto;
    uint16_t TapiCommHandle = 0;
    std::string TraceName = "SIO.TRC";
    bool TraceHex = true;
    bool TraceAllHex = false;
    std::string LogName = "SIO.LOG";
    bool LogHex = true;
    bool LogAllHex = false;
    // Makes the dispatcher instead of the built-in device layer.
    TActivationProcedure CustomDispatcher;

    // ---- Settings (public) ----
    uint16_t TriggerLength() const { return triggerLength_; }
    void SetTriggerLength(uint16_t value);
    TSioThreadBoost ThreadBoost() const { return threadBoost_; }
    void SetThreadBoost(TSioThreadBoost value);
    // The dispatcher's when open, else 0; written to it when open.
    uint16_t BaseAddress();
    void SetBaseAddress(uint16_t value);
    TPortState PortState() const { return portState_; }
    TSioBaseDispatcher* Dispatcher() const { return dispatcher_.get(); }
    SioWindow ComWindow() const { return comWindow_; }

    // ---- Events ----
    const TTriggerEvent& OnTrigger() const { return onTrigger_; }
    void SetOnTrigger(TTriggerEvent value);
    const TTriggerAvailEvent& OnTriggerAvail() const { return onTriggerAvail_; }
    void SetOnTriggerAvail(TTriggerAvailEvent value);
    const TTriggerDataEvent& OnTriggerData() const { return onTriggerData_; }
    void SetOnTriggerData(TTriggerDataEvent value);
    const TTriggerStatusEvent& OnTriggerStatus() const { return onTriggerStatus_; }
    void SetOnTriggerStatus(TTriggerStatusEvent value);
    const TTriggerTimerEvent& OnTriggerTimer() const { return onTriggerTimer_; }
    void SetOnTriggerTimer(TTriggerTimerEvent value);
    const TTriggerLineErrorEvent& OnTriggerLineError() const { return onTriggerLineError_; }
    void SetOnTriggerLineError(TTriggerLineErrorEvent value);
    const TNotifyEvent& OnTriggerModemStatus() const { return onTriggerModemStatus_; }
    void SetOnTriggerModemStatus(TNotifyEvent value);
    const TNotifyEvent& OnTriggerOutbuffFree() const { return onTriggerOutbuffFree_; }
    void SetOnTriggerOutbuffFree(TNotifyEvent value);
    const TNotifyEvent& OnTriggerOutbuffUsed() const { return onTriggerOutbuffUsed_; }
    void SetOnTriggerOutbuffUsed(TNotifyEvent value);
    const TNotifyEvent& OnTriggerOutSent() const { return onTriggerOutSent_; }
    void SetOnTriggerOutSent(TNotifyEvent value);
    TNotifyEvent OnPortOpen;
    TNotifyEvent OnPortClose;
    TWaitCharEvent OnWaitChar;

    // ---- Data ----
    // Never raise and never open the port; closed: 0, 8192, 0 and OutSize.
    uint16_t InBuffUsed();
    uint16_t InBuffFree();
    uint16_t OutBuffUsed();
    uint16_t OutBuffFree();
    bool CharReady();
    // Character 0 when the port is shutting down or the call raised.
    char PeekChar(uint16_t count);
    char GetChar();
    void PeekBlock(void* block, uint16_t len);
    void GetBlock(void* block, uint16_t len);
    void PutChar(char c);
    void PutString(const std::string& s);
    // 0; every failure raises (-3006 the block does not fit, -3004 not all was put).
    int32_t PutBlock(const void* block, uint16_t len);
    void FlushInBuffer();
    void FlushOutBuffer();
    virtual void ProcessCommunications();

    // ---- Line and modem status ----
    uint8_t ModemStatus();
    bool DSR();
    bool CTS();
    bool RI();
    bool DCD();
    bool DeltaDSR();
    bool DeltaCTS();
    bool DeltaRI();
    bool DeltaDCD();
    bool LineBreak();
    uint16_t LineError();
    TFlowControlState FlowState();
    uint32_t LastWinError();
    void SendBreak(uint16_t ticks, bool yield);
    void SetBreak(bool breakOn);

    // ---- Triggers ----
    uint16_t AddDataTrigger(const std::string& data, bool ignoreCase);
    uint16_t AddTimerTrigger();
    uint16_t AddStatusTrigger(uint16_t sType);
    void SetTimerTrigger(uint16_t handle, int32_t ticks, bool activate);
    void SetStatusTrigger(uint16_t handle, uint16_t value, bool activate);
    void RemoveTrigger(uint16_t handle);
    void RemoveAllTriggers();

    // ---- Byte trace and dispatch log ----
    void InitTracing(uint32_t numEntries);
    void DumpTrace(const std::string& fileName, bool inHex);
    void AppendTrace(const std::string& fileName, bool inHex, TTraceLogState newState);
    void ClearTracing();
    void AbortTracing();
    void StartTracing();
    void StopTracing();
    void AddTraceEntry(char curEntry, char curCh);
    void InitLogging(uint32_t size);
    void DumpLog(const std::string& fileName, bool inHex);
    void AppendLog(const std::string& fileName, bool inHex, TTraceLogState newState);
    void ClearLogging();
    void AbortLogging();
    void StartLogging();
    void StopLogging();
    void AddStringToLog(const std::string& s);

    // ---- Users told of open, closing and close ----
    void RegisterUser(SioWindow handle);
    void RegisterUserEx(SioWindow handle);
    void RegisterUserCallback(TPortCallback callback);
    void RegisterUserCallbackEx(TPortCallbackEx callback);
    // Remove every entry of that window or callback function.
    void DeregisterUser(SioWindow handle);
    void DeregisterUserCallback(TPortCallback callback);
    void DeregisterUserCallbackEx(TPortCallbackEx callback);
    int UserCount() const { return static_cast<int>(userList_.size()); }

    // ---- Waiting for text ----
    // Holds notifications back until the next wait routine has run.
    void PrepareWait();
    // Feeds c to an incremental match of s; true when c completes it.
    bool CheckForString(uint8_t& index, char c, const std::string& s, bool ignoreCase);
    // Takes received characters until s has arrived (true) or timeout ticks have passed.
    bool WaitForString(const std::string& s, int32_t timeout, bool yield, bool ignoreCase);
    // The same for the parts of s split at sepChar: the 1-based number of the first part
    // to arrive, 0 when the time ran out.
    int32_t WaitForMultiString(const std::string& s, int32_t timeout, bool yield, bool ignoreCase, char sepChar);
    // Every character a wait routine takes; fires OnWaitChar.
    virtual void WaitChar(char c);

    // ---- Other ----
    // Opens the port when the component has been loaded (with AutoOpen).
    void ForcePortOpen();
    static std::string ComName(uint16_t n);
    // The first port among c's components, depth first; null when none.
    static TSioCustomComPort* SearchComPort(TComponent* c);

    // The port window's entry (SioComWindow.cpp): one of its five messages.
    void HandleComWindowMessage(SioWindow window, uint32_t msg, uint32_t wParam, int32_t lParam);

protected:
    // ---- Virtual operations ----
    virtual std::unique_ptr<TSioBaseDispatcher> ActivateDeviceLayer();
    virtual void DeviceLayerChanged() {}
    // The dispatcher's InitPort with the settings; its result mapped to the library's
    // codes (-2008 port in use, -2001 no such port).
    virtual int32_t InitializePort();
    // True: makes the window and registers it with the dispatcher; false: undoes that.
    virtual void RegisterComPort(bool use);
    // Makes sure a port number is set, asking the user when allowed.
    virtual void ValidateComport();
    virtual void Trigger(uint16_t msg, uint16_t triggerHandle, uint16_t data);
    virtual void TriggerAvail(uint16_t count);
    virtual void TriggerData(uint16_t triggerHandle);
    virtual void TriggerStatus(uint16_t triggerHandle);
    virtual void TriggerTimer(uint16_t triggerHandle);
    virtual void UpdateHandlerFlag();
    virtual void TriggerLineError(uint16_t error, bool lineBreak);
    virtual void TriggerModemStatus();
    virtual void TriggerOutbuffFree();
    virtual void TriggerOutbuffUsed();
    virtual void TriggerOutSent();
    virtual void DonePort();
    // Users' notification.
    virtual void PortOpen();
    virtual void PortClose();
    virtual void PortClosing();
    // Opens the port (Open := True on a closed port).
    virtual void InitPort();

    // The dispatcher, opening the port first when AutoOpen allows; none: -2007 raised.
    TSioBaseDispatcher* ValidDispatcher();
    TSioBaseDispatcher* GetDispatcher();
    bool ShuttingDown() const { return portState_ == psShuttingDown; }
    bool IsOpen() const { return portState_ == psOpen; }
    // False while the component or its owner is being destroyed: events stay quiet.
    bool EventsAllowed() const;
    bool Loading() const { return (ComponentState & csLoading) != 0; }

    bool Force = false;
    bool OpenPending = false;
    bool OpenOnLoad = false;
    bool TriggersSaved = false;
    TTriggerSave SavedTriggers;
    bool WaitBusySaved = false;
    bool WaitPrepared = false;

private:
    struct TracePath;  // the trace or the log, for their common state machine
    static const TracePath& TracePathOf(bool log);
    void SetTraceState(const TracePath& path, TTraceLogState value);
    void SetTraceBufferSize(const TracePath& path, uint32_t value, uint32_t cap);
    // The close's last steps: window gone, dispatcher freed, psClosed.
    void FinishClose();
    // Whether a close here must be put off. Either the port's threads may wait for
    // something running beneath the calling code, so that the close must not wait for
    // them: a handler of the port's window, a method or procedure handler the dispatcher
    // runs (on any thread: synchronised onto this one, or on a port thread that may
    // hand work to this one), a user's window's procedure for the dispatcher's
    // notification, or the caller is one of the port's threads. Or a wait routine of
    // this port runs beneath it, reading on until it returns.
    bool HandlerUnderneath() const;
    // A close the dispatcher put off: with no handler underneath, waits for the port's
    // threads to end, handling this thread's messages; true when the close can be
    // finished now.
    bool SettleCloseHere();
    // The deferred close, when the window's message comes back.
    void FinishDeferredClose(SioWindow window, int32_t lParam);
    // The destructor's part of a close still put off.
    void SettleDeferredClose();
    // Leaves a dispatcher whose close is still put off to its window (SioComWindow.cpp).
    static void AdoptOrphan(std::unique_ptr<TSioBaseDispatcher> dispatcher, SioWindow window);
    void ApplyFlowOptions();
    void ApplyLine();
    void NotifyUsers(uint32_t msg, TSioCallbackType type, bool opening, bool exOnly);
    void ClearEventBusy();
    // The wait routines' loop: takes characters while match answers false and the
    // timer runs; false when the time ran out.
    bool WaitLoop(int32_t timeout, bool yield, const std::function<bool(char)>& match);

    TPortState portState_ = psClosed;
    std::vector<TUserListEntry> userList_;
    SioWindow comWindow_ = 0;
    TDeviceLayer deviceLayer_ = dlWin32;
    TDeviceLayers deviceLayers_ = SetOf(dlWin32);
    std::unique_ptr<TSioBaseDispatcher> dispatcher_;
    uint16_t comNumber_ = 0;
    int32_t baud_ = 19200;
    TParity parity_ = pNone;
    uint16_t dataBits_ = 8;
    uint16_t stopBits_ = 1;
    uint16_t inSize_ = 4096;
    uint16_t outSize_ = 4096;
    bool open_ = false;
    TSioThreadBoost threadBoost_ = tbNone;
    bool rs485Mode_ = false;
    bool dtr_ = true;
    bool rts_ = true;
    uint16_t bufferFull_ = 0;
    uint16_t bufferResume_ = 0;
    THWFlowOptionSet hwFlowOptions_ = 0;
    TSWFlowOptions swFlowOptions_ = swfNone;
    char xOnChar_ = 17;
    char xOffChar_ = 19;
    TTraceLogState tracing_ = tlOff;
    uint32_t traceSize_ = 10000;
    TTraceLogState logging_ = tlOff;
    uint32_t logSize_ = 10000;
    bool useMSRShadow_ = true;
    bool useEventWord_ = true;
    uint16_t triggerLength_ = 1;

    TTriggerEvent onTrigger_;
    TTriggerAvailEvent onTriggerAvail_;
    TTriggerDataEvent onTriggerData_;
    TTriggerStatusEvent onTriggerStatus_;
    TTriggerTimerEvent onTriggerTimer_;
    TTriggerLineErrorEvent onTriggerLineError_;
    TNotifyEvent onTriggerModemStatus_;
    TNotifyEvent onTriggerOutbuffFree_;
    TNotifyEvent onTriggerOutbuffUsed_;
    TNotifyEvent onTriggerOutSent_;

    // Handlers of this port's window and wait routines of this port running now (they
    // keep the dispatcher busy); after a handler or a yield, their code reads alive_ to
    // learn whether the component was destroyed meanwhile.
    int busyDepth_ = 0;
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

// The same component with its settings meant for the form description.
class TSioComPort : public TSioCustomComPort {
public:
    using TSioCustomComPort::TSioCustomComPort;
};
