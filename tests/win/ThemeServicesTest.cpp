// The visual-styles library binding and the theme services against the platform's
// library, with a style active in the process (--style) and with none.
#include <gtest/gtest.h>

#include "StyleTestHelpers.h"
#include "themes/ThemeLibrary.h"
#include "themes/ThemeServices.h"
#include "ui/Grids.h"
#include "ui/StdCtrls.h"

namespace {

COLORREF WindowPixel(HWND window, int x, int y)
{
    HDC dc = GetWindowDC(window);
    COLORREF c = GetPixel(dc, x, y);
    ReleaseDC(window, dc);
    return c;
}

} // namespace

// Runs before any services exist in the process, so the library is not loaded yet.
TEST(ThemeLibrary, BindsEveryEntryPointAndClearsThemWithTheLastRelease)
{
    ASSERT_FALSE(ThemeLibraryLoaded());
    EXPECT_TRUE(InitThemeLibrary());
    EXPECT_TRUE(InitThemeLibrary());
    FreeThemeLibrary();
#define PELVOR_EXPECT_BOUND(name) EXPECT_NE(UxTheme.name, nullptr) << #name;
    PELVOR_THEME_ENTRY_POINTS(PELVOR_EXPECT_BOUND)
    EXPECT_EQ(UseThemes(), StyleActiveRun());
    FreeThemeLibrary();
#define PELVOR_EXPECT_CLEARED(name) EXPECT_EQ(UxTheme.name, nullptr) << #name;
    PELVOR_THEME_ENTRY_POINTS(PELVOR_EXPECT_CLEARED)
    EXPECT_FALSE(UseThemes());
}

TEST(ThemeServices, OpenAndDrawThemedPartsOnlyWithAStyle)
{
    TThemeServices services(Application);
    EXPECT_TRUE(services.ThemesAvailable());
    ASSERT_EQ(services.ThemesEnabled(), StyleActiveRun());
    for (TThemedElement e : {teButton, teEdit, teTab, teToolBar, teTrackBar, teStatus, teRebar})
        EXPECT_EQ(services.Theme(e) != nullptr, StyleActiveRun()) << e;

    TThemedElementDetails normal = services.GetElementDetails(tbPushButtonNormal);
    HRESULT result = E_FAIL;
    auto drawn = DrawnPixels(60, 24, [&](HDC dc) { result = services.DrawElement(dc, normal, Rect(0, 0, 60, 24)); });
    auto disabled = DrawnPixels(60, 24, [&](HDC dc) {
        services.DrawElement(dc, services.GetElementDetails(tbPushButtonDisabled), Rect(0, 0, 60, 24));
    });
    TRect content = services.ContentRect(nullptr, normal, Rect(0, 0, 60, 24));
    if (StyleActiveRun()) {
        EXPECT_EQ(result, S_OK);
        EXPECT_NE(drawn, disabled);  // the state reached the library
        EXPECT_GT(content.Left, 0);
        EXPECT_LT(content.Right, 60);
    } else {
        EXPECT_EQ(drawn, std::vector<uint32_t>(60 * 24, 0xFF00FF));  // untouched
        EXPECT_EQ(content.Right - content.Left, 60);
    }
}

TEST(ThemeServices, ThemeChangesRereadWhetherTheApplicationLetsControlsBeThemed)
{
    int hooks = Application->HookCount();
    TThemeServices services(Application);
    EXPECT_EQ(Application->HookCount(), hooks + 1);
    DWORD saved = UxTheme.GetThemeAppProperties();
    int changes = 0;
    services.OnThemeChange = [&](TObject* sender) { changes += sender == &services; };
    UxTheme.SetThemeAppProperties(STAP_ALLOW_NONCLIENT | STAP_ALLOW_WEBCONTENT);  // no controls
    SendMessageW(Application->Handle(), WM_THEMECHANGED, 0, 0);
    EXPECT_FALSE(services.ThemesEnabled());
    UxTheme.SetThemeAppProperties(STAP_ALLOW_CONTROLS);
    SendMessageW(Application->Handle(), WM_THEMECHANGED, 0, 0);
    EXPECT_EQ(services.ThemesEnabled(), StyleActiveRun());
    EXPECT_EQ(services.Theme(teButton) != nullptr, StyleActiveRun());  // opened again
    EXPECT_EQ(changes, 2);
    UxTheme.SetThemeAppProperties(saved);
    SendMessageW(Application->Handle(), WM_DESTROY, 0, 0);  // as when the window goes
    EXPECT_EQ(Application->HookCount(), hooks);
}

