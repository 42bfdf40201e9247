// One frame of the preview as the user sees it, at 640 channels: the lamp column (the
// playback's levels and the lamps drawn into the 40-pixel column of a 1080-pixel-high
// screen) and the show window's image, with the generated layout and with a layout
// picture. Each is measured against one memcpy of the frame's pixel buffer in the same
// run: the ratio of the two is the figure to read.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstring>
#include <memory>
#include <vector>

#include "preview/LampColumn.h"
#include "preview/PreviewEngine.h"
#include "preview/ShowLayout.h"

namespace {

constexpr int kChannels = 640;
constexpr int kLevelMax = 128;
constexpr int kColumnWidth = 40;
constexpr int kScreenHeight = 1080;

void CopyFrame(benchmark::State& state, size_t pixels)
{
    std::vector<uint32_t> from(pixels, 0x123456), to(pixels, 0);
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), pixels * sizeof(uint32_t));
        benchmark::ClobberMemory();
    }
    state.counters["frame_pixels"] = static_cast<double>(pixels);
}

std::unique_ptr<ControllerConfig> Config()
{
    auto cfg = std::make_unique<ControllerConfig>();
    *cfg = ControllerConfig{};
    SetChannelDefaults(*cfg);
    cfg->channels = kChannels;
    for (int c = 0; c < kChannels; ++c)
        cfg->channelTable[c].color = 0x10000u * (c * 37 % 256) + 0x100u * (c * 11 % 256) + (c * 5 % 256);
    for (int c = 0; c < 60; ++c)  // twenty RGB groups at the top
        cfg->channelTable[c].rgbGroup = 1;
    return cfg;
}

// A scenario of 100 steps of 35 ms whose cells mix every effect.
class BenchHost : public PreviewHost {
public:
    BenchHost()
    {
        scenario.SetCell(0, 0, 101);
        for (int c = 1; c <= 100; ++c) {
            scenario.SetCell(c, 1, 70);
            for (int k = 0; k < kChannels; ++k) {
                static const uint16_t codes[] = {0, 40, 128, kCellRampUp, kCellRampDown, kCellStrobe, 90};
                scenario.SetCell(c, kFirstChannelRow + k, codes[(c + k) % 7]);
            }
        }
    }
    const ScenarioSnapshot& Scenario() override { return scenario; }
    int ColumnCount() override { return 101; }
    bool Running() override { return true; }
    double MsPerTimeUnit() override { return 0.5; }
    void ColumnAdvanced(int, int) override {}

    ScenarioSnapshot scenario;
};

void BM_CopyPreviewFrame(benchmark::State& state) { CopyFrame(state, kColumnWidth * kScreenHeight); }

void BM_PreviewFrame(benchmark::State& state)
{
    auto cfg = Config();
    BenchHost host;
    PreviewEngine engine;
    int column = 1, first = 1, last = 100;
    // Rows of 24 pixels as the grid shows them at zoom 1, the first channel row in view.
    std::vector<RowSpan> rows(kChannels);
    for (int c = 0; c < kChannels; ++c)
        rows[static_cast<size_t>(c)] = RowSpan{(3 + c) * 25 + 2, (3 + c) * 25 + 22};
    std::vector<uint32_t> pixels(kColumnWidth * kScreenHeight, 0);
    std::vector<int> showLevels(kChannels);
    LampColumn lamps;
    lamps.frame = PixelView{pixels.data(), kColumnWidth, kScreenHeight};
    lamps.width = kColumnWidth;
    lamps.rows = rows.data();
    lamps.levelMax = kLevelMax;
    for (auto _ : state) {
        PreviewFrame frame = engine.Advance(16, PlayPosition{column, first, last}, kLevelMax, host);
        ForEachLampLevel(
            host.scenario, column, cfg->channels, cfg->channelTable, frame, kLevelMax,
            [&](int c, int level) {
                showLevels[static_cast<size_t>(c)] = level;
                lamps.DrawChannel(c, level, cfg->channelTable[c].color);
            },
            [&](int c, int red, int green, int blue) {
                showLevels[static_cast<size_t>(c)] = red;
                showLevels[static_cast<size_t>(c) + 1] = green;
                showLevels[static_cast<size_t>(c) + 2] = blue;
                lamps.DrawRgb(c, red, green, blue);
            });
        benchmark::ClobberMemory();
    }
    state.counters["frame_pixels"] = static_cast<double>(pixels.size());
}

