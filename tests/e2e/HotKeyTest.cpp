// The hotkey of the real QLT.exe: the dialog opened from the main window, a new hotkey that works
// at once and shows on the main window, cancelling, the key box that takes no typing, and hotkeys
// that cannot be registered, told to the user at start and after the dialog, and a start without a
// hotkey that says nothing (but for a hint at the very first start).
#include <gtest/gtest.h>

#include <algorithm>

#include "tests/e2e/Desktop.h"
#include "tests/e2e/Keyboard.h"
#include "tests/e2e/QltProcess.h"
#include "tests/e2e/QltSession.h"
#include "tests/win/WinTestSupport.h"

#include <commctrl.h>

namespace qlt::e2e {
namespace {

using test::RunningProgram;

// Client points of the main window: the hotkey label and the label before it ("热键设置：").
constexpr POINT kLabKey{177, 264};
constexpr POINT kLabel1{125, 264};
// Where Lab_key shows its text: from its left edge to the next label, and on to the window's edge.
constexpr RECT kLabKeyArea{166, 256, 231, 272};
constexpr RECT kLabKeyLine{166, 256, 370, 272};

// Holds a hotkey for the driver (as another program would); false when someone else has it.
class HeldHotKey {
 public:
  HeldHotKey(UINT modifiers, UINT key)
      : window_(CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr)),
        held_(RegisterHotKey(window_, 1, modifiers, key) != FALSE) {}
  ~HeldHotKey() {
    if (held_) UnregisterHotKey(window_, 1);
    DestroyWindow(window_);
  }
  bool Held() const { return held_; }

 private:
  HWND window_;
  bool held_;
};

// The first descendant of a class, or nullptr.
HWND FirstOf(HWND root, const wchar_t* className) {
  const auto found = Descendants(root, className);
  return found.empty() ? nullptr : found.front();
}

// True when the combination is registered by someone (the driver cannot have it).
bool Taken(UINT modifiers, UINT key) { return !HeldHotKey(modifiers, key).Held(); }

std::vector<COLORREF> LabKeyPixels(const QltSession& qlt, const RECT& area = kLabKeyArea) {
  const POINT from = qlt.OnScreen({area.left, area.top});
  const POINT to = qlt.OnScreen({area.right, area.bottom});
  Sleep(300);  // painted after the dialog closed
  return ScreenPixels(RECT{from.x, from.y, to.x, to.y});
}

// What the main window shows for a stored hotkey that works, from a start of its own.
struct LabKeyShowing {
  std::vector<COLORREF> area, line;
};
LabKeyShowing ShowingOf(const char* hotKey) {
  QltSession reference(IniText({{"Hotkey", hotKey}}), "");
  LabKeyShowing showing;
  if (!reference.ShowMainWindow()) return showing;
  showing.area = LabKeyPixels(reference);
  showing.line = LabKeyPixels(reference, kLabKeyLine);
  PostMessageW(reference.Main(), WM_CLOSE, 0, 0);
  reference.Process().WaitForExit();
  return showing;
}

// The hotkey dialog of the session's QLT, driven with real input.
class HotKeyDialog {
 public:
  // Opens it with a click on a point of the main window.
  HotKeyDialog(const QltSession& qlt, POINT client) : qlt_(qlt) {
    ClickAt(qlt.OnScreen(client));
    WaitUntil([&] { return (window_ = Find()) != nullptr; });
  }
  HWND Window() const { return window_; }
  HWND Box(const wchar_t* caption) const { return FindDescendant(window_, L"TCheckBox", caption); }
  bool Ticked(const wchar_t* caption) const { return SendMessageW(Box(caption), BM_GETCHECK, 0, 0) == BST_CHECKED; }
  void Tick(const wchar_t* caption, bool on) const {
    if (Ticked(caption) != on) ClickAt(CentreOf(Box(caption)));
  }
  HWND KeyBox() const { return FirstOf(window_, L"TComboBox"); }
  std::wstring Key() const { return ControlText(KeyBox()); }
  // Picks the key from the list with the arrow keys, as a keyboard user does.
  bool ChooseKey(const std::wstring& key) const {
    const HWND combo = KeyBox();
    const auto wanted = SendMessageW(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(key.c_str()));
    if (wanted < 0) return false;
    ClickAt(CentreOf(FirstOf(combo, L"Edit")));
    for (int presses = 0; presses < 80; ++presses) {
      const auto at = SendMessageW(combo, CB_GETCURSEL, 0, 0);
      if (at == wanted) break;
      PressKey(at < wanted ? VK_DOWN : VK_UP);
    }
    return Key() == key;
  }
  // Clicks "确定" or "取消"; true when the dialog has gone.
  bool Press(const wchar_t* caption) const {
    ClickAt(CentreOf(FindDescendant(window_, L"TBitBtn", caption)));
    return Closed();
  }
  bool Closed() const {
    return WaitUntil([&] { return !IsWindow(window_) || !IsWindowVisible(window_); });
  }

