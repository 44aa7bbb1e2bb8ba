#include "resources/skin/generator/Raster.h"

#include <algorithm>
#include <cmath>
#include <deque>

#include "resources/skin/generator/PixelFont.h"

namespace qlt::art {
namespace {

std::uint8_t Channel(double v) { return static_cast<std::uint8_t>(std::clamp(std::lround(v), 0L, 255L)); }

int CutAt(const std::vector<int>& profile, int k) {
  return k < static_cast<int>(profile.size()) ? profile[static_cast<std::size_t>(k)] : 0;
}

}  // namespace

Rgb Mix(Rgb a, Rgb b, double t) {
  return {Channel(a.r + (b.r - a.r) * t), Channel(a.g + (b.g - a.g) * t), Channel(a.b + (b.b - a.b) * t)};
}

Rgb Shade(Rgb c, double amount) {
  return amount >= 0 ? Mix(c, Rgb{255, 255, 255}, amount) : Mix(c, Rgb{0, 0, 0}, -amount);
}

Shape::Shape(int width, int height)
    : width_(std::max(width, 0)),
      height_(std::max(height, 0)),
      inside_(static_cast<std::size_t>(width_ * height_), 1),
      depth_(static_cast<std::size_t>(width_ * height_), 0) {
  ComputeDepth();
}

Shape Shape::Rounded(int width, int height, std::vector<int> topLeft, std::vector<int> topRight,
                     std::vector<int> bottomLeft, std::vector<int> bottomRight) {
  Shape s(width, height);
  for (int y = 0; y < s.height_; ++y) {
    const int fromTop = y;
    const int fromBottom = s.height_ - 1 - y;
    const int cutLeft = std::max(CutAt(topLeft, fromTop), CutAt(bottomLeft, fromBottom));
    const int cutRight = std::max(CutAt(topRight, fromTop), CutAt(bottomRight, fromBottom));
    for (int x = 0; x < s.width_; ++x) {
      const bool in = x >= cutLeft && x < s.width_ - cutRight;
      s.inside_[static_cast<std::size_t>(y * s.width_ + x)] = in ? 1 : 0;
    }
  }
  s.ComputeDepth();
  return s;
}

Shape Shape::Disc(int diameter) {
  Shape s(diameter, diameter);
  const double r = diameter / 2.0;
  for (int y = 0; y < diameter; ++y) {
    for (int x = 0; x < diameter; ++x) {
      const double dx = x + 0.5 - r;
      const double dy = y + 0.5 - r;
      s.inside_[static_cast<std::size_t>(y * diameter + x)] = dx * dx + dy * dy <= r * r + 0.3 ? 1 : 0;
    }
  }
  s.ComputeDepth();
  return s;
}

bool Shape::Inside(int x, int y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return false;
  return inside_[static_cast<std::size_t>(y * width_ + x)] != 0;
}

int Shape::Depth(int x, int y) const {
  if (!Inside(x, y)) return 0;
  return depth_[static_cast<std::size_t>(y * width_ + x)];
}

bool Shape::FacesTopLeft(int x, int y) const {
  const int d = Depth(x, y);
  return d > 0 && (Depth(x, y - 1) < d || Depth(x - 1, y) < d);
}

void Shape::ComputeDepth() {
  // Breadth-first from the outside: side neighbours only, so outlines are one pixel and closed.
  std::deque<std::pair<int, int>> queue;
  std::fill(depth_.begin(), depth_.end(), 0);
  for (int y = 0; y < height_; ++y) {
    for (int x = 0; x < width_; ++x) {
      if (!Inside(x, y)) continue;
      const bool edge = !Inside(x - 1, y) || !Inside(x + 1, y) || !Inside(x, y - 1) || !Inside(x, y + 1);
      if (edge) {
        depth_[static_cast<std::size_t>(y * width_ + x)] = 1;
        queue.emplace_back(x, y);
      }
    }
  }
  while (!queue.empty()) {
    const auto [x, y] = queue.front();
    queue.pop_front();
    const int d = depth_[static_cast<std::size_t>(y * width_ + x)];
    const std::pair<int, int> next[] = {{x - 1, y}, {x + 1, y}, {x, y - 1}, {x, y + 1}};
    for (const auto& [nx, ny] : next) {
      if (!Inside(nx, ny)) continue;
      int& nd = depth_[static_cast<std::size_t>(ny * width_ + nx)];
      if (nd == 0) {
        nd = d + 1;
        queue.emplace_back(nx, ny);
      }
    }
  }
}

Raster::Raster(Bitmap24& image) : image_(&image), ox_(0), oy_(0), width_(image.Width()), height_(image.Height()) {}

Raster::Raster(Bitmap24& image, int x, int y, int width, int height)
    : image_(&image), ox_(x), oy_(y), width_(width), height_(height) {}

Raster Raster::Cell(int index, int count) const {
  const int w = width_ / count;
  return Raster(*image_, ox_ + index * w, oy_, w, height_);
}

Raster Raster::StackedCell(int index, int count) const {
  const int h = height_ / count;
  return Raster(*image_, ox_, oy_ + index * h, width_, h);
}

Raster Raster::Part(int x, int y, int width, int height) const {
  return Raster(*image_, ox_ + x, oy_ + y, width, height);
}

void Raster::Set(int x, int y, Rgb c) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
  const int ix = ox_ + x;
  const int iy = oy_ + y;
  if (ix < 0 || iy < 0 || ix >= image_->Width() || iy >= image_->Height()) return;
  image_->At(ix, iy) = RgbPixel(c.r, c.g, c.b);
}

