#pragma once
// A controller's serial boot-loader, simulated: it answers the program's hello, reports
// its sizes and type, checks and stores flash blocks (deciphering firmware blocks) and
// EEPROM bytes, and can misbehave on request. It is pure logic: bytes go in, replies
// come out with the delay after which they are to be sent, so the same controller
// serves the in-memory tests and the program on a serial line.
#include <cstdint>
#include <string>
#include <vector>

struct SimulatedControllerSettings {
    uint8_t version = 0x23;
    bool sendVersion = true;      // "v" and two hexadecimal digits
    int keptFirmwareSize = 0;     // firmware the controller holds; its size goes out as "z" and five digits
    bool sendSize = true;
    int eepromSize = 512;         // 0: no EEPROM size code is sent
    char type = 'M';              // 0: no type letter is sent
    int blockSize = 128;          // 0: no block size code is sent
    int bootSize = 1024;          // 0: no boot-loader size code is sent
    int flashSize = 16384;        // 0: no flash size code is sent
};

// Misbehaviour on request. Frames are counted from 0 in the order they arrive, over the
// whole life of the controller.
struct SimulatedControllerFaults {
    int rejectFlashFrame = -1;    // this flash frame is answered "-" (and not stored)
    int rejectEepromFrame = -1;   // this EEPROM frame is answered "-" (and not stored)
    int dropHelloReplies = 0;     // so many hellos go unanswered
    int dropFlashReply = -1;      // this flash frame is stored but never answered
    int delayFlashReply = -1;     // the answer to this flash frame comes late ...
    int delayMs = 0;              // ... by so much
    int holdFlashReply = -1;      // the answer to this flash frame, and every reply after it,
                                  // waits until ReleaseHeld
    int splitSizeReplyMs = -1;    // the "z" reply's last three digits and "?" follow after so many ms
    bool silent = false;          // nothing is ever answered
};

struct SimulatedReply {
    int delayMs = 0;  // after the byte that caused it was received
    std::vector<uint8_t> bytes;
};

class SimulatedController {
public:
    explicit SimulatedController(const SimulatedControllerSettings& settings,
                                 const SimulatedControllerFaults& faults = {});

    // One byte from the program; replies to send collect in Replies().
    void Receive(uint8_t byte);
    std::vector<SimulatedReply> TakeReplies();
    // Replies held back by holdFlashReply: whether there are any, and letting them go
    // (they collect in Replies() in their order).
    bool Holding() const { return holding_; }
    void ReleaseHeld();

    // What the controller holds: its flash below the boot-loader and its EEPROM.
    const std::vector<uint8_t>& Flash() const { return flash_; }
    const std::vector<uint8_t>& Eeprom() const { return eeprom_; }

    // The firmware the controller keeps before any is written: bytes derived from i.
    static uint8_t KeptFirmwareByte(int i) { return static_cast<uint8_t>(i * 7 + 3); }

    int Hellos() const { return hellos_; }
    int FlashFrames() const { return flashFrames_; }
    int EepromFrames() const { return eepromFrames_; }
    std::vector<int> StoredBlocks() const { return storedBlocks_; }  // block indexes, in order
    int Rejected() const { return rejected_; }        // frames answered "-", faults included
    int FlushBytesSkipped() const { return skipped_; } // 0xFF and "!" bytes skipped between frames
    int SessionsDone() const { return sessionsDone_; } // EEPROM transfers ended
    bool FlashEnded() const { return flashEnded_; }
    int FirmwareBlocksStored() const { return firmwareBlocks_; }

private:
    enum class Mode { Idle, AwaitAck, Flash, Eeprom };
    enum class Sync { Skip, End, Data };

    void AnswerHello();
    void ReceiveFlash(uint8_t byte);
    void FlashFrame();
    void ReceiveEeprom(uint8_t byte);
    void EepromFrame();
    // Between frames 0xFF and "!" are skipped, and 0xFF 0xFF ends the transfer.
    Sync BetweenFrames(uint8_t byte);
    void Reply(std::string text, int delayMs = 0);

    SimulatedControllerSettings settings_;
    SimulatedControllerFaults faults_;
    std::vector<uint8_t> flash_;
    std::vector<uint8_t> eeprom_;
    std::vector<SimulatedReply> replies_;
    std::vector<SimulatedReply> held_;
    bool holding_ = false;
    Mode mode_ = Mode::Idle;
    std::vector<uint8_t> window_;  // last bytes while looking for a hello
    std::vector<uint8_t> frame_;
    bool pendingFF_ = false;  // a 0xFF between frames: the end marker if another follows
    int hellos_ = 0;
    int flashFrames_ = 0;
    int eepromFrames_ = 0;
    int rejected_ = 0;
    int skipped_ = 0;
    int sessionsDone_ = 0;
    int firmwareBlocks_ = 0;
    bool flashEnded_ = false;
    std::vector<int> storedBlocks_;
};
