#pragma once
// The files QLT keeps beside itself (data.txt, the hide journal), read whole and saved so that a
// failure half-way never loses the old file.
#include <windows.h>

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace qlt {

struct WholeFile {
  std::string bytes;
  DWORD error = ERROR_SUCCESS;  // why it could not be read (then `bytes` is empty)
  bool Missing() const { return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND; }
};
// Reads the file up to its end, or up to about `limit` bytes.
WholeFile ReadWholeFile(const std::wstring& path, std::size_t limit = static_cast<std::size_t>(-1));

// What a save writes first, beside the file it replaces.
std::wstring TemporaryFileFor(const std::wstring& path);

// Writes `bytes` to a temporary file beside `path`, which then takes the old file's place in one
// step. While another program has the file open for a moment (a virus scanner, a backup, an
// editor) the step is tried again for about a second. A read-only file is not replaced.
// Nothing on success; otherwise the framework's text for a file that cannot be created,
// "Cannot create file "<path>". <reason>".
std::optional<std::wstring> ReplaceFileContents(const std::wstring& path, std::string_view bytes);

// Runs `step` (which answers the error it met, or ERROR_SUCCESS) until it succeeds, fails for
// another reason than the file being in use, or about a second has passed.
bool RetryWhileInUse(const std::function<DWORD()>& step);

}  // namespace qlt
