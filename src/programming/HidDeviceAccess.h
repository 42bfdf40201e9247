#pragma once
// What the USB boot-loader client needs of the platform's HID devices: find the present
// ones, read their strings, and move feature reports. The real implementation is
// HIDLibrary (Windows); tests put a simulated boot-loader behind the same interface.
#include <cstdint>
#include <string>
#include <vector>

// One present device: its path and its two strings ("Unknown device" when the device
// could not be opened or gave no manufacturer).
struct HidDevice {
    std::string path;
    std::string manufacturer;
    std::string product;
};

class HidDeviceAccess {
public:
    virtual ~HidDeviceAccess() = default;

    // The present devices whose path contains filter (case-sensitive), in the system's
    // order. Only matching devices are opened for their strings.
    virtual std::vector<HidDevice> Enumerate(const std::string& filter) = 0;

    // One feature report of the device at path; buffer[0] is the report id and length the
    // report's size. Each transfer opens and closes the device. False when the device
    // cannot be opened or the transfer fails.
    virtual bool GetFeature(const std::string& path, uint8_t* buffer, uint32_t length) = 0;
    virtual bool SetFeature(const std::string& path, uint8_t* buffer, uint32_t length) = 0;
};