Rgb Raster::Get(int x, int y) const {
  const int ix = ox_ + x;
  const int iy = oy_ + y;
  if (x < 0 || y < 0 || x >= width_ || y >= height_ || ix >= image_->Width() || iy >= image_->Height()) return {};
  const Bgr p = image_->At(ix, iy);
  return {p.r, p.g, p.b};
}

void Raster::Fill(Rgb c) { FillRect(0, 0, width_, height_, c); }

void Raster::FillRect(int x, int y, int width, int height, Rgb c) {
  for (int row = y; row < y + height; ++row) {
    for (int col = x; col < x + width; ++col) Set(col, row, c);
  }
}

void Raster::HLine(int x0, int x1, int y, Rgb c) {
  for (int x = std::min(x0, x1); x <= std::max(x0, x1); ++x) Set(x, y, c);
}

void Raster::VLine(int x, int y0, int y1, Rgb c) {
  for (int y = std::min(y0, y1); y <= std::max(y0, y1); ++y) Set(x, y, c);
}

void Raster::RectOutline(int x, int y, int width, int height, Rgb c) {
  HLine(x, x + width - 1, y, c);
  HLine(x, x + width - 1, y + height - 1, c);
  VLine(x, y, y + height - 1, c);
  VLine(x + width - 1, y, y + height - 1, c);
}

void Raster::VGradient(int x, int y, int width, int height, Rgb top, Rgb bottom) {
  for (int row = 0; row < height; ++row) {
    const double t = height > 1 ? static_cast<double>(row) / (height - 1) : 0.0;
    HLine(x, x + width - 1, y + row, Mix(top, bottom, t));
  }
}

void Raster::HGradient(int x, int y, int width, int height, Rgb left, Rgb right) {
  for (int col = 0; col < width; ++col) {
    const double t = width > 1 ? static_cast<double>(col) / (width - 1) : 0.0;
    VLine(x + col, y, y + height - 1, Mix(left, right, t));
  }
}

void Raster::PaintShape(int x, int y, const Shape& shape, Rgb outline,
                        const std::function<Rgb(int, int, int)>& fill) {
  for (int row = 0; row < shape.Height(); ++row) {
    for (int col = 0; col < shape.Width(); ++col) {
      const int d = shape.Depth(col, row);
      if (d == 0) continue;
      Set(x + col, y + row, d == 1 ? outline : fill(col, row, d));
    }
  }
}

void Raster::CutOutside(int x, int y, const Shape& shape) {
  for (int row = 0; row < shape.Height(); ++row) {
    for (int col = 0; col < shape.Width(); ++col) {
      if (!shape.Inside(col, row)) Set(x + col, y + row, kMagenta);
    }
  }
}

void Raster::Pattern(int x, int y, std::initializer_list<std::string_view> rows, std::initializer_list<Ink> inks) {
  Pattern(x, y, std::vector<std::string_view>(rows), inks);
}

void Raster::Pattern(int x, int y, const std::vector<std::string_view>& rows, std::initializer_list<Ink> inks) {
  int row = 0;
  for (std::string_view line : rows) {
    for (int col = 0; col < static_cast<int>(line.size()); ++col) {
      for (const Ink& ink : inks) {
        if (line[static_cast<std::size_t>(col)] == ink.key) Set(x + col, y + row, ink.colour);
      }
    }
    ++row;
  }
}

void Raster::Blit(int x, int y, const Raster& source) {
  for (int row = 0; row < source.Height(); ++row) {
    for (int col = 0; col < source.Width(); ++col) Set(x + col, y + row, source.Get(col, row));
  }
}

int Raster::Text(int x, int y, std::string_view text, Rgb c, bool bold) {
  int pen = x;
  for (char ch : text) {
    const auto& rows = Glyph(ch);
    Pattern(pen, y, rows, {{'#', c}});
    if (bold) Pattern(pen + 1, y, rows, {{'#', c}});
    pen += static_cast<int>(rows.front().size()) + 1 + (bold ? 1 : 0);
  }
  return pen - x;
}

}  // namespace qlt::art
