// The show window's picture reader and layout on any bytes, read as the program reads a
// layout picture: it never raises, every pixel it hands out is a colour, and a layout it
// accepts has the frame geometry its marker column gives and can be composed.
#include <vector>

#include "FuzzFile.h"
#include "preview/BmpPicture.h"
#include "preview/ShowLayout.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    TFileStream stream(FuzzFile(".bmp", data, size), fmOpenRead | fmShareDenyWrite);
    BmpPicture picture;
    std::string error;
    if (!picture.Open(stream, error)) {
        FUZZ_CHECK(!error.empty());
        return 0;
    }
    FUZZ_CHECK(picture.Width() >= 1 && picture.Height() >= 1);
    std::vector<uint32_t> row(static_cast<size_t>(picture.Width()));
    if (picture.ReadRow(picture.Height() - 1, row.data()))
        for (uint32_t pixel : row)
            FUZZ_CHECK((pixel & 0xFF000000u) == 0);

    ShowLayout layout;
    if (!ShowLayout::FromPicture(picture, kMaxChannels, layout))
        return 0;
    FUZZ_CHECK(layout.FrameWidth() == picture.Width() - 1);
    FUZZ_CHECK(layout.FrameHeight() >= 1 && layout.FrameHeight() < picture.Height());
    FUZZ_CHECK(layout.ChannelCount() == picture.Height() / layout.FrameHeight() - 1);
    FUZZ_CHECK(layout.MaskCount() <= kMaxChannels && layout.MaskCount() <= layout.ChannelCount());
    int n = layout.MaskCount();
    std::vector<uint32_t> colours(static_cast<size_t>(n), 0xFFFFFF);
    std::vector<int> levels(static_cast<size_t>(n), 1);
    std::vector<uint32_t> image(64 * 64);
    layout.Compose(PixelView{image.data(), 64, 64}, colours.data(), levels.data(), n, 1);
    return 0;
}
