#pragma once
// One whole scenario: the grid of cells (steps by channels plus the fixed cells for the
// column count, the speed and the step times), the loops and the labels.
//
// Cell layout, indexed [column][row]: [0][0] column count (steps + 1), [0][1] speed
// slider position, [c][1] time of step c, [c][3 + k] code of channel k in step c.
//
// Columns are shared between snapshots and copied on first write, so the undo ring
// keeps only what differs between its slots; a column never written reads as zeros.
#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <unordered_set>
#include <vector>

constexpr int kSnapshotColumns = 8001;  // column 0 and steps 1..8000
constexpr int kSnapshotRows = 643;      // rows 0..2 and channels 3..642
constexpr int kFirstChannelRow = 3;

// Cell codes; 1..levelMax are steady levels.
constexpr uint16_t kCellOff = 0;
constexpr uint16_t kCellRampUp = 129;
constexpr uint16_t kCellRampDown = 130;
constexpr uint16_t kCellStrobe = 131;

constexpr uint16_t kEndlessLoop = 65535;
constexpr int kMaxLoops = 255;
constexpr int kMaxLabels = 255;

struct LoopRecord {
    uint16_t firstColumn;
    uint16_t lastColumn;
    uint16_t repeatCount;  // 2..32767, or kEndlessLoop
};

class ScenarioSnapshot {
public:
    uint16_t Cell(int column, int row) const
    {
        if (column < 0 || column >= static_cast<int>(columns_.size()) || row < 0 || row >= kSnapshotRows)
            return 0;
        const Column* c = columns_[static_cast<size_t>(column)].get();
        return c ? c->cells[static_cast<size_t>(row)] : 0;
    }
    // Cells outside the grid are ignored.
    void SetCell(int column, int row, uint16_t value);

    // The kSnapshotRows cells of a column at once, for the file codecs: null while the
    // column was never written (every cell reads 0). Null outside the grid.
    const uint16_t* ColumnCells(int column) const;
    // A new column of this snapshot in place of the old one, for a codec that then
    // writes all kSnapshotRows cells: they are not zeroed first. Null outside the grid.
    uint16_t* NewColumnCells(int column);

    // Cell [0][0]: the grid's column count, steps + 1.
    int ColCount() const { return Cell(0, 0); }

    // Makes this snapshot equal to source: the columns in use (all rows of each),
    // the loops and the labels.
    void CopyFrom(const ScenarioSnapshot& source);
    // Every cell, loop and label becomes zero or empty.
    void Clear();

    // Whole columns move, no cell is copied; cell [0][0] is left to the caller.
    // InsertColumn: the columns from column on move one to the right (the grid's last
    // column drops off) and column becomes all zeros. RemoveColumn: column goes and the
    // ones right of it move one to the left. Columns outside 1 .. 8000 are not moved.
    void InsertColumn(int column);
    void RemoveColumn(int column);

    // Rewrites a whole column without copying it first: write(before, cells) must set
    // every one of the column's kSnapshotRows cells. before holds the cells until now
    // (null while they were all 0) and is cells itself when no other snapshot shares
    // the column. Columns outside the grid are not written.
    template <class Write>
    void RewriteColumn(int column, Write write)
    {
        const uint16_t* before = nullptr;
        if (uint16_t* cells = RewritableCells(column, before))
            write(before, cells);
    }

    // Memory accounting: adds the column buffers this snapshot refers to (shared ones
    // once across calls) and returns the bytes of its own bookkeeping.
    size_t CountMemory(std::unordered_set<const void*>& columnsSeen) const;
    static constexpr size_t kColumnBytes = sizeof(uint16_t) * kSnapshotRows;
    // Bytes of all column buffers alive in the process, shared ones once.
    static size_t ColumnBytesInUse();

    std::vector<LoopRecord> loops;   // sorted by first column, at most 255
    std::vector<uint16_t> labels;    // ascending columns, at most 255

private:
    // One column's cells.
    struct Column {
        struct Unset {};
        Column() : cells{} {}
        explicit Column(Unset) {}  // cells left for the caller to write
        std::array<uint16_t, kSnapshotRows> cells;
    };
    // A column buffer, through the pool of released ones, which counts the buffers in
    // use for ColumnBytesInUse.
    template <class... Args>
    static std::shared_ptr<Column> NewColumn(Args&&... args);
    Column& WritableColumn(int column);
    uint16_t* RewritableCells(int column, const uint16_t*& before);

    std::vector<std::shared_ptr<Column>> columns_;
};
