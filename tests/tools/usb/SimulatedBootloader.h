#pragma once
// A controller's USB boot-loader as the program reaches it through HidDeviceAccess.
// Report 1 read answers the configured identity; report 2 stores 128 bytes of flash and
// report 3 one EEPROM byte, both only at aligned addresses inside the memory the
// boot-loader lets a program write; report 1 written makes the device leave the bus.
// Anything else is refused and noted in Faults(). Any transfer can be made to fail.
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "programming/HidDeviceAccess.h"

struct SimulatedBootloaderConfig {
    std::string path = "\\\\?\\hid#vid_16c0&pid_05df#6&2f1a3c&0&0000#{4d1e55b2-f16f-11cf-88cb-001111000030}";
    std::string manufacturer = "nordastrale";
    std::string product = "SIM-8";
    uint32_t signature = 0x1E9307;
    uint16_t pageSize = 128;
    uint32_t flashSize = 8192;
    uint16_t eepromSize = 512;
    uint16_t bootSize = 1024;
    // Firmware already in the flash from address 0; its size goes out in the identity's
    // firmware-size field unless reportedFirmwareSize says otherwise (-1: its size).
    std::vector<uint8_t> keptFirmware;
    int reportedFirmwareSize = -1;
};

class SimulatedBootloader {
public:
    explicit SimulatedBootloader(SimulatedBootloaderConfig config = {});
    SimulatedBootloader(const SimulatedBootloader&) = delete;
    SimulatedBootloader& operator=(const SimulatedBootloader&) = delete;

    // A handle for the code under test; it reaches this device for as long as it lives.
    std::unique_ptr<HidDeviceAccess> Access();

    // Another device on the bus, listed whenever its path matches; its reports all fail.
    void AddOtherDevice(const HidDevice& device);
    void Plug();
    void Unplug();
    bool Plugged() const { return plugged_; }

    // The n-th transfer from now (1: the next) fails, the device staying on the bus. A
    // failing read still fills the buffer, as a transfer broken off late would.
    void FailTransfer(int n);

    const std::vector<uint8_t>& Flash() const { return flash_; }
    const std::vector<uint8_t>& Eeprom() const { return eeprom_; }
    const std::vector<uint32_t>& FlashWrites() const { return flashWrites_; }
    const std::vector<uint16_t>& EepromWrites() const { return eepromWrites_; }
    const std::vector<std::string>& Faults() const { return faults_; }
    bool LeftBootloader() const { return left_; }
    int Enumerations() const { return enumerations_; }
    int Transfers() const { return transfers_; }

private:
    class Handle;

    std::vector<HidDevice> Enumerate(const std::string& filter);
    bool GetFeature(const std::string& path, uint8_t* buffer, uint32_t length);
    bool SetFeature(const std::string& path, const uint8_t* buffer, uint32_t length);
    enum class Reach { Absent, Failing, Present };
    // Counts the transfer and tells whether it reaches the device and is to succeed.
    Reach Transfer(const std::string& path);
    bool Refuse(const std::string& fault);

    SimulatedBootloaderConfig config_;
    std::vector<HidDevice> others_;
    std::vector<uint8_t> flash_;
    std::vector<uint8_t> eeprom_;
    std::vector<uint32_t> flashWrites_;
    std::vector<uint16_t> eepromWrites_;
    std::vector<std::string> faults_;
    bool plugged_ = true;
    bool left_ = false;
    int enumerations_ = 0;
    int transfers_ = 0;
    std::vector<int> failing_;   // numbers of the transfers that are to fail
};
