#pragma once
// The GOST 28147-89 block cipher with its simple-replacement (ECB), gamma and
// gamma-with-feedback (CFB) modes, as the firmware files use it.
#include <cstdint>

// One 64-bit block or synchro as two 32-bit halves (bytes 0..3 and 4..7, little-endian).
struct GostBlock {
    uint32_t n1;
    uint32_t n2;
};

// Mode byte values.
enum : uint8_t { kGostSimple = 0, kGostGamma = 1, kGostFeedback = 2 };

// The settings a deciphering starts from.
struct GostSettings {
    uint32_t key[8];
    GostBlock synchro;
    uint8_t sbox[16][8];
    uint8_t mode;           // kGostSimple, kGostGamma or kGostFeedback
    uint8_t keyLengthCode;  // 1: 256-bit key; anything else: 64-bit key (K0, K1)
};

// key[0..keyWords-1] from the password words: every word seeds a linear congruential
// sequence that is XORed over the key words.
void DeriveKey(const uint32_t* passwordWords, int wordCount, uint32_t* key, int keyWords);

class TGost {
public:
    // Feedback mode, 256-bit key, the test-parameter S-box and the default key.
    TGost();

    // Deciphers data in place in gamma mode with the 256-bit key derived from the
    // password and the fixed synchro. A trailing partial block goes through a
    // zero-padded block; bytes beyond length are never touched. Gamma mode is its own
    // inverse, so the same call also enciphers.
    void DecryptBuffer(uint8_t* data, uint32_t length, const char* password);

    // One block in the current mode; synchro is the running state of the gamma modes.
    // An unknown mode gives (0, 0).
    GostBlock CryptData(GostBlock block, GostBlock& synchro, bool encrypt);

    GostBlock EncryptBlock(GostBlock block) const;
    GostBlock DecryptBlock(GostBlock block) const;
    GostBlock GammaBlock(GostBlock block, GostBlock& synchro) const;
    GostBlock FeedbackBlock(GostBlock block, GostBlock& synchro, bool encrypt) const;
    GostBlock Round(GostBlock block, uint32_t key) const;
    uint32_t Substitute(uint32_t x) const;
    static GostBlock StepSynchro(GostBlock synchro);

    void SetMode(uint8_t mode) { mode_ = mode; }
    // Code 1: last key index 7; any other code: last key index 1.
    void SetKeyLength(uint8_t code);
    void SetKey(const uint32_t key[8]);
    void SetSBox(const uint8_t sbox[16][8]);
    // Takes the current key and S-box into the settings record, then the mode, the key
    // length and the synchro from it.
    void ApplySettings();

    GostSettings settings{};

    static const uint8_t kTestSBox[16][8];
    static const GostBlock kFirmwareSynchro;

private:
    uint32_t key_[8];
    uint8_t sbox_[16][8];
    // Substitution of each byte of a word, by byte position, built from the S-box.
    uint32_t byteSubst_[4][256];
    int lastKey_ = 7;
    uint8_t mode_ = kGostFeedback;
    uint8_t keyLengthCode_ = 1;
    GostBlock synchro_{};
};
