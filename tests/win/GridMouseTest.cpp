// A draw grid as the step editor uses it: thousands of columns sized at once, drawing
// outside painting, mouse events after the grid's own handling with the capture, the
// keys the message carries and double clicks, the wheel a handler can take, the popup
// menu taken away and given back, the pictures an open menu shows, and scrolling by
// LeftCol and TopRow.
#include <gtest/gtest.h>

#include <algorithm>
#include <cwchar>

#include "UiTestHelpers.h"
#include "ui/Grids.h"
#include "ui/Menus.h"

namespace {

struct MouseGrid : testing::Test {
    void SetUp() override
    {
        f->Show();
        grid = new TDrawGrid(f.form);
        grid->SetParent(f.form);
        grid->SetBounds(0, 0, 300, 200);
        grid->SetColCount(8001);
        grid->SetRowCount(43);
        grid->SetFixedRows(3);
        grid->SetDefaultColWidth(25);
        grid->SetDefaultRowHeight(24);
        grid->SetColWidths(0, 80);
        grid->SetOptions(goFixedVertLine | goFixedHorzLine | goVertLine | goHorzLine);
        grid->DefaultDrawing = false;
    }
    LPARAM At(int col, int row)
    {
        TRect r = grid->CellRect(col, row);
        return MAKELPARAM(r.Left + 3, r.Top + 3);
    }
    TestForm f;
    TDrawGrid* grid = nullptr;
};

struct MouseCall {
    TMouseButton button;
    TShiftState shift;
    int col, row;      // the grid's current cell when the handler ran
    int x, y;
};

} // namespace

TEST_F(MouseGrid, WidthsOfEveryColumnAtOnce)
{
    std::vector<int> widths(8000);
    for (size_t i = 0; i < widths.size(); ++i)
        widths[i] = 2 + static_cast<int>(i % 8);
    grid->SetLeftCol(7990);
    grid->SetColWidthsFrom(1, widths);
    EXPECT_EQ(grid->ColWidths(1), 2);
    EXPECT_EQ(grid->ColWidths(8000), 2 + 7999 % 8);
    EXPECT_EQ(grid->ColWidths(0), 80);
    // Narrow columns: more fit, so the view scrolls back to stay full.
    EXPECT_LT(grid->LeftCol(), 7990);
    EXPECT_GE(grid->LeftCol() + grid->VisibleColCount(), 8000);
    TRect first = grid->CellRect(grid->LeftCol(), 3);
    EXPECT_EQ(first.Left, 81);
    EXPECT_EQ(first.Width(), grid->ColWidths(grid->LeftCol()));
}

TEST_F(MouseGrid, MouseHandlersRunAfterTheGridMovedItsCurrentCell)
{
    std::vector<MouseCall> downs, ups;
    grid->OnMouseDown = [&](TObject*, TMouseButton b, TShiftState s, int x, int y) {
        downs.push_back({b, s, grid->Col(), grid->Row(), x, y});
    };
    grid->OnMouseUp = [&](TObject*, TMouseButton b, TShiftState s, int x, int y) {
        ups.push_back({b, s, grid->Col(), grid->Row(), x, y});
    };
    HWND h = grid->Handle();
    SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT | MK_CONTROL, At(4, 6));
    ASSERT_EQ(downs.size(), 1u);
    EXPECT_EQ(downs[0].button, mbLeft);
    EXPECT_EQ(downs[0].col, 4);
    EXPECT_EQ(downs[0].row, 6);
    EXPECT_TRUE(downs[0].shift & ssShift) << "the keys come from the message";
    EXPECT_TRUE(downs[0].shift & ssCtrl);
    EXPECT_TRUE(downs[0].shift & ssLeft);
    EXPECT_FALSE(downs[0].shift & ssDouble);
    SendMessageW(h, WM_LBUTTONUP, 0, At(4, 6));
    SendMessageW(h, WM_LBUTTONDBLCLK, MK_LBUTTON, At(4, 6));
    ASSERT_EQ(downs.size(), 2u);
    EXPECT_TRUE(downs[1].shift & ssDouble);
    SendMessageW(h, WM_LBUTTONUP, 0, At(4, 6));
    // A click on a header leaves the current cell where it was.
    SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, At(7, 0));
    EXPECT_EQ(downs.back().col, 4);
    SendMessageW(h, WM_LBUTTONUP, 0, At(7, 0));
    SendMessageW(h, WM_RBUTTONDOWN, MK_RBUTTON, At(2, 8));
    EXPECT_EQ(downs.back().button, mbRight);
    EXPECT_EQ(downs.back().col, 4) << "the right button does not move it";
    SendMessageW(h, WM_RBUTTONUP, 0, At(2, 8));
    EXPECT_EQ(ups.size(), 4u);
}

