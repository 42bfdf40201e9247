#include "programming/UnitBurn.h"

#include <windows.h>

#include <algorithm>

#include "programming/BurnTexts.h"
#include "programming/HidLibrary.h"
#include "programming/MessageBoxWatch.h"
#include "serial/SioDeviceTypes.h"
#include "serial/SioDispatcher.h"
#include "serial/SioExceptions.h"
#include "ui/Application.h"
#include "ui/DialogProvider.h"
#include "ui/SysUtils.h"

namespace {

// Posted by the first paint to itself: the run starts once the window is drawn, outside
// the paint (the run shows boxes and processes messages for a long while).
constexpr UINT CM_BURNSTART = WM_APP + 0x3B01;
// Posted by the port's data-available event: the received bytes it took go to the
// protocol outside the port's notification.
constexpr UINT CM_BURNRECEIVE = WM_APP + 0x3B02;

constexpr unsigned kTickMs = 500;

uint32_t NowMs() { return GetTickCount(); }

// The port number a port name gives: the integer after "COM" in a name of more than three
// characters that begins with "COM", else 0; -1 when that is no port number.
int PortNumberOf(const std::string& portName)
{
    if (portName.size() <= 3 || portName.compare(0, 3, "COM") != 0)
        return 0;
    const int number = StrToIntDef(portName.substr(3), -1);
    return number >= 0 && number <= 0xFFFF ? number : -1;
}

} // namespace

TFormBurn::TFormBurn(TComponent* owner) : TForm(owner) { BuildForm(); }

TFormBurn::~TFormBurn()
{
    // The engines call back into this window: they go before its controls.
    protocol_.reset();
    usb_.reset();
}

void TFormBurn::LoadRomFile(const std::string& fileName) { static_cast<RomFile&>(*this) = ::LoadRomFile(fileName); }

void TFormBurn::FormPaint(TObject*)
{
    if (!FirstPaint)
        return;
    FirstPaint = false;
    PostMessageW(Handle(), CM_BURNSTART, 0, 0);
}

void TFormBurn::WndProc(TMessage& message)
{
    if (message.Msg == CM_BURNSTART) {
        StartRun();
        message.Result = 0;
        return;
    }
    if (message.Msg == CM_BURNRECEIVE) {
        receivePosted_ = false;
        HandReceived();
        message.Result = 0;
        return;
    }
    TForm::WndProc(message);
}

void TFormBurn::StartRun()
{
    Application->ProcessMessages();
    LoadRomFile(RomFileName);
    // A firmware file that is there but cannot be read: programming without it would
    // keep the controller's old firmware, or claim the file were missing.
    if (status == RomLoadStatus::Unreadable) {
        ShowBox(UnreadableFirmwareText(RomFileName), kBurnBoxCaption, kBoxOk | kBoxIconError);
        FinishSoon();
        return;
    }
    if (!Connect())
        FinishSoon();
}

void TFormBurn::FinishSoon()
{
    Finished = true;
    Timer1->SetInterval(10);
    Timer1->SetEnabled(true);
}

bool TFormBurn::RunFinished() const { return Finished || (protocol_ && protocol_->Finished()); }

