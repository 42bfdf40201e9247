#pragma once
// TSioBaseDispatcher: the engine behind one open serial port. It holds the port's
// device-independent state (the 8192-byte receive ring, the output ring, line settings,
// modem and line status, flow control, triggers and notification targets, the byte
// trace and dispatch log) and the threads that move data. Every device access goes
// through the virtual device operations, which a back end implements.
//
// Results are integer codes: 0 or a count for success, a negative code for failure.
//
// Locks (the three sections re-entrant), in the only orders they are ever nested:
//   port list -> courier's lock -> DispSection -> DataSection -> OutputSection,
//   port list -> DataSection, and courier's lock -> lateLock_ -> the dispatch queue's.
// The port's window holds the port list while it handles a notification, so a
// handler's takes and a close asked for there come under it (a close asks the courier
// what it is sending); the courier holds its lock while it folds a late handler's take
// in and ends its notification. DataSection guards triggers, handlers, trace, log, line
// settings, status, options and the thread slots; OutputSection the output ring;
// DispSection the receive ring, the take counts and the handler turns. No section is
// held while a handler runs; one check at a time (checkLock_: the dispatcher thread's,
// or a failing thread's line-error check) runs with its notification, so that lock
// comes before all the others. The Win32 messenger's record of watched sends has a
// mutex of its own, a leaf: nothing is taken while it is held.
//
// Notifications: SendNotify calls the method handlers, then the procedure handlers on
// the calling thread (a method registered as synchronised runs on the main thread,
// SioSynchronize), then sends to the window handlers through a courier thread and the
// installed SioWindowMessenger, waiting at most 3000 ms for each. A window handler that
// takes longer keeps the port busy (EventBusy) until it returns; its take count is then
// applied and the busy flag cleared.
//
// Takes during a data notification: each handler is called in a turn of its own, from
// just before the call (or send) until that call (or send) has returned and its take
// is folded in. A take is a handler's only on a thread inside that turn (InDelivery):
// in a method or procedure handler the dispatcher calls, in the port's own window
// procedure (PortWindowScope), in another window's procedure for the very message the
// courier sent it watched, or on the courier's thread during its own send (a messenger
// that calls windows on the sending thread); and only if, under DispSection, that turn
// is still the one running. Each handler reads the same bytes, from where the ring's
// tail was when the notification began, and the most any of them took is consumed when
// it ends. A reader outside the handlers (a window that answered early and reads on,
// once its turn has ended, included) takes from past what they have taken and moves the
// tail at once, so no byte reaches it twice; the handlers after such a take read on
// from what it left.
//
// Handlers: a deregistration during a notification only marks the record, which stays
// until the notification ends. Whether a handler is deregistered is read from its
// record under DataSection as it is called (on the main thread for a synchronised
// method, which may wait there a while): one deregistered before that is not called,
// one whose call has begun (its record read) runs on.
//
// Life of a port: InitPort opens the device, makes the rings and events and has the
// back end start its threads (StartDispatcher, which starts each one with StartThread);
// DonePort flushes, closes the device and, through DonePortPrim, joins every thread and
// only then releases the events and rings. A DonePort asked for while a notification
// handler or a wait routine runs (EventBusy) only marks the close as pending and asks
// the threads to end; the owner finishes it once CanFinishClose() answers true, by
// destroying the dispatcher. A device failure ends the threads but leaves the rings, so
// what was received can still be read until the owner closes the port.
//
// A back end must call FinishPort() first in its destructor: the close runs device
// operations, which are gone once the back end's part of the object is. A dispatcher is
// never destroyed by one of its own threads.
#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "serial/SioDeviceTypes.h"
#include "serial/SioDispatchLog.h"
#include "serial/SioEvent.h"
#include "serial/SioNotifyServices.h"
#include "serial/SioQueue.h"
#include "serial/SioTrace.h"
#include "serial/SioTriggers.h"

class TComponent;
class TSioDispatcherThread;
class SioNotifyCourier;

// The threads of a port, in the order a back end starts them.
enum class TSioThreadRole { Read = 0, Dispatch = 1, Write = 2, Status = 3 };

