#pragma once
// The Windows side of the skin image: a Bitmap24 becomes a GDI bitmap (a DIB section) when it is
// painted, and a GDI bitmap (a window's icon, a screen part) can be read back into a Bitmap24.
#include <windows.h>

#include <utility>

#include "skin/data/Bitmap24.h"

namespace qlt {

// Owns one DIB section; move-only, deleted with its owner. Select it into a DC only for the time
// of a paint: a bitmap still selected into a DC cannot be deleted.
class DibSection {
 public:
  DibSection() = default;
  DibSection(HBITMAP bitmap, int width, int height) noexcept : bitmap_(bitmap), width_(width), height_(height) {}
  ~DibSection() { Reset(); }
  DibSection(DibSection&& other) noexcept { *this = std::move(other); }
  DibSection& operator=(DibSection&& other) noexcept;
  DibSection(const DibSection&) = delete;
  DibSection& operator=(const DibSection&) = delete;

  HBITMAP Handle() const noexcept { return bitmap_; }
  explicit operator bool() const noexcept { return bitmap_ != nullptr; }
  int Width() const noexcept { return width_; }
  int Height() const noexcept { return height_; }
  // Gives up ownership (the caller deletes the bitmap).
  HBITMAP Release() noexcept;
  void Reset() noexcept;

 private:
  HBITMAP bitmap_ = nullptr;
  int width_ = 0;
  int height_ = 0;
};

// A 24-bit top-down DIB section with the image's pixels; an empty DibSection for an empty image or
// when GDI has no room for it.
DibSection CreateDib(const Bitmap24& image) noexcept;

// The pixels of any GDI bitmap as a 24-bit image (empty when the handle is not a bitmap). The bitmap
// must not be selected into a DC.
Bitmap24 ReadBitmap(HBITMAP bitmap);

}  // namespace qlt
