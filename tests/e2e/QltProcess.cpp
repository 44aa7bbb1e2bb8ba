#include "tests/e2e/QltProcess.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "tests/win/WinTestSupport.h"

namespace qlt::e2e {
namespace {

DriverPaths g_paths;

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
  test::SetScreenshotFolder(g_paths.screenshots);
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
  test::CreateFolders(path_);
}

void ScratchFolder::WriteBytes(const std::wstring& name, const std::string& bytes) const {
  if (!test::WriteFileBytes(File(name), bytes)) throw std::runtime_error("cannot write scratch file");
}

QltProcess::QltProcess(const ScratchFolder& folder) : exe_(folder.File(L"QLT.exe")) {
  if (!CopyFileW(Paths().qltExe.c_str(), exe_.c_str(), FALSE)) {
    throw std::runtime_error("cannot copy QLT.exe into the scratch folder");
  }
}

QltProcess::~QltProcess() {
  if (Running()) Kill();
}

void QltProcess::Start(const std::wstring& arguments) {
  std::wstring commandLine = L"\"" + exe_ + L"\"";
  if (!arguments.empty()) commandLine += L" " + arguments;
  // In its own folder, where it keeps its settings; returns once it waits for input.
  program_ = std::make_unique<test::RunningProgram>(commandLine, exe_.substr(0, exe_.rfind(L'\\')));
}

std::vector<HWND> QltProcess::TopLevelWindows() const { return test::TopLevelWindowsOf(Id()); }

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
  if (!program_ || !program_->WaitForExit(timeout)) return std::nullopt;
  return program_->ExitCode();
}

void QltProcess::Kill() {
  if (program_) program_->Kill(99);
}

}  // namespace qlt::e2e
