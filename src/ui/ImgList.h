#pragma once
// A list of equally sized images, drawn by index.
#include <memory>
#include <vector>

#include "ui/Component.h"
#include "ui/Graphics.h"

class TImageList : public TComponent {
public:
    explicit TImageList(TComponent* owner) : TComponent(owner) {}

    int Width() const { return width_; }
    int Height() const { return height_; }
    // Changing the size empties the list.
    void SetWidth(int value);
    void SetHeight(int value);
    int Count() const { return static_cast<int>(images_.size()); }
    // Adds the images of a bitmap (one per Width pixels, at least one); returns the
    // index of the first one, or -1 for an empty bitmap.
    int Add(TBitmap* bitmap);
    void Clear()
    {
        images_.clear();
        alpha_.clear();
    }
    // Draws image index at (x, y); its bottom-left pixel's colour is transparent.
    // An index outside the list draws nothing.
    void Draw(TCanvas* canvas, int x, int y, int index);
    // The image as a 32-bit bitmap whose transparent pixels have alpha 0 (as menus draw
    // it), or null for an index outside the list. Owned by the list.
    HBITMAP AlphaBitmap(int index);

private:
    int width_ = 16, height_ = 16;
    std::vector<std::unique_ptr<TBitmap>> images_;
    std::vector<TBitmapHandle> alpha_;  // made on first use, by index
};
