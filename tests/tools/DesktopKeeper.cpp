// Keeps Wine's virtual desktop alive for the whole test run: the desktop lives while some program
// runs in it, and restarting it for every test program would cost time and reset the taskbar.
// It owns no window and waits until the Wine session is stopped.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  // A message queue attaches the thread to the desktop, which is what keeps the desktop running.
  MSG msg;
  PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE);
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
  return 0;
}
