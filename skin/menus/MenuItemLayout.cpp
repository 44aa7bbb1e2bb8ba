#include "skin/menus/MenuItemLayout.h"

#include <algorithm>

namespace qlt {

std::vector<SlicePiece> SeparatorPieces(const SkinRect& cell, int leftPart, int rightPart, const SkinRect& dest) {
  if (cell.Empty() || dest.Empty()) return {};
  SkinRect rows = cell;
  // A separator lower than the cell shows the cell's bottom rows, where the skin draws its line.
  if (dest.Height() < cell.Height()) rows.top = cell.bottom - dest.Height();
  const int width = rows.Width();
  leftPart = std::clamp(leftPart, 0, width);
  rightPart = std::clamp(rightPart, 0, width - leftPart);
  // Ends that leave the cell no middle to stretch, or that do not fit the item, give way to the
  // whole cell stretched: the line stays unbroken and nothing is drawn mirrored.
  if (leftPart + rightPart >= width || dest.Width() < leftPart + rightPart) return {SlicePiece{rows, dest, false}};
  return NineSlicePieces(rows, SkinMargins{leftPart, 0, rightPart, 0}, dest, false);
}

int MenuGlyphSize(int imageWidth, bool hasImages, bool checked) {
  int size = hasImages ? std::max(imageWidth, 0) : kMenuGlyphSize;
  if (checked) size = std::max(size, kMenuGlyphSize);
  return size;
}

MenuItemPlaces PlaceMenuItem(const SkinRect& item, int glyphSize, int band, bool separator, bool rightToLeft) {
  MenuItemPlaces p;
  // In 64 bits: the skin's band and the item's place meet here.
  const std::int64_t b = std::max(band, 0), g = std::max(glyphSize, 0);
  const int top = item.top, bottom = item.bottom;
  const int glyphTop = ClampToInt(std::int64_t{top} + 1), glyphBottom = ClampToInt(std::int64_t{top} + 1 + g);
  if (rightToLeft) {
    const std::int64_t right = std::int64_t{item.right} - 1 - b;
    if (!separator) p.glyph = {ClampToInt(right - g), glyphTop, ClampToInt(right), glyphBottom};
    const std::int64_t glyphLeft = separator ? right : right - g;
    p.text = {ClampToInt(std::int64_t{item.left} + 1), top, ClampToInt(glyphLeft - 3), bottom};
  } else {
    const std::int64_t left = std::int64_t{item.left} + 1 + b;
    if (!separator) p.glyph = {ClampToInt(left), glyphTop, ClampToInt(left + g), glyphBottom};
    const std::int64_t glyphRight = separator ? left : left + g;
    p.text = {ClampToInt(glyphRight + 3), top, ClampToInt(std::int64_t{item.right} - 1), bottom};
  }
  return p;
}

SkinRect CaptionRect(const MenuItemPlaces& places, const SkinRect& item, int textWidth, int textHeight,
                     bool rightToLeft) {
  textWidth = std::max(textWidth, 0);
  textHeight = std::max(textHeight, 0);
  const int top = ClampToInt(item.top + (std::int64_t{item.Height()} - textHeight) / 2);
  const SkinRect& room = places.text;
  if (rightToLeft) return RectOfSize(ClampToInt(std::int64_t{room.right} - textWidth), top, textWidth, textHeight);
  return RectOfSize(room.left, top, textWidth, textHeight);
}

SkinRect ShortcutRect(const MenuItemPlaces& places, const SkinRect& item, const SkinRect& caption, bool rightToLeft) {
  SkinRect r = rightToLeft ? SkinRect{ClampToInt(std::int64_t{places.text.left} + 10), caption.top, caption.left,
                                      caption.bottom}
                           : SkinRect{caption.right, caption.top, ClampToInt(std::int64_t{item.right} - 11), caption.bottom};
  if (r.Empty()) return {};
  return r;
}

int SkinnedPopupItemWidth(int width, int band, bool hasImages) {
  return ClampToInt(std::int64_t{width} + std::max(band, 0) + 12 + (hasImages ? 0 : 23));
}

int SkinnedMainMenuItemWidth(int width, int band, bool hasImages) {
  return ClampToInt(std::int64_t{width} + std::max(band, 0) + 10 + (hasImages ? 0 : 25));
}

std::array<SkinRect, 4> PopupBorderStrips(int width, int height) {
  width = std::max(width, 0);
  height = std::max(height, 0);
  // A window smaller than two borders is all border; the strips never overlap.
  const int top = std::min(kPopupBorder, height), bottom = std::max(height - kPopupBorder, top);
  const int left = std::min(kPopupBorder, width), right = std::max(width - kPopupBorder, left);
  return {SkinRect{0, 0, width, top}, SkinRect{0, bottom, width, height}, SkinRect{0, top, left, bottom},
          SkinRect{right, top, width, bottom}};
}

}  // namespace qlt