bool TFormBurn::Connect()
{
    if (PortName == "USB") {
        UsbMode = true;
        usb_ = std::make_unique<UsbBurn>(*this, *this, usbWindow_,
                                         MakeHidDevice ? MakeHidDevice() : std::make_unique<HIDLibrary>());
        usb_->Connect();
        if (usb_->Closed())
            return true;
    } else {
        UsbMode = false;
        const int number = PortNumberOf(PortName);
        if (number < 0) {
            // A name that gives no port number ("COMX"): no port can be opened.
            ShowBox(PortFailureText(PortName, ""), kBurnBoxCaption, kBoxOk | kBoxIconError);
            return false;
        }
        try {
            SioComPort1->SetComNumber(static_cast<uint16_t>(number));
            SioComPort1->SetOpen(true);
        } catch (const ENoPortSelected&) {
            return false;  // the port selection dialog was cancelled: the user's own choice
        } catch (const std::exception& e) {
            // Absent, held by another program, refused: nothing was sent, and the user
            // hears why, in the serial library's own words. The number is the one the
            // port tried (the selection dialog may have chosen it).
            ShowBox(PortFailureText("COM" + IntToStr(SioComPort1->ComNumber()), e.what()), kBurnBoxCaption,
                    kBoxOk | kBoxIconError);
            return false;
        }
        PortName = "COM" + IntToStr(SioComPort1->ComNumber());
        BurnShell& shell = *this;
        protocol_ = std::make_unique<ComBurnProtocol>(*this, *this, shell);
        protocol_->Start(NowMs());
    }
    Timer1->SetInterval(kTickMs);
    Timer1->SetEnabled(true);
    return true;
}

void TFormBurn::SioComPort1TriggerAvail(TObject*, uint16_t Count)
{
    // This runs inside the port's notification, and the port holds every later one
    // until it returns: what the bytes ask for (sends that wait for room, boxes) must not
    // run here, or the controller's next answer would wait behind it. The bytes are only
    // taken here; a posted message hands them to the protocol, one post at a time.
    if (Closing || !protocol_ || protocol_->Closing())
        return;  // nothing is read once the window closes
    const size_t at = received_.size();
    received_.resize(at + Count);
    SioComPort1->GetBlock(received_.data() + at, Count);
    if (!receivePosted_ && HandleAllocated())
        receivePosted_ = PostMessageW(Handle(), CM_BURNRECEIVE, 0, 0) != FALSE;
}

void TFormBurn::HandReceived()
{
    std::vector<uint8_t> bytes;
    bytes.swap(received_);
    if (Closing || !protocol_ || protocol_->Closing() || bytes.empty())
        return;
    // Bytes that arrive while the protocol works on these (its sends and boxes process
    // messages) are posted anew and handed over nested: the protocol queues what they
    // ask for behind what it is doing, and an answer still ends a time-out box at once.
    protocol_->Receive(bytes.data(), bytes.size(), NowMs());
}

void TFormBurn::Timer1Timer(TObject*)
{
    Timer1->SetEnabled(false);
    if (RunFinished()) {
        Close();
        return;
    }
    if (usb_) {
        usb_->Tick();
        Timer1->SetEnabled(!usb_->Closed());
    } else if (protocol_) {
        protocol_->Tick(NowMs());
        Timer1->SetEnabled(!protocol_->Closing());
    }
}

void TFormBurn::FormClose(TObject*, TCloseAction&)
{
    Closing = true;
    Timer1->SetEnabled(false);
    if (protocol_) {
        protocol_->FormClose();  // the status, and the flush unless the run ended early
    } else {
        Panel1->SetCaption(kStatusClosing);
        Application->ProcessMessages();
    }
    if (SioComPort1->Open())
        SioComPort1->SetOpen(false);
}

void TFormBurn::FormDestroy(TObject*)
{
    if (SioComPort1->Open())
        SioComPort1->SetOpen(false);
    Closing = true;
    protocol_.reset();
    usb_.reset();
}

// ---- What the engines ask of the window ----

bool TFormBurn::PortFailed()
{
    if (portFailed_)
        return true;
    // A device thread that failed has ended all of them: no room will ever come.
    TSioBaseDispatcher* dispatcher = SioComPort1->Dispatcher();
    portFailed_ = dispatcher && dispatcher->LastError() == LineErr::DeviceFailure;
    return portFailed_;
}

bool TFormBurn::MaySend()
{
    // Once the window's close is asked for (the time-out box's Cancel, the close button)
    // the transfer is given up: only the flush on the way out goes.
    return SioComPort1->Open() && !PortFailed() && (ModalResult == mrNone || Closing);
}

