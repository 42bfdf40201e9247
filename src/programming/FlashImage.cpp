#include "programming/FlashImage.h"

#include <algorithm>

#include "programming/BurnTexts.h"

const char kNoMemorySizesText[] = "Невозможно загрузить сценарий!\nОшибка связи с контроллером.";

namespace {

// Steps of channelCount cells plus a 2-byte step time that fit in room bytes; 0 when
// the room is smaller than what the image needs besides its steps.
int StepsIn(int room, int channelCount)
{
    return room > 0 ? room / (channelCount + 2) : 0;
}

} // namespace

FlashImageInput RunFlashImageInput(const BurnInputs& run, const RomFile& rom, int blockSize, int flashSize,
                                   int bootSize, int firmwareSize)
{
    FlashImageInput input;
    input.rom = &rom;
    input.blockSize = blockSize;
    input.flashSize = flashSize;
    input.bootSize = bootSize;
    input.firmwareSize = firmwareSize;
    input.scenario = &run.ScnData;
    input.channelCount = run.ChannelCount;
    input.loopCount = run.LoopCount;
    input.labelCount = run.LabelCount;
    return input;
}

FlashImage BuildFlashImage(const FlashImageInput& input)
{
    FlashImage image;
    const bool romLoaded = input.rom->RomLoaded;
    if (input.blockSize <= 0 || input.flashSize <= 0 || input.bootSize <= 0)
        return image;
    if (input.flashSize <= input.bootSize) {
        image.status = FlashImageStatus::NoRoom;
        return image;
    }
    const int capacity = input.flashSize - input.bootSize;
    image.data.assign(static_cast<size_t>(capacity), 0xFF);

    int length = romLoaded ? static_cast<int>(input.rom->RomData.size()) : input.firmwareSize;
    int blocks = length / input.blockSize;
    if (romLoaded || length % input.blockSize != 0)
        ++blocks;
    const int64_t region = static_cast<int64_t>(blocks) * input.blockSize;
    if (length < 0 || region > capacity) {
        image.status = romLoaded ? FlashImageStatus::FirmwareTooLarge : FlashImageStatus::NoRoom;
        return image;
    }
    if (romLoaded)
        std::copy(input.rom->RomData.begin(), input.rom->RomData.end(), image.data.begin());
    length = static_cast<int>(region);
    image.firmwareBlocks = blocks;
    image.keepsControllerFirmware = !romLoaded && input.firmwareSize != 0;

    const std::vector<uint8_t>& scenario = *input.scenario;
    image.length = length;
    if (length == 0) {
        image.status = FlashImageStatus::Empty;
        return image;
    }
    image.status = FlashImageStatus::Built;
    if (scenario.empty())
        return image;

    const int free = capacity - length;
    image.fitSteps = StepsIn(free - 10, input.channelCount);
    image.maxSteps = StepsIn(free - 6 * input.loopCount - 2 * input.labelCount - 10, input.channelCount);
    if (scenario.size() > static_cast<size_t>(free)) {
        image.status = FlashImageStatus::TooLarge;
        return image;
    }
    std::copy(scenario.begin(), scenario.end(), image.data.begin() + length);
    image.length = length + static_cast<int>(scenario.size());
    image.scenarioPlaced = true;
    return image;
}

FlashImageFailure DescribeFlashImageFailure(const FlashImage& image, const std::string& romFileName, int loopCount,
                                            int labelCount)
{
    FlashImageFailure failure;
    switch (image.status) {
    case FlashImageStatus::NoMemorySizes:
        failure.text = kNoMemorySizesText;
        break;
    case FlashImageStatus::Empty:
        // Neither a firmware file nor a firmware in the controller.
        failure.text = MissingFirmwareText(romFileName);
        break;
    case FlashImageStatus::TooLarge:
        // Offering to cut the scenario to no steps would wipe it and its undo history.
        if (image.maxSteps >= 1) {
            failure.text = MemoryShortageText(image.maxSteps, loopCount, labelCount);
            failure.cutQuestion = true;
            failure.maxSteps = image.maxSteps;
            break;
        }
        failure.text = kNoMemoryText;
        break;
    case FlashImageStatus::NoRoom:
    case FlashImageStatus::FirmwareTooLarge:
    case FlashImageStatus::Built:
        failure.text = kNoMemoryText;
        break;
    }
    return failure;
}

std::string MemoryShortageText(int maxSteps, int loopCount, int labelCount)
{
    std::string suffix;
    if (loopCount > 0)
        suffix += " (с учетом " + std::to_string(loopCount) + " циклов";
    if (labelCount > 0)
        suffix += (suffix.empty() ? " (с учетом " : " и ") + std::to_string(labelCount) + " меток";
    suffix += suffix.empty() ? "." : ").";
    const std::string blanks(22, ' ');
    return "Не хватает памяти контроллера для записи сценария!" + blanks +
           "\nСценарий должен содержать не более " + std::to_string(maxSteps) + " шагов" + suffix + blanks +
           "\n\nИзменить максимальное количество шагов в программе?";
}
