#include "skin/controls/TabLayout.h"

#include <algorithm>

namespace qlt {

TabSide TabSideOfStyle(std::uint32_t style) {
  const bool bottom = (style & 0x2) != 0;
  const bool vertical = (style & 0x80) != 0;
  if (bottom && vertical) return TabSide::kRight;
  if (bottom) return TabSide::kBottom;
  if (vertical) return TabSide::kLeft;
  return TabSide::kTop;
}

TabStripLayout LayOutTabStrip(TabSide side, int width, int height, const SkinRect& display) {
  TabStripLayout l;
  l.page = {display.left - 4, display.top - 4, display.right + 4, display.bottom + 4};
  switch (side) {
    case TabSide::kTop:
      l.page.top += 1;
      l.strip = {0, 0, width, l.page.top};
      break;
    case TabSide::kBottom:
      l.page.bottom -= 1;
      l.strip = {0, l.page.bottom, width, height};
      break;
    case TabSide::kLeft:
      l.page.left += 1;
      l.strip = {0, 0, l.page.left, height};
      break;
    case TabSide::kRight:
      l.page.right -= 1;
      l.strip = {l.page.right, 0, width, height};
      break;
  }
  l.strip = l.strip.Intersect({0, 0, width, height});
  if (l.strip.Empty()) {
    l.strip = {};
    return l;
  }
  l.length = IsSideways(side) ? l.strip.Height() : l.strip.Width();
  l.thickness = IsSideways(side) ? l.strip.Width() : l.strip.Height();
  return l;
}

SkinRect TabInStrip(TabSide side, const TabStripLayout& l, const SkinRect& tab) {
  const SkinRect t = tab.Offset(-l.strip.left, -l.strip.top);
  switch (side) {
    case TabSide::kTop:
      return t.Offset(0, 1);
    case TabSide::kBottom:
      return t.Offset(0, -1);
    case TabSide::kLeft:
      // The inverse of a quarter turn counter-clockwise: the strip's x runs up the window.
      return SkinRect{l.length - t.bottom, t.left, l.length - t.top, t.right}.Offset(0, 1);
    case TabSide::kRight:
      // The inverse of a quarter turn clockwise: the strip's y runs leftwards from the window's edge.
      return SkinRect{t.top, l.thickness - t.right, t.bottom, l.thickness - t.left}.Offset(0, 1);
  }
  return t;
}

void PutStrip(TabSide side, const PixelView& from, const TabStripLayout& l, const PixelView& to) {
  if (!l.HasStrip() || from.Empty() || to.Empty()) return;
  if (from.Width() < l.length || from.Height() < l.thickness) return;
  const SkinRect target = l.strip.Intersect(to.Bounds());
  for (int y = target.top; y < target.bottom; ++y) {
    Pixel32* out = to.Row(y);
    const int ly = y - l.strip.top;
    for (int x = target.left; x < target.right; ++x) {
      const int lx = x - l.strip.left;
      switch (side) {
        case TabSide::kTop:
        case TabSide::kBottom:
          out[x] = from.At(lx, ly);
          break;
        case TabSide::kLeft:
          out[x] = from.At(l.length - 1 - ly, lx);
          break;
        case TabSide::kRight:
          out[x] = from.At(ly, l.thickness - 1 - lx);
          break;
      }
    }
  }
}

SkinMargins PageBorderMargins(TabSide side) {
  switch (side) {
    case TabSide::kTop:
      return {4, 5, 4, 4};
    case TabSide::kBottom:
      return {4, 4, 4, 5};
    case TabSide::kLeft:
      return {5, 4, 4, 4};
    case TabSide::kRight:
      return {4, 4, 5, 4};
  }
  return {4, 5, 4, 4};
}

std::vector<SlicePiece> PageBorderPieces(const SkinRect& cell, SkinMargins m, const SkinRect& page) {
  if (cell.Empty() || page.Empty()) return {};
  // The margins stay even when they leave the cell no middle: the centre, where the pages are, is
  // never drawn, so nothing of the cell may be stretched over it.
  m = FitSliceMargins(cell, m, page);
  std::vector<SlicePiece> pieces = SlicePieces(cell, m, page, false, false);
  // A cell with no middle column (or row) has nothing of its own for the edges between the
  // corners: they take the cell's whole width (or height), so the border has no gap.
  const int top = page.top, bottom = page.bottom, left = page.left, right = page.right;
  auto add = [&](const SkinRect& source, const SkinRect& dest) {
    if (!source.Empty() && !dest.Empty()) pieces.push_back({source, dest, false});
  };
  if (m.left + m.right == cell.Width()) {
    add({cell.left, cell.top, cell.right, cell.top + m.top}, {left + m.left, top, right - m.right, top + m.top});
    add({cell.left, cell.bottom - m.bottom, cell.right, cell.bottom},
        {left + m.left, bottom - m.bottom, right - m.right, bottom});
  }
  if (m.top + m.bottom == cell.Height()) {
    add({cell.left, cell.top, cell.left + m.left, cell.bottom}, {left, top + m.top, left + m.left, bottom - m.bottom});
    add({cell.right - m.right, cell.top, cell.right, cell.bottom},
        {right - m.right, top + m.top, right, bottom - m.bottom});
  }
  return pieces;
}

TabContentPlacement PlaceTabContent(int tabWidth, int tabHeight, int imageWidth, int imageHeight, int textWidth) {
  TabContentPlacement p;
  imageWidth = std::max(imageWidth, 0);
  imageHeight = std::max(imageHeight, 0);
  textWidth = std::max(textWidth, 0);
  const int content = imageWidth + (imageWidth > 0 ? 1 : 0) + textWidth;
  const int x = std::max(2, (tabWidth - content) / 2);
  int textLeft = x;
  if (imageWidth > 0 && imageHeight > 0) {
    p.image = RectOfSize(x, (tabHeight - imageHeight) / 2, imageWidth, imageHeight);
    textLeft = x + imageWidth + 1;
  }
  const int right = std::min(textLeft + textWidth, tabWidth - 2);
  p.text = {textLeft, 0, std::max(textLeft, right), std::max(tabHeight, 0)};
  return p;
}

}  // namespace qlt