TEST_F(MouseGrid, ADragKeepsTheCaptureAndReportsMovesOutsideTheGrid)
{
    std::vector<MouseCall> moves;
    grid->OnMouseMove = [&](TObject*, TShiftState s, int x, int y) { moves.push_back({mbLeft, s, 0, 0, x, y}); };
    HWND h = grid->Handle();
    SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, At(2, 4));
    EXPECT_EQ(GetCapture(), h);
    SendMessageW(h, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(-20, 500));
    ASSERT_EQ(moves.size(), 1u);
    EXPECT_EQ(moves[0].x, -20);
    EXPECT_EQ(moves[0].y, 500);
    EXPECT_TRUE(moves[0].shift & ssLeft);
    EXPECT_EQ(grid->Col(), 2) << "without range selection a drag leaves the current cell";
    SendMessageW(h, WM_LBUTTONUP, 0, MAKELPARAM(-20, 500));
    EXPECT_NE(GetCapture(), h);
    SendMessageW(h, WM_MOUSEMOVE, 0, At(3, 4));
    EXPECT_FALSE(moves.back().shift & ssLeft);
}

TEST_F(MouseGrid, TheWheelScrollsUnlessAHandlerTakesIt)
{
    HWND h = grid->Handle();
    SendMessageW(h, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), 0);
    EXPECT_EQ(grid->TopRow(), 3 + 3) << "no handler: three rows down";
    int downs = 0, ups = 0;
    grid->OnMouseWheelDown = [&](TObject*, TShiftState, TPoint, bool& handled) {
        ++downs;
        handled = true;
    };
    grid->OnMouseWheelUp = [&](TObject*, TShiftState s, TPoint p, bool& handled) {
        ++ups;
        EXPECT_TRUE(s & ssCtrl);
        EXPECT_EQ(p.X, 150);
        handled = false;
    };
    SendMessageW(h, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), 0);
    EXPECT_EQ(downs, 1);
    EXPECT_EQ(grid->TopRow(), 6) << "handled: no scrolling";
    SendMessageW(h, WM_MOUSEWHEEL, MAKEWPARAM(MK_CONTROL, WHEEL_DELTA), MAKELPARAM(150, 160));
    EXPECT_EQ(ups, 1);
    EXPECT_EQ(grid->TopRow(), 3) << "left unhandled: it scrolls";
}

namespace {
// Ends the popup menu that is open now, from inside its own message loop.
void CALLBACK CloseMenuSoon(HWND, UINT, UINT_PTR id, DWORD)
{
    KillTimer(nullptr, id);
    EndMenu();
}
} // namespace

TEST_F(MouseGrid, APopupMenuTakenAwayOpensNoMoreUntilItIsBack)
{
    auto* menu = new TPopupMenu(f.form);
    auto* item = new TMenuItem(f.form);
    item->Caption = "Копировать";
    menu->Add(item);
    int popups = 0;
    menu->OnPopup = [&](TObject*) {
        ++popups;
        SetTimer(nullptr, 0, 30, CloseMenuSoon);
    };
    grid->PopupMenu = menu;
    HWND h = grid->Handle();
    TPoint screen = grid->ClientToScreen(TPoint{100, 100});
    SendMessageW(h, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(h), MAKELPARAM(screen.X, screen.Y));
    EXPECT_EQ(popups, 1);
    EXPECT_EQ(menu->PopupComponent, grid);
    grid->PopupMenu = nullptr;
    SendMessageW(h, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(h), MAKELPARAM(screen.X, screen.Y));
    EXPECT_EQ(popups, 1);
    // Given back from the right button's own handler, before the menu is asked for.
    grid->OnMouseDown = [&](TObject*, TMouseButton b, TShiftState, int, int) {
        if (b == mbRight)
            grid->PopupMenu = menu;
    };
    SendMessageW(h, WM_RBUTTONDOWN, MK_RBUTTON, At(3, 5));
    SendMessageW(h, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(h), MAKELPARAM(screen.X, screen.Y));
    EXPECT_EQ(popups, 2);
}

