// Step editing and pasting at the largest scenario, each case against its baseline in the
// same run: a memmove of the same cells, as a plain array of steps would have to make.
// The edits include the undo push that precedes them in the editor.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "BenchScenario.h"
#include "scenario/ClipboardEdits.h"
#include "scenario/ScenarioLabels.h"
#include "scenario/ScenarioLoops.h"
#include "scenario/StepColumns.h"

namespace {

constexpr int kSteps = 8000;
constexpr int kPastedSteps = 1000;

// Baseline: every step column of a plain [column][row] array moves by one column.
void BM_MemmoveSteps(benchmark::State& state)
{
    std::vector<uint16_t> cells(static_cast<size_t>(kSnapshotColumns + 1) * kSnapshotRows, 1);
    size_t moved = static_cast<size_t>(kSteps) * kSnapshotRows;
    for (auto _ : state) {
        std::memmove(&cells[2 * kSnapshotRows], &cells[kSnapshotRows], moved * sizeof(uint16_t));
        benchmark::ClobberMemory();
    }
}

// A step inserted before the first of 7999 steps (the scenario then holds the most the
// grid allows); the undo outside the timing brings the 7999 steps back.
void BM_InsertStepAtFront(benchmark::State& state)
{
    auto ring = MakeBenchRing(kSteps - 1);
    for (auto _ : state) {
        ring->Push();
        InsertStep(ring->Current(), 1, 20);
        benchmark::ClobberMemory();
        state.PauseTiming();
        ring->Undo();
        state.ResumeTiming();
    }
}

// The first of 8000 steps deleted, with the loops and labels validated as the editor
// does after it; the undo outside the timing brings it back.
void BM_DeleteStepAtFront(benchmark::State& state)
{
    auto ring = MakeBenchRing(kSteps);
    for (auto _ : state) {
        ring->Push();
        DeleteSteps(ring->Current(), 1, {});
        ValidateLoops(ring->Current());
        ValidateLabels(ring->Current());
        benchmark::ClobberMemory();
        state.PauseTiming();
        ring->Undo();
        state.ResumeTiming();
    }
}

// Baseline: 1000 step columns of a plain [column][row] array copied elsewhere.
void BM_MemmovePastedSteps(benchmark::State& state)
{
    std::vector<uint16_t> cells(static_cast<size_t>(kSnapshotColumns) * kSnapshotRows, 1);
    size_t moved = static_cast<size_t>(kPastedSteps) * kSnapshotRows;
    for (auto _ : state) {
        std::memmove(&cells[2001 * kSnapshotRows], &cells[1 * kSnapshotRows], moved * sizeof(uint16_t));
        benchmark::ClobberMemory();
    }
}

// 1000 copied steps of 640 channels, with their times, dropped over steps 2001..3000;
// the undo outside the timing brings the steps back.
void BM_PasteSteps(benchmark::State& state)
{
    auto ring = MakeBenchRing(kSteps);
    GridSize size{kSteps + 1, kFirstChannelRow + kBenchChannels};
    auto edit = std::make_unique<GridEditState>();
    edit->Marks.Fill(CellRange{1, 1, kPastedSteps, size.rowCount - 1}, 1);
    CopySelection(*edit, ring->Current(), size, 1, kFirstChannelRow, kSelectSteps);
    PasteOffset offset{2000, 0};
    for (auto _ : state) {
        ring->Push();
        PasteClipboard(ring->Current(), edit->Clipboard, offset, 1, size);
        benchmark::ClobberMemory();
        state.PauseTiming();
        ring->Undo();
        state.ResumeTiming();
    }
}

} // namespace

BENCHMARK(BM_MemmoveSteps)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_InsertStepAtFront)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DeleteStepAtFront)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_MemmovePastedSteps)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PasteSteps)->Unit(benchmark::kMicrosecond);
