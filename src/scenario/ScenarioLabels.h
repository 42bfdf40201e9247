#pragma once
// The labels of a scenario: steps to which the controller can jump. The list holds grid
// columns (step n = column n), ascending, without duplicates, and starts with column 1
// whenever it is not empty. The window pushes an undo snapshot before it calls an
// operation that changes the list.
#include "scenario/ScenarioSnapshot.h"

enum class LabelAdd { Added, Present, Full };
// Adds a label on column (and, to an empty list, one on column 1 first). Present when
// one stands there already; Full (and nothing changes) at kMaxLabels labels.
LabelAdd AddLabel(ScenarioSnapshot& scn, int column);
// Removes the label on column; false when there is none.
bool DeleteLabel(ScenarioSnapshot& scn, int column);

// Repairs the list after the step count changed or a file was read: labels at column 0,
// beyond the last step, out of order or repeated go, and a label on column 1 is added
// when the list does not start there. False when that label found the list full.
bool ValidateLabels(ScenarioSnapshot& scn);
