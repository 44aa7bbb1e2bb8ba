#pragma once
// Where a skinned scroll bar's pieces go: the bars of a scrollable window, the arrows, the thumb
// from the scroll information (the system's own formula, so the skinned thumb sits where the
// system's would and a drag ends where the system's would), the part under a point, and the
// position a dragged thumb stands for. Positions are 32-bit throughout. Portable: no <windows.h>.
#include <cstdint>

#include "skin/frame/SkinGeometry.h"

namespace qlt {

// What GetScrollInfo reports.
struct ScrollRange {
  int min = 0;
  int max = 0;
  unsigned page = 0;
  int pos = 0;
  friend bool operator==(const ScrollRange&, const ScrollRange&) = default;
};

// The bars of a window with WS_HSCROLL / WS_VSCROLL, in window coordinates: `border` is the
// window's border width, `thickness` the system's bar thickness.
struct ScrollBars {
  SkinRect horizontal;
  SkinRect vertical;
  SkinRect corner;  // the square between two bars
};
ScrollBars LayOutScrollBars(int windowWidth, int windowHeight, int border, int thickness, bool hasHorizontal,
                            bool hasVertical, bool leftScrollBar);

// One bar along its axis: the arrows at both ends, the track between them and the thumb in it.
struct ThumbLayout {
  int arrow = 0;      // length of each arrow (half the bar when it is shorter than two arrows)
  int track = 0;      // length between the arrows; 0 when there is no room
  int thumbSize = 0;  // 0: no thumb (no room for it, or nothing to scroll)
  int thumbPos = 0;   // from the end of the first arrow, within 0..track - thumbSize
  bool HasThumb() const { return thumbSize > 0; }
  friend bool operator==(const ThumbLayout&, const ThumbLayout&) = default;
};
// `minThumb` is the smallest thumb of a bar with a page; `fixedThumb` the thumb of one without.
ThumbLayout LayOutThumb(int barLength, int arrowSize, const ScrollRange& r, int minThumb, int fixedThumb);

// The scroll position a thumb dragged to `offset` (from the end of the first arrow) stands for,
// as the system computes it: clamped into the range a page allows.
int ThumbPositionToValue(const ThumbLayout& bar, int offset, const ScrollRange& r);

// The part of a bar at `c` (along the axis, from the bar's start): the SB_ code of the part. A
// track without a thumb is all page-up area, as the system has it.
enum class ScrollPart { kLineUp = 0, kLineDown = 1, kPageUp = 2, kPageDown = 3, kThumb = 5, kNone = -1 };
ScrollPart HitScrollPart(const ThumbLayout& bar, int c);

// Where a thumb dragged from `startOffset` by `moved` pixels stands: never before the track's
// start nor past its end, so the thumb can never cover an arrow.
int DraggedThumbOffset(const ThumbLayout& bar, int startOffset, int moved);
// Whether a point still drags the thumb of `bar` (a vertical bar when `vertical`): the system lets
// the pointer stray eight bar widths across the bar and two along it; further away the thumb goes
// back to where the drag started.
bool DragNearBar(const SkinRect& bar, int x, int y, bool vertical);

}  // namespace qlt
