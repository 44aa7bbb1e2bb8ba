#pragma once
// Text rules shared by the skin container's name list and the skin description: the text is bytes
// (the system's ANSI code page), only ASCII letters change case (AsciiLower and SameText of
// ui/SysUtils.h), and "blank" is any code up to 32.
#include <string_view>
#include <vector>

namespace qlt {

// Drops every character with a code up to 32 (blanks, tabs, control characters) at both ends.
std::string_view TrimBlanks(std::string_view text);

// Splits text into lines the way a string list takes its text: a line ends at CR LF, CR or LF; a
// NUL character ends the whole text; a final empty piece behind the last line end is no line.
std::vector<std::string_view> SplitTextLines(std::string_view text);

}  // namespace qlt
