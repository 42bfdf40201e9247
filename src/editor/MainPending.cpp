// Work of the main window that other parts of the program provide: the programming
// window. Until it is built this does nothing.
#include "editor/UnitMain.h"

void TFormMain::ShowProgrammingWindow(BurnRequest&) {}
