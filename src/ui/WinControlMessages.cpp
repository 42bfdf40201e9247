// Windowed controls: message handling (keys, reflection, mouse routing, painting).
#include "ui/Controls.h"

#include <windowsx.h>

#include <algorithm>
#include <map>

#include "ui/Application.h"
#include "ui/ControlState.h"
#include "ui/Exceptions.h"
#include "ui/Forms.h"
#include "ui/Menus.h"
#include "ui/Messages.h"
#include "ui/PaintScopes.h"
#include "ui/SysUtils.h"
#include "ui/Text.h"

using namespace controls_detail;

bool TWinControl::DoKeyDown(WORD& key, TShiftState shift)
{
    TForm* form = ParentForm();
    if (form && form != this && form->KeyPreview && form->OnKeyDown && form->EventsAllowed()) {
        form->OnKeyDown(form, key, shift);
        if (key == 0)
            return true;
    }
    if (OnKeyDown && EventsAllowed())
        OnKeyDown(this, key, shift);
    return key == 0;
}

bool TWinControl::DoMenuKey(WORD key)
{
    TShiftState shift = KeyboardShiftState();
    if (!(shift & (ssCtrl | ssAlt)) && !(key >= VK_F1 && key <= VK_F24))
        return false;  // plain keys are never menu shortcuts here
    TShortCut sc = ShortCut(key, shift);
    for (TControl* c = this; c; c = c->Parent()) {
        if (!c->PopupMenu)
            continue;
        if (TMenuItem* item = c->PopupMenu->FindShortCut(sc)) {
            if (EventsAllowed())
                item->Click();
            return true;
        }
    }
    return false;
}

bool TWinControl::DoKeyPress(char& key)
{
    TForm* form = ParentForm();
    if (form && form != this && form->KeyPreview && form->OnKeyPress && form->EventsAllowed()) {
        form->OnKeyPress(form, key);
        if (key == 0)
            return true;
    }
    if (OnKeyPress && EventsAllowed())
        OnKeyPress(this, key);
    return key == 0;
}

bool TWinControl::HandleKeyMessage(TMessage& m)
{
    switch (m.Msg) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: {
        // The key notification comes first; a control that answers it keeps the key.
        if (Perform(CN_KEYDOWN, m.WParam, m.LParam)) {
            m.Result = 0;
            return true;
        }
        WORD key = static_cast<WORD>(m.WParam);
        if (DoMenuKey(key) || DoKeyDown(key, KeyboardShiftState()))
            return true;
        // Then the up-down this control is the associate of takes its Up and Down keys.
        if (m.Msg == WM_KEYDOWN && associatedUpDown_ && associatedUpDown_->AssociateKey(key))
            return true;
        if (m.Msg == WM_KEYDOWN && (key == VK_RETURN || key == VK_ESCAPE) && !WantsDialogKey(key, m.LParam))
            if (TForm* form = ParentForm())
                if (form->Perform(CM_DIALOGKEY, key, 0))
                    return true;
        m.WParam = key;
        return false;
    }
    case WM_KEYUP:
    case WM_SYSKEYUP: {
        WORD key = static_cast<WORD>(m.WParam);
        if (OnKeyUp && EventsAllowed())
            OnKeyUp(this, key, KeyboardShiftState());
        if (key == 0)
            return true;
        m.WParam = key;
        return false;
    }
    case WM_CHAR: {
        wchar_t wc = static_cast<wchar_t>(m.WParam);
        char key = 0;
        if (wc < 0x80) {
            key = static_cast<char>(wc);
        } else {
            std::string narrow = FromWide(std::wstring(1, wc));
            key = narrow.empty() ? '?' : narrow[0];
        }
        char before = key;
        if (DoKeyPress(key))
            return true;
        if (key != before) {
            std::wstring wide = ToWide(std::string(1, key));
            m.WParam = wide.empty() ? 0 : wide[0];
        }
        return false;
    }
    default:
        return false;
    }
}

bool TWinControl::WantsDialogKey(WORD key, LPARAM keyData)
{
    // Asked the way a dialog asks, with the key message, so a control can claim one key
    // (an open drop-down list keeps Escape and Enter).
    MSG msg{handle_, WM_KEYDOWN, key, keyData, static_cast<DWORD>(GetMessageTime()), {0, 0}};
    LRESULT code = Perform(WM_GETDLGCODE, key, reinterpret_cast<LPARAM>(&msg));
    return (code & (DLGC_WANTALLKEYS | DLGC_WANTMESSAGE)) != 0;
}

