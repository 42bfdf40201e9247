#pragma once
// The main window: the scenario editor. It owns the scenario with its undo ring, the
// controller configuration and its model parameters, and the windows that live as long
// as it does (show window, gradient window, channel-range window).
#include <functional>
#include <string>
#include <vector>

#include "preview/LampColumn.h"
#include "preview/PreviewEngine.h"
#include "programming/BurnRequest.h"
#include "scenario/UndoRing.h"
#include "setup/ControllerModels.h"
#include "ui/Buttons.h"
#include "ui/ComCtrls.h"
#include "ui/Dialogs.h"
#include "ui/ExtCtrls.h"
#include "ui/Forms.h"
#include "ui/Grids.h"
#include "ui/ImgList.h"
#include "ui/Menus.h"
#include "ui/StdCtrls.h"

class TDraw;
class TVisualStyleManager;

class TFormMain : public TForm {
public:
    explicit TFormMain(TComponent* owner);
    ~TFormMain() override;

    // ---- components (form description) ----
    TPanel* Panel1;
    TSpeedButton *SpeedButtonNew, *SpeedButtonOpen, *SpeedButtonSave, *SpeedButtonSaveAs;
    TSpeedButton *SpeedButtonUndo, *SpeedButtonRedo, *SpeedButtonLaunch, *SpeedButtonShow;
    TSpeedButton *SpeedButtonBurn, *SpeedButtonSetup, *SpeedButtonAbout;
    TSpeedButton *SpeedButtonZoomMinus, *SpeedButtonZoomPlus;
    TLabel* LabelComNumber;
    TComboBox* ComboBoxComNumber;

    TGroupBox* GroupBox1;
    TSpeedButton *SpeedButtonStepOff, *SpeedButtonStepLevel, *SpeedButtonStepUp, *SpeedButtonStepDown;
    TSpeedButton *SpeedButtonStepStrob, *SpeedButtonGradient, *SpeedButtonColorRGB;
    TLabel* LabelStepLevel;
    TTrackBar* TrackBarStepLevel;
    TEdit* EditStepLevel;

    TGroupBox* GroupBox3;
    TLabel *LabelScenTime, *LabelStepNum, *LabelStepTime, *LabelSpeed;
    TEdit* EditScenTime;
    TEdit* EditStepNum;
    TUpDown* UpDownStepNum;
    TTrackBar* TrackBarStepTime;
    TEdit* EditStepTime;
    TSpeedButton *ButtonStepTimeDec, *ButtonStepTimeInc;
    TSpeedButton *SpeedButtonInsertStep, *SpeedButtonDelStep, *SpeedButtonCopyFromFile;
    TCheckBox* CheckBoxTimesLock;
    TTrackBar* TrackBarSpeed;
    TEdit* EditSpeed;
    TCheckBox* CheckBoxTimeInSec;

    TGroupBox* GroupBoxSubs;
    TSpeedButton *SpeedButtonSubAdd, *SpeedButtonSubDel;
    TEdit* EditSubCnt;
    TUpDown* UpDownSubCnt;
    TRadioButton *RadioButtonLoopEndless, *RadioButtonLoopRepeat;
    TPanel* PanelLoops;

    TGroupBox* GroupBoxLabels;
    TSpeedButton *SpeedButtonLabelAdd, *SpeedButtonLabelDel;
    TPanel* PanelLabels;

    TDrawGrid* Grid;
    TPanel* PanelShapes;
    TPaintBox* ImageShapes;

    TPopupMenu* PopupMenu;
    TMenuItem *N_AddStep, *N_DelStep, *N_InsertFromFile, *N_Cut, *N_Copy, *N_Paste;

    TOpenDialog* OpenDialog;
    TSaveDialog* SaveDialog;
    TColorDialog* ColorDialog1;
    TImageList* ImageList1;
    TTimer* TimerStepTimeRepeat;
    TTimer* TimerSpeedChange;
    TVisualStyleManager* VisualStyleManager1;

    // ---- handlers ----
    void FormActivate(TObject* Sender);
    void FormCloseQuery(TObject* Sender, bool& CanClose);
    void FormClose(TObject* Sender, TCloseAction& Action);
    void FormDestroy(TObject* Sender);
    void FormKeyDown(TObject* Sender, WORD& Key, TShiftState Shift);
    void SpeedButtonNewClick(TObject* Sender);
    void SpeedButtonSetupClick(TObject* Sender);
    void SpeedButtonAboutClick(TObject* Sender);
    void ComboBoxComNumberChange(TObject* Sender);
    void SpeedButtonUndoClick(TObject* Sender);
    void SpeedButtonRedoClick(TObject* Sender);
    void TrackBarSpeedChange(TObject* Sender);
    void TimerSpeedChangeTimer(TObject* Sender);
    void SpeedButtonBurnClick(TObject* Sender);

