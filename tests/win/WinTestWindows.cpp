// Windows of this program and of others for the Windows tests: their classes, texts and places,
// list boxes and tab controls, a plain test window, and message boxes.
#include "tests/win/WinTestSupport.h"

#include <commctrl.h>

#include <algorithm>

namespace qlt::test {
namespace {

struct WindowSearch {
  DWORD pid;
  std::vector<HWND> found;
};

BOOL CALLBACK CollectWindowOfProcess(HWND window, LPARAM param) noexcept {
  auto* search = reinterpret_cast<WindowSearch*>(param);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner == search->pid) search->found.push_back(window);
  return TRUE;
}

BOOL CALLBACK CollectChild(HWND window, LPARAM param) noexcept {
  reinterpret_cast<std::vector<HWND>*>(param)->push_back(window);
  return TRUE;
}

// Memory in another process, for the messages of common controls that take a pointer (the
// system carries only the standard controls' pointers across processes).
class RemoteBuffer {
 public:
  RemoteBuffer(HWND window, size_t size) {
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
    if (process_) address_ = VirtualAllocEx(process_, nullptr, size, MEM_COMMIT, PAGE_READWRITE);
  }
  ~RemoteBuffer() {
    if (address_) VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
    if (process_) CloseHandle(process_);
  }
  RemoteBuffer(const RemoteBuffer&) = delete;
  RemoteBuffer& operator=(const RemoteBuffer&) = delete;
  void* Address() const { return address_; }
  bool Read(void* into, size_t size) const {
    return address_ && ReadProcessMemory(process_, address_, into, size, nullptr);
  }
  bool Write(const void* from, size_t size) const {
    return address_ && WriteProcessMemory(process_, address_, from, size, nullptr);
  }

 private:
  HANDLE process_ = nullptr;
  void* address_ = nullptr;
};

POINT CentreOnScreen(HWND window, const RECT& client) {
  POINT centre{(client.left + client.right) / 2, (client.top + client.bottom) / 2};
  ClientToScreen(window, &centre);
  return centre;
}

}  // namespace

std::wstring ClassNameOf(HWND window) {
  wchar_t name[256] = {};
  GetClassNameW(window, name, 256);
  return name;
}

std::wstring TextOf(HWND window) {
  wchar_t text[1024] = {};
  GetWindowTextW(window, text, 1024);
  return text;
}

std::wstring ControlText(HWND control) {
  wchar_t text[1024] = {};
  DWORD_PTR copied = 0;
  SendMessageTimeoutW(control, WM_GETTEXT, std::size(text), reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 5000,
                      &copied);
  return text;
}

bool Visible(HWND window) { return IsWindowVisible(window) != FALSE; }

bool Layered(HWND window) { return (GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_LAYERED) != 0; }

BYTE AlphaOf(HWND window) {
  BYTE alpha = 0;
  DWORD flags = 0;
  COLORREF key = 0;
  return GetLayeredWindowAttributes(window, &key, &alpha, &flags) ? alpha : 0;
}

