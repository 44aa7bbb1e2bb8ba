#include "gallery/FrmGalleryBars.h"

#include <commctrl.h>

#include <algorithm>

namespace qlt {

const TClassInfo& TFrm_GalleryBars::StaticClass() {
  static const TClassInfo info = ClassBuilder<TFrm_GalleryBars, TForm>("TFrm_GalleryBars")
                                     .Field("Pnl_Bars", &TFrm_GalleryBars::Pnl_Bars)
                                     .Field("Pnl_BarsOff", &TFrm_GalleryBars::Pnl_BarsOff)
                                     .Field("Pnl_Caption", &TFrm_GalleryBars::Pnl_Caption)
                                     .Field("Pnl_CaptionOff", &TFrm_GalleryBars::Pnl_CaptionOff)
                                     .Handler("FormCreate", &TFrm_GalleryBars::FormCreate)
                                     .Build();
  return info;
}

namespace {

HWND Child(const wchar_t* cls, DWORD style, int x, int y, int w, int h, HWND parent) {
  return CreateWindowExW(0, cls, L"", WS_CHILD | WS_VISIBLE | style, x, y, w, h, parent, nullptr,
                         GetModuleHandleW(nullptr), nullptr);
}

HWND Progress(HWND parent, int x, int y, int w, int h, DWORD style, int low, int high, int position) {
  HWND bar = Child(PROGRESS_CLASSW, style, x, y, w, h, parent);
  SendMessageW(bar, PBM_SETRANGE32, low, high);
  SendMessageW(bar, PBM_SETPOS, position, 0);
  return bar;
}

HWND Track(HWND parent, int x, int y, int w, int h, DWORD style) {
  HWND bar = Child(TRACKBAR_CLASSW, style | TBS_AUTOTICKS, x, y, w, h, parent);
  SendMessageW(bar, TBM_SETRANGE, TRUE, MAKELPARAM(0, TFrm_GalleryBars::kTrackMax));
  SendMessageW(bar, TBM_SETPOS, TRUE, TFrm_GalleryBars::kTrackMax / 4);
  return bar;
}

void SetPanel(HWND bar, int index, UINT flags, const wchar_t* text) {
  SendMessageW(bar, SB_SETTEXTW, index | flags, reinterpret_cast<LPARAM>(text));
}

}  // namespace

TFrm_GalleryBars::Bars TFrm_GalleryBars::MakeBars(HWND parent, bool enabled) {
  Bars b;
  b.progressZero = Progress(parent, 10, 10, 180, 18, 0, 0, kProgressMax, 0);
  b.progressHalf = Progress(parent, 10, 34, 180, 18, 0, 0, kProgressMax, kProgressMax / 2);
  b.progressFull = Progress(parent, 10, 58, 180, 18, 0, 0, kProgressMax, kProgressMax);
  // Low and high alike: nothing is filled, whatever the position says.
  b.progressEmptyRange = Progress(parent, 10, 82, 180, 18, 0, 50, 50, 50);
  // A third of a range below zero.
  b.progressUpright = Progress(parent, 204, 10, 18, 90, PBS_VERTICAL, -100, 200, 0);
  b.track = Track(parent, 10, 110, 180, 32, TBS_HORZ);
  b.trackUpright = Track(parent, 200, 110, 32, 100, TBS_VERT);
  b.scrollBar = Child(L"SCROLLBAR", SBS_HORZ, 10, 170, 180, 17, parent);
  SCROLLINFO si{};
  si.cbSize = sizeof(si);
  si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
  si.nMax = 100;
  si.nPage = 20;
  si.nPos = 30;
  SetScrollInfo(b.scrollBar, SB_CTL, &si, TRUE);
  if (!enabled) {
    for (HWND h : {b.progressZero, b.progressHalf, b.progressFull, b.progressEmptyRange, b.progressUpright, b.track,
                   b.trackUpright, b.scrollBar}) {
      EnableWindow(h, FALSE);
    }
  }
  return b;
}

void TFrm_GalleryBars::FormCreate(TObject*) {
  INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_BAR_CLASSES | ICC_PROGRESS_CLASS};
  InitCommonControlsEx(&icc);
  on_ = MakeBars(Pnl_Bars->Handle(), true);
  off_ = MakeBars(Pnl_BarsOff->Handle(), false);
  scrollNotices_.Install(Pnl_Bars, [this](TMessage& m, const TWindowProcHook::Next& next) {
    if (m.Msg == WM_HSCROLL && reinterpret_cast<HWND>(m.LParam) == on_.scrollBar) {
      ScrollBarMoved(LOWORD(m.WParam));
      m.Result = 0;
      return;
    }
    next(m);
  });

  statusBar_ = Child(STATUSCLASSNAMEW, SBARS_SIZEGRIP, 0, 0, 0, 0, Handle());
  const int parts[3] = {200, 380, -1};
  SendMessageW(statusBar_, SB_SETPARTS, 3, reinterpret_cast<LPARAM>(parts));
  SetPanel(statusBar_, 0, 0, L"Ready 就绪");
  SetPanel(statusBar_, 1, SBT_POPOUT, L"\tRaised 凸起");
  SetPanel(statusBar_, 2, SBT_NOBORDERS, L"\t\tFlat 平");

  statusBarOff_ = Child(STATUSCLASSNAMEW, CCS_NOPARENTALIGN | CCS_NORESIZE | CCS_NODIVIDER, 8, 292, 508, 22, Handle());
  const int partsOff[2] = {250, -1};
  SendMessageW(statusBarOff_, SB_SETPARTS, 2, reinterpret_cast<LPARAM>(partsOff));
  SetPanel(statusBarOff_, 0, 0, L"Disabled 不可用");
  SetPanel(statusBarOff_, 1, 0, L"");
  EnableWindow(statusBarOff_, FALSE);
}

void TFrm_GalleryBars::ScrollBarMoved(WPARAM code) {
  SCROLLINFO si{};
  si.cbSize = sizeof(si);
  si.fMask = SIF_ALL;
  GetScrollInfo(on_.scrollBar, SB_CTL, &si);
  const int page = static_cast<int>(si.nPage);
  int pos = si.nPos;
  switch (code) {
    case SB_LINELEFT: pos -= 1; break;
    case SB_LINERIGHT: pos += 1; break;
    case SB_PAGELEFT: pos -= page; break;
    case SB_PAGERIGHT: pos += page; break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: pos = si.nTrackPos; break;
    default: return;
  }
  si.fMask = SIF_POS;
  si.nPos = std::clamp(pos, si.nMin, std::max(si.nMin, si.nMax - page + 1));
  SetScrollInfo(on_.scrollBar, SB_CTL, &si, TRUE);
}

void TFrm_GalleryBars::WndProc(TMessage& m) {
  TForm::WndProc(m);
  // A status bar keeps to the bottom of its parent when it is told the parent's size changed.
  if (m.Msg == WM_SIZE && statusBar_) SendMessageW(statusBar_, WM_SIZE, 0, 0);
}

}  // namespace qlt
