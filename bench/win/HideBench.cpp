// The hide/show toggle under Wine: 20 chosen names against 10 running programs that hold 500
// visible windows. Measures how long the toggling window is busy with one hide and one restore,
// for QLT's engine (one snapshot, one enumeration, posted window calls) and for the per-name
// algorithm (a snapshot per name, an enumeration per matching process, waiting window calls),
// in the same run; then checks that QLT's GDI and user objects stay flat over many toggles (of
// one chosen program, 50 windows, so the hosts keep up), alternating the hide and translucent modes.
//
// Usage: bench_hide_engine.exe [--rounds=N] [--toggles=N] [--parts=1]
#include <windows.h>
#include <psapi.h>
#include <tlhelp32.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <cwchar>
#include <functional>
#include <thread>
#include <string>
#include <vector>

#include "app/HideZVQ.h"
#include "app/ProcessList.h"
#include "bench/win/BenchClock.h"
#include "tests/win/WinTestSupport.h"

namespace {

constexpr int kPrograms = 10;
constexpr int kWindowsPerProgram = 50;
constexpr wchar_t kStopEvent[] = L"QltHideBenchStop";

using qlt::bench::Median;
using qlt::bench::NowMs;
using qlt::test::PumpMessages;

// The ten programs, each a copy of the window host under its own name.
class Hosts {
 public:
  Hosts() {
    stop_ = CreateEventW(nullptr, TRUE, FALSE, kStopEvent);
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    folder_ = std::wstring(temp) + L"qlt-hide-bench\\";
    CreateDirectoryW(folder_.c_str(), nullptr);
    for (int i = 0; i < kPrograms; ++i) {
      wchar_t name[32];
      swprintf(name, 32, L"benchhost%02d.exe", i);
      const std::wstring exe = folder_ + name;
      CopyFileW((qlt::test::TestProgramDirectory() + L"bench_window_host.exe").c_str(), exe.c_str(), FALSE);
      std::wstring line = L"\"" + exe + L"\" " + std::to_wstring(kWindowsPerProgram) + L" " + kStopEvent;
      STARTUPINFOW startup{};
      startup.cb = sizeof(startup);
      PROCESS_INFORMATION info{};
      if (CreateProcessW(exe.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) {
        processes_.push_back(info.hProcess);
        pids_.push_back(info.dwProcessId);
        CloseHandle(info.hThread);
      }
    }
  }
  ~Hosts() {
    SetEvent(stop_);
    for (HANDLE p : processes_) {
      if (WaitForSingleObject(p, 5000) != WAIT_OBJECT_0) TerminateProcess(p, 1);
      CloseHandle(p);
    }
    CloseHandle(stop_);
  }

  // Waits until every host shows all its windows; collects them.
  bool Ready() {
    const double deadline = NowMs() + 60000;
    while (NowMs() < deadline) {
      windows_.clear();
      for (const auto& w : qlt::EnumerateTopLevelWindows()) {
        if (w.visible && std::find(pids_.begin(), pids_.end(), w.pid) != pids_.end()) {
          windows_.push_back({reinterpret_cast<HWND>(w.window), w.pid});
        }
      }
      if (windows_.size() == static_cast<size_t>(kPrograms * kWindowsPerProgram)) return true;
      Sleep(50);
    }
    return false;
  }

  // Waits until all windows (of the first program only, when asked) are visible, or all hidden;
  // the time it took, -1 when never.
  double Settle(bool visible, bool firstProgramOnly = false) const {
    const double start = NowMs();
    while (NowMs() - start < 60000) {
      const bool done = std::all_of(windows_.begin(), windows_.end(), [&](const HostWindow& w) {
        return (firstProgramOnly && w.pid != pids_[0]) || (IsWindowVisible(w.window) != FALSE) == visible;
      });
      if (done) return NowMs() - start;
      PumpMessages();
      Sleep(1);
    }
    return -1;
  }

  size_t WindowCount() const { return windows_.size(); }

 private:
  HANDLE stop_ = nullptr;
  std::wstring folder_;
  std::vector<HANDLE> processes_;
  std::vector<DWORD> pids_;
  struct HostWindow {
    HWND window;
    DWORD pid;
  };
  std::vector<HostWindow> windows_;
};

// The per-name algorithm, for comparison: a process snapshot for every name, an enumeration of all
// top-level windows for every matching process, each window shown or hidden with a call that
// waits for its program, the handles remembered as "%.5d" texts.
namespace per_name {

std::vector<std::string> hiddenWindows;
DWORD targetProcessId = 0;

BOOL CALLBACK HideWindowProc(HWND window, LPARAM) {
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  if (pid != targetProcessId || !IsWindowVisible(window)) return TRUE;
  char text[16];
  std::snprintf(text, sizeof text, "%.5d", static_cast<int>(reinterpret_cast<INT_PTR>(window)));
  hiddenWindows.push_back(text);
  ShowWindow(window, SW_HIDE);
  return TRUE;
}

void UpperAscii(wchar_t* text) {
  for (; *text; ++text) {
    if (*text >= L'a' && *text <= L'z') *text = static_cast<wchar_t>(*text - 32);
  }
}

void HideProcessWindows(const std::string& name) {
  targetProcessId = 0;
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return;
  PROCESSENTRY32 entry{};
  entry.dwSize = sizeof(entry);
  wchar_t wanted[MAX_PATH] = {};
  for (size_t i = 0; i < name.size() && i < MAX_PATH - 1; ++i) wanted[i] = static_cast<unsigned char>(name[i]);
  UpperAscii(wanted);
  for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry)) {
    wchar_t exe[MAX_PATH] = {};
    wcsncpy(exe, entry.szExeFile, MAX_PATH - 1);
    UpperAscii(exe);
    if (wanted[0] && wcsstr(exe, wanted)) {
      targetProcessId = entry.th32ProcessID;
      EnumWindows(HideWindowProc, 0);
    }
    entry.dwSize = sizeof(entry);
  }
  CloseHandle(snapshot);
}

void HideAll(const std::vector<std::string>& names) {
  hiddenWindows.clear();
  for (const auto& name : names) HideProcessWindows(name);
}

void RestoreWindows() {
  for (const auto& text : hiddenWindows) ShowWindow(reinterpret_cast<HWND>(static_cast<INT_PTR>(atoi(text.c_str()))), SW_SHOW);
  hiddenWindows.clear();
}

}  // namespace per_name

