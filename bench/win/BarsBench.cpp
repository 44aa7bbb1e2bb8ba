// Skinned status bars, progress bars and track bars against the controls' own paint, side by side
// in one run: the gallery's bars window, each control invalidated and updated (WM_PAINT: the
// skin's composition, or the system's own), rounds with the skin on and off in turn. Then a hover
// over the skinned status and progress bars, which must paint nothing.
// Usage: bench_bars [--skin FILE] [--rounds=N] [--paints=N]
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <functional>
#include <string>
#include <vector>

#include "bench/win/BenchClock.h"
#include "gallery/FrmGallery.h"
#include "gallery/FrmGalleryBars.h"
#include "skin/controls/SkinBars.h"
#include "skin/controls/SkinManager.h"
#include "skin/frame/WinSkinForm.h"
#include "tests/win/WinTestSupport.h"

namespace qlt {
namespace {

int IntArgument(int argc, wchar_t** argv, const wchar_t* name, int fallback) {
  const size_t n = wcslen(name);
  for (int i = 1; i < argc; ++i) {
    if (wcsncmp(argv[i], name, n) == 0) return _wtoi(argv[i] + n);
  }
  return fallback;
}

std::wstring StringArgument(int argc, wchar_t** argv, const wchar_t* name) {
  for (int i = 1; i + 1 < argc; ++i) {
    if (wcscmp(argv[i], name) == 0) return argv[i + 1];
  }
  return L"";
}

template <class T>
T* SkinnerOf(HWND h) {
  TWinSkinForm* form = SkinManager->FindFormSkinner(GetAncestor(h, GA_ROOT));
  return form ? dynamic_cast<T*>(form->FindControlSkinner(h)) : nullptr;
}

void SetSkin(TFrm_Gallery& gallery, TFrm_GalleryBars& bars, bool on) {
  gallery.SkinData1->SetActive(on);
  SkinManager->RunPendingAction();
  test::WaitUntil([&] { return (SkinnerOf<TSkinProgress>(bars.On().progressHalf) != nullptr) == on; },
                  std::chrono::seconds(10));
  test::PumpFor(std::chrono::milliseconds(200));
}

// Milliseconds per paint of `paints` paints of one window.
double TimePaints(int paints, HWND h) {
  const double start = bench::NowMs();
  for (int i = 0; i < paints; ++i) {
    InvalidateRect(h, nullptr, TRUE);
    UpdateWindow(h);
  }
  GdiFlush();
  return (bench::NowMs() - start) / paints;
}

int Run(int argc, wchar_t** argv) {
  const int rounds = IntArgument(argc, argv, L"--rounds=", 7);
  const int paints = IntArgument(argc, argv, L"--paints=", 300);
  TheGalleryOptions().skinFile = reinterpret_cast<const char16_t*>(StringArgument(argc, argv, L"--skin").c_str());
  TSkinEngine engine;
  TApplication application;
  test::SetMessagePump([&application] { application.ProcessMessages(); });
  RegisterGalleryClasses();
  TFrm_Gallery* gallery = nullptr;
  application.CreateForm(gallery);
  gallery->Show();
  TFrm_GalleryBars& bars = *gallery->Bars();
  bars.Show();
  if (!test::WaitUntil([&] { return SkinnerOf<TSkinProgress>(bars.On().progressHalf) != nullptr; },
                       std::chrono::seconds(10))) {
    std::printf("the gallery's bars were not skinned\n");
    return 1;
  }
  struct Case {
    const char* what;
    HWND window;
    std::vector<double> on, off;
  };
  std::vector<Case> cases{{"status bar, three panels and a grip", bars.StatusBar(), {}, {}},
                          {"progress bar, half", bars.On().progressHalf, {}, {}},
                          {"progress bar, upright", bars.On().progressUpright, {}, {}},
                          {"track bar (the thumb by custom draw)", bars.On().track, {}, {}}};
  for (int r = 0; r < rounds; ++r) {
    SetSkin(*gallery, bars, true);
    for (Case& c : cases) c.on.push_back(TimePaints(paints, c.window));
    SetSkin(*gallery, bars, false);
    for (Case& c : cases) c.off.push_back(TimePaints(paints, c.window));
  }
  std::printf("median of %d rounds of %d paints each\n", rounds, paints);
  for (const Case& c : cases) {
    const double on = bench::Median(c.on), off = bench::Median(c.off);
    std::printf("%-40s skinned %7.3f ms  own %7.3f ms  ratio %.2f\n", c.what, on, off, off > 0 ? on / off : 0.0);
  }

  // A hover over the skinned bars changes nothing on the screen: nothing is painted.
  SetSkin(*gallery, bars, true);
  auto* status = SkinnerOf<TSkinStatusBar>(bars.StatusBar());
  auto* progress = SkinnerOf<TSkinProgress>(bars.On().progressHalf);
  const int before = (status ? status->Paints() : 0) + (progress ? progress->Paints() : 0);
  for (int i = 0; i < 200; ++i) {
    SendMessageW(bars.StatusBar(), WM_MOUSEMOVE, 0, MAKELPARAM(10 + i % 50, 5));
    SendMessageW(bars.On().progressHalf, WM_MOUSEMOVE, 0, MAKELPARAM(10 + i % 50, 5));
  }
  test::PumpFor(std::chrono::milliseconds(100));
  const int after = (status ? status->Paints() : 0) + (progress ? progress->Paints() : 0);
  std::printf("paints during 400 hover moves: %d\n", after - before);
  test::SetMessagePump(nullptr);
  delete gallery;
  return 0;
}

}  // namespace
}  // namespace qlt

int wmain(int argc, wchar_t** argv) { return qlt::Run(argc, argv); }
