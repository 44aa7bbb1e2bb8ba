#include "resources/skin/generator/SkinArt.h"

#include "resources/skin/generator/PineArt.h"
#include "resources/skin/generator/SlateArt.h"

namespace qlt::art {

std::vector<std::string> SkinArtNames() { return {"Slate", "Pine"}; }

std::vector<SkinImage> DrawSkinArt(std::string_view skinName) {
  if (skinName == "Slate") return slate::DrawImages();
  if (skinName == "Pine") return pine::DrawImages();
  return {};
}

Bitmap24 DrawProgramMark() { return slate::DrawProgramMark(); }

}  // namespace qlt::art
