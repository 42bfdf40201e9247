#include "setup/ControllerModels.h"

#include <algorithm>

#include "programming/RomHeader.h"
#include "ui/SysUtils.h"

const ControllerModel ControllerModelTable[kModelCount + 1] = {
    {"Qarto18", 18, "Qarto186umb.rom", 0, 'M', "Qarto186", 32768},
    {"Qarto16", 16, "Qarto166umb.rom", 0, 'M', "Qarto166", 32768},
    {"Qarto16x3", 16, "Qarto165umb.rom", 0, 'M', "Qarto165", 32768},
    {"Qarto9", 9, "Qarto93umb.rom", 0, 'M', "Qarto92", 32768},
    {"Qarto6", 6, "Qarto63umb.rom", 0, 'M', "Qarto62", 16384},
    {"Brevan8", 8, "Brevan81um.rom", 2, 'M', "Brevan81", 32768},
    {"Brevan8D", 8, "Brevan81Dum.rom", 1, 'M', "Brevan81D", 32768},
    {"Brevan4", 4, "Brevan46um.rom", 2, 'M', "Brevan46", 16384},
    {"Brevan4D", 4, "Brevan46Dum.rom", 1, 'M', "Brevan46D", 16384},
    {"", 0, "", 0, 0, "", 0},
};

const ModelParams ModelParamTable[3] = {
    // LED strip controllers
    {10, 80, 20, 0.5f, nullptr, 1, 6000, 128, 1, 1, 1, 1},
    // on/off lamp controllers
    {2, 30, 10, 10.0f, nullptr, 1, 400, 1, 0, 0, 1, 0},
    // dimming lamp controllers
    {1, 30, 5, 10.0f, nullptr, 1, 6000, 64, 1, 1, 1, 1},
};

void ResetControllerConfig(ControllerConfig& cfg)
{
    const ControllerModel& row = ControllerModelTable[0];
    cfg.modelIndex = 0;
    cfg.channels = static_cast<int32_t>(row.channels);
    cfg.paramRow = row.paramRow;
    CopyText(cfg.modelName, row.name, kConfigNameChars);
    CopyText(cfg.firmwareFile, row.firmwareFile, kConfigPathChars);
    CopyText(cfg.setupFile, "");
    CopyText(cfg.deviceId, row.deviceId, kConfigNameChars);
    CopyText(cfg.pictureFile, "");
    cfg.typeLetter = row.typeLetter;
}

void SetChannelDefaults(ControllerConfig& cfg)
{
    for (int i = 0; i < kMaxChannels; ++i) {
        ChannelRecord& ch = cfg.channelTable[i];
        CopyText(ch.name, "Кан. " + IntToStr(i + 1), kConfigNameChars);
        ch.color = 0xFFFFFF;
        ch.rgbGroup = 0;
    }
}

unsigned FindModelIndex(const char* name)
{
    unsigned i = 0;
    for (; ControllerModelTable[i].channels != 0; ++i)
        if (std::strcmp(ControllerModelTable[i].name, name) == 0)
            break;
    return i;
}

unsigned FindModelParamRow(const char* name)
{
    unsigned i = FindModelIndex(name);
    return ControllerModelTable[i].channels != 0 ? ControllerModelTable[i].paramRow : 0;
}

std::string FindRomFile(const std::string& fileName, const std::string& folder,
                        const std::string& programFolder)
{
    if (FileExists(fileName))
        return fileName;
    std::string bare = ExtractFileName(fileName);
    if (FileExists(programFolder + bare))
        return programFolder + bare;
    if (FileExists(folder + bare))
        return folder + bare;
    return fileName;
}

namespace {

struct FlashGeometry {
    int32_t memory;
    int32_t page;
    int32_t boot;
};

FlashGeometry GeometryForType(char letter)
{
    switch (letter) {
    case 'A': case 'M': return {8192, 64, 1024};
    case 'B': case 'F': case 'N': return {16384, 128, 1024};
    case 'C': return {65536, 256, 1024};
    case 'D': return {131072, 256, 2048};
    case 'E': return {32768, 128, 1024};
    default: return {16384, 128, 1024};
    }
}

} // namespace

int32_t ComputeMaxSteps(const ControllerConfig& cfg, const std::string& programFolder)
{
    std::string romFile = FindRomFile(cfg.firmwareFile, programFolder + "Rom\\", programFolder);
    FlashGeometry g{16384, 128, 1024};
    RomHeader header{};
    bool haveHeader = ReadRomHeader(romFile, header);
    if (haveHeader)
        g = GeometryForType(header.typeLetter);
    // A USB controller's boot-loader (any device id, "485" included) takes more room;
    // a controller on a serial port keeps the boot size of its header or the default.
    if (cfg.deviceId[0] != '\0') {
        if (!haveHeader)
            g.boot = 2048;
        else
            g.boot = header.typeLetter == 'C' ? 8192 : header.typeLetter == 'E' ? 4096 : 2048;
    }
    unsigned index = std::min(cfg.modelIndex, kUnknownModel);
    const ControllerModel& model = ControllerModelTable[index];
    if (model.memorySize != 0)
        g.memory = static_cast<int32_t>(model.memorySize);
    int32_t reserved = (4500 / g.page + 1) * g.page;
    // A damaged record may hold a negative count; never divide by zero for it.
    int32_t channels = std::max(0, std::min(static_cast<int32_t>(model.channels), cfg.channels));
    int32_t result = (g.memory - g.boot - reserved - 10) / (channels + 2);
    return std::min(result, kMaxStepCount);
}
