#include "scenario/ScenarioSnapshot.h"

#include <algorithm>

#include "scenario/ColumnPool.h"

template <class... Args>
std::shared_ptr<ScenarioSnapshot::Column> ScenarioSnapshot::NewColumn(Args&&... args)
{
    return std::allocate_shared<Column>(ColumnAllocator<Column>{}, std::forward<Args>(args)...);
}

// Every column buffer is one block of the pool, which counts them.
size_t ScenarioSnapshot::ColumnBytesInUse() { return ColumnBlocks().InUse() * kColumnBytes; }

ScenarioSnapshot::Column& ScenarioSnapshot::WritableColumn(int column)
{
    size_t c = static_cast<size_t>(column);
    if (c >= columns_.size())
        columns_.resize(c + 1);
    std::shared_ptr<Column>& slot = columns_[c];
    if (!slot)
        slot = NewColumn();
    else if (slot.use_count() > 1)
        slot = NewColumn(*slot);  // shared with another snapshot: copy first
    return *slot;
}

void ScenarioSnapshot::SetCell(int column, int row, uint16_t value)
{
    if (column < 0 || column >= kSnapshotColumns || row < 0 || row >= kSnapshotRows)
        return;
    if (value == 0 && Cell(column, row) == 0)
        return;  // nothing to store, and no reason to allocate or unshare
    WritableColumn(column).cells[static_cast<size_t>(row)] = value;
}

const uint16_t* ScenarioSnapshot::ColumnCells(int column) const
{
    if (column < 0 || column >= static_cast<int>(columns_.size()))
        return nullptr;
    const Column* c = columns_[static_cast<size_t>(column)].get();
    return c ? c->cells.data() : nullptr;
}

uint16_t* ScenarioSnapshot::NewColumnCells(int column)
{
    if (column < 0 || column >= kSnapshotColumns)
        return nullptr;
    size_t c = static_cast<size_t>(column);
    if (c >= columns_.size())
        columns_.resize(c + 1);
    columns_[c] = NewColumn(Column::Unset{});
    return columns_[c]->cells.data();
}

void ScenarioSnapshot::CopyFrom(const ScenarioSnapshot& source)
{
    if (&source == this)
        return;
    size_t used = static_cast<size_t>(std::clamp(source.ColCount(), 1, kSnapshotColumns));
    used = std::min(used, source.columns_.size());
    columns_.assign(source.columns_.begin(), source.columns_.begin() + static_cast<std::ptrdiff_t>(used));
    loops = source.loops;
    labels = source.labels;
}

void ScenarioSnapshot::Clear()
{
    columns_.clear();
    loops.clear();
    labels.clear();
}

void ScenarioSnapshot::InsertColumn(int column)
{
    if (column < 1 || column >= static_cast<int>(columns_.size()))
        return;  // from here on every column reads zeros already
    columns_.insert(columns_.begin() + column, nullptr);
    if (columns_.size() > static_cast<size_t>(kSnapshotColumns))
        columns_.pop_back();
}

void ScenarioSnapshot::RemoveColumn(int column)
{
    if (column < 1 || column >= static_cast<int>(columns_.size()))
        return;
    columns_.erase(columns_.begin() + column);
}

uint16_t* ScenarioSnapshot::RewritableCells(int column, const uint16_t*& before)
{
    before = nullptr;
    if (column < 0 || column >= kSnapshotColumns)
        return nullptr;
    size_t c = static_cast<size_t>(column);
    if (c >= columns_.size())
        columns_.resize(c + 1);
    std::shared_ptr<Column>& slot = columns_[c];
    if (slot)
        before = slot->cells.data();  // a shared column stays alive in its other snapshots
    if (!slot || slot.use_count() > 1)
        slot = NewColumn(Column::Unset{});
    return slot->cells.data();
}

size_t ScenarioSnapshot::CountMemory(std::unordered_set<const void*>& columnsSeen) const
{
    for (const auto& c : columns_)
        if (c)
            columnsSeen.insert(c.get());
    return columns_.capacity() * sizeof(columns_[0]) + loops.capacity() * sizeof(LoopRecord) +
           labels.capacity() * sizeof(uint16_t);
}
