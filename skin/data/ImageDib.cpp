#include "skin/data/ImageDib.h"

#include <cstring>
#include <utility>
#include <vector>

namespace qlt {
namespace {

std::size_t DibStride(int width) { return (static_cast<std::size_t>(width) * 3 + 3) / 4 * 4; }

BITMAPINFO TopDown24(int width, int height) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // negative: rows from the top, as in Bitmap24
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  return info;
}

}  // namespace

DibSection& DibSection::operator=(DibSection&& other) noexcept {
  if (this != &other) {
    Reset();
    bitmap_ = std::exchange(other.bitmap_, nullptr);
    width_ = std::exchange(other.width_, 0);
    height_ = std::exchange(other.height_, 0);
  }
  return *this;
}

HBITMAP DibSection::Release() noexcept {
  width_ = height_ = 0;
  return std::exchange(bitmap_, nullptr);
}

void DibSection::Reset() noexcept {
  if (bitmap_) DeleteObject(bitmap_);
  bitmap_ = nullptr;
  width_ = height_ = 0;
}

DibSection CreateDib(const Bitmap24& image) noexcept {
  if (image.Empty()) return {};
  BITMAPINFO info = TopDown24(image.Width(), image.Height());
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!bitmap || !bits) {
    if (bitmap) DeleteObject(bitmap);
    return {};
  }
  // Rows of a DIB are padded to 4 bytes; Bitmap24 rows are not.
  const std::size_t stride = DibStride(image.Width());
  auto* dst = static_cast<unsigned char*>(bits);
  for (int y = 0; y < image.Height(); ++y) {
    std::memcpy(dst + stride * static_cast<std::size_t>(y), image.ScanLine(y),
                static_cast<std::size_t>(image.Width()) * 3);
  }
  GdiFlush();
  return DibSection(bitmap, image.Width(), image.Height());
}

Bitmap24 ReadBitmap(HBITMAP bitmap) {
  BITMAP desc{};
  if (!bitmap || GetObjectW(bitmap, sizeof desc, &desc) != sizeof desc || desc.bmWidth <= 0 || desc.bmHeight == 0) {
    return {};
  }
  const int width = desc.bmWidth;
  const int height = desc.bmHeight < 0 ? -desc.bmHeight : desc.bmHeight;
  const std::size_t stride = DibStride(width);
  std::vector<unsigned char> buffer(stride * static_cast<std::size_t>(height));
  BITMAPINFO info = TopDown24(width, height);
  HDC screen = GetDC(nullptr);
  const int rows = GetDIBits(screen, bitmap, 0, static_cast<UINT>(height), buffer.data(), &info, DIB_RGB_COLORS);
  ReleaseDC(nullptr, screen);
  if (rows != height) return {};
  Bitmap24 image(width, height);
  for (int y = 0; y < height; ++y) {
    std::memcpy(image.ScanLine(y), buffer.data() + stride * static_cast<std::size_t>(y),
                static_cast<std::size_t>(width) * 3);
  }
  return image;
}

}  // namespace qlt
