// The skinned tab control's arithmetic: sides, page area, strip, tabs in the strip, the strip
// turned into place, the page border's pieces and a tab's content.
#include <gtest/gtest.h>

#include "skin/controls/TabLayout.h"
#include "skin/data/BitmapTransforms.h"

namespace qlt {
namespace {

TEST(TabLayout, SideComesFromTheStyleBits) {
  EXPECT_EQ(TabSideOfStyle(0), TabSide::kTop);
  EXPECT_EQ(TabSideOfStyle(0x2), TabSide::kBottom);
  EXPECT_EQ(TabSideOfStyle(0x80), TabSide::kLeft);
  EXPECT_EQ(TabSideOfStyle(0x82), TabSide::kRight);
  // Other bits (buttons, multi-line, child window) change nothing.
  EXPECT_EQ(TabSideOfStyle(0x50000100u | 0x200), TabSide::kTop);
  EXPECT_TRUE(IsSideways(TabSide::kLeft));
  EXPECT_FALSE(IsSideways(TabSide::kBottom));
}

TEST(TabLayout, PageAreaAndStripOnEachSide) {
  // A 200 x 100 window whose pages sit at (4, 24)-(196, 96).
  TabStripLayout top = LayOutTabStrip(TabSide::kTop, 200, 100, {4, 24, 196, 96});
  EXPECT_EQ(top.page, (SkinRect{0, 21, 200, 100}));
  EXPECT_EQ(top.strip, (SkinRect{0, 0, 200, 21}));
  EXPECT_EQ(top.length, 200);
  EXPECT_EQ(top.thickness, 21);

  TabStripLayout bottom = LayOutTabStrip(TabSide::kBottom, 200, 100, {4, 4, 196, 76});
  EXPECT_EQ(bottom.page, (SkinRect{0, 0, 200, 79}));
  EXPECT_EQ(bottom.strip, (SkinRect{0, 79, 200, 100}));

  TabStripLayout left = LayOutTabStrip(TabSide::kLeft, 200, 100, {30, 4, 196, 96});
  EXPECT_EQ(left.page, (SkinRect{27, 0, 200, 100}));
  EXPECT_EQ(left.strip, (SkinRect{0, 0, 27, 100}));
  EXPECT_EQ(left.length, 100);  // along the window's height
  EXPECT_EQ(left.thickness, 27);

  TabStripLayout right = LayOutTabStrip(TabSide::kRight, 200, 100, {4, 4, 170, 96});
  EXPECT_EQ(right.page, (SkinRect{0, 0, 173, 100}));
  EXPECT_EQ(right.strip, (SkinRect{173, 0, 200, 100}));
  EXPECT_EQ(right.length, 100);
  EXPECT_EQ(right.thickness, 27);
}

TEST(TabLayout, NoRoomForTheStripGivesNoStrip) {
  // Pages that reach beyond the window's edge, a window of no size, an inverted display area.
  EXPECT_FALSE(LayOutTabStrip(TabSide::kTop, 200, 100, {4, 0, 196, 96}).HasStrip());
  EXPECT_FALSE(LayOutTabStrip(TabSide::kLeft, 0, 0, {4, 4, 10, 10}).HasStrip());
  EXPECT_FALSE(LayOutTabStrip(TabSide::kRight, 50, 50, {4, 4, 60, 40}).HasStrip());
  EXPECT_FALSE(LayOutTabStrip(TabSide::kBottom, 50, -5, {4, 4, 40, 40}).HasStrip());
  // A strip of no room puts nothing anywhere.
  TabStripLayout none = LayOutTabStrip(TabSide::kTop, 20, 20, {4, 0, 16, 16});
  PixelBuffer from(4, 4, 0x123456), to(20, 20, 0);
  PutStrip(TabSide::kTop, from.View(), none, to.View());
  for (int y = 0; y < 20; ++y) {
    for (int x = 0; x < 20; ++x) ASSERT_EQ(to.At(x, y), 0u);
  }
}

// A strip composed horizontally with a marked tab, turned into the window: the mark lands on the
// window's tab, moved one pixel towards the page; the turn is the one RotateLeft/RotateRight make.
TEST(TabLayout, TabsOfEverySideLandOnTheirWindowPlaces) {
  struct Case {
    TabSide side;
    SkinRect display;
    SkinRect tab;          // the system's tab, window coordinates
    SkinRect expected;     // where the composed tab shows in the window
  };
  const Case cases[] = {
      {TabSide::kTop, {4, 24, 196, 96}, {2, 2, 60, 20}, {2, 3, 60, 21}},
      {TabSide::kBottom, {4, 4, 196, 76}, {2, 80, 60, 98}, {2, 79, 60, 97}},
      {TabSide::kLeft, {30, 4, 196, 96}, {2, 10, 24, 50}, {3, 10, 25, 50}},
      {TabSide::kRight, {4, 4, 170, 96}, {176, 10, 198, 50}, {175, 10, 197, 50}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.side));
    const TabStripLayout l = LayOutTabStrip(c.side, 200, 100, c.display);
    ASSERT_TRUE(l.HasStrip());
    const SkinRect inStrip = TabInStrip(c.side, l, c.tab);
    EXPECT_EQ(inStrip.Width() * inStrip.Height(), c.tab.Width() * c.tab.Height());
    PixelBuffer strip(l.length, l.thickness, 0);
    strip.View().Fill(inStrip, 0xFF0000);
    // One corner marked apart: the tab's own top-left (its outer edge, where it starts).
    strip.View().At(inStrip.left, inStrip.top) = 0x00FF00;
    PixelBuffer window(200, 100, 0);
    PutStrip(c.side, strip.View(), l, window.View());
    int marked = 0;
    SkinRect seen{1000, 1000, -1, -1};
    for (int y = 0; y < 100; ++y) {
      for (int x = 0; x < 200; ++x) {
        if (window.At(x, y) == 0) continue;
        ++marked;
        seen = {std::min(seen.left, x), std::min(seen.top, y), std::max(seen.right, x + 1), std::max(seen.bottom, y + 1)};
        EXPECT_TRUE(l.strip.Contains(x, y));
      }
    }
    EXPECT_EQ(seen, c.expected);
    EXPECT_EQ(marked, c.expected.Width() * c.expected.Height());

    // The same turn as the image transforms make.
    if (IsSideways(c.side)) {
      Bitmap24 image(l.length, l.thickness);
      for (int y = 0; y < l.thickness; ++y) {
        for (int x = 0; x < l.length; ++x) {
          const Pixel32 p = strip.At(x, y);
          image.At(x, y) = Bgr{static_cast<uint8_t>(p), static_cast<uint8_t>(p >> 8), static_cast<uint8_t>(p >> 16)};
        }
      }
      if (c.side == TabSide::kLeft) RotateLeft(image); else RotateRight(image);
      ASSERT_EQ(image.Width(), l.strip.Width());
      ASSERT_EQ(image.Height(), l.strip.Height());
      for (int y = 0; y < image.Height(); ++y) {
        for (int x = 0; x < image.Width(); ++x) {
          ASSERT_EQ(ToPixel32(image.At(x, y)), window.At(l.strip.left + x, l.strip.top + y)) << x << "," << y;
        }
      }
    }
  }
}

TEST(TabLayout, PageBorderHasEdgesAndCornersButNoCentre) {
  EXPECT_EQ(PageBorderMargins(TabSide::kTop), (SkinMargins{4, 5, 4, 4}));
  EXPECT_EQ(PageBorderMargins(TabSide::kBottom), (SkinMargins{4, 4, 4, 5}));
  EXPECT_EQ(PageBorderMargins(TabSide::kLeft), (SkinMargins{5, 4, 4, 4}));
  EXPECT_EQ(PageBorderMargins(TabSide::kRight), (SkinMargins{4, 4, 5, 4}));

  const SkinRect page{10, 20, 110, 80};
  const auto pieces = PageBorderPieces({0, 0, 29, 28}, {4, 5, 4, 4}, page);
  EXPECT_EQ(pieces.size(), 8u);
  const SkinRect centre{14, 25, 106, 76};
  for (const SlicePiece& p : pieces) {
    EXPECT_NE(p.dest, centre);
    EXPECT_TRUE(p.dest.Intersect(centre).Empty());
    EXPECT_FALSE(p.tiled);  // stretched
  }
  // Painted, the centre keeps what was there; the frame is the cell's.
  Bitmap24 image(29, 28, RgbPixel(1, 2, 3));
  PixelBuffer view(120, 100, 0x777777);
  DrawPieces(view.View(), image, pieces, BlendMode::kCopy);
  EXPECT_EQ(view.At(60, 50), 0x777777u);
  EXPECT_EQ(view.At(10, 20), ToPixel32(RgbPixel(1, 2, 3)));
  EXPECT_EQ(view.At(109, 79), ToPixel32(RgbPixel(1, 2, 3)));
  EXPECT_EQ(view.At(60, 24), ToPixel32(RgbPixel(1, 2, 3)));
  EXPECT_EQ(view.At(60, 25), 0x777777u);
  // A border image with no middle (8 x 20 for margins 4 + 4 across): nothing over the pages, the
  // ring whole.
  PixelBuffer ring(120, 100, 0x777777);
  DrawPieces(ring.View(), Bitmap24(8, 20, RgbPixel(1, 2, 3)), PageBorderPieces({0, 0, 8, 20}, {4, 5, 4, 4}, page),
             BlendMode::kCopy);
  for (int y = page.top; y < page.bottom; ++y) {
    for (int x = page.left; x < page.right; ++x) {
      EXPECT_EQ(ring.At(x, y) == 0x777777u, centre.Contains(x, y)) << x << "," << y;
    }
  }
  // An empty page area or cell gives nothing.
  EXPECT_TRUE(PageBorderPieces({0, 0, 29, 28}, {4, 5, 4, 4}, {10, 10, 10, 50}).empty());
  EXPECT_TRUE(PageBorderPieces({}, {4, 5, 4, 4}, page).empty());
}

TEST(TabLayout, ContentIsCentredImageFirstAndClippedToTheTab) {
  // Text only, 30 wide in a 60 x 18 tab.
  TabContentPlacement p = PlaceTabContent(60, 18, 0, 0, 30);
  EXPECT_TRUE(p.image.Empty());
  EXPECT_EQ(p.text, (SkinRect{15, 0, 45, 18}));
  // Image 16 x 16 and text 20: 37 together, starting at (80 - 37) / 2.
  p = PlaceTabContent(80, 20, 16, 16, 20);
  EXPECT_EQ(p.image, RectOfSize(21, 2, 16, 16));
  EXPECT_EQ(p.text, (SkinRect{38, 0, 58, 20}));
  // Too wide: starts 2 in, the text ends 2 before the tab's end (drawn with an ellipsis).
  p = PlaceTabContent(40, 18, 0, 0, 100);
  EXPECT_EQ(p.text, (SkinRect{2, 0, 38, 18}));
  // A tab of no width leaves an empty text place, never an inverted one.
  p = PlaceTabContent(0, 18, 16, 16, 10);
  EXPECT_FALSE(p.text.Inverted());
  p = PlaceTabContent(10, -4, 0, 0, -3);
  EXPECT_FALSE(p.text.Inverted());
}

}  // namespace
}  // namespace qlt
