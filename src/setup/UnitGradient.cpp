#include "setup/UnitGradient.h"

#include <algorithm>
#include <functional>

#include "ui/FormBuilder.h"
#include "ui/SysUtils.h"

TFormGradient* FormGradient = nullptr;

namespace {

TTrackBar* LevelBar(TFormGradient* form, const char* name, int top, int position)
{
    auto* bar = Place<TTrackBar>(form, form, name, 4, top, 220, 28);
    bar->Hint = "Яркость";
    bar->SetRange(0, 128);
    bar->SetFrequency(13);
    bar->SetPosition(position);
    return bar;
}

TEdit* LevelEdit(TFormGradient* form, const char* name, int top)
{
    auto* edit = Place<TEdit>(form, form, name, 232, top, 56, 21);
    edit->SetMaxLength(5);
    edit->NumbersOnly = true;
    edit->SetColor(clBtnFace);
    return edit;
}

TLabel* ValueLabel(TFormGradient* form, const char* name, int top, const char* text)
{
    auto* label = Place<TLabel>(form, form, name, 10, top, 200, 13);
    label->SetCaption(text);
    return label;
}

} // namespace

TFormGradient::TFormGradient(TComponent* owner) : TForm(owner) { BuildForm(); }

TFormGradient::~TFormGradient()
{
    if (FormGradient == this)
        FormGradient = nullptr;
}

void TFormGradient::BuildForm()
{
    BeginLoading(*this);
    Name = "FormGradient";
    SetCaption("  Параметры градиента");
    BorderStyle = bsToolWindow;
    SetClientSize(298, 132);
    Label1 = ValueLabel(this, "Label1", 8, "Начальное значение");
    Label2 = ValueLabel(this, "Label2", 56, "Конечное значение");
    // Created in tab order: the two values to type, then their sliders.
    EditMin = LevelEdit(this, "EditMin", 26);
    EditMax = LevelEdit(this, "EditMax", 74);
    TrackBarBeginValue = LevelBar(this, "TrackBarBeginValue", 24, 0);
    TrackBarEndValue = LevelBar(this, "TrackBarEndValue", 72, 128);
    SpeedButtonOk = Place<TSpeedButton>(this, this, "SpeedButtonOk", 104, 102, 90, 24);
    SpeedButtonOk->SetCaption("Принять");
    SpeedButtonCancel = Place<TSpeedButton>(this, this, "SpeedButtonCancel", 200, 102, 90, 24);
    SpeedButtonCancel->SetCaption("Отменить");

    using std::placeholders::_1;
    using std::placeholders::_2;
    OnShow = std::bind(&TFormGradient::FormShow, this, _1);
    SpeedButtonOk->OnClick = std::bind(&TFormGradient::SpeedButtonOkClick, this, _1);
    SpeedButtonCancel->OnClick = std::bind(&TFormGradient::SpeedButtonCancelClick, this, _1);
    EditMin->OnExit = std::bind(&TFormGradient::EditMinExit, this, _1);
    EditMax->OnExit = std::bind(&TFormGradient::EditMaxExit, this, _1);
    EditMin->OnKeyPress = std::bind(&TFormGradient::EditMinKeyPress, this, _1, _2);
    EditMax->OnKeyPress = std::bind(&TFormGradient::EditMaxKeyPress, this, _1, _2);
    EditMin->OnEnter = std::bind(&TFormGradient::EditMinEnter, this, _1);
    EditMax->OnEnter = EditMin->OnEnter;
    TrackBarBeginValue->OnChange = std::bind(&TFormGradient::TrackBarBeginValueChange, this, _1);
    TrackBarEndValue->OnChange = std::bind(&TFormGradient::TrackBarEndValueChange, this, _1);
    FinishLoading(*this);
}

void TFormGradient::FormShow(TObject*)
{
    BeginValue = 0;
    EndValue = Maximum;
    TrackBarBeginValue->Tag = 1;
    TrackBarEndValue->Tag = 1;
    TrackBarBeginValue->SetPosition(TrackBarBeginValue->Min());
    TrackBarEndValue->SetPosition(TrackBarEndValue->Max());
    TrackBarBeginValue->SetMax(Maximum);
    TrackBarEndValue->SetMax(Maximum);
    if (BeginPreset >= 0)
        BeginValue = std::min(BeginPreset, Maximum);
    if (EndPreset >= 0)
        EndValue = std::min(EndPreset, Maximum);
    EditMin->SetText(IntToStr(BeginValue));
    TrackBarBeginValue->SetPosition(BeginValue);
    EditMax->SetText(IntToStr(EndValue));
    TrackBarEndValue->SetPosition(EndValue);
    TrackBarBeginValue->Tag = 0;
    TrackBarEndValue->Tag = 0;
}

void TFormGradient::TakeValue(TEdit* edit, TTrackBar* bar, int& value)
{
    value = std::max(0, std::min(StrToIntDef(edit->Text(), value), Maximum));
    edit->SetText(IntToStr(value));
    edit->SetColor(clBtnFace);
    bar->SetPosition(value);
}

void TFormGradient::EditMinExit(TObject*) { TakeValue(EditMin, TrackBarBeginValue, BeginValue); }

void TFormGradient::EditMaxExit(TObject*) { TakeValue(EditMax, TrackBarEndValue, EndValue); }

void TFormGradient::KeyPress(TEdit* edit, void (TFormGradient::*exit)(TObject*), int value, char& key)
{
    if (key == 13) {
        (this->*exit)(edit);
    } else if (key == 27) {
        edit->SetText(IntToStr(value));
    } else if ((key >= '0' && key <= '9') || key == 8) {
        edit->SetColor(clWindow);
    } else {
        key = 0;
    }
}

void TFormGradient::EditMinKeyPress(TObject*, char& Key) { KeyPress(EditMin, &TFormGradient::EditMinExit, BeginValue, Key); }

void TFormGradient::EditMaxKeyPress(TObject*, char& Key) { KeyPress(EditMax, &TFormGradient::EditMaxExit, EndValue, Key); }

void TFormGradient::EditMinEnter(TObject* Sender) { static_cast<TEdit*>(Sender)->SetColor(clWindow); }

void TFormGradient::TrackBarBeginValueChange(TObject*)
{
    if (TrackBarBeginValue->Tag == 0)
        EditMin->SetText(IntToStr(TrackBarBeginValue->Position()));
}

void TFormGradient::TrackBarEndValueChange(TObject*)
{
    if (TrackBarEndValue->Tag == 0)
        EditMax->SetText(IntToStr(TrackBarEndValue->Position()));
}

void TFormGradient::SpeedButtonOkClick(TObject*)
{
    EditMinExit(EditMin);
    EditMaxExit(EditMax);
    ModalResult = mrOk;
}

void TFormGradient::SpeedButtonCancelClick(TObject*) { ModalResult = mrCancel; }
