#include "app/DataFile.h"

#include <windows.h>

#include "app/WinText.h"
#include "ui/SysUtils.h"

namespace qlt {
namespace {

std::wstring CannotCreate(const std::wstring& path, DWORD error = GetLastError()) {
  return ToWide(Format(msg::kCannotCreateFile, {ToU16(path), ToU16(SystemErrorText(error))}));
}

class FileHandle {
 public:
  explicit FileHandle(HANDLE handle) : handle_(handle) {}
  ~FileHandle() {
    if (Valid()) CloseHandle(handle_);
  }
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;
  bool Valid() const { return handle_ != INVALID_HANDLE_VALUE; }
  HANDLE Get() const { return handle_; }
  void Close() {
    if (Valid()) CloseHandle(handle_);
    handle_ = INVALID_HANDLE_VALUE;
  }

 private:
  HANDLE handle_;
};

std::wstring CannotOpen(const std::wstring& path, DWORD error) {
  return ToWide(Format(msg::kCannotOpenFile, {ToU16(path), ToU16(SystemErrorText(error))}));
}

bool IsMissingFile(DWORD error) { return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND; }

}  // namespace

std::wstring DataFilePath() { return FileBesideExecutable(L"data.txt"); }

SelectListFile ReadSelectListFile(const std::wstring& path) {
  SelectListFile result;
  FileHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.Valid()) {
    const DWORD error = GetLastError();
    if (!IsMissingFile(error)) result.error = CannotOpen(path, error);
    return result;
  }
  std::string bytes;
  char chunk[64 * 1024];
  DWORD read = 0;
  while (true) {
    if (!ReadFile(file.Get(), chunk, sizeof chunk, &read, nullptr)) {
      result.error = CannotOpen(path, GetLastError());
      return result;
    }
    if (read == 0) break;
    bytes.append(chunk, read);
  }
  result.list = SelectList::FromFileBytes(bytes, AnsiCodec());
  return result;
}

SelectList LoadSelectList(const std::wstring& path) { return ReadSelectListFile(path).list; }

std::optional<std::wstring> SaveSelectList(const SelectList& list, const std::wstring& path) {
  // The list goes to a file beside data.txt first, which then takes data.txt's place in one step:
  // a write that fails half-way (a full disk, a crash) leaves the old file as it was.
  const std::wstring temporary = path + L".new";
  const std::string bytes = list.ToFileBytes();
  // Windows refuses to replace a read-only file; so does this, also where the file system would
  // let a rename replace it.
  const DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) {
    return CannotCreate(path, ERROR_ACCESS_DENIED);
  }
  {
    FileHandle file(
        CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid()) return CannotCreate(path);
    DWORD written = 0;
    if (!WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) ||
        written != bytes.size() || !FlushFileBuffers(file.Get())) {
      const DWORD error = GetLastError();
      file.Close();
      DeleteFileW(temporary.c_str());
      return CannotCreate(path, error);
    }
  }
  if (!MoveFileExW(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    const DWORD error = GetLastError();
    DeleteFileW(temporary.c_str());
    return CannotCreate(path, error);
  }
  return std::nullopt;
}

}  // namespace qlt
