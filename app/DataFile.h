#pragma once
// "data.txt" beside the executable: the selection list, loaded at start and saved at exit.
#include <optional>
#include <string>

#include "app/SelectList.h"

namespace qlt {

std::wstring DataFilePath();  // "data.txt" beside the executable

// The list as read from the file. A missing file gives an empty list; a file that exists but cannot
// be read whole gives an empty list and the error text ("Cannot open file "<path>". <reason>"):
// the caller must then leave the file alone, or the names in it would be lost.
struct SelectListFile {
  SelectList list;
  std::optional<std::wstring> error;
};
SelectListFile ReadSelectListFile(const std::wstring& path = DataFilePath());

// The list alone: empty for a missing or unreadable file.
SelectList LoadSelectList(const std::wstring& path = DataFilePath());

// Writes a new file and puts it in the old one's place (ReplaceFileContents), so a failure
// half-way never loses the old file. Nothing on success; otherwise the framework's text for a
// file that cannot be created, "Cannot create file "<path>". <reason>", which the caller shows in
// the error box.
std::optional<std::wstring> SaveSelectList(const SelectList& list, const std::wstring& path = DataFilePath());

}  // namespace qlt
