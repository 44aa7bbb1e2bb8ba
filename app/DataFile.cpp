#include "app/DataFile.h"

#include <windows.h>

#include "app/WinText.h"
#include "ui/SysUtils.h"

namespace qlt {
namespace {

std::wstring CannotCreate(const std::wstring& path) {
  return ToWide(Format(msg::kCannotCreateFile, {ToU16(path), ToU16(SystemErrorText(GetLastError()))}));
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

 private:
  HANDLE handle_;
};

std::string ReadWholeFile(const std::wstring& path) {
  FileHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.Valid()) return {};
  std::string bytes;
  char chunk[64 * 1024];
  DWORD read = 0;
  while (ReadFile(file.Get(), chunk, sizeof chunk, &read, nullptr) && read > 0) bytes.append(chunk, read);
  return bytes;
}

}  // namespace

std::wstring DataFilePath() { return FileBesideExecutable(L"data.txt"); }

SelectList LoadSelectList(const std::wstring& path) {
  return SelectList::FromFileBytes(ReadWholeFile(path), AnsiCodec());
}

std::optional<std::wstring> SaveSelectList(const SelectList& list, const std::wstring& path) {
  FileHandle file(
      CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.Valid()) return CannotCreate(path);
  const std::string bytes = list.ToFileBytes();
  DWORD written = 0;
  if (!WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) ||
      written != bytes.size()) {
    return CannotCreate(path);
  }
  return std::nullopt;
}

}  // namespace qlt
