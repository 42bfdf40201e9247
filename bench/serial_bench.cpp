// The serial dispatcher's receive path: 1 MiB that the device threads left on the
// dispatch queue in 4 KiB blocks is moved into the 8 KiB receive ring and taken out with
// GetBlock in 4 KiB pieces, as an application reading a fast line does. Tracing and
// logging are off. Baseline in the same program: a memcpy of the same MiB. The blocks
// are queued outside the timing (on a port their bytes come from the device).
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "../tests/serial/MemoryDispatcher.h"

namespace {

constexpr size_t kTotal = 1 << 20;
constexpr uint32_t kPiece = 4096;

std::vector<uint8_t> Source()
{
    std::vector<uint8_t> bytes(kTotal);
    for (size_t i = 0; i < kTotal; ++i)
        bytes[i] = static_cast<uint8_t>(i * 31 + 7);
    return bytes;
}

void QueueBlocks(MemoryDispatcher& port, const std::vector<uint8_t>& source)
{
    for (size_t at = 0; at < kTotal; at += kPiece) {
        auto block = std::make_unique<TDataBuffer>(static_cast<int32_t>(kPiece));
        std::memcpy(block->Data.get(), source.data() + at, kPiece);
        block->BytesUsed = static_cast<int32_t>(kPiece);
        port.DispatchQueue.Push(std::move(block));
    }
}

void BM_MemcpyBaseline(benchmark::State& state)
{
    std::vector<uint8_t> source = Source(), target(kTotal);
    for (auto _ : state) {
        std::memcpy(target.data(), source.data(), kTotal);
        benchmark::DoNotOptimize(target.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kTotal));
}
BENCHMARK(BM_MemcpyBaseline);

// cycle: true runs the whole dispatch cycle (status and trigger checks included), false
// only its ExtractData step.
void ReceivePath(benchmark::State& state, bool cycle)
{
    MemoryDispatcher port;
    if (port.Open() != 0) {
        state.SkipWithError("the port did not open");
        return;
    }
    std::vector<uint8_t> source = Source(), target(kTotal);
    for (auto _ : state) {
        state.PauseTiming();
        QueueBlocks(port, source);
        state.ResumeTiming();
        size_t taken = 0;
        while (taken < kTotal) {
            if (cycle)
                port.DispatchCycle();
            else
                port.ExtractData();
            while (taken < kTotal && port.GetBlock(target.data() + taken, kPiece) == static_cast<int32_t>(kPiece))
                taken += kPiece;
        }
        benchmark::DoNotOptimize(target.data());
    }
    if (target != source)
        state.SkipWithError("bytes arrived changed");
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kTotal));
}

void BM_ReceiveRingExtractData(benchmark::State& state) { ReceivePath(state, false); }
void BM_ReceiveRingDispatchCycle(benchmark::State& state) { ReceivePath(state, true); }
BENCHMARK(BM_ReceiveRingExtractData);
BENCHMARK(BM_ReceiveRingDispatchCycle);

} // namespace
