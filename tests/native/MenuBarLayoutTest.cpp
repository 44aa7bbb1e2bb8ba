// The skinned menu bar's arithmetic: where the buttons stand in both reading orders and with or
// without a bar image, which button the keys and the mouse move to, accelerators, and what the
// arrow keys do in an open drop-down.
#include <gtest/gtest.h>

#include <climits>

#include "skin/menus/MenuBarLayout.h"

namespace qlt {
namespace {

TEST(MenuBarLayout, ButtonsStartAfterTheImagesFixedPartAndStandSideBySideInReadingOrder) {
  const SkinRect bar{5, 30, 305, 49};  // window coordinates: 300 wide, 19 high
  MenuBarStyle style{true, 4, 7, false};
  const std::vector<MenuBarEntry> entries{{true, 30}, {false, 50}, {true, 0}, {true, 12}};

  const auto ltr = LayOutMenuBar(bar, entries, style);
  ASSERT_EQ(ltr.size(), 4u);
  EXPECT_EQ(ltr[0], (SkinRect{5 + 8, 30, 5 + 8 + 40, 49})) << "left part 4 + 4, caption + 10, the bar's height";
  EXPECT_EQ(ltr[1], SkinRect{}) << "an item that does not show has no place";
  EXPECT_EQ(ltr[2], (SkinRect{53, 30, 53, 49})) << "an empty caption: no width";
  EXPECT_TRUE(ltr[2].Empty());
  EXPECT_EQ(ltr[3], (SkinRect{53, 30, 53 + 22, 49}));

  style.rightToLeft = true;
  const auto rtl = LayOutMenuBar(bar, entries, style);
  EXPECT_EQ(rtl[0], (SkinRect{305 - 15 - 40, 30, 305 - 15, 49})) << "the first item at the right: right part 7 + 8";
  EXPECT_EQ(rtl[1], SkinRect{});
  EXPECT_EQ(rtl[3], (SkinRect{250 - 22, 30, 250, 49})) << "the next one to its left";

  // Without a bar image the start is 6 from either end, whatever the parts say.
  style = {false, 40, 40, false};
  EXPECT_EQ(LayOutMenuBar(bar, entries, style)[0].left, 5 + 6);
  style.rightToLeft = true;
  EXPECT_EQ(LayOutMenuBar(bar, entries, style)[0].right, 305 - 6);
}

TEST(MenuBarLayout, AStartBeyondANarrowBarBecomesTwelve) {
  EXPECT_EQ(MenuBarStart(100, {true, 20, 30, false}), 24);
  EXPECT_EQ(MenuBarStart(100, {true, 20, 30, true}), 38);
  EXPECT_EQ(MenuBarStart(23, {true, 20, 30, false}), 12);
  EXPECT_EQ(MenuBarStart(24, {true, 20, 30, false}), 24) << "a start at the very end is not beyond it";
  EXPECT_EQ(MenuBarStart(37, {true, 20, 30, true}), 12);
  EXPECT_EQ(MenuBarStart(0, {false, 20, 30, false}), 6);
  const auto rects = LayOutMenuBar({0, 0, 20, 18}, {{true, 5}}, {true, 20, 0, false});
  EXPECT_EQ(rects[0], (SkinRect{12, 0, 27, 18}));
  // Parts and captions at int's limit (no reader clamped them): beyond the bar, never wrapped.
  EXPECT_EQ(MenuBarStart(100, {true, INT_MAX, INT_MAX, false}), 12);
  EXPECT_EQ(MenuBarStart(100, {true, INT_MAX, INT_MAX, true}), 12);
  const auto wide = LayOutMenuBar({0, 0, 100, 18}, {{true, INT_MAX}, {true, INT_MAX}}, {false, 0, 0, false});
  EXPECT_EQ(wide[0], (SkinRect{6, 0, INT_MAX, 18}));
  EXPECT_EQ(wide[1], (SkinRect{INT_MAX, 0, INT_MAX, 18}));
}

TEST(MenuBarLayout, SwitchesGoToTheNeighbourThatOpensAndWrapAroundTheEnds) {
  //                              0     1      2     3      4
  const std::vector<bool> opens{true, false, true, true, false};
  EXPECT_EQ(NeighbourButton(opens, 0, 1), 2) << "passes over a button that cannot open";
  EXPECT_EQ(NeighbourButton(opens, 2, 1), 3);
  EXPECT_EQ(NeighbourButton(opens, 3, 1), 0) << "wraps from the last to the first";
  EXPECT_EQ(NeighbourButton(opens, 0, -1), 3) << "wraps from the first to the last";
  EXPECT_EQ(NeighbourButton(opens, 2, -1), 0);
  EXPECT_EQ(NeighbourButton(opens, 1, 1), 2) << "from a button that cannot open itself";
  EXPECT_EQ(NeighbourButton({true, false}, 0, 1), -1) << "no other button opens";
  EXPECT_EQ(NeighbourButton({false, false}, 0, -1), -1);
  EXPECT_EQ(NeighbourButton({}, 0, 1), -1);
  EXPECT_EQ(NeighbourButton(opens, -1, 1), 0) << "from nowhere: the first that opens";
  EXPECT_EQ(NeighbourButton(opens, 9, -1), 3) << "from beyond the end: the last that opens";
  EXPECT_EQ(NeighbourButton(opens, 0, 2), -1) << "only single steps";
}

TEST(MenuBarLayout, AnAcceleratorIsTheCharacterAfterASingleAmpersand) {
  EXPECT_EQ(AcceleratorOf(u"&File"), u'F');
  EXPECT_EQ(AcceleratorOf(u"E&xit 退出"), u'x');
  EXPECT_EQ(AcceleratorOf(u"Save && &Quit"), u'Q') << "a doubled ampersand is text";
  EXPECT_EQ(AcceleratorOf(u"R&&D"), 0);
  EXPECT_EQ(AcceleratorOf(u"&&&x"), u'x');
  EXPECT_EQ(AcceleratorOf(u"Ends with &"), 0);
  EXPECT_EQ(AcceleratorOf(u""), 0);
  EXPECT_EQ(AcceleratorOf(u"文件(&文)"), u'文');
  EXPECT_TRUE(IsAccelerator(u"&Edit 编辑", u'e')) << "letter case is ignored";
  EXPECT_TRUE(IsAccelerator(u"&Edit 编辑", u'E'));
  EXPECT_FALSE(IsAccelerator(u"&Edit", u'd'));
  EXPECT_FALSE(IsAccelerator(u"Edit", u'E')) << "no accelerator, no match";
  EXPECT_FALSE(IsAccelerator(u"Edit", 0));
  EXPECT_FALSE(IsAccelerator(u"&1 skin.ini", u'!'));
}

TEST(MenuBarLayout, ArrowKeysLeaveTheDropDownOnlyWhereTheMenuHasNothingToOpenOrClose) {
  DropDownState nothing{false, false, 1};
  EXPECT_EQ(ArrowSwitch(ArrowKey::kRight, nothing), 1);
  EXPECT_EQ(ArrowSwitch(ArrowKey::kLeft, nothing), -1);
  DropDownState leaf{true, false, 1};
  EXPECT_EQ(ArrowSwitch(ArrowKey::kRight, leaf), 1) << "Right on an item without a sub-menu: the next drop-down";
  EXPECT_EQ(ArrowSwitch(ArrowKey::kLeft, leaf), -1) << "Left at the top level: the previous one";
  DropDownState parent{true, true, 1};
  EXPECT_EQ(ArrowSwitch(ArrowKey::kRight, parent), 0) << "Right on an item with a sub-menu opens it";
  EXPECT_EQ(ArrowSwitch(ArrowKey::kLeft, parent), -1);
  DropDownState inSubMenu{true, false, 2};
  EXPECT_EQ(ArrowSwitch(ArrowKey::kLeft, inSubMenu), 0) << "Left in a sub-menu closes it";
  EXPECT_EQ(ArrowSwitch(ArrowKey::kRight, inSubMenu), 1) << "Right on a leaf of a sub-menu goes on along the bar";
  DropDownState nested{true, true, 3};
  EXPECT_EQ(ArrowSwitch(ArrowKey::kRight, nested), 0);
  EXPECT_EQ(ArrowSwitch(ArrowKey::kLeft, nested), 0);
  EXPECT_EQ(ArrowSwitch(ArrowKey::kLeft, DropDownState{}), -1) << "before the drop-down has told anything";
}

}  // namespace
}  // namespace qlt
