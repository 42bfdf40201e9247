// Work of the main window that other parts of the program provide: step and time
// recalculation, grid zoom, cell drawing and selection menus, loop and label validation,
// the clipboard and the programming window. Until they are built these do nothing.
#include "editor/UnitMain.h"

void TFormMain::RecalcScenario() {}
void TFormMain::SetMaxSteps(int, bool) {}
void TFormMain::UpdateControls() {}
void TFormMain::UpdateSelectionMenu() {}
void TFormMain::ApplyZoom() {}
void TFormMain::EndFloatingPaste() {}
void TFormMain::CopyOrCut(int) {}
void TFormMain::ClearClipboard() {}
void TFormMain::GridDrawCell(TObject*, int, int, TRect, TGridDrawState) {}
void TFormMain::ShowProgrammingWindow(BurnRequest&) {}
void TFormMain::ValidateLoops() {}
void TFormMain::ValidateLabels() {}
