#pragma once
// Edits of the scenario made from the step box and the effect controls: the step
// count, step times (of the current step and every selected one), and effects written
// into the current cell and the selection. The window pushes an undo snapshot before
// calling them.
#include <cstdint>

#include "scenario/GridEditState.h"
#include "scenario/ScenarioSnapshot.h"
#include "scenario/StepTiming.h"

// Makes the scenario steps long (cell [0][0] = steps + 1). Every column that is added
// gets newTime and zero in every other row (the loops row and all channels, those
// beyond the grid's channel count included).
void ResizeSteps(ScenarioSnapshot& scn, int steps, int newTime);

// Zeroes every cell of the steps (columns 1 .. colCount - 1) but their times: every
// channel is switched off, the channels beyond the grid's channel count included. A
// column that holds nothing but its time is not touched (it stays shared).
void ClearStepCells(ScenarioSnapshot& scn, int colCount);

// Sets the time of column and of every other column whose time-row mark is set.
// Nothing happens, and the result is false, when time is outside the limits.
bool SetStepTimes(ScenarioSnapshot& scn, const SelectionMarks& marks, int column, int time, TimeLimits limits,
                  int colCount);
// Adds delta to the time of column and of every other column whose time-row mark is
// set, each only when its new time stays within the limits. True when the time of
// column itself changed.
bool ChangeStepTimes(ScenarioSnapshot& scn, const SelectionMarks& marks, int column, int delta, TimeLimits limits,
                     int colCount);

// Which effects the controller model has.
struct EffectRules {
    int levelMax;
    bool rampUp;
    bool rampDown;
    bool strobe;
};
// The effect a cell takes when it is cycled: off, the slider's level, ramp up, ramp
// down, strobe, off again, skipping what the model forbids. A level other than the
// slider's stays as it is.
int NextCellEffect(int current, int sliderLevel, EffectRules rules);
// Writes code into (col, row) and into every step cell whose mark is set; returns the
// cells written.
CellRange ApplyEffectToSelection(ScenarioSnapshot& scn, const SelectionMarks& marks, int col, int row,
                                 uint16_t code, GridSize size);

// The first loop that holds column (first <= column <= last), or null.
const LoopRecord* LoopAt(const ScenarioSnapshot& scn, int column);
