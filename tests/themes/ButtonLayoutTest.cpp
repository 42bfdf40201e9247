// The places of a themed button's glyph and caption.
#include <gtest/gtest.h>

#include "themes/ButtonLayout.h"

namespace {

GlyphCaptionInput Button(int width, int height, LayoutPoint text, LayoutPoint glyph)
{
    GlyphCaptionInput in;
    in.Content = LayoutRect{3, 4, 3 + width, 4 + height};
    in.TextSize = text;
    in.GlyphSize = glyph;
    return in;
}

} // namespace

TEST(ButtonLayout, GlyphLeftWithMarginAndSpacingMinusOneSpreadsThreeEqualGaps)
{
    GlyphCaptionInput in = Button(100, 20, {40, 13}, {16, 16});
    in.Margin = -1;
    in.Spacing = -1;
    GlyphCaptionPlaces p = PlaceGlyphAndCaption(in);
    int gap = (100 - 16 - 40) / 3;  // 14
    EXPECT_EQ(p.Glyph.X, 3 + gap);
    EXPECT_EQ(p.Text.Left, 3 + gap + 16 + gap);
    EXPECT_EQ(p.Text.Right - p.Text.Left, 40);
    EXPECT_EQ(p.Glyph.Y, 4 + (20 - 16 + 1) / 2);
    EXPECT_EQ(p.Text.Top, 4 + (20 - 13 + 1) / 2);
}

TEST(ButtonLayout, CentredPairKeepsTheSpacingGiven)
{
    GlyphCaptionInput in = Button(101, 20, {40, 13}, {16, 16});
    in.Spacing = 4;
    GlyphCaptionPlaces p = PlaceGlyphAndCaption(in);
    int margin = (101 - (16 + 4 + 40) + 1) / 2;  // rounds up on an odd rest
    EXPECT_EQ(p.Glyph.X, 3 + margin);
    EXPECT_EQ(p.Text.Left, p.Glyph.X + 16 + 4);
    // With a margin and spacing -1 the caption sits midway in the room left.
    in.Margin = 5;
    in.Spacing = -1;
    p = PlaceGlyphAndCaption(in);
    EXPECT_EQ(p.Glyph.X, 3 + 5);
    EXPECT_EQ(p.Text.Left, p.Glyph.X + 16 + (101 - (5 + 16) - 40) / 2);
}

TEST(ButtonLayout, WithoutCaptionOrGlyphTheSpacingIsZero)
{
    GlyphCaptionInput glyphOnly = Button(30, 30, {0, 0}, {16, 16});
    glyphOnly.Spacing = 10;
    GlyphCaptionPlaces p = PlaceGlyphAndCaption(glyphOnly);
    EXPECT_EQ(p.Glyph.X, 3 + (30 - 16 + 1) / 2);
    EXPECT_EQ(p.Text.Left, p.Text.Right);  // empty caption rectangle
    GlyphCaptionInput captionOnly = Button(60, 20, {30, 13}, {0, 0});
    captionOnly.Spacing = 10;
    p = PlaceGlyphAndCaption(captionOnly);
    EXPECT_EQ(p.Text.Left, 3 + (60 - 30 + 1) / 2);
}

TEST(ButtonLayout, RightToLeftReadingPutsALeftGlyphOnTheRight)
{
    GlyphCaptionInput in = Button(100, 20, {40, 13}, {16, 16});
    in.Margin = 2;
    GlyphCaptionPlaces ltr = PlaceGlyphAndCaption(in);
    EXPECT_EQ(ltr.Glyph.X, 3 + 2);
    in.RightToLeft = true;
    GlyphCaptionPlaces rtl = PlaceGlyphAndCaption(in);
    EXPECT_EQ(rtl.Glyph.X, 3 + 100 - 2 - 16);
    EXPECT_EQ(rtl.Text.Right, rtl.Glyph.X - 4);
}

TEST(ButtonLayout, TopAndBottomGlyphsStackWithTheCaption)
{
    GlyphCaptionInput in = Button(60, 50, {30, 13}, {16, 16});
    in.Layout = blGlyphTop;
    in.Margin = 3;
    in.Spacing = 2;
    GlyphCaptionPlaces top = PlaceGlyphAndCaption(in);
    EXPECT_EQ(top.Glyph.X, 3 + (60 - 16 + 1) / 2);
    EXPECT_EQ(top.Glyph.Y, 4 + 3);
    EXPECT_EQ(top.Text.Top, 4 + 3 + 16 + 2);
    EXPECT_EQ(top.Text.Left, 3 + (60 - 30 + 1) / 2);
    in.Layout = blGlyphBottom;
    GlyphCaptionPlaces bottom = PlaceGlyphAndCaption(in);
    EXPECT_EQ(bottom.Glyph.Y, 4 + 50 - 3 - 16);
    EXPECT_EQ(bottom.Text.Bottom, bottom.Glyph.Y - 2);
}
