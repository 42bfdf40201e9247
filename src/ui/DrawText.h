#pragma once
// Text drawing shared by the controls that paint their own captions.
#include <windows.h>

#include <string>

#include "ui/Graphics.h"

// Draws text (Windows-1251) with DrawTextW flags in the font and colour given, on a
// transparent background; the DC's font, colour and mode are restored. With DT_CALCRECT
// it only measures, updating r. Returns the text height.
int DrawCaption(HDC dc, const std::string& text, RECT& r, unsigned flags, const TFont& font, TColor color);
// The size of text in font (DT_CALCRECT with flags; for word wrap, r's width limits it).
SIZE MeasureCaption(const std::string& text, const TFont& font, unsigned flags, int wrapWidth = 0);
