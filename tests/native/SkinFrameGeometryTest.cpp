// The skin painters' arithmetic: cells, nine-slice and strip pieces, pixels with the transparent
// colour, window shapes from pixels.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <set>
#include <utility>

#include "skin/frame/SkinGeometry.h"
#include "skin/frame/SkinPixels.h"

namespace qlt {
namespace {

// An image whose every pixel tells where it came from: red = x, green = y, blue = 7.
Bitmap24 Numbered(int w, int h) {
  Bitmap24 image(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) image.At(x, y) = RgbPixel(static_cast<uint8_t>(x), static_cast<uint8_t>(y), 7);
  return image;
}
std::pair<int, int> SourceOf(Pixel32 p) { return {static_cast<int>((p >> 16) & 0xFF), static_cast<int>((p >> 8) & 0xFF)}; }

TEST(SkinCells, CountsAndIndexesAreClampedIntoTheImage) {
  EXPECT_EQ(CellRect(40, 10, 4, 2, CellLayout::kSideBySide), RectOfSize(10, 0, 10, 10));
  EXPECT_EQ(CellRect(10, 40, 4, 3, CellLayout::kStacked), RectOfSize(0, 20, 10, 10));
  // A count of 0 or less is one cell; an index outside 1..count is the nearest cell.
  EXPECT_EQ(CellRect(40, 10, 0, 1, CellLayout::kSideBySide), RectOfSize(0, 0, 40, 10));
  EXPECT_EQ(CellRect(40, 10, -3, 5, CellLayout::kSideBySide), RectOfSize(0, 0, 40, 10));
  EXPECT_EQ(CellRect(40, 10, 4, 9, CellLayout::kSideBySide), RectOfSize(30, 0, 10, 10));
  EXPECT_EQ(CellRect(40, 10, 4, 0, CellLayout::kSideBySide), RectOfSize(0, 0, 10, 10));
  // More cells than pixels: empty cells, never outside the image; an empty image has none.
  EXPECT_TRUE(CellRect(3, 10, 5, 5, CellLayout::kSideBySide).Empty());
  EXPECT_TRUE(CellRect(0, 0, 2, 1, CellLayout::kStacked).Empty());
}

TEST(SkinNineSlice, CornersAreCopiedEdgesStretchedAndTheCentreTiledOrStretched) {
  const Bitmap24 image = Numbered(20, 12);  // one cell, margins 3, 2, 4, 5
  const SkinMargins m{3, 2, 4, 5};
  for (bool tile : {false, true}) {
    PixelBuffer out(50, 30, 0xABCDEF);
    DrawNineSlice(out.View(), {0, 0, 50, 30}, image, 1, 1, CellLayout::kSideBySide, m, tile, BlendMode::kCopy);
    // All four corners pixel for pixel: {left, top} in the destination and in the image, size.
    for (auto [dx, dy, sx, sy, w, h] : {std::array{0, 0, 0, 0, 3, 2}, {50 - 4, 0, 20 - 4, 0, 4, 2},
                                        {0, 30 - 5, 0, 12 - 5, 3, 5}, {50 - 4, 30 - 5, 20 - 4, 12 - 5, 4, 5}}) {
      for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) EXPECT_EQ(SourceOf(out.At(dx + x, dy + y)), std::make_pair(sx + x, sy + y));
    }
    // Edges keep their rows or columns; every pixel comes from inside the right piece.
    for (int x = 3; x < 46; ++x) {
      auto [sx, sy] = SourceOf(out.At(x, 0));
      EXPECT_TRUE(sx >= 3 && sx < 16 && sy == 0) << x;
    }
    for (int y = 2; y < 25; ++y) {
      auto [sx, sy] = SourceOf(out.At(49, y));
      EXPECT_TRUE(sx == 19 && sy >= 2 && sy < 7) << y;
    }
    // The centre: tiled repeats the source at its own size, stretched spreads it.
    EXPECT_EQ(SourceOf(out.At(3, 2)), std::make_pair(3, 2));
    if (tile) {
      EXPECT_EQ(SourceOf(out.At(3 + 13, 2 + 5)), std::make_pair(3, 2));
      EXPECT_EQ(SourceOf(out.At(45, 24)), std::make_pair(3 + 42 % 13, 2 + 22 % 5));
    } else {
      EXPECT_EQ(SourceOf(out.At(3 + 13, 2 + 5)), std::make_pair(3 + 13 * 13 / 43, 2 + 5 * 5 / 23));
      EXPECT_EQ(SourceOf(out.At(45, 24)), std::make_pair(15, 6));
    }
  }
}

TEST(SkinNineSlice, SmallDestinationsAndOversizedMarginsStayInsideBothRectangles) {
  const Bitmap24 image = Numbered(20, 12);
  // Narrower than both side margins: the whole cell width is stretched across.
  auto pieces = NineSlicePieces({0, 0, 20, 12}, {8, 2, 8, 2}, {0, 0, 10, 30}, false);
  for (const SlicePiece& p : pieces) {
    EXPECT_FALSE(p.dest.Inverted());
    EXPECT_GE(p.dest.left, 0);
    EXPECT_LE(p.dest.right, 10);
  }
  PixelBuffer out(10, 30);
  DrawNineSlice(out.View(), {0, 0, 10, 30}, image, 1, 1, CellLayout::kSideBySide, {8, 2, 8, 2}, false, BlendMode::kCopy);
  EXPECT_EQ(SourceOf(out.At(9, 0)).first, 18);
  // Margins beyond the cell (negative ones too) are clamped: pieces cover the destination once.
  // Margins that leave the cell no middle (10 + 10 of 20, 6 + 6 of 12) leave no gap either.
  for (SkinMargins m : {SkinMargins{30, 40, 30, 40}, SkinMargins{-5, -5, 25, 0}, SkinMargins{10, 6, 10, 6}}) {
    auto clamped = NineSlicePieces({0, 0, 20, 12}, m, {0, 0, 64, 48}, true);
    long long area = 0;
    for (const SlicePiece& p : clamped) {
      EXPECT_FALSE(p.source.Empty());
      EXPECT_TRUE(p.source.Intersect({0, 0, 20, 12}) == p.source);
      area += static_cast<long long>(p.dest.Width()) * p.dest.Height();
    }
    EXPECT_LE(area, 64 * 48);
    PixelBuffer covered(64, 48, 0xFFFFFFFF);
    DrawNineSlice(covered.View(), {0, 0, 64, 48}, image, 1, 1, CellLayout::kSideBySide, m, true, BlendMode::kCopy);
    int gaps = 0;
    for (int y = 0; y < 48; ++y) {
      for (int x = 0; x < 64; ++x) gaps += covered.At(x, y) == 0xFFFFFFFF;
    }
    EXPECT_EQ(gaps, 0) << m.left << "," << m.top << "," << m.right << "," << m.bottom;
  }
  // A cell from a 0-count image description, and an inverted destination, draw nothing.
  PixelBuffer untouched(5, 5, 1);
  DrawNineSlice(untouched.View(), {4, 4, 2, 2}, image, 0, 7, CellLayout::kStacked, {}, true, BlendMode::kCopy);
  EXPECT_EQ(untouched.At(3, 3), 1u);
}

TEST(SkinStrip, EndsAreFixedAndTheMiddleRepeatsAtItsOwnWidth) {
  const Bitmap24 image = Numbered(10, 4);  // left part 2, middle 5, right part 3
  PixelBuffer out(23, 8);
  DrawStrip(out.View(), {0, 0, 23, 8}, image, 1, 1, CellLayout::kSideBySide, 2, 3, BlendMode::kCopy);
  EXPECT_EQ(SourceOf(out.At(0, 0)).first, 0);
  EXPECT_EQ(SourceOf(out.At(1, 7)).first, 1);
  EXPECT_EQ(SourceOf(out.At(2, 0)).first, 2);
  EXPECT_EQ(SourceOf(out.At(7, 0)).first, 2);   // second copy of the middle
  EXPECT_EQ(SourceOf(out.At(19, 0)).first, 4);  // the last copy is cut before the right end
  EXPECT_EQ(SourceOf(out.At(20, 0)).first, 7);
  EXPECT_EQ(SourceOf(out.At(22, 7)).first, 9);
  EXPECT_EQ(SourceOf(out.At(22, 7)).second, 3);  // stretched to the height
  // Parts wider than the cell, or a middle of one column: no endless loop, no piece outside.
  EXPECT_EQ(StripPieces({0, 0, 10, 4}, 9, 9, {0, 0, 100, 4}).size(), 2u);
  EXPECT_EQ(StripPieces({0, 0, 10, 4}, 4, 5, {0, 0, 500, 4}).size(), 3u);
  // A strip of +-2^30 lists only the repeats that show; ends wider than the strip are cut at its edge.
  EXPECT_LE(StripPieces({0, 0, 10, 4}, 2, 3, {-(1 << 30), 0, 1 << 30, 4}, {0, 0, 100, 4}).size(), 100 / 5 + 4u);
  for (const SlicePiece& p : StripPieces({0, 0, 10, 4}, 4, 4, {0, 0, 5, 4})) {
    EXPECT_EQ(p.dest.Intersect({0, 0, 5, 4}), p.dest);
    EXPECT_EQ(p.source.Width(), p.dest.Width());
  }
}

TEST(SkinPixels, MagentaIsTransparentWithItsTolerance) {
  Bitmap24 image(3, 1);
  image.At(0, 0) = RgbPixel(255, 0, 255);
  image.At(1, 0) = RgbPixel(255, 1, 255);
  image.At(2, 0) = RgbPixel(255, 2, 255);
  PixelBuffer out(3, 1, 0x123456);
  StretchImage(out.View(), {0, 0, 3, 1}, image, {0, 0, 3, 1}, BlendMode::kKeyTransparent);
  EXPECT_EQ(out.At(0, 0), 0x123456u);
  EXPECT_EQ(out.At(1, 0), 0x123456u);
  EXPECT_EQ(out.At(2, 0), 0xFF02FFu);
  // A source rectangle outside the image (a damaged description) draws nothing.
  StretchImage(out.View(), {0, 0, 3, 1}, image, {1, 0, 9, 1}, BlendMode::kCopy);
  EXPECT_EQ(out.At(0, 0), 0x123456u);
}

TEST(SkinRegions, OpaqueRectanglesCoverExactlyTheOpaquePixels) {
  // A window corner rounded by magenta, a hole, and a plain area below.
  const char* rows[] = {"..XXXXXX..", ".XXXXXXXX.", "XXXX..XXXX", "XXXX..XXXX", "XXXXXXXXXX", "XXXXXXXXXX"};
  PixelBuffer shape(10, 6);
  for (int y = 0; y < 6; ++y)
    for (int x = 0; x < 10; ++x) shape.View().At(x, y) = rows[y][x] == '.' ? 0xFF01FF : 0x404040;
  const auto rects = OpaqueRects(shape.View(), {0, 0, 10, 6}, 100, 200);
  std::set<std::pair<int, int>> covered;
  for (const SkinRect& r : rects)
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left; x < r.right; ++x) EXPECT_TRUE(covered.insert({x - 100, y - 200}).second) << "overlap";
  for (int y = 0; y < 6; ++y)
    for (int x = 0; x < 10; ++x) EXPECT_EQ(covered.count({x, y}) == 1, rows[y][x] == 'X') << x << "," << y;
  // Equal runs of consecutive rows merge: the two plain rows are one rectangle.
  EXPECT_NE(std::find(rects.begin(), rects.end(), SkinRect{100, 204, 110, 206}), rects.end());
  EXPECT_EQ(rects.size(), 5u);
  EXPECT_TRUE(OpaqueRects(shape.View(), {3, 3, 2, 2}, 0, 0).empty());
}

}  // namespace
}  // namespace qlt
