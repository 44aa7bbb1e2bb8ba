// Autostart of the running QLT.exe, started from a folder with blanks in its path: ticking
// "自启动" writes the machine-wide Run value (named before the first "." of the file name, the
// full path in quotes, so Windows cannot start "C:\Program.exe" instead); unticking removes it;
// the box starts unticked at every start, whatever the registry holds.
#include <gtest/gtest.h>

#include "tests/e2e/Desktop.h"
#include "tests/e2e/QltProcess.h"
#include "ui/Handles.h"

namespace qlt::e2e {
namespace {

constexpr wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\run";

std::optional<std::wstring> RunValue(const std::wstring& name) {
  return test::RegistryString(HKEY_LOCAL_MACHINE, kRunKey, name);
}

void DeleteRunValue(const std::wstring& name) { test::DeleteRegistryValue(HKEY_LOCAL_MACHINE, kRunKey, name); }

bool Ticked(HWND box) { return SendMessageW(box, BM_GETCHECK, 0, 0) == BST_CHECKED; }

class Autostart : public ::testing::Test {
 protected:
  void SetUp() override {
    // A folder like "C:\Program Files\QLT Tools": a path Windows would cut at the first blank.
    CreateDirectoryW(folder_.File(L"Program Files").c_str(), nullptr);
    CreateDirectoryW(folder_.File(L"Program Files\\QLT Tools").c_str(), nullptr);
    ASSERT_TRUE(CopyFileW(Paths().qltExe.c_str(), exe_.c_str(), FALSE));
    DeleteRunValue(L"QLT");
  }
  void TearDown() override { DeleteRunValue(L"QLT"); }

  // Starts QLT, shows its main window from the tray menu; the "自启动" box.
  HWND StartAndShow(QltProcess& qlt) {
    qlt.Start();
    HWND main = qlt.WaitForTopLevelWindow(L"TFrm_Main");
    if (!main) return nullptr;
    if (!ChooseFromTrayMenu(main, qlt.Id(), kTrayMenuShowHideItem)) return nullptr;
    WaitUntil([&] { return IsWindowVisible(main); });
    return FindDescendant(main, L"TCheckBox", L"自启动");
  }

  void End(QltProcess& qlt) {
    PostMessageW(qlt.FindTopLevelWindow(L"TFrm_Main"), WM_CLOSE, 0, 0);
    ASSERT_TRUE(qlt.WaitForExit().has_value());
  }

  ScratchFolder folder_;
  const std::wstring exe_ = folder_.File(L"Program Files\\QLT Tools\\QLT.exe");
};

TEST_F(Autostart, TickingWritesTheQuotedPathUnderTheNameBeforeTheFirstDotUntickingRemovesIt) {
  // A file name with two dots: the value is named by what comes before the first.
  const std::wstring exe = folder_.File(L"Program Files\\QLT Tools\\QLT.v2.exe");
  ASSERT_TRUE(CopyFileW(Paths().qltExe.c_str(), exe.c_str(), FALSE));
  QltProcess qlt(exe);
  HWND box = StartAndShow(qlt);
  ASSERT_NE(box, nullptr);
  EXPECT_FALSE(Ticked(box));

  ClickAt(CentreOf(box));
  ASSERT_TRUE(WaitUntil([] { return RunValue(L"QLT").has_value(); })) << "ticking wrote no Run value";
  EXPECT_TRUE(Ticked(box));
  EXPECT_EQ(RunValue(L"QLT"), L"\"" + exe + L"\"");
  EXPECT_FALSE(RunValue(L"QLT.v2").has_value());

  ClickAt(CentreOf(box));
  ASSERT_TRUE(WaitUntil([] { return !RunValue(L"QLT").has_value(); })) << "unticking left the Run value";
  EXPECT_FALSE(Ticked(box));
  End(qlt);
}

TEST_F(Autostart, TheBoxStartsUntickedAtEveryStartAndTickingAgainWritesAgain) {
  {
    QltProcess qlt(exe_);
    HWND box = StartAndShow(qlt);
    ASSERT_NE(box, nullptr);
    ClickAt(CentreOf(box));
    ASSERT_TRUE(WaitUntil([] { return RunValue(L"QLT").has_value(); }));
    End(qlt);
  }
  EXPECT_TRUE(RunValue(L"QLT").has_value()) << "the value outlives the program";

  QltProcess again(exe_);
  HWND box = StartAndShow(again);
  ASSERT_NE(box, nullptr);
  EXPECT_FALSE(Ticked(box)) << "never loaded from the registry";
  ClickAt(CentreOf(box));
  ASSERT_TRUE(WaitUntil([&] { return Ticked(box); }));
  EXPECT_EQ(RunValue(L"QLT"), L"\"" + exe_ + L"\"");
  ClickAt(CentreOf(box));
  EXPECT_TRUE(WaitUntil([] { return !RunValue(L"QLT").has_value(); }));
  End(again);
}

}  // namespace
}  // namespace qlt::e2e