class TSioBaseDispatcher {
public:
    static constexpr uint32_t DispatchBufferSize = 8192;
    // How long a notification waits for a window handler before the dispatcher thread
    // goes on without it.
    static constexpr uint32_t NotifyTimeoutMs = 3000;

    explicit TSioBaseDispatcher(TComponent* owner);
    virtual ~TSioBaseDispatcher();
    TSioBaseDispatcher(const TSioBaseDispatcher&) = delete;
    TSioBaseDispatcher& operator=(const TSioBaseDispatcher&) = delete;

    // ---- Device operations, in slot order ----
    virtual int32_t EscapeComFunction(int32_t func) = 0;
    // Queue 0 output, 1 input (also empties the dispatch queue).
    virtual int32_t FlushCom(int32_t queue) = 0;
    // The device's line-error bits; fills stat (its output count from OutBufUsed).
    virtual uint32_t GetComError(TSioComStat& stat) = 0;
    virtual int32_t GetComEventMask(int32_t evtMask) = 0;
    virtual int32_t GetComState(TSioDCB& dcb) = 0;
    virtual int32_t ReadCom(uint8_t* buffer, int32_t size) = 0;
    virtual int32_t SetComState(const TSioDCB& dcb) = 0;
    virtual int32_t WriteCom(const uint8_t* buffer, int32_t size) = 0;
    virtual bool WaitComEvent(uint32_t& evtMask, void* overlapped) = 0;
    virtual bool SetupCom(uint32_t inSize, uint32_t outSize) = 0;
    virtual void DonePortPrim();
    // Starts the port's threads (with StartThread); raises Exception "Dispatcher already
    // started." when they run.
    virtual void StartDispatcher() = 0;
    // Makes the threads stop waiting on the device (typically CloseCom); the dispatcher
    // joins them afterwards.
    virtual void StopDispatcher() = 0;
    virtual uint32_t OutBufUsed() = 0;
    virtual uint32_t InQueueUsed() { return 0; }
    // The device handle, or a negative value; a failure leaves the system's error
    // number in LastWinError.
    virtual intptr_t OpenCom(const char* name, uint32_t inSize, uint32_t outSize) = 0;
    virtual int32_t CloseCom() = 0;
    virtual int32_t ProcessCommunications() = 0;
    virtual void SetThreadBoost(uint8_t boost);
    virtual void UpdateHandlerFlags(TSioHandlerFlagUpdate update);
    // The modem lines CTS 0x10, DSR 0x20, RI 0x40, DCD 0x80.
    virtual uint8_t GetComModemStatus() = 0;
    virtual int32_t SetComBreak(bool on) = 0;

    // ---- Open and close ----
    // Options: 1 raise DTR, 2 raise RTS, 0x10 DTR under hardware flow control, 0x20 RTS
    // under hardware flow control.
    int32_t InitPort(const char* name, int32_t baud, uint32_t parity, uint8_t dataBits, uint8_t stopBits,
                     uint32_t inSize, uint32_t outSize, uint32_t options);
    int32_t InitSocket(uint32_t inSize, uint32_t outSize);
    void DonePort();
    // No thread of the port runs and no notification or wait routine is in progress:
    // the owner may now destroy the dispatcher to finish a pending close.
    bool CanFinishClose() const { return runningThreads_ == 0 && !eventBusy_; }

    // ---- Receive side ----
    bool CharReady();
    int32_t PeekChar(uint8_t& c, uint32_t index);
    int32_t GetChar(uint8_t& c);
    int32_t PeekBlock(void* block, uint32_t len);
    int32_t GetBlock(void* block, uint32_t len);
    uint32_t InBuffUsed();
    uint32_t InBuffFree();
    int32_t FlushInBuffer();
    // Moves received bytes from the back end into the receive ring (dispatcher thread).
    void ExtractData();

