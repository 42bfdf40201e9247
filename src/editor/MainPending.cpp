// Work of the main window that other parts of the program provide: the settings file,
// scenario files, step and time recalculation, grid zoom and selection menus, loop and
// label validation, the clipboard, the grid's cell drawing, the set-up, About, channel-range and programming windows. Until they are built these do nothing (saving a scenario refuses openly rather
// than pretend to have saved).
#include "editor/UnitMain.h"
#include "ui/Exceptions.h"

void TFormMain::LoadOptions() {}
void TFormMain::SaveOptions() {}
void TFormMain::LoadPosition() {}
void TFormMain::SavePosition() {}

bool TFormMain::LoadScn(const std::string&, bool) { return false; }

void TFormMain::SaveScn(const std::string& fileName)
{
    throw Exception("Запись файлов сценария пока не поддерживается: " + fileName);
}

void TFormMain::RecalcScenario() {}
void TFormMain::SetMaxSteps(int, bool) {}
void TFormMain::UpdateControls() {}
void TFormMain::UpdateSelectionMenu() {}
void TFormMain::ApplyZoom() {}
void TFormMain::EndFloatingPaste() {}
void TFormMain::ClearClipboard() {}
void TFormMain::GridDrawCell(TObject*, int, int, TRect, TGridDrawState) {}
void TFormMain::RunAboutBox() {}
int TFormMain::ShowSetupDialog(ControllerConfig&) { return mrCancel; }
void TFormMain::ShowProgrammingWindow(BurnRequest&) {}
void TFormMain::ShowChannelRangeWindow() {}
void TFormMain::ValidateLoops() {}
void TFormMain::ValidateLabels() {}
