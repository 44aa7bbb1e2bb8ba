#include "app/ProcessStarter.h"

#include <shellapi.h>

#include "ui/Handles.h"

namespace qlt {
namespace {

class SystemStarter final : public ProcessStarter {
 public:
  bool RunAnsi(const std::string& commandLine, int show) override {
    return WinExec(commandLine.c_str(), static_cast<UINT>(show)) > 31;
  }

  bool Run(const std::wstring& commandLine, int show) override {
    std::wstring line = commandLine;  // CreateProcessW may write into it
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = static_cast<WORD>(show);
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) {
      return false;
    }
    // Nothing waits for the program: both handles go at once.
    const UniqueKernelHandle thread(info.hThread), process(info.hProcess);
    return true;
  }

  bool OpenWithDefaultProgram(const std::wstring& target) override {
    const auto result = reinterpret_cast<INT_PTR>(
        ShellExecuteW(nullptr, L"open", target.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    return result > 32;
  }
};

}  // namespace

ProcessStarter& SystemProcessStarter() {
  static SystemStarter starter;
  return starter;
}

}  // namespace qlt
