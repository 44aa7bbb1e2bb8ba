#include "skin/controls/BarArt.h"

#include <algorithm>

namespace qlt {

namespace {

BlendMode ModeOf(const TDataSkinObject& o) { return o.Trans != 0 ? BlendMode::kKeyTransparent : BlendMode::kCopy; }

SkinMargins MarginsOf(const TDataSkinObject& o) { return {o.LeftWidth, o.TopHeight, o.RightWidth, o.BottomHeight}; }

}  // namespace

int ProgressFillLength(std::int32_t position, std::int32_t low, std::int32_t high, int length) {
  if (high <= low || length <= 0) return 0;
  const std::int64_t range = std::int64_t{high} - low;
  const std::int64_t along = std::clamp<std::int64_t>(std::int64_t{position} - low, 0, range);
  // Rounded to the nearest pixel; range < 2^32 and length < 2^31 keep the sum below 2^63.
  return static_cast<int>((along * length + range / 2) / range);
}

void ComposeProgress(const PixelView& view, const SkinRect& area, const TDataSkinBorder& progress, Pixel32 face,
                     const ProgressState& state) {
  const SkinRect target = area.Intersect(view.Bounds());
  if (target.Empty()) return;
  view.Fill(target, face);
  if (progress.Image.Empty() || area.Empty()) return;
  const BlendMode mode = ModeOf(progress);
  if (progress.Style == 1) {
    DrawNineSlice(view, area, progress.Image, 1, 1, CellLayout::kSideBySide, MarginsOf(progress), progress.Tile == 1,
                  mode);
    const Bitmap24& chunk = progress.Image2;
    if (chunk.Empty()) return;
    // In 64 bits: margins wider than the bar leave nothing to fill.
    const std::int64_t start = std::int64_t{area.left} + std::max(progress.LeftWidth, 0);
    const std::int64_t end = std::int64_t{area.right} - std::max(progress.RightWidth, 0);
    if (end <= start) return;
    const int filled = ProgressFillLength(state.position, state.low, state.high, ClampToInt(end - start));
    if (filled <= 0) return;
    // Centred across the bar: a chunk taller than the bar shows its middle rows.
    const std::int64_t top = area.top + (std::int64_t{area.Height()} - chunk.Height()) / 2;
    const SkinRect dest = SkinRect{static_cast<int>(start), ClampToInt(top), static_cast<int>(start + filled),
                                   ClampToInt(top + chunk.Height())}.Intersect(area);
    if (dest.Empty()) return;
    // Whole chunks side by side; the last one is cut where the filled part ends.
    TileImage(view, dest, chunk,
              {0, static_cast<int>(dest.top - top), chunk.Width(), static_cast<int>(dest.bottom - top)}, mode);
    return;
  }
  DrawNineSlice(view, area, progress.Image, 2, 1, CellLayout::kSideBySide, MarginsOf(progress), progress.Tile == 1,
                mode);
  const int filled = ProgressFillLength(state.position, state.low, state.high, area.Width());
  if (filled <= 0) return;
  DrawNineSlice(view, {area.left, area.top, area.left + filled, area.bottom}, progress.Image, 2, 2,
                CellLayout::kSideBySide, MarginsOf(progress), progress.Tile == 1, mode);
}

void RotatePixelsLeft(const PixelView& source, const PixelView& dest) {
  const int w = std::min(source.Width(), dest.Height());
  const int h = std::min(source.Height(), dest.Width());
  for (int y = 0; y < w; ++y) {
    // Row y of the result is column (width - 1 - y) of the source, read from the top.
    const int column = source.Width() - 1 - y;
    if (column < 0 || column >= source.Width()) continue;
    for (int x = 0; x < h; ++x) dest.At(x, y) = source.At(column, x);
  }
}

int StatusPanelCell(unsigned flags) {
  if (flags & 0x100) return 3;
  if (flags & 0x200) return 2;
  return 1;
}

std::array<std::u16string, 3> SplitPanelText(const std::u16string& text) {
  std::array<std::u16string, 3> parts;
  size_t part = 0;
  for (char16_t c : text) {
    if (c == u'\t' && part < 2) {
      ++part;
      continue;
    }
    parts[part].push_back(c);
  }
  return parts;
}

}  // namespace qlt
