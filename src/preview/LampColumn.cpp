#include "preview/LampColumn.h"

#include <algorithm>
#include <cmath>

namespace {

// The pixels [left, right) of row y inside the rounded rectangle (x1, y1)-(x2, y2) whose
// corners are quarters of a cw × ch ellipse: a pixel is inside when its centre is.
void RoundedSpan(int x1, int y1, int x2, int y2, int cw, int ch, int y, int& left, int& right)
{
    left = right = x1;
    if (x2 <= x1 || y < y1 || y >= y2)
        return;
    double a = std::clamp(cw, 0, x2 - x1) / 2.0;
    double b = std::clamp(ch, 0, y2 - y1) / 2.0;
    double yc = y + 0.5;
    double dy = yc < y1 + b ? y1 + b - yc : yc > y2 - b ? yc - (y2 - b) : 0.0;
    double l = x1, r = x2;
    if (dy > 0) {
        double q = dy / b;
        double dx = a * std::sqrt(std::max(0.0, 1.0 - q * q));
        l = x1 + a - dx;
        r = x2 - a + dx;
    }
    left = static_cast<int>(std::ceil(l - 0.5));
    right = std::max(left, static_cast<int>(std::ceil(r - 0.5)));
}

// True when a lamp between top and bottom (its pen reaching a pixel further) misses the
// frame: most rows of a long channel list lie below it.
bool OutOfFrame(const PixelView& frame, int top, int bottom) { return top - 1 >= frame.height || bottom + 1 <= 0; }

// Radius of a lamp: its row height, at most 0.4 of the column's width.
int LampRadius(int rowHeight, int width)
{
    return rowHeight <= 0.4 * width ? rowHeight : static_cast<int>(0.4 * width);
}

} // namespace

void RoundRectShape::Make(int width, int height, int corner, int penWidth)
{
    if (width == width_ && height == height_ && corner == corner_ && penWidth == penWidth_)
        return;
    width_ = width;
    height_ = height;
    corner_ = corner;
    penWidth_ = penWidth;
    keep_.clear();
    fill_.clear();
    if (width <= 0 || height <= 0)
        return;
    int outside = penWidth > 1 ? penWidth / 2 : 0;
    int inside = penWidth - outside;
    outside_ = outside;
    boxWidth_ = width + 2 * outside;
    for (int y = -outside; y < height + outside; ++y) {
        int outerLeft, outerRight, innerLeft, innerRight;
        RoundedSpan(-outside, -outside, width + outside, height + outside, corner + 2 * outside,
                    corner + 2 * outside, y, outerLeft, outerRight);
        RoundedSpan(inside, inside, width - inside, height - inside, corner - 2 * inside, corner - 2 * inside, y,
                    innerLeft, innerRight);
        for (int x = -outside; x < width + outside; ++x) {
            bool covered = x >= outerLeft && x < outerRight;
            keep_.push_back(covered ? 0u : ~0u);
            fill_.push_back(covered && x >= innerLeft && x < innerRight ? ~0u : 0u);
        }
    }
}

void RoundRectShape::Draw(const PixelView& frame, int x1, int y1, uint32_t fillPixel) const
{
    int left = x1 - outside_, top = y1 - outside_;
    int rows = boxWidth_ > 0 ? static_cast<int>(keep_.size()) / boxWidth_ : 0;
    int firstRow = std::max(0, -top), lastRow = std::min(rows, frame.height - top);
    int firstColumn = std::max(0, -left), lastColumn = std::min(boxWidth_, frame.width - left);
    for (int k = firstRow; k < lastRow; ++k) {
        const uint32_t* keep = &keep_[static_cast<size_t>(k) * static_cast<size_t>(boxWidth_)];
        const uint32_t* fill = &fill_[static_cast<size_t>(k) * static_cast<size_t>(boxWidth_)];
        uint32_t* out = frame.Row(top + k) + left;
        for (int i = firstColumn; i < lastColumn; ++i)
            out[i] = (out[i] & keep[i]) | (fill[i] & fillPixel);
    }
}

void LampColumn::DrawChannel(int channel, int level, uint32_t colour) const
{
    if (channel < hiddenRows)
        return;
    const RowSpan& row = rows[channel];
    if (OutOfFrame(frame, row.top, row.bottom))
        return;
    int h = row.bottom - row.top;
    int half = width / 2;
    int r = LampRadius(h, width);
    channelShape_.Make(2 * r, h, static_cast<int>(0.8 * h), h < 12 ? 1 : 3);
    channelShape_.Draw(frame, half - r, row.top, PixelFromColour(ScaleColour(colour, level, levelMax)));
}

void LampColumn::DrawRgb(int first, int red, int green, int blue) const
{
    if (hiddenRows > first + 2)
        return;
    const RowSpan& top = rows[first];
    if (OutOfFrame(frame, top.top, rows[first + 2].bottom))
        return;
    int h = top.bottom - top.top;
    int half = width / 2;
    int r = LampRadius(h, width);
    groupShape_.Make(2 * r, rows[first + 2].bottom - top.top, static_cast<int>(0.8 * r), r < 12 ? 1 : 3);
    groupShape_.Draw(frame, half - r, top.top, PixelFromColour(LevelsColour(red, green, blue, levelMax)));
}
