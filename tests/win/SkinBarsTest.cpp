// Status bars, progress bars, track bars, scroll bar windows and panels under the skin, with both
// skins: the gallery's bars window (the system's bars made by the form itself, on framework
// panels) gets its skinners by window class; every progress bar (0, half, full, an empty range, an
// upright one over a range below zero) shows on the screen what the skin's "Progress" object
// composes, and the empty range nothing filled; the status bar's panel cells, text colours and
// size grip; the track bar's thumb from the skin (or the outlined box of a skin without thumbs)
// moved with the real mouse and keyboard; the scroll bar window skinned and stepped by a click; a
// caller's DC keeps its clipping and objects; GDI objects flat over 1000 repaints and 200 skin
// switches; and without the skin each control looks as its own again with no skinner left.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "gallery/FrmGalleryBars.h"
#include "skin/controls/BarArt.h"
#include "skin/controls/ControlDiscovery.h"
#include "skin/controls/SkinBars.h"
#include "skin/controls/SkinScrollBars.h"
#include "tests/win/GalleryTestSupport.h"
#include "ui/Handles.h"
#include "ui/Utf.h"

namespace qlt {
namespace {

using namespace test;

COLORREF Face(const TSkinContent& s) { return SkinColourToRgb(s.ButtonFaceColour, GetSysColor(COLOR_BTNFACE)); }
COLORREF Rgb(Bgr p) { return RGB(p.r, p.g, p.b); }
COLORREF FromPixel(Pixel32 p) { return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF); }
Pixel32 ToPixel(COLORREF c) { return ToPixel32(RgbPixel(GetRValue(c), GetGValue(c), GetBValue(c))); }

RECT ClientOnScreen(HWND h) {
  RECT r{};
  GetClientRect(h, &r);
  MapWindowPoints(h, nullptr, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

template <class T>
T* SkinnerOfWindow(HWND h) {
  TWinSkinForm* form = SkinManager ? SkinManager->FindFormSkinner(GetAncestor(h, GA_ROOT)) : nullptr;
  return form ? dynamic_cast<T*>(form->FindControlSkinner(h)) : nullptr;
}

ProgressState StateOf(HWND bar) {
  PBRANGE range{};
  SendMessageW(bar, PBM_GETRANGE, FALSE, reinterpret_cast<LPARAM>(&range));
  return {static_cast<int>(SendMessageW(bar, PBM_GETPOS, 0, 0)), range.iLow, range.iHigh};
}

// The progress bar's client area as the skin composes it, lying or upright.
PixelBuffer ExpectedProgress(const TSkinContent& s, HWND bar) {
  RECT c{};
  GetClientRect(bar, &c);
  const bool upright = (GetWindowLongW(bar, GWL_STYLE) & PBS_VERTICAL) != 0;
  const int w = upright ? c.bottom : c.right, h = upright ? c.right : c.bottom;
  PixelBuffer lying(w, h, 0);
  ComposeProgress(lying.View(), {0, 0, w, h}, *s.Progress, ToPixel(Face(s)), StateOf(bar));
  if (!upright) return lying;
  PixelBuffer turned(c.right, c.bottom, 0);
  RotatePixelsLeft(lying.View(), turned.View());
  return turned;
}

// Pixels of the grab (at `origin` on the screen) that differ from the picture; only pixels of the
// picture that are not `skip` count.
int Mismatches(const ScreenGrab& grab, POINT origin, const PixelBuffer& want, std::string* first,
               std::optional<Pixel32> skip = std::nullopt) {
  int bad = 0;
  for (int y = 0; y < want.Height(); ++y) {
    for (int x = 0; x < want.Width(); ++x) {
      if (skip && want.At(x, y) == *skip) continue;
      const COLORREF got = grab.PixelAt({origin.x + x, origin.y + y});
      if (got == FromPixel(want.At(x, y))) continue;
      if (!bad++ && first) {
        *first = "at (" + std::to_string(x) + ", " + std::to_string(y) + ")";
      }
    }
  }
  return bad;
}

::testing::AssertionResult ShowsProgress(const TSkinContent& s, HWND bar) {
  const PixelBuffer want = ExpectedProgress(s, bar);
  int bad = 0;
  std::string first;
  // The place is read each time: a window the skin has just taken over is still being fitted.
  WaitUntil([&] {
    const RECT r = ClientOnScreen(bar);
    return (bad = Mismatches(ScreenGrab(r), {r.left, r.top}, want, &first)) == 0;
  }, 3s);
  if (!bad) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << bad << " pixels differ from the skin's progress bar, first " << first;
}

int CountColour(const RECT& screen, COLORREF colour) {
  const ScreenGrab grab(screen);
  int n = 0;
  for (COLORREF c : grab.Pixels()) n += c == colour;
  return n;
}

class SkinnedBars : public ::testing::TestWithParam<GallerySkin> {
 protected:
  void SetUp() override {
    skin_ = ReadSkinContent(SkinFileBytes(GetParam()));
    host_ = std::make_unique<GalleryHost>(GetParam());
    bars_ = host_->Gallery().Bars();
    bars_->Show();
    Activate(bars_->Handle());
    ASSERT_TRUE(WaitSkinned(bars_->Handle()));
    ASSERT_TRUE(WaitUntil([&] { return SkinnerOfWindow<TSkinProgress>(bars_->On().progressHalf) != nullptr; }, 5s));
    MoveMouseTo(kParkedPointer);
    PumpFor(100ms);
  }
  void TearDown() override {
    host_.reset();
    skin_.reset();
  }
  std::wstring Named(const std::string& what) const {
    return Utf8ToWide("bars-" + SkinCaseName(GetParam()) + "-" + what);
  }
  void SetSkinActive(bool on) {
    host_->Skin().SetActive(on);
    SkinManager->RunPendingAction();
    if (on) {
      ASSERT_TRUE(WaitUntil([&] { return SkinnerOfWindow<TSkinProgress>(bars_->On().progressHalf) != nullptr; }, 5s));
    }
  }
  std::vector<HWND> AllBars() const {
    std::vector<HWND> all;
    for (const auto* b : {&bars_->On(), &bars_->Off()}) {
      for (HWND p : b->Progress()) all.push_back(p);
      all.insert(all.end(), {b->track, b->trackUpright, b->scrollBar});
    }
    all.insert(all.end(), {bars_->StatusBar(), bars_->StatusBarOff()});
    return all;
  }

  std::unique_ptr<TSkinContent> skin_;
  std::unique_ptr<GalleryHost> host_;
  TFrm_GalleryBars* bars_ = nullptr;
};

TEST_P(SkinnedBars, EveryBarOfTheFormsOwnWindowsGetsTheSkinnerOfItsClassAndPanelsTheFace) {
  for (const auto* b : {&bars_->On(), &bars_->Off()}) {
    for (HWND p : b->Progress()) EXPECT_NE(SkinnerOfWindow<TSkinProgress>(p), nullptr);
    EXPECT_NE(SkinnerOfWindow<TSkinTrackBar>(b->track), nullptr);
    EXPECT_NE(SkinnerOfWindow<TSkinTrackBar>(b->trackUpright), nullptr);
    EXPECT_NE(SkinnerOfWindow<TSkinScControl>(b->scrollBar), nullptr);
  }
  EXPECT_NE(SkinnerOfWindow<TSkinStatusBar>(bars_->StatusBar()), nullptr);
  EXPECT_NE(SkinnerOfWindow<TSkinStatusBar>(bars_->StatusBarOff()), nullptr);
  // A panel keeps its messages; it only takes the skin's face colour.
  for (TPanel* p : {bars_->Pnl_Bars, bars_->Pnl_BarsOff, bars_->Pnl_Caption, bars_->Pnl_CaptionOff}) {
    int boxes = 0;
    for (TComponent* c : p->ComponentList()) boxes += dynamic_cast<TSkinBox*>(c) != nullptr;
    EXPECT_EQ(boxes, 1) << Utf16ToUtf8(p->Name());
    EXPECT_EQ(ColorToRGB(p->Color()), Face(*skin_)) << Utf16ToUtf8(p->Name());
  }
  // The discovery's rule by class, with the skin component's switches.
  const std::uint32_t all = kDefaultSkinControls;
  EXPECT_EQ(KindOfBarWindow(u"msctls_progress32", all), SkinnerKind::kProgress);
  EXPECT_EQ(KindOfBarWindow(u"msctls_statusbar32", all), SkinnerKind::kStatusBar);
  EXPECT_EQ(KindOfBarWindow(u"msctls_trackbar32", all), SkinnerKind::kTrackBar);
  EXPECT_EQ(KindOfBarWindow(u"msctls_progress32", all & ~SkinControlBit(xcProgress)), SkinnerKind::kNone);
  EXPECT_EQ(KindOfBarWindow(u"msctls_statusbar32", all & ~SkinControlBit(xcStatusBar)), SkinnerKind::kNone);
  EXPECT_EQ(KindOfBarWindow(u"msctls_trackbar32", all & ~SkinControlBit(xcButton)), SkinnerKind::kNone);
  EXPECT_EQ(KindOfBarWindow(u"edit", all), SkinnerKind::kNone);
  SaveScreenshot(Named("window"));
}

TEST_P(SkinnedBars, PanelsAreReadFromTheDescriptionAndKeepTheirOwnBevelsOnTheFace) {
  TPanel& bars = *bars_->Pnl_Bars;
  TPanel& caption = *bars_->Pnl_Caption;
  TPanel& off = *bars_->Pnl_CaptionOff;
  EXPECT_EQ(bars.BevelOuter(), bvLowered);
  EXPECT_EQ(bars.BevelInner(), bvNone);
  EXPECT_EQ(caption.BevelOuter(), bvRaised);
  EXPECT_EQ(caption.BevelInner(), bvLowered);
  EXPECT_EQ(caption.Alignment(), taCenter);
  EXPECT_EQ(off.Alignment(), taLeftJustify);
  EXPECT_EQ(caption.Caption(), u"Panel 面板");
  EXPECT_FALSE(off.Enabled());
  // A lowered bevel: the shadow at the top left, the highlight at the bottom right; the face inside.
  const RECT r = ClientOnScreen(bars.Handle());
  EXPECT_TRUE(WaitUntil([&] {
    const ScreenGrab grab(r);
    return grab.Pixel(0, 0) == GetSysColor(COLOR_BTNSHADOW) &&
           grab.Pixel(grab.Width() - 1, grab.Height() - 1) == GetSysColor(COLOR_BTNHIGHLIGHT) &&
           grab.Pixel(grab.Width() - 4, grab.Height() - 4) == Face(*skin_);
  }, 3s));
  // The caption in the font's colour, the disabled one's grey.
  EXPECT_GT(CountColour(ClientOnScreen(caption.Handle()), ColorToRGB(caption.Font()->Color())), 0);
  EXPECT_GT(CountColour(ClientOnScreen(off.Handle()), GetSysColor(COLOR_GRAYTEXT)), 0);
}

TEST_P(SkinnedBars, ProgressBarsShowTheSkinAndAnEmptyRangeFillsNothing) {
  ASSERT_TRUE(skin_->Progress && !skin_->Progress->Image.Empty());
  for (const auto* b : {&bars_->On(), &bars_->Off()}) {
    for (HWND p : b->Progress()) EXPECT_TRUE(ShowsProgress(*skin_, p)) << GetDlgCtrlID(p);
  }
  const auto& on = bars_->On();
  // At 0 only the trough shows; full and half differ from it; an empty range looks like 0.
  const RECT zero = ClientOnScreen(on.progressZero);
  const std::vector<COLORREF> empty = ScreenGrab(zero).Pixels();
  EXPECT_EQ(ScreenGrab(ClientOnScreen(on.progressEmptyRange)).Pixels(), empty);
  EXPECT_NE(ScreenGrab(ClientOnScreen(on.progressFull)).Pixels(), empty);
  EXPECT_NE(ScreenGrab(ClientOnScreen(on.progressHalf)).Pixels(), empty);
  // A new position is shown at once, past the limit as full.
  SendMessageW(on.progressZero, PBM_SETPOS, TFrm_GalleryBars::kProgressMax / 4, 0);
  EXPECT_TRUE(ShowsProgress(*skin_, on.progressZero));
  SendMessageW(on.progressEmptyRange, PBM_SETRANGE32, 0, 0);
  EXPECT_TRUE(ShowsProgress(*skin_, on.progressEmptyRange));
  EXPECT_EQ(ScreenGrab(ClientOnScreen(on.progressEmptyRange)).Pixels(), empty);
}

TEST_P(SkinnedBars, TheStatusBarShowsEachPanelsCellItsTextColourAndTheSkinsGrip) {
  const TDataSkinObject& edges = *skin_->StatusBarEdges;
  ASSERT_FALSE(edges.Image.Empty());
  HWND bar = bars_->StatusBar();
  const RECT client = ClientOnScreen(bar);
  const UINT flags[3] = {0, SBT_POPOUT, SBT_NOBORDERS};
  WaitUntil([&] { return CountColour(client, SkinColourToRgb(edges.NormalColour2, 0)) > 0; }, 3s);
  const ScreenGrab grab(client);
  for (int i = 0; i < 3; ++i) {
    RECT r{};
    ASSERT_TRUE(SendMessageW(bar, SB_GETRECT, i, reinterpret_cast<LPARAM>(&r)));
    // The corners of a panel are never stretched: the cell's own corner pixels.
    const SkinRect cell = CellRect(edges.Image.Width(), edges.Image.Height(), 3, StatusPanelCell(flags[i]),
                                   CellLayout::kSideBySide);
    EXPECT_EQ(grab.Pixel(r.left, r.top), Rgb(edges.Image.At(cell.left, cell.top))) << "panel " << i;
    EXPECT_EQ(grab.Pixel(r.left, r.bottom - 1), Rgb(edges.Image.At(cell.left, cell.bottom - 1))) << "panel " << i;
  }
  // The grip: cell 5 of the extra images in the bottom-right corner, its magenta left out.
  const TDataSkinObject& extra = *skin_->ExtraImages;
  const SkinRect grip = CellRect(extra.Image.Width(), extra.Image.Height(), extra.Frame, 5, CellLayout::kSideBySide);
  int checked = 0, bad = 0;
  for (int y = 0; y < grip.Height(); ++y) {
    for (int x = 0; x < grip.Width(); ++x) {
      const Bgr p = extra.Image.At(grip.left + x, grip.top + y);
      if (IsTransparent(p)) continue;
      ++checked;
      bad += grab.Pixel(grab.Width() - grip.Width() + x, grab.Height() - grip.Height() + y) != Rgb(p);
    }
  }
  EXPECT_GT(checked, 0);
  EXPECT_EQ(bad, 0) << "pixels of the size grip";
  // Text in the skin's colour; the disabled bar's in the grey of disabled text.
  EXPECT_GT(CountColour(client, SkinColourToRgb(edges.NormalColour2, 0)), 0);
  const RECT off = ClientOnScreen(bars_->StatusBarOff());
  EXPECT_GT(CountColour(off, GetSysColor(COLOR_GRAYTEXT)), 0);
  EXPECT_EQ(CountColour(off, SkinColourToRgb(edges.NormalColour2, 0)), 0);
  // A new text is painted at once, Chinese included.
  SendMessageW(bar, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(L""));
  PumpFor(100ms);
  RECT first{};
  SendMessageW(bar, SB_GETRECT, 0, reinterpret_cast<LPARAM>(&first));
  MapWindowPoints(bar, nullptr, reinterpret_cast<POINT*>(&first), 2);
  InflateRect(&first, -edges.LeftWidth, -edges.TopHeight);
  EXPECT_TRUE(WaitUntil([&] { return CountColour(first, SkinColourToRgb(edges.NormalColour2, 0)) == 0; }, 3s));
  SendMessageW(bar, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(L"就绪 Ready"));
  EXPECT_TRUE(WaitUntil([&] { return CountColour(first, SkinColourToRgb(edges.NormalColour2, 0)) > 0; }, 3s));
}

// The thumb on the screen: the skin's cell 2 where it is not magenta, or the outlined box.
::testing::AssertionResult ShowsThumb(const TSkinContent& s, HWND track) {
  RECT thumb{};
  SendMessageW(track, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
  MapWindowPoints(track, nullptr, reinterpret_cast<POINT*>(&thumb), 2);
  const int w = thumb.right - thumb.left, h = thumb.bottom - thumb.top;
  if (w <= 0 || h <= 0) return ::testing::AssertionFailure() << "no thumb";
  const bool upright = (GetWindowLongW(track, GWL_STYLE) & TBS_VERT) != 0;
  const TDataSkinObject* o = upright && s.TrackbarThumbVert ? s.TrackbarThumbVert.get() : s.TrackbarThumbHorz.get();
  constexpr Pixel32 kUnset = 0x00010203;
  PixelBuffer want(w, h, kUnset);
  if (o && !o->Image.Empty()) {
    DrawNineSlice(want.View(), {0, 0, w, h}, o->Image, 5, 2, CellLayout::kSideBySide,
                  {o->LeftWidth, o->TopHeight, o->RightWidth, o->BottomHeight}, o->Tile == 1,
                  BlendMode::kKeyTransparent);
  } else {
    want.View().Fill({0, 0, w, h}, ToPixel(SkinColourToRgb(s.ButtonShadowColour, GetSysColor(COLOR_BTNSHADOW))));
    want.View().Fill({1, 1, w - 1, h - 1}, ToPixel(Face(s)));
  }
  int bad = 0;
  std::string first;
  WaitUntil([&] { return (bad = Mismatches(ScreenGrab(thumb), {thumb.left, thumb.top}, want, &first, kUnset)) == 0; },
            3s);
  if (!bad) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << bad << " pixels of the thumb differ from the skin's, first " << first;
}

TEST_P(SkinnedBars, TheTrackBarsThumbIsTheSkinsAndFollowsTheMouseAndKeys) {
  const auto& on = bars_->On();
  for (HWND t : {on.track, on.trackUpright, bars_->Off().track, bars_->Off().trackUpright}) {
    EXPECT_TRUE(ShowsThumb(*skin_, t));
  }
  // The background around the channel is the skin's face.
  RECT track = ClientOnScreen(on.track);
  EXPECT_EQ(ScreenGrab(track).Pixel(1, 1), Face(*skin_));

  // A drag of the thumb moves it, and it stays the skin's.
  RECT thumb{};
  SendMessageW(on.track, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
  MapWindowPoints(on.track, nullptr, reinterpret_cast<POINT*>(&thumb), 2);
  const POINT from{(thumb.left + thumb.right) / 2, (thumb.top + thumb.bottom) / 2};
  const int before = static_cast<int>(SendMessageW(on.track, TBM_GETPOS, 0, 0));
  DragMouse(from, {from.x + 60, from.y});
  EXPECT_TRUE(WaitUntil([&] { return SendMessageW(on.track, TBM_GETPOS, 0, 0) > before; }, 3s));
  MoveMouseTo(kParkedPointer);
  EXPECT_TRUE(ShowsThumb(*skin_, on.track));
  // The keys move it too (the drag left it with the focus).
  SetFocus(on.track);
  const LRESULT pos = SendMessageW(on.track, TBM_GETPOS, 0, 0);
  PressKey(VK_LEFT);
  EXPECT_TRUE(WaitUntil([&] { return SendMessageW(on.track, TBM_GETPOS, 0, 0) == pos - 1; }, 3s));
  EXPECT_TRUE(ShowsThumb(*skin_, on.track));
  auto* skinner = SkinnerOfWindow<TSkinTrackBar>(on.track);
  ASSERT_NE(skinner, nullptr);
  EXPECT_GT(skinner->ThumbsDrawn(), 0);
}

TEST_P(SkinnedBars, TheScrollBarWindowIsTheSkinsAndStepsOnAClick) {
  HWND bar = bars_->On().scrollBar;
  ASSERT_NE(SkinnerOfWindow<TSkinScControl>(bar), nullptr);
  EXPECT_NE(SkinnerOfWindow<TSkinScControl>(bars_->Off().scrollBar), nullptr);
  const int before = GetScrollPos(bar, SB_CTL);
  RECT r = ClientOnScreen(bar);
  const int arrow = GetSystemMetrics(SM_CXHSCROLL);
  ClickAt({r.right - arrow / 2 - 1, (r.top + r.bottom) / 2});
  EXPECT_TRUE(WaitUntil([&] { return GetScrollPos(bar, SB_CTL) == before + 1; }, 3s));
  // The skin's arrow, not the system's: the skin's scroll bar art is on the screen.
  if (skin_->Scrollbar && !skin_->Scrollbar->Image.Empty()) {
    const TDataSkinObject& s = *skin_->Scrollbar;
    const SkinRect first = CellRect(s.Image.Width(), s.Image.Height(), s.Frame, 1, CellLayout::kSideBySide);
    const Bgr corner = s.Image.At(first.left + first.Width() / 2, first.top + first.Height() / 2);
    EXPECT_GT(CountColour(r, Rgb(corner)), 0);
  }
}

// The DC's state a painter must leave as it found it.
struct DcState {
  RECT clip{};
  int clipKind = 0;
  HGDIOBJ font = nullptr, brush = nullptr, pen = nullptr, bitmap = nullptr;
  COLORREF text = 0;
  int mode = 0;
  static DcState Of(HDC dc) {
    DcState s;
    s.clipKind = GetClipBox(dc, &s.clip);
    s.font = GetCurrentObject(dc, OBJ_FONT);
    s.brush = GetCurrentObject(dc, OBJ_BRUSH);
    s.pen = GetCurrentObject(dc, OBJ_PEN);
    s.bitmap = GetCurrentObject(dc, OBJ_BITMAP);
    s.text = GetTextColor(dc);
    s.mode = GetBkMode(dc);
    return s;
  }
  bool operator==(const DcState& o) const {
    return EqualRect(&clip, &o.clip) && clipKind == o.clipKind && font == o.font && brush == o.brush && pen == o.pen &&
           bitmap == o.bitmap && text == o.text && mode == o.mode;
  }
};

TEST_P(SkinnedBars, PaintingIntoACallersDcLeavesItsClippingAndObjectsAsTheyWere) {
  HDC screen = GetDC(nullptr);
  UniqueMemoryDc dc(CreateCompatibleDC(screen));
  UniqueBitmap bitmap(CreateCompatibleBitmap(screen, 400, 100));
  ReleaseDC(nullptr, screen);
  SelectedObject selected(dc.Get(), bitmap.Get());
  IntersectClipRect(dc.Get(), 3, 2, 150, 20);
  SetTextColor(dc.Get(), RGB(1, 2, 3));
  SetBkMode(dc.Get(), OPAQUE);
  const DcState before = DcState::Of(dc.Get());
  for (HWND h : {bars_->On().progressHalf, bars_->On().progressUpright, bars_->StatusBar(), bars_->On().track}) {
    auto* skinner = SkinnerOfWindow<TSkinControl>(h);
    ASSERT_NE(skinner, nullptr);
    SendMessageW(h, WM_PAINT, reinterpret_cast<WPARAM>(dc.Get()), 0);
    EXPECT_TRUE(DcState::Of(dc.Get()) == before) << WideToCodePage(ClassNameOf(h), CP_UTF8);
  }
  auto* progress = SkinnerOfWindow<TSkinProgress>(bars_->On().progressHalf);
  auto* status = SkinnerOfWindow<TSkinStatusBar>(bars_->StatusBar());
  EXPECT_GT(progress->Paints(), 0);
  EXPECT_GT(status->Paints(), 0);
}

TEST_P(SkinnedBars, GdiObjectsStayFlatOverRepaintsAndSkinSwitches) {
  const std::vector<HWND> all = AllBars();
  auto repaint = [&] {
    for (HWND h : all) RedrawWindow(h, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  };
  repaint();
  PumpFor(50ms);
  int start = GdiObjectCount();
  ASSERT_GT(start, 0);
  for (int i = 0; i < 1000; ++i) repaint();
  PumpMessages();
  EXPECT_EQ(GdiObjectCount(), start) << "over 1000 repaints of every bar";
  for (int i = 0; i < 3; ++i) {
    SetSkinActive(false);
    SetSkinActive(true);
  }
  PumpFor(100ms);
  start = GdiObjectCount();
  for (int i = 0; i < 200; ++i) {
    SetSkinActive(false);
    SetSkinActive(true);
  }
  PumpFor(100ms);
  EXPECT_EQ(GdiObjectCount(), start) << "over 200 skin switches";
  EXPECT_TRUE(ShowsProgress(*skin_, bars_->On().progressHalf));
}

TEST_P(SkinnedBars, WithoutTheSkinEachLooksAsItsOwnAndNoSkinnerIsLeft) {
  const auto& on = bars_->On();
  const std::vector<COLORREF> skinnedHalf = ScreenGrab(ClientOnScreen(on.progressHalf)).Pixels();
  SetSkinActive(false);
  ASSERT_TRUE(WaitUnskinned(bars_->Handle()));
  for (HWND h : AllBars()) EXPECT_EQ(SkinnerOfWindow<TSkinControl>(h), nullptr);
  // Panels have their own colour back.
  EXPECT_EQ(bars_->Pnl_Bars->Color(), clBtnFace);
  for (TComponent* c : bars_->Pnl_Bars->ComponentList()) EXPECT_EQ(dynamic_cast<TSkinControl*>(c), nullptr);
  // A twin of the half-full bar that was never skinned looks like it now.
  RECT r = RectInParent(on.progressHalf);
  HWND twin = CreateWindowExW(0, PROGRESS_CLASSW, L"", WS_CHILD | WS_VISIBLE, r.left, 195, r.right - r.left,
                              r.bottom - r.top, bars_->Pnl_Bars->Handle(), nullptr, GetModuleHandleW(nullptr), nullptr);
  SendMessageW(twin, PBM_SETRANGE32, 0, TFrm_GalleryBars::kProgressMax);
  SendMessageW(twin, PBM_SETPOS, TFrm_GalleryBars::kProgressMax / 2, 0);
  UpdateWindow(twin);
  EXPECT_TRUE(WaitUntil([&] {
    return ScreenGrab(ClientOnScreen(on.progressHalf)).Pixels() == ScreenGrab(ClientOnScreen(twin)).Pixels();
  }, 3s));
  EXPECT_NE(ScreenGrab(ClientOnScreen(on.progressHalf)).Pixels(), skinnedHalf);
  DestroyWindow(twin);
  // The track bar's parent no longer answers for it: its custom draw is the default again.
  NMCUSTOMDRAW draw{};
  draw.hdr = {on.track, 0, static_cast<UINT>(NM_CUSTOMDRAW)};
  draw.dwDrawStage = CDDS_PREPAINT;
  EXPECT_EQ(SendMessageW(GetParent(on.track), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&draw)), CDRF_DODEFAULT);
  PumpFor(200ms);
  SaveScreenshot(Named("unskinned"));
  SetSkinActive(true);
  EXPECT_TRUE(ShowsProgress(*skin_, on.progressHalf));
  EXPECT_EQ(ColorToRGB(bars_->Pnl_Bars->Color()), Face(*skin_));
}

INSTANTIATE_TEST_SUITE_P(BothSkins, SkinnedBars, ::testing::Values(GallerySkin::Slate, GallerySkin::Pine),
                         [](const auto& info) { return SkinCaseName(info.param); });

}  // namespace
}  // namespace qlt
