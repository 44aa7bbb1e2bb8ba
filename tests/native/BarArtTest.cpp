// Status bars', progress bars' and track bars' looks apart from the windows: the filled length of
// a progress bar over any range (empty, below zero, beyond 32 bits when multiplied, a position
// outside the range), the two progress looks composed from images whose every cell has its own
// colour, an upright bar turned into place, the panel cell each text flag asks for and a panel's
// text split at its tabs.
#include <gtest/gtest.h>

#include <climits>

#include "skin/controls/BarArt.h"

namespace qlt {
namespace {

constexpr Pixel32 kFace = 0x00102030;

Bgr CellColour(int cell) { return RgbPixel(200, static_cast<std::uint8_t>(cell * 40), 9); }
Pixel32 CellPixel(int cell) { return ToPixel32(CellColour(cell)); }

// A continuous "Progress" object: two plain cells of 12 x 10, margins of 3.
std::unique_ptr<TDataSkinBorder> ContinuousProgress() {
  auto o = std::make_unique<TDataSkinBorder>("Progress");
  o->Image = Bitmap24(24, 10);
  for (int y = 0; y < 10; ++y) {
    for (int x = 0; x < 24; ++x) o->Image.At(x, y) = CellColour(x < 12 ? 1 : 2);
  }
  o->LeftWidth = o->RightWidth = o->TopHeight = o->BottomHeight = 3;
  o->Trans = 1;
  o->Frame = 2;
  return o;
}

TEST(ProgressFill, IsThePositionsShareOfTheRangeRoundedAndKeptWithinTheBar) {
  EXPECT_EQ(ProgressFillLength(0, 0, 100, 180), 0);
  EXPECT_EQ(ProgressFillLength(50, 0, 100, 180), 90);
  EXPECT_EQ(ProgressFillLength(100, 0, 100, 180), 180);
  EXPECT_EQ(ProgressFillLength(1, 0, 3, 100), 33);   // 33.3 rounds down
  EXPECT_EQ(ProgressFillLength(2, 0, 3, 100), 67);   // 66.7 rounds up
  // The range's low end counts: a third of -100..200 is a third of the bar.
  EXPECT_EQ(ProgressFillLength(0, -100, 200, 90), 30);
  EXPECT_EQ(ProgressFillLength(150, 100, 200, 100), 50);
  // Positions outside the range never fill past either end.
  EXPECT_EQ(ProgressFillLength(500, 0, 100, 180), 180);
  EXPECT_EQ(ProgressFillLength(-5, 0, 100, 180), 0);
  // An empty or reversed range fills nothing, whatever the position.
  EXPECT_EQ(ProgressFillLength(50, 50, 50, 180), 0);
  EXPECT_EQ(ProgressFillLength(0, 0, 0, 180), 0);
  EXPECT_EQ(ProgressFillLength(10, 100, 0, 180), 0);
  // The whole 32-bit range: the products need 64 bits and stay exact.
  EXPECT_EQ(ProgressFillLength(0, INT_MIN, INT_MAX, 1000), 500);
  EXPECT_EQ(ProgressFillLength(INT_MAX, INT_MIN, INT_MAX, INT_MAX), INT_MAX);
  EXPECT_EQ(ProgressFillLength(INT_MAX - 1, 0, INT_MAX, 1 << 30), (1 << 30) - 1);
  // No bar, nothing filled.
  EXPECT_EQ(ProgressFillLength(50, 0, 100, 0), 0);
  EXPECT_EQ(ProgressFillLength(50, 0, 100, -4), 0);
}

TEST(ProgressLook, ContinuousShowsTheTroughCellAndTheFilledCellOverIt) {
  const auto progress = ContinuousProgress();
  PixelBuffer buffer(100, 10, 0);
  ComposeProgress(buffer.View(), {0, 0, 100, 10}, *progress, kFace, {25, 0, 100});
  // A quarter filled: cell 2 up to x 25, cell 1 after it.
  EXPECT_EQ(buffer.At(5, 5), CellPixel(2));
  EXPECT_EQ(buffer.At(24, 5), CellPixel(2));
  EXPECT_EQ(buffer.At(25, 5), CellPixel(1));
  EXPECT_EQ(buffer.At(99, 9), CellPixel(1));

  // An empty range draws the trough only.
  PixelBuffer empty(100, 10, 0);
  ComposeProgress(empty.View(), {0, 0, 100, 10}, *progress, kFace, {50, 50, 50});
  for (int x = 0; x < 100; ++x) EXPECT_EQ(empty.At(x, 5), CellPixel(1)) << x;

  // Past the limit the bar is full, and not a pixel beyond its area is touched.
  PixelBuffer over(120, 10, 0);
  ComposeProgress(over.View(), {0, 0, 100, 10}, *progress, kFace, {900, 0, 100});
  EXPECT_EQ(over.At(99, 5), CellPixel(2));
  for (int x = 100; x < 120; ++x) EXPECT_EQ(over.At(x, 5), 0u) << x;
}

TEST(ProgressLook, MagentaShowsTheFaceAndAnImagelessObjectLeavesOnlyTheFace) {
  auto progress = ContinuousProgress();
  progress->Image.At(0, 0) = RgbPixel(255, 0, 255);
  PixelBuffer buffer(40, 10, 0);
  ComposeProgress(buffer.View(), {0, 0, 40, 10}, *progress, kFace, {0, 0, 100});
  EXPECT_EQ(buffer.At(0, 0), kFace);
  progress->Image = Bitmap24();
  PixelBuffer plain(40, 10, 0);
  ComposeProgress(plain.View(), {0, 0, 40, 10}, *progress, kFace, {50, 0, 100});
  EXPECT_EQ(plain.At(20, 5), kFace);
}

TEST(ProgressLook, ChunksStartAfterTheLeftMarginAndStopAtTheFilledShareOfTheInside) {
  auto progress = std::make_unique<TDataSkinBorder>("Progress");
  progress->Style = 1;
  progress->Image = Bitmap24(16, 16, CellColour(1));
  progress->Image2 = Bitmap24(6, 8, CellColour(3));
  progress->Image2.At(5, 0) = RgbPixel(255, 0, 255);  // the gap between chunks
  progress->LeftWidth = progress->RightWidth = 4;
  progress->Trans = 1;
  PixelBuffer buffer(108, 16, 0);
  // Half of the inside (100 pixels): chunks from x 4 to 54, centred across: rows 4 to 11.
  ComposeProgress(buffer.View(), {0, 0, 108, 16}, *progress, kFace, {1, 0, 2});
  EXPECT_EQ(buffer.At(3, 8), CellPixel(1));
  EXPECT_EQ(buffer.At(4, 8), CellPixel(3));
  EXPECT_EQ(buffer.At(53, 8), CellPixel(3));
  EXPECT_EQ(buffer.At(54, 8), CellPixel(1));
  EXPECT_EQ(buffer.At(10, 3), CellPixel(1));
  EXPECT_EQ(buffer.At(10, 4), CellPixel(3));
  EXPECT_EQ(buffer.At(10, 11), CellPixel(3));
  EXPECT_EQ(buffer.At(10, 12), CellPixel(1));
  EXPECT_EQ(buffer.At(9, 4), CellPixel(1));  // the gap shows the trough
  // Full: the last chunk ends at the right margin, not past it.
  PixelBuffer full(108, 16, 0);
  ComposeProgress(full.View(), {0, 0, 108, 16}, *progress, kFace, {7, 0, 7});
  EXPECT_EQ(full.At(103, 8), CellPixel(3));
  EXPECT_EQ(full.At(104, 8), CellPixel(1));
  // Nothing for an empty range.
  PixelBuffer none(108, 16, 0);
  ComposeProgress(none.View(), {0, 0, 108, 16}, *progress, kFace, {3, 3, 3});
  for (int x = 0; x < 108; ++x) EXPECT_EQ(none.At(x, 8), CellPixel(1)) << x;
  // A chunk taller than the bar shows its middle rows: rows 4 to 19 of 24 in a bar 16 high.
  progress->Image2 = Bitmap24(6, 24);
  for (int y = 0; y < 24; ++y) {
    for (int x = 0; x < 6; ++x) progress->Image2.At(x, y) = RgbPixel(1, static_cast<std::uint8_t>(y), 9);
  }
  ComposeProgress(full.View(), {0, 0, 108, 16}, *progress, kFace, {7, 0, 7});
  EXPECT_EQ(full.At(10, 0), ToPixel32(RgbPixel(1, 4, 9)));
  EXPECT_EQ(full.At(10, 15), ToPixel32(RgbPixel(1, 19, 9)));
  // Margins wider than the bar (an object no reader clamped) leave nothing to fill.
  progress->LeftWidth = progress->RightWidth = 2000000000;
  ComposeProgress(none.View(), {0, 0, 108, 16}, *progress, kFace, {7, 0, 7});
  EXPECT_EQ(none.At(54, 8), CellPixel(1));
}

TEST(ProgressLook, AnUprightBarIsTheLyingOneTurnedSoItFillsFromTheBottom) {
  PixelBuffer lying(5, 3, 0);
  for (int y = 0; y < 3; ++y) {
    for (int x = 0; x < 5; ++x) lying.View().At(x, y) = static_cast<Pixel32>(y * 10 + x);
  }
  PixelBuffer upright(3, 5, 0xFFFFFFFF);
  RotatePixelsLeft(lying.View(), upright.View());
  // The right column, read from the top, is the top row; the left column the bottom row.
  EXPECT_EQ(upright.At(0, 0), 4u);
  EXPECT_EQ(upright.At(1, 0), 14u);
  EXPECT_EQ(upright.At(2, 0), 24u);
  EXPECT_EQ(upright.At(0, 4), 0u);
  EXPECT_EQ(upright.At(2, 4), 20u);
  EXPECT_EQ(upright.At(1, 2), 12u);
}

TEST(StatusPanels, TheFlagsChooseTheCellAndTabsSplitTheText) {
  EXPECT_EQ(StatusPanelCell(0), 1);
  EXPECT_EQ(StatusPanelCell(0x200), 2);
  EXPECT_EQ(StatusPanelCell(0x100), 3);
  EXPECT_EQ(StatusPanelCell(0x300), 3);
  EXPECT_EQ(StatusPanelCell(0x1000), 1);  // owner-drawn alone says nothing of the bevel

  using Parts = std::array<std::u16string, 3>;
  EXPECT_EQ(SplitPanelText(u"Ready 就绪"), (Parts{u"Ready 就绪", u"", u""}));
  EXPECT_EQ(SplitPanelText(u"\tMiddle"), (Parts{u"", u"Middle", u""}));
  EXPECT_EQ(SplitPanelText(u"\t\tRight"), (Parts{u"", u"", u"Right"}));
  EXPECT_EQ(SplitPanelText(u"a\tb\tc"), (Parts{u"a", u"b", u"c"}));
  // A third tab belongs to the right part's text.
  EXPECT_EQ(SplitPanelText(u"a\tb\tc\td"), (Parts{u"a", u"b", u"c\td"}));
  EXPECT_EQ(SplitPanelText(u""), (Parts{}));
}

}  // namespace
}  // namespace qlt
