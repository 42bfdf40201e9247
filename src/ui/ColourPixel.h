#pragma once
// Colours are stored 0x00BBGGRR, the pixels of our 32-bit bitmaps 0x00RRGGBB.
#include <cstdint>

// A colour value 0x00BBGGRR as a pixel 0x00RRGGBB (and back: the swap is its own inverse).
constexpr uint32_t PixelFromColour(uint32_t colour)
{
    return ((colour & 0xFFu) << 16) | (colour & 0xFF00u) | ((colour >> 16) & 0xFFu);
}

// A pixel 0x00RRGGBB as a colour value 0x00BBGGRR.
constexpr uint32_t ColourFromPixel(uint32_t pixel) { return PixelFromColour(pixel); }
