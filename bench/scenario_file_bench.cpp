// Loading and saving the largest scenario (8000 steps of 640 channels, 5.1 MB), each
// beside a raw read or write of the same bytes in the same run. The save writes a
// temporary file, puts it on the disk and replaces the old file; its baselines are the
// plain write and the write followed by the same flush to the disk.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "scenario/ScenarioFile.h"
#include "ui/SafeSave.h"
#include "ui/Streams.h"

namespace {

constexpr int kSteps = 8000;
constexpr int kChannels = 640;
const ScenarioModel kModel{10, 80, 1, 6000, 128, true, true, true};

const ScenarioSnapshot& LargestScenario()
{
    static const ScenarioSnapshot scn = [] {
        ScenarioSnapshot s;
        s.SetCell(0, 0, kSteps + 1);
        for (int c = 1; c <= kSteps; ++c) {
            s.SetCell(c, 1, static_cast<uint16_t>(10 + c % 50));
            for (int k = 0; k < kChannels; ++k)
                s.SetCell(c, kFirstChannelRow + k, static_cast<uint16_t>((c * 7 + k) % 132));
        }
        s.loops.assign(255, LoopRecord{1, 2, 2});
        s.labels = {1, 100, 200};
        return s;
    }();
    return scn;
}

std::string FileName(const char* name) { return (std::filesystem::temp_directory_path() / name).string(); }

const std::string& SavedFile()
{
    static const std::string name = [] {
        std::string file = FileName("pelvor-bench-load.scn");
        SaveStreamSafely(file, [](TStream& out) { WriteScenario(out, LargestScenario(), kChannels, 20, kModel); });
        return file;
    }();
    return name;
}

void SetBytes(benchmark::State& state, size_t bytes)
{
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(bytes));
}

void BM_LoadScenario(benchmark::State& state)
{
    const ScenarioReadRequest request{kModel, kChannels, kSteps, true, false};
    ScenarioSnapshot buffer;
    for (auto _ : state) {
        TFileStream in(SavedFile(), fmOpenRead | fmShareDenyWrite);
        ScenarioReadResult r = ReadScenario(in, request, buffer);
        if (r.fault != ScenarioFault::None || r.stepsRead != kSteps)
            state.SkipWithError("the scenario did not read back");
        benchmark::DoNotOptimize(buffer);
    }
    SetBytes(state, std::filesystem::file_size(SavedFile()));
}

void BM_RawRead(benchmark::State& state)
{
    std::vector<uint8_t> bytes;
    for (auto _ : state) {
        TFileStream in(SavedFile(), fmOpenRead | fmShareDenyWrite);
        bytes.resize(static_cast<size_t>(in.Size()));
        in.ReadBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
        benchmark::DoNotOptimize(bytes.data());
    }
    SetBytes(state, bytes.size());
}

void BM_SaveScenario(benchmark::State& state)
{
    const std::string file = FileName("pelvor-bench-save.scn");
    for (auto _ : state)
        SaveStreamSafely(file, [](TStream& out) { WriteScenario(out, LargestScenario(), kChannels, 20, kModel); });
    SetBytes(state, std::filesystem::file_size(file));
    std::remove(file.c_str());
}

void RawWrite(benchmark::State& state, bool flush)
{
    const std::vector<uint8_t> bytes = EncodeScenario(LargestScenario(), kChannels, 20, kModel);
    const std::string file = FileName("pelvor-bench-raw.scn");
    for (auto _ : state) {
        TFileStream out(file, fmCreate);
        out.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
        if (flush)
            out.Flush();
    }
    SetBytes(state, bytes.size());
    std::remove(file.c_str());
}

void BM_RawWrite(benchmark::State& state) { RawWrite(state, false); }
void BM_RawWriteFlushed(benchmark::State& state) { RawWrite(state, true); }

BENCHMARK(BM_LoadScenario)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RawRead)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveScenario)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RawWrite)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RawWriteFlushed)->Unit(benchmark::kMillisecond);

} // namespace
