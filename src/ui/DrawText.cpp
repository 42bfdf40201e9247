#include "ui/DrawText.h"

#include "ui/Text.h"

int DrawCaption(HDC dc, const std::string& text, RECT& r, unsigned flags, const TFont& font, TColor color)
{
    HGDIOBJ oldFont = SelectObject(dc, FontHandle(font));
    COLORREF oldColor = SetTextColor(dc, ColorToRGB(color));
    int oldMode = SetBkMode(dc, TRANSPARENT);
    std::wstring w = ToWide(text);
    int h = DrawTextW(dc, w.c_str(), static_cast<int>(w.size()), &r, flags);
    SetBkMode(dc, oldMode);
    SetTextColor(dc, oldColor);
    SelectObject(dc, oldFont);
    return h;
}

SIZE MeasureCaption(const std::string& text, const TFont& font, unsigned flags, int wrapWidth)
{
    HDC dc = GetDC(nullptr);
    RECT r{0, 0, wrapWidth, 0};
    // An empty caption still has the height of one line.
    DrawCaption(dc, text.empty() ? std::string(" ") : text, r, flags | DT_CALCRECT, font, clBlack);
    ReleaseDC(nullptr, dc);
    SIZE s{r.right - r.left, r.bottom - r.top};
    if (text.empty())
        s.cx = 0;
    return s;
}
