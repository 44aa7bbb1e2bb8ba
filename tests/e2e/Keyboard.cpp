#include "tests/e2e/Keyboard.h"

#include <atomic>
#include <fstream>

#include "tests/e2e/QltProcess.h"
#include "tests/win/WinTestSupport.h"

namespace qlt::e2e {

void PressKeys(const std::vector<WORD>& keys) {
  std::vector<INPUT> inputs;
  for (WORD vk : keys) inputs.push_back(test::KeyInput(vk, false));
  for (auto it = keys.rbegin(); it != keys.rend(); ++it) inputs.push_back(test::KeyInput(*it, true));
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
  Sleep(100);
}

void PressKey(WORD key) { PressKeys({key}); }

void TypeText(const std::wstring& text) {
  test::SendUnicodeText(text);
  Sleep(100);
}

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
  const std::wstring base = Paths().scratchRoot + L"\\host-script-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                            std::to_wstring(++counter);
  const std::wstring scriptFile = base + L".sh", doneFile = base + L".done";
  const std::string hostScript = HostPathOf(scriptFile), hostDone = HostPathOf(doneFile);
  if (hostScript.empty()) return std::nullopt;
  DeleteFileW(doneFile.c_str());
  {
    std::ofstream out(scriptFile.c_str(), std::ios::binary | std::ios::trunc);
    // The status is written to a file last: a Unix program started by Wine has no process
    // handle the driver could wait on.
    out << "( " << script << "\n) >'" << hostScript << ".log' 2>&1\n"
        << "echo $? >'" << hostDone << ".tmp' && mv '" << hostDone << ".tmp' '" << hostDone << "'\n";
    if (!out) return std::nullopt;
  }
  std::wstring command = L"Z:\\bin\\sh \"" + test::Utf8ToWide(hostScript) + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) {
    return std::nullopt;
  }
  if (info.hThread) CloseHandle(info.hThread);
  if (info.hProcess) CloseHandle(info.hProcess);
  if (!WaitUntil([&] { return GetFileAttributesW(doneFile.c_str()) != INVALID_FILE_ATTRIBUTES; }, timeout)) {
    return std::nullopt;
  }
  std::ifstream in(doneFile.c_str());
  int status = -1;
  in >> status;
  return status;
}

bool PressKeysOnDisplay(const std::string& keys) {
  const auto status = RunHostScript(
      "desktop=$(xdotool search --name 'Wine desktop' | head -1)\n"
      "[ -n \"$desktop\" ] || exit 3\n"
      "xdotool windowfocus \"$desktop\" && sleep 0.2 && xdotool key " + keys);
  return status == 0;
}

}  // namespace qlt::e2e
