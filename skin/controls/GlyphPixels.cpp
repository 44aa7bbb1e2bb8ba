#include "skin/controls/GlyphPixels.h"

#include <algorithm>

#include "skin/data/BitmapTransforms.h"

namespace qlt {

SkinRect GlyphCellRect(int width, int height, int numGlyphs, int cell) {
  const int count = std::max(numGlyphs, 1);
  const int cellWidth = std::max(width, 0) / count;
  if (cellWidth == 0 || height <= 0) return {};
  const int index = cell >= 1 && cell <= count ? cell - 1 : 0;
  return RectOfSize(index * cellWidth, 0, cellWidth, height);
}

void DrawGlyph(const PixelView& view, int x, int y, const Bitmap24& glyph, const SkinRect& source, Bgr key,
               bool greyed) {
  if (view.Empty() || glyph.Empty()) return;
  // Only the part that is inside the image and lands inside the view.
  const SkinRect from{std::max(source.left, 0), std::max(source.top, 0), std::min(source.right, glyph.Width()),
                      std::min(source.bottom, glyph.Height())};
  if (from.Empty()) return;
  const int dx = x - source.left, dy = y - source.top;
  const int left = std::max(from.left, -dx), right = std::min(from.right, view.Width() - dx);
  const int top = std::max(from.top, -dy), bottom = std::min(from.bottom, view.Height() - dy);
  if (left >= right || top >= bottom) return;
  Bitmap24 shown = glyph.Copy(left, top, right - left, bottom - top);
  if (greyed) ToGrey(shown);
  for (int sy = top; sy < bottom; ++sy) {
    const Bgr* original = glyph.ScanLine(sy);
    const Bgr* drawn = shown.ScanLine(sy - top);
    Pixel32* out = view.Row(sy + dy);
    for (int sx = left; sx < right; ++sx) {
      if (original[sx] == key) continue;
      out[sx + dx] = ToPixel32(drawn[sx - left]);
    }
  }
}

}  // namespace qlt
