// The settings file beside the program: options and the controller set-up (OPTIONS,
// CHANNELS) and the window positions (POSITION).
#include <algorithm>

#include "editor/UnitMain.h"
#include "preview/UnitShow.h"
#include "setup/CtrFile.h"
#include "ui/IniFiles.h"
#include "ui/SysUtils.h"

namespace {

const char kOptions[] = "OPTIONS";
const char kChannels[] = "CHANNELS";
const char kPosition[] = "POSITION";
constexpr size_t kNameChars = 49;
constexpr size_t kPathChars = 2000;

std::string Key(const char* prefix, int channel) { return prefix + IntToStr(channel); }

} // namespace

void TFormMain::LoadOptions()
{
    TIniFile ini(SettingsFileName);
    SetMaxSteps(std::clamp(ini.ReadInteger(kOptions, "MaxSteps", StepMaximum), 1, kMaxStepCount), false);
    // Relative names lie in the program folder, whatever the current directory.
    ScenarioFileName = ResolveRelativePath(ini.ReadString(kOptions, "LastOpenFile", ScenarioFileName), ProgramFolder);
    CopyText(Config.setupFile, ResolveRelativePath(ini.ReadString(kOptions, "CtrFile", Config.setupFile), ProgramFolder),
             kPathChars);
    CopyText(Config.modelName, ini.ReadString(kOptions, "CtrType", Config.modelName), kNameChars);
    Config.modelIndex = FindModelIndex(Config.modelName);
    Config.paramRow = FindModelParamRow(Config.modelName);
    Params = ModelParamTable[Config.paramRow];
    const ControllerModel& model = ControllerModelTable[Config.modelIndex];
    CopyText(Config.firmwareFile, model.firmwareFile, kPathChars);
    CopyText(Config.deviceId, model.deviceId, kNameChars);
    Config.typeLetter = model.typeLetter;
    PortName = ini.ReadString(kOptions, "ComPort", "COM1");
    CheckBoxTimesLock->SetChecked(ini.ReadBool(kOptions, "TimesLock", CheckBoxTimesLock->Checked()));
    CheckBoxTimeInSec->SetChecked(ini.ReadBool(kOptions, "TimeInSec", CheckBoxTimeInSec->Checked()));
    Config.channels = std::clamp(ini.ReadInteger(kOptions, "Channels", Config.channels), 1, kMaxChannels);
    Zoom = static_cast<float>(ini.ReadFloat(kOptions, "Zoom", 1.0));
    CopyText(Config.pictureFile, ResolveRelativePath(ini.ReadString(kOptions, "PicName", Config.pictureFile), ProgramFolder),
             kPathChars);
    for (int i = 0; i < Config.channels; ++i) {
        ChannelRecord& ch = Config.channelTable[i];
        CopyText(ch.name, ini.ReadString(kChannels, Key("Name", i), ch.name), kNameChars);
        ch.color = static_cast<uint32_t>(ini.ReadInteger(kChannels, Key("Color", i), static_cast<int>(ch.color)));
        ch.rgbGroup = ini.ReadInteger(kChannels, Key("Group", i), 0) != 0 ? 1 : 0;
    }
}

void TFormMain::SaveOptions()
{
    TIniFile ini(SettingsFileName);
    ini.WriteString(kOptions, "LastOpenFile", MakeRelativePath(ScenarioFileName, ProgramFolder));
    ini.WriteString(kOptions, "CtrFile", MakeRelativePath(Config.setupFile, ProgramFolder));
    ini.WriteString(kOptions, "CtrType", Config.modelName);
    if (PortName != "FILE")
        ini.WriteString(kOptions, "ComPort", PortName);
    ini.WriteBool(kOptions, "TimesLock", CheckBoxTimesLock->Checked());
    ini.WriteBool(kOptions, "TimeInSec", CheckBoxTimeInSec->Checked());
    ini.WriteInteger(kOptions, "MaxSteps", StepMaximum);
    ini.WriteInteger(kOptions, "Channels", Config.channels);
    ini.WriteFloat(kOptions, "Zoom", static_cast<double>(Zoom));
    ini.WriteString(kOptions, "PicName", MakeRelativePath(Config.pictureFile, ProgramFolder));
    const int channels = std::clamp(Config.channels, 1, kMaxChannels);
    for (int i = 0; i < channels; ++i)
        ini.WriteString(kChannels, Key("Name", i), Config.channelTable[i].name);
    for (int i = 0; i < channels; ++i)
        ini.WriteInteger(kChannels, Key("Group", i), static_cast<int>(Config.channelTable[i].rgbGroup));
    for (int i = 0; i < channels; ++i)
        ini.WriteInteger(kChannels, Key("Color", i), static_cast<int>(Config.channelTable[i].color));
    ini.UpdateFile();
}

void TFormMain::SavePosition()
{
    TIniFile ini(SettingsFileName);
    ini.WriteInteger(kPosition, "WindowState", WindowState());
    SetWindowState(wsNormal);
    ini.WriteInteger(kPosition, "Top", Top());
    ini.WriteInteger(kPosition, "Left", Left());
    ini.WriteInteger(kPosition, "Height", Height());
    ini.WriteInteger(kPosition, "Width", Width());
    if (FormShow) {
        ini.WriteInteger(kPosition, "ShowTop", FormShow->Top());
        ini.WriteInteger(kPosition, "ShowLeft", FormShow->Left());
        ini.WriteInteger(kPosition, "ShowHeight", FormShow->Height());
        ini.WriteInteger(kPosition, "ShowWidth", FormShow->Width());
    }
    ini.UpdateFile();
}

void TFormMain::LoadPosition()
{
    TIniFile ini(SettingsFileName);
    SetBounds(ini.ReadInteger(kPosition, "Left", Left()), ini.ReadInteger(kPosition, "Top", Top()),
              ini.ReadInteger(kPosition, "Width", Width()), ini.ReadInteger(kPosition, "Height", Height()));
    int state = ini.ReadInteger(kPosition, "WindowState", WindowState());
    if (state >= wsNormal && state <= wsMaximized)
        SetWindowState(static_cast<TWindowState>(state));
    if (FormShow) {
        FormShow->SetTop(ini.ReadInteger(kPosition, "ShowTop", 0));
        FormShow->SetLeft(ini.ReadInteger(kPosition, "ShowLeft", 0));
        FormShow->StoredHeight = ini.ReadInteger(kPosition, "ShowHeight", 0);
        FormShow->StoredWidth = ini.ReadInteger(kPosition, "ShowWidth", 0);
    }
}
