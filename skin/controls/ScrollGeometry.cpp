#include "skin/controls/ScrollGeometry.h"

#include <algorithm>

namespace qlt {

namespace {

// a * b / c rounded to the nearest, in 64 bits, as MulDiv does (0 for a divisor of 0). The callers
// keep |a * b| below 2^63.
long long MulDivRound(long long a, long long b, long long c) {
  if (c == 0) return 0;
  long long n = a * b;
  const bool negative = (n < 0) != (c < 0);
  n = n < 0 ? -n : n;
  const long long d = c < 0 ? -c : c;
  const long long q = (n + d / 2) / d;
  return negative ? -q : q;
}

}  // namespace

ScrollBars LayOutScrollBars(int w, int h, int e, int b, bool hasH, bool hasV, bool left) {
  ScrollBars bars;
  if (hasH) bars.horizontal = {e, h - e - b, w - e, h - e};
  if (hasV) bars.vertical = left ? SkinRect{e, e, e + b, h - e} : SkinRect{w - e - b, e, w - e, h - e};
  if (hasH && hasV) {
    if (left) {
      bars.horizontal.left = e + b;
      bars.corner = {e, h - e - b, e + b, h - e};
    } else {
      bars.horizontal.right = w - e - b;
      bars.corner = {w - e - b, h - e - b, w - e, h - e};
    }
    bars.vertical.bottom = h - e - b;
  }
  return bars;
}

ThumbLayout LayOutThumb(int barLength, int arrowSize, const ScrollRange& r, int minThumb, int fixedThumb) {
  ThumbLayout t;
  if (barLength <= 0) return t;
  arrowSize = std::max(arrowSize, 0);
  t.arrow = barLength < 2LL * arrowSize ? barLength / 2 : arrowSize;
  t.track = std::max(barLength - 2 * t.arrow, 0);
  const long long range = static_cast<long long>(r.max) - r.min;
  if (t.track <= 0 || range < 0) return t;
  int size = fixedThumb;
  if (r.page != 0) {
    // A page beyond the range asks for more than the track; such a thumb is not drawn.
    const long long wanted = std::max<long long>(MulDivRound(t.track, r.page, range + 1), minThumb);
    size = static_cast<int>(std::min<long long>(wanted, t.track + 1LL));
  }
  if (size <= 0 || size > t.track) return t;
  t.thumbSize = size;
  // The last position a page allows; a page as large as the range leaves nothing to scroll.
  const long long last = r.max - std::max<long long>(static_cast<long long>(r.page) - 1, 0);
  if (last > r.min) {
    const long long pos = std::clamp<long long>(r.pos, r.min, last);
    t.thumbPos = static_cast<int>(MulDivRound(t.track - size, pos - r.min, last - r.min));
  }
  t.thumbPos = std::clamp(t.thumbPos, 0, t.track - size);
  return t;
}

int ThumbPositionToValue(const ThumbLayout& bar, int offset, const ScrollRange& r) {
  const int room = bar.track - bar.thumbSize;
  if (!bar.HasThumb() || room <= 0) return r.min;
  offset = std::clamp(offset, 0, room);
  const long long range = r.page == 0 ? static_cast<long long>(r.max) - r.min
                                      : static_cast<long long>(r.max) - r.min - r.page + 1;
  if (range <= 0) return r.min;
  // The range may span all 32 bits (INT_MIN..INT_MAX): the sum stays in 64 bits until it is known
  // to lie within the range.
  const long long value = r.min + MulDivRound(offset, range, room);
  return static_cast<int>(std::clamp<long long>(value, r.min, r.min + range));
}

ScrollPart HitScrollPart(const ThumbLayout& bar, int c) {
  if (c < 0) return ScrollPart::kNone;
  if (c < bar.arrow) return ScrollPart::kLineUp;
  if (bar.HasThumb()) {
    if (c < bar.arrow + bar.thumbPos) return ScrollPart::kPageUp;
    if (c < bar.arrow + bar.thumbPos + bar.thumbSize) return ScrollPart::kThumb;
    if (c < bar.arrow + bar.track) return ScrollPart::kPageDown;
  } else if (c < bar.arrow + bar.track) {
    return ScrollPart::kPageUp;
  }
  if (c < 2 * bar.arrow + bar.track) return ScrollPart::kLineDown;
  return ScrollPart::kNone;
}

int DraggedThumbOffset(const ThumbLayout& bar, int startOffset, int moved) {
  const long long offset = static_cast<long long>(startOffset) + moved;
  return static_cast<int>(std::clamp<long long>(offset, 0, std::max(bar.track - bar.thumbSize, 0)));
}

bool DragNearBar(const SkinRect& bar, int x, int y, bool vertical) {
  if (bar.Empty()) return false;
  const long long across = vertical ? bar.Width() : bar.Height();
  const long long dx = vertical ? across * 8 : across * 2;
  const long long dy = vertical ? across * 2 : across * 8;
  return x >= bar.left - dx && x < bar.right + dx && y >= bar.top - dy && y < bar.bottom + dy;
}

}  // namespace qlt
