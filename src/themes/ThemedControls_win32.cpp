// Themed drawing of forms, the other windowed controls, tab sheets, status bars, track
// bars, list views, splitters, animations and check-list boxes.
#include <windows.h>

#include <commctrl.h>

#include "themes/ThemeLibrary.h"
#include "themes/ThemeServices.h"
#include "themes/VisualStyleMgr.h"
#include "ui/Animate.h"
#include "ui/CheckListBox.h"
#include "ui/ComCtrls.h"
#include "ui/DrawText.h"
#include "ui/Forms.h"
#include "ui/Frames.h"
#include "ui/Grids.h"
#include "ui/Messages.h"
#include "ui/PaintScopes.h"
#include "ui/StdCtrls.h"
#include "ui/TabSheet.h"

namespace {

HWND WindowOf(TControl* control) { return static_cast<TWinControl*>(control)->Handle(); }

TRect ClientOf(TControl* control)
{
    RECT r;
    GetClientRect(WindowOf(control), &r);
    return TRect::From(r);
}

// The width and height of the focus rectangle's border.
SIZE FocusBorder()
{
    UINT width = 1, height = 1;
    SystemParametersInfoW(SPI_GETFOCUSBORDERWIDTH, 0, &width, 0);
    SystemParametersInfoW(SPI_GETFOCUSBORDERHEIGHT, 0, &height, 0);
    return SIZE{static_cast<LONG>(width), static_cast<LONG>(height)};
}

} // namespace

void TVisualStyleManager::FormWindowProc(TControl* control, TMessage& m)
{
    // Controls inserted into or removed from the form after it was collected.
    if (m.Msg == CM_CONTROLLISTCHANGE)
        HandleControlChange(reinterpret_cast<TControl*>(m.WParam), m.LParam != 0);
    if (Offered(slForm, control, m))
        return;
    if (m.Msg == WM_ERASEBKGND || m.Msg == WM_PRINTCLIENT) {
        auto* form = static_cast<TWinControl*>(control);
        HDC dc = reinterpret_cast<HDC>(m.WParam);
        TWinControl* parent = form->Parent();
        if (!parent) {
            PassOn(slForm, control, m);
        } else if (parent->DoubleBuffered) {
            PerformEraseBackground(form, dc);
        } else if (form->DoubleBuffered) {
            // The form's own buffered painting erases with the DC in both parameters.
            if (m.Msg == WM_PRINTCLIENT || m.LParam == static_cast<LPARAM>(m.WParam))
                PerformEraseBackground(form, dc);
        } else if (UxTheme.DrawThemeParentBackground) {
            UxTheme.DrawThemeParentBackground(form->Handle(), dc, nullptr);
        }
        m.Result = 1;
        return;
    }
    PassOn(slForm, control, m);
}

void TVisualStyleManager::WinControlWindowProc(TControl* control, TMessage& m)
{
    if (Offered(slWinControl, control, m))
        return;
    switch (m.Msg) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case CN_KEYDOWN:
        UpdateUIState(control, static_cast<WORD>(m.WParam));
        break;
    case WM_ERASEBKGND:
        if (auto* scrolling = dynamic_cast<TScrollingWinControl*>(control)) {
            HDC dc = reinterpret_cast<HDC>(m.WParam);
            if (scrolling->DoubleBuffered)
                PerformEraseBackground(scrolling, dc);
            else
                ThemeServices()->DrawParentBackground(scrolling->Handle(), dc, nullptr, false, nullptr);
            m.Result = 1;
            return;
        }
        break;
    case WM_NCPAINT:
        PassOn(slWinControl, control, m);
        ThemeServices()->PaintBorder(static_cast<TWinControl*>(control), dynamic_cast<TCustomGrid*>(control) != nullptr);
        return;
    case CN_CTLCOLORSTATIC:
        if (dynamic_cast<TCustomStaticText*>(control)) {
            HDC dc = reinterpret_cast<HDC>(m.WParam);
            SetBkMode(dc, TRANSPARENT);
            {
                SavedDCScope saved(dc);
                ThemeServices()->DrawParentBackground(WindowOf(control), dc, nullptr, false, nullptr);
                PassOn(slWinControl, control, m);
            }
            m.Result = reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
            return;
        }
        break;
    }
    PassOn(slWinControl, control, m);
}

