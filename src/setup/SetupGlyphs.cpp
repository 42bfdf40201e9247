#include "setup/SetupGlyphs.h"

#include <functional>

#include "setup/UnitChSetup.h"
#include "ui/GlyphCanvas.h"

namespace {

void Draw(TSpeedButton* button, const std::function<void(TCanvas&)>& draw)
{
    draw(BlankGlyph(button->Glyph(), 0x303030));
}

void OpenFolder(TCanvas& c)
{
    c.Brush.Color = 0x30B0E0;
    TPoint back[] = {{1, 3}, {6, 3}, {8, 5}, {13, 5}, {13, 13}, {1, 13}};
    c.Polygon(back, 6);
    c.Brush.Color = 0x60D8F8;
    TPoint front[] = {{3, 8}, {15, 8}, {13, 13}, {1, 13}};
    c.Polygon(front, 4);
}

void SaveDisk(TCanvas& c)
{
    c.Brush.Color = 0x905020;
    c.Rectangle(1, 1, 15, 15);
    c.Brush.Color = 0xF0F0F0;
    c.Rectangle(4, 1, 12, 7);
    c.Brush.Color = 0x505050;
    c.Rectangle(5, 10, 11, 15);
}

void Restore(TCanvas& c)
{
    c.Pen.Width = 2;
    c.Pen.Color = 0x2080C0;
    c.MoveTo(12, 4);
    c.LineTo(5, 4);
    c.LineTo(3, 7);
    c.LineTo(3, 10);
    c.LineTo(6, 13);
    c.LineTo(12, 13);
    c.Pen.Width = 1;
    c.Brush.Color = 0x2080C0;
    TPoint head[] = {{11, 0}, {15, 4}, {11, 8}};
    c.Polygon(head, 3);
}

void Picture(TCanvas& c)
{
    c.Brush.Color = 0xF0E0C0;
    c.Rectangle(1, 2, 15, 14);
    c.Brush.Color = 0x308030;
    TPoint hill[] = {{2, 12}, {6, 7}, {9, 10}, {11, 8}, {14, 12}};
    c.Polygon(hill, 5);
    c.Brush.Color = 0x00D0FF;
    c.Ellipse(9, 3, 13, 7);
}

void Cross(TCanvas& c)
{
    c.Pen.Width = 2;
    c.Pen.Color = 0x2020D0;
    c.MoveTo(3, 3);
    c.LineTo(13, 13);
    c.MoveTo(13, 3);
    c.LineTo(3, 13);
    c.Pen.Width = 1;
}

} // namespace

void LoadSetupGlyphs(TFormChSetup& form)
{
    Draw(form.SpeedButtonOpen, OpenFolder);
    Draw(form.SpeedButtonSave, SaveDisk);
    Draw(form.SpeedButtonDefault, Restore);
    Draw(form.SpeedButtonOpenBMP, Picture);
    Draw(form.SpeedButtonClearBMP, [](TCanvas& c) {
        Picture(c);
        Cross(c);
    });
}
