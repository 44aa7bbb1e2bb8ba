// The skinned frame's speed under Wine, each figure beside what it is held to, in the same run:
//  - paint: one WM_NCPAINT of QLT's main window, skinned (the frame composed off the screen and
//    copied in one blit), against Wine's own frame paint of its unskinned twin. Both windows are
//    made from QLT.exe's own description of the main window (its event handlers left out, so the
//    program's start-up work does not run here); the twin has no skin component and a Tag that the
//    skin never touches. Measured in alternating rounds, each window active while it is painted.
//  - resize: the gallery's sizeable window dragged larger and back around 800 x 600, step by step
//    as the system's sizing loop does (a new size, then the waiting paints), with the default skin
//    and with the second skin. Each step's time covers the size change, the new region and the
//    frame and client paints. The regions the skin sets are counted (SetWindowRgn, watched in this
//    program's import table): one per change of size, none for moves and repaints.
//
// Each part runs in a process of its own, as a program runs: its skin component is read before any
// window of the process is activated (a component read later waits for a skin action of its own).
//
// Usage: bench_frame.exe [--rounds=N] [--paints=N] [--steps=N] [--part=paint|slate|pine]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <optional>
#include <string>
#include <vector>

#include "bench/win/BenchClock.h"
#include "gallery/FrmGallery.h"
#include "skin/controls/SkinManager.h"
#include "tests/win/WinTestSupport.h"
#include "ui/FormText.h"
#include "ui/Forms.h"

namespace {

using qlt::bench::Median;
using qlt::bench::NowMs;

int ArgValue(int argc, wchar_t** argv, const wchar_t* name, int fallback) {
  const size_t length = wcslen(name);
  for (int i = 1; i < argc; ++i)
    if (wcsncmp(argv[i], name, length) == 0) return _wtoi(argv[i] + length);
  return fallback;
}

std::wstring WindowsPath(const std::string& hostPath) {
  std::wstring path = qlt::test::Utf8ToWide(hostPath);
  if (!path.empty() && path[0] == L'/') path = L"Z:" + path;
  std::replace(path.begin(), path.end(), L'/', L'\\');
  return path;
}

double Percentile(std::vector<double> values, double fraction) {
  if (values.empty()) return -1;
  std::sort(values.begin(), values.end());
  return values[std::min(values.size() - 1, static_cast<size_t>(fraction * static_cast<double>(values.size())))];
}

// ---- Counting the regions set -------------------------------------------------------------

using SetWindowRgnFn = int(WINAPI*)(HWND, HRGN, BOOL);
SetWindowRgnFn g_setWindowRgn = nullptr;
int g_regionsSet = 0;
double g_regionMs = 0;  // time spent inside SetWindowRgn (Wine recomputes the frame there)

int WINAPI CountingSetWindowRgn(HWND window, HRGN region, BOOL redraw) {
  ++g_regionsSet;
  const double start = NowMs();
  const int result = g_setWindowRgn(window, region, redraw);
  g_regionMs += NowMs() - start;
  return result;
}

// Points this program's import of user32's SetWindowRgn (the skin engine is linked in, so its
// calls go through that slot) at the counter. False when the import is not found.
bool WatchSetWindowRgn() {
  auto* base = reinterpret_cast<BYTE*>(GetModuleHandleW(nullptr));
  const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
  const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
  const IMAGE_DATA_DIRECTORY& imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  const auto target = reinterpret_cast<ULONG_PTR>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "SetWindowRgn"));
  if (!imports.VirtualAddress || !target) return false;
  for (auto* d = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress); d->Name; ++d) {
    for (auto* slot = reinterpret_cast<IMAGE_THUNK_DATA*>(base + d->FirstThunk); slot->u1.Function; ++slot) {
      if (slot->u1.Function != target) continue;
      DWORD protection = 0;
      if (!VirtualProtect(&slot->u1.Function, sizeof slot->u1.Function, PAGE_READWRITE, &protection)) return false;
      g_setWindowRgn = reinterpret_cast<SetWindowRgnFn>(slot->u1.Function);
      slot->u1.Function = reinterpret_cast<ULONG_PTR>(&CountingSetWindowRgn);
      VirtualProtect(&slot->u1.Function, sizeof slot->u1.Function, protection, &protection);
      return true;
    }
  }
  return false;
}

