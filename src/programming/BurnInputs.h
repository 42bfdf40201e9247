#pragma once
// What one programming run is given. The programming window carries these fields under
// these names; the main window fills them before showing it and takes PortName back.
#include <cstdint>
#include <string>
#include <vector>

struct BurnInputs {
    std::string PortName;     // "COMn" for a serial controller, "USB" for a USB one; normalised on connect
    std::string RomFileName;  // the firmware file, as found
    std::string DeviceId;     // the USB product string; empty on a serial port
    std::string ModelName;    // the model name; empty on a serial port
    int ChannelCount = 0;     // channels per step in the image
    int LoopCount = 0;
    int LabelCount = 0;
    std::vector<uint8_t> ScnData;  // the controller image
    std::vector<uint8_t> EeData;   // the EEPROM block

    int ScnSize() const { return static_cast<int>(ScnData.size()); }
    int EeSize() const { return static_cast<int>(EeData.size()); }
};
