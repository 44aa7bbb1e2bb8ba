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
  EXPECT_EQ(r.text, (SkinRect{2, 2, 100, 19}));  // right - button - 4
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

TEST(ComboParts, TheTextAreaTakesInWhatTheControlPaintsItself) {
  const ComboLayout r = LayOutCombo(150, 20, 17, false);
  // The control's item reaches two columns nearer the button than the layout's text area.
  EXPECT_EQ(r.text, (SkinRect{2, 2, 129, 18}));
  EXPECT_EQ(ComboTextArea(r, {2, 2, 131, 18}), (SkinRect{2, 2, 131, 18}));
  EXPECT_EQ(ComboTextArea(r, {3, 1, 130, 17}), (SkinRect{2, 1, 130, 18}));
  EXPECT_EQ(ComboTextArea(r, {4, 4, 100, 16}), r.text);  // inside: unchanged
  EXPECT_EQ(ComboTextArea(r, {}), r.text);               // unknown
  EXPECT_EQ(ComboTextArea(LayOutCombo(10, 20, 17, false), {2, 2, 5, 18}), (SkinRect{2, 2, 5, 18}));
}

TEST(ComboParts, ALeftButtonMovesTheControlsItemAndEditRightOnlyWhenTheyLieUnderIt) {
  const ComboLayout l = LayOutCombo(150, 20, 17, true);  // text 21..148, button 0..19
  const MirroredCombo list = MirrorCombo(l, {2, 2, 131, 18}, {});
  EXPECT_TRUE(list.needed);
  EXPECT_EQ(list.shift, 19);
  EXPECT_TRUE(list.edit.Empty());
  const MirroredCombo edit = MirrorCombo(l, {3, 3, 130, 17}, {3, 3, 130, 17});
  EXPECT_TRUE(edit.needed);
  EXPECT_EQ(edit.edit, (SkinRect{22, 3, 147, 17}));
  // A control that already keeps its item right of the button, or tells nothing: left alone.
  EXPECT_FALSE(MirrorCombo(l, {21, 2, 148, 18}, {}).needed);
  EXPECT_FALSE(MirrorCombo(l, {}, {}).needed);
  EXPECT_FALSE(MirrorCombo(LayOutCombo(10, 20, 17, true), {2, 2, 5, 18}, {}).needed);
}

TEST(ShiftedPixels, MoveRightOverThemselvesAndStopAtTheClip) {
  PixelBuffer buffer(8, 2, 0);
  const PixelView view = buffer.View();
  for (int x = 0; x < 8; ++x) view.At(x, 0) = static_cast<Pixel32>(x + 1);
  ShiftPixels(view, {0, 0, 5, 1}, 2, {1, 0, 6, 2});
  // Columns 2..5 now hold what was at 0..3; column 6 and beyond and row 1 are untouched.
  const Pixel32 row[8] = {1, 2, 1, 2, 3, 4, 7, 8};
  for (int x = 0; x < 8; ++x) EXPECT_EQ(view.At(x, 0), row[x]) << x;
  EXPECT_EQ(view.At(3, 1), 0u);
  // A source partly outside the view moves only what is inside; a shift out of the view does nothing.
  ShiftPixels(view, {-3, 0, 2, 1}, 3, view.Bounds());
  EXPECT_EQ(view.At(3, 0), 1u);
  EXPECT_EQ(view.At(4, 0), 2u);
  EXPECT_EQ(view.At(2, 0), 1u);  // would come from column -1: left as it was
  ShiftPixels(view, {0, 0, 8, 2}, 20, view.Bounds());
  EXPECT_EQ(view.At(7, 0), 8u);
  ShiftPixels(PixelView(), {0, 0, 8, 2}, 1, {0, 0, 8, 2});
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
  // About +-2^30: around the view nothing shows; across it, the one side inside.
  PixelBuffer view(10, 10, 0);
  FrameRectPixels(view.View(), {-(1 << 30), -(1 << 30), 1 << 30, 1 << 30}, 9);
  FrameRectPixels(view.View(), {-(1 << 30), 3, 1 << 30, 1 << 30}, 7);
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 10; ++x) EXPECT_EQ(view.At(x, y), y == 3 ? 7u : 0u) << x << "," << y;
  EXPECT_EQ(CentreIn({0, 0, 10, 10}, 4, 3), (SkinRect{3, 3, 7, 6}));
}

}  // namespace
}  // namespace qlt
