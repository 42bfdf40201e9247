#include "setup/UnitChSetup.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>

#include "setup/ChannelSetup.h"
#include "setup/SetupGlyphs.h"
#include "setup/StandardColours.h"
#include "ui/Application.h"
#include "ui/FormBuilder.h"
#include "ui/SysUtils.h"

TFormChSetup* FormChSetup = nullptr;

namespace {

constexpr int kRowHeight = 16;
constexpr int kGridTop = 40;

std::string Formatted(const char* format, int value)
{
    char text[16];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

TSpeedButton* ToolButton(TFormChSetup* form, TWinControl* parent, const char* name, int left, int top,
                         const char* hint)
{
    auto* b = Place<TSpeedButton>(form, parent, name, left, top, 28, 28);
    b->Hint = hint;
    return b;
}

TPanel* NamePanel(TFormChSetup* form, const char* name, int left, int top, int width)
{
    auto* p = Place<TPanel>(form, form, name, left, top, width, 24);
    p->SetBevelOuter(bvLowered);
    p->SetAlignment(taLeftJustify);
    return p;
}

} // namespace

TFormChSetup::TFormChSetup(TComponent* owner) : TForm(owner)
{
    BuildForm();
    ProgramFolder = ExtractFilePath(Application->ExeName());
    ShownOnce = false;
    Modified = false;
    MinFormHeight = 380;
    MaxGridHeight = (kRowHeight + StringGridCh->GridLineWidth()) * 25 + StringGridCh->GridLineWidth();
    UpDownChCount->SetMax(kMaxChannels);
    ComboBoxType->Tag = 1;
    for (unsigned i = 0; ControllerModelTable[i].channels != 0; ++i)
        ComboBoxType->Items().Add(ControllerModelTable[i].name);
    ComboBoxType->SetItemIndex(0);
    ComboBoxTypeChange(ComboBoxType);
    ComboBoxType->Tag = 0;
    SetChannelDefaults(ConfigCopy);
    int line = StringGridCh->GridLineWidth();
    StringGridCh->SetColWidths(0, 40);
    StringGridCh->SetColWidths(1, 40);
    // The rest of the width, the vertical scroll bar's room left free.
    StringGridCh->SetColWidths(2, StringGridCh->Width() - 80 - 4 * line - GetSystemMetrics(SM_CXVSCROLL));
    StringGridCh->SetCells(0, 0, "Канал");
    StringGridCh->SetCells(1, 0, " Цвет");
    StringGridCh->SetCells(2, 0, " Название");
}

TFormChSetup::~TFormChSetup()
{
    if (FormChSetup == this)
        FormChSetup = nullptr;
}

void TFormChSetup::BuildForm()
{
    BeginLoading(*this);
    Name = "FormChSetup";
    SetCaption("Настройка каналов");
    BorderStyle = bsDialog;
    Position = poOwnerFormCenter;
    SetClientSize(562, 380);

    PanelCtrFileName = NamePanel(this, "PanelCtrFileName", 8, 8, 206);
    SpeedButtonOpen = ToolButton(this, this, "SpeedButtonOpen", 218, 6, "Открыть");
    SpeedButtonSave = ToolButton(this, this, "SpeedButtonSave", 248, 6, "Сохранить");
    SpeedButtonDefault = ToolButton(this, this, "SpeedButtonDefault", 280, 6, "Восстановить");

    StringGridCh = Place<TStringGrid>(this, this, "StringGridCh", 8, kGridTop, 300, 300);
    StringGridCh->SetColCount(3);
    StringGridCh->SetFixedCols(2);
    StringGridCh->SetFixedRows(1);
    StringGridCh->SetDefaultRowHeight(kRowHeight);
    StringGridCh->SetOptions(goFixedVertLine | goFixedHorzLine | goVertLine | goHorzLine | goEditing);
    StringGridCh->TabStop = true;

    GroupBox1 = Place<TGroupBox>(this, this, "GroupBox1", 320, 34, 234, 118);
    GroupBox1->SetCaption(" Тип контроллера ");
    ComboBoxType = Place<TComboBox>(this, GroupBox1, "ComboBoxType", 12, 22, 210, 21);
    ComboBoxType->SetStyle(csDropDownList);
    ComboBoxType->SetDropDownCount(15);
    Label2 = Place<TLabel>(this, GroupBox1, "Label2", 12, 58, 96, 13);
    Label2->SetCaption("Кол-во каналов");
    EditChCount = Place<TEdit>(this, GroupBox1, "EditChCount", 120, 54, 44, 21);
    EditChCount->SetMaxLength(3);
    UpDownChCount = Place<TUpDown>(this, GroupBox1, "UpDownChCount", 164, 54, 16, 21);
    UpDownChCount->SetMin(1);
    UpDownChCount->SetAssociate(EditChCount);
    LabelRomFile = Place<TLabel>(this, GroupBox1, "LabelRomFile", 12, 90, 30, 13);
    LabelRomFile->SetCaption("Файл");
    LabelRomFile->SetVisible(false);
    EditRomFile = Place<TEdit>(this, GroupBox1, "EditRomFile", 44, 86, 150, 21);
    EditRomFile->SetVisible(false);
    ButtonOpenRomFile = Place<TButton>(this, GroupBox1, "ButtonOpenRomFile", 198, 86, 24, 21);
    ButtonOpenRomFile->SetCaption("...");
    ButtonOpenRomFile->SetVisible(false);

    CheckBoxRGB = Place<TCheckBox>(this, this, "CheckBoxRGB", 328, 164, 150, 17);
    CheckBoxRGB->SetCaption("Группа RGB");
    PanelBMPFileName = NamePanel(this, "PanelBMPFileName", 320, 198, 170);
    SpeedButtonOpenBMP = ToolButton(this, this, "SpeedButtonOpenBMP", 494, 196, "Открыть изображение");
    SpeedButtonClearBMP = ToolButton(this, this, "SpeedButtonClearBMP", 524, 196, "Удалить изображение");

    SpeedButtonOk = Place<TSpeedButton>(this, this, "SpeedButtonOk", 364, 300, 90, 28);
    SpeedButtonOk->SetCaption("Принять");
    SpeedButtonCancel = Place<TSpeedButton>(this, this, "SpeedButtonCancel", 462, 300, 90, 28);
    SpeedButtonCancel->SetCaption("Отменить");

    OpenDialog = Make<TOpenDialog>(this, "OpenDialog");
    SaveDialog = Make<TSaveDialog>(this, "SaveDialog");
    OpenDialog1 = Make<TOpenDialog>(this, "OpenDialog1");
    OpenPictureDialog1 = Make<TOpenDialog>(this, "OpenPictureDialog1");
    ColorDialog1 = Make<TColorDialog>(this, "ColorDialog1");
    ColorDialog1->Color = clWhite;
    SetStandardCustomColours(*ColorDialog1);

    LoadSetupGlyphs(*this);
    BindEvents();
    FinishLoading(*this);
}

void TFormChSetup::BindEvents()
{
    using namespace std::placeholders;
    OnShow = std::bind(&TFormChSetup::FormShow, this, _1);
    OnCloseQuery = std::bind(&TFormChSetup::FormCloseQuery, this, _1, _2);
    SpeedButtonOk->OnClick = std::bind(&TFormChSetup::SpeedButtonOkClick, this, _1);
    SpeedButtonCancel->OnClick = std::bind(&TFormChSetup::SpeedButtonCancelClick, this, _1);
    StringGridCh->OnDrawCell = std::bind(&TFormChSetup::StringGridChDrawCell, this, _1, _2, _3, _4, _5);
    StringGridCh->OnMouseDown = std::bind(&TFormChSetup::StringGridChMouseDown, this, _1, _2, _3, _4, _5);
    StringGridCh->OnSelectCell = std::bind(&TFormChSetup::StringGridChSelectCell, this, _1, _2, _3, _4);
    StringGridCh->OnSetEditText = std::bind(&TFormChSetup::StringGridChSetEditText, this, _1, _2, _3, _4);
    StringGridCh->OnExit = std::bind(&TFormChSetup::StringGridChExit, this, _1);
    CheckBoxRGB->OnClick = std::bind(&TFormChSetup::CheckBoxRGBClick, this, _1);
    SpeedButtonDefault->OnClick = std::bind(&TFormChSetup::SpeedButtonDefaultClick, this, _1);
    SpeedButtonSave->OnClick = std::bind(&TFormChSetup::SpeedButtonSaveClick, this, _1);
    SpeedButtonOpen->OnClick = std::bind(&TFormChSetup::SpeedButtonOpenClick, this, _1);
    ComboBoxType->OnChange = std::bind(&TFormChSetup::ComboBoxTypeChange, this, _1);
    EditChCount->OnExit = std::bind(&TFormChSetup::EditChCountExit, this, _1);
    EditChCount->OnKeyPress = std::bind(&TFormChSetup::EditChCountKeyPress, this, _1, _2);
    EditRomFile->OnKeyPress = std::bind(&TFormChSetup::EditRomFileKeyPress, this, _1, _2);
    EditRomFile->OnExit = std::bind(&TFormChSetup::EditRomFileExit, this, _1);
    UpDownChCount->OnChangingEx = std::bind(&TFormChSetup::UpDownChCountChangingEx, this, _1, _2, _3, _4);
    ButtonOpenRomFile->OnClick = std::bind(&TFormChSetup::ButtonOpenRomFileClick, this, _1);
    SpeedButtonOpenBMP->OnClick = std::bind(&TFormChSetup::SpeedButtonOpenBMPClick, this, _1);
    SpeedButtonClearBMP->OnClick = std::bind(&TFormChSetup::SpeedButtonClearBMPClick, this, _1);
}

// ---------------------------------------------------------------------------------------
// The record

void TFormChSetup::SetConfig(const ControllerConfig& config)
{
    ConfigCopy = config;
    unsigned found = FindModelIndex(ConfigCopy.modelName);
    if (found < kUnknownModel)
        ComboBoxType->SetItemIndex(static_cast<int>(found));
    unsigned selected = static_cast<unsigned>(std::max(0, ComboBoxType->ItemIndex()));
    if (found >= kUnknownModel)
        CopyText(ConfigCopy.modelName, ControllerModelTable[selected].name, kConfigNameChars);
    // The index follows the row selected, so that it never names another model than
    // the name does.
    ConfigCopy.modelIndex = selected;
    TakeModelFirmware(ConfigCopy, selected);
    EditRomFile->SetText(ConfigCopy.firmwareFile);
    UpDownChCount->SetPosition(ConfigCopy.channels);
    if (ConfigCopy.setupFile[0] == '\0')
        SetNewCtrName();
    ShowCtrFileName(false);
    StringGridCh->Invalidate();
}

void TFormChSetup::GetConfig(ControllerConfig& config) const { config = ConfigCopy; }

void TFormChSetup::SetNewCtrName() { CopyText(ConfigCopy.setupFile, NewCtrFileName(ProgramFolder), kConfigPathChars); }

void TFormChSetup::ShowCtrFileName(bool withMarker)
{
    PanelCtrFileName->SetCaption("  " + ExtractFileName(ConfigCopy.setupFile) + (withMarker ? " *" : ""));
}

void TFormChSetup::MarkModified()
{
    ShowCtrFileName(true);
    Modified = true;
}

void TFormChSetup::SetChannelCount(int count)
{
    count = ClampChannelCount(count);
    if (count != ConfigCopy.channels) {
        // Names typed into the grid are taken before the grid is filled anew.
        if (ShownOnce)
            StringGridChExit(StringGridCh);
        ConfigCopy.channels = count;
        MarkModified();
        StringGridCh->SetRowCount(count + 1);
        UpdateRgbCheck(count + 1);
    }
    RefreshDialog();
}

void TFormChSetup::RefreshDialog()
{
    if (!ShownOnce)
        return;
    const int count = ConfigCopy.channels;
    UpDownChCount->Tag = 1;
    UpDownChCount->SetPosition(count);
    UpDownChCount->Tag = 0;
    EditChCount->Tag = 1;
    EditChCount->SetText(IntToStr(count));
    EditChCount->Tag = 0;
    StringGridCh->SetRowCount(count + 1);
    UpdateRgbCheck(StringGridCh->Row());

    ShowCtrFileName(Modified);
    EditRomFile->SetText(ExtractFileName(ConfigCopy.firmwareFile));
    PanelBMPFileName->SetCaption("  " + ExtractFileName(ConfigCopy.pictureFile));

    EditRomFile->SetColor(FirmwareDiffersFromModel(ConfigCopy, EditRomFile->Text()) ? clYellow : clWindow);
    EditChCount->SetColor(ChannelsExceedModel(ConfigCopy) ? clYellow : clWindow);

    int line = StringGridCh->GridLineWidth();
    int frame = StringGridCh->Height() - StringGridCh->ClientHeight();
    int gridHeight = std::min((kRowHeight + line) * StringGridCh->RowCount() + line, MaxGridHeight);
    StringGridCh->SetHeight(gridHeight + frame);
    int formHeight = std::max(StringGridCh->Top() + StringGridCh->Height() + 100, MinFormHeight);
    SetHeight(formHeight);
    SpeedButtonOk->SetTop(formHeight - 80);
    SpeedButtonCancel->SetTop(formHeight - 80);

    for (int i = 0; i < count; ++i) {
        StringGridCh->SetCells(0, i + 1, Formatted("%5d", i + 1));
        StringGridCh->SetCells(2, i + 1, ConfigCopy.channelTable[i].name);
    }
    StringGridCh->Invalidate();
}

// ---------------------------------------------------------------------------------------
// Channel grid and RGB groups

void TFormChSetup::UpdateRgbCheck(int row)
{
    CheckBoxRGB->Tag = 1;
    int end = RgbGroupEndRow(row);
    if (row >= 1 && end < StringGridCh->RowCount()) {
        CheckBoxRGB->SetChecked(ConfigCopy.channelTable[row - 1].rgbGroup != 0);
        CheckBoxRGB->SetEnabled(true);
    } else {
        CheckBoxRGB->SetChecked(false);
        CheckBoxRGB->SetEnabled(false);
        if (row >= 1)
            DissolveRgbGroup(ConfigCopy, end);
    }
    CheckBoxRGB->Tag = 0;
}

void TFormChSetup::CheckBoxRGBClick(TObject*)
{
    if (CheckBoxRGB->Tag)
        return;
    SetRgbGroup(ConfigCopy, RgbGroupEndRow(StringGridCh->Row()), CheckBoxRGB->Checked());
    StringGridCh->Invalidate();
}

void TFormChSetup::StringGridChDrawCell(TObject*, int ACol, int ARow, TRect Rect, TGridDrawState)
{
    if (ARow < 1 || ARow > kMaxChannels)
        return;
    const ChannelRecord& channel = ConfigCopy.channelTable[ARow - 1];
    TCanvas& canvas = *StringGridCh->Canvas();
    if (ACol == 0 && channel.rgbGroup) {
        static const char* const kParts[3] = {" R", " G", " B"};
        std::string text = Formatted("%3d", ARow) + kParts[(ARow - 1) % 3];
        int x = Rect.Left + (Rect.Width() - canvas.TextWidth(text)) / 2;
        canvas.TextRect(Rect, x, Rect.Top + 1, text);
    } else if (ACol == 1) {
        canvas.Brush.Color = channel.color;
        canvas.TextRect(Rect, Rect.Left, Rect.Top, "");
    }
}

void TFormChSetup::StringGridChMouseDown(TObject*, TMouseButton, TShiftState, int X, int Y)
{
    int col = -1, row = -1;
    StringGridCh->MouseToCell(X, Y, col, row);
    if (col != 1 || row < 0 || row >= StringGridCh->RowCount())
        return;
    if (row >= 1 && ConfigCopy.channelTable[row - 1].rgbGroup)
        return;
    if (!ColorDialog1->Execute())
        return;
    MarkModified();
    SetChannelColour(ConfigCopy, row, ColorDialog1->Color);
    StringGridCh->Invalidate();
}

void TFormChSetup::StringGridChSelectCell(TObject*, int, int ARow, bool&) { UpdateRgbCheck(ARow); }

void TFormChSetup::StringGridChSetEditText(TObject*, int, int, const std::string&) { MarkModified(); }

void TFormChSetup::StringGridChExit(TObject*)
{
    for (int i = 0; i < ConfigCopy.channels; ++i)
        CopyText(ConfigCopy.channelTable[i].name, StringGridCh->Cells(2, i + 1), kConfigNameChars);
}

std::vector<std::string> TFormChSetup::GridNames() const
{
    std::vector<std::string> names;
    for (int i = 0; i < ConfigCopy.channels; ++i)
        names.push_back(StringGridCh->Cells(2, i + 1));
    return names;
}

// ---------------------------------------------------------------------------------------
// Model and channel count

void TFormChSetup::ComboBoxTypeChange(TObject*)
{
    int index = ComboBoxType->ItemIndex();
    if (index < 0)
        return;
    const ControllerModel& row = ControllerModelTable[index];
    bool changed = false;
    if (std::strcmp(ConfigCopy.modelName, row.name) != 0) {
        changed = true;
        TakeModelIdentity(ConfigCopy, static_cast<unsigned>(index));
    }
    ConfigCopy.paramRow = row.paramRow;
    if (static_cast<int>(row.channels) != ConfigCopy.channels) {
        changed = true;
        SetChannelCount(static_cast<int>(row.channels));
    }
    if (std::strcmp(ConfigCopy.firmwareFile, row.firmwareFile) != 0) {
        changed = true;
        CopyText(ConfigCopy.firmwareFile, row.firmwareFile, kConfigPathChars);
    }
    if (ComboBoxType->Tag == 0 && changed)
        MarkModified();
    RefreshDialog();
}

void TFormChSetup::EditChCountExit(TObject*)
{
    SetChannelCount(StrToIntDef(EditChCount->Text(), ConfigCopy.channels));
}

void TFormChSetup::EditChCountKeyPress(TObject*, char& Key)
{
    if (Key == 13)
        EditChCountExit(EditChCount);
}

void TFormChSetup::EditRomFileKeyPress(TObject*, char& Key)
{
    if (Key == 13)
        EditRomFileExit(EditRomFile);
}

void TFormChSetup::UpDownChCountChangingEx(TObject*, bool& AllowChange, short NewValue, TUpDownDirection)
{
    if (UpDownChCount->Tag) {
        AllowChange = false;
        return;
    }
    SetChannelCount(NewValue);
}

void TFormChSetup::EditRomFileExit(TObject*)
{
    if (EditRomFile->Text() == ConfigCopy.firmwareFile)
        return;
    CopyText(ConfigCopy.firmwareFile, EditRomFile->Text(), kConfigPathChars);
    MarkModified();
    RefreshDialog();
}

// ---------------------------------------------------------------------------------------
// Showing and closing

void TFormChSetup::FormShow(TObject*)
{
    if (!ShownOnce) {
        ShownOnce = true;
        Modified = false;
    }
    RefreshDialog();
}

void TFormChSetup::FormCloseQuery(TObject*, bool& CanClose) { CanClose = AskSaveCtr(); }

void TFormChSetup::SpeedButtonOkClick(TObject*)
{
    StringGridChExit(StringGridCh);
    EditChCountExit(EditChCount);
    EditRomFileExit(EditRomFile);
    ModalResult = mrOk;
}

void TFormChSetup::SpeedButtonCancelClick(TObject*) { ModalResult = mrCancel; }
