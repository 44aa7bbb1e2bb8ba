#pragma once
// An off-screen 32-bit surface: a DIB section selected into a memory DC, so the skin painters
// write its pixels directly (SkinPixels.h) and GDI draws text and icons into the same place; the
// result goes to the screen in one copy. It grows to the largest size asked for and is reused, so
// painting a frame creates no GDI object.
#include <windows.h>

#include "skin/frame/SkinPixels.h"
#include "ui/Handles.h"

namespace qlt {

class PaintSurface {
 public:
  PaintSurface() = default;
  ~PaintSurface();
  PaintSurface(const PaintSurface&) = delete;
  PaintSurface& operator=(const PaintSurface&) = delete;

  // Makes room for width x height; false when GDI has none (the caller paints nothing).
  bool Reserve(int width, int height);
  // The top-left width x height of the surface's pixels; GDI's pending drawing is finished first.
  PixelView View(int width, int height);
  HDC Dc() const { return dc_.Get(); }
  int Width() const { return width_; }
  int Height() const { return height_; }
  // Copies a part of the surface to a DC.
  void CopyTo(HDC dest, const SkinRect& destRect, int sourceX, int sourceY) const;
  // Gives the memory back (a surface kept between paints holds the largest size it had).
  void Release();

 private:
  UniqueMemoryDc dc_;
  UniqueBitmap bitmap_;
  HGDIOBJ original_ = nullptr;
  Pixel32* bits_ = nullptr;
  int width_ = 0;
  int height_ = 0;
};

}  // namespace qlt
