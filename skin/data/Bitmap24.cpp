#include "skin/data/Bitmap24.h"

#include <algorithm>
#include <cstring>

namespace qlt {

Bitmap24::Bitmap24(int width, int height, Bgr fill) {
  if (width <= 0 || height <= 0) return;
  width_ = width;
  height_ = height;
  pixels_.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), fill);
}

Bitmap24 Bitmap24::Copy(int x, int y, int width, int height) const {
  const int left = std::clamp(x, 0, width_);
  const int top = std::clamp(y, 0, height_);
  // 64-bit sums: x + width may overflow an int for callers passing extreme values.
  const int right = static_cast<int>(std::clamp<long long>(static_cast<long long>(x) + width, left, width_));
  const int bottom = static_cast<int>(std::clamp<long long>(static_cast<long long>(y) + height, top, height_));
  Bitmap24 part(right - left, bottom - top);
  for (int row = 0; row < part.Height(); ++row) {
    std::memcpy(part.ScanLine(row), ScanLine(top + row) + left, static_cast<std::size_t>(part.Width()) * sizeof(Bgr));
  }
  return part;
}

void Bitmap24::Clear() {
  width_ = 0;
  height_ = 0;
  pixels_.clear();
  pixels_.shrink_to_fit();
}

}  // namespace qlt
