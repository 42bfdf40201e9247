#pragma once
// The 20-byte header at the start of a firmware file ("*.rom").
#include <cstdint>
#include <string>

#pragma pack(push, 1)
struct RomHeader {
    char magic[4];          // "M600"
    uint8_t reserved[4];    // not interpreted
    uint8_t format;         // must be 1
    int8_t dataOffset;      // file position of the enciphered firmware
    char typeLetter;        // controller type ('A'..'F', 'L', 'M', 'N')
    uint8_t version;        // firmware version
    uint32_t dataLength;    // bytes of firmware data
    uint32_t crc;           // CRC-32 of the deciphered data
};
#pragma pack(pop)
static_assert(sizeof(RomHeader) == 20, "the firmware header is 20 bytes on disk");

// True when the file exists, can be opened, its first 20 bytes can be read, start with
// "M600" and carry format 1. The header holds whatever was read, also on false. A file
// that exists but cannot be opened gives false rather than an exception.
bool ReadRomHeader(const std::string& fileName, RomHeader& header);
