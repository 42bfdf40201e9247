#include "editor/MainGlyphs.h"

#include <functional>

#include "editor/UnitMain.h"
#include "ui/GlyphCanvas.h"

namespace {

constexpr TColor kBack = kGlyphTransparent;
constexpr TColor kInk = kGlyphInk;

void PaintBitmap(TBitmap* glyph, const std::function<void(TCanvas&)>& draw) { draw(BlankGlyph(glyph)); }

void Paint(TSpeedButton* button, const std::function<void(TCanvas&)>& draw) { PaintBitmap(button->Glyph(), draw); }

// Adds a picture to the image list and gives it to a menu item.
void Picture(TImageList* images, TMenuItem* item, const std::function<void(TCanvas&)>& draw)
{
    TBitmap bitmap;
    PaintBitmap(&bitmap, draw);
    item->ImageIndex = images->Add(&bitmap);
}

void Page(TCanvas& c)
{
    c.Brush.Color = clWhite;
    TPoint p[] = {{3, 1}, {10, 1}, {13, 4}, {13, 14}, {3, 14}};
    c.Polygon(p, 5);
    c.MoveTo(10, 1);
    c.LineTo(10, 4);
    c.LineTo(13, 4);
}

void Folder(TCanvas& c)
{
    c.Brush.Color = 0x40C0F0;
    TPoint p[] = {{1, 4}, {6, 4}, {7, 5}, {14, 5}, {14, 13}, {1, 13}};
    c.Polygon(p, 6);
}

void Disk(TCanvas& c)
{
    c.Brush.Color = 0xA05020;
    c.Rectangle(2, 2, 14, 14);
    c.Brush.Color = clWhite;
    c.Rectangle(4, 2, 12, 7);
    c.Brush.Color = 0x303030;
    c.Rectangle(5, 10, 11, 14);
}

void Arrow(TCanvas& c, bool left)
{
    c.Pen.Width = 2;
    c.Pen.Color = 0x2060C0;
    int a = left ? 4 : 11, b = left ? 11 : 4;
    c.MoveTo(a, 6);
    c.LineTo(b, 6);
    c.LineTo(b, 12);
    c.LineTo(a + (left ? 2 : -2), 12);
    c.Pen.Width = 1;
    c.Brush.Color = 0x2060C0;
    TPoint head[] = {{a, 2}, {a, 10}, {left ? a - 4 : a + 4, 6}};
    c.Polygon(head, 3);
}

void Sign(TCanvas& c, int x, int y, bool plus, TColor color)
{
    c.Pen.Width = 2;
    c.Pen.Color = color;
    c.MoveTo(x - 3, y);
    c.LineTo(x + 3, y);
    if (plus) {
        c.MoveTo(x, y - 3);
        c.LineTo(x, y + 3);
    }
    c.Pen.Width = 1;
    c.Pen.Color = kInk;
}

void Lens(TCanvas& c, bool plus)
{
    c.Pen.Width = 2;
    c.Brush.Color = clWhite;
    c.Ellipse(1, 1, 11, 11);
    c.MoveTo(10, 10);
    c.LineTo(14, 14);
    c.Pen.Width = 1;
    Sign(c, 6, 6, plus, kInk);
}

void Column(TCanvas& c)
{
    c.Brush.Color = 0xE0E0E0;
    c.Rectangle(5, 1, 11, 15);
}

void Loop(TCanvas& c)
{
    c.Pen.Width = 2;
    c.Pen.Color = 0x208020;
    c.Brush.Style = TBrushStyle::bsClear;
    c.Ellipse(2, 3, 12, 13);
    c.Brush.Style = TBrushStyle::bsSolid;
    c.Pen.Width = 1;
}

void Flag(TCanvas& c)
{
    c.MoveTo(3, 1);
    c.LineTo(3, 15);
    c.Brush.Color = 0x2020D0;
    TPoint p[] = {{4, 2}, {11, 5}, {4, 8}};
    c.Polygon(p, 3);
}

void Effect(TCanvas& c, const TPoint* points, int count)
{
    c.Brush.Color = 0x30A0F0;
    c.Polygon(points, count);
}

} // namespace

