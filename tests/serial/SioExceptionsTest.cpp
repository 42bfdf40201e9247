// Codes to exceptions and back, over every family and its boundaries.
#include <gtest/gtest.h>

#include <functional>
#include <new>
#include <typeinfo>

#include "serial/SioExceptions.h"
#include "serial/SioMessageTable.h"
#include "ui/Component.h"

namespace {

// Runs CheckException and hands back what it raised (the test fails when nothing is).
template <class E>
void ExpectRaises(int32_t code, const std::function<void(const E&)>& check = nullptr)
{
    try {
        CheckException(nullptr, code);
        ADD_FAILURE() << "nothing raised for " << code;
    } catch (const E& e) {
        if (check)
            check(e);
    } catch (const std::exception& e) {
        ADD_FAILURE() << code << " raised " << typeid(e).name();
    }
}

template <class E>
void ExpectClass(int32_t code)
{
    ExpectRaises<ESioException>(code, [code](const ESioException& e) {
        EXPECT_EQ(typeid(e), typeid(E)) << code << " raised " << typeid(e).name();
        EXPECT_EQ(e.ErrorCode, code);
        EXPECT_EQ(e.Message, SioLoadStr(static_cast<int16_t>(code)));
    });
}

void ExpectUnknown(int32_t code)
{
    ExpectRaises<ESioException>(code, [code](const ESioException& e) {
        EXPECT_EQ(typeid(e), typeid(ESioException)) << code << " raised " << typeid(e).name();
        EXPECT_EQ(e.ErrorCode, 0) << code;
        EXPECT_EQ(e.Message, "Sio exception");
    });
}

TEST(SioCheckException, NonNegativeCodesPass)
{
    EXPECT_EQ(CheckException(nullptr, 0), 0);
    EXPECT_EQ(CheckException(nullptr, 5), 5);
    EXPECT_EQ(CheckException(nullptr, 15001), 15001);
}

TEST(SioCheckException, SystemAndFileErrorsRaiseInOutError)
{
    ExpectRaises<EInOutError>(-5, [](const EInOutError& e) {
        EXPECT_EQ(e.ErrorCode, 5);
        EXPECT_EQ(e.Message, "File access denied");
    });
    for (int32_t code : {-2, -7, -100, -160, -161, -162})
        ExpectRaises<EInOutError>(code, [code](const EInOutError& e) { EXPECT_EQ(e.ErrorCode, -code); });
    EXPECT_THROW(CheckException(nullptr, -8), std::bad_alloc);
    ExpectUnknown(-1);
    ExpectUnknown(-163);
    ExpectUnknown(-999);
}

TEST(SioCheckException, EachFamilyAtItsBoundaries)
{
    ExpectClass<EAlreadyOpen>(-2008);
    ExpectRaises<EAlreadyOpen>(-2008, [](const EAlreadyOpen& e) {
        EXPECT_EQ(e.Message, "ie_Open - device already open");
    });
    ExpectUnknown(-1001);
    ExpectClass<EBadArgument>(-1002);
    ExpectClass<ECannotUseWithWinSock>(-1009);
    ExpectUnknown(-1010);
    ExpectUnknown(-2000);
    ExpectClass<EBadId>(-2001);
    ExpectClass<ENotOpenedByTapi>(-2012);
    ExpectUnknown(-2013);
    ExpectClass<ENullApi>(-3001);
    ExpectUnknown(-3002);
    ExpectClass<EBaseAddressNotSet>(-3010);
    ExpectUnknown(-3011);
    ExpectClass<EModemNotStarted>(-4001);
    ExpectClass<ENotDialing>(-4004);
    ExpectClass<EAlreadyDialing>(-4005);
    ExpectClass<EModemStatusMismatch>(-4008);
    ExpectUnknown(-4009);
    ExpectUnknown(-4021);
    ExpectClass<ENoMoreTriggers>(-5001);
    ExpectClass<EBadTriggerHandle>(-5003);
    ExpectUnknown(-5004);
    ExpectUnknown(-5501);
    ExpectUnknown(-6001);
    ExpectClass<EProtocol>(-6006);
    ExpectUnknown(-6007);
    ExpectClass<EProtocol>(-6008);
    ExpectClass<EProtocol>(-6009);
    ExpectClass<EKeyTooLong>(-7001);
    ExpectClass<EInternal>(-7003);
    ExpectClass<EInternal>(-7006);
    ExpectUnknown(-7009);
    ExpectClass<EInternal>(-7012);
    ExpectClass<EBadFieldForIndex>(-7014);
    ExpectUnknown(-7500);
    ExpectClass<EFaxBadFormat>(-8001);
    ExpectClass<EInvalidPageNumber>(-8053);
    ExpectClass<EFaxPageError>(-8070);
    ExpectUnknown(-8071);
    ExpectClass<ETapiAllocated>(-13801);
    ExpectClass<ETapiBearerModeUnavail>(-13803);
    ExpectUnknown(-13804);
    ExpectClass<ETapiCallUnavail>(-13805);
    ExpectClass<ETapiInvalMessageID>(-13848);
    ExpectUnknown(-13849);
    ExpectClass<ETapiInvalParam>(-13850);
    ExpectClass<ETapiNoMultipleInstance>(-13886);
    ExpectUnknown(-13887);
    ExpectClass<ETapiBusy>(-13928);
    ExpectClass<ETapiGetAddrFail>(-13932);
    ExpectUnknown(-13934);
    ExpectClass<ETapiVoiceNotSupported>(-13935);
    ExpectClass<ETapiTranslateFail>(-13942);
    ExpectClass<ERasLoadFail>(-13980);
    ExpectUnknown(-13981);
}

TEST(SioCheckException, FamiliesAreCatchableByTheirParent)
{
    EXPECT_THROW(CheckException(nullptr, -2005), EOpenComm);
    EXPECT_THROW(CheckException(nullptr, -3007), ESerialIO);
    EXPECT_THROW(CheckException(nullptr, -7003), EGeneral);
    EXPECT_THROW(CheckException(nullptr, -13868), ETapi);
    EXPECT_THROW(CheckException(nullptr, -5002), ETrigger);
}

TEST(SioCheckException, EveryNegativeCodeRaisesSomething)
{
    for (int32_t code = -1; code >= -20000; --code) {
        try {
            CheckException(nullptr, code);
            ADD_FAILURE() << code;
        } catch (const ESioException& e) {
            EXPECT_TRUE(e.ErrorCode == code || e.ErrorCode == 0) << code;
        } catch (const EInOutError& e) {
            EXPECT_EQ(e.ErrorCode, -code);
        } catch (const std::bad_alloc&) {
            EXPECT_EQ(code, -8);
        }
    }
}

TEST(SioCheckException, NothingIsRaisedWhileTheOwnerLoads)
{
    TComponent owner(nullptr);
    owner.ComponentState |= csLoading;
    for (int32_t code : {-5, -8, -2008, -1, -13980})
        EXPECT_EQ(CheckException(&owner, code), code);
    owner.Loaded();
    EXPECT_THROW(CheckException(&owner, -2008), EAlreadyOpen);
}

TEST(SioXlatException, GivesTheCodeBack)
{
    EXPECT_EQ(XlatException(EInOutError("File access denied", 5)), -5);
    EXPECT_EQ(XlatException(ESioException::CreateUnknown("x")), 0);
    EXPECT_EQ(XlatException(EAlreadyOpen(-2008)), -2008);
    EXPECT_EQ(XlatException(std::bad_alloc()), -8);
    EXPECT_EQ(XlatException(Exception("other")), -9999);
    EXPECT_EQ(XlatException(ESioParserError(3, 4, "bad")), 0);
    EXPECT_EQ(ESioException::MapCodeToStringID(-2011), 2011);
}

TEST(SioExceptionCodes, TheExtremeCodesHaveNoText)
{
    EXPECT_EQ(ESioException::MapCodeToStringID(INT32_MIN), int64_t{1} << 31);
    EXPECT_EQ(ESioException::MapCodeToStringID(INT32_MAX), INT32_MAX);
    ESioException lowest(INT32_MIN);
    EXPECT_EQ(lowest.ErrorCode, INT32_MIN);
    EXPECT_EQ(lowest.Message, "") << "not the text of code 0";
    EXPECT_EQ(ESioException(-65536 - 2001).Message, "") << "not the text of -2001";
    EXPECT_EQ(ESioException(-2001).Message, "ie_BadId - Specified comport doesn't exist");
    ExpectUnknown(INT32_MIN);
}

} // namespace