bool TWinControl::EraseBackground(HDC dc)
{
    if (defProc_ != DefWindowProcW)
        return false;  // system controls erase themselves
    RECT r;
    GetClientRect(handle_, &r);
    TBrushHandle b(CreateSolidBrush(ColorToRGB(color_)));
    FillRect(dc, &r, b.Get());
    return true;
}

bool TWinControl::DoMouseWheel(TShiftState shift, int delta, TPoint mousePos)
{
    bool handled = false;
    const TMouseWheelUpDownEvent& event = delta < 0 ? OnMouseWheelDown : OnMouseWheelUp;
    if (delta != 0 && event && EventsAllowed())
        event(this, shift, mousePos, handled);
    return handled;
}

LRESULT TWinControl::ColorMessage(HDC dc)
{
    COLORREF rgb = ColorToRGB(color_);
    if (!colorBrush_ || colorBrushColor_ != rgb) {
        colorBrush_.Reset(CreateSolidBrush(rgb));
        colorBrushColor_ = rgb;
    }
    SetTextColor(dc, ColorToRGB(font_.Color));
    SetBkColor(dc, rgb);
    return reinterpret_cast<LRESULT>(colorBrush_.Get());
}

TWinControl* controls_detail::ControlOfWindow(HWND hwnd)
{
    return hwnd ? static_cast<TWinControl*>(GetPropW(hwnd, kObjectProp)) : nullptr;
}

bool TWinControl::ReflectToChild(TMessage& m)
{
    HWND child = nullptr;
    switch (m.Msg) {
    case WM_COMMAND:
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSTATIC:
        child = reinterpret_cast<HWND>(m.LParam);
        break;
    case WM_NOTIFY:
        child = reinterpret_cast<NMHDR*>(m.LParam)->hwndFrom;
        break;
    case WM_DRAWITEM:
        child = reinterpret_cast<DRAWITEMSTRUCT*>(m.LParam)->hwndItem;
        break;
    default:
        return false;
    }
    TWinControl* target = ControlOfWindow(child);
    if (!target || target == this)
        return false;
    m.Result = target->Perform(kCnBase + m.Msg, m.WParam, m.LParam);
    return true;
}

void TWinControl::TrackMouse(TControl* target)
{
    if (g_mouseControl != target) {
        TControl* old = g_mouseControl;
        g_mouseControl = target;
        if (old)
            old->Perform(CM_MOUSELEAVE, 0, reinterpret_cast<LPARAM>(old));
        if (target)
            target->Perform(CM_MOUSEENTER, 0, reinterpret_cast<LPARAM>(target));
    }
    TRACKMOUSEEVENT tme{sizeof tme, TME_LEAVE, handle_, 0};
    TrackMouseEvent(&tme);
}

