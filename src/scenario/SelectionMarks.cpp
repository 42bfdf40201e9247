#include "scenario/SelectionMarks.h"

#include <algorithm>

namespace {
const CellRange kWholeArray{0, 0, kSnapshotColumns - 1, kSnapshotRows - 1};
}

CellRange CellRange::Span(int col1, int row1, int col2, int row2)
{
    return CellRange{std::min(col1, col2), std::min(row1, row2), std::max(col1, col2), std::max(row1, row2)};
}

CellRange CellRange::Intersect(const CellRange& other) const
{
    CellRange r{std::max(left, other.left), std::max(top, other.top), std::min(right, other.right),
                std::min(bottom, other.bottom)};
    return r.Empty() ? CellRange{} : r;
}

SelectionMarks::SelectionMarks() : marks_(static_cast<size_t>(kSnapshotColumns) * kSnapshotRows, 0) {}

void SelectionMarks::Set(int col, int row, uint16_t value)
{
    if (col < 0 || col >= kSnapshotColumns || row < 0 || row >= kSnapshotRows)
        return;
    marks_[Index(col, row)] = value;
    if (value != 0)
        extent_.Include(col, row);
}

void SelectionMarks::Fill(const CellRange& range, uint16_t value)
{
    CellRange r = range.Intersect(kWholeArray);
    if (r.Empty())
        return;
    for (int c = r.left; c <= r.right; ++c)
        std::fill_n(&marks_[Index(c, r.top)], r.bottom - r.top + 1, value);
    if (value != 0)
        extent_.Include(r);
}

void SelectionMarks::ClearRange(const CellRange& range)
{
    CellRange r = range.Intersect(extent_);
    if (r.Empty())
        return;
    for (int c = r.left; c <= r.right; ++c)
        std::fill_n(&marks_[Index(c, r.top)], r.bottom - r.top + 1, uint16_t{0});
    if (r.left == extent_.left && r.right == extent_.right && r.top == extent_.top && r.bottom == extent_.bottom)
        extent_ = CellRange{};
}

void SelectionMarks::Clear() { ClearRange(kWholeArray); }

void SelectionMarks::ClearColumnsFrom(int first)
{
    first = std::max(0, first);
    if (extent_.Empty() || first > extent_.right)
        return;
    ClearRange(CellRange{first, 0, kSnapshotColumns - 1, kSnapshotRows - 1});
    if (!extent_.Empty())
        extent_.right = std::min(extent_.right, first - 1);
    if (extent_.right < extent_.left)
        extent_ = CellRange{};
}
