#include "programming/RomFile.h"

#include <gtest/gtest.h>

#include "../TempDir.h"
#include "FirmwareOracle.h"

namespace {

struct RomSpec {
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
Bytes MakeRom(const RomSpec& spec)
{
    const uint32_t length = spec.length < 0 ? static_cast<uint32_t>(spec.plain.size())
                                            : static_cast<uint32_t>(spec.length);
    const uint32_t crc = BitwiseCrc32(0xFFFFFFFF, spec.plain.data(), spec.plain.size()) +
                         static_cast<uint32_t>(spec.crcDelta);
    Bytes file = {'M', '6', '0', '0', 1, 2, 3, 4, spec.format, spec.offset,
                  static_cast<uint8_t>(spec.type), spec.version};
    for (uint32_t v : {length, crc})
        for (int i = 0; i < 4; ++i)
            file.push_back(static_cast<uint8_t>(v >> (8 * i)));
    if (spec.offset < 0x80)
        file.resize(std::max<size_t>(file.size(), spec.offset), 0xEE);
    const Bytes gamma = ReferenceGamma(kFirmwareKey, spec.plain.size());
    for (size_t i = 0; i < spec.plain.size(); ++i)
        file.push_back(spec.plain[i] ^ gamma[i]);
    return file;
}

// Writes the file for spec into a fresh folder and loads it.
RomFile LoadMade(const RomSpec& spec)
{
    TempDir dir;
    return LoadRomFile(dir.Write("made.rom", MakeRom(spec)));
}

RomSpec WithData(size_t size, unsigned seed)
{
    RomSpec spec;
    spec.plain = RandomBytes(size, seed);
    return spec;
}

TEST(RomFile, LoadsAndDeciphersAValidFile)
{
    RomSpec spec = WithData(1003, 41);  // ends in a partial block
    RomFile rom = LoadMade(spec);
    EXPECT_TRUE(rom.RomLoaded);
    EXPECT_EQ(rom.status, RomLoadStatus::Loaded);
    EXPECT_EQ(rom.RomVersion, 7);
    EXPECT_EQ(rom.RomLength, 1003u);
    EXPECT_EQ(rom.RomType, 'M');
    EXPECT_EQ(rom.RomData, spec.plain);

    // Data further on, with other bytes between header and data.
    spec.offset = 0x7F;
    spec.type = 'C';
    spec.version = 0xF3;
    rom = LoadMade(spec);
    EXPECT_TRUE(rom.RomLoaded);
    EXPECT_EQ(rom.RomType, 'C');
    EXPECT_EQ(rom.RomVersion, 0xF3);
    EXPECT_EQ(rom.RomData, spec.plain);
}

TEST(RomFile, EmptyDataLoadsWithTheCrcOfNoBytes)
{
    RomFile rom = LoadMade(RomSpec{});
    EXPECT_TRUE(rom.RomLoaded);
    EXPECT_EQ(rom.RomLength, 0u);
    EXPECT_TRUE(rom.RomData.empty());
}

TEST(RomFile, CrcMismatchKeepsTheDataButDoesNotLoad)
{
    RomSpec spec = WithData(64, 42);
    spec.crcDelta = 1;
    RomFile rom = LoadMade(spec);
    EXPECT_FALSE(rom.RomLoaded);
    EXPECT_EQ(rom.status, RomLoadStatus::BadCrc);
    EXPECT_EQ(rom.RomData, spec.plain);
}

TEST(RomFile, LengthBeyondTheFileIsAShortRead)
{
    RomSpec spec = WithData(100, 43);
    spec.length = 101;
    RomFile rom = LoadMade(spec);
    EXPECT_FALSE(rom.RomLoaded);
    EXPECT_EQ(rom.status, RomLoadStatus::ShortData);
    EXPECT_EQ(rom.RomLength, 101u);

    // A damaged length of almost 4 GiB must be refused before anything is allocated
    // (the sanitizer's allocator would abort on such a request).
    spec.length = 0xFFFFFFF0;
    rom = LoadMade(spec);
    EXPECT_FALSE(rom.RomLoaded);
    EXPECT_EQ(rom.status, RomLoadStatus::ShortData);
    EXPECT_TRUE(rom.RomData.empty());
}

TEST(RomFile, NegativeDataOffsetIsNotLoaded)
{
    for (uint8_t offset : {0x80, 0xFF}) {  // -128 and -1 (which equals a failed seek's result)
        RomSpec spec = WithData(16, 44);
        spec.offset = offset;
        RomFile rom = LoadMade(spec);
        EXPECT_FALSE(rom.RomLoaded) << int(offset);
        EXPECT_EQ(rom.status, RomLoadStatus::BadOffset) << int(offset);
    }
}

TEST(RomFile, BadHeadersAreNotLoaded)
{
    TempDir dir;
    RomSpec spec = WithData(16, 45);
    const Bytes good = MakeRom(spec);

    EXPECT_EQ(LoadRomFile(dir.File("missing.rom")).status, RomLoadStatus::NoHeader);
    EXPECT_FALSE(LoadRomFile(dir.Write("short.rom", Bytes(good.begin(), good.begin() + 19))).RomLoaded);
    Bytes magic = good;
    magic[0] = 'N';
    EXPECT_FALSE(LoadRomFile(dir.Write("magic.rom", magic)).RomLoaded);
    spec.format = 2;
    RomFile rom = LoadMade(spec);
    EXPECT_FALSE(rom.RomLoaded);
    EXPECT_EQ(rom.status, RomLoadStatus::NoHeader);
    EXPECT_EQ(rom.RomLength, 0u) << "fields stay unset without a valid header";
    EXPECT_TRUE(rom.RomData.empty());
}

} // namespace
