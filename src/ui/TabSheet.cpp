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
        WindowDCScope dc(handle_);
        RECT r;
        GetWindowRect(handle_, &r);
        OffsetRect(&r, -r.left, -r.top);
        ExcludeClipRect(dc.DC(), borderWidth_, borderWidth_, r.right - borderWidth_, r.bottom - borderWidth_);
        TBrushHandle brush(CreateSolidBrush(ColorToRGB(color_)));
        FillRect(dc.DC(), &r, brush.Get());
        m.Result = 0;
        return;
    }
    }
    TWinControl::WndProc(m);
}
