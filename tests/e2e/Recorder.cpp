#include "tests/e2e/Recorder.h"

#include <fstream>
#include <iterator>

#include "tests/e2e/QltProcess.h"

namespace qlt::e2e {
namespace {

std::wstring RecorderBuilt() {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  const std::wstring driver(path);
  return driver.substr(0, driver.rfind(L'\\') + 1) + L"..\\tools\\qlt_command_recorder.exe";
}

std::wstring RecordFile(const std::wstring& path) { return path + L".cmdline"; }

}  // namespace

bool PutRecorder(const std::wstring& path) {
  DeleteFileW(RecordFile(path).c_str());
  return CopyFileW(RecorderBuilt().c_str(), path.c_str(), FALSE) != FALSE;
}

std::string TakeRecordedCommandLine(const std::wstring& path, std::chrono::milliseconds timeout) {
  std::string bytes;
  WaitUntil(
      [&] {
        std::ifstream in(RecordFile(path).c_str(), std::ios::binary);
        bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        return !bytes.empty();
      },
      timeout);
  DeleteFileW(RecordFile(path).c_str());
  return bytes;
}

bool RecorderRan(const std::wstring& path) {
  return GetFileAttributesW(RecordFile(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace qlt::e2e
