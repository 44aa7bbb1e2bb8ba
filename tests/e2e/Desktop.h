#pragma once
// What the end-to-end drivers do to QLT from outside, as the shell or a user would: the tray icon
// and its callback, popup menus, message boxes, the controls of QLT's windows, real mouse input
// and screenshots.
#include <windows.h>

#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "tests/win/WinTestSupport.h"

namespace qlt::e2e {

using namespace std::chrono_literals;

inline constexpr UINT kTrayCallback = WM_USER + 100;  // 1124
inline constexpr UINT kTrayIconId = 128;

// Whether the shell has QLT's icon; taking it away, as a taskbar that restarts does.
inline bool TrayIconPresent(HWND owner) { return test::TrayIconPresent(owner, kTrayIconId); }
inline void RemoveTrayIcon(HWND owner) { test::RemoveTrayIcon(owner, kTrayIconId); }
// The shell's "TaskbarCreated" announcement to every top-level window.
void BroadcastTaskbarCreated();
// The notification area's window rectangle (Wine's taskbar), for placing the pointer on the icon.
RECT TaskbarRect();

// Posts the tray callback the way the shell does (wParam the icon id, lParam the mouse message).
// The pointer is put on the notification area first, where the user's click would be.
void SendTrayMouse(HWND owner, UINT mouseMessage);

// The popup menu window ("#32768") that a thread of the process shows, or nullptr.
HWND VisiblePopupMenu(DWORD pid);
HWND WaitForPopupMenu(DWORD pid, std::chrono::milliseconds timeout = 5s);
// Picks the item that is `downs` presses of the down arrow away from the top (separators are
// skipped by the menu itself) and presses Enter.
void ChooseMenuItem(HWND menu, int downs);
// Opens the tray menu with the left button, as the user does, and chooses an item; false when no
// menu appeared. The items from the top: 官方网站, 切换IP地址, (line), 显示窗口/隐藏窗口, 退出.
bool ChooseFromTrayMenu(HWND owner, DWORD pid, int downs);
inline constexpr int kTrayMenuSiteItem = 1;
inline constexpr int kTrayMenuIpItem = 2;
inline constexpr int kTrayMenuShowHideItem = 3;
inline constexpr int kTrayMenuExitItem = 4;
void CloseMenu(HWND menu);

// A message box of the process ("#32770"), its text, and its OK button.
HWND WaitForMessageBox(DWORD pid, std::chrono::milliseconds timeout = 5s);
std::wstring MessageBoxText(HWND box);
void PressOk(HWND box);

// The descendants of a window of a class, in the order the window manager keeps them.
std::vector<HWND> Descendants(HWND root, const std::wstring& className);
// The descendant of a class with exactly this text, or nullptr.
HWND FindDescendant(HWND root, const std::wstring& className, const std::wstring& text);
// The text of a control of another process (WM_GETTEXT, which crosses processes).
std::wstring ControlText(HWND control);
// A control's rectangle in the client coordinates of its parent.
RECT RectInParent(HWND control);

std::vector<std::wstring> ListBoxRows(HWND listBox);
POINT ListBoxRowCentre(HWND listBox, int row);  // on the screen
int ListBoxSelection(HWND listBox);

// The centre of a tab of a tab control of another process, on the screen.
POINT TabCentre(HWND tabControl, int tab);

// Real input through the system's input queue, as a hand gives it.
void MovePointer(POINT screen);
void Click(POINT screen);
void DoubleClick(POINT screen);
using test::CentreOf;

// The colours of a rectangle of the screen, row by row (0x00RRGGBB).
std::vector<COLORREF> ScreenPixels(const RECT& screenRect);

// Saves the screen as NAME.png in the screenshot folder (--screenshots=...); false when there
// is none or the screen cannot be read.
bool SaveScreenshot(const std::wstring& name);

}  // namespace qlt::e2e
