#pragma once
// What one programming run is given: where the controller is, which firmware to send
// and the two buffers built from the scenario. The programming window reads it and may
// normalise the port name, which the main window then takes back.
#include <cstdint>
#include <string>
#include <vector>

struct BurnRequest {
    std::string portName;     // "COMn" for a serial controller, "USB" for a USB one
    std::string romFileName;  // the firmware file, as found
    std::string deviceId;     // the USB product string; empty on a serial port
    std::string modelName;    // the model name; empty on a serial port
    int channelCount = 0;
    int loopCount = 0;
    int labelCount = 0;
    std::vector<uint8_t> image;   // the controller image
    std::vector<uint8_t> eeprom;  // the EEPROM block
};
