#pragma once
// The hourly reminder at the Win32 edge: the clock and the monitor-power request are seams, so
// tests can drive a tick at any time and see what was sent.
#include <windows.h>

#include "app/FormSettings.h"
#include "app/Reminder.h"

namespace qlt {

class Clock {
 public:
  virtual ~Clock() = default;
  virtual LocalTime Now() const = 0;
};
const Clock& SystemClock();  // the local time

class MonitorPower {
 public:
  virtual ~MonitorPower() = default;
  // Hands WM_SYSCOMMAND SC_MONITORPOWER, level 1 (low power), to the window's own procedure.
  virtual void LowPower(HWND window) = 0;
};
MonitorPower& SystemMonitorPower();

enum class ReminderFired { No, ShowMessage, MonitorOff };

// Timer1Timer: what the tick does. MonitorOff has already been sent when it returns; for
// ShowMessage the caller shows kReminderMessage in the application's message box.
class ReminderTimer {
 public:
  explicit ReminderTimer(const Clock& clock = SystemClock(), MonitorPower& power = SystemMonitorPower())
      : clock_(clock), power_(power) {}
  ReminderFired Tick(int remindMinute, ReminderAction action, HWND mainWindow);

 private:
  const Clock& clock_;
  MonitorPower& power_;
  HourlyReminder rule_;
};

}  // namespace qlt
