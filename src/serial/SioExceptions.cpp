#include "serial/SioExceptions.h"

#include <algorithm>
#include <iterator>
#include <new>

#include "serial/SioMessageTable.h"
#include "ui/Component.h"

namespace {

std::string CodeText(int32_t code)
{
    int64_t id = ESioException::MapCodeToStringID(code);
    return id <= INT16_MAX ? SioLoadStr(static_cast<int16_t>(id)) : std::string();
}

} // namespace

ESioException::ESioException(int32_t code, bool /*passThru*/) : Exception(CodeText(code)), ErrorCode(code) {}

ESioException::ESioException(UnknownTag, std::string message)
    : Exception(std::move(message)), ErrorCode(0)
{
}

ESioException ESioException::CreateUnknown(std::string message)
{
    return ESioException(UnknownTag{}, std::move(message));
}

int64_t ESioException::MapCodeToStringID(int32_t code) { return code < 0 ? -int64_t{code} : code; }

ESioStreamError::ESioStreamError(int32_t code, std::string message)
    : EXML(UnknownTag{}, std::move(message)), Code(code)
{
}

ESioFilterError::ESioFilterError(int32_t code, int32_t line, int32_t column, std::string message)
    : ESioStreamError(code, std::move(message)), Line(line), Column(column)
{
}

ESioParserError::ESioParserError(int32_t line, int32_t column, std::string message)
    : ESioFilterError(0, line, column, std::move(message))
{
}

ESioPagerException::ESioPagerException(int32_t code, std::string message)
    : Exception(std::move(message)), ErrorCode(code)
{
}

ESioGSMPhoneException::ESioGSMPhoneException(int32_t code, std::string message)
    : Exception(std::move(message)), ErrorCode(code)
{
}

