// The links of the running QLT.exe: "Velora论坛" (Label8) and the tray menu's "官方网站" (N5) open
// the same address through the browser registered under App Paths, its path quoted; with no
// browser registered the user's default browser is asked. A recorder program stands in for both
// browsers and writes down the command line it was started with.
#include <gtest/gtest.h>

#include "tests/e2e/Desktop.h"
#include "tests/e2e/QltProcess.h"

namespace qlt::e2e {
namespace {

constexpr wchar_t kBrowserKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\IEXPLORE.EXE";
constexpr wchar_t kHttpsCommand[] = L"Software\\Classes\\https\\shell\\open\\command";
constexpr wchar_t kForumSite[] = L"https://forum.velora.example.com/";
constexpr wchar_t kMakerSite[] = L"https://www.qlt-tech.example.com/";

using test::PutRecorder;
using test::RecorderRan;
using test::TakeRecordedCommandLine;

// A default value of a key, kept and put back at the end.
class SavedDefaultValue {
 public:
  SavedDefaultValue(HKEY root, std::wstring path)
      : root_(root), path_(std::move(path)), saved_(test::RegistryString(root_, path_, L"")) {}
  ~SavedDefaultValue() { saved_ ? Set(*saved_) : Remove(); }
  void Set(const std::wstring& text) const { test::SetRegistryString(root_, path_, L"", text); }
  void Remove() const { test::DeleteRegistryValue(root_, path_, L""); }

 private:
  HKEY root_;
  std::wstring path_;
  std::optional<std::wstring> saved_;
};

class Links : public ::testing::Test {
 protected:
  void SetUp() override {
    CreateDirectoryW(folder_.File(L"My Browser").c_str(), nullptr);
    ASSERT_TRUE(PutRecorder(browser_));
    // Where the unquoted path would be cut at its blank: this one must never run.
    ASSERT_TRUE(PutRecorder(folder_.File(L"My.exe")));
  }

  HWND Start() {
    qlt_.Start();
    return main_ = qlt_.WaitForTopLevelWindow(L"TFrm_Main");
  }
  // A click on a label of the main window (labels are drawn by the window, they have none).
  void ClickLabelAt(int left, int top) {
    POINT at{left + 12, top + 6};
    ClientToScreen(main_, &at);
    ClickAt(at);
  }
  static std::wstring Received(const std::wstring& path) { return test::CodePageToWide(TakeRecordedCommandLine(path), CP_ACP); }

  ScratchFolder folder_;
  QltProcess qlt_{folder_};
  HWND main_ = nullptr;
  const std::wstring browser_ = folder_.File(L"My Browser\\browse.exe");
  SavedDefaultValue registered_{HKEY_LOCAL_MACHINE, kBrowserKey};
};

TEST_F(Links, ForumLabelAndMenuItemOpenTheSameAddressInTheRegisteredBrowser) {
  registered_.Set(browser_);
  ASSERT_NE(Start(), nullptr);
  ASSERT_TRUE(ChooseFromTrayMenu(main_, qlt_.Id(), kTrayMenuShowHideItem));
  ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(main_); }));

  const std::wstring expected = L"\"" + browser_ + L"\" \"" + kForumSite + L"\"";
  ClickLabelAt(232, 277);  // Label8 "Velora论坛"
  EXPECT_EQ(Received(browser_), expected);
  ASSERT_TRUE(ChooseFromTrayMenu(main_, qlt_.Id(), kTrayMenuSiteItem));  // N5 "官方网站"
  EXPECT_EQ(Received(browser_), expected);
  ClickLabelAt(289, 277);  // Label5 "QLT科技网站"
  EXPECT_EQ(Received(browser_), L"\"" + browser_ + L"\" \"" + kMakerSite + L"\"");
  EXPECT_FALSE(RecorderRan(folder_.File(L"My.exe"))) << "the browser's path was cut at its blank";
}

TEST_F(Links, WithoutARegisteredBrowserTheDefaultBrowserIsAsked) {
  registered_.Remove();
  // The default browser: the recorder, as the system's handler of https addresses.
  const std::wstring defaultBrowser = folder_.File(L"default.exe");
  ASSERT_TRUE(PutRecorder(defaultBrowser));
  SavedDefaultValue handler(HKEY_LOCAL_MACHINE, kHttpsCommand);
  handler.Set(L"\"" + defaultBrowser + L"\" \"%1\"");

  ASSERT_NE(Start(), nullptr);
  ASSERT_TRUE(ChooseFromTrayMenu(main_, qlt_.Id(), kTrayMenuSiteItem));
  const std::wstring line = Received(defaultBrowser);
  EXPECT_NE(line.find(kForumSite), std::wstring::npos) << "the default browser was not asked";
}

}  // namespace
}  // namespace qlt::e2e
