// Themed drawing of push buttons, check boxes and radio buttons, bitmap and speed
// buttons, group boxes, frames and panels, and the helpers the procedures share.
#include "themes/ButtonLayout.h"
#include "themes/ThemeServices.h"
#include "themes/VisualStyleMgr.h"
#include "ui/Buttons.h"
#include "ui/DrawText.h"
#include "ui/ExtCtrls.h"
#include "ui/Forms.h"
#include "ui/Messages.h"
#include "ui/PaintScopes.h"
#include "ui/StdCtrls.h"
#include "ui/Text.h"

namespace {

HWND WindowOf(TControl* control) { return static_cast<TWinControl*>(control)->Handle(); }

// The tool-bar button of the same state, for flat speed buttons.
TThemedToolBar ToolBarButton(TThemedButton button)
{
    if (button == tbPushButtonHot)
        return ttbButtonHot;
    if (button == tbPushButtonPressed)
        return ttbButtonPressed;
    if (button == tbPushButtonDisabled)
        return ttbButtonDisabled;
    return ttbButtonNormal;
}

void InvalidateStaticTexts(TWinControl* parent)
{
    for (int i = 0; i < parent->ControlCount(); ++i) {
        auto* child = dynamic_cast<TWinControl*>(parent->Controls(i));
        if (!child)
            continue;
        if (dynamic_cast<TCustomStaticText*>(child))
            child->Invalidate();
        InvalidateStaticTexts(child);
    }
}

} // namespace

// ---------------------------------------------------------------------------------------
// Shared helpers

void TVisualStyleManager::PerformEraseBackground(TControl* control, HDC dc)
{
    EraseWithParentBackground(control, dc);
}

void TVisualStyleManager::DrawControlParentBackground(TControl* control, HDC dc,
                                                      const TThemedElementDetails* details,
                                                      bool onlyIfTransparent, const TRect* bounds)
{
    TWinControl* parent = control->Parent();
    if (parent && parent->DoubleBuffered)
        PerformEraseBackground(control, dc);
    else
        ThemeServices()->DrawParentBackground(WindowOf(control), dc, details, onlyIfTransparent, bounds);
}

void TVisualStyleManager::EraseToParentBackground(TControl* control, TMessage& m, bool onlyIfTransparent)
{
    TThemedElementDetails details = GetElementDetails(tbGroupBoxNormal);
    DrawControlParentBackground(control, reinterpret_cast<HDC>(m.WParam), &details, onlyIfTransparent);
    m.Result = 1;
}

void TVisualStyleManager::UpdateUIState(TControl* control, WORD charCode)
{
    TForm* form = control->ParentForm();
    if (!form)
        return;
    switch (charCode) {
    case VK_TAB:
    case VK_LEFT:
    case VK_UP:
    case VK_RIGHT:
    case VK_DOWN:
        form->Perform(WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
        break;
    case VK_MENU:
        form->Perform(WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEACCEL), 0);
        InvalidateStaticTexts(form);
        break;
    }
}

// ---------------------------------------------------------------------------------------
// Buttons

void TVisualStyleManager::ButtonControlWindowProc(TControl* control, TMessage& m)
{
    if (Offered(slButtonControl, control, m))
        return;
    switch (m.Msg) {
    case WM_ERASEBKGND:
        m.Result = 1;
        return;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case CN_KEYDOWN:
        UpdateUIState(control, static_cast<WORD>(m.WParam));
        break;
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE:
        if (dynamic_cast<TBitBtn*>(control))
            control->Invalidate();
        break;
    case CN_DRAWITEM: {
        auto& item = *reinterpret_cast<DRAWITEMSTRUCT*>(m.LParam);
        TThemedElementDetails normal = GetElementDetails(tbPushButtonNormal);
        ThemeServices()->DrawParentBackground(WindowOf(control), item.hDC, &normal, true, nullptr);
        if (auto* button = dynamic_cast<TBitBtn*>(control)) {
            DrawBitBtn(button, item);
            m.Result = TRUE;
            return;
        }
        break;
    }
    case CN_CTLCOLORBTN:
    case CN_CTLCOLORSTATIC:
        DrawControlParentBackground(control, reinterpret_cast<HDC>(m.WParam), nullptr, false);
        m.Result = reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
        return;
    }
    PassOn(slButtonControl, control, m);
}

