#pragma once
// How each cell of the step grid looks: the step numbers, times and loop bars of the
// header rows, the channel names, and the effect of every step cell with its selection,
// the floating paste's ghost and the current cell's frame. A cell is painted from the
// scenario directly; nothing is cached.
#include <cstdint>
#include <functional>

#include "scenario/CellCanvas.h"
#include "scenario/GridEditState.h"
#include "scenario/LoopRowIndex.h"
#include "scenario/ScenarioSnapshot.h"

// One channel as the grid shows it.
struct ChannelLook {
    const char* name;
    uint32_t color;
    bool rgbGroup;
};

struct GridPaintContext {
    const ScenarioSnapshot* scenario = nullptr;
    const GridEditState* edit = nullptr;
    int colCount = 1;
    int rowCount = 1;
    int currentCol = 1;  // the grid's current cell
    int currentRow = 3;
    int playColumn = 1;  // the column the preview plays
    int levelMax = 128;
    bool timeInMs = false;
    double msPerUnit = 0;
    std::function<ChannelLook(int channel)> channel;
    // Finds the loops of the loops row; kept between cells by the painter's owner so
    // that a cell costs only the loops near it. Null: one is made for the cell.
    LoopRowIndex* loopRows = nullptr;
};

// Colours of the grid.
namespace grid_colors {
constexpr uint32_t kPlayHeader = 0xF0CAA6;         // play column's number; current row's name
constexpr uint32_t kPlayLabelHeader = 0xF87CD9;    // play column with a label
constexpr uint32_t kLabelHeader = 0x7474FF;        // a labelled column
constexpr uint32_t kTimeInMs = 0xC0DCC0;           // time row showing milliseconds
constexpr uint32_t kLoopsRow = 0x9BDFC4;
constexpr uint32_t kLoopBar = 0x808000;
constexpr uint32_t kEndlessLoopBar = 0x804B99;
constexpr uint32_t kLoopText = 0xFFFFFF;
constexpr uint32_t kCellBack = 0x000000;
constexpr uint32_t kGlyph = 0xF0FBFF;
constexpr uint32_t kSelectedBack = 0xFF0000;
constexpr uint32_t kSelectedGlyph = 0x00FFFF;
constexpr uint32_t kGhostBack = 0x808080;
constexpr uint32_t kGhostGlyph = 0xC0C0C0;
constexpr uint32_t kCurrentFrame = 0x0000FF;
} // namespace grid_colors

// Width of the channel number box at the left of a channel's name cell.
constexpr int kChannelNumberWidth = 19;

void PaintGridCell(CellCanvas& canvas, const GridPaintContext& context, int col, int row, const CellBox& box);
