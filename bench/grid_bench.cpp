// The step grid as the user feels it. A full repaint at zoom 0.1 of the same visible
// area over a scenario of 8000 steps x 640 channels and over one of 50 x 20 (the
// baseline: both paint the same cells, so their times should match), the largest with
// 255 loops kept sorted, in the order AddLoop leaves them (an enclosing loop after the
// loops it encloses) and shuffled; a drag step over
// the largest grid against the small one and against a walk over all five million
// marks (the baseline a drag must stay clear of); the recalculation after a change at
// 8000 steps against 50 steps.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <memory>
#include <random>
#include <vector>

#include "scenario/GridCellPainter.h"
#include "scenario/GridZoom.h"
#include "scenario/ScenarioLoops.h"
#include "scenario/ScenarioTotals.h"
#include "ui/GridAxis.h"

namespace {

constexpr float kZoom = 0.1f;
constexpr TimeLimits kLed{1, 6000};

// Takes every drawing call and does nothing with it but count.
class CountingCanvas : public CellCanvas {
public:
    void SetBrush(uint32_t) override {}
    void SetPen(uint32_t, int) override {}
    void SetFont(bool, uint32_t) override {}
    void FillRect(const CellBox&) override { ++calls; }
    void TextRect(const CellBox&, int, int, const std::string&) override { ++calls; }
    void TextOut(int, int, const std::string&) override { ++calls; }
    int TextWidth(const std::string& text) override { return 6 * static_cast<int>(text.size()); }
    int TextHeight(const std::string&) override { return 13; }
    void RoundRect(const CellBox&, int, int) override { ++calls; }
    void Polygon(const CellPoint*, int) override { ++calls; }
    void Line(int, int, int, int) override { ++calls; }
    void Polyline(const CellPoint*, int) override { ++calls; }
    long long calls = 0;
};

enum LoopOrder { kSorted, kAddLoopOrder, kShuffled };

// loops loops spread over the steps in groups of three: two short loops, then one that
// encloses both (as a Ctrl-selection around them makes it). In AddLoop order the
// enclosing loop follows the two it encloses; sorted, it comes first.
std::vector<LoopRecord> SpreadLoops(int steps, int loops, LoopOrder order)
{
    ScenarioSnapshot scn;
    int groups = (loops + 2) / 3;
    int span = std::max(8, steps / groups);
    for (int g = 0; g < groups; ++g) {
        int base = 1 + g * span;
        uint16_t repeat = g % 7 == 0 ? kEndlessLoop : 3;
        LoopRecord group[] = {{static_cast<uint16_t>(base + 2), static_cast<uint16_t>(base + 3), repeat},
                              {static_cast<uint16_t>(base + 4), static_cast<uint16_t>(base + 5), 2},
                              {static_cast<uint16_t>(base), static_cast<uint16_t>(base + span / 2 + 1), 4}};
        for (int i = 0; i < 3 && static_cast<int>(scn.loops.size()) < loops; ++i)
            AddLoop(scn, group[i].firstColumn, group[i].lastColumn, group[i].repeatCount);
    }
    if (order == kSorted)
        std::stable_sort(scn.loops.begin(), scn.loops.end(),
                         [](const LoopRecord& a, const LoopRecord& b) { return a.firstColumn < b.firstColumn; });
    if (order == kShuffled)
        std::shuffle(scn.loops.begin(), scn.loops.end(), std::mt19937(20240521));
    return scn.loops;
}

// A scenario of every effect, with its loops and labels, and the grid's axes for it at
// zoom 0.1 scrolled to its middle.
struct GridScene {
    GridScene(int steps, int channels, int loops, LoopOrder order = kSorted)
    {
        scn.SetCell(0, 0, static_cast<uint16_t>(steps + 1));
        for (int c = 1; c <= steps; ++c) {
            scn.SetCell(c, 1, static_cast<uint16_t>(1 + (c % 50) * 37));  // the same widths in view at any size
            for (int k = 0; k < channels; ++k)
                scn.SetCell(c, kFirstChannelRow + k, static_cast<uint16_t>((c + k) % 5 == 4 ? 129 + (c % 3) : (c * k) % 129));
        }
        scn.loops = SpreadLoops(steps, loops, order);
        for (int i = 0; i < std::min(255, steps); ++i)
            scn.labels.push_back(static_cast<uint16_t>(1 + i * (steps / std::min(255, steps))));
        std::vector<int> widths;
        RecalcStepTimes(scn, steps + 1, kLed, kZoom, 10, widths);
        cols.SetCount(steps + 1, kDefaultStepColumnWidth);
        cols.SetSize(0, kChannelColumnWidth);
        cols.SetSizes(1, widths);
        rows.SetCount(kFixedRows + channels, RowHeightForZoom(kZoom));
        rows.Fixed = kFixedRows;
        cols.First = std::max(1, (steps / 2) / 50 * 50 + 1);  // a column whose time is that of column 1
        rows.First = std::max(kFixedRows, kFixedRows + channels / 2 - 10);
        for (int c = cols.First; c < cols.First + 10; ++c)
            for (int r = rows.First; r < rows.First + 5; ++r)
                edit->Marks.Set(c, r, 1);
        ctx.scenario = &scn;
        ctx.edit = edit.get();
        ctx.colCount = steps + 1;
        ctx.rowCount = kFixedRows + channels;
        ctx.currentCol = cols.First + 3;
        ctx.currentRow = rows.First + 3;
        ctx.playColumn = cols.First + 1;
        ctx.channel = [](int c) { return ChannelLook{"Кан", 0xFFFFFFu, c % 3 == 0}; };
        ctx.loopRows = &loopRows;
    }
    ScenarioSnapshot scn;
    std::unique_ptr<GridEditState> edit = std::make_unique<GridEditState>();
    GridAxis cols, rows;
    LoopRowIndex loopRows;
    GridPaintContext ctx;
};

// What the small grid covers at zoom 0.1: the area both repaints draw.
void VisibleArea(int& width, int& height)
{
    static const GridScene small(50, 20, 3);
    width = small.cols.ForEachInView(1 << 20, [](int, int) {});
    height = small.rows.ForEachInView(1 << 20, [](int, int) {});
}

void BM_RepaintVisibleArea(benchmark::State& state)
{
    GridScene scene(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)),
                    static_cast<int>(state.range(2)), static_cast<LoopOrder>(state.range(3)));
    int width, height;
    VisibleArea(width, height);
    CountingCanvas canvas;
    long long cells = 0;
    for (auto _ : state) {
        // The grid's paint: the rows in view, and in each the columns in view.
        std::vector<std::pair<int, int>> cols;
        scene.cols.ForEachInView(width, [&](int c, int x) { cols.emplace_back(c, x); });
        scene.rows.ForEachInView(height, [&](int r, int y) {
            for (const auto& [c, x] : cols) {
                CellBox box{x, y, x + scene.cols.Size(c), y + scene.rows.Size(r)};
                PaintGridCell(canvas, scene.ctx, c, r, box);
                ++cells;
            }
        });
    }
    state.counters["cells_per_repaint"] = static_cast<double>(cells) / static_cast<double>(state.iterations());
    benchmark::DoNotOptimize(canvas.calls);
}

