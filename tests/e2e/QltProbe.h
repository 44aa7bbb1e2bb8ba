#pragma once
// The driver's side of the probe (probe/Probe.cpp): shares the probe's state, and puts the probe
// into every program of the session that handles messages while this object lives, QLT.exe
// included; start QLT after creating it. Inside QLT the probe shifts the local clock and counts
// the monitor-power requests reaching the main window.
#include <windows.h>

#include "tests/e2e/QltProcess.h"
#include "tests/e2e/probe/ProbeState.h"

namespace qlt::e2e {

class QltProbe {
 public:
  QltProbe();
  ~QltProbe();
  QltProbe(const QltProbe&) = delete;
  QltProbe& operator=(const QltProbe&) = delete;

  // True once the probe runs inside QLT (clock shifted, main window subclassed). The hook runs when
  // QLT takes a message from its queue: empty messages posted to its main window make sure it does.
  bool WaitAttached(HWND qltMainWindow, std::chrono::milliseconds timeout = 10s) const;
  LONG Attached() const { return state_->attached; }
  LONG Subclassed() const { return state_->subclassed; }
  // From now on QLT's local clock reads `local` and runs on in real time.
  void SetLocalTime(const SYSTEMTIME& local);
  // Waits until QLT has read its clock at `seconds` past the last SetLocalTime or later: every tick
  // of its timer before that has then been handled (a tick reads the clock first and ends before
  // the next one starts; a message box it opens is on the screen by then).
  bool WaitForClockRead(std::chrono::seconds seconds, std::chrono::milliseconds timeout = 10s) const;
  LONG MonitorPowerCount() const;
  LONG LastMonitorPowerLevel() const;

 private:
  HANDLE mapping_ = nullptr;
  ProbeState* state_ = nullptr;
  HMODULE module_ = nullptr;
  HHOOK hook_ = nullptr;
  LONGLONG setAt_ = 0;  // the local time of the last SetLocalTime (FILETIME units)
};

// The local time now, with the hour, minute and second replaced.
SYSTEMTIME TodayAt(int hour, int minute, int second);

}  // namespace qlt::e2e
