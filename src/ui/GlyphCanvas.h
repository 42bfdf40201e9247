#pragma once
// Glyphs of speed buttons and menu pictures drawn in code: 16 x 16 bitmaps whose
// bottom-left pixel, the transparent colour, is what the button leaves see-through.
#include "ui/Graphics.h"

constexpr TColor kGlyphTransparent = 0xFF00FF;
constexpr TColor kGlyphInk = 0x404040;

// Makes glyph 16 x 16, cleared to the transparent colour, with a solid brush and a
// one-pixel pen of ink; returns its canvas to draw on.
TCanvas& BlankGlyph(TBitmap* glyph, TColor ink = kGlyphInk);
