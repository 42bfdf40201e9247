#include "editor/UnitMain.h"

#include <algorithm>

#include "preview/UnitShow.h"
#include "programming/ComPortNames.h"
#include "programming/EnumComPorts.h"
#include "programming/UnitSetBurnChannels.h"
#include "setup/UnitGradient.h"
#include "ui/Application.h"
#include "ui/SysUtils.h"

TFormMain* FormMain = nullptr;

namespace {
const char kEditorTitle[] = "Редактор сценария";
}

TFormMain::TFormMain(TComponent* owner) : TForm(owner)
{
    FormMain = this;
    RunSetupDialog = [this](ControllerConfig& config) { return ShowSetupDialog(config); };
    RunProgrammingWindow = [this](BurnInputs& inputs) { ShowProgrammingWindow(inputs); };
    BuildForm();                                                   // 1
    ProgramFolder.clear();                                         // 2
    ScenarioFileName.clear();
    SettingsFileName.clear();
    PortName.clear();
    SerialPortName.clear();
    Application->SetTitle(kEditorTitle);                           // 3
    FormShow = nullptr;                                            // 4
    SpeedButtonShow->SetVisible(true);
    FormShow = new TFormShow(this);
    FormShow->ShowButton = SpeedButtonShow;
    ProgramFolder = ExtractFilePath(Application->ExeName());      // 5
    UpDownSubCnt->SetMax(32767);                                   // 6
    SpeedButtonColorRGB->SetBounds(SpeedButtonStepLevel->Left(), SpeedButtonStepLevel->Top(),  // 7
                                   SpeedButtonColorRGB->Width(), SpeedButtonColorRGB->Height());
    ActivatedOnce = false;                                         // 8
    Grid->SetFixedCols(1);                                         // 9
    Grid->SetFixedRows(3);
    ResetControllerConfig(Config);                                 // 10
    Params = ModelParamTable[Config.paramRow < 3 ? Config.paramRow : 0];  // 11
    StepMaximum = kMaxStepCount;                                   // 12
    SetChannelDefaults(Config);                                    // 13
    SettingsFileName = ChangeFileExt(Application->ExeName(), ".ini");  // 14
    LoadOptions();                                                 // 15
    SetCaption(false);                                             // 16
    Modified = false;
    Grid->SetRowCount(Grid->FixedRows() + Config.channels);        // 17
    StepMaximum = ComputeMaxSteps();                               // 18
    UpDownStepNum->SetMax(StepMaximum);
    UpDownStepNum->SetPosition(StepMaximum);
    {
        TagScope byProgram(*TrackBarStepLevel, 1);                 // 19
        TrackBarStepLevel->SetMax(Params.levelMax);
    }
    UpDownSubCnt->SetMin(2);                                       // 20
    UpDownSubCnt->SetMax(32767);
    SpeedButtonStepOff->Tag = kCellOff;                            // 21
    SpeedButtonStepLevel->Tag = Params.levelMax;
    SpeedButtonStepUp->Tag = kCellRampUp;
    SpeedButtonStepDown->Tag = kCellRampDown;
    SpeedButtonStepStrob->Tag = kCellStrobe;
    Grid->SetDefaultColWidth(25);                                  // 22
    Grid->SetColWidths(0, 80);
    ring_.UndoEnabled = false;                                     // 23
    ring_.CurrentSlot = 0;
    TrackBarStepLevel->SetPosition(0);
    PlayColumn = 1;                                                // 24
    EditState.MouseCol = -1;
    EditState.MouseRow = -1;
    EditState.SkipDrag = false;
    ring_.Reset();                                                 // 25
    ClearSelection();                                              // 26
    FillPortList();                                                // 27
    CreateDrawThread();                                            // 28
    FormGradient = new TFormGradient(this);                        // 29
    FormSetBurnChannels = new TFormSetBurnChannels(this);
    ApplyZoom(Zoom);                                               // 30
    PositionsLoaded = false;                                       // 31
}

TFormMain::~TFormMain()
{
    if (FormMain == this)
        FormMain = nullptr;
}

// ---------------------------------------------------------------------------------------
// Life cycle

void TFormMain::FormActivate(TObject*)
{
    if (ActivatedOnce)
        return;
    // Marked first: a message box raised while the last scenario loads activates the
    // window again, and that activation must not start the work a second time.
    ActivatedOnce = true;
    if (!PositionsLoaded) {
        LoadPosition();
        PositionsLoaded = true;
    }
    ApplyModelParams();
    if (!LoadScn(ScenarioFileName, false))
        NewScenario();
    ClearUndo();
    {
        TagScope byProgram(*TrackBarSpeed, 1);
        TrackBarSpeedChange(TrackBarSpeed);
    }
    UpdateControls();
}

