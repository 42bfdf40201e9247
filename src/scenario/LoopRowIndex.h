#pragma once
// Which loops show in a column of the grid's loops row, found without walking the whole
// loop list for every cell. The list may come in any order (an enclosing loop follows
// the loops it encloses; a file may hold any order), so the index splits the columns
// into blocks, each holding the positions of the loops that reach into it, in list
// order. It is made again whenever the list differs from the one it was made from.
#include <cstdint>
#include <vector>

#include "scenario/ScenarioSnapshot.h"

class LoopRowIndex {
public:
    // Whether loop shows in column: one of its ends is there, or it runs across it.
    static bool Shows(const LoopRecord& loop, int column)
    {
        return (loop.firstColumn <= column && column <= loop.lastColumn) || loop.firstColumn == column ||
               loop.lastColumn == column;
    }

    // Calls draw(loop) for every loop of loops that shows in column, in list order.
    template <class Draw>
    void ForEachShown(const std::vector<LoopRecord>& loops, int column, Draw draw)
    {
        for (uint32_t i : Block(loops, column))
            if (Shows(loops[i], column))
                draw(loops[i]);
    }

private:
    static constexpr int kBlockColumns = 64;
    static constexpr int kBlocks = (kSnapshotColumns + kBlockColumns - 1) / kBlockColumns;

    // The positions of the loops that reach into column's block, the index made for
    // loops first when needed.
    const std::vector<uint32_t>& Block(const std::vector<LoopRecord>& loops, int column);
    void Make(const std::vector<LoopRecord>& loops);

    bool made_ = false;
    std::vector<LoopRecord> madeFrom_;
    std::vector<std::vector<uint32_t>> blocks_;
};
