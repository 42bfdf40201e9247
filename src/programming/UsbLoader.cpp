#include "programming/UsbLoader.h"

#include <cstring>

const char kBootloaderPathFilter[] = "vid_16c0&pid_05df";
const char kBootloaderManufacturer[] = "nordastrale";

namespace {

// Every report goes in a buffer of the largest report's size, zero-filled.
constexpr size_t kReportBuffer = 132;
constexpr uint32_t kIdentityLength = 24;
constexpr uint32_t kFlashReportLength = 4 + kFlashChunk;
constexpr uint32_t kEepromReportLength = 4;
constexpr size_t kMaxProductName = 99;

bool IsPowerOfTwo(uint32_t n) { return n != 0 && (n & (n - 1)) == 0; }

} // namespace

uint32_t GetLE(const uint8_t* bytes, int n)
{
    uint32_t value = 0;
    for (int i = n - 1; i >= 0; --i)
        value = (value << 8) | bytes[i];
    return value;
}

void PutLE(uint8_t* bytes, uint32_t value, int n)
{
    for (int i = 0; i < n; ++i, value >>= 8)
        bytes[i] = static_cast<uint8_t>(value);
}

TUsbLoader::TUsbLoader(std::unique_ptr<HidDeviceAccess> device) : device_(std::move(device)) {}

void TUsbLoader::SetProductName(const std::string& deviceId)
{
    productName_ = deviceId.substr(0, kMaxProductName);
}

bool TUsbLoader::Open()
{
    // One walk over the matching devices; the first whose strings match is used.
    currentPath_.clear();
    for (const HidDevice& found : device_->Enumerate(kBootloaderPathFilter)) {
        if (found.manufacturer == kBootloaderManufacturer && found.product == productName_) {
            currentPath_ = found.path;
            break;
        }
    }
    if (!currentPath_.empty() && ReadIdentity())
        return true;
    identity_ = Identity{};
    return false;
}

bool TUsbLoader::ReadIdentity()
{
    uint8_t report[kReportBuffer] = {1};
    if (!device_->GetFeature(currentPath_, report, kIdentityLength))
        return false;
    Identity read;
    read.signature = GetLE(report + 1, 3);
    read.pageSize = GetLE(report + 4, 2);
    read.flashSize = GetLE(report + 6, 4);
    read.eepromSize = GetLE(report + 10, 2);
    read.bootSize = GetLE(report + 12, 2);
    std::memcpy(read.info, report + 14, sizeof read.info);
    // Without a page size the chunk rounding has no unit, and without a flash size
    // nothing can be placed: such a device is not usable.
    if (!IsPowerOfTwo(read.pageSize) || read.flashSize == 0)
        return false;
    identity_ = read;
    return true;
}

uint32_t TUsbLoader::ChunkSpan() const
{
    return identity_.pageSize < kFlashChunk ? kFlashChunk : identity_.pageSize;
}

uint32_t TUsbLoader::ChunkedEnd(uint32_t address, uint32_t count) const
{
    if (count == 0)
        return address;
    const uint32_t mask = ChunkSpan() - 1;
    return (address + count - 1 + mask) & ~mask;
}

bool TUsbLoader::WriteFlash(uint32_t address, const std::vector<uint8_t>& image, uint32_t count)
{
    if (identity_.signature == 0 && !Open())
        return false;
    const uint32_t end = ChunkedEnd(address, count);
    uint32_t pos = address & ~(ChunkSpan() - 1);
    if (end <= pos)
        return true;
    if (image.size() < end)
        return false;
    const double total = end - pos;
    while (pos < end) {
        uint8_t report[kReportBuffer] = {2};
        PutLE(report + 1, pos, 3);
        std::memcpy(report + 4, image.data() + pos, kFlashChunk);
        if (!device_->SetFeature(currentPath_, report, kFlashReportLength))
            return false;
        pos += kFlashChunk;
        // The share done, in floating point and truncated: one chunk of five shows 19.
        if (OnProgress)
            OnProgress(static_cast<int>((1 - (end - pos) / total) * 100));
    }
    return true;
}

bool TUsbLoader::WriteEepromByte(uint16_t address, uint8_t value)
{
    uint8_t report[kReportBuffer] = {3};
    PutLE(report + 1, address, 2);
    report[3] = value;
    return device_->SetFeature(currentPath_, report, kEepromReportLength);
}

bool TUsbLoader::LeaveBootloader()
{
    uint8_t report[kReportBuffer] = {1};
    return device_->SetFeature(currentPath_, report, kIdentityLength);
}
