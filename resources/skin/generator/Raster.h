#pragma once
// Pixel drawing for the skin art: a view onto a Bitmap24 (a whole image or one of its state cells)
// with crisp, unblended primitives: lines, rectangles, gradients, shapes with a one-pixel outline,
// and glyphs given as rows of characters. Everything outside a view is clipped.
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <string_view>
#include <vector>

#include "skin/data/Bitmap24.h"

namespace qlt::art {

struct Rgb {
  std::uint8_t r = 0;
  std::uint8_t g = 0;
  std::uint8_t b = 0;
  friend bool operator==(const Rgb&, const Rgb&) = default;
};

inline constexpr Rgb kMagenta{255, 0, 255};

// a + (b - a) * t, per channel, t in [0, 1].
Rgb Mix(Rgb a, Rgb b, double t);
// Lighter (amount > 0) or darker (amount < 0) by a fraction of the way to white or black.
Rgb Shade(Rgb c, double amount);

// Which pixels of a w x h box belong to a shape, and how deep inside each one lies: 0 outside,
// 1 on the outline (an inside pixel with a side neighbour outside the shape or the box), 2 on the
// ring just inside it, and so on.
class Shape {
 public:
  Shape(int width, int height);
  // A rectangle whose corners are cut by the given profiles: profile[k] pixels are cut from row k
  // (counted from the corner's edge). Order: top-left, top-right, bottom-left, bottom-right.
  static Shape Rounded(int width, int height, std::vector<int> topLeft, std::vector<int> topRight,
                       std::vector<int> bottomLeft, std::vector<int> bottomRight);
  static Shape Rounded(int width, int height, const std::vector<int>& corner) {
    return Rounded(width, height, corner, corner, corner, corner);
  }
  // A disc of the given diameter.
  static Shape Disc(int diameter);

  int Width() const { return width_; }
  int Height() const { return height_; }
  bool Inside(int x, int y) const;
  int Depth(int x, int y) const;
  // Whether a shallower pixel (the ring outside this one) lies above or to the left.
  bool FacesTopLeft(int x, int y) const;

 private:
  void ComputeDepth();
  int width_;
  int height_;
  std::vector<std::uint8_t> inside_;
  std::vector<int> depth_;
};

class Raster {
 public:
  // The whole image.
  explicit Raster(Bitmap24& image);
  // A part of it; drawing coordinates start at the part's top-left corner.
  Raster(Bitmap24& image, int x, int y, int width, int height);

  int Width() const { return width_; }
  int Height() const { return height_; }
  // Cell `index` (0-based) of `count` equal cells side by side, or stacked.
  Raster Cell(int index, int count) const;
  Raster StackedCell(int index, int count) const;
  Raster Part(int x, int y, int width, int height) const;

  void Set(int x, int y, Rgb c);
  Rgb Get(int x, int y) const;
  void Fill(Rgb c);
  void FillRect(int x, int y, int width, int height, Rgb c);
  void HLine(int x0, int x1, int y, Rgb c);  // x0 to x1 inclusive
  void VLine(int x, int y0, int y1, Rgb c);
  void RectOutline(int x, int y, int width, int height, Rgb c);
  // Top to bottom (or left to right) over the rectangle.
  void VGradient(int x, int y, int width, int height, Rgb top, Rgb bottom);
  void HGradient(int x, int y, int width, int height, Rgb left, Rgb right);
  // Every pixel of the shape at (x, y): the outline in `outline`, the rest from `fill` (called with
  // the pixel's position inside the shape and its depth).
  void PaintShape(int x, int y, const Shape& shape, Rgb outline, const std::function<Rgb(int, int, int)>& fill);
  // Magenta on every pixel of the box at (x, y) that lies outside the shape.
  void CutOutside(int x, int y, const Shape& shape);
  // Rows of characters; each character found in `keys` paints that colour, others leave the pixel.
  struct Ink {
    char key;
    Rgb colour;
  };
  void Pattern(int x, int y, std::initializer_list<std::string_view> rows, std::initializer_list<Ink> inks);
  void Pattern(int x, int y, const std::vector<std::string_view>& rows, std::initializer_list<Ink> inks);
  // Copies a raster of the same size or smaller to (x, y).
  void Blit(int x, int y, const Raster& source);
  // Pixel text of the project's own 5 x 7 font (see PixelFont.h); returns the width drawn.
  int Text(int x, int y, std::string_view text, Rgb c, bool bold = false);

 private:
  Bitmap24* image_;
  int ox_;
  int oy_;
  int width_;
  int height_;
};

}  // namespace qlt::art
