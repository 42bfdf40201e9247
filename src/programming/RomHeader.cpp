#include "programming/RomHeader.h"

#include <cstring>

#include "ui/Exceptions.h"
#include "ui/Streams.h"
#include "ui/SysUtils.h"

bool ReadRomHeader(const std::string& fileName, RomHeader& header)
{
    if (!FileExists(fileName))
        return false;
    int64_t got = 0;
    try {
        TFileStream stream(fileName, fmOpenRead | fmShareDenyWrite);
        got = stream.Read(&header, sizeof header);
    } catch (const EStreamError&) {
        // Locked by another program or not readable: no header, as for a missing file.
        return false;
    }
    if (got < static_cast<int64_t>(sizeof header))
        return false;
    if (std::memcmp(header.magic, "M600", 4) != 0)
        return false;
    return header.format == 1;
}
