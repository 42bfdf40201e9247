#include "BurnWindowFixture.h"

namespace {

TFormBurn* running = nullptr;
bool gaveUp = false;

// The window stayed open too long: whatever box is up gets Cancel, the window closes.
void CALLBACK GiveUp(HWND, UINT, UINT_PTR id, DWORD)
{
    KillTimer(nullptr, id);
    gaveUp = true;
    for (HWND box : VisibleBoxes(GetCurrentProcessId()))
        PostMessageW(box, WM_COMMAND, IDCANCEL, 0);
    if (running)
        running->ModalResult = mrAbort;
}

} // namespace

bool BurnWindowTest::Run(unsigned limitMs)
{
    running = form;
    gaveUp = false;
    const UINT_PTR timer = SetTimer(nullptr, 0, limitMs, GiveUp);
    form->ShowModal();
    KillTimer(nullptr, timer);
    running = nullptr;
    return !gaveUp;
}
