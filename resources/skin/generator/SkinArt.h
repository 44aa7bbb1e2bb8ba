#pragma once
// The art of QLT's skins: each skin's bitmaps are drawn pixel by pixel from its own palette
// (SlateArt, PineArt), in the order its skin file holds them, with the names its description
// gives them. Also the monochrome glyphs of the skinned system menu, a resource of QLT.exe.
#include <string>
#include <string_view>
#include <vector>

#include "resources/skin/generator/Raster.h"
#include "skin/data/Bitmap24.h"

namespace qlt::art {

struct SkinImage {
  std::string name;  // entry name in the skin file, e.g. "top.bmp"
  Bitmap24 image;
  int cells = 1;         // state cells, for the previews
  bool stacked = false;  // cells on top of each other (window top and bottom, menu bar)
};

// The skins this generator draws, by the name their description gives them: "Slate" (QLT's own,
// embedded in QLT.exe) and "Pine" (a second skin with other metrics, loaded from its file).
std::vector<std::string> SkinArtNames();
// Every bitmap of the named skin in skin-file order; empty for a name not in SkinArtNames().
std::vector<SkinImage> DrawSkinArt(std::string_view skinName);

// 64 x 16, black glyphs on white: restore, maximise, minimise, close.
Bitmap24 DrawMenuGlyphs();

// The program's mark, 32 x 32 (Slate's dialog image), which the previews use as the window icon.
Bitmap24 DrawProgramMark();

}  // namespace qlt::art
