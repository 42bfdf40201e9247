#include "preview/Pixels.h"

int ScaleComponent(int component, int level, int levelMax)
{
    if (levelMax <= 0 || level <= 0)
        return 0;
    if (level > levelMax)
        level = levelMax;
    return (component & 0xFF) * level / levelMax;
}

uint32_t ScaleColour(uint32_t colour, int level, int levelMax)
{
    int r = ScaleComponent(static_cast<int>(colour & 0xFF), level, levelMax);
    int g = ScaleComponent(static_cast<int>((colour >> 8) & 0xFF), level, levelMax);
    int b = ScaleComponent(static_cast<int>((colour >> 16) & 0xFF), level, levelMax);
    return static_cast<uint32_t>(r | g << 8 | b << 16);
}

uint32_t LevelsColour(int red, int green, int blue, int levelMax)
{
    int r = ScaleComponent(255, red, levelMax);
    int g = ScaleComponent(255, green, levelMax);
    int b = ScaleComponent(255, blue, levelMax);
    return static_cast<uint32_t>(r | g << 8 | b << 16);
}
