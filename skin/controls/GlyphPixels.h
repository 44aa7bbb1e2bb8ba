#pragma once
// The glyph of a skinned bit or speed button in pixels: which part of the glyph image one cell is,
// and drawing that cell over a composed button face with the glyph's transparent colour left out,
// grey when the button is disabled. Portable: no <windows.h>.
#include "skin/data/Bitmap24.h"
#include "skin/frame/SkinPixels.h"

namespace qlt {

// Cell `cell` (from 1) of a glyph image `width` x `height` that holds `numGlyphs` cells side by
// side. A count below 1 counts as 1 (a button class may publish 0); a cell beyond the count is the
// first one. Empty when the image is narrower than the count.
SkinRect GlyphCellRect(int width, int height, int numGlyphs, int cell);

// Draws `source` of the glyph with its top-left at (x, y) of the view, clipped to the view. Pixels
// of the `key` colour are left out (judged before greying); with `greyed` every other pixel
// becomes grey, (red + green + blue) div 3.
void DrawGlyph(const PixelView& view, int x, int y, const Bitmap24& glyph, const SkinRect& source, Bgr key,
               bool greyed);

}  // namespace qlt
