#include "programming/ChipSignatures.h"

namespace {

struct ChipSignature {
    char romType;
    uint32_t signature;
};

constexpr ChipSignature kChips[] = {
    {'A', 0x1E9307}, {'B', 0x1E9403}, {'C', 0x1E9602}, {'D', 0x1E9702}, {'E', 0x1E9502},
    {'L', 0x1E9205}, {'L', 0x1E920A}, {'M', 0x1E930A}, {'M', 0x1E930F}, {'N', 0x1E9406},
    {'N', 0x1E940B},
};

} // namespace

bool IsChipSignatureOf(char romType, uint32_t signature)
{
    for (const ChipSignature& chip : kChips)
        if (chip.romType == romType && chip.signature == signature)
            return true;
    return false;
}
