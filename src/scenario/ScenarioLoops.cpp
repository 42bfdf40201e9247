#include "scenario/ScenarioLoops.h"

#include <algorithm>

namespace {

constexpr int kMinRepeat = 2;
constexpr int kMaxRepeat = 32767;

bool Holds(const LoopRecord& loop, const std::vector<int>& columns)
{
    // The first column at or after the loop's start must not lie beyond its end.
    auto it = std::lower_bound(columns.begin(), columns.end(), static_cast<int>(loop.firstColumn));
    return it != columns.end() && *it <= loop.lastColumn;
}

} // namespace

int FindLoop(const ScenarioSnapshot& scn, int column)
{
    for (size_t i = 0; i < scn.loops.size(); ++i)
        if (scn.loops[i].firstColumn <= column && column <= scn.loops[i].lastColumn)
            return static_cast<int>(i);
    return -1;
}

uint16_t ClampLoopRepeat(int count)
{
    if (count == kEndlessLoop)
        return kEndlessLoop;
    return static_cast<uint16_t>(std::clamp(count, kMinRepeat, kMaxRepeat));
}

LoopAdd AddLoop(ScenarioSnapshot& scn, int first, int last, uint16_t repeat)
{
    if (scn.loops.size() >= static_cast<size_t>(kMaxLoops))
        return LoopAdd::Full;
    LoopRecord loop{static_cast<uint16_t>(first), static_cast<uint16_t>(last), repeat};
    auto at = std::find_if(scn.loops.begin(), scn.loops.end(),
                           [&](const LoopRecord& l) { return l.firstColumn > loop.lastColumn; });
    scn.loops.insert(at, loop);
    return LoopAdd::Added;
}

bool AnyLoopHolds(const ScenarioSnapshot& scn, const std::vector<int>& columns)
{
    return std::any_of(scn.loops.begin(), scn.loops.end(),
                       [&](const LoopRecord& loop) { return Holds(loop, columns); });
}

int DeleteLoops(ScenarioSnapshot& scn, const std::vector<int>& columns)
{
    size_t before = scn.loops.size();
    scn.loops.erase(std::remove_if(scn.loops.begin(), scn.loops.end(),
                                   [&](const LoopRecord& loop) { return Holds(loop, columns); }),
                    scn.loops.end());
    return static_cast<int>(before - scn.loops.size());
}

void ValidateLoops(ScenarioSnapshot& scn)
{
    int steps = scn.ColCount() - 1;
    auto gone = [&](const LoopRecord& l) { return l.firstColumn > steps || l.firstColumn < 1 || l.lastColumn < 1; };
    scn.loops.erase(std::remove_if(scn.loops.begin(), scn.loops.end(), gone), scn.loops.end());
    for (LoopRecord& loop : scn.loops) {
        if (loop.lastColumn > steps)
            loop.lastColumn = static_cast<uint16_t>(steps);
        loop.repeatCount = ClampLoopRepeat(loop.repeatCount);
    }
}
