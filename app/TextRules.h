#pragma once
// Letter-case rules of program names: only the ASCII letters a to z are folded, as the hide step
// and the selection list compare executable names. Trimming and number conversion are the
// framework's (ui/SysUtils.h).
#include <string>
#include <string_view>

namespace qlt {

// Upper case for the ASCII letters a to z only; every other character is kept.
std::u16string AsciiUpper(std::u16string_view text);

// True when needle occurs in haystack, ASCII letters compared without regard to case.
// An empty needle matches nothing.
bool ContainsIgnoringAsciiCase(std::u16string_view haystack, std::u16string_view needle);

}  // namespace qlt
