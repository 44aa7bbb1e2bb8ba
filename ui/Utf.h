#pragma once
// Conversions between UTF-8 (source files, portable code) and UTF-16 (the Win32 W functions).
// Portable code uses char16_t, never wchar_t, which is 4 bytes outside Windows.
#include <string>
#include <string_view>

namespace qlt {

// Malformed input (stray continuation bytes, overlong forms, surrogates encoded in UTF-8,
// truncated sequences, code points above U+10FFFF) becomes U+FFFD, one per bad sequence.
std::u16string Utf8ToUtf16(std::string_view utf8);

// Unpaired surrogates become U+FFFD.
std::string Utf16ToUtf8(std::u16string_view utf16);

}  // namespace qlt
