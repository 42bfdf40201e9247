// The running program's step grid, edited from outside with mouse and key messages and
// checked on a picture taken from the screen.
#include <gtest/gtest.h>

#include <vector>

#include "ProgramUnderTest.h"

namespace {

// A new scenario at zoom 1.0: the names column is 80 pixels wide, every step (1 time
// unit) 25, every row 24, with 1-pixel lines between them.
POINT CellMiddle(int col, int row)
{
    int x = col == 0 ? 40 : 81 + (col - 1) * 26 + 12;
    return POINT{x, row * 25 + 12};
}

LPARAM At(int col, int row)
{
    POINT p = CellMiddle(col, row);
    return MAKELPARAM(p.x, p.y);
}

// The child window that scrolls both ways: the grid.
HWND FindGrid(HWND main)
{
    for (HWND child : ChildrenOfClass(main, L"")) {
        LONG style = GetWindowLongW(child, GWL_STYLE);
        if ((style & WS_HSCROLL) && (style & WS_VSCROLL))
            return child;
    }
    return nullptr;
}

// The grid's client area as the screen shows it, 0x00RRGGBB per pixel.
class ScreenShot {
public:
    explicit ScreenShot(HWND window)
    {
        RECT r;
        GetClientRect(window, &r);
        POINT origin{0, 0};
        ClientToScreen(window, &origin);
        width_ = r.right;
        height_ = r.bottom;
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width_;
        info.bmiHeader.biHeight = -height_;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        void* bits = nullptr;
        HDC screen = GetDC(nullptr);
        HDC memory = CreateCompatibleDC(screen);
        HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        HGDIOBJ old = SelectObject(memory, bitmap);
        BitBlt(memory, 0, 0, width_, height_, screen, origin.x, origin.y, SRCCOPY);
        GdiFlush();
        const uint32_t* p = static_cast<const uint32_t*>(bits);
        pixels_.assign(p, p + static_cast<size_t>(width_) * static_cast<size_t>(height_));
        SelectObject(memory, old);
        DeleteObject(bitmap);
        DeleteDC(memory);
        ReleaseDC(nullptr, screen);
    }
    uint32_t At(int x, int y) const
    {
        if (x < 0 || y < 0 || x >= width_ || y >= height_)
            return 0xFFFFFFFF;
        return pixels_[static_cast<size_t>(y) * static_cast<size_t>(width_) + static_cast<size_t>(x)] & 0xFFFFFF;
    }

private:
    int width_ = 0, height_ = 0;
    std::vector<uint32_t> pixels_;
};

// 0x00RRGGBB of a colour value 0x00BBGGRR.
uint32_t Rgb(uint32_t color) { return ((color & 0xFF) << 16) | (color & 0xFF00) | ((color >> 16) & 0xFF); }

// Waits until the screen shows colour at (x, y) of the window, or the time is up.
bool ShowsSoon(HWND window, int x, int y, uint32_t color)
{
    return PollUntil([&] { return ScreenShot(window).At(x, y) == color; });
}

TEST(GridWindow, MouseAndKeysEditTheScenarioThatTheScreenShows)
{
    std::wstring exe = ProgramFromEnvironment(L"PELVOR_EXE");
    ASSERT_FALSE(exe.empty()) << "PELVOR_EXE names the program under test";
    ProgramUnderTest program(exe);
    ASSERT_TRUE(program.Start());
    HWND main = program.WaitForWindow(L"Новый.scn");
    ASSERT_NE(main, nullptr);
    ASSERT_TRUE(Settle(main)) << "the program did not answer";  // done with the new scenario's columns
    HWND grid = FindGrid(main);
    ASSERT_NE(grid, nullptr) << "no grid among the main window's children";
    SetForegroundWindow(main);

    // A double click makes an off cell the full level; a click and two spaces make
    // another one ramp up; a click and a Shift-click select a rectangle.
    SendMessageW(grid, WM_LBUTTONDOWN, MK_LBUTTON, At(2, 3));
    SendMessageW(grid, WM_LBUTTONUP, 0, At(2, 3));
    SendMessageW(grid, WM_LBUTTONDBLCLK, MK_LBUTTON, At(2, 3));
    SendMessageW(grid, WM_LBUTTONUP, 0, At(2, 3));
    SendMessageW(grid, WM_LBUTTONDOWN, MK_LBUTTON, At(7, 4));
    SendMessageW(grid, WM_LBUTTONUP, 0, At(7, 4));
    SendMessageW(grid, WM_CHAR, L' ', 0);
    SendMessageW(grid, WM_CHAR, L' ', 0);
    SendMessageW(grid, WM_LBUTTONDOWN, MK_LBUTTON, At(3, 5));
    SendMessageW(grid, WM_LBUTTONUP, 0, At(3, 5));
    SendMessageW(grid, WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT, At(5, 7));
    SendMessageW(grid, WM_LBUTTONUP, MK_SHIFT, At(5, 7));

    POINT selected = CellMiddle(4, 6);
    ASSERT_TRUE(ShowsSoon(grid, selected.x, selected.y, Rgb(0xFF0000))) << "the selection is drawn blue";
    POINT level = CellMiddle(2, 3), ramp = CellMiddle(7, 4), off = CellMiddle(6, 6), current = CellMiddle(5, 7);
    // The screen may catch the grid in the middle of a repaint: wait until the last
    // cell the shot checks shows its colour, then read the whole picture.
    ASSERT_TRUE(ShowsSoon(grid, CellMiddle(4, 2).x, 2 * 25 + 3, Rgb(0x9BDFC4))) << "the loops row is drawn";
    ScreenShot shot(grid);
    PollUntil([&] {
        shot = ScreenShot(grid);
        return shot.At(off.x, off.y) == 0 && shot.At(current.x - 11, 1) == Rgb(0xF0CAA6);
    });
    EXPECT_EQ(shot.At(level.x, level.y), Rgb(0xF0FBFF)) << "a full bar";
    EXPECT_EQ(shot.At(ramp.x + 9, ramp.y + 9), Rgb(0xF0FBFF)) << "the ramp's filled corner";
    EXPECT_EQ(shot.At(ramp.x - 9, ramp.y - 9), 0x000000u) << "and its empty one";
    EXPECT_EQ(shot.At(off.x, off.y), 0x000000u);
    EXPECT_EQ(shot.At(current.x, current.y - 11), Rgb(0x0000FF)) << "the current cell's frame";
    EXPECT_EQ(shot.At(current.x - 11, 1), Rgb(0xF0CAA6)) << "the play column's number";
    EXPECT_EQ(shot.At(77, 7 * 25 + 2), Rgb(0xF0CAA6)) << "the current row's channel name";
    EXPECT_EQ(shot.At(CellMiddle(4, 2).x, 2 * 25 + 3), Rgb(0x9BDFC4)) << "the loops row";

    // Edits ask before the program closes.
    PostMessageW(main, WM_CLOSE, 0, 0);
    HWND question = program.WaitForWindow(L"Выход");
    EXPECT_NE(question, nullptr) << "an edited scenario is not left without asking";
    if (question)
        PostMessageW(question, WM_COMMAND, IDNO, 0);  // "No": close without saving
    EXPECT_EQ(program.WaitForExit(), 0);
}

} // namespace
