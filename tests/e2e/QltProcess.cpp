#include "tests/e2e/QltProcess.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <stdexcept>
#include <thread>

#include "tests/win/WinTestSupport.h"

namespace qlt::e2e {
namespace {

DriverPaths g_paths;

void CreateFolderTree(const std::wstring& path) {
  for (size_t pos = path.find(L'\\', 3); pos != std::wstring::npos; pos = path.find(L'\\', pos + 1)) {
    CreateDirectoryW(path.substr(0, pos).c_str(), nullptr);
  }
  CreateDirectoryW(path.c_str(), nullptr);
}

}  // namespace

const DriverPaths& Paths() { return g_paths; }

void ParseDriverArguments(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg.rfind("--qlt=", 0) == 0) g_paths.qltExe = ToWindowsPath(arg.substr(6));
    if (arg.rfind("--scratch=", 0) == 0) g_paths.scratchRoot = ToWindowsPath(arg.substr(10));
    if (arg.rfind("--screenshots=", 0) == 0) g_paths.screenshots = ToWindowsPath(arg.substr(14));
  }
  if (g_paths.qltExe.empty() || g_paths.scratchRoot.empty()) {
    throw std::runtime_error("usage: driver --qlt=PATH_TO_QLT.exe --scratch=SCRATCH_FOLDER");
  }
}

std::wstring ToWindowsPath(const std::string& path) {
  std::wstring wide = test::Utf8ToWide(path);
  if (!wide.empty() && wide[0] == L'/') wide = L"Z:" + wide;
  for (auto& c : wide) {
    if (c == L'/') c = L'\\';
  }
  return wide;
}

ScratchFolder::ScratchFolder() {
  const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
  std::string name = test ? std::string(test->test_suite_name()) + "." + test->name() : "no-test";
  for (auto& c : name) {
    if (c == '/' || c == '\\') c = '_';
  }
  path_ = Paths().scratchRoot + L"\\" + test::Utf8ToWide(name);
  test::DeleteTree(path_);
  CreateFolderTree(path_);
}

void ScratchFolder::WriteBytes(const std::wstring& name, const std::string& bytes) const {
  std::ofstream out(File(name).c_str(), std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write scratch file");
}

std::optional<std::string> ScratchFolder::ReadBytes(const std::wstring& name) const {
  std::ifstream in(File(name).c_str(), std::ios::binary);
  if (!in) return std::nullopt;
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool ScratchFolder::Exists(const std::wstring& name) const { return test::FileExists(File(name)); }

QltProcess::QltProcess(const ScratchFolder& folder) : exe_(folder.File(L"QLT.exe")) {
  if (!CopyFileW(Paths().qltExe.c_str(), exe_.c_str(), FALSE)) {
    throw std::runtime_error("cannot copy QLT.exe into the scratch folder");
  }
}

QltProcess::~QltProcess() {
  if (info_.hProcess) {
    if (Running()) Kill();
    CloseHandle(info_.hProcess);
    CloseHandle(info_.hThread);
  }
}

void QltProcess::Start(const std::wstring& arguments) {
  std::wstring commandLine = L"\"" + exe_ + L"\"";
  if (!arguments.empty()) commandLine += L" " + arguments;
  const std::wstring folder = exe_.substr(0, exe_.rfind(L'\\'));
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  if (!CreateProcessW(exe_.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                      &startup, &info_)) {
    throw std::runtime_error("cannot start QLT.exe");
  }
  WaitForInputIdle(info_.hProcess, 10000);
}

bool QltProcess::Running() const {
  return info_.hProcess && WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT;
}

std::vector<HWND> QltProcess::TopLevelWindows() const { return test::TopLevelWindowsOf(info_.dwProcessId); }

HWND QltProcess::FindTopLevelWindow(const std::wstring& className) const {
  for (HWND window : TopLevelWindows()) {
    if (ClassNameOf(window) == className) return window;
  }
  return nullptr;
}

HWND QltProcess::WaitForTopLevelWindow(const std::wstring& className, std::chrono::milliseconds timeout) const {
  HWND found = nullptr;
  WaitUntil([&] { return (found = FindTopLevelWindow(className)) != nullptr; }, timeout);
  return found;
}

std::optional<DWORD> QltProcess::WaitForExit(std::chrono::milliseconds timeout) const {
  if (WaitForSingleObject(info_.hProcess, static_cast<DWORD>(timeout.count())) != WAIT_OBJECT_0) {
    return std::nullopt;
  }
  DWORD code = 0;
  GetExitCodeProcess(info_.hProcess, &code);
  return code;
}

void QltProcess::Kill() {
  TerminateProcess(info_.hProcess, 99);
  WaitForSingleObject(info_.hProcess, 5000);
}

std::wstring ClassNameOf(HWND window) {
  wchar_t name[256] = {};
  GetClassNameW(window, name, 256);
  return name;
}

std::wstring TextOf(HWND window) {
  wchar_t text[512] = {};
  GetWindowTextW(window, text, 512);
  return text;
}

}  // namespace qlt::e2e
