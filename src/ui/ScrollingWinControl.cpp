#include "ui/ScrollingWinControl.h"

#include <algorithm>

#include "ui/PaintScopes.h"

void TScrollingWinControl::CreateParams(TCreateParams& params)
{
    TWinControl::CreateParams(params);
    params.style |= WS_HSCROLL | WS_VSCROLL;
}

TPoint TScrollingWinControl::Extent() const
{
    TPoint extent;
    for (int i = 0; i < ControlCount(); ++i) {
        TControl* c = Controls(i);
        extent.X = std::max(extent.X, c->Left() + c->Width() + scroll_.X);
        extent.Y = std::max(extent.Y, c->Top() + c->Height() + scroll_.Y);
    }
    return extent;
}

int TScrollingWinControl::LimitedTo(int value, int extent, int client) const
{
    return std::max(0, std::min(value, std::max(0, extent - client)));
}

void TScrollingWinControl::UpdateScrollBars()
{
    // Showing or hiding a bar resizes the client area, which asks for this again.
    if (!HandleAllocated() || updatingBars_)
        return;
    FlagScope updating(updatingBars_);
    TPoint extent = Extent();
    TRect client = ClientRect();
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    info.nMax = std::max(0, extent.X - 1);
    info.nPage = static_cast<UINT>(client.Width());
    info.nPos = scroll_.X;
    SetScrollInfo(handle_, SB_HORZ, &info, TRUE);
    info.nMax = std::max(0, extent.Y - 1);
    info.nPage = static_cast<UINT>(client.Height());
    info.nPos = scroll_.Y;
    SetScrollInfo(handle_, SB_VERT, &info, TRUE);
}

void TScrollingWinControl::ScrollTo(int x, int y)
{
    TPoint extent = Extent();
    TRect client = ClientRect();
    x = LimitedTo(x, extent.X, client.Width());
    y = LimitedTo(y, extent.Y, client.Height());
    int dx = scroll_.X - x, dy = scroll_.Y - y;
    if (dx == 0 && dy == 0)
        return;
    scroll_ = TPoint{x, y};
    for (int i = 0; i < ControlCount(); ++i) {
        TControl* c = Controls(i);
        c->SetBounds(c->Left() + dx, c->Top() + dy, c->Width(), c->Height());
    }
    UpdateScrollBars();
    Invalidate();
}

void TScrollingWinControl::WndProc(TMessage& message)
{
    if (message.Msg != WM_HSCROLL && message.Msg != WM_VSCROLL) {
        TWinControl::WndProc(message);
        if (message.Msg == WM_SIZE)
            UpdateScrollBars();
        return;
    }
    bool horizontal = message.Msg == WM_HSCROLL;
    int position = horizontal ? scroll_.X : scroll_.Y;
    TRect client = ClientRect();
    int page = horizontal ? client.Width() : client.Height();
    switch (LOWORD(message.WParam)) {
    case SB_LINEUP:
        position -= 8;
        break;
    case SB_LINEDOWN:
        position += 8;
        break;
    case SB_PAGEUP:
        position -= page;
        break;
    case SB_PAGEDOWN:
        position += page;
        break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION:
        position = static_cast<short>(HIWORD(message.WParam));
        break;
    case SB_TOP:
        position = 0;
        break;
    case SB_BOTTOM:
        position = horizontal ? Extent().X : Extent().Y;
        break;
    default:
        break;
    }
    if (horizontal)
        ScrollTo(position, scroll_.Y);
    else
        ScrollTo(scroll_.X, position);
    message.Result = 0;
}
