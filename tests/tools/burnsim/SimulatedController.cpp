#include "SimulatedController.h"

#include <algorithm>
#include <cstddef>
#include <cstdio>

namespace {

const uint8_t kHello[4] = {0x62, 0x01, 0x72, 0x73};

char EepromCode(int size)
{
    switch (size) {
    case 64: return '.';
    case 128: return '/';
    case 256: return '0';
    case 512: return '1';
    case 1024: return '2';
    case 2048: return '3';
    case 4096: return '4';
    }
    return 0;
}

char BlockCode(int size)
{
    switch (size) {
    case 32: return 'Q';
    case 64: return 'R';
    case 128: return 'S';
    case 256: return 'T';
    case 512: return 'V';
    }
    return 0;
}

char BootCode(int size)
{
    switch (size) {
    case 128: return 'a';
    case 256: return 'b';
    case 512: return 'c';
    case 1024: return 'd';
    case 2048: return 'e';
    case 4096: return 'f';
    }
    return 0;
}

char FlashCode(int size)
{
    switch (size) {
    case 1024: return 'g';
    case 2048: return 'h';
    case 4096: return 'i';
    case 8192: return 'l';
    case 16384: return 'm';
    case 32768: return 'n';
    case 40960: return 'r';
    case 65536: return 'o';
    case 131072: return 'p';
    case 262144: return 'q';
    }
    return 0;
}

} // namespace

SimulatedController::SimulatedController(const SimulatedControllerSettings& settings,
                                         const SimulatedControllerFaults& faults)
    : settings_(settings), faults_(faults)
{
    const int capacity = settings.flashSize - settings.bootSize;
    flash_.assign(static_cast<size_t>(capacity > 0 ? capacity : 0), 0xFF);
    for (int i = 0; i < settings.keptFirmwareSize && i < capacity; ++i)
        flash_[static_cast<size_t>(i)] = KeptFirmwareByte(i);
    eeprom_.assign(static_cast<size_t>(settings.eepromSize > 0 ? settings.eepromSize : 64), 0xFF);
}

std::vector<SimulatedReply> SimulatedController::TakeReplies()
{
    std::vector<SimulatedReply> out;
    out.swap(replies_);
    return out;
}

void SimulatedController::ReleaseHeld()
{
    holding_ = false;
    replies_.insert(replies_.end(), held_.begin(), held_.end());
    held_.clear();
}

void SimulatedController::Reply(std::string text, int delayMs)
{
    // A held reply holds back what follows it, as a line keeps its order.
    if (faults_.silent)
        return;
    (holding_ ? held_ : replies_).push_back(SimulatedReply{delayMs, std::vector<uint8_t>(text.begin(), text.end())});
}

void SimulatedController::Receive(uint8_t byte)
{
    switch (mode_) {
    case Mode::Flash:
        ReceiveFlash(byte);
        return;
    case Mode::Eeprom:
        ReceiveEeprom(byte);
        return;
    case Mode::AwaitAck:
        if (byte == '!') {
            std::string codes;
            for (char c : {EepromCode(settings_.eepromSize), settings_.type, BlockCode(settings_.blockSize),
                           BootCode(settings_.bootSize), FlashCode(settings_.flashSize)})
                if (c != 0)
                    codes += c;
            Reply(codes + "+");
            mode_ = Mode::Flash;
            frame_.clear();
            return;
        }
        break;
    case Mode::Idle:
        break;
    }
    if (byte == 0xFF)
        ++skipped_;
    window_.push_back(byte);
    if (window_.size() > 4)
        window_.erase(window_.begin());
    if (window_.size() == 4 && std::equal(window_.begin(), window_.end(), kHello)) {
        window_.clear();
        if (++hellos_ > faults_.dropHelloReplies) {
            AnswerHello();
            mode_ = Mode::AwaitAck;
        }
    }
}

