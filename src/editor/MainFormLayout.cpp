// The main window's form description: every component with its name, caption or hint,
// geometry, tags and event bindings.
#include <windows.h>

#include "editor/MainGlyphs.h"
#include "editor/UnitMain.h"
#include "setup/StandardColours.h"
#include "themes/VisualStyleMgr.h"
#include "ui/FormBuilder.h"

namespace {

TSpeedButton* Button(TFormMain* form, TWinControl* parent, const char* name, int left, int top,
                     const char* hint)
{
    auto* b = Place<TSpeedButton>(form, parent, name, left, top, 28, 28);
    b->Hint = hint;
    return b;
}

TLabel* StaticText(TFormMain* form, TWinControl* parent, const char* name, int left, int top, const char* text)
{
    auto* l = Place<TLabel>(form, parent, name, left, top, 80, 13);
    l->SetCaption(text);
    return l;
}

TMenuItem* Item(TFormMain* form, TPopupMenu* menu, const char* name, const char* caption, TShortCut shortCut)
{
    auto* item = new TMenuItem(form);
    item->Name = name;
    item->Caption = caption;
    item->ShortCut = shortCut;
    menu->Add(item);
    return item;
}

TEdit* NumberEdit(TFormMain* form, TWinControl* parent, const char* name, int left, int top, int width,
                  int maxLength)
{
    auto* e = Place<TEdit>(form, parent, name, left, top, width, 21);
    e->SetMaxLength(maxLength);
    e->NumbersOnly = true;
    e->SetColor(clBtnFace);
    return e;
}

} // namespace

