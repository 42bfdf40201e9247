// The I/O queue: order, byte count, lending out, flushing, waiting, and several
// producers against one consumer (run it under ThreadSanitizer with -R IOQueue).
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

#include "serial/SioQueue.h"
#include "support/WaitUntil.h"

namespace {

std::unique_ptr<TDataBuffer> Block(int32_t size, uint8_t fill)
{
    auto b = std::make_unique<TDataBuffer>(size);
    for (int32_t i = 0; i < size; ++i)
        b->Data[static_cast<size_t>(i)] = fill;
    b->BytesUsed = size;
    return b;
}

TEST(IOQueue, EmptyQueueGivesNothing)
{
    TIOQueue q;
    EXPECT_EQ(q.Pop(), nullptr);
    EXPECT_EQ(q.Peek(), nullptr);
    EXPECT_EQ(q.BytesQueued(), 0);
}

TEST(IOQueue, FirstInFirstOutWithByteCount)
{
    TIOQueue q;
    q.Push(Block(10, 1));
    auto status = std::make_unique<TStatusBuffer>();
    status->Status = 0x80;
    q.Push(std::move(status));
    q.Push(Block(5, 2));
    EXPECT_EQ(q.BytesQueued(), 15);
    auto first = q.Pop();
    ASSERT_NE(dynamic_cast<TDataBuffer*>(first.get()), nullptr);
    EXPECT_EQ(static_cast<TDataBuffer&>(*first).Data[0], 1);
    EXPECT_EQ(q.BytesQueued(), 5);
    auto second = q.Pop();
    ASSERT_NE(dynamic_cast<TStatusBuffer*>(second.get()), nullptr);
    EXPECT_EQ(static_cast<TStatusBuffer&>(*second).Status, 0x80u);
    EXPECT_EQ(q.Pop()->Size, 5);
    EXPECT_EQ(q.BytesQueued(), 0);
}

TEST(IOQueue, PeekLendsTheHeadOnce)
{
    TIOQueue q;
    q.Push(Block(3, 7));
    TIOBuffer* head = q.Peek();
    ASSERT_NE(head, nullptr);
    EXPECT_TRUE(head->InUse);
    EXPECT_EQ(q.Peek(), nullptr);
    head->InUse = false;
    EXPECT_EQ(q.Peek(), head);
    EXPECT_EQ(q.Pop().get(), head);  // Pop takes it whatever its InUse
}

TEST(IOQueue, ClearKeepsTheLentHead)
{
    TIOQueue q;
    q.Push(Block(8, 1));
    q.Push(Block(4, 2));
    q.Push(std::make_unique<TStatusBuffer>());
    q.Push(Block(2, 3));
    TIOBuffer* head = q.Peek();
    q.Clear();
    EXPECT_EQ(q.Count(), 1);
    EXPECT_EQ(q.BytesQueued(), 8);
    head->InUse = false;
    q.Clear();
    EXPECT_EQ(q.Count(), 0);
    EXPECT_EQ(q.BytesQueued(), 0);
}

TEST(IOQueue, DestructionLeavesLentEntriesToTheirHolder)
{
    std::unique_ptr<TIOBuffer> held;
    {
        TIOQueue q;
        q.Push(Block(4, 9));
        q.Push(Block(4, 8));
        held.reset(q.Peek());
    }
    EXPECT_EQ(static_cast<TDataBuffer&>(*held).Data[0], 9);  // still alive (ASan checks)
}

TEST(IOQueue, LogBufferCopiesItsBytes)
{
    char text[] = "abc";
    TLogBuffer withData(dtUser, dstNone, 5, 7, text, 3);
    text[0] = 'z';
    EXPECT_EQ(withData.GetMoreData(), 3);
    EXPECT_EQ(withData.Bytes()[0], 'a');
    TLogBuffer empty(dtDispatch, dstWriteCom, 1, 0, nullptr, 0);
    EXPECT_EQ(empty.GetMoreData(), 0);
    EXPECT_EQ(empty.Bytes(), nullptr);
    TDataBuffer fresh(16);
    EXPECT_EQ(fresh.Size, 16);
    EXPECT_EQ(fresh.BytesUsed, 0);
    EXPECT_EQ(fresh.BytesRead, 0);
    EXPECT_FALSE(fresh.InUse);
}

TEST(IOQueue, WaitForBuffer)
{
    TIOQueue q;
    EXPECT_EQ(q.WaitForBuffer(50), TWaitResult::wrTimeout);
    q.Push(std::make_unique<TStatusBuffer>());
    EXPECT_EQ(q.WaitForBuffer(60000), TWaitResult::wrSignaled);  // at once
    q.Pop();
    EXPECT_EQ(q.WaitForBuffer(0), TWaitResult::wrSignaled) << "the push's signal, left by a wait that found an entry";
    EXPECT_EQ(q.WaitForBuffer(0), TWaitResult::wrTimeout) << "taken by the wait before";
    // Another thread's push ends a wait, whether it comes before the wait or during it.
    std::thread producer([&q] {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        q.Push(std::make_unique<TStatusBuffer>());
    });
    EXPECT_EQ(q.WaitForBuffer(60000), TWaitResult::wrSignaled);
    producer.join();
    q.Pop();
    q.WaitForBuffer(0);  // the push's signal, if the wait found its entry
    std::thread waker([&q] {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        q.Wake();
    });
    EXPECT_EQ(q.WaitForBuffer(60000), TWaitResult::wrSignaled) << "woken without an entry";
    waker.join();
    EXPECT_EQ(q.Count(), 0);
}

// Four producers push numbered blocks and status entries while the consumer takes
// them the way the dispatcher does: Peek, read part of a block, release or pop. With
// flushing on, another thread clears the queue now and then; it must never free the
// block being read, and what survives still arrives in each producer's order. The first
// flush waits until the consumer holds a block lent to it, and the consumer reads that
// block only after the flush, so a flush meets a lent block on every run.
struct ConsumerTally {
    int64_t bytes = 0;
    int statuses = 0;
    bool inOrder = true;
};

ConsumerTally RunProducersAndConsumer(bool flushing)
{
    constexpr int producers = 4;
    constexpr int perProducer = 2000;
    TIOQueue q;
    std::atomic<bool> done{false};
    std::vector<std::thread> threads;
    for (int p = 0; p < producers; ++p) {
        threads.emplace_back([&q, p] {
            for (int i = 0; i < perProducer; ++i) {
                auto b = Block(8, static_cast<uint8_t>(p));
                b->Data[1] = static_cast<uint8_t>(i >> 8);
                b->Data[2] = static_cast<uint8_t>(i & 0xFF);
                q.Push(std::move(b));
                if (i % 4 == 0)
                    q.Push(std::make_unique<TStatusBuffer>());
            }
        });
    }
    std::thread ender([&] {
        for (auto& t : threads)
            t.join();
        done = true;
    });
    std::atomic<bool> holdingALentBlock{false};
    std::atomic<int> flushes{0};
    std::thread flusher([&] {
        if (!flushing)
            return;
        WaitUntil([&] { return holdingALentBlock.load(); }, std::chrono::seconds(10));
        do {
            q.Clear();
            ++flushes;
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        } while (!done);
    });
    ConsumerTally tally;
    std::vector<int> lastSeen(producers, -1);
    while (!(done && q.Count() == 0)) {
        q.WaitForBuffer(5);
        TIOBuffer* entry = q.Peek();
        if (!entry)
            continue;
        auto* data = dynamic_cast<TDataBuffer*>(entry);
        if (!data) {
            ++tally.statuses;
            q.Pop();
            continue;
        }
        if (flushing && !holdingALentBlock) {
            holdingALentBlock = true;
            WaitUntil([&] { return flushes > 0; }, std::chrono::seconds(10));
        }
        if (data->BytesRead == 0) {
            int p = data->Data[0];
            int seq = data->Data[1] << 8 | data->Data[2];
            tally.inOrder = tally.inOrder && p < producers && seq > lastSeen[static_cast<size_t>(p)];
            lastSeen[static_cast<size_t>(p % producers)] = seq;
        }
        // Three bytes at a time, as a reader asking for less than a block would.
        int take = std::min(3, data->BytesUsed - data->BytesRead);
        tally.bytes += take;
        data->BytesRead += take;
        if (data->BytesRead == data->BytesUsed)
            q.Pop();
        else
            data->InUse = false;
    }
    ender.join();
    flusher.join();
    EXPECT_EQ(q.BytesQueued(), 0);
    return tally;
}

TEST(IOQueueThreads, EveryByteArrivesOnce)
{
    ConsumerTally tally = RunProducersAndConsumer(false);
    EXPECT_TRUE(tally.inOrder);
    EXPECT_EQ(tally.bytes, 4 * 2000 * 8);
    EXPECT_EQ(tally.statuses, 4 * 500);
}

TEST(IOQueueThreads, FlushingNeverFreesTheLentBlock)
{
    ConsumerTally tally = RunProducersAndConsumer(true);
    EXPECT_TRUE(tally.inOrder);
    EXPECT_LE(tally.bytes, 4 * 2000 * 8);
    EXPECT_GT(tally.bytes, 0);
}

} // namespace
