// The main window's set-up and About buttons: each dialog exists only while it is shown.
#include "editor/UnitMain.h"
#include "setup/UnitAbout.h"
#include "setup/UnitChSetup.h"

namespace {
// Frees a dialog however its showing ends.
struct FreeOnExit {
    TComponent* dialog;
    ~FreeOnExit() { TComponent::Free(dialog); }
};
} // namespace

void TFormMain::RunAboutBox()
{
    FormAbout = new TFormAbout(this);
    FreeOnExit free{FormAbout};
    FormAbout->ShowModal();
}

int TFormMain::ShowSetupDialog(ControllerConfig& config)
{
    FormChSetup = new TFormChSetup(this);
    FreeOnExit free{FormChSetup};
    FormChSetup->SetConfig(config);
    int result = FormChSetup->ShowModal();
    if (result == mrOk)
        FormChSetup->GetConfig(config);
    return result;
}
