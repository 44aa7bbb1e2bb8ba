#pragma once
// The settings file through the private-profile functions: one key per call, no cache, a missing
// key reads as the empty text, values up to 254 characters. The file keeps the system's ANSI code
// page (the functions write a file without a byte-order mark in it).
#include <string>
#include <string_view>

namespace qlt {

std::wstring ReadIniString(std::wstring_view section, std::wstring_view key, std::wstring_view path);
void WriteIniString(std::wstring_view section, std::wstring_view key, std::wstring_view text, std::wstring_view path);

// "QLT.ini" beside the executable.
std::wstring SettingsPath();

class IniFile {
 public:
  explicit IniFile(std::wstring path = SettingsPath()) : path_(std::move(path)) {}
  std::u16string Read(std::u16string_view section, std::u16string_view key) const;
  void Write(std::u16string_view section, std::u16string_view key, std::u16string_view text) const;
  const std::wstring& Path() const { return path_; }

 private:
  std::wstring path_;
};

}  // namespace qlt
