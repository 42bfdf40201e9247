#pragma once
// The serial library's message table: one text per result code, error codes negative,
// prompts, states and dispatch-log names positive. Sorted by the absolute value of the
// code, no two entries of equal absolute value, so -2 and 2 find the same text. The
// table is compiled in (read-only, safe to read from any thread).
#include <cstdint>
#include <string>

struct SioMessageEntry {
    int32_t Code;
    const char* Message;
};

constexpr int SioMessageCount = 897;
extern const SioMessageEntry SioMessageNumberLookup[SioMessageCount];

// The table text for the absolute value of code, or "" when the table has none.
std::string MessageNumberToString(int16_t code);

// The message for a code: the table text; when that is empty, the system's message text
// for the error number |code| (cleaned of control characters and repeated blanks);
// when the system has none either, "". At most 255 characters.
std::string SioLoadStr(int16_t code);
std::string ErrorMsg(int16_t code);
// Copies SioLoadStr(code) with its terminating zero into dest (at least 256 bytes).
char* SioLoadZ(char* dest, int32_t code);

// Where system error texts come from. The portable default knows none; the Win32 side
// installs one that asks the system message table.
using SioSystemMessageSource = std::string (*)(uint32_t errorNumber);
void SetSioSystemMessageSource(SioSystemMessageSource source);

// A system text made fit for one line: every character below 32 becomes a blank, and
// every run of blanks becomes one blank (so the line end leaves one trailing blank).
std::string CleanSystemMessage(const std::string& text);
