#include "programming/ComBurnProtocol.h"

#include <algorithm>
#include <cstdlib>
#include <ctime>

#include "programming/BurnTexts.h"
#include "programming/ComBurnFrames.h"
#include "programming/FlashImage.h"
#include "ui/FlagScope.h"

namespace {

bool IsDecimalDigit(uint8_t c) { return c >= '0' && c <= '9'; }
bool IsHexDigit(uint8_t c) { return IsDecimalDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }
// Blanks a boot-loader may pad its numbers with, as a formatted read skips them.
bool IsBlank(uint8_t c) { return c == ' ' || c == '\t'; }

} // namespace

ComBurnProtocol::ComBurnProtocol(const BurnInputs& inputs, const RomFile& rom, BurnShell& shell)
    : in_(inputs), rom_(rom), shell_(shell)
{
}

void ComBurnProtocol::Start(uint32_t)
{
    SetStatus(kStatusSearching);
    FlushPort();
    SendHello();
    state_ = 1;
    countdown_ = kTimeoutTicks;
    started_ = true;
    Drain();
}

void ComBurnProtocol::Receive(const uint8_t* data, size_t count, uint32_t nowMs)
{
    if (state_ == 0)
        return;
    for (size_t i = 0; i < count && !closing_; ++i)
        ReadChar(data[i], nowMs);
    Drain();
}

void ComBurnProtocol::ReadChar(uint8_t c, uint32_t nowMs)
{
    if (reply_.letter != 0 && ReadReplyDigit(c, nowMs))
        return;
    // Version and size replies are taken in whatever state they come (a second answer
    // to a repeated hello may follow the "?"), so their digits are never read as codes.
    if (c == 'v' || c == 'z') {
        reply_ = Reply{static_cast<char>(c), {}, nowMs, state_ == 1};
        return;
    }
    if (state_ == 1) {
        if (c != '?')
            return;
        Send({'!'}, 1);
        DismissErrorBox();
        if (!rom_.RomLoaded && firmwareSize_ == 0) {
            Fail(MissingFirmwareText(in_.RomFileName));
            return;
        }
        currentBlock_ = -1;
        state_ = 2;
        return;
    }
    if (c >= '.' && c < 0x80 && !ReadSizeCode(static_cast<char>(c)))
        return;
    if (state_ == 3) {
        if (c == ')') {
            if (in_.EeSize() < 1)
                Finish();
            else
                state_ = 4;
        } else if (c == '+') {
            ++currentBlock_;
            SendFlashBlock();
        } else if (c == '-') {
            SendFlashBlock();
        }
    } else if (state_ == 4) {
        if (c == '+') {
            ++currentEepromByte_;
            SendEepromByte();
        } else if (c == '-') {
            SendEepromByte();
        }
    }
}

bool ComBurnProtocol::ReadReplyDigit(uint8_t c, uint32_t nowMs)
{
    const bool hex = reply_.letter == 'v';
    if (!(hex ? IsHexDigit(c) : IsDecimalDigit(c)) && !IsBlank(c)) {
        // Cut short: the letter is ignored and this character is read as usual.
        reply_ = Reply{};
        return false;
    }
    reply_.digits += static_cast<char>(c);
    if (reply_.digits.size() == (hex ? 2u : 5u)) {
        if (reply_.apply && nowMs - reply_.startMs <= kReplyDeadlineMs)
            ApplyReply(nowMs);
        reply_ = Reply{};
    }
    return true;
}

void ComBurnProtocol::ApplyReply(uint32_t)
{
    // Read as a formatted number: leading blanks skipped, digits up to the first blank.
    const int value = static_cast<int>(std::strtol(reply_.digits.c_str(), nullptr, reply_.letter == 'v' ? 16 : 10));
    if (reply_.letter == 'v')
        firmwareVersion_ = value;
    else
        firmwareSize_ = value;
}

bool ComBurnProtocol::ReadSizeCode(char c)
{
    if (int size = EepromSizeCode(c)) {
        eepromSize_ = size;
    } else if (IsTypeLetter(c)) {
        if (rom_.RomLoaded && c != rom_.RomType) {
            Fail(kWrongControllerText);
            return false;
        }
    } else if (int block = BlockSizeCode(c)) {
        blockSize_ = block;
        state_ = 3;
    } else if (int boot = BootSizeCode(c)) {
        bootSize_ = boot;
        state_ = 3;
    } else if (int flash = FlashSizeCode(c)) {
        flashSize_ = flash;
        state_ = 3;
    }
    return true;
}

void ComBurnProtocol::SendFlashBlock()
{
    DismissErrorBox();
    if (image_.empty() && !PrepareFlashImage())
        return;
    if (currentBlock_ < 0)
        currentBlock_ = 0;
    const int64_t position = static_cast<int64_t>(currentBlock_) * blockSize_;
    if (position >= imageLength_) {
        Send(EndFrame(), 2);
        imageLength_ = blockSize_ = flashSize_ = bootSize_ = 0;
        currentBlock_ = -1;
        image_ = {};
        if (in_.EeSize() < 1)
            Finish();
        return;
    }
    Push(Action::Progress, static_cast<int>(position));
    const bool firmware = currentBlock_ < firmwareBlocks_;
    Send(FlashBlockFrame(image_.data(), imageLength_, currentBlock_, blockSize_, firmware,
                         firmware ? random_.Next() : 0),
         blockSize_ + 4);
}

