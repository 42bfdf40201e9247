// Work of the main window that other parts of the program provide: the settings file,
// scenario files, loop and label validation, the clipboard and its floating paste, the
// preview and its drawing thread, the show window's layout, the set-up, About,
// channel-range and programming windows. Until they are built these do nothing (saving
// a scenario refuses openly rather than pretend to have saved).
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

void TFormMain::EndFloatingPaste() {}
void TFormMain::PasteClipboard() {}
void TFormMain::ClearClipboard() {}
void TFormMain::ClearPreviewFrame() {}
void TFormMain::LayoutShowWindow() {}
void TFormMain::CreateDrawThread() {}
void TFormMain::DestroyDrawThread() {}
void TFormMain::RunAboutBox() {}
int TFormMain::ShowSetupDialog(ControllerConfig&) { return mrCancel; }
void TFormMain::ShowProgrammingWindow(BurnRequest&) {}
void TFormMain::ShowChannelRangeWindow() {}
void TFormMain::ValidateLoops() {}
void TFormMain::ValidateLabels() {}
