#pragma once
// The serial programming protocol, fed with received bytes and the window's 500 ms
// ticks. It finds the controller's boot-loader (hello, "?", "!"), learns its sizes and
// type, writes the firmware and the controller image block by block and the EEPROM
// block byte by byte, and says what to show.
//
// Every entry point first changes the protocol's state and queues what is to be done,
// then hands the queue to the shell in order. Sends and pauses process the window's
// messages, so receive events and ticks can come in while the queue is being handed
// over: such a nested call only queues, and the outer call carries on with the queue.
// While a message box is on screen the queue is open to nested calls, so an answer
// that arrives meanwhile can dismiss the time-out box and move the transfer on. The one
// box that does not queue is a time-out box due inside a send that waits for room: it
// shows at once, as the room may never come, and an answer ends it at once, while what
// the answer asks for waits in the queue behind that send. Cancel on a time-out box, or
// the window's close button, drops what is still queued and what the port holds unsent:
// after it only the closing flush goes out.
#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "programming/BurnInputs.h"
#include "programming/BurnRandom.h"
#include "programming/BurnShell.h"
#include "programming/RomFile.h"

class ComBurnProtocol {
public:
    // Neither is copied: both must outlive the protocol.
    ComBurnProtocol(const BurnInputs& inputs, const RomFile& rom, BurnShell& shell);
    ComBurnProtocol(const ComBurnProtocol&) = delete;
    ComBurnProtocol& operator=(const ComBurnProtocol&) = delete;

    // Once the port is open: the searching status, the flush and the first hello.
    void Start(uint32_t nowMs);
    // Bytes the port received; nowMs is a millisecond clock (any origin, wrapping).
    void Receive(const uint8_t* data, size_t count, uint32_t nowMs);
    // The window's timer, every 500 ms from Start.
    void Tick(uint32_t nowMs);
    // The window is closing: its status, and the flush unless the run was finished
    // early. A close the run did not ask for itself (the window's close button) first
    // drops what would still go out, as Cancel on the time-out box does. Called from the
    // close handler, which the modal loop runs outside any send, so the flush is out
    // when it returns; the window closes its port afterwards.
    void FormClose();

    int State() const { return state_; }             // 0 idle, 1 searching, 2 found, 3 flash, 4 EEPROM
    bool Closing() const { return closing_; }        // nothing more is read
    bool Finished() const { return finished_; }      // ended because the scenario is too long: no flush
    int Countdown() const { return countdown_; }     // ticks left before the time-out box
    bool BoxOpen() const { return boxOpen_; }        // the time-out box is on screen
    const std::string& StatusText() const { return statusText_; }

    // What the controller reported.
    int FirmwareVersion() const { return firmwareVersion_; }
    int FirmwareSize() const { return firmwareSize_; }
    int EepromSize() const { return eepromSize_; }
    int BlockSize() const { return blockSize_; }
    int FlashSize() const { return flashSize_; }
    int BootSize() const { return bootSize_; }
    int FirmwareBlocks() const { return firmwareBlocks_; }
    int CurrentBlock() const { return currentBlock_; }
    int CurrentEepromByte() const { return currentEepromByte_; }

    static constexpr int kTimeoutTicks = 20;
    // A "v" or "z" reply counts when its digits arrive within this time of its letter.
    static constexpr uint32_t kReplyDeadlineMs = 100;

private:
    enum class BoxKind { Error, Cut, Timeout };
    struct Action {
        enum Kind { Send, SendIfRoom, Pause, Status, ShowProgress, Progress, HideProgress, Box, DismissBox,
                    MaxSteps, Close };
        explicit Action(Kind k) : kind(k) {}
        Kind kind;
        std::vector<uint8_t> bytes;
        std::string text;
        unsigned flags = 0;
        BoxKind box = BoxKind::Error;
        int a = 0, b = 0, c = 0;
    };
    // A "v" (2 hexadecimal digits) or "z" (5 decimal digits) reply being assembled.
    struct Reply {
        char letter = 0;  // 0: none
        std::string digits;
        uint32_t startMs = 0;
        bool apply = false;
    };

    void ReadChar(uint8_t c, uint32_t nowMs);
    bool ReadReplyDigit(uint8_t c, uint32_t nowMs);
    void ApplyReply(uint32_t nowMs);
    bool ReadSizeCode(char c);
    void SendFlashBlock();
    bool PrepareFlashImage();
    void SendEepromByte();
    void SendHello();
    void FlushPort();
    void Finish();
    void Fail(const std::string& text);
    void DismissErrorBox();
    void EndTimeoutBox();
    void GiveUp();
    void DropLineOutput();
    void RestoreStatus();
    void SetStatus(const std::string& text);
    void ShowTimeoutBoxNow();
    void BoxAnswered(BoxKind box, int answer, int value);

    void Push(Action::Kind kind, int a = 0, int b = 0, int c = 0);
    void PushBox(BoxKind box, std::string text, unsigned flags, int value = 0);
    void ShowCaption();
    void Send(std::vector<uint8_t> bytes, int room, Action::Kind kind = Action::Send);
    void Close();
    void Drain();
    void Perform(Action& action);

    const BurnInputs& in_;
    const RomFile& rom_;
    BurnShell& shell_;
    std::deque<Action> queue_;
    bool draining_ = false;

    int state_ = 0;
    bool started_ = false;
    bool closing_ = false;
    bool finished_ = false;
    bool formClosed_ = false;
    bool boxOpen_ = false;
    bool boxNow_ = false;  // the time-out box shown inside a waiting send is on screen
    int countdown_ = kTimeoutTicks;
    std::string statusText_;
    std::string caption_;  // the status line as shown, with the time-out dots
    Reply reply_;

    int firmwareVersion_ = 0;
    int firmwareSize_ = 0;
    int eepromSize_ = 64;
    int blockSize_ = 0;
    int flashSize_ = 0;
    int bootSize_ = 0;
    int firmwareBlocks_ = 0;
    int currentBlock_ = -1;
    int currentEepromByte_ = -1;
    std::vector<uint8_t> image_;  // empty until the first block of a run
    int imageLength_ = 0;
    BurnRandom random_;
};
