#pragma once
// What the build put into QLT: the forms' descriptions in QLT.exe's resources and the default skin
// the build packed (QLT.exe carries the same bytes). The drivers read their expected sizes, cells
// and colours from these, never from numbers of their own.
#include <windows.h>

#include <string>

#include "skin/data/SkinObjects.h"
#include "ui/FormText.h"

namespace qlt::e2e {

// An RCDATA resource of a program file, read without running it; empty when there is none.
std::string ProgramResource(const std::wstring& exePath, const wchar_t* name);
// The description of one of QLT.exe's forms ("TFRM_MAIN", "TFRM_HOTKEY", "TFRM_IPDNS"); throws
// when QLT.exe has none of that name.
DfmObject QltFormDescription(const wchar_t* resourceName);
// A nested object of a description, or nullptr.
const DfmObject* ChildObject(const DfmObject& parent, std::string_view name);

// A skin file unpacked into its skin objects, as the skin component builds them. Throws
// std::runtime_error when the file cannot be read or holds no skin.
class LoadedSkin {
 public:
  explicit LoadedSkin(const std::wstring& path);
  const TSkinContent& Objects() const { return content_; }

 private:
  TSkinContent content_;
};

// QLT's default skin, the build's QLTSkin.skin (loaded once).
const TSkinContent& DefaultSkin();

// A skin colour as the screen shows it: system colours through GetSysColor.
COLORREF ScreenColourOf(TColor colour);

}  // namespace qlt::e2e
