#include "app/FormSettings.h"

#include "ui/SysUtils.h"

namespace qlt {

int ClampAlpha(int value) { return value < 1 ? 1 : (value > 255 ? 255 : value); }

LoadedFormSettings LoadFormSettings(const StoredFormSettings& stored) {
  const FormSettings design;
  LoadedFormSettings loaded;
  FormSettings& v = loaded.values;
  auto writeBack = [&](const char16_t* key, std::u16string text) {
    loaded.writeBacks.push_back({key, std::move(text)});
  };

  v.hotKey = Trim(stored.hotKey);

  v.remindMinute = StrToIntDef(Trim(stored.time), 0);
  if (v.remindMinute != design.remindMinute) writeBack(kTimeKey, NumberSetting(v.remindMinute));

  v.alpha = ClampAlpha(StrToIntDef(Trim(stored.num), 0));
  if (v.alpha != design.alpha) writeBack(kNumKey, NumberSetting(v.alpha));

  v.reminder = Trim(stored.type) == u"0" ? ReminderAction::MonitorOff : ReminderAction::Message;
  if (v.reminder != design.reminder) writeBack(kTypeKey, ReminderSetting(v.reminder));

  const std::u16string type1 = Trim(stored.type1);
  v.hideMode = type1 == u"0" ? HideMode::Hide : (type1 == u"1" ? HideMode::Close : HideMode::Translucent);
  if (v.hideMode != design.hideMode) writeBack(kType1Key, HideModeSetting(v.hideMode));

  v.hideTray = Trim(stored.hide) == u"0";
  if (v.hideTray != design.hideTray) writeBack(kHideKey, OptionSetting(v.hideTray));

  v.muteVolume = Trim(stored.volume) == u"0";
  if (v.muteVolume != design.muteVolume) writeBack(kVolumeKey, OptionSetting(v.muteVolume));
  return loaded;
}

std::u16string HideModeSetting(HideMode mode) {
  switch (mode) {
    case HideMode::Hide: return u"0";
    case HideMode::Close: return u"1";
    case HideMode::Translucent: break;
  }
  return u"2";
}

std::u16string ReminderSetting(ReminderAction action) {
  return action == ReminderAction::MonitorOff ? u"0" : u"1";
}

std::u16string OptionSetting(bool on) { return on ? u"0" : u"1"; }

std::u16string NumberSetting(int value) { return IntToStr(value); }

}  // namespace qlt
