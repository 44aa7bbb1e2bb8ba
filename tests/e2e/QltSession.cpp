#include "tests/e2e/QltSession.h"

#include <commctrl.h>

#include <thread>

#include "tests/e2e/Desktop.h"

namespace qlt::e2e {

std::string IniText(std::initializer_list<std::pair<const char*, const char*>> keys) {
  std::string text = "[Form]\r\n";
  for (const auto& [key, value] : keys) text += std::string(key) + "=" + value + "\r\n";
  return text;
}

bool TrayBalloonShown() {
  for (HWND w = FindWindowExW(nullptr, nullptr, L"tooltips_class32", nullptr); w;
       w = FindWindowExW(nullptr, w, L"tooltips_class32", nullptr)) {
    if (IsWindowVisible(w) && (GetWindowLongW(w, GWL_STYLE) & TTS_BALLOON)) return true;
  }
  return false;
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

void QltSession::ClickTrayIcon(UINT mouseMessage) const { SendTrayMouse(main_, mouseMessage); }

bool QltSession::ShowMainWindow() const {
  QltProcess second(process_->ExePath());
  second.Start();
  second.WaitForExit();
  if (!WaitUntil([&] { return IsWindowVisible(main_) != FALSE; })) return false;
  std::this_thread::sleep_for(300ms);  // painted
  return true;
}

bool QltSession::ChooseMode(const std::wstring& caption) const {
  const auto pages = Descendants(main_, L"TPageControl");
  HWND actions = FindDescendant(main_, L"TTabSheet", L"动作");
  if (pages.empty() || !actions) return false;
  ClickAt(TabCentre(pages.front(), 1));
  if (!WaitUntil([&] { return IsWindowVisible(actions) != FALSE; }, 3s)) return false;
  HWND radio = FindDescendant(actions, L"TRadioButton", caption);
  if (!radio) return false;
  ClickAt(CentreOf(radio));
  return WaitUntil([&] { return SendMessageW(radio, BM_GETCHECK, 0, 0) == BST_CHECKED; }, 3s);
}

POINT QltSession::OnScreen(POINT client) const {
  ClientToScreen(main_, &client);
  return client;
}

std::wstring QltSession::Setting(const std::wstring& key) const {
  wchar_t value[256] = {};
  GetPrivateProfileStringW(L"Form", key.c_str(), L"", value, 256, folder_.File(L"QLT.ini").c_str());
  return value;
}

HWND QltSession::FindMessageBox() const { return WaitForMessageBox(process_->Id(), 0ms); }

std::wstring QltSession::MessageBoxText() const {
  HWND box = FindMessageBox();
  return box ? e2e::MessageBoxText(box) : L"";
}

}  // namespace qlt::e2e
