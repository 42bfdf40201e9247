#pragma once
// Bit-flag and buffer helpers shared by the serial library.
#include <cstddef>
#include <cstdint>

inline bool FlagIsSet(uint32_t flags, uint32_t mask) { return (flags & mask) != 0; }
inline void SetFlag(uint32_t& flags, uint32_t mask) { flags |= mask; }
inline void ClearFlag(uint32_t& flags, uint32_t mask) { flags &= ~mask; }
inline bool ByteFlagIsSet(uint8_t flags, uint8_t mask) { return (flags & mask) != 0; }
inline void SetByteFlag(uint8_t& flags, uint8_t mask) { flags = static_cast<uint8_t>(flags | mask); }
inline void ClearByteFlag(uint8_t& flags, uint8_t mask) { flags = static_cast<uint8_t>(flags & ~mask); }
inline uint32_t MinWord(uint32_t a, uint32_t b) { return a < b ? a : b; }
inline void* AddWordToPtr(void* p, uint32_t w) { return static_cast<uint8_t*>(p) + w; }
inline void* GetPtr(void* p, int32_t offset) { return static_cast<uint8_t*>(p) + offset; }

// Inverts every bit of len bytes.
void NotBuffer(void* buffer, size_t len);
