#include "themes/ButtonLayout.h"

GlyphCaptionPlaces PlaceGlyphAndCaption(const GlyphCaptionInput& in)
{
    TButtonLayout layout = in.Layout;
    if (in.RightToLeft && (layout == blGlyphLeft || layout == blGlyphRight))
        layout = layout == blGlyphLeft ? blGlyphRight : blGlyphLeft;
    const LayoutPoint s{in.Content.Right - in.Content.Left, in.Content.Bottom - in.Content.Top};
    const LayoutPoint t = in.TextSize, g = in.GlyphSize;
    const bool across = layout == blGlyphLeft || layout == blGlyphRight;
    LayoutPoint glyph, text;
    if (across) {
        glyph.Y = (s.Y - g.Y + 1) / 2;
        text.Y = (s.Y - t.Y + 1) / 2;
    } else {
        glyph.X = (s.X - g.X + 1) / 2;
        text.X = (s.X - t.X + 1) / 2;
    }
    int spacing = t.X == 0 || g.X == 0 ? 0 : in.Spacing;
    int margin = in.Margin;
    // Lengths along the layout's axis.
    const int room = across ? s.X : s.Y, glyphLength = across ? g.X : g.Y, textLength = across ? t.X : t.Y;
    if (margin == -1) {
        if (spacing == -1) {
            margin = (room - (glyphLength + textLength)) / 3;
            spacing = margin;
        } else {
            margin = (room - (glyphLength + spacing + textLength) + 1) / 2;
        }
    } else if (spacing == -1) {
        spacing = (room - (margin + glyphLength) - textLength) / 2;
    }
    switch (layout) {
    case blGlyphLeft:
        glyph.X = margin;
        text.X = glyph.X + g.X + spacing;
        break;
    case blGlyphRight:
        glyph.X = s.X - margin - g.X;
        text.X = glyph.X - spacing - t.X;
        break;
    case blGlyphTop:
        glyph.Y = margin;
        text.Y = glyph.Y + g.Y + spacing;
        break;
    case blGlyphBottom:
        glyph.Y = s.Y - margin - g.Y;
        text.Y = glyph.Y - spacing - t.Y;
        break;
    }
    GlyphCaptionPlaces places;
    places.Glyph = LayoutPoint{glyph.X + in.Content.Left, glyph.Y + in.Content.Top};
    const int left = text.X + in.Content.Left, top = text.Y + in.Content.Top;
    places.Text = LayoutRect{left, top, left + t.X, top + t.Y};
    return places;
}
