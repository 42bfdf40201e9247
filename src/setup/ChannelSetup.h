#pragma once
// The data side of the controller and channel set-up dialog: the channel count, RGB
// groups and channel colours of a configuration record, the model's fields, and the
// channel colours that a layout picture carries as markers.
#include <cstdint>
#include <functional>
#include <string>

#include "setup/ControllerModels.h"

constexpr uint32_t kChannelWhite = 0xFFFFFF;
// The colours of a group's three channels: red, green, blue (0x00BBGGRR).
constexpr uint32_t kRgbGroupColours[3] = {0x0000FF, 0x00FF00, 0xFF0000};

int ClampChannelCount(int count);
// Rows of the set-up grid: row r is channel r - 1. The group of row r (r >= 1) ends
// at row ceil(r / 3) * 3 and holds channels end - 3 .. end - 1.
int RgbGroupEndRow(int row);
// Marks (on) or unmarks the group ending at endRow, for its channels below the count:
// marked channels turn red, green and blue, unmarked ones white.
void SetRgbGroup(ControllerConfig& cfg, int endRow, bool on);
// Undoes the group ending at endRow whatever the count: a flagged channel turns white,
// and all three lose the flag.
void DissolveRgbGroup(ControllerConfig& cfg, int endRow);
// Keeps only the RGB groups this dialog makes: whole triples of channels 3k, 3k + 1 and
// 3k + 2, all below the count and all flagged, which take red, green and blue. Every
// other triple that starts below the count is undone as a group that no longer fits
// (see DissolveRgbGroup), the part of a last triple at or past the count included, as
// the dialog cuts a group. Flags read from a file edited by hand would otherwise shift
// every later lamp against its grid row.
void KeepWholeRgbGroups(ControllerConfig& cfg);
// A colour chosen in a colour dialog as stored: a system colour becomes 0 (black).
uint32_t StoredChannelColour(uint32_t chosen);
// Gives channels outside RGB groups a colour: row 0 every one of them, row r channel
// r - 1. False when the row's channel is in a group (it keeps its colour).
bool SetChannelColour(ControllerConfig& cfg, int row, uint32_t colour);

// Model name, index, device id and type letter from the model row index.
void TakeModelIdentity(ControllerConfig& cfg, unsigned index);
// Firmware file, parameter row, device id and type letter from the model row index.
void TakeModelFirmware(ControllerConfig& cfg, unsigned index);
// Warnings of the dialog: the firmware file's name is not that of the model named in
// the record; the record has more channels than that model drives.
bool FirmwareDiffersFromModel(const ControllerConfig& cfg, const std::string& firmwareFile);
bool ChannelsExceedModel(const ControllerConfig& cfg);
// The set-up file of a configuration that has none: "Новый.ctr" in the program folder
// ("Новый.ctr" alone when that would be longer than a record holds).
std::string NewCtrFileName(const std::string& programFolder);

// A layout picture's channel colours: the first pixel that is not black in the rightmost
// column, from row 1 down, gives the frame height y; the picture holds height div y - 1
// channel frames (at most 640 are taken), and channel i's colour is that column's pixel
// at row (i + 1) * y. pixel(x, y) answers 0x00BBGGRR. False, with cfg untouched, when
// the picture has no marker or no whole channel frame.
bool ReadMarkerColours(int width, int height, const std::function<uint32_t(int x, int y)>& pixel,
                       ControllerConfig& cfg);
