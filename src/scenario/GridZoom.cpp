#include "scenario/GridZoom.h"

#include <algorithm>
#include <cmath>

int StepColumnWidth(int time, float zoom)
{
    long double log50 = std::log(static_cast<long double>(std::max(1, time))) / std::log(50.0L);
    return static_cast<int>((log50 * 30 + 25) * zoom);
}

ZoomState ClampZoom(float zoom)
{
    ZoomState z{zoom, true, true};
    if (zoom >= 1.15) {
        z.zoom = kMaxZoom;
        z.plusEnabled = false;
    }
    if (!(zoom > 0.15)) {  // also not a number
        z.zoom = kMinZoom;
        z.minusEnabled = false;
    }
    return z;
}

int RowHeightForZoom(float zoom)
{
    float h = std::max(10.0f, std::min(zoom * 24, 36.0f));
    return static_cast<int>(h);
}

void ComputeChannelRowSpans(int pitch, int cellHeight, int fixedRows, int topRow, int channels,
                            ChannelRowSpan* spans)
{
    for (int c = 0; c < channels; ++c) {
        int top = (2 * fixedRows + c - topRow) * pitch + 2;
        spans[c] = ChannelRowSpan{top, top + cellHeight - 4};
    }
}
