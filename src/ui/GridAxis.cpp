#include "ui/GridAxis.h"

#include <algorithm>

void GridAxis::SetCount(int count, int defaultSize)
{
    count = std::max(1, count);
    sizes_.resize(static_cast<size_t>(count), defaultSize);
    Fixed = std::min(Fixed, count - 1);
    First = std::max(Fixed, std::min(First, count - 1));
}

bool GridAxis::SetSize(int index, int size)
{
    size = std::max(0, size);
    if (index < 0 || index >= Count() || sizes_[static_cast<size_t>(index)] == size)
        return false;
    sizes_[static_cast<size_t>(index)] = size;
    return true;
}

void GridAxis::SetAllSizes(int size) { std::fill(sizes_.begin(), sizes_.end(), std::max(0, size)); }

void GridAxis::SetSizes(int first, const std::vector<int>& sizes)
{
    for (size_t k = 0; k < sizes.size(); ++k) {
        long long i = static_cast<long long>(first) + static_cast<long long>(k);
        if (i < 0)
            continue;
        if (i >= Count())
            break;
        sizes_[static_cast<size_t>(i)] = std::max(0, sizes[k]);
    }
}

int GridAxis::StartOf(int index, int extent) const
{
    if (index < 0 || index >= Count() || (index >= Fixed && index < First))
        return -1;
    int pos = 0;
    for (int i = Begin(); i < index; i = Next(i)) {
        pos += sizes_[static_cast<size_t>(i)] + Line;
        if (pos > extent)
            return -1;
    }
    return pos;
}

int GridAxis::IndexAt(int pos, int extent) const
{
    if (pos < 0 || pos >= extent)
        return -1;
    int start = 0;
    for (int i = Begin(); i < Count() && start <= pos; i = Next(i)) {
        int end = start + sizes_[static_cast<size_t>(i)] + Line;
        if (pos < end)
            return i;
        start = end;
    }
    return -1;
}

int GridAxis::FixedExtent() const
{
    int room = 0;
    for (int i = 0; i < Fixed && i < Count(); ++i)
        room += sizes_[static_cast<size_t>(i)] + Line;
    return room;
}

int GridAxis::VisibleCount(int extent) const
{
    int room = extent - FixedExtent();
    int n = 0;
    for (int i = First; i < Count(); ++i) {
        room -= sizes_[static_cast<size_t>(i)] + Line;
        if (room < -Line)
            break;
        ++n;
    }
    return n;
}

int GridAxis::MaxFirst(int extent) const
{
    int room = extent - FixedExtent();
    int i = Count() - 1;
    room -= sizes_[static_cast<size_t>(i)] + Line;
    while (i > Fixed && room - (sizes_[static_cast<size_t>(i - 1)] + Line) >= -Line) {
        --i;
        room -= sizes_[static_cast<size_t>(i)] + Line;
    }
    return std::max(Fixed, i);
}
