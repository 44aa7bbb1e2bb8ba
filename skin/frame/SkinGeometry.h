#pragma once
// The geometry every skin painter shares: rectangles, margins, the state cells of a multi-cell
// image, and how a cell is cut into nine pieces (corners kept, edges and centre stretched or tiled)
// or into three (a strip with fixed ends). Portable: no <windows.h>.
#include <algorithm>
#include <climits>
#include <cstdint>
#include <vector>

namespace qlt {

// Sizes are combined in 64 bits and brought back into int's range: a sum of window sizes, skin
// metrics and a caller's lengths saturates instead of wrapping.
constexpr int ClampToInt(std::int64_t v) {
  return static_cast<int>(std::clamp<std::int64_t>(v, INT_MIN, INT_MAX));
}

struct SkinRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;

  int Width() const { return ClampToInt(std::int64_t{right} - left); }
  int Height() const { return ClampToInt(std::int64_t{bottom} - top); }
  // Nothing to draw: no area, or right/bottom before left/top.
  bool Empty() const { return right <= left || bottom <= top; }
  bool Inverted() const { return right < left || bottom < top; }
  bool Contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
  SkinRect Offset(int dx, int dy) const { return {left + dx, top + dy, right + dx, bottom + dy}; }
  SkinRect Intersect(const SkinRect& o) const {
    return {std::max(left, o.left), std::max(top, o.top), std::min(right, o.right), std::min(bottom, o.bottom)};
  }
  friend bool operator==(const SkinRect&, const SkinRect&) = default;
};

inline SkinRect RectOfSize(int left, int top, int width, int height) {
  return {left, top, ClampToInt(std::int64_t{left} + width), ClampToInt(std::int64_t{top} + height)};
}

struct SkinMargins {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  friend bool operator==(const SkinMargins&, const SkinMargins&) = default;
};

// Cells lie side by side, or stacked for the images that say so (top and bottom window edges, the
// caption background).
enum class CellLayout { kSideBySide, kStacked };

// A cell count below 1 counts as 1 (a skin that says 0 would otherwise divide by zero).
int ClampCellCount(int count);
// Cell `index` (1-based, clamped to 1..count) of an image of the given size cut into `count` equal
// cells. An image smaller than its count gives empty cells, never a rectangle outside the image.
SkinRect CellRect(int imageWidth, int imageHeight, int count, int index, CellLayout layout);

// One piece of a nine-slice or strip rendering: a part of the source cell and where it goes.
struct SlicePiece {
  SkinRect source;
  SkinRect dest;
  bool tiled = false;  // repeated at the source's own size from dest's top-left, clipped to dest
  friend bool operator==(const SlicePiece&, const SlicePiece&) = default;
};

// The pieces of a cell drawn into `dest` keeping the margins unscaled: the four corners, the four
// edges stretched along their length, and the centre stretched (or tiled when `tile` is set). A
// destination narrower than both side margins together drops them (the whole cell width is
// stretched), likewise for the height; so do margins that leave the cell no middle while the
// destination has one. Margins are clamped into the cell. Pieces with nothing to
// draw are left out. Order: top-left, bottom-left, top-right, left edge, top edge, centre,
// bottom-right, right edge, bottom edge.
std::vector<SlicePiece> NineSlicePieces(const SkinRect& cell, SkinMargins margins, const SkinRect& dest, bool tile);
// The two steps of NineSlicePieces for painters with rules of their own: the margins clamped into
// the cell and dropped where the destination is narrower (or lower) than both together; and the
// pieces for such margins, in the order above, the centre only when `centre` is set.
SkinMargins FitSliceMargins(const SkinRect& cell, SkinMargins margins, const SkinRect& dest);
std::vector<SlicePiece> SlicePieces(const SkinRect& cell, const SkinMargins& fitted, const SkinRect& dest, bool tile,
                                    bool centre);

// Everywhere an int reaches: the default of the parts a caller sees.
inline constexpr SkinRect kEverywhere{INT_MIN, INT_MIN, INT_MAX, INT_MAX};

// The pieces of a strip: the cell's left part copied to the left end, the right part to the right
// end, and the middle repeated at its own width in between; every piece stretched to the height of
// `dest`. Parts wider than the cell are clamped, ends wider than `dest` cut at its edge; a middle
// of no width is not repeated (the ends are still drawn). Only the repeats that reach into `visible` are listed, so a strip far longer
// than what shows costs no more than what shows.
std::vector<SlicePiece> StripPieces(const SkinRect& cell, int leftPart, int rightPart, const SkinRect& dest,
                                    const SkinRect& visible = kEverywhere);

}  // namespace qlt
