#pragma once
// The figures derived from the step times: each step column's width, and the total
// time of the show with every counted loop's repeats.
#include <cstdint>
#include <string>
#include <vector>

#include "scenario/ScenarioSnapshot.h"
#include "scenario/StepTiming.h"

// A step's time: cell [column][1], a signed 16-bit number of time units.
inline int StepTime(const ScenarioSnapshot& scn, int column) { return static_cast<int16_t>(scn.Cell(column, 1)); }

struct ScenarioTotals {
    int64_t units = 0;           // every step once, plus the repeats of counted loops
    std::string text;            // "h:mm:ss", hours past 24 kept ("26:00:00")
    bool twoDaysOrMore = false;  // long enough to be shown on yellow
};

// Brings the times of step columns 1 .. colCount - 1 into the limits (written back into
// the scenario), sets widths[c - 1] to the width of column c at the zoom, and totals
// the show at msPerUnit milliseconds per unit. A loop counts when both its ends lie
// below the stored column count; an endless loop runs once.
ScenarioTotals RecalcStepTimes(ScenarioSnapshot& scn, int colCount, TimeLimits limits, float zoom,
                               double msPerUnit, std::vector<int>& widths);

// "h:mm:ss" of a total in time units.
std::string FormatShowTime(int64_t units, double msPerUnit, bool& twoDaysOrMore);