    // ---- Transmit side ----
    int32_t PutBlock(const void* block, uint32_t len);
    int32_t PutChar(uint8_t c) { return PutBlock(&c, 1); }
    int32_t PutString(const std::string& s) { return PutBlock(s.data(), static_cast<uint32_t>(s.size())); }
    uint32_t OutBuffUsed();
    uint32_t OutBuffFree();
    int32_t FlushOutBuffer() { return FlushCom(0); }
    void BufferSizes(uint32_t& inSize, uint32_t& outSize) const { inSize = inQue_, outSize = outQue_; }
    // New sizes for the device's own queues (SetupCom); the rings keep theirs until the
    // port is opened again. 0, or -1 when the device refused.
    int32_t SetCommBuffers(uint32_t inSize, uint32_t outSize) { return SetupCom(inSize, outSize) ? 0 : -1; }

    // ---- Line settings and control ----
    // Baud 0, Parity 5, DataBits 9 and StopBits 3 keep the current value.
    int32_t SetLine(int32_t baud, uint32_t parity, uint8_t dataBits, uint8_t stopBits);
    int32_t ChangeBaud(int32_t baud) { return SetLine(baud, 5, 9, 3); }
    void GetLine(uint32_t& baud, uint32_t& parity, uint8_t& dataBits, uint8_t& stopBits);
    int32_t SetModem(bool dtr, bool rts);
    int32_t SetDtr(bool on);
    int32_t SetRts(bool on);
    void SendBreak(int32_t ticks, bool yield);
    void SetBreak(bool on);
    int32_t HWFlowOptions(uint32_t bufferFull, uint32_t bufferResume, uint32_t options);
    int32_t HWFlowState();
    int32_t SWFlowEnable(uint32_t bufferFull, uint32_t bufferResume, uint32_t options);
    int32_t SWFlowDisable();
    int32_t SWFlowState();
    int32_t SWFlowChars(char onChar, char offChar);
    int32_t GetFlowOptions(uint32_t& hwOpts, uint32_t& swOpts, uint32_t& bufferFull, uint32_t& bufferResume,
                           char& onChar, char& offChar);
    // Polls until the output has drained, then waits eighteen character times.
    void WaitTxSent();
    // The wait of eighteen character times for these settings, in ms (0 for baud 0).
    static uint32_t CharTimesDelayMs(const TSioDCB& dcb);

    // ---- Status ----
    void RefreshStatus();
    uint8_t GetModemStatusPrim(uint8_t clearMask);
    uint8_t GetModemStatus() { return GetModemStatusPrim(0xF0); }
    bool CheckCTS() { return GetModemStatusPrim(0xFE) & ModemBit::Cts; }
    bool CheckDSR() { return GetModemStatusPrim(0xFD) & ModemBit::Dsr; }
    bool CheckRI() { return GetModemStatusPrim(0xFB) & ModemBit::Ri; }
    bool CheckDCD() { return GetModemStatusPrim(0xF7) & ModemBit::Dcd; }
    bool CheckDeltaCTS() { return GetModemStatusPrim(0xFE) & ModemBit::DeltaCts; }
    bool CheckDeltaDSR() { return GetModemStatusPrim(0xFD) & ModemBit::DeltaDsr; }
    bool CheckDeltaRI() { return GetModemStatusPrim(0xFB) & ModemBit::Ring; }
    bool CheckDeltaDCD() { return GetModemStatusPrim(0xF7) & ModemBit::DeltaDcd; }
    void MapEventsToMS(uint32_t events);
    int32_t GetLineError();
    bool CheckLineBreak();

    // ---- Other ----
    void SetRS485Mode(bool on);
    void SetBaseAddress(uint16_t address);
    uint16_t GetBaseAddress() const { return baseAddress_; }
    void OptionsOn(uint32_t bits);
    void OptionsOff(uint32_t bits);
    bool OptionsAreOn(uint32_t bits);
    int32_t SetDataPointer(void* p, uint32_t index);
    int32_t GetDataPointer(void*& p, uint32_t index);
    void AddStringToLog(const std::string& s);
    SioTrace& Trace() { return trace_; }
    SioDispatchLog& Log() { return log_; }

