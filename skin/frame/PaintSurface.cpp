#include "skin/frame/PaintSurface.h"

#include <algorithm>

namespace qlt {

PaintSurface::~PaintSurface() { Release(); }

void PaintSurface::Release() {
  if (dc_ && original_) SelectObject(dc_.Get(), original_);
  original_ = nullptr;
  bitmap_.Reset();
  dc_.Reset();
  bits_ = nullptr;
  width_ = height_ = 0;
}

bool PaintSurface::Reserve(int width, int height) {
  width = std::max(width, 1);
  height = std::max(height, 1);
  if (bits_ && width <= width_ && height <= height_) return true;
  // Grow in steps, so a window dragged larger does not make a new bitmap at every step.
  const int w = std::max(width, width_ + width_ / 2), h = std::max(height, height_ + height_ / 2);
  Release();
  UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
  if (!dc) return false;
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = w;
  bi.bmiHeader.biHeight = -h;  // top-down rows
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  bi.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  UniqueBitmap bitmap(CreateDIBSection(dc.Get(), &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!bitmap || !bits) return false;
  original_ = SelectObject(dc.Get(), bitmap.Get());
  dc_ = std::move(dc);
  bitmap_ = std::move(bitmap);
  bits_ = static_cast<Pixel32*>(bits);
  width_ = w;
  height_ = h;
  return true;
}

PixelView PaintSurface::View(int width, int height) {
  if (!bits_) return {};
  GdiFlush();
  return PixelView(bits_, std::min(width, width_), std::min(height, height_), width_);
}

void PaintSurface::CopyTo(HDC dest, const SkinRect& r, int sourceX, int sourceY) const {
  if (!dc_ || r.Empty()) return;
  BitBlt(dest, r.left, r.top, r.Width(), r.Height(), dc_.Get(), sourceX, sourceY, SRCCOPY);
}

}  // namespace qlt
