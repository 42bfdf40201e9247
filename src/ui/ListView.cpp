#include "ui/ListView.h"

#include <commctrl.h>

#include "ui/Text.h"

TCustomListView::TCustomListView(TComponent* owner) : TWinControl(owner)
{
    TabStop = true;
    color_ = clWindow;
    width_ = 250;
    height_ = 150;
}

void TCustomListView::CreateParams(TCreateParams& p)
{
    TWinControl::CreateParams(p);
    p.systemClass = WC_LISTVIEWW;
    p.style |= LVS_REPORT | LVS_SHAREIMAGELISTS;
    p.exStyle |= WS_EX_CLIENTEDGE;
}

void TCustomListView::CreateHandleDone()
{
    for (int i = 0; i < ColumnCount(); ++i)
        InsertColumn(i);
}

void TCustomListView::AddColumn(const TListColumn& column)
{
    columns_.push_back(column);
    if (HandleAllocated())
        InsertColumn(ColumnCount() - 1);
}

void TCustomListView::InsertColumn(int index)
{
    const TListColumn& c = columns_[static_cast<size_t>(index)];
    std::wstring caption = ToWide(c.Caption);
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_IMAGE;
    column.pszText = &caption[0];
    column.cx = c.Width;
    column.iImage = c.ImageIndex;
    SendMessageW(handle_, LVM_INSERTCOLUMNW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&column));
}
