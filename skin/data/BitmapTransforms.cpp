#include "skin/data/BitmapTransforms.h"

#include <algorithm>
#include <cstring>
#include <utility>
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

namespace {

// A quarter turn: width and height exchange, and `source(x', y')` names the old pixel that lands
// at (x', y').
template <typename Source>
void Turn(Bitmap24& bitmap, Source source) {
  if (bitmap.Empty()) return;
  Bitmap24 turned(bitmap.Height(), bitmap.Width());
  for (int y = 0; y < turned.Height(); ++y) {
    Bgr* row = turned.ScanLine(y);
    for (int x = 0; x < turned.Width(); ++x) {
      const auto [oldX, oldY] = source(x, y);
      row[x] = bitmap.At(oldX, oldY);
    }
  }
  bitmap = std::move(turned);
}

}  // namespace

void RotateLeft(Bitmap24& bitmap) {
  const int w = bitmap.Width();
  Turn(bitmap, [w](int x, int y) { return std::pair{w - 1 - y, x}; });
}

void RotateRight(Bitmap24& bitmap) {
  const int h = bitmap.Height();
  Turn(bitmap, [h](int x, int y) { return std::pair{y, h - 1 - x}; });
}

}  // namespace qlt