    // ---- Triggers ----
    void ChangeLengthTrigger(uint32_t length);
    int32_t AddTimerTrigger();
    int32_t AddDataTriggerLen(const void* data, bool ignoreCase, uint32_t len);
    int32_t AddDataTrigger(const char* data, bool ignoreCase);
    int32_t AddStatusTrigger(uint32_t sType);
    int32_t RemoveTrigger(uint32_t handle);
    int32_t SetTimerTrigger(uint32_t handle, int32_t ticks, bool activate);
    int32_t ExtendTimer(uint32_t handle, int32_t ticks);
    int32_t TimerTicksRemaining(uint32_t handle, int32_t& remaining);
    int32_t SetStatusTrigger(uint32_t handle, uint32_t value, bool activate);
    void RemoveAllTriggers();
    void ResetStatusHits();
    void ResetDataTriggers();
    void SaveTriggers(TTriggerSave& save);
    void RestoreTriggers(const TTriggerSave& save);
    static void ClearSaveBuffers(TTriggerSave& save) { save = TTriggerSave(); }
    // Finds a trigger (timer, then status, then data): 0 with the record and its type,
    // or -5003. With remove the record is freed and trigger set to null.
    int32_t FindTriggerFromHandle(uint32_t handle, bool remove, void*& trigger, TTriggerType& type);
    uint32_t GetLengthTrigger();

    // ---- Notification targets ----
    void RegisterWndTriggerHandler(SioWindow window);
    // The port component's own window: a window handler whose procedure puts a
    // PortWindowScope around each notification, so its sends need no watching.
    void RegisterPortWindow(SioWindow window);
    void RegisterProcTriggerHandler(TSioNotifyProc proc);
    void RegisterEventTriggerHandler(TSioNotifyEvent method);
    void RegisterSyncEventTriggerHandler(TSioNotifyEvent method);
    void DeregisterWndTriggerHandler(SioWindow window);
    void DeregisterProcTriggerHandler(TSioNotifyProc proc);
    void DeregisterEventTriggerHandler(TSioNotifyEvent method);
    // Whether the calling thread is inside the handler turn of this dispatcher's running
    // notification: it runs the method or procedure handler called in it (a
    // synchronised method on the main thread included), the procedure of the window (the
    // port's own or a user's) for the very message the courier is sending in it, or the
    // courier's send itself when the messenger calls windows on the sending thread; also
    // deeper down, in a loop such a handler runs. Anything else the thread does is
    // outside: handling a message another thread or program sent it, going on in a
    // user's window procedure once its send has returned, or in the port's own once the
    // turn of its send has ended (soon after). Call it holding none of the sections (it
    // asks the courier).
    bool InDelivery() const { return DeliveryTurn() != 0; }
    // Whether the dispatcher's threads wait for a handler that may be running beneath
    // the calling code, so that they cannot end before it returns: InDelivery, or a
    // method or procedure handler runs on any thread (one on a port thread may hand
    // work to this thread and wait for it).
    bool HandlerRunning() const;
    // Holds notifications back (the port's wait routines) and tells whether they were.
    void SetEventBusy(bool& wasBusy, bool busy);
    bool EventBusy() const { return eventBusy_; }
    bool HandlerFlag() const { return handlerFlag_; }
    bool PortEnabled() const { return portEnabled_; }
    void CreateDispatcherWindow();
    SioWindow DispatcherWindow() const { return dispatcherWindow_; }

    // ---- Checks (dispatcher thread) and delivery ----
    bool CheckTriggers();
    bool CheckTimerTriggers();
    bool CheckStatusTriggers();
    bool CheckReceiveTriggers();
    // Tells every handler; true to go on checking. False at once while a handler or a
    // wait routine holds the port (EventBusy) or it is closing.
    bool SendNotify(uint32_t msg, uint32_t triggerHandle, uint32_t data);
    // The dispatcher thread, when woken: a notification whose window handler outlived
    // its send goes on to the window handlers after it once that handler returned. True
    // when there was such a delivery.
    bool ResumeLateDelivery();
    // One dispatch cycle and the follow-up pass of the dispatcher thread.
    void DispatchCycle();
    void FollowUpPass();

    // ---- Threads ----
    void ThreadStart(TSioDispatcherThread& thread);
    // The thread's last step: reports its failure and counts it out.
    void ThreadGone(TSioDispatcherThread& thread);
    int32_t RunningThreads() const { return runningThreads_; }
    bool DispActive() const { return dispActive_; }
    bool ThreadAlive(TSioThreadRole role);
    bool DonePortPending() const { return donePortPending_; }
    // The dispatcher thread waits here (at most timeoutMs) while the receive ring is full.
    bool ReceiveRingFull();
    void WaitForRoom(uint32_t timeoutMs);

