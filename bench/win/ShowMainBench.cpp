// Showing QLT's main window skinned against showing it unskinned, side by side in one run: QLT's
// own main window (its description, its handlers and its embedded skin) in this process, shown by
// the tray menu's "显示窗口" item (the path the tray icon's menu takes: both lists filled, the window
// shown and brought to the front) and timed until the last paint of the window or any of its
// controls, then hidden by the same item. The skin is switched off and on by SkinData1's Active,
// in batches that alternate, so both see the same load of a shared machine. The first show of a
// skinned batch also attaches the skin to the window (it is skinned at its activation) and is
// reported apart from the shows that follow.
//
// Usage: bench_show_main.exe [--rounds=N] [--shows=N]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

#include "app/FrmMain.h"
#include "bench/win/BenchClock.h"
#include "skin/controls/SkinManager.h"
#include "skin/frame/WinSkinForm.h"
#include "tests/win/WinTestSupport.h"
#include "ui/Forms.h"
#include "ui/Menus.h"

namespace {

using qlt::bench::ArgValue;
using qlt::bench::Median;
using qlt::bench::NowMs;
using qlt::bench::Percentile;

// When the main window or one of its controls last finished a paint: paints sent (UpdateWindow,
// the frame's WM_NCPAINT inside ShowWindow) are seen by a hook on their return, paints taken from
// the queue right after their dispatch.
HWND g_main = nullptr;
double g_lastPaint = 0;
int g_paints = 0;
// Where a first skinned show spends its time: when the skin had the window (at its activation)
// and when it had fitted the window to the frame (after WM_SKIN_ATTACHED), -1 until then.
double g_attachedAt = -1;
double g_fittedAt = -1;

void NotePaint() {
  g_lastPaint = NowMs();
  ++g_paints;
}
void NoteSkin() {
  const qlt::TWinSkinForm* s = qlt::SkinManager->FindFormSkinner(g_main);
  if (s && g_attachedAt < 0) g_attachedAt = NowMs();
  if (s && s->State() == qlt::skActive && g_fittedAt < 0) g_fittedAt = NowMs();
}

bool OfMainWindow(HWND window) { return window && (window == g_main || IsChild(g_main, window)); }
bool IsPaint(UINT message) { return message == WM_PAINT || message == WM_NCPAINT || message == WM_ERASEBKGND; }

LRESULT CALLBACK SentPaints(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HC_ACTION) {
    const auto* m = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
    if (IsPaint(m->message) && OfMainWindow(m->hwnd)) NotePaint();
    if (m->hwnd == g_main) NoteSkin();
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

// Handles messages until nothing has been painted for `quietMs` and no paint is due.
void PumpUntilPainted(double quietMs = 250) {
  MSG msg;
  double lastSeen = NowMs();
  double before = g_lastPaint;
  for (;;) {
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
      if (IsPaint(msg.message) && OfMainWindow(msg.hwnd)) NotePaint();
      if (msg.hwnd == g_main) NoteSkin();
    }
    if (g_lastPaint != before) {
      before = g_lastPaint;
      lastSeen = NowMs();
    }
    if (!(GetQueueStatus(QS_PAINT) & QS_PAINT) && NowMs() - lastSeen > quietMs) return;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
  }
}

class Bench {
 public:
  explicit Bench(qlt::TFrm_Main& main) : main_(main) {}

  // One show by the tray menu's item, to the last control painted; then hidden again.
  double Show() {
    PumpUntilPainted(50);
    const double start = NowMs();
    g_lastPaint = start;
    g_paints = 0;
    g_attachedAt = g_fittedAt = -1;
    main_.N1->Click();
    PumpUntilPainted();
    const double shown = g_lastPaint - start;
    paints = g_paints;
    attached = g_attachedAt < 0 ? -1 : g_attachedAt - start;
    fitted = g_fittedAt < 0 ? -1 : g_fittedAt - start;
    const bool visible = IsWindowVisible(main_.Handle()) != FALSE;
    main_.N1->Click();
    PumpUntilPainted(50);
    return visible ? shown : -1;
  }

