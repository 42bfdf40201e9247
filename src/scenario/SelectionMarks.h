#pragma once
// The selection of the step grid: one mark per cell, [column][row] like the scenario's
// cells. 0 not selected, 1 selected, 2 selected before the current drag step. Besides
// the cells' own marks, [c][1] (the time row) nonzero means that column c holds a
// selected cell or is a selected step, and [1][r] nonzero means that channel row r is a
// selected channel when the selection is one of channels.
//
// The marks remember the range of cells that may hold a nonzero mark, so clearing,
// dragging and applying an effect walk that range instead of all five million cells.
#include <algorithm>
#include <cstdint>
#include <vector>

#include "scenario/ScenarioSnapshot.h"

// A rectangle of cells, both ends included; empty while right < left.
struct CellRange {
    int left = 0, top = 0, right = -1, bottom = -1;

    static CellRange Span(int col1, int row1, int col2, int row2);
    bool Empty() const { return right < left || bottom < top; }
    bool Contains(int col, int row) const { return col >= left && col <= right && row >= top && row <= bottom; }
    // Inline: the edits call them for every cell or column they touch.
    void Include(int col, int row)
    {
        if (Empty()) {
            *this = CellRange{col, row, col, row};
            return;
        }
        left = std::min(left, col);
        top = std::min(top, row);
        right = std::max(right, col);
        bottom = std::max(bottom, row);
    }
    void Include(const CellRange& other)
    {
        if (other.Empty())
            return;
        Include(other.left, other.top);
        Include(other.right, other.bottom);
    }
    CellRange Intersect(const CellRange& other) const;
};

class SelectionMarks {
public:
    SelectionMarks();

    // 0 for a cell outside the array.
    uint16_t At(int col, int row) const
    {
        if (col < 0 || col >= kSnapshotColumns || row < 0 || row >= kSnapshotRows)
            return 0;
        return marks_[Index(col, row)];
    }
    // Cells outside the array are ignored.
    void Set(int col, int row, uint16_t value);
    // Sets every cell of the range that lies inside the array.
    void Fill(const CellRange& range, uint16_t value);
    // Every mark becomes 0.
    void Clear();
    // Every mark of the cells of range becomes 0.
    void ClearRange(const CellRange& range);
    // The marks of columns first and above become 0 (columns that left the scenario).
    void ClearColumnsFrom(int first);
    // Every cell outside this range holds 0.
    const CellRange& Extent() const { return extent_; }
    // The marks of a column's rows as one array (row 0 first).
    const uint16_t* Column(int col) const { return &marks_[Index(col, 0)]; }

private:
    static size_t Index(int col, int row)
    {
        return static_cast<size_t>(col) * kSnapshotRows + static_cast<size_t>(row);
    }

    std::vector<uint16_t> marks_;
    CellRange extent_;
};
