#pragma once
// The standard controls: label, push button, check box, radio button, edit, combo box
// and group box. Each keeps its state in fields while it has no window and pushes it
// into the window when the window is made.
#include <memory>

#include "ui/Controls.h"
#include "ui/StringList.h"

enum TAlignment { taLeftJustify, taRightJustify, taCenter };

// A caption drawn by its parent.
class TCustomLabel : public TGraphicControl {
public:
    explicit TCustomLabel(TComponent* owner);

    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool value);
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment value);
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool value);
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool value);

protected:
    void Paint() override;
    void TextChanged() override { AdjustBounds(); }
    void FontChanged() override;
    // With AutoSize, fits the bounds to the caption (the width stays with WordWrap).
    void AdjustBounds();
    unsigned DrawFlags() const;

    bool autoSize_ = true;
    TAlignment alignment_ = taLeftJustify;
    bool transparent_ = false;
    bool wordWrap_ = false;
};

class TLabel : public TCustomLabel {
public:
    using TCustomLabel::TCustomLabel;
};

// Base of the system button controls; a click arrives as BN_CLICKED.
class TButtonControl : public TWinControl {
public:
    explicit TButtonControl(TComponent* owner);

protected:
    void CreateParams(TCreateParams& params) override;
    bool HandleReflected(TMessage& message) override;
    // The user clicked the control.
    virtual void Clicked() { Click(); }
};

class TButton : public TButtonControl {
public:
    using TButtonControl::TButtonControl;
    // Sets the form's ModalResult (when not mrNone), then runs OnClick.
    void Click() override;

    int ModalResult = 0;
    bool Default() const { return default_; }
    void SetDefault(bool value);
    // Escape on the form clicks the cancel button.
    bool Cancel = false;

    void WndProc(TMessage& message) override;

protected:
    void CreateParams(TCreateParams& params) override;
    bool default_ = false;
};

// A button with a check state kept in a field and shown by the window.
class TCheckableButton : public TButtonControl {
public:
    using TButtonControl::TButtonControl;
    bool Checked() const { return checked_; }

protected:
    void CreateHandleDone() override { ShowCheck(); }
    void ShowCheck();
    bool checked_ = false;
};

class TCheckBox : public TCheckableButton {
public:
    using TCheckableButton::TCheckableButton;
    // Fires OnClick when the state changes.
    void SetChecked(bool value);

protected:
    void CreateParams(TCreateParams& params) override;
    void Clicked() override { SetChecked(!checked_); }
};

// Checking one radio button unchecks the others with the same parent.
class TRadioButton : public TCheckableButton {
public:
    using TCheckableButton::TCheckableButton;
    // Fires OnClick when the button becomes checked.
    void SetChecked(bool value);

protected:
    void CreateParams(TCreateParams& params) override;
    void Clicked() override { SetChecked(true); }
};

class TEdit : public TWinControl {
public:
    explicit TEdit(TComponent* owner);

    int MaxLength() const { return maxLength_; }
    void SetMaxLength(int value);
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool value);
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment value);
    void SelectAll();
    // A numeric field: characters other than digits are dropped as they are typed,
    // before any key event sees them (control keys such as Backspace, Enter, Escape and
    // the clipboard's pass).
    bool NumbersOnly = false;

    // Every change of the text, typed or set from code.
    TNotifyEvent OnChange;

    void WndProc(TMessage& message) override;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateHandleDone() override;
    bool HandleReflected(TMessage& message) override;
    void TextChanged() override;
    void Change();

    int maxLength_ = 0;
    bool readOnly_ = false;
    std::string changedText_;  // the text OnChange last reported
    TAlignment alignment_ = taLeftJustify;
};

enum TComboBoxStyle { csDropDown, csDropDownList };

class TComboBox : public TWinControl {
public:
    explicit TComboBox(TComponent* owner);
    ~TComboBox() override;

    TComboBoxStyle Style() const { return style_; }
    void SetStyle(TComboBoxStyle value);
    TStrings& Items() { return items_; }
    int ItemIndex();
    // Selects an item (-1: none) without firing OnChange.
    void SetItemIndex(int index);
    std::string Text() override;
    int DropDownCount() const { return dropDownCount_; }
    void SetDropDownCount(int value);
    void SetBounds(int left, int top, int width, int height) override;

    // The user picked an item or typed.
    TNotifyEvent OnChange;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateHandleDone() override;
    void DestroyHandleStart() override;
    bool HandleReflected(TMessage& message) override;
    // From code: a drop-down list selects the matching item; no event either way.
    void TextChanged() override;

private:
    void ItemsChanged(TStrings::Change change, int index);
    void ApplyDropDownHeight();
    // The text part of a drop-down box is a window of the system's inside ours: its keys
    // and focus are taken through this box, as they would be for the box itself.
    void HookEditPart();
    void UnhookEditPart();
    static LRESULT CALLBACK EditPartProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

    TComboBoxStyle style_ = csDropDown;
    TStrings items_;
    int itemIndex_ = -1;
    int dropDownCount_ = 8;
    int fullHeight_ = 0;  // height as set, the closed box being shorter in the window
    bool fromCode_ = false;
    HWND editPart_ = nullptr;  // the text part while hooked
};

// A frame with its caption; our own window, so it can parent graphic controls.
class TCustomGroupBox : public TCustomControl {
public:
    explicit TCustomGroupBox(TComponent* owner);
    TRect ClientRect() override;

protected:
    void Paint() override;
};

class TGroupBox : public TCustomGroupBox {
public:
    using TCustomGroupBox::TCustomGroupBox;
};

// A caption in a window of its own (a static control), which the keyboard cues of its
// form redraw.
class TCustomStaticText : public TWinControl {
public:
    explicit TCustomStaticText(TComponent* owner);

protected:
    void CreateParams(TCreateParams& params) override;
};

class TStaticText : public TCustomStaticText {
public:
    using TCustomStaticText::TCustomStaticText;
};
