#include "app/ReminderTimer.h"

namespace qlt {
namespace {

class LocalClock final : public Clock {
 public:
  LocalTime Now() const override {
    SYSTEMTIME t{};
    GetLocalTime(&t);
    return {t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond};
  }
};

class WindowProcedureMonitorPower final : public MonitorPower {
 public:
  void LowPower(HWND window) override {
    // Through the window's own procedure, as the window itself would handle the command.
    const auto procedure = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(window, GWLP_WNDPROC));
    if (procedure) CallWindowProcW(procedure, window, WM_SYSCOMMAND, SC_MONITORPOWER, 1);
  }
};

}  // namespace

const Clock& SystemClock() {
  static const LocalClock clock;
  return clock;
}

MonitorPower& SystemMonitorPower() {
  static WindowProcedureMonitorPower power;
  return power;
}

ReminderFired ReminderTimer::Tick(int remindMinute, ReminderAction action, HWND mainWindow) {
  if (!rule_.Tick(clock_.Now(), remindMinute)) return ReminderFired::No;
  if (action == ReminderAction::Message) return ReminderFired::ShowMessage;
  power_.LowPower(mainWindow);
  return ReminderFired::MonitorOff;
}

}  // namespace qlt
