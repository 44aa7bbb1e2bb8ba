// Skinned scroll bars against the system's own, side by side in one run: the gallery's long list
// box has its frame painted (WM_NCPAINT: the system's bars, and the skin over them when skinned),
// and its scroll bar control painted (WM_PAINT: the system's, or the skin's instead), rounds with
// the skin on and off in turn. Then a hover over a skinned bar and list, which must paint nothing.
// Usage: bench_scroll_bars [--skin FILE] [--rounds=N] [--paints=N]
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "bench/win/BenchClock.h"
#include "gallery/FrmGallery.h"
#include "skin/controls/SkinManager.h"
#include "skin/controls/SkinScrollBars.h"
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

TSkinScrollbar* ListSkinner(HWND list) {
  TWinSkinForm* form = SkinManager->FindFormSkinner(GetAncestor(list, GA_ROOT));
  return form ? dynamic_cast<TSkinScrollbar*>(form->FindControlSkinner(list)) : nullptr;
}

bool Skinned(TFrm_GalleryControls& controls) {
  TWinSkinForm* form = SkinManager->FindFormSkinner(controls.Handle());
  return form && form->FindControlSkinner(controls.Lst_Long->Handle()) &&
         form->FindControlSkinner(controls.ScrollBarControl());
}

void SetSkin(TFrm_Gallery& gallery, TFrm_GalleryControls& controls, bool on) {
  gallery.SkinData1->SetActive(on);
  SkinManager->RunPendingAction();
  test::WaitUntil([&] { return Skinned(controls) == on; }, std::chrono::seconds(10));
  test::PumpFor(std::chrono::milliseconds(200));
}

// Milliseconds per paint of `paints` paints.
double TimePaints(int paints, const std::function<void()>& paint) {
  const double start = bench::NowMs();
  for (int i = 0; i < paints; ++i) paint();
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
  TFrm_GalleryControls& controls = *gallery->Controls();
  controls.Show();
  if (!test::WaitUntil([&] { return Skinned(controls); }, std::chrono::seconds(10))) {
    std::printf("the gallery's controls were not skinned\n");
    return 1;
  }
  const HWND list = controls.Lst_Long->Handle();
  const HWND bar = controls.ScrollBarControl();
  SendMessageW(list, LB_SETTOPINDEX, 20, 0);

  const auto frame = [&] { SendMessageW(list, WM_NCPAINT, 1, 0); };
  const auto control = [&] {
    InvalidateRect(bar, nullptr, TRUE);
    UpdateWindow(bar);
  };
  std::vector<double> frameOn, frameOff, controlOn, controlOff;
  for (int r = 0; r < rounds; ++r) {
    SetSkin(*gallery, controls, true);
    frameOn.push_back(TimePaints(paints, frame));
    controlOn.push_back(TimePaints(paints, control));
    SetSkin(*gallery, controls, false);
    frameOff.push_back(TimePaints(paints, frame));
    controlOff.push_back(TimePaints(paints, control));
  }
  const auto line = [](const char* what, double on, double off) {
    std::printf("%-44s skinned %7.3f ms  own %7.3f ms  ratio %.2f\n", what, on, off, off > 0 ? on / off : 0.0);
  };
  std::printf("median of %d rounds of %d paints each\n", rounds, paints);
  line("list box frame with its bar (WM_NCPAINT)", bench::Median(frameOn), bench::Median(frameOff));
  line("scroll bar control (WM_PAINT)", bench::Median(controlOn), bench::Median(controlOff));

  // A hover over a skinned bar and list changes nothing on the screen: no bar is painted.
  SetSkin(*gallery, controls, true);
  TSkinScrollbar* skinner = ListSkinner(list);
  const int before = skinner ? skinner->BarPaints() : -1;
  RECT r{};
  GetWindowRect(list, &r);
  for (int i = 0; i < 200; ++i) {
    const POINT onBar{r.right - 8, (r.top + r.bottom) / 2};
    POINT inList{r.left + 20, r.top + 20};
    ScreenToClient(list, &inList);
    SendMessageW(list, WM_NCMOUSEMOVE, HTVSCROLL, MAKELPARAM(onBar.x, onBar.y));
    SendMessageW(list, WM_MOUSEMOVE, 0, MAKELPARAM(inList.x, inList.y));
  }
  std::printf("bar paints during 400 hover moves: %d\n", skinner ? skinner->BarPaints() - before : -1);
  test::SetMessagePump(nullptr);
  delete gallery;
  return 0;
}

}  // namespace
}  // namespace qlt

int wmain(int argc, wchar_t** argv) { return qlt::Run(argc, argv); }
