#include "app/DataFile.h"

#include <windows.h>

#include "app/FileAccess.h"
#include "app/WinText.h"
#include "ui/SysUtils.h"

namespace qlt {

std::wstring DataFilePath() { return FileBesideExecutable(L"data.txt"); }

SelectListFile ReadSelectListFile(const std::wstring& path) {
  SelectListFile result;
  const WholeFile file = ReadWholeFile(path);
  if (file.error != ERROR_SUCCESS) {
    if (!file.Missing()) {
      result.error = ToWide(Format(msg::kCannotOpenFile, {ToU16(path), ToU16(SystemErrorText(file.error))}));
    }
    return result;
  }
  result.list = SelectList::FromFileBytes(file.bytes, AnsiCodec());
  return result;
}

SelectList LoadSelectList(const std::wstring& path) { return ReadSelectListFile(path).list; }

std::optional<std::wstring> SaveSelectList(const SelectList& list, const std::wstring& path) {
  return ReplaceFileContents(path, list.ToFileBytes());
}

}  // namespace qlt
