#pragma once
// HID devices through the platform: HID.DLL, loaded at run time and kept for the rest of
// the process, and the SetupAPI device-interface functions. Windows only.
#include "programming/HidDeviceAccess.h"

struct HidApi;

class HIDLibrary : public HidDeviceAccess {
public:
    // Loads HID.DLL once per process; without it (or without one of its entry points)
    // no device is ever found.
    HIDLibrary();

    bool Loaded() const { return api_ != nullptr; }

    std::vector<HidDevice> Enumerate(const std::string& filter) override;
    bool GetFeature(const std::string& path, uint8_t* buffer, uint32_t length) override;
    bool SetFeature(const std::string& path, uint8_t* buffer, uint32_t length) override;

private:
    const HidApi* api_;  // not owned: the process-wide table, null when HID.DLL is unusable
};
