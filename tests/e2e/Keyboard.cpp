#include "tests/e2e/Keyboard.h"

#include <atomic>
#include <cstdlib>

#include "tests/e2e/QltProcess.h"
#include "tests/win/WinTestSupport.h"

namespace qlt::e2e {

std::string HostPathOf(const std::wstring& windowsPath) {
  using UnixName = char*(CDECL*)(LPCWSTR);
  const auto unixName = reinterpret_cast<UnixName>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
  if (!unixName) return {};
  char* name = unixName(windowsPath.c_str());
  if (!name) return {};
  std::string path = name;
  HeapFree(GetProcessHeap(), 0, name);
  return path;
}

std::optional<int> RunHostScript(const std::string& script, std::chrono::milliseconds timeout) {
  static std::atomic<int> counter{0};
  test::CreateFolders(Paths().scratchRoot);  // Wine names the Linux path of a file in a folder that exists
  const std::wstring base = Paths().scratchRoot + L"\\host-script-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                            std::to_wstring(++counter);
  const std::wstring scriptFile = base + L".sh", doneFile = base + L".done";
  const std::string hostScript = HostPathOf(scriptFile), hostDone = HostPathOf(doneFile);
  if (hostScript.empty()) return std::nullopt;
  DeleteFileW(doneFile.c_str());
  // The status is written to a file last: a Unix program started by Wine has no process handle
  // the driver could wait on.
  if (!test::WriteFileBytes(scriptFile, "( " + script + "\n) >'" + hostScript + ".log' 2>&1\n" + "echo $? >'" +
                                            hostDone + ".tmp' && mv '" + hostDone + ".tmp' '" + hostDone + "'\n")) {
    return std::nullopt;
  }
  std::wstring command = L"Z:\\bin\\sh \"" + test::Utf8ToWide(hostScript) + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) {
    return std::nullopt;
  }
  // Wine gives no handles for a Unix program: what the record holds then is left over from the
  // call and may well be a handle of this driver (a program it started), so nothing is closed.
  if (!WaitUntil([&] { return test::FileExists(doneFile); }, timeout)) return std::nullopt;
  const std::optional<std::string> status = test::TryReadFileBytes(doneFile);
  if (!status || status->empty()) return -1;
  return std::atoi(status->c_str());
}

bool PressKeysOnDisplay(const std::string& keys) {
  const auto status = RunHostScript(
      "desktop=$(xdotool search --name 'Wine desktop' | head -1)\n"
      "[ -n \"$desktop\" ] || exit 3\n"
      "xdotool windowfocus \"$desktop\" && sleep 0.2 && xdotool key " + keys);
  return status == 0;
}

}  // namespace qlt::e2e
