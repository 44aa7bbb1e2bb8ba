// A program with many visible top-level windows, for the hide benchmark: "host.exe COUNT EVENT"
// opens COUNT small windows and runs until the named event is set.
#include <windows.h>

#include <cstdio>
#include <string>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR arguments, int) {
  int count = 0;
  wchar_t eventName[128] = {};
  if (swscanf(arguments, L"%d %127ls", &count, eventName) != 2) return 2;
  HANDLE stop = OpenEventW(SYNCHRONIZE, FALSE, eventName);
  if (!stop) return 3;

  WNDCLASSW wc{};
  wc.lpfnWndProc = DefWindowProcW;
  wc.hInstance = instance;
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = L"QltBenchHostWindow";
  RegisterClassW(&wc);
  for (int i = 0; i < count; ++i) {
    CreateWindowExW(WS_EX_TOOLWINDOW, wc.lpszClassName, (L"bench " + std::to_wstring(i)).c_str(),
                    WS_OVERLAPPED | WS_CAPTION | WS_VISIBLE, 20 + (i % 40) * 20, 20 + (i % 25) * 20, 120, 60, nullptr,
                    nullptr, instance, nullptr);
  }
  MSG msg;
  while (MsgWaitForMultipleObjects(1, &stop, FALSE, INFINITE, QS_ALLINPUT) == WAIT_OBJECT_0 + 1) {
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
  }
  return 0;
}
