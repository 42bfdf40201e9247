// What the subclassed controls draw: with a style, the theme's elements and their
// parents' backgrounds; without one, their own classic painting.
#include <gtest/gtest.h>

#include <algorithm>

#include "StyleTestHelpers.h"
#include "ui/Animate.h"
#include "ui/Buttons.h"
#include "ui/CheckListBox.h"
#include "ui/ComCtrls.h"
#include "ui/ExtCtrls.h"
#include "ui/Grids.h"
#include "ui/Messages.h"
#include "ui/StatusBar.h"
#include "ui/StdCtrls.h"
#include "ui/TabSheet.h"

namespace {

bool Styled() { return StyleActiveRun(); }

const uint32_t kRed = 0xFF0000, kBlue = 0x0000FF, kYellowRGB = 0xFFFF00;

// A parent whose background is stripes: red and blue, four pixels each, from its left.
class StripedParent : public TCustomControl {
public:
    using TCustomControl::TCustomControl;
    static uint32_t StripeAt(int x) { return (x / 4) % 2 ? kBlue : kRed; }

protected:
    void Paint() override
    {
        for (int x = 0; x < Width(); x += 4) {
            Canvas()->Brush.Color = StripeAt(x) == kRed ? clRed : clBlue;
            Canvas()->FillRect(Rect(x, 0, x + 4, Height()));
        }
    }
};

uint32_t Pixel(const std::vector<uint32_t>& pixels, int width, int x, int y)
{
    return pixels[static_cast<size_t>(y * width + x)] & 0xFFFFFF;
}

// Paints a control into a magenta bitmap through its message handler.
std::vector<uint32_t> Painted(TControl* control, UINT msg, int w, int h)
{
    return DrawnPixels(w, h, [&](HDC dc) { control->Perform(msg, reinterpret_cast<WPARAM>(dc), 0); });
}

void MoveMouseAway() { SetCursorPos(0, 0); }

TRect ClientRectOf(TWinControl* control)
{
    RECT r;
    GetClientRect(control->Handle(), &r);
    return TRect::From(r);
}

} // namespace

TEST(ThemedDrawing, PanelsAndTabSheetsShowTheirParentsBackgroundAndSplittersLikewise)
{
    TestForm f;
    f->Show();
    auto* stripes = Place<StripedParent>(f.form, 0, 0, 300, 200);
    stripes->SetColor(clYellow);
    auto* same = Place<TPanel>(stripes, 10, 10, 80, 40);
    same->SetBevelOuter(bvNone);
    same->SetParentColor(true);
    auto* own = Place<TPanel>(stripes, 100, 10, 80, 40);
    own->SetBevelOuter(bvNone);
    own->SetColor(clLime);
    auto* sheet = Place<TTabSheet>(stripes, 10, 60, 80, 40);
    sheet->SetColor(clYellow);
    auto* splitter = Place<TSplitter>(stripes, 200, 60, 6, 40);
    splitter->SetAlign(alNone);
    splitter->SetColor(clLime);
    TestManager m;
    Pump();
    auto panelPixels = Painted(same, WM_PAINT, 80, 40);
    auto ownPixels = Painted(own, WM_PAINT, 80, 40);
    auto sheetPixels = DrawnPixels(80, 40, [&](HDC dc) {
        sheet->Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    });
    auto splitterPixels = Painted(splitter, WM_PAINT, 6, 40);
    for (int x : {1, 5, 9, 14}) {
        uint32_t stripe = StripedParent::StripeAt(10 + x);
        EXPECT_EQ(Pixel(panelPixels, 80, x, 20), Styled() ? stripe : kYellowRGB) << x;
        EXPECT_EQ(Pixel(sheetPixels, 80, x, 20), Styled() ? stripe : kYellowRGB) << x;
        EXPECT_EQ(Pixel(ownPixels, 80, x, 20), 0x00FF00u) << x;  // its own colour always
    }
    // A splitter shows what its parent erases with: the parent's colour.
    EXPECT_EQ(Pixel(splitterPixels, 6, 3, 20), Styled() ? kYellowRGB : 0x00FF00u);

    if (!Styled())
        return;
    // The alternate drawing paints the tab body element instead.
    m->SetThemeOptions(DefaultThemeOptions.With(toAlternateTabSheetDraw));
    auto body = DrawnPixels(80, 40, [&](HDC dc) {
        ThemeServices()->DrawElement(dc, GetElementDetails(ttBody), Rect(0, 0, 80, 40));
    });
    auto alternate = DrawnPixels(80, 40, [&](HDC dc) {
        sheet->Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    });
    EXPECT_EQ(alternate, body);
    m->SetThemeOptions(DefaultThemeOptions);
}

