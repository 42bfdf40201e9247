#include "scenario/ColumnPool.h"

class BlockPool::Lock {
public:
    explicit Lock(std::atomic_flag& busy) : busy_(busy)
    {
        while (busy_.test_and_set(std::memory_order_acquire)) {
        }
    }
    ~Lock() { busy_.clear(std::memory_order_release); }
    Lock(const Lock&) = delete;
    Lock& operator=(const Lock&) = delete;

private:
    std::atomic_flag& busy_;
};

BlockPool::~BlockPool()
{
    for (void* block : blocks_)
        ::operator delete(block);
}

void* BlockPool::Take(size_t bytes)
{
    Lock lock(busy_);
    return TakeLocked(bytes);
}

bool BlockPool::Keep(void* block, size_t bytes)
{
    Lock lock(busy_);
    return KeepLocked(block, bytes);
}

void* BlockPool::Allocate(size_t bytes)
{
    {
        Lock lock(busy_);
        if (void* block = TakeLocked(bytes)) {
            ++inUse_;
            return block;
        }
    }
    void* block = ::operator new(bytes);
    Lock lock(busy_);
    ++inUse_;
    return block;
}

void BlockPool::Release(void* block, size_t bytes)
{
    {
        Lock lock(busy_);
        --inUse_;
        if (KeepLocked(block, bytes))
            return;
    }
    ::operator delete(block);
}

size_t BlockPool::InUse()
{
    Lock lock(busy_);
    return inUse_;
}

void* BlockPool::TakeLocked(size_t bytes)
{
    if (blocks_.empty() || bytes != bytes_)
        return nullptr;
    void* block = blocks_.back();
    blocks_.pop_back();
    return block;
}

bool BlockPool::KeepLocked(void* block, size_t bytes)
{
    if (blocks_.size() == blocks_.capacity() || (!blocks_.empty() && bytes != bytes_))
        return false;
    bytes_ = bytes;
    blocks_.push_back(block);
    return true;
}

BlockPool& ColumnBlocks()
{
    static BlockPool* pool = new BlockPool(2048);
    return *pool;
}
