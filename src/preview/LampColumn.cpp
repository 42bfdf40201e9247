#include "preview/LampColumn.h"

#include <algorithm>
#include <cmath>

namespace {

// Fills the rounded rectangle whose corners are quarters of a cw × ch ellipse. A pixel
// belongs to it when its centre lies inside.
void FillRounded(const PixelView& frame, int x1, int y1, int x2, int y2, int cw, int ch, uint32_t pixel)
{
    if (x2 <= x1 || y2 <= y1)
        return;
    double a = std::clamp(cw, 0, x2 - x1) / 2.0;
    double b = std::clamp(ch, 0, y2 - y1) / 2.0;
    int yEnd = std::min(y2, frame.height);
    for (int y = std::max(y1, 0); y < yEnd; ++y) {
        double yc = y + 0.5;
        double dy = yc < y1 + b ? y1 + b - yc : yc > y2 - b ? yc - (y2 - b) : 0.0;
        double left = x1, right = x2;
        if (dy > 0) {
            double q = dy / b;
            double dx = a * std::sqrt(std::max(0.0, 1.0 - q * q));
            left = x1 + a - dx;
            right = x2 - a + dx;
        }
        int xs = std::max(static_cast<int>(std::ceil(left - 0.5)), 0);
        int xe = std::min(static_cast<int>(std::ceil(right - 0.5)), frame.width);
        if (xs < xe)
            std::fill(frame.Row(y) + xs, frame.Row(y) + xe, pixel);
    }
}

// Radius of a lamp: its row height, at most 0.4 of the column's width.
int LampRadius(int rowHeight, int width)
{
    return rowHeight <= 0.4 * width ? rowHeight : static_cast<int>(0.4 * width);
}

} // namespace

void DrawRoundRect(const PixelView& frame, int x1, int y1, int x2, int y2, int corner, int penWidth,
                   uint32_t fillPixel)
{
    int outside = penWidth > 1 ? penWidth / 2 : 0;
    int inside = penWidth - outside;
    FillRounded(frame, x1 - outside, y1 - outside, x2 + outside, y2 + outside, corner + 2 * outside,
                corner + 2 * outside, 0);
    FillRounded(frame, x1 + inside, y1 + inside, x2 - inside, y2 - inside, corner - 2 * inside,
                corner - 2 * inside, fillPixel);
}

void LampColumn::DrawChannel(int channel, int level, uint32_t colour) const
{
    if (channel < hiddenRows)
        return;
    const RowSpan& row = rows[channel];
    int h = row.bottom - row.top;
    int half = width / 2;
    int r = LampRadius(h, width);
    DrawRoundRect(frame, half - r, row.top, half + r, row.bottom, static_cast<int>(0.8 * h), h < 12 ? 1 : 3,
                  PixelFromColour(ScaleColour(colour, level, levelMax)));
}

void LampColumn::DrawRgb(int first, int red, int green, int blue) const
{
    if (hiddenRows > first + 2)
        return;
    const RowSpan& top = rows[first];
    int h = top.bottom - top.top;
    int half = width / 2;
    int r = LampRadius(h, width);
    DrawRoundRect(frame, half - r, top.top, half + r, rows[first + 2].bottom, static_cast<int>(0.8 * r),
                  r < 12 ? 1 : 3, PixelFromColour(LevelsColour(red, green, blue, levelMax)));
}