void TFormMain::BuildForm()
{
    BeginLoading(*this);
    Name = "FormMain";
    KeyPreview = true;
    Position = poScreenCenter;
    SetBounds(0, 0, kDesignWidth, kDesignHeight);

    // Tool bar with the four boxes of editing controls under its buttons.
    Panel1 = Place<TPanel>(this, this, "Panel1", 0, 0, 1024, 172);
    Panel1->SetAlign(alTop);
    Panel1->SetBevelOuter(bvNone);
    const char* tools[][2] = {
        {"SpeedButtonNew", "Новый"},           {"SpeedButtonOpen", "Открыть"},
        {"SpeedButtonSave", "Сохранить"},      {"SpeedButtonSaveAs", "Сохранить как..."},
        {"SpeedButtonUndo", "Отменить"},       {"SpeedButtonRedo", "Вернуть"},
        {"SpeedButtonLaunch", "Просмотр"},     {"SpeedButtonShow", "Шоу"},
        {"SpeedButtonBurn", "Программирование контроллера"},
        {"SpeedButtonSetup", "Настройки"},     {"SpeedButtonAbout", "О программе"},
        {"SpeedButtonZoomMinus", "Мельче"},    {"SpeedButtonZoomPlus", "Крупнее"},
    };
    TSpeedButton** toolButtons[] = {&SpeedButtonNew,   &SpeedButtonOpen,      &SpeedButtonSave,
                                    &SpeedButtonSaveAs, &SpeedButtonUndo,     &SpeedButtonRedo,
                                    &SpeedButtonLaunch, &SpeedButtonShow,     &SpeedButtonBurn,
                                    &SpeedButtonSetup,  &SpeedButtonAbout,    &SpeedButtonZoomMinus,
                                    &SpeedButtonZoomPlus};
    // Gaps between the groups of the tool bar: files, history, preview, controller, zoom.
    const int gapsAfter[] = {3, 5, 7, 10};
    int x = 4;
    for (int i = 0; i < 13; ++i) {
        *toolButtons[i] = Button(this, Panel1, tools[i][0], x, 6, tools[i][1]);
        x += 30;
        for (int g : gapsAfter)
            if (i == g)
                x += 10;
    }
    // The zoom buttons sit under their label.
    StaticText(this, Panel1, "LabelZoom", SpeedButtonZoomMinus->Left(), 0, "Масштаб");
    for (TSpeedButton* zoom : {SpeedButtonZoomMinus, SpeedButtonZoomPlus})
        zoom->SetBounds(zoom->Left(), 12, zoom->Width(), zoom->Height());
    SpeedButtonUndo->SetEnabled(false);
    SpeedButtonRedo->SetEnabled(false);
    SpeedButtonLaunch->SetGroupIndex(33);
    SpeedButtonLaunch->SetAllowAllUp(true);
    SpeedButtonShow->SetGroupIndex(35);
    SpeedButtonShow->SetAllowAllUp(true);
    LabelComNumber = StaticText(this, Panel1, "LabelComNumber", x + 16, 2, "Подключение");
    ComboBoxComNumber = Place<TComboBox>(this, Panel1, "ComboBoxComNumber", x + 16, 16, 100, 21);
    ComboBoxComNumber->SetDropDownCount(16);

    // Effects.
    GroupBox1 = Place<TGroupBox>(this, Panel1, "GroupBox1", 4, 40, 232, 128);
    GroupBox1->SetCaption(" Эффекты ");
    SpeedButtonStepOff = Button(this, GroupBox1, "SpeedButtonStepOff", 8, 20, "Выключен");
    SpeedButtonStepLevel = Button(this, GroupBox1, "SpeedButtonStepLevel", 38, 20, "Включен");
    SpeedButtonStepUp = Button(this, GroupBox1, "SpeedButtonStepUp", 68, 20, "Плавное включение");
    SpeedButtonStepDown = Button(this, GroupBox1, "SpeedButtonStepDown", 98, 20, "Плавное выключение");
    SpeedButtonStepStrob = Button(this, GroupBox1, "SpeedButtonStepStrob", 128, 20, "Стробоскоп");
    for (TSpeedButton* b : {SpeedButtonStepOff, SpeedButtonStepLevel, SpeedButtonStepUp, SpeedButtonStepDown,
                            SpeedButtonStepStrob})
        b->SetGroupIndex(1);
    SpeedButtonStepOff->SetDown(true);
    SpeedButtonGradient = Button(this, GroupBox1, "SpeedButtonGradient", 168, 20, "Сформировать градиент яркости");
    SpeedButtonColorRGB = Button(this, GroupBox1, "SpeedButtonColorRGB", 198, 20, "Цвет");
    SpeedButtonColorRGB->SetVisible(false);
    LabelStepLevel = StaticText(this, GroupBox1, "LabelStepLevel", 10, 56, "Яркость");
    TrackBarStepLevel = Place<TTrackBar>(this, GroupBox1, "TrackBarStepLevel", 4, 72, 170, 28);
    TrackBarStepLevel->Hint = "Яркость";
    TrackBarStepLevel->SetRange(1, 128);
    TrackBarStepLevel->SetFrequency(13);
    EditStepLevel = NumberEdit(this, GroupBox1, "EditStepLevel", 178, 74, 44, 5);

    // Steps.
    GroupBox3 = Place<TGroupBox>(this, Panel1, "GroupBox3", 240, 40, 440, 128);
    GroupBox3->SetCaption(" Шаги ");
    LabelScenTime = StaticText(this, GroupBox3, "LabelScenTime", 10, 18, "Общее время");
    EditScenTime = Place<TEdit>(this, GroupBox3, "EditScenTime", 8, 32, 70, 21);
    EditScenTime->Hint = "Общее время";
    EditScenTime->SetReadOnly(true);
    EditScenTime->SetColor(clBtnFace);
    LabelStepNum = StaticText(this, GroupBox3, "LabelStepNum", 98, 18, "Число шагов");
    EditStepNum = NumberEdit(this, GroupBox3, "EditStepNum", 96, 32, 46, 4);
    EditStepNum->Hint = "Число шагов";
    UpDownStepNum = Place<TUpDown>(this, GroupBox3, "UpDownStepNum", 142, 32, 16, 21);
    UpDownStepNum->SetMin(1);
    UpDownStepNum->SetMax(kMaxStepCount);
    UpDownStepNum->SetAssociate(EditStepNum);
    UpDownStepNum->SetPosition(100);
    LabelStepTime = StaticText(this, GroupBox3, "LabelStepTime", 188, 18, "Время шага");
    TrackBarStepTime = Place<TTrackBar>(this, GroupBox3, "TrackBarStepTime", 180, 30, 130, 28);
    TrackBarStepTime->Hint = "Время шага";
    TrackBarStepTime->SetRange(1, 100);
    TrackBarStepTime->SetFrequency(10);
    ButtonStepTimeDec = Place<TSpeedButton>(this, GroupBox3, "ButtonStepTimeDec", 310, 32, 21, 21);
    ButtonStepTimeDec->SetCaption("-");
    ButtonStepTimeDec->Tag = -1;
    EditStepTime = NumberEdit(this, GroupBox3, "EditStepTime", 332, 32, 56, 7);
    EditStepTime->Hint = "Время шага";
    ButtonStepTimeInc = Place<TSpeedButton>(this, GroupBox3, "ButtonStepTimeInc", 389, 32, 21, 21);
    ButtonStepTimeInc->SetCaption("+");
    ButtonStepTimeInc->Tag = 1;
    SpeedButtonInsertStep = Button(this, GroupBox3, "SpeedButtonInsertStep", 8, 64, "Вставить новый шаг");
    SpeedButtonDelStep = Button(this, GroupBox3, "SpeedButtonDelStep", 38, 64, "Удалить текущий шаг");
    SpeedButtonCopyFromFile = Button(this, GroupBox3, "SpeedButtonCopyFromFile", 68, 64, "Копировать из файла");
    LabelSpeed = StaticText(this, GroupBox3, "LabelSpeed", 172, 62, "Скорость");
    TrackBarSpeed = Place<TTrackBar>(this, GroupBox3, "TrackBarSpeed", 166, 74, 190, 28);
    TrackBarSpeed->Hint = "Скорость";
    TrackBarSpeed->SetFrequency(10);
    EditSpeed = NumberEdit(this, GroupBox3, "EditSpeed", 360, 76, 50, 7);
    EditSpeed->Hint = "Скорость";
    CheckBoxTimesLock = Place<TCheckBox>(this, GroupBox3, "CheckBoxTimesLock", 8, 104, 216, 17);
    CheckBoxTimesLock->SetCaption("Запретить изменение времени");
    CheckBoxTimeInSec = Place<TCheckBox>(this, GroupBox3, "CheckBoxTimeInSec", 240, 104, 120, 17);
    CheckBoxTimeInSec->SetCaption("Время в мс.");

    // Loops.
    GroupBoxSubs = Place<TGroupBox>(this, Panel1, "GroupBoxSubs", 684, 40, 190, 128);
    GroupBoxSubs->SetCaption(" Циклы ");
    SpeedButtonSubAdd = Button(this, GroupBoxSubs, "SpeedButtonSubAdd", 8, 20, "Добавить цикл");
    SpeedButtonSubDel = Button(this, GroupBoxSubs, "SpeedButtonSubDel", 38, 20, "Удалить цикл");
    PanelLoops = Place<TPanel>(this, GroupBoxSubs, "PanelLoops", 76, 22, 44, 24);
    PanelLoops->Hint = "Количество циклов";
    PanelLoops->SetBevelOuter(bvLowered);
    PanelLoops->SetCaption("0 ");
    RadioButtonLoopEndless = Place<TRadioButton>(this, GroupBoxSubs, "RadioButtonLoopEndless", 8, 56, 170, 17);
    RadioButtonLoopEndless->SetCaption("Бесконечный цикл");
    RadioButtonLoopRepeat = Place<TRadioButton>(this, GroupBoxSubs, "RadioButtonLoopRepeat", 8, 82, 80, 17);
    RadioButtonLoopRepeat->SetCaption("Повторов");
    RadioButtonLoopRepeat->SetChecked(true);
    EditSubCnt = NumberEdit(this, GroupBoxSubs, "EditSubCnt", 92, 80, 56, 5);
    UpDownSubCnt = Place<TUpDown>(this, GroupBoxSubs, "UpDownSubCnt", 148, 80, 16, 21);
    UpDownSubCnt->SetMin(2);
    UpDownSubCnt->SetMax(32767);
    UpDownSubCnt->SetAssociate(EditSubCnt);
    UpDownSubCnt->SetPosition(2);

    // Labels.
    GroupBoxLabels = Place<TGroupBox>(this, Panel1, "GroupBoxLabels", 878, 40, 130, 128);
    GroupBoxLabels->SetCaption(" Метки ");
    SpeedButtonLabelAdd = Button(this, GroupBoxLabels, "SpeedButtonLabelAdd", 8, 20, "Добавить метку");
    SpeedButtonLabelDel = Button(this, GroupBoxLabels, "SpeedButtonLabelDel", 38, 20, "Удалить метку");
    PanelLabels = Place<TPanel>(this, GroupBoxLabels, "PanelLabels", 76, 22, 44, 24);
    PanelLabels->Hint = "Количество меток";
    PanelLabels->SetBevelOuter(bvLowered);
    PanelLabels->SetCaption("0 ");

    // Lamp column and the step grid.
    PanelShapes = Place<TPanel>(this, this, "PanelShapes", 984, 172, 40, 500);
    PanelShapes->SetAlign(alRight);
    PanelShapes->SetBevelOuter(bvNone);
    ImageShapes = Place<TPaintBox>(this, PanelShapes, "ImageShapes", 0, 0, 40, 500);
    ImageShapes->SetAlign(alClient);
    Grid = Place<TDrawGrid>(this, this, "Grid", 0, 172, 984, 500);
    Grid->SetAlign(alClient);
    Grid->SetOptions(goFixedVertLine | goFixedHorzLine | goVertLine | goHorzLine | goThumbTracking);
    Grid->TabStop = true;
    Grid->DefaultDrawing = false;
    TFont gridFont;
    gridFont.Name = "MS Sans Serif";
    gridFont.Height = -11;
    Grid->SetFont(gridFont);
    SetActiveControl(Grid);  // the window opens with the keys in the step grid

    PopupMenu = new TPopupMenu(this);
    PopupMenu->Name = "PopupMenu";
    N_AddStep = Item(this, PopupMenu, "N_AddStep", "Вставить новый шаг", ShortCut(VK_INSERT, ssCtrl));
    N_DelStep = Item(this, PopupMenu, "N_DelStep", "Удалить текущий шаг", ShortCut(VK_DELETE, ssCtrl));
    Item(this, PopupMenu, "N_Separator", "-", 0);
    N_InsertFromFile = Item(this, PopupMenu, "N_InsertFromFile", "Копировать из файла", ShortCut('L', ssCtrl));
    N_Cut = Item(this, PopupMenu, "N_Cut", "Вырезать", ShortCut('X', ssCtrl));
    N_Copy = Item(this, PopupMenu, "N_Copy", "Копировать", ShortCut('C', ssCtrl));
    N_Paste = Item(this, PopupMenu, "N_Paste", "Вставить", ShortCut('V', ssCtrl));
    N_Paste->Enabled = false;  // nothing to paste before the first copy
    Grid->PopupMenu = PopupMenu;

    OpenDialog = new TOpenDialog(this);
    OpenDialog->Name = "OpenDialog";
    SaveDialog = new TSaveDialog(this);
    SaveDialog->Name = "SaveDialog";
    ColorDialog1 = new TColorDialog(this);
    ColorDialog1->Name = "ColorDialog1";
    SetStandardCustomColours(*ColorDialog1);
    ImageList1 = new TImageList(this);
    ImageList1->Name = "ImageList1";
    PopupMenu->Images = ImageList1;
    TimerStepTimeRepeat = new TTimer(this);
    TimerStepTimeRepeat->Name = "TimerStepTimeRepeat";
    TimerStepTimeRepeat->SetEnabled(false);
    TimerSpeedChange = new TTimer(this);
    TimerSpeedChange->Name = "TimerSpeedChange";
    TimerSpeedChange->SetEnabled(false);
    VisualStyleManager1 = new TVisualStyleManager(this);
    VisualStyleManager1->Name = "VisualStyleManager1";

    LoadMainGlyphs(*this);
    BindEvents();
    FinishLoading(*this);
}