void LoadMainGlyphs(TFormMain& f)
{
    Paint(f.SpeedButtonNew, [](TCanvas& c) { Page(c); });
    Paint(f.SpeedButtonOpen, [](TCanvas& c) { Folder(c); });
    Paint(f.SpeedButtonSave, [](TCanvas& c) { Disk(c); });
    Paint(f.SpeedButtonSaveAs, [](TCanvas& c) {
        Disk(c);
        c.Brush.Color = kInk;
        c.FillRect(Rect(12, 13, 14, 15));
    });
    Paint(f.SpeedButtonUndo, [](TCanvas& c) { Arrow(c, true); });
    Paint(f.SpeedButtonRedo, [](TCanvas& c) { Arrow(c, false); });
    Paint(f.SpeedButtonLaunch, [](TCanvas& c) {
        c.Brush.Color = 0x20A020;
        TPoint p[] = {{4, 2}, {13, 8}, {4, 14}};
        c.Polygon(p, 3);
    });
    Paint(f.SpeedButtonShow, [](TCanvas& c) {
        c.Brush.Color = 0x302010;
        c.Rectangle(1, 2, 15, 12);
        c.Brush.Color = 0x00D0FF;
        c.Ellipse(4, 4, 8, 8);
        c.Brush.Color = 0xFF8000;
        c.Ellipse(8, 5, 12, 9);
        c.MoveTo(5, 14);
        c.LineTo(11, 14);
    });
    Paint(f.SpeedButtonBurn, [](TCanvas& c) {
        c.Brush.Color = 0x303030;
        c.Rectangle(4, 3, 12, 13);
        for (int y = 4; y < 13; y += 3) {
            c.MoveTo(1, y);
            c.LineTo(4, y);
            c.MoveTo(12, y);
            c.LineTo(15, y);
        }
    });
    Paint(f.SpeedButtonSetup, [](TCanvas& c) {
        c.Pen.Width = 2;
        c.MoveTo(8, 1);
        c.LineTo(8, 15);
        c.MoveTo(1, 8);
        c.LineTo(15, 8);
        c.MoveTo(3, 3);
        c.LineTo(13, 13);
        c.MoveTo(13, 3);
        c.LineTo(3, 13);
        c.Pen.Width = 1;
        c.Brush.Color = 0xA0A0A0;
        c.Ellipse(3, 3, 13, 13);
        c.Brush.Color = kBack;
        c.Ellipse(6, 6, 10, 10);
    });
    Paint(f.SpeedButtonAbout, [](TCanvas& c) {
        c.Brush.Color = 0xC06020;
        c.Ellipse(1, 1, 15, 15);
        c.Pen.Color = clWhite;
        c.Pen.Width = 2;
        c.MoveTo(8, 6);
        c.LineTo(8, 12);
        c.MoveTo(8, 3);
        c.LineTo(8, 4);
    });
    Paint(f.SpeedButtonZoomMinus, [](TCanvas& c) { Lens(c, false); });
    Paint(f.SpeedButtonZoomPlus, [](TCanvas& c) { Lens(c, true); });

    Paint(f.SpeedButtonStepOff, [](TCanvas& c) {
        c.Brush.Color = clWhite;
        c.Rectangle(2, 2, 14, 14);
    });
    Paint(f.SpeedButtonStepLevel, [](TCanvas& c) {
        TPoint p[] = {{2, 2}, {14, 2}, {14, 14}, {2, 14}};
        Effect(c, p, 4);
    });
    Paint(f.SpeedButtonStepUp, [](TCanvas& c) {
        TPoint p[] = {{2, 14}, {14, 2}, {14, 14}};
        Effect(c, p, 3);
    });
    Paint(f.SpeedButtonStepDown, [](TCanvas& c) {
        TPoint p[] = {{2, 2}, {14, 14}, {2, 14}};
        Effect(c, p, 3);
    });
    Paint(f.SpeedButtonStepStrob, [](TCanvas& c) {
        c.Brush.Color = 0x30A0F0;
        for (int x = 2; x < 14; x += 4)
            c.Rectangle(x, 2, x + 2, 14);
    });
    Paint(f.SpeedButtonGradient, [](TCanvas& c) {
        for (int x = 1; x < 15; ++x) {
            uint32_t v = static_cast<uint32_t>(x * 17);
            c.Brush.Color = v | (v << 8) | (v << 16);
            c.FillRect(Rect(x, 3, x + 1, 13));
        }
    });
    Paint(f.SpeedButtonColorRGB, [](TCanvas& c) {
        c.Brush.Color = clRed;
        c.Ellipse(1, 1, 9, 9);
        c.Brush.Color = clLime;
        c.Ellipse(7, 1, 15, 9);
        c.Brush.Color = clBlue;
        c.Ellipse(4, 7, 12, 15);
    });
    auto insertStep = [](TCanvas& c) {
        Column(c);
        Sign(c, 8, 8, true, 0x008000);
    };
    auto deleteStep = [](TCanvas& c) {
        Column(c);
        Sign(c, 8, 8, false, 0x0000C0);
    };
    auto copyFromFile = [](TCanvas& c) {
        Page(c);
        Sign(c, 8, 9, true, 0x008000);
    };
    Paint(f.SpeedButtonInsertStep, insertStep);
    Paint(f.SpeedButtonDelStep, deleteStep);
    Paint(f.SpeedButtonCopyFromFile, copyFromFile);

    // The grid's popup menu.
    Picture(f.ImageList1, f.N_AddStep, insertStep);
    Picture(f.ImageList1, f.N_DelStep, deleteStep);
    Picture(f.ImageList1, f.N_InsertFromFile, copyFromFile);
    Picture(f.ImageList1, f.N_Cut, [](TCanvas& c) {
        c.Pen.Width = 2;
        c.MoveTo(4, 1);
        c.LineTo(10, 10);
        c.MoveTo(12, 1);
        c.LineTo(6, 10);
        c.Pen.Width = 1;
        c.Brush.Style = TBrushStyle::bsClear;
        c.Ellipse(2, 10, 7, 15);
        c.Ellipse(9, 10, 14, 15);
        c.Brush.Style = TBrushStyle::bsSolid;
    });
    auto sheet = [](TCanvas& c, int x, int y) {
        c.Brush.Color = clWhite;
        c.Rectangle(x, y, x + 8, y + 10);
    };
    Picture(f.ImageList1, f.N_Copy, [&](TCanvas& c) {
        sheet(c, 2, 1);
        sheet(c, 6, 5);
    });
    Picture(f.ImageList1, f.N_Paste, [&](TCanvas& c) {
        c.Brush.Color = 0x3070A0;
        c.Rectangle(2, 2, 12, 15);
        c.Brush.Color = 0x909090;
        c.Rectangle(5, 1, 9, 4);
        sheet(c, 7, 6);
    });
    Paint(f.SpeedButtonSubAdd, [](TCanvas& c) {
        Loop(c);
        Sign(c, 12, 12, true, 0x008000);
    });
    Paint(f.SpeedButtonSubDel, [](TCanvas& c) {
        Loop(c);
        Sign(c, 12, 12, false, 0x0000C0);
    });
    Paint(f.SpeedButtonLabelAdd, [](TCanvas& c) {
        Flag(c);
        Sign(c, 11, 12, true, 0x008000);
    });
    Paint(f.SpeedButtonLabelDel, [](TCanvas& c) {
        Flag(c);
        Sign(c, 11, 12, false, 0x0000C0);
    });
}
