#pragma once
// The serial library's exceptions. Inside the engine failures are negative result codes;
// at the component surface CheckException turns a code into the matching exception of
// this tree and XlatException turns an exception back into a code.
#include <cstdint>
#include <exception>
#include <string>

#include "ui/Exceptions.h"

class TComponent;

// Base of the library's exceptions: the message plus the code it stands for.
class ESioException : public Exception {
public:
    // The exception for a code: ErrorCode := code, the message is the code's text (empty
    // for a code beyond the 16-bit range of message numbers, which none names).
    // passThru has no effect; it is kept for callers that pass it.
    explicit ESioException(int32_t code, bool passThru = false);
    // An exception with a message of its own and ErrorCode 0.
    struct UnknownTag {};
    ESioException(UnknownTag, std::string message);
    static ESioException CreateUnknown(std::string message);
    // The string id of a code's text: its absolute value (64-bit, so the most negative
    // code has one too).
    static int64_t MapCodeToStringID(int32_t code);

    int32_t ErrorCode;
};

// The families under ESioException and their leaves, as (class, parent).
#define SIO_EXCEPTION_CLASSES(X) \
    X(EGeneral, ESioException) \
    X(EBadArgument, EGeneral) \
    X(EGotQuitMsg, EGeneral) \
    X(EBufferTooBig, EGeneral) \
    X(EPortNotAssigned, EGeneral) \
    X(EInternal, EGeneral) \
    X(EModemNotAssigned, EGeneral) \
    X(EPhonebookNotAssigned, EGeneral) \
    X(ECannotUseWithWinSock, EGeneral) \
    X(EOpenComm, ESioException) \
    X(EBadId, EOpenComm) \
    X(EBaudRate, EOpenComm) \
    X(EByteSize, EOpenComm) \
    X(EDefault, EOpenComm) \
    X(EHardware, EOpenComm) \
    X(EMemory, EOpenComm) \
    X(ECommNotOpen, EOpenComm) \
    X(EAlreadyOpen, EOpenComm) \
    X(ENoHandles, EOpenComm) \
    X(ENoTimers, EOpenComm) \
    X(ENoPortSelected, EOpenComm) \
    X(ENotOpenedByTapi, EOpenComm) \
    X(ESerialIO, ESioException) \
    X(ENullApi, ESerialIO) \
    X(ERegisterHandlerFailed, ESerialIO) \
    X(EPutBlockFail, ESerialIO) \
    X(EGetBlockFail, ESerialIO) \
    X(EOutputBufferTooSmall, ESerialIO) \
    X(EBufferIsEmpty, ESerialIO) \
    X(ETracingNotEnabled, ESerialIO) \
    X(ELoggingNotEnabled, ESerialIO) \
    X(EBaseAddressNotSet, ESerialIO) \
    X(EModem, ESioException) \
    X(EModemNotStarted, EModem) \
    X(EModemBusy, EModem) \
    X(EModemNotDialing, EModem) \
    X(EModemNotResponding, EModem) \
    X(EModemRejectedCommand, EModem) \
    X(EModemStatusMismatch, EModem) \
    X(EAlreadyDialing, EModem) \
    X(ENotDialing, EModem) \
    X(EDeviceNotSelected, EModem) \
    X(EModemDetectedBusy, EModem) \
    X(ENoDialtone, EModem) \
    X(ENoCarrier, EModem) \
    X(ENoAnswer, EModem) \
    X(ETrigger, ESioException) \
    X(ENoMoreTriggers, ETrigger) \
    X(ETriggerTooLong, ETrigger) \
    X(EBadTriggerHandle, ETrigger) \
    X(EPacket, ESioException) \
    X(EInvalidProperty, EPacket) \
    X(EStringSizeError, EPacket) \
    X(EProtocol, ESioException) \
    X(ETimeout, EProtocol) \
    X(ETooManyErrors, EProtocol) \
    X(ESequenceError, EProtocol) \
    X(EINI, ESioException) \
    X(EKeyTooLong, EINI) \
    X(EDataTooLarge, EINI) \
    X(EIniWrite, EINI) \
    X(EIniRead, EINI) \
    X(ERecordExists, EINI) \
    X(ERecordNotFound, EINI) \
    X(EDatabaseFull, EINI) \
    X(EDatabaseEmpty, EINI) \
    X(EBadFieldList, EINI) \
    X(EBadFieldForIndex, EINI) \
    X(EFax, ESioException) \
    X(EFaxBadFormat, EFax) \
    X(EBadGraphicsFormat, EFax) \
    X(EConvertAbort, EFax) \
    X(EUnpackAbort, EFax) \
    X(ECantMakeBitmap, EFax) \
    X(ENoImageLoaded, EFax) \
    X(ENoImageBlockMarked, EFax) \
    X(EInvalidPageNumber, EFax) \
    X(EFaxBadMachine, EFax) \
    X(EFaxBadModemResult, EFax) \
    X(EFaxTrainError, EFax) \
    X(EFaxInitError, EFax) \
    X(EFaxBusy, EFax) \
    X(EFaxVoiceCall, EFax) \
    X(EFaxDataCall, EFax) \
    X(EFaxNoDialTone, EFax) \
    X(EFaxNoCarrier, EFax) \
    X(EFaxSessionError, EFax) \
    X(EFaxPageError, EFax) \
    X(EAlreadyMonitored, EFax) \
    X(ETapi, ESioException) \
    X(ETapiAllocated, ETapi) \
    X(ETapiBadDeviceID, ETapi) \
    X(ETapiBearerModeUnavail, ETapi) \
    X(ETapiCallUnavail, ETapi) \
    X(ETapiCompletionOverrun, ETapi) \
    X(ETapiConferenceFull, ETapi) \
    X(ETapiDialBilling, ETapi) \
    X(ETapiDialDialtone, ETapi) \
    X(ETapiDialPrompt, ETapi) \
    X(ETapiDialQuiet, ETapi) \
    X(ETapiIncompatibleApiVersion, ETapi) \
    X(ETapiIncompatibleExtVersion, ETapi) \
    X(ETapiIniFileCorrupt, ETapi) \
    X(ETapiInUse, ETapi) \
    X(ETapiInvalAddress, ETapi) \
    X(ETapiInvalAddressID, ETapi) \
    X(ETapiInvalAddressMode, ETapi) \
    X(ETapiInvalAddressState, ETapi) \
    X(ETapiInvalAppHandle, ETapi) \
    X(ETapiInvalAppName, ETapi) \
    X(ETapiInvalBearerMode, ETapi) \
    X(ETapiInvalCallComplMode, ETapi) \
    X(ETapiInvalCallHandle, ETapi) \
    X(ETapiInvalCallParams, ETapi) \
    X(ETapiInvalCallPrivilege, ETapi) \
    X(ETapiInvalCallSelect, ETapi) \
    X(ETapiInvalCallState, ETapi) \
    X(ETapiInvalCallStatelist, ETapi) \
    X(ETapiInvalCard, ETapi) \
    X(ETapiInvalCompletionID, ETapi) \
    X(ETapiInvalConfCallHandle, ETapi) \
    X(ETapiInvalConsultCallHandle, ETapi) \
    X(ETapiInvalCountryCode, ETapi) \
    X(ETapiInvalDeviceClass, ETapi) \
    X(ETapiInvalDeviceHandle, ETapi) \
    X(ETapiInvalDialParams, ETapi) \
    X(ETapiInvalDigitList, ETapi) \
    X(ETapiInvalDigitMode, ETapi) \
    X(ETapiInvalDigits, ETapi) \
    X(ETapiInvalExtVersion, ETapi) \
    X(ETapiInvalGroupID, ETapi) \
    X(ETapiInvalLineHandle, ETapi) \
    X(ETapiInvalLineState, ETapi) \
    X(ETapiInvalLocation, ETapi) \
    X(ETapiInvalMediaList, ETapi) \
    X(ETapiInvalMediaMode, ETapi) \
    X(ETapiInvalMessageID, ETapi) \
    X(ETapiInvalParam, ETapi) \
    X(ETapiInvalParkID, ETapi) \
    X(ETapiInvalParkMode, ETapi) \
    X(ETapiInvalPointer, ETapi) \
    X(ETapiInvalPrivSelect, ETapi) \
    X(ETapiInvalRate, ETapi) \
    X(ETapiInvalRequestMode, ETapi) \
    X(ETapiInvalTerminalID, ETapi) \
    X(ETapiInvalTerminalMode, ETapi) \
    X(ETapiInvalTimeout, ETapi) \
    X(ETapiInvalTone, ETapi) \
    X(ETapiInvalToneList, ETapi) \
    X(ETapiInvalToneMode, ETapi) \
    X(ETapiInvalTransferMode, ETapi) \
    X(ETapiLineMapperFailed, ETapi) \
    X(ETapiNoConference, ETapi) \
    X(ETapiNoDevice, ETapi) \
    X(ETapiNoDriver, ETapi) \
    X(ETapiNoMem, ETapi) \
    X(ETapiNoRequest, ETapi) \
    X(ETapiNotOwner, ETapi) \
    X(ETapiNotRegistered, ETapi) \
    X(ETapiOperationFailed, ETapi) \
    X(ETapiOperationUnavail, ETapi) \
    X(ETapiRateUnavail, ETapi) \
    X(ETapiResourceUnavail, ETapi) \
    X(ETapiRequestOverrun, ETapi) \
    X(ETapiStructureTooSmall, ETapi) \
    X(ETapiTargetNotFound, ETapi) \
    X(ETapiTargetSelf, ETapi) \
    X(ETapiUninitialized, ETapi) \
    X(ETapiUserUserInfoTooBig, ETapi) \
    X(ETapiReinit, ETapi) \
    X(ETapiAddressBlocked, ETapi) \
    X(ETapiBillingRejected, ETapi) \
    X(ETapiInvalFeature, ETapi) \
    X(ETapiNoMultipleInstance, ETapi) \
    X(ETapiBusy, ETapi) \
    X(ETapiNotSet, ETapi) \
    X(ETapiNoSelect, ETapi) \
    X(ETapiLoadFail, ETapi) \
    X(ETapiGetAddrFail, ETapi) \
    X(ETapiUnexpected, ETapi) \
    X(ETapiVoiceNotSupported, ETapi) \
    X(ETapiWaveFail, ETapi) \
    X(ETapiTranslateFail, ETapi) \
    X(EVoIPNotSupported, ETapi) \
    X(ERas, ESioException) \
    X(ERasLoadFail, ERas) \
    X(ESioTerminal, ESioException) \
    X(ESioTermRangeError, ESioTerminal) \
    X(ESioTermInvalidParameter, ESioTerminal) \
    X(ESioTermTooLarge, ESioTerminal) \
    X(EXML, ESioException) \
    X(EStateMachine, ESioException) \

