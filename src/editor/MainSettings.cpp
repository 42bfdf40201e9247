// The settings file beside the program: options and the controller set-up (OPTIONS,
// CHANNELS) and the window positions (POSITION).
#include <algorithm>

#include "editor/UnitMain.h"
#include "preview/UnitShow.h"
#include "programming/ComPortNames.h"
#include "setup/CtrFile.h"
#include "setup/StoredOptions.h"
#include "ui/IniFiles.h"
#include "ui/WorkArea.h"

namespace {

const char kPosition[] = "POSITION";

} // namespace

void TFormMain::LoadOptions()
{
    TIniFile ini(SettingsFileName);
    StoredOptions o;
    o.maxSteps = StepMaximum;
    o.lastOpenFile = ScenarioFileName;
    o.ctrFile = Config.setupFile;
    o.ctrType = Config.modelName;
    o.timesLock = CheckBoxTimesLock->Checked();
    o.timeInSec = CheckBoxTimeInSec->Checked();
    o.channels = Config.channels;
    o.picName = Config.pictureFile;
    ReadStoredOptions(ini, o, ProgramFolder);

    SetMaxSteps(o.maxSteps, false);
    ScenarioFileName = o.lastOpenFile;
    CopyText(Config.setupFile, o.ctrFile, kConfigPathChars);
    CopyText(Config.modelName, o.ctrType, kConfigNameChars);
    Config.modelIndex = FindModelIndex(Config.modelName);
    Config.paramRow = FindModelParamRow(Config.modelName);
    Params = ModelParamTable[Config.paramRow];
    const ControllerModel& model = ControllerModelTable[Config.modelIndex];
    CopyText(Config.firmwareFile, model.firmwareFile, kConfigPathChars);
    CopyText(Config.deviceId, model.deviceId, kConfigNameChars);
    Config.typeLetter = model.typeLetter;
    // Only a serial port is kept: a stored "USB" or other text gives none, and the port
    // box then shows the first port listed for a serial controller.
    SerialPortName = IsComPortName(o.comPort) ? o.comPort : std::string();
    CheckBoxTimesLock->SetChecked(o.timesLock);
    CheckBoxTimeInSec->SetChecked(o.timeInSec);
    Config.channels = o.channels;
    Zoom = static_cast<float>(o.zoom);
    CopyText(Config.pictureFile, o.picName, kConfigPathChars);
    ReadChannelKeys(ini, Config, false);
}

void TFormMain::SaveOptions()
{
    TIniFile ini(SettingsFileName);
    StoredOptions o;
    o.lastOpenFile = ScenarioFileName;
    o.ctrFile = Config.setupFile;
    o.ctrType = Config.modelName;
    o.comPort = SerialPortName;
    o.timesLock = CheckBoxTimesLock->Checked();
    o.timeInSec = CheckBoxTimeInSec->Checked();
    o.maxSteps = StepMaximum;
    o.channels = Config.channels;
    o.zoom = static_cast<double>(Zoom);
    o.picName = Config.pictureFile;
    WriteStoredOptions(ini, o, ProgramFolder);
    WriteChannelKeys(ini, Config, {});
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
    // At least the design size, unless the work area is smaller; numbers edited by hand,
    // or a monitor since removed, would otherwise open the window out of reach, and
    // closing it would store them again.
    TRect r = FitToWorkArea(ini.ReadInteger(kPosition, "Left", Left()), ini.ReadInteger(kPosition, "Top", Top()),
                            std::max(ini.ReadInteger(kPosition, "Width", Width()), kDesignWidth),
                            std::max(ini.ReadInteger(kPosition, "Height", Height()), kDesignHeight));
    SetBounds(r.Left, r.Top, r.Width(), r.Height());
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