RECT RectInParent(HWND control) {
  RECT rect{};
  GetWindowRect(control, &rect);
  MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

std::vector<HWND> TopLevelWindowsOf(DWORD pid) {
  WindowSearch search{pid, {}};
  EnumWindows(CollectWindowOfProcess, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND VisibleWindowOfClass(DWORD pid, const std::wstring& className) {
  for (HWND window : TopLevelWindowsOf(pid)) {
    if (IsWindowVisible(window) && ClassNameOf(window) == className) return window;
  }
  return nullptr;
}

std::vector<HWND> Descendants(HWND root, const std::wstring& className) {
  std::vector<HWND> all;
  EnumChildWindows(root, CollectChild, reinterpret_cast<LPARAM>(&all));
  if (!className.empty()) {
    std::erase_if(all, [&](HWND window) { return ClassNameOf(window) != className; });
  }
  return all;
}

HWND FindDescendant(HWND root, const std::wstring& className, const std::wstring& text) {
  for (HWND window : Descendants(root, className)) {
    if (ControlText(window) == text) return window;
  }
  return nullptr;
}

POINT ListBoxRowCentre(HWND listBox, int row) {
  SendMessageW(listBox, LB_SETTOPINDEX, row, 0);
  RECT rect{};
  SendMessageW(listBox, LB_GETITEMRECT, row, reinterpret_cast<LPARAM>(&rect));
  return CentreOnScreen(listBox, rect);
}

LRESULT SendWithData(HWND window, UINT msg, WPARAM wParam, void* data, size_t size) {
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  if (pid == GetCurrentProcessId()) return SendMessageW(window, msg, wParam, reinterpret_cast<LPARAM>(data));
  RemoteBuffer remote(window, size);
  if (!remote.Address() || !remote.Write(data, size)) return 0;
  const LRESULT result = SendMessageW(window, msg, wParam, reinterpret_cast<LPARAM>(remote.Address()));
  return remote.Read(data, size) ? result : 0;
}

POINT TabCentre(HWND tabControl, int tab) {
  RECT rect{};
  SendWithData(tabControl, TCM_GETITEMRECT, static_cast<WPARAM>(tab), &rect, sizeof rect);
  return CentreOnScreen(tabControl, rect);
}

// ---- A test window ----

TestWindow::TestWindow(bool visible, RECT rect, COLORREF colour, const std::wstring& caption) : colour_(colour) {
  static const ATOM registered = [] {
    WNDCLASSW wc{};
    wc.lpfnWndProc = Procedure;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.lpszClassName = L"QltTestWindow";
    return RegisterClassW(&wc);
  }();
  window_ = CreateWindowExW(0, reinterpret_cast<LPCWSTR>(static_cast<ULONG_PTR>(registered)), caption.c_str(),
                            WS_OVERLAPPEDWINDOW | (visible ? WS_VISIBLE : 0), rect.left, rect.top,
                            rect.right - rect.left, rect.bottom - rect.top, nullptr, nullptr, GetModuleHandleW(nullptr),
                            this);
}

TestWindow::~TestWindow() {
  if (window_) DestroyWindow(window_);
}

void TestWindow::Paint(COLORREF colour) {
  colour_ = colour;
  RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

LRESULT CALLBACK TestWindow::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
  if (message == WM_NCCREATE) {
    SetWindowLongPtrW(window, GWLP_USERDATA,
                      reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
  }
  auto* self = reinterpret_cast<TestWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (self && message == WM_NCDESTROY) {
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    self->window_ = nullptr;
  }
  LRESULT result = 0;
  if (self && self->OnMessage && self->OnMessage(message, wParam, lParam, result)) return result;
  if (self && message == WM_ERASEBKGND) {
    RECT client{};
    GetClientRect(window, &client);
    HBRUSH brush = CreateSolidBrush(self->colour_);
    FillRect(reinterpret_cast<HDC>(wParam), &client, brush);
    DeleteObject(brush);
    return 1;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

// ---- Message boxes ----

std::vector<HWND> MessageBoxesOf(DWORD pid) {
  std::vector<HWND> boxes = TopLevelWindowsOf(pid);
  std::erase_if(boxes, [](HWND window) { return !IsWindowVisible(window) || ClassNameOf(window) != L"#32770"; });
  return boxes;
}

HWND WaitForMessageBox(DWORD pid, std::chrono::milliseconds timeout) {
  HWND box = nullptr;
  WaitUntil([&] { return (box = VisibleWindowOfClass(pid, L"#32770")) != nullptr; }, timeout);
  return box;
}

std::wstring MessageBoxText(HWND box) {
  for (HWND child : Descendants(box, L"Static")) {
    const std::wstring text = ControlText(child);
    if (!text.empty()) return text;
  }
  return {};
}

void PressOk(HWND box) { PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0); }

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

void MessageBoxWatcher::Watch() {
  std::vector<HWND> handled;
  std::vector<std::pair<HWND, std::chrono::steady_clock::time_point>> due;  // boxes held open
  while (true) {
    {
      std::lock_guard lock(mutex_);
      if (stop_) return;
    }
    const auto now = std::chrono::steady_clock::now();
    std::erase_if(due, [&](const auto& box) {
      if (now < box.second) return false;
      PressOk(box.first);
      return true;
    });
    for (HWND box : MessageBoxesOf(GetCurrentProcessId())) {
      if (GetWindowThreadProcessId(box, nullptr) != uiThread_) continue;
      if (std::find(handled.begin(), handled.end(), box) != handled.end()) continue;
      handled.push_back(box);
      const Box seen{TextOf(box), MessageBoxText(box)};
      {
        std::lock_guard lock(mutex_);
        seen_.push_back(seen);
      }
      due.emplace_back(box, now + holdOpen_);
    }
    Sleep(20);
  }
}

}  // namespace qlt::test
