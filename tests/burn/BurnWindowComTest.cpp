// The programming window over real serial lines: the port component and the Win32 back
// end under Wine, a simulated controller (burnsim) on the other end of a pty.
#include "BurnWindowFixture.h"

#include "SimulatedController.h"
#include "programming/BurnTexts.h"
#include "serial/MemoryDispatcher.h"
#include "serial/SioSelCom.h"
#include "ui/Text.h"

namespace {

std::string AsText(const Bytes& bytes) { return std::string(bytes.begin(), bytes.end()); }

class BurnWindowCom : public BurnWindowTest {
protected:
    BurnWindowCom()
    {
        firmware = Pattern(3000, 1);
        UseFirmware(firmware, 'M');
        form->ScnData = Pattern(700, 2);
        form->EeData = Pattern(40, 3);
    }
    // What the controller on the line stored in its first transfer: the firmware, the
    // rest of its last block empty, the image, then nothing; the EEPROM block.
    void ExpectStored(int line)
    {
        const std::string flash = Stored(line, "flash-1.bin");
        ASSERT_EQ(flash.size(), 15360u) << "nothing stored on COM" << line;
        EXPECT_EQ(flash.substr(0, 3000), AsText(firmware));
        EXPECT_EQ(flash.substr(3000, 72), std::string(72, '\xFF'));
        EXPECT_EQ(flash.substr(3072, 700), AsText(form->ScnData));
        EXPECT_EQ(flash.find_first_not_of('\xFF', 3772), std::string::npos);
        EXPECT_EQ(Stored(line, "eeprom-1.bin").substr(0, 40), AsText(form->EeData));
    }

    BoxRecorder dialogs;
    Bytes firmware;
};

TEST_F(BurnWindowCom, ProgramsFirmwareImageAndEepromThroughThePort)
{
    form->PortName = "COM031";
    ASSERT_TRUE(Run());
    EXPECT_TRUE(dialogs.boxes.empty());
    ExpectStored(kPacedLine);
    EXPECT_EQ(form->PortName, "COM31") << "the port name comes back normalised";
    // 15360 bytes below the boot-loader, 3072 of them firmware: (12288 - 10) / 20 steps.
    EXPECT_EQ(maxSteps, (std::vector<std::pair<int, bool>>{{613, true}}));
    EXPECT_EQ(form->Panel1->Caption(), "Завершение...");
    EXPECT_FALSE(form->ProgressBar1->Visible());
    EXPECT_FALSE(form->SioComPort1->Open()) << "the port is closed with the window";
    EXPECT_FALSE(form->Timer1->Enabled());
}

TEST_F(BurnWindowCom, RejectedFramesAndASplitSizeReplyEndInASuccess)
{
    form->PortName = "COM32";
    ASSERT_TRUE(Run());
    EXPECT_TRUE(dialogs.boxes.empty());
    ExpectStored(kMisbehavingLine);
}

TEST_F(BurnWindowCom, AnotherTypeOfControllerIsRefused)
{
    form->PortName = "COM33";
    ASSERT_TRUE(Run());
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].text, "Несоответствующий контроллер!");
    EXPECT_EQ(dialogs.boxes[0].caption, "Программирование контроллера");
    EXPECT_EQ(dialogs.boxes[0].flags, unsigned(MB_OK | MB_ICONERROR));
    EXPECT_TRUE(NothingWritten(kTypeNLine, 0));
    EXPECT_TRUE(maxSteps.empty());
}

TEST_F(BurnWindowCom, SilenceAndAnUnansweredFrameEndInTheTimeoutBox)
{
    for (int line : {kSilentLine, kDroppingLine}) {
        Renew();
        form->PortName = "COM" + std::to_string(line);
        std::string statusAtBox;
        dialogs.boxes.clear();
        dialogs.onBox = [&] { statusAtBox = form->Panel1->Caption(); };
        dialogs.answers = {IDCANCEL};
        ASSERT_TRUE(Run()) << line;
        ASSERT_EQ(dialogs.boxes.size(), 1u) << line;
        EXPECT_EQ(dialogs.boxes[0].text, TimeoutText(false, "")) << line;
        EXPECT_EQ(dialogs.boxes[0].flags, unsigned(MB_OKCANCEL | MB_ICONERROR)) << line;
        // Twenty ticks without an answer that moves the transfer on, one dot each.
        const std::string status = line == kSilentLine ? "Поиск контроллера..." : "Загрузка...";
        EXPECT_EQ(statusAtBox, status + std::string(20, '.')) << line;
        EXPECT_EQ(form->Panel1->Caption(), "Завершение...") << line;
    }
}