bool TFormBurn::WaitForRoom(int room)
{
    const DWORD start = GetTickCount();
    for (;;) {
        if (!MaySend())
            return false;
        if (SioComPort1->OutBuffFree() >= room)
            return true;
        // The flush on the way out waits a little only.
        if (Closing && GetTickCount() - start >= kFlushWaitMs)
            return false;
        Sleep(10);
        Application->ProcessMessages();
    }
}

void TFormBurn::Put(const std::vector<uint8_t>& bytes)
{
    try {
        SioComPort1->PutBlock(bytes.data(), static_cast<uint16_t>(bytes.size()));
    } catch (const ESioException&) {
        // The port refuses data: nothing more goes out, and the run runs into its
        // time-out box, which tells the user to check the cable.
        portFailed_ = true;
    }
}

void TFormBurn::SendBytes(const std::vector<uint8_t>& bytes, int room)
{
    if (WaitForRoom(std::max(room, static_cast<int>(bytes.size()))))
        Put(bytes);
}

void TFormBurn::SendIfRoom(const std::vector<uint8_t>& bytes)
{
    if (MaySend() && SioComPort1->OutBuffFree() >= bytes.size())
        Put(bytes);
}

void TFormBurn::DropOutput()
{
    if (SioComPort1->Open())
        SioComPort1->FlushOutBuffer();
}

void TFormBurn::Pause(int ms)
{
    const DWORD start = GetTickCount();
    for (;;) {
        Application->ProcessMessages();
        const DWORD passed = GetTickCount() - start;
        if (passed >= static_cast<DWORD>(ms))
            return;
        Sleep(std::min<DWORD>(10, static_cast<DWORD>(ms) - passed));
    }
}

void TFormBurn::ShowStatus(const std::string& caption) { Panel1->SetCaption(caption); }

void TFormBurn::ShowBar(int min, int max, int position)
{
    ProgressBar1->SetMin(0);
    ProgressBar1->SetMax(max);
    ProgressBar1->SetPosition(position);
    ProgressBar1->SetMin(min);
    ProgressBar1->Show();
}

void TFormBurn::ShowProgress(int min, int max, int position)
{
    ShowBar(min, max, position);
    Application->ProcessMessages();
}

void TFormBurn::SetProgress(int position) { ProgressBar1->SetPosition(position); }

void TFormBurn::HideProgress() { ProgressBar1->Hide(); }

int TFormBurn::ShowBox(const std::string& text, const std::string& caption, unsigned flags)
{
    MessageBoxWatch watch;
    boxes_.push_back(&watch);
    struct Pop {
        std::vector<MessageBoxWatch*>& boxes;
        ~Pop() { boxes.pop_back(); }
    } pop{boxes_};
    return Dialogs().ShowMessageBox(HandleAllocated() ? Handle() : nullptr, text, caption, flags);
}

void TFormBurn::DismissBox()
{
    if (!boxes_.empty())
        boxes_.back()->PressOk();
}

void TFormBurn::SetMaxSteps(int maxSteps, bool keep)
{
    if (OnSetMaxSteps)
        OnSetMaxSteps(maxSteps, keep);
}

void TFormBurn::CloseWindow() { Close(); }

void TFormBurn::UsbWindow::ProcessMessages() { Application->ProcessMessages(); }

void TFormBurn::UsbWindow::ShowError(const std::string& text)
{
    form_.ShowBox(text, kBurnBoxCaption, kBoxOk | kBoxIconError);
}

bool TFormBurn::UsbWindow::AskYesNo(const std::string& text)
{
    return form_.ShowBox(text, kBurnBoxCaption, kBoxYesNo | kBoxIconQuestion) == kAnswerYes;
}

bool TFormBurn::UsbWindow::AskRetry(const std::string& text)
{
    return form_.ShowBox(text, kBurnBoxCaption, kBoxOkCancel | kBoxIconError) == kAnswerOk;
}
