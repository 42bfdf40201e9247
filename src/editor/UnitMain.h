#pragma once
// The main window: the scenario editor. It owns the scenario with its undo ring, the
// controller configuration and its model parameters, and the windows that live as long
// as it does (show window, gradient window, channel-range window).
#include <functional>
#include <string>
#include <vector>

#include "preview/LampColumn.h"
#include "preview/PreviewEngine.h"
#include "programming/BurnInputs.h"
#include "scenario/GridEditState.h"
#include "scenario/GridZoom.h"
#include "scenario/LoopRowIndex.h"
#include "scenario/StepTiming.h"
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
    // Changes the largest allowed step count (1 .. 8000); without keepSteps the scenario
    // gets exactly that many steps and the undo history is emptied.
    void SetMaxSteps(int maxSteps, bool keepSteps);
    // Recomputes what follows from the scenario: step times brought into the model's
    // limits, column widths, the total time, the loop and label counters, the step
    // buttons.
    void RecalcScenario();
    // Sets the step-time, level, effect and loop controls from the current cell.
    void UpdateControls();
    int TimeToSliderPosition(int time);
    int SliderPositionToTime(int position);
    void SetStepCount(int count);
    // Sets the time of a step and of every selected step (only within the limits).
    void SetStepTime(int column, int time);
    // Adds delta to the current step's time and to every selected step's.
    void ChangeStepTime(int delta);
    // The time typed into EditStepTime, in units, within the limits.
    int ParseStepTimeEdit();
    void ApplyStepTimeEdit();
    // Writes a cell code into the current cell and every selected step cell.
    void ApplyEffect(int code);
    void EditStepNumExit(TObject* Sender);
    void EditStepNumKeyPress(TObject* Sender, char& Key);
    void UpDownStepNumChangingEx(TObject* Sender, bool& AllowChange, short NewValue, TUpDownDirection Direction);
    void TrackBarStepTimeChange(TObject* Sender);
    void TrackBarStepTimeExit(TObject* Sender);
    void EditStepTimeEnter(TObject* Sender);
    void EditStepTimeKeyPress(TObject* Sender, char& Key);
    void EditStepTimeExit(TObject* Sender);
    void ButtonStepTimeDecMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    void ButtonStepTimeDecMouseUp(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    void TimerStepTimeRepeatTimer(TObject* Sender);
    void EditSpeedKeyPress(TObject* Sender, char& Key);
    void EditSpeedExit(TObject* Sender);
    void CheckBoxTimesLockClick(TObject* Sender);
    void CheckBoxTimeInSecClick(TObject* Sender);
    void TrackBarStepLevelChange(TObject* Sender);
    void TrackBarStepLevelExit(TObject* Sender);
    void EditStepLevelEnter(TObject* Sender);
    void EditStepLevelExit(TObject* Sender);
    void EditStepLevelKeyPress(TObject* Sender, char& Key);
    // ---- grid drawing, zoom and selection (MainGrid*.cpp) ----
    // Paints one cell of Grid, from the scenario; also called to repaint cells at once.
    void GridDrawCell(TObject* Sender, int ACol, int ARow, TRect Rect, TGridDrawState State);
    void GridTopLeftChanged(TObject* Sender);
    void SpeedButtonZoomMinusClick(TObject* Sender);
    void SpeedButtonZoomPlusClick(TObject* Sender);
    // Takes the zoom (0.1 .. 1.2), sizes rows and columns to it, redraws.
    void ApplyZoom(float zoom);
    // The popup's texts and the gradient button for a selection of this kind.
    void UpdateSelectionMenu(int kind);
    void GridMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    void GridMouseMove(TObject* Sender, TShiftState Shift, int X, int Y);
    void GridMouseUp(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    void GridKeyPress(TObject* Sender, char& Key);
    void GridKeyUp(TObject* Sender, WORD& Key, TShiftState Shift);
    void GridMouseWheelDown(TObject* Sender, TShiftState Shift, TPoint MousePos, bool& Handled);
    void GridMouseWheelUp(TObject* Sender, TShiftState Shift, TPoint MousePos, bool& Handled);
    void SpeedButtonStepLevelClick(TObject* Sender);
    void TrackBarStepLevelEnter(TObject* Sender);
    void RadioButtonStepLevelClick(TObject* Sender);
    // The current cell (or the selection) takes the next effect the model allows.
    void CycleCellEffect();
    float Zoom = 1.0f;
    // Where each channel row lies beside the grid, for the lamps drawn next to it.
    ChannelRowSpan ChannelRowSpans[kMaxChannels]{};
    // The selection, the cell under the mouse and the floating paste.
    GridEditState EditState;
    // Which loops show in a column of the loops row, kept between painted cells.
    LoopRowIndex GridLoopRows;
    // ---- editing: steps, clipboard, loops and labels (MainEdit*.cpp) ----
    // Inserts an empty step before the current column (not while the times are locked).
    void InsertStep();
    // Deletes the current step and every selected one; with the times locked their
    // cells are switched off instead.
    void DeleteSteps();
    // Fills the clipboard: mode 0 copy, 1 cut, 2 the steps of LoadBuffer.
    void CopyToClipboard(int mode);
    // Copy, cut or insertion from a file, then the floating paste starts.
    void CopyOrCut(int mode);
    // Drops the floating paste at the cell under the mouse.
    void PasteClipboard();
    // Index of the first loop holding column, or -1.
    int FindLoop(int column);
    // Adds a loop over the selected steps and the current one.
    void AddLoop();
    // Removes every loop holding a selected step or the current one.
    void DeleteLoops();
    // Sets the repeat count of the loop at the current column.
    void SetLoopRepeat(int count);
    void AddLabel(int column);
    void DeleteLabel(int column);
    void N_AddStepClick(TObject* Sender);
    void SpeedButtonInsertStepClick(TObject* Sender);
    void N_DelStepClick(TObject* Sender);
    void SpeedButtonDelStepClick(TObject* Sender);
    void N_CopyClick(TObject* Sender);
    void N_CutClick(TObject* Sender);
    void N_PasteClick(TObject* Sender);
    void SpeedButtonSubAddClick(TObject* Sender);
    void SpeedButtonSubDelClick(TObject* Sender);
    void UpDownSubCntChangingEx(TObject* Sender, bool& AllowChange, short NewValue, TUpDownDirection Direction);
    void EditSubCntKeyPress(TObject* Sender, char& Key);
    void EditSubCntExit(TObject* Sender);
    void RadioButtonLoopRepeatClick(TObject* Sender);
    void SpeedButtonLabelAddClick(TObject* Sender);
    void SpeedButtonLabelDelClick(TObject* Sender);
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
    // Saves under the scenario file name. A file there that the scenario was neither read
    // from nor written to is replaced only after the overwrite question, whose No goes on
    // to Save As. False when nothing was saved.
    bool SaveToScenarioFile();
    // Save As: the dialog and the overwrite question; false when the user gave up.
    bool SaveScenarioAs();
    void LoadOptions();
    void SaveOptions();
    void LoadPosition();
    void SavePosition();
    ScenarioSnapshot LoadBuffer;
    int LoadedSpeed = 0;
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
    LampColumn PreviewLamps;
    TDraw* DrawThread = nullptr;  // owned
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
    // The configuration's controller is programmed over a serial port (device id "" or
    // "485"), not over USB.
    bool IsSerialController() const;
    // Where programming goes now (the port box's choice); a serial port among it is also
    // the serial port kept.
    void ChoosePort(const std::string& name);
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
    uint16_t SelectionMark(int column, int row) const { return EditState.Marks.At(column, row); }

    // ---- state ----
    std::string ProgramFolder;
    // The current scenario's file, as its slot's document in the undo ring names it
    // (TakeDocumentFile): an undo or redo to another file's scenario brings that file
    // back.
    std::string ScenarioFileName;
    // The scenario was read from or written to ScenarioFileName; false for a new
    // scenario, whose name only proposes a file.
    bool ScenarioFileOwned = false;
    std::string SettingsFileName;
    // The port box's choice, where programming goes: a serial port, "USB" or "FILE".
    std::string PortName;
    // The serial port chosen last ("" when none is known): what a serial controller's box
    // shows and what the settings keep, whatever a USB controller's box shows meanwhile.
    std::string SerialPortName;
    int32_t StepMaximum = kMaxStepCount;
    bool ActivatedOnce = false;
    bool PositionsLoaded = false;
    bool Modified = false;
    ControllerConfig Config{};
    ModelParams Params{};
    double MsPerTimeUnit = 0;
    int PlayColumn = 1;

    // The controller set-up dialog: shows it modally on a copy of the configuration and
    // returns its modal result, the edited copy in config. Replaceable by tests.
    std::function<int(ControllerConfig& config)> RunSetupDialog;
    // The programming window: runs one programming of the inputs (modally) and may
    // change their port name. Replaceable by tests.
    std::function<void(BurnInputs& inputs)> RunProgrammingWindow;

private:
    // The window's size in its form description: the least size that shows all of it.
    static constexpr int kDesignWidth = 1024, kDesignHeight = 720;

    void BuildForm();
    void BindEvents();
    void BindEditEvents();
    // The marked steps and the current one, ascending.
    std::vector<int> SelectedStepsAndCurrent() const;
    void Resynchronise();
    // ScenarioFileName and ScenarioFileOwned from the current slot's document.
    void TakeDocumentFile();
    // True when the scenario fits a step maximum, or the user agrees to cut it to that.
    bool AgreeToCut(int stepMaximum);
    // Reports a failure to write the settings once per run and goes on.
    void ReportSettingsFailure(const std::exception& e);

    // Work that other parts of the editor provide; until they exist these do nothing.
    void EndFloatingPaste();
    void ClearClipboard();
    void RunAboutBox();
    int ShowSetupDialog(ControllerConfig& config);
    void ShowProgrammingWindow(BurnInputs& inputs);
    void ShowChannelRangeWindow();

    // Step and grid helpers (MainSteps*.cpp, MainGrid*.cpp).
    TimeLimits Limits() const { return TimeLimits{Params.minTime, Params.maxTime}; }
    GridSize Size() const { return GridSize{Grid->ColCount(), Grid->RowCount()}; }
    // A slider moved by the user: one undo step for the gesture, which the 1.5-second
    // timer (restarted by every move) or leaving the slider ends.
    void SliderGestureStep();
    // Shows a step time in EditStepTime as UpdateControls does.
    void ShowStepTime(int time);
    // Paints the step cells of range that are in view at once.
    void RepaintCells(const CellRange& range);
    // ChannelRowSpans of the first channels rows, for the rows in view now.
    void UpdateChannelRowSpans(int channels);
    // The popup's texts and the gradient button as for no selection.
    void ResetSelectionMenu();
    // True when the control and every container up to the form is visible.
    bool VisibleOnForm(TControl* control) const;

    UndoRing ring_;
    bool settingsFailureReported_ = false;
};

extern TFormMain* FormMain;
