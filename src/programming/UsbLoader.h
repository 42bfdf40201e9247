#pragma once
// The client of a controller's USB boot-loader. It speaks in HID feature reports:
// report 1 read gives the chip's identity and memory sizes, report 1 written leaves the
// boot-loader, report 2 writes 128 bytes of flash, report 3 one EEPROM byte.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "programming/HidDeviceAccess.h"

// Part of the boot-loader's device path that names its vendor and product ids.
extern const char kBootloaderPathFilter[];
// The manufacturer string every controller's boot-loader reports.
extern const char kBootloaderManufacturer[];

// Bytes of flash one report 2 carries.
constexpr uint32_t kFlashChunk = 128;

// Little-endian integer of n bytes (n at most 4).
uint32_t GetLE(const uint8_t* bytes, int n);
void PutLE(uint8_t* bytes, uint32_t value, int n);

class TUsbLoader {
public:
    // What report 1 told of the selected device; all 0 until one has been identified.
    struct Identity {
        uint32_t pageSize = 0;
        uint32_t flashSize = 0;
        uint32_t eepromSize = 0;
        uint32_t bootSize = 0;
        uint32_t signature = 0;   // 24-bit chip signature
        uint8_t info[10] = {};    // bytes 0..1: size of the firmware the controller keeps
    };

    explicit TUsbLoader(std::unique_ptr<HidDeviceAccess> device);
    TUsbLoader(const TUsbLoader&) = delete;
    TUsbLoader& operator=(const TUsbLoader&) = delete;

    // The product string to look for: the model's device id, at most 99 characters.
    void SetProductName(const std::string& deviceId);

    // Selects the first boot-loader whose manufacturer and product strings match exactly
    // and reads its identity. False when there is none, when the identity cannot be read,
    // or when it gives no page or flash size (or a page size that is not a power of two,
    // which the chunk rounding needs); the identity is then cleared.
    bool Open();

    // Writes flash from address for count bytes in whole 128-byte chunks, rounded out to
    // page boundaries (to 128 bytes when pages are smaller). image is indexed by flash
    // address; an image shorter than ChunkedEnd(address, count) is refused, nothing sent.
    // Opens the device first when none has been identified. Stops at the first failed
    // report.
    bool WriteFlash(uint32_t address, const std::vector<uint8_t>& image, uint32_t count);
    bool WriteEepromByte(uint16_t address, uint8_t value);
    // Report 1 written: the controller leaves its boot-loader and drops off the bus.
    bool LeaveBootloader();

    // Unit the flash writes are rounded to: the page, at least one chunk.
    uint32_t ChunkSpan() const;
    // Flash address one past the last byte WriteFlash(address, count) sends.
    uint32_t ChunkedEnd(uint32_t address, uint32_t count) const;

    const Identity& identity() const { return identity_; }

    // Called after every flash chunk with the percentage of the write done.
    std::function<void(int percent)> OnProgress;

private:
    bool ReadIdentity();

    std::unique_ptr<HidDeviceAccess> device_;
    std::string productName_;
    std::string currentPath_;
    Identity identity_;
};
