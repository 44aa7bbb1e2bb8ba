#pragma once
// TQuickIni reads a skin's description: an ini-style text of "[Section]" headers and "key=value"
// lines, parsed once in memory and answered by typed lookups. Lookups never fail: a missing
// section or key, an empty value or a number that does not parse gives the caller's default.
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "skin/data/Bytes.h"

namespace qlt {

class TQuickIni {
 public:
  // Replaces the content with the text (bytes up to the first NUL).
  void LoadFromStream(ByteView stream);
  void LoadFromText(std::string_view text);

  // The index in Lines() of the first header "[name]", letter case ignored; -1 when there is none.
  int FindSection(std::string_view name) const;
  // The section names in text order, brackets and surrounding blanks removed.
  std::vector<std::string> ReadSections() const;
  std::string ReadString(std::string_view section, std::string_view key, std::string_view defaultValue) const;
  // Decimal with an optional sign, or hexadecimal after "$" or "0x" (no sign before either); a value
  // outside the signed 32-bit range ("$FFFFFFFF", "0xFF00000F"), or any other text, gives the default.
  std::int32_t ReadInteger(std::string_view section, std::string_view key, std::int32_t defaultValue) const;

  // Every kept line, trimmed, in text order (blank lines and ";" comments are not kept).
  const std::vector<std::string>& Lines() const { return lines_; }
  // The section headers as written, with the index of each in Lines().
  const std::vector<std::pair<std::string, int>>& Sections() const { return sections_; }

 private:
  struct Setting {
    std::string key;  // lower-cased; empty for a line without "="
    std::string value;
    bool hasEquals = false;
    bool isHeader = false;
  };

  std::vector<std::string> lines_;
  std::vector<std::pair<std::string, int>> sections_;
  std::vector<Setting> settings_;  // one per line
};

}  // namespace qlt
