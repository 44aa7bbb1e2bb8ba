#include "app/FileAccess.h"

#include "app/WinText.h"
#include "ui/Handles.h"
#include "ui/SysUtils.h"

namespace qlt {
namespace {

constexpr int kInUseAttempts = 40;
constexpr DWORD kInUsePauseMs = 25;

std::wstring CannotCreate(const std::wstring& path, DWORD error) {
  return ToWide(Format(msg::kCannotCreateFile, {ToU16(path), ToU16(SystemErrorText(error))}));
}

DWORD ErrorOf(BOOL ok) { return ok ? ERROR_SUCCESS : GetLastError(); }

// Creates the temporary file and writes the bytes through to the disk.
DWORD WriteNewFile(const std::wstring& path, std::string_view bytes) {
  const UniqueKernelHandle file(
      CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return GetLastError();
  DWORD written = 0;
  if (!WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr)) return GetLastError();
  if (written != bytes.size()) return ERROR_DISK_FULL;
  return ErrorOf(FlushFileBuffers(file.Get()));
}

}  // namespace

WholeFile ReadWholeFile(const std::wstring& path, std::size_t limit) {
  WholeFile result;
  const UniqueKernelHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) {
    result.error = GetLastError();
    return result;
  }
  char chunk[64 * 1024];
  DWORD read = 0;
  while (result.bytes.size() < limit) {
    if (!ReadFile(file.Get(), chunk, sizeof chunk, &read, nullptr)) {
      result.error = GetLastError();
      result.bytes.clear();
      return result;
    }
    if (read == 0) break;
    result.bytes.append(chunk, read);
  }
  return result;
}

std::wstring TemporaryFileFor(const std::wstring& path) { return path + L".new"; }

bool RetryWhileInUse(const std::function<DWORD()>& step) {
  for (int attempt = 0;; ++attempt) {
    const DWORD error = step();
    if (error == ERROR_SUCCESS) return true;
    if ((error != ERROR_SHARING_VIOLATION && error != ERROR_ACCESS_DENIED) || attempt == kInUseAttempts) {
      SetLastError(error);
      return false;
    }
    Sleep(kInUsePauseMs);
  }
}

std::optional<std::wstring> ReplaceFileContents(const std::wstring& path, std::string_view bytes) {
  // Windows refuses to replace a read-only file; so does this, also where the file system would
  // let a rename replace it.
  const DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) {
    return CannotCreate(path, ERROR_ACCESS_DENIED);
  }
  const std::wstring temporary = TemporaryFileFor(path);
  DWORD error = WriteNewFile(temporary, bytes);
  if (error == ERROR_SUCCESS && !RetryWhileInUse([&] {
        return ErrorOf(MoveFileExW(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH));
      })) {
    error = GetLastError();
  }
  if (error == ERROR_SUCCESS) return std::nullopt;
  DeleteFileW(temporary.c_str());
  return CannotCreate(path, error);
}

}  // namespace qlt