void TFormMain::BindEvents()
{
    using std::placeholders::_1;
    using std::placeholders::_2;
    using std::placeholders::_3;
    OnActivate = std::bind(&TFormMain::FormActivate, this, _1);
    OnCloseQuery = std::bind(&TFormMain::FormCloseQuery, this, _1, _2);
    OnClose = std::bind(&TFormMain::FormClose, this, _1, _2);
    OnDestroy = std::bind(&TFormMain::FormDestroy, this, _1);
    OnKeyDown = std::bind(&TFormMain::FormKeyDown, this, _1, _2, _3);
    SpeedButtonNew->OnClick = std::bind(&TFormMain::SpeedButtonNewClick, this, _1);
    SpeedButtonSetup->OnClick = std::bind(&TFormMain::SpeedButtonSetupClick, this, _1);
    SpeedButtonAbout->OnClick = std::bind(&TFormMain::SpeedButtonAboutClick, this, _1);
    SpeedButtonBurn->OnClick = std::bind(&TFormMain::SpeedButtonBurnClick, this, _1);
    SpeedButtonGradient->OnClick = std::bind(&TFormMain::SpeedButtonGradientClick, this, _1);
    SpeedButtonColorRGB->OnClick = std::bind(&TFormMain::SpeedButtonColorRGBClick, this, _1);
    SpeedButtonUndo->OnClick = std::bind(&TFormMain::SpeedButtonUndoClick, this, _1);
    SpeedButtonRedo->OnClick = std::bind(&TFormMain::SpeedButtonRedoClick, this, _1);
    SpeedButtonLaunch->OnClick = std::bind(&TFormMain::SpeedButtonLaunchClick, this, _1);
    SpeedButtonShow->OnClick = std::bind(&TFormMain::SpeedButtonShowClick, this, _1);
    SpeedButtonSave->OnClick = std::bind(&TFormMain::SpeedButtonSaveClick, this, _1);
    SpeedButtonSaveAs->OnClick = std::bind(&TFormMain::SpeedButtonSaveAsClick, this, _1);
    SpeedButtonOpen->OnClick = std::bind(&TFormMain::SpeedButtonOpenClick, this, _1);
    SpeedButtonCopyFromFile->OnClick = std::bind(&TFormMain::SpeedButtonCopyFromFileClick, this, _1);
    N_InsertFromFile->OnClick = std::bind(&TFormMain::N_InsertFromFileClick, this, _1);
    ComboBoxComNumber->OnChange = std::bind(&TFormMain::ComboBoxComNumberChange, this, _1);
    TrackBarSpeed->OnChange = std::bind(&TFormMain::TrackBarSpeedChange, this, _1);
    TrackBarSpeed->OnExit = std::bind(&TFormMain::TrackBarStepTimeExit, this, _1);
    TimerSpeedChange->OnTimer = std::bind(&TFormMain::TimerSpeedChangeTimer, this, _1);
    EditSpeed->OnEnter = std::bind(&TFormMain::EditStepTimeEnter, this, _1);
    EditSpeed->OnKeyPress = std::bind(&TFormMain::EditSpeedKeyPress, this, _1, _2);
    EditSpeed->OnExit = std::bind(&TFormMain::EditSpeedExit, this, _1);

    // Step count and step time.
    EditStepNum->OnExit = std::bind(&TFormMain::EditStepNumExit, this, _1);
    EditStepNum->OnKeyPress = std::bind(&TFormMain::EditStepNumKeyPress, this, _1, _2);
    UpDownStepNum->OnChangingEx = [this](TObject* sender, bool& allow, short value, TUpDownDirection direction) {
        UpDownStepNumChangingEx(sender, allow, value, direction);
    };
    TrackBarStepTime->OnChange = std::bind(&TFormMain::TrackBarStepTimeChange, this, _1);
    TrackBarStepTime->OnExit = std::bind(&TFormMain::TrackBarStepTimeExit, this, _1);
    EditStepTime->OnEnter = std::bind(&TFormMain::EditStepTimeEnter, this, _1);
    EditStepTime->OnKeyPress = std::bind(&TFormMain::EditStepTimeKeyPress, this, _1, _2);
    EditStepTime->OnExit = std::bind(&TFormMain::EditStepTimeExit, this, _1);
    for (TSpeedButton* b : {ButtonStepTimeDec, ButtonStepTimeInc}) {
        b->OnMouseDown = [this](TObject* sender, TMouseButton button, TShiftState shift, int x, int y) {
            ButtonStepTimeDecMouseDown(sender, button, shift, x, y);
        };
        b->OnMouseUp = [this](TObject* sender, TMouseButton button, TShiftState shift, int x, int y) {
            ButtonStepTimeDecMouseUp(sender, button, shift, x, y);
        };
    }
    TimerStepTimeRepeat->OnTimer = std::bind(&TFormMain::TimerStepTimeRepeatTimer, this, _1);
    CheckBoxTimesLock->OnClick = std::bind(&TFormMain::CheckBoxTimesLockClick, this, _1);
    CheckBoxTimeInSec->OnClick = std::bind(&TFormMain::CheckBoxTimeInSecClick, this, _1);

    // Effects and level.
    for (TSpeedButton* b : {SpeedButtonStepOff, SpeedButtonStepLevel, SpeedButtonStepUp, SpeedButtonStepDown,
                            SpeedButtonStepStrob})
        b->OnClick = std::bind(&TFormMain::SpeedButtonStepLevelClick, this, _1);
    TrackBarStepLevel->OnChange = std::bind(&TFormMain::TrackBarStepLevelChange, this, _1);
    TrackBarStepLevel->OnEnter = std::bind(&TFormMain::TrackBarStepLevelEnter, this, _1);
    TrackBarStepLevel->OnExit = std::bind(&TFormMain::TrackBarStepLevelExit, this, _1);
    EditStepLevel->OnEnter = std::bind(&TFormMain::EditStepLevelEnter, this, _1);
    EditStepLevel->OnExit = std::bind(&TFormMain::EditStepLevelExit, this, _1);
    EditStepLevel->OnKeyPress = std::bind(&TFormMain::EditStepLevelKeyPress, this, _1, _2);

    // The grid and its zoom.
    Grid->OnDrawCell = [this](TObject* sender, int col, int row, TRect rect, TGridDrawState state) {
        GridDrawCell(sender, col, row, rect, state);
    };
    Grid->OnTopLeftChanged = std::bind(&TFormMain::GridTopLeftChanged, this, _1);
    Grid->OnMouseDown = [this](TObject* sender, TMouseButton button, TShiftState shift, int x, int y) {
        GridMouseDown(sender, button, shift, x, y);
    };
    Grid->OnMouseMove = [this](TObject* sender, TShiftState shift, int x, int y) { GridMouseMove(sender, shift, x, y); };
    Grid->OnMouseUp = [this](TObject* sender, TMouseButton button, TShiftState shift, int x, int y) {
        GridMouseUp(sender, button, shift, x, y);
    };
    Grid->OnKeyPress = std::bind(&TFormMain::GridKeyPress, this, _1, _2);
    Grid->OnKeyUp = std::bind(&TFormMain::GridKeyUp, this, _1, _2, _3);
    Grid->OnMouseWheelDown = [this](TObject* sender, TShiftState shift, TPoint at, bool& handled) {
        GridMouseWheelDown(sender, shift, at, handled);
    };
    Grid->OnMouseWheelUp = [this](TObject* sender, TShiftState shift, TPoint at, bool& handled) {
        GridMouseWheelUp(sender, shift, at, handled);
    };
    SpeedButtonZoomMinus->OnClick = std::bind(&TFormMain::SpeedButtonZoomMinusClick, this, _1);
    SpeedButtonZoomPlus->OnClick = std::bind(&TFormMain::SpeedButtonZoomPlusClick, this, _1);
    BindEditEvents();
}
