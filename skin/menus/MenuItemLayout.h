#pragma once
// The arithmetic of menus drawn from the skin: which cell of the "MenuItem" image an item shows,
// how a separator's cell is cut, where an item's glyph, caption and shortcut go (mirrored in a
// right-to-left menu), how much wider the skin makes an item, and the border strips of a popup
// menu window. Portable: no <windows.h>.
#include <array>
#include <vector>

#include "skin/frame/SkinGeometry.h"

namespace qlt {

// The "MenuItem" image: five cells side by side; the painters use the normal, the separator and
// the selected one.
inline constexpr int kMenuItemCells = 5;
inline constexpr int kMenuItemNormalCell = 1;
inline constexpr int kMenuItemSeparatorCell = 2;
inline constexpr int kMenuItemSelectedCell = 4;
// The popup window's border, painted from the skin's menu background around the items.
inline constexpr int kPopupBorder = 3;
// The glyph square of an item without images (and the least for a checked item).
inline constexpr int kMenuGlyphSize = 16;

inline int MenuItemCell(bool separator, bool selected) {
  if (separator) return kMenuItemSeparatorCell;
  return selected ? kMenuItemSelectedCell : kMenuItemNormalCell;
}

// A separator item: the separator cell (its bottom rows when the item is lower than the cell),
// its fixed left and right parts copied to the two ends of `dest` and its middle stretched
// between them. Side parts wider than the cell are clamped into it, and an item narrower than
// both parts gets the whole cell stretched: the middle never has a negative width.
std::vector<SlicePiece> SeparatorPieces(const SkinRect& cell, int leftPart, int rightPart, const SkinRect& dest);

// The glyph square: the image list's width, or 16 without one; a checked item's check mark needs
// at least 16.
int MenuGlyphSize(int imageWidth, bool hasImages, bool checked);

// Where an item's glyph and caption go. `band` is the skin's left band (the "MenuItem" object's
// LeftWidth, 0 without one) that the glyph keeps clear of. Left to right: the glyph one pixel in
// from the item's top-left (after the band), the caption's room from 3 pixels after the glyph to
// one pixel before the item's right end. Right to left: the same mirrored.
struct MenuItemPlaces {
  SkinRect glyph;  // empty for a separator
  SkinRect text;
};
MenuItemPlaces PlaceMenuItem(const SkinRect& item, int glyphSize, int band, bool separator, bool rightToLeft);

// The measured caption in its room: centred vertically in the item, at the room's left end (its
// right end for right to left).
SkinRect CaptionRect(const MenuItemPlaces& places, const SkinRect& item, int textWidth, int textHeight,
                     bool rightToLeft);
// The shortcut's room beside the caption: left to right from the caption's end to 11 pixels before
// the item's right end (drawn right-aligned); right to left from 10 pixels into the caption's room
// to the caption's start (drawn left-aligned). Empty when there is no room.
SkinRect ShortcutRect(const MenuItemPlaces& places, const SkinRect& item, const SkinRect& caption, bool rightToLeft);

// An item's size widened for the skin's band and glyph column: a popup menu's item, and a menu
// bar drop-down's item, from the size the framework measured.
int SkinnedPopupItemWidth(int width, int band, bool hasImages);
int SkinnedMainMenuItemWidth(int width, int band, bool hasImages);

// The border strips of a popup window of w x h, in window coordinates: the top and bottom rows
// over the full width, the left and right columns between them.
std::array<SkinRect, 4> PopupBorderStrips(int width, int height);

}  // namespace qlt
