// The dispatcher's data paths: the receive ring with its take counting, the output ring
// and PutBlock, and the helpers the back ends build their device operations from.
#include <algorithm>
#include <cstring>

#include "serial/SioDispatcher.h"

namespace {
constexpr uint32_t RingSize = TSioBaseDispatcher::DispatchBufferSize;
}

// ---- Receive ring ----
//
// Outside a data notification every take moves the tail (consumed_). While one runs
// (readAhead_), a take by one of its handlers in that handler's turn leaves the tail and
// counts as the turn's take instead, so every handler sees the same bytes; the
// notification moves the tail past the largest count when it ends. Any other reader
// meanwhile takes from the tail on, past what the handlers have taken, and moves it at
// once: what it is given is never given to it again, and the handlers after its take
// read on from what it left.

// Whether a reader is inside a handler's turn is asked before DispSection (the courier
// and the messenger may be asked), so it may be stale by the time the lock is held: the
// take counts as a handler's only if the turn it was answered for still runs then.
class TSioBaseDispatcher::RingReader {
public:
    explicit RingReader(TSioBaseDispatcher& d)
        : turn_(d.readAhead_ ? d.DeliveryTurn() : 0), hold_(d.DispSection),
          handler_(turn_ != 0 && turn_ == d.turn_ && d.readAhead_)
    {
    }
    bool Handler() const { return handler_; }

private:
    const uint64_t turn_;
    std::lock_guard<std::recursive_mutex> hold_;
    const bool handler_;
};

void TSioBaseDispatcher::CopyOut(uint64_t from, uint8_t* to, uint32_t count) const
{
    uint32_t at = static_cast<uint32_t>(from % RingSize);
    uint32_t first = std::min(count, RingSize - at);
    std::memcpy(to, dBuffer_.get() + at, first);
    std::memcpy(to + first, dBuffer_.get(), count - first);
}

uint64_t TSioBaseDispatcher::ReadStart(bool handler) const
{
    if (!readAhead_)
        return consumed_;
    uint32_t taken = handler ? takeCount_ : std::max(maxTake_, takeCount_);
    return std::max(consumed_, takeBase_ + taken);
}

void TSioBaseDispatcher::ConsumeTo(uint64_t position)
{
    if (position <= consumed_)
        return;
    bool wasFull = arrived_ - consumed_ == RingSize;
    consumed_ = position;
    if (wasFull)
        roomEvent_->Set();
}

void TSioBaseDispatcher::TakeBytes(bool handler, uint64_t start, uint32_t count)
{
    if (handler)
        takeCount_ = static_cast<uint32_t>(start + count - takeBase_);
    else
        ConsumeTo(start + count);
}

void TSioBaseDispatcher::MakeReceiveRing()
{
    std::lock_guard<std::recursive_mutex> guard(DispSection);
    dBuffer_.reset(new uint8_t[RingSize]());
    arrived_ = consumed_ = checkPos_ = takeBase_ = 0;
    readAhead_ = false;
    takeCount_ = maxTake_ = 0;
    turn_ = 0;
}

bool TSioBaseDispatcher::CharReady()
{
    RingReader reader(*this);
    return dBuffer_ && Available(reader.Handler()) > 0;
}

int32_t TSioBaseDispatcher::PeekChar(uint8_t& c, uint32_t index)
{
    if (index == 0)
        return -1002;  // positions count from 1
    RingReader reader(*this);
    if (!dBuffer_ || Available(reader.Handler()) < index)
        return -3007;
    CopyOut(ReadStart(reader.Handler()) + index - 1, &c, 1);
    return 0;
}

int32_t TSioBaseDispatcher::GetChar(uint8_t& c)
{
    RingReader reader(*this);
    if (!dBuffer_ || Available(reader.Handler()) == 0)
        return -3007;
    uint64_t start = ReadStart(reader.Handler());
    CopyOut(start, &c, 1);
    TakeBytes(reader.Handler(), start, 1);
    AddTraceBytes('R', &c, 1);
    return 0;
}

int32_t TSioBaseDispatcher::PeekBlock(void* block, uint32_t len)
{
    RingReader reader(*this);
    if (!dBuffer_ || Available(reader.Handler()) < len)
        return -3007;
    CopyOut(ReadStart(reader.Handler()), static_cast<uint8_t*>(block), len);
    return static_cast<int32_t>(len);
}

