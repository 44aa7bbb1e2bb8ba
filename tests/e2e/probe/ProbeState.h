#pragma once
// What the end-to-end driver and the probe inside QLT.exe share (a named file mapping): the shift
// of QLT's local clock, and the monitor-power requests that reached QLT's main window.
#include <windows.h>

namespace qlt::e2e {

inline constexpr wchar_t kProbeStateName[] = L"QltE2eProbeState";

struct ProbeState {
  LONG attached;          // 1 once the probe runs inside QLT.exe and its clock is shifted
  LONG subclassed;        // 1 once the main window's procedure passes through the probe
  LONGLONG clockShift;    // 100 ns units added to every local time QLT.exe reads
  LONGLONG lastRead;      // the last local time QLT.exe read with the current shift (FILETIME units)
  LONG monitorPowerCount; // WM_SYSCOMMAND SC_MONITORPOWER messages seen by the main window
  LONG lastLevel;         // lParam of the last one
};

}  // namespace qlt::e2e
