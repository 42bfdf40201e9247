#include "ui/Dialogs.h"

#include <windows.h>
#include <commdlg.h>

#include <algorithm>

#include "ui/Application.h"
#include "ui/DialogProvider.h"
#include "ui/TaskWindows.h"

namespace {
// The hint of the button that opened a dialog must not stay on top of the dialog.
void CancelDialogOwnerHint()
{
    if (Application)
        Application->CancelHint();
}
} // namespace

unsigned OpenOptionsToFlags(unsigned options)
{
    unsigned flags = 0;
    if (options & ofOverwritePrompt)
        flags |= OFN_OVERWRITEPROMPT;
    if (options & ofHideReadOnly)
        flags |= OFN_HIDEREADONLY;
    if (options & ofFileMustExist)
        flags |= OFN_FILEMUSTEXIST;
    if (options & ofPathMustExist)
        flags |= OFN_PATHMUSTEXIST;
    if (options & ofNoChangeDir)
        flags |= OFN_NOCHANGEDIR;
    return flags;
}

bool TOpenDialog::Execute() { return Run(false); }

bool TOpenDialog::Run(bool save)
{
    FileDialogRequest request;
    request.save = save;
    request.title = Title;
    request.filter = Filter;
    request.filterIndex = FilterIndex;
    request.defaultExt = DefaultExt;
    request.initialDir = InitialDir;
    request.fileName = FileName;
    request.options = OpenOptionsToFlags(Options);
    CancelDialogOwnerHint();
    if (!Dialogs().ShowFileDialog(DialogOwnerWindow(), request))
        return false;
    FileName = request.fileName;
    FilterIndex = request.filterIndex;
    return true;
}

TColorDialog::TColorDialog(TComponent* owner) : TComponent(owner)
{
    std::fill(std::begin(CustomColors), std::end(CustomColors), clWhite);
}

bool TColorDialog::Execute()
{
    uint32_t color = ColorToRGB(Color);
    uint32_t custom[16];
    std::copy(std::begin(CustomColors), std::end(CustomColors), custom);
    CancelDialogOwnerHint();
    if (!Dialogs().ShowColorDialog(DialogOwnerWindow(), color, custom))
        return false;
    Color = color;
    std::copy(std::begin(custom), std::end(custom), CustomColors);
    return true;
}

int ShowMessageBox(const std::string& text, const std::string& caption, unsigned flags)
{
    CancelDialogOwnerHint();
    HWND owner = DialogOwnerWindow();
    // No other window of the program takes input until the box is answered.
    TTaskWindowsDisabled others(owner);
    return Dialogs().ShowMessageBox(owner, text, caption, flags);
}
