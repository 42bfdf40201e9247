#pragma once
// Popup menus with items, captions and shortcuts.
#include <windows.h>

#include <string>
#include <vector>

#include "ui/Component.h"
#include "ui/Controls.h"
#include "ui/ImgList.h"

// A shortcut: virtual-key code in the low byte plus modifier bits.
using TShortCut = unsigned;
enum : unsigned { scShift = 0x2000, scCtrl = 0x4000, scAlt = 0x8000 };
inline TShortCut ShortCut(WORD key, TShiftState shift)
{
    return key | ((shift & ssShift) ? scShift : 0u) | ((shift & ssCtrl) ? scCtrl : 0u) |
           ((shift & ssAlt) ? scAlt : 0u);
}
// "Ctrl+Ins" and the like, as shown beside a menu caption.
std::string ShortCutToText(TShortCut shortCut);

class TMenuItem : public TComponent {
public:
    explicit TMenuItem(TComponent* owner) : TComponent(owner) {}
    std::string Caption;
    TShortCut ShortCut = 0;
    bool Enabled = true;
    bool Visible = true;
    bool Checked = false;
    int ImageIndex = -1;  // picture from the menu's Images, -1 for none
    TNotifyEvent OnClick;
    // The path a choice takes: real choices and tests call it alike.
    void Click();
};

class TPopupMenu : public TComponent {
public:
    explicit TPopupMenu(TComponent* owner) : TComponent(owner) {}
    // Items, in menu order (not owned: the form owns them).
    std::vector<TMenuItem*> Items;
    void Add(TMenuItem* item) { Items.push_back(item); }
    // Shows the menu at a screen point and runs the chosen item's Click.
    void Popup(int x, int y);
    // The menu as Popup shows it (an item "-" is a separator); the caller destroys it.
    // Item i has the command id i + 1.
    HMENU CreateMenuHandle() const;
    TImageList* Images = nullptr;  // not owned
    // The enabled, visible item with this shortcut, or null.
    TMenuItem* FindShortCut(TShortCut shortCut) const;
    TControl* PopupComponent = nullptr;  // not owned
    TNotifyEvent OnPopup;
};
