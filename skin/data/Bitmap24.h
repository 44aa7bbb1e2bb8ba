#pragma once
// The skin layer's image: 24-bit pixels (blue, green, red), rows from top to bottom, no padding.
// Skin bitmaps are decoded into it (BmpCodec.h), transformed in place (BitmapTransforms.h), and
// turned into a GDI bitmap only when they are painted (ImageDib.h on Windows).
#include <cstddef>
#include <cstdint>
#include <vector>

namespace qlt {

struct Bgr {
  std::uint8_t b = 0;
  std::uint8_t g = 0;
  std::uint8_t r = 0;
  friend bool operator==(const Bgr&, const Bgr&) = default;
};
static_assert(sizeof(Bgr) == 3, "a pixel is three bytes, as in a 24-bit scan line");

constexpr Bgr RgbPixel(std::uint8_t r, std::uint8_t g, std::uint8_t b) { return Bgr{b, g, r}; }

// The transparent colour of every skin image.
constexpr Bgr kSkinTransparent = RgbPixel(255, 0, 255);

class Bitmap24 {
 public:
  Bitmap24() = default;
  // A negative size counts as 0, giving an empty image.
  Bitmap24(int width, int height, Bgr fill = {});

  int Width() const { return width_; }
  int Height() const { return height_; }
  bool Empty() const { return width_ == 0 || height_ == 0; }

  Bgr* ScanLine(int y) { return pixels_.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width_); }
  const Bgr* ScanLine(int y) const {
    return pixels_.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width_);
  }
  Bgr& At(int x, int y) { return ScanLine(y)[x]; }
  const Bgr& At(int x, int y) const { return ScanLine(y)[x]; }

  // All pixels, row after row from the top.
  const Bgr* Data() const { return pixels_.data(); }
  std::size_t PixelCount() const { return pixels_.size(); }

  // The part at (x, y) of the given size, clipped to the image (an empty image when nothing is left).
  Bitmap24 Copy(int x, int y, int width, int height) const;

  void Clear();

  friend bool operator==(const Bitmap24&, const Bitmap24&) = default;

 private:
  int width_ = 0;
  int height_ = 0;
  std::vector<Bgr> pixels_;
};

}  // namespace qlt
