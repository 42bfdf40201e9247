#include "programming/RomFile.h"

#include <gtest/gtest.h>

#include "support/TempDir.h"
#include "FirmwareOracle.h"

namespace {

struct RomFields {
    Bytes plain;
    uint8_t format = 1;
    uint8_t offset = 20;
    char type = 'M';
    uint8_t version = 7;
    int64_t length = -1;   // header length; -1: the plain data's
    int64_t crcDelta = 0;  // added to the right CRC
};

// A firmware file made the way the outside tool makes them, with the test's own cipher
// reference and CRC.
Bytes MakeRom(const RomFields& fields)
{
    const uint32_t length = fields.length < 0 ? static_cast<uint32_t>(fields.plain.size())
                                            : static_cast<uint32_t>(fields.length);
    const uint32_t crc = BitwiseCrc32(0xFFFFFFFF, fields.plain.data(), fields.plain.size()) +
                         static_cast<uint32_t>(fields.crcDelta);
    Bytes file = {'M', '6', '0', '0', 1, 2, 3, 4, fields.format, fields.offset,
                  static_cast<uint8_t>(fields.type), fields.version};
    for (uint32_t v : {length, crc})
        for (int i = 0; i < 4; ++i)
            file.push_back(static_cast<uint8_t>(v >> (8 * i)));
    if (fields.offset < 0x80)
        file.resize(std::max<size_t>(file.size(), fields.offset), 0xEE);
    const Bytes gamma = ReferenceGamma(kFirmwareKey, fields.plain.size());
    for (size_t i = 0; i < fields.plain.size(); ++i)
        file.push_back(fields.plain[i] ^ gamma[i]);
    return file;
}

// Writes the file for fields into a fresh folder and loads it.
RomFile LoadMade(const RomFields& fields)
{
    TempDir dir;
    return LoadRomFile(dir.Write("made.rom", MakeRom(fields)));
}

RomFields WithData(size_t size, unsigned seed)
{
    RomFields fields;
    fields.plain = RandomBytes(size, seed);
    return fields;
}

TEST(RomFile, LoadsAndDeciphersAValidFile)
{
    RomFields fields = WithData(1003, 41);  // ends in a partial block
    RomFile rom = LoadMade(fields);
    EXPECT_TRUE(rom.RomLoaded);
    EXPECT_EQ(rom.status, RomLoadStatus::Loaded);
    EXPECT_EQ(rom.RomVersion, 7);
    EXPECT_EQ(rom.RomLength, 1003u);
    EXPECT_EQ(rom.RomType, 'M');
    EXPECT_EQ(rom.RomData, fields.plain);

    // Data further on, with other bytes between header and data.
    fields.offset = 0x7F;
    fields.type = 'C';
    fields.version = 0xF3;
    rom = LoadMade(fields);
    EXPECT_TRUE(rom.RomLoaded);
    EXPECT_EQ(rom.RomType, 'C');
    EXPECT_EQ(rom.RomVersion, 0xF3);
    EXPECT_EQ(rom.RomData, fields.plain);
}

TEST(RomFile, EmptyDataLoadsWithTheCrcOfNoBytes)
{
    RomFile rom = LoadMade(RomFields{});
    EXPECT_TRUE(rom.RomLoaded);
    EXPECT_EQ(rom.RomLength, 0u);
    EXPECT_TRUE(rom.RomData.empty());
}

TEST(RomFile, CrcMismatchKeepsTheDataButDoesNotLoad)
{
    RomFields fields = WithData(64, 42);
    fields.crcDelta = 1;
    RomFile rom = LoadMade(fields);
    EXPECT_FALSE(rom.RomLoaded);
    EXPECT_EQ(rom.status, RomLoadStatus::BadCrc);
    EXPECT_EQ(rom.RomData, fields.plain);
}

TEST(RomFile, LengthBeyondTheFileIsAShortRead)
{
    RomFields fields = WithData(100, 43);
    fields.length = 101;
    RomFile rom = LoadMade(fields);
    EXPECT_FALSE(rom.RomLoaded);
    EXPECT_EQ(rom.status, RomLoadStatus::ShortData);
    EXPECT_EQ(rom.RomLength, 101u);

    // A damaged length of almost 4 GiB must be refused before anything is allocated
    // (the sanitizer's allocator would abort on such a request).
    fields.length = 0xFFFFFFF0;
    rom = LoadMade(fields);
    EXPECT_FALSE(rom.RomLoaded);
    EXPECT_EQ(rom.status, RomLoadStatus::ShortData);
    EXPECT_TRUE(rom.RomData.empty());
}

TEST(RomFile, NegativeDataOffsetIsNotLoaded)
{
    for (uint8_t offset : {0x80, 0xFF}) {  // -128 and -1 (which equals a failed seek's result)
        RomFields fields = WithData(16, 44);
        fields.offset = offset;
        RomFile rom = LoadMade(fields);
        EXPECT_FALSE(rom.RomLoaded) << int(offset);
        EXPECT_EQ(rom.status, RomLoadStatus::BadOffset) << int(offset);
    }
}

TEST(RomFile, BadHeadersAreNotLoaded)
{
    TempDir dir;
    RomFields fields = WithData(16, 45);
    const Bytes good = MakeRom(fields);

    EXPECT_EQ(LoadRomFile(dir.File("missing.rom")).status, RomLoadStatus::NoHeader);
    EXPECT_FALSE(LoadRomFile(dir.Write("short.rom", Bytes(good.begin(), good.begin() + 19))).RomLoaded);
    Bytes magic = good;
    magic[0] = 'N';
    EXPECT_FALSE(LoadRomFile(dir.Write("magic.rom", magic)).RomLoaded);
    fields.format = 2;
    RomFile rom = LoadMade(fields);
    EXPECT_FALSE(rom.RomLoaded);
    EXPECT_EQ(rom.status, RomLoadStatus::NoHeader);
    EXPECT_EQ(rom.RomLength, 0u) << "fields stay unset without a valid header";
    EXPECT_TRUE(rom.RomData.empty());
}

} // namespace
