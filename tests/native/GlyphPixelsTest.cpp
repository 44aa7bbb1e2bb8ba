// A button glyph's cells, and a cell drawn over a face: transparent colour left out, greyed for a
// disabled button, clipped to the face.
#include <gtest/gtest.h>

#include "skin/controls/GlyphPixels.h"

namespace qlt {
namespace {

TEST(GlyphCells, CellsAreEqualPartsSideBySideAndBadCountsAreSafe) {
  EXPECT_EQ(GlyphCellRect(64, 16, 4, 1), RectOfSize(0, 0, 16, 16));
  EXPECT_EQ(GlyphCellRect(64, 16, 4, 3), RectOfSize(32, 0, 16, 16));
  // A cell the image does not have shows the first one.
  EXPECT_EQ(GlyphCellRect(32, 16, 2, 3), RectOfSize(0, 0, 16, 16));
  EXPECT_EQ(GlyphCellRect(32, 16, 2, 0), RectOfSize(0, 0, 16, 16));
  // A count of 0 or below is one cell: the whole image, nothing divided by it.
  EXPECT_EQ(GlyphCellRect(20, 10, 0, 1), RectOfSize(0, 0, 20, 10));
  EXPECT_EQ(GlyphCellRect(20, 10, -3, 2), RectOfSize(0, 0, 20, 10));
  // Cells that would be narrower than a pixel, or no image: nothing.
  EXPECT_TRUE(GlyphCellRect(3, 10, 4, 1).Empty());
  EXPECT_TRUE(GlyphCellRect(0, 0, 1, 1).Empty());
  EXPECT_TRUE(GlyphCellRect(-5, 10, 1, 1).Empty());
}

TEST(GlyphDrawing, KeyColourIsLeftOutGreyingKeepsTheShapeAndTheViewClips) {
  const Bgr key = RgbPixel(0, 128, 128);
  // Two 2 x 2 cells: the first red with one key pixel, the second blue.
  Bitmap24 glyph(4, 2, key);
  glyph.At(0, 0) = RgbPixel(200, 0, 0);
  glyph.At(1, 0) = RgbPixel(200, 0, 0);
  glyph.At(0, 1) = RgbPixel(200, 0, 0);
  glyph.At(2, 0) = glyph.At(3, 0) = glyph.At(2, 1) = glyph.At(3, 1) = RgbPixel(0, 0, 90);
  const Pixel32 face = 0x00A0A0A0;

  PixelBuffer out(6, 4, face);
  DrawGlyph(out.View(), 2, 1, glyph, GlyphCellRect(4, 2, 2, 1), key, false);
  EXPECT_EQ(out.At(2, 1), 0x00C80000u);
  EXPECT_EQ(out.At(3, 1), 0x00C80000u);
  EXPECT_EQ(out.At(2, 2), 0x00C80000u);
  EXPECT_EQ(out.At(3, 2), face) << "the key pixel leaves the face showing";
  EXPECT_EQ(out.At(4, 1), face) << "the second cell is not drawn";

  // Greyed: (200 + 0 + 0) / 3 = 66; a key pixel stays out even though its grey would differ.
  PixelBuffer grey(6, 4, face);
  DrawGlyph(grey.View(), 0, 0, glyph, GlyphCellRect(4, 2, 2, 1), key, true);
  EXPECT_EQ(grey.At(0, 0), 0x00424242u);
  EXPECT_EQ(grey.At(1, 1), face);
  // The second cell, greyed: blue 90 gives 30.
  DrawGlyph(grey.View(), 4, 2, glyph, GlyphCellRect(4, 2, 2, 2), key, true);
  EXPECT_EQ(grey.At(5, 3), 0x001E1E1Eu);

  // Half outside on every side: only what lands in the view, nothing written out of it.
  PixelBuffer small(2, 2, face);
  DrawGlyph(small.View(), -1, -1, glyph, RectOfSize(0, 0, 4, 2), key, false);
  EXPECT_EQ(small.At(0, 0), face) << "glyph pixel (1, 1) is the key colour";
  EXPECT_EQ(small.At(1, 0), 0x0000005Au);
  DrawGlyph(small.View(), 1, 1, glyph, RectOfSize(0, 0, 4, 2), key, false);
  EXPECT_EQ(small.At(1, 1), 0x00C80000u);
  // A source rectangle partly outside the image and an empty image draw only what exists.
  PixelBuffer edge(4, 4, face);
  DrawGlyph(edge.View(), 0, 0, glyph, RectOfSize(3, 1, 5, 5), key, false);
  EXPECT_EQ(edge.At(0, 0), 0x0000005Au);
  EXPECT_EQ(edge.At(1, 0), face);
  DrawGlyph(edge.View(), 0, 0, Bitmap24(), RectOfSize(0, 0, 4, 4), key, false);
  EXPECT_EQ(edge.At(2, 2), face);
}

}  // namespace
}  // namespace qlt
