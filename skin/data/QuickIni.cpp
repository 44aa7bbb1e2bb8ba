#include "skin/data/QuickIni.h"

#include <limits>
#include <optional>

#include "skin/data/SkinText.h"
#include "ui/SysUtils.h"

namespace qlt {
namespace {

bool IsHeader(std::string_view line) { return line.size() >= 2 && line.front() == '[' && line.back() == ']'; }

int DigitValue(char c, int base) {
  int d = -1;
  if (c >= '0' && c <= '9') d = c - '0';
  else if (c >= 'a' && c <= 'f') d = c - 'a' + 10;
  else if (c >= 'A' && c <= 'F') d = c - 'A' + 10;
  return d < base ? d : -1;
}

// A description's number: an optional sign and decimal digits, or "$" and hexadecimal digits,
// within the signed 32-bit range; nothing for any other text.
std::optional<std::int32_t> ParseSkinInteger(std::string_view text) {
  bool negative = false;
  int base = 10;
  std::size_t i = 0;
  if (!text.empty() && text[0] == '$') {
    base = 16;  // no sign before it: "$FFFFFFFF" is 4294967295, outside the range, not -1
    i = 1;
  } else if (!text.empty() && (text[0] == '-' || text[0] == '+')) {
    negative = text[0] == '-';
    i = 1;
  }
  if (i == text.size()) return std::nullopt;
  std::int64_t magnitude = 0;
  for (; i < text.size(); ++i) {
    const int d = DigitValue(text[i], base);
    if (d < 0) return std::nullopt;
    magnitude = magnitude * base + d;
    if (magnitude > std::int64_t{1} << 31) return std::nullopt;  // beyond every 32-bit value
  }
  const std::int64_t value = negative ? -magnitude : magnitude;
  if (value < std::numeric_limits<std::int32_t>::min() || value > std::numeric_limits<std::int32_t>::max()) {
    return std::nullopt;
  }
  return static_cast<std::int32_t>(value);
}

}  // namespace

void TQuickIni::LoadFromStream(ByteView stream) {
  LoadFromText(std::string_view(reinterpret_cast<const char*>(stream.data()), stream.size()));
}

void TQuickIni::LoadFromText(std::string_view text) {
  lines_.clear();
  sections_.clear();
  settings_.clear();
  for (const std::string_view raw : SplitTextLines(text)) {
    const std::string_view line = TrimBlanks(raw);
    if (line.empty() || line.front() == ';') continue;
    Setting setting;
    setting.isHeader = IsHeader(line);
    if (setting.isHeader) {
      sections_.emplace_back(std::string(line), static_cast<int>(lines_.size()));
    } else if (const std::size_t eq = line.find('='); eq != std::string_view::npos) {
      setting.key = AsciiLower(TrimBlanks(line.substr(0, eq)));
      setting.value = std::string(TrimBlanks(line.substr(eq + 1)));
      setting.hasEquals = true;
    }
    lines_.emplace_back(line);
    settings_.push_back(std::move(setting));
  }
}

int TQuickIni::FindSection(std::string_view name) const {
  std::string header;
  header.reserve(name.size() + 2);
  header.append(1, '[').append(name).append(1, ']');
  for (const auto& [text, index] : sections_) {
    if (SameText(text, header)) return index;
  }
  return -1;
}

std::vector<std::string> TQuickIni::ReadSections() const {
  std::vector<std::string> names;
  names.reserve(sections_.size());
  for (const auto& section : sections_) {
    const std::string_view header = TrimBlanks(section.first);
    names.emplace_back(TrimBlanks(header.substr(1, header.size() - 2)));
  }
  return names;
}

std::string TQuickIni::ReadString(std::string_view section, std::string_view key,
                                  std::string_view defaultValue) const {
  const std::string wanted = AsciiLower(key);
  const int header = lines_.empty() ? -1 : FindSection(section);
  if (header < 0) return std::string(defaultValue);
  for (std::size_t i = static_cast<std::size_t>(header) + 1; i < settings_.size(); ++i) {
    const Setting& line = settings_[i];
    if (line.isHeader) break;
    if (line.key != wanted) continue;
    // The first line with the key decides, even when its value is empty.
    if (line.hasEquals && !wanted.empty() && !line.value.empty()) return line.value;
    break;
  }
  return std::string(defaultValue);
}

std::int32_t TQuickIni::ReadInteger(std::string_view section, std::string_view key, std::int32_t defaultValue) const {
  std::string text = ReadString(section, key, "");
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) text.replace(0, 2, "$");
  return ParseSkinInteger(text).value_or(defaultValue);
}

}  // namespace qlt
