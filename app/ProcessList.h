#pragma once
// The running processes through the toolhelp functions, bound from kernel32 at run time: where
// they are missing every list comes out empty.
#include <windows.h>

#include <vector>

#include "app/HidePlan.h"
#include "ui/Handles.h"

namespace qlt {

// One toolhelp process snapshot (move-only, like the handle it owns).
class ToolhelpSnapshot {
 public:
  ToolhelpSnapshot();  // a process snapshot; Valid() is false when it could not be taken

  bool Valid() const { return static_cast<bool>(handle_); }
  // The processes in snapshot order, executable names as the snapshot gives them.
  std::vector<ProcessInfo> Processes() const;

 private:
  UniqueKernelHandle handle_;
};

// RefreshProcessList's rows: one entry per running process, in snapshot order.
std::vector<ProcessInfo> ListProcesses();

}  // namespace qlt
