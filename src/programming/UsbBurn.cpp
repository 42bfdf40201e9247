#include "programming/UsbBurn.h"

#include <algorithm>

#include "programming/BurnTexts.h"
#include "programming/ChipSignatures.h"
#include "programming/FlashImage.h"

namespace {

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

// The controller keeps a firmware that ends inside a flash chunk: writing the scenario
// behind it would overwrite the firmware's last bytes, so only a firmware file will do.
std::string UnalignedFirmwareText(const std::string& romFileName)
{
    return "Невозможно загрузить сценарий!\nПрограмма контроллера не кончается на границе блока записи,"
           "\nнужен файл " + Quoted(romFileName);
}

} // namespace

UsbBurn::UsbBurn(const BurnInputs& inputs, const RomFile& rom, UsbBurnView& view,
                 std::unique_ptr<HidDeviceAccess> device)
    : in_(inputs), rom_(rom), view_(view), loader_(std::move(device))
{
    loader_.SetProductName(in_.DeviceId);
}

void UsbBurn::Connect()
{
    UsbShowSearching();
    UsbProgram(false);
}

void UsbBurn::Tick()
{
    if (closed_)
        return;
    --countdown_;
    caption_ += ".";
    view_.ShowStatus(caption_);
    // One enumeration per tick: the attempt uses the device this Open selected.
    if (loader_.Open())
        UsbProgram(true);
    view_.ProcessMessages();
    if (countdown_ < 1 && !boxOpen_ && !closed_) {
        boxOpen_ = true;
        const bool keepSearching = view_.AskRetry(TimeoutText(true, in_.ModelName));
        boxOpen_ = false;
        if (keepSearching)
            RestoreStatus();
        else
            Close();
    }
}

void UsbBurn::UsbShowSearching()
{
    SetStatus(kStatusSearching);
    view_.HideProgress();
    view_.ProcessMessages();
}

bool UsbBurn::UsbCheckController(bool opened)
{
    if (!opened && !loader_.Open())
        return false;
    const TUsbLoader::Identity& id = loader_.identity();
    blockSize_ = static_cast<int>(id.pageSize);
    flashSize_ = static_cast<int>(id.flashSize);
    bootSize_ = static_cast<int>(id.bootSize);
    eepromSize_ = static_cast<int>(id.eepromSize);
    firmwareSize_ = 0;
    // Open refuses a page size of 0, so the division is safe.
    const uint32_t kept = GetLE(id.info, 2);
    if (kept % id.pageSize == 0)
        firmwareSize_ = static_cast<int>(kept);
    if (rom_.RomLoaded) {
        firmwareSize_ = 0;  // the file's firmware is written
        if (IsChipSignatureOf(rom_.RomType, id.signature))
            return true;
        Fail(kWrongControllerText);
        return false;
    }
    if (firmwareSize_ == 0) {
        Fail(MissingFirmwareText(in_.RomFileName));
        return false;
    }
    if (kept % loader_.ChunkSpan() != 0) {
        Fail(UnalignedFirmwareText(in_.RomFileName));
        return false;
    }
    return true;
}

bool UsbBurn::BuildImage()
{
    FlashImage built =
        BuildFlashImage(RunFlashImageInput(in_, rom_, blockSize_, flashSize_, bootSize_, firmwareSize_));
    if (built.status != FlashImageStatus::Built) {
        const FlashImageFailure failure = DescribeFlashImageFailure(built, in_.RomFileName, in_.LoopCount, in_.LabelCount);
        if (!failure.cutQuestion) {
            Fail(failure.text);
            return false;
        }
        if (view_.AskYesNo(failure.text))
            view_.SetMaxSteps(failure.maxSteps, false);
        Close();
        return false;
    }
    if (built.keepsControllerFirmware)
        currentBlock_ = built.firmwareBlocks;
    image_ = std::move(built.data);
    imageLength_ = built.length;
    if (built.scenarioPlaced)
        view_.SetMaxSteps(built.fitSteps, true);
    return true;
}

bool UsbBurn::UsbProgram(bool opened)
{
    if (!UsbCheckController(opened)) {
        if (!closed_)
            UsbShowSearching();
        return false;
    }
    if (image_.empty() && !BuildImage())
        return false;
    SetStatus(kStatusLoading);
    view_.ShowProgress(0, 100, 0);
    view_.ProcessMessages();

    loader_.OnProgress = [this](int percent) { UsbProgress(percent); };
    const uint32_t start = static_cast<uint32_t>(std::max(currentBlock_, 0) * blockSize_);
    const uint32_t length = static_cast<uint32_t>(imageLength_);
    const uint32_t count = start < length ? length - start : 0;
    // The last chunk reads up to a page boundary: the buffer reaches it, filled with 0xFF.
    image_.resize(std::max<size_t>(image_.size(), loader_.ChunkedEnd(start, count)), 0xFF);
    if (!loader_.WriteFlash(start, image_, count) || !UsbWriteEeprom()) {
        UsbShowSearching();
        return false;
    }
    // The controller restarts at once, so the answer to this report tells nothing.
    loader_.LeaveBootloader();
    view_.HideProgress();
    Close();
    return true;
}

bool UsbBurn::UsbWriteEeprom()
{
    loader_.OnProgress = nullptr;
    currentEepromByte_ = std::max(currentEepromByte_, 0);
    const int count = std::min(in_.EeSize(), eepromSize_);
    // Also when an earlier attempt stopped half-way: the status and the bar then show
    // the EEPROM write again rather than the flash write before it.
    SetStatus(kStatusEeprom);
    view_.ShowProgress(0, count, std::min(currentEepromByte_, count));
    view_.ProcessMessages();
    while (currentEepromByte_ < count) {
        const auto address = static_cast<uint16_t>(currentEepromByte_);
        if (!loader_.WriteEepromByte(address, in_.EeData[address]))
            return false;
        ++currentEepromByte_;
        view_.SetProgress(currentEepromByte_);
        view_.ProcessMessages();
    }
    return true;
}

void UsbBurn::UsbProgress(int percent)
{
    view_.SetProgress(std::clamp(percent, 0, 100));
    view_.ProcessMessages();
}

void UsbBurn::SetStatus(const std::string& text)
{
    statusText_ = text;
    caption_ = text;
    view_.ShowStatus(caption_);
}

void UsbBurn::RestoreStatus()
{
    caption_ = statusText_;
    view_.ShowStatus(caption_);
    countdown_ = kUsbTimeoutTicks;
}

void UsbBurn::Fail(const std::string& text)
{
    view_.ShowError(text);
    Close();
}

void UsbBurn::Close()
{
    closed_ = true;
    view_.Close();
}
