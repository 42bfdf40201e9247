#pragma once
// The loops of a scenario: runs of steps that the controller repeats. The list is kept
// in the snapshot, sorted by first column; columns are grid columns (step n = column n).
// The window pushes an undo snapshot before it calls an operation that changes the list.
#include <cstdint>
#include <vector>

#include "scenario/ScenarioSnapshot.h"

// Index of the first loop with first <= column <= last, or -1.
int FindLoop(const ScenarioSnapshot& scn, int column);

// A repeat count as a loop stores it: kEndlessLoop stays, anything else is brought into
// 2 .. 32767.
uint16_t ClampLoopRepeat(int count);

enum class LoopAdd { Added, Full };
// Adds the loop first .. last, placed before the first loop that starts after last.
// Full (and nothing changes) when the scenario holds kMaxLoops loops already.
LoopAdd AddLoop(ScenarioSnapshot& scn, int first, int last, uint16_t repeat);

// True when some loop holds one of columns (ascending).
bool AnyLoopHolds(const ScenarioSnapshot& scn, const std::vector<int>& columns);
// Removes every loop that holds one of columns (ascending); returns how many went.
int DeleteLoops(ScenarioSnapshot& scn, const std::vector<int>& columns);

// Repairs the list after the step count changed: a loop starting beyond the last step
// or at column 0, or ending at column 0, goes; one running past the last step is cut
// there; repeat counts come back into 2 .. 32767 unless endless.
void ValidateLoops(ScenarioSnapshot& scn);
