#pragma once
// What one programming run is given. The programming window carries these fields under
// these names; the main window fills them before showing it.
#include <cstdint>
#include <string>

struct BurnInputs {
    std::string PortName;     // "COMn" for a serial controller, "USB" for a USB one; may be normalised
    std::string RomFileName;  // the firmware file, as found
    std::string DeviceId;     // the USB product string; empty on a serial port
    std::string ModelName;    // the model name; empty on a serial port
    int ChannelCount = 0;     // channels per step in the image
    int LoopCount = 0;
    int LabelCount = 0;
    const uint8_t* ScnData = nullptr;  // the controller image; not owned
    int ScnSize = 0;
    const uint8_t* EeData = nullptr;   // the EEPROM block; not owned
    int EeSize = 0;
};
