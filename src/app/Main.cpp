// The program entry: the application object, its title, the main window and the
// message loop. Whatever escapes is shown in the application's exception box.
#include <windows.h>

#include "editor/UnitMain.h"
#include "serial/SioWin32Services.h"
#include "ui/Application.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    // The serial library's clock, timer resolution and system texts, for the whole run.
    SioInstallWin32Services();
    {
        TApplication application;  // frees the main window when it goes
        try {
            Application->Initialize();
            Application->SetTitle("Pelvor");
            Application->CreateForm(FormMain);
            Application->Run();
        } catch (...) {
            Application->HandleException();
        }
    }
    SioUninstallWin32Services();
    return 0;
}
