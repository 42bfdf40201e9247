#include "scenario/UndoRing.h"

#include <unordered_set>

namespace {
int Next(int slot) { return slot + 1 >= kUndoSlots ? 0 : slot + 1; }
int Previous(int slot) { return slot - 1 < 0 ? kUndoSlots - 1 : slot - 1; }
int CappedDepth(int depth) { return depth + 1 >= kUndoSlots ? kUndoSlots - 1 : depth + 1; }
} // namespace

bool UndoRing::Push()
{
    if (!UndoEnabled)
        return false;
    UndoSlot = CurrentSlot;
    UndoDepth = CappedDepth(UndoDepth);
    CurrentSlot = Next(CurrentSlot);
    RedoSlot = -1;
    RedoDepth = 0;
    Current().CopyFrom(Slot(UndoSlot));
    slotDocument_[Index(CurrentSlot)] = slotDocument_[Index(UndoSlot)];
    while (UndoDepth > 0 && ScenarioSnapshot::ColumnBytesInUse() > MemoryBudget) {
        int oldest = (UndoSlot - (UndoDepth - 1) + kUndoSlots) % kUndoSlots;
        Slot(oldest).Clear();
        --UndoDepth;
    }
    return true;
}

void UndoRing::Clear()
{
    UndoSlot = -1;
    UndoDepth = 0;
    RedoDepth = 0;
    RedoSlot = -1;
    UndoEnabled = true;
}

bool UndoRing::Undo()
{
    if (UndoDepth < 1)
        return false;
    RedoSlot = CurrentSlot;
    CurrentSlot = UndoSlot;
    RedoDepth += 1;
    UndoSlot = Previous(UndoSlot);
    UndoDepth -= 1;
    if (UndoDepth < 1)
        UndoDepth = 0;
    return true;
}

bool UndoRing::Redo()
{
    if (RedoDepth < 1)
        return false;
    UndoSlot = CurrentSlot;
    CurrentSlot = RedoSlot;
    UndoDepth = CappedDepth(UndoDepth);
    RedoSlot = Next(RedoSlot);
    RedoDepth -= 1;
    if (RedoDepth < 1)
        RedoDepth = 0;
    return true;
}

void UndoRing::StartDocument(const std::string& fileName, bool owned)
{
    // The documents that undo and redo can still return to stay; the first other entry
    // takes the new one.
    std::array<bool, kUndoSlots> kept{};
    int slot = UndoSlot;
    for (int i = 0; i < UndoDepth; ++i, slot = Previous(slot))
        kept[static_cast<size_t>(slotDocument_[Index(slot)])] = true;
    slot = RedoSlot;
    for (int i = 0; i < RedoDepth; ++i, slot = Next(slot))
        kept[static_cast<size_t>(slotDocument_[Index(slot)])] = true;
    size_t free = 0;
    while (free + 1 < kept.size() && kept[free])
        ++free;
    documents_[free].fileName = fileName;
    documents_[free].owned = owned;
    slotDocument_[Index(CurrentSlot)] = static_cast<int>(free);
}

void UndoRing::Reset()
{
    for (ScenarioSnapshot& s : slots_)
        s.Clear();
    slotDocument_.fill(0);
    for (ScenarioDocument& d : documents_)
        d = ScenarioDocument{};
    CurrentSlot = 0;
    UndoSlot = -1;
    RedoSlot = -1;
    UndoDepth = 0;
    RedoDepth = 0;
    UndoEnabled = false;
}

size_t UndoRing::MemoryBytes() const
{
    std::unordered_set<const void*> columns;
    size_t bytes = sizeof(*this);
    for (const ScenarioSnapshot& s : slots_)
        bytes += s.CountMemory(columns);
    return bytes + columns.size() * ScenarioSnapshot::kColumnBytes;
}
