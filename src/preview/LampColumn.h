#pragma once
// The lamp column beside the step grid: one rounded lamp per channel, or one per RGB
// group spanning its three rows, drawn straight into the 32-bit frame that is then
// copied to the screen.
#include <cstdint>

#include "preview/Pixels.h"

// The pixel top and bottom of one channel row as seen beside the grid.
struct RowSpan {
    int32_t top = 0;
    int32_t bottom = 0;
};

// Draws the rounded rectangle (x1, y1)-(x2, y2), right and bottom edges excluded, with
// corners cut by an ellipse corner × corner pixels: its inside in fillPixel, its
// outline black, penWidth 1 along the inside of the edge, any wider pen centred on it.
// Everything outside the frame is clipped.
void DrawRoundRect(const PixelView& frame, int x1, int y1, int x2, int y2, int corner, int penWidth,
                   uint32_t fillPixel);

struct LampColumn {
    PixelView frame;
    int width = 0;                   // width of the column; lamps are centred on width / 2
    const RowSpan* rows = nullptr;   // one per channel, not owned
    int hiddenRows = 0;              // channel rows scrolled off the top of the grid
    int levelMax = 1;

    // The lamp of one channel at a level, in the channel's colour (0x00BBGGRR) scaled to
    // the level; nothing when its row is scrolled off the top.
    void DrawChannel(int channel, int level, uint32_t colour) const;
    // The lamp of the RGB group starting at first, from its three levels; drawn while the
    // group's last row is still in view.
    void DrawRgb(int first, int red, int green, int blue) const;
};
