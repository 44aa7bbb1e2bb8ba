#pragma once
// "data.txt" beside the executable: the selection list, loaded at start and saved at exit.
#include <optional>
#include <string>

#include "app/SelectList.h"

namespace qlt {

std::wstring DataFilePath();  // "data.txt" beside the executable

// A missing or unreadable file gives an empty list.
SelectList LoadSelectList(const std::wstring& path = DataFilePath());

// Nothing on success; otherwise the framework's text for a file that cannot be created,
// "Cannot create file "<path>". <reason>", which the caller shows in the error box.
std::optional<std::wstring> SaveSelectList(const SelectList& list, const std::wstring& path = DataFilePath());

}  // namespace qlt
