#pragma once
// The arithmetic of a skinned tab control: which side its tabs are on, the page area the border
// goes around, the strip of tabs outside it, and how a tab of the window lands in that strip.
//
// Tabs are always composed in a horizontal strip whose page side is its bottom edge (for tabs at
// the bottom, whose images are upside down, its top edge); a strip of tabs on the left or right is
// then turned a quarter as a whole. Portable: no <windows.h>.
#include <cstdint>

#include "skin/frame/SkinPixels.h"

namespace qlt {

enum class TabSide { kTop = 0, kBottom = 1, kLeft = 2, kRight = 3 };

// From a tab control's style: TCS_BOTTOM (2) with TCS_VERTICAL (0x80) is the right side, TCS_BOTTOM
// alone the bottom, TCS_VERTICAL alone the left, neither the top.
TabSide TabSideOfStyle(std::uint32_t style);
inline bool IsSideways(TabSide side) { return side == TabSide::kLeft || side == TabSide::kRight; }

struct TabStripLayout {
  SkinRect page;   // the page area, border included
  SkinRect strip;  // the window's part on the tab side outside the page area
  int length = 0;  // the strip composed horizontally: its length along the tabs
  int thickness = 0;
  // A strip with no room (a window smaller than its page area) is not drawn at all.
  bool HasStrip() const { return length > 0 && thickness > 0; }
};

// `display` is the pages' area (the window's rectangle made into the display rectangle by the
// control): the border sits 4 pixels around it, one pixel further in on the tab side, where the
// selected tab joins it. The window is width x height at 0,0.
TabStripLayout LayOutTabStrip(TabSide side, int width, int height, const SkinRect& display);

// A tab's rectangle of the window in the horizontal strip (origin 0,0, length x thickness), moved
// one pixel towards the page so the tab meets the border.
SkinRect TabInStrip(TabSide side, const TabStripLayout& layout, const SkinRect& tab);

// Puts the horizontal strip (`from`: its top-left length x thickness pixels) into the window's
// strip rectangle of `to`, turned for the side (left: a quarter counter-clockwise, right:
// clockwise, as RotateLeft and RotateRight turn images). Pixels outside `to` are left out.
void PutStrip(TabSide side, const PixelView& from, const TabStripLayout& layout, const PixelView& to);

// The margins of the page border, whose image is made for tabs at the top (left 4, top 5, right 4,
// bottom 4), turned with the image for the side.
SkinMargins PageBorderMargins(TabSide side);

// The pieces of the page border: the corners and edges of a nine-slice of the cell into `page`,
// never the centre, so the pages show through. Nothing is drawn inside the margins' ring, whatever
// the cell's size: a cell with no middle gives its edges its whole width (or height).
std::vector<SlicePiece> PageBorderPieces(const SkinRect& cell, SkinMargins margins, const SkinRect& page);

// Where a tab's image and caption go inside the tab (tab-local, origin 0,0): centred together, the
// image first and the caption one pixel after it, never nearer the tab's start than 2 pixels.
struct TabContentPlacement {
  SkinRect image;  // empty without an image
  SkinRect text;   // clipped to the tab
};
TabContentPlacement PlaceTabContent(int tabWidth, int tabHeight, int imageWidth, int imageHeight, int textWidth);

}  // namespace qlt
