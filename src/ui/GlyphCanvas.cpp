#include "ui/GlyphCanvas.h"

TCanvas& BlankGlyph(TBitmap* glyph, TColor ink)
{
    glyph->SetSize(16, 16);
    TCanvas& c = *glyph->Canvas();
    c.Brush.Color = kGlyphTransparent;
    c.Brush.Style = TBrushStyle::bsSolid;
    c.FillRect(Rect(0, 0, 16, 16));
    c.Pen.Color = ink;
    c.Pen.Width = 1;
    return c;
}
