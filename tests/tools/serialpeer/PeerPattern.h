#pragma once
// The bytes the test peer sends for a burst: byte i of every burst. Shared by the peer
// and the tests that check what arrived.
#include <cstdint>

inline uint8_t PeerPatternByte(uint32_t i) { return static_cast<uint8_t>(i * 131u + (i >> 8) * 7u + 1u); }
