#pragma once
// Pictures of a skin for the people who draw it: a contact sheet of every bitmap with its state
// cells marked, and mock-ups of QLT's windows composed from the skin objects the way the frame
// painter composes them (edges, title, caption with its background, title buttons by their
// alignment, the window's shape, a menu bar), with a popup menu and every kind of control drawn
// from the same objects, in the state cells the painters choose.
#include <string>
#include <vector>

#include "resources/skin/generator/SkinArt.h"
#include "skin/data/Bitmap24.h"
#include "skin/data/SkinObjects.h"

namespace qlt::art {

// `menuGlyphs` (QLT's system menu glyphs) are shown at the end when given.
Bitmap24 ContactSheet(const std::string& skinName, const std::vector<SkinImage>& images, const Bitmap24* menuGlyphs);
// `programMark` (32 x 32) serves as the window icon, drawn at 16 x 16.
Bitmap24 FrameMockup(const TSkinContent& skin, const Bitmap24& programMark);

// The nine-slice rule of the frame painter on images: `cell` (1-based) of `cells`, margins kept,
// the middle stretched or, with `tile`, repeated from its top-left corner.
Bitmap24 NineSlice(int width, int height, const Bitmap24& image, int left, int top, int right, int bottom,
                   bool stackedCells, bool tile, int cells, int cell);

}  // namespace qlt::art
