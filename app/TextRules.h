#pragma once
// Small text rules shared by the settings, the hotkey grammar and the tools: trimming, ASCII-only
// letter case, and the framework-style integer conversion with its error text.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace qlt {

// Removes blanks and control characters (everything up to U+0020) at both ends.
std::u16string Trim(std::u16string_view text);

// Upper case for the ASCII letters a to z only; every other character is kept.
std::u16string AsciiUpper(std::u16string_view text);

// True when needle occurs in haystack, ASCII letters compared without regard to case.
// An empty needle matches nothing.
bool ContainsIgnoringAsciiCase(std::u16string_view haystack, std::u16string_view needle);
bool EqualsIgnoringAsciiCase(std::u16string_view a, std::u16string_view b);

// The framework's integer conversion: leading blanks, an optional sign, then decimal digits or a
// hexadecimal number after "$" or "0x"; nothing may follow. Values beyond 32 bits fail
// (hexadecimal up to FFFFFFFF wraps, as the framework does).
std::optional<std::int32_t> StrToInt(std::u16string_view text);
std::int32_t StrToIntDef(std::u16string_view text, std::int32_t fallback);

// "'%s' is not a valid integer value", the framework's conversion error.
std::u16string InvalidIntegerMessage(std::u16string_view piece);

std::u16string IntToText(std::int64_t value);

// ASCII (or UTF-8) literal to UTF-16.
std::u16string U16(std::string_view utf8);

}  // namespace qlt
