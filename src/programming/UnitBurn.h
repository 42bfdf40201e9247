#pragma once
// The programming window: a small modal window that writes one controller image and its
// EEPROM block, with the firmware when a firmware file is at hand, into a controller. It
// connects after its first paint, over a serial port (ComBurnProtocol) or USB (UsbBurn),
// shows the status and the progress, the boxes the run asks for, and closes itself. All
// of it runs on the main thread: received bytes are taken in the port's data-available
// event and handed to the protocol from a posted message (no box waits inside the
// port's notification), time-outs come through Timer1.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "programming/BurnInputs.h"
#include "programming/BurnShell.h"
#include "programming/ComBurnProtocol.h"
#include "programming/HidDeviceAccess.h"
#include "programming/RomFile.h"
#include "programming/UsbBurn.h"
#include "programming/UsbBurnView.h"
#include "serial/SioComPort.h"
#include "ui/ComCtrls.h"
#include "ui/ExtCtrls.h"
#include "ui/Forms.h"

class MessageBoxWatch;

// The inputs are set by the caller before ShowModal; PortName comes back normalised. The
// firmware fields are those of the firmware file as loaded.
class TFormBurn : public TForm, public BurnInputs, public RomFile, private BurnShell {
public:
    explicit TFormBurn(TComponent* owner);
    ~TFormBurn() override;

    TPanel* Panel2 = nullptr;
    TPanel* Panel1 = nullptr;
    TProgressBar* ProgressBar1 = nullptr;
    TSioComPort* SioComPort1 = nullptr;
    TTimer* Timer1 = nullptr;

    void FormPaint(TObject* Sender);
    void FormClose(TObject* Sender, TCloseAction& Action);
    void FormDestroy(TObject* Sender);
    void SioComPort1TriggerAvail(TObject* Sender, uint16_t Count);
    void Timer1Timer(TObject* Sender);

    // Opens the port (or starts the USB search) and makes the first attempt; false when
    // the port cannot be opened (told in a box, unless the port selection dialog was
    // cancelled).
    bool Connect();
    void LoadRomFile(const std::string& fileName);

    bool FirstPaint = true;
    bool Closing = false;   // nothing more is read
    bool Finished = false;  // the window closes at the next tick, without a flush
    bool UsbMode = false;

    // The main window's step maximum (keep: the scenario keeps its steps).
    std::function<void(int maxSteps, bool keep)> OnSetMaxSteps;
    // The HID devices the USB steps look at: the system's by default, a test's instead.
    std::function<std::unique_ptr<HidDeviceAccess>()> MakeHidDevice;

    // The engines of the run: null until Connect made one.
    const ComBurnProtocol* Protocol() const { return protocol_.get(); }
    const UsbBurn* Usb() const { return usb_.get(); }

    void WndProc(TMessage& message) override;

private:
    // The USB steps' view of this window.
    class UsbWindow : public UsbBurnView {
    public:
        explicit UsbWindow(TFormBurn& form) : form_(form) {}
        void ShowStatus(const std::string& caption) override { form_.ShowStatus(caption); }
        void ShowProgress(int min, int max, int position) override { form_.ShowBar(min, max, position); }
        void SetProgress(int position) override { form_.SetProgress(position); }
        void HideProgress() override { form_.HideProgress(); }
        void ProcessMessages() override;
        void ShowError(const std::string& text) override;
        bool AskYesNo(const std::string& text) override;
        bool AskRetry(const std::string& text) override;
        void SetMaxSteps(int steps, bool keep) override { form_.SetMaxSteps(steps, keep); }
        void Close() override { form_.CloseWindow(); }

    private:
        TFormBurn& form_;
    };

    void BuildForm();
    void BindEvents();
    // After the first paint: the firmware file, then the connection.
    void StartRun();
    // The run ended before it began: the window closes at a tick.
    void FinishSoon();
    bool RunFinished() const;
    // Hands the bytes the data-available event took to the protocol.
    void HandReceived();

    // BurnShell, over the port and the controls.
    void SendBytes(const std::vector<uint8_t>& bytes, int room) override;
    void SendIfRoom(const std::vector<uint8_t>& bytes) override;
    void DropOutput() override;
    void Pause(int ms) override;
    void ShowStatus(const std::string& caption) override;
    void ShowProgress(int min, int max, int position) override;
    void SetProgress(int position) override;
    void HideProgress() override;
    int ShowBox(const std::string& text, const std::string& caption, unsigned flags) override;
    void DismissBox() override;
    void SetMaxSteps(int maxSteps, bool keep) override;
    void CloseWindow() override;

    void ShowBar(int min, int max, int position);
    // Whether anything may go out now: the port is open and working, and the window's
    // close was not asked for, unless it is closing already (its flush).
    bool MaySend();
    // Waits (10 ms sleeps, messages processed) until the output buffer has room for
    // room bytes. Gives up once nothing may be sent, and after kFlushWaitMs while the
    // window closes.
    bool WaitForRoom(int room);
    void Put(const std::vector<uint8_t>& bytes);
    bool PortFailed();

    // A flush on the way out waits at most this long for room.
    static constexpr unsigned kFlushWaitMs = 1000;

    UsbWindow usbWindow_{*this};
    std::unique_ptr<ComBurnProtocol> protocol_;
    std::unique_ptr<UsbBurn> usb_;
    std::vector<MessageBoxWatch*> boxes_;  // the boxes on screen, innermost last; not owned
    bool portFailed_ = false;
    std::vector<uint8_t> received_;  // taken from the port, not yet handed to the protocol
    bool receivePosted_ = false;     // a message to hand them over is on its way
};