void TWinControl::WndProc(TMessage& m)
{
    switch (m.Msg) {
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_DRAWITEM:
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSTATIC:
        if (ReflectToChild(m))
            return;
        break;
    case CN_CTLCOLOREDIT:
    case CN_CTLCOLORLISTBOX:
    case CN_CTLCOLORBTN:
    case CN_CTLCOLORSTATIC:
        if (HandleReflected(m))
            return;
        m.Result = ColorMessage(reinterpret_cast<HDC>(m.WParam));
        return;
    case WM_ERASEBKGND:
        // A double-buffered window erases into its bitmap only (the DC in both parameters).
        if (DoubleBuffered && defProc_ == DefWindowProcW && m.LParam != static_cast<LPARAM>(m.WParam)) {
            m.Result = 1;
            return;
        }
        if (EraseBackground(reinterpret_cast<HDC>(m.WParam))) {
            m.Result = 1;
            return;
        }
        break;
    case WM_SIZE:
    case WM_MOVE:
    case WM_WINDOWPOSCHANGED: {
        if (m.Msg == WM_WINDOWPOSCHANGED) {
            DefaultHandler(m);  // sends WM_SIZE and WM_MOVE
            return;
        }
        // A minimized window's iconic rectangle is not the form's geometry, and its
        // empty client area is no place to lay the children out in.
        if ((m.Msg == WM_SIZE && m.WParam == SIZE_MINIMIZED) || (m.Msg == WM_MOVE && IsIconic(handle_)))
            break;
        TRect r = WindowBounds();
        bool resized = r.Width() != width_ || r.Height() != height_;
        left_ = r.Left;
        top_ = r.Top;
        width_ = r.Width();
        height_ = r.Height();
        if (m.Msg == WM_SIZE) {
            AlignControls();
            if (OnResize && EventsAllowed())
                OnResize(this);
        } else if (resized) {
            AlignControls();
        }
        break;
    }
    case WM_SETFOCUS:
        if (TForm* form = ParentForm())
            if (form != this)
                form->SetFocusedControl(this);
        break;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_KEYUP:
    case WM_SYSKEYUP:
    case WM_CHAR:
        if (HandleKeyMessage(m))
            return;
        break;
    case WM_MOUSEWHEEL:
        if (DoMouseWheel(MouseShiftState(GET_KEYSTATE_WPARAM(m.WParam)), GET_WHEEL_DELTA_WPARAM(m.WParam),
                         TPoint{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)})) {
            m.Result = 0;
            return;
        }
        break;
    case WM_CONTEXTMENU:
        if (PopupMenu && EventsAllowed()) {
            int x = GET_X_LPARAM(m.LParam), y = GET_Y_LPARAM(m.LParam);
            if (x == -1 && y == -1) {
                TPoint p = ClientToScreen(TPoint{0, 0});
                x = p.X;
                y = p.Y;
            }
            PopupMenu->PopupComponent = this;
            PopupMenu->Popup(x, y);
            return;
        }
        break;
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP: {
        TPoint p{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
        TControl* target = g_captureControl && g_captureControl->parent_ == this ? g_captureControl : nullptr;
        if (!target && g_captureControl != this)
            target = ControlAtPos(p);
        if (target && target->enabled_) {
            if (m.Msg == WM_MOUSEMOVE)
                TrackMouse(target);
            target->Perform(m.Msg, m.WParam, MAKELPARAM(p.X - target->left_, p.Y - target->top_));
            return;
        }
        if (m.Msg == WM_MOUSEMOVE)
            TrackMouse(this);
        if (HandleMouseMessage(m))
            return;
        break;
    }
    case WM_SETCURSOR:
        // The pointer over this window's client area: the control under it (a
        // windowless child or this control) may ask for its own.
        if (reinterpret_cast<HWND>(m.WParam) == handle_ && LOWORD(m.LParam) == HTCLIENT) {
            POINT screen;
            GetCursorPos(&screen);
            TPoint p = ScreenToClient(TPoint{screen.x, screen.y});
            TControl* under = ControlAtPos(p);
            TCursor cursor = under && under->Cursor != crDefault ? under->Cursor : Cursor;
            if (cursor != crDefault) {
                SetCursor(LoadCursorW(nullptr, cursor == crHandPoint ? IDC_HAND : IDC_ARROW));
                m.Result = TRUE;
                return;
            }
        }
        break;
    case WM_MOUSELEAVE:
        if (g_mouseControl && (g_mouseControl == this || g_mouseControl->parent_ == this)) {
            TControl* old = g_mouseControl;
            g_mouseControl = nullptr;
            old->Perform(CM_MOUSELEAVE, 0, reinterpret_cast<LPARAM>(old));
        }
        break;
    case WM_CAPTURECHANGED:
        if (g_captureControl && (g_captureControl == this || g_captureControl->parent_ == this) &&
            reinterpret_cast<HWND>(m.LParam) != handle_) {
            TControl* lost = g_captureControl;
            g_captureControl = nullptr;
            lost->MouseCaptureLost();
        }
        break;
    case CM_CONTROLLISTCHANGE:
        if (parent_)
            parent_->WindowProc(m);
        return;
    case CM_RECREATEWND:
        RecreateWindow();
        return;
    case CM_DIALOGKEY:
        for (size_t i = 0; i < controls_.size() && !m.Result; ++i)
            m.Result = controls_[i]->Perform(m.Msg, m.WParam, m.LParam);
        return;
    default:
        if (m.Msg >= kCnBase && m.Msg < kCnBase + 0x1000) {
            if (!HandleReflected(m))
                m.Result = 0;
            return;
        }
        if (m.Msg == CM_MOUSEENTER || m.Msg == CM_MOUSELEAVE) {
            TControl::WndProc(m);
            return;
        }
        break;
    }
    DefaultHandler(m);
}

void TWinControl::DefaultHandler(TMessage& m)
{
    if (!handle_) {
        m.Result = 0;
        return;
    }
    m.Result = CallWindowProcW(defProc_ ? defProc_ : DefWindowProcW, handle_, m.Msg, m.WParam, m.LParam);
}
