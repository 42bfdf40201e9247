#include "programming/Gost.h"

#include <cstring>
#include <vector>

// Row v holds, in columns 0..7, the substitute of v in nibble positions 0..7.
const uint8_t TGost::kTestSBox[16][8] = {
    { 4, 14,  5,  7,  6,  4, 13,  1},
    {10, 11,  8, 13, 12, 11, 11, 15},
    { 9,  4,  1, 10,  7, 10,  4, 13},
    { 2, 12, 13,  1,  1,  0,  1,  0},
    {13,  6, 10,  0,  5,  7,  3,  5},
    { 8, 13,  3,  8, 15,  2, 15,  7},
    { 0, 15,  4,  9, 13,  1,  5, 10},
    {14, 10,  2, 15,  8, 13,  9,  4},
    { 6,  2, 14, 14,  4,  3,  0,  9},
    {11,  3, 15,  4, 10,  6, 10,  2},
    { 1,  8, 12,  6,  9,  8, 14,  3},
    {12,  1,  7, 12, 14,  5,  7, 14},
    { 7,  0,  6, 11,  0,  9,  6,  6},
    {15,  7,  0,  2,  3, 12,  8, 11},
    { 5,  5,  9,  5, 11, 15,  2,  8},
    { 3,  9, 11,  3,  2, 14, 12, 12},
};

const GostBlock TGost::kFirmwareSynchro = {0x5d31b7, 0x5c08e6};

