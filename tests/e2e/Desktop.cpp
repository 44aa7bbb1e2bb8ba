#include "tests/e2e/Desktop.h"

namespace qlt::e2e {
namespace {

void PostKey(HWND window, WORD vk) {
  PostMessageW(window, WM_KEYDOWN, vk, 1);
  PostMessageW(window, WM_KEYUP, vk, 0xC0000001);
}

}  // namespace

void BroadcastTaskbarCreated() {
  PostMessageW(HWND_BROADCAST, RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
}

RECT TaskbarRect() {
  RECT rect{};
  if (HWND taskbar = FindWindowW(L"Shell_TrayWnd", nullptr)) GetWindowRect(taskbar, &rect);
  return rect;
}

POINT TrayIconPoint() {
  const RECT bar = TaskbarRect();
  return {bar.right - 12, (bar.top + bar.bottom) / 2};
}

void SendTrayMouse(HWND owner, UINT mouseMessage) {
  const RECT bar = TaskbarRect();
  if (bar.right > bar.left) MoveMouseTo(TrayIconPoint());
  PostMessageW(owner, kTrayCallback, kTrayIconId, mouseMessage);
}

void ClickTrayIcon(test::MouseButton button) { ClickAt(TrayIconPoint(), button); }

HWND VisiblePopupMenu(DWORD pid) { return test::VisibleWindowOfClass(pid, L"#32768"); }

HWND WaitForPopupMenu(DWORD pid, std::chrono::milliseconds timeout) {
  HWND menu = nullptr;
  test::WaitUntil([&] { return (menu = VisiblePopupMenu(pid)) != nullptr; }, timeout);
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

int ListBoxSelection(HWND listBox) { return static_cast<int>(SendMessageW(listBox, LB_GETCURSEL, 0, 0)); }

}  // namespace qlt::e2e
