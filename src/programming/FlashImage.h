#pragma once
// The flash image one programming run writes: the firmware region (from the firmware
// file, or the firmware the controller keeps) followed by the controller image of the
// scenario, in a buffer of the flash the boot-loader leaves free.
#include <cstdint>
#include <string>
#include <vector>

#include "programming/BurnInputs.h"
#include "programming/RomFile.h"

// What the build needs to know of the controller and the scenario.
struct FlashImageInput {
    const RomFile* rom = nullptr;                 // the firmware file as loaded
    int blockSize = 0;                            // the controller's flash block size
    int flashSize = 0;
    int bootSize = 0;
    int firmwareSize = 0;                         // firmware the controller keeps; 0 = none
    const std::vector<uint8_t>* scenario = nullptr;  // the controller image
    int channelCount = 0;
    int loopCount = 0;
    int labelCount = 0;
};

// The input of one programming run: its firmware file and scenario, with the memory
// sizes the controller reported. rom and run must outlive the input.
FlashImageInput RunFlashImageInput(const BurnInputs& run, const RomFile& rom, int blockSize, int flashSize,
                                   int bootSize, int firmwareSize);

enum class FlashImageStatus {
    Built,
    NoMemorySizes,      // no block, flash or boot-loader size
    NoRoom,             // no flash beside the boot-loader, or more kept firmware than it holds
    FirmwareTooLarge,   // the firmware file's region does not fit in the free flash
    Empty,              // neither firmware nor scenario: nothing to write
    TooLarge,           // the scenario does not fit behind the firmware
};

struct FlashImage {
    FlashImageStatus status = FlashImageStatus::NoMemorySizes;
    std::vector<uint8_t> data;  // flash size minus boot-loader size, 0xFF where nothing was copied
    int length = 0;             // bytes that hold firmware and scenario
    int firmwareBlocks = 0;     // blocks of the firmware region
    bool keepsControllerFirmware = false;  // writing starts at block firmwareBlocks
    bool scenarioPlaced = false;           // a scenario went in: fitSteps is the editor's new maximum
    int fitSteps = 0;           // steps that fit beside the firmware (at least 0)
    int maxSteps = 0;           // the same, counting the loops and labels (at least 0)
};

// With a firmware file its data are placed at 0 and always end with one more block;
// without one the controller's own firmware stays and only its region is skipped.
FlashImage BuildFlashImage(const FlashImageInput& input);

// The box a run shows when its flash image could not be built; the same for the serial
// and the USB controllers.
struct FlashImageFailure {
    std::string text;
    // The scenario is too long but some steps fit: the question whether the editor's
    // step maximum may drop to maxSteps (Yes cuts the scenario). Otherwise an error box.
    bool cutQuestion = false;
    int maxSteps = 0;
};
FlashImageFailure DescribeFlashImageFailure(const FlashImage& image, const std::string& romFileName, int loopCount,
                                            int labelCount);

extern const char kNoMemorySizesText[];
// The question asked when the scenario does not fit.
std::string MemoryShortageText(int maxSteps, int loopCount, int labelCount);
