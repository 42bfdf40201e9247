#include "serial/SioBits.h"

#include <cstring>

void NotBuffer(void* buffer, size_t len)
{
    auto* p = static_cast<uint8_t*>(buffer);
    size_t words = len / 4;
    for (size_t i = 0; i < words; ++i, p += 4) {
        uint32_t w;
        std::memcpy(&w, p, 4);
        w = ~w;
        std::memcpy(p, &w, 4);
    }
    for (size_t i = 0; i < len % 4; ++i)
        p[i] = static_cast<uint8_t>(~p[i]);
}
