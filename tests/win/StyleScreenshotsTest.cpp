// Screenshots of the main window and of a dialog with the set-up dialog's kinds of
// controls, with the style of the run, and of the main window while its manager switches
// the controls' theming off and on again. Each picture is also checked: a speed button's
// left edge and a group box's frame are the theme's elements with a style, the classic
// edges without.
#include <gtest/gtest.h>

#include "StyleTestHelpers.h"
#include "editor/UnitMain.h"
#include "ui/Buttons.h"
#include "ui/ComCtrls.h"
#include "ui/ExtCtrls.h"
#include "ui/StdCtrls.h"
#include "ui/StringGrid.h"

namespace {

bool Styled() { return StyleActiveRun(); }

// What a speed button of size w x h should show along its left edge.
std::vector<uint32_t> ExpectedButton(int w, int h, bool themed)
{
    return DrawnPixels(
        w, h,
        [&](HDC dc) {
            RECT r{0, 0, w, h};
            if (themed)
                ThemeServices()->DrawElement(dc, GetElementDetails(tbPushButtonNormal), TRect::From(r));
            else
                DrawFrameControl(dc, &r, DFC_BUTTON, DFCS_BUTTONPUSH);
        },
        clBtnFace);
}

// A group box's left frame line at half its height, in its client coordinates.
uint32_t ExpectedFrameLeft(TGroupBox* box, bool themed)
{
    RECT client;
    GetClientRect(box->Handle(), &client);
    if (!themed)
        return RGBOf(GetSysColor(COLOR_BTNSHADOW));  // the etched edge's outer line
    SIZE caption{};
    std::wstring text = L" ";
    HDC screen = GetDC(nullptr);
    HGDIOBJ old = SelectObject(screen, FontHandle(box->Font()));
    GetTextExtentPoint32W(screen, text.c_str(), 1, &caption);
    SelectObject(screen, old);
    ReleaseDC(nullptr, screen);
    auto frame = DrawnPixels(
        client.right, client.bottom,
        [&](HDC dc) {
            ThemeServices()->DrawElement(dc, GetElementDetails(tbGroupBoxNormal),
                                         Rect(0, caption.cy / 2, client.right, client.bottom));
        },
        clBtnFace);
    return frame[static_cast<size_t>(client.bottom / 2 * client.right)] & 0xFFFFFF;
}

void ExpectLooks(WindowPicture& picture, TSpeedButton* button, TGroupBox* box, bool themed)
{
    HWND parent = button->Parent()->Handle();
    POINT origin{button->Left(), button->Top()};
    MapWindowPoints(parent, nullptr, &origin, 1);
    auto expected = ExpectedButton(button->Width(), button->Height(), themed);
    for (int y = 4; y < button->Height() - 4; ++y)
        EXPECT_EQ(picture.At(origin.x - picture.origin.left, origin.y - picture.origin.top + y),
                  expected[static_cast<size_t>(y * button->Width())] & 0xFFFFFF)
            << "left edge of " << button->Name << " at " << y;
    POINT client{0, 0};
    ClientToScreen(box->Handle(), &client);
    RECT r;
    GetClientRect(box->Handle(), &r);
    EXPECT_EQ(picture.At(client.x - picture.origin.left, client.y - picture.origin.top + r.bottom / 2),
              ExpectedFrameLeft(box, themed))
        << box->Name;
}

// A dialog with the kinds of controls the controller set-up dialog has.
struct SetupLikeDialog {
    explicit SetupLikeDialog(TComponent* owner) : form(new TForm(owner))
    {
        form->SetCaption("Настройка каналов");
        form->BorderStyle = bsDialog;
        form->SetBounds(120, 80, 460, 420);
        ok = Place<TSpeedButton>(form, 8, 8, 90, 26);
        ok->Name = "SpeedButtonOk";
        ok->SetCaption("Принять");
        auto* cancel = Place<TSpeedButton>(form, 104, 8, 90, 26);
        cancel->SetCaption("Отменить");
        for (int i = 0; i < 3; ++i)
            Place<TSpeedButton>(form, 210 + i * 30, 8, 26, 26);
        auto* file = Place<TPanel>(form, 8, 40, 436, 22);
        file->SetBevelOuter(bvLowered);
        file->SetAlignment(taLeftJustify);
        file->SetCaption("  Контроллер.ctr");
        box = Place<TGroupBox>(form, 8, 70, 436, 80);
        box->Name = "GroupBox1";
        box->SetCaption(" Тип контроллера ");
        auto* type = Place<TComboBox>(box, 8, 20, 200, 21);
        type->SetStyle(csDropDownList);
        type->Items().Add("Qarto18");
        type->SetItemIndex(0);
        auto* label = Place<TLabel>(box, 220, 24, 90, 13);
        label->SetCaption("Кол-во каналов");
        auto* count = Place<TEdit>(box, 320, 20, 40, 21);
        auto* upDown = Place<TUpDown>(box, 360, 20, 16, 21);
        upDown->SetMin(1);
        upDown->SetMax(640);
        upDown->SetAssociate(count);
        upDown->SetPosition(18);
        auto* rgb = Place<TCheckBox>(box, 8, 52, 120, 17);
        rgb->SetCaption("Группа RGB");
        auto* grid = Place<TStringGrid>(form, 8, 158, 436, 190);
        grid->SetColCount(3);
        grid->SetRowCount(19);
        grid->SetFixedCols(2);
        grid->SetCells(2, 0, " Название");
        auto* picture = Place<TPanel>(form, 8, 356, 436, 22);
        picture->SetBevelOuter(bvLowered);
        picture->SetAlignment(taLeftJustify);
        picture->SetCaption("  Картинка.bmp");
    }
    ~SetupLikeDialog() { TComponent::Free(form); }
    TForm* form;
    TSpeedButton* ok;
    TGroupBox* box;
};

} // namespace

