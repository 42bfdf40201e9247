#pragma once
// What the programming window's tests under Wine share: the serial lines of
// run_burn_lines.sh and what their simulated controllers stored, firmware files made the
// way the outside tool makes them, and the message boxes on screen.
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

// The lines of tests/tools/burnsim/run_burn_lines.sh.
constexpr int kPacedLine = 31;        // type M, 16 KiB flash, 1 KiB boot-loader, paced
constexpr int kMisbehavingLine = 32;  // a rejected frame each way, a split size reply
constexpr int kTypeNLine = 33;
constexpr int kSilentLine = 34;
constexpr int kDroppingLine = 35;     // never answers its second flash frame
constexpr int kTimingLine = 36;       // keeps 5120 bytes of firmware, paced
constexpr int kTwoRangeLine = 37;     // keeps 2048 bytes of firmware, rejects a frame
constexpr int kSmallFlashLine = 38;   // keeps 4096 bytes of firmware in 8 KiB
constexpr int kLateLine = 40;         // holds its answer to the second flash frame until let go
constexpr int kMissingLine = 49;      // no such port

using Bytes = std::vector<uint8_t>;

Bytes Pattern(size_t size, unsigned seed);

// The file the simulated controller on COMline stored, waited for ("" when there is
// none after the wait).
std::string Stored(int line, const std::string& name);
// Lets the controller on COMline send the answers it holds back; false when it could not
// be told.
bool LetHeldAnswersGo(int line);

// True when the controller on COMline holds no more than the firmware it kept (the
// flush on closing ends a transfer there, so its flash may have been stored).
bool NothingWritten(int line, size_t keptFirmware);

// A firmware file of these data for controllers of this type.
std::string FirmwareFile(const Bytes& firmware, char type);

// The visible message boxes of a process with this title (any title when empty).
std::vector<HWND> VisibleBoxes(DWORD processId, const std::wstring& title = L"Программирование контроллера");
// The text of a message box (its longest static text).
std::wstring BoxText(HWND box);
