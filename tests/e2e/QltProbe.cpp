#include "tests/e2e/QltProbe.h"

#include <stdexcept>
#include <string>

namespace qlt::e2e {
namespace {

std::wstring ProbePath() {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder(path);
  return folder.substr(0, folder.rfind(L'\\') + 1) + L"qlt_e2e_probe.dll";
}

LONGLONG FileTimeOf(const SYSTEMTIME& time) {
  FILETIME file{};
  SystemTimeToFileTime(&time, &file);
  return static_cast<LONGLONG>((static_cast<ULONGLONG>(file.dwHighDateTime) << 32) | file.dwLowDateTime);
}

}  // namespace

QltProbe::QltProbe() {
  mapping_ = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(ProbeState), kProbeStateName);
  if (!mapping_) throw std::runtime_error("cannot create the probe's shared state");
  state_ = static_cast<ProbeState*>(MapViewOfFile(mapping_, FILE_MAP_ALL_ACCESS, 0, 0, sizeof(ProbeState)));
  *state_ = ProbeState{};
  module_ = LoadLibraryW(ProbePath().c_str());
  const auto hook = module_ ? reinterpret_cast<HOOKPROC>(reinterpret_cast<void*>(GetProcAddress(module_, "ProbeMessageHook"))) : nullptr;
  hook_ = hook ? SetWindowsHookExW(WH_GETMESSAGE, hook, module_, 0) : nullptr;
  if (!hook_) throw std::runtime_error("cannot install the probe's message hook");
}

QltProbe::~QltProbe() {
  UnhookWindowsHookEx(hook_);
  UnmapViewOfFile(state_);
  CloseHandle(mapping_);
}

bool QltProbe::WaitAttached(HWND qltMainWindow, std::chrono::milliseconds timeout) const {
  return WaitUntil(
      [&] {
        PostMessageW(qltMainWindow, WM_NULL, 0, 0);
        return state_->attached == 1 && state_->subclassed == 1;
      },
      timeout);
}

void QltProbe::SetLocalTime(const SYSTEMTIME& local) {
  SYSTEMTIME now{};
  GetLocalTime(&now);
  setAt_ = FileTimeOf(local);
  InterlockedExchange64(&state_->clockShift, setAt_ - FileTimeOf(now));
  InterlockedExchange64(&state_->lastRead, 0);
}

bool QltProbe::WaitForClockRead(std::chrono::seconds seconds, std::chrono::milliseconds timeout) const {
  const LONGLONG target = setAt_ + seconds.count() * 10'000'000LL;
  return WaitUntil([&] { return InterlockedCompareExchange64(&state_->lastRead, 0, 0) >= target; }, timeout);
}

LONG QltProbe::MonitorPowerCount() const { return InterlockedCompareExchange(&state_->monitorPowerCount, 0, 0); }

LONG QltProbe::LastMonitorPowerLevel() const { return InterlockedCompareExchange(&state_->lastLevel, 0, 0); }

SYSTEMTIME TodayAt(int hour, int minute, int second) {
  SYSTEMTIME t{};
  GetLocalTime(&t);
  t.wHour = static_cast<WORD>(hour);
  t.wMinute = static_cast<WORD>(minute);
  t.wSecond = static_cast<WORD>(second);
  t.wMilliseconds = 0;
  return t;
}

}  // namespace qlt::e2e
