#pragma once
// The editor's own clipboard: the cell codes that were copied, [column][row] like the
// scenario's cells, with kEmpty where nothing was copied. A floating paste shows it as a
// ghost over the grid and leaves empty cells alone.
#include <cstdint>
#include <vector>

#include "scenario/ScenarioSnapshot.h"

class CellClipboard {
public:
    static constexpr uint16_t kEmpty = 0xFFFF;

    // kEmpty for a cell outside the array or never written.
    uint16_t Cell(int col, int row) const
    {
        if (cells_.empty() || col < 0 || col >= kSnapshotColumns || row < 0 || row >= kSnapshotRows)
            return kEmpty;
        return cells_[static_cast<size_t>(col) * kSnapshotRows + static_cast<size_t>(row)];
    }
    // Cells outside the array are ignored.
    void SetCell(int col, int row, uint16_t value)
    {
        if (col < 0 || col >= kSnapshotColumns || row < 0 || row >= kSnapshotRows)
            return;
        if (cells_.empty())
            cells_.assign(static_cast<size_t>(kSnapshotColumns) * kSnapshotRows, kEmpty);
        cells_[static_cast<size_t>(col) * kSnapshotRows + static_cast<size_t>(row)] = value;
    }
    // Every cell empty.
    void Clear() { cells_.clear(); }

private:
    std::vector<uint16_t> cells_;  // allocated by the first write
};
