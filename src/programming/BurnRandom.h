#pragma once
// The pseudo-random numbers behind the firmware blocks' key bytes: the C library's
// generator as the program's compiler ships it. Only the key byte travels, so the
// controller does not depend on the sequence.
#include <cstdint>

class BurnRandom {
public:
    void Seed(uint32_t seed) { state_ = static_cast<uint32_t>(seed * 22695477u + 1u); }
    // 0 .. 0x7FFFFFFF.
    uint32_t Next()
    {
        state_ = state_ * 0x0000015A00004E35ull + 1u;
        return static_cast<uint32_t>(state_ >> 32) & 0x7FFFFFFFu;
    }

private:
    uint64_t state_ = 1;
};
