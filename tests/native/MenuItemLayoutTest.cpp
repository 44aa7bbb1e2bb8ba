// The arithmetic of skinned menus: separator pieces (clamped), where glyph, caption and shortcut
// go in both directions, the skin's widening and the popup's border strips.
#include <gtest/gtest.h>

#include <climits>
#include <set>
#include <utility>

#include "skin/menus/MenuItemLayout.h"

namespace qlt {
namespace {

// Every pixel of `area` covered exactly once by the pieces' destinations.
bool CoversOnce(const std::vector<SlicePiece>& pieces, const SkinRect& area) {
  std::set<std::pair<int, int>> seen;
  for (const SlicePiece& p : pieces) {
    for (int y = p.dest.top; y < p.dest.bottom; ++y) {
      for (int x = p.dest.left; x < p.dest.right; ++x) {
        if (!area.Contains(x, y) || !seen.insert({x, y}).second) return false;
      }
    }
  }
  return static_cast<int>(seen.size()) == area.Width() * area.Height();
}

TEST(MenuItemLayout, CellsOfTheItemImage) {
  EXPECT_EQ(MenuItemCell(false, false), 1);
  EXPECT_EQ(MenuItemCell(false, true), 4);
  EXPECT_EQ(MenuItemCell(true, false), 2);
  EXPECT_EQ(MenuItemCell(true, true), 2);  // a separator is never selected-looking
}

TEST(MenuItemLayout, SeparatorKeepsItsEndsStretchesItsMiddleAndShowsTheCellsBottomRows) {
  const SkinRect cell{100, 0, 140, 16};  // cell 2 of a 40 x 16 image
  // An 8-pixel separator, 120 wide: the bottom 8 rows of the cell; ends of 5 and 3 one to one.
  const SkinRect dest{0, 0, 120, 8};
  const auto pieces = SeparatorPieces(cell, 5, 3, dest);
  ASSERT_EQ(pieces.size(), 3u);
  EXPECT_TRUE(CoversOnce(pieces, dest));
  for (const SlicePiece& p : pieces) {
    EXPECT_EQ(p.source.top, 8);
    EXPECT_EQ(p.source.bottom, 16);
    EXPECT_FALSE(p.tiled);
  }
  EXPECT_EQ(pieces[0].source, (SkinRect{100, 8, 105, 16}));
  EXPECT_EQ(pieces[0].dest, (SkinRect{0, 0, 5, 8}));
  EXPECT_EQ(pieces[1].source, (SkinRect{105, 8, 137, 16}));
  EXPECT_EQ(pieces[1].dest, (SkinRect{5, 0, 117, 8}));
  EXPECT_EQ(pieces[2].source, (SkinRect{137, 8, 140, 16}));
  EXPECT_EQ(pieces[2].dest, (SkinRect{117, 0, 120, 8}));

  // A separator as tall as the cell or taller uses every row (stretched down).
  for (const SlicePiece& p : SeparatorPieces(cell, 5, 3, SkinRect{0, 4, 60, 30})) {
    EXPECT_EQ(p.source.top, 0);
    EXPECT_EQ(p.source.bottom, 16);
  }
}

TEST(MenuItemLayout, SeparatorSideWidthsBeyondTheCellOrTheItemAreClamped) {
  const SkinRect cell{20, 0, 40, 16};
  const SkinRect dest{10, 50, 110, 58};
  struct Case {
    int left, right;
    SkinRect dest;
  } cases[] = {
      {30, 30, dest},               // each side wider than the cell
      {15, 15, dest},               // together wider than the cell
      {-4, 50, dest},               // nonsense from a damaged description
      {5, 3, SkinRect{0, 0, 6, 8}}, // an item narrower than both ends
      {20, 0, dest},                // the left part takes the whole cell
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.left << "/" << c.right << " into " << c.dest.Width());
    const auto pieces = SeparatorPieces(cell, c.left, c.right, c.dest);
    ASSERT_FALSE(pieces.empty());
    // Nothing mirrored or outside: every piece reads inside the cell and writes inside the item,
    // and together they fill the item exactly once.
    for (const SlicePiece& p : pieces) {
      EXPECT_FALSE(p.source.Inverted());
      EXPECT_FALSE(p.dest.Inverted());
      EXPECT_EQ(p.source.Intersect(cell), p.source);
    }
    EXPECT_TRUE(CoversOnce(pieces, c.dest));
  }
  // Without room for both ends the whole cell is stretched over the item.
  const auto narrow = SeparatorPieces(cell, 5, 3, SkinRect{0, 0, 6, 8});
  ASSERT_EQ(narrow.size(), 1u);
  EXPECT_EQ(narrow[0].source, (SkinRect{20, 8, 40, 16}));
  // An empty cell or item draws nothing.
  EXPECT_TRUE(SeparatorPieces(SkinRect{}, 3, 3, dest).empty());
  EXPECT_TRUE(SeparatorPieces(cell, 3, 3, SkinRect{5, 5, 5, 13}).empty());
}

TEST(MenuItemLayout, GlyphSquare) {
  EXPECT_EQ(MenuGlyphSize(0, false, false), 16);
  EXPECT_EQ(MenuGlyphSize(24, true, false), 24);
  EXPECT_EQ(MenuGlyphSize(12, true, false), 12);
  EXPECT_EQ(MenuGlyphSize(12, true, true), 16);  // room for the check mark
  EXPECT_EQ(MenuGlyphSize(-5, true, false), 0);
}

TEST(MenuItemLayout, GlyphCaptionAndShortcutLeftToRightAndMirrored) {
  const SkinRect item{3, 20, 163, 38};  // 160 x 18 at the popup's border
  const int band = 3, glyph = 16;
  const MenuItemPlaces ltr = PlaceMenuItem(item, glyph, band, false, false);
  EXPECT_EQ(ltr.glyph, (SkinRect{7, 21, 23, 37}));
  EXPECT_EQ(ltr.text, (SkinRect{26, 20, 162, 38}));
  const SkinRect caption = CaptionRect(ltr, item, 50, 12, false);
  EXPECT_EQ(caption, (SkinRect{26, 23, 76, 35}));  // centred: (18 - 12) / 2 below the top
  EXPECT_EQ(ShortcutRect(ltr, item, caption, false), (SkinRect{76, 23, 152, 35}));

  // Right to left: the same places mirrored inside the item.
  const MenuItemPlaces rtl = PlaceMenuItem(item, glyph, band, false, true);
  auto mirrored = [&](const SkinRect& r) {
    return SkinRect{item.left + item.right - r.right, r.top, item.left + item.right - r.left, r.bottom};
  };
  EXPECT_EQ(rtl.glyph, mirrored(ltr.glyph));
  EXPECT_EQ(rtl.text, mirrored(ltr.text));
  const SkinRect rtlCaption = CaptionRect(rtl, item, 50, 12, true);
  EXPECT_EQ(rtlCaption, mirrored(caption));
  // The shortcut starts 10 pixels into the caption's room and ends where the caption starts.
  EXPECT_EQ(ShortcutRect(rtl, item, rtlCaption, true), (SkinRect{rtl.text.left + 10, 23, rtlCaption.left, 35}));

  // A caption that fills the room leaves no room for a shortcut, never an inverted one.
  const SkinRect wide = CaptionRect(ltr, item, 140, 12, false);
  EXPECT_TRUE(ShortcutRect(ltr, item, wide, false).Empty());
  EXPECT_FALSE(ShortcutRect(ltr, item, wide, false).Inverted());

  // A separator has no glyph; without a band the glyph sits one pixel in.
  EXPECT_TRUE(PlaceMenuItem(item, glyph, band, true, false).glyph.Empty());
  EXPECT_EQ(PlaceMenuItem(item, glyph, 0, false, false).glyph.left, item.left + 1);
  EXPECT_EQ(PlaceMenuItem(item, glyph, -7, false, false).glyph.left, item.left + 1);
}

TEST(MenuItemLayout, TheSkinWidensItemsForItsBandAndGlyphColumn) {
  EXPECT_EQ(SkinnedPopupItemWidth(100, 3, true), 115);
  EXPECT_EQ(SkinnedPopupItemWidth(100, 3, false), 138);
  EXPECT_EQ(SkinnedPopupItemWidth(100, 0, false), 135);
  EXPECT_EQ(SkinnedMainMenuItemWidth(100, 5, true), 115);
  EXPECT_EQ(SkinnedMainMenuItemWidth(100, 5, false), 140);
  EXPECT_EQ(SkinnedMainMenuItemWidth(100, -3, true), 110);
  // A band or a measured width at int's limit (no reader clamped them) saturates, never wraps.
  EXPECT_EQ(SkinnedPopupItemWidth(100, INT_MAX, false), INT_MAX);
  EXPECT_EQ(SkinnedMainMenuItemWidth(INT_MAX, 5, false), INT_MAX);
  const MenuItemPlaces places = PlaceMenuItem({0, 0, 120, 20}, 16, INT_MAX, false, false);
  EXPECT_EQ(places.glyph.left, INT_MAX);
  EXPECT_TRUE(places.text.Empty());
}

TEST(MenuItemLayout, BorderStripsRingThePopupOnce) {
  for (const auto& [w, h] : {std::pair{120, 90}, std::pair{7, 7}, std::pair{6, 6}, std::pair{4, 10}, std::pair{2, 2}}) {
    SCOPED_TRACE(testing::Message() << w << " x " << h);
    const auto strips = PopupBorderStrips(w, h);
    std::set<std::pair<int, int>> seen;
    for (const SkinRect& s : strips) {
      EXPECT_FALSE(s.Inverted());
      for (int y = s.top; y < s.bottom; ++y) {
        for (int x = s.left; x < s.right; ++x) EXPECT_TRUE(seen.insert({x, y}).second) << x << "," << y;
      }
    }
    // Exactly the pixels within three of an edge.
    for (int y = 0; y < h; ++y) {
      for (int x = 0; x < w; ++x) {
        const bool border = x < 3 || y < 3 || x >= w - 3 || y >= h - 3;
        EXPECT_EQ(seen.count({x, y}) == 1, border) << x << "," << y;
      }
    }
  }
  EXPECT_EQ(PopupBorderStrips(120, 90)[0], (SkinRect{0, 0, 120, 3}));
  EXPECT_EQ(PopupBorderStrips(120, 90)[3], (SkinRect{117, 3, 120, 87}));
}

}  // namespace
}  // namespace qlt
