#pragma once
// Column buffers of the scenario snapshots, kept for reuse when they are released. An
// edit that rewrites many columns takes as many new buffers as the undo push before it
// released from the slot it overwrote; with the pool neither goes to the heap one by one.
#include <atomic>
#include <cstddef>
#include <new>
#include <vector>

// Blocks of one size, kept up to a capacity.
class BlockPool {
public:
    explicit BlockPool(size_t capacity) { blocks_.reserve(capacity); }
    ~BlockPool();
    BlockPool(const BlockPool&) = delete;
    BlockPool& operator=(const BlockPool&) = delete;

    // A kept block of exactly bytes, or null when there is none.
    void* Take(size_t bytes);
    // Keeps a block of bytes for Take; false (the caller frees it) when the pool is full
    // or keeps blocks of another size.
    bool Keep(void* block, size_t bytes);

    // Take and Keep for blocks that are counted while in use: Allocate goes to the heap
    // when no block is kept, Release frees the block that the pool cannot keep. Taking
    // and counting under one lock spares a second atomic operation per block.
    void* Allocate(size_t bytes);
    void Release(void* block, size_t bytes);
    // Blocks from Allocate that were not released yet.
    size_t InUse();

private:
    class Lock;
    void* TakeLocked(size_t bytes);
    bool KeepLocked(void* block, size_t bytes);
    // The snapshots belong to the main thread; the lock only keeps the pool sound should
    // another thread release a column.
    std::atomic_flag busy_ = ATOMIC_FLAG_INIT;
    size_t bytes_ = 0;
    std::vector<void*> blocks_;
    size_t inUse_ = 0;
};

// The pool of the snapshots' columns: about 2.6 MB of them, enough for the largest paste
// of steps to cycle. Never destroyed, since snapshots in static objects release their
// columns late.
BlockPool& ColumnBlocks();

// Allocator that goes through ColumnBlocks() for single objects, which it counts there.
template <class T>
struct ColumnAllocator {
    using value_type = T;
    ColumnAllocator() = default;
    template <class U>
    ColumnAllocator(const ColumnAllocator<U>&) {}

    T* allocate(size_t n)
    {
        if (n == 1)
            return static_cast<T*>(ColumnBlocks().Allocate(sizeof(T)));
        return static_cast<T*>(::operator new(n * sizeof(T)));
    }
    void deallocate(T* p, size_t n)
    {
        if (n == 1)
            ColumnBlocks().Release(p, sizeof(T));
        else
            ::operator delete(p);
    }
    template <class U>
    bool operator==(const ColumnAllocator<U>&) const { return true; }
    template <class U>
    bool operator!=(const ColumnAllocator<U>&) const { return false; }
};