 private:
  HWND Find() const {
    for (HWND w : qlt_.Process().TopLevelWindows()) {
      if (ClassNameOf(w) == L"TFrm_HotKey" && IsWindowVisible(w)) return w;
    }
    return nullptr;
  }
  const QltSession& qlt_;
  HWND window_ = nullptr;
};

TEST(HotKey, ChosenInTheDialogItIsStoredShownAndWorksAtOnce) {
  RunningProgram notepad1(L"notepad.exe"), notepad2(L"notepad.exe");
  const HWND n1 = notepad1.MainWindow(), n2 = notepad2.MainWindow();
  ASSERT_TRUE(n1 && n2);
  ASSERT_FALSE(Taken(MOD_CONTROL, 'Z'));
  ASSERT_FALSE(Taken(MOD_ALT, VK_F9));

  // What the main window shows for CTRL+Z, from a start with that hotkey stored.
  std::vector<COLORREF> showingCtrlZ;
  {
    QltSession reference(IniText({{"Hotkey", "CTRL+Z"}}), "");
    ASSERT_TRUE(reference.ShowMainWindow());
    showingCtrlZ = LabKeyPixels(reference);
    PostMessageW(reference.Main(), WM_CLOSE, 0, 0);
    ASSERT_TRUE(reference.Process().WaitForExit());
  }

  QltSession qlt(IniText({{"Hotkey", "ALT+F9"}, {"Type1", "0"}}), "NOTE\r\n");
  ASSERT_TRUE(qlt.ShowMainWindow());
  EXPECT_TRUE(Taken(MOD_ALT, VK_F9)) << "the stored hotkey is registered at start";
  EXPECT_FALSE(WaitUntil(TrayBalloonShown, 3s)) << "a hotkey that works is not reported";
  const auto showingAltF9 = LabKeyPixels(qlt);
  ASSERT_NE(showingAltF9, showingCtrlZ);

  HotKeyDialog dialog(qlt, kLabKey);
  ASSERT_TRUE(dialog.Window()) << "a click on Lab_key opens the dialog";
  EXPECT_TRUE(dialog.Ticked(L"Alt"));
  EXPECT_EQ(dialog.Key(), L"F9");
  EXPECT_FALSE(IsWindowEnabled(qlt.Main())) << "modal: the main window waits";
  dialog.Tick(L"Alt", false);
  dialog.Tick(L"Ctrl", true);
  ASSERT_TRUE(dialog.ChooseKey(L"Z"));
  SaveScreenshot(L"30-hotkey-dialog-ctrl-z");
  ASSERT_TRUE(dialog.Press(L"确定"));

  EXPECT_EQ(qlt.Setting(L"HotKey"), L"CTRL+Z");
  EXPECT_EQ(LabKeyPixels(qlt), showingCtrlZ) << "Lab_key shows the new hotkey";
  SaveScreenshot(L"31-main-window-new-hotkey");
  EXPECT_FALSE(Taken(MOD_ALT, VK_F9)) << "the old hotkey is released";
  EXPECT_TRUE(Taken(MOD_CONTROL, 'Z'));

  ASSERT_TRUE(PressKeysOnDisplay("ctrl+z"));
  EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(n1) && !IsWindowVisible(n2); })) << "the new hotkey toggles";
  ASSERT_TRUE(PressKeysOnDisplay("ctrl+z"));
  EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(n1) && IsWindowVisible(n2); }));
  EXPECT_EQ(qlt.MessageBoxText(), L"");
}

TEST(HotKey, CancelEscapeAndTypingIntoTheKeyBoxChangeNothing) {
  QltSession qlt(IniText({{"Hotkey", "ALT+F9"}}), "");
  ASSERT_TRUE(qlt.ShowMainWindow());
  const auto before = LabKeyPixels(qlt);

  {
    HotKeyDialog dialog(qlt, kLabKey);
    ASSERT_TRUE(dialog.Window());
    dialog.Tick(L"Shift", true);
    ASSERT_TRUE(dialog.ChooseKey(L"Q"));
    EXPECT_TRUE(dialog.Press(L"取消"));
  }
  {
    HotKeyDialog dialog(qlt, kLabel1);
    ASSERT_TRUE(dialog.Window()) << "the label before it opens the dialog too";
    EXPECT_FALSE(dialog.Ticked(L"Shift")) << "a fresh dialog";
    dialog.Tick(L"Ctrl", true);
    PressKey(VK_ESCAPE);
    EXPECT_TRUE(dialog.Closed());
  }
  EXPECT_EQ(qlt.Setting(L"HotKey"), L"ALT+F9");
  EXPECT_EQ(LabKeyPixels(qlt), before);
  EXPECT_TRUE(Taken(MOD_ALT, VK_F9));

  {
    HotKeyDialog dialog(qlt, kLabKey);
    ASSERT_TRUE(dialog.Window());
    ClickAt(CentreOf(FirstOf(dialog.KeyBox(), L"Edit")));
    TypeText(L"Qz");
    PressKey(VK_BACK);
    EXPECT_EQ(dialog.Key(), L"F9") << "typing into the key box has no effect";
    EXPECT_TRUE(dialog.Press(L"确定"));
  }
  EXPECT_EQ(qlt.Setting(L"HotKey"), L"ALT+F9");
  EXPECT_TRUE(Taken(MOD_ALT, VK_F9));
}

