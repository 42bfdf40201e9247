// Grids: geometry, drawing of the visible cells only, the current cell with
// OnSelectCell, keys, scrolling and the string grid's in-place editor.
#include <gtest/gtest.h>

#include <algorithm>

#include "UiTestHelpers.h"
#include "ui/StringGrid.h"

namespace {

struct GridFixture : testing::Test {
    void SetUp() override
    {
        f->Show();
        grid = new TDrawGrid(f.form);
        grid->SetParent(f.form);
        grid->SetBounds(0, 0, 300, 200);
        grid->SetDefaultColWidth(25);
        grid->SetDefaultRowHeight(24);
    }
    TestForm f;
    TDrawGrid* grid = nullptr;
};

} // namespace

TEST_F(GridFixture, CellRectAndMouseToCellAgreeAfterScrolling)
{
    grid->SetColCount(8001);
    grid->SetRowCount(643);
    grid->SetFixedRows(3);
    grid->SetColWidths(0, 80);
    TRect r = grid->CellRect(0, 1);
    EXPECT_EQ(r.Top, 24 + 1);  // one row and one grid line
    EXPECT_EQ(r.Width(), 80);
    TRect first = grid->CellRect(1, 3);
    EXPECT_EQ(first.Left, 81);
    EXPECT_EQ(first.Top, 3 * 25);
    grid->SetCol(8000);
    grid->SetRow(642);
    EXPECT_GT(grid->LeftCol(), 7000);
    TRect last = grid->CellRect(8000, 642);
    ASSERT_GT(last.Width(), 0);
    int col, row;
    grid->MouseToCell(last.Left + 3, last.Top + 3, col, row);
    EXPECT_EQ(col, 8000);
    EXPECT_EQ(row, 642);
    EXPECT_EQ(grid->CellRect(1, 3).Width(), 0);  // scrolled out of view
    grid->MouseToCell(5, 5, col, row);
    EXPECT_EQ(col, 0);
    EXPECT_EQ(row, 0);
}

TEST_F(GridFixture, PaintDrawsOnlyTheVisibleCells)
{
    grid->SetColCount(8001);
    grid->SetRowCount(643);
    grid->DefaultDrawing = false;
    int cells = 0;
    grid->OnDrawCell = [&](TObject*, int, int, TRect rect, TGridDrawState) {
        ++cells;
        EXPECT_LT(rect.Left, 300);
    };
    grid->Invalidate();
    UpdateWindow(grid->Handle());
    int visible = (grid->VisibleColCount() + 2) * (grid->VisibleRowCount() + 2);
    EXPECT_GT(cells, 0);
    EXPECT_LE(cells, visible);
}

TEST_F(GridFixture, InvalidatingTheGridRepaintsItsCellsWithoutErasingItFirst)
{
    UpdateWindow(grid->Handle());
    // What the window shows before the paint: red everywhere. While the cells are being
    // drawn, nothing of the new picture may reach the window (no fill of the cell area
    // first, no cell half drawn); then it shows the cells, the grid lines and the rest.
    HWND h = grid->Handle();
    HDC dc = GetDC(h);
    RECT client;
    GetClientRect(h, &client);
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    FillRect(dc, &client, red);
    DeleteObject(red);
    TRect last = grid->CellRect(4, 4);
    TPoint inLastCell{last.Left + last.Width() / 2, last.Top + last.Height() / 2};
    TPoint onLine{grid->CellRect(2, 2).Right, inLastCell.Y};
    TPoint pastLastColumn{last.Right + 20, inLastCell.Y};
    std::vector<COLORREF> seenWhileDrawing;
    grid->DefaultDrawing = false;
    grid->OnDrawCell = [&](TObject*, int, int, TRect rect, TGridDrawState) {
        for (TPoint p : {inLastCell, onLine, pastLastColumn})
            seenWhileDrawing.push_back(GetPixel(dc, p.X, p.Y));
        grid->Canvas()->Brush.Color = clLime;
        grid->Canvas()->FillRect(rect);
    };
    std::vector<UINT> sequence;
    TWndMethod own = grid->WindowProc;
    grid->WindowProc = [&](TMessage& m) {
        if (m.Msg == WM_ERASEBKGND || m.Msg == WM_PAINT)
            sequence.push_back(m.Msg);
        own(m);
    };
    grid->Invalidate();
    UpdateWindow(h);
    grid->WindowProc = own;
    EXPECT_EQ(sequence, std::vector<UINT>{WM_PAINT});
    EXPECT_EQ(seenWhileDrawing.size(), 25u * 3u);
    EXPECT_EQ(std::count(seenWhileDrawing.begin(), seenWhileDrawing.end(), RGB(255, 0, 0)),
              static_cast<std::ptrdiff_t>(seenWhileDrawing.size()));
    EXPECT_EQ(GetPixel(dc, inLastCell.X, inLastCell.Y), RGB(0, 255, 0));
    EXPECT_EQ(GetPixel(dc, onLine.X, onLine.Y), ColorToRGB(clSilver));
    EXPECT_EQ(GetPixel(dc, pastLastColumn.X, pastLastColumn.Y), ColorToRGB(clWindow));
    // Cells repainted at once (after a click) go the same way: exactly the block asked
    // for is drawn, each cell once, and shows without waiting for a paint.
    std::vector<std::pair<int, int>> drawn;
    grid->OnDrawCell = [&](TObject*, int col, int row, TRect rect, TGridDrawState) {
        drawn.emplace_back(col, row);
        grid->Canvas()->Brush.Color = clBlue;
        grid->Canvas()->FillRect(rect);
    };
    grid->PaintCells(TGridRect{2, 2, 3, 3});
    std::sort(drawn.begin(), drawn.end());
    EXPECT_EQ(drawn, (std::vector<std::pair<int, int>>{{2, 2}, {2, 3}, {3, 2}, {3, 3}}));
    TRect block = grid->CellRect(3, 3);
    EXPECT_EQ(GetPixel(dc, block.Left + 1, block.Top + 1), RGB(0, 0, 255));
    EXPECT_EQ(GetPixel(dc, inLastCell.X, inLastCell.Y), RGB(0, 255, 0));
    ReleaseDC(h, dc);
}

