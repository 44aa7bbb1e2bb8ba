#pragma once
// Writes an image as a PNG file (8-bit RGB, stored deflate blocks): enough for previews that
// people look at, with no library beyond the standard one.
#include <string>

#include "skin/data/Bitmap24.h"
#include "skin/data/Bytes.h"

namespace qlt::art {

Bytes EncodePng(const Bitmap24& image);

}  // namespace qlt::art
