#pragma once
// The lamp column beside the step grid: one rounded lamp per channel, or one per RGB
// group spanning its three rows, drawn straight into the 32-bit frame that is then
// copied to the screen.
#include <cstdint>
#include <vector>

#include "preview/Pixels.h"
#include "scenario/GridZoom.h"

// The pixel top and bottom of one channel row as seen beside the grid.
using RowSpan = ChannelRowSpan;

// A rounded rectangle of a given size with its corners cut by an ellipse corner × corner
// pixels, its outline black: a pen of 1 runs along the inside of the edge, a wider pen is
// centred on it. It is worked out once per size as two masks over its box; every lamp of
// that size then only blends them into the frame.
class RoundRectShape {
public:
    // Makes the shape of the rectangle width × height (right and bottom edges excluded),
    // unless it has that shape already.
    void Make(int width, int height, int corner, int penWidth);
    // Draws it with its top-left corner at x1, y1, the inside in fillPixel; everything
    // outside the frame is clipped.
    void Draw(const PixelView& frame, int x1, int y1, uint32_t fillPixel) const;

private:
    int width_ = -1, height_ = -1, corner_ = -1, penWidth_ = -1;
    int outside_ = 0;   // pen pixels outside the rectangle
    int boxWidth_ = 0;  // the rectangle with the pen outside it
    // Per pixel of the box: keep_ is all ones where the frame shows through, fill_ all
    // ones where the inside colour goes (the outline is neither: black).
    std::vector<uint32_t> keep_, fill_;
};

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

private:
    mutable RoundRectShape channelShape_, groupShape_;
};