void TVisualStyleManager::TabSheetWindowProc(TControl* control, TMessage& m)
{
    if (Offered(slTabSheet, control, m))
        return;
    auto* sheet = static_cast<TTabSheet*>(control);
    HWND window = sheet->Handle();
    switch (m.Msg) {
    case WM_NCPAINT: {
        int border = sheet->BorderWidth();
        WindowDCScope dc(window);
        RECT r = ClientOf(sheet).ToRECT();
        OffsetRect(&r, border, border);
        ExcludeClipRect(dc.DC(), r.left, r.top, r.right, r.bottom);
        SetWindowOrgEx(dc.DC(), -border, -border, nullptr);
        TThemedElementDetails body = GetElementDetails(ttBody);
        ThemeServices()->DrawParentBackground(window, dc.DC(), &body, false, nullptr);
        m.Result = 0;
        return;
    }
    case WM_ERASEBKGND:
    case WM_PRINTCLIENT: {
        HDC dc = reinterpret_cast<HDC>(m.WParam);
        if (options_.Contains(toAlternateTabSheetDraw))
            ThemeServices()->DrawElement(dc, GetElementDetails(ttBody), ClientOf(sheet));
        else
            ThemeServices()->DrawParentBackground(window, dc, nullptr, false, nullptr);
        m.Result = 1;
        return;
    }
    }
    PassOn(slTabSheet, control, m);
}

void TVisualStyleManager::StatusBarWindowProc(TControl* control, TMessage& m)
{
    if (Offered(slStatusBar, control, m))
        return;
    switch (m.Msg) {
    case WM_ERASEBKGND:
        ThemeServices()->DrawElement(reinterpret_cast<HDC>(m.WParam), GetElementDetails(tsStatusRoot),
                                     ClientOf(control));
        m.Result = 1;
        return;
    case WM_NCCALCSIZE:
        PassOn(slStatusBar, control, m);
        if (m.WParam)
            m.Result |= WVR_HREDRAW | WVR_VREDRAW;
        return;
    }
    PassOn(slStatusBar, control, m);
}

void TVisualStyleManager::TrackBarWindowProc(TControl* control, TMessage& m)
{
    if (Offered(slTrackBar, control, m))
        return;
    if (m.Msg != CN_NOTIFY) {
        PassOn(slTrackBar, control, m);
        return;
    }
    // Notifications other than custom drawing are finished here: the track bar's own
    // handling has nothing to do with them.
    if (reinterpret_cast<NMHDR*>(m.LParam)->code != static_cast<UINT>(NM_CUSTOMDRAW))
        return;
    auto* bar = static_cast<TTrackBar*>(control);
    auto& draw = *reinterpret_cast<NMCUSTOMDRAW*>(m.LParam);
    m.Result = CDRF_DODEFAULT;
    if (draw.dwDrawStage == CDDS_PREPAINT) {
        m.Result = CDRF_NOTIFYITEMDRAW;
        return;
    }
    if (draw.dwDrawStage != CDDS_ITEMPREPAINT)
        return;
    HWND window = bar->Handle();
    TRect client = ClientOf(bar);
    SIZE focus = FocusBorder();
    if (draw.dwItemSpec == TBCD_TICS) {
        RECT r = client.ToRECT();
        bool focusShown = bar->Focused() && !(SendMessageW(window, WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS);
        if (focusShown)
            InflateRect(&r, -focus.cx, -focus.cy);
        TRect bounds = TRect::From(r);
        ThemeServices()->DrawParentBackground(window, draw.hdc, nullptr, false, &bounds);
    } else if (draw.dwItemSpec == TBCD_CHANNEL) {
        RECT r{};
        SendMessageW(window, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&r));
        if (bar->Orientation() == trHorizontal) {
            int d = bar->Focused() ? focus.cx : 0;
            r.left = client.Left + d;
            r.right = client.Right - d;
        } else {
            int d = bar->Focused() ? focus.cy : 0;
            r.top = client.Top + d;
            r.bottom = client.Bottom - d;
        }
        SavedDCScope saved(draw.hdc);
        HRGN region = CreateRectRgnIndirect(&r);
        SelectClipRgn(draw.hdc, region);
        TThemedElementDetails tics = GetElementDetails(ttbThumbTics);
        ThemeServices()->DrawParentBackground(window, draw.hdc, &tics, false, nullptr);
        DeleteObject(region);
    }
}

void TVisualStyleManager::ListviewWindowProc(TControl* control, TMessage& m)
{
    // Works whether or not themes are enabled.
    if (DoControlMessage(control, m))
        return;
    switch (m.Msg) {
    case LVM_SETCOLUMNA:
    case LVM_INSERTCOLUMNA:
    case LVM_SETCOLUMNW:
    case LVM_INSERTCOLUMNW: {
        // A column without an image must not ask for an image slot (the two forms of the
        // column record agree up to the image index).
        auto* column = reinterpret_cast<LVCOLUMNW*>(m.LParam);
        if (column && column->iImage == -1)
            column->mask &= ~static_cast<UINT>(LVCF_IMAGE);
        break;
    }
    case WM_NOTIFY:
        if (reinterpret_cast<NMHDR*>(m.LParam)->code == static_cast<UINT>(HDN_GETDISPINFOW))
            return;
        break;
    }
    PassOn(slListView, control, m);
}

