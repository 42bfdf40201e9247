// The port component over real serial lines (ptys with a test peer on the other end):
// writing and reading back, a burst larger than the rings, reads that no handler makes
// beside handlers that take, closing inside a handler and reopening, refused opens, the
// port dialog on the way to an open, and a thousand opens and closes without a leaked
// handle or thread.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <functional>
#include <mutex>
#include <random>
#include <thread>

#include "PeerPattern.h"
#include "SerialTestHelpers.h"
#include "serial/OutsideReader.h"
#include "serial/SioComPort.h"
#include "serial/SioDispatcher.h"
#include "serial/SioExceptions.h"
#include "serial/SioSelCom.h"
#include "support/WaitUntil.h"
#include "ui/Forms.h"

namespace {

class SerialPty : public ::testing::Test {
protected:
    SerialPty()
    {
        port->Name = "SioComPort1";
        port->SetBaud(38400);
        port->AutoOpen = false;
        port->SetDTR(false);
        port->SetRTS(false);
    }
    ~SerialPty() override { TComponent::Free(port); }

    // Takes what the handler is told of into received.
    void Collect()
    {
        port->SetOnTriggerAvail([this](TObject*, uint16_t count) {
            std::string block(count, '\0');
            port->GetBlock(&block[0], count);
            received += block;
        });
    }

    TSioComPort* port = new TSioComPort(nullptr);
    std::string received;
};

std::string RandomBytes(size_t n)
{
    std::mt19937 random(7);
    std::string s(n, '\0');
    for (char& c : s)
        c = static_cast<char>(random());
    return s;
}

TEST_F(SerialPty, ABlockWrittenComesBackThroughThePeer)
{
    Collect();
    port->SetComNumber(EchoPort);
    port->SetOpen(true);
    ASSERT_EQ(port->PortState(), psOpen);
    EXPECT_EQ(port->OutBuffFree(), 4096);
    const std::string sent = RandomBytes(3000);
    EXPECT_EQ(port->PutBlock(sent.data(), static_cast<uint16_t>(sent.size())), 0);
    ASSERT_TRUE(PumpUntil([&] { return received.size() >= sent.size(); })) << received.size() << " bytes came back";
    EXPECT_EQ(received, sent);
    EXPECT_TRUE(PumpUntil([&] { return port->OutBuffFree() == 4096; })) << "the write thread sent everything";

    // Byte by byte, as the programming window reads its answers.
    port->SetOnTriggerAvail(nullptr);
    port->PutString("OK");
    ASSERT_TRUE(PumpUntil([&] { return port->InBuffUsed() == 2; }));
    EXPECT_EQ(port->GetChar(), 'O');
    EXPECT_EQ(port->GetChar(), 'K');
    EXPECT_THROW(port->GetChar(), EBufferIsEmpty);
    port->FlushOutBuffer();
    port->FlushInBuffer();
    port->SetOpen(false);
    EXPECT_EQ(port->PortState(), psClosed);
    EXPECT_EQ(port->Dispatcher(), nullptr);
}

TEST_F(SerialPty, ABurstLargerThanTheRingsArrivesWhole)
{
    Collect();
    port->SetComNumber(BurstPort);
    port->SetOpen(true);
    const uint32_t count = 40000;  // the receive ring holds 8192, the output ring 4096
    const char request[4] = {static_cast<char>(count), static_cast<char>(count >> 8), static_cast<char>(count >> 16),
                             static_cast<char>(count >> 24)};
    port->PutBlock(request, 4);
    ASSERT_TRUE(PumpUntil([&] { return received.size() >= count; }, 30000)) << received.size() << " bytes arrived";
    ASSERT_EQ(received.size(), count);
    for (uint32_t i = 0; i < count; ++i)
        ASSERT_EQ(static_cast<uint8_t>(received[i]), PeerPatternByte(i)) << "byte " << i;
}

// What a procedure handler takes, on the dispatcher's thread.
std::mutex procedureLock;
std::string procedureTook;
TSioBaseDispatcher* procedurePort = nullptr;
void TakeEverything(uint32_t msg, uint32_t, int32_t)
{
    if (msg != TriggerAvailMessage)
        return;
    std::string block(procedurePort->InBuffUsed(), '\0');
    if (block.empty() || procedurePort->GetBlock(&block[0], static_cast<uint32_t>(block.size())) < 0)
        return;
    std::lock_guard<std::mutex> guard(procedureLock);
    procedureTook += block;
}

// A window that only counts the notifications it is sent, and one whose procedure reads
// the port for a while whenever another thread sends it WM_APP.
int countedNotices = 0;
LRESULT CALLBACK CountingProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    countedNotices += msg >= TriggerAvailMessage && msg <= TriggerStatusMessage;
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}
std::function<void()> pollPort;
LRESULT CALLBACK PollingProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_APP && pollPort)
        pollPort();
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

