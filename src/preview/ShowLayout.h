#pragma once
// The frames the show window lights: a background frame and one mask per channel, white
// where the channel lights the image at full level, black where it does not, grey for
// partial light. They come from a layout picture or are generated as a grid of square
// lamps. Each mask is kept only within the bounding box of its lit pixels, so a tall
// picture costs its lit areas and not its whole strip, and a frame is composed by
// touching only those boxes.
#include <cstdint>
#include <vector>

#include "preview/PictureRows.h"
#include "preview/Pixels.h"
#include "setup/ControllerModels.h"

class ShowLayout {
public:
    // Generated lamps, 20 to a row, each a 10-pixel white square in a 12-pixel cell; the
    // three channels of an RGB group light the same square.
    static ShowLayout Generate(int channels, const ChannelRecord* table);

    // A layout picture: its frames stacked top to bottom and one column of marker pixels
    // at the right edge, whose first non-black pixel below row 0 gives the frame height.
    // Keeps the masks of at most maxChannels channels. False when the picture has no
    // marker, no frame column, or cannot be read.
    static bool FromPicture(PictureRows& picture, int maxChannels, ShowLayout& layout);

    int FrameWidth() const { return frameWidth_; }
    int FrameHeight() const { return frameHeight_; }
    // Channel frames in the layout (a picture may have more or fewer than are kept).
    int ChannelCount() const { return channelCount_; }
    // Channels whose masks are kept.
    int MaskCount() const { return static_cast<int>(masks_.size()); }

    // The image: the background, and for each of count channels its colour scaled to its
    // level, ANDed with its mask and ORed into the image. Composes the part of the frame
    // that fits in target.
    void Compose(const PixelView& target, const uint32_t* colours, const int* levels, int count,
                 int levelMax) const;

    // The pixel of a channel's mask (frame channel + 1) or of the background (channel -1).
    uint32_t FramePixel(int channel, int x, int y) const;

private:
    struct Mask {
        int left = 0, top = 0, width = 0, height = 0;
        size_t offset = 0;  // first pixel in maskPixels_
    };
    void AddMask(int channel, int left, int top, int width, int height);

    int frameWidth_ = 0, frameHeight_ = 0;
    int channelCount_ = 0;
    std::vector<uint32_t> background_;
    std::vector<Mask> masks_;
    std::vector<uint32_t> maskPixels_;
};

// The size the frame is drawn at in a panel: as large as fits, keeping its aspect ratio;
// 0 by 0 for an empty frame.
struct DrawSize {
    int width = 0, height = 0;
};
DrawSize FitFrame(int panelWidth, int panelHeight, int frameWidth, int frameHeight);
