#include "programming/Crc32.h"

#include <gtest/gtest.h>

#include "FirmwareOracle.h"

namespace {

TEST(Crc32, KnownValuesAndTheNullPointer)
{
    const uint8_t abc[] = {'a', 'b', 'c'};
    EXPECT_EQ(Crc32(0xFFFFFFFF, abc, 3), 0x359A672Fu);  // the firmware check's start
    const uint8_t digits[] = {'1', '2', '3', '4', '5', '6', '7', '8', '9'};
    EXPECT_EQ(Crc32(0, digits, 9), 0xCBF43926u);  // the usual CRC-32 check value
    EXPECT_EQ(Crc32(0xFFFFFFFF, abc, 0), 0xFFFFFFFFu);
    EXPECT_EQ(Crc32(0xFFFFFFFF, nullptr, 0), 0u);
    EXPECT_EQ(Crc32(0xFFFFFFFF, nullptr, 5), 0u);
}

TEST(Crc32, EightBytesAtATimeEqualsBitwise)
{
    const Bytes data = RandomBytes(80, 5);
    for (size_t offset = 0; offset < 8; ++offset)
        for (uint32_t length = 0; length <= 40; ++length)
            for (uint32_t crc : {0u, 0xFFFFFFFFu, 0x12345678u})
                ASSERT_EQ(Crc32(crc, data.data() + offset, length),
                          BitwiseCrc32(crc, data.data() + offset, length))
                    << "offset " << offset << " length " << length;
    // Continuing from a previous result equals one pass over both parts.
    EXPECT_EQ(Crc32(Crc32(0, data.data(), 13), data.data() + 13, 67), Crc32(0, data.data(), 80));
}

} // namespace
