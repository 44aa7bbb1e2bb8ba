#pragma once
// Text at the Win32 edge: UTF-16 of the portable code as wchar_t, the ANSI code pages of stored
// files and command lines, the folder of the executable and the system's error texts.
#include <windows.h>

#include <string>
#include <string_view>

#include "app/SelectList.h"

namespace qlt {

inline std::wstring ToWide(std::u16string_view text) { return std::wstring(text.begin(), text.end()); }
inline std::u16string ToU16(std::wstring_view text) { return std::u16string(text.begin(), text.end()); }

std::wstring AnsiToWide(std::string_view bytes, UINT codePage = CP_ACP);
std::string WideToAnsi(std::wstring_view text, UINT codePage = CP_ACP);

// The system's ANSI code page, for the selection list file.
class AnsiCodec : public TextCodec {
 public:
  std::u16string Decode(std::string_view bytes) const override { return ToU16(AnsiToWide(bytes)); }
  std::string Encode(std::u16string_view text) const override { return WideToAnsi(ToWide(text)); }
};

std::wstring ExecutablePath();
// The executable's folder with its trailing backslash.
std::wstring ExecutableDirectory();
std::wstring FileBesideExecutable(std::wstring_view name);

// The system's text for an error code, without the trailing line end.
std::wstring SystemErrorText(DWORD code);

}  // namespace qlt