#define SIO_DECLARE_EXCEPTION(Name, Parent) \
    class Name : public Parent {            \
    public:                                 \
        using Parent::Parent;               \
    };
SIO_EXCEPTION_CLASSES(SIO_DECLARE_EXCEPTION)
#undef SIO_DECLARE_EXCEPTION

// Stream errors of the XML layer: the message is their own, ErrorCode stays 0 and the
// layer's code is kept apart.
class ESioStreamError : public EXML {
public:
    ESioStreamError(int32_t code, std::string message);
    int32_t Code;
};

class ESioFilterError : public ESioStreamError {
public:
    ESioFilterError(int32_t code, int32_t line, int32_t column, std::string message);
    int32_t Line;
    int32_t Column;
};

class ESioParserError : public ESioFilterError {
public:
    // Passes its own code field, still 0 at construction, as the code.
    ESioParserError(int32_t line, int32_t column, std::string message);
};

// Pager and GSM phone errors stand outside the tree: a message and a code of their own.
class ESioPagerException : public Exception {
public:
    ESioPagerException(int32_t code, std::string message);
    int32_t ErrorCode;
};

class ESioGSMPhoneException : public Exception {
public:
    ESioGSMPhoneException(int32_t code, std::string message);
    int32_t ErrorCode;
};

// Raises the exception for a negative code and returns any other code. While owner is
// being loaded nothing is raised. -2 .. -162 raise EInOutError (ErrorCode |code|), -8
// std::bad_alloc; codes with a class of their own raise it; every other negative code
// raises ESioException "Sio exception" with ErrorCode 0.
int32_t CheckException(TComponent* owner, int32_t code);

// The code for an exception: a library exception's ErrorCode, minus an EInOutError's
// ErrorCode, -8 for std::bad_alloc, -9999 for anything else.
int32_t XlatException(const std::exception& e);
