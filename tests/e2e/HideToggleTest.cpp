// The hide/show toggle of the real QLT.exe against real programs (two notepads and a winemine
// started by the driver): the tray icon's right button, the hotkey message and a real key press
// toggle; the three modes; a restore after the mode was switched; a QLT killed while windows are
// hidden; the exit while windows are hidden; a journal that cannot be written.
#include <gtest/gtest.h>

#include <sstream>

#include "tests/e2e/Desktop.h"
#include "tests/e2e/Keyboard.h"
#include "tests/e2e/QltProcess.h"
#include "tests/e2e/QltSession.h"
#include "tests/win/WinTestSupport.h"

namespace qlt::e2e {
namespace {

using test::AlphaOf;
using test::HideTargets;
using test::Layered;
using test::Visible;

// The window handles a journal names, in its order.
std::vector<HWND> JournalWindows(const std::string& journal) {
  std::vector<HWND> windows;
  std::istringstream lines(journal);
  std::string word;
  for (std::string line; std::getline(lines, line);) {
    std::istringstream fields(line);
    unsigned long long id = 0;
    if (fields >> word && word == "window" && fields >> id) windows.push_back(reinterpret_cast<HWND>(id));
  }
  return windows;
}

TEST(HideToggle, TrayRightButtonHotKeyMessageAndKeyPressEachToggle) {
  HideTargets programs;
  ASSERT_TRUE(programs.Started());
  // Notification area and speakers switched on: under Wine there is neither, and the toggle goes
  // on silently.
  QltSession qlt(IniText({{"Hotkey", "CTRL+ALT+Z"}, {"Type1", "0"}, {"Hide", "0"}, {"Volume", "0"}}), "NOTE\r\n");
  ASSERT_TRUE(qlt.Main());

  qlt.ClickTrayIcon(WM_RBUTTONDOWN);
  EXPECT_TRUE(WaitUntil([&] { return programs.NotepadsHidden(); })) << "substring, letter case ignored";
  EXPECT_TRUE(Visible(programs.m));
  SaveScreenshot(L"20-notepads-hidden");
  EXPECT_EQ(JournalWindows(qlt.Journal().value_or("")), (std::vector<HWND>{programs.n1, programs.n2}));
  qlt.ClickTrayIcon(WM_RBUTTONDOWN);
  EXPECT_TRUE(WaitUntil([&] { return programs.NotepadsShown(); }));
  EXPECT_TRUE(WaitUntil([&] { return !qlt.Journal(); })) << "the journal goes with the restore";

  // WM_HOTKEY: another id does nothing, the registered one toggles.
  const ATOM id = GlobalFindAtomW(L"Hotkeyzvq");
  ASSERT_NE(id, 0);
  PostMessageW(qlt.Main(), WM_HOTKEY, id + 1, MAKELPARAM(MOD_CONTROL | MOD_ALT, 'Z'));
  Sleep(500);
  EXPECT_TRUE(programs.NotepadsShown());
  EXPECT_FALSE(qlt.Journal());
  PostMessageW(qlt.Main(), WM_HOTKEY, id, MAKELPARAM(MOD_CONTROL | MOD_ALT, 'Z'));
  EXPECT_TRUE(WaitUntil([&] { return programs.NotepadsHidden(); }));
  PostMessageW(qlt.Main(), WM_HOTKEY, id, MAKELPARAM(MOD_CONTROL | MOD_ALT, 'Z'));
  EXPECT_TRUE(WaitUntil([&] { return programs.NotepadsShown(); }));

  // The stored hotkey pressed on the keyboard of the display, into a focused Wine window.
  ASSERT_TRUE(PressKeysOnDisplay("ctrl+alt+z")) << "xdotool could not press the keys";
  EXPECT_TRUE(WaitUntil([&] { return programs.NotepadsHidden(); }));
  EXPECT_TRUE(Visible(programs.m));
  ASSERT_TRUE(PressKeysOnDisplay("ctrl+alt+z"));
  EXPECT_TRUE(WaitUntil([&] { return programs.NotepadsShown(); }));

  EXPECT_EQ(qlt.MessageBoxText(), L"") << "no message on the way";
}

TEST(HideToggle, TranslucentModeGivesEachWindowTheAlphaAndTheRestoreFullOpacity) {
  HideTargets programs;
  ASSERT_TRUE(programs.Started());
  ASSERT_FALSE(Layered(programs.n1));
  QltSession qlt(IniText({{"Type1", "2"}, {"Num", "200"}}), "notepad\r\n");
  ASSERT_TRUE(qlt.Main());

  qlt.ClickTrayIcon(WM_RBUTTONDOWN);
  for (HWND n : {programs.n1, programs.n2}) {
    EXPECT_TRUE(WaitUntil([&] { return Layered(n) && AlphaOf(n) == 200; }));
    EXPECT_TRUE(Visible(n));
  }
  EXPECT_FALSE(Layered(programs.m));
  SaveScreenshot(L"21-notepads-translucent");
  qlt.ClickTrayIcon(WM_RBUTTONDOWN);
  for (HWND n : {programs.n1, programs.n2}) {
    // Fully opaque again: the layered style the hide added is gone.
    EXPECT_TRUE(WaitUntil([&] { return !Layered(n); }));
  }
}

TEST(HideToggle, CloseModeClosesAnUnmodifiedNotepad) {
  HideTargets programs;
  ASSERT_TRUE(programs.Started());
  QltSession qlt(IniText({{"Type1", "1"}}), "notepad.exe\r\n");
  ASSERT_TRUE(qlt.Main());
  qlt.ClickTrayIcon(WM_RBUTTONDOWN);
  EXPECT_TRUE(programs.notepad1.WaitForExit());
  EXPECT_TRUE(programs.notepad2.WaitForExit());
  EXPECT_TRUE(programs.mine.Running());
  qlt.ClickTrayIcon(WM_RBUTTONDOWN);  // nothing to bring back; the state flips all the same
  EXPECT_TRUE(WaitUntil([&] { return !qlt.Journal(); }));
}

TEST(HideToggle, AWindowAlreadyInvisibleIsNeitherRecordedNorShown) {
  HideTargets programs;
  ASSERT_TRUE(programs.Started());
  ShowWindow(programs.n2, SW_HIDE);
  ASSERT_TRUE(WaitUntil([&] { return !Visible(programs.n2); }));
  QltSession qlt(IniText({{"Type1", "0"}}), "NOTEPAD\r\n");
  ASSERT_TRUE(qlt.Main());

  qlt.ClickTrayIcon(WM_RBUTTONDOWN);
  EXPECT_TRUE(WaitUntil([&] { return !Visible(programs.n1); }));
  EXPECT_EQ(JournalWindows(qlt.Journal().value_or("")), std::vector<HWND>{programs.n1});
  qlt.ClickTrayIcon(WM_RBUTTONDOWN);
  EXPECT_TRUE(WaitUntil([&] { return Visible(programs.n1); }));
  Sleep(300);
  EXPECT_FALSE(Visible(programs.n2));
}

TEST(HideToggle, WindowsHiddenAndRestoredAfterTheModeWasSwitchedComeBack) {
  HideTargets programs;
  ASSERT_TRUE(programs.Started());
  QltSession qlt(IniText({{"Type1", "0"}}), "NOTE\r\n");
  ASSERT_TRUE(qlt.Main());
  qlt.ClickTrayIcon(WM_RBUTTONDOWN);
  ASSERT_TRUE(WaitUntil([&] { return programs.NotepadsHidden(); }));

  // The user opens the main window and picks the translucent mode on the second page.
  ASSERT_TRUE(qlt.ShowMainWindow());
  ASSERT_TRUE(qlt.ChooseMode(L"透明"));
  EXPECT_EQ(qlt.Setting(L"Type1"), L"2");

  qlt.ClickTrayIcon(WM_RBUTTONDOWN);
  EXPECT_TRUE(WaitUntil([&] { return programs.NotepadsShown(); })) << "hidden windows are shown again";
  EXPECT_FALSE(Layered(programs.n1));
  EXPECT_TRUE(WaitUntil([&] { return !qlt.Journal(); }));
}

TEST(HideToggle, AQltKilledWhileWindowsAreHiddenBringsThemBackAtItsNextStart) {
  HideTargets programs;
  ASSERT_TRUE(programs.Started());
  QltSession qlt(IniText({{"Type1", "0"}}), "NOTE\r\nwinemine\r\n");
  ASSERT_TRUE(qlt.Main());
  qlt.ClickTrayIcon(WM_RBUTTONDOWN);
  ASSERT_TRUE(WaitUntil([&] { return programs.NotepadsHidden() && !Visible(programs.m); }));

  qlt.Kill();
  Sleep(300);
  EXPECT_TRUE(programs.NotepadsHidden()) << "nobody brought them back yet";
  ASSERT_TRUE(qlt.Journal());

  qlt.Start();
  ASSERT_TRUE(qlt.Main());
  EXPECT_TRUE(WaitUntil([&] { return programs.NotepadsShown() && Visible(programs.m); }));
  EXPECT_TRUE(WaitUntil([&] { return !qlt.Journal(); }));

  // The new run starts in the shown state: the next press hides again.
  qlt.ClickTrayIcon(WM_RBUTTONDOWN);
  EXPECT_TRUE(WaitUntil([&] { return programs.NotepadsHidden(); }));
  qlt.ClickTrayIcon(WM_RBUTTONDOWN);
  EXPECT_TRUE(WaitUntil([&] { return programs.NotepadsShown(); }));
}

TEST(HideToggle, ClosingWhileWindowsAreHiddenShowsThemBeforeTheEnd) {
  HideTargets programs;
  ASSERT_TRUE(programs.Started());
  QltSession qlt(IniText({{"Type1", "0"}}), "NOTE\r\n");
  ASSERT_TRUE(qlt.Main());
  qlt.ClickTrayIcon(WM_RBUTTONDOWN);
  ASSERT_TRUE(WaitUntil([&] { return programs.NotepadsHidden(); }));

  PostMessageW(qlt.Main(), WM_CLOSE, 0, 0);
  const auto exitCode = qlt.Process().WaitForExit();
  ASSERT_TRUE(exitCode.has_value()) << "QLT did not end";
  EXPECT_EQ(*exitCode, 0u);
  EXPECT_TRUE(WaitUntil([&] { return programs.NotepadsShown(); }, 3s));
  EXPECT_FALSE(qlt.Journal()) << "nothing left for a next start to bring back";
}

TEST(HideToggle, AJournalThatCannotBeWrittenIsToldOnceAndTheToggleGoesOn) {
  ASSERT_TRUE(WaitUntil([] { return !TrayBalloonShown(); }, 20s)) << "an earlier balloon has gone";
  test::RunningProgram notepad(L"notepad.exe");
  const HWND n = notepad.MainWindow();
  ASSERT_TRUE(n);
  QltSession qlt(IniText({{"Type1", "0"}}), "notepad\r\n");
  ASSERT_TRUE(qlt.Main());
  EXPECT_FALSE(WaitUntil(TrayBalloonShown, 3s)) << "nothing to tell at start";
  // A folder where QLT writes its new journal first: no journal can be written.
  const std::wstring blocker = qlt.Folder().File(L"QLT.journal.new");
  ASSERT_TRUE(CreateDirectoryW(blocker.c_str(), nullptr));

  qlt.ClickTrayIcon(WM_RBUTTONDOWN);
  EXPECT_TRUE(WaitUntil([&] { return !Visible(n); })) << "hidden all the same";
  EXPECT_TRUE(WaitUntil(TrayBalloonShown)) << "told in a balloon: a crash now would leave the window hidden";
  SaveScreenshot(L"36-journal-not-written-balloon");
  EXPECT_EQ(qlt.MessageBoxText(), L"");
  EXPECT_FALSE(qlt.Journal());
  qlt.ClickTrayIcon(WM_RBUTTONDOWN);
  EXPECT_TRUE(WaitUntil([&] { return Visible(n); }));

  // Told once: once the balloon has gone, further presses bring no other.
  ASSERT_TRUE(WaitUntil([] { return !TrayBalloonShown(); }, 30s));
  for (int i = 0; i < 2; ++i) {
    qlt.ClickTrayIcon(WM_RBUTTONDOWN);
    EXPECT_TRUE(WaitUntil([&] { return !Visible(n); }));
    qlt.ClickTrayIcon(WM_RBUTTONDOWN);
    EXPECT_TRUE(WaitUntil([&] { return Visible(n); }));
  }
  EXPECT_FALSE(WaitUntil(TrayBalloonShown, 3s));
  RemoveDirectoryW(blocker.c_str());
}

}  // namespace
}  // namespace qlt::e2e
