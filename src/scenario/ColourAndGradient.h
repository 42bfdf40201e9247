#pragma once
// The arithmetic of the effects box's gradient and colour tools: which marked cells
// they write and the levels they write there. Grid columns are steps (1 ..), grid
// rows 3 .. are channels; a nonzero mark in row 1 of a column says the column holds
// selected cells.
#include <cstdint>
#include <functional>

#include "scenario/ScenarioSnapshot.h"

// True when the cell (column, row) carries a selection mark.
using CellMarked = std::function<bool(int column, int row)>;

struct MarkedColumns {
    int first = -1;  // leftmost marked step column, -1 when none
    int last = -1;   // rightmost marked step column
    int row = -1;    // first marked channel row of the rightmost marked column that has one
};
MarkedColumns FindMarkedColumns(const CellMarked& marked, int colCount, int rowCount);

// The level of step column c of a gradient running from begin at column first to end at
// column last (first < last): the linear value rounded half up.
int GradientLevel(int column, int first, int last, int begin, int end);
// Writes the gradient into every marked channel cell of the marked columns between
// first and last. Needs two marked columns; false, and nothing written, without them.
bool WriteGradient(ScenarioSnapshot& scn, const CellMarked& marked, int colCount, int rowCount, int begin,
                   int end);

// Red, green and blue levels (0 .. levelMax) of an RGB channel group.
struct RgbLevels {
    int red = 0, green = 0, blue = 0;
};
// A colour component 0..255 as a level 0..levelMax and back, both rounded, so that a
// level shown as a colour and taken back is the level it was, and 255 is levelMax.
int ComponentToLevel(int component, int levelMax);
int LevelToComponent(int level, int levelMax);
// A colour 0x00BBGGRR as levels and back; levels above levelMax (effects) count as levelMax.
RgbLevels ColourToLevels(uint32_t colour, int levelMax);
uint32_t LevelsToColour(const RgbLevels& levels, int levelMax);

// The first grid row of the RGB group (aligned channel triple) of grid row r.
int RgbGroupFirstRow(int row);
// The levels of the group starting at firstRow in column; rows from rowCount on read 0.
RgbLevels ReadRgbCells(const ScenarioSnapshot& scn, int firstRow, int column, int rowCount);
// Writes red, green, blue into the group's rows below rowCount; returns how many.
int WriteRgbCells(ScenarioSnapshot& scn, int firstRow, int column, int rowCount, const RgbLevels& levels);

// The groups a chosen colour goes to: the current cell's group when its channel is in
// an RGB group, then the group of every marked step cell whose channel is in one (a
// group with several marked channels is visited once for each).
void ForEachRgbTarget(const CellMarked& marked, const std::function<bool(int channel)>& inRgbGroup, int colCount,
                      int rowCount, int currentCol, int currentRow,
                      const std::function<void(int firstRow, int column)>& visit);