    // ---- State the component, the port window and the back ends read ----
    TComponent* const Owner;
    int32_t Handle() const { return handle_; }
    intptr_t ComHandle() const { return comHandle_; }
    uint32_t LastError() { return UnderDataSection(lastError_); }
    uint8_t ModemStatus() { return UnderDataSection(modemStatus_); }
    TSioComStat ComStatus() { return UnderDataSection(comStatus_); }
    TSioDCB DCB() { return UnderDataSection(dcb_); }
    uint32_t LastBaud() const { return lastBaud_; }
    bool DTRState() const { return dtrState_; }
    bool RTSState() const { return rtsState_; }
    bool DTRAuto() const { return dtrAuto_; }
    bool RTSAuto() const { return rtsAuto_; }
    bool RS485Mode() const { return rs485Mode_; }
    uint8_t ThreadBoost() const { return threadBoost_; }
    uint32_t LastEventMask() const { return lastEventMask_; }

    TIOQueue DispatchQueue;            // blocks and events from the device threads
    std::atomic<bool> KillThreads{false};
    std::atomic<bool> Closing{false};  // CloseCom in progress
    std::atomic<uint32_t> LastWinError{0};

    // The six events of an open port (null while it is closed) and the two wait pairs
    // of the write thread.
    SioEvent* ComEvent() const { return events_[0].get(); }
    SioEvent* ReadyEvent() const { return events_[1].get(); }
    SioEvent* GeneralEvent() const { return events_[2].get(); }
    SioEvent* OutputEvent() const { return events_[3].get(); }
    SioEvent* SentEvent() const { return events_[4].get(); }
    SioEvent* OutFlushEvent() const { return events_[5].get(); }
    SioEventPair OutputWaitPair() const { return {OutputEvent(), OutFlushEvent()}; }
    SioEventPair SentWaitPair() const { return {SentEvent(), OutFlushEvent()}; }

protected:
    // Closes the port and joins its threads; a back end's destructor calls it first.
    void FinishPort();
    // The first step of StartDispatcher: raises Exception "Dispatcher already started."
    // when the threads run, else marks them active and clears KillThreads.
    void BeginDispatcher();
    // CloseCom's last step: the device is closed (-1).
    void SetComHandle(intptr_t handle) { comHandle_ = handle; }
    // Starts a thread in its role (the dispatcher owns it from before it runs) and
    // waits at most 3000 ms for it to signal GeneralEvent.
    void StartThread(TSioThreadRole role, std::unique_ptr<TSioDispatcherThread> thread);
    // Sets KillThreads and waits for every thread (status, write, read, dispatcher),
    // handling the calling thread's messages meanwhile, then joins them.
    void StopThreads();

    // Helpers of the back ends' device operations over the base's queues and rings.
    // Received blocks from the dispatch queue, in order; stops at a status entry.
    int32_t ReadDispatchQueue(uint8_t* buffer, int32_t size);
    // Unread bytes of the head block of the dispatch queue.
    uint32_t DispatchQueueHeadBytes();
    // Copies into the output ring (the caller made sure it fits) and signals OutputEvent.
    int32_t WriteOutputRing(const uint8_t* buffer, int32_t size);
    uint32_t OutputRingUsed();
    // Takes every pending byte out of the output ring (what the write thread sends).
    std::vector<uint8_t> TakeOutputRing();
    void EmptyOutputRing();

