#pragma once
// The editor's own clipboard: the cell codes that were copied, [column][row] like the
// scenario's cells, with kEmpty where nothing was copied. A floating paste shows it as a
// ghost over the grid and leaves empty cells alone.
//
// The clipboard remembers the range of cells that may hold something, so emptying it and
// pasting walk that range instead of all five million cells.
#include <algorithm>
#include <cstdint>
#include <vector>

#include "scenario/ScenarioSnapshot.h"
#include "scenario/SelectionMarks.h"

class CellClipboard {
public:
    static constexpr uint16_t kEmpty = 0xFFFF;

    // kEmpty for a cell outside the array or never written.
    uint16_t Cell(int col, int row) const
    {
        if (cells_.empty() || col < 0 || col >= kSnapshotColumns || row < 0 || row >= kSnapshotRows)
            return kEmpty;
        return cells_[Index(col, row)];
    }
    // Cells outside the array are ignored.
    void SetCell(int col, int row, uint16_t value)
    {
        if (col < 0 || col >= kSnapshotColumns || row < 0 || row >= kSnapshotRows)
            return;
        if (cells_.empty())
            cells_.assign(static_cast<size_t>(kSnapshotColumns) * kSnapshotRows, kEmpty);
        uint16_t& cell = cells_[Index(col, row)];
        filled_ += (value != kEmpty) - (cell != kEmpty);
        cell = value;
        if (value != kEmpty)
            extent_.Include(col, row);
    }
    // Every cell empty.
    void Clear()
    {
        for (int c = extent_.left; c <= extent_.right && !extent_.Empty(); ++c)
            std::fill_n(&cells_[Index(c, extent_.top)], extent_.bottom - extent_.top + 1, kEmpty);
        extent_ = CellRange{};
        filled_ = 0;
    }
    // Every cell outside this range is empty.
    const CellRange& Extent() const { return extent_; }
    // True when no cell inside Extent() is empty.
    bool Dense() const
    {
        return !extent_.Empty() &&
               filled_ == static_cast<size_t>(extent_.right - extent_.left + 1) * (extent_.bottom - extent_.top + 1);
    }
    // The cells of a column inside Extent(), row 0 first.
    const uint16_t* Column(int col) const { return &cells_[Index(col, 0)]; }

private:
    static size_t Index(int col, int row)
    {
        return static_cast<size_t>(col) * kSnapshotRows + static_cast<size_t>(row);
    }

    std::vector<uint16_t> cells_;  // allocated by the first write
    CellRange extent_;
    size_t filled_ = 0;  // cells that are not empty
};