namespace {

// Replaced before any use; kept so that a fresh object never runs with a zero key.
const uint8_t kDefaultKey[32] = {
    0x7c, 0x2e, 0x94, 0xd1, 0xa0, 0x5b, 0x3f, 0x86, 0xe1, 0xd9, 0xc4, 0xa2, 0x7b, 0x30, 0xf5, 0x8e,
    0x96, 0xa1, 0xd4, 0xc0, 0x7e, 0x2b, 0x5f, 0x38, 0xa9, 0xc6, 0x1e, 0x0d, 0x4b, 0x7f, 0x2a, 0x53,
};

uint32_t LoadLe32(const uint8_t* p)
{
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

void StoreLe32(uint8_t* p, uint32_t v)
{
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
    p[2] = static_cast<uint8_t>(v >> 16);
    p[3] = static_cast<uint8_t>(v >> 24);
}

} // namespace

void DeriveKey(const uint32_t* passwordWords, int wordCount, uint32_t* key, int keyWords)
{
    for (int j = 0; j < keyWords; ++j)
        key[j] = 0;
    for (int w = 0; w < wordCount; ++w) {
        uint32_t x = passwordWords[w];
        for (int j = 0; j < keyWords; ++j) {
            x = x * 1103515245u + 12345u;
            key[j] ^= x;
        }
    }
}

TGost::TGost()
{
    SetSBox(kTestSBox);
    SetKeyLength(1);
    mode_ = kGostFeedback;
    uint32_t key[8];
    for (int i = 0; i < 8; ++i)
        key[i] = LoadLe32(kDefaultKey + 4 * i);
    SetKey(key);
}

void TGost::SetKeyLength(uint8_t code)
{
    keyLengthCode_ = code;
    lastKey_ = code == 1 ? 7 : 1;
}

void TGost::SetKey(const uint32_t key[8])
{
    std::memcpy(key_, key, sizeof key_);
}

void TGost::SetSBox(const uint8_t sbox[16][8])
{
    std::memcpy(sbox_, sbox, sizeof sbox_);
    for (int pos = 0; pos < 4; ++pos) {
        for (int b = 0; b < 256; ++b) {
            const uint32_t low = sbox_[b & 15][2 * pos] & 15u;
            const uint32_t high = sbox_[b >> 4][2 * pos + 1] & 15u;
            byteSubst_[pos][b] = (low | high << 4) << (8 * pos);
        }
    }
}

void TGost::ApplySettings()
{
    std::memcpy(settings.key, key_, sizeof settings.key);
    std::memcpy(settings.sbox, sbox_, sizeof settings.sbox);
    SetMode(settings.mode);
    SetKeyLength(settings.keyLengthCode);
    synchro_ = settings.synchro;
}

uint32_t TGost::Substitute(uint32_t x) const
{
    // Two nibble positions at a time; the same as taking positions 7 down to 0 one by one.
    return byteSubst_[3][x >> 24] | byteSubst_[2][(x >> 16) & 255] |
           byteSubst_[1][(x >> 8) & 255] | byteSubst_[0][x & 255];
}

GostBlock TGost::Round(GostBlock block, uint32_t key) const
{
    uint32_t t = Substitute(block.n1 + key);
    t = t << 11 | t >> 21;
    return {t ^ block.n2, block.n1};
}

GostBlock TGost::EncryptBlock(GostBlock block) const
{
    for (int pass = 0; pass < 3; ++pass)
        for (int k = 0; k <= lastKey_; ++k)
            block = Round(block, key_[k]);
    for (int k = lastKey_; k >= 0; --k)
        block = Round(block, key_[k]);
    return {block.n2, block.n1};
}

GostBlock TGost::DecryptBlock(GostBlock block) const
{
    for (int k = 0; k <= lastKey_; ++k)
        block = Round(block, key_[k]);
    for (int pass = 0; pass < 3; ++pass)
        for (int k = lastKey_; k >= 0; --k)
            block = Round(block, key_[k]);
    return {block.n2, block.n1};
}

GostBlock TGost::StepSynchro(GostBlock synchro)
{
    return {synchro.n1 + 0x01010101u, (synchro.n2 + 0x01010104u) % 0xFFFFFFFFu};
}

GostBlock TGost::GammaBlock(GostBlock block, GostBlock& synchro) const
{
    synchro = EncryptBlock(StepSynchro(synchro));
    return {block.n1 ^ synchro.n1, block.n2 ^ synchro.n2};
}

GostBlock TGost::FeedbackBlock(GostBlock block, GostBlock& synchro, bool encrypt) const
{
    const GostBlock gamma = EncryptBlock(synchro);
    const GostBlock result = {block.n1 ^ gamma.n1, block.n2 ^ gamma.n2};
    synchro = encrypt ? result : block;
    return result;
}

GostBlock TGost::CryptData(GostBlock block, GostBlock& synchro, bool encrypt)
{
    switch (mode_) {
    case kGostSimple:
        return encrypt ? EncryptBlock(block) : DecryptBlock(block);
    case kGostGamma:
        return GammaBlock(block, synchro);
    case kGostFeedback:
        return FeedbackBlock(block, synchro, encrypt);
    default:
        return {0, 0};
    }
}

void TGost::DecryptBuffer(uint8_t* data, uint32_t length, const char* password)
{
    settings.mode = kGostGamma;
    settings.keyLengthCode = 1;
    settings.synchro = kFirmwareSynchro;
    ApplySettings();

    const size_t words = (std::strlen(password) + 3) / 4;
    std::vector<uint8_t> passwordBytes(4 * words, 0);
    std::memcpy(passwordBytes.data(), password, std::strlen(password));
    std::vector<uint32_t> passwordWords(words);
    for (size_t i = 0; i < words; ++i)
        passwordWords[i] = LoadLe32(passwordBytes.data() + 4 * i);
    uint32_t key[8];
    DeriveKey(passwordWords.data(), static_cast<int>(words), key, 8);
    SetKey(key);

    GostBlock synchro = synchro_;
    auto process = [&](uint8_t* p) {
        const GostBlock out = CryptData({LoadLe32(p), LoadLe32(p + 4)}, synchro, false);
        StoreLe32(p, out.n1);
        StoreLe32(p + 4, out.n2);
    };
    const uint32_t whole = length / 8 * 8;
    for (uint32_t at = 0; at < whole; at += 8)
        process(data + at);
    if (const uint32_t rest = length - whole) {
        uint8_t block[8] = {};
        std::memcpy(block, data + whole, rest);
        process(block);
        std::memcpy(data + whole, block, rest);
    }
}
