// The skinned edit boxes', up-down buttons' and combo boxes' looks, halves, parts and arrows.
#include <gtest/gtest.h>

#include "skin/controls/EditLayout.h"

namespace qlt {
namespace {

TEST(UpDownHalves, SplitAtHalfTheSizeAndOnePixelInInsideAnEdit) {
  UpDownHalves v = SplitUpDown(15, 21, false, false);
  EXPECT_EQ(v.first, (SkinRect{0, 0, 15, 10}));
  EXPECT_EQ(v.second, (SkinRect{0, 10, 15, 21}));  // the odd pixel goes to the second half
  v = SplitUpDown(15, 21, false, true);
  EXPECT_EQ(v.first, (SkinRect{1, 1, 14, 10}));
  EXPECT_EQ(v.second, (SkinRect{1, 10, 14, 20}));
  const UpDownHalves h = SplitUpDown(30, 16, true, false);
  EXPECT_EQ(h.first, (SkinRect{0, 0, 15, 16}));
  EXPECT_EQ(h.second, (SkinRect{15, 0, 30, 16}));
  // Too small or negative sizes give empty halves, never inverted ones.
  const UpDownHalves tiny = SplitUpDown(1, 1, false, true);
  EXPECT_FALSE(tiny.first.Inverted());
  EXPECT_FALSE(tiny.second.Inverted());
  EXPECT_TRUE(tiny.first.Empty() && tiny.second.Empty());
  const UpDownHalves negative = SplitUpDown(-5, -3, true, false);
  EXPECT_TRUE(negative.first.Empty() && negative.second.Empty());
}

TEST(UpDownLooks, OnlyTheHalfUnderThePointerShowsHotOrPressed) {
  EXPECT_EQ(UpDownHalfLook(false, true, true, true), kLookPressed);
  EXPECT_EQ(UpDownHalfLook(false, true, false, true), kLookHot);
  EXPECT_EQ(UpDownHalfLook(false, true, false, false), kLookNormal);
  EXPECT_EQ(UpDownHalfLook(false, false, true, true), kLookNormal);  // the other half
  EXPECT_EQ(UpDownHalfLook(true, true, true, true), kLookDisabled);
  EXPECT_EQ(UpDownHalfLook(true, false, false, false), kLookDisabled);
  // The lower half pressed: cell 6 below, cell 1 above.
  EXPECT_EQ(UpDownCell(UpDownHalfLook(false, true, true, false), true), 6);
  EXPECT_EQ(UpDownCell(UpDownHalfLook(false, false, true, false), false), 1);
  EXPECT_EQ(UpDownCell(kLookHot, true), 8);
  EXPECT_EQ(UpDownCell(kLookDisabled, false), 3);
}

TEST(ComboLooks, PressedThenHotOrFocusedThenEnabled) {
  EXPECT_EQ(ComboLook(true, true, false), kLookPressed);
  EXPECT_EQ(ComboLook(false, true, true), kLookHot);
  EXPECT_EQ(ComboLook(false, true, false), kLookHot);
  EXPECT_EQ(ComboLook(false, false, true), kLookNormal);
  EXPECT_EQ(ComboLook(false, false, false), kLookDisabled);
}

TEST(ComboParts, ButtonOnTheRightOrMirroredOnTheLeft) {
  const ComboLayout r = LayOutCombo(120, 21, 16, false);
  EXPECT_EQ(r.text, (SkinRect{2, 2, 98, 19}));
  EXPECT_EQ(r.button, (SkinRect{102, 0, 120, 21}));
  EXPECT_EQ(r.glyph, (SkinRect{102, 2, 118, 19}));
  const ComboLayout l = LayOutCombo(120, 21, 16, true);
  EXPECT_EQ(l.text, (SkinRect{20, 2, 118, 19}));
  EXPECT_EQ(l.button, (SkinRect{0, 0, 18, 21}));
  EXPECT_EQ(l.glyph, (SkinRect{2, 2, 18, 19}));
  // A box narrower than its button: the button stays inside, the text area is empty.
  const ComboLayout narrow = LayOutCombo(10, 21, 16, false);
  EXPECT_GE(narrow.button.left, 0);
  EXPECT_TRUE(narrow.text.Empty());
  EXPECT_TRUE(LayOutCombo(10, 21, 16, true).text.Empty());
}

TEST(Arrows, PointTheirWayCentredAndClipped) {
  PixelBuffer buffer(11, 11, 0);
  const PixelView view = buffer.View();
  DrawArrow(view, view.Bounds(), ArrowDirection::kUp, 1);
  // Rows of 1, 3, 5 and 7 pixels from the tip down, centred on column 5.
  int rows[11] = {};
  for (int y = 0; y < 11; ++y) {
    for (int x = 0; x < 11; ++x) rows[y] += buffer.At(x, y) == 1;
  }
  const int tip = 3;  // (11 - 4) / 2
  EXPECT_EQ(rows[tip], 1);
  EXPECT_EQ(buffer.At(5, tip), 1u);
  EXPECT_EQ(rows[tip + 3], 7);
  EXPECT_EQ(rows[tip - 1], 0);
  EXPECT_EQ(rows[tip + 4], 0);

  PixelBuffer down(11, 11, 0);
  DrawArrow(down.View(), down.View().Bounds(), ArrowDirection::kDown, 2);
  EXPECT_EQ(down.At(5, tip + 3), 2u);  // the tip is at the bottom
  EXPECT_EQ(down.At(2, tip), 2u);
  EXPECT_EQ(down.At(2, tip + 3), 0u);

  PixelBuffer right(11, 11, 0);
  DrawArrow(right.View(), right.View().Bounds(), ArrowDirection::kRight, 3);
  EXPECT_EQ(right.At(tip + 3, 5), 3u);
  EXPECT_EQ(right.At(tip + 3, 4), 0u);
  EXPECT_EQ(right.At(tip, 2), 3u);

  // An area partly outside the view is drawn where it is inside, nothing else happens.
  PixelBuffer small(3, 3, 0);
  DrawArrow(small.View(), {-4, -4, 4, 4}, ArrowDirection::kLeft, 4);
  DrawArrow(small.View(), {0, 0, 0, 0}, ArrowDirection::kLeft, 4);
  FrameRectPixels(small.View(), {-1, -1, 5, 5}, 5);
  EXPECT_EQ(small.At(1, 1), 4u);  // the arrow's widest column, clipped
  EXPECT_EQ(small.At(1, 2), 4u);
  EXPECT_EQ(small.At(0, 2), 0u);
  EXPECT_EQ(small.At(2, 2), 0u);  // the outline lies wholly outside
}

TEST(Outlines, OnePixelAroundTheRectangleOnly) {
  PixelBuffer buffer(6, 5, 0);
  FrameRectPixels(buffer.View(), {1, 1, 5, 4}, 9);
  EXPECT_EQ(buffer.At(1, 1), 9u);
  EXPECT_EQ(buffer.At(4, 3), 9u);
  EXPECT_EQ(buffer.At(2, 2), 0u);  // inside
  EXPECT_EQ(buffer.At(0, 0), 0u);  // outside
  EXPECT_EQ(buffer.At(5, 4), 0u);
  EXPECT_EQ(CentreIn({0, 0, 10, 10}, 4, 3), (SkinRect{3, 3, 7, 6}));
}

}  // namespace
}  // namespace qlt
