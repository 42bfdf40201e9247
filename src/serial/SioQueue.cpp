#include "serial/SioQueue.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <new>

#include "ui/Exceptions.h"

TDataBuffer::TDataBuffer(int32_t size)
{
    size = std::max(size, 0);
    Data.reset(new (std::nothrow) uint8_t[static_cast<size_t>(size) + (size == 0)]);
    if (!Data)
        throw Exception("Insufficient memory to allocate I/O buffer.");
    Size = size;
}

TLogBuffer::TLogBuffer(TDispatchType type, TDispatchSubType subType, uint32_t time, uint32_t data,
                       const void* buffer, int32_t bufferLen)
    : Type(type), SubType(subType), Time(time), Data(data)
{
    if (bufferLen > 0 && buffer) {
        copy_.reset(new uint8_t[static_cast<size_t>(bufferLen)]);
        std::memcpy(copy_.get(), buffer, static_cast<size_t>(bufferLen));
        Size = bufferLen;
    }
}

TIOQueue::~TIOQueue()
{
    Clear();
    // What is left is lent out; its holder frees it.
    list_.clear();
}

void TIOQueue::Push(std::unique_ptr<TIOBuffer> entry)
{
    {
        std::lock_guard<std::mutex> guard(lock_);
        list_.push_back(entry.get());  // may throw: the entry is still owned here
        bytesQueued_ += entry->Size;
        entry.release();
        signalled_ = true;
    }
    event_.notify_one();
}

std::unique_ptr<TIOBuffer> TIOQueue::Pop()
{
    std::lock_guard<std::mutex> guard(lock_);
    if (list_.empty())
        return nullptr;
    std::unique_ptr<TIOBuffer> entry(list_.front());
    list_.pop_front();
    bytesQueued_ -= entry->Size;
    return entry;
}

TIOBuffer* TIOQueue::Peek()
{
    std::lock_guard<std::mutex> guard(lock_);
    if (list_.empty() || list_.front()->InUse)
        return nullptr;
    list_.front()->InUse = true;
    return list_.front();
}

void TIOQueue::Clear()
{
    std::lock_guard<std::mutex> guard(lock_);
    auto kept = std::remove_if(list_.begin(), list_.end(), [this](TIOBuffer* entry) {
        if (entry->InUse)
            return false;
        bytesQueued_ -= entry->Size;
        delete entry;
        return true;
    });
    list_.erase(kept, list_.end());
}

TWaitResult TIOQueue::WaitForBuffer(uint32_t timeoutMs)
{
    std::unique_lock<std::mutex> guard(lock_);
    if (!list_.empty())
        return TWaitResult::wrSignaled;
    if (!event_.wait_for(guard, std::chrono::milliseconds(timeoutMs), [this] { return signalled_; }))
        return TWaitResult::wrTimeout;
    signalled_ = false;
    return TWaitResult::wrSignaled;
}

void TIOQueue::Wake()
{
    {
        std::lock_guard<std::mutex> guard(lock_);
        signalled_ = true;
    }
    event_.notify_one();
}

int32_t TIOQueue::BytesQueued() const
{
    std::lock_guard<std::mutex> guard(lock_);
    return bytesQueued_;
}

int TIOQueue::Count() const
{
    std::lock_guard<std::mutex> guard(lock_);
    return static_cast<int>(list_.size());
}
