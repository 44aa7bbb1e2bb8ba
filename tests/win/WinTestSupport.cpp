#include "tests/win/WinTestSupport.h"

#include <shellapi.h>
#include <winternl.h>

#include <algorithm>
#include <fstream>
#include <stdexcept>
#include <thread>

namespace qlt::test {
namespace {

void PumpMessages() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

NOTIFYICONDATAW IconData(HWND owner, UINT id) {
  NOTIFYICONDATAW data{};
  data.cbSize = NOTIFYICONDATAW_V2_SIZE;
  data.hWnd = owner;
  data.uID = id;
  return data;
}

}  // namespace

void SendMouseInput(DWORD buttonFlags, POINT screen) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dx = MulDiv(screen.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
  input.mi.dy = MulDiv(screen.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
  input.mi.dwFlags = buttonFlags | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  SendInput(1, &input, sizeof input);
}

std::wstring Utf8ToWide(const std::string& text) {
  const int n = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring out(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n);
  return out;
}

INPUT KeyInput(WORD vk, bool up) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = vk;
  input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  return input;
}

void SendUnicodeText(const std::wstring& text) {
  for (wchar_t c : text) {
    INPUT input[2]{};
    input[0].type = input[1].type = INPUT_KEYBOARD;
    input[0].ki.wScan = input[1].ki.wScan = c;
    input[0].ki.dwFlags = KEYEVENTF_UNICODE;
    input[1].ki.dwFlags = KEYEVENTF_UNICODE | KEYEVENTF_KEYUP;
    SendInput(2, input, sizeof(INPUT));
  }
}

bool PointerAt(POINT screen) {
  POINT p{};
  GetCursorPos(&p);
  return p.x == screen.x && p.y == screen.y;
}

POINT CentreOf(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

bool TrayIconPresent(HWND owner, UINT id) {
  NOTIFYICONDATAW data = IconData(owner, id);
  return Shell_NotifyIconW(NIM_MODIFY, &data) != FALSE;
}

void RemoveTrayIcon(HWND owner, UINT id) {
  NOTIFYICONDATAW data = IconData(owner, id);
  Shell_NotifyIconW(NIM_DELETE, &data);
}

bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (!condition()) {
    if (std::chrono::steady_clock::now() >= deadline) return condition();
    PumpMessages();
    std::this_thread::sleep_for(10ms);
  }
  return true;
}

RunningProgram::RunningProgram(const std::wstring& commandLine) {
  std::wstring line = commandLine;
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info_)) {
    throw std::runtime_error("cannot start a test program");
  }
  WaitForInputIdle(info_.hProcess, 10000);
}

RunningProgram::~RunningProgram() {
  if (Running()) {
    TerminateProcess(info_.hProcess, 1);
    WaitForSingleObject(info_.hProcess, 5000);
  }
  CloseHandle(info_.hThread);
  CloseHandle(info_.hProcess);
}

bool RunningProgram::Running() const { return WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT; }

HWND RunningProgram::MainWindow(std::chrono::milliseconds timeout) const {
  HWND found = nullptr;
  WaitUntil(
      [&] {
        for (HWND window : TopLevelWindowsOf(info_.dwProcessId)) {
          if (IsWindowVisible(window)) return (found = window) != nullptr;
        }
        return false;
      },
      timeout);
  return found;
}

bool RunningProgram::WaitForExit(std::chrono::milliseconds timeout) const {
  return WaitUntil([&] { return !Running(); }, timeout);
}

namespace {

struct WindowSearch {
  DWORD pid;
  std::vector<HWND> found;
};

BOOL CALLBACK CollectWindowOfProcess(HWND window, LPARAM param) noexcept {
  auto* search = reinterpret_cast<WindowSearch*>(param);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner == search->pid) search->found.push_back(window);
  return TRUE;
}

}  // namespace

