#include "programming/Crc32.h"

#include <array>
#include <cstddef>

namespace {

// table[0] is the byte-wise table; table[k] advances a byte through k further zero
// bytes, so eight bytes can be folded in one pass.
using Tables = std::array<std::array<uint32_t, 256>, 8>;

constexpr Tables MakeTables()
{
    Tables t{};
    for (uint32_t i = 0; i < 256; ++i) {
        uint32_t c = i;
        for (int bit = 0; bit < 8; ++bit)
            c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        t[0][i] = c;
    }
    for (size_t k = 1; k < 8; ++k)
        for (size_t i = 0; i < 256; ++i)
            t[k][i] = t[0][t[k - 1][i] & 0xFF] ^ (t[k - 1][i] >> 8);
    return t;
}

constexpr Tables kTables = MakeTables();

} // namespace

uint32_t Crc32(uint32_t crc, const uint8_t* data, uint32_t length)
{
    if (!data)
        return 0;
    uint32_t reg = ~crc;
    while (length >= 8) {
        const uint32_t lo = reg ^ (data[0] | data[1] << 8 | data[2] << 16 | static_cast<uint32_t>(data[3]) << 24);
        const uint32_t hi = data[4] | data[5] << 8 | data[6] << 16 | static_cast<uint32_t>(data[7]) << 24;
        reg = kTables[7][lo & 0xFF] ^ kTables[6][(lo >> 8) & 0xFF] ^ kTables[5][(lo >> 16) & 0xFF] ^
              kTables[4][lo >> 24] ^ kTables[3][hi & 0xFF] ^ kTables[2][(hi >> 8) & 0xFF] ^
              kTables[1][(hi >> 16) & 0xFF] ^ kTables[0][hi >> 24];
        data += 8;
        length -= 8;
    }
    while (length--)
        reg = kTables[0][(reg ^ *data++) & 0xFF] ^ (reg >> 8);
    return ~reg;
}