TEST(PopupMenus, ItemsTakeTheirPicturesFromTheImageListAndDashesSeparate)
{
    TestForm f;
    auto* images = new TImageList(f.form);
    TBitmap picture;
    picture.SetSize(32, 16);
    picture.Canvas()->Brush.Color = 0x00FF00;
    picture.Canvas()->FillRect(Rect(0, 0, 32, 16));
    picture.Canvas()->Brush.Color = 0xFF00FF;  // each picture's transparent colour at its bottom left
    picture.Canvas()->FillRect(Rect(0, 15, 1, 16));
    picture.Canvas()->FillRect(Rect(16, 15, 17, 16));
    ASSERT_EQ(images->Add(&picture), 0);
    ASSERT_EQ(images->Count(), 2);
    auto* menu = new TPopupMenu(f.form);
    menu->Images = images;
    const char* captions[] = {"Вставить новый шаг", "-", "Вырезать"};
    for (int i = 0; i < 3; ++i) {
        auto* item = new TMenuItem(f.form);
        item->Caption = captions[i];
        item->ImageIndex = i == 2 ? 1 : i == 0 ? 0 : -1;
        menu->Add(item);
    }
    HMENU h = menu->CreateMenuHandle();
    ASSERT_EQ(GetMenuItemCount(h), 3);
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_BITMAP | MIIM_ID;
    ASSERT_TRUE(GetMenuItemInfoW(h, 1, TRUE, &info));
    EXPECT_TRUE(info.fType & MFT_SEPARATOR);
    ASSERT_TRUE(GetMenuItemInfoW(h, 2, TRUE, &info));
    EXPECT_EQ(info.wID, 3u);
    EXPECT_EQ(info.hbmpItem, images->AlphaBitmap(1));
    ASSERT_NE(info.hbmpItem, nullptr);
    BITMAP bm{};
    GetObjectW(info.hbmpItem, sizeof bm, &bm);
    EXPECT_EQ(bm.bmBitsPixel, 32);
    const uint32_t* bits = static_cast<const uint32_t*>(bm.bmBits);
    ASSERT_NE(bits, nullptr);
    EXPECT_EQ(bits[0] >> 24, 0xFFu) << "a picture pixel is opaque";
    EXPECT_EQ(bits[15 * 16] >> 24, 0u) << "the transparent colour is clear (top-down rows)";
    DestroyMenu(h);
    EXPECT_EQ(images->AlphaBitmap(2), nullptr);
}

namespace {
// What the popup menu open now shows (the menu window of this thread), then ends it.
std::vector<COLORREF> shownMenu;
void CALLBACK TakeMenuPictureAndClose(HWND, UINT, UINT_PTR id, DWORD)
{
    KillTimer(nullptr, id);
    auto take = [](HWND window, LPARAM) -> BOOL {
        wchar_t name[16];
        if (IsWindowVisible(window) && GetClassNameW(window, name, 16) && wcscmp(name, L"#32768") == 0) {
            UpdateWindow(window);
            RECT r;
            GetClientRect(window, &r);
            HDC dc = GetDC(window);
            for (int y = 0; y < r.bottom; ++y)
                for (int x = 0; x < r.right; ++x)
                    shownMenu.push_back(GetPixel(dc, x, y));
            ReleaseDC(window, dc);
        }
        return TRUE;
    };
    EnumThreadWindows(GetCurrentThreadId(), take, 0);
    EndMenu();
}
} // namespace

