#pragma once
// Command lines and registry names of the links and of autostart.
#include <string>
#include <string_view>

namespace qlt {

inline constexpr char16_t kMakerSite[] = u"https://www.qlt-tech.example.com/";      // Label5
inline constexpr char16_t kForumSite[] = u"https://forum.velora.example.com/";      // Label8, N5
inline constexpr char16_t kSearchSite[] = u"https://search.sorvek.example.com/";    // N6

inline constexpr char16_t kRunKeyPath[] = u"Software\\Microsoft\\Windows\\CurrentVersion\\run";
inline constexpr char16_t kBrowserKeyPath[] = u"Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\IEXPLORE.EXE";

// A path in double quotes, so a blank in it cannot start another program; a path that is already
// quoted is returned as it is.
std::u16string QuotedPath(std::u16string_view path);

// The autostart value's name: the file name without its directory, cut before its first ".".
std::u16string AutostartValueName(std::u16string_view exePath);

// The quoted browser path, a blank and the quoted address.
std::u16string BrowserCommandLine(std::u16string_view browserPath, std::u16string_view address);

}  // namespace qlt
