// QLT.exe starts from any folder, lives with no visible window, and ends cleanly on WM_CLOSE.
#include <gtest/gtest.h>

#include "tests/e2e/QltProcess.h"

namespace qlt::e2e {
namespace {

TEST(Lifecycle, StartsHiddenAndEndsWithExitCodeZeroOnClose) {
  ScratchFolder folder;
  QltProcess qlt(folder);
  qlt.Start();

  HWND main = qlt.WaitForTopLevelWindow(L"TFrm_Main");
  ASSERT_NE(main, nullptr) << "QLT's main window did not appear";
  EXPECT_FALSE(IsWindowVisible(main));
  EXPECT_TRUE(qlt.Running());

  ASSERT_TRUE(PostMessageW(main, WM_CLOSE, 0, 0));
  const auto exitCode = qlt.WaitForExit();
  ASSERT_TRUE(exitCode.has_value()) << "QLT did not end after WM_CLOSE";
  EXPECT_EQ(*exitCode, 0u);
}

}  // namespace
}  // namespace qlt::e2e
