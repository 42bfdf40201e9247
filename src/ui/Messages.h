#pragma once
// The class library's own window messages. Win32 messages are reflected back to the
// child control that caused them at kCnBase + the message number.
#include <windows.h>

// Sent to a control when the mouse enters / leaves it (windowed or not); wParam 0,
// lParam the control (TControl*). Result unused.
constexpr UINT CM_MOUSEENTER = 0xB013;
constexpr UINT CM_MOUSELEAVE = 0xB014;
// Sent to a windowed control when a child control is inserted (wParam = TControl*,
// lParam 1) or removed (lParam 0); passed on to the parent up to the form.
constexpr UINT CM_CONTROLLISTCHANGE = 0xB02C;
// Sent to a form when Enter or Escape was not used by the focused control (wParam the
// virtual key); the form passes it to its controls until one returns 1 (a default or
// cancel button that clicked).
constexpr UINT CM_DIALOGKEY = 0xB005;
// Sent to a windowed control to destroy and create its window again (keeps state).
constexpr UINT CM_RECREATEWND = 0xB033;
// Sent to a control before something replaces its message handler (wParam, lParam 0);
// a control that answers non-zero keeps its own.
constexpr UINT CM_DENYSUBCLASSING = 0xB7D0;

// Reflected notifications: the parent sends kCnBase + msg to the child it concerns,
// with the original wParam and lParam; the child's Result becomes the parent's answer.
constexpr UINT kCnBase = 0xBC00;
constexpr UINT CN_COMMAND = kCnBase + WM_COMMAND;
constexpr UINT CN_DRAWITEM = kCnBase + WM_DRAWITEM;          // 0xBC2B
constexpr UINT CN_NOTIFY = kCnBase + WM_NOTIFY;              // 0xBC4E
constexpr UINT CN_HSCROLL = kCnBase + WM_HSCROLL;
constexpr UINT CN_VSCROLL = kCnBase + WM_VSCROLL;
constexpr UINT CN_CTLCOLOREDIT = kCnBase + WM_CTLCOLOREDIT;
constexpr UINT CN_CTLCOLORLISTBOX = kCnBase + WM_CTLCOLORLISTBOX;
constexpr UINT CN_CTLCOLORBTN = kCnBase + WM_CTLCOLORBTN;     // 0xBD35
constexpr UINT CN_CTLCOLORSTATIC = kCnBase + WM_CTLCOLORSTATIC; // 0xBD38
// Key notification: a windowed control's key, offered to it before its default
// handling (wParam virtual key, lParam key data). Result 1 if consumed.
constexpr UINT CN_KEYDOWN = kCnBase + WM_KEYDOWN;            // 0xBD00

// Posted to the application's hidden window by a thread that waits in Synchronize;
// wParam, lParam 0. The main thread then runs the queued methods.
constexpr UINT CM_SYNCHRONIZE = WM_APP + 0x3A00;
// Posted to a form's window by Release: the form is freed when the message arrives.
constexpr UINT CM_RELEASE = WM_APP + 0x3A01;
