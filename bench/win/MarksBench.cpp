// Painting a skinned check box, radio button and group box against the same controls painted as
// their own, side by side in one run: two windows of the gallery's controls, one skinned and one
// the engine leaves alone (its Tag says so), each control repainted in turn, with the default skin
// and then the second one. Then the paints a hover asks for: none where the skin has no hot look.
//
// Usage: bench_marks.exe [--rounds=N] [--paints=N]
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "bench/win/BenchClock.h"
#include "gallery/FrmGallery.h"
#include "skin/controls/SkinManager.h"
#include "skin/frame/WinSkinForm.h"
#include "tests/win/WinTestSupport.h"
#include "ui/Forms.h"
#include "ui/SysUtils.h"

namespace {

using namespace qlt;
using qlt::bench::ArgValue;
using qlt::bench::Median;
using qlt::bench::NowMs;

// Milliseconds for `paints` repaints of a control, each finished before the next.
double PaintTime(TWinControl* control, int paints) {
  const double start = NowMs();
  for (int i = 0; i < paints; ++i) RedrawWindow(control->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  return NowMs() - start;
}

struct Pair {
  const char* name;
  TWinControl* skinned;
  TWinControl* own;
};

void Compare(const char* skin, const Pair& pair, int rounds, int paints) {
  std::vector<double> skinned, own;
  for (int r = 0; r < rounds; ++r) {
    skinned.push_back(PaintTime(pair.skinned, paints) * 1000.0 / paints);
    own.push_back(PaintTime(pair.own, paints) * 1000.0 / paints);
  }
  const double s = Median(skinned), o = Median(own);
  std::printf("%-6s %-10s paint: skinned %7.1f us, its own %7.1f us, %.2f times\n", skin, pair.name, s, o, s / o);
}

// The paints the system asks of a control over `hovers` times the pointer coming and going.
int HoverPaints(TWinControl* control, int hovers) {
  int paints = 0;
  TWindowProcHook counter(control, [&](TMessage& m, const TWindowProcHook::Next& next) {
    if (m.Msg == WM_PAINT && !m.WParam) ++paints;
    next(m);
  });
  for (int i = 0; i < hovers; ++i) {
    control->Perform(CM_MOUSEENTER, 0, reinterpret_cast<LPARAM>(control));
    test::PumpMessages();
    control->Perform(CM_MOUSELEAVE, 0, reinterpret_cast<LPARAM>(control));
    test::PumpMessages();
  }
  return paints;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const int rounds = std::max(1, ArgValue(argc, argv, L"--rounds=", 15));
  const int paints = std::max(1, ArgValue(argc, argv, L"--paints=", 200));
  TSkinEngine engine;
  TApplication application;
  test::SetMessagePump([&application] { application.ProcessMessages(); });
  RegisterGalleryClasses();
  auto* gallery = NewForm<TFrm_Gallery>(Application);
  gallery->Show();
  TFrm_GalleryControls* skinned = gallery->Controls();
  auto* own = NewForm<TFrm_GalleryControls>(Application);
  own->SetTag(kNeverSkinnedFormTag);
  own->SetLeft(skinned->Left() + 40);
  own->SetTop(skinned->Top() + 40);
  own->Show();
  skinned->Show();
  SetForegroundWindow(skinned->Handle());
  const bool ready = test::WaitUntil([&] {
    TWinSkinForm* form = SkinManager->FindFormSkinner(skinned->Handle());
    return form && form->FindControlSkinner(skinned->Chk_On->Handle()) && !SkinManager->FindFormSkinner(own->Handle());
  });
  if (!ready) {
    std::fprintf(stderr, "the controls window was not skinned\n");
    return 1;
  }
  test::MoveMouseTo(test::BesideOf(own->Handle()));
  const Pair pairs[] = {{"check box", skinned->Chk_On, own->Chk_On},
                        {"radio", skinned->Rad_One, own->Rad_One},
                        {"group box", skinned->Grp_Marks, own->Grp_Marks}};
  std::printf("%d rounds of %d paints, medians per paint\n", rounds, paints);
  for (const char* skin : {"Slate", "Pine"}) {
    if (std::string(skin) == "Pine") {
      gallery->SkinData1->SetSkinFile(Widen(QLT_SECOND_SKIN_FILE));
      SkinManager->RunPendingAction();
      test::PumpFor(std::chrono::milliseconds(300));
    }
    for (const Pair& pair : pairs) Compare(skin, pair, rounds, paints);
    const int hovers = 100;
    std::printf("%-6s %d hovers over an unticked box: %d paints skinned, %d its own\n", skin, hovers,
                HoverPaints(skinned->Chk_Off, hovers), HoverPaints(own->Chk_Off, hovers));
  }
  delete own;
  delete gallery;
  test::SetMessagePump(nullptr);
  return 0;
}