struct Figures {
  std::vector<double> hideBusy, restoreBusy, hideSettled, restoreSettled;
};

double Max(const std::vector<double>& values) { return values.empty() ? 0 : *std::max_element(values.begin(), values.end()); }

void Print(const char* name, const Figures& f) {
  std::printf("%-10s hide: busy %8.1f ms (max %8.1f), all hidden after %8.1f ms\n", name, Median(f.hideBusy),
              Max(f.hideBusy), Median(f.hideSettled));
  std::printf("%-10s show: busy %8.1f ms (max %8.1f), all shown after  %8.1f ms\n", name, Median(f.restoreBusy),
              Max(f.restoreBusy), Median(f.restoreSettled));
}

struct Usage {
  DWORD gdi, user, handles;
  SIZE_T privateBytes;
  UINT_PTR nextHandle;       // value of a new kernel handle: climbs when handles leak
  UINT_PTR nextGdiHandle;    // the same for GDI objects
  long residentKb;           // Linux's view of the Wine process, where Windows' counters are stubs
};

long ResidentKilobytes() {
  HANDLE file = CreateFileW(L"Z:\\proc\\self\\status", GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return -1;
  char text[8192] = {};
  DWORD read = 0;
  ReadFile(file, text, sizeof text - 1, &read, nullptr);
  CloseHandle(file);
  const char* rss = std::strstr(text, "VmRSS:");
  return rss ? std::atol(rss + 6) : -1;
}

Usage CurrentUsage() {
  Usage u{};
  u.gdi = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
  u.user = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
  GetProcessHandleCount(GetCurrentProcess(), &u.handles);
  PROCESS_MEMORY_COUNTERS_EX memory{};
  memory.cb = sizeof(memory);
  GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory), sizeof(memory));
  u.privateBytes = memory.PrivateUsage;
  HANDLE probe = CreateEventW(nullptr, FALSE, FALSE, nullptr);
  u.nextHandle = reinterpret_cast<UINT_PTR>(probe);
  CloseHandle(probe);
  HBRUSH brush = CreateSolidBrush(0);
  u.nextGdiHandle = reinterpret_cast<UINT_PTR>(brush) & 0xFFFF;
  DeleteObject(brush);
  u.residentKb = ResidentKilobytes();
  return u;
}

int Argument(int argc, char** argv, const char* name, int fallback) {
  const size_t length = std::strlen(name);
  for (int i = 1; i < argc; ++i) {
    if (std::strncmp(argv[i], name, length) == 0) return std::atoi(argv[i] + length);
  }
  return fallback;
}

}  // namespace

