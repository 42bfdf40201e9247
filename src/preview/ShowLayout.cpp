#include "preview/ShowLayout.h"

#include <algorithm>
#include <cstring>

#include "preview/LampWalk.h"

namespace {

constexpr int kLampsPerRow = 20;
constexpr int kCell = 12;
constexpr int kLampSide = 10;
constexpr uint32_t kRgbBits = 0x00FFFFFF;

} // namespace

void ShowLayout::AddMask(int channel, int left, int top, int width, int height)
{
    Mask& m = masks_[static_cast<size_t>(channel)];
    m = Mask{left, top, width, height, maskPixels_.size()};
    maskPixels_.resize(maskPixels_.size() + static_cast<size_t>(width) * static_cast<size_t>(height));
}

ShowLayout ShowLayout::Generate(int channels, const ChannelRecord* table)
{
    ShowLayout layout;
    int n = std::clamp(channels, 0, kMaxChannels);
    int lamps = 0;
    ForEachLamp(n, table, [&](int, bool) { ++lamps; });
    int rows = std::max(1, (lamps + kLampsPerRow - 1) / kLampsPerRow);
    int cols = std::min(lamps, kLampsPerRow);
    layout.frameWidth_ = cols * kCell;
    layout.frameHeight_ = rows * kCell;
    layout.channelCount_ = n;
    layout.background_.assign(static_cast<size_t>(layout.frameWidth_) * static_cast<size_t>(layout.frameHeight_), 0);
    layout.masks_.resize(static_cast<size_t>(n));
    int j = 0;
    ForEachLamp(n, table, [&](int first, bool group) {
        int left = j % cols * kCell + 1;
        int top = j / cols * kCell + 1;
        for (int c = first; c < first + (group ? 3 : 1); ++c)
            layout.AddMask(c, left, top, kLampSide, kLampSide);
        ++j;
    });
    std::fill(layout.maskPixels_.begin(), layout.maskPixels_.end(), kRgbBits);
    return layout;
}

bool ShowLayout::FromPicture(PictureRows& picture, int maxChannels, ShowLayout& layout)
{
    int w = picture.Width(), h = picture.Height();
    if (w < 2 || h < 2)
        return false;
    std::vector<uint32_t> row(static_cast<size_t>(w));
    int frameHeight = 0;
    for (int y = 1; y < h && frameHeight == 0; ++y) {
        if (!picture.ReadRow(y, row.data()))
            return false;
        if (row[static_cast<size_t>(w - 1)] & kRgbBits)
            frameHeight = y;
    }
    if (frameHeight == 0)
        return false;

    ShowLayout l;
    int fw = w - 1;
    l.frameWidth_ = fw;
    l.frameHeight_ = frameHeight;
    l.channelCount_ = h / frameHeight - 1;
    l.background_.resize(static_cast<size_t>(fw) * static_cast<size_t>(frameHeight));
    for (int y = 0; y < frameHeight; ++y) {
        if (!picture.ReadRow(y, row.data()))
            return false;
        uint32_t* out = &l.background_[static_cast<size_t>(y) * static_cast<size_t>(fw)];
        for (int x = 0; x < fw; ++x)
            out[x] = row[static_cast<size_t>(x)] & kRgbBits;
    }

    int kept = std::clamp(std::min(l.channelCount_, maxChannels), 0, l.channelCount_);
    l.masks_.resize(static_cast<size_t>(kept));
    for (int c = 0; c < kept; ++c) {
        // First the bounding box of the lit pixels, then the pixels inside it.
        int top = (c + 1) * frameHeight;
        int minX = fw, maxX = -1, minY = frameHeight, maxY = -1;
        for (int y = 0; y < frameHeight; ++y) {
            if (!picture.ReadRow(top + y, row.data()))
                return false;
            for (int x = 0; x < fw; ++x) {
                if (row[static_cast<size_t>(x)] & kRgbBits) {
                    minX = std::min(minX, x);
                    maxX = std::max(maxX, x);
                    minY = std::min(minY, y);
                    maxY = y;
                }
            }
        }
        if (maxX < 0)
            continue;
        l.AddMask(c, minX, minY, maxX - minX + 1, maxY - minY + 1);
        const Mask& m = l.masks_[static_cast<size_t>(c)];
        for (int y = 0; y < m.height; ++y) {
            if (!picture.ReadRow(top + m.top + y, row.data()))
                return false;
            uint32_t* out = &l.maskPixels_[m.offset + static_cast<size_t>(y) * static_cast<size_t>(m.width)];
            for (int x = 0; x < m.width; ++x)
                out[x] = row[static_cast<size_t>(m.left + x)] & kRgbBits;
        }
    }
    layout = std::move(l);
    return true;
}

void ShowLayout::Compose(const PixelView& target, const uint32_t* colours, const int* levels, int count,
                         int levelMax) const
{
    int w = std::min(frameWidth_, target.width);
    int h = std::min(frameHeight_, target.height);
    if (w <= 0 || h <= 0)
        return;
    for (int y = 0; y < h; ++y)
        std::memcpy(target.Row(y), &background_[static_cast<size_t>(y) * static_cast<size_t>(frameWidth_)],
                    static_cast<size_t>(w) * sizeof(uint32_t));
    int n = std::min(count, MaskCount());
    for (int c = 0; c < n; ++c) {
        uint32_t light = PixelFromColour(ScaleColour(colours[c], levels[c], levelMax));
        const Mask& m = masks_[static_cast<size_t>(c)];
        // A dark channel or an empty mask adds nothing to the image.
        if (light == 0 || m.width == 0)
            continue;
        int right = std::min(m.left + m.width, w);
        int bottom = std::min(m.top + m.height, h);
        int width = right - m.left;
        for (int y = m.top; y < bottom; ++y) {
            // The image and the masks never overlap: saying so lets the loop run on vectors.
            const uint32_t* __restrict mask =
                &maskPixels_[m.offset + static_cast<size_t>(y - m.top) * static_cast<size_t>(m.width)];
            uint32_t* __restrict out = target.Row(y) + m.left;
            for (int x = 0; x < width; ++x)
                out[x] |= light & mask[x];
        }
    }
}

uint32_t ShowLayout::FramePixel(int channel, int x, int y) const
{
    if (x < 0 || y < 0 || x >= frameWidth_ || y >= frameHeight_)
        return 0;
    if (channel < 0)
        return background_[static_cast<size_t>(y) * static_cast<size_t>(frameWidth_) + static_cast<size_t>(x)];
    if (channel >= MaskCount())
        return 0;
    const Mask& m = masks_[static_cast<size_t>(channel)];
    if (x < m.left || y < m.top || x >= m.left + m.width || y >= m.top + m.height)
        return 0;
    return maskPixels_[m.offset + static_cast<size_t>(y - m.top) * static_cast<size_t>(m.width) +
                       static_cast<size_t>(x - m.left)];
}

DrawSize FitFrame(int panelWidth, int panelHeight, int frameWidth, int frameHeight)
{
    if (frameWidth <= 0 || frameHeight <= 0)
        return DrawSize{};
    double sx = static_cast<double>(panelWidth) / frameWidth;
    double sy = static_cast<double>(panelHeight) / frameHeight;
    if (sx < sy)
        return DrawSize{panelWidth, static_cast<int>(frameHeight * sx)};
    return DrawSize{static_cast<int>(frameWidth * sy), panelHeight};
}
