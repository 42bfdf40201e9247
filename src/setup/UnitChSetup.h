#pragma once
// The controller and channel set-up dialog: the model, the channel count, each
// channel's name and colour, RGB groups, the show window's picture, and set-up files
// ("*.ctr") to keep all of it. It works on its own copy of the configuration; the
// caller takes the copy back (GetConfig) only after OK.
#include <string>
#include <vector>

#include "setup/ControllerModels.h"
#include "ui/Buttons.h"
#include "ui/ComCtrls.h"
#include "ui/Dialogs.h"
#include "ui/ExtCtrls.h"
#include "ui/Forms.h"
#include "ui/StdCtrls.h"
#include "ui/StringGrid.h"

class TFormChSetup : public TForm {
public:
    explicit TFormChSetup(TComponent* owner);
    ~TFormChSetup() override;

    TSpeedButton *SpeedButtonOk, *SpeedButtonCancel;
    TSpeedButton *SpeedButtonSave, *SpeedButtonOpen, *SpeedButtonDefault;
    TSpeedButton *SpeedButtonOpenBMP, *SpeedButtonClearBMP;
    TPanel *PanelCtrFileName, *PanelBMPFileName;
    TStringGrid* StringGridCh;
    TGroupBox* GroupBox1;
    TComboBox* ComboBoxType;
    TLabel* Label2;
    TEdit* EditChCount;
    TUpDown* UpDownChCount;
    TLabel* LabelRomFile;
    TEdit* EditRomFile;
    TButton* ButtonOpenRomFile;
    TCheckBox* CheckBoxRGB;
    TOpenDialog* OpenDialog;
    TSaveDialog* SaveDialog;
    TOpenDialog* OpenDialog1;
    TOpenDialog* OpenPictureDialog1;
    TColorDialog* ColorDialog1;

    // ---- handlers ----
    void FormShow(TObject* Sender);
    void FormCloseQuery(TObject* Sender, bool& CanClose);
    void SpeedButtonOkClick(TObject* Sender);
    void SpeedButtonCancelClick(TObject* Sender);
    void StringGridChDrawCell(TObject* Sender, int ACol, int ARow, TRect Rect, TGridDrawState State);
    void StringGridChMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    void StringGridChSelectCell(TObject* Sender, int ACol, int ARow, bool& CanSelect);
    void StringGridChSetEditText(TObject* Sender, int ACol, int ARow, const std::string& Value);
    void StringGridChExit(TObject* Sender);
    void CheckBoxRGBClick(TObject* Sender);
    void SpeedButtonDefaultClick(TObject* Sender);
    void SpeedButtonSaveClick(TObject* Sender);
    void SpeedButtonOpenClick(TObject* Sender);
    void ComboBoxTypeChange(TObject* Sender);
    void EditChCountExit(TObject* Sender);
    void EditChCountKeyPress(TObject* Sender, char& Key);
    void EditRomFileKeyPress(TObject* Sender, char& Key);
    void UpDownChCountChangingEx(TObject* Sender, bool& AllowChange, short NewValue, TUpDownDirection Direction);
    void ButtonOpenRomFileClick(TObject* Sender);
    void EditRomFileExit(TObject* Sender);
    void SpeedButtonOpenBMPClick(TObject* Sender);
    void SpeedButtonClearBMPClick(TObject* Sender);

    // ---- operations ----
    // Takes a copy of config to edit and selects its model (whose firmware file,
    // parameter row, device id and type letter the copy then takes).
    void SetConfig(const ControllerConfig& config);
    void GetConfig(ControllerConfig& config) const;
    void SetChannelCount(int count);
    void MarkModified();
    void RefreshDialog();
    void UpdateRgbCheck(int row);
    // True: the dialog may close; false: the user cancelled (or the file could not be
    // written).
    bool AskSaveCtr();
    void SetNewCtrName();
    // The picture's channel count and colours (its markers) into scratch; false when the
    // file is missing, cannot be decoded or has no markers.
    bool ReadPictureColours(const std::string& fileName, ControllerConfig& scratch);

    // ---- state ----
    int MinFormHeight = 380;
    int MaxGridHeight = 0;  // room for 25 rows
    bool ShownOnce = false;
    bool Modified = false;  // the copy differs from the set-up file named in it
    ControllerConfig ConfigCopy{};
    std::string ProgramFolder;  // the running program's folder, with its separator

private:
    void BuildForm();
    void BindEvents();
    // The names as they stand in the grid, one per channel below the count.
    std::vector<std::string> GridNames() const;
    // Shows the save dialog until a file is chosen (and may be overwritten) and writes
    // the copy there. False when the write failed.
    bool SaveCtr();
    void ShowCtrFileName(bool withMarker);
};

extern TFormChSetup* FormChSetup;
