#include "app/Reminder.h"

namespace qlt {

bool HourlyReminder::Tick(const LocalTime& now, int remindMinute) {
  const Stamp minute = MinuteOf(now);
  const bool enteredMinute = lastTickMinute_ ? !(*lastTickMinute_ == minute) : now.second == 0;
  lastTickMinute_ = minute;
  if (now.minute != remindMinute || !enteredMinute) return false;
  if (lastFiredHour_ && *lastFiredHour_ == HourOf(now)) return false;
  lastFiredHour_ = HourOf(now);
  return true;
}

}  // namespace qlt
