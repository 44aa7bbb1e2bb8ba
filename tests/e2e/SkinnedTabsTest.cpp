// QLT.exe's main window's page control drawn from the skin QLT.exe carries: both pages' button-style
// tabs read back from the screen and compared with the cells of the skin the build embeds (the
// selected tab cell 2, the other cell 1, the page border's corners), and the real mouse clicking
// the other tab, which switches the page and draws that tab selected.
#include <gtest/gtest.h>

#include "skin/data/WinSkinData.h"
#include "tests/e2e/Desktop.h"
#include "tests/e2e/QltSession.h"
#include "tests/win/MenuTestSupport.h"
#include "tests/win/SkinOnScreen.h"

namespace qlt::e2e {
namespace {

class SkinnedTabs : public ::testing::Test {
 protected:
  void SetUp() override {
    skin_ = test::SkinOfFile(test::Utf8ToWide(std::string(QLT_SKIN_BUILD_DIR) + "/QLTSkin.skin"));
    ASSERT_TRUE(skin_ && skin_->Tabs && !skin_->Tabs->Image.Empty()) << "the skin has tabs";
    const COLORREF c = SkinColourToRgb(skin_->ButtonFaceColour, GetSysColor(COLOR_BTNFACE));
    face_ = RgbPixel(GetRValue(c), GetGValue(c), GetBValue(c));
    ASSERT_NE(session_.Main(), nullptr) << "QLT started";
  }

  std::unique_ptr<TSkinContent> skin_;
  Bgr face_{};
  QltSession session_{IniText({}), ""};  // started
};

TEST_F(SkinnedTabs, BothPagesShowTheSkinsTabsAndAClickOnTheOtherSwitchesAndDrawsItSelected) {
  ASSERT_TRUE(session_.ShowMainWindow());
  const HWND main = session_.Main();
  HWND pages = Descendants(main, L"TPageControl").at(0);
  HWND programs = FindDescendant(main, L"TTabSheet", L"程序");
  HWND actions = FindDescendant(main, L"TTabSheet", L"动作");
  ASSERT_TRUE(programs && actions);
  ASSERT_EQ(SendMessageW(pages, TCM_GETITEMCOUNT, 0, 0), 2);
  ASSERT_EQ(SendMessageW(pages, TCM_GETCURSEL, 0, 0), 0);
  EXPECT_EQ(test::TabsOnScreen(pages, *skin_, face_), "") << "the first page";
  EXPECT_TRUE(test::TabPageBorderOnScreen(pages, *skin_, face_)) << "the page border";
  SaveScreenshot(L"skinned-tabs-main-page1");

  ClickAt(TabCentre(pages, 1));
  ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(actions) && !IsWindowVisible(programs); }, 3s))
      << "the click switches to the second page";
  EXPECT_EQ(SendMessageW(pages, TCM_GETCURSEL, 0, 0), 1);
  EXPECT_EQ(test::TabsOnScreen(pages, *skin_, face_), "") << "the second tab drawn selected, the first not";
  EXPECT_TRUE(test::TabPageBorderOnScreen(pages, *skin_, face_));
  SaveScreenshot(L"skinned-tabs-main-page2");

  ClickAt(TabCentre(pages, 0));
  ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(programs) && !IsWindowVisible(actions); }, 3s));
  EXPECT_EQ(test::TabsOnScreen(pages, *skin_, face_), "") << "back on the first page";
}

}  // namespace
}  // namespace qlt::e2e
