#pragma once
// The colour tool: six hexadecimal digits RRGGBB become a colour value 0x00BBGGRR, and a colour
// value becomes its framework name ("clRed") or "$" and eight hexadecimal digits (ui/Colors.h).
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace qlt {

struct ColorParse {
  std::optional<std::uint32_t> color;
  std::u16string error;  // the framework's conversion error for the first pair that is no number
};

// Reads characters 1-2, 3-4 and 5-6 each as "$" and the two characters (red, green, blue).
ColorParse HexToColor(std::u16string_view text);

std::u16string ColorToText(std::uint32_t color);

}  // namespace qlt
