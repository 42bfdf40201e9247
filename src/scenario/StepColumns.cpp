#include "scenario/StepColumns.h"

#include <algorithm>

#include "scenario/ScenarioLabels.h"

namespace {

bool IsStep(const ScenarioSnapshot& scn, int column) { return column >= 1 && column < scn.ColCount(); }

} // namespace

bool InsertStep(ScenarioSnapshot& scn, int column, uint16_t time)
{
    int colCount = scn.ColCount();
    if (!IsStep(scn, column) || colCount >= kSnapshotColumns)
        return false;
    scn.SetCell(0, 0, static_cast<uint16_t>(colCount + 1));
    scn.InsertColumn(column);
    scn.SetCell(column, 1, time);
    for (LoopRecord& loop : scn.loops) {
        if (loop.firstColumn >= column)
            ++loop.firstColumn;
        if (loop.lastColumn >= column)
            ++loop.lastColumn;
    }
    // The first label stays on column 1.
    for (size_t i = 1; i < scn.labels.size(); ++i)
        if (scn.labels[i] >= column)
            ++scn.labels[i];
    return true;
}

int DeleteColumn(ScenarioSnapshot& scn, int column)
{
    if (!IsStep(scn, column))
        return -1;
    int colCount = scn.ColCount();
    if (colCount <= 2) {
        for (int r = 0; r < kSnapshotRows; ++r)
            scn.SetCell(column, r, 0);
    } else {
        scn.RemoveColumn(column);
        --colCount;
        scn.SetCell(0, 0, static_cast<uint16_t>(colCount));
    }
    for (LoopRecord& loop : scn.loops) {
        if (column < loop.firstColumn && loop.firstColumn > 1)
            --loop.firstColumn;
        if (column <= loop.lastColumn)
            --loop.lastColumn;
    }
    // A loop that held only this step has nothing left to repeat.
    scn.loops.erase(std::remove_if(scn.loops.begin(), scn.loops.end(),
                                   [](const LoopRecord& l) { return l.firstColumn > l.lastColumn; }),
                    scn.loops.end());
    DeleteLabel(scn, column);
    for (uint16_t& label : scn.labels)
        if (label > column && label > 1)
            --label;
    return column < colCount ? column : -1;
}

int DeleteSteps(ScenarioSnapshot& scn, int current, const std::vector<int>& markedSteps)
{
    int colCount = scn.ColCount();
    int newCurrent = DeleteColumn(scn, current);
    bool shifted = scn.ColCount() < colCount;  // the steps after the current one moved left
    for (auto it = markedSteps.rbegin(); it != markedSteps.rend(); ++it) {
        if (*it == current)
            continue;
        int result = DeleteColumn(scn, shifted && *it > current ? *it - 1 : *it);
        if (result >= 0)
            newCurrent = result;
    }
    return newCurrent;
}
