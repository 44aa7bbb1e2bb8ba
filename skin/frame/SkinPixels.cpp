#include "skin/frame/SkinPixels.h"

#include <algorithm>

namespace qlt {

void PixelView::Fill(const SkinRect& rect, Pixel32 colour) const {
  const SkinRect r = rect.Intersect(Bounds());
  if (Empty() || r.Empty()) return;
  for (int y = r.top; y < r.bottom; ++y) std::fill(Row(y) + r.left, Row(y) + r.right, colour);
}

PixelBuffer::PixelBuffer(int width, int height, Pixel32 fill)
    : width_(std::max(width, 0)),
      height_(std::max(height, 0)),
      pixels_(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_), fill) {}

namespace {

SkinRect ImageBounds(const Bitmap24& image) { return {0, 0, image.Width(), image.Height()}; }

// Copies one row span of source pixels (already mapped) into the view.
inline void PutPixel(Pixel32* row, int x, Bgr p, BlendMode mode) {
  if (mode == BlendMode::kKeyTransparent && IsTransparent(p)) return;
  row[x] = ToPixel32(p);
}

}  // namespace

void StretchImage(const PixelView& view, const SkinRect& dest, const Bitmap24& image, const SkinRect& source,
                  BlendMode mode) {
  if (view.Empty() || dest.Empty() || source.Empty()) return;
  // The source must lie inside the image: a rectangle cut from a damaged description may not.
  if (source.Intersect(ImageBounds(image)) != source) return;
  const SkinRect clip = dest.Intersect(view.Bounds());
  if (clip.Empty()) return;
  const int dw = dest.Width(), dh = dest.Height(), sw = source.Width(), sh = source.Height();
  // Column map once per call: the source column of each destination column.
  std::vector<int> columns(static_cast<std::size_t>(clip.Width()));
  for (int x = clip.left; x < clip.right; ++x) {
    columns[static_cast<std::size_t>(x - clip.left)] =
        source.left + static_cast<int>(static_cast<long long>(x - dest.left) * sw / dw);
  }
  for (int y = clip.top; y < clip.bottom; ++y) {
    const int sy = source.top + static_cast<int>(static_cast<long long>(y - dest.top) * sh / dh);
    const Bgr* src = image.ScanLine(sy);
    Pixel32* row = view.Row(y);
    for (int x = clip.left; x < clip.right; ++x) PutPixel(row, x, src[columns[static_cast<std::size_t>(x - clip.left)]], mode);
  }
}

void TileImage(const PixelView& view, const SkinRect& dest, const Bitmap24& image, const SkinRect& source,
               BlendMode mode) {
  if (view.Empty() || dest.Empty() || source.Empty()) return;
  if (source.Intersect(ImageBounds(image)) != source) return;
  const SkinRect clip = dest.Intersect(view.Bounds());
  if (clip.Empty()) return;
  const int sw = source.Width(), sh = source.Height();
  for (int y = clip.top; y < clip.bottom; ++y) {
    const Bgr* src = image.ScanLine(source.top + (y - dest.top) % sh);
    Pixel32* row = view.Row(y);
    for (int x = clip.left; x < clip.right; ++x) PutPixel(row, x, src[source.left + (x - dest.left) % sw], mode);
  }
}

void DrawPieces(const PixelView& view, const Bitmap24& image, const std::vector<SlicePiece>& pieces, BlendMode mode) {
  for (const SlicePiece& p : pieces) {
    if (p.tiled) {
      TileImage(view, p.dest, image, p.source, mode);
    } else {
      StretchImage(view, p.dest, image, p.source, mode);
    }
  }
}

void DrawNineSlice(const PixelView& view, const SkinRect& dest, const Bitmap24& image, int count, int index,
                   CellLayout layout, SkinMargins margins, bool tile, BlendMode mode) {
  if (dest.Inverted() || image.Empty()) return;
  const SkinRect cell = CellRect(image.Width(), image.Height(), count, index, layout);
  DrawPieces(view, image, NineSlicePieces(cell, margins, dest, tile), mode);
}

void DrawCell(const PixelView& view, const SkinRect& dest, const Bitmap24& image, int count, int index, BlendMode mode) {
  if (dest.Inverted() || image.Empty()) return;
  StretchImage(view, dest, image, CellRect(image.Width(), image.Height(), count, index, CellLayout::kSideBySide), mode);
}

void DrawStrip(const PixelView& view, const SkinRect& dest, const Bitmap24& image, int count, int index,
               CellLayout layout, int leftPart, int rightPart, BlendMode mode) {
  if (dest.Inverted() || image.Empty()) return;
  const SkinRect cell = CellRect(image.Width(), image.Height(), count, index, layout);
  DrawPieces(view, image, StripPieces(cell, leftPart, rightPart, dest, view.Bounds()), mode);
}

void FrameRectPixels(const PixelView& view, const SkinRect& rect, Pixel32 colour) {
  if (view.Empty() || rect.Empty()) return;
  // Each side is filled where it crosses the view (Fill clips first).
  view.Fill({rect.left, rect.top, rect.right, rect.top + 1}, colour);
  view.Fill({rect.left, rect.bottom - 1, rect.right, rect.bottom}, colour);
  view.Fill({rect.left, rect.top, rect.left + 1, rect.bottom}, colour);
  view.Fill({rect.right - 1, rect.top, rect.right, rect.bottom}, colour);
}

std::vector<SkinRect> OpaqueRects(const PixelView& view, const SkinRect& area, int dx, int dy) {
  std::vector<SkinRect> done;
  const SkinRect r = area.Intersect(view.Bounds());
  if (view.Empty() || r.Empty()) return done;
  // Rectangles still growing downwards, one per run of the previous row, left to right.
  std::vector<SkinRect> open, next;
  for (int y = r.top; y < r.bottom; ++y) {
    const Pixel32* row = view.Row(y);
    next.clear();
    size_t o = 0;
    for (int x = r.left; x < r.right;) {
      if (IsTransparent(row[x])) {
        ++x;
        continue;
      }
      const int start = x;
      while (x < r.right && !IsTransparent(row[x])) ++x;
      const SkinRect run{start + dx, y + dy, x + dx, y + 1 + dy};
      // Close the open rectangles that end before this run; extend the one with the same columns.
      while (o < open.size() && open[o].left < run.left) done.push_back(open[o++]);
      if (o < open.size() && open[o].left == run.left && open[o].right == run.right) {
        SkinRect grown = open[o++];
        grown.bottom = run.bottom;
        next.push_back(grown);
      } else {
        next.push_back(run);
      }
    }
    while (o < open.size()) done.push_back(open[o++]);
    open.swap(next);
  }
  done.insert(done.end(), open.begin(), open.end());
  return done;
}

}  // namespace qlt
