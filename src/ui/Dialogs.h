#pragma once
// File and colour dialogs and message boxes, all answered by the dialog provider (the
// real dialogs, or a test's). Owner: the active window.
#include <string>

#include "ui/Component.h"
#include "ui/Graphics.h"

enum TOpenOption : unsigned {
    ofOverwritePrompt = 0x1,
    ofHideReadOnly = 0x2,
    ofFileMustExist = 0x4,
    ofPathMustExist = 0x8,
    ofNoChangeDir = 0x10,
};

class TOpenDialog : public TComponent {
public:
    explicit TOpenDialog(TComponent* owner) : TComponent(owner) {}
    // Shows the dialog; true when the user chose a file (FileName, FilterIndex updated).
    virtual bool Execute();

    std::string FileName;
    std::string Filter;  // "Name|*.ext|Name|*.ext"
    int FilterIndex = 1;
    std::string DefaultExt;
    std::string InitialDir;
    std::string Title;
    unsigned Options = ofHideReadOnly;  // TOpenOption bits

protected:
    bool Run(bool save);
};

class TSaveDialog : public TOpenDialog {
public:
    using TOpenDialog::TOpenDialog;
    bool Execute() override { return Run(true); }
};

class TColorDialog : public TComponent {
public:
    explicit TColorDialog(TComponent* owner);
    // True when the user chose a colour (Color updated).
    bool Execute();

    TColor Color = clBlack;
    TColor CustomColors[16];
};

// The OFN_* flags of a set of TOpenOption bits.
unsigned OpenOptionsToFlags(unsigned options);

// A message box owned by the active window, the program's other windows disabled while
// it waits; returns the IDOK/IDYES/... code.
int ShowMessageBox(const std::string& text, const std::string& caption, unsigned flags);
