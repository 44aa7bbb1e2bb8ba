// QLT.exe from start to exit as the shell and a user see it: only a tray icon after start, the
// tray menu on the left button, the main window shown and hidden through it, the close box that
// only hides, a restarted taskbar, a second start, and the exit through WM_CLOSE or "退出".
#include <gtest/gtest.h>

#include <thread>

#include "tests/e2e/Desktop.h"
#include "tests/e2e/QltProcess.h"

namespace qlt::e2e {
namespace {

constexpr wchar_t kMainCaption[] = L"QLTZarnit2.32－QLT科技";

// Task buttons of Wine's taskbar are visible buttons on it (the start button is one more).
int TaskButtonCount() {
  HWND taskbar = FindWindowW(L"Shell_TrayWnd", nullptr);
  int count = 0;
  for (HWND button : Descendants(taskbar, L"Button")) {
    if (IsWindowVisible(button)) ++count;
  }
  return count;
}

bool AnyVisibleWindow(const QltProcess& qlt) {
  for (HWND window : qlt.TopLevelWindows()) {
    if (IsWindowVisible(window)) return true;
  }
  return false;
}

// Started, with its main window there and its tray icon added.
HWND StartQlt(QltProcess& qlt) {
  qlt.Start();
  HWND main = qlt.WaitForTopLevelWindow(L"TFrm_Main");
  if (main) WaitUntil([&] { return TrayIconPresent(main); });
  return main;
}

void ChooseAndWaitForMenuToClose(const QltProcess& qlt, HWND main, int item) {
  ASSERT_TRUE(ChooseFromTrayMenu(main, qlt.Id(), item)) << "the left button opens the tray menu";
  ASSERT_TRUE(WaitUntil([&] { return VisiblePopupMenu(qlt.Id()) == nullptr; }));
}

TEST(Lifecycle, StartsWithOnlyTheTrayIconAndEndsOnClose) {
  ScratchFolder folder;
  QltProcess qlt(folder);
  const int buttonsBefore = TaskButtonCount();
  HWND main = StartQlt(qlt);
  ASSERT_NE(main, nullptr) << "QLT's main window did not appear";
  EXPECT_TRUE(TrayIconPresent(main));
  EXPECT_EQ(TextOf(main), kMainCaption);
  EXPECT_FALSE(IsWindowVisible(main));
  EXPECT_FALSE(AnyVisibleWindow(qlt));

  HWND application = qlt.FindTopLevelWindow(L"TApplication");
  ASSERT_NE(application, nullptr);
  EXPECT_EQ(GetWindowLongW(application, GWL_EXSTYLE), WS_EX_TOOLWINDOW);
  std::this_thread::sleep_for(300ms);  // the taskbar's own update
  EXPECT_EQ(TaskButtonCount(), buttonsBefore) << "no task button";
  SaveScreenshot(L"01-desktop-after-start");

  ASSERT_TRUE(PostMessageW(main, WM_CLOSE, 0, 0));
  const auto exitCode = qlt.WaitForExit();
  ASSERT_TRUE(exitCode.has_value()) << "QLT did not end after WM_CLOSE";
  EXPECT_EQ(*exitCode, 0u);
  EXPECT_FALSE(TrayIconPresent(main)) << "the icon goes with the program";
}

TEST(Lifecycle, TrayMenuShowsAndHidesTheMainWindowAndEndsTheProgram) {
  ScratchFolder folder;
  QltProcess qlt(folder);
  HWND main = StartQlt(qlt);
  ASSERT_NE(main, nullptr);
  const int buttonsBefore = TaskButtonCount();

  // The left button opens the menu where the pointer is; a click elsewhere closes it again.
  SendTrayMouse(main, WM_LBUTTONDOWN);
  HWND menu = WaitForPopupMenu(qlt.Id());
  ASSERT_NE(menu, nullptr);
  POINT pointer{};
  GetCursorPos(&pointer);
  RECT menuRect{};
  GetWindowRect(menu, &menuRect);
  // At the pointer, moved only as far as it takes to stay above the taskbar.
  const RECT bar = TaskbarRect();
  InflateRect(&menuRect, 2, 2);
  menuRect.bottom += bar.bottom - bar.top;
  EXPECT_TRUE(PtInRect(&menuRect, pointer)) << "the menu opens at the pointer";
  std::this_thread::sleep_for(300ms);
  SaveScreenshot(L"02-tray-menu");
  ClickAt(POINT{300, 300});
  EXPECT_TRUE(WaitUntil([&] { return VisiblePopupMenu(qlt.Id()) == nullptr; }))
      << "a click outside the menu closes it";

  // "显示窗口" shows the window with both lists filled, without a task button.
  ChooseAndWaitForMenuToClose(qlt, main, kTrayMenuShowHideItem);
  ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(main) != FALSE; }));
  EXPECT_EQ(GetForegroundWindow(), main);
  HWND processes = Descendants(main, L"TListBox").at(0);
  EXPECT_TRUE(WaitUntil([&] {
    for (const auto& row : ListBoxRows(processes)) {
      if (row == L"QLT.exe") return true;
    }
    return false;
  })) << "the running processes are listed, QLT itself among them";
  EXPECT_EQ(TaskButtonCount(), buttonsBefore) << "the main window has no task button either";
  std::this_thread::sleep_for(300ms);
  SaveScreenshot(L"03-main-window-programs");

  HWND pages = Descendants(main, L"TPageControl").at(0);
  HWND actions = FindDescendant(main, L"TTabSheet", L"动作");
  ASSERT_NE(actions, nullptr);
  ClickAt(TabCentre(pages, 1));
  ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(actions) != FALSE; })) << "the second page is shown";
  std::this_thread::sleep_for(300ms);
  SaveScreenshot(L"04-main-window-actions");

  // The item now hides the window.
  ChooseAndWaitForMenuToClose(qlt, main, kTrayMenuShowHideItem);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(main); }));

  // The close box only hides; the item, still reading "隐藏窗口", follows what the window is and
  // shows it.
  ChooseAndWaitForMenuToClose(qlt, main, kTrayMenuShowHideItem);
  ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(main) != FALSE; }));
  PostMessageW(main, WM_SYSCOMMAND, SC_CLOSE, 0);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(main); }));
  std::this_thread::sleep_for(300ms);
  EXPECT_TRUE(qlt.Running());
  EXPECT_TRUE(TrayIconPresent(main));
  ChooseAndWaitForMenuToClose(qlt, main, kTrayMenuShowHideItem);
  EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(main) != FALSE; }));

  // Another system command gets the default handling.
  PostMessageW(main, WM_SYSCOMMAND, SC_MINIMIZE, 0);
  EXPECT_TRUE(WaitUntil([&] { return IsIconic(main) != FALSE; }));

  // "退出" ends the program.
  ChooseAndWaitForMenuToClose(qlt, main, kTrayMenuExitItem);
  const auto exitCode = qlt.WaitForExit();
  ASSERT_TRUE(exitCode.has_value()) << "退出 ends QLT";
  EXPECT_EQ(*exitCode, 0u);
}

