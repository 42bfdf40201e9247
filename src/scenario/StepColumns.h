#pragma once
// Steps inserted into and deleted from a scenario, with the loops and labels moved along
// so that they stay on the same steps. The window pushes an undo snapshot first, and
// validates the loops and labels and recalculates the totals afterwards.
#include <cstdint>
#include <vector>

#include "scenario/ScenarioSnapshot.h"

// Inserts an empty step with the given time before column (1 .. steps): the steps from
// column on move one to the right, a loop starting at or after column moves along, one
// running over it grows, and labels at or after it (but the first) move right. False,
// and nothing changes, when column is not a step or the grid has no room.
bool InsertStep(ScenarioSnapshot& scn, int column, uint16_t time);

// Removes step column; the steps after it move one to the left. The only step is
// emptied instead (every row 0, its time too). Loops end one step earlier or move left,
// and a loop that held only this step goes; a label on it goes and later labels move
// left. Returns column when a step now stands there (the window's new current column),
// else -1.
int DeleteColumn(ScenarioSnapshot& scn, int column);

// Deletes the current step, then every step of markedSteps (ascending columns as they
// were before, the current one skipped) from right to left. Returns the last column
// that DeleteColumn handed back, or -1.
int DeleteSteps(ScenarioSnapshot& scn, int current, const std::vector<int>& markedSteps);
