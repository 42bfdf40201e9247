#include "ui/StdCtrls.h"

#include <algorithm>

#include "ui/Application.h"
#include "ui/DrawText.h"
#include "ui/Forms.h"
#include "ui/Messages.h"
#include "ui/Text.h"

// ---------------------------------------------------------------------------------------
// TCustomLabel

TCustomLabel::TCustomLabel(TComponent* owner) : TGraphicControl(owner)
{
    width_ = 65;
    height_ = 13;
}

void TCustomLabel::SetAutoSize(bool value)
{
    autoSize_ = value;
    AdjustBounds();
}

void TCustomLabel::SetAlignment(TAlignment value)
{
    alignment_ = value;
    Invalidate();
}

void TCustomLabel::SetTransparent(bool value)
{
    transparent_ = value;
    Invalidate();
}

void TCustomLabel::SetWordWrap(bool value)
{
    wordWrap_ = value;
    AdjustBounds();
    Invalidate();
}

void TCustomLabel::FontChanged()
{
    AdjustBounds();
    Invalidate();
}

unsigned TCustomLabel::DrawFlags() const
{
    unsigned flags = DT_EXPANDTABS | (wordWrap_ ? DT_WORDBREAK : 0u);
    if (alignment_ == taRightJustify)
        flags |= DT_RIGHT;
    else if (alignment_ == taCenter)
        flags |= DT_CENTER;
    return flags;
}

void TCustomLabel::AdjustBounds()
{
    if (!autoSize_ || (ComponentState & csLoading))
        return;
    SIZE s = MeasureCaption(text_, font_, DrawFlags() & ~static_cast<unsigned>(DT_RIGHT | DT_CENTER),
                            wordWrap_ ? width_ : 0);
    SetBounds(left_, top_, wordWrap_ ? width_ : static_cast<int>(s.cx), s.cy);
}

void TCustomLabel::Paint()
{
    TRect r = ClientRect();
    if (!transparent_) {
        canvas_.Brush.Color = color_;
        canvas_.FillRect(r);
    }
    RECT rc = r.ToRECT();
    DrawCaption(canvas_.Handle(), text_, rc, DrawFlags(), font_, enabled_ ? font_.Color : clGrayText);
}

// ---------------------------------------------------------------------------------------
// TButtonControl and TButton

TButtonControl::TButtonControl(TComponent* owner) : TWinControl(owner)
{
    TabStop = true;
    width_ = 75;
    height_ = 25;
}

void TButtonControl::CreateParams(TCreateParams& p)
{
    TWinControl::CreateParams(p);
    p.systemClass = L"BUTTON";
    p.style &= ~static_cast<DWORD>(WS_CLIPCHILDREN);
}

bool TButtonControl::HandleReflected(TMessage& m)
{
    if (m.Msg == CN_COMMAND && HIWORD(m.WParam) == BN_CLICKED) {
        Clicked();
        return true;
    }
    return false;
}

void TButton::CreateParams(TCreateParams& p)
{
    TButtonControl::CreateParams(p);
    p.style |= default_ ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
}

