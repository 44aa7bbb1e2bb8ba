#pragma once
// Support for the end-to-end tests: a scratch folder per test, and the real QLT.exe copied into
// it, started, observed through its windows and stopped.
#include <windows.h>

#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "tests/win/WinTestSupport.h"

namespace qlt::e2e {

using namespace std::chrono_literals;

// Paths given on the driver's command line (--qlt=..., --scratch=..., optionally
// --screenshots=...), as Windows paths.
struct DriverPaths {
  std::wstring qltExe;
  std::wstring scratchRoot;
  std::wstring screenshots;
};
const DriverPaths& Paths();
void ParseDriverArguments(int argc, char** argv);

// "/work/x" (a path of the Linux host, as ctest passes it) becomes "Z:\work\x" under Wine;
// a Windows path is returned unchanged.
std::wstring ToWindowsPath(const std::string& path);

using test::ClassNameOf;
using test::TextOf;
using test::WaitUntil;

// A fresh, empty folder named after the running test, below the scratch root.
class ScratchFolder {
 public:
  ScratchFolder();
  const std::wstring& Path() const { return path_; }
  std::wstring File(const std::wstring& name) const { return path_ + L"\\" + name; }
  // Throws when the file cannot be written.
  void WriteBytes(const std::wstring& name, const std::string& bytes) const;
  // Nothing when the file cannot be opened.
  std::optional<std::string> ReadBytes(const std::wstring& name) const { return test::TryReadFileBytes(File(name)); }
  bool Exists(const std::wstring& name) const { return test::FileExists(File(name)); }

 private:
  std::wstring path_;
};

// The real QLT.exe, copied into a scratch folder and started from there (it keeps its settings
// beside the executable). The destructor ends a process that is still running.
class QltProcess {
 public:
  explicit QltProcess(const ScratchFolder& folder);
  // Another start of an executable that is already in place (a second start of the same QLT.exe).
  explicit QltProcess(std::wstring exePath) : exe_(std::move(exePath)) {}
  ~QltProcess();
  QltProcess(const QltProcess&) = delete;
  QltProcess& operator=(const QltProcess&) = delete;

  void Start(const std::wstring& arguments = L"");
  bool Running() const { return program_ && program_->Running(); }
  DWORD Id() const { return program_ ? program_->Id() : 0; }
  const std::wstring& ExePath() const { return exe_; }

  std::vector<HWND> TopLevelWindows() const;
  HWND FindTopLevelWindow(const std::wstring& className) const;
  HWND WaitForTopLevelWindow(const std::wstring& className, std::chrono::milliseconds timeout = 10s) const;

  // The exit code once the process has ended within the time, otherwise nothing.
  std::optional<DWORD> WaitForExit(std::chrono::milliseconds timeout = 10s) const;
  void Kill();

 private:
  std::wstring exe_;
  std::unique_ptr<test::RunningProgram> program_;
};

}  // namespace qlt::e2e
