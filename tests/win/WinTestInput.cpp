// Real mouse and keyboard input for the Windows tests, through the system's input queue.
#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <thread>
#include <vector>

#include "tests/win/WinTestSupport.h"

namespace qlt::test {
namespace {

INPUT MouseInput(DWORD buttonFlags, POINT screen) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dx = MulDiv(screen.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
  input.mi.dy = MulDiv(screen.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
  input.mi.dwFlags = buttonFlags | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  return input;
}

void Send(std::vector<INPUT> inputs) {
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

DWORD DownFlag(MouseButton button) {
  return button == MouseButton::Right ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN;
}
DWORD UpFlag(MouseButton button) { return button == MouseButton::Right ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP; }

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

class MouseMoveWatch {
 public:
  explicit MouseMoveWatch(POINT target)
      : hook_(SetWindowsHookExW(WH_MOUSE, WatchMouseMoves, nullptr, GetCurrentThreadId())) {
    g_moveTarget = target;
    g_moveSeen = false;
  }
  ~MouseMoveWatch() {
    if (hook_) UnhookWindowsHookEx(hook_);
  }
  MouseMoveWatch(const MouseMoveWatch&) = delete;
  MouseMoveWatch& operator=(const MouseMoveWatch&) = delete;
  bool Active() const { return hook_ != nullptr; }
  bool Seen() const { return g_moveSeen; }

 private:
  HHOOK hook_;
};

bool WindowOfThisThreadAt(POINT screen) {
  HWND window = WindowFromPoint(screen);
  return window && GetWindowThreadProcessId(window, nullptr) == GetCurrentThreadId();
}

}  // namespace

void SendMouseInput(DWORD buttonFlags, POINT screen) { Send({MouseInput(buttonFlags, screen)}); }

void MoveMouseTo(POINT screen) {
  // Done when the pointer is there and, for a window of this thread, its move has been taken from
  // the queue. When Wine dropped the move, a step from one pixel away (taken first, then back)
  // gives the window a fresh one, as a hand would.
  MouseMoveWatch watch(screen);
  const bool ownWindow = watch.Active() && WindowOfThisThreadAt(screen);
  const auto arrived = [&] { return PointerAt(screen) && (!ownWindow || watch.Seen()); };
  for (int attempt = 0; attempt < 10; ++attempt) {
    if (attempt > 0) {
      const POINT beside{screen.x + 1, screen.y};
      SendMouseInput(0, beside);
      WaitUntil([&] { return PointerAt(beside); }, 500ms);
    }
    SendMouseInput(0, screen);
    if (!WaitUntil(arrived, 500ms)) continue;
    // A window of this thread gets a moment to answer the move. Over another program's window the
    // move cannot be watched, and the display server may still report the old position and put
    // the pointer back: it has to stay a little longer.
    PumpFor(ownWindow ? 30ms : 150ms);
    if (PointerAt(screen)) return;
  }
}

void ClickAt(POINT screen, MouseButton button) {
  MoveMouseTo(screen);
  Send({MouseInput(DownFlag(button), screen), MouseInput(UpFlag(button), screen)});
  PumpFor(100ms);
}

void DoubleClickAt(POINT screen) {
  MoveMouseTo(screen);
  Send({MouseInput(MOUSEEVENTF_LEFTDOWN, screen), MouseInput(MOUSEEVENTF_LEFTUP, screen),
        MouseInput(MOUSEEVENTF_LEFTDOWN, screen), MouseInput(MOUSEEVENTF_LEFTUP, screen)});
  PumpFor(100ms);
}

void DragMouse(POINT from, POINT to, MouseButton button) {
  MoveMouseTo(from);
  // A hand of its own gives the press, the moves and the release one after the other, while this
  // thread handles messages: a press that starts a modal loop (a caption, a frame button, a scroll
  // bar) then runs that loop with the moves and the release arriving in it. The moves come every
  // few pixels, as a hand makes them, and slowly enough not to be merged in the queue.
  const int distance = std::max(std::abs(to.x - from.x), std::abs(to.y - from.y));
  const int steps = std::clamp(distance / 4, 1, 50);
  std::atomic<bool> released{false};
  std::thread hand([&] {
    SendMouseInput(DownFlag(button), from);
    Sleep(50);
    for (int i = 1; i <= steps; ++i) {
      SendMouseInput(0, POINT{from.x + (to.x - from.x) * i / steps, from.y + (to.y - from.y) * i / steps});
      Sleep(10);
    }
    Sleep(40);
    SendMouseInput(UpFlag(button), to);
    released = true;
  });
  WaitUntil([&] { return released.load(); }, 10s);
  hand.join();
  WaitUntil([&] { return PointerAt(to); }, 1s);
  PumpFor(100ms);
}

bool PointerAt(POINT screen) {
  POINT p{};
  GetCursorPos(&p);
  return p.x == screen.x && p.y == screen.y;
}

POINT CentreOf(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

POINT BesideOf(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  return POINT{r.right + 40, r.bottom + 40};
}

INPUT KeyInput(WORD vk, bool up) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = vk;
  input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  return input;
}

void PressKeys(const std::vector<WORD>& keys) {
  std::vector<INPUT> inputs;
  for (WORD vk : keys) inputs.push_back(KeyInput(vk, false));
  for (auto it = keys.rbegin(); it != keys.rend(); ++it) inputs.push_back(KeyInput(*it, true));
  Send(std::move(inputs));
  PumpFor(100ms);
}

void PressKey(WORD vk, bool withAlt) { PressKeys(withAlt ? std::vector<WORD>{VK_MENU, vk} : std::vector<WORD>{vk}); }

void TypeText(const std::wstring& text) {
  std::vector<INPUT> inputs;
  for (wchar_t c : text) {
    for (const DWORD flags : {DWORD{KEYEVENTF_UNICODE}, DWORD{KEYEVENTF_UNICODE | KEYEVENTF_KEYUP}}) {
      INPUT input{};
      input.type = INPUT_KEYBOARD;
      input.ki.wScan = c;
      input.ki.dwFlags = flags;
      inputs.push_back(input);
    }
  }
  Send(std::move(inputs));
  PumpFor(100ms);
}

}  // namespace qlt::test
