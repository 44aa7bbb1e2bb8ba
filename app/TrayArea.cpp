#include "app/TrayArea.h"

namespace qlt {

HWND FindChildOfTopLevel(const wchar_t* topClass, const wchar_t* childClass) {
  HWND top = FindWindowW(topClass, nullptr);
  return top ? FindWindowExW(top, nullptr, childClass, nullptr) : nullptr;
}

HWND FindTrayNotifyWnd() { return FindChildOfTopLevel(L"Shell_TrayWnd", L"TrayNotifyWnd"); }

}  // namespace qlt
