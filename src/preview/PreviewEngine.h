#pragma once
// Playback of the preview without a window: each frame adds the elapsed time, moves the
// play column through the step times, loops and play range while the preview runs, and
// yields the ramp and strobe that every channel's output level is taken from. The window
// around it (or a test) supplies the elapsed times and redraws what changed.
#include <cstdint>
#include <vector>

#include "preview/LampWalk.h"
#include "scenario/ScenarioSnapshot.h"

// Kept between frames; a reset gives these values.
struct PreviewState {
    int32_t AccumulatedMs = 0;    // milliseconds played in the current step
    int32_t LastColumn = 0;       // play column whose header was last redrawn
    int32_t StrobeCountdown = 3;  // frames left until the strobe level flips
    int32_t StrobeLevel = 0;      // 0 or levelMax
    int32_t LoopRemaining = 0;    // passes left in the loop being played; 0: none
    int32_t LoopIndex = 0;        // index of that loop in the loop list
};

// The play column and the range it wraps in: grid columns, inclusive.
struct PlayPosition {
    int& column;
    int& first;
    int& last;
};

// What a frame reads from and tells the window around it. The frame lets input in after
// each column advance, so it asks again after every advance.
class PreviewHost {
public:
    virtual ~PreviewHost() = default;
    virtual const ScenarioSnapshot& Scenario() = 0;
    // The grid's column count: the steps + 1.
    virtual int ColumnCount() = 0;
    // The preview runs (its button is down): time moves the play column.
    virtual bool Running() = 0;
    virtual double MsPerTimeUnit() = 0;
    // The play column moved on from previous: redraw both headers, let input in.
    virtual void ColumnAdvanced(int previous, int column) = 0;
};

// The outcome of one frame: whether lamps are drawn, with which ramp and strobe level.
struct PreviewFrame {
    bool draw = false;
    double ramp = 0;
    int strobeLevel = 0;
};

class PreviewEngine {
public:
    void Reset() { state_ = PreviewState{}; }
    const PreviewState& State() const { return state_; }

    // One frame after elapsedMs milliseconds. The play range is first clamped to the
    // steps that exist; nothing is drawn only when the scenario has no step.
    PreviewFrame Advance(unsigned elapsedMs, PlayPosition play, int levelMax, PreviewHost& host);

    // The output level of a channel whose cell holds code: ramps and strobe from the frame,
    // steady levels at most levelMax.
    static int ChannelOutput(uint16_t code, const PreviewFrame& frame, int levelMax);

private:
    // Clamps the range to the existing steps; false when there is none.
    static bool ClampRange(PlayPosition& play, int columnCount);
    // Loop entry and the end of a loop pass at the play column (which may jump back).
    void FollowLoops(int& column, const ScenarioSnapshot& scenario);
    // Whether the loop being played is still in the list (LoopIndex follows it when
    // other loops before it came or went).
    bool FindPlayedLoop(const std::vector<LoopRecord>& loops);

    PreviewState state_;
    LoopRecord playedLoop_{};  // the loop being played, as it was when play entered it
};

// Every lamp's output levels at the play column, in channel order: single(channel, level)
// for a channel of its own, group(first, red, green, blue) for an RGB group.
template <class SingleFn, class GroupFn>
void ForEachLampLevel(const ScenarioSnapshot& scenario, int column, int channels, const ChannelRecord* table,
                      const PreviewFrame& frame, int levelMax, SingleFn&& single, GroupFn&& group)
{
    auto output = [&](int channel) {
        return PreviewEngine::ChannelOutput(scenario.Cell(column, kFirstChannelRow + channel), frame, levelMax);
    };
    ForEachLamp(channels, table, [&](int first, bool isGroup) {
        if (isGroup)
            group(first, output(first), output(first + 1), output(first + 2));
        else
            single(first, output(first));
    });
}