TEST(HotKey, AHotKeyThatCannotBeRegisteredIsToldAtStartAndAfterTheDialog) {
  RunningProgram notepad(L"notepad.exe");
  const HWND n = notepad.MainWindow();
  ASSERT_TRUE(n);
  ASSERT_FALSE(Taken(MOD_CONTROL | MOD_SHIFT, VK_F8));
  const LabKeyShowing showingCtrlShiftF8 = ShowingOf("CTRL+SHIFT+F8");
  ASSERT_FALSE(showingCtrlShiftF8.line.empty());
  HeldHotKey other(MOD_CONTROL | MOD_SHIFT, VK_F8);  // another program has it
  ASSERT_TRUE(other.Held());

  QltSession qlt(IniText({{"Hotkey", "CTRL+SHIFT+F8"}, {"Type1", "0"}}), "notepad\r\n");
  ASSERT_TRUE(qlt.Main());
  EXPECT_TRUE(WaitUntil(TrayBalloonShown)) << "told at start, in a balloon at the tray icon";
  SaveScreenshot(L"32-hotkey-taken-balloon");
  EXPECT_EQ(qlt.MessageBoxText(), L"") << "a start is not held up by a message box";
  EXPECT_EQ(qlt.Setting(L"Hotkey"), L"CTRL+SHIFT+F8") << "the stored hotkey is kept for the next start";

  // The tray icon's right button still toggles.
  qlt.ClickTrayIcon(WM_RBUTTONDOWN);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(n); }));
  qlt.ClickTrayIcon(WM_RBUTTONDOWN);
  EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(n) != FALSE; }));

  // Lab_key shows the stored hotkey although it does not work; the label before it opens the
  // dialog as well.
  ASSERT_TRUE(qlt.ShowMainWindow());
  EXPECT_EQ(LabKeyPixels(qlt, kLabKeyLine), showingCtrlShiftF8.line);
  {
    HotKeyDialog dialog(qlt, kLabel1);
    ASSERT_TRUE(dialog.Window());
    EXPECT_TRUE(dialog.Ticked(L"Ctrl") && dialog.Ticked(L"Shift")) << "the stored hotkey to start from";
    dialog.Tick(L"Ctrl", false);
    dialog.Tick(L"Shift", false);
    dialog.Tick(L"Alt", true);
    ASSERT_TRUE(dialog.ChooseKey(L"F7"));
    ASSERT_TRUE(dialog.Press(L"确定"));
  }
  EXPECT_EQ(qlt.Setting(L"HotKey"), L"ALT+F7");
  EXPECT_TRUE(Taken(MOD_ALT, VK_F7));
  EXPECT_EQ(qlt.MessageBoxText(), L"");

  // Choosing the taken one again: told at once; it is stored for the next start, and the hotkey
  // in effect stays, which the label and the message both name.
  {
    HotKeyDialog dialog(qlt, kLabKey);
    ASSERT_TRUE(dialog.Window());
    dialog.Tick(L"Alt", false);
    dialog.Tick(L"Ctrl", true);
    dialog.Tick(L"Shift", true);
    ASSERT_TRUE(dialog.ChooseKey(L"F8"));
    ClickAt(CentreOf(FindDescendant(dialog.Window(), L"TBitBtn", L"确定")));
  }
  std::wstring message;
  EXPECT_TRUE(WaitUntil([&] { return !(message = qlt.MessageBoxText()).empty(); }));
  EXPECT_NE(message.find(L"CTRL+SHIFT+F8"), std::wstring::npos);
  EXPECT_NE(message.find(L"ALT+F7"), std::wstring::npos) << "the message says which hotkey works";
  SaveScreenshot(L"33-hotkey-taken-after-the-dialog");
  PressKey(VK_RETURN);
  EXPECT_TRUE(WaitUntil([&] { return qlt.FindMessageBox() == nullptr; }));
  EXPECT_EQ(qlt.Setting(L"HotKey"), L"CTRL+SHIFT+F8");
  EXPECT_EQ(LabKeyPixels(qlt), showingCtrlShiftF8.area) << "the label begins with the stored hotkey";
  EXPECT_NE(LabKeyPixels(qlt, kLabKeyLine), showingCtrlShiftF8.line) << "and goes on with the one in effect";
  SaveScreenshot(L"34-main-window-hotkey-in-effect");
  EXPECT_TRUE(Taken(MOD_ALT, VK_F7));
  ASSERT_TRUE(PressKeysOnDisplay("alt+F7"));
  EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(n); })) << "the hotkey in effect still toggles";
  ASSERT_TRUE(PressKeysOnDisplay("alt+F7"));
  EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(n) != FALSE; }));
}

