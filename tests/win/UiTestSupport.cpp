#include "tests/win/UiTestSupport.h"

#include "tests/win/WinTestSupport.h"
#include "ui/Forms.h"

namespace qlt::test {

bool PumpUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (!condition()) {
    if (std::chrono::steady_clock::now() >= deadline) return condition();
    Application->ProcessMessages();
    Sleep(5);
  }
  return true;
}

void PumpFor(std::chrono::milliseconds duration) {
  PumpUntil([] { return false; }, duration);
}

namespace {

void SendKey(WORD vk, bool up) {
  INPUT input = KeyInput(vk, up);
  SendInput(1, &input, sizeof input);
}

}  // namespace

namespace {

// Whether this thread has taken a mouse move at the target from its queue; Wine now and then
// updates the pointer position without queueing the move, and then the window under the pointer
// never learns where the pointer is.
POINT g_moveTarget{};
bool g_moveSeen = false;

LRESULT CALLBACK WatchMouseMoves(int code, WPARAM msg, LPARAM info) {
  if (code == HC_ACTION && (msg == WM_MOUSEMOVE || msg == WM_NCMOUSEMOVE)) {
    const POINT at = reinterpret_cast<const MOUSEHOOKSTRUCT*>(info)->pt;
    if (at.x == g_moveTarget.x && at.y == g_moveTarget.y) g_moveSeen = true;
  }
  return CallNextHookEx(nullptr, code, msg, info);
}

struct MouseMoveWatch {
  explicit MouseMoveWatch(POINT target)
      : hook(SetWindowsHookExW(WH_MOUSE, WatchMouseMoves, nullptr, GetCurrentThreadId())) {
    g_moveTarget = target;
    g_moveSeen = false;
  }
  ~MouseMoveWatch() {
    if (hook) UnhookWindowsHookEx(hook);
  }
  MouseMoveWatch(const MouseMoveWatch&) = delete;
  MouseMoveWatch& operator=(const MouseMoveWatch&) = delete;
  HHOOK hook;
};

bool WindowOfThisThreadAt(POINT screen) {
  HWND window = WindowFromPoint(screen);
  return window && GetWindowThreadProcessId(window, nullptr) == GetCurrentThreadId();
}

}  // namespace

void MoveMouseTo(POINT screen) {
  // Done when the pointer is there and, for a window of this thread, its move has been taken from
  // the queue. When Wine dropped the move, a step from one pixel away (taken first, then back)
  // gives the window a fresh one, as a hand would.
  MouseMoveWatch watch(screen);
  const bool ownWindow = watch.hook && WindowOfThisThreadAt(screen);
  const auto arrived = [&] { return PointerAt(screen) && (!ownWindow || g_moveSeen); };
  for (int attempt = 0; attempt < 10; ++attempt) {
    if (attempt > 0) {
      const POINT beside{screen.x + 1, screen.y};
      SendMouseInput(0, beside);
      PumpUntil([&] { return PointerAt(beside); }, 500ms);
    }
    SendMouseInput(0, screen);
    if (PumpUntil(arrived, 500ms)) {
      PumpFor(30ms);  // let the window answer the move before the caller acts on it
      if (PointerAt(screen)) return;
    }
  }
}

void ClickAt(POINT screen) {
  MoveMouseTo(screen);
  SendMouseInput(MOUSEEVENTF_LEFTDOWN, screen);
  PumpFor(30ms);
  SendMouseInput(MOUSEEVENTF_LEFTUP, screen);
  PumpFor(100ms);
}

void DoubleClickAt(POINT screen) {
  MoveMouseTo(screen);
  for (int i = 0; i < 2; ++i) {
    SendMouseInput(MOUSEEVENTF_LEFTDOWN, screen);
    SendMouseInput(MOUSEEVENTF_LEFTUP, screen);
  }
  PumpFor(80ms);
}

void PressKey(WORD vk, bool withAlt) {
  if (withAlt) SendKey(VK_MENU, false);
  SendKey(vk, false);
  SendKey(vk, true);
  if (withAlt) SendKey(VK_MENU, true);
  PumpFor(60ms);
}

void TypeText(const std::wstring& text) {
  SendUnicodeText(text);
  PumpFor(80ms);
}

int GdiObjectCount() { return GdiObjectCount(GetCurrentProcess(), GetCurrentThread()); }

MessageBoxWatcher::MessageBoxWatcher(DWORD uiThread, std::chrono::milliseconds holdOpen)
    : uiThread_(uiThread), holdOpen_(holdOpen), thread_([this] { Watch(); }) {}

MessageBoxWatcher::~MessageBoxWatcher() {
  {
    std::lock_guard lock(mutex_);
    stop_ = true;
  }
  thread_.join();
}

std::vector<MessageBoxWatcher::Box> MessageBoxWatcher::Seen() {
  std::lock_guard lock(mutex_);
  return seen_;
}

namespace {

struct Found {
  std::vector<HWND> boxes;
};

BOOL CALLBACK CollectBoxes(HWND window, LPARAM param) {
  wchar_t cls[32] = {};
  GetClassNameW(window, cls, 32);
  if (std::wstring(cls) == L"#32770" && IsWindowVisible(window)) reinterpret_cast<Found*>(param)->boxes.push_back(window);
  return TRUE;
}

BOOL CALLBACK ReadStatic(HWND child, LPARAM param) {
  wchar_t cls[32] = {};
  GetClassNameW(child, cls, 32);
  if (_wcsicmp(cls, L"Static") == 0) {
    wchar_t text[1024] = {};
    GetWindowTextW(child, text, 1024);
    if (text[0]) *reinterpret_cast<std::wstring*>(param) = text;
  }
  return TRUE;
}

}  // namespace

void MessageBoxWatcher::Watch() {
  std::vector<HWND> handled;
  std::vector<std::pair<HWND, std::chrono::steady_clock::time_point>> due;  // boxes held open
  while (true) {
    {
      std::lock_guard lock(mutex_);
      if (stop_) return;
    }
    const auto now = std::chrono::steady_clock::now();
    for (auto it = due.begin(); it != due.end();) {
      if (now < it->second) {
        ++it;
        continue;
      }
      PostMessageW(it->first, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
      it = due.erase(it);
    }
    Found found;
    EnumThreadWindows(uiThread_, CollectBoxes, reinterpret_cast<LPARAM>(&found));
    for (HWND box : found.boxes) {
      if (std::find(handled.begin(), handled.end(), box) != handled.end()) continue;
      handled.push_back(box);
      Box seen;
      wchar_t caption[256] = {};
      GetWindowTextW(box, caption, 256);
      seen.caption = caption;
      EnumChildWindows(box, ReadStatic, reinterpret_cast<LPARAM>(&seen.text));
      {
        std::lock_guard lock(mutex_);
        seen_.push_back(seen);
      }
      // The OK button of a box with one button: IDOK, or IDCANCEL for a box that only has OK.
      due.emplace_back(box, now + holdOpen_);
    }
    Sleep(20);
  }
}

}  // namespace qlt::test
