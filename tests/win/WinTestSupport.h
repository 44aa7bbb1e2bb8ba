#pragma once
// Helpers of the Windows tests: waiting for another program to catch up, real programs started
// and ended by the test, their windows, and scratch folders.
#include <windows.h>

#include <chrono>
#include <functional>
#include <string>
#include <vector>

namespace qlt::test {

using namespace std::chrono_literals;

// Polls (pumping this thread's messages) until the condition holds or the time is up.
bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout = 10s);

// Real input through the system's input queue, as a hand gives it (screen coordinates). A mouse
// event always carries an absolute move to the point; buttonFlags adds presses and releases.
void SendMouseInput(DWORD buttonFlags, POINT screen);
// UTF-8 text (the sources' strings, paths from the command line) as UTF-16, by the system.
std::wstring Utf8ToWide(const std::string& text);

// A key pressed or let go, for SendInput.
INPUT KeyInput(WORD vk, bool up);
// Characters as they are (Unicode input), each pressed and let go.
void SendUnicodeText(const std::wstring& text);
bool PointerAt(POINT screen);
// The centre of a window on the screen.
POINT CentreOf(HWND window);

// True while the shell has the tray icon (changing an icon the shell does not have fails).
bool TrayIconPresent(HWND owner, UINT id);
// Takes the icon away, as a taskbar that restarts does.
void RemoveTrayIcon(HWND owner, UINT id);

// A program of the system (notepad.exe, winemine.exe, ...) or any executable, started by the
// test and killed at the end unless it has ended by itself.
class RunningProgram {
 public:
  explicit RunningProgram(const std::wstring& commandLine);
  ~RunningProgram();
  RunningProgram(const RunningProgram&) = delete;
  RunningProgram& operator=(const RunningProgram&) = delete;

  DWORD Id() const { return info_.dwProcessId; }
  bool Running() const;
  // The first visible top-level window of the program, waited for.
  HWND MainWindow(std::chrono::milliseconds timeout = 10s) const;
  bool WaitForExit(std::chrono::milliseconds timeout = 10s) const;

 private:
  PROCESS_INFORMATION info_{};
};

std::vector<HWND> TopLevelWindowsOf(DWORD pid);

// A fresh folder below %TEMP%, removed with its files at the end.
class ScratchDir {
 public:
  explicit ScratchDir(const std::wstring& name);
  ~ScratchDir();
  const std::wstring& Path() const { return path_; }
  std::wstring File(const std::wstring& name) const { return path_ + L"\\" + name; }
  void Write(const std::wstring& name, const std::string& bytes) const;
  std::string Read(const std::wstring& name) const;
  bool Exists(const std::wstring& name) const;

 private:
  std::wstring path_;
};

// The folder of the running test program, with its trailing backslash.
std::wstring TestProgramDirectory();

// The whole file ("" when it cannot be opened), and whether a file or folder is there.
std::string ReadFileBytes(const std::wstring& path);
bool FileExists(const std::wstring& path);
// Removes a folder with everything in it (read-only files too).
void DeleteTree(const std::wstring& path);

// GDI objects a process holds, stock objects not counted (-1 when they cannot be read). Windows
// counts them; Wine's count is a stub returning 0, so there the process's GDI handle table is read.
// `thread` is one of the process's threads (its TEB leads to the table on 64-bit Wine).
int GdiObjectCount(HANDLE process, HANDLE thread);

}  // namespace qlt::test
