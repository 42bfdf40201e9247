#include "ui/Menus.h"

#include "ui/Application.h"
#include "ui/Text.h"

std::string ShortCutToText(TShortCut shortCut)
{
    std::string text;
    if (shortCut & scCtrl)
        text += "Ctrl+";
    if (shortCut & scShift)
        text += "Shift+";
    if (shortCut & scAlt)
        text += "Alt+";
    WORD key = static_cast<WORD>(shortCut & 0xFF);
    switch (key) {
    case VK_INSERT: return text + "Ins";
    case VK_DELETE: return text + "Del";
    case VK_RETURN: return text + "Enter";
    case VK_ESCAPE: return text + "Esc";
    case VK_SPACE: return text + "Space";
    case VK_BACK: return text + "BkSp";
    case VK_TAB: return text + "Tab";
    default: break;
    }
    if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z'))
        return text + static_cast<char>(key);
    if (key >= VK_F1 && key <= VK_F12)
        return text + "F" + std::to_string(key - VK_F1 + 1);
    return text + "#" + std::to_string(key);
}

void TMenuItem::Click()
{
    if (Enabled && OnClick)
        OnClick(this);
}

TMenuItem* TPopupMenu::FindShortCut(TShortCut shortCut) const
{
    for (TMenuItem* item : Items)
        if (item->ShortCut == shortCut && item->Visible && item->Enabled)
            return item;
    return nullptr;
}

HMENU TPopupMenu::CreateMenuHandle() const
{
    HMENU menu = CreatePopupMenu();
    for (size_t i = 0; i < Items.size(); ++i) {
        TMenuItem* item = Items[i];
        if (!item->Visible)
            continue;
        if (item->Caption == "-") {
            AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
            continue;
        }
        std::string caption = item->Caption;
        if (item->ShortCut)
            caption += "\t" + ShortCutToText(item->ShortCut);
        UINT flags = MF_STRING | (item->Enabled ? 0 : MF_GRAYED) | (item->Checked ? MF_CHECKED : 0);
        AppendMenuW(menu, flags, i + 1, ToWide(caption).c_str());
        if (Images && item->ImageIndex >= 0) {
            MENUITEMINFOW info{};
            info.cbSize = sizeof info;
            info.fMask = MIIM_BITMAP;
            info.hbmpItem = Images->AlphaBitmap(item->ImageIndex);
            SetMenuItemInfoW(menu, static_cast<UINT>(i + 1), FALSE, &info);
        }
    }
    return menu;
}

void TPopupMenu::Popup(int x, int y)
{
    if (OnPopup)
        OnPopup(this);
    HMENU menu = CreateMenuHandle();
    HWND owner = nullptr;
    if (PopupComponent) {
        TWinControl* w = PopupComponent->IsWindowed() ? static_cast<TWinControl*>(PopupComponent)
                                                      : PopupComponent->Parent();
        if (w && w->HandleAllocated())
            owner = w->Handle();
    }
    if (!owner && Application)
        owner = Application->Handle();
    UINT id = static_cast<UINT>(TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON, x, y, 0, owner, nullptr));
    DestroyMenu(menu);
    if (id >= 1 && id <= Items.size())
        Items[id - 1]->Click();
}
