// The skinned buttons' and check marks' cells and placements.
#include <gtest/gtest.h>

#include "skin/controls/ControlLayout.h"

namespace qlt {
namespace {

TEST(ButtonCells, StatesPickTheirCellsInOrder) {
  ButtonState s;
  EXPECT_EQ(PushButtonCell(s), kButtonCellNormal);
  s.focused = true;
  EXPECT_EQ(PushButtonCell(s), kButtonCellHot);
  s.isDefault = true;
  EXPECT_EQ(PushButtonCell(s), kButtonCellDefault);  // default before focus
  EXPECT_EQ(BitButtonCell(s), kButtonCellHot);       // a bit button shows focus before default
  s.hot = s.pressed = true;
  EXPECT_EQ(PushButtonCell(s), kButtonCellPressed);
  s.disabled = true;
  EXPECT_EQ(PushButtonCell(s), kButtonCellDisabled);
  EXPECT_EQ(SpeedButtonCell(s), kButtonCellDisabled);
  s.down = true;  // a disabled speed button that is down shows down
  EXPECT_EQ(SpeedButtonCell(s), kButtonCellPressed);
}

TEST(ButtonGlyphs, FourCellGlyphsFollowTheStateOthersShowTheirFirstCell) {
  EXPECT_EQ(GlyphCellFor(kButtonCellPressed, 4).cell, 3);
  EXPECT_EQ(GlyphCellFor(kButtonCellDisabled, 4).cell, 2);
  EXPECT_EQ(GlyphCellFor(kButtonCellPressed, 2).cell, 1);
  EXPECT_EQ(GlyphCellFor(kButtonCellDisabled, 2).cell, 1);
  EXPECT_TRUE(GlyphCellFor(kButtonCellDisabled, 2).greyed);
  EXPECT_FALSE(GlyphCellFor(kButtonCellHot, 1).greyed);
  EXPECT_EQ(GlyphCellFor(kButtonCellNormal, 0).cell, 1);
}

TEST(ButtonGlyphs, GlyphAndCaptionArePlacedByLayoutMarginAndSpacing) {
  // 100 x 30 button, 16 x 16 glyph, 40 x 12 text, both automatic: margin = spacing = (100 - 56) / 3.
  GlyphTextPlacement p = PlaceGlyphAndText(100, 30, 16, 16, 40, 12, -1, -1, GlyphLayout::kLeft, false, false);
  EXPECT_EQ(p.glyph, RectOfSize(14, 7, 16, 16));
  EXPECT_EQ(p.text, RectOfSize(14 + 16 + 14, 9, 40, 12));
  // Spacing given: the pair is centred; a speed button's margin is one pixel more.
  p = PlaceGlyphAndText(100, 30, 16, 16, 40, 12, -1, 4, GlyphLayout::kRight, false, false);
  EXPECT_EQ(p.glyph.left, 100 - 20 - 16);
  EXPECT_EQ(p.text.right, p.glyph.left - 4);
  EXPECT_EQ(PlaceGlyphAndText(100, 30, 16, 16, 40, 12, -1, 4, GlyphLayout::kLeft, false, true).glyph.left, 21);
  // Margin given, spacing automatic; top layout centres across.
  p = PlaceGlyphAndText(60, 80, 16, 16, 40, 12, 5, -1, GlyphLayout::kTop, false, false);
  EXPECT_EQ(p.glyph, RectOfSize(22, 5, 16, 16));
  EXPECT_EQ(p.text.top, 5 + 16 + (80 - 21 - 12) / 2);
  // No caption: no spacing; centred alignment ignores the margin given.
  p = PlaceGlyphAndText(100, 30, 16, 16, 0, 0, 3, 8, GlyphLayout::kBottom, true, false);
  EXPECT_EQ(p.glyph.top, 30 - 7 - 16);
}

TEST(CheckMarks, MarkSitsOverTheSystemsOnEitherSide) {
  // A 13-pixel cell sits 2 pixels in, a 9-pixel cell 4; radio marks have no 2-pixel offset.
  EXPECT_EQ(PlaceMark(100, 17, 13, 13, 13, false, false).mark, (SkinRect{2, 2, 15, 15}));
  EXPECT_EQ(PlaceMark(100, 17, 9, 9, 13, false, false).mark.left, 4);
  EXPECT_EQ(PlaceMark(100, 17, 9, 9, 13, false, true).mark.left, 2);
  EXPECT_EQ(PlaceMark(100, 17, 13, 13, 13, false, false).face, (SkinRect{0, 2, 16, 15}));
  // Box on the right.
  const MarkPlacement right = PlaceMark(100, 17, 13, 13, 13, true, false);
  EXPECT_EQ(right.mark, (SkinRect{100 - 0 - 13, 2, 100, 15}));
  EXPECT_EQ(right.face, (SkinRect{84, 2, 100, 15}));
  EXPECT_EQ(PlaceMark(100, 17, 16, 16, 13, true, false).mark.right, 99);
}

TEST(GroupBoxes, FrameCaptionAndPaintedBandsAlongTheEdges) {
  // A 12-pixel font: the line half a text height down, less one.
  GroupBoxLayout g = LayOutGroupBox(200, 100, 12, 40);
  EXPECT_EQ(g.frame, (SkinRect{1, 5, 199, 99}));
  EXPECT_EQ(g.caption, (SkinRect{9, 0, 49, 12}));
  EXPECT_EQ(g.bands[0], (SkinRect{0, 0, 200, 12}));
  EXPECT_EQ(g.bands[1], (SkinRect{0, 12, 3, 100}));
  EXPECT_EQ(g.bands[2], (SkinRect{197, 12, 200, 100}));
  EXPECT_EQ(g.bands[3], (SkinRect{3, 97, 197, 100}));
  // The bands hold the frame's lines, its corners and the system's etched lines (two pixels
  // along each edge, the top pair at half the text height).
  const SkinRect& top = g.bands[0];
  EXPECT_TRUE(top.Contains(100, g.frame.top));
  EXPECT_TRUE(top.Contains(100, 12 / 2 + 1));
  EXPECT_TRUE(g.bands[3].Contains(100, g.frame.bottom - 1));
  EXPECT_TRUE(g.bands[2].Contains(g.frame.right - 1, 50));

  // No caption: nothing to write, the frame all the same; a small font still covers the corners.
  g = LayOutGroupBox(200, 100, 4, 0);
  EXPECT_TRUE(g.caption.Empty());
  EXPECT_EQ(g.frame.top, 1);
  EXPECT_EQ(g.bands[0].bottom, 4);
  // A caption wider than the box stops at its edge; no font gives a line at the very top.
  g = LayOutGroupBox(60, 30, 12, 500);
  EXPECT_EQ(g.caption.right, 60);
  EXPECT_EQ(LayOutGroupBox(60, 30, 0, 10).frame.top, 0);
  EXPECT_TRUE(LayOutGroupBox(60, 30, 0, 10).caption.Empty());
  // Too small for the bands: nothing inverted, nothing outside the box.
  g = LayOutGroupBox(4, 5, 12, 10);
  for (const SkinRect& band : g.bands) {
    EXPECT_FALSE(band.Inverted());
    EXPECT_GE(band.left, 0);
    EXPECT_LE(band.right, 4);
    EXPECT_LE(band.bottom, 5);
  }
}

}  // namespace
}  // namespace qlt
