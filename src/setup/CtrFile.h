#pragma once
// Controller set-up files ("*.ctr"): one configuration's channel count, model, layout
// picture and channels, in the INI section CHANNELS. Also the relative paths that the
// set-up files and the settings file store for files inside the program folder.
#include <string>
#include <vector>

#include "setup/ControllerModels.h"

// The rest of path after programFolder when path begins with it (letter case ignored)
// and is longer, unless that rest would read as a path of its own (beginning with a
// separator or a drive); otherwise path unchanged.
std::string MakeRelativePath(const std::string& path, const std::string& programFolder);
// A relative path taken as lying in programFolder; an absolute or empty one unchanged.
std::string ResolveRelativePath(const std::string& path, const std::string& programFolder);

class TIniFile;

// The channel keys of the section CHANNELS, shared by set-up files and the settings
// file: every Name i (names[i], or the record's own name where names is shorter), then
// every Group i, then every Color i, for the channels below config's count.
void WriteChannelKeys(TIniFile& ini, const ControllerConfig& config, const std::vector<std::string>& names);
// Name i (cut to 49 characters), Color i and Group i of the channels below config's
// count; a missing name keeps the record's, a missing group is 0, and a missing colour
// is white or, unless whiteByDefault, the record's. Only whole RGB groups are kept, as
// the set-up dialog makes them (KeepWholeRgbGroups).
void ReadChannelKeys(const TIniFile& ini, ControllerConfig& config, bool whiteByDefault);

// Writes config's channel count, model name, picture (relative to programFolder when it
// lies inside it) and, for each channel, names[i] (the record's own name where names is
// shorter), RGB-group flag and colour. Keys of an older file that are not written stay.
// Then config's set-up file becomes fileName. Raises the class library's exceptions
// when the file cannot be written; config then stays as it was.
void WriteCtrFile(const std::string& fileName, ControllerConfig& config,
                  const std::vector<std::string>& names, const std::string& programFolder);

// Fills config from the file: count (clamped to 1..640), model name with its index and
// firmware file, the channels below the count, the set-up file (fileName) and the
// picture. Missing keys keep the record's values (names, count, model) or give the
// defaults (white, no group, no picture). A missing or unreadable file gives false and
// leaves config unchanged. The caller resets the channels first.
bool ReadCtrFile(const std::string& fileName, ControllerConfig& config);