HWND MakeWindow(const wchar_t* name, WNDPROC procedure)
{
    WNDCLASSW wc{};
    wc.lpfnWndProc = procedure;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = name;
    RegisterClassW(&wc);
    return CreateWindowExW(0, name, L"", 0, 0, 0, 0, 0, nullptr, nullptr, wc.hInstance, nullptr);
}

// A worker thread writes a counted pattern through the echo line (the first piece
// aside) and sends a window of this thread WM_APP after each piece; that window's
// procedure reads the port, on this thread, while the dispatcher's courier waits to
// send this thread its notifications. Those reads are no handler's: with the port's
// events and a second window taking nothing, they get every byte once and in order and
// never raise after CharReady; beside a procedure handler that takes everything, no
// byte reaches both.
TEST_F(SerialPty, ReadsInAMessageAnotherThreadSentAreNoHandlersTakes)
{
    constexpr uint32_t total = 30000;
    HWND counting = MakeWindow(L"SioTestCounting", CountingProc);
    HWND polling = MakeWindow(L"SioTestPolling", PollingProc);
    ASSERT_TRUE(counting && polling);
    int avails = 0;
    port->SetOnTriggerAvail([&](TObject*, uint16_t) { ++avails; });
    port->SetComNumber(EchoPort);
    for (bool procedure : {false, true}) {
        SCOPED_TRACE(procedure ? "beside a procedure handler" : "beside handlers that take nothing");
        port->SetOpen(true);
        ASSERT_EQ(port->PortState(), psOpen);
        TSioBaseDispatcher* d = port->Dispatcher();
        procedurePort = d;
        procedureTook.clear();
        if (procedure)
            d->RegisterProcTriggerHandler(&TakeEverything);
        else
            d->RegisterWndTriggerHandler(reinterpret_cast<SioWindow>(counting));
        countedNotices = avails = 0;
        OutsideReader reader(*port);
        const std::string& got = reader.Got;
        // The next piece of the pattern into the port; the worker writes them, all but the
        // first.
        std::atomic<uint32_t> sent{0};
        auto writePiece = [&] {
            char piece[64];
            const uint32_t n = std::min<uint32_t>(sizeof piece, total - sent);
            for (uint32_t i = 0; i < n; ++i)
                piece[i] = CountedByte(sent + i);
            if (n && d->PutBlock(piece, n) == 0)
                sent += n;
        };
        // The first poll writes the first piece itself, while the worker waits for it, and
        // its reads wait until the courier's send of that piece's notification waits for
        // this thread: reads are made beside one however the threads run.
        auto sendWaits = [] { return (HIWORD(GetQueueStatus(QS_SENDMESSAGE)) & QS_SENDMESSAGE) != 0; };
        std::atomic<bool> firstWritten{false};
        bool readBesideASend = false;
        pollPort = [&] {
            if (!firstWritten) {
                writePiece();
                firstWritten = true;
                readBesideASend = WaitUntil(sendWaits, std::chrono::seconds(30), std::chrono::milliseconds(1));
            }
            for (const DWORD until = GetTickCount() + 3; GetTickCount() < until;)
                reader.ReadOnce();
        };
        auto taken = [&] {
            std::lock_guard<std::mutex> guard(procedureLock);
            return got.size() + procedureTook.size();
        };
        std::atomic<bool> stop{false}, stopped{false};
        std::thread worker([&] {
            while (!stop) {
                if (firstWritten)
                    writePiece();
                SendMessageW(polling, WM_APP, 0, 0);
            }
            stopped = true;
        });
        EXPECT_TRUE(PumpUntil([&] { return taken() >= total; }, 60000)) << taken() << " of " << total;
        stop = true;
        PumpUntil([&] { return stopped.load(); });
        worker.join();
        pollPort = nullptr;
        // Put off while the procedure runs on the dispatcher's thread: the threads have
        // ended once the port is closed, before the handlers' locals go.
        port->SetOpen(false);
        ASSERT_TRUE(PumpUntil([&] { return port->PortState() == psClosed; }));
        EXPECT_GT(avails, 0) << "the port's events were notified";
        EXPECT_TRUE(readBesideASend) << "no read was made while a notification's send waited";
        if (procedure) {
            EXPECT_EQ(got.size() + procedureTook.size(), total) << "bytes given to both, or lost";
            EXPECT_GT(procedureTook.size(), 0u);
        } else {
            EXPECT_GT(countedNotices, 0) << "the second window was notified";
            EXPECT_EQ(reader.Raised, 0u) << "a read raised after CharReady said a byte was there";
            EXPECT_EQ(got.size(), total);
            EXPECT_EQ(OffPattern(got), 0u) << "a byte came twice, or out of order";
        }
    }
    port->SetOnTriggerAvail(nullptr);
    DestroyWindow(counting);
    DestroyWindow(polling);
}

