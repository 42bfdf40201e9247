// The channel-range window's form description: components with their names, captions,
// geometry and event bindings, and the glyphs of its two buttons.
#include <windows.h>

#include "programming/UnitSetBurnChannels.h"
#include "ui/FormBuilder.h"
#include "ui/GlyphCanvas.h"

namespace {

TLabel* LabelAt(TFormSetBurnChannels* form, const char* name, int left, int top, const char* caption)
{
    auto* label = Place<TLabel>(form, form, name, left, top, 20, 13);
    label->SetCaption(caption);
    return label;
}

// An edit of up to three digits showing "1", with its up-down (Min 1, Position 1).
TUpDown* Number(TFormSetBurnChannels* form, TEdit*& edit, const char* editName, const char* upDownName, int left,
                int top)
{
    edit = Place<TEdit>(form, form, editName, left, top, 36, 21);
    edit->SetMaxLength(3);
    edit->NumbersOnly = true;
    edit->SetText("1");
    auto* upDown = Place<TUpDown>(form, form, upDownName, left + 36, top, 16, 21);
    upDown->SetMin(1);
    upDown->SetPosition(1);
    upDown->Wrap = false;
    upDown->SetAssociate(edit);
    return upDown;
}

} // namespace

void TFormSetBurnChannels::BuildForm()
{
    BeginLoading(*this);
    Name = "FormSetBurnChannels";
    SetCaption(" Программирование");
    BorderStyle = bsToolWindow;
    KeyPreview = true;
    SetClientSize(351, 121);

    Label4 = LabelAt(this, "Label4", 12, 16, "Контроллер №");
    UpDownCtrlNum = Number(this, EditCtrlNum, "EditCtrlNum", "UpDownCtrlNum", 104, 12);
    Label1 = LabelAt(this, "Label1", 12, 52, "Диапазон каналов для загрузки:");
    Label2 = LabelAt(this, "Label2", 12, 80, "с");
    UpDownFirstCh = Number(this, EditFirstCh, "EditFirstCh", "UpDownFirstCh", 28, 76);
    Label3 = LabelAt(this, "Label3", 96, 80, "по");
    UpDownEndCh = Number(this, EditEndCh, "EditEndCh", "UpDownEndCh", 118, 76);
    LabelNum = LabelAt(this, "LabelNum", 178, 80, "(1)");
    SpeedButtonBurn = Place<TSpeedButton>(this, this, "SpeedButtonBurn", 236, 20, 104, 30);
    SpeedButtonBurn->SetCaption("Загрузить");
    SpeedButtonExit = Place<TSpeedButton>(this, this, "SpeedButtonExit", 236, 70, 104, 30);
    SpeedButtonExit->SetCaption("   Выйти");

    PaintGlyphs();
    BindEvents();
    FinishLoading(*this);
}

void TFormSetBurnChannels::PaintGlyphs()
{
    // A chip with an arrow going into it.
    TCanvas& burn = BlankGlyph(SpeedButtonBurn->Glyph());
    burn.Brush.Color = 0x303030;
    burn.Rectangle(4, 8, 12, 15);
    burn.Pen.Color = 0x20A020;
    burn.Pen.Width = 2;
    burn.MoveTo(8, 1);
    burn.LineTo(8, 6);
    burn.Pen.Width = 1;
    burn.Brush.Color = 0x20A020;
    TPoint head[] = {{5, 4}, {11, 4}, {8, 7}};
    burn.Polygon(head, 3);

    // An open door with an arrow leaving it.
    TCanvas& exit = BlankGlyph(SpeedButtonExit->Glyph());
    exit.Brush.Color = 0x4080C0;
    exit.Rectangle(2, 1, 9, 15);
    exit.Pen.Color = 0x2020C0;
    exit.Pen.Width = 2;
    exit.MoveTo(7, 8);
    exit.LineTo(13, 8);
    exit.Pen.Width = 1;
    exit.Brush.Color = 0x2020C0;
    TPoint arrow[] = {{12, 5}, {15, 8}, {12, 11}};
    exit.Polygon(arrow, 3);
}

void TFormSetBurnChannels::BindEvents()
{
    using std::placeholders::_1;
    using std::placeholders::_2;
    OnShow = std::bind(&TFormSetBurnChannels::FormShow, this, _1);
    OnKeyPress = std::bind(&TFormSetBurnChannels::FormKeyPress, this, _1, _2);
    UpDownCtrlNum->OnClick = std::bind(&TFormSetBurnChannels::UpDownCtrlNumClick, this, _1, _2);
    EditCtrlNum->OnExit = std::bind(&TFormSetBurnChannels::EditCtrlNumExit, this, _1);
    EditCtrlNum->OnKeyPress = std::bind(&TFormSetBurnChannels::EditCtrlNumKeyPress, this, _1, _2);
    UpDownFirstCh->OnClick = std::bind(&TFormSetBurnChannels::UpDownFirstChClick, this, _1, _2);
    EditFirstCh->OnExit = std::bind(&TFormSetBurnChannels::EditFirstChExit, this, _1);
    EditFirstCh->OnKeyPress = std::bind(&TFormSetBurnChannels::EditFirstChKeyPress, this, _1, _2);
    UpDownEndCh->OnClick = std::bind(&TFormSetBurnChannels::UpDownEndChClick, this, _1, _2);
    EditEndCh->OnExit = std::bind(&TFormSetBurnChannels::EditEndChExit, this, _1);
    EditEndCh->OnKeyPress = std::bind(&TFormSetBurnChannels::EditEndChKeyPress, this, _1, _2);
    SpeedButtonBurn->OnClick = std::bind(&TFormSetBurnChannels::SpeedButtonBurnClick, this, _1);
    SpeedButtonExit->OnClick = std::bind(&TFormSetBurnChannels::SpeedButtonExitClick, this, _1);
}
