#pragma once
// State shared by the control classes' source files (not for other users): the window
// property that leads from a window to its control, the control whose window is being
// created, and the mouse and capture controls.
#include <windows.h>

class TControl;
class TWinControl;

namespace controls_detail {
extern const wchar_t kObjectProp[];
extern TWinControl* g_creating;     // the control whose window CreateWindowEx is making
extern TControl* g_mouseControl;    // the control the mouse is over
extern TControl* g_captureControl;  // the control that has the mouse captured
// The control of one of our windows, or null.
TWinControl* ControlOfWindow(HWND hwnd);
} // namespace controls_detail
