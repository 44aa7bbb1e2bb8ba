#pragma once
// What the end-to-end drivers do to QLT from outside, as the shell or a user would: the tray icon
// and its callback, popup menus, and the controls of QLT's windows. Real input, windows of other
// programs, message boxes and screenshots are the Windows tests' shared helpers, named here too.
#include <windows.h>

#include <chrono>
#include <string>
#include <vector>

#include "tests/win/WinTestSupport.h"

namespace qlt::e2e {

using namespace std::chrono_literals;

using test::CentreOf;
using test::ClickAt;
using test::ControlText;
using test::Descendants;
using test::DoubleClickAt;
using test::FindDescendant;
using test::ListBoxRowCentre;
using test::MessageBoxText;
using test::MoveMouseTo;
using test::PressOk;
using test::RectInParent;
using test::SaveScreenshot;
using test::ScreenGrab;
using test::TabCentre;
using test::WaitForMessageBox;

inline constexpr UINT kTrayCallback = WM_USER + 100;  // 1124
inline constexpr UINT kTrayIconId = 128;

// Whether the shell has QLT's icon; taking it away, as a taskbar that restarts does.
inline bool TrayIconPresent(HWND owner) { return test::TrayIconPresent(owner, kTrayIconId); }
inline void RemoveTrayIcon(HWND owner) { test::RemoveTrayIcon(owner, kTrayIconId); }
// The shell's "TaskbarCreated" announcement to every top-level window.
void BroadcastTaskbarCreated();
// The notification area's window rectangle (Wine's taskbar), for placing the pointer on the icon.
RECT TaskbarRect();

// Where the shell shows QLT's tray icon: the notification area's right end (QLT's is the only
// icon of the tests' desktop).
POINT TrayIconPoint();
// Posts the tray callback the way the shell does (wParam the icon id, lParam the mouse message).
// The pointer is put on the notification area first, where the user's click would be.
void SendTrayMouse(HWND owner, UINT mouseMessage);
// A real click on the tray icon: the shell turns it into the callback.
void ClickTrayIcon(test::MouseButton button = test::MouseButton::Left);

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

std::vector<std::wstring> ListBoxRows(HWND listBox);
int ListBoxSelection(HWND listBox);

// The colours of a rectangle of the screen, row by row.
inline std::vector<COLORREF> ScreenPixels(const RECT& screenRect) { return ScreenGrab(screenRect).Pixels(); }

}  // namespace qlt::e2e
