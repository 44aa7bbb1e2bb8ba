#include "app/IniFile.h"

#include <windows.h>

#include "app/WinText.h"

namespace qlt {

std::wstring ReadIniString(std::wstring_view section, std::wstring_view key, std::wstring_view path) {
  // A 256-character buffer with the size given as 255: at most 254 characters come back.
  wchar_t buffer[256] = {};
  GetPrivateProfileStringW(std::wstring(section).c_str(), std::wstring(key).c_str(), L"", buffer, 255,
                           std::wstring(path).c_str());
  return buffer;
}

void WriteIniString(std::wstring_view section, std::wstring_view key, std::wstring_view text, std::wstring_view path) {
  WritePrivateProfileStringW(std::wstring(section).c_str(), std::wstring(key).c_str(), std::wstring(text).c_str(),
                             std::wstring(path).c_str());
}

std::wstring SettingsPath() { return FileBesideExecutable(L"QLT.ini"); }

std::u16string IniFile::Read(std::u16string_view section, std::u16string_view key) const {
  return ToU16(ReadIniString(ToWide(section), ToWide(key), path_));
}

void IniFile::Write(std::u16string_view section, std::u16string_view key, std::u16string_view text) const {
  WriteIniString(ToWide(section), ToWide(key), ToWide(text), path_);
}

}  // namespace qlt
