// The tray icon in Wine's notification area: added, added again after "TaskbarCreated",
// balloons, removal; and one QLT per session.
#include <windows.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include "app/TrayIcon.h"
#include "tests/win/WinTestSupport.h"

namespace qlt {
namespace {

bool IconPresent(HWND window) { return test::TrayIconPresent(window, kTrayIconId); }
void RemoveIcon(HWND window) { test::RemoveTrayIcon(window, kTrayIconId); }

TEST(TrayIcon, ComesBackWhenTheTaskbarIsCreatedAgainAndGoesAtTheEnd) {
  test::TestWindow window(false);
  {
    TrayIcon icon(window.Get(), LoadIconW(nullptr, IDI_APPLICATION));
    ASSERT_TRUE(icon.Add());
    EXPECT_TRUE(IconPresent(window.Get()));
    EXPECT_TRUE(icon.ShowBalloon(L"QLTZarnit", L"热键没有注册"));

    RemoveIcon(window.Get());  // what a restarted taskbar looks like: the icon is gone
    ASSERT_FALSE(IconPresent(window.Get()));
    EXPECT_FALSE(icon.HandleTaskbarCreated(WM_USER + 5));
    EXPECT_TRUE(icon.HandleTaskbarCreated(RegisterWindowMessageW(L"TaskbarCreated")));
    EXPECT_TRUE(IconPresent(window.Get()));
  }
  EXPECT_FALSE(IconPresent(window.Get()));
}

bool g_showAsked = false;

LRESULT CALLBACK RecordShowRequest(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
  if (message == ShowMainWindowMessage()) g_showAsked = true;
  return DefWindowProcW(window, message, wParam, lParam);
}

TEST(SingleInstance, SecondStartFindsTheFirstAndAsksItToShowItsWindow) {
  {
    SingleInstance first(L"Local\\QLTZarnit.Test");
    EXPECT_TRUE(first.First());
    SingleInstance second(L"Local\\QLTZarnit.Test");
    EXPECT_FALSE(second.First());
  }
  EXPECT_TRUE(SingleInstance(L"Local\\QLTZarnit.Test").First());

  WNDCLASSW wc{};
  wc.lpfnWndProc = RecordShowRequest;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"QltTestMainWindow";
  RegisterClassW(&wc);
  EXPECT_FALSE(ShowRunningCopy(L"QltTestMainWindow"));
  HWND main = CreateWindowExW(0, wc.lpszClassName, L"", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr, wc.hInstance, nullptr);
  EXPECT_TRUE(ShowRunningCopy(L"QltTestMainWindow"));
  EXPECT_TRUE(test::WaitUntil([] { return g_showAsked; }));
  DestroyWindow(main);
}

}  // namespace
}  // namespace qlt
