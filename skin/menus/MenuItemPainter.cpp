#include "skin/menus/MenuItemPainter.h"

#include "skin/data/WinSkinData.h"

namespace qlt {

// The framework's look until the skin's is drawn here.
void DrawSkinnedMenuItem(const TSkinData&, TMenuItem& item, TCanvas& canvas, const TRect& rect, TOwnerDrawState state,
                         HBITMAP) {
  item.DefaultDrawItem(&canvas, rect, state, false);
}

void MeasureSkinnedPopupItem(const TSkinData&, TMenuItem&, int&, int&) {}
void MeasureSkinnedMainMenuItem(const TSkinData&, TMenuItem&, int&, int&) {}

}  // namespace qlt
