#pragma once
// The main window's options as stored in section "Form" of QLT.ini: how the stored texts become
// control values at start, which keys are written back while loading, and the texts the option
// handlers write. Pure rules; app/SettingsFile.h reads and writes the file.
#include <string>
#include <vector>

namespace qlt {

inline constexpr char16_t kFormSection[] = u"Form";
inline constexpr char16_t kHotkeyReadKey[] = u"Hotkey";   // start-up spells it so
inline constexpr char16_t kHotKeyWriteKey[] = u"HotKey";  // the dialog's handler spells it so (same key)
inline constexpr char16_t kTimeKey[] = u"Time";
inline constexpr char16_t kNumKey[] = u"Num";
inline constexpr char16_t kTypeKey[] = u"Type";
inline constexpr char16_t kType1Key[] = u"Type1";
inline constexpr char16_t kHideKey[] = u"Hide";
inline constexpr char16_t kVolumeKey[] = u"Volume";

enum class HideMode { Hide, Close, Translucent };          // Rad_Hide, Rad_Kill, Rad_AP
enum class ReminderAction { MonitorOff, Message };         // Rad_Close, Rad_MSG

// Control values; the defaults are the form's design-time states.
struct FormSettings {
  std::u16string hotKey;  // trimmed
  int remindMinute = 0;   // Edt_M, no range
  int alpha = 200;        // Edt_AP, 1 to 255
  ReminderAction reminder = ReminderAction::MonitorOff;
  HideMode hideMode = HideMode::Hide;
  bool hideTray = false;    // Chk_TP
  bool muteVolume = false;  // Chk_Volume
};

// The texts as read from the file (missing keys read as empty texts).
struct StoredFormSettings {
  std::u16string hotKey, time, num, type, type1, hide, volume;
};

struct SettingWrite {
  std::u16string key;
  std::u16string text;
  bool operator==(const SettingWrite&) const = default;
};

struct LoadedFormSettings {
  FormSettings values;
  // What the controls' change handlers write while the values are loaded: a key is written back
  // exactly when its control's value differs from the design-time state. In load order.
  std::vector<SettingWrite> writeBacks;
};

// Text that cannot be parsed gives the defaults of the load rules (0 for the numbers).
LoadedFormSettings LoadFormSettings(const StoredFormSettings& stored);

int ClampAlpha(int value);

// The texts the option handlers write. Note the inverted sense of Hide and Volume: "0" is on.
std::u16string HideModeSetting(HideMode mode);              // "0", "1", "2"
std::u16string ReminderSetting(ReminderAction action);      // "0", "1"
std::u16string OptionSetting(bool on);                      // on: "0", off: "1"
std::u16string NumberSetting(int value);                    // decimal

}  // namespace qlt
