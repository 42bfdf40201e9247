#pragma once
// Loading a controller's firmware file: header check, enciphered data, deciphering and
// the CRC-32 check.
#include <cstdint>
#include <string>
#include <vector>

// Password of the firmware deciphering.
extern const char kRomPassword[];

// Why a firmware file was or was not loaded.
enum class RomLoadStatus {
    Loaded,
    NoHeader,     // missing, short header, wrong magic or format
    Unreadable,   // the file is there but cannot be opened or read (locked, no access)
    BadOffset,    // the data offset is negative or cannot be reached
    ShortData,    // the file holds fewer data bytes than the header announces
    BadCrc,       // the deciphered data do not match the header's CRC-32
};

// What one load produced. Version, length and type are set once the header is valid;
// data holds the deciphered bytes once they were read (also on a CRC mismatch, though
// they are then not to be used).
struct RomFile {
    bool RomLoaded = false;
    uint8_t RomVersion = 0;
    uint32_t RomLength = 0;
    char RomType = 0;
    std::vector<uint8_t> RomData;
    RomLoadStatus status = RomLoadStatus::NoHeader;
};

// Never raises for a bad file: a missing, damaged, short, wrongly versioned or locked
// file gives RomLoaded false. The data buffer is never larger than the file.
RomFile LoadRomFile(const std::string& fileName);
