#pragma once
// Small guards that undo the state a paint sets up, whether the paint code returns or
// throws: a window left in the middle of a paint would be painted (and throw) again
// inside every message loop that follows, the error box's own loop included.
#include <windows.h>

#include "ui/FlagScope.h"
#include "ui/Graphics.h"

// The DC of one paint: the one the message carries (wParam), or BeginPaint's, which is
// ended (and the window made valid) when the scope ends.
class PaintDCScope {
public:
    PaintDCScope(HWND window, WPARAM givenDC) : window_(window), dc_(reinterpret_cast<HDC>(givenDC))
    {
        if (!dc_) {
            dc_ = BeginPaint(window_, &ps_);
            began_ = true;
        }
    }
    ~PaintDCScope()
    {
        if (began_)
            EndPaint(window_, &ps_);
    }
    PaintDCScope(const PaintDCScope&) = delete;
    PaintDCScope& operator=(const PaintDCScope&) = delete;
    HDC DC() const { return dc_; }
    // The rectangle to paint, or null when the whole DC is wanted.
    const RECT* Clip() const { return began_ ? &ps_.rcPaint : nullptr; }

private:
    HWND window_;
    HDC dc_;
    PAINTSTRUCT ps_{};
    bool began_ = false;
};

// A canvas drawing on a DC for the length of the scope.
class CanvasDCScope {
public:
    CanvasDCScope(TCanvas& canvas, HDC dc) : canvas_(canvas) { canvas_.SetHandle(dc); }
    ~CanvasDCScope() { canvas_.SetHandle(nullptr); }
    CanvasDCScope(const CanvasDCScope&) = delete;
    CanvasDCScope& operator=(const CanvasDCScope&) = delete;

private:
    TCanvas& canvas_;
};

// The DC of a window's whole area, released at the end of the scope.
class WindowDCScope {
public:
    explicit WindowDCScope(HWND window) : window_(window), dc_(GetWindowDC(window)) {}
    ~WindowDCScope()
    {
        if (dc_)
            ReleaseDC(window_, dc_);
    }
    WindowDCScope(const WindowDCScope&) = delete;
    WindowDCScope& operator=(const WindowDCScope&) = delete;
    HDC DC() const { return dc_; }

private:
    HWND window_;
    HDC dc_;
};

// SaveDC now, RestoreDC at the end of the scope.
class SavedDCScope {
public:
    explicit SavedDCScope(HDC dc) : dc_(dc), saved_(SaveDC(dc)) {}
    ~SavedDCScope() { RestoreDC(dc_, saved_); }
    SavedDCScope(const SavedDCScope&) = delete;
    SavedDCScope& operator=(const SavedDCScope&) = delete;

private:
    HDC dc_;
    int saved_;
};

// Drawing limited to a rectangle for the length of the scope; the clip region before
// it comes back at the end. Unlike SaveDC it leaves the selected objects alone, so a
// canvas that keeps drawing across several scopes stays in step with its DC.
class ClipRectScope {
public:
    ClipRectScope(HDC dc, const RECT& r) : dc_(dc), saved_(CreateRectRgn(0, 0, 0, 0))
    {
        hadRegion_ = GetClipRgn(dc_, saved_) == 1;
        IntersectClipRect(dc_, r.left, r.top, r.right, r.bottom);
    }
    ~ClipRectScope()
    {
        SelectClipRgn(dc_, hadRegion_ ? saved_ : nullptr);
        DeleteObject(saved_);
    }
    ClipRectScope(const ClipRectScope&) = delete;
    ClipRectScope& operator=(const ClipRectScope&) = delete;

private:
    HDC dc_;
    HRGN saved_;
    bool hadRegion_ = false;
};