namespace {

using Raiser = void (*)(int32_t);

template <class E>
[[noreturn]] void Raise(int32_t code)
{
    throw E(code, false);
}

struct CodeClass {
    int32_t code;
    Raiser raise;
};

// Codes that raise a class of their own, in descending order (ascending absolute value).
#define SIO_CODE_CLASSES(X) \
    X(-1002, EBadArgument) \
    X(-1003, EGotQuitMsg) \
    X(-1004, EBufferTooBig) \
    X(-1005, EPortNotAssigned) \
    X(-1006, EInternal) \
    X(-1007, EModemNotAssigned) \
    X(-1008, EPhonebookNotAssigned) \
    X(-1009, ECannotUseWithWinSock) \
    X(-2001, EBadId) \
    X(-2002, EBaudRate) \
    X(-2003, EByteSize) \
    X(-2004, EDefault) \
    X(-2005, EHardware) \
    X(-2006, EMemory) \
    X(-2007, ECommNotOpen) \
    X(-2008, EAlreadyOpen) \
    X(-2009, ENoHandles) \
    X(-2010, ENoTimers) \
    X(-2011, ENoPortSelected) \
    X(-2012, ENotOpenedByTapi) \
    X(-3001, ENullApi) \
    X(-3003, ERegisterHandlerFailed) \
    X(-3004, EPutBlockFail) \
    X(-3005, EGetBlockFail) \
    X(-3006, EOutputBufferTooSmall) \
    X(-3007, EBufferIsEmpty) \
    X(-3008, ETracingNotEnabled) \
    X(-3009, ELoggingNotEnabled) \
    X(-3010, EBaseAddressNotSet) \
    X(-4001, EModemNotStarted) \
    X(-4002, EModemBusy) \
    X(-4003, EModemNotDialing) \
    X(-4004, ENotDialing) \
    X(-4005, EAlreadyDialing) \
    X(-4006, EModemNotResponding) \
    X(-4007, EModemRejectedCommand) \
    X(-4008, EModemStatusMismatch) \
    X(-5001, ENoMoreTriggers) \
    X(-5002, ETriggerTooLong) \
    X(-5003, EBadTriggerHandle) \
    X(-6006, EProtocol) \
    X(-6008, EProtocol) \
    X(-6009, EProtocol) \
    X(-7001, EKeyTooLong) \
    X(-7002, EDataTooLarge) \
    X(-7003, EInternal) \
    X(-7004, EIniWrite) \
    X(-7005, EIniRead) \
    X(-7006, EInternal) \
    X(-7007, ERecordExists) \
    X(-7008, ERecordNotFound) \
    X(-7010, EDatabaseFull) \
    X(-7011, EDatabaseEmpty) \
    X(-7012, EInternal) \
    X(-7013, EBadFieldList) \
    X(-7014, EBadFieldForIndex) \
    X(-8001, EFaxBadFormat) \
    X(-8002, EBadGraphicsFormat) \
    X(-8003, EConvertAbort) \
    X(-8004, EUnpackAbort) \
    X(-8005, ECantMakeBitmap) \
    X(-8053, EInvalidPageNumber) \
    X(-8060, EFaxBadMachine) \
    X(-8061, EFaxBadModemResult) \
    X(-8062, EFaxTrainError) \
    X(-8063, EFaxInitError) \
    X(-8064, EFaxBusy) \
    X(-8065, EFaxVoiceCall) \
    X(-8066, EFaxDataCall) \
    X(-8067, EFaxNoDialTone) \
    X(-8068, EFaxNoCarrier) \
    X(-8069, EFaxSessionError) \
    X(-8070, EFaxPageError) \
    X(-13801, ETapiAllocated) \
    X(-13802, ETapiBadDeviceID) \
    X(-13803, ETapiBearerModeUnavail) \
    X(-13805, ETapiCallUnavail) \
    X(-13806, ETapiCompletionOverrun) \
    X(-13807, ETapiConferenceFull) \
    X(-13808, ETapiDialBilling) \
    X(-13809, ETapiDialDialtone) \
    X(-13810, ETapiDialPrompt) \
    X(-13811, ETapiDialQuiet) \
    X(-13812, ETapiIncompatibleApiVersion) \
    X(-13813, ETapiIncompatibleExtVersion) \
    X(-13814, ETapiIniFileCorrupt) \
    X(-13815, ETapiInUse) \
    X(-13816, ETapiInvalAddress) \
    X(-13817, ETapiInvalAddressID) \
    X(-13818, ETapiInvalAddressMode) \
    X(-13819, ETapiInvalAddressState) \
    X(-13820, ETapiInvalAppHandle) \
    X(-13821, ETapiInvalAppName) \
    X(-13822, ETapiInvalBearerMode) \
    X(-13823, ETapiInvalCallComplMode) \
    X(-13824, ETapiInvalCallHandle) \
    X(-13825, ETapiInvalCallParams) \
    X(-13826, ETapiInvalCallPrivilege) \
    X(-13827, ETapiInvalCallSelect) \
    X(-13828, ETapiInvalCallState) \
    X(-13829, ETapiInvalCallStatelist) \
    X(-13830, ETapiInvalCard) \
    X(-13831, ETapiInvalCompletionID) \
    X(-13832, ETapiInvalConfCallHandle) \
    X(-13833, ETapiInvalConsultCallHandle) \
    X(-13834, ETapiInvalCountryCode) \
    X(-13835, ETapiInvalDeviceClass) \
    X(-13836, ETapiInvalDeviceHandle) \
    X(-13837, ETapiInvalDialParams) \
    X(-13838, ETapiInvalDigitList) \
    X(-13839, ETapiInvalDigitMode) \
    X(-13840, ETapiInvalDigits) \
    X(-13841, ETapiInvalExtVersion) \
    X(-13842, ETapiInvalGroupID) \
    X(-13843, ETapiInvalLineHandle) \
    X(-13844, ETapiInvalLineState) \
    X(-13845, ETapiInvalLocation) \
    X(-13846, ETapiInvalMediaList) \
    X(-13847, ETapiInvalMediaMode) \
    X(-13848, ETapiInvalMessageID) \
    X(-13850, ETapiInvalParam) \
    X(-13851, ETapiInvalParkID) \
    X(-13852, ETapiInvalParkMode) \
    X(-13853, ETapiInvalPointer) \
    X(-13854, ETapiInvalPrivSelect) \
    X(-13855, ETapiInvalRate) \
    X(-13856, ETapiInvalRequestMode) \
    X(-13857, ETapiInvalTerminalID) \
    X(-13858, ETapiInvalTerminalMode) \
    X(-13859, ETapiInvalTimeout) \
    X(-13860, ETapiInvalTone) \
    X(-13861, ETapiInvalToneList) \
    X(-13862, ETapiInvalToneMode) \
    X(-13863, ETapiInvalTransferMode) \
    X(-13864, ETapiLineMapperFailed) \
    X(-13865, ETapiNoConference) \
    X(-13866, ETapiNoDevice) \
    X(-13867, ETapiNoDriver) \
    X(-13868, ETapiNoMem) \
    X(-13869, ETapiNoRequest) \
    X(-13870, ETapiNotOwner) \
    X(-13871, ETapiNotRegistered) \
    X(-13872, ETapiOperationFailed) \
    X(-13873, ETapiOperationUnavail) \
    X(-13874, ETapiRateUnavail) \
    X(-13875, ETapiResourceUnavail) \
    X(-13876, ETapiRequestOverrun) \
    X(-13877, ETapiStructureTooSmall) \
    X(-13878, ETapiTargetNotFound) \
    X(-13879, ETapiTargetSelf) \
    X(-13880, ETapiUninitialized) \
    X(-13881, ETapiUserUserInfoTooBig) \
    X(-13882, ETapiReinit) \
    X(-13883, ETapiAddressBlocked) \
    X(-13884, ETapiBillingRejected) \
    X(-13885, ETapiInvalFeature) \
    X(-13886, ETapiNoMultipleInstance) \
    X(-13928, ETapiBusy) \
    X(-13929, ETapiNotSet) \
    X(-13930, ETapiNoSelect) \
    X(-13931, ETapiLoadFail) \
    X(-13932, ETapiGetAddrFail) \
    X(-13935, ETapiVoiceNotSupported) \
    X(-13936, ETapiWaveFail) \
    X(-13942, ETapiTranslateFail) \
    X(-13980, ERasLoadFail) \

#define SIO_CODE_ENTRY(Code, Name) {Code, &Raise<Name>},
const CodeClass codeClasses[] = {SIO_CODE_CLASSES(SIO_CODE_ENTRY)};
#undef SIO_CODE_ENTRY

} // namespace

int32_t CheckException(TComponent* owner, int32_t code)
{
    if (code >= 0 || (owner && (owner->ComponentState & csLoading)))
        return code;
    if (code >= -162 && code <= -2) {
        if (code == -8)
            throw std::bad_alloc();
        throw EInOutError(SioLoadStr(static_cast<int16_t>(-code)), -code);
    }
    auto it = std::lower_bound(std::begin(codeClasses), std::end(codeClasses), code,
                               [](const CodeClass& c, int32_t v) { return c.code > v; });
    if (it != std::end(codeClasses) && it->code == code)
        it->raise(code);
    throw ESioException::CreateUnknown("Sio exception");
}

int32_t XlatException(const std::exception& e)
{
    if (auto sio = dynamic_cast<const ESioException*>(&e))
        return sio->ErrorCode;
    if (auto io = dynamic_cast<const EInOutError*>(&e))
        return -io->ErrorCode;
    if (dynamic_cast<const std::bad_alloc*>(&e))
        return -8;
    return -9999;
}
