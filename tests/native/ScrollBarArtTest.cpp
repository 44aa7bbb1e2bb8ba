// The skinned scroll bar's look: which cell of each image shows in which state, and where the
// arrows, the track and the thumb land in a bar, from images whose every cell has its own colour.
#include <gtest/gtest.h>

#include "skin/controls/ScrollBarArt.h"

namespace qlt {
namespace {

// A cell's colour: red = the image's mark, green = the cell number.
Bgr CellColour(int mark, int cell) { return RgbPixel(static_cast<std::uint8_t>(mark), static_cast<std::uint8_t>(cell * 10), 7); }
Pixel32 CellPixel(int mark, int cell) { return ToPixel32(CellColour(mark, cell)); }

// An object whose image holds `cells` plain cells of w x h side by side.
std::unique_ptr<TDataSkinObject> PlainCells(const char* name, int mark, int cells, int w, int h) {
  auto o = std::make_unique<TDataSkinObject>(name);
  o->Image = Bitmap24(w * cells, h);
  for (int c = 0; c < cells; ++c) {
    for (int y = 0; y < h; ++y) {
      for (int x = 0; x < w; ++x) o->Image.At(c * w + x, y) = CellColour(mark, c + 1);
    }
  }
  o->Frame = cells;
  return o;
}

struct TestSkin {
  std::unique_ptr<TDataSkinObject> arrows = PlainCells("Scrollbar", 50, 23, 16, 16);
  std::unique_ptr<TDataSkinObject> track = PlainCells("VertScroll", 100, 4, 16, 24);
  std::unique_ptr<TDataSkinObject> thumb = PlainCells("VertScrollThumb", 150, 3, 16, 24);
  ScrollBarSkin Pieces() const { return {arrows.get(), track.get(), thumb.get(), 0x123456}; }
};

TEST(ScrollBarCells, EachStateHasItsCellAndNoneLiesOutsideTheImage) {
  EXPECT_EQ(ScrollArrowCell(false, false, false, false, 23), 1);
  EXPECT_EQ(ScrollArrowCell(false, true, false, false, 23), 5);
  EXPECT_EQ(ScrollArrowCell(true, false, false, false, 23), 9);
  EXPECT_EQ(ScrollArrowCell(true, true, false, false, 23), 13);
  EXPECT_EQ(ScrollArrowCell(true, true, true, false, 23), 14);
  EXPECT_EQ(ScrollArrowCell(false, false, true, false, 23), 2);
  EXPECT_EQ(ScrollArrowCell(true, false, false, true, 23), 12);
  EXPECT_EQ(ScrollArrowCell(true, false, true, true, 23), 12) << "a disabled arrow is never pressed";
  EXPECT_EQ(ScrollArrowCell(true, true, true, false, 10), 10) << "an image with fewer cells";
  EXPECT_EQ(ScrollArrowCell(true, true, true, false, 0), 1);
  EXPECT_EQ(ScrollTrackCell(false, 4), 1);
  EXPECT_EQ(ScrollTrackCell(true, 4), 3);
  EXPECT_EQ(ScrollTrackCell(true, 1), 1);
  EXPECT_EQ(ScrollThumbCell(false, 3), 1);
  EXPECT_EQ(ScrollThumbCell(true, 3), 2);
  EXPECT_EQ(ScrollThumbCell(true, 1), 1);
  EXPECT_EQ(ScrollThumbCell(true, -4), 1);
}

TEST(ScrollBarArt, ArrowsTrackAndThumbLandWhereTheLayoutPutsThem) {
  TestSkin skin;
  PixelBuffer buffer(20, 200, 0);
  const SkinRect area{2, 0, 18, 200};  // a vertical bar 16 wide
  const ThumbLayout layout = LayOutThumb(200, 16, {0, 99, 10, 45}, 8, 16);  // thumb 92..109
  ComposeScrollBar(buffer.View(), area, true, layout, {}, skin.Pieces());
  EXPECT_EQ(buffer.At(10, 8), CellPixel(50, 9)) << "up arrow";
  EXPECT_EQ(buffer.At(10, 191), CellPixel(50, 13)) << "down arrow";
  EXPECT_EQ(buffer.At(10, 16), CellPixel(100, 1)) << "track starts after the arrow";
  EXPECT_EQ(buffer.At(10, 91), CellPixel(100, 1));
  EXPECT_EQ(buffer.At(10, 92), CellPixel(150, 1)) << "thumb";
  EXPECT_EQ(buffer.At(10, 108), CellPixel(150, 1));
  EXPECT_EQ(buffer.At(10, 109), CellPixel(100, 1));
  EXPECT_EQ(buffer.At(10, 183), CellPixel(100, 1));
  EXPECT_EQ(buffer.At(0, 100), 0u) << "nothing outside the bar";
  EXPECT_EQ(buffer.At(19, 100), 0u);

  // Held down and dragged.
  ComposeScrollBar(buffer.View(), area, true, layout, {true, false, true, false}, skin.Pieces());
  EXPECT_EQ(buffer.At(10, 8), CellPixel(50, 10));
  EXPECT_EQ(buffer.At(10, 191), CellPixel(50, 13));
  EXPECT_EQ(buffer.At(10, 100), CellPixel(150, 2));
  ComposeScrollBar(buffer.View(), area, true, layout, {false, true, false, false}, skin.Pieces());
  EXPECT_EQ(buffer.At(10, 191), CellPixel(50, 14));

  // Disabled: greyed cells and no thumb.
  ComposeScrollBar(buffer.View(), area, true, layout, {false, false, false, true}, skin.Pieces());
  EXPECT_EQ(buffer.At(10, 8), CellPixel(50, 12));
  EXPECT_EQ(buffer.At(10, 191), CellPixel(50, 16));
  EXPECT_EQ(buffer.At(10, 100), CellPixel(100, 3));
}

TEST(ScrollBarArt, TheThumbMeetsTheArrowsAtBothEndsAndNeverCoversThem) {
  TestSkin skin;
  PixelBuffer buffer(16, 200, 0);
  // At the first position, and laid out before the track: the thumb starts where the up arrow ends.
  ThumbLayout layout = LayOutThumb(200, 16, {0, 99, 10, 0}, 8, 16);
  for (int pos : {0, -50}) {
    layout.thumbPos = pos;
    ComposeScrollBar(buffer.View(), {0, 0, 16, 200}, true, layout, {}, skin.Pieces());
    EXPECT_EQ(buffer.At(8, 15), CellPixel(50, 9)) << pos;
    EXPECT_EQ(buffer.At(8, 16), CellPixel(150, 1)) << pos;
  }
  // At the last position, and laid out past the track: it ends where the down arrow starts.
  layout = LayOutThumb(200, 16, {0, 99, 10, 90}, 8, 16);
  for (int past : {0, 1, 50}) {
    ThumbLayout moved = layout;
    moved.thumbPos += past;
    ComposeScrollBar(buffer.View(), {0, 0, 16, 200}, true, moved, {}, skin.Pieces());
    EXPECT_EQ(buffer.At(8, 200 - 16 - 1), CellPixel(150, 1)) << past;
    EXPECT_EQ(buffer.At(8, 200 - 16), CellPixel(50, 13)) << past;
  }
}

TEST(ScrollBarArt, TransparentArrowsShowTheBackgroundAndHorizontalBarsRunAlongX) {
  TestSkin skin;
  skin.arrows->Image.At(0, 0) = kSkinTransparent;  // the left arrow's top-left pixel
  auto hTrack = PlainCells("HorzScroll", 120, 4, 24, 16);
  ScrollBarSkin pieces{skin.arrows.get(), hTrack.get(), nullptr, 0x00ABCDEF};
  PixelBuffer buffer(100, 16, 0);
  ComposeScrollBar(buffer.View(), {0, 0, 100, 16}, false, LayOutThumb(100, 16, {0, 9, 0, 0}, 8, 16), {}, pieces);
  EXPECT_EQ(buffer.At(0, 0), 0x00ABCDEFu) << "magenta in an arrow shows the bar's colour";
  EXPECT_EQ(buffer.At(8, 8), CellPixel(50, 1));
  EXPECT_EQ(buffer.At(91, 8), CellPixel(50, 5));
  EXPECT_EQ(buffer.At(50, 8), CellPixel(120, 1)) << "no thumb object: the track only";
}

TEST(ScrollBarArt, ShortBarsAndBadLayoutsNeverDrawOutsideTheBar) {
  TestSkin skin;
  // Shorter than two arrows: two half arrows, no track, no thumb.
  PixelBuffer small(16, 20, 0);
  ComposeScrollBar(small.View(), {0, 0, 16, 20}, true, LayOutThumb(20, 16, {0, 99, 10, 0}, 8, 16), {},
                   skin.Pieces());
  EXPECT_EQ(small.At(8, 2), CellPixel(50, 9));
  EXPECT_EQ(small.At(8, 9), CellPixel(50, 9));
  EXPECT_EQ(small.At(8, 10), CellPixel(50, 13));
  EXPECT_EQ(small.At(8, 19), CellPixel(50, 13));

  // A layout made for another bar (arrows and thumb too large): clamped into this one.
  ThumbLayout wild;
  wild.arrow = 500;
  wild.track = 900;
  wild.thumbSize = 40;
  wild.thumbPos = -300;
  PixelBuffer buffer(16, 100, 0);
  ComposeScrollBar(buffer.View(), {0, 0, 16, 100}, true, wild, {}, skin.Pieces());
  EXPECT_EQ(buffer.At(8, 0), CellPixel(50, 9));
  EXPECT_EQ(buffer.At(8, 99), CellPixel(50, 13));
  // Arrows of 50 leave no room: no thumb at all.
  wild.arrow = 16;
  ComposeScrollBar(buffer.View(), {0, 0, 16, 100}, true, wild, {}, skin.Pieces());
  EXPECT_EQ(buffer.At(8, 16), CellPixel(150, 1)) << "a thumb before the track's start sits at its start";
  EXPECT_EQ(buffer.At(8, 56), CellPixel(100, 1));

  // No arrows image: nothing is drawn at all.
  skin.arrows->Image.Clear();
  PixelBuffer untouched(16, 100, 0);
  ComposeScrollBar(untouched.View(), {0, 0, 16, 100}, true, LayOutThumb(100, 16, {0, 9, 0, 0}, 8, 16), {},
                   skin.Pieces());
  EXPECT_EQ(untouched.At(8, 50), 0u);
}

}  // namespace
}  // namespace qlt
