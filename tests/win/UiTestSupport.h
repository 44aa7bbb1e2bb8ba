#pragma once
// Support for the tests of the user-interface framework under Wine: a message pump with a deadline,
// real mouse and keyboard input (SendInput), a watcher that reads and dismisses message boxes from a
// second thread, and the number of GDI objects of the process.
#include <windows.h>

#include <chrono>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "tests/win/WinTestSupport.h"

namespace qlt::test {

using namespace std::chrono_literals;

// Handles the application's messages until the condition holds or the time is up.
bool PumpUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout = 5s);
void PumpFor(std::chrono::milliseconds duration);

// Real input, as a user gives it (screen coordinates).
void MoveMouseTo(POINT screen);
void ClickAt(POINT screen);
void DoubleClickAt(POINT screen);
void PressKey(WORD vk, bool withAlt = false);
void TypeText(const std::wstring& text);

// GDI objects of this process: GetGuiResources where it is implemented, otherwise the live entries
// of the process's GDI handle table (Wine keeps it where Windows does).
int GdiObjectCount();

// Watches the user-interface thread for a message box (class "#32770"), records its caption and
// text, and presses its first button (after holdOpen, so a test can see what happens while a box
// is open); from a thread of its own, because a message box runs a modal loop inside the handler
// that opened it.
class MessageBoxWatcher {
 public:
  explicit MessageBoxWatcher(DWORD uiThread, std::chrono::milliseconds holdOpen = 0ms);
  ~MessageBoxWatcher();
  struct Box {
    std::wstring caption;
    std::wstring text;
  };
  std::vector<Box> Seen();

 private:
  void Watch();
  DWORD uiThread_;
  std::chrono::milliseconds holdOpen_;
  bool stop_ = false;
  std::mutex mutex_;
  std::vector<Box> seen_;
  std::thread thread_;
};

}  // namespace qlt::test