void TFormMain::FormCloseQuery(TObject*, bool& CanClose) { CanClose = AskSaveChanges(); }

void TFormMain::FormClose(TObject*, TCloseAction&)
{
    try {
        SavePosition();
    } catch (const std::exception& e) {
        ReportSettingsFailure(e);
    }
}

void TFormMain::FormDestroy(TObject*)
{
    try {
        SaveOptions();
    } catch (const std::exception& e) {
        ReportSettingsFailure(e);
    }
    if (FormGradient) {
        TComponent::Free(FormGradient);
        FormGradient = nullptr;
    }
    DestroyDrawThread();
    if (FormShow) {
        TComponent::Free(FormShow);
        FormShow = nullptr;
    }
}

void TFormMain::ReportSettingsFailure(const std::exception& e)
{
    if (settingsFailureReported_)
        return;
    settingsFailureReported_ = true;
    Application->ShowException(e.what());
}

bool TFormMain::AskSaveChanges()
{
    if (!Modified)
        return true;
    std::string text = "В сценарий внесены изменения!\nСохранить файл \"" + ExtractFileName(ScenarioFileName) + "\"?";
    int answer = ShowMessageBox(text, "Выход", MB_YESNOCANCEL | MB_ICONEXCLAMATION);
    if (answer == IDCANCEL)
        return false;
    // Yes goes on only once the scenario is saved: giving up at the overwrite question
    // or in Save As keeps it in the window.
    if (answer == IDYES)
        return SaveToScenarioFile();
    return true;
}

std::string TFormMain::CaptionText(bool modifiedMarker) const
{
    std::string caption = std::string(" ") + kEditorTitle + " (" + Config.modelName + ")  -  " +
                          ExtractFileName(ScenarioFileName);
    if (modifiedMarker)
        caption += " *";
    return caption;
}

void TFormMain::SetCaption(bool modifiedMarker) { TForm::SetCaption(CaptionText(modifiedMarker)); }

// ---------------------------------------------------------------------------------------
// Keys and buttons

void TFormMain::FormKeyDown(TObject*, WORD& Key, TShiftState Shift)
{
    if (!(Shift & ssCtrl))
        return;
    switch (Key) {
    case 'A':
        EditState.SelectAll(Size());
        UpdateSelectionMenu(kSelectCells);
        Grid->Invalidate();
        break;
    case 'D':
        ClearSelection();
        break;
    case 'Z':
        if (Shift & ssShift)
            Redo();
        else
            Undo();
        break;
    default:
        break;
    }
}

void TFormMain::SpeedButtonNewClick(TObject*)
{
    if (!AskSaveChanges())
        return;
    PushUndo();
    NewScenario();
}

void TFormMain::SpeedButtonSetupClick(TObject*)
{
    SpeedButtonShow->SetDown(false);
    if (SpeedButtonShow->OnClick)
        SpeedButtonShow->OnClick(SpeedButtonShow);
    ControllerConfig edited = Config;
    unsigned oldRow = Config.paramRow;
    if (RunSetupDialog(edited) != mrOk)
        return;
    bool rowChanged = edited.paramRow != oldRow;
    // A new parameter row replaces the scenario: offer to save it first, and keep
    // everything as it was when the user cancels. A controller with room for fewer
    // steps cuts the scenario: that is asked first as well.
    if (rowChanged && !AskSaveChanges())
        return;
    if (!rowChanged && !AgreeToCut(::ComputeMaxSteps(edited, ProgramFolder)))
        return;
    EndFloatingPaste();
    Grid->PopupMenu = PopupMenu;
    Config = edited;
    Params = ModelParamTable[Config.paramRow < 3 ? Config.paramRow : 0];
    ApplyModelParams();
    StepMaximum = ComputeMaxSteps();
    UpDownStepNum->SetMax(StepMaximum);
    if (Grid->ColCount() > Grid->FixedCols() + StepMaximum) {
        // The new controller holds fewer steps: the scenario is cut through the step
        // count (loops, labels and totals follow), and no undo step may bring back
        // more steps than it can hold.
        UpDownStepNum->SetPosition(StepMaximum);
        SetStepCount(StepMaximum);
        ClearUndo();
    }
    RecalcScenario();
    if (rowChanged) {
        NewScenario();
        ClearUndo();
    }
    if (FormShow)
        LayoutShowWindow();
    Grid->SetRowCount(Grid->FixedRows() + Config.channels);
    ClearPreviewFrame();
    Grid->Invalidate();
    // The marker follows the scenario's state: a cut above is a change to save.
    SetCaption(Modified);
    FillPortList();
}