TEST(HotKey, AStoredHotKeyNobodyCanParseIsToldAndTheRestOfTheStartStillLoads) {
  ASSERT_TRUE(WaitUntil([] { return !TrayBalloonShown(); }, 20s)) << "an earlier balloon has gone";
  RunningProgram notepad(L"notepad.exe");
  const HWND n = notepad.MainWindow();
  ASSERT_TRUE(n);
  // A function key without a number: possible only by editing the file.
  QltSession qlt(IniText({{"Hotkey", "CTRL+Fx"}, {"Type1", "0"}}), "notepad\r\n");
  ASSERT_TRUE(qlt.Main());
  EXPECT_TRUE(WaitUntil(TrayBalloonShown)) << "told at start";
  EXPECT_EQ(qlt.MessageBoxText(), L"");
  EXPECT_EQ(qlt.Setting(L"Hotkey"), L"CTRL+Fx");

  // The selection list was loaded all the same: the toggle hides the program, and the exit keeps
  // data.txt as it was.
  qlt.ClickTrayIcon(WM_RBUTTONDOWN);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(n); }));
  qlt.ClickTrayIcon(WM_RBUTTONDOWN);
  EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(n) != FALSE; }));
  PostMessageW(qlt.Main(), WM_CLOSE, 0, 0);
  ASSERT_TRUE(qlt.Process().WaitForExit());
  EXPECT_EQ(qlt.Folder().ReadBytes(L"data.txt").value_or(""), "notepad\r\n");
}

TEST(HotKey, NoHotKeyStoredIsNotToldOnlyTheVeryFirstStartPointsToIt) {
  ASSERT_TRUE(WaitUntil([] { return !TrayBalloonShown(); }, 20s)) << "an earlier balloon has gone";
  // The very first start: there is no QLT.ini yet.
  ScratchFolder folder;
  {
    QltProcess first(folder);
    first.Start();
    const HWND main = first.WaitForTopLevelWindow(L"TFrm_Main");
    ASSERT_TRUE(main);
    EXPECT_TRUE(WaitUntil(TrayBalloonShown)) << "a hint, once";
    SaveScreenshot(L"35-first-start-hint");
    EXPECT_EQ(WaitForMessageBox(first.Id(), 0ms), nullptr);
    PostMessageW(main, WM_CLOSE, 0, 0);
    ASSERT_TRUE(first.WaitForExit());
  }
  ASSERT_TRUE(folder.Exists(L"QLT.ini")) << "the first start wrote its settings";
  ASSERT_TRUE(WaitUntil([] { return !TrayBalloonShown(); }, 20s));
  {
    QltProcess again(folder);
    again.Start();
    const HWND main = again.WaitForTopLevelWindow(L"TFrm_Main");
    ASSERT_TRUE(main);
    EXPECT_FALSE(WaitUntil(TrayBalloonShown, 4s)) << "later starts without a hotkey say nothing";
    EXPECT_EQ(WaitForMessageBox(again.Id(), 0ms), nullptr);
    PostMessageW(main, WM_CLOSE, 0, 0);
    ASSERT_TRUE(again.WaitForExit());
  }
  // A QLT.ini of its own without a hotkey (as autostart finds it at every log-on): silent too, and
  // the label is empty.
  QltSession qlt(IniText({{"Type1", "0"}}), "");
  ASSERT_TRUE(qlt.Main());
  EXPECT_FALSE(WaitUntil(TrayBalloonShown, 4s));
  EXPECT_EQ(qlt.MessageBoxText(), L"");
  ASSERT_TRUE(qlt.ShowMainWindow());
  const auto label = LabKeyPixels(qlt, kLabKeyLine);
  EXPECT_TRUE(std::all_of(label.begin(), label.end(), [&](COLORREF c) { return c == label.front(); }))
      << "nothing is shown for the hotkey";
}

}  // namespace
}  // namespace qlt::e2e
