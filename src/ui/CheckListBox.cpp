#include "ui/CheckListBox.h"

#include "ui/DrawText.h"
#include "ui/Exceptions.h"
#include "ui/Messages.h"
#include "ui/PaintScopes.h"
#include "ui/SysUtils.h"
#include "ui/Text.h"

namespace {
const int kCheckBoxesBitmap = 0x7FF7;  // the system's check-box bitmap (OBM_CHECKBOXES)
}

SIZE CheckBoxGlyphSize()
{
    // Four glyphs across and three down: unchecked, checked, pressed, ... in rows.
    static SIZE size = [] {
        SIZE s{13, 13};
        HBITMAP bitmap = LoadBitmapW(nullptr, MAKEINTRESOURCEW(kCheckBoxesBitmap));
        BITMAP info;
        if (bitmap && GetObjectW(bitmap, sizeof info, &info)) {
            s.cx = info.bmWidth / 4;
            s.cy = info.bmHeight / 3;
        }
        if (bitmap)
            DeleteObject(bitmap);
        return s;
    }();
    return size;
}

TCheckListBox::TCheckListBox(TComponent* owner) : TWinControl(owner)
{
    TabStop = true;
    color_ = clWindow;
    width_ = 120;
    height_ = 97;
    items_.SetOnChange([this](TStrings::Change change, int index) { ItemsChanged(change, index); });
}

void TCheckListBox::CreateParams(TCreateParams& p)
{
    TWinControl::CreateParams(p);
    p.systemClass = L"LISTBOX";
    p.style |= WS_VSCROLL | LBS_NOTIFY | LBS_OWNERDRAWFIXED | LBS_NOINTEGRALHEIGHT |
               (Virtual() ? LBS_NODATA : LBS_HASSTRINGS);
    p.exStyle |= WS_EX_CLIENTEDGE;
}

void TCheckListBox::CreateHandleDone()
{
    if (Virtual()) {
        SendMessageW(handle_, LB_SETCOUNT, static_cast<WPARAM>(count_), 0);
        return;
    }
    for (int i = 0; i < items_.Count(); ++i)
        SendMessageW(handle_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(ToWide(items_[i]).c_str()));
}

int TCheckListBox::Count() const { return Virtual() ? count_ : items_.Count(); }

void TCheckListBox::SetCount(int value)
{
    count_ = value < 0 ? 0 : value;
    if (Virtual()) {
        flags_.resize(static_cast<size_t>(count_));
        if (HandleAllocated())
            SendMessageW(handle_, LB_SETCOUNT, static_cast<WPARAM>(count_), 0);
    }
}

void TCheckListBox::SetStyle(TListBoxStyle value)
{
    if (value == style_)
        return;
    style_ = value;
    flags_.assign(static_cast<size_t>(Count()), ItemFlags{});
    RecreateWnd();
}

const TCheckListBox::ItemFlags& TCheckListBox::Flags(int index) const
{
    if (index < 0 || index >= Count())
        throw Exception("List index out of bounds (" + IntToStr(index) + ")");
    return flags_[static_cast<size_t>(index)];
}

TCheckListBox::ItemFlags& TCheckListBox::Flags(int index)
{
    return const_cast<ItemFlags&>(static_cast<const TCheckListBox*>(this)->Flags(index));
}

TCheckBoxState TCheckListBox::State(int index) const { return Flags(index).state; }

void TCheckListBox::SetState(int index, TCheckBoxState value)
{
    Flags(index).state = value;
    InvalidateItem(index);
}

bool TCheckListBox::ItemEnabled(int index) const { return Flags(index).enabled; }

void TCheckListBox::SetItemEnabled(int index, bool value)
{
    Flags(index).enabled = value;
    InvalidateItem(index);
}

bool TCheckListBox::Header(int index) const { return Flags(index).header; }

void TCheckListBox::SetHeader(int index, bool value)
{
    Flags(index).header = value;
    InvalidateItem(index);
}

