#pragma once
// A list box whose items carry a check box. Items may be disabled, and header items
// (without a check box) show in colours of their own. The control draws its items (fixed
// height); with a virtual style their texts come from OnData.
#include <functional>
#include <vector>

#include "ui/Controls.h"
#include "ui/StringList.h"

enum TListBoxStyle { lbStandard, lbOwnerDrawFixed, lbOwnerDrawVariable, lbVirtual, lbVirtualOwnerDraw };
enum TCheckBoxState { cbUnchecked, cbChecked, cbGrayed };
using TOwnerDrawState = unsigned;  // ODS_* flags of the item being drawn
using TDrawItemEvent = std::function<void(TObject* Control, int Index, TRect Rect, TOwnerDrawState State)>;
using TLBGetDataEvent = std::function<void(TObject* Control, int Index, std::string& Data)>;

// The size of one check-box glyph of the system's check-box bitmap.
SIZE CheckBoxGlyphSize();

class TCheckListBox : public TWinControl {
public:
    explicit TCheckListBox(TComponent* owner);

    TStrings& Items() { return items_; }
    // The number of items: the item strings, or for a virtual style the count set.
    int Count() const;
    void SetCount(int value);
    TListBoxStyle Style() const { return style_; }
    void SetStyle(TListBoxStyle value);
    // Per item; an index outside the items raises an Exception.
    TCheckBoxState State(int index) const;
    void SetState(int index, TCheckBoxState value);
    bool Checked(int index) const { return State(index) == cbChecked; }
    void SetChecked(int index, bool value) { SetState(index, value ? cbChecked : cbUnchecked); }
    bool ItemEnabled(int index) const;
    void SetItemEnabled(int index, bool value);
    bool Header(int index) const;
    void SetHeader(int index, bool value);
    TColor HeaderColor = clInfoText;
    TColor HeaderBackgroundColor = clInfoBk;
    // The width of the column that holds the check boxes.
    int CheckWidth() const;
    // The text of an item: OnData's for the virtual styles, else the item string.
    std::string ItemText(int index);
    TCanvas* Canvas() { return &canvas_; }

    TDrawItemEvent OnDrawItem;
    TLBGetDataEvent OnData;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateHandleDone() override;
    bool HandleReflected(TMessage& message) override;

private:
    struct ItemFlags {
        TCheckBoxState state = cbUnchecked;
        bool enabled = true;
        bool header = false;
    };
    bool Virtual() const { return style_ == lbVirtual || style_ == lbVirtualOwnerDraw; }
    const ItemFlags& Flags(int index) const;
    ItemFlags& Flags(int index);
    void ItemsChanged(TStrings::Change change, int index);
    void DrawItem(const DRAWITEMSTRUCT& item);
    void InvalidateItem(int index);

    TStrings items_;
    std::vector<ItemFlags> flags_;  // one per item
    int count_ = 0;                 // virtual styles
    TListBoxStyle style_ = lbStandard;
    TCanvas canvas_;
};