void TVisualStyleManager::DrawBitBtn(TBitBtn* button, DRAWITEMSTRUCT& item)
{
    POINT cursor;
    if (GetCursorPos(&cursor) && WindowFromPoint(cursor) == button->Handle())
        item.itemState |= ODS_HOTLIGHT;
    TThemedButton state = tbPushButtonDefaulted;
    if (!button->Enabled())
        state = tbPushButtonDisabled;
    else if (item.itemState & ODS_SELECTED)
        state = tbPushButtonPressed;
    else if (item.itemState & ODS_HOTLIGHT)
        state = tbPushButtonHot;
    else if (!button->Default() && !(item.itemState & ODS_FOCUS))
        state = tbPushButtonNormal;
    DrawButton(button, state, item.hDC, TRect::From(item.rcItem), (item.itemState & ODS_FOCUS) != 0);
}

void TVisualStyleManager::SpeedButtonWindowProc(TControl* control, TMessage& m)
{
    if (Offered(slSpeedButton, control, m))
        return;
    auto* button = static_cast<TSpeedButton*>(control);
    switch (m.Msg) {
    case WM_PAINT: {
        HDC dc = reinterpret_cast<HDC>(m.WParam);
        if (!dc)
            break;  // painted by its parent, always with a DC
        PerformEraseBackground(button, dc);
        TThemedButton state = tbPushButtonNormal;
        TButtonState buttonState = button->State();
        if (!button->Enabled()) {
            state = tbPushButtonDisabled;
        } else if (buttonState == bsDown || buttonState == bsExclusive) {
            state = tbPushButtonPressed;
        } else {
            POINT cursor{};
            GetCursorPos(&cursor);
            bool hot = button->Flat() ? button->MouseInControl()
                                      : FindDragTarget(TPoint{cursor.x, cursor.y}, true) == button;
            if (hot)
                state = tbPushButtonHot;
        }
        DrawButton(button, state, dc, button->ClientRect(), false);
        m.Result = 0;
        return;
    }
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE:
        if (!button->Flat() && button->Enabled())
            button->Invalidate();
        break;
    }
    PassOn(slSpeedButton, control, m);
}

