#pragma once
// A clock for tests: set by hand, and optionally advanced by a step at every reading.
// Installed for the lifetime of the object.
#include <atomic>
#include <cstdint>

#include "serial/SioClock.h"

class FakeSioClock : public SioClock {
public:
    explicit FakeSioClock(uint32_t start = 0, uint32_t step = 0) : now_(start), step_(step) { SetSioClock(this); }
    ~FakeSioClock() override { SetSioClock(nullptr); }
    uint32_t NowMs() override { return now_.fetch_add(step_); }
    void Set(uint32_t ms) { now_ = ms; }
    void Advance(uint32_t ms) { now_ += ms; }
    uint32_t Peek() const { return now_; }

private:
    std::atomic<uint32_t> now_;
    uint32_t step_;
};
