#include "ui/TabSheet.h"

#include <algorithm>

#include "ui/PaintScopes.h"

void TTabSheet::SetBorderWidth(int value)
{
    borderWidth_ = std::max(0, value);
    if (HandleAllocated())
        SetWindowPos(handle_, nullptr, 0, 0, 0, 0,
                     SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TTabSheet::WndProc(TMessage& m)
{
    switch (m.Msg) {
    case WM_NCCALCSIZE: {
        DefaultHandler(m);
        // Both forms of the message start with the window's new rectangle.
        RECT* r = reinterpret_cast<RECT*>(m.LParam);
        InflateRect(r, -borderWidth_, -borderWidth_);
        return;
    }
    case WM_NCPAINT: {
        DefaultHandler(m);
        if (borderWidth_ == 0)
            return;
        HDC dc = GetWindowDC(handle_);
        RECT r;
        GetWindowRect(handle_, &r);
        OffsetRect(&r, -r.left, -r.top);
        ExcludeClipRect(dc, borderWidth_, borderWidth_, r.right - borderWidth_, r.bottom - borderWidth_);
        HBRUSH brush = CreateSolidBrush(ColorToRGB(color_));
        FillRect(dc, &r, brush);
        DeleteObject(brush);
        ReleaseDC(handle_, dc);
        m.Result = 0;
        return;
    }
    }
    TWinControl::WndProc(m);
}