TEST(ThemedDrawing, GroupBoxesDrawTheFrameElementBelowHalfTheCaption)
{
    if (!Styled())
        GTEST_SKIP() << "a classic group box is the class library's own painting";
    TestForm f;
    f->Show();
    auto* titled = Place<TGroupBox>(f.form, 10, 10, 120, 80);
    titled->SetCaption("Рамка");
    auto* untitled = Place<TGroupBox>(f.form, 140, 10, 120, 80);
    TestManager m;
    Pump();
    ASSERT_TRUE(m.Holds(slGroupBox, titled));
    RECT client;
    GetClientRect(titled->Handle(), &client);
    int w = client.right, h = client.bottom;
    SIZE text{};
    HDC screen = GetDC(nullptr);
    HGDIOBJ old = SelectObject(screen, FontHandle(titled->Font()));
    GetTextExtentPoint32W(screen, L"Рамка", 5, &text);
    SelectObject(screen, old);
    ReleaseDC(nullptr, screen);
    TThemedElementDetails frame = GetElementDetails(tbGroupBoxNormal);
    auto expectTitled = DrawnPixels(w, h, [&](HDC dc) {
        ThemeServices()->DrawElement(dc, frame, Rect(0, text.cy / 2, w, h));
    });
    auto expectUntitled = DrawnPixels(w, h, [&](HDC dc) { ThemeServices()->DrawElement(dc, frame, Rect(0, 0, w, h)); });
    auto titledPixels = Painted(titled, WM_PAINT, w, h);
    auto untitledPixels = Painted(untitled, WM_PAINT, w, h);
    int compared = 0;
    for (int y = 0; y < h; ++y)
        for (int x : {0, 1, w - 1}) {
            if (Pixel(expectTitled, w, x, y) != 0xFF00FF) {
                EXPECT_EQ(Pixel(titledPixels, w, x, y), Pixel(expectTitled, w, x, y)) << x << "," << y;
                ++compared;
            }
            if (Pixel(expectUntitled, w, x, y) != 0xFF00FF) {
                EXPECT_EQ(Pixel(untitledPixels, w, x, y), Pixel(expectUntitled, w, x, y)) << x << "," << y;
            }
        }
    EXPECT_GT(compared, h / 2);
}

TEST(ThemedDrawing, SpeedButtonsDrawThePushButtonOrFlatToolBarElement)
{
    MoveMouseAway();
    TestForm f;
    f->Show();
    auto* button = Place<TSpeedButton>(f.form, 10, 10, 60, 24);
    auto* flat = Place<TSpeedButton>(f.form, 80, 10, 60, 24);
    flat->SetFlat(true);
    flat->SetGroupIndex(1);
    flat->SetDown(true);
    auto* disabled = Place<TSpeedButton>(f.form, 150, 10, 60, 24);
    disabled->SetEnabled(false);
    TestManager m;
    Pump();
    // On the form's background, which the buttons erase to first.
    auto draw = [](TThemedElementDetails details) {
        return DrawnPixels(
            60, 24, [&](HDC dc) { ThemeServices()->DrawElement(dc, details, Rect(0, 0, 60, 24)); }, clBtnFace);
    };
    struct Case {
        TSpeedButton* button;
        TThemedElementDetails element;
    } cases[] = {{button, GetElementDetails(tbPushButtonNormal)},
                 {flat, GetElementDetails(ttbButtonPressed)},
                 {disabled, GetElementDetails(tbPushButtonDisabled)}};
    for (const Case& c : cases) {
        auto painted = Painted(c.button, WM_PAINT, 60, 24);
        if (Styled())
            EXPECT_EQ(painted, draw(c.element)) << c.button->Left();
        else if (c.button == button) {
            EXPECT_EQ(Pixel(painted, 60, 0, 12), RGBOf(GetSysColor(COLOR_BTNHIGHLIGHT)));  // the classic edge
        }
    }
    EXPECT_EQ(m.Entries(), Styled() ? 4 : 1);
}

