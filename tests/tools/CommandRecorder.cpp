// Stands in for a program QLT starts (netsh, a browser): writes the command line it received, as
// the bytes of GetCommandLineA, into "<its own path>.cmdline" and ends.
#include <windows.h>

#include <cstring>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  char path[MAX_PATH + 16] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::strcat(path, ".cmdline");
  HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 1;
  const char* line = GetCommandLineA();
  DWORD written = 0;
  WriteFile(file, line, static_cast<DWORD>(std::strlen(line)), &written, nullptr);
  CloseHandle(file);
  return 0;
}
