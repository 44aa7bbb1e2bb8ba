#include "skin/data/BitmapTransforms.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace qlt {

void ToGrey(Bitmap24& bitmap) {
  for (int y = 0; y < bitmap.Height(); ++y) {
    Bgr* row = bitmap.ScanLine(y);
    for (int x = 0; x < bitmap.Width(); ++x) {
      const auto g = static_cast<std::uint8_t>((row[x].b + row[x].g + row[x].r) / 3);
      row[x] = Bgr{g, g, g};
    }
  }
}

void MirrorHorizontal(Bitmap24& bitmap) {
  for (int y = 0; y < bitmap.Height(); ++y) {
    Bgr* row = bitmap.ScanLine(y);
    std::reverse(row, row + bitmap.Width());
  }
}

void FlipVertical(Bitmap24& bitmap) {
  const std::size_t rowBytes = static_cast<std::size_t>(bitmap.Width()) * sizeof(Bgr);
  std::vector<Bgr> scratch(static_cast<std::size_t>(bitmap.Width()));
  for (int top = 0, bottom = bitmap.Height() - 1; top < bottom; ++top, --bottom) {
    std::memcpy(scratch.data(), bitmap.ScanLine(top), rowBytes);
    std::memcpy(bitmap.ScanLine(top), bitmap.ScanLine(bottom), rowBytes);
    std::memcpy(bitmap.ScanLine(bottom), scratch.data(), rowBytes);
  }
}

void RotateLeft(Bitmap24& bitmap) {
  const int w = bitmap.Width();
  const int h = bitmap.Height();
  if (bitmap.Empty()) return;
  Bitmap24 turned(h, w);
  // New pixel (x', y') is old pixel (w - 1 - y', x').
  for (int y = 0; y < w; ++y) {
    Bgr* row = turned.ScanLine(y);
    for (int x = 0; x < h; ++x) row[x] = bitmap.At(w - 1 - y, x);
  }
  bitmap = std::move(turned);
}

void RotateRight(Bitmap24& bitmap) {
  const int w = bitmap.Width();
  const int h = bitmap.Height();
  if (bitmap.Empty()) return;
  Bitmap24 turned(h, w);
  // New pixel (x', y') is old pixel (y', h - 1 - x').
  for (int y = 0; y < w; ++y) {
    Bgr* row = turned.ScanLine(y);
    for (int x = 0; x < h; ++x) row[x] = bitmap.At(y, h - 1 - x);
  }
  bitmap = std::move(turned);
}

}  // namespace qlt