void TButton::SetDefault(bool value)
{
    if (value == default_)
        return;
    default_ = value;
    if (!HandleAllocated())
        return;
    if ((GetWindowLongW(handle_, GWL_STYLE) & BS_TYPEMASK) == BS_OWNERDRAW)
        Invalidate();  // an owner-drawn button shows the frame itself
    else
        SendMessageW(handle_, BM_SETSTYLE, value ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
}

void TButton::Click()
{
    if (ModalResult != mrNone)
        if (TForm* form = ParentForm())
            form->ModalResult = ModalResult;
    TButtonControl::Click();
}

void TButton::WndProc(TMessage& m)
{
    if (m.Msg == CM_DIALOGKEY && CanFocus()) {
        // Enter clicks the focused button, else the default one; Escape the cancel one.
        bool mine = false;
        if (m.WParam == VK_RETURN) {
            TForm* form = ParentForm();
            TWinControl* focused = form ? form->ActiveControl() : nullptr;
            mine = focused == this || (default_ && !dynamic_cast<TButton*>(focused));
        } else if (m.WParam == VK_ESCAPE) {
            mine = Cancel;
        }
        if (mine) {
            Click();
            m.Result = 1;
            return;
        }
    }
    TButtonControl::WndProc(m);
}

// ---------------------------------------------------------------------------------------
// TCheckBox and TRadioButton

void TCheckBox::CreateParams(TCreateParams& p)
{
    TButtonControl::CreateParams(p);
    p.style |= BS_CHECKBOX;  // not automatic: a click goes through SetChecked
}

void TCheckableButton::ShowCheck()
{
    if (HandleAllocated())
        SendMessageW(handle_, BM_SETCHECK, checked_ ? BST_CHECKED : BST_UNCHECKED, 0);
}

void TCheckBox::SetChecked(bool value)
{
    if (value == checked_)
        return;
    checked_ = value;
    ShowCheck();
    Click();
}

void TRadioButton::CreateParams(TCreateParams& p)
{
    TButtonControl::CreateParams(p);
    p.style |= BS_RADIOBUTTON;
}


void TRadioButton::SetChecked(bool value)
{
    if (value == checked_)
        return;
    checked_ = value;
    ShowCheck();
    if (!value)
        return;
    if (parent_)
        for (int i = 0; i < parent_->ControlCount(); ++i)
            if (auto* sibling = dynamic_cast<TRadioButton*>(parent_->Controls(i)))
                if (sibling != this)
                    sibling->SetChecked(false);
    Click();
}

// ---------------------------------------------------------------------------------------
// TEdit

TEdit::TEdit(TComponent* owner) : TWinControl(owner)
{
    TabStop = true;
    color_ = clWindow;
    width_ = 121;
    height_ = 21;
}

void TEdit::CreateParams(TCreateParams& p)
{
    TWinControl::CreateParams(p);
    p.systemClass = L"EDIT";
    p.style |= ES_AUTOHSCROLL;
    p.style &= ~static_cast<DWORD>(WS_CLIPCHILDREN);
    if (alignment_ == taRightJustify)
        p.style |= ES_RIGHT;
    else if (alignment_ == taCenter)
        p.style |= ES_CENTER;
    if (readOnly_)
        p.style |= ES_READONLY;
    p.exStyle |= WS_EX_CLIENTEDGE;
}

void TEdit::CreateHandleDone() { SendMessageW(handle_, EM_LIMITTEXT, static_cast<WPARAM>(maxLength_), 0); }

void TEdit::SetMaxLength(int value)
{
    maxLength_ = std::max(0, value);
    if (HandleAllocated())
        SendMessageW(handle_, EM_LIMITTEXT, static_cast<WPARAM>(maxLength_), 0);
}

void TEdit::SetReadOnly(bool value)
{
    readOnly_ = value;
    if (HandleAllocated())
        SendMessageW(handle_, EM_SETREADONLY, value, 0);
}

void TEdit::SetAlignment(TAlignment value)
{
    if (value == alignment_)
        return;
    alignment_ = value;
    RecreateWnd();  // the alignment is a window style fixed at creation
}

void TEdit::SelectAll()
{
    if (HandleAllocated())
        SendMessageW(handle_, EM_SETSEL, 0, -1);
}

void TEdit::WndProc(TMessage& m)
{
    if (m.Msg == WM_CHAR && NumbersOnly && m.WParam >= L' ' && !(m.WParam >= L'0' && m.WParam <= L'9')) {
        m.Result = 0;
        return;
    }
    TWinControl::WndProc(m);
}

void TEdit::TextChanged()
{
    if (HandleAllocated())
        TWinControl::TextChanged();  // the window reports EN_CHANGE
    else
        Change();
}

bool TEdit::HandleReflected(TMessage& m)
{
    if (m.Msg == CN_COMMAND && HIWORD(m.WParam) == EN_CHANGE) {
        if (!recreating_)
            Change();
        return true;
    }
    return false;
}

void TEdit::Change()
{
    // The window may report one edit twice (replacing a selection); report changes.
    std::string now = Text();
    if (now == changedText_)
        return;
    changedText_ = now;
    if (OnChange && EventsAllowed())
        OnChange(this);
}

// ---------------------------------------------------------------------------------------
// TComboBox

TComboBox::TComboBox(TComponent* owner) : TWinControl(owner)
{
    TabStop = true;
    color_ = clWindow;
    width_ = 145;
    height_ = 21;
    items_.SetOnChange([this](TStrings::Change change, int index) { ItemsChanged(change, index); });
}

TComboBox::~TComboBox() { UnhookEditPart(); }

void TComboBox::CreateParams(TCreateParams& p)
{
    TWinControl::CreateParams(p);
    p.systemClass = L"COMBOBOX";
    p.style |= WS_VSCROLL | CBS_AUTOHSCROLL | (style_ == csDropDownList ? CBS_DROPDOWNLIST : CBS_DROPDOWN);
}

void TComboBox::CreateHandleDone()
{
    fromCode_ = true;
    for (int i = 0; i < items_.Count(); ++i)
        SendMessageW(handle_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(ToWide(items_[i]).c_str()));
    SendMessageW(handle_, CB_SETCURSEL, static_cast<WPARAM>(itemIndex_), 0);
    if (style_ == csDropDown)
        SetWindowTextW(handle_, ToWide(text_).c_str());
    fromCode_ = false;
    ApplyDropDownHeight();
    HookEditPart();
}

void TComboBox::DestroyHandleStart()
{
    itemIndex_ = static_cast<int>(SendMessageW(handle_, CB_GETCURSEL, 0, 0));
    UnhookEditPart();
}

namespace {
// Properties of a drop-down box's text part while it is hooked: its box, and the
// window procedure it had before.
const wchar_t kEditPartBox[] = L"Pelvor.EditPartBox";
const wchar_t kEditPartProc[] = L"Pelvor.EditPartProc";
} // namespace

void TComboBox::HookEditPart()
{
    if (style_ != csDropDown || editPart_)
        return;
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    if (!GetComboBoxInfo(handle_, &info) || !info.hwndItem || info.hwndItem == handle_)
        return;
    editPart_ = info.hwndItem;
    SetPropW(editPart_, kEditPartBox, this);
    SetPropW(editPart_, kEditPartProc, reinterpret_cast<HANDLE>(GetWindowLongPtrW(editPart_, GWLP_WNDPROC)));
    SetWindowLongPtrW(editPart_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(EditPartProc));
}

void TComboBox::UnhookEditPart()
{
    if (!editPart_)
        return;
    if (IsWindow(editPart_)) {
        SetWindowLongPtrW(editPart_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(GetPropW(editPart_, kEditPartProc)));
        RemovePropW(editPart_, kEditPartProc);
        RemovePropW(editPart_, kEditPartBox);
    }
    editPart_ = nullptr;
}

LRESULT CALLBACK TComboBox::EditPartProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    auto* box = static_cast<TComboBox*>(GetPropW(hwnd, kEditPartBox));
    auto proc = reinterpret_cast<WNDPROC>(GetPropW(hwnd, kEditPartProc));
    if (!box || !proc)
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    TMessage m{msg, wParam, lParam, 0};
    try {
        TDispatchScope depth;
        switch (msg) {
        case WM_SETFOCUS:
            // The caret in the text part is the box being the form's focused control.
            if (TForm* form = box->ParentForm())
                form->SetFocusedControl(box);
            break;
        case WM_NCDESTROY:
            box->UnhookEditPart();
            break;
        default:
            // Key messages as the box's own (HandleKeyMessage leaves any other alone).
            if (box->HandleKeyMessage(m))
                return m.Result;
            break;
        }
    } catch (...) {
        ApplicationHandleException();
        return 0;
    }
    return CallWindowProcW(proc, hwnd, msg, m.WParam, m.LParam);
}

