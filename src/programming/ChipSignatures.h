#pragma once
// Which microcontroller chips a firmware file's type letter is built for.
#include <cstdint>

// True when the three-byte chip signature belongs to a chip of the type letter; letter
// 'F' and unknown letters accept no chip.
bool IsChipSignatureOf(char romType, uint32_t signature);
