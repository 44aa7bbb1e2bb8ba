// The global hotkey under the atom "Hotkeyzvq": registration, a change that takes effect at once,
// failures that are reported with the old hotkey kept, and a clean release.
#include <windows.h>

#include <gtest/gtest.h>

#include "app/HotKey.h"

namespace qlt {
namespace {

class MessageWindow {
 public:
  MessageWindow() : window_(CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr)) {}
  ~MessageWindow() { DestroyWindow(window_); }
  HWND Get() const { return window_; }

 private:
  HWND window_;
};

// True when nobody holds the combination: it can be registered (and is released again).
bool Free(unsigned modifiers, unsigned key) {
  MessageWindow probe;
  if (!RegisterHotKey(probe.Get(), 0x0BAD, modifiers, key)) return false;
  UnregisterHotKey(probe.Get(), 0x0BAD);
  return true;
}

TEST(GlobalHotKey, RegistersUnderTheAtomAndReleasesCleanly) {
  MessageWindow window;
  {
    GlobalHotKey hotKey(window.Get());
    EXPECT_NE(hotKey.Id(), 0);
    EXPECT_EQ(hotKey.Id(), GlobalFindAtomW(L"Hotkeyzvq"));
  }
  {
    // A name of its own: a QLT killed earlier in the session may still hold "Hotkeyzvq".
    GlobalHotKey hotKey(window.Get(), L"QltHotKeyTestAtom");
    EXPECT_EQ(hotKey.Id(), GlobalFindAtomW(L"QltHotKeyTestAtom"));
    EXPECT_TRUE(hotKey.IsOwnId(static_cast<WPARAM>(hotKey.Id())));
    EXPECT_FALSE(hotKey.IsOwnId(static_cast<WPARAM>(hotKey.Id() + 1)));

    const auto outcome = hotKey.Register(u" CTRL+ALT+F9 ");
    EXPECT_TRUE(outcome.ok());
    EXPECT_EQ(outcome.activeText, u"CTRL+ALT+F9");
    EXPECT_TRUE(outcome.message.empty());
    EXPECT_FALSE(Free(MOD_CONTROL | MOD_ALT, VK_F9));
  }
  EXPECT_TRUE(Free(MOD_CONTROL | MOD_ALT, VK_F9));
  EXPECT_EQ(GlobalFindAtomW(L"QltHotKeyTestAtom"), 0) << "the atom is released with the hotkey";
}

TEST(GlobalHotKey, ChangeTakesEffectAtOnce) {
  MessageWindow window;
  GlobalHotKey hotKey(window.Get());
  ASSERT_TRUE(hotKey.Register(u"CTRL+ALT+F10").ok());
  const auto outcome = hotKey.Change(u"SHIFT+ALT+F11");
  EXPECT_TRUE(outcome.ok());
  EXPECT_EQ(outcome.activeText, u"SHIFT+ALT+F11");
  EXPECT_TRUE(Free(MOD_CONTROL | MOD_ALT, VK_F10)) << "the old hotkey is released";
  EXPECT_FALSE(Free(MOD_SHIFT | MOD_ALT, VK_F11));
}

TEST(GlobalHotKey, TakenHotKeyIsReportedAndTheOldOneKeepsWorking) {
  MessageWindow other;
  ASSERT_TRUE(RegisterHotKey(other.Get(), 7, MOD_CONTROL | MOD_SHIFT, VK_F8));  // another program holds it

  MessageWindow window;
  GlobalHotKey hotKey(window.Get());
  const auto atStart = hotKey.Register(u"CTRL+SHIFT+F8");
  EXPECT_EQ(atStart.state, HotKeyState::Taken);
  EXPECT_EQ(atStart.activeText, u"") << "a hotkey that does not work is not shown";
  EXPECT_NE(atStart.message.find(u"CTRL+SHIFT+F8"), std::u16string::npos);

  ASSERT_TRUE(hotKey.Change(u"ALT+F7").ok());
  const auto changed = hotKey.Change(u"CTRL+SHIFT+F8");
  EXPECT_EQ(changed.state, HotKeyState::Taken);
  EXPECT_EQ(changed.activeText, u"ALT+F7");
  // The message names both: the one that could not be registered, and the one still in effect.
  EXPECT_NE(changed.message.find(u"“CTRL+SHIFT+F8”"), std::u16string::npos);
  EXPECT_NE(changed.message.find(u"“ALT+F7”"), std::u16string::npos);
  EXPECT_EQ(changed.message.find(u"右键单击托盘图标"), std::u16string::npos) << "a hotkey still works";
  EXPECT_FALSE(Free(MOD_ALT, VK_F7)) << "the previous hotkey is registered again";

  const auto garbled = hotKey.Change(u"CTRL+FX");
  EXPECT_EQ(garbled.state, HotKeyState::NotUnderstood);
  EXPECT_NE(garbled.message.find(u"'X' is not a valid integer value"), std::u16string::npos);
  EXPECT_NE(garbled.message.find(u"“ALT+F7”"), std::u16string::npos);
  EXPECT_EQ(garbled.activeText, u"ALT+F7");

  // With nothing in effect before, nothing is in effect after, and the tray icon is the way left.
  GlobalHotKey fresh(window.Get(), L"QltHotKeyTestAtom2");
  const auto none = fresh.Change(u"CTRL+SHIFT+F8");
  EXPECT_EQ(none.state, HotKeyState::Taken);
  EXPECT_EQ(none.activeText, u"");
  EXPECT_NE(none.message.find(u"右键单击托盘图标"), std::u16string::npos);
  UnregisterHotKey(other.Get(), 7);
}

TEST(GlobalHotKey, TheLabelShowsTheStoredHotKeyAndTheOneInEffectWhenTheyDiffer) {
  EXPECT_EQ(HotKeyLabel(u"CTRL+ALT+Z", u"CTRL+ALT+Z"), u"CTRL+ALT+Z");
  EXPECT_EQ(HotKeyLabel(u"CTRL+SHIFT+F8", u""), u"CTRL+SHIFT+F8") << "stored, though nothing works";
  EXPECT_EQ(HotKeyLabel(u"", u""), u"");
  EXPECT_EQ(HotKeyLabel(u"CTRL+SHIFT+F8", u"ALT+F7"), u"CTRL+SHIFT+F8（当前有效：ALT+F7）");
}

TEST(GlobalHotKey, NoKeyLeavesNoHotKeyAndSaysSo) {
  MessageWindow window;
  GlobalHotKey hotKey(window.Get());
  ASSERT_TRUE(hotKey.Register(u"ALT+F6").ok());
  for (const char16_t* text : {u"", u"CTRL+ ", u"ctrl+a"}) {
    const auto outcome = hotKey.Change(text);
    EXPECT_EQ(outcome.state, HotKeyState::NoKey);
    EXPECT_EQ(outcome.activeText, u"");
    EXPECT_FALSE(outcome.message.empty());
    EXPECT_FALSE(hotKey.Active());
  }
  EXPECT_TRUE(Free(MOD_ALT, VK_F6));
}

}  // namespace
}  // namespace qlt