TEST_F(SerialPty, ClosingInsideOnTriggerAvailAndOpeningAgain)
{
    TPortState inside = psOpen;
    port->SetOnTriggerAvail([&](TObject*, uint16_t) {
        port->SetOpen(false);
        inside = port->PortState();
    });
    port->SetComNumber(EchoPort);
    port->SetOpen(true);
    port->PutString("close me");
    ASSERT_TRUE(PumpUntil([&] { return port->PortState() == psClosed; }));
    EXPECT_EQ(inside, psShuttingDown) << "put off until the handler had returned";
    EXPECT_FALSE(port->Open());

    Collect();
    port->SetOpen(true);
    port->FlushInBuffer();
    port->PutString("again");
    ASSERT_TRUE(PumpUntil([&] { return received.find("again") != std::string::npos; }));
    port->SetOpen(false);
}

TEST_F(SerialPty, MissingAndRefusedPortsRaiseAndLeaveThePortClosed)
{
    port->SetComNumber(MissingPort);
    EXPECT_THROW(port->SetOpen(true), EBadId);
    port->SetComNumber(RefusedPort);
    EXPECT_THROW(port->SetOpen(true), EAlreadyOpen);
    EXPECT_EQ(port->PortState(), psClosed);
    EXPECT_EQ(port->Dispatcher(), nullptr);
    port->SetComNumber(EchoPort);
    port->SetOpen(true);
    EXPECT_EQ(port->PortState(), psOpen);
}

// Chooses a port in the dialog once it is shown, as a person would.
TComSelectForm* ShownDialog()
{
    for (int i = 0; i < Screen->FormCount(); ++i)
        if (auto* form = dynamic_cast<TComSelectForm*>(Screen->Forms(i)))
            if (form->IsModal())
                return form;
    return nullptr;
}

void CALLBACK ChooseBurstPort(HWND, UINT, UINT_PTR timer, DWORD)
{
    TComSelectForm* dialog = ShownDialog();
    if (!dialog)
        return;
    KillTimer(nullptr, timer);
    TStrings& items = dialog->PortsComboBox->Items();
    for (int i = 0; i < items.Count(); ++i)
        if (items[i] == "COM22")
            dialog->PortsComboBox->SetItemIndex(i);
    dialog->OkBtn->Click();
}

TEST_F(SerialPty, WithoutANumberThePortAsksForOne)
{
    port->PromptForPort = true;
    SetTimer(nullptr, 0, 50, ChooseBurstPort);
    port->SetOpen(true);
    EXPECT_EQ(port->ComNumber(), BurstPort);
    EXPECT_EQ(port->PortState(), psOpen);
}

// Only in the run where the ptys answer like a null-modem cable.
TEST_F(SerialPty, NullModemLinesAreSeenAndTheStatusThreadKeepsItsFullMask)
{
    port->SetComNumber(EchoPort);
    port->SetOpen(true);
    EXPECT_TRUE(port->DSR());
    EXPECT_TRUE(port->CTS());
    EXPECT_TRUE(port->DCD());
    EXPECT_FALSE(port->RI());
}

TEST_F(SerialPty, AThousandOpensAndClosesLeaveNoHandleAndNoThreadBehind)
{
    port->SetComNumber(EchoPort);
    Collect();
    // The first rounds make what the process keeps for good (window class, system
    // threads of the serial driver).
    for (int i = 0; i < 3; ++i) {
        port->SetOpen(true);
        port->PutString("x");
        ASSERT_TRUE(PumpUntil([&] { return received.size() == static_cast<size_t>(i + 1); }));
        port->SetOpen(false);
    }
    PumpUntil([] { return false; }, 200);
    const int handles = OpenHandleCount();
    const int threads = ThreadCount();
    for (int i = 0; i < 1000; ++i) {
        port->SetOpen(true);
        ASSERT_EQ(port->PortState(), psOpen) << "round " << i;
        port->SetOpen(false);
        ASSERT_EQ(port->PortState(), psClosed) << "round " << i;
    }
    // The last close's threads and handles may still be going: given time to, a thousand
    // left behind never would.
    PumpUntil([&] { return OpenHandleCount() <= handles + 4 && ThreadCount() <= threads; });
    const int handlesAfter = OpenHandleCount();
    const int threadsAfter = ThreadCount();
    std::printf("1000 opens and closes: handles %d -> %d, threads %d -> %d\n", handles, handlesAfter, threads,
                threadsAfter);
    // A lock's wait event is made the first time two threads meet on it, which may be
    // any round; a handle left by every open or close would count a thousand.
    EXPECT_LE(handlesAfter, handles + 4);
    EXPECT_LE(threadsAfter, threads);
    port->SetOpen(true);
    port->PutString("still works");
    EXPECT_TRUE(PumpUntil([&] { return received.find("still works") != std::string::npos; }));
}

} // namespace
