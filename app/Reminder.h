#pragma once
// The hourly reminder's firing rule, driven by the 1000 ms timer with the local time of each tick.
#include <optional>
#include <string>

namespace qlt {

inline constexpr char16_t kReminderMessage[] = u"一个小时了,请注意您的眼睛,休息一会！";

struct LocalTime {
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
};

class HourlyReminder {
 public:
  // True when the reminder is due at this tick: the clock is in the chosen minute, this is the
  // first tick since it entered that minute (a tick late by a second or two still counts; the
  // very first tick counts at second 0 only), and it has not fired in this hour yet. Minutes
  // outside 0 to 59 never fire.
  bool Tick(const LocalTime& now, int remindMinute);

 private:
  struct Stamp {
    int year, month, day, hour, minute;
    bool operator==(const Stamp&) const = default;
  };
  static Stamp MinuteOf(const LocalTime& t) { return {t.year, t.month, t.day, t.hour, t.minute}; }
  static Stamp HourOf(const LocalTime& t) { return {t.year, t.month, t.day, t.hour, 0}; }

  std::optional<Stamp> lastTickMinute_;
  std::optional<Stamp> lastFiredHour_;
};

}  // namespace qlt
