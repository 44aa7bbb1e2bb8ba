#pragma once
// Helpers of the Windows tests, the framework's and the end-to-end drivers' alike: waiting while
// messages are handled, real mouse and keyboard input, windows of this and other programs, message
// boxes, grabs of the screen, GDI object counts, programs started by the test, files, scratch
// folders and registry values.
#include <windows.h>

#include <chrono>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "skin/data/Bitmap24.h"

namespace qlt::test {

using namespace std::chrono_literals;

// ---- Waiting -------------------------------------------------------------------------------

// Handles this thread's waiting messages, through the pump a program installs (the framework's
// tests install the application object's, so its own dispatch runs as in the program), or by
// plain dispatching.
void PumpMessages();
void SetMessagePump(std::function<void()> pump);
// Polls, handling messages meanwhile, until the condition holds or the time is up; the condition's
// last value.
bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout = 10s);
// Handles messages for the given time.
void PumpFor(std::chrono::milliseconds duration);

// ---- Input ---------------------------------------------------------------------------------
// Real input through the system's input queue, as a hand gives it (screen coordinates). Each
// helper waits a moment afterwards, handling messages, so that the input has arrived.

enum class MouseButton { Left, Right };

// One mouse event: always an absolute move to the point; buttonFlags adds presses and releases.
void SendMouseInput(DWORD buttonFlags, POINT screen);
// Moves the pointer there and waits until it stays there (for a window of this thread: until the
// window has taken the move).
void MoveMouseTo(POINT screen);
// Press and release queued together, so a press that starts a modal loop (on a caption, a frame
// button, a scroll bar) gets its release from the queue.
void ClickAt(POINT screen, MouseButton button = MouseButton::Left);
void DoubleClickAt(POINT screen);
// Pressed at `from`, moved in steps with the button held, released at `to`, while this thread
// handles messages (a modal loop the press starts gets the moves and the release).
void DragMouse(POINT from, POINT to, MouseButton button = MouseButton::Left);
bool PointerAt(POINT screen);
// The centre of a window on the screen, and a point just beside it (below and right of its
// bottom-right corner), where the pointer is on none of it.
POINT CentreOf(HWND window);
POINT BesideOf(HWND window);

// A key pressed or let go, for SendInput.
INPUT KeyInput(WORD vk, bool up);
// Presses the keys together (the first ones held as modifiers) and lets them go in reverse order.
void PressKeys(const std::vector<WORD>& keys);
void PressKey(WORD vk, bool withAlt = false);
// Characters as they are (Unicode input), each pressed and let go.
void TypeText(const std::wstring& text);

// ---- Windows -------------------------------------------------------------------------------

std::wstring ClassNameOf(HWND window);
// The window text as the window manager keeps it (for a control of another program: its caption
// when created).
std::wstring TextOf(HWND window);
// The text a window answers to WM_GETTEXT, also across programs (a window that does not answer
// within five seconds reads as empty).
std::wstring ControlText(HWND control);
bool Visible(HWND window);
bool Layered(HWND window);
// The alpha of a layered window (0 when it has none).
BYTE AlphaOf(HWND window);
// A control's rectangle in the client coordinates of its parent.
RECT RectInParent(HWND control);

std::vector<HWND> TopLevelWindowsOf(DWORD pid);
// The first visible top-level window of a class that a process shows, or nullptr.
HWND VisibleWindowOfClass(DWORD pid, const std::wstring& className);
// The descendants of a window (of one class, when given), in the order the window manager keeps them.
std::vector<HWND> Descendants(HWND root, const std::wstring& className = L"");
// The descendant of a class with exactly this text, or nullptr.
HWND FindDescendant(HWND root, const std::wstring& className, const std::wstring& text);

// The centre of a list box row on the screen, scrolled into view first, as a user would.
POINT ListBoxRowCentre(HWND listBox, int row);
// The centre of a tab of a tab control on the screen (of this program or another).
POINT TabCentre(HWND tabControl, int tab);
// Sends a message whose lParam points at `size` bytes of `data` (read and written by the window's
// procedure), through a copy in the window's process when that is another one: the system carries
// only the standard controls' pointers across processes. 0 when the copy fails.
LRESULT SendWithData(HWND window, UINT msg, WPARAM wParam, void* data, size_t size);

// A plain top-level window of this thread, destroyed with its owner: a target for the tests. Its
// client area is painted in one colour; a handler sees every message first and may answer it
// (return true with the result set).
class TestWindow {
 public:
  using Handler = std::function<bool(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)>;
  explicit TestWindow(bool visible = true, RECT rect = {10, 10, 210, 110}, COLORREF colour = RGB(255, 255, 255),
                      const std::wstring& caption = L"test window");
  ~TestWindow();
  TestWindow(const TestWindow&) = delete;
  TestWindow& operator=(const TestWindow&) = delete;

