#include "ui/SysUtils.h"

#include <limits>

#include "ui/Utf.h"

namespace qlt {

Exception::Exception(std::u16string message) : message_(std::move(message)), utf8_(Utf16ToUtf8(message_)) {}

std::u16string Format(std::u16string_view pattern, std::initializer_list<std::u16string_view> args) {
  std::u16string out;
  out.reserve(pattern.size() + 32);
  auto next = args.begin();
  for (size_t i = 0; i < pattern.size(); ++i) {
    if (pattern[i] == u'%' && i + 1 < pattern.size() && pattern[i + 1] == u's') {
      if (next != args.end()) out += *next++;
      ++i;
    } else {
      out += pattern[i];
    }
  }
  return out;
}

namespace {

int DigitValue(char16_t c, int base) {
  int v = -1;
  if (c >= u'0' && c <= u'9') v = c - u'0';
  else if (c >= u'a' && c <= u'f') v = c - u'a' + 10;
  else if (c >= u'A' && c <= u'F') v = c - u'A' + 10;
  return v < base ? v : -1;
}

}  // namespace

bool TryStrToInt(std::u16string_view text, int32_t& value) {
  size_t i = 0;
  while (i < text.size() && text[i] == u' ') ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) negative = text[i++] == u'-';
  int base = 10;
  if (i < text.size() && text[i] == u'$') {
    base = 16, ++i;
  } else if (i + 1 < text.size() && text[i] == u'0' && (text[i + 1] == u'x' || text[i + 1] == u'X')) {
    base = 16, i += 2;
  }
  if (i == text.size()) return false;
  int64_t magnitude = 0;
  for (; i < text.size(); ++i) {
    const int d = DigitValue(text[i], base);
    if (d < 0) return false;
    magnitude = magnitude * base + d;
    if (magnitude > (int64_t{1} << 32)) return false;
  }
  int64_t result = negative ? -magnitude : magnitude;
  // Hexadecimal texts may spell a negative number by its 32-bit pattern ($FFFFFFFF is -1).
  if (base == 16 && !negative && result > std::numeric_limits<int32_t>::max() && result <= 0xFFFFFFFFLL) {
    result -= int64_t{1} << 32;
  }
  if (result < std::numeric_limits<int32_t>::min() || result > std::numeric_limits<int32_t>::max()) return false;
  value = static_cast<int32_t>(result);
  return true;
}

int32_t StrToInt(std::u16string_view text) {
  int32_t value = 0;
  if (!TryStrToInt(text, value)) throw EConvertError(Format(msg::kInvalidInteger, {text}));
  return value;
}

int32_t StrToIntDef(std::u16string_view text, int32_t fallback) {
  int32_t value = 0;
  return TryStrToInt(text, value) ? value : fallback;
}

std::u16string IntToStr(int64_t value) {
  const std::string digits = std::to_string(value);
  return std::u16string(digits.begin(), digits.end());
}

std::u16string TrimLeft(std::u16string_view text) {
  size_t b = 0;
  while (b < text.size() && text[b] <= u' ') ++b;
  return std::u16string(text.substr(b));
}

std::u16string TrimRight(std::u16string_view text) {
  size_t e = text.size();
  while (e > 0 && text[e - 1] <= u' ') --e;
  return std::u16string(text.substr(0, e));
}

std::u16string Trim(std::u16string_view text) { return TrimRight(TrimLeft(text)); }

std::string AsciiLower(std::string_view text) {
  std::string out(text);
  for (auto& c : out) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return out;
}

std::string AsciiUpper(std::string_view text) {
  std::string out(text);
  for (auto& c : out) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return out;
}

std::u16string AsciiLower(std::u16string_view text) {
  std::u16string out(text);
  for (auto& c : out) {
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
  }
  return out;
}

bool SameText(std::string_view a, std::string_view b) { return a.size() == b.size() && AsciiLower(a) == AsciiLower(b); }

bool SameText(std::u16string_view a, std::u16string_view b) {
  return a.size() == b.size() && AsciiLower(a) == AsciiLower(b);
}

std::u16string Widen(std::string_view ascii) { return Utf8ToUtf16(ascii); }

std::string Narrow(std::u16string_view ascii) { return Utf16ToUtf8(ascii); }

}  // namespace qlt
