// An MDI child maximised and restored again in the gallery's MDI frame, skinned (the child's frame
// handed to the system and back, the bar showing and hiding the child's buttons) beside the same
// frame left to the system, in alternating rounds of one run. Each round covers both messages and
// every paint they cause.
//
// Usage: bench_mdi.exe [--rounds=N]
#include <windows.h>

#include <cstdio>
#include <vector>

#include "bench/win/BenchClock.h"
#include "gallery/FrmGallery.h"
#include "skin/controls/SkinManager.h"
#include "tests/win/WinTestSupport.h"

namespace {

using qlt::bench::Median;
using qlt::bench::NowMs;

// Maximised and restored once; the time of both with their paints (ms).
double Round(HWND client, HWND child) {
  const double start = NowMs();
  SendMessageW(client, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(child), 0);
  qlt::test::PumpMessages();
  SendMessageW(client, WM_MDIRESTORE, reinterpret_cast<WPARAM>(child), 0);
  qlt::test::PumpMessages();
  return NowMs() - start;
}

qlt::TFrm_GalleryMdi* Frame(qlt::TFrm_Gallery& gallery, int left, bool plain) {
  auto* frame = qlt::NewForm<qlt::TFrm_GalleryMdi>(&gallery);
  if (plain) frame->SetTag(qlt::kNeverSkinnedFormTag);
  frame->SetBounds(left, 200, frame->Width(), frame->Height());
  frame->ShowWithChildren();
  for (int i = 0; plain && i < frame->MDIChildCount(); ++i) frame->MDIChildren(i)->SetTag(qlt::kNeverSkinnedFormTag);
  return frame;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const int rounds = qlt::bench::ArgValue(argc, argv, L"--rounds=", 100);
  qlt::TSkinEngine engine;
  qlt::TApplication application;
  application.SetTitle(u"MDI benchmark");
  qlt::RegisterGalleryClasses();
  auto* gallery = qlt::NewForm<qlt::TFrm_Gallery>(qlt::Application);
  gallery->Show();
  qlt::TFrm_GalleryMdi* plain = Frame(*gallery, 520, true);
  qlt::TFrm_GalleryMdi* skinned = Frame(*gallery, 20, false);
  SetForegroundWindow(skinned->Handle());
  const bool up = qlt::test::WaitUntil([&] {
    for (int i = 0; i < skinned->MDIChildCount(); ++i) {
      if (!qlt::SkinManager->FindFormSkinner(skinned->MDIChildren(i)->Handle())) return false;
    }
    return qlt::SkinManager->FindFormSkinner(skinned->Handle()) && !qlt::SkinManager->FindFormSkinner(plain->Handle());
  }, std::chrono::seconds(10));
  if (!up) {
    std::fprintf(stderr, "the MDI frames did not come up as expected\n");
    return 1;
  }
  const HWND skinnedChild = skinned->ActiveMDIChild()->Handle(), plainChild = plain->ActiveMDIChild()->Handle();
  Round(skinned->ClientHandle(), skinnedChild);
  Round(plain->ClientHandle(), plainChild);
  std::vector<double> skinnedMs, plainMs;
  const int gdiBefore = qlt::test::GdiObjectCount();
  for (int r = 0; r < rounds; ++r) {
    skinnedMs.push_back(Round(skinned->ClientHandle(), skinnedChild));
    plainMs.push_back(Round(plain->ClientHandle(), plainChild));
  }
  const int gdiAfter = qlt::test::GdiObjectCount();
  const double s = Median(skinnedMs), p = Median(plainMs);
  std::printf("MDI child maximised and restored with its paints (median of %d rounds):\n", rounds);
  std::printf("  skinned %.2f ms, the system's frames %.2f ms, ratio %.2f (goal: at most 2)\n", s, p, p > 0 ? s / p : -1.0);
  std::printf("GDI objects before and after the rounds: %d, %d\n", gdiBefore, gdiAfter);
  delete gallery;
  return 0;
}