  HWND Get() const { return window_; }
  // Repaints the client area in the colour at once (on the screen a moment later).
  void Paint(COLORREF colour);
  Handler OnMessage;

 private:
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept;
  HWND window_ = nullptr;
  COLORREF colour_;
};

// ---- Message boxes -------------------------------------------------------------------------

// The message boxes ("#32770") a process shows.
std::vector<HWND> MessageBoxesOf(DWORD pid);
HWND WaitForMessageBox(DWORD pid, std::chrono::milliseconds timeout = 5s);
// A box's message: the text of its static control that has one (the icon is another, without).
std::wstring MessageBoxText(HWND box);
// The OK button of a box with one button (IDOK; a box that only has OK takes it as well).
void PressOk(HWND box);

// Watches a thread of this program for message boxes, records each one's caption and text, and
// presses its OK; from a thread of its own, because a message box runs a modal loop inside the
// handler that opened it.
class MessageBoxWatcher {
 public:
  // Each box is pressed after `holdOpen`, so a test can see what happens while a box is open.
  explicit MessageBoxWatcher(DWORD uiThread, std::chrono::milliseconds holdOpen = std::chrono::milliseconds(0));
  ~MessageBoxWatcher();
  MessageBoxWatcher(const MessageBoxWatcher&) = delete;
  MessageBoxWatcher& operator=(const MessageBoxWatcher&) = delete;
  struct Box {
    std::wstring caption;
    std::wstring text;
  };
  std::vector<Box> Seen();

 private:
  void Watch();
  DWORD uiThread_;
  std::chrono::milliseconds holdOpen_;
  bool stop_ = false;
  std::mutex mutex_;
  std::vector<Box> seen_;
  std::thread thread_;
};

// ---- The screen ----------------------------------------------------------------------------

// A rectangle of the screen as it shows now, copied from the screen's DC into a 32-bit DIB section.
// This is what the user sees, a frame painted on WM_NCPAINT included (PrintWindow shows the
// default look instead). Wine puts what a window painted on the screen a moment later, once the
// painting thread handles messages again: wait until a grab shows what is expected.
class ScreenGrab {
 public:
  explicit ScreenGrab(const RECT& screenRect);
  // The window's rectangle, frame included.
  static ScreenGrab OfWindow(HWND window);
  // The whole screen.
  static ScreenGrab OfScreen();

  int Width() const { return width_; }
  int Height() const { return height_; }
  bool Empty() const { return pixels_.empty(); }
  const RECT& Rect() const { return rect_; }
  // The colour at (x, y) of the grab, as RGB() gives it; CLR_INVALID outside.
  COLORREF Pixel(int x, int y) const;
  // The colour at a point of the screen inside the grab.
  COLORREF PixelAt(POINT screen) const { return Pixel(screen.x - rect_.left, screen.y - rect_.top); }
  // Every pixel, row after row from the top.
  std::vector<COLORREF> Pixels() const;
  Bitmap24 Image() const;
  // False when the grab is empty or the file cannot be written.
  bool SavePng(const std::wstring& path) const;
  bool SaveBmp(const std::wstring& path) const;

 private:
  RECT rect_{};
  int width_ = 0;
  int height_ = 0;
  std::vector<DWORD> pixels_;  // 0x00RRGGBB, as the DIB section holds them
};

// Saves the whole screen as NAME.png in the screenshot folder: the folder of the test program's
// "screenshots", or the one a driver sets; false when there is none or it cannot be written.
bool SaveScreenshot(const std::wstring& name);
void SetScreenshotFolder(const std::wstring& folder);  // empty: no screenshots

// ---- GDI objects ---------------------------------------------------------------------------

// GDI objects a process holds, stock objects not counted (-1 when they cannot be read). Windows
// counts them; Wine's count is a stub returning 0, so there the process's GDI handle table is read.
// `thread` is one of the process's threads (its TEB leads to the table on 64-bit Wine).
int GdiObjectCount(HANDLE process, HANDLE thread);
// This program's.
int GdiObjectCount();
// Kernel handles a process holds (-1 when they cannot be read). Wine's GetProcessHandleCount
// answers 0: there the system's handle table is counted for the process.
int KernelHandleCount(DWORD pid);
int KernelHandleCount();

// ---- Freed memory --------------------------------------------------------------------------

// While one lives, memory given back with operator delete is filled with a pattern and kept from
// reuse, so that a write to an object after it was freed shows: Writes() counts the freed blocks
// written to. The memory is given back when the watch goes.
class FreedMemoryWatch {
 public:
  FreedMemoryWatch();
  ~FreedMemoryWatch();
  FreedMemoryWatch(const FreedMemoryWatch&) = delete;
  FreedMemoryWatch& operator=(const FreedMemoryWatch&) = delete;
  int Writes() const;
};

// ---- The notification area -----------------------------------------------------------------

