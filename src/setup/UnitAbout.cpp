#include "setup/UnitAbout.h"

#include <windows.h>
#include <shellapi.h>

#include <functional>

#include "BuildInfo.h"
#include "ui/Application.h"
#include "ui/FormBuilder.h"
#include "ui/Text.h"

TFormAbout* FormAbout = nullptr;

namespace {

void ShellOpen(const std::string& target, int showMode)
{
    ShellExecuteW(DialogOwnerWindow(), L"open", ToWide(target).c_str(), nullptr, nullptr, showMode);
}

TLabel* AboutLabel(TFormAbout* form, const char* name, int top, const std::string& caption, int fontHeight = -11)
{
    auto* label = Place<TLabel>(form, form, name, 16, top, 300, 16);
    TFont font = label->Font();
    font.Height = fontHeight;
    label->SetFont(font);
    label->SetCaption(caption);
    return label;
}

} // namespace

TFormAbout::TFormAbout(TComponent* owner) : TForm(owner), Version{}, OpenLink(ShellOpen)
{
    BuildForm();
    MessageLink.clear();
    ReadVersionInfo(Application->ExeName(), Version);
    ShowVersion(Version);
    ImageLogo->Hint = PELVOR_WEB_PAGE;
}

TFormAbout::~TFormAbout()
{
    if (FormAbout == this)
        FormAbout = nullptr;
}

void TFormAbout::BuildForm()
{
    BeginLoading(*this);
    Name = "FormAbout";
    SetCaption("   О программе");
    BorderStyle = bsToolWindow;
    Position = poMainFormCenter;
    SetClientSize(340, 252);

    ImageLogo = Place<TImage>(this, this, "ImageLogo", 0, 0, 340, 80);
    ImageLogo->Cursor = crHandPoint;
    ImageLogo->ShowHint = true;
    DrawLogo();
    Label4 = AboutLabel(this, "Label4", 92, "Разработка сценариев и программирование");
    Label5 = AboutLabel(this, "Label5", 110, "контроллеров световых эффектов Qarto и Brevan");
    LabelVersion = AboutLabel(this, "LabelVersion", 136, "Версия: 0.0.0");
    Bevel1 = Place<TBevel>(this, this, "Bevel1", 16, 154, 308, 4);
    Bevel1->SetShape(bsBottomLine);
    LabelOwner = AboutLabel(this, "LabelOwner", 168, PELVOR_OWNER_NAME, -16);
    LabelOwner->Cursor = crHandPoint;
    LabelAuthor = AboutLabel(this, "LabelAuthor", 194, "", -13);
    LabelAuthor->Cursor = crHandPoint;
    SpeedButtonClose = Place<TSpeedButton>(this, this, "SpeedButtonClose", 248, 218, 80, 26);
    SpeedButtonClose->SetCaption("Закрыть");

    using std::placeholders::_1;
    SpeedButtonClose->OnClick = std::bind(&TFormAbout::SpeedButtonCloseClick, this, _1);
    ImageLogo->OnClick = std::bind(&TFormAbout::ImageLogoClick, this, _1);
    LabelOwner->OnClick = ImageLogo->OnClick;
    LabelAuthor->OnClick = std::bind(&TFormAbout::LabelAuthorClick, this, _1);
    for (TLabel* link : {LabelAuthor, LabelOwner}) {
        link->OnMouseMove = [this](TObject* sender, TShiftState shift, int x, int y) {
            LabelAuthorMouseMove(sender, shift, x, y);
        };
        link->OnMouseLeave = std::bind(&TFormAbout::LabelAuthorMouseLeave, this, _1);
    }
    FinishLoading(*this);
}

// Our own logo: a strip of coloured lamps under the program's name.
void TFormAbout::DrawLogo()
{
    TCanvas& c = *ImageLogo->Canvas();
    const int w = ImageLogo->Width(), h = ImageLogo->Height();
    for (int y = 0; y < h; ++y) {
        int shade = 0x30 + y * 0x50 / h;
        c.Pen.Color = static_cast<TColor>(shade << 16 | (shade / 2) << 8 | 0x10);
        c.MoveTo(0, y);
        c.LineTo(w, y);
    }
    const TColor lamps[] = {clRed, 0x0080FF, clYellow, clLime, clAqua, clBlue, clFuchsia};
    for (int i = 0; i < 14; ++i) {
        c.Pen.Color = clBlack;
        c.Brush.Color = lamps[i % 7];
        int x = 14 + i * 23;
        c.Ellipse(x, h - 22, x + 14, h - 8);
    }
    c.Brush.Style = TBrushStyle::bsClear;
    c.Font.Name = "Tahoma";
    c.Font.Height = -30;
    c.Font.Style = fsBold;
    c.Font.Color = clWhite;
    c.TextOut(14, 8, "Pelvor");
    c.Brush.Style = TBrushStyle::bsSolid;
    ImageLogo->PictureChanged();
}

void TFormAbout::ShowVersion(const VersionRecord& version)
{
    std::string shortVersion = ShortVersion(version.fileVersion);
    LabelVersion->SetCaption("Версия: " + shortVersion);
    LabelAuthor->SetCaption(version.legalCopyright);
    MessageLink = AboutMessageLink(PELVOR_MAIL_ADDRESS, shortVersion);
}

void TFormAbout::SpeedButtonCloseClick(TObject*) { Close(); }

void TFormAbout::ImageLogoClick(TObject*) { OpenLink(PELVOR_WEB_PAGE, SW_SHOWNORMAL); }

void TFormAbout::LabelAuthorClick(TObject*) { OpenLink(MessageLink, SW_SHOW); }

void TFormAbout::LabelAuthorMouseMove(TObject* Sender, TShiftState, int, int)
{
    auto* label = static_cast<TLabel*>(Sender);
    TFont font = label->Font();
    font.Color = clBlue;
    label->SetFont(font);
}

void TFormAbout::LabelAuthorMouseLeave(TObject* Sender)
{
    auto* label = static_cast<TLabel*>(Sender);
    TFont font = label->Font();
    font.Color = clWindowText;
    label->SetFont(font);
}
