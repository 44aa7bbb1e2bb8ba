#pragma once
// The taskbar's notification area, which the toggle can hide and show again.
#include <windows.h>

namespace qlt {

// The child of class childClass under the first top-level window of class topClass, or null.
HWND FindChildOfTopLevel(const wchar_t* topClass, const wchar_t* childClass);

// "TrayNotifyWnd" under "Shell_TrayWnd"; null where the shell has none (as under Wine).
HWND FindTrayNotifyWnd();

}  // namespace qlt
