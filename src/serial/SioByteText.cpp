#include "serial/SioByteText.h"

#include <cstdio>

std::string SioByteText(uint8_t byte, bool inHex, bool allHex)
{
    char text[8];
    uint8_t low = inHex ? 33 : 32;
    if (!allHex && byte >= low && byte <= 126)
        return std::string(1, static_cast<char>(byte));
    std::snprintf(text, sizeof(text), allHex || inHex ? "[%02X]" : "[%u]", static_cast<unsigned>(byte));
    return text;
}
