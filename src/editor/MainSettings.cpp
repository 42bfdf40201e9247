// The settings file beside the program: options and the controller set-up (OPTIONS,
// CHANNELS) and the window positions (POSITION).
#include <windows.h>

#include <algorithm>

#include "editor/UnitMain.h"
#include "preview/UnitShow.h"
#include "programming/ComPortNames.h"
#include "setup/CtrFile.h"
#include "setup/StoredOptions.h"
#include "ui/IniFiles.h"

namespace {

const char kPosition[] = "POSITION";

// The least part of a window's caption strip that must show on a work area for the
// window to be reachable: wide enough to grab, as high as the caption.
const int kReachableCaptionWidth = 100;

// Whether the caption strip (top edge to top + caption height) shows at least the
// reachable part on the work area of the monitor it lies on most.
bool CaptionReachable(const RECT& window)
{
    const int caption = GetSystemMetrics(SM_CYCAPTION);
    RECT strip{window.left, window.top, window.right, window.top + caption};
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    HMONITOR on = MonitorFromRect(&strip, MONITOR_DEFAULTTONULL);
    RECT seen;
    if (!on || !GetMonitorInfoW(on, &monitor) || !IntersectRect(&seen, &strip, &monitor.rcWork))
        return false;
    return seen.right - seen.left >= kReachableCaptionWidth && seen.bottom - seen.top >= caption;
}

// Stored bounds made usable: at least the least size, and, when the window would be out
// of reach (on no monitor, or its caption hidden), moved wholly onto the work area of
// the monitor nearest to it. Numbers edited by hand, or a monitor since removed, would
// otherwise open the window where it cannot be grabbed, and closing it would store them
// again. A window placed across monitors or partly past an edge is left as placed.
TRect UsableBounds(int left, int top, int width, int height, int leastWidth, int leastHeight)
{
    // Far beyond any screen, and small enough that their sums do not overflow.
    const int kFar = 1 << 20;
    left = std::clamp(left, -kFar, kFar);
    top = std::clamp(top, -kFar, kFar);
    width = std::clamp(width, leastWidth, kFar);
    height = std::clamp(height, leastHeight, kFar);
    RECT wanted{left, top, left + width, top + height};
    if (CaptionReachable(wanted))  // a window on no monitor has its caption on none
        return Bounds(left, top, width, height);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    if (!GetMonitorInfoW(MonitorFromRect(&wanted, MONITOR_DEFAULTTONEAREST), &monitor))
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &monitor.rcWork, 0);
    const RECT& work = monitor.rcWork;
    width = std::min(width, static_cast<int>(work.right - work.left));
    height = std::min(height, static_cast<int>(work.bottom - work.top));
    left = std::clamp(left, static_cast<int>(work.left), static_cast<int>(work.right) - width);
    top = std::clamp(top, static_cast<int>(work.top), static_cast<int>(work.bottom) - height);
    return Bounds(left, top, width, height);
}

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
    TRect r = UsableBounds(ini.ReadInteger(kPosition, "Left", Left()), ini.ReadInteger(kPosition, "Top", Top()),
                           ini.ReadInteger(kPosition, "Width", Width()), ini.ReadInteger(kPosition, "Height", Height()),
                           kDesignWidth, kDesignHeight);
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