    // Members of the editor's areas, one block each, implemented in the files named.
    // ---- step count, step time and speed (MainSteps*.cpp) ----
    // Changes the largest allowed step count; without keepSteps a longer scenario is cut.
    void SetMaxSteps(int maxSteps, bool keepSteps);
    // ---- grid drawing, zoom and selection (MainGrid*.cpp) ----
    // ---- editing: steps, clipboard, loops and labels (MainEdit*.cpp) ----
    // ---- scenario files and the settings file (MainFiles*.cpp, MainSettings*.cpp) ----
    void SpeedButtonSaveClick(TObject* Sender);
    void SpeedButtonSaveAsClick(TObject* Sender);
    void SpeedButtonOpenClick(TObject* Sender);
    void N_InsertFromFileClick(TObject* Sender);
    void SpeedButtonCopyFromFileClick(TObject* Sender);
    // Reads a scenario file into LoadBuffer (with insertMode only its steps) and
    // LoadedSpeed; false when the file is missing or cannot be read, with a stop box when
    // showErrors. The warnings about steps, loops and labels cut off show either way.
    bool ReadScn(const std::string& fileName, bool insertMode, bool showErrors);
    // Reads the file and makes it the current scenario (undoably); false as ReadScn.
    bool LoadScn(const std::string& fileName, bool showErrors);
    // Writes the current scenario (a relative name lies in the program folder) through a
    // temporary file; raises the class library's exception when it cannot.
    void SaveScn(const std::string& fileName);
    void LoadOptions();
    void SaveOptions();
    void LoadPosition();
    void SavePosition();
    ScenarioSnapshot LoadBuffer;
    int LoadedSpeed = 0;
    float Zoom = 1.0f;  // the grid's zoom factor, kept in the settings file
    // ---- preview (MainPreview*.cpp) ----
    void SpeedButtonLaunchClick(TObject* Sender);
    void SpeedButtonShowClick(TObject* Sender);
    // One frame of the preview, drawn into the lamp column's bitmap; with reset it only
    // resets the playback state.
    void PreviewTick(unsigned elapsedMs, TBitmap* frame, bool reset);
    // Hand the level (or the group's three levels) to the show window and draw the lamp.
    void DrawChannelLamp(int channel, int level, const LampColumn& column);
    void DrawRgbLamp(int first, int red, int green, int blue, const LampColumn& column);
    void CreateDrawThread();
    void DestroyDrawThread();
    void ClearPreviewFrame();
    void LayoutShowWindow();
    int PreviewFirstColumn = 1;
    int PreviewLastColumn = 1;
    PreviewEngine Preview;
    TDraw* DrawThread = nullptr;  // owned
    // Where each channel row lies beside the grid; the grid drawing fills it.
    RowSpan ChannelRowSpans[kMaxChannels]{};
    // The grid's cell drawing; the preview redraws the play column's header with it.
    void GridDrawCell(TObject* Sender, int ACol, int ARow, TRect Rect, TGridDrawState State);
    // ---- set-up, colour, gradient and About (MainSetup*.cpp) ----
    void SpeedButtonGradientClick(TObject* Sender);
    void SpeedButtonColorRGBClick(TObject* Sender);
    // Fills the marked cells of the marked steps with levels running from beginValue
    // at the first to endValue at the last (needs two marked steps).
    void ApplyGradient(int beginValue, int endValue);
    // Writes a colour (0x00BBGGRR) as levels into the current cell's RGB group and into
    // the group of every marked cell whose channel is in one.
    void ApplyRgbColour(int colour);
    // Cells [column][firstRow .. firstRow + 2] := red, green, blue (channel rows only).
    void SetRgbCells(int firstRow, int column, int red, int green, int blue);

    // ---- operations ----
    // True: go on; false: the user cancelled.
    bool AskSaveChanges();
    void ApplyModelParams();
    void FillPortList();
    void PushUndo();
    void ClearUndo();
    void Undo();
    void Redo();
    void NewScenario();
    void ClearSelection();
    // Builds the image and EEPROM block of channel rows first .. first + count - 1 and
    // exports them (port "FILE") or programs them into a controller.
    void BuildControllerImage(int first, int count);
    void ExportCHeader(const uint8_t* image, int size, int speed);
    void ValidateLoops();
    void ValidateLabels();
    int32_t ComputeMaxSteps();
    std::string FindRomFile(const std::string& fileName, const std::string& folder);
    // Sets the window caption by the caption rule, with the " *" marker when asked.
    void SetCaption(bool modifiedMarker);
    std::string CaptionText(bool modifiedMarker) const;

    ScenarioSnapshot& Scn() { return ring_.Current(); }
    const UndoRing& Ring() const { return ring_; }
    UndoRing& Ring() { return ring_; }
    uint16_t& SelectionMark(int column, int row)
    {
        return selectionMarks_[static_cast<size_t>(column) * kSnapshotRows + static_cast<size_t>(row)];
    }

    // ---- state ----
    std::string ProgramFolder;
    std::string ScenarioFileName;
    std::string SettingsFileName;
    std::string PortName;
    int32_t StepMaximum = kMaxStepCount;
    bool ActivatedOnce = false;
    bool PositionsLoaded = false;
    bool Modified = false;
    ControllerConfig Config{};
    ModelParams Params{};
    double MsPerTimeUnit = 0;
    int PlayColumn = 1;
    int MouseCol = -1;
    int MouseRow = -1;
    bool SkipDrag = false;

    // The controller set-up dialog: shows it modally on a copy of the configuration and
    // returns its modal result, the edited copy in config. Replaceable by tests.
    std::function<int(ControllerConfig& config)> RunSetupDialog;
    // The programming window: runs one programming of the request (modally) and may
    // change its port name. Replaceable by tests.
    std::function<void(BurnRequest& request)> RunProgrammingWindow;

private:
    void BuildForm();
    void BindEvents();
    void Resynchronise();
    // Reports a failure to write the settings once per run and goes on.
    void ReportSettingsFailure(const std::exception& e);

    // Work that other parts of the editor provide; until they exist these do nothing.
    void RecalcScenario();
    void UpdateControls();
    void UpdateSelectionMenu();
    void ApplyZoom();
    void EndFloatingPaste();
    void CopyOrCut(int mode);
    void ClearClipboard();
    void RunAboutBox();
    int ShowSetupDialog(ControllerConfig& config);
    void ShowProgrammingWindow(BurnRequest& request);
    void ShowChannelRangeWindow();

    UndoRing ring_;
    std::vector<uint16_t> selectionMarks_;
    bool settingsFailureReported_ = false;
};

extern TFormMain* FormMain;
