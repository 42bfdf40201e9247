// The main window's programming command: the scenario is compiled into the controller
// image and EEPROM block for one range of channels, then written as a C header (port
// "FILE") or handed to the programming window.
#include "editor/UnitMain.h"
#include "programming/CHeaderExport.h"
#include "programming/ComPortNames.h"
#include "programming/ControllerImage.h"
#include "programming/UnitBurn.h"
#include "programming/UnitSetBurnChannels.h"
#include "ui/Application.h"
#include "ui/SysUtils.h"

void TFormMain::SpeedButtonBurnClick(TObject*)
{
    ValidateLoops();
    ValidateLabels();
    int rows = Grid->RowCount() - Grid->FixedRows();
    unsigned index = Config.modelIndex < kUnknownModel ? Config.modelIndex : kUnknownModel;
    int modelChannels = static_cast<int>(ControllerModelTable[index].channels);
    if (rows <= modelChannels) {
        BuildControllerImage(0, rows);
        return;
    }
    // More channels than one controller drives: one range per controller, chosen in
    // the channel-range window, which builds each range itself.
    TFormSetBurnChannels* ranges = FormSetBurnChannels;
    ranges->FirstCh = 0;
    ranges->EndCh = rows;
    ranges->TotalCh = rows;
    ranges->CtrlName = Config.modelName;
    ranges->CtrlChannels = modelChannels;
    ranges->SetBounds(Left() + Width() / 2 - ranges->Width() / 2, Top() + Height() / 2 - ranges->Height() / 2,
                      ranges->Width(), ranges->Height());
    ShowChannelRangeWindow();
}

// The channel-range window programs each range it is given through this window.
void TFormMain::ShowChannelRangeWindow()
{
    FormSetBurnChannels->BuildControllerImage = [this](int first, int count) { BuildControllerImage(first, count); };
    FormSetBurnChannels->ShowModal();
}

void TFormMain::BuildControllerImage(int first, int count)
{
    // One image describes at most 255 channels (its count is one byte): a wider range
    // would be stored cut while the memory fit counted all of it.
    if (!IsImageChannelRange(first, count)) {
        ShowMessageBox(kChannelRangeMessage, "Программирование контроллера", MB_OK | MB_ICONERROR);
        return;
    }
    int speed = TrackBarSpeed->Max() + TrackBarSpeed->Min() - TrackBarSpeed->Position();
    BurnInputs inputs;
    inputs.ScnData = MakeControllerImage(Scn(), speed, first, count);
    inputs.EeData = MakeEepromBlock(Scn().labels.size(), speed);
    if (PortName == "FILE") {
        ExportCHeader(inputs.ScnData.data(), inputs.ScnSize(), speed);
        return;
    }
    inputs.RomFileName = FindRomFile(Config.firmwareFile, ProgramFolder + "Rom\\");
    if (IsSerialController()) {
        // Never the USB path: a text in the box that names no serial port (typed there)
        // leaves the port to the port component, which asks for one.
        inputs.PortName = IsComPortName(PortName) ? PortName : std::string();
    } else {
        inputs.PortName = "USB";
        inputs.DeviceId = Config.deviceId;
        inputs.ModelName = Config.modelName;
    }
    inputs.ChannelCount = count;
    inputs.LoopCount = static_cast<int>(Scn().loops.size());
    inputs.LabelCount = static_cast<int>(Scn().labels.size());
    RunProgrammingWindow(inputs);
    // The box shows where the run went; a serial port, as the connection named it, is
    // also the serial port kept. A USB run leaves that port alone.
    ChoosePort(inputs.PortName);
    ComboBoxComNumber->SetText(PortName);
}

// One programming window for one run: its fields are the inputs, its step maximum is
// this window's, and its port name comes back.
void TFormMain::ShowProgrammingWindow(BurnInputs& inputs)
{
    TFormBurn* burn = new TFormBurn(this);
    FreeScope free(burn);
    static_cast<BurnInputs&>(*burn) = inputs;
    burn->OnSetMaxSteps = [this](int maxSteps, bool keep) { SetMaxSteps(maxSteps, keep); };
    burn->ShowModal();
    inputs.PortName = burn->PortName;
}

void TFormMain::ExportCHeader(const uint8_t* image, int size, int speed)
{
    CHeaderSaveDefaults defaults = MakeCHeaderSaveDefaults(ScenarioFileName);
    SaveDialog->InitialDir = defaults.initialDir;
    SaveDialog->FileName = defaults.fileName;
    SaveDialog->DefaultExt = defaults.defaultExt;
    SaveDialog->Filter = defaults.filter;
    if (!SaveDialog->Execute())
        return;
    WriteCHeader(SaveDialog->FileName, image, static_cast<size_t>(size), speed);
}
