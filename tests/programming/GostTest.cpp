#include "programming/Gost.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>

#include "FirmwareOracle.h"

namespace {

TEST(DeriveKey, LinearCongruentialWordsXoredOverTheKey)
{
    uint32_t key[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    const uint32_t one = 1;
    DeriveKey(&one, 1, key, 3);
    EXPECT_EQ(key[0], 0x41c67ea6u);
    EXPECT_EQ(key[1], 0x967eb0e7u);
    EXPECT_EQ(key[2], 0x2781e494u);
    EXPECT_EQ(key[3], 4u) << "only keyWords words are written";

    const uint32_t password[2] = {0x376d344b, 0x32527177};  // "K4m7wqR2"
    DeriveKey(password, 2, key, 8);
    EXPECT_EQ(std::vector<uint32_t>(key, key + 8), std::vector<uint32_t>(kFirmwareKey, kFirmwareKey + 8));
    DeriveKey(password, 0, key, 8);
    EXPECT_EQ(std::vector<uint32_t>(key, key + 8), std::vector<uint32_t>(8, 0));
}

TEST(Gost, SubstitutionUsesRowOfTheValueAndColumnOfThePosition)
{
    TGost gost;
    EXPECT_EQ(gost.Substitute(0x00000000), 0x1D4675E4u);
    EXPECT_EQ(gost.Substitute(0xFFFFFFFF), 0xCCE23B93u);
    EXPECT_EQ(gost.Substitute(0x0000000F), 0x1D4675E3u);
    EXPECT_EQ(gost.Substitute(0xF0000000), 0xCD4675E4u);
}

TEST(Gost, SimpleReplacementMatchesTheOracle)
{
    for (unsigned seed = 1; seed <= 4; ++seed) {
        const Bytes key = RandomBytes(32, seed);
        const Bytes plain = RandomBytes(64, seed + 100);
        const Bytes cipher = OracleGost(GCRY_CIPHER_MODE_ECB, key.data(), nullptr, plain, true);
        TGost gost;
        uint32_t words[8];
        std::memcpy(words, key.data(), 32);
        gost.SetKey(words);
        gost.SetMode(kGostSimple);
        GostBlock unused{};
        for (size_t at = 0; at < plain.size(); at += 8) {
            GostBlock c = gost.CryptData(ToBlock(&plain[at]), unused, true);
            EXPECT_EQ(BlockBytes(c), Bytes(&cipher[at], &cipher[at + 8])) << "seed " << seed;
            GostBlock p = gost.CryptData(c, unused, false);
            EXPECT_EQ(BlockBytes(p), Bytes(&plain[at], &plain[at + 8]));
        }
    }
}

TEST(Gost, FeedbackModeMatchesTheOracleBothWays)
{
    const Bytes key = RandomBytes(32, 7);
    const Bytes iv = RandomBytes(8, 8);
    const Bytes plain = RandomBytes(40, 9);
    const Bytes cipher = OracleGost(GCRY_CIPHER_MODE_CFB, key.data(), iv.data(), plain, true);
    TGost gost;
    uint32_t words[8];
    std::memcpy(words, key.data(), 32);
    gost.SetKey(words);
    GostBlock sync = ToBlock(iv.data());
    GostBlock back = sync;
    for (size_t at = 0; at < plain.size(); at += 8) {
        GostBlock c = gost.CryptData(ToBlock(&plain[at]), sync, true);
        EXPECT_EQ(BlockBytes(c), Bytes(&cipher[at], &cipher[at + 8]));
        GostBlock p = gost.CryptData(c, back, false);
        EXPECT_EQ(BlockBytes(p), Bytes(&plain[at], &plain[at + 8]));
    }
}

TEST(Gost, ConstructorStartsInFeedbackModeWithTheDefaultKey)
{
    const Bytes key = {0x7c, 0x2e, 0x94, 0xd1, 0xa0, 0x5b, 0x3f, 0x86, 0xe1, 0xd9, 0xc4,
                       0xa2, 0x7b, 0x30, 0xf5, 0x8e, 0x96, 0xa1, 0xd4, 0xc0, 0x7e, 0x2b,
                       0x5f, 0x38, 0xa9, 0xc6, 0x1e, 0x0d, 0x4b, 0x7f, 0x2a, 0x53};
    const Bytes iv = RandomBytes(8, 11);
    const Bytes plain = RandomBytes(8, 12);
    TGost gost;
    GostBlock sync = ToBlock(iv.data());
    EXPECT_EQ(BlockBytes(gost.CryptData(ToBlock(plain.data()), sync, true)),
              OracleGost(GCRY_CIPHER_MODE_CFB, key.data(), iv.data(), plain, true));

    gost.SetMode(3);
    GostBlock before = sync;
    GostBlock zero = gost.CryptData({0x12345678, 0x9abcdef0}, sync, true);
    EXPECT_EQ(zero.n1, 0u);
    EXPECT_EQ(zero.n2, 0u);
    EXPECT_EQ(sync.n1, before.n1);
}

TEST(Gost, ShortKeyUsesOnlyTheFirstTwoWords)
{
    uint32_t key[8] = {0x01234567, 0x89abcdef, 3, 4, 5, 6, 7, 8};
    TGost gost;
    gost.SetKey(key);
    const GostBlock plain = {0xdeadbeef, 0x01020304};
    const GostBlock full = gost.EncryptBlock(plain);
    gost.SetKeyLength(2);
    const GostBlock shortKey = gost.EncryptBlock(plain);
    EXPECT_FALSE(shortKey.n1 == full.n1 && shortKey.n2 == full.n2);
    // Eight rounds: K0 K1 three times, then K1 K0; the halves swapped at the end.
    GostBlock manual = plain;
    for (uint32_t k : {key[0], key[1], key[0], key[1], key[0], key[1], key[1], key[0]})
        manual = gost.Round(manual, k);
    EXPECT_EQ(shortKey.n1, manual.n2);
    EXPECT_EQ(shortKey.n2, manual.n1);
    key[2] = 99;
    key[7] = 12345;
    gost.SetKey(key);
    const GostBlock again = gost.EncryptBlock(plain);
    EXPECT_EQ(again.n1, shortKey.n1);
    EXPECT_EQ(again.n2, shortKey.n2);
    const GostBlock back = gost.DecryptBlock(again);
    EXPECT_EQ(back.n1, plain.n1);
    EXPECT_EQ(back.n2, plain.n2);
}

TEST(Gost, SynchroStep)
{
    GostBlock s = TGost::StepSynchro({0, 0});
    EXPECT_EQ(s.n1, 0x01010101u);
    EXPECT_EQ(s.n2, 0x01010104u);
    s = TGost::StepSynchro({0xFFFFFFFF, 0xFEFEFEFB});  // sum 0xFFFFFFFF becomes 0
    EXPECT_EQ(s.n1, 0x01010100u);
    EXPECT_EQ(s.n2, 0u);
    s = TGost::StepSynchro({0, 0xFEFEFEFD});  // wraps to 1 before the reduction
    EXPECT_EQ(s.n2, 1u);
    s = TGost::StepSynchro({0, 0xFEFEFEFA});
    EXPECT_EQ(s.n2, 0xFFFFFFFEu);
}

TEST(Gost, GammaDecipheringMatchesTheReference)
{
    // 45 bytes: five whole blocks and a partial one, inside a buffer with guard bytes.
    const Bytes cipher = RandomBytes(45, 21);
    Bytes buffer = cipher;
    buffer.insert(buffer.end(), 3, 0xA5);
    TGost gost;
    gost.DecryptBuffer(buffer.data(), 45, "K4m7wqR2");
    const Bytes gamma = ReferenceGamma(kFirmwareKey, 45);
    for (size_t i = 0; i < 45; ++i)
        ASSERT_EQ(buffer[i], cipher[i] ^ gamma[i]) << "byte " << i;
    EXPECT_EQ(Bytes(buffer.begin() + 45, buffer.end()), Bytes(3, 0xA5));
    EXPECT_EQ(gost.settings.mode, kGostGamma);
    EXPECT_EQ(gost.settings.synchro.n1, 0x5d31b7u);
    EXPECT_EQ(gost.settings.synchro.n2, 0x5c08e6u);
    EXPECT_EQ(Bytes(gost.settings.sbox[0], gost.settings.sbox[0] + 8),
              (Bytes{4, 14, 5, 7, 6, 4, 13, 1}));

    // A five-character password makes two words, the second zero-padded.
    Bytes other = cipher;
    TGost().DecryptBuffer(other.data(), 16, "abcde");
    const Bytes gamma2 = ReferenceGamma(kAbcdeKey, 16);
    for (size_t i = 0; i < 16; ++i)
        ASSERT_EQ(other[i], cipher[i] ^ gamma2[i]) << "byte " << i;
    EXPECT_EQ(Bytes(other.begin() + 16, other.end()), Bytes(cipher.begin() + 16, cipher.end()));
}

TEST(Gost, GammaTwiceRestoresTheBytes)
{
    const Bytes plain = RandomBytes(1003, 31);
    Bytes data = plain;
    TGost gost;
    gost.DecryptBuffer(data.data(), 1003, "K4m7wqR2");
    EXPECT_NE(data, plain);
    gost.DecryptBuffer(data.data(), 1003, "K4m7wqR2");
    EXPECT_EQ(data, plain);
}

} // namespace
