#pragma once
// The art of the second skin "Pine" (resources/skin/pine/pine.ini): a dark green-grey frame with
// light caption text on a rounded plate, all four window corners rounded (the bottom ones reach
// into the bottom edge), four-cell title buttons and a three-cell help button, and flat controls
// on a light face. Its metrics differ from Slate's in every edge, margin, cell count and colour, so
// that the engine is never tested against one skin's numbers only.
#include <vector>

#include "resources/skin/generator/SkinArt.h"

namespace qlt::art::pine {

// The colours the art is drawn in; the description repeats the ones the engine reads.
struct Palette {
  Rgb face{214, 218, 212};
  Rgb text{24, 32, 28};
  Rgb field{250, 251, 248};
  Rgb light{238, 241, 236};
  Rgb shadow{128, 138, 132};
  Rgb darkShadow{60, 70, 65};
  Rgb scrollbar{200, 206, 200};
  Rgb accent{62, 122, 98};  // pine green
  Rgb accentDark{38, 84, 66};
  Rgb accentLight{140, 196, 170};
  Rgb menu{247, 248, 245};
  // Window frame. The title (one cell) looks the same in both states; the line around the client
  // area (sides and bottom, two cells each) shows the accent while the window is active.
  Rgb outline{16, 24, 21};
  Rgb titleHighlight{88, 114, 103};
  Rgb titleTop{62, 86, 77};
  Rgb titleBottom{40, 58, 51};
  Rgb band{40, 58, 51};
  Rgb titleInner{26, 37, 33};
  Rgb clientLineActive{112, 178, 148};
  Rgb clientLineInactive{70, 84, 78};
  Rgb caption{236, 242, 238};
  Rgb captionInactive{150, 164, 158};
};

const Palette& Colours();

// Every bitmap in skin-file order.
std::vector<SkinImage> DrawImages();

// Geometry the art is drawn for; the description gives the engine the same numbers.
namespace geometry {
inline constexpr int kTitleHeight = 34;  // caption.bmp: one cell
inline constexpr int kTitleBand = 30;    // rows 1..29 are the title bar, then the band, then a dark line
inline constexpr int kSideWidth = 7;     // a cell of side-left.bmp and side-right.bmp
inline constexpr int kSideHeight = 160;
inline constexpr int kBottomHeight = 7;  // a cell of base.bmp
inline constexpr int kClientLine = 6;    // distance of the line around the client area from the edge
inline constexpr int kTopRadius = 8;
inline constexpr int kBottomRadius = 12;  // wider than a side edge: the bottom edge's ends are cut too
inline constexpr int kTitleButtonWidth = 20;
inline constexpr int kTitleButtonHeight = 18;
inline constexpr int kTitleButtonTop = 6;
}  // namespace geometry

}  // namespace qlt::art::pine