bool ComBurnProtocol::PrepareFlashImage()
{
    // A "+" before any block size is a link error too: the build refuses a block size of 0.
    FlashImage fi =
        BuildFlashImage(RunFlashImageInput(in_, rom_, blockSize_, flashSize_, bootSize_, firmwareSize_));
    if (fi.status != FlashImageStatus::Built) {
        const FlashImageFailure failure =
            DescribeFlashImageFailure(fi, in_.RomFileName, in_.LoopCount, in_.LabelCount);
        if (failure.cutQuestion) {
            closing_ = true;
            PushBox(BoxKind::Cut, failure.text, kBoxYesNo | kBoxIconQuestion, failure.maxSteps);
        } else {
            // A scenario too long for any step ends as the question would: no flush.
            if (fi.status == FlashImageStatus::TooLarge)
                finished_ = true;
            Fail(failure.text);
        }
        return false;
    }
    if (rom_.RomLoaded)
        firmwareSize_ = 0;  // the firmware file is always written
    firmwareBlocks_ = fi.firmwareBlocks;
    if (fi.keepsControllerFirmware)
        currentBlock_ = fi.firmwareBlocks;  // the controller keeps its firmware: skip its blocks
    image_ = std::move(fi.data);
    imageLength_ = fi.length;
    if (fi.scenarioPlaced)
        Push(Action::MaxSteps, fi.fitSteps, 1);
    SetStatus(kStatusLoading);
    const int start = std::max(currentBlock_, 0) * blockSize_;
    Push(Action::ShowProgress, start, imageLength_, start);
    random_.Seed(static_cast<uint32_t>(std::time(nullptr)));
    return true;
}

void ComBurnProtocol::SendEepromByte()
{
    DismissErrorBox();
    if (currentEepromByte_ < 0)
        currentEepromByte_ = 0;
    const int limit = std::min(in_.EeSize(), eepromSize_);
    if (currentEepromByte_ == 0) {
        SetStatus(kStatusEeprom);
        Push(Action::ShowProgress, 0, limit, 0);
    }
    if (currentEepromByte_ >= limit) {
        for (int i = 0; i < 3; ++i) {
            Send(EndFrame(), 2);
            Push(Action::Pause, 50);
        }
        Finish();
        return;
    }
    Push(Action::Progress, currentEepromByte_);
    Send(EepromByteFrame(currentEepromByte_, in_.EeData[static_cast<size_t>(currentEepromByte_)]), 4);
}

void ComBurnProtocol::SendHello() { Send(HelloFrame(), 5); }

void ComBurnProtocol::FlushPort()
{
    for (int i = 0; i < 4; ++i) {
        Send(FlushBlock(), 128);
        Push(Action::Pause, 10);
    }
}

void ComBurnProtocol::Tick(uint32_t)
{
    // The window's timer counts nothing while the window closes or the time-out box is up.
    if (state_ == 0 || closing_ || boxOpen_)
        return;
    --countdown_;
    caption_ += '.';
    ShowCaption();
    if (state_ == 1)
        SendHello();
    else if (state_ == 2)
        Send({'!'}, 0, Action::SendIfRoom);
    if (countdown_ < 1 && !finished_) {
        boxOpen_ = true;
        if (draining_) {
            // A tick inside a send that waits for room: the box must not wait behind it
            // (the room may never come), so it shows now.
            ShowTimeoutBoxNow();
            return;
        }
        PushBox(BoxKind::Timeout, TimeoutText(false, in_.ModelName), kBoxOkCancel | kBoxIconError);
    }
    Drain();
}

void ComBurnProtocol::ShowTimeoutBoxNow()
{
    shell_.ShowStatus(caption_);
    // The queue waits behind the send underneath: an answer ends this box itself.
    int answer = kAnswerCancel;
    {
        FlagScope shown(boxNow_);
        answer = shell_.ShowBox(TimeoutText(false, in_.ModelName), kBurnBoxCaption, kBoxOkCancel | kBoxIconError);
    }
    boxOpen_ = false;
    if (closing_)
        return;
    if (answer == kAnswerCancel) {
        GiveUp();  // the send underneath ends once the window is closing
        return;
    }
    countdown_ = kTimeoutTicks;
    caption_ = statusText_;
    shell_.ShowStatus(caption_);
}

void ComBurnProtocol::FormClose()
{
    if (formClosed_)
        return;
    formClosed_ = true;
    // A close the run did not ask for (the window's close button) gives the transfer up
    // as Cancel on the time-out box does.
    if (!closing_)
        DropLineOutput();
    closing_ = true;
    caption_ = kStatusClosing;
    ShowCaption();
    if (started_ && !finished_)
        FlushPort();
    Drain();
}

