#pragma once
// One QLT.exe of a test, started in its scratch folder with a prepared QLT.ini and data.txt, and
// what a user or the system does with it: the tray icon's buttons, the main window shown by a
// second start, the mode chosen on the main window, the files it keeps.
#include <windows.h>

#include <initializer_list>
#include <memory>
#include <optional>
#include <string>
#include <utility>

#include "tests/e2e/QltProcess.h"

namespace qlt::e2e {

// A QLT.ini with the given keys of section "Form".
std::string IniText(std::initializer_list<std::pair<const char*, const char*>> keys);

// True while the notification area shows a balloon (a tracking tooltip of the balloon style; its
// text lives in the shell's process, which may not be a 32-bit one).
bool TrayBalloonShown();

class QltSession {
 public:
  QltSession(const std::string& ini, const std::string& data);

  // Starts (again) and waits until the program takes input; false when no main window came up.
  bool Start();
  void Kill() { process_->Kill(); }
  QltProcess& Process() { return *process_; }
  const QltProcess& Process() const { return *process_; }
  const ScratchFolder& Folder() const { return folder_; }
  HWND Main() const { return main_; }

  // What the shell posts for a button pressed on the tray icon (WM_RBUTTONDOWN, WM_LBUTTONDOWN).
  void ClickTrayIcon(UINT mouseMessage) const;
  // Shows the main window the way a user does: by starting QLT.exe a second time.
  bool ShowMainWindow() const;
  // Clicks the second page of the main window and the mode's radio button ("隐藏", "关闭", "透明").
  bool ChooseMode(const std::wstring& caption) const;
  // A point of the main window's client area on the screen.
  POINT OnScreen(POINT client) const;

  std::optional<std::string> Journal() const { return folder_.ReadBytes(L"QLT.journal"); }
  std::wstring Setting(const std::wstring& key) const;  // of section "Form"
  // The text of a message box QLT shows, or empty when it shows none.
  std::wstring MessageBoxText() const;
  HWND FindMessageBox() const;

 private:
  ScratchFolder folder_;
  std::unique_ptr<QltProcess> process_;
  HWND main_ = nullptr;
};

}  // namespace qlt::e2e
