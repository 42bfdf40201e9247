// Undo snapshots as the user feels them: the push that precedes every edit, the edit
// itself, and an undo, on a scenario of 1308 steps (the largest for the default model)
// and of 8000 steps, every one of the 640 channels holding data. Each case also reports
// the ring's memory after 100 pushes of that kind.
#include <benchmark/benchmark.h>

#include <memory>

#include "BenchScenario.h"
#include "scenario/UndoRing.h"

namespace {

// A typical edit: one cell of one channel, a different place each time.
void EditOneCell(UndoRing& ring, int steps, int n)
{
    int column = 1 + n % steps;
    int row = kFirstChannelRow + n % kBenchChannels;
    ring.Current().SetCell(column, row, static_cast<uint16_t>(ring.Current().Cell(column, row) ^ 1));
}

// The worst case: a change in every column, as a whole-scenario operation makes.
void EditEveryColumn(UndoRing& ring, int steps, int n)
{
    int row = kFirstChannelRow + n % kBenchChannels;
    for (int c = 0; c <= steps; ++c)
        ring.Current().SetCell(c, row, static_cast<uint16_t>(ring.Current().Cell(c, row) ^ 1));
}

using Edit = void (*)(UndoRing&, int, int);

void PushAndEdit(UndoRing& ring, Edit edit, int steps, int n)
{
    ring.Push();
    edit(ring, steps, n);
}

// Memory of a fresh ring after 100 pushes, each followed by the edit.
void ReportMemory(benchmark::State& state, Edit edit, int steps)
{
    auto ring = MakeBenchRing(steps);
    for (int n = 0; n < 100; ++n)
        PushAndEdit(*ring, edit, steps, n);
    state.counters["ring_bytes_after_100"] = benchmark::Counter(
        static_cast<double>(ring->MemoryBytes()), benchmark::Counter::kDefaults,
        benchmark::Counter::OneK::kIs1024);
}

void RunPushEdit(benchmark::State& state, Edit edit)
{
    int steps = static_cast<int>(state.range(0));
    auto ring = MakeBenchRing(steps);
    int n = 0;
    for (auto _ : state) {
        PushAndEdit(*ring, edit, steps, n++);
        benchmark::ClobberMemory();
    }
    ring.reset();
    ReportMemory(state, edit, steps);
}

void BM_PushEditOneCell(benchmark::State& state) { RunPushEdit(state, EditOneCell); }
void BM_PushEditEveryColumn(benchmark::State& state) { RunPushEdit(state, EditEveryColumn); }

// Undo moves back through 99 steps; when none is left the ring is rewound by redo
// outside the timing, so every timed call is an undo that succeeds.
void BM_Undo(benchmark::State& state)
{
    int steps = static_cast<int>(state.range(0));
    auto ring = MakeBenchRing(steps);
    for (int n = 0; n < 100; ++n)
        PushAndEdit(*ring, EditOneCell, steps, n);
    for (auto _ : state) {
        if (!ring->CanUndo()) {
            state.PauseTiming();
            while (ring->Redo()) {
            }
            state.ResumeTiming();
        }
        ring->Undo();
        // The window reads the column count and the speed of the restored slot at once.
        benchmark::DoNotOptimize(ring->Current().ColCount());
        benchmark::DoNotOptimize(ring->Current().Cell(0, 1));
    }
    ring.reset();
    ReportMemory(state, EditOneCell, steps);
}

} // namespace

BENCHMARK(BM_PushEditOneCell)->Arg(1308)->Arg(8000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Undo)->Arg(1308)->Arg(8000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PushEditEveryColumn)->Arg(1308)->Arg(8000)->Unit(benchmark::kMillisecond);
