#include "scenario/ColourAndGradient.h"

#include <algorithm>
#include <cmath>

MarkedColumns FindMarkedColumns(const CellMarked& marked, int colCount, int rowCount)
{
    MarkedColumns m;
    for (int c = 1; c < colCount; ++c) {
        if (!marked(c, 1))
            continue;
        if (m.first < 0)
            m.first = c;
        m.last = c;
        for (int r = kFirstChannelRow; r < rowCount; ++r) {
            if (marked(c, r)) {
                m.row = r;
                break;
            }
        }
    }
    return m;
}

int GradientLevel(int column, int first, int last, int begin, int end)
{
    // The step is held in single precision, as the levels have always been computed.
    float step = static_cast<float>(static_cast<double>(end - begin) / (last - first));
    return static_cast<int>(std::floor((column - first) * static_cast<double>(step) + begin + 0.5));
}

bool WriteGradient(ScenarioSnapshot& scn, const CellMarked& marked, int colCount, int rowCount, int begin, int end)
{
    MarkedColumns m = FindMarkedColumns(marked, colCount, rowCount);
    if (m.first < 1 || m.last <= m.first)
        return false;
    for (int c = m.first; c <= m.last; ++c) {
        uint16_t level = static_cast<uint16_t>(GradientLevel(c, m.first, m.last, begin, end));
        for (int r = kFirstChannelRow; r < rowCount; ++r)
            if (marked(c, r))
                scn.SetCell(c, r, level);
    }
    return true;
}

int ComponentToLevel(int component, int levelMax) { return (component * levelMax + 127) / 255; }

int LevelToComponent(int level, int levelMax)
{
    if (levelMax < 1)
        return 0;
    level = std::clamp(level, 0, levelMax);
    return (level * 255 + levelMax / 2) / levelMax;
}

RgbLevels ColourToLevels(uint32_t colour, int levelMax)
{
    return RgbLevels{ComponentToLevel(static_cast<int>(colour & 0xFF), levelMax),
                     ComponentToLevel(static_cast<int>((colour >> 8) & 0xFF), levelMax),
                     ComponentToLevel(static_cast<int>((colour >> 16) & 0xFF), levelMax)};
}

uint32_t LevelsToColour(const RgbLevels& levels, int levelMax)
{
    return static_cast<uint32_t>(LevelToComponent(levels.red, levelMax)) |
           static_cast<uint32_t>(LevelToComponent(levels.green, levelMax)) << 8 |
           static_cast<uint32_t>(LevelToComponent(levels.blue, levelMax)) << 16;
}

int RgbGroupFirstRow(int row) { return (row + 1 + 2) / 3 * 3 - 3; }

RgbLevels ReadRgbCells(const ScenarioSnapshot& scn, int firstRow, int column, int rowCount)
{
    auto level = [&](int row) { return row < rowCount ? scn.Cell(column, row) : 0; };
    return RgbLevels{level(firstRow), level(firstRow + 1), level(firstRow + 2)};
}

int WriteRgbCells(ScenarioSnapshot& scn, int firstRow, int column, int rowCount, const RgbLevels& levels)
{
    const int values[3] = {levels.red, levels.green, levels.blue};
    int written = 0;
    for (int i = 0; i < 3 && firstRow + i < rowCount; ++i, ++written)
        scn.SetCell(column, firstRow + i, static_cast<uint16_t>(values[i]));
    return written;
}

void ForEachRgbTarget(const CellMarked& marked, const std::function<bool(int channel)>& inRgbGroup, int colCount,
                      int rowCount, int currentCol, int currentRow,
                      const std::function<void(int firstRow, int column)>& visit)
{
    if (currentCol >= 1 && currentCol < colCount && currentRow >= kFirstChannelRow && currentRow < rowCount &&
        inRgbGroup(currentRow - kFirstChannelRow))
        visit(RgbGroupFirstRow(currentRow), currentCol);
    for (int c = 1; c < colCount; ++c)
        for (int r = kFirstChannelRow; r < rowCount; ++r)
            if (marked(c, r) && inRgbGroup(r - kFirstChannelRow))
                visit(RgbGroupFirstRow(r), c);
}
