#pragma once
// The running processes through the toolhelp functions, bound from kernel32 at run time: where
// they are missing every list comes out empty.
#include <windows.h>

#include <vector>

#include "app/HidePlan.h"

namespace qlt {

// Owns one toolhelp snapshot handle.
class ToolhelpSnapshot {
 public:
  ToolhelpSnapshot();  // a process snapshot; Valid() is false when it could not be taken
  ~ToolhelpSnapshot();
  ToolhelpSnapshot(ToolhelpSnapshot&& other) noexcept;
  ToolhelpSnapshot& operator=(ToolhelpSnapshot&& other) noexcept;
  ToolhelpSnapshot(const ToolhelpSnapshot&) = delete;
  ToolhelpSnapshot& operator=(const ToolhelpSnapshot&) = delete;

  bool Valid() const { return handle_ != INVALID_HANDLE_VALUE; }
  // The processes in snapshot order, executable names as the snapshot gives them.
  std::vector<ProcessInfo> Processes() const;

 private:
  HANDLE handle_ = INVALID_HANDLE_VALUE;
};

// RefreshProcessList's rows: one entry per running process, in snapshot order.
std::vector<ProcessInfo> ListProcesses();

}  // namespace qlt
