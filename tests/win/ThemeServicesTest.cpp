// The visual-styles library binding and the theme services against the platform's
// library, with a style active in the process (--style) and with none.
#include <gtest/gtest.h>

#include "ThemeTestStyle.h"
#include "UiTestHelpers.h"
#include "themes/ThemeLibrary.h"
#include "themes/ThemeServices.h"
#include "ui/Grids.h"
#include "ui/StdCtrls.h"

namespace {

constexpr TColor kSentinel = 0xFF00FF;  // a colour no style draws with

// A bitmap filled with the sentinel colour.
struct Canvas {
    Canvas(int w, int h)
    {
        bitmap.SetSize(w, h);
        bitmap.Canvas()->Brush.Color = kSentinel;
        bitmap.Canvas()->FillRect(Rect(0, 0, w, h));
    }
    HDC DC() { return bitmap.Canvas()->Handle(); }
    uint32_t Pixel(int x, int y)
    {
        GdiFlush();
        return bitmap.ScanLine(y)[x] & 0xFFFFFF;  // 0x00RRGGBB
    }
    std::vector<uint32_t> Pixels()
    {
        std::vector<uint32_t> all;
        for (int y = 0; y < bitmap.Height(); ++y)
            for (int x = 0; x < bitmap.Width(); ++x)
                all.push_back(Pixel(x, y));
        return all;
    }
    TBitmap bitmap;
};

// The window DC's pixel, as 0x00BBGGRR.
COLORREF WindowPixel(HWND window, int x, int y)
{
    HDC dc = GetWindowDC(window);
    COLORREF c = GetPixel(dc, x, y);
    ReleaseDC(window, dc);
    return c;
}

void FillWindow(HWND window, COLORREF colour)
{
    RECT r;
    GetWindowRect(window, &r);
    OffsetRect(&r, -r.left, -r.top);
    HDC dc = GetWindowDC(window);
    HBRUSH brush = CreateSolidBrush(colour);
    FillRect(dc, &r, brush);
    DeleteObject(brush);
    ReleaseDC(window, dc);
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
#undef PELVOR_EXPECT_BOUND
    EXPECT_EQ(UseThemes(), StyleActiveRun());
    FreeThemeLibrary();
    EXPECT_FALSE(ThemeLibraryLoaded());
#define PELVOR_EXPECT_CLEARED(name) EXPECT_EQ(UxTheme.name, nullptr) << #name;
    PELVOR_THEME_ENTRY_POINTS(PELVOR_EXPECT_CLEARED)
#undef PELVOR_EXPECT_CLEARED
    EXPECT_FALSE(UseThemes());
}

TEST(ThemeServices, OpenAndDrawThemedPartsOnlyWithAStyle)
{
    TThemeServices services(Application);
    EXPECT_TRUE(services.ThemesAvailable());
    ASSERT_EQ(services.ThemesEnabled(), StyleActiveRun());
    for (TThemedElement e : {teButton, teEdit, teTab, teToolBar, teTrackBar, teStatus, teRebar})
        EXPECT_EQ(services.Theme(e) != nullptr, StyleActiveRun()) << e;

    Canvas normal(60, 24), disabled(60, 24);
    HRESULT drawn = services.DrawElement(normal.DC(), services.GetElementDetails(tbPushButtonNormal), Rect(0, 0, 60, 24));
    services.DrawElement(disabled.DC(), services.GetElementDetails(tbPushButtonDisabled), Rect(0, 0, 60, 24));
    TRect content = services.ContentRect(normal.DC(), services.GetElementDetails(tbPushButtonNormal), Rect(0, 0, 60, 24));
    if (StyleActiveRun()) {
        EXPECT_EQ(drawn, S_OK);
        EXPECT_NE(normal.Pixel(30, 12), kSentinel);
        EXPECT_NE(normal.Pixels(), disabled.Pixels());  // the state reached the library
        EXPECT_GT(content.Left, 0);
        EXPECT_LT(content.Right, 60);
    } else {
        EXPECT_NE(drawn, S_OK);
        EXPECT_EQ(normal.Pixels(), std::vector<uint32_t>(60 * 24, kSentinel));
        EXPECT_EQ(content.Left, 0);
        EXPECT_EQ(content.Right, 60);
    }
}

TEST(ThemeServices, ControlsAreThemedOnlyWhileTheApplicationAllowsIt)
{
    TThemeServices services(Application);
    DWORD saved = UxTheme.GetThemeAppProperties();
    int changes = 0;
    services.OnThemeChange = [&](TObject* sender) {
        EXPECT_EQ(sender, &services);
        ++changes;
    };
    // Non-client areas and web content, but no controls.
    UxTheme.SetThemeAppProperties(STAP_ALLOW_NONCLIENT | STAP_ALLOW_WEBCONTENT);
    SendMessageW(Application->Handle(), WM_THEMECHANGED, 0, 0);
    EXPECT_EQ(changes, 1);
    EXPECT_FALSE(services.ThemesEnabled());

    UxTheme.SetThemeAppProperties(STAP_ALLOW_CONTROLS);
    SendMessageW(Application->Handle(), WM_THEMECHANGED, 0, 0);
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(services.ThemesEnabled(), StyleActiveRun());
    EXPECT_EQ(services.Theme(teButton) != nullptr, StyleActiveRun());  // opened again
    UxTheme.SetThemeAppProperties(saved);
}

TEST(ThemeServices, HookTheApplicationWindowUntilItOrTheServicesGo)
{
    int hooks = Application->HookCount();
    {
        TThemeServices services(Application);
        EXPECT_EQ(Application->HookCount(), hooks + 1);
    }
    EXPECT_EQ(Application->HookCount(), hooks);
    TThemeServices services(Application);
    SendMessageW(Application->Handle(), WM_DESTROY, 0, 0);  // as when the window is destroyed
    EXPECT_EQ(Application->HookCount(), hooks);
}

TEST(ThemeServices, SystemColoursWithoutDetailsAreTheSystemsOwn)
{
    TThemeServices services(Application);
    EXPECT_EQ(services.ColorToRGB(clBtnFace), GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(services.ColorToRGB(0x123456), 0x123456u);
    TThemedElementDetails details = services.GetElementDetails(tbPushButtonNormal);
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
    auto* edit = new TEdit(f.form);
    edit->SetParent(f.form);
    edit->SetBounds(10, 10, 120, 24);
    auto* button = new TButton(f.form);
    button->SetParent(f.form);
    button->SetBounds(10, 50, 120, 24);
    auto* grid = new TDrawGrid(f.form);
    grid->SetParent(f.form);
    grid->SetBounds(10, 90, 200, 150);
    grid->SetColCount(30);
    grid->SetRowCount(30);
    Pump();
    const COLORREF magenta = RGB(255, 0, 255);
    for (TWinControl* c : std::initializer_list<TWinControl*>{edit, button, grid}) {
        FillWindow(c->Handle(), magenta);
        services.PaintBorder(c, c == grid);
    }
    // The edit's border is drawn with a style, its inside never.
    EXPECT_EQ(WindowPixel(edit->Handle(), 0, 0) != magenta, StyleActiveRun());
    EXPECT_EQ(WindowPixel(edit->Handle(), 60, 12), magenta);
    EXPECT_EQ(WindowPixel(button->Handle(), 0, 0), magenta);
    // The grid's corner between its scroll bars is filled whatever the style.
    int cornerX = grid->Width() - 3 - GetSystemMetrics(SM_CXVSCROLL) / 2;
    int cornerY = grid->Height() - 3 - GetSystemMetrics(SM_CYHSCROLL) / 2;
    EXPECT_EQ(WindowPixel(grid->Handle(), cornerX, cornerY), GetSysColor(COLOR_BTNFACE));
}

// Turning the style off for the process cannot be undone, so these run on their own.
TEST(ThemeSwitchOff, TurningTheStyleOffClosesEveryHandle)
{
    if (!StyleActiveRun())
        GTEST_SKIP() << "needs a run with --style";
    TThemeServices services(Application);
    ASSERT_NE(services.Theme(teButton), nullptr);
    ASSERT_NE(services.Theme(teEdit), nullptr);
    WithThemeActiveValue(L"0", [] { UxTheme.EnableTheming(FALSE); });
    Pump();  // the library tells every top-level window
    EXPECT_FALSE(services.ThemesEnabled());
    EXPECT_EQ(services.Theme(teButton), nullptr);
    EXPECT_EQ(services.Theme(teEdit), nullptr);
}

// Runs last: the process's services keep the library loaded from here on.
TEST(ThemeServicesSingleton, IsMadeOnceForTheApplicationWindow)
{
    int hooks = Application->HookCount();
    TThemeServices* services = ThemeServices();
    ASSERT_NE(services, nullptr);
    EXPECT_EQ(ThemeServices(), services);
    EXPECT_EQ(Application->HookCount(), hooks + 1);
    EXPECT_EQ(services->ThemesEnabled(), StyleActiveRun());
}
