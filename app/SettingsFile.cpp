#include "app/SettingsFile.h"

namespace qlt {

FormSettings SettingsFile::Load() const {
  StoredFormSettings stored;
  stored.hotKey = ini_.Read(kFormSection, kHotkeyReadKey);
  stored.time = ini_.Read(kFormSection, kTimeKey);
  stored.num = ini_.Read(kFormSection, kNumKey);
  stored.type = ini_.Read(kFormSection, kTypeKey);
  stored.type1 = ini_.Read(kFormSection, kType1Key);
  stored.hide = ini_.Read(kFormSection, kHideKey);
  stored.volume = ini_.Read(kFormSection, kVolumeKey);
  LoadedFormSettings loaded = LoadFormSettings(stored);
  for (const auto& write : loaded.writeBacks) ini_.Write(kFormSection, write.key, write.text);
  return loaded.values;
}

std::u16string SettingsFile::ReadHotKey() const { return ini_.Read(kFormSection, kHotKeyWriteKey); }

void SettingsFile::SaveHotKey(std::u16string_view text) const { ini_.Write(kFormSection, kHotKeyWriteKey, text); }
void SettingsFile::SaveRemindMinute(int minute) const { ini_.Write(kFormSection, kTimeKey, NumberSetting(minute)); }
void SettingsFile::SaveAlpha(int alpha) const { ini_.Write(kFormSection, kNumKey, NumberSetting(alpha)); }
void SettingsFile::SaveReminder(ReminderAction action) const {
  ini_.Write(kFormSection, kTypeKey, ReminderSetting(action));
}
void SettingsFile::SaveHideMode(HideMode mode) const { ini_.Write(kFormSection, kType1Key, HideModeSetting(mode)); }
void SettingsFile::SaveHideTray(bool on) const { ini_.Write(kFormSection, kHideKey, OptionSetting(on)); }
void SettingsFile::SaveMute(bool on) const { ini_.Write(kFormSection, kVolumeKey, OptionSetting(on)); }

}  // namespace qlt
