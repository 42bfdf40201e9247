#pragma once
// The classes of a control that the visual-style manager's lists are chosen by.
#include "themes/ThemeOptions.h"

class TControl;

// The TControlKind bits of every list class the control belongs to.
unsigned StyleControlKinds(TControl* control);