void TVisualStyleManager::SplitterWindowProc(TControl* control, TMessage& m)
{
    if (Offered(slSplitter, control, m))
        return;
    if (m.Msg == WM_PAINT && m.WParam) {
        PerformEraseBackground(control, reinterpret_cast<HDC>(m.WParam));
        m.Result = 0;
        return;
    }
    PassOn(slSplitter, control, m);
}

void TVisualStyleManager::AnimateWindowProc(TControl* control, TMessage& m)
{
    if (Offered(slAnimate, control, m))
        return;
    switch (m.Msg) {
    case WM_ERASEBKGND:
        m.Result = 1;
        return;
    case CN_CTLCOLORSTATIC: {
        // A transparent animation shows the system colour it has (a colour of its own
        // has no system brush: the control's own handling gives it).
        auto* animate = static_cast<TAnimate*>(control);
        TColor color = animate->Color();
        if (animate->Transparent() && (color & 0xFF000000u) == clSystemColor) {
            m.Result = reinterpret_cast<LRESULT>(GetSysColorBrush(static_cast<int>(color & 0xFF)));
            return;
        }
        break;
    }
    }
    PassOn(slAnimate, control, m);
}

void TVisualStyleManager::CheckListBoxWindowProc(TControl* control, TMessage& m)
{
    if (Offered(slCheckListBox, control, m))
        return;
    if (m.Msg != CN_DRAWITEM) {
        PassOn(slCheckListBox, control, m);
        return;
    }
    auto* list = static_cast<TCheckListBox*>(control);
    if (list->Count() == 0)
        return;
    auto& item = *reinterpret_cast<DRAWITEMSTRUCT*>(m.LParam);
    int index = static_cast<int>(item.itemID);
    bool valid = index >= 0 && index < list->Count();
    TRect r = TRect::From(item.rcItem);
    if (!(valid && list->Header(index)))
        r.Left += list->CheckWidth();
    TCanvas* canvas = list->Canvas();
    CanvasDCScope onDC(*canvas, item.hDC);
    canvas->Font = list->Font();
    canvas->Brush.Color = list->Color();
    if (index >= 0 && (item.itemState & ODS_SELECTED)) {
        canvas->Brush.Color = clHighlight;
        canvas->Font.Color = clHighlightText;
    }
    if (index >= 0)
        DrawCheckListItem(list, index, r, item.itemState);
    else
        canvas->FillRect(r);
    if (item.itemState & ODS_FOCUS) {
        RECT focus = r.ToRECT();
        DrawFocusRect(item.hDC, &focus);
    }
    m.Result = TRUE;
}

void TVisualStyleManager::DrawCheckListItem(TCheckListBox* list, int index, const TRect& rect, unsigned state)
{
    TCanvas* canvas = list->Canvas();
    const bool valid = index < list->Count();
    if (valid) {
        bool enable = list->Enabled() && list->ItemEnabled(index);
        if (list->Header(index)) {
            canvas->Font.Color = list->HeaderColor;
            canvas->Brush.Color = list->HeaderBackgroundColor;
        } else {
            TRect check = Rect(rect.Left - list->CheckWidth(), rect.Top, rect.Left, rect.Bottom);
            DrawCheck(list, check, list->State(index), enable);
        }
        if (!enable)
            canvas->Font.Color = clGrayText;
    }
    if (list->OnDrawItem && list->Style() != lbStandard) {
        list->OnDrawItem(list, index, rect, state);
        return;
    }
    canvas->FillRect(rect);
    if (!valid)
        return;
    RECT text{rect.Left + 2, rect.Top, rect.Right, rect.Bottom};
    DrawCaption(canvas->Handle(), list->ItemText(index), text, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX,
                canvas->Font, canvas->Font.Color);
}

void TVisualStyleManager::DrawCheck(TCheckListBox* list, const TRect& r, int checkState, bool enable)
{
    SIZE glyph = CheckBoxGlyphSize();
    // Both offsets are taken from the glyph's width, the box being square.
    int left = r.Left + (r.Width() - glyph.cx) / 2;
    int top = r.Top + (r.Height() - glyph.cx) / 2;
    TThemedButton element = enable ? tbCheckBoxUncheckedNormal : tbCheckBoxUncheckedDisabled;
    if (checkState == cbChecked)
        element = enable ? tbCheckBoxCheckedNormal : tbCheckBoxCheckedDisabled;
    else if (checkState == cbGrayed)
        element = enable ? tbCheckBoxMixedNormal : tbCheckBoxMixedDisabled;
    ThemeServices()->DrawElement(list->Canvas()->Handle(), GetElementDetails(element),
                                 Bounds(left, top, glyph.cx, glyph.cy));
}
