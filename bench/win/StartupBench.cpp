// QLT's start-up under Wine, beside the smallest program that adds a tray icon, in the same run:
// the time from CreateProcess to the moment the shell holds the program's icon, then, after the
// program has been idle for a while, its footprint (private bytes, GDI objects, windows).
// Each round starts both programs one after the other in a fresh scratch folder (so QLT starts
// without a QLT.ini, as on first use, and writes its files there) and ends them with WM_CLOSE.
// QLT's main window is then shown once (by a second start, as a user does), skinned, and hidden
// with its close command, and after some idle time its GDI objects are counted again: what the
// skinned frame keeps once it has been painted.
//
// Usage: bench_startup.exe [--rounds=N] [--idle-ms=N]
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "bench/win/BenchClock.h"
#include "tests/win/WinTestSupport.h"

namespace {

constexpr UINT kIconId = 128;  // both programs add their icon under this id

using qlt::bench::ArgValue;
using qlt::bench::Median;
using qlt::bench::NowMs;
using qlt::test::GdiObjectCount;
using qlt::test::TopLevelWindowsOf;

int WindowCount(DWORD pid) {
  int count = 0;
  for (HWND top : TopLevelWindowsOf(pid)) count += 1 + static_cast<int>(qlt::test::Descendants(top).size());
  return count;
}

bool HoldsTrayIcon(DWORD pid) {
  for (HWND window : TopLevelWindowsOf(pid)) {
    if (qlt::test::TrayIconPresent(window, kIconId)) return true;
  }
  return false;
}

struct Run {
  double iconMs = -1;
  double privateMb = -1;
  double workingSetMb = -1;
  int gdiObjects = -1;
  int windows = -1;
  int gdiAfterShown = -1;  // once the main window was shown skinned and hidden again
  double privateAfterShownMb = -1;
};

constexpr UINT kSkinQuery = 0x3504;  // a skinned window answers 1

bool Skinned(HWND window) {
  DWORD_PTR answer = 0;
  return SendMessageTimeoutW(window, kSkinQuery, 0, 0, SMTO_ABORTIFHUNG, 2000, &answer) && answer == 1;
}

HWND MainWindowOf(DWORD pid) {
  for (HWND window : TopLevelWindowsOf(pid)) {
    if (qlt::test::ClassNameOf(window) == L"TFrm_Main") return window;
  }
  return nullptr;
}

// A second start shows the running copy's main window; it is hidden again with its close command
// once its skinned frame is on the screen. False when it did not show skinned.
bool ShowMainWindowOnce(const std::wstring& exe, const std::wstring& folder, DWORD pid) {
  HWND main = MainWindowOf(pid);
  if (!main) return false;
  {
    qlt::test::RunningProgram second(L"\"" + exe + L"\"", folder);
    second.WaitForExit();
  }
  if (!qlt::test::WaitUntil([&] { return IsWindowVisible(main) && Skinned(main); })) return false;
  Sleep(500);  // painted
  PostMessageW(main, WM_SYSCOMMAND, SC_CLOSE, 0);
  return qlt::test::WaitUntil([&] { return !IsWindowVisible(main); });
}

void ReadMemory(HANDLE process, double& privateMb, double& workingSetMb) {
  PROCESS_MEMORY_COUNTERS_EX memory{};
  memory.cb = sizeof memory;
  if (!GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory), sizeof memory)) return;
  // Wine leaves PrivateUsage at 0 and reports the process's anonymous resident memory as
  // PagefileUsage, which is what Windows counts as private bytes too.
  const SIZE_T privateBytes = memory.PrivateUsage ? memory.PrivateUsage : memory.PagefileUsage;
  privateMb = static_cast<double>(privateBytes) / (1024.0 * 1024.0);
  workingSetMb = static_cast<double>(memory.WorkingSetSize) / (1024.0 * 1024.0);
}

