// Painting: an exception thrown while painting leaves no half-done paint behind (one
// failing paint gives one error box, canvases let go of the DC), and forms and custom
// controls paint into a DC handed to them by WM_PAINT or WM_PRINTCLIENT.
#include <gtest/gtest.h>

#include "UiTestHelpers.h"
#include "ui/Exceptions.h"
#include "ui/ExtCtrls.h"
#include "ui/Grids.h"

namespace {

// Answers boxes like RecordingDialogs but runs a message loop meanwhile, as a real box
// does; a window left invalid would be painted again (and fail again) inside it.
class LoopingDialogs : public RecordingDialogs {
public:
    int ShowMessageBox(void* owner, const std::string& text, const std::string& caption, unsigned flags) override
    {
        int answer = RecordingDialogs::ShowMessageBox(owner, text, caption, flags);
        if (++depth_ < 4)
            Pump();
        --depth_;
        return answer;
    }

private:
    int depth_ = 0;
};

class PaintingControl : public TCustomControl {
public:
    using TCustomControl::TCustomControl;
    bool fail = false;
    TColor fill = clRed;

protected:
    void Paint() override
    {
        if (fail)
            throw Exception("paint failed");
        Canvas()->Brush.Color = fill;
        Canvas()->FillRect(ClientRect());
    }
};

// A 32-bpp memory DC of the given size.
struct MemoryDC {
    MemoryDC(int w, int h) : dc(CreateCompatibleDC(nullptr))
    {
        BITMAPINFO bi{};
        bi.bmiHeader.biSize = sizeof bi.bmiHeader;
        bi.bmiHeader.biWidth = w;
        bi.bmiHeader.biHeight = -h;
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = 32;
        void* bits = nullptr;
        bmp = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
        old = SelectObject(dc, bmp);
    }
    ~MemoryDC()
    {
        SelectObject(dc, old);
        DeleteObject(bmp);
        DeleteDC(dc);
    }
    HDC dc;
    HBITMAP bmp;
    HGDIOBJ old;
};

bool StillInvalid(HWND h) { return GetUpdateRect(h, nullptr, FALSE) != FALSE; }

} // namespace

TEST(PaintErrors, AFailingPaintShowsOneBoxAndLeavesTheCanvasAndWindowClean)
{
    LoopingDialogs dialogs;
    TestForm f;
    f->Show();
    auto* control = new PaintingControl(f.form);
    control->SetParent(f.form);
    control->SetBounds(0, 0, 50, 50);
    auto* box = new TPaintBox(f.form);
    box->SetParent(f.form);
    box->SetBounds(200, 0, 50, 50);
    UpdateWindow(f->Handle());
    UpdateWindow(control->Handle());

    control->fail = true;
    control->Invalidate();
    UpdateWindow(control->Handle());
    EXPECT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(control->Canvas()->Handle(), nullptr);
    EXPECT_FALSE(StillInvalid(control->Handle()));
    control->fail = false;

    dialogs.boxes.clear();
    box->OnPaint = [](TObject*) { throw Exception("paint box failed"); };
    box->Invalidate();
    UpdateWindow(f->Handle());
    EXPECT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(box->Canvas()->Handle(), nullptr);
    EXPECT_FALSE(StillInvalid(f->Handle()));
    box->OnPaint = nullptr;

    dialogs.boxes.clear();
    f->OnPaint = [](TObject*) { throw Exception("form paint failed"); };
    f->Invalidate();
    UpdateWindow(f->Handle());
    EXPECT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(f->Canvas()->Handle(), nullptr);
    EXPECT_FALSE(StillInvalid(f->Handle()));
    f->OnPaint = nullptr;
}

TEST(PaintErrors, AGridWhoseCellDrawingFailsStillRepaintsOnChanges)
{
    LoopingDialogs dialogs;
    TestForm f;
    f->Show();
    auto* grid = new TDrawGrid(f.form);
    grid->SetParent(f.form);
    grid->SetBounds(0, 0, 200, 150);
    bool fail = true;
    grid->OnDrawCell = [&](TObject*, int, int, TRect, TGridDrawState) {
        if (fail)
            throw Exception("cell failed");
    };
    grid->Invalidate();
    UpdateWindow(grid->Handle());
    EXPECT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_FALSE(StillInvalid(grid->Handle()));
    fail = false;
    // The grid is not left "painting": a new column width repaints it.
    grid->SetColWidths(1, 40);
    EXPECT_TRUE(StillInvalid(grid->Handle()));
}

TEST(PaintIntoDC, FormsAndCustomControlsPaintIntoTheDCTheyAreGiven)
{
    TestForm f;
    f->Show();
    f->OnPaint = [&](TObject*) {
        f->Canvas()->Brush.Color = clBlue;
        f->Canvas()->FillRect(Rect(0, 0, 100, 100));
    };
    auto* box = new TPaintBox(f.form);
    box->SetParent(f.form);
    box->SetBounds(20, 20, 10, 10);
    box->OnPaint = [&](TObject*) {
        box->Canvas()->Brush.Color = clLime;
        box->Canvas()->FillRect(Rect(0, 0, 10, 10));
    };
    {
        MemoryDC mem(100, 100);
        SendMessageW(f->Handle(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(mem.dc), PRF_CLIENT);
        EXPECT_EQ(GetPixel(mem.dc, 5, 5), RGB(0, 0, 255));
        EXPECT_EQ(GetPixel(mem.dc, 25, 25), RGB(0, 255, 0));  // the non-windowed child too
    }
    {
        MemoryDC mem(100, 100);
        SendMessageW(f->Handle(), WM_PAINT, reinterpret_cast<WPARAM>(mem.dc), 0);
        EXPECT_EQ(GetPixel(mem.dc, 5, 5), RGB(0, 0, 255));
    }
    auto* control = new PaintingControl(f.form);
    control->SetParent(f.form);
    control->SetBounds(150, 0, 40, 40);
    MemoryDC mem(40, 40);
    SendMessageW(control->Handle(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(mem.dc), PRF_CLIENT);
    EXPECT_EQ(GetPixel(mem.dc, 5, 5), RGB(255, 0, 0));
}
