#include "programming/ControllerImage.h"

#include <algorithm>

const char kChannelRangeMessage[] = "Неверно указан диапазон каналов для загрузки!";

namespace {

void PutU16(std::vector<uint8_t>& out, size_t at, unsigned value)
{
    out[at] = static_cast<uint8_t>(value);
    out[at + 1] = static_cast<uint8_t>(value >> 8);
}

} // namespace

bool IsImageChannelRange(int first, int count)
{
    constexpr int kChannelRows = kSnapshotRows - kFirstChannelRow;
    return first >= 0 && count >= 1 && count <= kMaxImageChannels && first <= kChannelRows - count;
}

int ScenarioStepCount(const ScenarioSnapshot& scenario)
{
    return std::clamp(scenario.ColCount() - 1, 0, kSnapshotColumns - 1);
}

std::vector<uint8_t> MakeControllerImage(const ScenarioSnapshot& scenario, int speed,
                                         int first, int count)
{
    if (!IsImageChannelRange(first, count))
        return {};
    const size_t n = static_cast<size_t>(count);
    const int steps = ScenarioStepCount(scenario);
    const size_t loops = scenario.loops.size();
    const size_t labels = scenario.labels.size();

    std::vector<uint8_t> image(10 + static_cast<size_t>(steps) * (n + 2) + 6 * loops + 2 * labels);
    image[0] = 'S';
    image[1] = 'C';
    image[2] = 'N';
    image[3] = '1';
    image[4] = static_cast<uint8_t>(n);
    PutU16(image, 5, static_cast<unsigned>(steps));
    image[7] = static_cast<uint8_t>(speed);
    image[8] = static_cast<uint8_t>(loops);
    image[9] = static_cast<uint8_t>(labels);

    size_t at = 10;
    const int firstRow = kFirstChannelRow + first;
    for (int column = 1; column <= steps; ++column) {
        PutU16(image, at, scenario.Cell(column, 1));
        at += 2;
        for (size_t k = 0; k < n; ++k)
            image[at++] = static_cast<uint8_t>(scenario.Cell(column, firstRow + static_cast<int>(k)));
    }
    // Column numbers become 0-based steps; a column of 0 wraps as the 16-bit field does.
    for (const LoopRecord& loop : scenario.loops) {
        PutU16(image, at, loop.firstColumn - 1u);
        PutU16(image, at + 2, loop.lastColumn - 1u);
        PutU16(image, at + 4, loop.repeatCount);
        at += 6;
    }
    for (uint16_t label : scenario.labels) {
        PutU16(image, at, label - 1u);
        at += 2;
    }
    return image;
}

std::vector<uint8_t> MakeEepromBlock(size_t labelCount, int speed)
{
    std::vector<uint8_t> block(32 + std::max<size_t>(labelCount, 1), static_cast<uint8_t>(speed));
    std::fill(block.begin(), block.begin() + 31, 0xFF);
    block[31] = 0x00;
    return block;
}