bool TFormMain::AgreeToCut(int stepMaximum)
{
    const int steps = Grid->ColCount() - Grid->FixedCols();
    if (steps <= stepMaximum)
        return true;
    const std::string maximum = IntToStr(stepMaximum);
    return ShowMessageBox("Количество шагов в сценарии (" + IntToStr(steps) +
                              ") превышает максимально возможное для контроллера (" + maximum +
                              ")!\nСократить сценарий до " + maximum + " шагов?",
                          "Настройки", MB_OKCANCEL | MB_ICONQUESTION) == IDOK;
}

void TFormMain::SpeedButtonAboutClick(TObject*) { RunAboutBox(); }

void TFormMain::ComboBoxComNumberChange(TObject*) { ChoosePort(ComboBoxComNumber->Text()); }

void TFormMain::ChoosePort(const std::string& name)
{
    PortName = name;
    if (IsComPortName(name))
        SerialPortName = name;
}

void TFormMain::SpeedButtonUndoClick(TObject*) { Undo(); }

void TFormMain::SpeedButtonRedoClick(TObject*) { Redo(); }

// ---------------------------------------------------------------------------------------
// Model parameters and ports

void TFormMain::ApplyModelParams()
{
    TagScope speedByProgram(*TrackBarSpeed, 1);
    TagScope levelByProgram(*TrackBarStepLevel, 1);
    int p = TrackBarSpeed->Position();
    TrackBarSpeed->SetMax(Params.maxSpeed);
    if (p < Params.minSpeed)
        TrackBarSpeed->SetPosition(TrackBarSpeed->Max());
    TrackBarSpeed->SetMin(Params.minSpeed);
    TrackBarSpeed->SetFrequency((TrackBarSpeed->Max() - TrackBarSpeed->Min()) / 5);
    SpeedButtonStepOff->Tag = kCellOff;
    SpeedButtonStepLevel->Tag = Params.levelMax;
    SpeedButtonStepUp->Tag = kCellRampUp;
    SpeedButtonStepDown->Tag = kCellRampDown;
    SpeedButtonStepStrob->Tag = kCellStrobe;
    SpeedButtonStepUp->SetEnabled(Params.rampUpAllowed != 0);
    SpeedButtonStepDown->SetEnabled(Params.rampDownAllowed != 0);
    SpeedButtonStepStrob->SetEnabled(Params.strobeAllowed != 0);
    TrackBarStepLevel->SetMax(Params.levelMax);
    if (Config.typeLetter == 'M') {
        GroupBoxLabels->Show();
    } else {
        GroupBoxLabels->Hide();
        Scn().labels.clear();
    }
}

// The box lists the ports of the controller's kind and shows where it is programmed: a
// serial controller on the serial port chosen last (the first port listed when none is
// known), a USB controller over "USB". The header export, offered when the program was
// started with the argument FILE, stays chosen while it is chosen.
void TFormMain::FillPortList()
{
    ComboBoxComNumber->Items().Clear();
    const bool serial = IsSerialController();
    if (serial) {
        for (const std::string& port : EnumComPorts())
            ComboBoxComNumber->Items().Add(port);
        if (!IsComPortName(SerialPortName))
            SerialPortName = ComboBoxComNumber->Items().Count() > 0 ? ComboBoxComNumber->Items()[0] : "";
    } else {
        ComboBoxComNumber->Items().Add("USB");
    }
    bool fileOffered = false;
    for (int i = 1; i <= Application->ParamCount() && !fileOffered; ++i)
        fileOffered = UpperCase(Application->ParamStr(i)) == "FILE";
    if (fileOffered)
        ComboBoxComNumber->Items().Add("FILE");
    if (!(fileOffered && PortName == "FILE"))
        PortName = serial ? SerialPortName : "USB";
    ComboBoxComNumber->SetText(PortName);
}

bool TFormMain::IsSerialController() const
{
    const std::string id = Config.deviceId;
    return id.empty() || id == "485";
}

int32_t TFormMain::ComputeMaxSteps() { return ::ComputeMaxSteps(Config, ProgramFolder); }

std::string TFormMain::FindRomFile(const std::string& fileName, const std::string& folder)
{
    return ::FindRomFile(fileName, folder, ProgramFolder);
}

