#include "ui/Graphics.h"

#include <cstring>
#include <map>
#include <tuple>

#include "ui/Exceptions.h"
#include "ui/Text.h"

COLORREF ColorToRGB(TColor color)
{
    if ((color & 0xFF000000u) == clSystemColor)
        return GetSysColor(static_cast<int>(color & 0xFF));
    return color & 0x00FFFFFFu;
}

HFONT FontHandle(const TFont& font)
{
    // Fonts are few (a handful of styles per program); keep them for the whole run.
    static std::map<std::tuple<std::string, int, unsigned>, HFONT> cache;
    auto key = std::make_tuple(font.Name, font.Height, font.Style);
    auto it = cache.find(key);
    if (it != cache.end())
        return it->second;
    LOGFONTW lf{};
    lf.lfHeight = font.Height;
    lf.lfWeight = (font.Style & fsBold) ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = (font.Style & fsItalic) ? TRUE : FALSE;
    lf.lfUnderline = (font.Style & fsUnderline) ? TRUE : FALSE;
    lf.lfStrikeOut = (font.Style & fsStrikeOut) ? TRUE : FALSE;
    lf.lfCharSet = RUSSIAN_CHARSET;
    std::wstring face = ToWide(font.Name);
    wcsncpy(lf.lfFaceName, face.c_str(), LF_FACESIZE - 1);
    HFONT h = CreateFontIndirectW(&lf);
    cache.emplace(key, h);
    return h;
}

TCanvas::~TCanvas() { Release(); }

void TCanvas::SetHandle(HDC dc)
{
    if (dc == dc_)
        return;
    Release();
    dc_ = dc;
}

void TCanvas::Release()
{
    // The DC gets its own objects back before ours are deleted.
    if (dc_) {
        if (oldPen_)
            SelectObject(dc_, oldPen_);
        if (oldBrush_)
            SelectObject(dc_, oldBrush_);
        if (oldFont_)
            SelectObject(dc_, oldFont_);
    }
    oldPen_ = oldBrush_ = oldFont_ = nullptr;
    pen_.Reset();
    brush_.Reset();
    stockBrush_ = nullptr;
    fontSelected_ = false;
    dc_ = nullptr;
}

HBRUSH TCanvas::CurrentBrush() const { return brush_ ? brush_.Get() : stockBrush_; }

void TCanvas::ApplyPen()
{
    if (pen_ && penUsed_.Color == Pen.Color && penUsed_.Width == Pen.Width && penUsed_.Style == Pen.Style)
        return;
    int style = Pen.Style == TPenStyle::psDash ? PS_DASH
              : Pen.Style == TPenStyle::psDot  ? PS_DOT
              : Pen.Style == TPenStyle::psClear ? PS_NULL
                                                : PS_SOLID;
    TPenHandle pen(CreatePen(style, Pen.Width, ColorToRGB(Pen.Color)));
    HGDIOBJ old = SelectObject(dc_, pen.Get());
    if (!oldPen_)
        oldPen_ = old;
    pen_ = std::move(pen);  // the pen it replaces is no longer selected
    penUsed_ = Pen;
}

void TCanvas::ApplyBrush()
{
    if (CurrentBrush() && brushUsed_.Color == Brush.Color && brushUsed_.Style == Brush.Style)
        return;
    TBrushHandle made;
    HBRUSH stock = nullptr;
    if (Brush.Style == TBrushStyle::bsClear)
        stock = static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
    else
        made.Reset(CreateSolidBrush(ColorToRGB(Brush.Color)));
    HGDIOBJ old = SelectObject(dc_, made ? static_cast<HGDIOBJ>(made.Get()) : stock);
    if (!oldBrush_)
        oldBrush_ = old;
    brush_ = std::move(made);
    stockBrush_ = stock;
    brushUsed_ = Brush;
    SetBkMode(dc_, Brush.Style == TBrushStyle::bsClear ? TRANSPARENT : OPAQUE);
    SetBkColor(dc_, ColorToRGB(Brush.Color));
}

void TCanvas::ApplyFont()
{
    if (!fontSelected_ || fontUsed_ != Font) {
        HGDIOBJ old = SelectObject(dc_, FontHandle(Font));
        if (!oldFont_)
            oldFont_ = old;
        fontUsed_ = Font;
        fontSelected_ = true;
    }
    SetTextColor(dc_, ColorToRGB(Font.Color));
}

