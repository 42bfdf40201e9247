#pragma once
// Start-up of the serial library in the program (Win32 only, SioWin32Services_win32.cpp):
// installs the multimedia clock at its finest resolution, the thread's message pump for
// SafeYield, the system message table for SioLoadStr, the system description of the
// dispatch log, the delivery of notifications (window messages, synchronised methods,
// the exception box, the platform family), and the port component's platform (its
// window, the Win32 dispatchers, the port selection dialog). Counted: the last
// uninstall gives the timer resolution back.
void SioInstallWin32Services();
void SioUninstallWin32Services();

class SioComPortPlatform;
// The port component's Win32 platform (SioComWindow_win32.cpp).
SioComPortPlatform& Win32ComPortPlatform();
