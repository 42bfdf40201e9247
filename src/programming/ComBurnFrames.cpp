#include "programming/ComBurnFrames.h"

#include <cstring>

BurnBytes HelloFrame() { return {0x62, 0x01, 0x72, 0x73}; }

BurnBytes EndFrame() { return {0xFF, 0xFF}; }

BurnBytes FlushBlock() { return BurnBytes(128, 0xFF); }

BurnBytes FlashBlockFrame(const uint8_t* image, int length, int index, int blockSize, bool firmware,
                          uint32_t random)
{
    BurnBytes frame(static_cast<size_t>(blockSize) + 4);
    frame[0] = static_cast<uint8_t>(index >> 8);
    frame[1] = static_cast<uint8_t>(index);
    const uint8_t key = firmware ? static_cast<uint8_t>((random % 255) | 0x40)
                                 : static_cast<uint8_t>((blockSize >> 4) & 0xBF);
    frame[2] = key;
    uint8_t running = key;
    uint8_t sum = 0;
    const int64_t start = static_cast<int64_t>(index) * blockSize;
    for (int i = 0; i < blockSize; ++i) {
        const int64_t at = start + i;
        const uint8_t plain = at < length ? image[at] : 0xFF;
        sum = static_cast<uint8_t>(sum + plain);
        frame[3 + static_cast<size_t>(i)] = firmware ? static_cast<uint8_t>(plain ^ running) : plain;
        running = static_cast<uint8_t>(running + 21);
    }
    frame.back() = sum;
    return frame;
}

BurnBytes EepromByteFrame(int address, uint8_t value)
{
    const auto high = static_cast<uint8_t>(address >> 8);
    const auto low = static_cast<uint8_t>(address);
    return {high, low, value, static_cast<uint8_t>(high + low + value)};
}

namespace {

// The position of c in codes gives the size first << position; 0 when c is not there.
int CodedSize(const char* codes, int first, char c)
{
    const char* at = c != '\0' ? std::strchr(codes, c) : nullptr;
    return at ? first << (at - codes) : 0;
}

} // namespace

int EepromSizeCode(char c) { return CodedSize("./01234", 64, c); }
int BlockSizeCode(char c) { return CodedSize("QRSTV", 32, c); }
int BootSizeCode(char c) { return CodedSize("abcdef", 128, c); }

int FlashSizeCode(char c)
{
    return c == 'r' ? 40960 : CodedSize("ghilmnopq", 1024, c);
}

bool IsTypeLetter(char c) { return c != '\0' && std::strchr("ABCDEFLMN", c) != nullptr; }
