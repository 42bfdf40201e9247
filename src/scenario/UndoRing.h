#pragma once
// The ring of 100 scenario snapshots behind undo and redo. The current slot is the one
// being edited; undo and redo only move between slots, a push copies the current
// slot forward. The main window mirrors the results in its buttons and caption.
#include <array>
#include <cstddef>
#include <string>

#include "scenario/ScenarioSnapshot.h"

constexpr int kUndoSlots = 100;

// The file a scenario belongs to. Every slot names its document; a push passes the
// document on, an open or a new scenario starts another one, and a save (also under
// another name) changes the document for all its slots.
struct ScenarioDocument {
    std::string fileName;
    // The scenario was read from or written to fileName; false while the name only
    // proposes a file (a new scenario).
    bool owned = false;
};

class UndoRing {
public:
    ScenarioSnapshot& Current() { return slots_[static_cast<size_t>(CurrentSlot)]; }
    const ScenarioSnapshot& Current() const { return slots_[static_cast<size_t>(CurrentSlot)]; }
    ScenarioSnapshot& Slot(int index) { return slots_[static_cast<size_t>(index)]; }

    // Records the current state so the next change can be undone: the current slot moves
    // forward and receives a copy of the previous one, and the redo history is dropped.
    // When the scenarios' cells take more than MemoryBudget bytes, the oldest undo steps
    // are forgotten until they fit (or none is left): a long history of large edits
    // must not exhaust a 32-bit process. Does nothing and returns false while pushing
    // is suspended (UndoEnabled false).
    bool Push();
    // Forgets every undo and redo step and ends a suspension; the slots stay.
    void Clear();
    // Move one step back or forward; false (and nothing changes) when there is none.
    bool Undo();
    bool Redo();
    // Zeroes every slot and resets the indexes, as at construction.
    void Reset();

    // The document of the current slot; changing it changes it for every slot of the
    // same document.
    ScenarioDocument& Document() { return documents_[static_cast<size_t>(slotDocument_[Index(CurrentSlot)])]; }
    const ScenarioDocument& Document() const
    {
        return documents_[static_cast<size_t>(slotDocument_[Index(CurrentSlot)])];
    }
    // The current slot's scenario starts another file's history (it was opened, or is
    // new): the slots before and after it keep their own documents.
    void StartDocument(const std::string& fileName, bool owned);

    bool CanUndo() const { return UndoDepth > 0; }
    bool CanRedo() const { return RedoDepth > 0; }
    // Bytes the ring holds: shared column buffers once, plus each slot's bookkeeping.
    size_t MemoryBytes() const;

    int CurrentSlot = 0;
    int UndoSlot = -1;
    int RedoSlot = -1;
    int UndoDepth = 0;
    int RedoDepth = 0;
    bool UndoEnabled = false;
    // 100 full copies of the largest scenario a built-in model allows (1619 steps of 643
    // rows) fit; only a scenario of several thousand steps by hundreds of channels,
    // edited everywhere again and again, reaches it.
    size_t MemoryBudget = size_t{256} << 20;

private:
    static size_t Index(int slot) { return static_cast<size_t>(slot); }

    std::array<ScenarioSnapshot, kUndoSlots> slots_;
    // The document of each slot, an index into documents_. The slots that undo and redo
    // can reach hold at most kUndoSlots - 1 documents besides the current slot's, so one
    // entry is always free for a new document.
    std::array<int, kUndoSlots> slotDocument_{};
    std::array<ScenarioDocument, kUndoSlots> documents_;
};
