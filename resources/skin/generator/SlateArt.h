#pragma once
// The art of QLT's default skin "Slate" (resources/skin/skin.ini): a blue-grey frame with rounded
// top corners and square bottom ones, six-cell title buttons hanging from the top edge, bevelled
// plates for the controls.
#include <vector>

#include "resources/skin/generator/SkinArt.h"

namespace qlt::art::slate {

// The colours the art is drawn in; the skin's description repeats the ones the engine reads.
struct Palette {
  Rgb face{145, 146, 159};
  Rgb text{16, 18, 28};
  Rgb field{244, 245, 249};
  Rgb light{224, 225, 233};
  Rgb shadow{98, 100, 116};
  Rgb darkShadow{52, 55, 70};
  Rgb accent{91, 111, 168};      // the program's slate blue
  Rgb accentDark{59, 74, 120};
  Rgb accentLight{150, 167, 214};
  // Window frame, active and inactive.
  struct Frame {
    Rgb outline, titleTop, titleBottom, highlight, inner, band, caption, plate, plateLine, glyph;
  };
  Frame active{{36, 43, 68},   {104, 122, 172}, {70, 87, 134}, {146, 162, 206}, {45, 55, 88},
               {70, 87, 134},  {246, 247, 251}, {54, 67, 106}, {38, 47, 78},    {232, 236, 246}};
  Frame inactive{{104, 106, 120}, {184, 186, 198}, {162, 164, 178}, {204, 206, 216}, {124, 126, 140},
                 {162, 164, 178}, {62, 64, 78},    {146, 148, 162}, {122, 124, 138}, {74, 76, 90}};
};

const Palette& DefaultPalette();

// The 32 bitmaps in skin-file order.
std::vector<SkinImage> DrawImages();

// dialog.bmp: the program's mark, the slate tile with a lid drawn over an eye.
Bitmap24 DrawProgramMark();

// Geometry the art is drawn for; the description gives the engine the same numbers.
namespace geometry {
inline constexpr int kTitleHeight = 29;      // a cell of top.bmp
inline constexpr int kTitleBand = 25;        // rows 0..24 are the title bar, then the inner line
inline constexpr int kLeftWidth = 11;        // a cell of left.bmp
inline constexpr int kRightWidth = 5;
inline constexpr int kBottomHeight = 22;
inline constexpr int kFrameWidth = 5;        // outline, three frame pixels, inner line
inline constexpr int kTopRightFixed = 143;   // right part of top.bmp that is never tiled
}  // namespace geometry

}  // namespace qlt::art::slate
