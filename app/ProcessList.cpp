#include "app/ProcessList.h"

#include <tlhelp32.h>

#include "app/WinText.h"

namespace qlt {
namespace {

// Toolhelp entry points; older systems lack them, so they are looked up by name.
struct ToolhelpApi {
  using CreateSnapshotFn = HANDLE(WINAPI*)(DWORD, DWORD);
  using WalkFn = BOOL(WINAPI*)(HANDLE, PROCESSENTRY32W*);
  CreateSnapshotFn createSnapshot = nullptr;
  WalkFn first = nullptr;
  WalkFn next = nullptr;

  static const ToolhelpApi& Get() {
    static const ToolhelpApi api = [] {
      ToolhelpApi bound;
      if (HMODULE kernel = GetModuleHandleW(L"kernel32.dll")) {
        bound.createSnapshot =
            reinterpret_cast<CreateSnapshotFn>(reinterpret_cast<void*>(GetProcAddress(kernel, "CreateToolhelp32Snapshot")));
        bound.first = reinterpret_cast<WalkFn>(reinterpret_cast<void*>(GetProcAddress(kernel, "Process32FirstW")));
        bound.next = reinterpret_cast<WalkFn>(reinterpret_cast<void*>(GetProcAddress(kernel, "Process32NextW")));
      }
      return bound;
    }();
    return api;
  }
  bool Available() const { return createSnapshot && first && next; }
};

}  // namespace

ToolhelpSnapshot::ToolhelpSnapshot() {
  const auto& api = ToolhelpApi::Get();
  if (api.Available()) handle_.Reset(api.createSnapshot(TH32CS_SNAPPROCESS, 0));
}

std::vector<ProcessInfo> ToolhelpSnapshot::Processes() const {
  std::vector<ProcessInfo> processes;
  if (!Valid()) return processes;
  const auto& api = ToolhelpApi::Get();
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof(entry);
  for (BOOL more = api.first(handle_.Get(), &entry); more; more = api.next(handle_.Get(), &entry)) {
    entry.szExeFile[MAX_PATH - 1] = L'\0';
    processes.push_back({entry.th32ProcessID, ToU16(entry.szExeFile)});
    entry.dwSize = sizeof(entry);
  }
  return processes;
}

std::vector<ProcessInfo> ListProcesses() { return ToolhelpSnapshot().Processes(); }

}  // namespace qlt
