#include "scenario/LoopRowIndex.h"

#include <algorithm>
#include <cstring>

static_assert(sizeof(LoopRecord) == 3 * sizeof(uint16_t), "loop records compare as bytes");

const std::vector<uint32_t>& LoopRowIndex::Block(const std::vector<LoopRecord>& loops, int column)
{
    static const std::vector<uint32_t> kNone;
    if (column < 0 || column >= kSnapshotColumns)
        return kNone;
    if (!made_ || loops.size() != madeFrom_.size() ||
        (!loops.empty() && std::memcmp(loops.data(), madeFrom_.data(), loops.size() * sizeof(LoopRecord)) != 0))
        Make(loops);
    return blocks_[static_cast<size_t>(column / kBlockColumns)];
}

void LoopRowIndex::Make(const std::vector<LoopRecord>& loops)
{
    blocks_.assign(kBlocks, {});
    for (size_t i = 0; i < loops.size(); ++i) {
        // A loop reaches the columns between its ends, whichever end is the greater.
        int low = std::min(loops[i].firstColumn, loops[i].lastColumn);
        int high = std::min<int>(std::max(loops[i].firstColumn, loops[i].lastColumn), kSnapshotColumns - 1);
        for (int b = low / kBlockColumns; b <= high / kBlockColumns; ++b)
            blocks_[static_cast<size_t>(b)].push_back(static_cast<uint32_t>(i));
    }
    madeFrom_ = loops;
    made_ = true;
}
