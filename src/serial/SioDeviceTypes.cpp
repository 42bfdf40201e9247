#include "serial/SioDeviceTypes.h"

uint32_t MapBaud(uint32_t baud)
{
    static const uint32_t codes[] = {
        110, 300, 600, 1200, 2400, 4800, 9600, 14400, 19200, 0, 0, 38400, 0, 0, 0, 56000,
        0, 0, 0, 128000, 0, 0, 0, 256000,
    };
    if (baud == 0xFEFF)
        return 115200;
    if (baud >= 0xFF10 && baud <= 0xFF27) {
        uint32_t mapped = codes[baud - 0xFF10];
        return mapped ? mapped : baud;
    }
    return baud;
}
