// The load rules and write-backs of the main window's options, the selection list's file format
// and double-click rules, and the framework-style integer conversion they rest on.
#include <gtest/gtest.h>

#include "app/FormSettings.h"
#include "app/SelectList.h"
#include "app/TextRules.h"
#include "ui/Utf.h"

namespace qlt {
namespace {

// Bytes 0x80 and above stand for themselves (Latin-1), like a single-byte code page.
class Latin1Codec : public TextCodec {
 public:
  std::u16string Decode(std::string_view bytes) const override {
    std::u16string out;
    for (unsigned char c : bytes) out += static_cast<char16_t>(c);
    return out;
  }
  std::string Encode(std::u16string_view text) const override {
    std::string out;
    for (char16_t c : text) out += c < 0x100 ? static_cast<char>(c) : '?';
    return out;
  }
};

TEST(TextRules, ProgramNamesFoldOnlyAsciiLetters) {
  EXPECT_TRUE(ContainsIgnoringAsciiCase(u"notepad.exe", u"NOTE"));
  EXPECT_TRUE(ContainsIgnoringAsciiCase(u"NOTEPAD.EXE", u"notepad.exe"));
  EXPECT_FALSE(ContainsIgnoringAsciiCase(u"notepad.exe", u""));
  EXPECT_FALSE(ContainsIgnoringAsciiCase(u"\u00e9dit.exe", u"\u00c9DIT"));  // only a to z fold
  EXPECT_EQ(AsciiUpper(u"caf\u00e9.exe"), u"CAF\u00e9.EXE");
}

TEST(FormSettingsLoad, NoFileGivesDefaultsAndWritesNumTypeType1) {
  const auto loaded = LoadFormSettings({});
  EXPECT_EQ(loaded.values.remindMinute, 0);
  EXPECT_EQ(loaded.values.alpha, 1);
  EXPECT_EQ(loaded.values.reminder, ReminderAction::Message);
  EXPECT_EQ(loaded.values.hideMode, HideMode::Translucent);
  EXPECT_FALSE(loaded.values.hideTray);
  EXPECT_FALSE(loaded.values.muteVolume);
  EXPECT_EQ(loaded.values.hotKey, u"");
  const std::vector<SettingWrite> expected{{u"Num", u"1"}, {u"Type", u"1"}, {u"Type1", u"2"}};
  EXPECT_EQ(loaded.writeBacks, expected);
}

TEST(FormSettingsLoad, WriteBacksOfTheLoadRules) {
  StoredFormSettings stored;
  stored.num = u"300";
  stored.type = u"00";
  stored.type1 = u"7";
  stored.hide = u"0";
  stored.volume = u"1";
  stored.time = u"75";
  stored.hotKey = u"  CTRL+ALT+Z ";
  const auto loaded = LoadFormSettings(stored);
  EXPECT_EQ(loaded.values.alpha, 255);
  EXPECT_EQ(loaded.values.remindMinute, 75);
  EXPECT_EQ(loaded.values.hotKey, u"CTRL+ALT+Z");
  EXPECT_TRUE(loaded.values.hideTray);
  EXPECT_FALSE(loaded.values.muteVolume);
  const std::vector<SettingWrite> expected{
      {u"Time", u"75"}, {u"Num", u"255"}, {u"Type", u"1"}, {u"Type1", u"2"}, {u"Hide", u"0"}};
  EXPECT_EQ(loaded.writeBacks, expected);
}

TEST(FormSettingsLoad, UnparseableValuesGiveTheDefaults) {
  StoredFormSettings stored;
  stored.num = u"abc";
  stored.time = u"99999999999999";  // far outside the integer range
  stored.type = u" 0 ";
  stored.type1 = u"1";
  const auto loaded = LoadFormSettings(stored);
  EXPECT_EQ(loaded.values.alpha, 1);
  EXPECT_EQ(loaded.values.remindMinute, 0);
  EXPECT_EQ(loaded.values.reminder, ReminderAction::MonitorOff);
  EXPECT_EQ(loaded.values.hideMode, HideMode::Close);
  const std::vector<SettingWrite> expected{{u"Num", u"1"}, {u"Type1", u"1"}};
  EXPECT_EQ(loaded.writeBacks, expected);
}

TEST(FormSettingsLoad, DesignTimeValuesWriteNothing) {
  StoredFormSettings stored;
  stored.num = u"200";
  stored.time = u"0";
  stored.type = u"0";
  stored.type1 = u"0";
  stored.hide = u"1";
  stored.volume = u"x";
  EXPECT_TRUE(LoadFormSettings(stored).writeBacks.empty());
  EXPECT_EQ(OptionSetting(true), u"0");
  EXPECT_EQ(OptionSetting(false), u"1");
  EXPECT_EQ(HideModeSetting(HideMode::Translucent), u"2");
  EXPECT_EQ(ReminderSetting(ReminderAction::MonitorOff), u"0");
  EXPECT_EQ(NumberSetting(-5), u"-5");
}

TEST(SelectListFile, LineRules) {
  EXPECT_EQ(SplitLines("a\r\n\r\nc\r\n"), (std::vector<std::string>{"a", "", "c"}));
  EXPECT_EQ(SplitLines("a\rb\nc"), (std::vector<std::string>{"a", "b", "c"}));
  EXPECT_EQ(SplitLines("a\n\r"), (std::vector<std::string>{"a", ""}));  // LF then a lone CR: two line ends
  EXPECT_EQ(SplitLines(""), std::vector<std::string>{});
  EXPECT_EQ(SplitLines("\r\n"), std::vector<std::string>{""});
}

TEST(SelectListFile, ThreeLinesWithAnEmptyMiddleSurviveUnchanged) {
  Latin1Codec codec;
  const std::string file = "notepad.exe\r\n\r\nwinemine.exe\r\n";
  const auto list = SelectList::FromFileBytes(file, codec);
  ASSERT_EQ(list.Count(), 3u);
  EXPECT_EQ(list.Name(1), u"");
  EXPECT_EQ(list.ToFileBytes(), file);
}

TEST(SelectListFile, NonTextBytesAndLongLinesRoundTripExactly) {
  Latin1Codec codec;
  std::string file = std::string("a\0b\xff\xfe", 5) + "\r\n" + std::string(100000, 'x') + "\r\n";
  const auto list = SelectList::FromFileBytes(file, codec);
  ASSERT_EQ(list.Count(), 2u);
  EXPECT_EQ(list.Name(0).size(), 5u);
  EXPECT_EQ(list.ToFileBytes(), file);
}

TEST(SelectListRules, DoubleClickAddAndRemove) {
  Latin1Codec codec;
  auto list = SelectList::FromFileBytes("NOTEPAD.EXE\r\n", codec);
  const std::vector<std::u16string> rows{u"[System Process]", u"notepad.exe", u"winemine.exe", u"notepad.exe"};
  EXPECT_FALSE(AddChosenProcess(list, rows, 0, codec));   // the first row is never added
  EXPECT_FALSE(AddChosenProcess(list, rows, -1, codec));  // no selection
  EXPECT_FALSE(AddChosenProcess(list, rows, 1, codec));   // chosen already, other letter case
  EXPECT_FALSE(AddChosenProcess(list, {}, 1, codec));
  EXPECT_TRUE(AddChosenProcess(list, rows, 2, codec));
  EXPECT_FALSE(AddChosenProcess(list, rows, 2, codec));  // twice: once only
  EXPECT_EQ(list.Names(), (std::vector<std::u16string>{u"NOTEPAD.EXE", u"winemine.exe"}));

  EXPECT_FALSE(RemoveChosen(list, -1));
  EXPECT_FALSE(RemoveChosen(list, 2));
  EXPECT_TRUE(RemoveChosen(list, 0));
  EXPECT_TRUE(AddChosenProcess(list, rows, 3, codec));  // removed and chosen again: at the end
  EXPECT_EQ(list.Names(), (std::vector<std::u16string>{u"winemine.exe", u"notepad.exe"}));
  EXPECT_EQ(list.ToFileBytes(), "winemine.exe\r\nnotepad.exe\r\n");
}

}  // namespace
}  // namespace qlt