TEST(Lifecycle, RightButtonOpensNoMenuAndForeignHotKeysAreIgnored) {
  ScratchFolder folder;
  QltProcess qlt(folder);
  HWND main = StartQlt(qlt);
  ASSERT_NE(main, nullptr);

  SendTrayMouse(main, WM_RBUTTONDOWN);
  SendTrayMouse(main, WM_LBUTTONDBLCLK);
  SendTrayMouse(main, WM_MOUSEMOVE);
  PostMessageW(main, WM_HOTKEY, 0x7123, MAKELPARAM(MOD_CONTROL, 'Q'));
  std::this_thread::sleep_for(700ms);
  EXPECT_EQ(VisiblePopupMenu(qlt.Id()), nullptr) << "only the left button press opens the menu";
  EXPECT_FALSE(AnyVisibleWindow(qlt));
  EXPECT_TRUE(qlt.Running());

  // The second right button press toggles back; the program still ends normally.
  SendTrayMouse(main, WM_RBUTTONDOWN);
  PostMessageW(main, WM_CLOSE, 0, 0);
  const auto exitCode = qlt.WaitForExit();
  ASSERT_TRUE(exitCode.has_value());
  EXPECT_EQ(*exitCode, 0u);
}

TEST(Lifecycle, IconComesBackWhenTheTaskbarIsCreatedAgain) {
  ScratchFolder folder;
  QltProcess qlt(folder);
  HWND main = StartQlt(qlt);
  ASSERT_NE(main, nullptr);
  ASSERT_TRUE(TrayIconPresent(main));

  RemoveTrayIcon(main);  // what a taskbar that restarts leaves behind
  ASSERT_FALSE(TrayIconPresent(main));
  BroadcastTaskbarCreated();
  EXPECT_TRUE(WaitUntil([&] { return TrayIconPresent(main); })) << "the icon is added again";

  // And the icon still works.
  SendTrayMouse(main, WM_LBUTTONDOWN);
  HWND menu = WaitForPopupMenu(qlt.Id());
  ASSERT_NE(menu, nullptr);
  CloseMenu(menu);
  EXPECT_TRUE(WaitUntil([&] { return VisiblePopupMenu(qlt.Id()) == nullptr; }));
}

TEST(Lifecycle, SecondStartShowsTheRunningCopysWindowAndEnds) {
  ScratchFolder folder;
  QltProcess first(folder);
  HWND main = StartQlt(first);
  ASSERT_NE(main, nullptr);
  ASSERT_FALSE(IsWindowVisible(main));

  QltProcess second(first.ExePath());
  second.Start();
  const auto exitCode = second.WaitForExit();
  ASSERT_TRUE(exitCode.has_value()) << "the second QLT ends by itself";
  EXPECT_EQ(*exitCode, 0u);
  EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(main) != FALSE; })) << "the running copy's window is shown";
  EXPECT_TRUE(first.Running());
  EXPECT_TRUE(TrayIconPresent(main));
  EXPECT_FALSE(folder.Exists(L"data.txt")) << "the second copy wrote nothing";
  SaveScreenshot(L"05-second-start");
}

}  // namespace
}  // namespace qlt::e2e
