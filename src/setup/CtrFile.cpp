#include "setup/CtrFile.h"

#include <algorithm>
#include <memory>

#include "setup/ChannelSetup.h"
#include "ui/IniFiles.h"
#include "ui/SysUtils.h"

namespace {

const char kSection[] = "CHANNELS";
constexpr uint32_t kWhite = 0xFFFFFF;

std::string Key(const char* prefix, int channel) { return prefix + IntToStr(channel); }

// From a drive's root, with a drive letter, or a network path.
bool IsAbsolutePath(const std::string& path)
{
    return !path.empty() && (path[0] == '\\' || path[0] == '/' || (path.size() > 1 && path[1] == ':'));
}

} // namespace

std::string MakeRelativePath(const std::string& path, const std::string& programFolder)
{
    if (programFolder.empty() || path.size() <= programFolder.size())
        return path;
    if (AnsiUpperCase(path.substr(0, programFolder.size())) != AnsiUpperCase(programFolder))
        return path;
    // A rest that reads as a path of its own (from a drive's root) would not come back.
    std::string rest = path.substr(programFolder.size());
    return IsAbsolutePath(rest) ? path : rest;
}

std::string ResolveRelativePath(const std::string& path, const std::string& programFolder)
{
    return path.empty() || IsAbsolutePath(path) ? path : programFolder + path;
}

void WriteChannelKeys(TIniFile& ini, const ControllerConfig& config, const std::vector<std::string>& names)
{
    const int count = std::clamp(config.channels, 1, kMaxChannels);
    for (int i = 0; i < count; ++i)
        ini.WriteString(kSection, Key("Name", i),
                        static_cast<size_t>(i) < names.size() ? names[static_cast<size_t>(i)]
                                                              : std::string(config.channelTable[i].name));
    for (int i = 0; i < count; ++i)
        ini.WriteInteger(kSection, Key("Group", i), static_cast<int>(config.channelTable[i].rgbGroup));
    for (int i = 0; i < count; ++i)
        ini.WriteInteger(kSection, Key("Color", i), static_cast<int>(config.channelTable[i].color));
}

void ReadChannelKeys(const TIniFile& ini, ControllerConfig& config, bool whiteByDefault)
{
    const int count = std::clamp(config.channels, 1, kMaxChannels);
    for (int i = 0; i < count; ++i) {
        ChannelRecord& ch = config.channelTable[i];
        CopyText(ch.name, ini.ReadString(kSection, Key("Name", i), ch.name), kConfigNameChars);
        int color = static_cast<int>(whiteByDefault ? kWhite : ch.color);
        ch.color = static_cast<uint32_t>(ini.ReadInteger(kSection, Key("Color", i), color));
        ch.rgbGroup = ini.ReadInteger(kSection, Key("Group", i), 0) != 0 ? 1 : 0;
    }
    KeepWholeRgbGroups(config);
}

void WriteCtrFile(const std::string& fileName, ControllerConfig& config,
                  const std::vector<std::string>& names, const std::string& programFolder)
{
    TIniFile ini(fileName);
    ini.WriteInteger(kSection, "Channels", config.channels);
    ini.WriteString(kSection, "Type", config.modelName);
    ini.WriteString(kSection, "PicName", MakeRelativePath(config.pictureFile, programFolder));
    WriteChannelKeys(ini, config, names);
    ini.UpdateFile();
    CopyText(config.setupFile, fileName, kConfigPathChars);
}

bool ReadCtrFile(const std::string& fileName, ControllerConfig& config)
{
    TIniFile ini(fileName);
    if (!ini.FileFound())
        return false;
    // Filled on a copy, so that nothing changes unless the whole read succeeds.
    auto read = std::make_unique<ControllerConfig>(config);
    ControllerConfig& c = *read;
    c.setupFile[0] = '\0';
    c.channels = std::clamp(ini.ReadInteger(kSection, "Channels", c.channels), 1, kMaxChannels);
    CopyText(c.modelName, ini.ReadString(kSection, "Type", c.modelName), kConfigNameChars);
    c.modelIndex = FindModelIndex(c.modelName);
    CopyText(c.firmwareFile, ControllerModelTable[c.modelIndex].firmwareFile, kConfigPathChars);
    ReadChannelKeys(ini, c, true);
    CopyText(c.setupFile, fileName, kConfigPathChars);
    CopyText(c.pictureFile, ini.ReadString(kSection, "PicName", std::string()), kConfigPathChars);
    config = c;
    return true;
}
