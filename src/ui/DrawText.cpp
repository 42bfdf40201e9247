#include "ui/DrawText.h"

#include "ui/Handles.h"
#include "ui/PaintScopes.h"
#include "ui/Text.h"

int DrawCaption(HDC dc, const std::string& text, RECT& r, unsigned flags, const TFont& font, TColor color)
{
    std::wstring w = ToWide(text);
    // The DC's colour, mode and font come back when the scope ends.
    SavedDCScope saved(dc);
    TSelectObject selected(dc, FontHandle(font));
    SetTextColor(dc, ColorToRGB(color));
    SetBkMode(dc, TRANSPARENT);
    return DrawTextW(dc, w.c_str(), static_cast<int>(w.size()), &r, flags);
}

SIZE MeasureCaption(const std::string& text, const TFont& font, unsigned flags, int wrapWidth)
{
    TWindowDC screen(nullptr);
    RECT r{0, 0, wrapWidth, 0};
    // An empty caption still has the height of one line.
    DrawCaption(screen.Get(), text.empty() ? std::string(" ") : text, r, flags | DT_CALCRECT, font, clBlack);
    SIZE s{r.right - r.left, r.bottom - r.top};
    if (text.empty())
        s.cx = 0;
    return s;
}
