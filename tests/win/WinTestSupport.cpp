// The Windows tests' helpers for waiting, the notification area, GDI counts, programs, files and
// the registry (input, windows and the screen have files of their own).
#include "tests/win/WinTestSupport.h"

#include <shellapi.h>
#include <winternl.h>

#include <algorithm>
#include <stdexcept>

namespace qlt::test {
namespace {

std::function<void()>& InstalledPump() {
  static std::function<void()> pump;
  return pump;
}

NOTIFYICONDATAW IconData(HWND owner, UINT id) {
  NOTIFYICONDATAW data{};
  data.cbSize = NOTIFYICONDATAW_V2_SIZE;
  data.hWnd = owner;
  data.uID = id;
  return data;
}

}  // namespace

void PumpMessages() {
  if (InstalledPump()) {
    InstalledPump()();
    return;
  }
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

void SetMessagePump(std::function<void()> pump) { InstalledPump() = std::move(pump); }

bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (!condition()) {
    if (std::chrono::steady_clock::now() >= deadline) return condition();
    PumpMessages();
    Sleep(5);
  }
  return true;
}

void PumpFor(std::chrono::milliseconds duration) {
  WaitUntil([] { return false; }, duration);
}

bool TrayIconPresent(HWND owner, UINT id) {
  NOTIFYICONDATAW data = IconData(owner, id);
  return Shell_NotifyIconW(NIM_MODIFY, &data) != FALSE;
}

void RemoveTrayIcon(HWND owner, UINT id) {
  NOTIFYICONDATAW data = IconData(owner, id);
  Shell_NotifyIconW(NIM_DELETE, &data);
}

// ---- Programs ----

RunningProgram::RunningProgram(const std::wstring& commandLine, const std::wstring& folder) {
  std::wstring line = commandLine;
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      folder.empty() ? nullptr : folder.c_str(), &startup, &info_)) {
    throw std::runtime_error("cannot start a test program");
  }
  WaitForInputIdle(info_.hProcess, 10000);
}

RunningProgram::~RunningProgram() {
  if (Running()) Kill();
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

std::optional<DWORD> RunningProgram::ExitCode() const {
  DWORD code = 0;
  if (Running() || !GetExitCodeProcess(info_.hProcess, &code)) return std::nullopt;
  return code;
}

void RunningProgram::Kill(UINT exitCode) {
  TerminateProcess(info_.hProcess, exitCode);
  WaitForSingleObject(info_.hProcess, 5000);
}

namespace {

std::wstring RecordFile(const std::wstring& path) { return path + L".cmdline"; }

}  // namespace

bool PutRecorder(const std::wstring& path) {
  DeleteFileW(RecordFile(path).c_str());
  // Built beside the test programs' folders (tests\tools, tests\win, tests\e2e).
  const std::wstring built = TestProgramDirectory() + L"..\\tools\\qlt_command_recorder.exe";
  return CopyFileW(built.c_str(), path.c_str(), FALSE) != FALSE;
}

std::string TakeRecordedCommandLine(const std::wstring& path, std::chrono::milliseconds timeout) {
  // The recorder creates its file before it writes: wait for the content, not only the file.
  std::string bytes;
  WaitUntil([&] { return !(bytes = ReadFileBytes(RecordFile(path))).empty(); }, timeout);
  DeleteFileW(RecordFile(path).c_str());
  return bytes;
}

bool RecorderRan(const std::wstring& path) { return FileExists(RecordFile(path)); }

// ---- Files ----

std::wstring CodePageToWide(const std::string& bytes, UINT codePage) {
  const int n = MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
  std::wstring text(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), text.data(), n);
  return text;
}

std::string WideToCodePage(const std::wstring& text, UINT codePage) {
  const int n =
      WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  std::string bytes(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), bytes.data(), n, nullptr, nullptr);
  return bytes;
}

std::wstring TestProgramDirectory() {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder = path;
  return folder.substr(0, folder.find_last_of(L'\\') + 1);
}

std::optional<std::string> TryReadFileBytes(const std::wstring& path) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                            nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return std::nullopt;
  std::string bytes;
  char chunk[4096];
  DWORD read = 0;
  while (ReadFile(file, chunk, sizeof chunk, &read, nullptr) && read) bytes.append(chunk, read);
  CloseHandle(file);
  return bytes;
}

std::string ReadFileBytes(const std::wstring& path) { return TryReadFileBytes(path).value_or(""); }

bool WriteFileBytes(const std::wstring& path, const std::string& bytes) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const bool ok = bytes.empty() || (WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                                    written == bytes.size());
  return CloseHandle(file) && ok;
}

