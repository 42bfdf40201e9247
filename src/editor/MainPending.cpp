// Work of the main window that other parts of the program provide: loop and label
// validation and the clipboard. Until they are built these do nothing.
#include "editor/UnitMain.h"

void TFormMain::EndFloatingPaste() {}
void TFormMain::CopyOrCut(int) {}
void TFormMain::PasteClipboard() {}
void TFormMain::ClearClipboard() {}
void TFormMain::ValidateLoops() {}
void TFormMain::ValidateLabels() {}