TEST(ThemedDrawing, ADisabledSpeedButtonShowsAGlyphWithoutADisabledImageGreyed)
{
    TestForm f;
    f->Show();
    auto* button = Place<TSpeedButton>(f.form, 10, 10, 30, 30);
    TBitmap* glyph = button->Glyph();
    glyph->SetSize(16, 16);
    glyph->Canvas()->Brush.Color = clFuchsia;  // the transparent colour, at the bottom left
    glyph->Canvas()->FillRect(Rect(0, 0, 16, 16));
    glyph->Canvas()->Brush.Color = clRed;
    glyph->Canvas()->FillRect(Rect(2, 2, 14, 14));
    button->SetEnabled(false);
    TestManager m;
    Pump();
    auto painted = Painted(button, WM_PAINT, 30, 30);
    auto count = [&](uint32_t colour) {
        return std::count_if(painted.begin(), painted.end(), [&](uint32_t p) { return (p & 0xFFFFFF) == colour; });
    };
    EXPECT_EQ(count(kRed), 0);
    EXPECT_GE(count(RGBOf(GetSysColor(COLOR_BTNSHADOW))), 12 * 12);
}

TEST(ThemedDrawing, BitmapButtonsShowTheGlyphImageOfTheirState)
{
    TestForm f;
    auto* button = Place<TBitBtn>(f.form, 10, 10, 100, 30);
    // Three images side by side: red, green, blue; the bottom-left pixel (magenta) is
    // the transparent colour.
    TBitmap* glyph = button->Glyph();
    glyph->SetSize(48, 16);
    for (int i = 0; i < 3; ++i) {
        glyph->Canvas()->Brush.Color = i == 0 ? clRed : i == 1 ? clLime : clBlue;
        glyph->Canvas()->FillRect(Rect(i * 16, 0, i * 16 + 16, 16));
    }
    glyph->Canvas()->SetPixel(0, 15, clFuchsia);
    button->SetNumGlyphs(3);
    TestManager m;
    auto colours = [&](TThemedButton state) {
        auto pixels = DrawnPixels(100, 30, [&](HDC dc) { m->DrawButton(button, state, dc, Rect(0, 0, 100, 30), false); });
        unsigned seen = 0;
        for (uint32_t p : pixels)
            seen |= (p & 0xFFFFFF) == kRed ? 1u : (p & 0xFFFFFF) == 0x00FF00 ? 2u : (p & 0xFFFFFF) == kBlue ? 4u : 0u;
        return seen;
    };
    EXPECT_EQ(colours(tbPushButtonNormal), 1u);
    EXPECT_EQ(colours(tbPushButtonPressed), 4u);
    button->SetEnabled(false);
    EXPECT_EQ(colours(tbPushButtonDisabled), 2u);
    button->SetNumGlyphs(1);
    button->SetCaption("Текст");
    auto pixels = DrawnPixels(100, 30, [&](HDC dc) {
        m->DrawButton(button, tbPushButtonDisabled, dc, Rect(0, 0, 100, 30), false);
    });
    EXPECT_NE(std::find(pixels.begin(), pixels.end(), RGBOf(GetSysColor(COLOR_GRAYTEXT))), pixels.end());
}