int main(int argc, char** argv) {
  const int rounds = Argument(argc, argv, "--rounds=", 10);
  const int toggles = Argument(argc, argv, "--toggles=", 1000);

  std::vector<std::u16string> names;
  std::vector<std::string> narrowNames;
  for (int i = 0; i < kPrograms; ++i) {
    char name[32];
    std::snprintf(name, sizeof name, "benchhost%02d", i);
    narrowNames.push_back(name);
    std::snprintf(name, sizeof name, "absentprog%02d", i);
    narrowNames.push_back(name);
  }
  for (const auto& n : narrowNames) names.emplace_back(n.begin(), n.end());

  Hosts hosts;
  if (!hosts.Ready()) {
    std::printf("the host programs did not show their %d windows\n", kPrograms * kWindowsPerProgram);
    return 1;
  }
  std::printf("%zu chosen names, %d programs, %zu visible windows of theirs, %d rounds\n", names.size(), kPrograms,
              hosts.WindowCount(), rounds);

  if (Argument(argc, argv, "--parts=", 0)) {  // what the round trips to the window server cost
    double t = NowMs();
    for (int i = 0; i < 10; ++i) qlt::EnumerateTopLevelWindows();
    std::printf("enumeration %.2f ms\n", (NowMs() - t) / 10);
    t = NowMs();
    for (int i = 0; i < 10; ++i) qlt::ToolhelpSnapshot().Processes();
    std::printf("snapshot %.2f ms\n", (NowMs() - t) / 10);
    const auto all = qlt::EnumerateTopLevelWindows();
    t = NowMs();
    for (const auto& w : all) IsWindowVisible(reinterpret_cast<HWND>(w.window));
    std::printf("visibility of %zu windows %.2f ms\n", all.size(), NowMs() - t);
    t = NowMs();
    for (const auto& w : all) IsWindow(reinterpret_cast<HWND>(w.window));
    std::printf("IsWindow %.2f ms\n", NowMs() - t);
    t = NowMs();
    for (const auto& w : all) GetWindowLongW(reinterpret_cast<HWND>(w.window), GWL_STYLE);
    std::printf("styles %.2f ms\n", NowMs() - t);
    t = NowMs();
    for (const auto& w : all) ShowWindowAsync(reinterpret_cast<HWND>(w.window) , SW_SHOWNA);
    std::printf("ShowWindowAsync %.2f ms\n", NowMs() - t);
    t = NowMs();
    for (const auto& w : all) PostMessageW(reinterpret_cast<HWND>(w.window), WM_NULL, 0, 0);
    std::printf("PostMessage %.2f ms\n", NowMs() - t);
    Sleep(3000);
    t = NowMs();
    for (const auto& w : all) { DWORD pid; GetWindowThreadProcessId(reinterpret_cast<HWND>(w.window), &pid); }
    std::printf("thread ids %.2f ms\n", NowMs() - t);
  }

  if (const int n = Argument(argc, argv, "--probe=", 0)) {  // which part, if any, holds on to memory
    auto measure = [&](const char* what, const std::function<void()>& part) {
      const long before = ResidentKilobytes();
      for (int i = 0; i < n; ++i) part();
      std::printf("  %-12s x%d: resident %+ld kB\n", what, n, ResidentKilobytes() - before);
    };
    measure("snapshot", [] { qlt::ToolhelpSnapshot().Processes(); });
    measure("enumeration", [] { qlt::EnumerateTopLevelWindows(); });
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    qlt::HideZVQ probe(std::wstring(temp) + L"qlt-probe.journal");
    measure("empty toggle", [&] { probe.ToggleHidden({u"absentprog"}, {}, nullptr); });
    measure("settle poll", [&] { for (int k = 0; k < 20; ++k) hosts.Settle(true, true); });
    const auto all = qlt::EnumerateTopLevelWindows();
    std::vector<HWND> hostWindows;
    for (const auto& w : all) {
      if (w.visible) hostWindows.push_back(reinterpret_cast<HWND>(w.window));
    }
    hostWindows.resize(std::min<size_t>(hostWindows.size(), 50));
    measure("async same", [&] { for (HWND w : hostWindows) ShowWindowAsync(w, SW_SHOWNA); });
    measure("sync same", [&] { for (HWND w : hostWindows) ShowWindow(w, SW_SHOWNA); });
    measure("post same", [&] { for (HWND w : hostWindows) PostMessageW(w, WM_NULL, 0, 0); });
    measure("async thread", [&] {
      std::thread([&] { for (HWND w : hostWindows) ShowWindowAsync(w, SW_SHOWNA); }).join();
    });
    qlt::AsyncWindowCalls worker;
    measure("async worker", [&] {
      worker.Post([&] { for (HWND w : hostWindows) ShowWindowAsync(w, SW_SHOWNA); });
      worker.WaitIdle(10000);
    });
    measure("hide mode", [&] {
      probe.ToggleHidden({names[0]}, {qlt::HideMode::Hide}, nullptr);
      probe.WaitForWindowCalls(10000);
      hosts.Settle(false, true);
      probe.ToggleHidden({names[0]}, {qlt::HideMode::Hide}, nullptr);
      probe.WaitForWindowCalls(10000);
      hosts.Settle(true, true);
    });
    measure("per-name", [&] {  // the same hide and show, synchronous, no journal, no worker
      per_name::HideAll({narrowNames[0]});
      hosts.Settle(false, true);
      per_name::RestoreWindows();
      hosts.Settle(true, true);
    });
    measure("translucent", [&] {
      probe.ToggleHidden({names[0]}, {qlt::HideMode::Translucent, 100}, nullptr);
      probe.ToggleHidden({names[0]}, {qlt::HideMode::Translucent, 100}, nullptr);
      probe.WaitForWindowCalls(10000);
    });
  }

  wchar_t journal[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, journal);
  qlt::HideZVQ engine(std::wstring(journal) + L"qlt-hide-bench.journal");
  Figures qltFigures, perNameFigures;
  for (int round = 0; round < rounds; ++round) {
    double t = NowMs();
    engine.ToggleHidden(names, {qlt::HideMode::Hide}, nullptr);
    qltFigures.hideBusy.push_back(NowMs() - t);
    qltFigures.hideSettled.push_back(hosts.Settle(false) + qltFigures.hideBusy.back());
    t = NowMs();
    engine.ToggleHidden(names, {qlt::HideMode::Hide}, nullptr);
    qltFigures.restoreBusy.push_back(NowMs() - t);
    qltFigures.restoreSettled.push_back(hosts.Settle(true) + qltFigures.restoreBusy.back());

    t = NowMs();
    per_name::HideAll(narrowNames);
    perNameFigures.hideBusy.push_back(NowMs() - t);
    perNameFigures.hideSettled.push_back(hosts.Settle(false) + perNameFigures.hideBusy.back());
    t = NowMs();
    per_name::RestoreWindows();
    perNameFigures.restoreBusy.push_back(NowMs() - t);
    perNameFigures.restoreSettled.push_back(hosts.Settle(true) + perNameFigures.restoreBusy.back());
  }
  Print("QLT", qltFigures);
  Print("per-name", perNameFigures);
  std::printf("busy ratio (per-name / QLT): hide %.1fx, show %.1fx\n",
              Median(perNameFigures.hideBusy) / std::max(Median(qltFigures.hideBusy), 0.001),
              Median(perNameFigures.restoreBusy) / std::max(Median(qltFigures.restoreBusy), 0.001));

  const std::vector<std::u16string> oneProgram{names[0]};
  Usage before{};
  const double start = NowMs();
  for (int i = 0; i < toggles; ++i) {
    if (i == 4) before = CurrentUsage();  // after the first round has set up what stays
    engine.ToggleHidden(oneProgram, {i % 4 < 2 ? qlt::HideMode::Hide : qlt::HideMode::Translucent, 200}, nullptr);
    engine.WaitForWindowCalls(10000);
    hosts.Settle(i % 4 != 0, true);
    if ((i + 1) % 250 == 0) std::printf("  after %4d toggles: resident %ld kB\n", i + 1, ResidentKilobytes());
  }
  if (toggles <= 4) return 0;
  const Usage after = CurrentUsage();
  std::printf("%d toggles of one program (hide and translucent modes alternating) in %.1f s\n", toggles,
              (NowMs() - start) / 1000);
  std::printf("GetGuiResources: GDI objects %lu -> %lu, user objects %lu -> %lu; handles %lu -> %lu; "
              "private bytes %.1f -> %.1f MB\n",
              before.gdi, after.gdi, before.user, after.user, before.handles, after.handles,
              before.privateBytes / 1048576.0, after.privateBytes / 1048576.0);
  std::printf("next kernel handle %#lx -> %#lx, next GDI handle index %#lx -> %#lx, resident %ld -> %ld kB\n",
              static_cast<unsigned long>(before.nextHandle), static_cast<unsigned long>(after.nextHandle),
              static_cast<unsigned long>(before.nextGdiHandle), static_cast<unsigned long>(after.nextGdiHandle),
              before.residentKb, after.residentKb);
  return 0;
}
