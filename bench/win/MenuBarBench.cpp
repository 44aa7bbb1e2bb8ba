// Opening a menu bar's drop-down, skinned beside the system's own bar, in the same run: two gallery
// main forms, one skinned and one the skin leaves alone (its Tag exempts it), each gets a click on
// its File item, and the time runs from the click until the drop-down's window has painted its
// items. Then the cost of repainting one hot menu bar button, and the GDI objects over the rounds.
//
// Usage: bench_menu_bar.exe [--rounds=N]   (goal: the skinned drop-down at most 1.5 times the plain one)
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <vector>

#include "bench/win/BenchClock.h"
#include "gallery/FrmGallery.h"
#include "skin/controls/SkinManager.h"
#include "skin/frame/WinSkinForm.h"
#include "skin/menus/WinSkinMenu.h"
#include "tests/win/WinTestSupport.h"
#include "ui/Forms.h"

namespace {

using qlt::bench::Median;
using qlt::bench::NowMs;

// When the drop-down's window has finished its first paint; it is closed at once then.
double g_painted = -1;
HHOOK g_cbt = nullptr;

LRESULT CALLBACK PopupPaint(HWND window, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR id, DWORD_PTR) {
  if (msg == WM_NCDESTROY) RemoveWindowSubclass(window, PopupPaint, id);
  const LRESULT result = DefSubclassProc(window, msg, wParam, lParam);
  if (msg == WM_PAINT && g_painted < 0) {
    g_painted = NowMs();
    EndMenu();
  }
  return result;
}

LRESULT CALLBACK WatchMenus(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_CREATEWND) {
    wchar_t name[16] = {};
    GetClassNameW(reinterpret_cast<HWND>(wParam), name, 16);
    if (std::wcscmp(name, L"#32768") == 0) SetWindowSubclass(reinterpret_cast<HWND>(wParam), PopupPaint, 1, 0);
  }
  return CallNextHookEx(g_cbt, code, wParam, lParam);
}

void Pump(double ms) {
  const double until = NowMs() + ms;
  while (NowMs() < until) {
    qlt::Application->ProcessMessages();
    Sleep(1);
  }
}

bool MenuOpen() { return FindWindowW(L"#32768", nullptr) != nullptr || qlt::TWinSkinMenu::DropDownOpen(); }

// One drop-down: the click posted at a point of the window's non-client area; the milliseconds
// until the drop-down had painted (-1 when it did not open).
double OpenOnce(HWND window, POINT screen) {
  SetForegroundWindow(window);
  Pump(20);
  g_painted = -1;
  const double clicked = NowMs();
  PostMessageW(window, WM_NCLBUTTONDOWN, HTMENU, MAKELPARAM(screen.x, screen.y));
  const double deadline = clicked + 3000;
  while (g_painted < 0 && NowMs() < deadline) {
    qlt::Application->ProcessMessages();
    Sleep(0);
  }
  const double painted = g_painted;
  for (int i = 0; i < 100 && MenuOpen(); ++i) {
    EndMenu();
    Pump(10);
  }
  Pump(30);
  return painted < 0 ? -1 : painted - clicked;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  int rounds = 40;
  for (int i = 1; i < argc; ++i) {
    if (std::wcsncmp(argv[i], L"--rounds=", 9) == 0) rounds = std::max(1, _wtoi(argv[i] + 9));
  }
  qlt::TSkinEngine engine;
  qlt::TApplication application;
  application.SetTitle(u"Menu bar benchmark");
  qlt::RegisterGalleryClasses();
  auto* plain = qlt::NewForm<qlt::TFrm_Gallery>(qlt::Application);
  plain->SetTag(qlt::kNeverSkinnedFormTag);
  plain->SetBounds(500, 30, plain->Width(), plain->Height());
  plain->Show();
  auto* skinned = qlt::NewForm<qlt::TFrm_Gallery>(qlt::Application);
  skinned->Show();
  SetForegroundWindow(skinned->Handle());
  const double waitUntil = NowMs() + 10000;
  qlt::TWinSkinForm* skinner = nullptr;
  while (NowMs() < waitUntil) {
    Pump(20);
    skinner = qlt::SkinManager->FindFormSkinner(skinned->Handle());
    if (skinner && skinner->State() == qlt::skActive && skinner->MenuBar() && !skinner->MenuBar()->BarRect().Empty()) break;
  }
  if (!skinner || !skinner->MenuBar() || GetMenu(plain->Handle()) == nullptr) {
    std::fprintf(stderr, "the gallery's forms did not come up as expected\n");
    return 1;
  }
  g_cbt = SetWindowsHookExW(WH_CBT, WatchMenus, nullptr, GetCurrentThreadId());

  RECT wr{};
  GetWindowRect(skinned->Handle(), &wr);
  const qlt::SkinRect file = skinner->MenuBar()->Button(0)->Rect;
  const POINT skinnedAt{wr.left + (file.left + file.right) / 2, wr.top + (file.top + file.bottom) / 2};
  RECT item{};
  GetMenuItemRect(plain->Handle(), GetMenu(plain->Handle()), 0, &item);
  const POINT plainAt{(item.left + item.right) / 2, (item.top + item.bottom) / 2};

  std::vector<double> skinnedMs, plainMs;
  OpenOnce(skinned->Handle(), skinnedAt);  // the first opening measures the items: not counted
  OpenOnce(plain->Handle(), plainAt);
  const int gdiBefore = qlt::test::GdiObjectCount();
  for (int r = 0; r < rounds; ++r) {
    const double s = OpenOnce(skinned->Handle(), skinnedAt);
    const double p = OpenOnce(plain->Handle(), plainAt);
    if (s >= 0) skinnedMs.push_back(s);
    if (p >= 0) plainMs.push_back(p);
  }
  const int gdiAfter = qlt::test::GdiObjectCount();

  // One hot button painted again (composed off the screen, copied once), and back.
  qlt::TMenuBtn* edit = skinner->MenuBar()->Button(1);
  SetForegroundWindow(skinned->Handle());
  Pump(50);
  constexpr int kRepaints = 200;
  const double hoverStart = NowMs();
  for (int i = 0; i < kRepaints / 2; ++i) {
    edit->MouseMove();
    edit->MouseLeave();
  }
  const double hoverMs = (NowMs() - hoverStart) / kRepaints;

  const double s = Median(skinnedMs), p = Median(plainMs);
  std::printf("drop-down from the menu bar, click to items painted (median of %zu/%zu rounds):\n", skinnedMs.size(),
              plainMs.size());
  std::printf("  skinned %.2f ms, system's bar %.2f ms, ratio %.2f (goal: at most 1.5)\n", s, p, p > 0 ? s / p : -1.0);
  std::printf("one menu bar button repainted (hot or normal): %.3f ms\n", hoverMs);
  std::printf("GDI objects before and after the rounds: %d, %d\n", gdiBefore, gdiAfter);

  UnhookWindowsHookEx(g_cbt);
  delete skinned;
  delete plain;
  return 0;
}
