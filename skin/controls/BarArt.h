#pragma once
// How the skin draws status bars, progress bars and track bar thumbs, apart from the windows: the
// filled part of a progress bar, its two looks (a continuous bar and one in chunks), a bar turned
// upright, the panel look a status bar text asks for and the three parts of a panel's text.
// Portable: no <windows.h>.
#include <array>
#include <cstdint>
#include <string>

#include "skin/data/SkinObjects.h"
#include "skin/frame/SkinPixels.h"

namespace qlt {

// The filled length of a bar `length` pixels long at `position` of the range low..high: the
// position's share of the range, rounded to the nearest pixel and kept within 0..length. An empty
// range (high <= low) fills nothing. 64-bit arithmetic: any 32-bit range and length is exact.
int ProgressFillLength(std::int32_t position, std::int32_t low, std::int32_t high, int length);

// What a progress bar shows.
struct ProgressState {
  int position = 0;
  int low = 0;
  int high = 100;
};

// Composes a progress bar lying down into `area` of the view over the face colour, from the
// skin's "Progress" object: Style 1 draws the whole image as the trough and repeats the Chunk image
// across the filled part (starting after the left margin, centred across the bar); any other style
// draws cell 1 of 2 as the trough and cell 2 of 2 over the filled part. Nothing of the skin is drawn
// without the image.
void ComposeProgress(const PixelView& view, const SkinRect& area, const TDataSkinBorder& progress, Pixel32 face,
                     const ProgressState& state);

// A quarter turn counter-clockwise of `source` into `dest` (dest is source's height wide and its
// width high): the right column becomes the top row, so a bar filled from the left fills from the
// bottom.
void RotatePixelsLeft(const PixelView& source, const PixelView& dest);

// The cell of "StatusBarEdges" (3 cells) a panel shows for the drawing flags of its text
// (SBT_NOBORDERS 0x100: flat, cell 3; SBT_POPOUT 0x200: raised, cell 2; otherwise lowered, cell 1).
int StatusPanelCell(unsigned flags);

// A status bar panel's text split at its tabs: the left, centred and right-aligned parts.
std::array<std::u16string, 3> SplitPanelText(const std::u16string& text);

}  // namespace qlt
