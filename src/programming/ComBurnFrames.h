#pragma once
// The bytes of the serial programming protocol: the frames the program sends and the
// one-character size codes the controller's boot-loader answers with.
#include <cstdint>
#include <vector>

using BurnBytes = std::vector<uint8_t>;

// 0x62 0x01 0x72 0x73: the fourth byte is the sum of the second and third.
BurnBytes HelloFrame();
// 0xFF 0xFF: ends the flash transfer, and (sent three times) the EEPROM transfer.
BurnBytes EndFrame();
// 128 bytes 0xFF, which the boot-loader skips; sent four times around a run.
BurnBytes FlushBlock();

// Block index (high, low), key byte, blockSize data bytes, sum of the plain data. The
// data are image[index * blockSize ...], 0xFF at and beyond length. Firmware blocks carry
// a key with bit 6 set (from the random number) and their bytes XORed with a running
// key that starts at the key byte and grows by 21; image blocks go plain with the key
// (blockSize >> 4) & 0xBF.
BurnBytes FlashBlockFrame(const uint8_t* image, int length, int index, int blockSize, bool firmware,
                          uint32_t random);

// Address (high, low), value and the sum of the three.
BurnBytes EepromByteFrame(int address, uint8_t value);

// The sizes the codes stand for, in bytes; 0 when the character is not such a code.
int EepromSizeCode(char c);    // "." "/" "0" .. "4": 64 .. 4096
int BlockSizeCode(char c);     // "Q" "R" "S" "T" "V": 32 .. 512
int BootSizeCode(char c);      // "a" .. "f": 128 .. 4096
int FlashSizeCode(char c);     // "g" "h" "i" "l" .. "q": 1024 .. 262144; "r": 40960
bool IsTypeLetter(char c);     // "A" .. "F", "L", "M", "N"
