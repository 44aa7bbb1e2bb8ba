#include "skin/frame/SkinGeometry.h"

namespace qlt {

int ClampCellCount(int count) { return std::max(count, 1); }

SkinRect CellRect(int imageWidth, int imageHeight, int count, int index, CellLayout layout) {
  if (imageWidth <= 0 || imageHeight <= 0) return {};
  count = ClampCellCount(count);
  index = std::clamp(index, 1, count);
  if (layout == CellLayout::kStacked) {
    const int h = imageHeight / count;
    return RectOfSize(0, h * (index - 1), imageWidth, h);
  }
  const int w = imageWidth / count;
  return RectOfSize(w * (index - 1), 0, w, imageHeight);
}

namespace {

void AddPiece(std::vector<SlicePiece>& pieces, SkinRect source, SkinRect dest, bool tiled = false) {
  if (source.Empty() || dest.Empty()) return;
  pieces.push_back({source, dest, tiled});
}

}  // namespace

SkinMargins FitSliceMargins(const SkinRect& cell, SkinMargins m, const SkinRect& dest) {
  const int cw = std::max(cell.Width(), 0), ch = std::max(cell.Height(), 0);
  m.left = std::clamp(m.left, 0, cw);
  m.right = std::clamp(m.right, 0, cw - m.left);
  m.top = std::clamp(m.top, 0, ch);
  m.bottom = std::clamp(m.bottom, 0, ch - m.top);
  if (dest.Width() < m.left + m.right) m.left = m.right = 0;
  if (dest.Height() < m.top + m.bottom) m.top = m.bottom = 0;
  return m;
}

std::vector<SlicePiece> SlicePieces(const SkinRect& cell, const SkinMargins& m, const SkinRect& dest, bool tile,
                                    bool centre) {
  std::vector<SlicePiece> pieces;
  if (cell.Empty() || dest.Empty()) return pieces;
  const int sl = cell.left, st = cell.top, sr = cell.right, sb = cell.bottom;
  const int dl = dest.left, dt = dest.top, dr = dest.right, db = dest.bottom;
  const int L = m.left, T = m.top, R = m.right, B = m.bottom;
  pieces.reserve(9);
  AddPiece(pieces, {sl, st, sl + L, st + T}, {dl, dt, dl + L, dt + T});                  // top-left
  AddPiece(pieces, {sl, sb - B, sl + L, sb}, {dl, db - B, dl + L, db});                  // bottom-left
  AddPiece(pieces, {sr - R, st, sr, st + T}, {dr - R, dt, dr, dt + T});                  // top-right
  AddPiece(pieces, {sl, st + T, sl + L, sb - B}, {dl, dt + T, dl + L, db - B});          // left edge
  AddPiece(pieces, {sl + L, st, sr - R, st + T}, {dl + L, dt, dr - R, dt + T});          // top edge
  if (centre) AddPiece(pieces, {sl + L, st + T, sr - R, sb - B}, {dl + L, dt + T, dr - R, db - B}, tile);
  AddPiece(pieces, {sr - R, sb - B, sr, sb}, {dr - R, db - B, dr, db});                  // bottom-right
  AddPiece(pieces, {sr - R, st + T, sr, sb - B}, {dr - R, dt + T, dr, db - B});          // right edge
  AddPiece(pieces, {sl + L, sb - B, sr - R, sb}, {dl + L, db - B, dr - R, db});          // bottom edge
  return pieces;
}

std::vector<SlicePiece> NineSlicePieces(const SkinRect& cell, SkinMargins m, const SkinRect& dest, bool tile) {
  if (cell.Empty() || dest.Empty()) return {};
  m = FitSliceMargins(cell, m, dest);
  // Margins that leave the cell no middle cannot fill a destination that has one: the whole cell
  // is stretched (or tiled) instead of leaving a gap.
  if (m.left + m.right == cell.Width() && dest.Width() > cell.Width()) m.left = m.right = 0;
  if (m.top + m.bottom == cell.Height() && dest.Height() > cell.Height()) m.top = m.bottom = 0;
  return SlicePieces(cell, m, dest, tile, true);
}

std::vector<SlicePiece> StripPieces(const SkinRect& cell, int leftPart, int rightPart, const SkinRect& dest,
                                    const SkinRect& visible) {
  std::vector<SlicePiece> pieces;
  if (cell.Empty() || dest.Empty()) return pieces;
  const int cw = cell.Width();
  leftPart = std::clamp(leftPart, 0, cw);
  rightPart = std::clamp(rightPart, 0, cw - leftPart);
  const int middle = cw - leftPart - rightPart;
  const int dl = dest.left, dt = dest.top, dr = dest.right, db = dest.bottom;
  const int middleStart = ClampToInt(std::int64_t{dl} + leftPart);
  const int middleEnd = ClampToInt(std::int64_t{dr} - rightPart);
  if (middle == 1) {
    // One column repeated is the same as that column stretched: one piece instead of hundreds.
    AddPiece(pieces, {cell.left + leftPart, cell.top, cell.left + leftPart + 1, cell.bottom},
             {middleStart, dt, middleEnd, db});
  } else if (middle > 1) {
    // From the first repeat that reaches the visible part to the last one that starts inside it.
    std::int64_t x = middleStart;
    if (visible.left > x) x += (visible.left - x) / middle * middle;
    const std::int64_t end = std::min(middleEnd, visible.right);
    for (; x < end; x += middle) {
      const int w = static_cast<int>(std::min<std::int64_t>(middle, middleEnd - x));
      const int left = static_cast<int>(x);
      AddPiece(pieces, {cell.left + leftPart, cell.top, cell.left + leftPart + w, cell.bottom}, {left, dt, left + w, db});
    }
  }
  // The ends at their own widths, cut where the destination ends (it is narrower than both).
  const int leftEnd = std::min(middleStart, dr), rightStart = std::max(middleEnd, dl);
  AddPiece(pieces, {cell.left, cell.top, cell.left + (leftEnd - dl), cell.bottom}, {dl, dt, leftEnd, db});
  AddPiece(pieces, {cell.right - (dr - rightStart), cell.top, cell.right, cell.bottom}, {rightStart, dt, dr, db});
  return pieces;
}

}  // namespace qlt