TEST_F(GridFixture, SelectCellCanRefuseAndKeysMoveTheCurrentCell)
{
    grid->SetColCount(50);
    grid->SetRowCount(30);
    std::vector<std::pair<int, int>> asked;
    bool refuse = false;
    grid->OnSelectCell = [&](TObject*, int c, int r, bool& can) {
        asked.emplace_back(c, r);
        can = !refuse;
    };
    refuse = true;
    grid->SetCol(5);
    EXPECT_EQ(grid->Col(), 1);
    refuse = false;
    SendMessageW(grid->Handle(), WM_KEYDOWN, VK_RIGHT, 0);
    EXPECT_EQ(grid->Col(), 2);
    SendMessageW(grid->Handle(), WM_KEYDOWN, VK_END, 0);
    EXPECT_EQ(grid->Col(), 49);
    EXPECT_GE(grid->LeftCol() + grid->VisibleColCount(), 50);
    SendMessageW(grid->Handle(), WM_KEYDOWN, VK_HOME, 0);
    EXPECT_EQ(grid->Col(), 1);
    EXPECT_EQ(grid->LeftCol(), 1);
    int page = grid->VisibleRowCount();
    SendMessageW(grid->Handle(), WM_KEYDOWN, VK_NEXT, 0);
    EXPECT_EQ(grid->Row(), 1 + page);
    SendMessageW(grid->Handle(), WM_KEYDOWN, VK_UP, 0);
    EXPECT_EQ(grid->Row(), page);
    ASSERT_GE(asked.size(), 5u);
    EXPECT_EQ(asked[0], std::make_pair(5, 1));
    // A key handler that takes the key stops the navigation.
    grid->OnKeyDown = [](TObject*, WORD& key, TShiftState) { key = 0; };
    SendMessageW(grid->Handle(), WM_KEYDOWN, VK_DOWN, 0);
    EXPECT_EQ(grid->Row(), page);
}

TEST_F(GridFixture, ScrollBarMovesTheTopRowAndTellsOnTopLeftChanged)
{
    grid->SetRowCount(100);
    int changes = 0;
    grid->OnTopLeftChanged = [&](TObject*) { ++changes; };
    SendMessageW(grid->Handle(), WM_VSCROLL, SB_LINEDOWN, 0);
    EXPECT_EQ(grid->TopRow(), 2);
    SendMessageW(grid->Handle(), WM_VSCROLL, SB_BOTTOM, 0);
    EXPECT_EQ(grid->TopRow() + grid->VisibleRowCount(), 100);
    SendMessageW(grid->Handle(), WM_VSCROLL, SB_BOTTOM, 0);  // already there
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(grid->Row(), 1);  // scrolling does not move the current cell
}

TEST_F(GridFixture, RangeSelectionWithShift)
{
    grid->SetColCount(10);
    grid->SetRowCount(10);
    grid->SetCol(2);
    grid->SetRow(2);
    BYTE state[256];
    GetKeyboardState(state);
    state[VK_SHIFT] = 0x80;
    SetKeyboardState(state);
    SendMessageW(grid->Handle(), WM_KEYDOWN, VK_RIGHT, 0);
    SendMessageW(grid->Handle(), WM_KEYDOWN, VK_DOWN, 0);
    state[VK_SHIFT] = 0;
    SetKeyboardState(state);
    TGridRect s = grid->Selection();
    EXPECT_EQ(s.Left, 2);
    EXPECT_EQ(s.Top, 2);
    EXPECT_EQ(s.Right, 3);
    EXPECT_EQ(s.Bottom, 3);
    SendMessageW(grid->Handle(), WM_KEYDOWN, VK_RIGHT, 0);
    s = grid->Selection();
    EXPECT_EQ(s.Left, 4);
    EXPECT_EQ(s.Right, 4);
}

