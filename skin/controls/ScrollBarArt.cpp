#include "skin/controls/ScrollBarArt.h"

#include <algorithm>

namespace qlt {

namespace {

int WithinCells(int cell, int cells) { return std::clamp(cell, 1, ClampCellCount(cells)); }

BlendMode ModeOf(const TDataSkinObject& o) { return o.Trans != 0 ? BlendMode::kKeyTransparent : BlendMode::kCopy; }

SkinMargins MarginsOf(const TDataSkinObject& o) { return {o.LeftWidth, o.TopHeight, o.RightWidth, o.BottomHeight}; }

// A piece of the bar from `from` to `to` along its axis, across its whole thickness.
SkinRect Along(const SkinRect& area, bool vertical, int from, int to) {
  return vertical ? SkinRect{area.left, area.top + from, area.right, area.top + to}
                  : SkinRect{area.left + from, area.top, area.left + to, area.bottom};
}

}  // namespace

int ScrollArrowCell(bool vertical, bool second, bool pressed, bool disabled, int cells) {
  int cell = (vertical ? 9 : 1) + (second ? 4 : 0);
  if (disabled) {
    cell += 3;
  } else if (pressed) {
    cell += 1;
  }
  return WithinCells(cell, cells);
}

int ScrollTrackCell(bool disabled, int cells) { return WithinCells(disabled ? 3 : 1, cells); }

int ScrollThumbCell(bool dragged, int cells) { return WithinCells(dragged ? 2 : 1, cells); }

void ComposeScrollBar(const PixelView& view, const SkinRect& area, bool vertical, const ThumbLayout& layout,
                      const ScrollBarLook& look, const ScrollBarSkin& skin) {
  if (!skin.Usable() || area.Empty()) return;
  const int length = vertical ? area.Height() : area.Width();
  // The layout belongs to this bar: never draw outside it, whatever it says.
  const int arrow = std::clamp(layout.arrow, 0, length / 2);
  view.Fill(area, skin.background);

  const SkinRect track = Along(area, vertical, arrow, length - arrow);
  if (skin.track && !track.Empty()) {
    const TDataSkinObject& t = *skin.track;
    DrawNineSlice(view, track, t.Image, t.Frame, ScrollTrackCell(look.disabled, t.Frame), CellLayout::kSideBySide,
                  MarginsOf(t), t.Tile == 1, ModeOf(t));
  }

  const TDataSkinObject& a = *skin.arrows;
  if (arrow > 0) {
    DrawCell(view, Along(area, vertical, 0, arrow), a.Image, a.Frame,
             ScrollArrowCell(vertical, false, look.firstPressed, look.disabled, a.Frame), BlendMode::kKeyTransparent);
    DrawCell(view, Along(area, vertical, length - arrow, length), a.Image, a.Frame,
             ScrollArrowCell(vertical, true, look.secondPressed, look.disabled, a.Frame), BlendMode::kKeyTransparent);
  }

  const int room = length - 2 * arrow;
  if (look.disabled || !skin.thumb || !layout.HasThumb() || layout.thumbSize > room) return;
  const int at = arrow + std::clamp(layout.thumbPos, 0, room - layout.thumbSize);
  const TDataSkinObject& th = *skin.thumb;
  DrawNineSlice(view, Along(area, vertical, at, at + layout.thumbSize), th.Image, th.Frame,
                ScrollThumbCell(look.thumbDragged, th.Frame), CellLayout::kSideBySide, MarginsOf(th), false, ModeOf(th));
}

}  // namespace qlt