void SimulatedController::AnswerHello()
{
    char text[16];
    std::string head;
    if (settings_.sendVersion) {
        std::snprintf(text, sizeof text, "v%02x", settings_.version);
        head += text;
    }
    std::string size;
    if (settings_.sendSize) {
        std::snprintf(text, sizeof text, "z%05d", settings_.keptFirmwareSize);
        size = text;
    }
    if (faults_.splitSizeReplyMs >= 0 && !size.empty()) {
        Reply(head + size.substr(0, 3));
        Reply(size.substr(3) + "?", faults_.splitSizeReplyMs);
    } else {
        Reply(head + size + "?");
    }
}

SimulatedController::Sync SimulatedController::BetweenFrames(uint8_t byte)
{
    if (!frame_.empty())
        return Sync::Data;
    if (pendingFF_) {
        pendingFF_ = false;
        if (byte == 0xFF)
            return Sync::End;
        ++skipped_;  // a lone 0xFF
    }
    if (byte == 0xFF) {
        pendingFF_ = true;
        return Sync::Skip;
    }
    if (byte == '!') {  // an acknowledge the program repeated before it saw the sizes
        ++skipped_;
        return Sync::Skip;
    }
    return Sync::Data;
}

void SimulatedController::ReceiveFlash(uint8_t byte)
{
    switch (BetweenFrames(byte)) {
    case Sync::Skip:
        return;
    case Sync::End:
        flashEnded_ = true;
        mode_ = Mode::Eeprom;
        Reply(")+");
        return;
    case Sync::Data:
        break;
    }
    frame_.push_back(byte);
    if (frame_.size() == static_cast<size_t>(settings_.blockSize) + 4)
        FlashFrame();
}

void SimulatedController::FlashFrame()
{
    const int number = flashFrames_++;
    const int block = settings_.blockSize;
    const int index = frame_[0] << 8 | frame_[1];
    const uint8_t key = frame_[2];
    const bool firmware = (key & 0x40) != 0;
    std::vector<uint8_t> plain(static_cast<size_t>(block));
    uint8_t running = key;
    uint8_t sum = 0;
    for (int i = 0; i < block; ++i) {
        uint8_t b = frame_[3 + static_cast<size_t>(i)];
        if (firmware)
            b ^= running;
        running = static_cast<uint8_t>(running + 21);
        plain[static_cast<size_t>(i)] = b;
        sum = static_cast<uint8_t>(sum + b);
    }
    const bool sumOk = sum == frame_.back();
    const bool addressOk = static_cast<size_t>(index + 1) * static_cast<size_t>(block) <= flash_.size();
    const bool keyOk = firmware || key == ((block >> 4) & 0xBF);
    frame_.clear();
    if (number == faults_.rejectFlashFrame || !sumOk || !addressOk || !keyOk) {
        ++rejected_;
        Reply("-");
        return;
    }
    std::copy(plain.begin(), plain.end(), flash_.begin() + static_cast<std::ptrdiff_t>(index) * block);
    storedBlocks_.push_back(index);
    if (firmware)
        ++firmwareBlocks_;
    if (number == faults_.dropFlashReply)
        return;
    if (number == faults_.holdFlashReply)
        holding_ = true;
    Reply("+", number == faults_.delayFlashReply ? faults_.delayMs : 0);
}

void SimulatedController::ReceiveEeprom(uint8_t byte)
{
    switch (BetweenFrames(byte)) {
    case Sync::Skip:
        return;
    case Sync::End:
        ++sessionsDone_;
        mode_ = Mode::Idle;
        window_.clear();
        return;
    case Sync::Data:
        break;
    }
    frame_.push_back(byte);
    if (frame_.size() == 4)
        EepromFrame();
}

void SimulatedController::EepromFrame()
{
    const int number = eepromFrames_++;
    const size_t address = static_cast<size_t>(frame_[0] << 8 | frame_[1]);
    const uint8_t value = frame_[2];
    const bool ok = static_cast<uint8_t>(frame_[0] + frame_[1] + frame_[2]) == frame_[3] && address < eeprom_.size();
    frame_.clear();
    if (number == faults_.rejectEepromFrame || !ok) {
        ++rejected_;
        Reply("-");
        return;
    }
    eeprom_[address] = value;
    Reply("+");
}
