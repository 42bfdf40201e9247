#pragma once
// The places of a themed button's glyph and caption inside its content rectangle.
// Portable: the caption is measured by the caller.
#include "ui/ButtonTypes.h"

struct LayoutPoint {
    int X = 0, Y = 0;
};

struct LayoutRect {
    int Left = 0, Top = 0, Right = 0, Bottom = 0;
};

struct GlyphCaptionPlaces {
    LayoutPoint Glyph;  // top-left corner of the glyph image
    LayoutRect Text;    // the caption's rectangle (empty for an empty caption)
};

struct GlyphCaptionInput {
    LayoutRect Content;       // where glyph and caption go
    LayoutPoint TextSize;     // the measured caption; 0 x 0 for an empty caption
    LayoutPoint GlyphSize;    // one glyph image; 0 x 0 without a glyph
    TButtonLayout Layout = blGlyphLeft;
    int Margin = -1;          // from the glyph's edge; -1 centres
    int Spacing = 4;          // between glyph and caption; -1 spreads evenly
    bool RightToLeft = false; // right-to-left reading: left and right exchange
};

// Every division rounds towards zero. A margin of -1 centres the pair (with a spacing
// of -1, the two gaps and the margins are equal); a spacing of -1 with a margin puts
// the caption midway in the room left. Without a caption or a glyph the spacing is 0.
GlyphCaptionPlaces PlaceGlyphAndCaption(const GlyphCaptionInput& in);
