#include "programming/RomFile.h"

#include <algorithm>

#include "programming/Crc32.h"
#include "programming/Gost.h"
#include "programming/RomHeader.h"
#include "ui/Exceptions.h"
#include "ui/Streams.h"
#include "ui/SysUtils.h"

const char kRomPassword[] = "K4m7wqR2";

namespace {

// Reads the enciphered data the header describes into rom.RomData.
RomLoadStatus ReadRomData(const std::string& fileName, const RomHeader& header, RomFile& rom)
{
    TFileStream stream(fileName, fmOpenRead | fmShareDenyWrite);
    // A negative offset is never a position of the data (and -1 would match the seek's
    // failure result, so it is refused before seeking).
    const int64_t offset = header.dataOffset;
    if (offset < 0 || stream.Seek(offset, TSeekOrigin::soBeginning) != offset)
        return RomLoadStatus::BadOffset;
    // A length beyond the end of the file is a short read; checking it first keeps a
    // damaged length from allocating far more than the file holds.
    const int64_t available = std::max<int64_t>(0, stream.Size() - offset);
    if (available < static_cast<int64_t>(header.dataLength))
        return RomLoadStatus::ShortData;
    rom.RomData.assign(header.dataLength, 0);
    if (stream.Read(rom.RomData.data(), header.dataLength) != static_cast<int64_t>(header.dataLength))
        return RomLoadStatus::ShortData;
    return RomLoadStatus::Loaded;
}

bool CanOpen(const std::string& fileName)
{
    try {
        TFileStream probe(fileName, fmOpenRead | fmShareDenyWrite);
        return true;
    } catch (const EStreamError&) {
        return false;
    }
}

} // namespace

RomFile LoadRomFile(const std::string& fileName)
{
    RomFile rom;
    RomHeader header{};
    if (!ReadRomHeader(fileName, header)) {
        if (FileExists(fileName) && !CanOpen(fileName))
            rom.status = RomLoadStatus::Unreadable;
        return rom;
    }
    rom.RomVersion = header.version;
    rom.RomLength = header.dataLength;
    rom.RomType = header.typeLetter;
    try {
        rom.status = ReadRomData(fileName, header, rom);
    } catch (const EStreamError&) {
        // The file went away or was locked after its header was read.
        rom.status = RomLoadStatus::Unreadable;
    }
    if (rom.status != RomLoadStatus::Loaded)
        return rom;

    TGost gost;
    gost.DecryptBuffer(rom.RomData.data(), rom.RomLength, kRomPassword);
    // An empty buffer still counts as data present (CRC of no bytes, not of a null pointer).
    static const uint8_t kNoData = 0;
    const uint8_t* data = rom.RomData.empty() ? &kNoData : rom.RomData.data();
    if (Crc32(0xFFFFFFFFu, data, rom.RomLength) != header.crc) {
        rom.status = RomLoadStatus::BadCrc;
        return rom;
    }
    rom.RomLoaded = true;
    return rom;
}
