// The step grid as it appears on the screen: a scenario edited with real mouse and key
// messages, then the grid's window captured and its pixels checked for the cells'
// effects, the selection, the current cell's frame, the headers and the loop bars.
#include "MainFormFixture.h"

#include <memory>

namespace {

// 0x00RRGGBB, as a captured pixel reads, of a colour value 0x00BBGGRR.
uint32_t Rgb(uint32_t color) { return ((color & 0xFF) << 16) | (color & 0xFF00) | ((color >> 16) & 0xFF); }

class MainGridScreenTest : public ShownMainFormTest {
protected:
    TPoint Middle(int col, int row)
    {
        TRect r = form->Grid->CellRect(col, row);
        return TPoint{r.Left + r.Width() / 2, r.Top + r.Height() / 2};
    }
    LPARAM At(int col, int row)
    {
        TPoint p = Middle(col, row);
        return MAKELPARAM(p.X, p.Y);
    }
    void Send(UINT message, WPARAM keys, int col, int row) { SendMessageW(form->Grid->Handle(), message, keys, At(col, row)); }
    void Click(int col, int row, WPARAM keys = 0)
    {
        Send(WM_LBUTTONDOWN, MK_LBUTTON | keys, col, row);
        Send(WM_LBUTTONUP, keys, col, row);
    }
    // What the grid's window shows now.
    void Capture()
    {
        HWND h = form->Grid->Handle();
        UpdateWindow(h);
        RECT r;
        GetClientRect(h, &r);
        shot = std::make_unique<TBitmap>();
        shot->SetSize(r.right, r.bottom);
        HDC dc = GetDC(h);
        BitBlt(shot->Canvas()->Handle(), 0, 0, r.right, r.bottom, dc, 0, 0, SRCCOPY);
        ReleaseDC(h, dc);
        GdiFlush();
    }
    uint32_t Pixel(int x, int y) { return shot->ScanLine(y)[x] & 0xFFFFFF; }
    uint32_t PixelIn(int col, int row, int dx, int dy)
    {
        TRect r = form->Grid->CellRect(col, row);
        return Pixel(dx >= 0 ? r.Left + dx : r.Right + dx, dy >= 0 ? r.Top + dy : r.Bottom + dy);
    }

    std::unique_ptr<TBitmap> shot;
};

TEST_F(MainGridScreenTest, AnEditedScenarioShowsItsCellsHeadersLoopsAndSelection)
{
    form->Scn().loops = {{2, 4, 3}, {6, 6, kEndlessLoop}};
    form->Scn().labels = {1};
    SendMessageW(form->Grid->Handle(), WM_LBUTTONDBLCLK, MK_LBUTTON, At(2, 3));  // off -> full level
    Send(WM_LBUTTONUP, 0, 2, 3);
    Click(5, 4);
    SendMessageW(form->Grid->Handle(), WM_CHAR, L' ', 0);  // off -> level
    SendMessageW(form->Grid->Handle(), WM_CHAR, L' ', 0);  // level -> ramp up
    Click(3, 6);
    Click(4, 7, MK_SHIFT);  // cells (3..4, 6..7) selected
    Click(8, 9, MK_CONTROL);  // one more cell
    Click(7, 8, MK_CONTROL);  // and the current cell, selected too
    ASSERT_EQ(form->Grid->Col(), 7);
    ASSERT_EQ(form->Grid->Row(), 8);
    Capture();

    const uint32_t black = 0x000000;
    // Effects: a full bar, a ramp up (filled bottom right, black top left), an off cell.
    EXPECT_EQ(Pixel(Middle(2, 3).X, Middle(2, 3).Y), Rgb(0xF0FBFF));
    EXPECT_EQ(PixelIn(5, 4, -4, -4), Rgb(0xF0FBFF));
    EXPECT_EQ(PixelIn(5, 4, 3, 3), black);
    EXPECT_EQ(Pixel(Middle(9, 10).X, Middle(9, 10).Y), black);
    // The selection: blue cells; a cell outside it stays black.
    EXPECT_EQ(Pixel(Middle(3, 6).X, Middle(3, 6).Y), Rgb(0xFF0000));
    EXPECT_EQ(Pixel(Middle(4, 7).X, Middle(4, 7).Y), Rgb(0xFF0000));
    EXPECT_EQ(Pixel(Middle(8, 9).X, Middle(8, 9).Y), Rgb(0xFF0000));
    EXPECT_EQ(Pixel(Middle(5, 6).X, Middle(5, 6).Y), black);
    // The current cell's red frame, on the blue of its own selection.
    EXPECT_EQ(PixelIn(7, 8, 12, 1), Rgb(0x0000FF));
    EXPECT_EQ(PixelIn(7, 8, 1, 12), Rgb(0x0000FF));
    EXPECT_EQ(Pixel(Middle(7, 8).X, Middle(7, 8).Y), Rgb(0xFF0000));
    // Headers: the play column (the current one) and the labelled column 1.
    EXPECT_EQ(PixelIn(7, 0, 1, 1), Rgb(0xF0CAA6));
    EXPECT_EQ(PixelIn(1, 0, 1, 1), Rgb(0x7474FF));
    EXPECT_EQ(PixelIn(0, 8, -3, 2), Rgb(0xF0CAA6)) << "the current row's channel name";
    EXPECT_NE(PixelIn(0, 9, -3, 2), Rgb(0xF0CAA6));
    // Loops: a counted bar over steps 2..4, an endless pill on step 6, the bare row.
    EXPECT_EQ(PixelIn(3, 2, 2, 2), Rgb(0x808000));
    EXPECT_EQ(PixelIn(2, 2, -2, 2), Rgb(0x808000)) << "the bar runs on from its first step";
    EXPECT_EQ(PixelIn(6, 2, 3, 12), Rgb(0x804B99));
    EXPECT_EQ(PixelIn(6, 2, 0, 0), Rgb(0x9BDFC4)) << "a pill's corner";
    EXPECT_EQ(PixelIn(8, 2, 3, 3), Rgb(0x9BDFC4));
}

} // namespace
