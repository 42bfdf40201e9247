#include "scenario/StepEdits.h"

#include <algorithm>

#include "scenario/ScenarioLoops.h"
#include "scenario/ScenarioTotals.h"

void ResizeSteps(ScenarioSnapshot& scn, int steps, int newTime)
{
    int oldCols = std::max(1, scn.ColCount());
    int newCols = std::max(1, std::min(steps + 1, kSnapshotColumns));
    scn.SetCell(0, 0, static_cast<uint16_t>(newCols));
    // A column that comes back holds nothing of its cut cells, on the channels beyond the
    // current count neither: they would show again when the count is raised.
    for (int c = oldCols; c < newCols; ++c) {
        scn.RewriteColumn(c, [newTime](const uint16_t*, uint16_t* cells) {
            std::fill(cells, cells + kSnapshotRows, uint16_t{0});
            cells[1] = static_cast<uint16_t>(newTime);
        });
    }
}

namespace {
// True when every cell of the column but its time is 0 (also when it was never written).
bool OnlyTime(const uint16_t* cells)
{
    auto zero = [](uint16_t v) { return v == 0; };
    return !cells || (cells[0] == 0 && std::all_of(cells + 2, cells + kSnapshotRows, zero));
}
} // namespace

void ClearStepCells(ScenarioSnapshot& scn, int colCount)
{
    for (int c = 1; c < std::min(colCount, kSnapshotColumns); ++c) {
        // A column with nothing to clear is left as it is, shared with the undo slots.
        if (OnlyTime(scn.ColumnCells(c)))
            continue;
        scn.RewriteColumn(c, [](const uint16_t* before, uint16_t* cells) {
            uint16_t time = before ? before[1] : 0;
            std::fill(cells, cells + kSnapshotRows, uint16_t{0});
            cells[1] = time;
        });
    }
}

namespace {
bool InLimits(int time, TimeLimits limits) { return time >= limits.minTime && time <= limits.maxTime; }
}

bool SetStepTimes(ScenarioSnapshot& scn, const SelectionMarks& marks, int column, int time, TimeLimits limits,
                  int colCount)
{
    if (!InLimits(time, limits))
        return false;
    scn.SetCell(column, 1, static_cast<uint16_t>(time));
    for (int c = 1; c < std::min(colCount, kSnapshotColumns); ++c)
        if (marks.At(c, 1) != 0)
            scn.SetCell(c, 1, static_cast<uint16_t>(time));
    return true;
}

bool ChangeStepTimes(ScenarioSnapshot& scn, const SelectionMarks& marks, int column, int delta, TimeLimits limits,
                     int colCount)
{
    int t = StepTime(scn, column) + delta;
    bool changed = InLimits(t, limits);
    if (changed)
        scn.SetCell(column, 1, static_cast<uint16_t>(t));
    for (int c = 1; c < std::min(colCount, kSnapshotColumns); ++c) {
        if (c == column || marks.At(c, 1) == 0)
            continue;
        int own = StepTime(scn, c) + delta;
        if (InLimits(own, limits))
            scn.SetCell(c, 1, static_cast<uint16_t>(own));
    }
    return changed;
}

int NextCellEffect(int current, int sliderLevel, EffectRules rules)
{
    const int cycle[6] = {0,
                          sliderLevel,
                          rules.rampUp ? kCellRampUp : -1,
                          rules.rampDown ? kCellRampDown : -1,
                          rules.strobe ? kCellStrobe : -1,
                          0};
    int i = 0;
    while (i < 5 && cycle[i] != current)
        ++i;
    for (int next = i + 1; next < 6; ++next)
        if (cycle[next] >= 0)
            return cycle[next];
    return current;
}

CellRange ApplyEffectToSelection(ScenarioSnapshot& scn, const SelectionMarks& marks, int col, int row,
                                 uint16_t code, GridSize size)
{
    CellRange written{col, row, col, row};
    scn.SetCell(col, row, code);
    CellRange steps{kFixedCols, kFixedRows, size.colCount - 1, size.rowCount - 1};
    CellRange r = marks.Extent().Intersect(steps);
    if (r.Empty())
        return written;
    for (int c = r.left; c <= r.right; ++c) {
        const uint16_t* column = marks.Column(c);
        for (int k = r.top; k <= r.bottom; ++k) {
            if (column[k] != 0) {
                scn.SetCell(c, k, code);
                written.Include(c, k);
            }
        }
    }
    return written;
}

const LoopRecord* LoopAt(const ScenarioSnapshot& scn, int column)
{
    int i = FindLoop(scn, column);
    return i < 0 ? nullptr : &scn.loops[static_cast<size_t>(i)];
}
