#pragma once
// What the step grid's cell painter draws with: a canvas reduced to the operations it
// uses. The window implements it over its device context; tests and benchmarks record
// or count the calls. Colours are 0x00BBGGRR values, or a system colour (the high byte
// 0xFF and the system colour's index below).
#include <cstdint>
#include <string>

struct CellBox {
    int left = 0, top = 0, right = 0, bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
};

struct CellPoint {
    int x = 0, y = 0;
};

constexpr uint32_t kSystemColor = 0xFF000000u;
constexpr uint32_t kColorBtnFace = kSystemColor | 15;
constexpr uint32_t kColorBtnShadow = kSystemColor | 16;

class CellCanvas {
public:
    virtual ~CellCanvas() = default;
    // Solid brush, solid pen, font of the grid with this style and colour.
    virtual void SetBrush(uint32_t color) = 0;
    virtual void SetPen(uint32_t color, int width) = 0;
    virtual void SetFont(bool bold, uint32_t color) = 0;
    virtual void FillRect(const CellBox& box) = 0;
    // Fills box with the brush and writes text at (x, y), clipped to box.
    virtual void TextRect(const CellBox& box, int x, int y, const std::string& text) = 0;
    // Writes text at (x, y) on the brush's colour.
    virtual void TextOut(int x, int y, const std::string& text) = 0;
    virtual int TextWidth(const std::string& text) = 0;
    virtual int TextHeight(const std::string& text) = 0;
    // Filled with the brush, outlined with the pen.
    virtual void RoundRect(const CellBox& box, int cornerWidth, int cornerHeight) = 0;
    virtual void Polygon(const CellPoint* points, int count) = 0;
    // With the pen; the end point itself is not drawn.
    virtual void Line(int x1, int y1, int x2, int y2) = 0;
    virtual void Polyline(const CellPoint* points, int count) = 0;
};
