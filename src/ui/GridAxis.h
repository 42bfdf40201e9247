#pragma once
// One axis of a grid, its columns or its rows: the size of each, how many at the start
// are fixed (always in view), the first scrolled one in view, and the width of the line
// after each. Every question about what is in view walks only what is in view, so a
// grid of thousands of columns answers as fast as a small one. Portable.
#include <cstddef>
#include <vector>

class GridAxis {
public:
    int Count() const { return static_cast<int>(sizes_.size()); }
    // Items added get defaultSize; Fixed and First are kept within the new count.
    void SetCount(int count, int defaultSize);
    int Size(int index) const { return sizes_.at(static_cast<std::size_t>(index)); }
    // False (and nothing changes) when the index is outside the axis or the size is the
    // same; a negative size counts as 0.
    bool SetSize(int index, int size);
    void SetAllSizes(int size);
    // Sizes of items first, first + 1, ... at once; those past the end are ignored.
    void SetSizes(int first, const std::vector<int>& sizes);

    int Fixed = 1;  // items 0 .. Fixed - 1 never scroll
    int First = 1;  // the first scrolled item in view, >= Fixed
    int Line = 1;   // pixels between two items

    // Calls visit(index, start) for every item in view, fixed ones first, while its
    // start lies below extent; returns the end of the last one visited (its line
    // included).
    template <class Visit>
    int ForEachInView(int extent, Visit visit) const
    {
        int pos = 0;
        for (int i = Begin(); i < Count() && pos < extent; i = Next(i)) {
            visit(i, pos);
            pos += sizes_[static_cast<std::size_t>(i)] + Line;
        }
        return pos;
    }
    // Start of an item in view, or -1 when it is scrolled out of view or starts past
    // extent.
    int StartOf(int index, int extent) const;
    // The item in view at a position, or -1.
    int IndexAt(int pos, int extent) const;
    // Scrolled items wholly in view.
    int VisibleCount(int extent) const;
    // The largest First that still fills the view.
    int MaxFirst(int extent) const;
    // Pixels the fixed items take, their lines included.
    int FixedExtent() const;

private:
    int Begin() const { return Fixed > 0 ? 0 : First; }
    int Next(int i) const { return i + 1 == Fixed ? (First > i + 1 ? First : i + 1) : i + 1; }

    std::vector<int> sizes_;
};
