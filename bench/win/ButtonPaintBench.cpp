// A skinned push button's paint under Wine beside the same button's own paint, in the same run: a
// form with one push button is painted N times (invalidated and updated) with the system's look,
// then N times with a TSkinButton in front of it (face, frame and caption composed off the screen
// and copied once), round after round; the medians per paint and their ratio (goal: at most 2).
// Then the paints a hover costs: a button hovered and left (two changes of cell, two paints) and
// a focused one hovered and left (its cell stays, no paint).
//
// Usage: bench_button_paint.exe [--rounds=N] [--paints=N] [--skin=FILE]
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "bench/win/BenchClock.h"
#include "skin/controls/SkinButtons.h"
#include "skin/data/WinSkinData.h"
#include "tests/win/WinTestSupport.h"
#include "ui/Forms.h"
#include "ui/StdCtrls.h"
#include "ui/Utf.h"

namespace {

using qlt::bench::ArgText;
using qlt::bench::Median;
using qlt::bench::NowMs;

// The value of "--name=value", or the fallback.
// The skinner, with its paints counted.
class CountedButton : public qlt::TSkinButton {
 public:
  using TSkinButton::TSkinButton;
  int paints = 0;

 protected:
  void Paint(HDC dc, const qlt::SkinRect& rect) override {
    ++paints;
    TSkinButton::Paint(dc, rect);
  }
};

// Milliseconds for `count` paints of the window, each invalidated and updated at once.
double TimePaints(HWND window, int count) {
  const double start = NowMs();
  for (int i = 0; i < count; ++i) {
    InvalidateRect(window, nullptr, TRUE);
    UpdateWindow(window);
  }
  GdiFlush();
  return NowMs() - start;
}

// Paints of a hover (entered and left, as the framework reports it) of the button.
int HoverPaints(qlt::TButton& button, CountedButton& skinner) {
  qlt::test::PumpFor(std::chrono::milliseconds(50));
  const int before = skinner.paints;
  button.Perform(qlt::CM_MOUSEENTER, 0, reinterpret_cast<LPARAM>(&button));
  for (int i = 0; i < 10; ++i) SendMessageW(button.Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(5 + i, 5));
  button.Perform(qlt::CM_MOUSELEAVE, 0, reinterpret_cast<LPARAM>(&button));
  return skinner.paints - before;
}

}  // namespace

int main(int argc, char** argv) {
  const int rounds = std::max(1, std::atoi(ArgText(argc, argv, "rounds", "9").c_str()));
  const int paints = std::max(1, std::atoi(ArgText(argc, argv, "paints", "300").c_str()));
  const std::string skinFile = ArgText(argc, argv, "skin", std::string(QLT_SKIN_BUILD_DIR) + "/QLTSkin.skin");

  qlt::TApplication application;
  qlt::TSkinData skin(nullptr);
  skin.SetSkinFile(qlt::Widen(skinFile));
  if (skin.NoSkin) {
    std::fprintf(stderr, "the skin %s cannot be read\n", skinFile.c_str());
    return 1;
  }
  auto* form = new qlt::TForm(qlt::Application);
  form->SetBounds(100, 100, 300, 160);
  auto* button = new qlt::TButton(form);
  button->SetParent(form);
  button->SetBounds(20, 20, 120, 28);
  button->SetCaption(u"Push 按下");
  auto* other = new qlt::TButton(form);  // holds the focus while the button is painted
  other->SetParent(form);
  other->SetBounds(20, 70, 120, 28);
  form->Show();
  other->SetFocus();
  qlt::test::PumpFor(std::chrono::milliseconds(300));
  const HWND window = button->Handle();

  std::vector<double> own, skinned;
  TimePaints(window, paints / 10);  // warm up both
  for (int round = 0; round < rounds; ++round) {
    own.push_back(TimePaints(window, paints) * 1000.0 / paints);
    auto* skinner = new CountedButton(button);
    skinner->AttachControl(nullptr, &skin, false);
    TimePaints(window, paints / 10);
    skinned.push_back(TimePaints(window, paints) * 1000.0 / paints);
    delete skinner;  // the button's own look again
    qlt::test::PumpMessages();
  }
  const double ownMedian = Median(own), skinnedMedian = Median(skinned);
  std::printf("push button %dx%d, %d paints a round, %d rounds (median per paint)\n", button->Width(),
              button->Height(), paints, rounds);
  std::printf("  its own paint:   %8.1f us\n", ownMedian);
  std::printf("  skinned paint:   %8.1f us\n", skinnedMedian);
  std::printf("  skinned / own:   %8.2f (goal: at most 2)\n", skinnedMedian / ownMedian);

  auto* skinner = new CountedButton(button);
  skinner->AttachControl(nullptr, &skin, false);
  const int hover = HoverPaints(*button, *skinner);
  button->SetFocus();
  qlt::test::PumpFor(std::chrono::milliseconds(50));
  const int focusedHover = HoverPaints(*button, *skinner);
  std::printf("paints of a hover: %d (hot and back), focused: %d (its cell stays)\n", hover, focusedHover);
  delete skinner;
  delete form;
  return 0;
}