// A drag to and fro over a 20 x 20 rectangle, one step per iteration.
void BM_DragStep(benchmark::State& state)
{
    int steps = static_cast<int>(state.range(0)), channels = static_cast<int>(state.range(1));
    auto edit = std::make_unique<GridEditState>();
    GridSize size{steps + 1, kFixedRows + channels};
    int col0 = std::max(1, steps / 2 - 10), row0 = std::max(kFixedRows, kFixedRows + channels / 2 - 10);
    edit->LeftButtonDown(col0, row0, 0, col0, row0, size);
    int n = 0;
    for (auto _ : state) {
        int d = 1 + n++ % 19;
        GridMouseResult r = edit->MouseMove(col0 + std::min(d, steps - col0), row0 + std::min(d, channels - 1),
                                            kKeyLeftButton, col0, row0, size);
        benchmark::DoNotOptimize(r);
    }
}

// The baseline a drag must not come near: one walk over every mark of the largest grid.
void BM_WalkAllMarks(benchmark::State& state)
{
    auto marks = std::make_unique<SelectionMarks>();
    marks->Set(4000, 300, 1);
    for (auto _ : state) {
        long long n = 0;
        for (int c = 1; c < kSnapshotColumns; ++c) {
            const uint16_t* column = marks->Column(c);
            for (int r = 1; r < kSnapshotRows; ++r)
                n += column[r] == 1 ? 1 : 0;
        }
        benchmark::DoNotOptimize(n);
    }
}

void BM_RecalcScenario(benchmark::State& state)
{
    int steps = static_cast<int>(state.range(0));
    GridScene scene(steps, 1, static_cast<int>(state.range(1)));
    std::vector<int> widths;
    for (auto _ : state) {
        ScenarioTotals t = RecalcStepTimes(scene.scn, steps + 1, kLed, 1.0f, 35, widths);
        benchmark::DoNotOptimize(t);
    }
}

} // namespace

// Steps, channels, loops, their order (0 sorted, 1 as AddLoop leaves them, 2 shuffled).
BENCHMARK(BM_RepaintVisibleArea)
    ->Args({50, 20, 3, kSorted})
    ->Args({8000, 640, 3, kSorted})
    ->Args({8000, 640, 255, kSorted})
    ->Args({8000, 640, 255, kAddLoopOrder})
    ->Args({8000, 640, 255, kShuffled})
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DragStep)->Args({50, 20})->Args({8000, 640})->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_WalkAllMarks)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RecalcScenario)->Args({50, 3})->Args({8000, 255})->Unit(benchmark::kMicrosecond);
