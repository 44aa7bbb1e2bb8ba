#pragma once
// Starting other programs: the seam the IP/DNS switcher and the links go through, so tests can
// see the command lines that leave the program.
#include <windows.h>

#include <string>

namespace qlt {

class ProcessStarter {
 public:
  virtual ~ProcessStarter() = default;
  // A command line in the bytes of an ANSI code page, as WinExec takes it (the program is looked
  // for beside the executable first). True when the program was started.
  virtual bool RunAnsi(const std::string& commandLine, int show) = 0;
  // A UTF-16 command line; the same search for the program.
  virtual bool Run(const std::wstring& commandLine, int show) = 0;
  // Opens a document or address with the program the user chose for it.
  virtual bool OpenWithDefaultProgram(const std::wstring& target) = 0;
};

ProcessStarter& SystemProcessStarter();

}  // namespace qlt
