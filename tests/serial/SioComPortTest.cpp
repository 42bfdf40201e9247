// The port component against the in-memory dispatcher: opening and its failures, the
// settings' rules, data on closed and open ports, the users' notices, copying.
#include <gtest/gtest.h>

#include "FakePortWindows.h"
#include "serial/SioComPort.h"
#include "serial/SioExceptions.h"
#include "support/TempDir.h"
#include "ui/SysUtils.h"

namespace {

class SioComPortTest : public ::testing::Test {
protected:
    SioComPortTest()
    {
        port.SetComNumber(5);
        port.AutoOpen = false;
        port.TraceName = temp.File("SIO.TRC");
        port.LogName = temp.File("SIO.LOG");
    }
    MemoryDispatcher& Memory() { return *static_cast<MemoryDispatcher*>(port.Dispatcher()); }

    TempDir temp;
    FakePortWindows windows;
    TComponent owner{nullptr};
    TSioComPort& port = *new TSioComPort(&owner);
};

TEST_F(SioComPortTest, AClosedPortAnswersItsBufferQuestionsWithoutOpening)
{
    for (bool autoOpen : {false, true}) {
        port.AutoOpen = autoOpen;
        EXPECT_EQ(port.InBuffUsed(), 0);
        EXPECT_EQ(port.OutBuffFree(), 4096);
        EXPECT_EQ(port.InBuffFree(), 8192);
        EXPECT_EQ(port.OutBuffUsed(), 0);
    }
    EXPECT_EQ(windows.dispatchersMade, 0);
    EXPECT_EQ(port.PortState(), psClosed);
}

TEST_F(SioComPortTest, DataCallsOnAClosedPortOpenItOnlyWithAutoOpen)
{
    EXPECT_THROW(port.CharReady(), ECommNotOpen);
    EXPECT_THROW(port.PutString("x"), ECommNotOpen);
    port.AutoOpen = true;
    port.PutString("hello");
    EXPECT_EQ(port.PortState(), psOpen);
    EXPECT_TRUE(port.Open());
    EXPECT_EQ(Memory().Written(), "hello");
    EXPECT_EQ(Memory().Log().DeviceName, "\\\\.\\COM5");
}

TEST_F(SioComPortTest, GetCharAndPutBlockReportFailuresByRaising)
{
    port.SetOpen(true);
    EXPECT_THROW(port.GetChar(), EBufferIsEmpty);
    std::string block(port.OutBuffFree(), 'a');
    EXPECT_EQ(port.PutBlock(block.data(), static_cast<uint16_t>(block.size())), 0) << "exactly the free room";
    EXPECT_EQ(port.OutBuffFree(), 0);
    EXPECT_EQ(Memory().Written().size(), 4096u);
    EXPECT_EQ(port.PutBlock(block.data(), 1), 0);
    std::string more(4097, 'b');
    EXPECT_THROW(port.PutBlock(more.data(), 4096), EOutputBufferTooSmall) << "one byte more than is free";
    EXPECT_EQ(Memory().Written().size(), 4097u) << "nothing of the refused block";
    EXPECT_EQ(port.PutBlock(more.data(), 0), 0);

    Memory().PushData("yz");
    Memory().Cycle();
    EXPECT_EQ(port.InBuffUsed(), 2);
    EXPECT_EQ(port.GetChar(), 'y');
    EXPECT_EQ(port.PeekChar(1), 'z');
    EXPECT_EQ(port.GetChar(), 'z');
}

TEST_F(SioComPortTest, NoPortNumberMeansNoOpen)
{
    port.SetComNumber(0);
    port.PromptForPort = false;
    EXPECT_THROW(port.SetOpen(true), ENoPortSelected);
    EXPECT_EQ(windows.prompts, 0);
    port.PromptForPort = true;
    EXPECT_THROW(port.SetOpen(true), ENoPortSelected) << "the dialog was cancelled";
    EXPECT_EQ(windows.prompts, 1);
    EXPECT_EQ(port.PortState(), psClosed);
    EXPECT_EQ(port.Dispatcher(), nullptr);
    EXPECT_EQ(windows.dispatchersMade, 0);

    windows.chosenPort = 12;
    port.SetOpen(true);
    EXPECT_EQ(port.ComNumber(), 12);
    EXPECT_EQ(Memory().Log().DeviceName, "\\\\.\\COM12");
}

TEST_F(SioComPortTest, RefusedOpensLeaveThePortClosedAndTheNextOneWorks)
{
    windows.failOpen = true;
    windows.systemError = 5;  // access denied: another program holds it
    EXPECT_THROW(port.SetOpen(true), EAlreadyOpen);
    windows.systemError = 32;  // the same, as a sharing violation
    EXPECT_THROW(port.SetOpen(true), EAlreadyOpen);
    windows.systemError = 2;
    EXPECT_THROW(port.SetOpen(true), EBadId);
    windows.systemError = 3;
    EXPECT_THROW(port.SetOpen(true), EBadId);
    windows.systemError = 31;
    try {
        port.SetOpen(true);
        FAIL() << "no exception";
    } catch (const EInOutError& e) {
        EXPECT_EQ(e.ErrorCode, 31);
    }
    EXPECT_EQ(port.PortState(), psClosed);
    EXPECT_FALSE(port.Open());
    EXPECT_EQ(port.Dispatcher(), nullptr);
    EXPECT_EQ(windows.LiveWindows(), 0);

    windows.failOpen = false;
    port.SetComNumber(6);
    port.SetOpen(true);
    EXPECT_EQ(port.PortState(), psOpen);
    EXPECT_EQ(windows.LiveWindows(), 1);
    port.SetOpen(false);
    EXPECT_EQ(windows.LiveWindows(), 0);
    EXPECT_EQ(port.Dispatcher(), nullptr);
}

TEST_F(SioComPortTest, TheWinsockLayerAndAMissingBackEndRaiseNullApi)
{
    port.SetDeviceLayers(SetOf(dlWin32) | SetOf(dlWinsock));
    port.SetDeviceLayer(dlWinsock);
    EXPECT_THROW(port.SetOpen(true), ENullApi);
    port.SetDeviceLayer(dlWin32);
    SetSioComPortPlatform(nullptr);
    EXPECT_THROW(port.SetOpen(true), ENullApi);
    SetSioComPortPlatform(&windows);
    port.CustomDispatcher = [](TComponent* owner) { return std::make_unique<MemoryDispatcher>(false, owner); };
    port.SetOpen(true);
    EXPECT_EQ(port.PortState(), psOpen);
    EXPECT_EQ(windows.dispatchersMade, 0) << "the hook made it";
    port.SetDeviceLayer(dlWinsock);
    EXPECT_EQ(port.DeviceLayer(), dlWin32) << "only while closed";
}

TEST_F(SioComPortTest, ANewNumberReopensWithTheSameTriggersAndTraceStates)
{
    port.SetComNumber(3);
    EXPECT_EQ(windows.dispatchersMade, 0) << "closed: stored only";
    port.SetOpen(true);
    uint16_t data = port.AddDataTrigger("OK", false);
    port.SetTracing(tlOn);
    port.SetLogging(tlPause);
    EXPECT_EQ(port.Logging(), tlOff) << "a log not running cannot pause";
    port.SetLogging(tlOn);
    port.SetLogging(tlPause);
    port.SetComNumber(4);
    EXPECT_EQ(windows.dispatchersMade, 2);
    EXPECT_EQ(port.Dispatcher()->Log().DeviceName, "\\\\.\\COM4");
    EXPECT_EQ(port.Tracing(), tlOn);
    EXPECT_EQ(port.Logging(), tlPause);
    EXPECT_TRUE(port.Dispatcher()->Trace().TraceOn());
    void* trigger = nullptr;
    TTriggerType type;
    EXPECT_EQ(port.Dispatcher()->FindTriggerFromHandle(data, false, trigger, type), 0);
    EXPECT_EQ(type, ttData);
}

TEST_F(SioComPortTest, FlowControlSetsItsThresholdsFromTheInputSize)
{
    port.SetRS485Mode(true);
    port.SetHWFlowOptions(SetOf(hwfUseRTS));
    EXPECT_EQ(port.BufferFull(), 3686);
    EXPECT_EQ(port.BufferResume(), 409);
    EXPECT_FALSE(port.RS485Mode());

    TSioComPort other(&owner);
    other.SetSWFlowOptions(swfBoth);
    EXPECT_EQ(other.BufferFull(), 3072);
    EXPECT_EQ(other.BufferResume(), 1024);
    other.SetBufferFull(5000);
    EXPECT_EQ(other.BufferFull(), 3686);
    other.SetBufferResume(4000);
    EXPECT_EQ(other.BufferResume(), 368);

    other.SetRTS(true);
    other.SetHWFlowOptions(SetOf(hwfUseRTS) | SetOf(hwfUseDTR));
    other.SetRS485Mode(true);
    EXPECT_EQ(other.HWFlowOptions(), SetOf(hwfUseDTR)) << "RS-485 drives RTS itself";
    EXPECT_FALSE(other.RTS());
}

TEST_F(SioComPortTest, SoftwareFlowOptionsSetExactlyTheDirectionsAsked)
{
    port.SetOpen(true);
    struct Case {
        TSWFlowOptions options;
        uint32_t flags;
    };
    const uint32_t both = DcbFlag::OutX | DcbFlag::InX;
    for (const Case& c : {Case{swfBoth, both}, Case{swfReceive, DcbFlag::InX}, Case{swfTransmit, DcbFlag::OutX},
                          Case{swfBoth, both}, Case{swfNone, 0}}) {
        port.SetSWFlowOptions(c.options);
        EXPECT_EQ(Memory().Device().Flags & both, c.flags) << c.options;
    }
}

TEST_F(SioComPortTest, NewFlowThresholdsKeepThePortsXonXoffCharacters)
{
    port.SetOpen(true);
    port.SetSWFlowOptions(swfBoth);
    port.SetXOnChar('A');
    port.SetXOffChar('B');
    port.SetBufferFull(2000);
    port.SetBufferResume(500);
    EXPECT_EQ(Memory().Device().XoffLim, 4096 - 2000);
    EXPECT_EQ(Memory().Device().XonChar, 'A');
    EXPECT_EQ(Memory().Device().XoffChar, 'B');
}

TEST_F(SioComPortTest, SizesAreCappedAndAClosedPortStoresOnlyOffOrOn)
{
    port.SetTraceSize(5000000);
    EXPECT_EQ(port.TraceSize(), 4000000u);
    port.SetLogSize(20000000);
    EXPECT_EQ(port.LogSize(), 16000000u);
    port.SetTracing(tlDump);
    EXPECT_EQ(port.Tracing(), tlOff);
    port.SetTracing(tlOn);
    EXPECT_EQ(port.Tracing(), tlOn);
    port.SetLogging(tlPause);
    EXPECT_EQ(port.Logging(), tlOff);
}

TEST_F(SioComPortTest, TheCloseWritesTheTraceAndAnUnwritableOneDoesNotKeepThePortOpen)
{
    port.SetTracing(tlOn);
    port.SetOpen(true);
    port.PutString("abc");
    port.SetOpen(false);
    EXPECT_TRUE(FileExists(port.TraceName));
    EXPECT_EQ(port.Tracing(), tlOff);

    port.TraceName = temp.File("missing/SIO.TRC");
    port.SetTracing(tlOn);
    port.SetOpen(true);
    port.PutString("abc");
    EXPECT_ANY_THROW(port.SetOpen(false));
    EXPECT_EQ(port.PortState(), psClosed) << "closed all the same";
    EXPECT_EQ(port.Dispatcher(), nullptr);
    EXPECT_EQ(windows.LiveWindows(), 0);
}

TEST_F(SioComPortTest, TheOpenPushesTheSettingsIntoTheDispatcher)
{
    port.SetBaud(38400);
    port.SetDTR(false);
    port.SetRTS(false);
    port.SetTracing(tlOn);
    port.SetTriggerLength(7);
    port.SetOpen(true);
    TSioDCB device = Memory().Device();
    EXPECT_EQ(device.BaudRate, 38400u);
    EXPECT_FALSE(Memory().DTRState());
    EXPECT_FALSE(Memory().RTSState());
    EXPECT_TRUE(Memory().Trace().TraceOn());
    EXPECT_EQ(Memory().GetLengthTrigger(), 7u);
    port.SetParity(pEven);
    EXPECT_EQ(Memory().Device().Parity, 2);
}

TEST_F(SioComPortTest, ModemLinesKeepTheirValueWhenTheDeviceRefuses)
{
    port.SetOpen(true);
    Memory().escapeResult = -1;
    EXPECT_ANY_THROW(port.SetDTR(false));
    EXPECT_TRUE(port.DTR());
    EXPECT_ANY_THROW(port.SetRTS(false));
    EXPECT_TRUE(port.RTS());
    Memory().escapeResult = 0;
    port.SetDTR(false);
    EXPECT_FALSE(port.DTR());
}

TEST_F(SioComPortTest, UsersHearOfOpenClosingAndClose)
{
    SioWindow plain = windows.UserWindow(), ex = windows.UserWindow();
    struct Listener {
        std::vector<TSioCallbackType> heard;
        std::vector<bool> opening;
        void Ex(TObject*, TSioCallbackType type) { heard.push_back(type); }
        void Plain(TObject*, bool open) { opening.push_back(open); }
    } listener;
    port.RegisterUser(plain);
    port.RegisterUserEx(ex);
    port.RegisterUserCallbackEx(MakePortCallbackEx<Listener, &Listener::Ex>(&listener));
    port.RegisterUserCallback(MakePortCallback<Listener, &Listener::Plain>(&listener));
    int opens = 0, closes = 0;
    port.OnPortOpen = [&](TObject*) { ++opens; };
    port.OnPortClose = [&](TObject*) { ++closes; };

    port.SetOpen(true);
    port.SetOpen(false);
    EXPECT_EQ(windows.UserMessages(plain), (std::vector<uint32_t>{PortOpenMessage, PortClosedMessage}));
    EXPECT_EQ(windows.UserMessages(ex),
              (std::vector<uint32_t>{PortOpenMessage, PortClosingMessage, PortClosedMessage}));
    EXPECT_EQ(listener.heard, (std::vector<TSioCallbackType>{ctOpen, ctClosing, ctClosed}));
    EXPECT_EQ(listener.opening, (std::vector<bool>{true, false}));
    EXPECT_EQ(opens, 1);
    EXPECT_EQ(closes, 1);

    port.RegisterUser(plain);
    EXPECT_EQ(port.UserCount(), 5);
    port.DeregisterUser(plain);
    EXPECT_EQ(port.UserCount(), 3) << "both entries of that window";
    port.DeregisterUserCallbackEx(MakePortCallbackEx<Listener, &Listener::Ex>(&listener));
    EXPECT_EQ(port.UserCount(), 2);
}

TEST_F(SioComPortTest, PortsAreFoundAmongComponentsDepthFirstAndCopied)
{
    TComponent root(nullptr);
    auto* holder = new TComponent(&root);
    auto* inner = new TSioComPort(holder);
    auto* later = new TSioComPort(&root);
    EXPECT_EQ(TSioCustomComPort::SearchComPort(&root), inner);
    EXPECT_EQ(TSioCustomComPort::SearchComPort(nullptr), nullptr);
    EXPECT_EQ(TSioCustomComPort::ComName(12), "COM12");

    port.SetBaud(38400);
    port.TraceName = "X.TRC";
    port.SetTriggerLength(3);
    int avail = 0;
    port.SetOnTriggerAvail([&](TObject*, uint16_t) { ++avail; });
    port.SetOpen(true);
    later->Assign(&port);
    EXPECT_EQ(later->Baud(), 38400);
    EXPECT_EQ(later->ComNumber(), 5);
    EXPECT_EQ(later->TraceName, "X.TRC");
    EXPECT_EQ(later->TriggerLength(), 3);
    EXPECT_FALSE(later->Open());
    EXPECT_TRUE(later->OnTriggerAvail());
    EXPECT_EQ(later->PortState(), psClosed);
}

} // namespace