TEST(StringGrids, InPlaceEditorWritesTheCellAndTellsOnSetEditText)
{
    TestForm f;
    f->Show();
    auto* grid = new TStringGrid(f.form);
    grid->SetParent(f.form);
    grid->SetColCount(3);
    grid->SetRowCount(4);
    grid->SetFixedCols(2);
    grid->SetOptions(grid->Options() | goEditing);
    grid->SetCells(2, 1, "Канал");
    std::vector<std::string> edits;
    grid->OnSetEditText = [&](TObject*, int c, int r, const std::string& v) {
        EXPECT_EQ(c, 2);
        EXPECT_EQ(r, 1);
        edits.push_back(v);
    };
    grid->SetFocus();
    SendMessageW(grid->Handle(), WM_KEYDOWN, VK_F2, 0);
    ASSERT_TRUE(grid->EditorMode());
    TWinControl* editor = nullptr;
    for (int i = 0; i < grid->ControlCount(); ++i)
        if (grid->Controls(i)->IsWindowed())
            editor = static_cast<TWinControl*>(grid->Controls(i));
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->Text(), "Канал");
    SendMessageW(editor->Handle(), WM_CHAR, L'Ж', 0);  // replaces the selected text
    EXPECT_EQ(grid->Cells(2, 1), "Ж");
    SendMessageW(editor->Handle(), WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_FALSE(grid->EditorMode());
    EXPECT_EQ(edits, std::vector<std::string>{"Ж"});
    SendMessageW(grid->Handle(), WM_KEYDOWN, VK_F2, 0);
    SendMessageW(editor->Handle(), WM_CHAR, L'x', 0);
    SendMessageW(editor->Handle(), WM_KEYDOWN, VK_ESCAPE, 0);  // back to what it was
    EXPECT_EQ(grid->Cells(2, 1), "Ж");
    EXPECT_FALSE(grid->EditorMode());
}

namespace {

struct EditingGrid {
    EditingGrid()
    {
        f->Show();
        grid = new TStringGrid(f.form);
        grid->SetParent(f.form);
        grid->SetBounds(0, 0, 300, 200);
        grid->SetColCount(4);
        grid->SetRowCount(4);
        grid->SetOptions(grid->Options() | goEditing);
        other = new TEdit(f.form);  // somewhere for a wrong Tab to go
        other->SetParent(f.form);
        other->SetTop(220);
    }
    TWinControl* Editor() const
    {
        for (int i = 0; i < grid->ControlCount(); ++i)
            if (grid->Controls(i)->IsWindowed())
                return static_cast<TWinControl*>(grid->Controls(i));
        return nullptr;
    }
    TestForm f;
    TStringGrid* grid = nullptr;
    TEdit* other = nullptr;
};

} // namespace

TEST(StringGrids, DoubleClickOpensTheEditorAndTheClickDoesNotCloseIt)
{
    EditingGrid g;
    g.other->SetFocus();
    TRect cell = g.grid->CellRect(2, 2);
    LPARAM at = MAKELPARAM(cell.Left + 3, cell.Top + 3);
    HWND h = g.grid->Handle();
    SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(h, WM_LBUTTONUP, 0, at);
    SendMessageW(h, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
    SendMessageW(h, WM_LBUTTONUP, 0, at);
    Pump();
    EXPECT_EQ(g.grid->Col(), 2);
    EXPECT_EQ(g.grid->Row(), 2);
    ASSERT_TRUE(g.grid->EditorMode());
    EXPECT_EQ(GetFocus(), g.Editor()->Handle());
}

TEST(StringGrids, WithTabsTabInTheEditorMovesToTheNextCell)
{
    EditingGrid g;
    g.grid->SetOptions(g.grid->Options() | goTabs);
    g.grid->SetFocus();
    SendMessageW(g.grid->Handle(), WM_KEYDOWN, VK_F2, 0);
    ASSERT_TRUE(g.grid->EditorMode());
    int col = g.grid->Col();
    PostMessageW(g.Editor()->Handle(), WM_KEYDOWN, VK_TAB, 0);
    Pump();
    EXPECT_EQ(g.grid->Col(), col + 1);
    EXPECT_NE(GetFocus(), g.other->Handle());
}
