// Programming 16 KiB of flash (1 KiB of it boot-loader) over the serial protocol at
// 38400 baud: 5000 bytes of firmware and a scenario that fills the rest. Counters give
// the time to the end of the run against the line-rate limit of the bytes sent
// (bytes x 10 / 38400 s): in simulated time (line and controller modelled), and in
// real time over a pty with the simulated controller program pacing both directions.
// The baseline builds the same flash frames without the protocol.
#include <benchmark/benchmark.h>

#include "BurnJob.h"
#include "PtyBurnRun.h"
#include "SimulatedBurnRun.h"
#include "SimulatorProcess.h"
#include "programming/ComBurnFrames.h"

namespace {

// 5000 bytes of firmware, and a scenario that fills the 15360 bytes below the boot-loader.
BurnJob Job()
{
    BurnJob job;
    std::vector<uint8_t> firmware;
    for (size_t i = 0; i < 5000; ++i)
        firmware.push_back(static_cast<uint8_t>(i * 31 + 7));
    job.UseFirmware(std::move(firmware));
    job.image.assign(15360 - 5120, 0x42);
    job.eeprom.assign(33, 0xFF);
    job.inputs.ChannelCount = 18;
    job.UseBuffers();
    return job;
}

void Report(benchmark::State& state, double seconds, size_t bytes)
{
    const double limit = static_cast<double>(bytes) * 10 / 38400;
    state.counters["bytes_sent"] = static_cast<double>(bytes);
    state.counters["run_s"] = seconds;
    state.counters["line_limit_s"] = limit;
    state.counters["run_over_limit"] = seconds / limit;
}

void BM_BuildFlashFramesBaseline(benchmark::State& state)
{
    const BurnJob job = Job();
    std::vector<uint8_t> flash(job.rom.RomData);
    flash.resize(5120, 0xFF);
    flash.insert(flash.end(), job.image.begin(), job.image.end());
    for (auto _ : state)
        for (int block = 0; block < 120; ++block)
            benchmark::DoNotOptimize(FlashBlockFrame(flash.data(), 15360, block, 128, block < 40, 12345).data());
}
BENCHMARK(BM_BuildFlashFramesBaseline)->Unit(benchmark::kMicrosecond);

void BM_Program16KSimulatedTime(benchmark::State& state)
{
    const BurnJob job = Job();
    double seconds = 0;
    size_t bytes = 0;
    for (auto _ : state) {
        SimulatedControllerSettings settings;
        SimulatedController controller(settings);
        BurnRunOptions options;
        options.baud = 38400;
        SimulatedBurnRun run(controller, job.inputs, job.rom, options);
        if (!run.Run() || !run.boxes.empty())
            state.SkipWithError("the run did not end cleanly");
        seconds = run.closedAt;
        bytes = run.bytesSentAtClose;
    }
    Report(state, seconds, bytes);
}
BENCHMARK(BM_Program16KSimulatedTime)->Unit(benchmark::kMicrosecond);

void BM_Program16KOverPty(benchmark::State& state)
{
    const BurnJob job = Job();
    for (auto _ : state) {
        SimulatorProcess simulator(BURNSIM_PROGRAM, {"--paced"});
        PtyBurnRun run(simulator.Line(), job.inputs, job.rom);
        if (!simulator.Ready() || !run.Run(60000) || !run.boxes.empty()) {
            state.SkipWithError("the run did not end cleanly");
            break;
        }
        Report(state, run.secondsToClose, run.bytesSentAtClose);
    }
}
BENCHMARK(BM_Program16KOverPty)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();

} // namespace