TEST(StyleScreenshots, TheMainWindowFollowsTheStyleAndItsSwitchingAtRunTime)
{
    SetCursorPos(0, 0);
    auto* main = new TFormMain(Application);
    main->Show();
    Pump();
    WindowPicture shown(main->Handle());
    std::string path = shown.Save("main-window");
    std::printf("screenshot: %s\n", path.c_str());
    ExpectLooks(shown, main->SpeedButtonNew, main->GroupBox1, Styled());

    if (Styled()) {
        TVisualStyleManager* manager = main->VisualStyleManager1;
        ASSERT_TRUE(manager->IsMainManager());
        manager->SetThemeOptions(DefaultThemeOptions.Without(toAllowControls));
        WindowPicture off(main->Handle());
        std::printf("screenshot: %s\n", off.Save("main-window-switched-off").c_str());
        ExpectLooks(off, main->SpeedButtonNew, main->GroupBox1, false);
        manager->SetThemeOptions(DefaultThemeOptions);
        WindowPicture on(main->Handle());
        std::printf("screenshot: %s\n", on.Save("main-window-switched-on").c_str());
        ExpectLooks(on, main->SpeedButtonNew, main->GroupBox1, true);
    }
    TComponent::Free(main);
    Pump();
}

TEST(StyleScreenshots, ADialogLikeTheSetUpDialogFollowsTheStyle)
{
    SetCursorPos(0, 0);
    auto* main = new TFormMain(Application);  // whose manager finds the dialog
    main->Show();
    {
        SetupLikeDialog dialog(main);
        dialog.form->Show();
        Pump();
        WindowPicture picture(dialog.form->Handle());
        std::printf("screenshot: %s\n", picture.Save("setup-like-dialog").c_str());
        ExpectLooks(picture, dialog.ok, dialog.box, Styled());
    }
    TComponent::Free(main);
    Pump();
}
