#pragma once
// 32-bit pixel buffers as the preview draws them: rows top to bottom, each pixel
// 0x00RRGGBB (the layout of a 32-bit device-independent bitmap), while the colours of
// the configuration are 0x00BBGGRR values. Also the one place where a channel's level
// becomes a colour.
#include <cstddef>
#include <cstdint>

#include "ui/ColourPixel.h"

struct PixelView {
    uint32_t* pixels = nullptr;  // not owned; rows follow each other without gaps
    int width = 0;
    int height = 0;

    uint32_t* Row(int y) const { return pixels + static_cast<size_t>(y) * static_cast<size_t>(width); }
};

// An 8-bit component at a level: trunc(component × level / levelMax). Levels below 0
// count as 0 and levels above levelMax as levelMax, so a damaged cell never gives a
// colour brighter than full or one with bits outside its component.
int ScaleComponent(int component, int level, int levelMax);

// Each of the three components of colour (0x00BBGGRR) scaled to the level.
uint32_t ScaleColour(uint32_t colour, int level, int levelMax);

// The colour of an RGB group's lamp: each level scaled to a full component.
uint32_t LevelsColour(int red, int green, int blue, int levelMax);
