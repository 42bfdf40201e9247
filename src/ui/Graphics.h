#pragma once
// Colours, drawing objects, canvases over device contexts and off-screen bitmaps
// (32 bits per pixel, top-down DIB sections). Used on the GUI thread, except a
// bitmap's canvas, which a drawing thread may use while no one else touches it.
#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>

#include "ui/Handles.h"

// 0x00BBGGRR, or a system colour: 0xFF000000 | the COLOR_* index.
using TColor = uint32_t;
constexpr TColor clSystemColor = 0xFF000000;
constexpr TColor clBlack = 0x000000, clWhite = 0xFFFFFF, clRed = 0x0000FF, clLime = 0x00FF00,
                 clBlue = 0xFF0000, clYellow = 0x00FFFF, clGray = 0x808080, clSilver = 0xC0C0C0,
                 clNavy = 0x800000, clMaroon = 0x000080, clGreen = 0x008000, clAqua = 0xFFFF00,
                 clFuchsia = 0xFF00FF, clOlive = 0x008080, clTeal = 0x808000, clPurple = 0x800080;
constexpr TColor clBtnFace = clSystemColor | COLOR_BTNFACE;
constexpr TColor clWindow = clSystemColor | COLOR_WINDOW;
constexpr TColor clWindowText = clSystemColor | COLOR_WINDOWTEXT;
constexpr TColor clBtnText = clSystemColor | COLOR_BTNTEXT;
constexpr TColor clBtnShadow = clSystemColor | COLOR_BTNSHADOW;
constexpr TColor clBtnHighlight = clSystemColor | COLOR_BTNHIGHLIGHT;
constexpr TColor clHighlight = clSystemColor | COLOR_HIGHLIGHT;
constexpr TColor clHighlightText = clSystemColor | COLOR_HIGHLIGHTTEXT;
constexpr TColor clGrayText = clSystemColor | COLOR_GRAYTEXT;
constexpr TColor clInfoBk = clSystemColor | COLOR_INFOBK;
constexpr TColor clInfoText = clSystemColor | COLOR_INFOTEXT;
constexpr TColor clNone = 0x1FFFFFFF;

COLORREF ColorToRGB(TColor color);
// Draws a 3-D edge of width w just inside r, one ring of pixels at a time, and shrinks r
// by it.
void Frame3D(HDC dc, RECT& r, TColor topLeft, TColor bottomRight, int w);

struct TPoint {
    int X = 0, Y = 0;
};

struct TRect {
    int Left = 0, Top = 0, Right = 0, Bottom = 0;
    int Width() const { return Right - Left; }
    int Height() const { return Bottom - Top; }
    RECT ToRECT() const { return RECT{Left, Top, Right, Bottom}; }
    static TRect From(const RECT& r) { return TRect{r.left, r.top, r.right, r.bottom}; }
};
inline TRect Rect(int l, int t, int r, int b) { return TRect{l, t, r, b}; }
inline TRect Bounds(int l, int t, int w, int h) { return TRect{l, t, l + w, t + h}; }

enum TFontStyle : unsigned { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };
enum class TPenStyle { psSolid, psDash, psDot, psClear };
enum class TBrushStyle { bsSolid, bsClear };

struct TFont {
    std::string Name = "Tahoma";
    int Height = -11;          // pixels, negative: character height
    TColor Color = clWindowText;
    unsigned Style = 0;        // TFontStyle bits
    bool operator==(const TFont& o) const
    {
        return Name == o.Name && Height == o.Height && Color == o.Color && Style == o.Style;
    }
    bool operator!=(const TFont& o) const { return !(*this == o); }
};

struct TPen {
    TColor Color = clBlack;
    int Width = 1;
    TPenStyle Style = TPenStyle::psSolid;
};

struct TBrush {
    TColor Color = clWhite;
    TBrushStyle Style = TBrushStyle::bsSolid;
};