bool FileExists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

void CreateFolders(const std::wstring& path) {
  // From the first backslash after a drive ("C:\") on.
  for (size_t pos = path.find(L'\\', 3); pos != std::wstring::npos; pos = path.find(L'\\', pos + 1)) {
    CreateDirectoryW(path.substr(0, pos).c_str(), nullptr);
  }
  CreateDirectoryW(path.c_str(), nullptr);
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

ScratchDir::ScratchDir(const std::wstring& name) {
  wchar_t temp[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, temp);
  path_ = std::wstring(temp) + L"qlt-" + name + L"-" + std::to_wstring(GetCurrentProcessId());
  DeleteTree(path_);
  CreateDirectoryW(path_.c_str(), nullptr);
}

ScratchDir::~ScratchDir() { DeleteTree(path_); }

void ScratchDir::Write(const std::wstring& name, const std::string& bytes) const {
  if (!WriteFileBytes(File(name), bytes)) throw std::runtime_error("cannot write a scratch file");
}

std::string ScratchDir::Read(const std::wstring& name) const { return ReadFileBytes(File(name)); }

bool ScratchDir::Exists(const std::wstring& name) const { return FileExists(File(name)); }

// ---- The registry ----

std::optional<std::wstring> RegistryData(HKEY root, const std::wstring& path, const std::wstring& name) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return std::nullopt;
  std::optional<std::wstring> data;
  DWORD type = 0, size = 0;
  if (RegQueryValueExW(key, name.c_str(), nullptr, &type, nullptr, &size) == ERROR_SUCCESS &&
      (type == REG_SZ || type == REG_EXPAND_SZ)) {
    std::wstring text((size + 1) / sizeof(wchar_t), L'\0');
    if (RegQueryValueExW(key, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(text.data()), &size) ==
        ERROR_SUCCESS) {
      text.resize(size / sizeof(wchar_t));
      data = text;
    }
  }
  RegCloseKey(key);
  return data;
}

std::optional<std::wstring> RegistryString(HKEY root, const std::wstring& path, const std::wstring& name) {
  std::optional<std::wstring> data = RegistryData(root, path, name);
  if (data) data->resize(wcsnlen(data->c_str(), data->size()));
  return data;
}

void SetRegistryString(HKEY root, const std::wstring& path, const std::wstring& name, const std::wstring& text) {
  HKEY key = nullptr;
  if (RegCreateKeyExW(root, path.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) != ERROR_SUCCESS) {
    return;
  }
  RegSetValueExW(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                 static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
  RegCloseKey(key);
}

void DeleteRegistryValue(HKEY root, const std::wstring& path, const std::wstring& name) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(root, path.c_str(), 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS) return;
  RegDeleteValueW(key, name.c_str());
  RegCloseKey(key);
}

// ---- GDI objects ----

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

int GdiObjectCount() { return GdiObjectCount(GetCurrentProcess(), GetCurrentThread()); }

int KernelHandleCount(DWORD pid) {
  HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
  DWORD counted = 0;
  if (process) {
    GetProcessHandleCount(process, &counted);
    CloseHandle(process);
  }
  if (counted) return static_cast<int>(counted);
  // Wine answers 0: the system's handle table is read instead (entries of every process).
  struct Entry {
    USHORT pid;
    USHORT creatorBackTraceIndex;
    UCHAR objectType;
    UCHAR flags;
    USHORT handle;
    PVOID object;
    ACCESS_MASK access;
  };
  std::vector<char> buffer(1 << 20);
  for (;;) {
    ULONG length = 0;
    const NTSTATUS status = NtQuerySystemInformation(static_cast<SYSTEM_INFORMATION_CLASS>(16) /* handles */,
                                                     buffer.data(), static_cast<ULONG>(buffer.size()), &length);
    if (status == static_cast<NTSTATUS>(0xC0000004L) /* too small */ && buffer.size() < (64u << 20)) {
      buffer.resize(buffer.size() * 2);
      continue;
    }
    if (status != 0) return -1;
    break;
  }
  const ULONG count = *reinterpret_cast<const ULONG*>(buffer.data());
  const auto* entries = reinterpret_cast<const Entry*>(buffer.data() + sizeof(ULONG_PTR));
  return static_cast<int>(std::count_if(entries, entries + count, [pid](const Entry& e) {
    return e.pid == static_cast<USHORT>(pid);
  }));
}

int KernelHandleCount() { return KernelHandleCount(GetCurrentProcessId()); }

}  // namespace qlt::test