TEST(ThemedDrawing, AFocusedTrackBarKeepsItsFocusBorderFreeWhenItsBackgroundIsRepainted)
{
    if (!Styled())
        GTEST_SKIP() << "track bars are drawn by themselves without a style";
    TestForm f;
    f->Show();
    auto* bar = Place<TTrackBar>(f.form, 10, 10, 40, 150);
    bar->SetOrientation(trVertical);
    TestManager m;
    Pump();
    bar->SetFocus();
    f->Perform(WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
    Pump();
    ASSERT_TRUE(bar->Focused());
    UINT border = 1;
    SystemParametersInfoW(SPI_GETFOCUSBORDERHEIGHT, 0, &border, 0);
    RECT thumb{};
    SendMessageW(bar->Handle(), TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
    RECT client;
    GetClientRect(bar->Handle(), &client);
    int x = (thumb.left + thumb.right) / 2;
    auto notify = [&](HDC dc, DWORD_PTR item) {
        NMCUSTOMDRAW draw{};
        draw.hdr = NMHDR{bar->Handle(), 0, static_cast<UINT>(NM_CUSTOMDRAW)};
        draw.dwDrawStage = CDDS_ITEMPREPAINT;
        draw.dwItemSpec = item;
        draw.hdc = dc;
        return bar->Perform(CN_NOTIFY, 0, reinterpret_cast<LPARAM>(&draw));
    };
    auto channel = DrawnPixels(client.right, client.bottom, [&](HDC dc) { EXPECT_EQ(notify(dc, TBCD_CHANNEL), 0); });
    EXPECT_EQ(Pixel(channel, client.right, x, 0), 0xFF00FFu);
    EXPECT_EQ(Pixel(channel, client.right, x, static_cast<int>(border) - 1), 0xFF00FFu);
    EXPECT_NE(Pixel(channel, client.right, x, client.bottom / 2), 0xFF00FFu);
    EXPECT_EQ(Pixel(channel, client.right, x, client.bottom - 1), 0xFF00FFu);
    EXPECT_EQ(Pixel(channel, client.right, thumb.right + 1, client.bottom / 2), 0xFF00FFu);  // outside the thumb's width
    auto tics = DrawnPixels(client.right, client.bottom, [&](HDC dc) { notify(dc, TBCD_TICS); });
    EXPECT_EQ(Pixel(tics, client.right, 0, 0), 0xFF00FFu);
    EXPECT_NE(Pixel(tics, client.right, client.right / 2, client.bottom / 2), 0xFF00FFu);
}

TEST(ThemedDrawing, StatusBarsAnimationsAndBordersOfWindowedControls)
{
    if (!Styled())
        GTEST_SKIP() << "these controls are not subclassed without a style";
    TestForm f;
    f->Show();
    auto* status = Place<TStatusBar>(f.form, 0, 0, 200, 19);
    auto* animate = Place<TAnimate>(f.form, 0, 30, 60, 40);
    auto* edit = Place<TEdit>(f.form, 100, 30, 100, 21);
    auto* grid = Place<TDrawGrid>(f.form, 0, 80, 200, 150);
    grid->SetColCount(30);
    grid->SetRowCount(30);
    TestManager m;
    m->SetThemeOptions(DefaultThemeOptions.With(toSubclassAnimate));
    m->CollectForms();
    Pump();
    ASSERT_TRUE(m.Holds(slStatusBar, status));
    ASSERT_TRUE(m.Holds(slAnimate, animate));

    auto erased = Painted(status, WM_ERASEBKGND, 200, 19);
    auto element = DrawnPixels(200, 19, [&](HDC dc) {
        ThemeServices()->DrawElement(dc, GetElementDetails(tsStatusRoot), ClientRectOf(status));
    });
    EXPECT_EQ(erased, element);
    NCCALCSIZE_PARAMS sizes{};
    GetWindowRect(status->Handle(), &sizes.rgrc[0]);
    EXPECT_EQ(status->Perform(WM_NCCALCSIZE, TRUE, reinterpret_cast<LPARAM>(&sizes)) & 0x300, 0x300);

    auto untouched = Painted(animate, WM_ERASEBKGND, 60, 40);
    EXPECT_EQ(untouched, std::vector<uint32_t>(60 * 40, 0xFF00FF));
    EXPECT_EQ(animate->Perform(CN_CTLCOLORSTATIC, 0, 0), reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE)));

    // Client edges get the edit element's border; a grid also its scroll-bar corner.
    auto edge = DrawnPixels(edit->Width(), edit->Height(), [&](HDC dc) {
        ThemeServices()->DrawElement(dc, GetElementDetails(teEditTextNormal), Rect(0, 0, edit->Width(), edit->Height()));
    });
    HBRUSH magenta = CreateSolidBrush(kMagenta);
    for (TWinControl* c : std::initializer_list<TWinControl*>{edit, grid}) {
        HDC dc = GetWindowDC(c->Handle());
        RECT r{0, 0, c->Width(), c->Height()};
        FillRect(dc, &r, magenta);
        ReleaseDC(c->Handle(), dc);
        SendMessageW(c->Handle(), WM_NCPAINT, 1, 0);
    }
    DeleteObject(magenta);
    HDC dc = GetWindowDC(edit->Handle());
    EXPECT_EQ(RGBOf(GetPixel(dc, 0, edit->Height() / 2)), Pixel(edge, edit->Width(), 0, edit->Height() / 2));
    ReleaseDC(edit->Handle(), dc);
    dc = GetWindowDC(grid->Handle());
    EXPECT_EQ(GetPixel(dc, grid->Width() - 3 - GetSystemMetrics(SM_CXVSCROLL) / 2,
                       grid->Height() - 3 - GetSystemMetrics(SM_CYHSCROLL) / 2),
              GetSysColor(COLOR_BTNFACE));
    ReleaseDC(grid->Handle(), dc);
}

