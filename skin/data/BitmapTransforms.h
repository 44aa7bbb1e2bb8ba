#pragma once
// The five transforms that derive the other forms of a skin image in place: grey (disabled glyphs),
// mirrored (the combo button's second image), upside down and the two quarter turns (tabs on other
// sides, vertical progress bars). An empty image stays empty.
#include "skin/data/Bitmap24.h"

namespace qlt {

// Every pixel becomes (blue + green + red) div 3 in all three bytes.
void ToGrey(Bitmap24& bitmap);
// Left and right exchanged.
void MirrorHorizontal(Bitmap24& bitmap);
// Top and bottom exchanged.
void FlipVertical(Bitmap24& bitmap);
// A quarter turn counter-clockwise: the old right column becomes the top row.
void RotateLeft(Bitmap24& bitmap);
// A quarter turn clockwise: the old left column, read bottom to top, becomes the top row.
void RotateRight(Bitmap24& bitmap);

}  // namespace qlt