// True while the shell has the tray icon (changing an icon the shell does not have fails).
bool TrayIconPresent(HWND owner, UINT id);
// Takes the icon away, as a taskbar that restarts does.
void RemoveTrayIcon(HWND owner, UINT id);

// ---- Programs ------------------------------------------------------------------------------

// A program of the system (notepad.exe, winemine.exe, ...) or any executable, started by the
// test (in `folder` when given) and killed at the end unless it has ended by itself.
class RunningProgram {
 public:
  explicit RunningProgram(const std::wstring& commandLine, const std::wstring& folder = L"");
  ~RunningProgram();
  RunningProgram(const RunningProgram&) = delete;
  RunningProgram& operator=(const RunningProgram&) = delete;

  DWORD Id() const { return info_.dwProcessId; }
  bool Running() const;
  // The first visible top-level window of the program, waited for.
  HWND MainWindow(std::chrono::milliseconds timeout = 10s) const;
  bool WaitForExit(std::chrono::milliseconds timeout = 10s) const;
  // Once it has ended.
  std::optional<DWORD> ExitCode() const;
  void Kill(UINT exitCode = 1);

 private:
  PROCESS_INFORMATION info_{};
};

// The programs a test hides, shows or closes: two copies of notepad and one winemine, started
// with their windows shown (Started() is false when a window did not come).
struct HideTargets {
  RunningProgram notepad1{L"notepad.exe"};
  RunningProgram notepad2{L"notepad.exe"};
  RunningProgram mine{L"winemine.exe"};
  HWND n1 = notepad1.MainWindow();
  HWND n2 = notepad2.MainWindow();
  HWND m = mine.MainWindow();
  bool Started() const { return n1 && n2 && m; }
  bool NotepadsHidden() const { return !IsWindowVisible(n1) && !IsWindowVisible(n2); }
  bool NotepadsShown() const { return IsWindowVisible(n1) && IsWindowVisible(n2); }
};

// The command recorder (tests/tools/CommandRecorder.cpp) in the role of a program the code under
// test starts: copied to where it looks for netsh or a browser, it writes the command line it was
// started with into "<its path>.cmdline". PutRecorder is false when the copy fails.
bool PutRecorder(const std::wstring& path);
// The bytes of the command line the recorder at `path` received (waited for; empty when it was
// not started), forgotten then, so the next start can be told from this one.
std::string TakeRecordedCommandLine(const std::wstring& path, std::chrono::milliseconds timeout = 10s);
bool RecorderRan(const std::wstring& path);

// ---- Files and the registry ----------------------------------------------------------------

// Text of a code page (936, CP_ACP) as UTF-16 and back, by the system.
std::wstring CodePageToWide(const std::string& bytes, UINT codePage);
std::string WideToCodePage(const std::wstring& text, UINT codePage);
// UTF-8 text (the sources' strings, paths from the command line) as UTF-16.
inline std::wstring Utf8ToWide(const std::string& text) { return CodePageToWide(text, CP_UTF8); }

// The folder of the running test program, with its trailing backslash.
std::wstring TestProgramDirectory();

// The whole file, read while other programs may have it open; nothing when it cannot be opened.
std::optional<std::string> TryReadFileBytes(const std::wstring& path);
// The whole file ("" when it cannot be opened).
std::string ReadFileBytes(const std::wstring& path);
// Creates or replaces the file; false when it cannot be written.
bool WriteFileBytes(const std::wstring& path, const std::string& bytes);
bool FileExists(const std::wstring& path);
// Creates the folder and the ones above it that are missing.
void CreateFolders(const std::wstring& path);
// Removes a folder with everything in it (read-only files too).
void DeleteTree(const std::wstring& path);

// A fresh folder below %TEMP%, removed with its files at the end.
class ScratchDir {
 public:
  explicit ScratchDir(const std::wstring& name);
  ~ScratchDir();
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;
  const std::wstring& Path() const { return path_; }
  std::wstring File(const std::wstring& name) const { return path_ + L"\\" + name; }
  // Throws when the file cannot be written.
  void Write(const std::wstring& name, const std::string& bytes) const;
  std::string Read(const std::wstring& name) const;
  bool Exists(const std::wstring& name) const;

 private:
  std::wstring path_;
};

// A string value as stored: every character of its data, the terminating NULs included; nothing
// when the key or the value is missing.
std::optional<std::wstring> RegistryData(HKEY root, const std::wstring& path, const std::wstring& name);
// The same, up to its first NUL. An empty name is the key's default value.
std::optional<std::wstring> RegistryString(HKEY root, const std::wstring& path, const std::wstring& name);
// Creates the key when needed.
void SetRegistryString(HKEY root, const std::wstring& path, const std::wstring& name, const std::wstring& text);
void DeleteRegistryValue(HKEY root, const std::wstring& path, const std::wstring& name);

}  // namespace qlt::test