TEST(ThemedDrawing, CheckListBoxesDrawTheCheckElementsAndNothingWhenEmpty)
{
    if (!Styled())
        GTEST_SKIP() << "check-list boxes draw themselves without a style";
    TestForm f;
    f->Show();
    auto* list = Place<TCheckListBox>(f.form, 10, 10, 150, 100);
    list->Items().Add("Первый");
    list->Items().Add("Заголовок");
    list->SetChecked(0, true);
    list->SetHeader(1, true);
    auto* empty = Place<TCheckListBox>(f.form, 170, 10, 150, 100);
    MessageRecorder emptyBeneath(empty);
    TestManager m;
    Pump();
    const int height = 16, width = 150;
    auto drawItem = [&](TCheckListBox* target, int index) {
        return DrawnPixels(width, height, [&](HDC dc) {
            DRAWITEMSTRUCT item{};
            item.CtlType = ODT_LISTBOX;
            item.itemID = static_cast<UINT>(index);
            item.itemAction = ODA_DRAWENTIRE;
            item.hwndItem = target->Handle();
            item.hDC = dc;
            item.rcItem = RECT{0, 0, width, height};
            target->Perform(CN_DRAWITEM, 0, reinterpret_cast<LPARAM>(&item));
        });
    };
    SIZE glyph = CheckBoxGlyphSize();
    int left = (list->CheckWidth() - glyph.cx) / 2, top = (height - glyph.cx) / 2;
    auto check = DrawnPixels(width, height, [&](HDC dc) {
        ThemeServices()->DrawElement(dc, GetElementDetails(tbCheckBoxCheckedNormal), Bounds(left, top, glyph.cx, glyph.cy));
    });
    auto checked = drawItem(list, 0);
    for (int y = top; y < top + glyph.cy; ++y)
        for (int x = left; x < left + glyph.cx; ++x)
            if (Pixel(check, width, x, y) != 0xFF00FF) {
                ASSERT_EQ(Pixel(checked, width, x, y), Pixel(check, width, x, y)) << x << "," << y;
            }
    // A header has no check column: its background starts at the left edge.
    auto header = drawItem(list, 1);
    EXPECT_EQ(Pixel(header, width, 1, 1), RGBOf(GetSysColor(COLOR_INFOBK)));
    auto nothing = drawItem(empty, -1);
    EXPECT_EQ(nothing, std::vector<uint32_t>(width * height, 0xFF00FF));
    EXPECT_EQ(emptyBeneath.Count(CN_DRAWITEM), 0);
}

TEST(ThemedDrawing, KeysInASubclassedButtonClearTheHiddenCuesOfItsForm)
{
    if (!Styled())
        GTEST_SKIP() << "buttons are not subclassed without a style";
    TestForm f;
    MessageRecorder form(f.form);
    f->Show();
    auto* button = Place<TButton>(f.form, 10, 10, 75, 25);
    auto* text = Place<TStaticText>(f.form, 10, 50, 100, 17);
    text->SetCaption("&Подпись");
    TestManager m;
    Pump();
    button->Perform(WM_KEYDOWN, 'A', 0);
    EXPECT_EQ(form.Count(WM_CHANGEUISTATE), 0);
    for (WPARAM key : {VK_TAB, VK_LEFT, VK_DOWN})
        button->Perform(WM_KEYDOWN, key, 0);
    ValidateRect(text->Handle(), nullptr);
    button->Perform(WM_SYSKEYDOWN, VK_MENU, 0);
    const WPARAM showFocus = MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), showAccel = MAKEWPARAM(UIS_CLEAR, UISF_HIDEACCEL);
    // Once for the key and once for the key notification the button sends itself.
    EXPECT_EQ(form.WParams(WM_CHANGEUISTATE), (std::vector<WPARAM>{showFocus, showFocus, showFocus, showFocus, showFocus,
                                                                    showFocus, showAccel, showAccel}));
    EXPECT_TRUE(GetUpdateRect(text->Handle(), nullptr, FALSE));  // its underlined key shows again
}
