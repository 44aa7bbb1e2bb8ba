#pragma once
// Menu items drawn from the skin: the "MenuItem" image (cell 1 normal, 2 separator, 4 selected)
// over the popup's own skinned background, the glyph or check mark, the caption and the shortcut,
// in the skin's menu colours; and the sizes that leave room for the skin's left band. Used for the
// items of popup menus (the tray menu, the skinned system menu) and of the drop-downs of a skinned
// menu bar. Without a "MenuItem" object the items get the plain look in the skin's colours.
#include <windows.h>

#include "ui/Menus.h"

namespace qlt {

class TSkinData;

// Draws an item of a framework menu into `rect` of the canvas (the item's own DC). The popup
// window's background, when its skinner has one, shows behind the item (`background` is the whole
// popup window's, the item's rectangle offset by the popup's border). An item whose entry carries
// MFT_RIGHTORDER is drawn right to left: glyph at the right end, caption right-aligned.
void DrawSkinnedMenuItem(const TSkinData& skin, TMenuItem& item, TCanvas& canvas, const TRect& rect,
                         TOwnerDrawState state, HBITMAP background);
// The same on the background of the popup window that shows `menu` (the menu the item is an entry
// of), as every skinned menu's items are drawn: the popup skinners learn on the way which menu a
// waiting popup shows, and that the popups came from a menu bar while one of its drop-downs is open.
void DrawSkinnedMenuItemOnPopup(const TSkinData& skin, TMenuItem& item, TCanvas& canvas, const TRect& rect,
                                TOwnerDrawState state, HMENU menu);

// Sizes: an item of a popup menu, and an item of a menu bar's drop-down, each from the item's
// standard size (in `width`, `height`) widened for the skin.
void MeasureSkinnedPopupItem(const TSkinData& skin, TMenuItem& item, int& width, int& height);
void MeasureSkinnedMainMenuItem(const TSkinData& skin, TMenuItem& item, int& width, int& height);

}  // namespace qlt
