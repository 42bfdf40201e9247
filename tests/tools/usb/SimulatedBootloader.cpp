#include "SimulatedBootloader.h"

#include <algorithm>

namespace {

constexpr uint32_t kChunk = 128;

uint32_t LittleEndian(const uint8_t* bytes, int n)
{
    uint32_t value = 0;
    for (int i = n - 1; i >= 0; --i)
        value = (value << 8) | bytes[i];
    return value;
}

void PutLittleEndian(uint8_t* bytes, uint32_t value, int n)
{
    for (int i = 0; i < n; ++i, value >>= 8)
        bytes[i] = static_cast<uint8_t>(value);
}

} // namespace

class SimulatedBootloader::Handle : public HidDeviceAccess {
public:
    explicit Handle(SimulatedBootloader& device) : device_(device) {}
    std::vector<HidDevice> Enumerate(const std::string& filter) override { return device_.Enumerate(filter); }
    bool GetFeature(const std::string& path, uint8_t* buffer, uint32_t length) override
    {
        return device_.GetFeature(path, buffer, length);
    }
    bool SetFeature(const std::string& path, uint8_t* buffer, uint32_t length) override
    {
        return device_.SetFeature(path, buffer, length);
    }

private:
    SimulatedBootloader& device_;  // not owned
};

SimulatedBootloader::SimulatedBootloader(SimulatedBootloaderConfig config)
    : config_(std::move(config)), flash_(config_.flashSize, 0xFF), eeprom_(config_.eepromSize, 0xFF)
{
    std::copy_n(config_.keptFirmware.begin(), std::min(config_.keptFirmware.size(), flash_.size()), flash_.begin());
}

std::unique_ptr<HidDeviceAccess> SimulatedBootloader::Access() { return std::make_unique<Handle>(*this); }

void SimulatedBootloader::AddOtherDevice(const HidDevice& device) { others_.push_back(device); }

void SimulatedBootloader::Plug()
{
    plugged_ = true;
    left_ = false;
}

void SimulatedBootloader::Unplug() { plugged_ = false; }

void SimulatedBootloader::FailTransfer(int n) { failing_.push_back(transfers_ + n); }

std::vector<HidDevice> SimulatedBootloader::Enumerate(const std::string& filter)
{
    ++enumerations_;
    std::vector<HidDevice> found;
    for (const HidDevice& other : others_)
        if (other.path.find(filter) != std::string::npos)
            found.push_back(other);
    if (plugged_ && config_.path.find(filter) != std::string::npos)
        found.push_back(HidDevice{config_.path, config_.manufacturer, config_.product});
    return found;
}

SimulatedBootloader::Reach SimulatedBootloader::Transfer(const std::string& path)
{
    ++transfers_;
    if (!plugged_ || path != config_.path)
        return Reach::Absent;
    auto failing = std::find(failing_.begin(), failing_.end(), transfers_);
    if (failing == failing_.end())
        return Reach::Present;
    failing_.erase(failing);
    return Reach::Failing;
}

bool SimulatedBootloader::Refuse(const std::string& fault)
{
    faults_.push_back(fault);
    return false;
}

bool SimulatedBootloader::GetFeature(const std::string& path, uint8_t* buffer, uint32_t length)
{
    const Reach reach = Transfer(path);
    if (reach == Reach::Absent)
        return false;
    if (buffer[0] != 1 || length != 24)
        return Refuse("read of report " + std::to_string(buffer[0]) + " with length " + std::to_string(length));
    const uint32_t firmware = config_.reportedFirmwareSize < 0 ? static_cast<uint32_t>(config_.keptFirmware.size())
                                                               : static_cast<uint32_t>(config_.reportedFirmwareSize);
    std::fill_n(buffer + 1, length - 1, 0);
    PutLittleEndian(buffer + 1, config_.signature, 3);
    PutLittleEndian(buffer + 4, config_.pageSize, 2);
    PutLittleEndian(buffer + 6, config_.flashSize, 4);
    PutLittleEndian(buffer + 10, config_.eepromSize, 2);
    PutLittleEndian(buffer + 12, config_.bootSize, 2);
    PutLittleEndian(buffer + 14, firmware, 2);
    return reach == Reach::Present;
}

bool SimulatedBootloader::SetFeature(const std::string& path, const uint8_t* buffer, uint32_t length)
{
    if (Transfer(path) != Reach::Present)
        return false;
    const uint8_t id = buffer[0];
    if (id == 1 && length == 24) {
        left_ = true;
        plugged_ = false;
        return true;
    }
    if (id == 2 && length == 4 + kChunk) {
        const uint32_t address = LittleEndian(buffer + 1, 3);
        if (address % kChunk != 0)
            return Refuse("flash write at unaligned address " + std::to_string(address));
        if (address + kChunk > config_.flashSize - std::min<uint32_t>(config_.bootSize, config_.flashSize))
            return Refuse("flash write beyond the free flash at " + std::to_string(address));
        std::copy_n(buffer + 4, kChunk, flash_.begin() + address);
        flashWrites_.push_back(address);
        return true;
    }
    if (id == 3 && length == 4) {
        const auto address = static_cast<uint16_t>(LittleEndian(buffer + 1, 2));
        if (address >= eeprom_.size())
            return Refuse("EEPROM write beyond its end at " + std::to_string(address));
        eeprom_[address] = buffer[3];
        eepromWrites_.push_back(address);
        return true;
    }
    return Refuse("write of report " + std::to_string(id) + " with length " + std::to_string(length));
}
