#include "setup/ChannelSetup.h"

#include <algorithm>

#include "ui/SysUtils.h"

namespace {
bool ValidChannel(int channel) { return channel >= 0 && channel < kMaxChannels; }
} // namespace

int ClampChannelCount(int count) { return std::clamp(count, 1, kMaxChannels); }

int RgbGroupEndRow(int row) { return (row + 2) / 3 * 3; }

void SetRgbGroup(ControllerConfig& cfg, int endRow, bool on)
{
    for (int i = 0; i < 3; ++i) {
        int channel = endRow - 3 + i;
        if (!ValidChannel(channel) || channel >= cfg.channels)
            continue;
        ChannelRecord& ch = cfg.channelTable[channel];
        ch.rgbGroup = on ? 1 : 0;
        ch.color = on ? kRgbGroupColours[i] : kChannelWhite;
    }
}

void DissolveRgbGroup(ControllerConfig& cfg, int endRow)
{
    for (int channel = endRow - 1; channel >= endRow - 3; --channel) {
        if (!ValidChannel(channel))
            continue;
        ChannelRecord& ch = cfg.channelTable[channel];
        if (ch.rgbGroup)
            ch.color = kChannelWhite;
        ch.rgbGroup = 0;
    }
}

void KeepWholeRgbGroups(ControllerConfig& cfg)
{
    const int count = ClampChannelCount(cfg.channels);
    for (int end = 3; end - 3 < count; end += 3) {
        const ChannelRecord* group = cfg.channelTable + (end - 3);
        if (end <= count && group[0].rgbGroup && group[1].rgbGroup && group[2].rgbGroup)
            SetRgbGroup(cfg, end, true);
        else
            DissolveRgbGroup(cfg, end);
    }
}

uint32_t StoredChannelColour(uint32_t chosen) { return static_cast<int32_t>(chosen) < 0 ? 0 : chosen; }

bool SetChannelColour(ControllerConfig& cfg, int row, uint32_t colour)
{
    colour = StoredChannelColour(colour);
    if (row == 0) {
        for (int channel = 0; channel < kMaxChannels; ++channel)
            if (!cfg.channelTable[channel].rgbGroup)
                cfg.channelTable[channel].color = colour;
        return true;
    }
    int channel = row - 1;
    if (!ValidChannel(channel) || cfg.channelTable[channel].rgbGroup)
        return false;
    cfg.channelTable[channel].color = colour;
    return true;
}

void TakeModelIdentity(ControllerConfig& cfg, unsigned index)
{
    const ControllerModel& m = ControllerModelTable[std::min(index, kUnknownModel)];
    CopyText(cfg.modelName, m.name, kConfigNameChars);
    cfg.modelIndex = std::min(index, kUnknownModel);
    CopyText(cfg.deviceId, m.deviceId, kConfigNameChars);
    cfg.typeLetter = m.typeLetter;
}

void TakeModelFirmware(ControllerConfig& cfg, unsigned index)
{
    const ControllerModel& m = ControllerModelTable[std::min(index, kUnknownModel)];
    CopyText(cfg.firmwareFile, m.firmwareFile, kConfigPathChars);
    cfg.paramRow = m.paramRow;
    CopyText(cfg.deviceId, m.deviceId, kConfigNameChars);
    cfg.typeLetter = m.typeLetter;
}

bool FirmwareDiffersFromModel(const ControllerConfig& cfg, const std::string& firmwareFile)
{
    return ExtractFileName(firmwareFile) != ControllerModelTable[FindModelIndex(cfg.modelName)].firmwareFile;
}

bool ChannelsExceedModel(const ControllerConfig& cfg)
{
    return cfg.channels > static_cast<int>(ControllerModelTable[FindModelIndex(cfg.modelName)].channels);
}

std::string NewCtrFileName(const std::string& programFolder)
{
    std::string name = programFolder + "Новый.ctr";
    return name.size() > kConfigPathChars ? std::string("Новый.ctr") : name;
}

bool ReadMarkerColours(int width, int height, const std::function<uint32_t(int x, int y)>& pixel,
                       ControllerConfig& cfg)
{
    if (width < 1 || height < 2)
        return false;
    const int x = width - 1;
    int frame = 0;
    for (int y = 1; y < height && frame == 0; ++y)
        if ((pixel(x, y) & 0xFFFFFF) != 0)
            frame = y;
    if (frame == 0)
        return false;
    int channels = std::min(height / frame - 1, kMaxChannels);
    if (channels < 1)
        return false;
    cfg.channels = channels;
    for (int i = 0; i < channels; ++i)
        cfg.channelTable[i].color = pixel(x, (i + 1) * frame) & 0xFFFFFF;
    return true;
}
