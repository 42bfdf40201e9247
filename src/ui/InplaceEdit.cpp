#include "ui/InplaceEdit.h"

#include "ui/Messages.h"

// ---------------------------------------------------------------------------------------
// TInplaceEdit

TInplaceEdit::TInplaceEdit(TCustomGrid* grid) : TEdit(grid), grid_(grid)
{
    visible_ = false;
    TabStop = false;
}

bool TInplaceEdit::DoKeyDown(WORD& key, TShiftState shift)
{
    if (TEdit::DoKeyDown(key, shift))
        return true;
    switch (key) {
    case VK_RETURN:
        grid_->HideEditor();
        return true;
    case VK_ESCAPE:
        SetText(grid_->editOriginal_);
        grid_->HideEditor();
        return true;
    case VK_UP:
    case VK_DOWN:
    case VK_PRIOR:
    case VK_NEXT:
    case VK_TAB:
        grid_->HideEditor();
        grid_->KeyNavigate(key, shift);
        return true;
    default:
        return false;
    }
}

void TInplaceEdit::WndProc(TMessage& m)
{
    TEdit::WndProc(m);
    // With goTabs, Tab moves between the cells, so the editor must get it too.
    if (m.Msg == WM_GETDLGCODE && (grid_->options_ & goTabs))
        m.Result |= DLGC_WANTTAB;
}

bool TInplaceEdit::HandleReflected(TMessage& m)
{
    if (m.Msg == CN_COMMAND && HIWORD(m.WParam) == EN_CHANGE) {
        if (Visible())
            grid_->SetEditText(grid_->col_, grid_->row_, Text());
        return true;
    }
    if (m.Msg == CN_COMMAND && HIWORD(m.WParam) == EN_KILLFOCUS) {
        if (Visible())
            grid_->HideEditor();
        return true;
    }
    return TEdit::HandleReflected(m);
}

// ---------------------------------------------------------------------------------------
// In-place editing

std::string TCustomGrid::GetEditText(int col, int row)
{
    std::string value;
    if (OnGetEditText && EventsAllowed())
        OnGetEditText(this, col, row, value);
    return value;
}

void TCustomGrid::SetEditText(int col, int row, const std::string& value)
{
    if (OnSetEditText && EventsAllowed())
        OnSetEditText(this, col, row, value);
}

void TCustomGrid::PlaceEditor()
{
    if (!EditorMode())
        return;
    TRect r = CellRect(col_, row_);
    if (r.Width() <= 0) {
        HideEditor();
        return;
    }
    editor_->SetBounds(r.Left, r.Top, r.Width(), r.Height());
}

void TCustomGrid::ShowEditor()
{
    if (!(options_ & goEditing) || col_ < cols_.Fixed || row_ < rows_.Fixed || !HandleAllocated())
        return;
    if (!editor_) {
        editor_ = new TInplaceEdit(this);
        editor_->SetParent(this);
    }
    ScrollIntoView(col_, row_);
    TRect r = CellRect(col_, row_);
    editOriginal_ = GetEditText(col_, row_);
    editor_->SetVisible(false);
    editor_->SetFont(font_);
    editor_->SetText(editOriginal_);
    editor_->SetBounds(r.Left, r.Top, r.Width(), r.Height());
    editor_->SetVisible(true);
    editor_->SetFocus();
    editor_->SelectAll();
}

void TCustomGrid::HideEditor()
{
    if (!EditorMode())
        return;
    bool hadFocus = editor_->Focused();
    editor_->SetVisible(false);
    InvalidateCell(col_, row_);
    if (hadFocus && HandleAllocated())
        ::SetFocus(handle_);
}