void TVisualStyleManager::DrawButton(TControl* control, TThemedButton button, HDC dc, TRect r, bool focused)
{
    // The glyph and which of its images shows.
    auto* bitBtn = dynamic_cast<TBitBtn*>(control);
    auto* speedButton = dynamic_cast<TSpeedButton*>(control);
    TGlyphProperties* props = bitBtn ? static_cast<TGlyphProperties*>(bitBtn) : speedButton;
    TBitmap* glyph = props ? props->Glyph() : nullptr;
    int glyphWidth = 0, offset = 0;
    if (glyph && !glyph->Empty()) {
        int count = props->NumGlyphs();
        glyphWidth = glyph->Width() / count;
        if (!control->Enabled() && count > 1)
            offset = glyphWidth;
        else if (bitBtn && button == tbPushButtonPressed && count >= 3)
            offset = 2 * glyphWidth;
        else if (speedButton && speedButton->State() == bsDown && count >= 3)
            offset = 2 * glyphWidth;
        else if (speedButton && speedButton->State() == bsExclusive && count >= 4)
            offset = 3 * glyphWidth;
    }

    TThemeServices* services = ThemeServices();
    TThemedElementDetails details = speedButton && speedButton->Flat()
                                        ? GetElementDetails(ToolBarButton(button))
                                        : GetElementDetails(button);
    services->DrawElement(dc, details, r);
    r = services->ContentRect(dc, details, r);

    HGDIOBJ oldFont = SelectObject(dc, FontHandle(control->Font()));
    const UINT flags = 0;  // the library reads left to right only
    std::wstring caption = ToWide(control->Caption());
    GlyphCaptionInput in;
    in.Content = LayoutRect{r.Left, r.Top, r.Right, r.Bottom};
    if (!caption.empty()) {
        RECT measured{0, 0, r.Width(), 0};
        DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &measured, DT_CALCRECT | flags);
        in.TextSize = LayoutPoint{measured.right - measured.left, measured.bottom - measured.top};
    }
    if (glyphWidth > 0)
        in.GlyphSize = LayoutPoint{glyphWidth, glyph->Height()};
    if (props) {
        in.Layout = props->Layout();
        in.Margin = props->Margin();
        in.Spacing = props->Spacing();
    }
    in.RightToLeft = (flags & DT_RTLREADING) != 0;
    GlyphCaptionPlaces places = PlaceGlyphAndCaption(in);

    SetTextColor(dc, button == tbPushButtonDisabled ? GetSysColor(COLOR_GRAYTEXT) : ColorToRGB(control->Font().Color));
    SetBkMode(dc, TRANSPARENT);
    RECT text{places.Text.Left, places.Text.Top, places.Text.Right, places.Text.Bottom};
    DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &text, DT_CENTER | DT_VCENTER | flags);
    if (glyphWidth > 0) {
        // The glyph's transparent colour is its bottom-left pixel.
        HDC source = glyph->Canvas()->Handle();
        COLORREF key = GetPixel(source, 0, glyph->Height() - 1);
        // A disabled button whose glyph has no disabled image shows it greyed.
        if (!control->Enabled() && props->NumGlyphs() < 2)
            DrawDisabledGlyph(dc, places.Glyph.X, places.Glyph.Y, *glyph, key);
        else
            GdiTransparentBlt(dc, places.Glyph.X, places.Glyph.Y, glyphWidth, glyph->Height(), source, offset, 0,
                              glyphWidth, glyph->Height(), key);
    }
    SelectObject(dc, oldFont);
    if (focused) {
        SetTextColor(dc, RGB(0, 0, 0));
        RECT content = r.ToRECT();
        DrawFocusRect(dc, &content);
    }
}

// ---------------------------------------------------------------------------------------
// Group boxes and frames

void TVisualStyleManager::GroupBoxWindowProc(TControl* control, TMessage& m)
{
    if (Offered(slGroupBox, control, m))
        return;
    auto* box = static_cast<TCustomGroupBox*>(control);
    switch (m.Msg) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case CN_KEYDOWN:
        UpdateUIState(control, static_cast<WORD>(m.WParam));
        break;
    case WM_PAINT: {
        PaintDCScope paint(box->Handle(), m.WParam);
        PaintGroupBox(box, paint.DC());
        box->PaintControls(paint.DC(), paint.Clip());
        m.Result = 0;
        return;
    }
    case WM_ERASEBKGND:
        EraseToParentBackground(control, m, true);
        return;
    }
    PassOn(slGroupBox, control, m);
}

void TVisualStyleManager::PaintGroupBox(TCustomGroupBox* box, HDC dc)
{
    HGDIOBJ oldFont = SelectObject(dc, FontHandle(box->Font()));
    std::wstring caption = ToWide(box->Caption());
    RECT captionRect{0, 0, 0, 0};
    if (!caption.empty()) {
        SetTextColor(dc, ColorToRGB(box->Font().Color));
        SIZE size{};
        GetTextExtentPoint32W(dc, caption.c_str(), static_cast<int>(caption.size()), &size);
        captionRect = RECT{8, 0, 8 + size.cx, size.cy};
    }
    RECT frame;
    GetClientRect(box->Handle(), &frame);
    frame.top = (captionRect.bottom - captionRect.top) / 2;
    TThemedElementDetails details = GetElementDetails(box->Enabled() ? tbGroupBoxNormal : tbGroupBoxDisabled);
    {
        SavedDCScope clip(dc);
        ExcludeClipRect(dc, captionRect.left, captionRect.top, captionRect.right, captionRect.bottom);
        ThemeServices()->DrawElement(dc, details, TRect::From(frame));
    }
    if (!caption.empty())
        ThemeServices()->DrawText(dc, details, caption, TRect::From(captionRect), 0, 0);
    SelectObject(dc, oldFont);
}

