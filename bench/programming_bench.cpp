// Controller image and C header at the largest scenario, and loading a 256 KiB firmware.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "programming/CHeaderExport.h"
#include "programming/ControllerImage.h"
#include "programming/Crc32.h"
#include "programming/Gost.h"
#include "programming/RomFile.h"

namespace {

constexpr int kSteps = 8000;
constexpr int kChannels = 255;
constexpr uint32_t kRomBytes = 256 * 1024;

const ScenarioSnapshot& LargestScenario()
{
    static const ScenarioSnapshot scenario = [] {
        ScenarioSnapshot s;
        s.SetCell(0, 0, kSteps + 1);
        for (int c = 1; c <= kSteps; ++c) {
            s.SetCell(c, 1, static_cast<uint16_t>(c % 500 + 1));
            for (int k = 0; k < kChannels; ++k)
                s.SetCell(c, kFirstChannelRow + k, static_cast<uint16_t>((c * 7 + k) % 132));
        }
        for (int i = 0; i < 255; ++i) {
            s.loops.push_back({static_cast<uint16_t>(i * 30 + 1), static_cast<uint16_t>(i * 30 + 10), 3});
            s.labels.push_back(static_cast<uint16_t>(i * 30 + 15));
        }
        return s;
    }();
    return scenario;
}

void BM_BuildControllerImage(benchmark::State& state)
{
    const ScenarioSnapshot& s = LargestScenario();
    for (auto _ : state) {
        auto image = MakeControllerImage(s, 100, 0, kChannels);
        auto eeprom = MakeEepromBlock(s.labels.size(), 100);
        benchmark::DoNotOptimize(image.data());
        benchmark::DoNotOptimize(eeprom.data());
    }
}
BENCHMARK(BM_BuildControllerImage)->Unit(benchmark::kMillisecond);

void BM_FormatCHeader(benchmark::State& state)
{
    const auto image = MakeControllerImage(LargestScenario(), 100, 0, kChannels);
    for (auto _ : state) {
        std::string text = FormatCHeader(image.data(), image.size(), 100);
        benchmark::DoNotOptimize(text.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * image.size()));
}
BENCHMARK(BM_FormatCHeader)->Unit(benchmark::kMillisecond);

std::vector<uint8_t> PlainFirmware()
{
    std::vector<uint8_t> plain(kRomBytes);
    for (uint32_t i = 0; i < kRomBytes; ++i)
        plain[i] = static_cast<uint8_t>(i * 131 + (i >> 9));
    return plain;
}

void BM_DecipherAndCheckFirmware(benchmark::State& state)
{
    const std::vector<uint8_t> plain = PlainFirmware();
    std::vector<uint8_t> data = plain;
    for (auto _ : state) {
        TGost().DecryptBuffer(data.data(), kRomBytes, kRomPassword);
        benchmark::DoNotOptimize(Crc32(0xFFFFFFFF, data.data(), kRomBytes));
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kRomBytes));
}
BENCHMARK(BM_DecipherAndCheckFirmware)->Unit(benchmark::kMillisecond);

void BM_LoadRomFile(benchmark::State& state)
{
    // Made here: the gamma enciphers as it deciphers.
    std::vector<uint8_t> plain = PlainFirmware();
    const uint32_t crc = Crc32(0xFFFFFFFF, plain.data(), kRomBytes);
    TGost().DecryptBuffer(plain.data(), kRomBytes, kRomPassword);
    std::vector<uint8_t> file = {'M', '6', '0', '0', 0, 0, 0, 0, 1, 20, 'M', 1};
    for (uint32_t v : {kRomBytes, crc})
        for (int i = 0; i < 4; ++i)
            file.push_back(static_cast<uint8_t>(v >> (8 * i)));
    file.insert(file.end(), plain.begin(), plain.end());
    const std::string name = (std::filesystem::temp_directory_path() / "pelvor-bench.rom").string();
    std::ofstream(name, std::ios::binary).write(reinterpret_cast<const char*>(file.data()),
                                                static_cast<std::streamsize>(file.size()));
    for (auto _ : state) {
        RomFile rom = LoadRomFile(name);
        if (!rom.RomLoaded)
            state.SkipWithError("firmware not loaded");
        benchmark::DoNotOptimize(rom.RomData.data());
    }
    std::remove(name.c_str());
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kRomBytes));
}
BENCHMARK(BM_LoadRomFile)->Unit(benchmark::kMillisecond);

} // namespace
