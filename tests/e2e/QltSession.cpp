#include "tests/e2e/QltSession.h"

#include "tests/e2e/DesktopInput.h"

namespace qlt::e2e {

std::string IniText(std::initializer_list<std::pair<const char*, const char*>> keys) {
  std::string text = "[Form]\r\n";
  for (const auto& [key, value] : keys) text += std::string(key) + "=" + value + "\r\n";
  return text;
}

QltSession::QltSession(const std::string& ini, const std::string& data) {
  folder_.WriteBytes(L"QLT.ini", ini);
  folder_.WriteBytes(L"data.txt", data);
  Start();
}

bool QltSession::Start() {
  process_ = std::make_unique<QltProcess>(folder_);
  process_->Start();  // returns once the program waits for input
  main_ = process_->WaitForTopLevelWindow(L"TFrm_Main");
  return main_ != nullptr;
}

void QltSession::ClickTrayIcon(UINT mouseMessage) const { PostMessageW(main_, WM_USER + 100, 128, mouseMessage); }

bool QltSession::ShowMainWindow() const {
  std::wstring commandLine = L"\"" + process_->ExePath() + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION second{};
  if (!CreateProcessW(process_->ExePath().c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      folder_.Path().c_str(), &startup, &second)) {
    return false;
  }
  WaitForSingleObject(second.hProcess, 10000);
  CloseHandle(second.hThread);
  CloseHandle(second.hProcess);
  return WaitUntil([&] { return IsWindowVisible(main_) != FALSE; }) && (Sleep(300), true);
}

bool QltSession::ChooseMode(const std::wstring& caption) const {
  HWND pages = FindDescendant(main_, L"TPageControl");
  HWND page2 = FindDescendant(main_, L"TTabSheet", L"动作");
  if (!pages || !page2) return false;
  // The second tab follows the first ("程序") on the strip of buttons at the top.
  for (int x = 45; x < 140 && !IsWindowVisible(page2); x += 8) {
    ClickAt(ClientToScreenPoint(pages, POINT{x, 10}));
  }
  HWND radio = FindDescendant(page2, L"TRadioButton", caption);
  if (!radio || !IsWindowVisible(radio)) return false;
  ClickAt(CentreOf(radio));
  return WaitUntil([&] { return SendMessageW(radio, BM_GETCHECK, 0, 0) == BST_CHECKED; }, 3s);
}

POINT QltSession::OnScreen(POINT client) const { return ClientToScreenPoint(main_, client); }

std::wstring QltSession::Setting(const std::wstring& key) const {
  wchar_t value[256] = {};
  GetPrivateProfileStringW(L"Form", key.c_str(), L"", value, 256, folder_.File(L"QLT.ini").c_str());
  return value;
}

HWND QltSession::FindMessageBox() const {
  for (HWND window : process_->TopLevelWindows()) {
    if (ClassNameOf(window) == L"#32770" && IsWindowVisible(window)) return window;
  }
  return nullptr;
}

std::wstring QltSession::MessageBoxText() const {
  HWND box = FindMessageBox();
  if (!box) return L"";
  // The text is the static control that has one (the icon's has none).
  for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (ClassNameOf(child) == L"Static" && !TextOf(child).empty()) return TextOf(child);
  }
  return L"(a message box without text)";
}

}  // namespace qlt::e2e