// Cancels the port selection dialog once it is shown, as a person would.
bool portSelectionCancelled = false;

void CALLBACK CancelPortSelection(HWND, UINT, UINT_PTR timer, DWORD)
{
    for (int i = 0; i < Screen->FormCount(); ++i) {
        auto* dialog = dynamic_cast<TComSelectForm*>(Screen->Forms(i));
        if (dialog && dialog->IsModal()) {
            KillTimer(nullptr, timer);
            portSelectionCancelled = true;
            dialog->AbortBtn->Click();
            return;
        }
    }
}

TEST_F(BurnWindowCom, APortThatCannotBeOpenedIsReportedAndNothingIsSent)
{
    // No such port in the prefix.
    form->PortName = "COM49";
    ASSERT_TRUE(Run());
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].text, "Невозможно загрузить сценарий!\nНе удается открыть порт COM49.\n"
                                     "ie_BadId - Specified comport doesn't exist");
    EXPECT_EQ(dialogs.boxes[0].caption, "Программирование контроллера");
    EXPECT_EQ(dialogs.boxes[0].flags, unsigned(MB_OK | MB_ICONERROR));
    EXPECT_TRUE(form->Finished);
    EXPECT_EQ(form->Protocol(), nullptr) << "nothing is sent";
    EXPECT_EQ(form->PortName, "COM49");

    // A port another program holds: the system refuses access.
    Renew();
    form->PortName = "COM7";
    form->SioComPort1->CustomDispatcher = [](TComponent* owner) {
        auto port = std::make_unique<MemoryDispatcher>(true, owner);
        port->failOpen = true;
        port->systemError = ERROR_ACCESS_DENIED;
        return port;
    };
    dialogs.boxes.clear();
    ASSERT_TRUE(Run());
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].text, "Невозможно загрузить сценарий!\nНе удается открыть порт COM7.\n"
                                     "ie_Open - device already open");
    EXPECT_EQ(form->Protocol(), nullptr);

    // A name that gives no port number.
    Renew();
    form->PortName = "COMX";
    dialogs.boxes.clear();
    ASSERT_TRUE(Run());
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].text, "Невозможно загрузить сценарий!\nНе удается открыть порт COMX.");
    EXPECT_EQ(form->Protocol(), nullptr);

    // No port named: Cancel in the port selection dialog is the user's own choice.
    Renew();
    form->PortName = "COM";
    dialogs.boxes.clear();
    portSelectionCancelled = false;
    const UINT_PTR cancel = SetTimer(nullptr, 0, 50, CancelPortSelection);
    const bool closed = Run();
    KillTimer(nullptr, cancel);
    ASSERT_TRUE(closed);
    EXPECT_TRUE(portSelectionCancelled);
    EXPECT_TRUE(dialogs.boxes.empty());
    EXPECT_TRUE(form->Finished);
    EXPECT_EQ(form->Protocol(), nullptr);
}

TEST_F(BurnWindowCom, AFirmwareFileThatCannotBeReadIsReported)
{
    form->PortName = "COM31";
    HANDLE locked = CreateFileW(ToWide(firmwareFile).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(locked, INVALID_HANDLE_VALUE);
    const bool closed = Run();
    CloseHandle(locked);
    ASSERT_TRUE(closed);
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].text, "Невозможно загрузить сценарий!\nНе удается прочитать файл \"" + firmwareFile + "\"");
    EXPECT_EQ(dialogs.boxes[0].flags, unsigned(MB_OK | MB_ICONERROR));
    EXPECT_FALSE(form->RomLoaded);
    EXPECT_EQ(form->Protocol(), nullptr) << "nothing is programmed";
}

// A controller on a line that takes nothing until it flows; from then on what the port
// holds goes out whenever the port writes or counts its output, or the test lets it
// flow, and reaches the simulated controller on the line, when there is one, whose
// answers come back. The controller's boot-loader answers the hello at once, before
// anything flowed: found, its sizes, and the first block (of 32 bytes) asked for.
class HeldLineDispatcher;

