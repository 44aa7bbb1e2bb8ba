#pragma once
// Section "Form" of QLT.ini as the main window uses it: Load() at creation (with the write-backs
// of the load rules already on disk), and one Save call per option handler.
#include <string>

#include "app/FormSettings.h"
#include "app/IniFile.h"

namespace qlt {

class SettingsFile {
 public:
  explicit SettingsFile(IniFile ini = IniFile()) : ini_(std::move(ini)) {}

  FormSettings Load() const;
  std::u16string ReadHotKey() const;  // untrimmed, as the hotkey dialog's caller reads it

  void SaveHotKey(std::u16string_view text) const;
  void SaveRemindMinute(int minute) const;
  void SaveAlpha(int alpha) const;
  void SaveReminder(ReminderAction action) const;
  void SaveHideMode(HideMode mode) const;
  void SaveHideTray(bool on) const;
  void SaveMute(bool on) const;

  const IniFile& Ini() const { return ini_; }

 private:
  IniFile ini_;
};

}  // namespace qlt
