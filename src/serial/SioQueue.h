#pragma once
// The I/O queue: a thread-safe FIFO of typed buffers. Device threads push received
// blocks and comm events for the dispatcher thread; the dispatch log keeps its records
// in one too. Any number of producers may Push while one consumer Peeks and Pops.
//
// An entry belongs to the queue from Push until Pop hands it back. Peek lends the head
// out and marks it InUse: Clear (a flush on another thread) then leaves it alone, and
// Peek does not lend it again until the consumer clears InUse or pops it.
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>

#include "serial/SioDispatchTypes.h"

class TIOBuffer {
public:
    virtual ~TIOBuffer() = default;
    std::atomic<bool> InUse{false};
    int32_t Size = 0;  // payload bytes, what the queue counts
};

// One block of received bytes; the unread ones are Data[BytesRead .. BytesUsed).
class TDataBuffer : public TIOBuffer {
public:
    // Raises Exception "Insufficient memory to allocate I/O buffer." when the block
    // cannot be had.
    explicit TDataBuffer(int32_t size);
    std::unique_ptr<uint8_t[]> Data;
    int32_t BytesUsed = 0;
    int32_t BytesRead = 0;
};

// One comm event mask; Size 0.
class TStatusBuffer : public TIOBuffer {
public:
    uint32_t Status = 0;
};

// One dispatch-log record with a private copy of its data bytes.
class TLogBuffer : public TIOBuffer {
public:
    TLogBuffer(TDispatchType type, TDispatchSubType subType, uint32_t time, uint32_t data,
               const void* buffer, int32_t bufferLen);
    int32_t GetMoreData() const { return Size; }
    const uint8_t* Bytes() const { return copy_.get(); }

    TDispatchType Type;
    TDispatchSubType SubType;
    uint32_t Time;  // ms since the log's time base
    uint32_t Data;

private:
    std::unique_ptr<uint8_t[]> copy_;  // Size bytes, none when Size is 0
};

enum class TWaitResult { wrSignaled, wrTimeout, wrAbandoned, wrError };

class TIOQueue {
public:
    TIOQueue() = default;
    // Frees what is not lent out; lent entries belong to whoever holds them.
    virtual ~TIOQueue();
    TIOQueue(const TIOQueue&) = delete;
    TIOQueue& operator=(const TIOQueue&) = delete;

    void Push(std::unique_ptr<TIOBuffer> entry);
    // Removes and returns the oldest entry (whatever its InUse), or null.
    std::unique_ptr<TIOBuffer> Pop();
    // Lends the oldest entry out (sets InUse) without removing it; null when the queue
    // is empty or its head is already lent.
    TIOBuffer* Peek();
    // Frees every entry that is not lent out.
    virtual void Clear();
    // Signalled at once when an entry waits, else waits up to timeoutMs for a Push.
    TWaitResult WaitForBuffer(uint32_t timeoutMs);
    // Ends one wait for a buffer (or the next one) without an entry.
    void Wake();

    int32_t BytesQueued() const;
    int Count() const;

private:
    mutable std::mutex lock_;
    std::condition_variable event_;
    bool signalled_ = false;  // auto-reset event: one waiter takes it
    std::deque<TIOBuffer*> list_;  // owned unless InUse at destruction
    int32_t bytesQueued_ = 0;
};
