#pragma once
// Where a window may open: the work areas of the monitors (each screen without its task
// bar).
#include "ui/Graphics.h"

// The work area of the monitor nearest to a rectangle.
TRect NearestWorkArea(const TRect& rect);

// A window's bounds made to fit the screen it opens on. Bounds that lie within the work
// areas of the monitors are kept; the window's sizing frame may stick out past them, as
// it does for a window laid over a whole screen. Other bounds are shrunk to the work
// area of the nearest monitor where they are larger, and moved onto it. Numbers from
// anywhere are taken: a width or height below 0 counts as 0.
TRect FitToWorkArea(int left, int top, int width, int height);
