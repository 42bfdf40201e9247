#include "ui/ImgList.h"

#include <algorithm>
#include <cstdint>

void TImageList::SetWidth(int value)
{
    width_ = std::max(1, value);
    Clear();
}

void TImageList::SetHeight(int value)
{
    height_ = std::max(1, value);
    Clear();
}

int TImageList::Add(TBitmap* bitmap)
{
    if (!bitmap || bitmap->Empty())
        return -1;
    int first = Count();
    int pieces = std::max(1, bitmap->Width() / width_);
    HDC src = bitmap->Canvas()->Handle();
    for (int i = 0; i < pieces; ++i) {
        auto image = std::make_unique<TBitmap>();
        image->SetSize(width_, height_);
        HDC dst = image->Canvas()->Handle();
        // What a smaller source leaves uncovered gets the source's transparent colour.
        COLORREF key = GetPixel(src, i * width_, bitmap->Height() - 1);
        TBrushHandle fill(CreateSolidBrush(key));
        RECT all{0, 0, width_, height_};
        FillRect(dst, &all, fill.Get());
        BitBlt(dst, 0, 0, std::min(width_, bitmap->Width() - i * width_), std::min(height_, bitmap->Height()), src,
               i * width_, 0, SRCCOPY);
        images_.push_back(std::move(image));
    }
    return first;
}

void TImageList::Draw(TCanvas* canvas, int x, int y, int index)
{
    if (!canvas || index < 0 || index >= Count())
        return;
    TBitmap* image = images_[static_cast<size_t>(index)].get();
    HDC src = image->Canvas()->Handle();
    COLORREF key = GetPixel(src, 0, height_ - 1);
    GdiTransparentBlt(canvas->Handle(), x, y, width_, height_, src, 0, 0, width_, height_, key);
}

HBITMAP TImageList::AlphaBitmap(int index)
{
    if (index < 0 || index >= Count())
        return nullptr;
    if (alpha_.size() < images_.size())
        alpha_.resize(images_.size());
    TBitmapHandle& made = alpha_[static_cast<size_t>(index)];
    if (!made) {
        // A bitmap of its own, selected into no DC: a menu draws an item's bitmap by
        // selecting it into its own DC, which fails for one that a canvas holds.
        uint32_t* to = nullptr;
        made.Reset(CreateTopDownDib(width_, height_, to));
        if (!made)
            return nullptr;
        TBitmap* image = images_[static_cast<size_t>(index)].get();
        uint32_t key = image->ScanLine(height_ - 1)[0] & 0xFFFFFF;
        for (int y = 0; y < height_; ++y) {
            const uint32_t* from = image->ScanLine(y);
            for (int x = 0; x < width_; ++x) {
                uint32_t rgb = from[x] & 0xFFFFFF;
                *to++ = rgb == key ? 0 : (0xFF000000u | rgb);  // opaque pixels need no premultiplying
            }
        }
        GdiFlush();
    }
    return made.Get();
}
