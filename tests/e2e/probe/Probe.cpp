// A probe that an end-to-end driver puts into QLT.exe with a global message hook. Inside QLT it
// (1) shifts the local time QLT reads, by replacing the GetLocalTime entry of QLT.exe's import
// table, so a test can put the clock just before the reminder's minute; and (2) subclasses the
// main window like any skinner would, counting the WM_SYSCOMMAND SC_MONITORPOWER messages that
// reach its procedure. QLT itself is not changed for the test. In every other process of the
// session the hook does nothing.
#include <windows.h>

#include <cstring>
#include <cwchar>

#include "tests/e2e/probe/ProbeState.h"

namespace {

using qlt::e2e::ProbeState;

ProbeState* g_state = nullptr;
bool g_checked = false;
bool g_inQlt = false;
WNDPROC g_mainProcedure = nullptr;
decltype(&GetLocalTime) g_realGetLocalTime = nullptr;

ProbeState* OpenState() {
  HANDLE mapping = OpenFileMappingW(FILE_MAP_ALL_ACCESS, FALSE, qlt::e2e::kProbeStateName);
  if (!mapping) return nullptr;
  return static_cast<ProbeState*>(MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, sizeof(ProbeState)));
}

bool IsQltProcess() {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  const wchar_t* name = wcsrchr(path, L'\\');
  return _wcsicmp(name ? name + 1 : path, L"QLT.exe") == 0;
}

void WINAPI ShiftedLocalTime(LPSYSTEMTIME time) {
  g_realGetLocalTime(time);
  FILETIME file{};
  SystemTimeToFileTime(time, &file);
  ULARGE_INTEGER value{};
  value.LowPart = file.dwLowDateTime;
  value.HighPart = file.dwHighDateTime;
  const LONGLONG shift = InterlockedCompareExchange64(&g_state->clockShift, 0, 0);
  value.QuadPart += static_cast<ULONGLONG>(shift);
  file.dwLowDateTime = value.LowPart;
  file.dwHighDateTime = value.HighPart;
  FileTimeToSystemTime(&file, time);
  // A time read just before the driver moved the clock must not count as read after it.
  if (InterlockedCompareExchange64(&g_state->clockShift, 0, 0) == shift) {
    InterlockedExchange64(&g_state->lastRead, static_cast<LONGLONG>(value.QuadPart));
  }
}

// Points QLT.exe's import of kernel32's GetLocalTime at ShiftedLocalTime.
bool ShiftClock() {
  auto* base = reinterpret_cast<BYTE*>(GetModuleHandleW(nullptr));
  const auto* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(base);
  const auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
  const auto& dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  for (auto* imp = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + dir.VirtualAddress); imp->Name; ++imp) {
    if (_stricmp(reinterpret_cast<const char*>(base + imp->Name), "KERNEL32.dll") != 0) continue;
    auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + imp->OriginalFirstThunk);
    auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + imp->FirstThunk);
    for (; names->u1.AddressOfData; ++names, ++slots) {
      if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
      const auto* byName = reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
      if (std::strcmp(reinterpret_cast<const char*>(byName->Name), "GetLocalTime") != 0) continue;
      DWORD old = 0;
      VirtualProtect(&slots->u1.Function, sizeof(slots->u1.Function), PAGE_READWRITE, &old);
      g_realGetLocalTime = reinterpret_cast<decltype(&GetLocalTime)>(slots->u1.Function);
      slots->u1.Function = reinterpret_cast<decltype(slots->u1.Function)>(&ShiftedLocalTime);
      VirtualProtect(&slots->u1.Function, sizeof(slots->u1.Function), old, &old);
      return true;
    }
  }
  return false;
}

LRESULT CALLBACK CountingProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_SYSCOMMAND && (wParam & 0xFFF0) == SC_MONITORPOWER) {
    InterlockedExchange(&g_state->lastLevel, static_cast<LONG>(lParam));
    InterlockedIncrement(&g_state->monitorPowerCount);
  }
  return CallWindowProcW(g_mainProcedure, window, message, wParam, lParam);
}

struct MainWindowSearch {
  DWORD pid;
  HWND found;
};

BOOL CALLBACK FindMainWindow(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<MainWindowSearch*>(param);
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  wchar_t cls[64] = {};
  GetClassNameW(window, cls, 64);
  if (pid != search->pid || std::wcscmp(cls, L"TFrm_Main") != 0) return TRUE;
  search->found = window;
  return FALSE;
}

void SubclassMainWindow() {
  MainWindowSearch search{GetCurrentProcessId(), nullptr};
  EnumWindows(FindMainWindow, reinterpret_cast<LPARAM>(&search));
  if (!search.found) return;  // not created yet: the next message tries again
  g_mainProcedure = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(search.found, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CountingProcedure)));
  InterlockedExchange(&g_state->subclassed, 1);
}

}  // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK ProbeMessageHook(int code, WPARAM wParam, LPARAM lParam) {
  if (!g_checked) {
    g_checked = true;
    g_inQlt = IsQltProcess() && (g_state = OpenState()) != nullptr;
    if (g_inQlt) {
      // QLT's import table and its main window now lead into this module: it stays loaded.
      HMODULE self = nullptr;
      GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_PIN,
                         reinterpret_cast<LPCWSTR>(&ProbeMessageHook), &self);
      InterlockedExchange(&g_state->attached, ShiftClock() ? 1 : -1);
    }
  }
  if (g_inQlt && !g_mainProcedure) SubclassMainWindow();
  return CallNextHookEx(nullptr, code, wParam, lParam);
}
