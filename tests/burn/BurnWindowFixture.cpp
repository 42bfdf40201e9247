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
    // The pointer off the window: resting on it, it is polled by a system timer whose
    // messages would wake the window's loop, whatever the window itself does.
    SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1);
    const UINT_PTR timer = SetTimer(nullptr, 0, limitMs, GiveUp);
    form->ShowModal();
    KillTimer(nullptr, timer);
    running = nullptr;
    return !gaveUp;
}