    std::recursive_mutex DataSection;
    std::recursive_mutex OutputSection;
    std::recursive_mutex DispSection;
    uint32_t sendTimeoutMs_ = NotifyTimeoutMs;  // shorter in tests

private:
    friend class SioNotifyCourier;
    // Notification targets; deregistration during a notification only marks them.
    struct WndHandler {
        SioWindow Window;
        bool PortWindow = false;  // RegisterPortWindow
        bool Deleted = false;
    };
    struct ProcHandler {
        TSioNotifyProc Proc;
        bool Deleted = false;
    };
    struct EventHandler {
        TSioNotifyEvent Method;
        bool Sync = false;
        bool Deleted = false;
    };
    enum class Delivery { Delivered, Stopped, Abandoned };
    // Marks the calling thread, while it lives, as inside this handler turn of the
    // dispatcher with this key (turn 0 never counts). Marks nest, one chain per thread.
    class DeliveryMark {
    public:
        DeliveryMark(uint64_t key, uint64_t turn);
        ~DeliveryMark();
        DeliveryMark(const DeliveryMark&) = delete;
        DeliveryMark& operator=(const DeliveryMark&) = delete;
        // Whether the calling thread holds a mark for this key and turn.
        static bool Held(uint64_t key, uint64_t turn);

    private:
        static thread_local const DeliveryMark* innermost_;
        const uint64_t key_;
        const uint64_t turn_;
        const DeliveryMark* const outer_;
    };
public:
    // Put by the port's own window procedure around its handling of a notification:
    // while it lives, the calling thread is inside the turn in which the courier was
    // sending message as the procedure began, for as long as that turn runs (it ends
    // once the send has returned and its take is folded in, on the dispatcher's thread
    // or, for a late send, the courier's; so a procedure that answered early reads as
    // an outside reader soon after its answer). It never counts for a later notification
    // equal to its own. Nothing of the dispatcher is used once it is made, so the port
    // may go meanwhile.
    class PortWindowScope {
    public:
        PortWindowScope(const TSioBaseDispatcher& dispatcher, const SioSentMessage& message)
            : mark_(dispatcher.deliveryKey_, dispatcher.TurnSending(message))
        {
        }
        PortWindowScope(const PortWindowScope&) = delete;
        PortWindowScope& operator=(const PortWindowScope&) = delete;

    private:
        DeliveryMark mark_;
    };

private:
    // A method or procedure handler while it runs, on whichever thread runs it: counted
    // as running, and its thread marked as inside the turn it is called in.
    class HandlerScope {
    public:
        explicit HandlerScope(TSioBaseDispatcher& dispatcher)
            : count_(dispatcher.handlersRunning_), mark_(dispatcher.deliveryKey_, dispatcher.turn_)
        {
            ++count_;
        }
        ~HandlerScope() { --count_; }
        HandlerScope(const HandlerScope&) = delete;
        HandlerScope& operator=(const HandlerScope&) = delete;

    private:
        std::atomic<int>& count_;
        DeliveryMark mark_;
    };