// HFONT for a font description; the handle is cached and owned by the library.
HFONT FontHandle(const TFont& font);

class TBitmap;

// Drawing on a device context. Pen, Brush and Font are plain values that the next
// drawing call applies; GDI objects are created on demand and released with the canvas.
class TCanvas {
public:
    TCanvas() = default;
    explicit TCanvas(HDC dc) { SetHandle(dc); }
    ~TCanvas();
    TCanvas(const TCanvas&) = delete;
    TCanvas& operator=(const TCanvas&) = delete;

    HDC Handle() const { return dc_; }
    // Attaches a DC (not owned) or detaches with null; the DC's objects are restored.
    void SetHandle(HDC dc);

    void FillRect(const TRect& r);
    void FrameRect(const TRect& r);
    void Rectangle(int x1, int y1, int x2, int y2);
    void Rectangle(const TRect& r) { Rectangle(r.Left, r.Top, r.Right, r.Bottom); }
    void RoundRect(int x1, int y1, int x2, int y2, int w, int h);
    void Ellipse(int x1, int y1, int x2, int y2);
    void MoveTo(int x, int y);
    void LineTo(int x, int y);
    void Polygon(const TPoint* points, int count);
    void TextOut(int x, int y, const std::string& text);
    void TextRect(const TRect& r, int x, int y, const std::string& text);
    int TextWidth(const std::string& text);
    int TextHeight(const std::string& text);
    void Draw(int x, int y, TBitmap* bitmap);
    void StretchDraw(const TRect& r, TBitmap* bitmap);
    void CopyRect(const TRect& dest, TCanvas* source, const TRect& src);
    TColor Pixel(int x, int y);
    void SetPixel(int x, int y, TColor color);

    TPen Pen;
    TBrush Brush;
    TFont Font;

private:
    void ApplyPen();
    void ApplyBrush();
    void ApplyFont();
    void Release();
    HBRUSH CurrentBrush() const;

    HDC dc_ = nullptr;      // not owned
    TPenHandle pen_;        // selected while attached
    TBrushHandle brush_;    // selected while attached (null for the stock clear brush)
    HBRUSH stockBrush_ = nullptr;
    TPen penUsed_;
    TBrush brushUsed_;
    TFont fontUsed_;
    bool fontSelected_ = false;
    HGDIOBJ oldPen_ = nullptr, oldBrush_ = nullptr, oldFont_ = nullptr;
};

// A top-down 32-bpp DIB section of width x height held by no DC, its pixels at bits;
// null (and bits null) when it cannot be made.
HBITMAP CreateTopDownDib(int width, int height, uint32_t*& bits);

// An off-screen 32-bpp bitmap with its own memory DC and canvas.
class TBitmap {
public:
    TBitmap() = default;
    ~TBitmap();
    TBitmap(const TBitmap&) = delete;
    TBitmap& operator=(const TBitmap&) = delete;

    int Width() const { return width_; }
    int Height() const { return height_; }
    // Resizes to w x h (contents are cleared to black); 0 releases the bitmap.
    void SetSize(int w, int h);
    bool Empty() const { return width_ == 0 || height_ == 0; }
    TCanvas* Canvas();
    HBITMAP Handle() const { return bmp_.Get(); }
    // Pixel row y (0 at the top), 0x00RRGGBB values; null outside the bitmap.
    uint32_t* ScanLine(int y);
    // Loads a bitmap file (*.bmp); raises EInvalidGraphic-like Exception on failure.
    void LoadFromFile(const std::string& fileName);
    void Assign(TBitmap* other);

private:
    // Released in reverse order: the canvas lets go of the DC, the bitmap is selected
    // out of the DC, the DC is deleted, then the bitmap.
    int width_ = 0, height_ = 0;
    TBitmapHandle bmp_;
    TMemoryDC dc_;
    std::optional<TSelectObject> selected_;
    uint32_t* bits_ = nullptr;
    TCanvas canvas_;
};
