// Scroll-bar geometry: bars of a window, the thumb where the system puts it, the value a dragged
// thumb stands for, the part under a point.
#include <gtest/gtest.h>

#include <climits>

#include "skin/controls/ScrollGeometry.h"

namespace qlt {
namespace {

TEST(ScrollBarsOfAWindow, BarsAndCornerFollowTheSideOfTheVerticalBar) {
  // 120 x 100 window, border 2, bars 16 thick.
  ScrollBars only = LayOutScrollBars(120, 100, 2, 16, false, true, false);
  EXPECT_EQ(only.vertical, (SkinRect{102, 2, 118, 98}));
  EXPECT_TRUE(only.horizontal.Empty());
  EXPECT_TRUE(only.corner.Empty());
  ScrollBars both = LayOutScrollBars(120, 100, 2, 16, true, true, false);
  EXPECT_EQ(both.horizontal, (SkinRect{2, 82, 102, 98}));
  EXPECT_EQ(both.vertical, (SkinRect{102, 2, 118, 82}));
  EXPECT_EQ(both.corner, (SkinRect{102, 82, 118, 98}));
  ScrollBars left = LayOutScrollBars(120, 100, 2, 16, true, true, true);
  EXPECT_EQ(left.vertical, (SkinRect{2, 2, 18, 82}));
  EXPECT_EQ(left.horizontal, (SkinRect{18, 82, 118, 98}));
  EXPECT_EQ(left.corner, (SkinRect{2, 82, 18, 98}));
}

TEST(ScrollThumb, SitsWhereTheSystemPutsItAndNeverLeavesTheTrack) {
  // Range 0..99 with a page of 10 on a 200-pixel bar with 16-pixel arrows: a 168-pixel track.
  ScrollRange r{0, 99, 10, 45};
  ThumbLayout t = LayOutThumb(200, 16, r, 8, 16);
  EXPECT_EQ(t.arrow, 16);
  EXPECT_EQ(t.track, 168);
  EXPECT_EQ(t.thumbSize, 17);          // MulDiv(168, 10, 100)
  EXPECT_EQ(t.thumbPos, 76);           // MulDiv(151, 45, 90)
  r.pos = 90;                          // the last position a page allows
  EXPECT_EQ(LayOutThumb(200, 16, r, 8, 16).thumbPos, 151);
  r.pos = 5000;                        // out of range: clamped, never past the track
  EXPECT_EQ(LayOutThumb(200, 16, r, 8, 16).thumbPos, 151);
  // A page as large as the range: the thumb fills the track, nothing to scroll.
  ThumbLayout full = LayOutThumb(200, 16, {0, 9, 10, 0}, 8, 16);
  EXPECT_EQ(full.thumbSize, 168);
  EXPECT_EQ(full.thumbPos, 0);
  // A page larger than the range, an empty or inverted range: no division, a sane thumb or none.
  EXPECT_LE(LayOutThumb(200, 16, {0, 3, 50, 2}, 8, 16).thumbSize, 168);
  EXPECT_FALSE(LayOutThumb(200, 16, {5, 2, 0, 3}, 8, 16).HasThumb());
  // Positions beyond 16 bits stay exact.
  ThumbLayout big = LayOutThumb(200, 16, {0, 1000000, 0, 500000}, 8, 16);
  EXPECT_EQ(big.thumbPos, 76);
  EXPECT_EQ(ThumbPositionToValue(big, big.thumbPos, {0, 1000000, 0, 0}), 500000);
}

TEST(ScrollThumb, AtTheRangesEndsTheThumbMeetsTheTracksEndsAndStandsForTheRangesEnds) {
  // A 200-pixel bar with 16-pixel arrows: the track is 168 long, whatever the range.
  constexpr int kTrack = 200 - 2 * 16;
  for (const ScrollRange& r : {ScrollRange{0, 99, 10, 0}, ScrollRange{0, 99, 0, 0}, ScrollRange{-50, 50, 1, 0},
                               ScrollRange{0, 1, 1, 0}, ScrollRange{INT_MIN, INT_MAX, 0, 0},
                               ScrollRange{INT_MIN, INT_MAX, 1000, 0}}) {
    SCOPED_TRACE(testing::Message() << r.min << ".." << r.max << " page " << r.page);
    ScrollRange at = r;
    at.pos = r.min;
    EXPECT_EQ(LayOutThumb(200, 16, at, 8, 16).thumbPos, 0);
    at.pos = r.max;
    const ThumbLayout last = LayOutThumb(200, 16, at, 8, 16);
    EXPECT_EQ(last.thumbPos + last.thumbSize, kTrack);
    // Dragged to either end (all 32 bits of range without a page too), the range's ends.
    EXPECT_EQ(ThumbPositionToValue(last, 0, r), r.min);
    const long long end = r.page == 0 ? r.max : static_cast<long long>(r.max) - r.page + 1;
    EXPECT_EQ(ThumbPositionToValue(last, kTrack - last.thumbSize, r), end);
  }
}

TEST(ScrollThumb, ShortBarsHaveHalfArrowsAndNoThumb) {
  ThumbLayout t = LayOutThumb(20, 16, {0, 99, 10, 0}, 8, 16);
  EXPECT_EQ(t.arrow, 10);
  EXPECT_EQ(t.track, 0);
  EXPECT_FALSE(t.HasThumb());
  EXPECT_EQ(HitScrollPart(t, 5), ScrollPart::kLineUp);
  EXPECT_EQ(HitScrollPart(t, 15), ScrollPart::kLineDown);
  // Room for the track but not the thumb: the track pages up, as the system's does.
  const ThumbLayout noThumb = LayOutThumb(40, 16, {0, 99, 0, 0}, 8, 16);
  EXPECT_FALSE(noThumb.HasThumb());
  EXPECT_EQ(HitScrollPart(noThumb, 20), ScrollPart::kPageUp);
  EXPECT_EQ(HitScrollPart(noThumb, 30), ScrollPart::kLineDown);
  EXPECT_FALSE(LayOutThumb(-5, 16, {0, 99, 0, 0}, 8, 16).HasThumb());
}

TEST(ScrollThumb, DraggedThumbGivesTheSystemsValueClampedToTheRange) {
  const ScrollRange r{0, 99, 10, 0};
  const ThumbLayout t = LayOutThumb(200, 16, r, 8, 16);
  EXPECT_EQ(ThumbPositionToValue(t, 0, r), 0);
  EXPECT_EQ(ThumbPositionToValue(t, 151, r), 90);
  EXPECT_EQ(ThumbPositionToValue(t, 10000, r), 90);   // dragged past the end
  EXPECT_EQ(ThumbPositionToValue(t, -50, r), 0);      // dragged over the first arrow
  // Without a page the last value is the maximum.
  const ScrollRange noPage{10, 110, 0, 10};
  const ThumbLayout u = LayOutThumb(200, 16, noPage, 8, 16);
  EXPECT_EQ(ThumbPositionToValue(u, u.track, noPage), 110);
  // A drag and the thumb it gives agree (the thumb does not jump when the position is set).
  for (int offset = 0; offset <= 151; offset += 7) {
    ScrollRange at = r;
    at.pos = ThumbPositionToValue(t, offset, r);
    EXPECT_NEAR(LayOutThumb(200, 16, at, 8, 16).thumbPos, offset, 1) << offset;
  }
}

TEST(ScrollThumb, PartsUnderThePointer) {
  const ThumbLayout t = LayOutThumb(200, 16, {0, 99, 10, 45}, 8, 16);  // thumb 92..109
  EXPECT_EQ(HitScrollPart(t, 0), ScrollPart::kLineUp);
  EXPECT_EQ(HitScrollPart(t, 91), ScrollPart::kPageUp);
  EXPECT_EQ(HitScrollPart(t, 92), ScrollPart::kThumb);
  EXPECT_EQ(HitScrollPart(t, 108), ScrollPart::kThumb);
  EXPECT_EQ(HitScrollPart(t, 109), ScrollPart::kPageDown);
  EXPECT_EQ(HitScrollPart(t, 184), ScrollPart::kLineDown);
  EXPECT_EQ(HitScrollPart(t, 200), ScrollPart::kNone);
  EXPECT_EQ(HitScrollPart(t, -1), ScrollPart::kNone);
}

TEST(ScrollThumb, ADraggedThumbStaysInTheTrackAndStraysOnlySoFar) {
  const ThumbLayout t = LayOutThumb(200, 16, {0, 99, 10, 45}, 8, 16);  // room 151
  EXPECT_EQ(DraggedThumbOffset(t, 76, 20), 96);
  EXPECT_EQ(DraggedThumbOffset(t, 76, -200), 0) << "never over the first arrow";
  EXPECT_EQ(DraggedThumbOffset(t, 76, 5000), 151) << "never over the second arrow";
  EXPECT_EQ(DraggedThumbOffset(t, 76, INT_MAX), 151) << "no overflow on a wild move";
  EXPECT_EQ(DraggedThumbOffset(t, 76, INT_MIN), 0);
  EXPECT_EQ(DraggedThumbOffset(LayOutThumb(20, 16, {0, 99, 10, 0}, 8, 16), 0, 30), 0) << "no thumb, no room";
  // A vertical bar 16 wide: eight widths to either side, two beyond either end.
  const SkinRect v{100, 20, 116, 220};
  EXPECT_TRUE(DragNearBar(v, 108, 120, true));
  EXPECT_TRUE(DragNearBar(v, 100 - 128, 20 - 32, true));
  EXPECT_FALSE(DragNearBar(v, 100 - 129, 120, true));
  EXPECT_FALSE(DragNearBar(v, 116 + 128, 120, true));
  EXPECT_FALSE(DragNearBar(v, 108, 220 + 32, true));
  // A horizontal bar the other way round.
  const SkinRect h{20, 100, 220, 116};
  EXPECT_TRUE(DragNearBar(h, 20 - 32, 100 + 16 + 127, false));
  EXPECT_FALSE(DragNearBar(h, 20 - 33, 108, false));
  EXPECT_FALSE(DragNearBar(h, 120, 100 - 129, false));
  EXPECT_FALSE(DragNearBar(SkinRect{}, 0, 0, true)) << "no bar, no drag";
}

}  // namespace
}  // namespace qlt
