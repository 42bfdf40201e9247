#pragma once
// What a programming run is given in the tests and benchmarks: a firmware file as
// loaded, the controller image and the EEPROM block, and the inputs holding them.
#include <cstdint>
#include <vector>

#include "programming/BurnInputs.h"
#include "programming/RomFile.h"

struct BurnJob {
    std::vector<uint8_t> image;
    std::vector<uint8_t> eeprom;
    RomFile rom;
    BurnInputs inputs;

    // A firmware file of these data for controllers of this type, loaded.
    void UseFirmware(std::vector<uint8_t> data, char type = 'M')
    {
        rom = RomFile{};
        rom.RomLoaded = true;
        rom.RomType = type;
        rom.RomLength = static_cast<uint32_t>(data.size());
        rom.RomData = std::move(data);
    }
    void NoFirmwareFile() { rom = RomFile{}; }
    // The inputs take image and eeprom (again after either changed).
    void UseBuffers()
    {
        inputs.ScnData = image;
        inputs.EeData = eeprom;
    }
};