void ComBurnProtocol::Finish()
{
    Push(Action::HideProgress);
    Close();
}

void ComBurnProtocol::Fail(const std::string& text)
{
    // Nothing more is read from here on, also while the box is on screen.
    closing_ = true;
    EndTimeoutBox();
    PushBox(BoxKind::Error, text, kBoxOk | kBoxIconError);
}

void ComBurnProtocol::DismissErrorBox()
{
    EndTimeoutBox();
    RestoreStatus();
}

void ComBurnProtocol::EndTimeoutBox()
{
    if (boxNow_)
        shell_.DismissBox();  // nothing queued now would reach the box before the send underneath ends
    else if (boxOpen_)
        Push(Action::DismissBox);
}

void ComBurnProtocol::GiveUp()
{
    DropLineOutput();
    closing_ = true;
    shell_.CloseWindow();
}

void ComBurnProtocol::DropLineOutput()
{
    // Nothing queued before the transfer was given up goes out on the line: neither what
    // waits here nor what the port still holds. The closing flush comes after it. What
    // is queued for the window stays (the step maximum the controller holds among it).
    queue_.erase(std::remove_if(queue_.begin(), queue_.end(),
                                [](const Action& a) {
                                    return a.kind == Action::Send || a.kind == Action::SendIfRoom ||
                                           a.kind == Action::Pause;
                                }),
                 queue_.end());
    shell_.DropOutput();
}

void ComBurnProtocol::RestoreStatus()
{
    countdown_ = kTimeoutTicks;
    if (caption_ != statusText_) {
        caption_ = statusText_;
        ShowCaption();
    }
}

void ComBurnProtocol::SetStatus(const std::string& text)
{
    statusText_ = caption_ = text;
    ShowCaption();
}

void ComBurnProtocol::BoxAnswered(BoxKind box, int answer, int value)
{
    switch (box) {
    case BoxKind::Error:
        Close();
        break;
    case BoxKind::Cut:
        if (answer == kAnswerYes)
            Push(Action::MaxSteps, value, 0);
        finished_ = true;
        Close();
        break;
    case BoxKind::Timeout:
        boxOpen_ = false;
        if (closing_)
            break;
        if (answer == kAnswerCancel)
            GiveUp();
        else
            RestoreStatus();
        break;
    }
}

void ComBurnProtocol::Send(std::vector<uint8_t> bytes, int room, Action::Kind kind)
{
    Action action(kind);
    action.bytes = std::move(bytes);
    action.a = room;
    queue_.push_back(std::move(action));
}

void ComBurnProtocol::Push(Action::Kind kind, int a, int b, int c)
{
    Action action(kind);
    action.a = a;
    action.b = b;
    action.c = c;
    queue_.push_back(std::move(action));
}

void ComBurnProtocol::PushBox(BoxKind box, std::string text, unsigned flags, int value)
{
    Action action(Action::Box);
    action.text = std::move(text);
    action.flags = flags;
    action.box = box;
    action.a = value;
    queue_.push_back(std::move(action));
}

void ComBurnProtocol::ShowCaption() { Push(Action::Status); }

void ComBurnProtocol::Close()
{
    closing_ = true;
    Push(Action::Close);
}

void ComBurnProtocol::Drain()
{
    if (draining_)
        return;  // a call nested in a send or pause: the outer call carries on
    FlagScope draining(draining_);
    while (!queue_.empty()) {
        Action action = std::move(queue_.front());
        queue_.pop_front();
        Perform(action);
    }
}

void ComBurnProtocol::Perform(Action& a)
{
    switch (a.kind) {
    case Action::Send:
        shell_.SendBytes(a.bytes, a.a);
        break;
    case Action::SendIfRoom:
        shell_.SendIfRoom(a.bytes);
        break;
    case Action::Pause:
        shell_.Pause(a.a);
        break;
    case Action::Status:
        // The caption as it stands now: one queued behind a waiting send may be out of date.
        shell_.ShowStatus(caption_);
        break;
    case Action::ShowProgress:
        shell_.ShowProgress(a.a, a.b, a.c);
        break;
    case Action::Progress:
        shell_.SetProgress(a.a);
        break;
    case Action::HideProgress:
        shell_.HideProgress();
        break;
    case Action::Box: {
        // Nested calls hand over their own actions while the box is up (everything
        // queued now came after the box), so an answer can dismiss it.
        draining_ = false;
        int answer = kAnswerCancel;
        try {
            answer = shell_.ShowBox(a.text, kBurnBoxCaption, a.flags);
        } catch (...) {
            draining_ = true;
            throw;
        }
        draining_ = true;
        BoxAnswered(a.box, answer, a.a);
        break;
    }
    case Action::DismissBox:
        shell_.DismissBox();
        break;
    case Action::MaxSteps:
        shell_.SetMaxSteps(a.a, a.b != 0);
        break;
    case Action::Close:
        shell_.CloseWindow();
        break;
    }
}
