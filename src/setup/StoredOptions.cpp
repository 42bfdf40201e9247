#include "setup/StoredOptions.h"

#include <algorithm>

#include "setup/ControllerModels.h"
#include "setup/CtrFile.h"
#include "ui/IniFiles.h"

namespace {

const char kOptions[] = "OPTIONS";

std::string ReadPath(const TIniFile& ini, const char* key, const std::string& def, const std::string& folder)
{
    return ResolveRelativePath(ini.ReadString(kOptions, key, def).substr(0, kConfigPathChars), folder);
}

} // namespace

void ReadStoredOptions(const TIniFile& ini, StoredOptions& o, const std::string& programFolder)
{
    o.maxSteps = std::clamp(ini.ReadInteger(kOptions, "MaxSteps", o.maxSteps), 1, kMaxStepCount);
    o.lastOpenFile = ReadPath(ini, "LastOpenFile", o.lastOpenFile, programFolder);
    o.ctrFile = ReadPath(ini, "CtrFile", o.ctrFile, programFolder);
    o.ctrType = ini.ReadString(kOptions, "CtrType", o.ctrType).substr(0, kConfigNameChars);
    o.comPort = ini.ReadString(kOptions, "ComPort", "COM1");
    o.timesLock = ini.ReadBool(kOptions, "TimesLock", o.timesLock);
    o.timeInSec = ini.ReadBool(kOptions, "TimeInSec", o.timeInSec);
    o.channels = std::clamp(ini.ReadInteger(kOptions, "Channels", o.channels), 1, kMaxChannels);
    o.zoom = ini.ReadFloat(kOptions, "Zoom", 1.0);
    o.picName = ReadPath(ini, "PicName", o.picName, programFolder);
}

void WriteStoredOptions(TIniFile& ini, const StoredOptions& o, const std::string& programFolder)
{
    ini.WriteString(kOptions, "LastOpenFile", MakeRelativePath(o.lastOpenFile, programFolder));
    ini.WriteString(kOptions, "CtrFile", MakeRelativePath(o.ctrFile, programFolder));
    ini.WriteString(kOptions, "CtrType", o.ctrType);
    if (o.comPort != "FILE")
        ini.WriteString(kOptions, "ComPort", o.comPort);
    ini.WriteBool(kOptions, "TimesLock", o.timesLock);
    ini.WriteBool(kOptions, "TimeInSec", o.timeInSec);
    ini.WriteInteger(kOptions, "MaxSteps", o.maxSteps);
    ini.WriteInteger(kOptions, "Channels", o.channels);
    ini.WriteFloat(kOptions, "Zoom", o.zoom);
    ini.WriteString(kOptions, "PicName", MakeRelativePath(o.picName, programFolder));
}