TEST(PopupMenus, AnOpenMenuShowsTheItemsPictures)
{
    TestForm f;
    f->Show();
    auto* images = new TImageList(f.form);
    TBitmap picture;
    picture.SetSize(16, 16);
    picture.Canvas()->Brush.Color = clLime;
    picture.Canvas()->FillRect(Rect(0, 0, 16, 16));
    picture.Canvas()->SetPixel(0, 15, clFuchsia);  // the transparent colour
    images->Add(&picture);
    auto* menu = new TPopupMenu(f.form);
    menu->Images = images;
    auto* item = new TMenuItem(f.form);
    item->Caption = "Вставить";
    item->ImageIndex = 0;
    menu->Add(item);
    menu->OnPopup = [](TObject*) { SetTimer(nullptr, 0, 100, TakeMenuPictureAndClose); };
    shownMenu.clear();
    menu->Popup(200, 200);
    const COLORREF lime = ColorToRGB(clLime);
    EXPECT_GE(std::count(shownMenu.begin(), shownMenu.end(), lime), 16 * 16 - 1);
}

TEST_F(MouseGrid, DrawingOutsidePaintingReachesTheWindow)
{
    UpdateWindow(grid->Handle());
    TRect cell = grid->CellRect(2, 4);
    TCanvas* canvas = grid->Canvas();
    canvas->Brush.Color = 0x0000FF;
    canvas->FillRect(cell);
    HDC dc = GetDC(grid->Handle());
    EXPECT_EQ(GetPixel(dc, cell.Left + 2, cell.Top + 2), RGB(255, 0, 0));
    // A paint in between takes the canvas; the next drawing gets it back.
    grid->Invalidate();
    UpdateWindow(grid->Handle());
    canvas = grid->Canvas();
    canvas->Brush.Color = 0x00FF00;
    canvas->FillRect(cell);
    EXPECT_EQ(GetPixel(dc, cell.Left + 2, cell.Top + 2), RGB(0, 255, 0));
    ReleaseDC(grid->Handle(), dc);
}

TEST_F(MouseGrid, LeftColAndTopRowScrollTheCells)
{
    int changes = 0;
    grid->OnTopLeftChanged = [&](TObject*) { ++changes; };
    grid->SetLeftCol(500);
    grid->SetTopRow(10);
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(grid->LeftCol(), 500);
    EXPECT_EQ(grid->TopRow(), 10);
    EXPECT_EQ(grid->CellRect(500, 10).Left, 81);
    EXPECT_EQ(grid->CellRect(500, 10).Top, 3 * 25);
    EXPECT_EQ(grid->CellRect(499, 10).Width(), 0);
    int col, row;
    grid->MouseToCell(82, 3 * 25 + 1, col, row);
    EXPECT_EQ(col, 500);
    EXPECT_EQ(row, 10);
    grid->SetTopRow(1000);
    EXPECT_EQ(grid->TopRow() + grid->VisibleRowCount(), 43) << "no further than the last row";
}

TEST_F(MouseGrid, CellsDrawnOneAfterAnotherWithTheSameBrushAllShowIt)
{
    // The canvas keeps its brush from cell to cell; limiting each cell's drawing must
    // not leave the device context with another brush or background colour.
    grid->OnDrawCell = [&](TObject*, int, int, TRect rect, TGridDrawState) {
        TCanvas* c = grid->Canvas();
        c->Brush.Color = 0x9BDFC4;
        c->TextRect(rect, rect.Left, rect.Top, "");
        TPoint corner[] = {{rect.Left, rect.Top}, {rect.Left + 6, rect.Top}, {rect.Left, rect.Top + 6}};
        c->Pen.Color = 0x9BDFC4;
        c->Polygon(corner, 3);
    };
    grid->Invalidate();
    UpdateWindow(grid->Handle());
    HDC dc = GetDC(grid->Handle());
    for (int col : {1, 2, 3}) {
        TRect cell = grid->CellRect(col, 4);
        EXPECT_EQ(GetPixel(dc, cell.Left + 10, cell.Top + 10), RGB(0xC4, 0xDF, 0x9B)) << col;
        EXPECT_EQ(GetPixel(dc, cell.Left + 1, cell.Top + 1), RGB(0xC4, 0xDF, 0x9B)) << col;
    }
    ReleaseDC(grid->Handle(), dc);
}
