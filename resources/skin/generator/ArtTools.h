#pragma once
// Drawing pieces that every skin's art uses, whatever its palette: the magenta canvas an image
// starts from, arrow glyphs, the corner profile of a rounded shape, and bevelled plates.
#include <functional>
#include <vector>

#include "resources/skin/generator/Raster.h"
#include "skin/data/Bitmap24.h"

namespace qlt::art {

// An image of the given size, all magenta (transparent until drawn on).
Bitmap24 Blank(int width, int height);

enum class Direction { Left, Right, Up, Down };

// A filled triangle around (cx, cy), its point towards `direction`: `size` rows deep, the widest
// row 2 * size - 1 pixels long.
void DrawArrow(Raster r, int cx, int cy, Direction direction, Rgb c, int size = 4);

// Pixels cut from each row of a quarter circle of the given radius, counted from the corner's edge
// (for Shape::Rounded): the first row loses the most, the last cut row one pixel.
std::vector<int> RoundProfile(int radius);

struct PlateColours {
  Rgb outline, top, bottom, highlight, lowlight;
};

// A plate in the shape: a one-pixel outline, a bevel just inside it (highlight towards the top
// left, lowlight elsewhere) and a vertical (or horizontal) gradient from `top` to `bottom`. Pixels
// of the box outside the shape become magenta.
void DrawPlate(Raster r, int x, int y, const Shape& shape, const PlateColours& c, bool horizontalGradient = false);

// Where the MDI child buttons' glyphs sit in their cell.
struct MdiGlyphLayout {
  int barX, barY, barWidth, barHeight;                          // minimise: a bar
  int backX, backY, frontX, frontY, windowWidth, windowHeight;  // restore: the front window hides the back one
  int crossX, crossY, crossSteps;                               // close: an X of two-pixel steps
};

enum class MdiLook { Normal, Pressed, Hot };

// The MDI child buttons: twelve cells of cellWidth x cellHeight, for minimise, restore and close in
// turn normal, pressed, hot, hot. Each is a plate (corners cut by a pixel) in `plate`'s colours with
// its glyph in `ink`, one pixel down and to the right while pressed.
Bitmap24 MdiButtonStrip(int cellWidth, int cellHeight, const MdiGlyphLayout& layout,
                        const std::function<PlateColours(MdiLook)>& plate, const std::function<Rgb(MdiLook)>& ink);

}  // namespace qlt::art