void TCanvas::FillRect(const TRect& r)
{
    ApplyBrush();
    RECT rc = r.ToRECT();
    if (Brush.Style != TBrushStyle::bsClear)
        ::FillRect(dc_, &rc, CurrentBrush());
}

void TCanvas::FrameRect(const TRect& r)
{
    ApplyBrush();
    RECT rc = r.ToRECT();
    ::FrameRect(dc_, &rc, CurrentBrush());
}

void TCanvas::Rectangle(int x1, int y1, int x2, int y2)
{
    ApplyPen();
    ApplyBrush();
    ::Rectangle(dc_, x1, y1, x2, y2);
}

void TCanvas::RoundRect(int x1, int y1, int x2, int y2, int w, int h)
{
    ApplyPen();
    ApplyBrush();
    ::RoundRect(dc_, x1, y1, x2, y2, w, h);
}

void TCanvas::Ellipse(int x1, int y1, int x2, int y2)
{
    ApplyPen();
    ApplyBrush();
    ::Ellipse(dc_, x1, y1, x2, y2);
}

void TCanvas::MoveTo(int x, int y) { MoveToEx(dc_, x, y, nullptr); }

void TCanvas::LineTo(int x, int y)
{
    ApplyPen();
    ::LineTo(dc_, x, y);
}

void TCanvas::Polygon(const TPoint* points, int count)
{
    ApplyPen();
    ApplyBrush();
    static_assert(sizeof(TPoint) == sizeof(POINT), "TPoint matches POINT");
    ::Polygon(dc_, reinterpret_cast<const POINT*>(points), count);
}

void TCanvas::TextOut(int x, int y, const std::string& text)
{
    ApplyFont();
    ApplyBrush();
    std::wstring w = ToWide(text);
    ::TextOutW(dc_, x, y, w.c_str(), static_cast<int>(w.size()));
}

void TCanvas::TextRect(const TRect& r, int x, int y, const std::string& text)
{
    ApplyFont();
    ApplyBrush();
    RECT rc = r.ToRECT();
    std::wstring w = ToWide(text);
    UINT opts = ETO_CLIPPED | (Brush.Style != TBrushStyle::bsClear ? ETO_OPAQUE : 0);
    ExtTextOutW(dc_, x, y, opts, &rc, w.c_str(), static_cast<UINT>(w.size()), nullptr);
}

int TCanvas::TextWidth(const std::string& text)
{
    ApplyFont();
    std::wstring w = ToWide(text);
    SIZE sz{};
    GetTextExtentPoint32W(dc_, w.c_str(), static_cast<int>(w.size()), &sz);
    return sz.cx;
}

int TCanvas::TextHeight(const std::string& text)
{
    ApplyFont();
    std::wstring w = ToWide(text.empty() ? std::string("W") : text);
    SIZE sz{};
    GetTextExtentPoint32W(dc_, w.c_str(), static_cast<int>(w.size()), &sz);
    return sz.cy;
}

void TCanvas::Draw(int x, int y, TBitmap* bitmap)
{
    if (!bitmap || bitmap->Empty())
        return;
    BitBlt(dc_, x, y, bitmap->Width(), bitmap->Height(), bitmap->Canvas()->Handle(), 0, 0, SRCCOPY);
}

void TCanvas::StretchDraw(const TRect& r, TBitmap* bitmap)
{
    if (!bitmap || bitmap->Empty())
        return;
    SetStretchBltMode(dc_, COLORONCOLOR);
    StretchBlt(dc_, r.Left, r.Top, r.Width(), r.Height(), bitmap->Canvas()->Handle(), 0, 0,
               bitmap->Width(), bitmap->Height(), SRCCOPY);
}

void TCanvas::CopyRect(const TRect& dest, TCanvas* source, const TRect& src)
{
    SetStretchBltMode(dc_, COLORONCOLOR);
    StretchBlt(dc_, dest.Left, dest.Top, dest.Width(), dest.Height(), source->Handle(), src.Left,
               src.Top, src.Width(), src.Height(), SRCCOPY);
}

TColor TCanvas::Pixel(int x, int y) { return GetPixel(dc_, x, y); }