int32_t TSioBaseDispatcher::GetBlock(void* block, uint32_t len)
{
    {
        RingReader reader(*this);
        if (!dBuffer_ || Available(reader.Handler()) < len)
            return -3007;
        uint64_t start = ReadStart(reader.Handler());
        CopyOut(start, static_cast<uint8_t*>(block), len);
        TakeBytes(reader.Handler(), start, len);
    }
    AddTraceBytes('R', static_cast<const uint8_t*>(block), len);
    return static_cast<int32_t>(len);
}

uint32_t TSioBaseDispatcher::InBuffUsed()
{
    RingReader reader(*this);
    return dBuffer_ ? Available(reader.Handler()) : 0;
}

uint32_t TSioBaseDispatcher::InBuffFree()
{
    RingReader reader(*this);
    return dBuffer_ ? RingSize - Available(reader.Handler()) : RingSize;
}

int32_t TSioBaseDispatcher::FlushInBuffer()
{
    RingReader reader(*this);
    int32_t result = FlushCom(1);
    if (reader.Handler()) {
        // Discarded when the notification ends; the flushing handler finds nothing more
        // now, the handlers after it still see what it flushed.
        takeCount_ = static_cast<uint32_t>(arrived_ - takeBase_);
        maxTake_ = takeCount_;
    } else {
        ConsumeTo(arrived_);
    }
    // What was flushed is not examined, and no match found in it is notified.
    checkPos_ = std::max(checkPos_, arrived_);
    ResetDataTriggers();
    return result;
}

bool TSioBaseDispatcher::ReceiveRingFull()
{
    std::lock_guard<std::recursive_mutex> guard(DispSection);
    return dBuffer_ && arrived_ - consumed_ == RingSize;
}

void TSioBaseDispatcher::WaitForRoom(uint32_t timeoutMs) { roomEvent_->WaitFor(timeoutMs); }

int32_t TSioBaseDispatcher::ReadIntoRing(uint32_t at, uint32_t size)
{
    int32_t n = ReadCom(dBuffer_.get() + at, static_cast<int32_t>(size));
    if (n < 0) {
        GetComEventMask(-1);
        n = 0;
    }
    AddLog(dtDispatch, dstReadCom, static_cast<uint32_t>(n), dBuffer_.get() + at, n);
    arrived_ += static_cast<uint32_t>(n);
    return n;
}

void TSioBaseDispatcher::ExtractData()
{
    std::lock_guard<std::recursive_mutex> guard(DispSection);
    if (!dBuffer_)
        return;
    uint32_t count = static_cast<uint32_t>(arrived_ - consumed_);
    if (count == RingSize) {
        // The bytes wait in the back end until the application takes some.
        AddLog(dtDispatch, dstStatus, 0, "Dispatch buffer full.", 21);
        return;
    }
    // The device's input count (the back end's next block); ComStatus gets the device's
    // own counts from RefreshStatus.
    uint32_t waiting = InQueueUsed();
    if (waiting == 0)
        return;
    uint32_t free = RingSize - count;
    uint32_t head = static_cast<uint32_t>(arrived_ % RingSize);
    uint32_t tail = static_cast<uint32_t>(consumed_ % RingSize);
    uint32_t contiguous = tail > head ? tail - head : RingSize - head;
    int32_t n = ReadIntoRing(head, contiguous);
    if (static_cast<uint32_t>(n) == contiguous && waiting > contiguous) {
        uint32_t rest = std::min(waiting, free) - contiguous;
        if (rest)
            ReadIntoRing(0, rest);
    }
}

// ---- Transmit side ----

int32_t TSioBaseDispatcher::PutBlock(const void* block, uint32_t len)
{
    if (len == 0)
        return 0;
    bool rs485Prim = rs485Mode_ && !SioPlatformIsNT();
    int32_t n;
    bool failed = false;
    TSioComStat status;
    uint32_t errors = 0;
    {
        std::lock_guard<std::recursive_mutex> guard(OutputSection);
        if (!oBuffer_)
            return -2007;
        if (KillThreads)
            return -3004;  // the port's threads are ending: nothing would be sent
        uint32_t used = OutBufUsed();
        uint32_t free = used < outQue_ ? outQue_ - used : 0;
        if (free < len)
            return -3006;
        if (rs485Prim) {
            if (baseAddress_ == 0)
                return -3010;
            SetRts(true);
        }
        n = WriteCom(static_cast<const uint8_t*>(block), static_cast<int32_t>(len));
        if (n < 1) {
            n = n < 0 ? -n : n;
            errors = GetComError(status);
            failed = true;
        }
        outSentPending_ = true;
    }
    std::lock_guard<std::recursive_mutex> guard(DataSection);
    if (failed) {
        lastError_ |= errors & 0x1F;  // pending line errors are kept
        comStatus_ = status;
    }
    AddLog(dtDispatch, dstWriteCom, static_cast<uint32_t>(n), block, n);
    AddTraceBytes('T', static_cast<const uint8_t*>(block), static_cast<uint32_t>(n));
    return failed ? -3004 : 0;
}

