#pragma once
// CRC-32 with the reflected IEEE 802.3 polynomial (0xEDB88320). The register starts at
// NOT crc and the result is NOT the register, so crc 0 gives the usual CRC-32 and the
// firmware check's crc 0xFFFFFFFF starts the register at 0.
#include <cstdint>

// 0 when data is null.
uint32_t Crc32(uint32_t crc, const uint8_t* data, uint32_t length);