void TCanvas::SetPixel(int x, int y, TColor color) { ::SetPixel(dc_, x, y, ColorToRGB(color)); }

TBitmap::~TBitmap() { SetSize(0, 0); }

HBITMAP CreateTopDownDib(int width, int height, uint32_t*& bits)
{
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = width;
    bi.bmiHeader.biHeight = -height;  // top-down
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    void* pixels = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &pixels, nullptr, 0);
    bits = bitmap ? static_cast<uint32_t*>(pixels) : nullptr;
    return bitmap;
}

void TBitmap::SetSize(int w, int h)
{
    if (w == width_ && h == height_ && (bmp_ || w == 0 || h == 0))
        return;
    canvas_.SetHandle(nullptr);
    selected_.reset();
    dc_.Reset();
    bmp_.Reset();
    bits_ = nullptr;
    width_ = w > 0 ? w : 0;
    height_ = h > 0 ? h : 0;
    if (width_ == 0 || height_ == 0)
        return;
    uint32_t* bits = nullptr;
    TBitmapHandle bmp(CreateTopDownDib(width_, height_, bits));
    TMemoryDC dc(bmp ? CreateCompatibleDC(nullptr) : nullptr);
    if (!bmp || !dc) {
        width_ = height_ = 0;
        throw Exception(LastWin32ErrorText(bmp ? "CreateCompatibleDC" : "CreateDIBSection"));
    }
    bmp_ = std::move(bmp);
    dc_ = std::move(dc);
    selected_.emplace(dc_.Get(), bmp_.Get());
    bits_ = bits;
}

TCanvas* TBitmap::Canvas()
{
    if (!dc_)
        SetSize(width_ > 0 ? width_ : 1, height_ > 0 ? height_ : 1);
    canvas_.SetHandle(dc_.Get());
    return &canvas_;
}

uint32_t* TBitmap::ScanLine(int y)
{
    if (!bits_ || y < 0 || y >= height_)
        return nullptr;
    GdiFlush();
    return bits_ + static_cast<size_t>(y) * static_cast<size_t>(width_);
}

void TBitmap::LoadFromFile(const std::string& fileName)
{
    TBitmapHandle loaded(static_cast<HBITMAP>(LoadImageW(nullptr, ToWide(fileName).c_str(), IMAGE_BITMAP, 0, 0,
                                                         LR_LOADFROMFILE | LR_CREATEDIBSECTION)));
    if (!loaded)
        throw Exception("Bitmap image is not valid: " + fileName);
    BITMAP info{};
    GetObjectW(loaded.Get(), sizeof info, &info);
    SetSize(info.bmWidth, info.bmHeight);
    TMemoryDC src(CreateCompatibleDC(nullptr));
    if (!src)
        throw Exception(LastWin32ErrorText("CreateCompatibleDC"));
    TSelectObject selected(src.Get(), loaded.Get());
    BitBlt(dc_.Get(), 0, 0, width_, height_, src.Get(), 0, 0, SRCCOPY);
}

void TBitmap::Assign(TBitmap* other)
{
    if (!other || other == this)
        return;
    SetSize(other->Width(), other->Height());
    if (!Empty())
        BitBlt(dc_.Get(), 0, 0, width_, height_, other->Canvas()->Handle(), 0, 0, SRCCOPY);
}

void Frame3D(HDC dc, RECT& r, TColor topLeft, TColor bottomRight, int w)
{
    TBrushHandle lightBrush(CreateSolidBrush(ColorToRGB(topLeft)));
    TBrushHandle darkBrush(CreateSolidBrush(ColorToRGB(bottomRight)));
    HBRUSH light = lightBrush.Get(), dark = darkBrush.Get();
    for (int i = 0; i < w; ++i) {
        RECT top{r.left, r.top, r.right - 1, r.top + 1}, left{r.left, r.top, r.left + 1, r.bottom - 1};
        RECT bottom{r.left, r.bottom - 1, r.right, r.bottom}, right{r.right - 1, r.top, r.right, r.bottom};
        FillRect(dc, &top, light);
        FillRect(dc, &left, light);
        FillRect(dc, &bottom, dark);
        FillRect(dc, &right, dark);
        InflateRect(&r, -1, -1);
    }
}
