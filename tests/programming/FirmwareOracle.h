#pragma once
// Independent references for the firmware tests: GOST 28147-89 from the system's
// libgcrypt (S-box of the GOST R 34.11-94 test parameter set), the firmware gamma built
// on it, and a bit-at-a-time CRC-32.
#include <cstdint>
#include <cstring>
#include <random>
#include <vector>

#include <gcrypt.h>
#include <gtest/gtest.h>

#include "programming/Gost.h"

inline void InitGcrypt()
{
    static bool done = false;
    if (!done) {
        gcry_check_version(nullptr);
        gcry_control(GCRYCTL_DISABLE_SECMEM, 0);
        gcry_control(GCRYCTL_INITIALIZATION_FINISHED, 0);
        done = true;
    }
}

using Bytes = std::vector<uint8_t>;

// Enciphers or deciphers data (a multiple of 8 bytes) with the 32-byte key in
// GCRY_CIPHER_MODE_ECB or GCRY_CIPHER_MODE_CFB (iv: 8 bytes).
inline std::vector<uint8_t> OracleGost(int mode, const uint8_t key[32], const uint8_t* iv,
                                       std::vector<uint8_t> data, bool encrypt)
{
    InitGcrypt();
    gcry_cipher_hd_t h = nullptr;
    EXPECT_EQ(gcry_cipher_open(&h, GCRY_CIPHER_GOST28147, mode, 0), 0u);
    static char testParamSet[] = "1.2.643.2.2.30.0";
    EXPECT_EQ(gcry_cipher_ctl(h, GCRYCTL_SET_SBOX, testParamSet, 0), 0u);
    EXPECT_EQ(gcry_cipher_setkey(h, key, 32), 0u);
    if (iv) {
        EXPECT_EQ(gcry_cipher_setiv(h, iv, 8), 0u);
    }
    gcry_error_t err = encrypt ? gcry_cipher_encrypt(h, data.data(), data.size(), nullptr, 0)
                               : gcry_cipher_decrypt(h, data.data(), data.size(), nullptr, 0);
    EXPECT_EQ(err, 0u);
    gcry_cipher_close(h);
    return data;
}

// The key words for "K4m7wqR2" and "abcde", worked out by hand from the derivation rule.
inline const uint32_t kFirmwareKey[8] = {0xd8c68fcc, 0x25ad910c, 0xbffcf1e4, 0xfbaa6434,
                                  0x61803c84, 0xd9b29c34, 0x87fc963c, 0x9b2df9ac};
inline const uint32_t kAbcdeKey[8] = {0x4d6d80bc, 0x132ccbac, 0x7e7b693c, 0xf5e7fe7c,
                               0xd3494714, 0xf3991224, 0xfc2fe214, 0x62fa2b84};

inline Bytes KeyBytes(const uint32_t key[8])
{
    Bytes b(32);
    for (int i = 0; i < 32; ++i)
        b[static_cast<size_t>(i)] = static_cast<uint8_t>(key[i / 4] >> (8 * (i % 4)));
    return b;
}

inline Bytes BlockBytes(GostBlock g)
{
    const uint32_t key[8] = {g.n1, g.n2};
    Bytes b = KeyBytes(key);
    b.resize(8);
    return b;
}

inline GostBlock ToBlock(const uint8_t* p)
{
    GostBlock g{};
    std::memcpy(&g.n1, p, 4);  // the test host is little-endian, as the files are
    std::memcpy(&g.n2, p + 4, 4);
    return g;
}

inline Bytes RandomBytes(size_t n, unsigned seed)
{
    std::mt19937 rng(seed);
    Bytes b(n);
    for (auto& x : b)
        x = static_cast<uint8_t>(rng());
    return b;
}

// The firmware gamma built on the oracle's block encryption: the synchro is stepped
// (+0x01010101; +0x01010104 then mod 0xFFFFFFFF), enciphered, used as gamma and kept.
inline Bytes ReferenceGamma(const uint32_t key[8], size_t length)
{
    const Bytes keyBytes = KeyBytes(key);
    uint32_t y0 = 0x5d31b7, y1 = 0x5c08e6;
    Bytes gamma;
    while (gamma.size() < length) {
        y0 += 0x01010101u;
        y1 = static_cast<uint32_t>((uint64_t{y1} + 0x01010104u) % 0x100000000u % 0xFFFFFFFFu);
        Bytes block = OracleGost(GCRY_CIPHER_MODE_ECB, keyBytes.data(), nullptr,
                                 BlockBytes({y0, y1}), true);
        GostBlock g = ToBlock(block.data());
        y0 = g.n1;
        y1 = g.n2;
        gamma.insert(gamma.end(), block.begin(), block.end());
    }
    gamma.resize(length);
    return gamma;
}

// CRC-32 one bit at a time: register = NOT crc, polynomial 0xEDB88320, result NOT register.
inline uint32_t BitwiseCrc32(uint32_t crc, const uint8_t* data, size_t length)
{
    uint32_t reg = ~crc;
    for (size_t i = 0; i < length; ++i) {
        reg ^= data[i];
        for (int bit = 0; bit < 8; ++bit)
            reg = (reg & 1) ? (reg >> 1) ^ 0xEDB88320u : reg >> 1;
    }
    return ~reg;
}
