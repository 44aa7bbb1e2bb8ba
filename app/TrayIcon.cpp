#include "app/TrayIcon.h"

#include <shellapi.h>

#include <algorithm>

namespace qlt {

TrayIcon::TrayIcon(HWND window, HICON icon, std::wstring_view tip)
    : window_(window), icon_(icon), taskbarCreated_(RegisterWindowMessageW(L"TaskbarCreated")) {
  const size_t n = std::min(tip.size(), std::size(tip_) - 1);
  std::copy_n(tip.data(), n, tip_);
}

TrayIcon::~TrayIcon() {
  if (!added_) return;
  NOTIFYICONDATAW data = Data(0);
  Shell_NotifyIconW(NIM_DELETE, &data);
}

NOTIFYICONDATAW TrayIcon::Data(UINT flags) const {
  NOTIFYICONDATAW data{};
  // The size that Windows 2000 and XP know, with balloons.
  data.cbSize = NOTIFYICONDATAW_V2_SIZE;
  data.hWnd = window_;
  data.uID = kTrayIconId;
  data.uFlags = flags;
  data.uCallbackMessage = kTrayCallbackMessage;
  data.hIcon = icon_;
  std::copy(std::begin(tip_), std::end(tip_), data.szTip);
  return data;
}

bool TrayIcon::Add() {
  NOTIFYICONDATAW data = Data(NIF_MESSAGE | NIF_ICON | NIF_TIP);
  added_ = Shell_NotifyIconW(NIM_ADD, &data) != FALSE || added_;
  return added_;
}

bool TrayIcon::HandleTaskbarCreated(UINT message) {
  if (message != taskbarCreated_ || taskbarCreated_ == 0) return false;
  added_ = false;  // the new taskbar has no icons
  Add();
  return true;
}

bool TrayIcon::ShowBalloon(std::wstring_view title, std::wstring_view text) {
  NOTIFYICONDATAW data = Data(NIF_INFO);
  const size_t textLength = std::min(text.size(), std::size(data.szInfo) - 1);
  std::copy_n(text.data(), textLength, data.szInfo);
  const size_t titleLength = std::min(title.size(), std::size(data.szInfoTitle) - 1);
  std::copy_n(title.data(), titleLength, data.szInfoTitle);
  data.dwInfoFlags = NIIF_WARNING;
  data.uTimeout = 10000;
  return Shell_NotifyIconW(NIM_MODIFY, &data) != FALSE;
}

SingleInstance::SingleInstance(const wchar_t* name)
    : mutex_(CreateMutexW(nullptr, FALSE, name)), first_(mutex_ && GetLastError() != ERROR_ALREADY_EXISTS) {}

UINT ShowMainWindowMessage() {
  static const UINT message = RegisterWindowMessageW(L"QLTZarnit.ShowMainWindow");
  return message;
}

bool ShowRunningCopy(const wchar_t* mainWindowClass) {
  HWND running = FindWindowW(mainWindowClass, nullptr);
  if (!running) return false;
  DWORD pid = 0;
  GetWindowThreadProcessId(running, &pid);
  AllowSetForegroundWindow(pid);  // the running copy may bring its window to the front
  return PostMessageW(running, ShowMainWindowMessage(), 0, 0) != FALSE;
}

}  // namespace qlt
