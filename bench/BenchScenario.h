#pragma once
// The scenario the editing benchmarks start from: a ring with pushing enabled whose
// current slot holds the given steps, every one of the 640 channels holding data.
#include <memory>

#include "scenario/UndoRing.h"

constexpr int kBenchChannels = 640;

inline std::unique_ptr<UndoRing> MakeBenchRing(int steps)
{
    auto ring = std::make_unique<UndoRing>();
    ring->Clear();
    ScenarioSnapshot& s = ring->Current();
    s.SetCell(0, 0, static_cast<uint16_t>(steps + 1));
    s.SetCell(0, 1, 40);
    for (int c = 1; c <= steps; ++c) {
        s.SetCell(c, 1, static_cast<uint16_t>(10 + c % 50));
        for (int k = 0; k < kBenchChannels; ++k)
            s.SetCell(c, kFirstChannelRow + k, static_cast<uint16_t>(1 + (c * 7 + k) % 128));
    }
    return ring;
}
