#pragma once
// Pictures of the default skin for the people who draw it: a contact sheet of every bitmap with
// its state cells marked, and mock-ups of QLT's windows composed from the skin objects the way the
// frame painter composes them (edges, title, caption, title buttons, the window's shape), with a few
// controls and a popup menu drawn from the same objects.
#include <vector>

#include "resources/skin/generator/SkinArt.h"
#include "skin/data/Bitmap24.h"
#include "skin/data/SkinObjects.h"

namespace qlt::art {

Bitmap24 ContactSheet(const std::vector<SkinImage>& images, const Bitmap24& menuGlyphs);
// `programMark` (32 x 32) serves as the window icon, drawn at 16 x 16.
Bitmap24 FrameMockup(const TSkinContent& skin, const Bitmap24& programMark);

// The nine-slice rule of the frame painter on images: `cell` (1-based) of `cells`, margins kept,
// the middle stretched or, with `tile`, repeated from its top-left corner.
Bitmap24 NineSlice(int width, int height, const Bitmap24& image, int left, int top, int right, int bottom,
                   bool stackedCells, bool tile, int cells, int cell);

}  // namespace qlt::art