TEST(ThemeServices, SystemColoursWithoutDetailsAreTheSystemsOwn)
{
    TThemeServices services(Application);
    TThemedElementDetails details = services.GetElementDetails(tbPushButtonNormal);
    EXPECT_EQ(services.ColorToRGB(clBtnFace), GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(services.ColorToRGB(0x123456, &details), 0x123456u);
    if (!StyleActiveRun()) {
        EXPECT_EQ(services.ColorToRGB(clWindow, &details), GetSysColor(COLOR_WINDOW));
    }
}

TEST(ThemeServices, PaintBorderDrawsTheEditBorderOfClientEdgeControlsOnly)
{
    TThemeServices services(Application);
    TestForm f;
    f->Show();
    auto* edit = Place<TEdit>(f.form, 10, 10, 120, 24);
    auto* button = Place<TButton>(f.form, 10, 50, 120, 24);
    auto* grid = Place<TDrawGrid>(f.form, 10, 90, 200, 150);
    grid->SetColCount(30);
    grid->SetRowCount(30);
    Pump();
    HBRUSH magenta = CreateSolidBrush(kMagenta);
    for (TWinControl* c : std::initializer_list<TWinControl*>{edit, button, grid}) {
        HDC dc = GetWindowDC(c->Handle());
        RECT r{0, 0, c->Width(), c->Height()};
        FillRect(dc, &r, magenta);
        ReleaseDC(c->Handle(), dc);
        services.PaintBorder(c, c == grid);
    }
    DeleteObject(magenta);
    EXPECT_EQ(WindowPixel(edit->Handle(), 0, 0) != kMagenta, StyleActiveRun());
    EXPECT_EQ(WindowPixel(edit->Handle(), 60, 12), kMagenta);  // inside the border
    EXPECT_EQ(WindowPixel(button->Handle(), 0, 0), kMagenta);
    // The grid's corner between its scroll bars is filled whatever the style.
    int cornerX = grid->Width() - 3 - GetSystemMetrics(SM_CXVSCROLL) / 2;
    int cornerY = grid->Height() - 3 - GetSystemMetrics(SM_CYHSCROLL) / 2;
    EXPECT_EQ(WindowPixel(grid->Handle(), cornerX, cornerY), GetSysColor(COLOR_BTNFACE));
}

// Turning the style off for the process cannot be undone, so this runs on its own.
TEST(ThemeSwitchOff, TurningTheStyleOffClosesEveryHandle)
{
    if (!StyleActiveRun())
        GTEST_SKIP() << "needs a run with --style";
    TThemeServices services(Application);
    ASSERT_NE(services.Theme(teButton), nullptr);
    WithThemeActiveValue(L"0", [] { UxTheme.EnableTheming(FALSE); });
    Pump();  // the library tells every top-level window
    EXPECT_FALSE(services.ThemesEnabled());
    EXPECT_EQ(services.Theme(teButton), nullptr);  // closed, and not opened again
}

// Runs last: the process's services keep the library loaded from here on.
TEST(ThemeServicesSingleton, IsMadeOnceForTheApplicationWindow)
{
    int hooks = Application->HookCount();
    TThemeServices* services = ThemeServices();
    EXPECT_EQ(ThemeServices(), services);
    EXPECT_EQ(Application->HookCount(), hooks + 1);
    EXPECT_EQ(services->ThemesEnabled(), StyleActiveRun());
}
