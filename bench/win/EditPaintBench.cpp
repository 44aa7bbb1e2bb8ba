// Skinned edit boxes, spin edits and combo boxes painted under Wine beside the same controls' own
// paint, in the same run: each control is painted N times (invalidated with its frame and updated)
// with the system's look, then N times with its skinner, round after round; the medians per paint
// and their ratio (goal: at most 2). Then the paints a hover costs: a combo box entered and left
// while it has the focus (its look stays: no paint) and a spin button's half hovered (one paint
// in, one out; none for moves inside the half).
//
// Usage: bench_edit_paint.exe [--rounds=N] [--paints=N] [--skin=FILE]
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "bench/win/BenchClock.h"
#include "skin/controls/SkinEdits.h"
#include "skin/data/WinSkinData.h"
#include "tests/win/WinTestSupport.h"
#include "ui/ComCtrls.h"
#include "ui/Forms.h"
#include "ui/StdCtrls.h"
#include "ui/Utf.h"

namespace {

using qlt::bench::ArgText;
using qlt::bench::Median;
using qlt::bench::NowMs;

double TimePaints(const std::vector<HWND>& windows, int count) {
  const double start = NowMs();
  for (int i = 0; i < count; ++i) {
    for (HWND w : windows) RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ERASE | RDW_UPDATENOW);
  }
  GdiFlush();
  return NowMs() - start;
}

void Report(const char* what, const std::vector<double>& own, const std::vector<double>& skinned) {
  const double o = Median(own), s = Median(skinned);
  std::printf("%-28s own %8.1f us   skinned %8.1f us   skinned / own %5.2f (goal: at most 2)\n", what, o, s, s / o);
}

}  // namespace

int main(int argc, char** argv) {
  const int rounds = std::max(1, std::atoi(ArgText(argc, argv, "rounds", "9").c_str()));
  const int paints = std::max(1, std::atoi(ArgText(argc, argv, "paints", "200").c_str()));
  const std::string skinFile = ArgText(argc, argv, "skin", std::string(QLT_SKIN_BUILD_DIR) + "/QLTSkin.skin");

  qlt::TApplication application;
  qlt::TSkinData skin(nullptr);
  skin.SetSkinFile(qlt::Widen(skinFile));
  if (skin.NoSkin) {
    std::fprintf(stderr, "the skin %s cannot be read\n", skinFile.c_str());
    return 1;
  }
  auto* form = new qlt::TForm(qlt::Application);
  form->SetBounds(100, 100, 320, 200);
  auto* spin = new qlt::TSpinEdit(form);
  spin->SetParent(form);
  spin->SetBounds(20, 20, 80, 21);
  auto* combo = new qlt::TComboBox(form);
  combo->SetParent(form);
  combo->SetBounds(20, 60, 150, 20);
  combo->SetStyle(qlt::csDropDownList);
  combo->Items()->Add(u"F1 键");
  combo->SetItemIndex(0);
  auto* other = new qlt::TButton(form);  // holds the focus while the others are painted
  other->SetParent(form);
  other->SetBounds(20, 110, 100, 25);
  form->Show();
  other->SetFocus();
  qlt::test::PumpFor(std::chrono::milliseconds(300));
  const std::vector<HWND> spinWindows{spin->Handle(), spin->Button()->Handle()};
  const std::vector<HWND> comboWindows{combo->Handle()};

  std::vector<double> spinOwn, spinSkinned, comboOwn, comboSkinned;
  TimePaints(spinWindows, paints / 10);
  TimePaints(comboWindows, paints / 10);
  for (int round = 0; round < rounds; ++round) {
    spinOwn.push_back(TimePaints(spinWindows, paints) * 1000.0 / paints);
    comboOwn.push_back(TimePaints(comboWindows, paints) * 1000.0 / paints);
    auto* edit = new qlt::TSkinEdit(spin);
    edit->AttachControl(nullptr, &skin, false);
    auto* box = new qlt::TSkinComBox(combo);
    box->AttachControl(nullptr, &skin, false);
    TimePaints(spinWindows, paints / 10);
    spinSkinned.push_back(TimePaints(spinWindows, paints) * 1000.0 / paints);
    TimePaints(comboWindows, paints / 10);
    comboSkinned.push_back(TimePaints(comboWindows, paints) * 1000.0 / paints);
    delete edit;
    delete box;
    qlt::test::PumpMessages();
  }
  std::printf("%d paints a round, %d rounds (median per paint)\n", paints, rounds);
  Report("spin edit with its button", spinOwn, spinSkinned);
  Report("drop-down list", comboOwn, comboSkinned);

  // The paints of hovers.
  auto* edit = new qlt::TSkinEdit(spin);
  edit->AttachControl(nullptr, &skin, false);
  auto* box = new qlt::TSkinComBox(combo);
  box->AttachControl(nullptr, &skin, false);
  qlt::test::PumpFor(std::chrono::milliseconds(100));
  combo->SetFocus();
  qlt::test::PumpFor(std::chrono::milliseconds(100));
  int before = box->Paints();
  combo->Perform(qlt::CM_MOUSEENTER, 0, reinterpret_cast<LPARAM>(combo));
  combo->Perform(qlt::CM_MOUSELEAVE, 0, reinterpret_cast<LPARAM>(combo));
  std::printf("paints of a hover over the focused combo box: %d (its look stays)\n", box->Paints() - before);
  qlt::TSkinUpDown* arrow = edit->ArrowSkinner();
  if (arrow) {
    RECT r{};
    GetClientRect(arrow->Handle(), &r);
    POINT p{r.right / 2, r.bottom / 4};
    ClientToScreen(arrow->Handle(), &p);
    qlt::test::MoveMouseTo(p);
    before = arrow->Paints();
    for (int i = 0; i < 3; ++i) SendMessageW(arrow->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(r.right / 2, r.bottom / 4));
    qlt::test::PumpFor(std::chrono::milliseconds(50));
    const int in = arrow->Paints() - before;
    qlt::test::MoveMouseTo(POINT{1000, 700});
    SendMessageW(arrow->Handle(), WM_MOUSELEAVE, 0, 0);
    qlt::test::PumpFor(std::chrono::milliseconds(50));
    std::printf("paints of a hover over a spin button's upper half: %d in (three moves), %d in all\n", in,
                arrow->Paints() - before);
  }
  delete edit;
  delete box;
  delete form;
  return 0;
}