std::vector<HWND> TopLevelWindowsOf(DWORD pid) {
  WindowSearch search{pid, {}};
  EnumWindows(CollectWindowOfProcess, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

ScratchDir::ScratchDir(const std::wstring& name) {
  wchar_t temp[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, temp);
  path_ = std::wstring(temp) + L"qlt-" + name + L"-" + std::to_wstring(GetCurrentProcessId());
  DeleteTree(path_);
  CreateDirectoryW(path_.c_str(), nullptr);
}

ScratchDir::~ScratchDir() { DeleteTree(path_); }

void ScratchDir::Write(const std::wstring& name, const std::string& bytes) const {
  std::ofstream out(File(name).c_str(), std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string ScratchDir::Read(const std::wstring& name) const { return ReadFileBytes(File(name)); }

bool ScratchDir::Exists(const std::wstring& name) const { return FileExists(File(name)); }

std::wstring TestProgramDirectory() {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder = path;
  return folder.substr(0, folder.find_last_of(L'\\') + 1);
}

void DeleteTree(const std::wstring& path) {
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW((path + L"\\*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      const std::wstring name = found.cFileName;
      if (name == L"." || name == L"..") continue;
      const std::wstring full = path + L"\\" + name;
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        DeleteTree(full);
      } else {
        SetFileAttributesW(full.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(full.c_str());
      }
    } while (FindNextFileW(search, &found));
    FindClose(search);
  }
  RemoveDirectoryW(path.c_str());
}

std::string ReadFileBytes(const std::wstring& path) {
  std::string bytes;
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return bytes;
  char chunk[4096];
  DWORD read = 0;
  while (ReadFile(file, chunk, sizeof chunk, &read, nullptr) && read) bytes.append(chunk, read);
  CloseHandle(file);
  return bytes;
}

bool FileExists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

namespace {

template <typename T>
bool ReadFrom(HANDLE process, uintptr_t address, T& value) {
  SIZE_T read = 0;
  return address && ReadProcessMemory(process, reinterpret_cast<LPCVOID>(address), &value, sizeof value, &read) &&
         read == sizeof value;
}

// The GDI handle table hangs off the PEB (GdiSharedHandleTable, offset 0x94 on 32 bits) or, for a
// 32-bit process on 64-bit Wine, off the 64-bit PEB: the 32-bit TEB keeps the 64-bit TEB's address
// in GdiBatchCount (0xF70); TEB64.Peb at 0x60, PEB64.GdiSharedHandleTable at 0xF8. All of it lives
// in the low 4 GB.
uintptr_t GdiHandleTable(HANDLE process, HANDLE thread) {
  PROCESS_BASIC_INFORMATION basic{};
  ULONG length = 0;
  if (NtQueryInformationProcess(process, ProcessBasicInformation, &basic, sizeof basic, &length) != 0) return 0;
  ULONG table = 0;
  ReadFrom(process, reinterpret_cast<uintptr_t>(basic.PebBaseAddress) + 0x94, table);
  if (table) return table;
  struct {
    LONG exitStatus;
    PVOID tebBase;
    PVOID clientId[2];
    ULONG_PTR affinity;
    LONG priority;
    LONG basePriority;
  } threadInfo{};
  if (NtQueryInformationThread(thread, static_cast<THREADINFOCLASS>(0) /* ThreadBasicInformation */, &threadInfo,
                               sizeof threadInfo, &length) != 0)
    return 0;
  ULONG teb64 = 0;
  UINT64 peb64 = 0, table64 = 0;
  if (!ReadFrom(process, reinterpret_cast<uintptr_t>(threadInfo.tebBase) + 0xF70, teb64) ||
      !ReadFrom(process, uintptr_t{teb64} + 0x60, peb64) ||
      !ReadFrom(process, static_cast<uintptr_t>(peb64) + 0xF8, table64))
    return 0;
  return static_cast<uintptr_t>(table64);
}

}  // namespace

int GdiObjectCount(HANDLE process, HANDLE thread) {
  if (DWORD counted = GetGuiResources(process, GR_GDIOBJECTS)) return static_cast<int>(counted);
  const uintptr_t table = GdiHandleTable(process, thread);
  if (!table) return -1;
  // 65536 entries of 24 bytes; an entry in use has a non-zero type.
  struct Entry {
    UINT64 object;
    ULONG owner;
    USHORT unique;
    UCHAR type;
    UCHAR flags;
    UINT64 user;
  };
  static_assert(sizeof(Entry) == 24);
  std::vector<Entry> entries(0x10000);
  SIZE_T read = 0;
  if (!ReadProcessMemory(process, reinterpret_cast<LPCVOID>(table), entries.data(), entries.size() * sizeof(Entry),
                         &read))
    return -1;
  // Stock objects carry the stock flag (bit 7 of the low byte of `unique`); they never change.
  return static_cast<int>(std::count_if(entries.begin(), entries.end(),
                                        [](const Entry& e) { return e.type != 0 && !(e.unique & 0x80); }));
}

}  // namespace qlt::test
