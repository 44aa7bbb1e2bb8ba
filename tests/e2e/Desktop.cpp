#include "tests/e2e/Desktop.h"

#include <commctrl.h>

#include <fstream>
#include <thread>

#include "resources/skin/generator/PngWriter.h"
#include "skin/data/ImageDib.h"
#include "tests/e2e/QltProcess.h"

namespace qlt::e2e {
namespace {

struct ProcessWindows {
  DWORD pid;
  std::wstring className;
  HWND found = nullptr;
};

BOOL CALLBACK FindVisibleOfClass(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<ProcessWindows*>(param);
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  if (pid == search->pid && IsWindowVisible(window) && ClassNameOf(window) == search->className) {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

HWND VisibleWindowOfClass(DWORD pid, const std::wstring& className) {
  ProcessWindows search{pid, className};
  EnumWindows(FindVisibleOfClass, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

struct ClassSearch {
  const std::wstring* className;
  std::vector<HWND> found;
};

BOOL CALLBACK CollectOfClass(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<ClassSearch*>(param);
  if (ClassNameOf(window) == *search->className) search->found.push_back(window);
  return TRUE;
}

void PostKey(HWND window, WORD vk) {
  PostMessageW(window, WM_KEYDOWN, vk, 1);
  PostMessageW(window, WM_KEYUP, vk, 0xC0000001);
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

 private:
  HANDLE process_ = nullptr;
  void* address_ = nullptr;
};

}  // namespace

void BroadcastTaskbarCreated() {
  PostMessageW(HWND_BROADCAST, RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
}

RECT TaskbarRect() {
  RECT rect{};
  if (HWND taskbar = FindWindowW(L"Shell_TrayWnd", nullptr)) GetWindowRect(taskbar, &rect);
  return rect;
}

void SendTrayMouse(HWND owner, UINT mouseMessage) {
  const RECT bar = TaskbarRect();
  if (bar.right > bar.left) MovePointer(POINT{bar.right - 12, (bar.top + bar.bottom) / 2});
  PostMessageW(owner, kTrayCallback, kTrayIconId, mouseMessage);
}

HWND VisiblePopupMenu(DWORD pid) { return VisibleWindowOfClass(pid, L"#32768"); }

HWND WaitForPopupMenu(DWORD pid, std::chrono::milliseconds timeout) {
  HWND menu = nullptr;
  WaitUntil([&] { return (menu = VisiblePopupMenu(pid)) != nullptr; }, timeout);
  return menu;
}

void ChooseMenuItem(HWND menu, int downs) {
  for (int i = 0; i < downs; ++i) PostKey(menu, VK_DOWN);
  PostKey(menu, VK_RETURN);
}

bool ChooseFromTrayMenu(HWND owner, DWORD pid, int downs) {
  SendTrayMouse(owner, WM_LBUTTONDOWN);
  HWND menu = WaitForPopupMenu(pid);
  if (!menu) return false;
  ChooseMenuItem(menu, downs);
  return true;
}

void CloseMenu(HWND menu) { PostKey(menu, VK_ESCAPE); }

HWND WaitForMessageBox(DWORD pid, std::chrono::milliseconds timeout) {
  HWND box = nullptr;
  WaitUntil([&] { return (box = VisibleWindowOfClass(pid, L"#32770")) != nullptr; }, timeout);
  return box;
}

std::wstring MessageBoxText(HWND box) {
  // The message is the static control with the id 0xFFFF (the icon is another one, without text).
  for (HWND child : Descendants(box, L"Static")) {
    const std::wstring text = ControlText(child);
    if (!text.empty()) return text;
  }
  return {};
}

void PressOk(HWND box) { PostMessageW(box, WM_COMMAND, IDOK, 0); }

std::vector<HWND> Descendants(HWND root, const std::wstring& className) {
  ClassSearch search{&className, {}};
  EnumChildWindows(root, CollectOfClass, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND FindDescendant(HWND root, const std::wstring& className, const std::wstring& text) {
  for (HWND window : Descendants(root, className)) {
    if (ControlText(window) == text) return window;
  }
  return nullptr;
}

std::wstring ControlText(HWND control) {
  wchar_t text[1024] = {};
  DWORD_PTR copied = 0;
  SendMessageTimeoutW(control, WM_GETTEXT, std::size(text), reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 5000,
                      &copied);
  return text;
}

RECT RectInParent(HWND control) {
  RECT rect{};
  GetWindowRect(control, &rect);
  MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

std::vector<std::wstring> ListBoxRows(HWND listBox) {
  std::vector<std::wstring> rows;
  const LRESULT count = SendMessageW(listBox, LB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    const LRESULT length = SendMessageW(listBox, LB_GETTEXTLEN, i, 0);
    std::wstring row(static_cast<size_t>(length < 0 ? 0 : length) + 1, L'\0');
    SendMessageW(listBox, LB_GETTEXT, i, reinterpret_cast<LPARAM>(row.data()));
    row.resize(wcslen(row.c_str()));
    rows.push_back(row);
  }
  return rows;
}

POINT ListBoxRowCentre(HWND listBox, int row) {
  SendMessageW(listBox, LB_SETTOPINDEX, row, 0);  // scrolled into view, as a user would
  RECT rect{};
  SendMessageW(listBox, LB_GETITEMRECT, row, reinterpret_cast<LPARAM>(&rect));
  POINT centre{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
  ClientToScreen(listBox, &centre);
  return centre;
}

int ListBoxSelection(HWND listBox) { return static_cast<int>(SendMessageW(listBox, LB_GETCURSEL, 0, 0)); }

POINT TabCentre(HWND tabControl, int tab) {
  RemoteBuffer remote(tabControl, sizeof(RECT));
  RECT rect{};
  if (remote.Address()) {
    SendMessageW(tabControl, TCM_GETITEMRECT, tab, reinterpret_cast<LPARAM>(remote.Address()));
    remote.Read(&rect, sizeof rect);
  }
  POINT centre{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
  ClientToScreen(tabControl, &centre);
  return centre;
}

void MovePointer(POINT screen) {
  // The display server may report the old position for a moment and move the pointer back, so
  // the move is repeated until the pointer stays where it was sent.
  for (int attempt = 0; attempt < 20; ++attempt) {
    SetCursorPos(screen.x, screen.y);
    test::SendMouseInput(0, screen);
    if (!WaitUntil([&] { return test::PointerAt(screen); }, 300ms)) continue;
    std::this_thread::sleep_for(150ms);
    if (test::PointerAt(screen)) return;
  }
}

void Click(POINT screen) {
  MovePointer(screen);
  test::SendMouseInput(MOUSEEVENTF_LEFTDOWN, screen);
  std::this_thread::sleep_for(30ms);
  test::SendMouseInput(MOUSEEVENTF_LEFTUP, screen);
  std::this_thread::sleep_for(100ms);
}

void DoubleClick(POINT screen) {
  MovePointer(screen);
  for (int i = 0; i < 2; ++i) {
    test::SendMouseInput(MOUSEEVENTF_LEFTDOWN, screen);
    test::SendMouseInput(MOUSEEVENTF_LEFTUP, screen);
  }
  std::this_thread::sleep_for(100ms);
}

std::vector<COLORREF> ScreenPixels(const RECT& r) {
  const int width = r.right - r.left, height = r.bottom - r.top;
  std::vector<COLORREF> pixels;
  if (width <= 0 || height <= 0) return pixels;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top row first
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (bitmap && bits) {
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, r.left, r.top, SRCCOPY);
    GdiFlush();
    const auto* p = static_cast<const DWORD*>(bits);
    pixels.assign(p, p + static_cast<size_t>(width) * height);
    SelectObject(memory, old);
  }
  if (bitmap) DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return pixels;
}

bool SaveScreenshot(const std::wstring& name) {
  if (Paths().screenshots.empty()) return false;
  const int width = GetSystemMetrics(SM_CXSCREEN);
  const int height = GetSystemMetrics(SM_CYSCREEN);
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
  HGDIOBJ old = SelectObject(memory, bitmap);
  const bool copied = BitBlt(memory, 0, 0, width, height, screen, 0, 0, SRCCOPY) != FALSE;
  SelectObject(memory, old);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  const Bitmap24 image = copied ? ReadBitmap(bitmap) : Bitmap24();
  DeleteObject(bitmap);
  if (image.Width() == 0) return false;

  CreateDirectoryW(Paths().screenshots.c_str(), nullptr);
  const auto png = art::EncodePng(image);
  std::ofstream out((Paths().screenshots + L"\\" + name + L".png").c_str(), std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(png.data()), static_cast<std::streamsize>(png.size()));
  return static_cast<bool>(out);
}

}  // namespace qlt::e2e
