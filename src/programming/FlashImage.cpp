#include "programming/FlashImage.h"

#include <algorithm>
#include <cstring>

FlashImage BuildFlashImage(const FlashLayout& layout, const RomFile& rom, int firmwareSize,
                           const BurnInputs& in)
{
    FlashImage out;
    const int block = layout.BlockSize;
    if (layout.FlashSize <= 0 || layout.BootSize <= 0 || block <= 0)
        return out;  // LinkError
    out.result = FlashImageResult::NoMemory;
    const int64_t capacity = static_cast<int64_t>(layout.FlashSize) - layout.BootSize;
    if (capacity <= 0)
        return out;
    // A firmware file's data are always written; without one, the controller's own
    // firmware stays and only its region is kept free.
    int64_t firmware = rom.RomLoaded ? static_cast<int64_t>(rom.RomLength) : std::max(firmwareSize, 0);
    if (firmware > capacity)
        return out;
    // The firmware file always gets one more block, even when it ends on a block edge.
    int64_t blocks = firmware / block;
    if (rom.RomLoaded || firmware % block != 0)
        ++blocks;
    int64_t length = blocks * block;
    if (length > capacity)
        return out;
    if (length == 0) {
        out.result = FlashImageResult::NoFirmware;
        return out;
    }
    out.FirmwareBlocks = static_cast<int>(blocks);
    out.firstBlock = rom.RomLoaded ? 0 : static_cast<int>(blocks);

    const int64_t freeBytes = capacity - length;
    const int64_t perStep = std::max(in.ChannelCount, 0) + 2;
    out.fitSteps = static_cast<int>((freeBytes - 10) / perStep);
    out.maxSteps = static_cast<int>(
        (freeBytes - 6 * int64_t{in.LoopCount} - 2 * int64_t{in.LabelCount} - 10) / perStep);
    const int64_t scenario = std::max(in.ScnSize, 0);
    if (length + scenario > capacity) {
        // Offering to cut to no steps would wipe the scenario: say plainly it cannot fit.
        out.result = out.maxSteps < 1 ? FlashImageResult::NoMemory : FlashImageResult::TooLarge;
        return out;
    }

    out.image.assign(static_cast<size_t>(capacity), 0xFF);
    if (rom.RomLoaded)
        std::memcpy(out.image.data(), rom.RomData.data(), std::min<size_t>(rom.RomData.size(), rom.RomLength));
    if (scenario > 0)
        std::memcpy(out.image.data() + length, in.ScnData, static_cast<size_t>(scenario));
    out.length = static_cast<int>(length + scenario);
    out.result = FlashImageResult::Ready;
    return out;
}
