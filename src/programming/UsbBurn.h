#pragma once
// The programming window's steps for a controller on USB, without the window: find the
// boot-loader, check it against the firmware file, write the flash image and the EEPROM
// block, leave the boot-loader. The window calls Connect once when it connects and Tick
// on every tick of its 500 ms timer (with the timer stopped meanwhile), and shows what
// the steps ask through UsbBurnView. After Closed() the window stops its timer.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "programming/BurnInputs.h"
#include "programming/RomFile.h"
#include "programming/UsbBurnView.h"
#include "programming/UsbLoader.h"

// Ticks without success before the time-out box.
constexpr int kUsbTimeoutTicks = 20;

class UsbBurn {
public:
    // The inputs and the firmware are copied.
    UsbBurn(const BurnInputs& inputs, const RomFile& rom, UsbBurnView& view, std::unique_ptr<HidDeviceAccess> device);
    UsbBurn(const UsbBurn&) = delete;
    UsbBurn& operator=(const UsbBurn&) = delete;

    // Shows the searching status and makes a first attempt.
    void Connect();
    // One timer tick: a dot on the status line, an attempt when the boot-loader is
    // there, and after kUsbTimeoutTicks ticks the time-out box.
    void Tick();

    bool Closed() const { return closed_; }
    // Ticks left before the time-out box.
    int Countdown() const { return countdown_; }

private:
    bool UsbCheckController(bool opened);
    bool UsbProgram(bool opened);
    bool UsbWriteEeprom();
    void UsbProgress(int percent);
    void UsbShowSearching();
    bool BuildImage();
    void SetStatus(const std::string& text);
    void RestoreStatus();
    void Fail(const std::string& text);
    void Close();

    const BurnInputs in_;
    const RomFile rom_;
    UsbBurnView& view_;  // not owned
    TUsbLoader loader_;

    int blockSize_ = 0;
    int flashSize_ = 0;
    int bootSize_ = 0;
    int eepromSize_ = 64;
    int firmwareSize_ = 0;
    int currentBlock_ = -1;        // first block to write; kept between attempts
    int currentEepromByte_ = -1;   // next EEPROM address; kept between attempts
    std::vector<uint8_t> image_;   // built on the first attempt that gets that far
    int imageLength_ = 0;

    std::string statusText_;   // the status without the time-out dots
    std::string caption_;      // the status line as shown
    int countdown_ = kUsbTimeoutTicks;
    bool boxOpen_ = false;
    bool closed_ = false;
};