int TCheckListBox::CheckWidth() const { return CheckBoxGlyphSize().cx + 2; }

std::string TCheckListBox::ItemText(int index)
{
    if (!Virtual())
        return items_[index];
    std::string data;
    if (OnData && EventsAllowed())
        OnData(this, index, data);
    return data;
}

void TCheckListBox::InvalidateItem(int index)
{
    RECT r;
    if (HandleAllocated() && SendMessageW(handle_, LB_GETITEMRECT, static_cast<WPARAM>(index),
                                          reinterpret_cast<LPARAM>(&r)) != LB_ERR)
        InvalidateRect(handle_, &r, FALSE);
}

void TCheckListBox::ItemsChanged(TStrings::Change change, int index)
{
    switch (change) {
    case TStrings::Change::Clear:
        flags_.clear();
        if (HandleAllocated())
            SendMessageW(handle_, LB_RESETCONTENT, 0, 0);
        break;
    case TStrings::Change::Insert:
        flags_.insert(flags_.begin() + index, ItemFlags{});
        if (HandleAllocated())
            SendMessageW(handle_, LB_INSERTSTRING, static_cast<WPARAM>(index),
                         reinterpret_cast<LPARAM>(ToWide(items_[index]).c_str()));
        break;
    case TStrings::Change::Delete:
        flags_.erase(flags_.begin() + index);
        if (HandleAllocated())
            SendMessageW(handle_, LB_DELETESTRING, static_cast<WPARAM>(index), 0);
        break;
    }
}

bool TCheckListBox::HandleReflected(TMessage& m)
{
    if (m.Msg != CN_DRAWITEM)
        return false;
    DrawItem(*reinterpret_cast<DRAWITEMSTRUCT*>(m.LParam));
    m.Result = TRUE;
    return true;
}

void TCheckListBox::DrawItem(const DRAWITEMSTRUCT& item)
{
    int index = static_cast<int>(item.itemID);
    RECT r = item.rcItem;
    CanvasDCScope onDC(canvas_, item.hDC);
    canvas_.Font = font_;
    canvas_.Brush.Color = color_;
    if (index < 0 || index >= Count()) {
        canvas_.FillRect(TRect::From(r));
        return;
    }
    const ItemFlags& flags = Flags(index);
    TColor textColor = flags.enabled && enabled_ ? font_.Color : clGrayText;
    if (flags.header) {
        canvas_.Brush.Color = HeaderBackgroundColor;
        textColor = HeaderColor;
    } else {
        RECT check{r.left, r.top, r.left + CheckWidth(), r.bottom};
        canvas_.FillRect(TRect::From(check));
        UINT state = DFCS_BUTTONCHECK | (flags.state == cbChecked ? DFCS_CHECKED : 0u) |
                     (flags.state == cbGrayed ? DFCS_BUTTON3STATE | DFCS_CHECKED : 0u) |
                     (flags.enabled && enabled_ ? 0u : static_cast<UINT>(DFCS_INACTIVE));
        SIZE glyph = CheckBoxGlyphSize();
        RECT box{check.left + (CheckWidth() - glyph.cx) / 2, check.top + (check.bottom - check.top - glyph.cy) / 2, 0,
                 0};
        box.right = box.left + glyph.cx;
        box.bottom = box.top + glyph.cy;
        DrawFrameControl(item.hDC, &box, DFC_BUTTON, state);
        r.left = check.right;
        if (item.itemState & ODS_SELECTED) {
            canvas_.Brush.Color = clHighlight;
            textColor = clHighlightText;
        }
    }
    canvas_.FillRect(TRect::From(r));
    RECT text{r.left + 2, r.top, r.right, r.bottom};
    DrawCaption(item.hDC, ItemText(index), text, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX, font_, textColor);
    if (item.itemState & ODS_FOCUS)
        DrawFocusRect(item.hDC, &r);
}
