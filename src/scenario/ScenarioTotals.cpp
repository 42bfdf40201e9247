#include "scenario/ScenarioTotals.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "scenario/GridZoom.h"

namespace {
constexpr int64_t kMsPerDay = 86400000;
}

ScenarioTotals RecalcStepTimes(ScenarioSnapshot& scn, int colCount, TimeLimits limits, float zoom,
                               double msPerUnit, std::vector<int>& widths)
{
    colCount = std::max(1, std::min(colCount, kSnapshotColumns));
    widths.resize(static_cast<size_t>(colCount - 1));
    ScenarioTotals totals;
    for (int c = 1; c < colCount; ++c) {
        int t = StepTime(scn, c);
        int clamped = std::max(limits.minTime, std::min(t, limits.maxTime));
        if (clamped != t)
            scn.SetCell(c, 1, static_cast<uint16_t>(clamped));
        widths[static_cast<size_t>(c - 1)] = StepColumnWidth(clamped, zoom);
        totals.units += clamped;
    }
    // Sums of the step times up to each column, for the loops' passes.
    int stored = std::max(1, std::min(scn.ColCount(), kSnapshotColumns));
    std::vector<int64_t> upTo(static_cast<size_t>(stored), 0);
    for (int c = 1; c < stored; ++c)
        upTo[static_cast<size_t>(c)] = upTo[static_cast<size_t>(c - 1)] + StepTime(scn, c);
    for (const LoopRecord& loop : scn.loops) {
        if (loop.firstColumn >= stored || loop.lastColumn >= stored || loop.repeatCount == kEndlessLoop)
            continue;
        int first = std::max<int>(1, loop.firstColumn);
        if (first > loop.lastColumn)
            continue;
        int64_t pass = upTo[loop.lastColumn] - upTo[static_cast<size_t>(first - 1)];
        totals.units += (std::max<int64_t>(loop.repeatCount, 1) - 1) * pass;
    }
    totals.text = FormatShowTime(totals.units, msPerUnit, totals.twoDaysOrMore);
    return totals;
}

std::string FormatShowTime(int64_t units, double msPerUnit, bool& twoDaysOrMore)
{
    double exact = static_cast<double>(units) * msPerUnit;
    int64_t ms = std::isfinite(exact) ? std::llround(std::max(0.0, exact)) : 0;
    twoDaysOrMore = ms >= 2 * kMsPerDay;
    char text[64];
    std::snprintf(text, sizeof text, "%lld:%02d:%02d", static_cast<long long>(ms / 3600000),
                  static_cast<int>(ms / 60000 % 60), static_cast<int>(ms / 1000 % 60));
    return text;
}
