#pragma once
// Painting skin images into 32-bit pixels: the layout of a Windows DIB section (blue, green, red,
// unused; rows top to bottom), so the Windows side lets GDI draw text into the same pixels and
// puts the result on the screen in one copy. Stretching picks the nearest source pixel, as GDI's
// COLORONCOLOR mode does; magenta is the transparent colour. Portable: no <windows.h>.
#include <cstdint>
#include <vector>

#include "skin/data/Bitmap24.h"
#include "skin/frame/SkinGeometry.h"

namespace qlt {

// 0x00RRGGBB, as a 32-bit DIB section stores a pixel.
using Pixel32 = std::uint32_t;
constexpr Pixel32 ToPixel32(Bgr p) { return Pixel32{p.b} | (Pixel32{p.g} << 8) | (Pixel32{p.r} << 16); }
constexpr Pixel32 kTransparentPixel32 = 0x00FF00FF;
// Magenta with the tolerance the window shape allows: red and blue 255, green 0 or 1.
constexpr bool IsTransparent(Pixel32 p) { return (p & 0x00FFFEFF) == 0x00FF00FF; }
constexpr bool IsTransparent(Bgr p) { return p.r == 255 && p.b == 255 && p.g <= 1; }

// Pixels someone else owns (a DIB section, a buffer), `stride` pixels from one row to the next.
class PixelView {
 public:
  PixelView() = default;
  PixelView(Pixel32* pixels, int width, int height, int stride)
      : pixels_(pixels), width_(width), height_(height), stride_(stride) {}
  int Width() const { return width_; }
  int Height() const { return height_; }
  bool Empty() const { return !pixels_ || width_ <= 0 || height_ <= 0; }
  SkinRect Bounds() const { return {0, 0, width_, height_}; }
  Pixel32* Row(int y) const { return pixels_ + static_cast<std::ptrdiff_t>(y) * stride_; }
  Pixel32& At(int x, int y) const { return Row(y)[x]; }
  void Fill(const SkinRect& rect, Pixel32 colour) const;

 private:
  Pixel32* pixels_ = nullptr;
  int width_ = 0;
  int height_ = 0;
  int stride_ = 0;
};

// A buffer of its own, for painting off the screen and for tests.
class PixelBuffer {
 public:
  PixelBuffer() = default;
  PixelBuffer(int width, int height, Pixel32 fill = 0);
  PixelView View() { return PixelView(pixels_.data(), width_, height_, width_); }
  int Width() const { return width_; }
  int Height() const { return height_; }
  Pixel32 At(int x, int y) const { return pixels_[static_cast<std::size_t>(y) * width_ + x]; }

 private:
  int width_ = 0;
  int height_ = 0;
  std::vector<Pixel32> pixels_;
};

enum class BlendMode { kCopy, kKeyTransparent };

// Copies `source` of the image into `dest` of the view, stretched to dest's size (nearest pixel);
// only the part inside both the image and the view is drawn. With kKeyTransparent, magenta source
// pixels leave the view as it was.
void StretchImage(const PixelView& view, const SkinRect& dest, const Bitmap24& image, const SkinRect& source,
                  BlendMode mode);
// Repeats `source` at its own size from dest's top-left, clipped to dest.
void TileImage(const PixelView& view, const SkinRect& dest, const Bitmap24& image, const SkinRect& source,
               BlendMode mode);
void DrawPieces(const PixelView& view, const Bitmap24& image, const std::vector<SlicePiece>& pieces, BlendMode mode);

// Cell `index` of `count` of the image, nine-sliced into dest with the margins (see NineSlicePieces).
void DrawNineSlice(const PixelView& view, const SkinRect& dest, const Bitmap24& image, int count, int index,
                   CellLayout layout, SkinMargins margins, bool tile, BlendMode mode);
// Cell `index` of `count` (side by side) stretched into dest whole.
void DrawCell(const PixelView& view, const SkinRect& dest, const Bitmap24& image, int count, int index, BlendMode mode);
// Cell `index` of `count` as a strip with fixed ends (see StripPieces).
void DrawStrip(const PixelView& view, const SkinRect& dest, const Bitmap24& image, int count, int index,
               CellLayout layout, int leftPart, int rightPart, BlendMode mode);

// The outline of a rectangle, one pixel wide: only its part inside the view is visited, so a
// rectangle far larger than the view costs no more than the view.
void FrameRectPixels(const PixelView& view, const SkinRect& rect, Pixel32 colour);

// The opaque runs of each row of `area` in the view (pixels that are not magenta), as rectangles
// one row high moved by (dx, dy); runs of the same columns in consecutive rows are merged into one
// rectangle, so a plain area gives a single rectangle.
std::vector<SkinRect> OpaqueRects(const PixelView& view, const SkinRect& area, int dx, int dy);

}  // namespace qlt