// ---- Windows ------------------------------------------------------------------------------

void Pump(DWORD ms) { qlt::test::PumpFor(std::chrono::milliseconds(ms)); }

bool Skinned(HWND window) { return SendMessageW(window, qlt::WM_SKIN_QUERY, 0, 0) == 1; }

bool Activate(HWND window) {
  SetForegroundWindow(window);
  return qlt::test::WaitUntil([&] { return GetForegroundWindow() == window; }, std::chrono::seconds(3));
}

// The description without its event handlers: the handlers belong to QLT's main window class,
// whose start-up work (settings, tray icon, hotkey) has no place in a paint benchmark.
void DropHandlers(qlt::DfmObject& object) {
  std::erase_if(object.props, [](const qlt::DfmProperty& p) { return p.name.size() > 2 && p.name.rfind("On", 0) == 0; });
  for (auto& child : object.children) DropHandlers(child);
}

qlt::TForm* MainWindowFromDescription(const qlt::DfmObject& description, int left) {
  auto* form = qlt::MakeForm<qlt::TForm>(qlt::Application, [&](qlt::TForm& f) { f.ReadDescription(description); });
  form->SetPosition(qlt::poDesigned);
  form->Show();
  SetWindowPos(form->Handle(), nullptr, left, 120, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  return form;
}

// Mean time of one WM_NCPAINT (the whole frame) of the window, made active first.
double PaintTime(HWND window, int paints) {
  Activate(window);
  Pump(100);
  GdiFlush();
  const double start = NowMs();
  for (int i = 0; i < paints; ++i) {
    SendMessageW(window, WM_NCPAINT, 1, 0);
    GdiFlush();
  }
  return (NowMs() - start) / paints;
}

// A form description among a program's resources; nothing when it has none.
std::optional<qlt::DfmObject> DescriptionIn(HMODULE module, const wchar_t* name) {
  HRSRC found = module ? FindResourceW(module, name, reinterpret_cast<LPCWSTR>(RT_RCDATA)) : nullptr;
  HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
  if (!loaded) return std::nullopt;
  qlt::DfmObject description =
      qlt::ParseFormText(std::string_view(static_cast<const char*>(LockResource(loaded)), SizeofResource(module, found)));
  DropHandlers(description);
  return description;
}

// The same window without a skin component and with the Tag the skin never touches.
qlt::DfmObject UnskinnedTwin(qlt::DfmObject description) {
  std::erase_if(description.children, [](const qlt::DfmObject& o) { return o.className == "TSkinData"; });
  std::erase_if(description.props, [](const qlt::DfmProperty& p) { return p.name == "Tag"; });
  description.props.push_back({"Tag", qlt::DfmValue::Int(qlt::kNeverSkinnedFormTag)});
  return description;
}

bool PaintBench(const std::wstring& qltExe, int rounds, int paints) {
  HMODULE exe = LoadLibraryExW(qltExe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  const std::optional<qlt::DfmObject> description = DescriptionIn(exe, L"TFRM_MAIN");
  if (exe) FreeLibrary(exe);
  if (!description) {
    std::fwprintf(stderr, L"no main window description in %ls\n", qltExe.c_str());
    return false;
  }
  const qlt::DfmObject twinDescription = UnskinnedTwin(*description);

  qlt::TForm* skinned = MainWindowFromDescription(*description, 520);
  qlt::TForm* twin = MainWindowFromDescription(twinDescription, 20);
  Activate(twin->Handle());
  Activate(skinned->Handle());
  if (!qlt::test::WaitUntil([&] { return Skinned(skinned->Handle()); })) {
    std::fwprintf(stderr, L"the main window was not skinned\n");
    return false;
  }
  Pump(600);  // fitted to the skin's frame
  if (Skinned(twin->Handle())) {
    std::fwprintf(stderr, L"the twin was skinned\n");
    return false;
  }
  std::vector<double> skinnedTimes, defaultTimes;
  for (int round = 0; round < rounds; ++round) {
    // Alternate which goes first, so neither gains from a warm cache.
    if (round % 2 == 0) {
      skinnedTimes.push_back(PaintTime(skinned->Handle(), paints));
      defaultTimes.push_back(PaintTime(twin->Handle(), paints));
    } else {
      defaultTimes.push_back(PaintTime(twin->Handle(), paints));
      skinnedTimes.push_back(PaintTime(skinned->Handle(), paints));
    }
  }
  RECT s{}, d{};
  GetWindowRect(skinned->Handle(), &s);
  GetWindowRect(twin->Handle(), &d);
  std::wprintf(L"frame paint, QLT's main window (%ld x %ld skinned, %ld x %ld unskinned), %d paints x %d rounds\n",
               s.right - s.left, s.bottom - s.top, d.right - d.left, d.bottom - d.top, paints, rounds);
  std::wprintf(L"  skinned: median %.3f ms, min %.3f ms\n", Median(skinnedTimes),
               *std::min_element(skinnedTimes.begin(), skinnedTimes.end()));
  std::wprintf(L"  Wine's own frame: median %.3f ms, min %.3f ms\n", Median(defaultTimes),
               *std::min_element(defaultTimes.begin(), defaultTimes.end()));
  std::wprintf(L"  skinned / Wine's own (medians): %.2f (goal at most 1.5)\n", Median(skinnedTimes) / Median(defaultTimes));
  delete skinned;
  delete twin;
  Pump(300);
  return true;
}

// ---- The drag-resize ----------------------------------------------------------------------

struct StepTimes {
  std::vector<double> total, size, region, paint;
  int regionsSet = 0;
};

// Larger by 3 x 2 pixels a step from 800 x 600, then back: every step is a new size. Each step is
// what the system's sizing loop does for one move of the mouse: the new size (the region set
// inside it), then the waiting paints of the frame and the client area.
void DragResize(HWND window, int steps, StepTimes& t) {
  SetWindowPos(window, nullptr, 40, 30, 800, 600, SWP_NOZORDER | SWP_NOACTIVATE);
  Activate(window);
  Pump(300);
  const int regionsBefore = g_regionsSet;
  for (int i = 1; i <= steps; ++i) {
    const int k = i <= steps / 2 ? i : steps - i;
    g_regionMs = 0;
    const double start = NowMs();
    SetWindowPos(window, nullptr, 0, 0, 800 + 3 * k, 600 + 2 * k, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    const double sized = NowMs();
    UpdateWindow(window);
    GdiFlush();
    const double end = NowMs();
    t.total.push_back(end - start);
    t.size.push_back(sized - start - g_regionMs);
    t.region.push_back(g_regionMs);
    t.paint.push_back(end - sized);
    qlt::Application->ProcessMessages();  // what the sizing loop dispatches between two moves
  }
  t.regionsSet += g_regionsSet - regionsBefore;
}

void ReportSteps(const wchar_t* what, const StepTimes& t) {
  std::wprintf(L"  %ls: step median %.2f ms, 95th percentile %.2f ms, max %.2f ms; medians of its parts: size %.2f ms, "
               L"region %.2f ms, paint %.2f ms\n",
               what, Median(t.total), Percentile(t.total, 0.95), *std::max_element(t.total.begin(), t.total.end()),
               Median(t.size), Median(t.region), Median(t.paint));
}

bool ResizeBench(const wchar_t* skinName, const std::wstring& skinFile, int rounds, int steps) {
  const std::optional<qlt::DfmObject> description = DescriptionIn(GetModuleHandleW(nullptr), L"TFRM_GALLERY");
  if (!description) {
    std::fwprintf(stderr, L"no gallery description\n");
    return false;
  }
  qlt::TheGalleryOptions().skinFile = reinterpret_cast<const char16_t*>(skinFile.c_str());
  auto* gallery = qlt::NewForm<qlt::TFrm_Gallery>(qlt::Application);
  auto* twin = qlt::MakeForm<qlt::TForm>(qlt::Application,
                                          [&](qlt::TForm& f) { f.ReadDescription(UnskinnedTwin(*description)); });
  gallery->Show();
  HWND window = gallery->Handle();
  Activate(window);
  if (!qlt::test::WaitUntil([&] { return Skinned(window); })) {
    std::fwprintf(stderr, L"the gallery was not skinned\n");
    return false;
  }
  Pump(600);

  // One window on the screen at a time (the other's paints would be measured too), in alternating
  // rounds.
  twin->Hide();
  gallery->Hide();
  StepTimes skinned, unskinned;
  for (int round = 0; round < rounds; ++round) {
    qlt::TForm* order[2] = {gallery, twin};
    if (round % 2 == 1) std::swap(order[0], order[1]);
    for (qlt::TForm* form : order) {
      form->Show();
      DragResize(form->Handle(), steps, form == gallery ? skinned : unskinned);
      form->Hide();
    }
  }
  gallery->Show();
  Activate(window);
  RECT r{};
  GetWindowRect(window, &r);

  // Moves and repaints keep the size: the region stays.
  const int regionsBeforeMoves = g_regionsSet;
  std::vector<double> moveTimes;
  for (int i = 1; i <= steps; ++i) {
    const double start = NowMs();
    SetWindowPos(window, nullptr, 40 + (i % 20), 30 + (i % 10), 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    RedrawWindow(window, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    GdiFlush();
    moveTimes.push_back(NowMs() - start);
    qlt::Application->ProcessMessages();
  }
  const int regionsForMoves = g_regionsSet - regionsBeforeMoves;

  std::wprintf(L"drag-resize of the gallery's sizeable window around 800 x 600, skin %ls, %d steps x %d rounds\n",
               skinName, steps, rounds);
  ReportSteps(L"skinned", skinned);
  std::wprintf(L"  (goal: each step under 8 ms)\n");
  ReportSteps(L"Wine's own frame, unskinned twin", unskinned);
  std::wprintf(L"  skinned move and frame repaint: median %.2f ms, max %.2f ms\n", Median(moveTimes),
               *std::max_element(moveTimes.begin(), moveTimes.end()));
  std::wprintf(L"  regions set: %d for %d new sizes, %d for %d moves and repaints (goal: %d and 0)\n",
               skinned.regionsSet, steps * rounds, regionsForMoves, steps, steps * rounds);
  std::wprintf(L"  skinned window at the end %ld x %ld\n", r.right - r.left, r.bottom - r.top);
  delete twin;
  delete gallery;
  Pump(300);
  return true;
}

}  // namespace

// Runs this program again for one part and waits for it; false when it failed.
bool RunPart(const wchar_t* part, int argc, wchar_t** argv) {
  wchar_t self[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring commandLine = L"\"" + std::wstring(self) + L"\" --part=" + part;
  for (int i = 1; i < argc; ++i) commandLine += std::wstring(L" ") + argv[i];
  qlt::test::RunningProgram child(commandLine);
  if (!child.WaitForExit(std::chrono::minutes(10))) return false;
  return child.ExitCode() == 0u;
}

int wmain(int argc, wchar_t** argv) {
  std::wstring part;
  for (int i = 1; i < argc; ++i)
    if (wcsncmp(argv[i], L"--part=", 7) == 0) part = argv[i] + 7;
  if (part.empty()) {
    bool ok = true;
    for (const wchar_t* p : {L"paint", L"slate", L"pine"}) ok = RunPart(p, argc, argv) && ok;
    return ok ? 0 : 1;
  }
  const int rounds = std::max(1, ArgValue(argc, argv, L"--rounds=", 7));
  const int paints = std::max(1, ArgValue(argc, argv, L"--paints=", 200));
  const int steps = std::max(2, ArgValue(argc, argv, L"--steps=", 100));
  if (!WatchSetWindowRgn()) {
    std::fwprintf(stderr, L"cannot watch SetWindowRgn\n");
    return 1;
  }
  try {
    qlt::TSkinEngine skinEngine;
    qlt::TApplication application;
    application.SetTitle(u"QLT frame benchmark");
    qlt::test::SetMessagePump([&application] { application.ProcessMessages(); });
    qlt::RegisterGalleryClasses();
    bool ok = false;
    if (part == L"paint") ok = PaintBench(qlt::test::TestProgramDirectory() + L"..\\..\\app\\QLT.exe", rounds, paints);
    if (part == L"slate") ok = ResizeBench(L"Slate (default)", L"", rounds, steps);
    if (part == L"pine") ok = ResizeBench(L"Pine (second)", WindowsPath(QLT_SECOND_SKIN_FILE), rounds, steps);
    qlt::test::SetMessagePump(nullptr);
    std::fflush(stdout);
    return ok ? 0 : 1;
  } catch (const qlt::Exception& e) {
    std::fwprintf(stderr, L"%ls\n", reinterpret_cast<const wchar_t*>(e.Message().c_str()));
    return 1;
  }
}