  // The skin off or on by its component, as the skin's action timer carries it out.
  bool SetSkinned(bool on) {
    main_.SkinData1->SetActive(on);
    if (qlt::SkinManager->PendingSkinData()) qlt::SkinManager->RunPendingAction();
    PumpUntilPainted(50);
    return qlt::SkinManager->SkinEnabled() == on && (on || !qlt::SkinManager->FindFormSkinner(main_.Handle()));
  }
  // Of the last show: its paints (frame, background and client of the window and its controls),
  // and when the skin attached and fitted the window (-1: it had it before).
  int paints = 0;
  double attached = -1;
  double fitted = -1;

  bool Skinned() const {
    const qlt::TWinSkinForm* s = qlt::SkinManager->FindFormSkinner(main_.Handle());
    return s && s->State() == qlt::skActive;
  }

 private:
  qlt::TFrm_Main& main_;
};

void Line(const wchar_t* what, const std::vector<double>& plain, const std::vector<double>& skinned) {
  std::wprintf(L"  %-22ls %8.2f %8.2f   %8.2f %8.2f   %5.2f %5.2f\n", what, Median(plain), Percentile(plain, 10),
               Median(skinned), Percentile(skinned, 10), Median(skinned) / Median(plain),
               Percentile(skinned, 10) / Percentile(plain, 10));
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const int rounds = ArgValue(argc, argv, L"--rounds=", 10);
  const int shows = ArgValue(argc, argv, L"--shows=", 8);
  qlt::TSkinEngine engine;
  qlt::TApplication application;
  application.SetShowMainForm(false);
  application.SetTitle(u"QLTZarnit");
  qlt::TFrm_Main* main = nullptr;
  application.CreateForm(main);
  g_main = main->Handle();
  HHOOK hook = SetWindowsHookExW(WH_CALLWNDPROCRET, SentPaints, nullptr, GetCurrentThreadId());
  Bench bench(*main);
  PumpUntilPainted(500);  // the skin component's start

  std::vector<double> firstPlain, firstSkinned, plain, skinned;
  std::vector<double> attachedAt, fittedAt, paintsFirst[2], paintsNext[2];
  int gdiFirstRound = -1;
  for (int round = 0; round < rounds; ++round) {
    for (const bool on : {false, true}) {
      if (!bench.SetSkinned(on)) {
        std::fwprintf(stderr, L"the skin did not switch %ls\n", on ? L"on" : L"off");
        return 1;
      }
      const double first = bench.Show();
      if (first < 0 || bench.Skinned() != on) {
        std::fwprintf(stderr, L"the main window was not shown %ls\n", on ? L"skinned" : L"unskinned");
        return 1;
      }
      (on ? firstSkinned : firstPlain).push_back(first);
      paintsFirst[on].push_back(bench.paints);
      if (on) attachedAt.push_back(bench.attached), fittedAt.push_back(bench.fitted);
      for (int i = 0; i < shows; ++i) {
        const double ms = bench.Show();
        if (ms < 0) {
          std::fwprintf(stderr, L"the main window was not shown\n");
          return 1;
        }
        (on ? skinned : plain).push_back(ms);
        paintsNext[on].push_back(bench.paints);
      }
      if (on && round == 0) gdiFirstRound = qlt::test::GdiObjectCount();
    }
  }
  const int gdiAfter = qlt::test::GdiObjectCount();
  std::wprintf(L"QLT's main window shown by the tray menu's item until its last control is painted\n");
  std::wprintf(L"(%d rounds; ms)            unskinned          skinned            ratio\n", rounds);
  std::wprintf(L"                         median   10th     median   10th     median 10th\n");
  Line(L"first show of a batch", firstPlain, firstSkinned);
  Line(L"shows that follow", plain, skinned);
  std::wprintf(L"  goal: skinned at most 1.5 times unskinned\n");
  std::wprintf(L"  first skinned show: the skin attached at %.2f ms, the window fitted at %.2f ms (medians)\n",
               Median(attachedAt), Median(fittedAt));
  std::wprintf(L"  paints per show (medians), unskinned and skinned: first %.0f, %.0f; following %.0f, %.0f\n",
               Median(paintsFirst[0]), Median(paintsFirst[1]), Median(paintsNext[0]), Median(paintsNext[1]));
  std::wprintf(L"GDI objects after the first and the last skinned batch: %d, %d\n", gdiFirstRound, gdiAfter);
  UnhookWindowsHookEx(hook);
  main->SkinData1->SetActive(false);
  return 0;
}
