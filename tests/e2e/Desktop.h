#pragma once
// What the end-to-end drivers do to QLT from outside, as the shell or a user would: the tray icon
// and its callback, popup menus, message boxes, the controls of QLT's windows, real mouse input
// and screenshots.
#include <windows.h>

#include <chrono>
#include <functional>
#include <string>
#include <vector>

namespace qlt::e2e {

using namespace std::chrono_literals;

inline constexpr UINT kTrayCallback = WM_USER + 100;  // 1124
inline constexpr UINT kTrayIconId = 128;

// True while the shell has QLT's icon (changing an icon the shell does not have fails).
bool TrayIconPresent(HWND owner);
// Takes the icon away, as a taskbar that restarts does.
void RemoveTrayIcon(HWND owner);
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
POINT CentreOf(HWND window);

// The colours of a rectangle of the screen, row by row (0x00RRGGBB).
std::vector<COLORREF> ScreenPixels(const RECT& screenRect);

// Saves the screen as NAME.png in the screenshot folder (--screenshots=...); false when there
// is none or the screen cannot be read.
bool SaveScreenshot(const std::wstring& name);

}  // namespace qlt::e2e
