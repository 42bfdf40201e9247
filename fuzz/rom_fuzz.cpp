// The firmware loader on any bytes: it never raises, never holds more data than the
// file, and reports loaded only for data that match their CRC.
#include "FuzzFile.h"
#include "programming/RomFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const RomFile rom = LoadRomFile(FuzzFile(".rom", data, size));
    FUZZ_CHECK(rom.RomData.size() <= size);
    FUZZ_CHECK(rom.RomLoaded == (rom.status == RomLoadStatus::Loaded));
    if (rom.RomLoaded)
        FUZZ_CHECK(rom.RomData.size() == rom.RomLength);
    return 0;
}
