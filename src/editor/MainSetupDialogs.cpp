// The main window's set-up and About buttons: each dialog exists only while it is shown.
#include "editor/UnitMain.h"
#include "setup/UnitAbout.h"
#include "setup/UnitChSetup.h"

void TFormMain::RunAboutBox()
{
    FormAbout = new TFormAbout(this);
    FreeScope free(FormAbout);
    FormAbout->ShowModal();
}

int TFormMain::ShowSetupDialog(ControllerConfig& config)
{
    FormChSetup = new TFormChSetup(this);
    FreeScope free(FormChSetup);
    FormChSetup->SetConfig(config);
    int result = FormChSetup->ShowModal();
    if (result == mrOk)
        FormChSetup->GetConfig(config);
    return result;
}
