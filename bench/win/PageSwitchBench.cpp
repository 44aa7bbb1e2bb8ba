// Switching the page of QLT's main window with the skin and without it, side by side in one run:
// QLT's own main window (its description and embedded skin) shown in this process, its page
// control switched from one page to the other and the window painted at once (the tabs, the page
// border and the page that shows), batches alternating unskinned and skinned so both see the same
// load of a shared machine. Prints the medians per switch and their ratio (goal: at most 1.5), the
// tab control's skinned paints per switch, and the GDI objects over the rounds.
//
// Usage: bench_page_switch.exe [--rounds=N] [--switches=N]
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <vector>

#include "app/FrmMain.h"
#include "bench/win/BenchClock.h"
#include "skin/controls/SkinManager.h"
#include "skin/controls/SkinTabs.h"
#include "skin/frame/WinSkinForm.h"
#include "tests/win/WinTestSupport.h"
#include "ui/Forms.h"

namespace {

using qlt::bench::ArgValue;
using qlt::bench::Median;
using qlt::bench::NowMs;

// Milliseconds per switch over `count` switches, each painted through before the next.
double TimeSwitches(qlt::TFrm_Main& main, int count) {
  const double start = NowMs();
  for (int i = 0; i < count; ++i) {
    main.PageControl1->SetActivePageIndex(1 - main.PageControl1->ActivePageIndex());
    RedrawWindow(main.Handle(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
  }
  GdiFlush();
  return (NowMs() - start) / count;
}

// Milliseconds per paint of the page control alone (tabs, page border; the page is its child).
double TimeTabPaints(qlt::TFrm_Main& main, int count) {
  const HWND tabs = main.PageControl1->Handle();
  const double start = NowMs();
  for (int i = 0; i < count; ++i) {
    InvalidateRect(tabs, nullptr, TRUE);
    UpdateWindow(tabs);
  }
  GdiFlush();
  return (NowMs() - start) / count;
}

qlt::TSkinTab* TabSkinner(qlt::TFrm_Main& main) {
  qlt::TWinSkinForm* form = qlt::SkinManager->FindFormSkinner(main.Handle());
  return form ? dynamic_cast<qlt::TSkinTab*>(form->FindControlSkinner(main.PageControl1->Handle())) : nullptr;
}

bool SetSkinned(qlt::TFrm_Main& main, bool on) {
  main.SkinData1->SetActive(on);
  qlt::SkinManager->RunPendingAction();
  if (on) qlt::SkinManager->SkinWindow(main.Handle());
  qlt::test::WaitUntil([&] { return (TabSkinner(main) != nullptr) == on; }, std::chrono::seconds(3));
  qlt::test::PumpFor(std::chrono::milliseconds(100));
  return (TabSkinner(main) != nullptr) == on;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const int rounds = std::max(1, ArgValue(argc, argv, L"--rounds=", 9));
  const int switches = std::max(1, ArgValue(argc, argv, L"--switches=", 100));
  qlt::TSkinEngine engine;
  qlt::TApplication application;
  application.SetShowMainForm(false);
  application.SetTitle(u"QLTZarnit");
  qlt::TFrm_Main* main = nullptr;
  application.CreateForm(main);
  main->Show();
  SetForegroundWindow(main->Handle());
  qlt::test::PumpFor(std::chrono::milliseconds(500));

  std::vector<double> plain, skinned, plainTabs, skinnedTabs;
  int skinnedPaints = 0, skinnedSwitches = 0;
  const int gdiStart = qlt::test::GdiObjectCount();
  for (int round = 0; round < rounds; ++round) {
    for (const bool on : {false, true}) {
      if (!SetSkinned(*main, on)) {
        std::fprintf(stderr, "the skin did not switch %s\n", on ? "on" : "off");
        return 1;
      }
      TimeSwitches(*main, 4);  // warm up
      const int before = on ? TabSkinner(*main)->PaintCount() : 0;
      (on ? skinned : plain).push_back(TimeSwitches(*main, switches));
      (on ? skinnedTabs : plainTabs).push_back(TimeTabPaints(*main, switches));
      if (on) {
        skinnedPaints += TabSkinner(*main)->PaintCount() - before;
        skinnedSwitches += switches;
      }
    }
  }
  const double p = Median(plain), s = Median(skinned);
  std::printf("QLT's main window, page switched and painted (%d switches x %d rounds, median per switch)\n", switches,
              rounds);
  std::printf("  unskinned:          %8.3f ms\n", p);
  std::printf("  skinned:            %8.3f ms\n", s);
  std::printf("  skinned / unskinned %8.2f (goal: at most 1.5)\n", s / p);
  std::printf("the page control alone, painted (median per paint; the rest of the window's skin left out)\n");
  std::printf("  unskinned:          %8.3f ms\n", Median(plainTabs));
  std::printf("  skinned:            %8.3f ms\n", Median(skinnedTabs));
  std::printf("  skinned / unskinned %8.2f\n", Median(skinnedTabs) / Median(plainTabs));
  std::printf("  tab control paints per skinned switch: %.2f\n",
              skinnedSwitches ? static_cast<double>(skinnedPaints) / skinnedSwitches : 0.0);
  std::printf("  GDI objects: %d at the start, %d after the rounds\n", gdiStart, qlt::test::GdiObjectCount());
  delete main;
  return 0;
}
