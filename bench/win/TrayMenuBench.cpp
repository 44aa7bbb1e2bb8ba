// Opening QLT's tray menu with the skin and without it, side by side in one run: QLT's own main
// window (its description, its PopupMenu1 and its embedded skin) in this process, the tray icon's
// left button posted to it as the shell posts it, and the time until the menu is idle, that is
// until the popup window and every item have been painted (the menu loop then tells its owner
// WM_ENTERIDLE, and the menu is closed there). Rounds alternate: a batch of openings unskinned,
// a batch skinned, and so on, so that both see the same load of a shared machine; the medians
// and the 10th percentiles (less disturbed by other programs) of each are printed with their
// ratios.
//
// Usage: bench_tray_menu.exe [--rounds=N] [--openings=N]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <cwchar>
#include <vector>

#include "app/FrmMain.h"
#include "bench/win/BenchClock.h"
#include "skin/controls/SkinManager.h"
#include "skin/frame/WinSkinForm.h"
#include "ui/Forms.h"
#include "ui/Menus.h"

namespace {

using qlt::bench::Median;
using qlt::bench::NowMs;
using qlt::bench::Percentile;

constexpr UINT kTrayCallback = WM_USER + 100;
constexpr UINT kTrayIconId = 128;

int Argument(int argc, wchar_t** argv, const wchar_t* name, int fallback) {
  const size_t n = std::wcslen(name);
  for (int i = 1; i < argc; ++i) {
    if (std::wcsncmp(argv[i], name, n) == 0) return _wtoi(argv[i] + n);
  }
  return fallback;
}

void Pump(const std::function<bool()>& done, DWORD timeoutMs = 10000) {
  const DWORD start = GetTickCount();
  MSG msg;
  while (!done() && GetTickCount() - start < timeoutMs) {
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
}

class Bench {
 public:
  explicit Bench(qlt::TFrm_Main& main) : main_(main) {
    // The menu is idle once everything is painted: the time is taken and the menu closed.
    idle_.Attach(qlt::TPopupMenu::PopupListWindow(), [this](qlt::TMessage& m, const qlt::TWindowSubclass::Next& next) {
      if (m.Msg == WM_ENTERIDLE && m.WParam == MSGF_MENU && opened_ < 0) {
        opened_ = NowMs() - clicked_;
        EndMenu();
      }
      next(m);
    });
  }

  // One opening from the tray icon's button to the menu painted; -1 when it did not open.
  double Open() {
    opened_ = -1;
    clicked_ = NowMs();
    PostMessageW(main_.Handle(), kTrayCallback, kTrayIconId, WM_LBUTTONDOWN);
    Pump([this] { return opened_ >= 0; });
    Pump([] { return false; }, 5);  // the loop's end and the posted WM_NULL
    return opened_;
  }

  // Skinning off or on, waited for until the main window and its menu follow.
  bool SetSkinned(bool on) {
    main_.SkinData1->SetActive(on);
    const HWND window = main_.Handle();
    Pump([&] { return (qlt::SkinManager->FindFormSkinner(window) != nullptr) == on || (on && Activate()); }, 3000);
    return main_.PopupMenu1->OwnerDraw() == on && qlt::SkinManager->SkinEnabled() == on;
  }

 private:
  // The hidden main window is skinned at its next activation, as the tray menu's opening does.
  bool Activate() {
    if (!qlt::SkinManager->SkinEnabled()) return false;
    qlt::SkinManager->SkinWindow(main_.Handle());
    return qlt::SkinManager->FindFormSkinner(main_.Handle()) != nullptr;
  }

  qlt::TFrm_Main& main_;
  qlt::TWindowSubclass idle_;
  double clicked_ = 0;
  double opened_ = -1;
};

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const int rounds = Argument(argc, argv, L"--rounds=", 20);
  const int openings = Argument(argc, argv, L"--openings=", 10);
  qlt::TSkinEngine engine;
  qlt::TApplication application;
  application.SetShowMainForm(false);
  application.SetTitle(u"QLTZarnit");
  qlt::TFrm_Main* main = nullptr;
  application.CreateForm(main);
  Bench bench(*main);
  Pump([] { return false; }, 500);  // the skin component's start

  std::vector<double> skinned, plain;
  for (int round = 0; round < rounds; ++round) {
    for (const bool on : {false, true}) {
      if (!bench.SetSkinned(on)) {
        std::fwprintf(stderr, L"the skin did not switch %ls\n", on ? L"on" : L"off");
        return 1;
      }
      bench.Open();  // the first opening of a batch warms the caches up
      for (int i = 0; i < openings; ++i) {
        const double ms = bench.Open();
        if (ms < 0) {
          std::fwprintf(stderr, L"the tray menu did not open\n");
          return 1;
        }
        (on ? skinned : plain).push_back(ms);
      }
    }
  }
  std::wprintf(L"tray menu, from the tray icon's button to every item painted (%d openings each):\n",
               rounds * openings);
  std::wprintf(L"              median   10th percentile\n");
  std::wprintf(L"  unskinned  %7.2f   %7.2f ms\n", Median(plain), Percentile(plain, 10));
  std::wprintf(L"  skinned    %7.2f   %7.2f ms\n", Median(skinned), Percentile(skinned, 10));
  std::wprintf(L"  ratio      %7.2f   %7.2f (goal: at most 1.5)\n", Median(skinned) / Median(plain),
               Percentile(skinned, 10) / Percentile(plain, 10));
  main->SkinData1->SetActive(false);
  return 0;
}
