#pragma once
// The recorder program (tests/tools/CommandRecorder.cpp) in the role of a program QLT starts:
// copied to where QLT looks for netsh or a browser, it writes the command line it was started
// with into "<its path>.cmdline".
#include <windows.h>

#include <chrono>
#include <string>

namespace qlt::e2e {

using namespace std::chrono_literals;

// Copies the recorder to `path`; false when that fails.
bool PutRecorder(const std::wstring& path);
// The bytes of the command line the recorder at `path` received (waited for; empty when it was
// not started), and forgets them, so the next start can be told from this one.
std::string TakeRecordedCommandLine(const std::wstring& path, std::chrono::milliseconds timeout = 10s);
bool RecorderRan(const std::wstring& path);

}  // namespace qlt::e2e
