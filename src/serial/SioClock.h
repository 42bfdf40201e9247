#pragma once
// The serial library's millisecond clock and message pump, behind small interfaces so
// that the timing logic runs (and is tested) without the platform. The Win32 side
// installs the multimedia clock and the thread's message pump at start-up.
#include <cstdint>

class SioClock {
public:
    virtual ~SioClock() = default;
    // Milliseconds of a monotonic clock; wraps at 2^32.
    virtual uint32_t NowMs() = 0;
};

class SioMessagePump {
public:
    virtual ~SioMessagePump() = default;
    // Takes and handles one waiting message of the calling thread. Returns 0 when none
    // waits, else the message number in the low 16 bits and the low 16 bits of its
    // window handle in the high 16 bits. A quit message is put back for the
    // application's own loop.
    virtual uint32_t PumpOne() = 0;
};

// Installs a clock or pump (not owned; null restores the default: a steady clock, and
// no messages at all).
void SetSioClock(SioClock* clock);
void SetSioMessagePump(SioMessagePump* pump);

// The clock in ms. Safe from any thread.
uint32_t SioTimeGetTime();
// One message of the calling thread's queue (see SioMessagePump::PumpOne).
uint32_t SafeYield();
// Busy wait of ms milliseconds without yielding: sums the differences of successive
// clock readings, so the clock's wrap does not matter.
void DelayMS(uint32_t ms);

constexpr uint32_t WM_QUIT_NUMBER = 0x12;