uint32_t TSioBaseDispatcher::OutBuffUsed()
{
    std::lock_guard<std::recursive_mutex> guard(DataSection);
    RefreshStatus();
    return comStatus_.OutQue;
}

uint32_t TSioBaseDispatcher::OutBuffFree()
{
    uint32_t used = OutBuffUsed();
    return used < outQue_ ? outQue_ - used : 0;
}

// ---- Back-end helpers ----

int32_t TSioBaseDispatcher::ReadDispatchQueue(uint8_t* buffer, int32_t size)
{
    int32_t copied = 0;
    while (copied < size) {
        TIOBuffer* entry = DispatchQueue.Peek();
        if (!entry)
            break;
        auto* block = dynamic_cast<TDataBuffer*>(entry);
        if (!block) {
            entry->InUse = false;  // a status entry: the dispatch cycle takes it
            break;
        }
        int32_t n = std::min(size - copied, block->BytesUsed - block->BytesRead);
        std::memcpy(buffer + copied, block->Data.get() + block->BytesRead, static_cast<size_t>(n));
        block->BytesRead += n;
        copied += n;
        if (block->BytesRead >= block->BytesUsed)
            DispatchQueue.Pop();
        else
            block->InUse = false;
    }
    return copied;
}

uint32_t TSioBaseDispatcher::DispatchQueueHeadBytes()
{
    while (TIOBuffer* entry = DispatchQueue.Peek()) {
        auto* block = dynamic_cast<TDataBuffer*>(entry);
        if (block && block->BytesRead >= block->BytesUsed) {
            DispatchQueue.Pop();  // nothing left in it: it would hold up the queue
            continue;
        }
        entry->InUse = false;
        return block ? static_cast<uint32_t>(block->BytesUsed - block->BytesRead) : 0;
    }
    return 0;
}

int32_t TSioBaseDispatcher::WriteOutputRing(const uint8_t* buffer, int32_t size)
{
    {
        std::lock_guard<std::recursive_mutex> guard(OutputSection);
        if (!oBuffer_ || size <= 0 || outQue_ == 0)
            return 0;
        uint32_t n = static_cast<uint32_t>(size);
        uint32_t first = std::min(n, outQue_ - oBufHead_);
        std::memcpy(oBuffer_.get() + oBufHead_, buffer, first);
        std::memcpy(oBuffer_.get(), buffer + first, n - first);
        oBufHead_ = (oBufHead_ + n) % outQue_;
        if (oBufHead_ == oBufTail_)
            oBufFull_ = true;
    }
    if (SioEvent* output = OutputEvent())
        output->Set();
    return size;
}

uint32_t TSioBaseDispatcher::OutputRingUsed()
{
    std::lock_guard<std::recursive_mutex> guard(OutputSection);
    if (oBufFull_)
        return outQue_;
    return oBufHead_ >= oBufTail_ ? oBufHead_ - oBufTail_ : outQue_ - oBufTail_ + oBufHead_;
}

std::vector<uint8_t> TSioBaseDispatcher::TakeOutputRing()
{
    std::lock_guard<std::recursive_mutex> guard(OutputSection);
    std::vector<uint8_t> pending(OutputRingUsed());
    if (!pending.empty()) {
        uint32_t n = static_cast<uint32_t>(pending.size());
        uint32_t first = std::min(n, outQue_ - oBufTail_);
        std::memcpy(pending.data(), oBuffer_.get() + oBufTail_, first);
        std::memcpy(pending.data() + first, oBuffer_.get(), n - first);
    }
    EmptyOutputRing();
    return pending;
}

void TSioBaseDispatcher::EmptyOutputRing()
{
    std::lock_guard<std::recursive_mutex> guard(OutputSection);
    oBufHead_ = oBufTail_ = 0;
    oBufFull_ = false;
}
