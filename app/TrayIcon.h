#pragma once
// The tray icon: added at start, added again whenever the shell announces a new taskbar
// ("TaskbarCreated", after Explorer restarts), removed at the end; balloons tell the user what
// went wrong (a hotkey that cannot be registered).
#include <windows.h>
#include <shellapi.h>

#include <string_view>

#include "ui/Handles.h"

namespace qlt {

inline constexpr UINT kTrayCallbackMessage = WM_USER + 100;  // 1124
inline constexpr UINT kTrayIconId = 128;

class TrayIcon {
 public:
  TrayIcon(HWND window, HICON icon, std::wstring_view tip = L"QLTZarnit");
  ~TrayIcon();  // removes the icon
  TrayIcon(const TrayIcon&) = delete;
  TrayIcon& operator=(const TrayIcon&) = delete;

  bool Add();
  // For the window procedure: true when message is the shell's "TaskbarCreated" (the icon is
  // then added again).
  bool HandleTaskbarCreated(UINT message);
  bool ShowBalloon(std::wstring_view title, std::wstring_view text);

 private:
  NOTIFYICONDATAW Data(UINT flags) const;

  HWND window_;
  HICON icon_;
  wchar_t tip_[64] = {};
  UINT taskbarCreated_;
  bool added_ = false;
};

// Only one QLT per session: a second start shows the running copy's main window and ends.
class SingleInstance {
 public:
  explicit SingleInstance(const wchar_t* name = L"Local\\QLTZarnit.Instance");
  bool First() const { return first_; }

 private:
  UniqueKernelHandle mutex_;  // held for the whole run: the next start finds it
  bool first_;
};

// The message a second start posts to the running copy's main window; its window procedure
// answers it by showing the main window (ShowMainWindow).
UINT ShowMainWindowMessage();

// Finds the running copy's main window by its class and asks it to show itself; false when there
// is none.
bool ShowRunningCopy(const wchar_t* mainWindowClass = L"TFrm_Main");

}  // namespace qlt