struct HeldLine {
    bool flowing = false;
    std::string sent;
    SimulatedController* controller = nullptr;
    HeldLineDispatcher* port = nullptr;  // while the port is open
};

class HeldLineDispatcher : public MemoryDispatcher {
public:
    HeldLineDispatcher(TComponent* owner, HeldLine& line) : MemoryDispatcher(true, owner), line_(line)
    {
        line_.port = this;
    }
    ~HeldLineDispatcher() override { line_.port = nullptr; }
    int32_t WriteCom(const uint8_t* buffer, int32_t size) override
    {
        const int32_t n = MemoryDispatcher::WriteCom(buffer, size);
        if (size == 4 && buffer[0] == 0x62 && !answered_) {
            answered_ = true;
            PushData("?1MQdm+");
        }
        Flow();
        return n;
    }
    uint32_t OutBufUsed() override
    {
        Flow();
        return MemoryDispatcher::OutBufUsed();
    }
    void Flow()
    {
        std::lock_guard<std::recursive_mutex> guard(OutputSection);
        if (!line_.flowing)
            return;
        const std::vector<uint8_t> held = TakeOutputRing();
        line_.sent.append(held.begin(), held.end());
        if (!line_.controller)
            return;
        for (uint8_t byte : held)
            line_.controller->Receive(byte);
        for (const SimulatedReply& reply : line_.controller->TakeReplies())
            PushData(std::string(reply.bytes.begin(), reply.bytes.end()));
    }

private:
    HeldLine& line_;
    bool answered_ = false;
};

// The window to close with its close button once the first block waits for room, and
// its line, which flows from then on.
TFormBurn* closedForm = nullptr;
HeldLine* closedLine = nullptr;

void CALLBACK PressCloseWhileTheFirstBlockWaits(HWND, UINT, UINT_PTR timer, DWORD)
{
    if (!closedForm->Protocol() || closedForm->Protocol()->State() != 3)
        return;
    KillTimer(nullptr, timer);
    SendMessageW(closedForm->Handle(), WM_SYSCOMMAND, SC_CLOSE, 0);
    closedLine->flowing = true;
}

TEST_F(BurnWindowCom, AfterCancelOnlyTheClosingFlushGoesOut)
{
    // The opening flush, the hello and the acknowledge fill the port but 23 bytes: the
    // first block waits for room. Cancel on the time-out box that comes up, the line
    // starting to flow as it does; then, in a second run, the window's close button
    // while the block waits, the line starting to flow with it.
    for (bool closeButton : {false, true}) {
        if (closeButton)
            Renew();
        HeldLine line;
        form->SioComPort1->CustomDispatcher = [&line](TComponent* owner) {
            return std::make_unique<HeldLineDispatcher>(owner, line);
        };
        form->SioComPort1->SetOutSize(540);
        form->PortName = "COM5";
        dialogs.boxes.clear();
        dialogs.onBox = [&] { line.flowing = true; };
        dialogs.answers = {IDCANCEL};
        closedForm = form;
        closedLine = &line;
        const UINT_PTR close = closeButton ? SetTimer(nullptr, 0, 100, PressCloseWhileTheFirstBlockWaits) : 0;
        const bool closed = Run();
        if (close)
            KillTimer(nullptr, close);
        ASSERT_TRUE(closed) << closeButton;
        EXPECT_EQ(dialogs.boxes.size(), closeButton ? 0u : 1u);
        EXPECT_EQ(line.sent.size(), 512u) << closeButton;
        EXPECT_EQ(line.sent.find_first_not_of('\xFF'), std::string::npos) << closeButton;
    }
}

std::vector<std::wstring> boxesSeen;

// The real message box: the window ends the time-out box itself, by the box's own
// handle, when the late answer comes.
class BurnWindowRealBoxes : public BurnWindowTest {
protected:
    // Runs the window with watch called every 100 ms meanwhile; true when it closed in
    // time.
    bool RunWatched(TIMERPROC watch)
    {
        boxesSeen.clear();
        const UINT_PTR timer = SetTimer(nullptr, 0, 100, watch);
        const bool closed = Run();
        KillTimer(nullptr, timer);
        return closed;
    }
    // One box showed, the serial time-out box, and none is left on screen.
    void ExpectOneTimeoutBoxEnded()
    {
        ASSERT_EQ(boxesSeen.size(), 1u);
        EXPECT_EQ(boxesSeen[0], ToWide(TimeoutText(false, "")));
        EXPECT_TRUE(VisibleBoxes(GetCurrentProcessId()).empty());
    }
};

