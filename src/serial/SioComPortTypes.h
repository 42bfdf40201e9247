#pragma once
// The port component's enumerations, option sets, event types and the records of its
// registered users. Portable.
#include <cstdint>
#include <functional>
#include <memory>

#include "serial/SioNotifyServices.h"
#include "ui/Component.h"

class TSioBaseDispatcher;

enum TPortState { psClosed, psShuttingDown, psOpen };
enum TDeviceLayer { dlWin32, dlWinsock };
enum TTapiMode { tmNone, tmAuto, tmOn, tmOff };
enum TParity { pNone, pOdd, pEven, pMark, pSpace };
enum THWFlowOptions { hwfUseDTR, hwfUseRTS, hwfRequireDSR, hwfRequireCTS };
enum TSWFlowOptions { swfNone, swfReceive, swfTransmit, swfBoth };
enum TTraceLogState { tlOff, tlOn, tlDump, tlAppend, tlClear, tlPause, tlAppendAndContinue };
enum TFlowControlState { fcOff, fcOn, fcDsrHold, fcCtsHold, fcDcdHold, fcXOutHold, fcXInHold, fcXBothHold };
enum TSioThreadBoost { tbNone, tbPlusOne, tbPlusTwo };
enum TSioCallbackType { ctOpen, ctClosing, ctClosed };

// Sets of the enumerations above: bit n stands for the value n. A hardware flow set's
// bits are also the dispatcher's option bits (1 DTR, 2 RTS, 4 DSR, 8 CTS).
using TDeviceLayers = uint8_t;
using THWFlowOptionSet = uint8_t;
constexpr uint8_t SetOf(int value) { return static_cast<uint8_t>(1u << value); }

using TTriggerEvent = std::function<void(TObject* CP, uint16_t Msg, uint16_t TriggerHandle, uint16_t Data)>;
using TTriggerAvailEvent = std::function<void(TObject* CP, uint16_t Count)>;
using TTriggerDataEvent = std::function<void(TObject* CP, uint16_t TriggerHandle)>;
using TTriggerStatusEvent = std::function<void(TObject* CP, uint16_t TriggerHandle)>;
using TTriggerTimerEvent = std::function<void(TObject* CP, uint16_t TriggerHandle)>;
using TTriggerLineErrorEvent = std::function<void(TObject* CP, uint16_t Error, bool LineBreak)>;
using TWaitCharEvent = std::function<void(TObject* CP, char C)>;

// A user's callback: a function bound to an object. Registrations are found again by
// the function alone, so deregistering a callback removes it for every object.
template <class Arg>
struct TPortCallbackOf {
    void* Data = nullptr;
    void (*Code)(void* data, TObject* CP, Arg arg) = nullptr;

    explicit operator bool() const { return Code != nullptr; }
    void operator()(TObject* CP, Arg arg) const { Code(Data, CP, arg); }
};
using TPortCallback = TPortCallbackOf<bool>;               // Opening
using TPortCallbackEx = TPortCallbackOf<TSioCallbackType>;  // CallbackType

// The method M of object as a port callback.
template <class T, void (T::*M)(TObject*, bool)>
TPortCallback MakePortCallback(T* object)
{
    return {object, [](void* data, TObject* CP, bool opening) { (static_cast<T*>(data)->*M)(CP, opening); }};
}
template <class T, void (T::*M)(TObject*, TSioCallbackType)>
TPortCallbackEx MakePortCallbackEx(T* object)
{
    return {object, [](void* data, TObject* CP, TSioCallbackType type) { (static_cast<T*>(data)->*M)(CP, type); }};
}

// Makes the dispatcher of a port; the dispatcher must be made with Owner as its owner,
// which the port's window uses to find the port again.
using TActivationProcedure = std::function<std::unique_ptr<TSioBaseDispatcher>(TComponent* Owner)>;

// One registered user of a port: a window (Handle not 0) or a callback.
struct TUserListEntry {
    SioWindow Handle = 0;
    TPortCallback Callback;
    TPortCallbackEx CallbackEx;
    bool IsEx = false;  // made by RegisterUserEx or RegisterUserCallbackEx
};

// The messages a port sends to its users' windows (wParam and lParam 0), and the one it
// posts to its own window to finish a close put off while a handler ran.
constexpr uint32_t PortOpenMessage = 0x7E08;
constexpr uint32_t PortClosedMessage = 0x7E09;
constexpr uint32_t PortClosingMessage = 0x7E0A;
