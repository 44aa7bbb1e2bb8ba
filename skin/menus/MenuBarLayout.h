#pragma once
// The arithmetic of a skinned menu bar: where its buttons stand (from the left end, or from the
// right end of a right-to-left bar), which button the arrow keys or the mouse move to, which button
// a caption's accelerator names, and what an arrow key does in an open drop-down. The menu bar
// skinner applies the answers to the window. Portable: no <windows.h>.
#include <string_view>
#include <vector>

#include "skin/frame/SkinGeometry.h"

namespace qlt {

// What the skin says about the bar: whether it draws the bar from an image (then the buttons start
// after the image's fixed end part), the fixed parts, and the reading order.
struct MenuBarStyle {
  bool hasImage = false;
  int leftWidth = 0;
  int rightWidth = 0;
  bool rightToLeft = false;
};

// How far from the bar's leading edge (the left one, or the right one of a right-to-left bar) the
// first button starts: the image's fixed part and a gap (4 on the left, 8 on the right), 6 without
// an image; 12 when that start lies beyond the bar.
int MenuBarStart(int barWidth, const MenuBarStyle& style);

// One top-level item: whether it shows and the width of its caption (0 for an empty caption).
struct MenuBarEntry {
  bool visible = true;
  int textWidth = 0;
};

// Each button's rectangle in the coordinates of `bar` (the whole bar band, so they run from its top
// to its bottom): captions 10 wider than their text, side by side from the start, rightwards or,
// right to left, leftwards. An item that does not show gets an empty rectangle at (0, 0), an
// empty caption a button of no width (never hit).
std::vector<SkinRect> LayOutMenuBar(const SkinRect& bar, const std::vector<MenuBarEntry>& entries,
                                    const MenuBarStyle& style);

// The button a switch from `from` reaches in direction `step` (+1 the next, -1 the previous),
// wrapping around the ends and passing over buttons that cannot open a drop-down; -1 when no other
// button can.
int NeighbourButton(const std::vector<bool>& opens, int from, int step);

// The accelerator of a caption: the character after a single "&" ("&&" stands for an ampersand);
// 0 when there is none.
char16_t AcceleratorOf(std::u16string_view caption);
// Whether a typed character is the caption's accelerator (letter case ignored).
bool IsAccelerator(std::u16string_view caption, char16_t typed);

// An open drop-down as its window's menu messages tell it.
struct DropDownState {
  bool selected = false;              // an item is selected
  bool selectionOpensSubMenu = false;  // ... and it has an enabled sub-menu
  int openMenus = 0;                  // the drop-down and its sub-menus that show now
};
enum class ArrowKey { kLeft, kRight };
// What an arrow key (after mirroring, for a right-to-left bar) does: -1 opens the previous
// button's drop-down, +1 the next one's, 0 leaves the key to the menu (it opens or closes a
// sub-menu). Left goes back along the bar from the drop-down itself, not from a sub-menu (which it
// closes); Right goes on unless the selected item opens a sub-menu.
int ArrowSwitch(ArrowKey key, const DropDownState& state);

}  // namespace qlt
