#pragma once
// Triggers: conditions the dispatcher watches for the application (received data
// reaching a count, strings arriving, timers running out, line and output states), the
// messages that report them, and the matcher of data triggers.
#include <cstdint>
#include <memory>
#include <vector>

#include "serial/SioTimer.h"

// Notification messages; wParam and the low word of lParam as noted, the port's handle
// in the high word of lParam.
constexpr uint32_t TriggerAvailMessage = 0x7E01;   // wParam: bytes available
constexpr uint32_t TriggerDataMessage = 0x7E02;    // wParam: trigger handle; data: its length
constexpr uint32_t TriggerTimerMessage = 0x7E03;   // wParam: trigger handle
constexpr uint32_t TriggerStatusMessage = 0x7E04;  // wParam: trigger handle with its type

// Handle 1 names the length trigger; the others are multiples of 8.
constexpr uint32_t LengthTriggerHandle = 1;
constexpr uint32_t MaxDataTriggerLen = 21;
constexpr int MatchCandidates = 22;

enum TTriggerType { ttNone, ttAvail, ttTimer, ttData, ttStatus };
enum TSioHandlerFlagUpdate { fuKeepPort, fuEnablePort, fuDisablePort };

// Status trigger types.
enum : uint32_t {
    stNotActive = 0,
    stModem = 1,         // a masked modem line left its level (Value: mask << 8 | levels)
    stLine = 2,          // a selected line error is pending
    stOutBuffFree = 3,   // OutBuffFree >= Value
    stOutBuffUsed = 4,   // OutBuffUsed <= Value
    stOutSent = 5,       // bytes were written since the last test
};

struct TTimerTrigger {
    uint32_t Handle = 0;
    EventTimer Timer;
    uint32_t Ticks = 0;  // interval in 55 ms ticks
    bool Active = false;
};

struct TDataTrigger {
    uint32_t Handle = 0;
    uint32_t Length = 0;
    uint32_t MatchState[MatchCandidates] = {};
    bool Matched = false;
    bool IgnoreCase = false;
    uint8_t MatchString[MaxDataTriggerLen] = {};
};

struct TStatusTrigger {
    uint32_t Handle = 0;  // handle + type
    uint32_t StatusType = 0;
    uint16_t Value = 0;
    bool Active = false;
    bool Hit = false;
};

// Copies of a dispatcher's triggers, kept while its port is closed.
struct TTriggerSave {
    uint32_t LengthTrigger = 0;
    uint32_t NextHandle = 1;
    std::vector<TTimerTrigger> Timers;
    std::vector<TDataTrigger> Data;
    std::vector<TStatusTrigger> Status;
};

inline uint32_t ClassifyStatusTrigger(uint32_t handle) { return handle & 7; }

// The byte as data triggers compare it when case is ignored (ASCII letters upper-cased).
uint8_t TriggerUpCase(uint8_t c);

// Feeds one received byte to a data trigger's match candidates; true when the byte
// completes its string (all candidates then start over).
bool MatchDataChar(uint32_t (&matchState)[MatchCandidates], uint8_t c, uint32_t length, bool ignoreCase,
                   const uint8_t* matchString);
