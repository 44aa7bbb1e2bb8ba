#include "app/TextRules.h"

namespace qlt {
namespace {

char16_t UpperAscii(char16_t c) { return (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - 32) : c; }

}  // namespace

std::u16string AsciiUpper(std::u16string_view text) {
  std::u16string out(text);
  for (auto& c : out) c = UpperAscii(c);
  return out;
}

bool ContainsIgnoringAsciiCase(std::u16string_view haystack, std::u16string_view needle) {
  if (needle.empty()) return false;
  return AsciiUpper(haystack).find(AsciiUpper(needle)) != std::u16string::npos;
}

}  // namespace qlt
