#pragma once
// How a skinned scroll bar looks: the skin's arrows, track and thumb composed into one bar, in the
// state the bar is in (an arrow held down, the thumb dragged, the bar disabled). The bar's
// geometry comes from ScrollGeometry.h. Portable: no <windows.h>.
#include "skin/controls/ScrollGeometry.h"
#include "skin/data/SkinObjects.h"
#include "skin/frame/SkinPixels.h"

namespace qlt {

// The skin's pieces of one bar (not owned). Without the arrows' image nothing is skinned.
struct ScrollBarSkin {
  const TDataSkinObject* arrows = nullptr;  // "Scrollbar": 23 cells
  const TDataSkinObject* track = nullptr;   // "HorzScroll" or "VertScroll": 4 cells
  const TDataSkinObject* thumb = nullptr;   // "HorzScrollThumb" or "VertScrollThumb": FrameCount cells
  Pixel32 background = 0;                   // the skin's Scrollbar colour, under the track
  bool Usable() const { return arrows && !arrows->Image.Empty(); }
};

// What a bar shows besides its geometry.
struct ScrollBarLook {
  bool firstPressed = false;   // the left or up arrow is held down (with the pointer on it)
  bool secondPressed = false;  // the right or down arrow
  bool thumbDragged = false;
  bool disabled = false;       // greyed arrows and track, no thumb
  friend bool operator==(const ScrollBarLook&, const ScrollBarLook&) = default;
};

// Cells of the "Scrollbar" image: left arrow 1, right 5, up 9, down 13; held down one further,
// disabled three further. Always within the image's cells.
int ScrollArrowCell(bool vertical, bool second, bool pressed, bool disabled, int cells);
// The track: cell 1, disabled 3 (within the image's cells).
int ScrollTrackCell(bool disabled, int cells);
// The thumb: cell 1, dragged 2 (within the image's cells).
int ScrollThumbCell(bool dragged, int cells);

// Composes a bar into `area` of the view: the background colour, the track between the arrows,
// the two arrows at the ends (magenta transparent) and the thumb where `layout` puts it.
void ComposeScrollBar(const PixelView& view, const SkinRect& area, bool vertical, const ThumbLayout& layout,
                      const ScrollBarLook& look, const ScrollBarSkin& skin);

}  // namespace qlt
