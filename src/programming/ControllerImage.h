#pragma once
// The two buffers a scenario is compiled into for a controller: the compact image
// ("SCN1") that goes into flash behind the firmware, and the EEPROM block.
//
// Image layout (little-endian): "SCN1", channel count n (1 byte), step count S (2),
// speed (1), loop count L (1), label count B (1); then S step records (step time u16,
// then the low byte of the cell of each channel row first .. first + n - 1); then L
// loop records (first step, last step, repeat count: u16 each); then B labels (u16
// step). Steps are 0-based: grid column minus one.
#include <cstdint>
#include <vector>

#include "scenario/ScenarioSnapshot.h"

// Widest channel range one image can describe: its channel count is a single byte.
constexpr int kMaxImageChannels = 255;

// Shown (title "Программирование контроллера", error icon) when a range is refused.
extern const char kChannelRangeMessage[];

// True when channel rows first .. first + count - 1 can go into one image: at least one
// channel, at most kMaxImageChannels, all within the 640 channel rows a scenario holds.
bool IsImageChannelRange(int first, int count);

// Steps of the scenario: its column count minus the fixed column.
int ScenarioStepCount(const ScenarioSnapshot& scenario);

// The image for channel rows first .. first + count - 1 with the given speed (only its
// low byte is stored). Empty when IsImageChannelRange(first, count) is false. The loop
// and label lists are expected to hold at most 255 entries each, as the editor keeps them.
std::vector<uint8_t> MakeControllerImage(const ScenarioSnapshot& scenario, int speed,
                                         int first, int count);

// 31 bytes 0xFF, one 0x00, then the speed's low byte once per label (once when there
// are no labels).
std::vector<uint8_t> MakeEepromBlock(size_t labelCount, int speed);
