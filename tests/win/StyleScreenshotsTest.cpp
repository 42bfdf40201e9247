// Screenshots of the main window and of the set-up dialog with the style of the run, and
// of the main window while its manager switches the controls' theming off and on again. Each picture is also checked: a speed button's
// left edge and a group box's frame are the theme's elements with a style, the classic
// edges without.
#include <gtest/gtest.h>

#include "StyleTestHelpers.h"
#include "editor/UnitMain.h"
#include "setup/UnitChSetup.h"
#include "ui/Buttons.h"
#include "ui/StdCtrls.h"

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

TEST(StyleScreenshots, TheSetUpDialogFollowsTheStyle)
{
    SetCursorPos(0, 0);
    auto* main = new TFormMain(Application);  // whose manager finds the dialog it owns
    main->Show();
    auto* dialog = new TFormChSetup(main);
    dialog->SetConfig(main->Config);
    dialog->Show();
    Pump();
    WindowPicture picture(dialog->Handle());
    std::printf("screenshot: %s\n", picture.Save("setup-dialog").c_str());
    ExpectLooks(picture, dialog->SpeedButtonOk, dialog->GroupBox1, Styled());
    TComponent::Free(dialog);
    TComponent::Free(main);
    Pump();
}

// The set-up dialog as the main window runs it, cancelled as soon as it shows.
TEST(StyleScreenshots, TheSetUpDialogOpenedAndClosedManyTimesLeavesNoEntries)
{
    auto* main = new TFormMain(Application);
    main->Show();
    Pump();
    TVisualStyleManager* manager = main->VisualStyleManager1;
    auto entries = [manager] {
        int n = 0;
        for (int kind = 0; kind < StyleListCount; ++kind)
            n += manager->List(static_cast<TStyleList>(kind))->Count();
        return n;
    };
    const UINT cancel = WM_APP + 0x51;
    int opened = 0, speedButtonsSeen = 0;
    int hook = Application->HookMainWindow([&](TMessage& m) {
        if (m.Msg != cancel || !FormChSetup)
            return false;
        ++opened;
        speedButtonsSeen = manager->List(slSpeedButton)->Count();
        FormChSetup->SpeedButtonCancelClick(FormChSetup);
        return true;
    });
    int before = entries();
    for (int i = 0; i < 10; ++i) {
        PostMessageW(Application->Handle(), cancel, 0, 0);
        ControllerConfig config = main->Config;
        EXPECT_EQ(main->RunSetupDialog(config), mrCancel);
    }
    Application->UnhookMainWindow(hook);
    EXPECT_EQ(opened, 10);
    if (Styled()) {
        EXPECT_GT(speedButtonsSeen, manager->List(slSpeedButton)->Count());  // the dialog's joined
    }
    EXPECT_EQ(entries(), before);
    TComponent::Free(main);
    Pump();
}
