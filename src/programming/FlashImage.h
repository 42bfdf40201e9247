#pragma once
// What goes into the controller's flash: the firmware region (the firmware file's data,
// or room for the firmware the controller keeps), rounded up to whole blocks, then the
// controller image, all within the flash below the boot-loader.
#include <cstdint>
#include <vector>

#include "programming/BurnInputs.h"
#include "programming/RomFile.h"

// The sizes the controller reported, in bytes (0: not reported).
struct FlashLayout {
    int FlashSize = 0;
    int BootSize = 0;
    int BlockSize = 0;
};

enum class FlashImageResult {
    Ready,
    LinkError,   // a flash, boot-loader or block size is missing
    NoFirmware,  // neither a firmware file nor firmware in the controller
    NoMemory,    // the firmware region alone does not fit, or no step would fit
    TooLarge,    // the scenario does not fit; it would fit with maxSteps steps
};

struct FlashImage {
    FlashImageResult result = FlashImageResult::LinkError;
    std::vector<uint8_t> image;  // capacity bytes, 0xFF where nothing is placed
    int length = 0;              // bytes to send: firmware region and controller image
    int FirmwareBlocks = 0;      // blocks of the firmware region
    int firstBlock = 0;          // the first block to send (the region is skipped when the controller keeps its firmware)
    int fitSteps = 0;            // steps that fit with no loops or labels
    int maxSteps = 0;            // steps that fit with the scenario's loops and labels
};

// firmwareSize: the size the controller reported for the firmware it keeps (used when
// no firmware file is loaded).
FlashImage BuildFlashImage(const FlashLayout& layout, const RomFile& rom, int firmwareSize,
                           const BurnInputs& inputs);
