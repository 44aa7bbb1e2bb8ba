#include "tests/win/WinTestSupport.h"

#include <fstream>
#include <iterator>
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

}  // namespace

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

std::string ScratchDir::Read(const std::wstring& name) const {
  std::ifstream in(File(name).c_str(), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool ScratchDir::Exists(const std::wstring& name) const {
  return GetFileAttributesW(File(name).c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::wstring TestProgramDirectory() {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder = path;
  return folder.substr(0, folder.find_last_of(L'\\') + 1);
}

}  // namespace qlt::test
