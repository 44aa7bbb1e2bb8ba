#include "tests/e2e/Keyboard.h"

#include <atomic>
#include <fstream>

#include "tests/e2e/QltProcess.h"

namespace qlt::e2e {
namespace {

INPUT Key(WORD vk, bool up) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = vk;
  input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  return input;
}

std::wstring FromUtf8(const std::string& text) {
  const int n = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring out(n, L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n);
  return out;
}

}  // namespace

void PressKeys(const std::vector<WORD>& keys) {
  std::vector<INPUT> inputs;
  for (WORD vk : keys) inputs.push_back(Key(vk, false));
  for (auto it = keys.rbegin(); it != keys.rend(); ++it) inputs.push_back(Key(*it, true));
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
  Sleep(100);
}

void PressKey(WORD key) { PressKeys({key}); }

void TypeText(const std::wstring& text) {
  for (wchar_t c : text) {
    INPUT input[2]{};
    input[0].type = input[1].type = INPUT_KEYBOARD;
    input[0].ki.wScan = input[1].ki.wScan = c;
    input[0].ki.dwFlags = KEYEVENTF_UNICODE;
    input[1].ki.dwFlags = KEYEVENTF_UNICODE | KEYEVENTF_KEYUP;
    SendInput(2, input, sizeof(INPUT));
  }
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
  std::wstring command = L"Z:\\bin\\sh \"" + FromUtf8(hostScript) + L"\"";
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