Run StartAndMeasure(const std::wstring& exe, const std::wstring& folder, DWORD idleMs, bool showMainOnce) {
  Run run;
  std::wstring commandLine = L"\"" + exe + L"\"";
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  const double started = NowMs();
  if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &si,
                      &pi)) {
    std::fwprintf(stderr, L"cannot start %ls (%lu)\n", exe.c_str(), GetLastError());
    return run;
  }
  while (NowMs() - started < 20000) {
    if (HoldsTrayIcon(pi.dwProcessId)) {
      run.iconMs = NowMs() - started;
      break;
    }
    if (WaitForSingleObject(pi.hProcess, 0) == WAIT_OBJECT_0) break;
    Sleep(0);
  }
  Sleep(idleMs);
  ReadMemory(pi.hProcess, run.privateMb, run.workingSetMb);
  run.gdiObjects = GdiObjectCount(pi.hProcess, pi.hThread);
  run.windows = WindowCount(pi.dwProcessId);
  if (showMainOnce && ShowMainWindowOnce(exe, folder, pi.dwProcessId)) {
    Sleep(idleMs);
    double workingSet = 0;
    ReadMemory(pi.hProcess, run.privateAfterShownMb, workingSet);
    run.gdiAfterShown = GdiObjectCount(pi.hProcess, pi.hThread);
  }
  for (HWND window : TopLevelWindowsOf(pi.dwProcessId)) PostMessageW(window, WM_CLOSE, 0, 0);
  if (WaitForSingleObject(pi.hProcess, 10000) != WAIT_OBJECT_0) TerminateProcess(pi.hProcess, 1);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  return run;
}

void Report(const wchar_t* name, const std::vector<Run>& runs) {
  std::vector<double> icon, memory, workingSet, gdi, windows, gdiAfterShown, memoryAfterShown;
  for (const Run& r : runs) {
    if (r.gdiAfterShown >= 0) gdiAfterShown.push_back(r.gdiAfterShown);
    if (r.gdiAfterShown >= 0) memoryAfterShown.push_back(r.privateAfterShownMb);
    if (r.iconMs >= 0) icon.push_back(r.iconMs);
    memory.push_back(r.privateMb);
    workingSet.push_back(r.workingSetMb);
    gdi.push_back(r.gdiObjects);
    windows.push_back(r.windows);
  }
  std::wprintf(L"%-12ls icon added: median %7.1f ms, min %7.1f ms (%zu of %zu rounds)\n", name, Median(icon),
               icon.empty() ? -1.0 : *std::min_element(icon.begin(), icon.end()), icon.size(), runs.size());
  std::wprintf(L"%-12ls idle: private %6.2f MB, working set %6.2f MB, GDI objects %4.0f, windows %3.0f (medians)\n",
               name, Median(memory), Median(workingSet), Median(gdi), Median(windows));
  if (!gdiAfterShown.empty()) {
    std::wprintf(L"%-12ls main window shown skinned once and hidden: private %6.2f MB, GDI objects %4.0f (goal at "
                 L"most 150) (medians of %zu rounds)\n",
                 name, Median(memoryAfterShown), Median(gdiAfterShown), gdiAfterShown.size());
  }
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const int rounds = std::max(1, ArgValue(argc, argv, L"--rounds=", 7));
  const DWORD idleMs = static_cast<DWORD>(std::max(0, ArgValue(argc, argv, L"--idle-ms=", 2000)));
  const std::wstring here = qlt::test::TestProgramDirectory();
  const std::wstring qlt = here + L"..\\..\\app\\QLT.exe";
  const std::wstring minimal = here + L"bench_minimal_tray.exe";

  wchar_t temp[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, temp);
  std::vector<Run> qltRuns, minimalRuns;
  for (int round = 0; round < rounds; ++round) {
    const std::wstring folder = std::wstring(temp) + L"qlt-startup-bench-" + std::to_wstring(round);
    CreateDirectoryW(folder.c_str(), nullptr);
    const std::wstring copy = folder + L"\\QLT.exe";
    DeleteFileW((folder + L"\\QLT.ini").c_str());
    if (!CopyFileW(qlt.c_str(), copy.c_str(), FALSE)) {
      std::fwprintf(stderr, L"cannot copy %ls\n", qlt.c_str());
      return 1;
    }
    // Alternate which goes first so that a warm cache favours neither.
    if (round % 2 == 0) {
      minimalRuns.push_back(StartAndMeasure(minimal, folder, idleMs, false));
      qltRuns.push_back(StartAndMeasure(copy, folder, idleMs, true));
    } else {
      qltRuns.push_back(StartAndMeasure(copy, folder, idleMs, true));
      minimalRuns.push_back(StartAndMeasure(minimal, folder, idleMs, false));
    }
  }
  Report(L"minimal", minimalRuns);
  Report(L"QLT", qltRuns);
  std::vector<double> q, m;
  for (const Run& r : qltRuns) if (r.iconMs >= 0) q.push_back(r.iconMs);
  for (const Run& r : minimalRuns) if (r.iconMs >= 0) m.push_back(r.iconMs);
  if (!q.empty() && !m.empty())
    std::wprintf(L"QLT / minimal (medians): %.2f (goal at most 1.3)\n", Median(q) / Median(m));
  return 0;
}
