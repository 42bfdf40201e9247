#include "ui/WorkArea.h"

#include <algorithm>

#include "ui/Handles.h"

namespace {

using TRegion = TGdiObject<HRGN>;

// How far a window's frame may stick out past the work areas: the sizing frame of this
// system, and at least the 8 pixels a window covering a whole screen sticks out by at
// the usual 96 dpi, so bounds stored on such a system are kept on one with a thinner
// frame.
int FrameAllowance(int sizeFrame)
{
    return std::max(8, GetSystemMetrics(sizeFrame) + GetSystemMetrics(SM_CXPADDEDBORDER));
}

BOOL CALLBACK AddWorkArea(HMONITOR monitor, HDC, LPRECT, LPARAM data)
{
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (GetMonitorInfoW(monitor, &info)) {
        auto* all = reinterpret_cast<TRegion*>(data);
        TRegion one(CreateRectRgnIndirect(&info.rcWork));
        if (one)
            CombineRgn(all->Get(), all->Get(), one.Get(), RGN_OR);
    }
    return TRUE;
}

// Whether every pixel of r shows on some monitor's work area.
bool WithinWorkAreas(const RECT& r)
{
    TRegion all(CreateRectRgn(0, 0, 0, 0));
    TRegion wanted(CreateRectRgnIndirect(&r));
    if (!all || !wanted)
        return true;  // out of GDI objects: leave the window where it was asked to be
    EnumDisplayMonitors(nullptr, nullptr, AddWorkArea, reinterpret_cast<LPARAM>(&all));
    return CombineRgn(wanted.Get(), wanted.Get(), all.Get(), RGN_DIFF) == NULLREGION;
}

// Shrinks one side's span by the frame allowance at each end, keeping at least a pixel.
void TakeFrame(long& low, long& high, int allowance)
{
    int cut = std::min(allowance, static_cast<int>(high - low - 1) / 2);
    if (cut > 0) {
        low += cut;
        high -= cut;
    }
    if (high <= low)
        high = low + 1;
}

} // namespace

TRect NearestWorkArea(const TRect& rect)
{
    RECT r = rect.ToRECT();
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (!GetMonitorInfoW(MonitorFromRect(&r, MONITOR_DEFAULTTONEAREST), &info))
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &info.rcWork, 0);
    return TRect::From(info.rcWork);
}

TRect FitToWorkArea(int left, int top, int width, int height)
{
    // Far beyond any screen, and small enough that their sums do not overflow.
    const int kFar = 1 << 20;
    left = std::clamp(left, -kFar, kFar);
    top = std::clamp(top, -kFar, kFar);
    width = std::clamp(width, 0, kFar);
    height = std::clamp(height, 0, kFar);
    RECT inner{left, top, left + width, top + height};
    TakeFrame(inner.left, inner.right, FrameAllowance(SM_CXSIZEFRAME));
    TakeFrame(inner.top, inner.bottom, FrameAllowance(SM_CYSIZEFRAME));
    if (WithinWorkAreas(inner))
        return Bounds(left, top, width, height);
    TRect work = NearestWorkArea(Bounds(left, top, width, height));
    width = std::min(width, work.Width());
    height = std::min(height, work.Height());
    left = std::clamp(left, work.Left, work.Right - width);
    top = std::clamp(top, work.Top, work.Bottom - height);
    return Bounds(left, top, width, height);
}
