// The program entry: the application object, its title, the main window and the
// message loop. Whatever escapes is shown in the application's exception box.
#include <windows.h>

#include "editor/UnitMain.h"
#include "ui/Application.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    TApplication application;
    try {
        Application->Initialize();
        Application->SetTitle("Pelvor");
        Application->CreateForm(FormMain);
        Application->Run();
    } catch (...) {
        Application->HandleException();
    }
    return 0;
}