void TVisualStyleManager::FrameWindowProc(TControl* control, TMessage& m)
{
    if (Offered(slFrame, control, m))
        return;
    auto* frame = static_cast<TWinControl*>(control);
    switch (m.Msg) {
    case WM_PAINT: {
        PaintDCScope paint(frame->Handle(), m.WParam);
        frame->PaintControls(paint.DC(), paint.Clip());
        m.Result = 0;
        return;
    }
    case WM_ERASEBKGND:
        EraseToParentBackground(control, m, false);
        return;
    }
    PassOn(slFrame, control, m);
}

// ---------------------------------------------------------------------------------------
// Panels

void TVisualStyleManager::PanelWindowProc(TControl* control, TMessage& m)
{
    if (Offered(slPanel, control, m))
        return;
    auto* panel = static_cast<TCustomPanel*>(control);
    // A panel of its own colour is left to its own painting.
    TWinControl* parent = panel->Parent();
    if (!panel->ParentColor() && !(parent && parent->Color() == panel->Color())) {
        PassOn(slPanel, control, m);
        return;
    }
    switch (m.Msg) {
    case WM_ERASEBKGND:
        EraseToParentBackground(control, m, false);
        return;
    case WM_NCPAINT:
        PassOn(slPanel, control, m);
        if (panel->BorderStyle() != bsNone) {
            WindowDCScope dc(panel->Handle());
            ThemeServices()->DrawEdge(dc.DC(), GetElementDetails(trBandNormal),
                                      Rect(0, 0, panel->Width(), panel->Height()), EDGE_SUNKEN, BF_RECT);
        }
        m.Result = 0;
        return;
    case WM_PAINT: {
        PaintDCScope paint(panel->Handle(), m.WParam);
        PaintPanel(panel, paint.DC());
        panel->PaintControls(paint.DC(), paint.Clip());
        m.Result = 0;
        return;
    }
    case WM_PRINTCLIENT: {
        HDC dc = reinterpret_cast<HDC>(m.WParam);
        PaintPanel(panel, dc);
        panel->PaintControls(dc, nullptr);
        m.Result = 0;
        return;
    }
    }
    PassOn(slPanel, control, m);
}

void TVisualStyleManager::PaintPanel(TCustomPanel* panel, HDC dc)
{
    TCanvas* canvas = panel->Canvas();
    CanvasDCScope onDC(*canvas, dc);
    canvas->Font = panel->Font();
    RECT r;
    GetClientRect(panel->Handle(), &r);
    auto bevel = [&](TBevelCut cut) {
        if (cut == bvNone)
            return;
        bool lowered = cut == bvLowered;
        Frame3D(dc, r, lowered ? clBtnShadow : clBtnHighlight, lowered ? clBtnHighlight : clBtnShadow,
                panel->BevelWidth());
    };
    bevel(panel->BevelOuter());
    InflateRect(&r, -panel->BorderWidth(), -panel->BorderWidth());
    bevel(panel->BevelInner());
    TWinControl* parent = panel->Parent();
    if (!panel->ParentColor() && (!parent || parent->Color() != panel->Color())) {
        canvas->Brush.Color = panel->Color();
        canvas->FillRect(TRect::From(r));
    } else {
        TThemedElementDetails details = GetElementDetails(tbGroupBoxNormal);
        TRect bounds = TRect::From(r);
        DrawControlParentBackground(panel, dc, &details, false, &bounds);
    }
    int h = canvas->TextHeight("W");
    r.top = (r.top + r.bottom - h) / 2;
    r.bottom = r.top + h;
    UINT flags = DT_EXPANDTABS | DT_VCENTER;
    if (panel->Alignment() == taRightJustify)
        flags |= DT_RIGHT;
    else if (panel->Alignment() == taCenter)
        flags |= DT_CENTER;
    DrawCaption(dc, panel->Caption(), r, flags, panel->Font(), panel->Font().Color);
}
