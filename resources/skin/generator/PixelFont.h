#pragma once
// A small bitmap font of the project's own, drawn for the skin previews (labels of the contact sheet,
// the caption of the frame mock-up): capitals and digits 7 pixels high, lower case with descenders,
// a few punctuation marks. Characters it lacks are drawn as a box.
#include <string_view>
#include <vector>

namespace qlt::art {

inline constexpr int kFontHeight = 9;  // 7 rows above the baseline, 2 for descenders
inline constexpr int kFontBaseline = 6;

// The glyph's rows ('#' is ink), all of one width.
const std::vector<std::string_view>& Glyph(char c);

}  // namespace qlt::art
