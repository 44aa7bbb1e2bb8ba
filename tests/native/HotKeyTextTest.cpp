// The hotkey text grammar: parsing into modifier flags and key codes, and the dialog's split and
// composition, with the edge cases users and stored files produce.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "app/HotKeyText.h"

namespace qlt {
namespace {

HotKey Parse(const char16_t* text) {
  const auto parsed = ParseHotKey(text);
  EXPECT_TRUE(parsed.ok());
  return parsed.hotKey;
}

TEST(HotKeyText, ParseModifiersAndKeys) {
  EXPECT_EQ(Parse(u"CTRL+ALT+Z"), (HotKey{3, 90}));
  EXPECT_EQ(Parse(u"ALT+CTRL+Z"), (HotKey{3, 90}));  // each word once, fixed order
  EXPECT_EQ(Parse(u"WIN+F12"), (HotKey{8, 123}));
  EXPECT_EQ(Parse(u"SHIFT+ESC"), (HotKey{4, 27}));
  EXPECT_EQ(Parse(u"ALT+-"), (HotKey{1, 0xBD}));  // the minus key, not Insert (45)
  EXPECT_EQ(Parse(u"CTRL+="), (HotKey{2, 0xBB}));  // the equals key, not the unused code 61
  EXPECT_EQ(Parse(u"WIN+CTRL+ALT+SHIFT+F1"), (HotKey{15, 112}));
  EXPECT_EQ(Parse(u"A"), (HotKey{0, 65}));
  EXPECT_EQ(Parse(u"F"), (HotKey{0, 70}));   // one character, not a function key
  EXPECT_EQ(Parse(u"F13"), (HotKey{0, 124}));
  EXPECT_EQ(Parse(u"F123"), (HotKey{0, 123}));  // two characters after the F are read
  EXPECT_EQ(Parse(u"ctrl+a"), (HotKey{0, 0}));
  EXPECT_EQ(Parse(u""), (HotKey{0, 0}));
  EXPECT_EQ(Parse(u"  \t "), (HotKey{0, 0}));
  EXPECT_EQ(Parse(u"CTRL+ "), (HotKey{2, 0}));  // the blank key, stored with its blank
  EXPECT_EQ(Parse(u"ALT"), (HotKey{1, 0}));
  EXPECT_EQ(Parse(u" CTRL+Z \r\n"), (HotKey{2, 90}));
}

TEST(HotKeyText, FunctionKeyWithoutNumberIsReportedAndRegistersNothing) {
  const auto parsed = ParseHotKey(u"CTRL+FX");
  EXPECT_FALSE(parsed.ok());
  EXPECT_EQ(parsed.error, u"'X' is not a valid integer value");
  EXPECT_EQ(parsed.hotKey, (HotKey{0, 0}));
  EXPECT_FALSE(KeyTextToVk(u"F ").has_value());  // "F" and a blank: the number is empty
  EXPECT_FALSE(KeyTextToVk(u"F x").has_value());
  EXPECT_EQ(KeyTextToVk(u"ESC"), 27u);
  EXPECT_EQ(KeyTextToVk(u"ESCAPE"), 0u);
  EXPECT_EQ(KeyTextToVk(u"中"), 0u);  // no virtual key
}

TEST(HotKeyDialogText, EveryKeyOfTheListIsAKeyAHotKeyCanUse) {
  const auto items = HotKeyListItems();
  ASSERT_EQ(items.size(), 52u);
  EXPECT_EQ(items.front(), u" ");
  EXPECT_EQ(Parse(items.front().c_str()), HotKey{});  // the blank: no key
  EXPECT_EQ(items[10], u"9");
  EXPECT_EQ(items[36], u"Z");
  EXPECT_EQ(items[37], u"F1");
  EXPECT_EQ(items[48], u"F12");
  EXPECT_EQ((std::vector<std::u16string>(items.end() - 3, items.end())), (std::vector<std::u16string>{u"ESC", u"-", u"="}));
  std::vector<unsigned> codes;
  for (size_t i = 1; i < items.size(); ++i) {
    const HotKey key = Parse((u"CTRL+" + items[i]).c_str());
    EXPECT_EQ(key.modifiers, kModControl) << i;
    EXPECT_NE(key.key, 0u) << i;
    codes.push_back(key.key);
  }
  std::sort(codes.begin(), codes.end());
  EXPECT_EQ(std::adjacent_find(codes.begin(), codes.end()), codes.end()) << "two list items give one key";
}

TEST(HotKeyDialogText, Split) {
  EXPECT_EQ(SetHotKeyText(u"CTRL+ALT+Z"), (HotKeyChoice{false, true, true, false, u"Z"}));
  EXPECT_EQ(SetHotKeyText(u"ctrl+z"), (HotKeyChoice{false, false, false, false, u"ctrl+z"}));
  EXPECT_EQ(SetHotKeyText(u"ALT"), (HotKeyChoice{false, false, true, false, u""}));
  EXPECT_EQ(SetHotKeyText(u"   "), HotKeyChoice{});
  EXPECT_EQ(SetHotKeyText(u"WIN+CTRL+ALT+SHIFT+F12"), (HotKeyChoice{true, true, true, true, u"F12"}));
  EXPECT_EQ(SetHotKeyText(u"CTRL+ "), (HotKeyChoice{false, true, false, false, u" "}));  // rest untrimmed
}

TEST(HotKeyDialogText, ComposeAndResultContract) {
  EXPECT_EQ(GetHotKeyText({false, false, false, false, u"A"}), u"A");
  EXPECT_EQ(GetHotKeyText({true, true, true, true, u"F12"}), u"WIN+CTRL+ALT+SHIFT+F12");
  EXPECT_EQ(GetHotKeyText({false, true, true, false, u""}), u"");  // a modifier without a key
  EXPECT_EQ(GetHotKeyText({}), u"");
  EXPECT_EQ(GetHotKeyText({false, true, false, false, u" "}), u"CTRL+ ");
  EXPECT_EQ(GetHotKeyText({false, false, true, true, u"Z"}), u"ALT+SHIFT+Z");

  EXPECT_EQ(DialogResultFor({false, false, false, false, u"A"}), u"1A");
  EXPECT_EQ(DialogResultFor({false, true, false, false, u""}), u"1");
  EXPECT_EQ(AcceptedHotKey(u""), std::nullopt);  // cancelled
  EXPECT_EQ(AcceptedHotKey(u"1"), u"");           // accepted, no hotkey
  EXPECT_EQ(AcceptedHotKey(u"1CTRL+Z"), u"CTRL+Z");
  // What the dialog composes parses back to the same choice.
  const HotKeyChoice choice{true, false, true, false, u"F5"};
  EXPECT_EQ(SetHotKeyText(GetHotKeyText(choice)), choice);
}

}  // namespace
}  // namespace qlt