void CALLBACK WatchBoxes(HWND, UINT, UINT_PTR, DWORD)
{
    for (HWND box : VisibleBoxes(GetCurrentProcessId())) {
        std::wstring text = BoxText(box);
        if (boxesSeen.empty() || boxesSeen.back() != text)
            boxesSeen.push_back(text);
    }
}

// The controller on the late line answers once the time-out box is up, however long the
// box took to come: nobody presses a button.
void CALLBACK AnswerOnceTheBoxIsUp(HWND window, UINT message, UINT_PTR timer, DWORD time)
{
    WatchBoxes(window, message, timer, time);
    // Told again on every tick: it only makes a file.
    if (!boxesSeen.empty() && !LetHeldAnswersGo(kLateLine))
        ADD_FAILURE() << "the late line could not be told to answer";
}

TEST_F(BurnWindowRealBoxes, ALateAnswerEndsTheTimeoutBox)
{
    const Bytes firmware = Pattern(300, 4);
    UseFirmware(firmware, 'M');
    form->ScnData = Pattern(200, 5);
    form->EeData = Pattern(33, 6);
    form->PortName = "COM40";
    ASSERT_TRUE(RunWatched(AnswerOnceTheBoxIsUp)) << "the time-out box stayed up";
    ExpectOneTimeoutBoxEnded();
    const std::string flash = Stored(kLateLine, "flash-1.bin");
    ASSERT_EQ(flash.size(), 15360u);
    EXPECT_EQ(flash.substr(384, 200), AsText(form->ScnData)) << "the run went on after the box";
}

// The held line of the test below, with its controller.
HeldLine* answeringLine = nullptr;

// Lets the line flow once the time-out box is up: what the port held reaches the
// controller, which answers; nobody presses a button.
void CALLBACK FlowOnceTheBoxIsUp(HWND window, UINT message, UINT_PTR timer, DWORD time)
{
    WatchBoxes(window, message, timer, time);
    if (boxesSeen.empty() || answeringLine->flowing)
        return;
    answeringLine->flowing = true;
    if (answeringLine->port)
        answeringLine->port->Flow();
}

TEST_F(BurnWindowRealBoxes, AnAnswerEndsATimeoutBoxShownWhileASendWaits)
{
    const Bytes firmware = Pattern(3000, 1);
    UseFirmware(firmware, 'M');
    form->ScnData = Pattern(700, 2);
    form->EeData = Pattern(40, 3);
    // The first block waits for room in the handling of the controller's first answer
    // (as in AfterCancelOnlyTheClosingFlushGoesOut) until the time-out box comes up.
    // Then the line flows: the controller hears the hello and the acknowledge and asks
    // for a block ("+"), which ends the box. Having asked for the first block twice
    // (before the line flowed, and on the acknowledge), it leaves the first block it
    // stores unanswered: every later block is asked for once.
    SimulatedControllerSettings settings;
    settings.sendVersion = false;
    settings.sendSize = false;
    settings.blockSize = 32;
    SimulatedControllerFaults faults;
    faults.dropFlashReply = 0;
    SimulatedController controller(settings, faults);
    HeldLine line;
    line.controller = &controller;
    answeringLine = &line;
    form->SioComPort1->CustomDispatcher = [&line](TComponent* owner) {
        return std::make_unique<HeldLineDispatcher>(owner, line);
    };
    form->SioComPort1->SetOutSize(540);
    form->PortName = "COM5";
    ASSERT_TRUE(RunWatched(FlowOnceTheBoxIsUp)) << "the time-out box stayed up";
    ExpectOneTimeoutBoxEnded();
    // The run went on to its end: 94 blocks of firmware, the image behind them, the
    // EEPROM block.
    EXPECT_EQ(controller.SessionsDone(), 1);
    const std::vector<uint8_t>& flash = controller.Flash();
    ASSERT_EQ(flash.size(), 15360u);
    EXPECT_EQ(Bytes(flash.begin(), flash.begin() + 3000), firmware);
    EXPECT_EQ(Bytes(flash.begin() + 3008, flash.begin() + 3708), form->ScnData);
    EXPECT_EQ(Bytes(controller.Eeprom().begin(), controller.Eeprom().begin() + 40), form->EeData);
}

} // namespace