    bool OnPortThread() const;
    template <class T>
    T UnderDataSection(const T& field)
    {
        std::lock_guard<std::recursive_mutex> guard(DataSection);
        return field;
    }
    void CreateEvents();
    void ReleaseEvents();
    void WakeThreads();
    void JoinThreads();
    void ReleaseRings();
    void AddLog(TDispatchType type, TDispatchSubType subType, uint32_t data, const void* buffer = nullptr,
                int32_t len = 0);
    void AddTraceBytes(char type, const uint8_t* bytes, uint32_t count);
    int32_t LastErrorResult();
    // A fresh, empty receive ring with nothing taken (opening a port).
    void MakeReceiveRing();
    // The running handler turn the calling thread is inside of (InDelivery), or 0.
    uint64_t DeliveryTurn() const;
    // The turn in which the courier is sending message, or 0.
    uint64_t TurnSending(const SioSentMessage& message) const;
    // The receive ring held for a reader (DispSection), with whether its takes are the
    // running data notification's read-ahead.
    class RingReader;
    // Under DispSection: handler turns. A turn begins just before a handler is called
    // (or sent to) and ends once it has returned, with its take folded into the largest.
    void BeginTurn();
    void EndTurn();
    // Receive ring, under DispSection; handler: the reader's RingReader answer.
    // A handler of a data notification reads on from where its own takes got to; any
    // other reader from the tail, past what the notification's handlers have taken.
    uint64_t ReadStart(bool handler) const;
    uint32_t Available(bool handler) const { return static_cast<uint32_t>(arrived_ - ReadStart(handler)); }
    void CopyOut(uint64_t from, uint8_t* to, uint32_t count) const;
    // count bytes taken from start (the caller's ReadStart).
    void TakeBytes(bool handler, uint64_t start, uint32_t count);
    // Moves the tail on to position (never back).
    void ConsumeTo(uint64_t position);
    int32_t ReadIntoRing(uint32_t at, uint32_t size);
    // Line settings, under DataSection.
    // Reads the device's settings into the DCB field; a copy of them.
    TSioDCB ReadDCB();
    int32_t SetCommStateFix(TSioDCB dcb);
    // DTR or RTS: left alone (1) while the flow control drives it, else set by the
    // escape function; a failed escape answers -1002.
    int32_t SetModemLine(bool on, const std::atomic<bool>& automatic, std::atomic<bool>& state, int32_t setFunc,
                         int32_t clearFunc);
    int32_t CheckFlowLevels(uint32_t bufferFull, uint32_t bufferResume) const;
    // Triggers and handlers, under DataSection.
    uint32_t GetTriggerHandle();
    template <class T>
    T* FindTrigger(uint32_t handle, TTriggerType wanted);
    bool StatusHolds(TStatusTrigger& trigger, uint32_t& data);
    bool CheckStatusTriggersPrim();
    bool CheckTimerTriggersPrim();
    // Status checks while they fire (and no close is pending).
    void StatusTriggerLoop();
    void ResetStatusHitsIfAny();
    uint32_t CountHandlers(bool windows);
    void AddWindowHandler(SioWindow window, bool portWindow);
    template <class List, class Match>
    bool DeregisterHandler(List& list, Match match, TDispatchSubType subType, uint32_t data);
    // Read from the record under DataSection, as its handler is about to be called.
    template <class Handler>
    bool Deregistered(const Handler& record);
    // From record `from` on, each in a turn of its own; invoke (record, index) calls the
    // handler unless it is deregistered, and answers false when a window's handler
    // outlived the wait.
    template <class Handler, class Invoke>
    Delivery DeliverToList(std::vector<std::unique_ptr<Handler>>& list, Invoke invoke, size_t from = 0);
    Delivery DeliverToWindows(uint32_t msg, uint32_t triggerHandle, int32_t lParam, size_t from);
    void PurgeDeletedHandlers();
    // Notification. A check tests its trigger, consumes it and claims the port for its
    // notice under one hold of DataSection, so no wait routine takes the port between.
    // Under DataSection: no notice may go out now (the check leaves its trigger as it is).
    bool NotifyHeldBack() const;
    // Under DataSection: marks the port busy with a notice; false when no target wants
    // notices (the trigger then fires unheard).
    bool ClaimNotify();
    // Delivers a claimed notice to every handler and ends it; true to go on checking.
    bool DeliverNotify(uint32_t msg, uint32_t triggerHandle, uint32_t data);
    // Data triggers holding a match not yet notified.
    bool MatchPending();
    // Notifies them; result when there was none to notify.
    bool NotifyMatches(bool result);
    Delivery DeliverToHandlers(uint32_t msg, uint32_t triggerHandle, int32_t lParam);
    // Ends the running notification, however its delivery ended (every handler had it,
    // a close stopped it, a handler raised, the thread ended before the windows after a
    // late one had it): what its handlers took is consumed and the port is free again.
    // True to go on checking: delivered, and no data-available handler left bytes.
    bool FinishNotify(bool delivered);
    void FinishAbandonedNotify();
    // The dispatcher thread starts (true) or ends (false) serving late deliveries.
    void DispatcherServes(bool serving);

    int32_t handle_ = -1;
    std::atomic<intptr_t> comHandle_{-1};
    uint32_t lastError_ = 0;  // DataSection
    uint32_t inQue_ = 0;
    uint32_t outQue_ = 0;
    uint8_t modemStatus_ = 0;  // DataSection
    TSioComStat comStatus_;    // DataSection
    TSioDCB dcb_;              // DataSection
    std::atomic<uint32_t> lastBaud_{0};
    uint32_t flags_ = 0;  // DataSection
    std::atomic<bool> dtrState_{false}, dtrAuto_{false}, rtsState_{false}, rtsAuto_{false};
    std::atomic<bool> rs485Mode_{false};
    std::atomic<uint16_t> baseAddress_{0};
    std::atomic<uint8_t> threadBoost_{0};
    void* dataPointers_[3] = {};  // DataSection
    std::atomic<uint32_t> lastEventMask_{0};
    bool ringFlag_ = false;  // DataSection

