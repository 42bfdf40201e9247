#include "preview/PreviewEngine.h"

#include <algorithm>
#include <climits>

namespace {

constexpr int kFirstStepColumn = 1;

// Milliseconds of the step at column: never below 1, so that a step time of 0 (a damaged
// file) is passed over instead of holding the preview or consuming no time.
double StepMs(int stepTime, double msPerTimeUnit)
{
    double ms = stepTime * msPerTimeUnit;
    return ms >= 1.0 ? ms : 1.0;
}

} // namespace

bool PreviewEngine::ClampRange(PlayPosition& play, int columnCount)
{
    int lastStep = columnCount - 1;
    if (lastStep < kFirstStepColumn)
        return false;
    play.last = std::clamp(play.last, kFirstStepColumn, lastStep);
    play.first = std::clamp(play.first, kFirstStepColumn, play.last);
    if (play.column < kFirstStepColumn || play.column > lastStep)
        play.column = play.first;
    return true;
}

bool PreviewEngine::FindPlayedLoop(const std::vector<LoopRecord>& loops)
{
    auto same = [this](const LoopRecord& loop) {
        return loop.firstColumn == playedLoop_.firstColumn && loop.lastColumn == playedLoop_.lastColumn &&
               loop.repeatCount == playedLoop_.repeatCount;
    };
    auto index = static_cast<size_t>(state_.LoopIndex);
    if (index < loops.size() && same(loops[index]))
        return true;
    auto found = std::find_if(loops.begin(), loops.end(), same);
    if (found == loops.end())
        return false;
    state_.LoopIndex = static_cast<int>(found - loops.begin());
    return true;
}

void PreviewEngine::FollowLoops(int& column, const ScenarioSnapshot& scenario)
{
    const auto& loops = scenario.loops;
    // Input let in between advances may have deleted or changed the loop being played:
    // its passes go with it and never pass to the loop that took its place in the list.
    if (state_.LoopRemaining > 0 && !FindPlayedLoop(loops))
        state_.LoopRemaining = 0;
    if (state_.LoopRemaining == 0) {
        for (size_t i = 0; i < loops.size(); ++i) {
            if (loops[i].firstColumn <= column && column <= loops[i].lastColumn) {
                state_.LoopIndex = static_cast<int>(i);
                state_.LoopRemaining = loops[i].repeatCount;
                playedLoop_ = loops[i];
                break;
            }
        }
    }
    if (state_.LoopRemaining > 0) {
        const LoopRecord& loop = loops[static_cast<size_t>(state_.LoopIndex)];
        if (column == loop.lastColumn) {
            state_.LoopRemaining -= 1;
            if (state_.LoopRemaining > 0) {
                state_.LastColumn = column;
                column = loop.firstColumn - 1;
            }
        }
    }
}

PreviewFrame PreviewEngine::Advance(unsigned elapsedMs, PlayPosition play, int levelMax, PreviewHost& host)
{
    int64_t accumulated = static_cast<int64_t>(state_.AccumulatedMs) + elapsedMs;
    state_.AccumulatedMs = static_cast<int32_t>(std::min<int64_t>(accumulated, INT32_MAX));
    if (!ClampRange(play, host.ColumnCount()))
        return PreviewFrame{};
    int t = host.Scenario().Cell(play.column, 1);
    double stepMs = StepMs(t, host.MsPerTimeUnit());
    while (state_.AccumulatedMs > stepMs) {
        state_.AccumulatedMs = static_cast<int32_t>(state_.AccumulatedMs - stepMs);
        if (!host.Running())
            continue;
        // Steps may have been deleted while input was let in.
        if (!ClampRange(play, host.ColumnCount()))
            return PreviewFrame{};
        FollowLoops(play.column, host.Scenario());
        play.column += 1;
        if (play.column > play.last || play.column < kFirstStepColumn)
            play.column = play.first;
        t = host.Scenario().Cell(play.column, 1);
        stepMs = StepMs(t, host.MsPerTimeUnit());
        int previous = state_.LastColumn;
        state_.LastColumn = play.column;
        host.ColumnAdvanced(previous, play.column);
    }

    PreviewFrame frame;
    frame.draw = true;
    // The part of the step already played, scaled to the level range; a step of one
    // time unit (or none) shows ramps at half.
    frame.ramp = t <= 1 ? static_cast<double>(levelMax / 2) : levelMax * state_.AccumulatedMs / stepMs;
    state_.StrobeCountdown -= 1;
    if (state_.StrobeCountdown <= 0) {
        state_.StrobeCountdown = 3;
        state_.StrobeLevel = state_.StrobeLevel == 0 ? levelMax : 0;
    }
    frame.strobeLevel = state_.StrobeLevel;
    return frame;
}

int PreviewEngine::ChannelOutput(uint16_t code, const PreviewFrame& frame, int levelMax)
{
    switch (code) {
    case kCellRampUp:
        return std::min(static_cast<int>(frame.ramp), levelMax);
    case kCellRampDown:
        return std::max(static_cast<int>(levelMax - frame.ramp), 0);
    case kCellStrobe:
        return frame.strobeLevel;
    default:
        return std::min(static_cast<int>(static_cast<int16_t>(code)), levelMax);
    }
}