void TComboBox::ApplyDropDownHeight()
{
    if (!HandleAllocated())
        return;
    // The window's height sets the dropped list's height; the closed box keeps its own.
    int item = static_cast<int>(SendMessageW(handle_, CB_GETITEMHEIGHT, 0, 0));
    int box = static_cast<int>(SendMessageW(handle_, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0));
    int n = std::max(1, std::min(dropDownCount_, std::max(1, items_.Count())));
    SetWindowPos(handle_, nullptr, 0, 0, width_, box + 8 + n * item, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TComboBox::SetBounds(int left, int top, int width, int height)
{
    TWinControl::SetBounds(left, top, width, height);
    ApplyDropDownHeight();
}

void TComboBox::SetStyle(TComboBoxStyle value)
{
    if (value == style_)
        return;
    style_ = value;
    RecreateWnd();
}

void TComboBox::SetDropDownCount(int value)
{
    dropDownCount_ = value;
    ApplyDropDownHeight();
}

int TComboBox::ItemIndex()
{
    if (HandleAllocated())
        itemIndex_ = static_cast<int>(SendMessageW(handle_, CB_GETCURSEL, 0, 0));
    return itemIndex_;
}

void TComboBox::SetItemIndex(int index)
{
    if (index < -1 || index >= items_.Count())
        index = -1;
    itemIndex_ = index;
    text_ = index >= 0 ? items_[index] : std::string();
    if (HandleAllocated()) {
        fromCode_ = true;
        SendMessageW(handle_, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
        fromCode_ = false;
    }
}

std::string TComboBox::Text()
{
    if (HandleAllocated())
        return TWinControl::Text();
    if (style_ == csDropDownList)
        return itemIndex_ >= 0 && itemIndex_ < items_.Count() ? items_[itemIndex_] : std::string();
    return text_;
}

void TComboBox::TextChanged()
{
    if (style_ == csDropDownList) {
        SetItemIndex(items_.IndexOf(text_));
        return;
    }
    fromCode_ = true;
    TWinControl::TextChanged();
    fromCode_ = false;
}

void TComboBox::ItemsChanged(TStrings::Change change, int index)
{
    switch (change) {
    case TStrings::Change::Clear:
        itemIndex_ = -1;
        if (HandleAllocated())
            SendMessageW(handle_, CB_RESETCONTENT, 0, 0);
        break;
    case TStrings::Change::Insert:
        if (itemIndex_ >= index)
            ++itemIndex_;
        if (HandleAllocated())
            SendMessageW(handle_, CB_INSERTSTRING, static_cast<WPARAM>(index),
                         reinterpret_cast<LPARAM>(ToWide(items_[index]).c_str()));
        break;
    case TStrings::Change::Delete:
        if (itemIndex_ == index)
            itemIndex_ = -1;
        else if (itemIndex_ > index)
            --itemIndex_;
        if (HandleAllocated())
            SendMessageW(handle_, CB_DELETESTRING, static_cast<WPARAM>(index), 0);
        break;
    }
    ApplyDropDownHeight();
}

bool TComboBox::HandleReflected(TMessage& m)
{
    if (m.Msg != CN_COMMAND)
        return false;
    WORD code = HIWORD(m.WParam);
    if (fromCode_ || recreating_ || (code != CBN_SELCHANGE && code != CBN_EDITCHANGE))
        return code == CBN_SELCHANGE || code == CBN_EDITCHANGE;
    if (code == CBN_SELCHANGE) {
        itemIndex_ = static_cast<int>(SendMessageW(handle_, CB_GETCURSEL, 0, 0));
        if (style_ == csDropDown && itemIndex_ >= 0) {
            // The edit part shows the new item only after this notification.
            fromCode_ = true;
            SetWindowTextW(handle_, ToWide(items_[itemIndex_]).c_str());
            fromCode_ = false;
        }
    }
    if (OnChange && EventsAllowed())
        OnChange(this);
    return true;
}

// ---------------------------------------------------------------------------------------
// TCustomGroupBox

TCustomGroupBox::TCustomGroupBox(TComponent* owner) : TCustomControl(owner)
{
    width_ = 185;
    height_ = 105;
}

TRect TCustomGroupBox::ClientRect()
{
    TRect r = TCustomControl::ClientRect();
    SIZE s = MeasureCaption("0", font_, DT_SINGLELINE);
    return Rect(r.Left + 1, r.Top + s.cy, r.Right - 1, r.Bottom - 1);
}

void TCustomGroupBox::Paint()
{
    TRect client = TCustomControl::ClientRect();
    canvas_.Brush.Color = color_;
    canvas_.FillRect(client);
    HDC dc = canvas_.Handle();
    SIZE s = MeasureCaption(text_, font_, DT_SINGLELINE);
    RECT frame = client.ToRECT();
    frame.top += s.cy / 2;
    DrawEdge(dc, &frame, EDGE_ETCHED, BF_RECT);
    if (!text_.empty()) {
        RECT cap{8, 0, 8 + s.cx, s.cy};
        canvas_.FillRect(TRect::From(cap));
        DrawCaption(dc, text_, cap, DT_SINGLELINE, font_, enabled_ ? font_.Color : clGrayText);
    }
}

// ---------------------------------------------------------------------------------------
// TCustomStaticText

TCustomStaticText::TCustomStaticText(TComponent* owner) : TWinControl(owner)
{
    width_ = 65;
    height_ = 17;
}

void TCustomStaticText::CreateParams(TCreateParams& p)
{
    TWinControl::CreateParams(p);
    p.systemClass = L"STATIC";
    p.style |= SS_LEFT;
    p.style &= ~static_cast<DWORD>(WS_CLIPCHILDREN);
}