// Colours and levels of a frame in which every channel is lit.
struct Lights {
    std::vector<uint32_t> colours;
    std::vector<int> levels;
    explicit Lights(const ControllerConfig& cfg)
    {
        for (int c = 0; c < kChannels; ++c) {
            colours.push_back(cfg.channelTable[c].color);
            levels.push_back(1 + c % kLevelMax);
        }
    }
};

void ComposeFrames(benchmark::State& state, const ShowLayout& layout, const ControllerConfig& cfg)
{
    Lights lights(cfg);
    std::vector<uint32_t> image(static_cast<size_t>(layout.FrameWidth()) * static_cast<size_t>(layout.FrameHeight()));
    PixelView view{image.data(), layout.FrameWidth(), layout.FrameHeight()};
    for (auto _ : state) {
        layout.Compose(view, lights.colours.data(), lights.levels.data(), kChannels, kLevelMax);
        benchmark::ClobberMemory();
    }
    state.counters["frame_pixels"] = static_cast<double>(image.size());
}

// The generated layout of 640 single channels: 20 by 32 lamps, 240 x 384 pixels.
void BM_CopyGeneratedShowFrame(benchmark::State& state) { CopyFrame(state, 240 * 384); }

void BM_GeneratedShowFrame(benchmark::State& state)
{
    auto cfg = Config();
    for (int c = 0; c < kChannels; ++c)
        cfg->channelTable[c].rgbGroup = 0;
    ShowLayout layout = ShowLayout::Generate(cfg->channels, cfg->channelTable);
    ComposeFrames(state, layout, *cfg);
}

// A layout picture of 640 channel frames of 384 x 240 pixels, a strip of 236 MB at 32
// bits, made on the fly row by row. Each channel lights a soft disc of radius 7 in its own
// 12-pixel cell, or (wholeFrame) a grey wash over the whole frame, the worst case.
class SyntheticPicture : public PictureRows {
public:
    static constexpr int kFrameWidth = 384, kFrameHeight = 240;
    explicit SyntheticPicture(bool wholeFrame) : wholeFrame_(wholeFrame) {}
    int Width() const override { return kFrameWidth + 1; }
    int Height() const override { return (kChannels + 1) * kFrameHeight; }
    bool ReadRow(int y, uint32_t* row) override
    {
        int frame = y / kFrameHeight, fy = y % kFrameHeight;
        for (int x = 0; x < kFrameWidth; ++x)
            row[x] = frame == 0 ? ((x / 16 + fy / 16) % 2 ? 0x101010u : 0u) : Light(frame - 1, x, fy);
        row[kFrameWidth] = y == kFrameHeight ? 0xFFFFFFu : 0u;
        return true;
    }

private:
    uint32_t Light(int channel, int x, int y) const
    {
        if (wholeFrame_)
            return 0x010101u * static_cast<uint32_t>((x + y + channel) % 256);
        int cx = channel % 32 * 12 + 6, cy = channel / 32 * 12 + 6;
        double d = std::hypot(x - cx, y - cy);
        return d < 7 ? 0x010101u * static_cast<uint32_t>(255 - d * 30) : 0u;
    }
    bool wholeFrame_;
};

void BM_CopyPictureShowFrame(benchmark::State& state)
{
    CopyFrame(state, SyntheticPicture::kFrameWidth * SyntheticPicture::kFrameHeight);
}

void PictureFrames(benchmark::State& state, bool wholeFrame)
{
    auto cfg = Config();
    SyntheticPicture picture(wholeFrame);
    ShowLayout layout;
    if (!ShowLayout::FromPicture(picture, kChannels, layout)) {
        state.SkipWithError("the picture gave no layout");
        return;
    }
    ComposeFrames(state, layout, *cfg);
}

void BM_PictureShowFrame(benchmark::State& state) { PictureFrames(state, false); }
void BM_PictureShowFrameWholeFrameMasks(benchmark::State& state) { PictureFrames(state, true); }

} // namespace

BENCHMARK(BM_CopyPreviewFrame)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PreviewFrame)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CopyGeneratedShowFrame)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_GeneratedShowFrame)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CopyPictureShowFrame)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PictureShowFrame)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PictureShowFrameWholeFrameMasks)->Unit(benchmark::kMicrosecond);