    // Receive ring (DispSection). Byte n of the stream, counted from the open, sits at
    // n % 8192; arrived_ and consumed_ count what came in and what was taken, so the
    // ring holds arrived_ - consumed_ bytes.
    std::unique_ptr<uint8_t[]> dBuffer_;
    uint64_t arrived_ = 0;
    uint64_t consumed_ = 0;
    uint64_t checkPos_ = 0;  // first byte the data triggers have not examined
    // A data notification runs (set and cleared under DispSection; read without it only
    // by a RingReader before it takes the lock). Its handlers' takes count from
    // takeBase_, the tail when it began; takeCount_ is the running turn's.
    std::atomic<bool> readAhead_{false};
    uint64_t takeBase_ = 0;
    uint32_t takeCount_ = 0;
    uint32_t maxTake_ = 0;
    // The handler turn now running, 0 between turns (set under DispSection), and the
    // last one given (never reused).
    std::atomic<uint64_t> turn_{0};
    uint64_t lastTurn_ = 0;
    std::unique_ptr<SioEvent> roomEvent_;

    // Output ring (OutputSection).
    std::unique_ptr<uint8_t[]> oBuffer_;
    uint32_t oBufHead_ = 0;
    uint32_t oBufTail_ = 0;
    bool oBufFull_ = false;
    std::atomic<bool> outSentPending_{false};

    // Triggers and handlers (DataSection).
    std::atomic<bool> portEnabled_{false};
    std::atomic<bool> handlerFlag_{false};
    std::vector<std::unique_ptr<WndHandler>> wndHandlers_;
    std::vector<std::unique_ptr<ProcHandler>> procHandlers_;
    std::vector<std::unique_ptr<EventHandler>> eventHandlers_;
    std::vector<std::unique_ptr<TTimerTrigger>> timerTriggers_;
    std::vector<std::unique_ptr<TDataTrigger>> dataTriggers_;
    std::vector<std::unique_ptr<TStatusTrigger>> statusTriggers_;
    uint32_t lengthTrigger_ = 0;
    uint64_t lengthFiredPos_ = 0;  // checks only
    bool statusHit_ = false;
    uint32_t nextHandle_ = 1;
    std::atomic<bool> eventBusy_{false};
    bool handlerCleanup_ = false;
    std::atomic<bool> donePortPending_{false};
    uint32_t notifyMsg_ = 0;    // of the running notification
    uint32_t notifyCount_ = 0;  // bytes it announced (TriggerAvailMessage)
    SioWindow dispatcherWindow_ = 0;
    std::mutex checkLock_;  // one check (and its notification) at a time
    std::unique_ptr<SioNotifyCourier> courier_;
    std::atomic<int> handlersRunning_{0};  // method and procedure handlers (HandlerScope)
    const uint64_t deliveryKey_;           // this dispatcher's DeliveryMark, never reused
    // A notification whose window handler outlived its send (lateLock_): where its
    // delivery goes on, whether the late handler has returned, and whether the dispatcher
    // thread runs to go on with it.
    struct LateDelivery {
        uint32_t msg = 0;
        uint32_t triggerHandle = 0;
        int32_t lParam = 0;
        size_t nextWindow = 0;
    };
    std::mutex lateLock_;
    LateDelivery late_;
    bool resumeDue_ = false;
    bool dispatcherServing_ = false;

    // Threads. The slots change (DataSection) only on the thread that opens or closes
    // the port; a thread object taken out is joined and destroyed after the lock, but
    // for one that failed to start, which never ran and is destroyed under it.
    std::unique_ptr<TSioDispatcherThread> threads_[4];
    std::atomic<int32_t> runningThreads_{0};
    std::atomic<bool> dispActive_{false};
    std::unique_ptr<SioEvent> events_[6];
    bool finished_ = false;

    SioTrace trace_{DataSection};
    SioDispatchLog log_{DataSection};
};
