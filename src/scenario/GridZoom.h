#pragma once
// Geometry of the step grid that follows the zoom: the width of a step column from its
// time, the zoom's bounds and the row height, and where each channel row lies beside
// the grid (for the lamps drawn next to it).
#include <cstdint>

constexpr int kChannelColumnWidth = 80;  // column 0, the channel names
constexpr int kDefaultStepColumnWidth = 25;

// trunc((log50(time) x 30 + 25) x zoom): 25 pixels for 1 unit, 55 for 50, 91 for 6000
// at zoom 1.0. The time is at least 1 (the models' shortest time).
int StepColumnWidth(int time, float zoom);

struct ZoomState {
    float zoom;
    bool plusEnabled;   // "Крупнее" can zoom further in
    bool minusEnabled;  // "Мельче" can zoom further out
};
constexpr float kMinZoom = 0.1f;
constexpr float kMaxZoom = 1.2f;
constexpr double kZoomStep = 0.1;
// The zoom the grid takes for a requested one: from 1.15 up it is 1.2, from 0.15 down
// (or not a number) 0.1; the buttons add or take 0.1, so these thresholds decide the
// ends.
ZoomState ClampZoom(float zoom);
// trunc(zoom x 24) within 10 .. 36.
int RowHeightForZoom(float zoom);

struct ChannelRowSpan {
    int32_t top;
    int32_t bottom;
};
// The pixel span of each channel row as seen beside the grid. pitch: one row and its
// grid line (the top of the time-row header cell); cellHeight: that cell's height;
// topRow: the first scrolled row in view. Rows scrolled out of view get spans outside
// the visible area. Fills spans[0 .. channels - 1].
void ComputeChannelRowSpans(int pitch, int cellHeight, int fixedRows, int topRow, int channels,
                            ChannelRowSpan* spans);
