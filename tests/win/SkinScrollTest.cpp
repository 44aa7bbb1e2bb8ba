// Skinned scroll bars under Wine, with both skins: the gallery's list boxes (one bar, both bars,
// disabled), its scroll bar control and QLT's main window drawn from the skin objects where the
// system has its bars; the real mouse on arrows, page areas and the thumb, a drag ending where the
// system's own drag ends; the drag's loop against capture loss, a message box, WM_QUIT and a
// control freed under it; positions beyond 16 bits; a double-buffered paint; size grips; GDI
// objects over many paints and skin switches; and the control's own look back without the skin.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>

#include "gallery/FrmGallery.h"
#include "skin/controls/ControlDiscovery.h"
#include "skin/controls/SkinManager.h"
#include "skin/controls/SkinScrollBars.h"
#include "skin/frame/WinSkinForm.h"
#include "tests/win/UiTestSupport.h"
#include "ui/FormReader.h"
#include "ui/Utf.h"

namespace qlt {
namespace {

using namespace std::chrono_literals;
using test::PumpFor;
using test::ScreenGrab;
using test::WaitUntil;

// ---- the skins and the gallery ----

struct SkinChoice {
  const char* name;
  const char* file;  // "" for the skin the gallery carries (Slate)
};
const SkinChoice kSlate{"Slate", ""};
const SkinChoice kPine{"Pine", QLT_SECOND_SKIN_FILE};

// The skin engine and one gallery with its controls window, for the whole run.
class GalleryHost {
 public:
  static GalleryHost& Get() {
    static GalleryHost host;
    return host;
  }
  void Start() {
    if (!engine_) engine_ = std::make_unique<TSkinEngine>();
    RegisterGalleryClasses();
  }
  void Stop() {
    Close();
    engine_.reset();
  }
  // The gallery with a skin; made again when another skin is asked for.
  void Use(const SkinChoice& skin) {
    if (gallery_ && skin_ == skin.name) return;
    Close();
    TheGalleryOptions().skinFile = Widen(skin.file);
    gallery_ = NewForm<TFrm_Gallery>(Application);
    TheGalleryOptions().skinFile.clear();
    skin_ = skin.name;
    gallery_->SetBounds(20, 20, 300, 200);
    gallery_->Show();
    controls_ = gallery_->Controls();
    controls_->Show();
  }
  void Close() {
    delete gallery_;
    gallery_ = nullptr;
    controls_ = nullptr;
    PumpFor(50ms);
  }
  TFrm_Gallery* Gallery() const { return gallery_; }
  TFrm_GalleryControls* Controls() const { return controls_; }

 private:
  std::unique_ptr<TSkinEngine> engine_;
  TFrm_Gallery* gallery_ = nullptr;
  TFrm_GalleryControls* controls_ = nullptr;
  std::string skin_;
};

class HostEnvironment : public ::testing::Environment {
 public:
  void SetUp() override { GalleryHost::Get().Start(); }
  void TearDown() override { GalleryHost::Get().Stop(); }
};
[[maybe_unused]] ::testing::Environment* const kHostEnvironment =
    ::testing::AddGlobalTestEnvironment(new HostEnvironment);

// ---- skinners ----

TWinSkinForm* FormSkinnerOf(HWND control) {
  return SkinManager ? SkinManager->FindFormSkinner(GetAncestor(control, GA_ROOT)) : nullptr;
}

template <class T>
T* SkinnerOf(HWND control) {
  TWinSkinForm* form = FormSkinnerOf(control);
  return form ? dynamic_cast<T*>(form->FindControlSkinner(control)) : nullptr;
}

// The skinners a control owns (a skinner of a framework control belongs to it).
int SkinnersOwnedBy(TComponent* control) {
  int n = 0;
  for (TComponent* c : control->ComponentList()) n += dynamic_cast<TSkinControl*>(c) != nullptr;
  return n;
}

// ---- bars as the system has them ----

struct SystemBar {
  RECT screen{};  // the bar on the screen
  bool vertical = true;
  int arrow = 0;
  int thumbTop = 0;  // from the bar's start; top == bottom: no thumb
  int thumbBottom = 0;
  bool unavailable = false;
  int Length() const { return vertical ? screen.bottom - screen.top : screen.right - screen.left; }
  POINT At(int along) const {
    return vertical ? POINT{(screen.left + screen.right) / 2, screen.top + along}
                    : POINT{screen.left + along, (screen.top + screen.bottom) / 2};
  }
  POINT ThumbCentre() const { return At((thumbTop + thumbBottom) / 2); }
  POINT FirstArrow() const { return At(arrow / 2); }
  POINT SecondArrow() const { return At(Length() - arrow / 2 - 1); }
  POINT PageAfterThumb() const { return At((thumbBottom + Length() - arrow) / 2); }
  POINT PageBeforeThumb() const { return At((arrow + thumbTop) / 2); }
};

SystemBar BarOfSystem(HWND window, LONG object) {
  SystemBar bar;
  SCROLLBARINFO sbi{};
  sbi.cbSize = sizeof(sbi);
  EXPECT_TRUE(GetScrollBarInfo(window, object, &sbi));
  bar.screen = sbi.rcScrollBar;
  bar.vertical = object == OBJID_VSCROLL ||
                 (object == OBJID_CLIENT && (GetWindowLongW(window, GWL_STYLE) & SBS_VERT));
  bar.arrow = GetSystemMetrics(bar.vertical ? SM_CYVSCROLL : SM_CXHSCROLL);
  bar.thumbTop = sbi.xyThumbTop;
  bar.thumbBottom = sbi.xyThumbBottom;
  bar.unavailable = (sbi.rgstate[0] & STATE_SYSTEM_UNAVAILABLE) != 0;
  return bar;
}

COLORREF ToColorRef(Pixel32 p) { return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF); }
Pixel32 ToPixel(COLORREF c) { return ToPixel32(RgbPixel(GetRValue(c), GetGValue(c), GetBValue(c))); }

// The bar as the skin draws it where the system has it: the system's thumb, the skin's pieces.
PixelBuffer ExpectedBar(const TSkinData& sd, const SystemBar& bar, const ScrollBarLook& look) {
  const int w = bar.screen.right - bar.screen.left, h = bar.screen.bottom - bar.screen.top;
  ThumbLayout t;
  t.arrow = bar.Length() < 2 * bar.arrow ? bar.Length() / 2 : bar.arrow;
  t.track = bar.Length() - 2 * t.arrow;
  if (bar.thumbBottom > bar.thumbTop) {
    t.thumbSize = bar.thumbBottom - bar.thumbTop;
    t.thumbPos = bar.thumbTop - t.arrow;
  }
  const ScrollBarSkin pieces{sd.Scrollbar.get(), bar.vertical ? sd.VertScroll.get() : sd.HorzScroll.get(),
                             bar.vertical ? sd.VertScrollThumb.get() : sd.HorzScrollThumb.get(),
                             ToPixel(SkinColourToRgb(sd.ScrollbarColour, GetSysColor(COLOR_SCROLLBAR)))};
  PixelBuffer buffer(w, h, 0);
  ComposeScrollBar(buffer.View(), {0, 0, w, h}, bar.vertical, t, look, pieces);
  return buffer;
}

// Pixels of `rows` (screen rectangle inside `at`) that differ from the expected picture of `at`.
int Mismatches(const RECT& at, const PixelBuffer& expected, const RECT& rows, std::string* first = nullptr) {
  const ScreenGrab grab(rows);
  int bad = 0;
  for (int y = rows.top; y < rows.bottom; ++y) {
    for (int x = rows.left; x < rows.right; ++x) {
      const COLORREF want = ToColorRef(expected.At(x - at.left, y - at.top));
      const COLORREF got = grab.PixelAt({x, y});
      if (want == got) continue;
      if (!bad && first) {
        char text[96];
        snprintf(text, sizeof(text), "at (%ld, %ld): %06lx instead of %06lx", static_cast<long>(x - at.left),
                 static_cast<long>(y - at.top), static_cast<unsigned long>(got), static_cast<unsigned long>(want));
        *first = text;
      }
      ++bad;
    }
  }
  return bad;
}

// Waits until the screen shows the bar as expected (Wine shows a paint a moment later).
::testing::AssertionResult ShowsBar(const TSkinData& sd, const SystemBar& bar, const ScrollBarLook& look = {},
                                    int cutEnd = 0) {
  const PixelBuffer expected = ExpectedBar(sd, bar, look);
  RECT rows = bar.screen;
  (bar.vertical ? rows.bottom : rows.right) -= cutEnd;
  std::string first;
  int bad = 0;
  WaitUntil([&] { return (bad = Mismatches(bar.screen, expected, rows, &first)) == 0; }, 3s);
  if (bad == 0) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << bad << " pixels differ from the skin's bar, first " << first;
}

bool AllPixels(const RECT& r, COLORREF colour) {
  const ScreenGrab grab(r);
  for (COLORREF c : grab.Pixels()) {
    if (c != colour) return false;
  }
  return true;
}

// The rows a list box shows at once: its page.
int RowsPerPage(HWND list) {
  RECT client{};
  GetClientRect(list, &client);
  return client.bottom / std::max(1, static_cast<int>(SendMessageW(list, LB_GETITEMHEIGHT, 0, 0)));
}

int TopIndex(TListBox* list) { return static_cast<int>(SendMessageW(list->Handle(), LB_GETTOPINDEX, 0, 0)); }
int VerticalPos(HWND window) {
  SCROLLINFO si{};
  si.cbSize = sizeof(si);
  si.fMask = SIF_POS;
  GetScrollInfo(window, SB_VERT, &si);
  return si.nPos;
}

// The scroll messages and system commands a control gets, in order.
struct ScrollLog {
  explicit ScrollLog(TControl* control)
      : hook(control, [this](TMessage& m, const TWindowProcHook::Next& next) {
          if (m.Msg == WM_VSCROLL || m.Msg == WM_HSCROLL) codes.push_back(LOWORD(m.WParam));
          if (m.Msg == WM_SYSCOMMAND) systemCommands.push_back(m.WParam & 0xFFF0);
          next(m);
        }) {}
  int Count(int code) const { return static_cast<int>(std::count(codes.begin(), codes.end(), code)); }
  std::vector<int> codes;
  std::vector<WPARAM> systemCommands;
  TWindowProcHook hook;
};

// ---- the tests ----

// What a timer of the drag tests does while the thumb is held.
std::function<void()> g_whileHeld;
void CALLBACK WhileHeld(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  if (g_whileHeld) g_whileHeld();
}

// A hand that presses on `from`, moves by `first`, waits `hold`, moves by `second` and lets go.
struct HoldingHand {
  HoldingHand(POINT from, int first, std::chrono::milliseconds hold, int second)
      : thread([=, this] {
          test::SendMouseInput(MOUSEEVENTF_LEFTDOWN, from);
          Sleep(60);
          for (int i = 1; i <= 4; ++i) {
            test::SendMouseInput(0, {from.x, from.y + first * i / 4});
            Sleep(15);
          }
          Sleep(static_cast<DWORD>(hold.count()));
          test::SendMouseInput(0, {from.x, from.y + first + second});
          Sleep(60);
          test::SendMouseInput(MOUSEEVENTF_LEFTUP, {from.x, from.y + first + second});
          done = true;
        }) {}
  ~HoldingHand() { thread.join(); }
  std::atomic<bool> done{false};
  std::thread thread;
};


class SkinnedScrollBars : public ::testing::TestWithParam<SkinChoice> {
 protected:
  void SetUp() override {
    GalleryHost::Get().Use(GetParam());
    gallery_ = GalleryHost::Get().Gallery();
    controls_ = GalleryHost::Get().Controls();
    ASSERT_NE(controls_, nullptr);
    SkinOn(true);
    ResetLists();
  }
  void TearDown() override {
    if (controls_) SkinOn(true);
  }

  TSkinData& Skin() const { return *gallery_->SkinData1; }
  bool Skinned(TListBox* list) const { return SkinnerOf<TSkinScrollbar>(list->Handle()) != nullptr; }
  bool AllSkinned() const {
    return Skinned(controls_->Lst_Long) && Skinned(controls_->Lst_Wide) && Skinned(controls_->Lst_Off) &&
           SkinnerOf<TSkinScControl>(controls_->ScrollBarControl()) != nullptr;
  }
  // Switches the skin on or off at once (the manager's action, without its timer's wait), and lets
  // the windows settle on the screen unless told not to.
  void SkinOn(bool on, bool settle = true) {
    if (Skin().Active() != on || AllSkinned() != on) {
      Skin().SetActive(on);
      SkinManager->RunPendingAction();
    }
    ASSERT_TRUE(WaitUntil([&] { return AllSkinned() == on; }, 5s)) << "skin " << (on ? "on" : "off");
    if (settle) PumpFor(150ms);
  }
  void ResetLists() {
    for (TListBox* l : {controls_->Lst_Long, static_cast<TListBox*>(controls_->Lst_Wide), controls_->Lst_Off}) {
      SendMessageW(l->Handle(), LB_SETTOPINDEX, 0, 0);
    }
    SendMessageW(controls_->Lst_Wide->Handle(), WM_HSCROLL, SB_LEFT, 0);
    SetBarControl(0);
    PumpFor(100ms);
  }
  void SetBarControl(int pos) {
    SCROLLINFO si{};
    si.cbSize = sizeof(si);
    si.fMask = SIF_POS;
    si.nPos = pos;
    SetScrollInfo(controls_->ScrollBarControl(), SB_CTL, &si, TRUE);
  }
  int BarControlPos() const {
    SCROLLINFO si{};
    si.cbSize = sizeof(si);
    si.fMask = SIF_POS;
    GetScrollInfo(controls_->ScrollBarControl(), SB_CTL, &si);
    return si.nPos;
  }
  COLORREF Face() const { return SkinColourToRgb(Skin().ButtonFaceColour, GetSysColor(COLOR_BTNFACE)); }
  std::wstring ShotName(const std::string& what) const {
    return test::Utf8ToWide(what + "-" + GetParam().name);
  }

  TFrm_Gallery* gallery_ = nullptr;
  TFrm_GalleryControls* controls_ = nullptr;
};

TEST_P(SkinnedScrollBars, EveryBarIsDrawnFromTheSkinWhereTheSystemHasIt) {
  TSkinData& sd = Skin();
  // One vertical bar, from the top of the list to its bottom inside the border, no corner.
  const HWND longList = controls_->Lst_Long->Handle();
  const SystemBar v = BarOfSystem(longList, OBJID_VSCROLL);
  EXPECT_TRUE(ShowsBar(sd, v));
  RECT window{};
  GetWindowRect(longList, &window);
  EXPECT_EQ(v.screen.bottom, window.bottom - 2) << "the bar ends at the list's border";
  // Its arrows are the skin's up and down cells (the middle of a cell, unless it is transparent).
  const Bitmap24& arrows = sd.Scrollbar->Image;
  const int cellWidth = arrows.Width() / sd.Scrollbar->Frame;
  const Bgr upMiddle = arrows.At(8 * cellWidth + cellWidth / 2, arrows.Height() / 2);
  if (!IsTransparent(upMiddle)) {
    const POINT up = v.FirstArrow();
    const ScreenGrab grab({up.x, v.screen.top + v.arrow / 2, up.x + 1, v.screen.top + v.arrow / 2 + 1});
    EXPECT_EQ(grab.Pixel(0, 0), RGB(upMiddle.r, upMiddle.g, upMiddle.b));
  }

  // Scrolled by the program: the thumb moves where the system puts it, still the skin's.
  SendMessageW(longList, LB_SETTOPINDEX, 30, 0);
  const SystemBar moved = BarOfSystem(longList, OBJID_VSCROLL);
  EXPECT_GT(moved.thumbTop, v.thumbTop);
  EXPECT_TRUE(ShowsBar(sd, moved));

  // Both bars: each the skin's, and the square between them in the face colour.
  const HWND wide = controls_->Lst_Wide->Handle();
  const SystemBar wv = BarOfSystem(wide, OBJID_VSCROLL);
  const SystemBar wh = BarOfSystem(wide, OBJID_HSCROLL);
  ASSERT_GT(wh.thumbBottom, wh.thumbTop) << "the wide list has a horizontal thumb";
  const RECT corner{wv.screen.left, wh.screen.top, wv.screen.right, wh.screen.bottom};
  // The system's bars reach one pixel into the corner (as it lays them out), the corner is filled last.
  EXPECT_TRUE(ShowsBar(sd, wv, {}, std::max<int>(0, wv.screen.bottom - corner.top)));
  EXPECT_TRUE(ShowsBar(sd, wh, {}, std::max<int>(0, wh.screen.right - corner.left)));
  EXPECT_TRUE(AllPixels(corner, Face()));

  // A disabled list: greyed arrows and track, no thumb.
  const SystemBar off = BarOfSystem(controls_->Lst_Off->Handle(), OBJID_VSCROLL);
  EXPECT_TRUE(ShowsBar(sd, SystemBar{off.screen, true, off.arrow, 0, 0, true}, {false, false, false, true}));

  // The scroll bar control, moved by the program.
  SetBarControl(450);
  const SystemBar control = BarOfSystem(controls_->ScrollBarControl(), OBJID_CLIENT);
  EXPECT_FALSE(control.vertical);
  EXPECT_GT(control.thumbTop, control.arrow);
  EXPECT_TRUE(ShowsBar(sd, control));
  test::SaveScreenshot(ShotName("scroll-bars"));
}

TEST_P(SkinnedScrollBars, ArrowsAndPageAreasScrollAndRepeatWhileHeld) {
  TListBox* list = controls_->Lst_Long;
  const HWND h = list->Handle();
  ScrollLog log(list);
  test::ClickAt(BarOfSystem(h, OBJID_VSCROLL).SecondArrow());
  EXPECT_TRUE(WaitUntil([&] { return TopIndex(list) == 1; }, 2s));
  test::ClickAt(BarOfSystem(h, OBJID_VSCROLL).SecondArrow());
  EXPECT_TRUE(WaitUntil([&] { return TopIndex(list) == 2; }, 2s));
  test::ClickAt(BarOfSystem(h, OBJID_VSCROLL).FirstArrow());
  EXPECT_TRUE(WaitUntil([&] { return TopIndex(list) == 1; }, 2s));
  EXPECT_EQ(log.Count(SB_LINEDOWN), 2);
  EXPECT_EQ(log.Count(SB_LINEUP), 1);
  EXPECT_EQ(log.Count(SB_ENDSCROLL), 3) << "each press ends with SB_ENDSCROLL";
  EXPECT_TRUE(log.systemCommands.empty()) << "the system never tracked the bar";

  // A page down and up: one page of rows each.
  const int rowsPerPage = RowsPerPage(h);
  test::ClickAt(BarOfSystem(h, OBJID_VSCROLL).PageAfterThumb());
  EXPECT_TRUE(WaitUntil([&] { return TopIndex(list) == 1 + rowsPerPage; }, 2s)) << TopIndex(list);
  test::ClickAt(BarOfSystem(h, OBJID_VSCROLL).PageBeforeThumb());
  EXPECT_TRUE(WaitUntil([&] { return TopIndex(list) == 1; }, 2s)) << TopIndex(list);

  // Held on the down arrow: it shows pressed and repeats until let go (looked at from inside the
  // press's loop, which runs until the hand lets go).
  const SystemBar bar = BarOfSystem(h, OBJID_VSCROLL);
  test::MoveMouseTo(bar.SecondArrow());
  const int before = TopIndex(list);
  int topWhileHeld = -1, badPixels = -1;
  g_whileHeld = [&] {
    topWhileHeld = TopIndex(list);
    const SystemBar now = BarOfSystem(h, OBJID_VSCROLL);
    badPixels = Mismatches(now.screen, ExpectedBar(Skin(), now, {false, true, false, false}), now.screen);
  };
  SetTimer(nullptr, 0, 500, WhileHeld);
  {
    HoldingHand hand(bar.SecondArrow(), 0, 800ms, 0);
    WaitUntil([&] { return hand.done.load(); }, 5s);
  }
  PumpFor(150ms);
  g_whileHeld = nullptr;
  EXPECT_GE(topWhileHeld, before + 3) << "the press repeated while held";
  EXPECT_EQ(badPixels, 0) << "the down arrow showed pressed";
  const int after = TopIndex(list);
  EXPECT_GT(after, topWhileHeld);
  PumpFor(200ms);
  EXPECT_EQ(TopIndex(list), after) << "and stopped when let go";
  EXPECT_TRUE(ShowsBar(Skin(), BarOfSystem(h, OBJID_VSCROLL))) << "the arrow is up again";
}

TEST_P(SkinnedScrollBars, ADraggedThumbEndsWhereTheSystemsOwnDragEnds) {
  TListBox* list = controls_->Lst_Long;
  const HWND h = list->Handle();
  // Drags relative to the thumb: a bit down, past the end, back over the first arrow.
  struct Result {
    int topAfterShortDrag, posAfterShortDrag, topAtEnd, posAtEnd, topAtStart;
  };
  const auto drags = [&] {
    Result r{};
    SendMessageW(h, LB_SETTOPINDEX, 0, 0);
    PumpFor(50ms);
    SystemBar bar = BarOfSystem(h, OBJID_VSCROLL);
    POINT from = bar.ThumbCentre();
    test::DragMouse(from, {from.x, from.y + 37});
    r.topAfterShortDrag = TopIndex(list);
    r.posAfterShortDrag = VerticalPos(h);
    bar = BarOfSystem(h, OBJID_VSCROLL);
    from = bar.ThumbCentre();
    test::DragMouse(from, {from.x, bar.screen.bottom + 20});
    r.topAtEnd = TopIndex(list);
    r.posAtEnd = VerticalPos(h);
    bar = BarOfSystem(h, OBJID_VSCROLL);
    from = bar.ThumbCentre();
    test::DragMouse(from, {from.x, bar.screen.top - 10});
    r.topAtStart = TopIndex(list);
    return r;
  };
  SkinOn(false);
  const Result plain = drags();
  SkinOn(true);
  ScrollLog log(list);
  const Result skinned = drags();
  EXPECT_EQ(skinned.topAfterShortDrag, plain.topAfterShortDrag);
  EXPECT_EQ(skinned.posAfterShortDrag, plain.posAfterShortDrag);
  EXPECT_GT(skinned.topAfterShortDrag, 0);
  EXPECT_EQ(skinned.topAtEnd, plain.topAtEnd);
  EXPECT_EQ(skinned.posAtEnd, plain.posAtEnd);
  EXPECT_EQ(skinned.topAtEnd, list->Count() - RowsPerPage(h)) << "the last page";
  EXPECT_EQ(skinned.topAtStart, 0);
  // The list followed the thumb during the drag, and each drag ended as the system's does.
  EXPECT_GE(log.Count(SB_THUMBTRACK), 3);
  EXPECT_EQ(log.Count(SB_THUMBPOSITION), 3);
  EXPECT_EQ(log.Count(SB_ENDSCROLL), 3);
  EXPECT_TRUE(log.systemCommands.empty()) << "the system never dragged its own thumb";
  // The thumb is back where the system has it, in the skin.
  EXPECT_TRUE(ShowsBar(Skin(), BarOfSystem(h, OBJID_VSCROLL)));
}

TEST_P(SkinnedScrollBars, TheThumbShowsDraggedWhileHeldAndDoubleClicksAreTheSkinners) {
  TListBox* list = controls_->Lst_Long;
  const HWND h = list->Handle();
  auto* skinner = SkinnerOf<TSkinScrollbar>(h);
  ASSERT_NE(skinner, nullptr);
  ScrollLog log(list);
  const SystemBar bar = BarOfSystem(h, OBJID_VSCROLL);
  const POINT from = bar.ThumbCentre();
  test::MoveMouseTo(from);
  bool trackingWhileHeld = false;
  int badPixels = -1;
  g_whileHeld = [&] {
    trackingWhileHeld = skinner->Tracking();
    badPixels = Mismatches(bar.screen, ExpectedBar(Skin(), bar, {false, false, true, false}), bar.screen);
  };
  SetTimer(nullptr, 0, 400, WhileHeld);
  {
    HoldingHand hand(from, 0, 700ms, 0);
    WaitUntil([&] { return hand.done.load(); }, 5s);
  }
  PumpFor(100ms);
  g_whileHeld = nullptr;
  EXPECT_TRUE(trackingWhileHeld);
  EXPECT_EQ(badPixels, 0) << "the dragged cell";
  EXPECT_FALSE(skinner->Tracking());
  EXPECT_TRUE(ShowsBar(Skin(), BarOfSystem(h, OBJID_VSCROLL)));

  // A double click on the thumb, and on an arrow: the skinner's, never the system's tracking.
  test::DoubleClickAt(BarOfSystem(h, OBJID_VSCROLL).ThumbCentre());
  PumpFor(100ms);
  EXPECT_EQ(TopIndex(list), 0);
  test::DoubleClickAt(BarOfSystem(h, OBJID_VSCROLL).SecondArrow());
  EXPECT_TRUE(WaitUntil([&] { return TopIndex(list) == 2; }, 2s)) << "two presses, two lines";
  EXPECT_TRUE(log.systemCommands.empty());
  EXPECT_TRUE(ShowsBar(Skin(), BarOfSystem(h, OBJID_VSCROLL)));
}

TEST_P(SkinnedScrollBars, ADragEndsWhenTheCaptureGoesOrAMessageBoxComes) {
  TListBox* list = controls_->Lst_Long;
  const HWND h = list->Handle();
  auto* skinner = SkinnerOf<TSkinScrollbar>(h);
  ASSERT_NE(skinner, nullptr);
  for (const bool messageBox : {false, true}) {
    SCOPED_TRACE(messageBox ? "a message box" : "WM_CANCELMODE");
    SendMessageW(h, LB_SETTOPINDEX, 0, 0);
    PumpFor(50ms);
    const POINT from = BarOfSystem(h, OBJID_VSCROLL).ThumbCentre();
    test::MoveMouseTo(from);
    int topWhenLost = -1;
    test::MessageBoxWatcher watcher(GetCurrentThreadId(), 200ms);
    g_whileHeld = [&] {
      if (messageBox) {
        MessageBoxW(controls_->Handle(), L"Rest a while", L"Reminder", MB_OK);
      } else {
        SendMessageW(h, WM_CANCELMODE, 0, 0);
      }
      topWhenLost = TopIndex(list);
    };
    SetTimer(nullptr, 0, 250, WhileHeld);
    {
      HoldingHand hand(from, 30, 900ms, 40);
      EXPECT_TRUE(WaitUntil([&] { return topWhenLost >= 0; }, 5s));
      EXPECT_TRUE(WaitUntil([&] { return !skinner->Tracking(); }, 2s)) << "the drag ended before the release";
      EXPECT_FALSE(hand.done.load());
      EXPECT_NE(GetCapture(), h);
      WaitUntil([&] { return hand.done.load(); }, 5s);
    }
    PumpFor(150ms);
    g_whileHeld = nullptr;
    EXPECT_GT(topWhenLost, 0) << "the list had followed the thumb";
    EXPECT_EQ(TopIndex(list), topWhenLost) << "moves after the capture went do not scroll";
    if (messageBox) {
      EXPECT_EQ(watcher.Seen().size(), 1u);
    }
    EXPECT_TRUE(ShowsBar(Skin(), BarOfSystem(h, OBJID_VSCROLL))) << "the thumb is let go";
  }
}

TEST_P(SkinnedScrollBars, WmQuitDuringADragEndsItAndReachesTheProgramsLoop) {
  TListBox* list = controls_->Lst_Long;
  const HWND h = list->Handle();
  auto* skinner = SkinnerOf<TSkinScrollbar>(h);
  ASSERT_NE(skinner, nullptr);
  const POINT from = BarOfSystem(h, OBJID_VSCROLL).ThumbCentre();
  test::MoveMouseTo(from);
  int topAtQuit = -1;
  g_whileHeld = [&] {
    topAtQuit = TopIndex(list);
    PostQuitMessage(7);
  };
  SetTimer(nullptr, 0, 250, WhileHeld);
  // The program's own loop, here: it must see the WM_QUIT (the application object would end).
  std::optional<WPARAM> quit;
  {
    HoldingHand hand(from, 30, 500ms, 40);
    const auto until = std::chrono::steady_clock::now() + 5s;
    while (!hand.done && std::chrono::steady_clock::now() < until) {
      MSG msg;
      while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
          quit = msg.wParam;
          EXPECT_FALSE(skinner->Tracking()) << "the drag is over when the loop gets it";
          continue;
        }
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
      }
      Sleep(5);
    }
  }
  g_whileHeld = nullptr;
  PumpFor(100ms);
  ASSERT_TRUE(quit.has_value());
  EXPECT_EQ(*quit, 7u);
  EXPECT_GT(topAtQuit, 0);
  EXPECT_EQ(TopIndex(list), topAtQuit);
  EXPECT_NE(GetCapture(), h);
}

TEST_P(SkinnedScrollBars, FreeingTheControlDuringADragStopsTheDrag) {
  auto* form = new TForm(Application);
  form->SetBounds(120, 120, 220, 220);
  auto* list = new TListBox(form);
  list->SetParent(form);
  list->SetBounds(10, 10, 150, 150);
  for (int i = 0; i < 50; ++i) list->Items()->Add(u"row " + Widen(std::to_string(i)));
  form->Show();
  const HWND h = list->Handle();
  ASSERT_TRUE(WaitUntil([&] { return SkinnerOf<TSkinScrollbar>(h) != nullptr; }, 5s));
  TWinSkinForm* formSkinner = FormSkinnerOf(h);
  const POINT from = BarOfSystem(h, OBJID_VSCROLL).ThumbCentre();
  test::MoveMouseTo(from);
  bool freed = false;
  g_whileHeld = [&] {
    delete list;
    freed = true;
  };
  SetTimer(nullptr, 0, 250, WhileHeld);
  {
    HoldingHand hand(from, 30, 400ms, 30);
    EXPECT_TRUE(WaitUntil([&] { return freed; }, 5s));
    WaitUntil([&] { return hand.done.load(); }, 5s);
  }
  g_whileHeld = nullptr;
  PumpFor(100ms);
  EXPECT_FALSE(IsWindow(h));
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_EQ(formSkinner->FindControlSkinner(h), nullptr);
  for (TSkinControl* s : formSkinner->ControlSkinners()) EXPECT_NE(s->Handle(), h);
  delete form;
  PumpFor(50ms);
}

TEST_P(SkinnedScrollBars, TheScrollBarControlIsTheSkinsAndItsOwnDragEndsAsTheSystemsDoes) {
  const HWND bar = controls_->ScrollBarControl();
  ASSERT_NE(SkinnerOf<TSkinScControl>(bar), nullptr);
  // Its arrows and page areas step the value its parent keeps.
  test::ClickAt(BarOfSystem(bar, OBJID_CLIENT).SecondArrow());
  EXPECT_TRUE(WaitUntil([&] { return BarControlPos() == 1; }, 2s));
  test::ClickAt(BarOfSystem(bar, OBJID_CLIENT).PageAfterThumb());
  EXPECT_TRUE(WaitUntil([&] { return BarControlPos() == 1 + TFrm_GalleryControls::kBarPage; }, 2s));
  test::ClickAt(BarOfSystem(bar, OBJID_CLIENT).FirstArrow());
  EXPECT_TRUE(WaitUntil([&] { return BarControlPos() == TFrm_GalleryControls::kBarPage; }, 2s));
  EXPECT_TRUE(ShowsBar(Skin(), BarOfSystem(bar, OBJID_CLIENT)));
  EXPECT_EQ(controls_->Lab_Bar->Caption(), u"Scroll bar 滚动条: " + Widen(std::to_string(BarControlPos())));

  // The same drags with and without the skin end at the same value.
  const auto drags = [&] {
    std::vector<int> values;
    SetBarControl(0);
    PumpFor(50ms);
    // A little to the right, past the right end, then far from the bar (the thumb goes back where
    // it was taken) and past the left end: past the ends within the distance the system still
    // counts as dragging.
    const SystemBar b = BarOfSystem(bar, OBJID_CLIENT);
    const auto dragThumb = [&](auto to) {
      const POINT from = BarOfSystem(bar, OBJID_CLIENT).ThumbCentre();
      test::DragMouse(from, to(from));
      values.push_back(BarControlPos());
    };
    dragThumb([](POINT f) { return POINT{f.x + 23, f.y}; });
    dragThumb([&](POINT f) { return POINT{b.screen.right + 20, f.y}; });
    dragThumb([](POINT f) { return POINT{f.x - 60, f.y + 200}; });
    dragThumb([&](POINT f) { return POINT{b.screen.left - 20, f.y}; });
    return values;
  };
  SkinOn(false);
  const std::vector<int> plain = drags();
  SkinOn(true);
  const std::vector<int> skinned = drags();
  EXPECT_EQ(skinned, plain);
  ASSERT_EQ(skinned.size(), 4u);
  EXPECT_GT(skinned[0], 0);
  EXPECT_EQ(skinned[1], TFrm_GalleryControls::kBarMax - TFrm_GalleryControls::kBarPage + 1);
  EXPECT_EQ(skinned[2], skinned[1]);
  EXPECT_EQ(skinned[3], 0);
  EXPECT_TRUE(ShowsBar(Skin(), BarOfSystem(bar, OBJID_CLIENT)));
}

TEST_P(SkinnedScrollBars, AHoverThatChangesNothingPaintsNothing) {
  const HWND h = controls_->Lst_Long->Handle();
  auto* skinner = SkinnerOf<TSkinScrollbar>(h);
  auto* control = SkinnerOf<TSkinScControl>(controls_->ScrollBarControl());
  ASSERT_NE(skinner, nullptr);
  ASSERT_NE(control, nullptr);
  PumpFor(100ms);
  const int listPaints = skinner->BarPaints();
  const int controlPaints = control->BarPaints();
  const SystemBar bar = BarOfSystem(h, OBJID_VSCROLL);
  const SystemBar other = BarOfSystem(controls_->ScrollBarControl(), OBJID_CLIENT);
  for (const POINT p : {bar.ThumbCentre(), bar.FirstArrow(), bar.SecondArrow(), test::CentreOf(h),
                        other.ThumbCentre(), other.SecondArrow(), test::BesideOf(controls_->Handle())}) {
    test::MoveMouseTo(p);
  }
  PumpFor(200ms);
  EXPECT_EQ(skinner->BarPaints(), listPaints);
  EXPECT_EQ(control->BarPaints(), controlPaints);
}

TEST_P(SkinnedScrollBars, APaintIntoADcOfTheMessageNeverGetsTheBars) {
  const HWND h = controls_->Lst_Long->Handle();
  auto* skinner = SkinnerOf<TSkinScrollbar>(h);
  ASSERT_NE(skinner, nullptr);
  // The framework's double-buffered paint hands the control a bitmap of its client: here a bitmap
  // as large as the whole window, so bars painted in window coordinates would land in it.
  RECT window{};
  GetWindowRect(h, &window);
  const int w = window.right - window.left, hgt = window.bottom - window.top;
  UniqueMemoryDc memory(CreateCompatibleDC(nullptr));
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  bi.bmiHeader.biWidth = w;
  bi.bmiHeader.biHeight = -hgt;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  UniqueBitmap bitmap(CreateDIBSection(memory.Get(), &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
  ASSERT_TRUE(bitmap.Get());
  SelectedObject selected(memory.Get(), bitmap.Get());
  auto* pixels = static_cast<DWORD*>(bits);
  std::fill(pixels, pixels + w * hgt, 0x00123456u);
  const int before = skinner->BarPaints();
  SendMessageW(h, WM_PAINT, reinterpret_cast<WPARAM>(memory.Get()), 0);
  GdiFlush();
  EXPECT_EQ(skinner->BarPaints(), before);
  const SystemBar bar = BarOfSystem(h, OBJID_VSCROLL);
  const int barLeft = bar.screen.left - window.left;
  int touched = 0;
  for (int y = 0; y < hgt; ++y) {
    for (int x = barLeft; x < w; ++x) touched += pixels[y * w + x] != 0x00123456u;
  }
  EXPECT_EQ(touched, 0) << "no bar in the client's bitmap";
  // The framework's own double-buffered paint leaves the bars on the screen as they were.
  controls_->Lst_Long->SetDoubleBuffered(true);
  RedrawWindow(h, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW);
  EXPECT_TRUE(ShowsBar(Skin(), BarOfSystem(h, OBJID_VSCROLL)));
  controls_->Lst_Long->SetDoubleBuffered(false);
}

TEST_P(SkinnedScrollBars, PositionsBeyondSixteenBitsReachTheReceiverWhole) {
  // A window of its own with a range of a million, its bar skinned by hand (its frame left alone).
  test::TestWindow window(false, {300, 200, 520, 420});
  const HWND h = window.Get();
  SCROLLINFO si{};
  si.cbSize = sizeof(si);
  si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
  si.nMax = 1000000;
  si.nPage = 50000;
  SetScrollInfo(h, SB_VERT, &si, TRUE);
  std::vector<int> tracked, highWords;
  window.OnMessage = [&](UINT msg, WPARAM wParam, LPARAM, LRESULT& result) {
    if (msg == WM_SKIN_QUERY) {
      result = 1;
      return true;
    }
    if (msg != WM_VSCROLL) return false;
    SCROLLINFO info{};
    info.cbSize = sizeof(info);
    info.fMask = SIF_ALL;
    GetScrollInfo(h, SB_VERT, &info);
    if (LOWORD(wParam) == SB_THUMBTRACK || LOWORD(wParam) == SB_THUMBPOSITION) {
      tracked.push_back(info.nTrackPos);
      highWords.push_back(HIWORD(wParam));
      info.fMask = SIF_POS;
      info.nPos = info.nTrackPos;
      SetScrollInfo(h, SB_VERT, &info, TRUE);
    }
    result = 0;
    return true;
  };
  ShowWindow(h, SW_SHOW);
  PumpFor(200ms);
  ASSERT_EQ(FormSkinnerOf(h), nullptr);
  const auto drag = [&] {
    tracked.clear();
    highWords.clear();
    SCROLLINFO start{sizeof(start), SIF_POS, 0, 0, 0, 0, 0};
    SetScrollInfo(h, SB_VERT, &start, TRUE);
    PumpFor(50ms);
    const POINT from = BarOfSystem(h, OBJID_VSCROLL).ThumbCentre();
    test::DragMouse(from, {from.x, from.y + 70});
    return VerticalPos(h);
  };
  const int plain = drag();
  auto skinner = std::make_unique<TSkinScrollbar>(nullptr);
  skinner->AttachWindow(h, &Skin(), nullptr);
  ASSERT_TRUE(skinner->Attached());
  PumpFor(100ms);
  EXPECT_TRUE(ShowsBar(Skin(), BarOfSystem(h, OBJID_VSCROLL)));
  const int skinned = drag();
  EXPECT_EQ(skinned, plain);
  EXPECT_GT(skinned, 65535);
  ASSERT_FALSE(tracked.empty());
  EXPECT_EQ(tracked.back(), skinned);
  EXPECT_GT(*std::max_element(tracked.begin(), tracked.end()), 65535) << "full positions while dragging";
  EXPECT_EQ(highWords.back(), skinned & 0xFFFF) << "the message itself carries the low 16 bits, as the system's";
  EXPECT_TRUE(ShowsBar(Skin(), BarOfSystem(h, OBJID_VSCROLL)));

  // A page larger than the range, and an empty range: a disabled bar that does nothing.
  for (const auto& [min, max, page] : {std::tuple{0, 9, 50u}, std::tuple{5, 5, 0u}}) {
    SCROLLINFO odd{};
    odd.cbSize = sizeof(odd);
    odd.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL;
    odd.nMin = min;
    odd.nMax = max;
    odd.nPage = page;
    SetScrollInfo(h, SB_VERT, &odd, TRUE);
    PumpFor(50ms);
    const SystemBar bar = BarOfSystem(h, OBJID_VSCROLL);
    EXPECT_TRUE(bar.unavailable);
    tracked.clear();
    test::DragMouse(bar.At(bar.Length() / 2), bar.At(bar.Length() / 2 + 30));
    test::ClickAt(bar.SecondArrow());
    EXPECT_TRUE(tracked.empty());
    EXPECT_EQ(VerticalPos(h), min);
    EXPECT_TRUE(ShowsBar(Skin(), SystemBar{bar.screen, true, bar.arrow, 0, 0, true}, {false, false, false, true}));
  }
  skinner.reset();
}

TEST_P(SkinnedScrollBars, ABarShorterThanTwoArrowsHasHalfArrowsAndNoThumb) {
  auto* form = new TForm(Application);
  form->SetBounds(140, 140, 200, 120);
  auto* list = new TListBox(form);
  list->SetParent(form);
  list->SetBounds(10, 10, 120, 2 * GetSystemMetrics(SM_CYVSCROLL) - 6);
  for (int i = 0; i < 30; ++i) list->Items()->Add(u"row " + Widen(std::to_string(i)));
  form->Show();
  const HWND h = list->Handle();
  ASSERT_TRUE(WaitUntil([&] { return SkinnerOf<TSkinScrollbar>(h) != nullptr; }, 5s));
  PumpFor(200ms);  // the skinned frame has fitted the form
  SystemBar bar = BarOfSystem(h, OBJID_VSCROLL);
  ASSERT_LT(bar.Length(), 2 * bar.arrow);
  bar.thumbTop = bar.thumbBottom = 0;
  EXPECT_TRUE(ShowsBar(Skin(), bar));
  // Its halves are its arrows.
  test::ClickAt(BarOfSystem(h, OBJID_VSCROLL).At(bar.Length() - 2));
  EXPECT_TRUE(WaitUntil([&] { return TopIndex(list) == 1; }, 2s));
  test::ClickAt(BarOfSystem(h, OBJID_VSCROLL).At(1));
  EXPECT_TRUE(WaitUntil([&] { return TopIndex(list) == 0; }, 2s));
  delete form;
  PumpFor(50ms);
}

TEST_P(SkinnedScrollBars, OnlySizeBoxesAndGripsGetTheSizerAndADialogsBarsStayVisible) {
  // The kinds by class and style.
  EXPECT_EQ(KindOfChildWindow(u"scrollbar", SBS_SIZEGRIP), SkinnerKind::kSizer);
  EXPECT_EQ(KindOfChildWindow(u"scrollbar", SBS_SIZEBOX | SBS_SIZEBOXBOTTOMRIGHTALIGN), SkinnerKind::kSizer);
  EXPECT_EQ(KindOfChildWindow(u"scrollbar", SBS_HORZ), SkinnerKind::kScrollControl);
  EXPECT_EQ(KindOfChildWindow(u"scrollbar", SBS_VERT | SBS_RIGHTALIGN), SkinnerKind::kScrollControl);
  EXPECT_EQ(KindOfChildWindow(u"scrollbar", SBS_HORZ | SBS_BOTTOMALIGN), SkinnerKind::kScrollControl);

  // A window without a form object, with a grip and a real bar: skinned as it is shown.
  test::TestWindow window(false, {320, 160, 560, 360}, RGB(255, 255, 255), L"dialog of bars");
  const HWND h = window.Get();
  const HWND grip = CreateWindowExW(0, L"SCROLLBAR", L"", WS_CHILD | WS_VISIBLE | SBS_SIZEGRIP, 180, 120, 20, 20, h,
                                    nullptr, nullptr, nullptr);
  const HWND bar = CreateWindowExW(0, L"SCROLLBAR", L"", WS_CHILD | WS_VISIBLE | SBS_VERT, 10, 10, 18, 140, h,
                                   nullptr, nullptr, nullptr);
  SCROLLINFO si{sizeof(si), SIF_RANGE | SIF_PAGE | SIF_POS, 0, 100, 20, 40, 0};
  SetScrollInfo(bar, SB_CTL, &si, TRUE);
  ShowWindow(h, SW_SHOW);
  ASSERT_TRUE(WaitUntil([&] { return SkinnerOf<TSkinScControl>(bar) != nullptr; }, 5s));
  EXPECT_NE(SkinnerOf<TSkinSizer>(grip), nullptr);
  PumpFor(100ms);
  EXPECT_TRUE(ShowsBar(Skin(), BarOfSystem(bar, OBJID_CLIENT))) << "the real bar shows, in the skin";
  // The grip: the face colour in a frame of the skin's button shadow.
  RECT r{};
  GetWindowRect(grip, &r);
  const COLORREF shadow = SkinColourToRgb(Skin().ButtonShadowColour, GetSysColor(COLOR_BTNSHADOW));
  EXPECT_TRUE(WaitUntil([&] { return AllPixels({r.left + 1, r.top + 1, r.right - 1, r.bottom - 1}, Face()); }, 2s));
  EXPECT_TRUE(AllPixels({r.left, r.top, r.right, r.top + 1}, shadow));
  EXPECT_TRUE(AllPixels({r.left, r.bottom - 1, r.right, r.bottom}, shadow));
  // Its paints keep no GDI object.
  const int before = test::GdiObjectCount();
  for (int i = 0; i < 300; ++i) RedrawWindow(grip, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  EXPECT_EQ(test::GdiObjectCount(), before);
}

TEST_P(SkinnedScrollBars, HandlesStayFlatOverRepaintsHoversAndSkinSwitches) {
  const HWND lists[] = {controls_->Lst_Long->Handle(), controls_->Lst_Wide->Handle(), controls_->Lst_Off->Handle()};
  const HWND control = controls_->ScrollBarControl();
  const SystemBar bar = BarOfSystem(lists[0], OBJID_VSCROLL);
  const auto cycle = [&](int i) {
    // The skin's paints of every bar; now and then the system's whole paint too, and a scroll.
    for (HWND h : lists) SkinnerOf<TSkinScrollbar>(h)->DrawNow(nullptr);
    SkinnerOf<TSkinScControl>(control)->DrawNow(nullptr);
    if (i % 20 == 0) {
      for (HWND h : lists) RedrawWindow(h, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW);
      RedrawWindow(control, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    }
    if (i % 10 == 0) SendMessageW(lists[0], LB_SETTOPINDEX, i % 7, 0);
    // A hover over the bar and over the list, as the system reports it.
    POINT inList = test::CentreOf(lists[0]);
    ScreenToClient(lists[0], &inList);
    const POINT onBar = bar.ThumbCentre();
    SendMessageW(lists[0], WM_NCMOUSEMOVE, HTVSCROLL, MAKELPARAM(onBar.x, onBar.y));
    SendMessageW(lists[0], WM_MOUSEMOVE, 0, MAKELPARAM(inList.x, inList.y));
  };
  for (int i = 0; i < 20; ++i) cycle(i);
  PumpFor(100ms);
  const int before = test::GdiObjectCount();
  ASSERT_GT(before, 0);
  for (int i = 0; i < 1000; ++i) cycle(i);
  PumpFor(100ms);
  EXPECT_EQ(test::GdiObjectCount(), before) << "1000 repaints and hovers";

  // The first switches make what the skin keeps for good (surfaces grown to size, the frames).
  for (int i = 0; i < 3; ++i) {
    SkinOn(false, false);
    SkinOn(true, false);
  }
  PumpFor(200ms);
  const int switched = test::GdiObjectCount();
  for (int i = 0; i < 200; ++i) {
    SkinOn(false, false);
    SkinOn(true, false);
  }
  PumpFor(200ms);
  EXPECT_EQ(test::GdiObjectCount(), switched) << "200 skin switches";
}

TEST_P(SkinnedScrollBars, WithoutTheSkinTheControlsLookTheirOwnAgain) {
  const HWND h = controls_->Lst_Wide->Handle();
  const HWND bar = controls_->ScrollBarControl();
  RECT listRect{}, barRect{};
  GetWindowRect(h, &listRect);
  GetWindowRect(bar, &barRect);
  SkinOn(false);
  // No skinner is left in the controls' chains.
  EXPECT_EQ(SkinnersOwnedBy(controls_->Lst_Long), 0);
  EXPECT_EQ(SkinnersOwnedBy(controls_->Lst_Wide), 0);
  EXPECT_EQ(FormSkinnerOf(bar), nullptr);
  PumpFor(300ms);
  GetWindowRect(h, &listRect);
  GetWindowRect(bar, &barRect);
  const std::vector<COLORREF> plainList = ScreenGrab(listRect).Pixels();
  const std::vector<COLORREF> plainBar = ScreenGrab(barRect).Pixels();
  SkinOn(true);
  const SystemBar v = BarOfSystem(h, OBJID_VSCROLL);
  const SystemBar hb = BarOfSystem(h, OBJID_HSCROLL);
  EXPECT_TRUE(ShowsBar(Skin(), v, {}, std::max<int>(0, v.screen.bottom - hb.screen.top)));
  SkinOn(false);
  PumpFor(300ms);
  EXPECT_TRUE(WaitUntil([&] { return ScreenGrab(listRect).Pixels() == plainList; }, 3s)) << "the list's own look";
  EXPECT_TRUE(WaitUntil([&] { return ScreenGrab(barRect).Pixels() == plainBar; }, 3s)) << "the bar's own look";
  test::SaveScreenshot(ShotName("scroll-bars-unskinned"));
}

TEST_P(SkinnedScrollBars, ASkinLoadedAtRunTimeRepaintsTheBars) {
  // The other skin, from its file.
  const std::string other = std::string(GetParam().name) == "Slate" ? kPine.file : QLT_SKIN_BUILD_DIR "/QLTSkin.skin";
  const TColor face = Skin().ButtonFaceColour;
  Skin().SetSkinFile(Widen(other));
  ASSERT_FALSE(Skin().NoSkin);
  ASSERT_NE(Skin().ButtonFaceColour, face);
  SkinManager->RunPendingAction();
  PumpFor(200ms);
  EXPECT_TRUE(ShowsBar(Skin(), BarOfSystem(controls_->Lst_Long->Handle(), OBJID_VSCROLL)));
  EXPECT_TRUE(ShowsBar(Skin(), BarOfSystem(controls_->ScrollBarControl(), OBJID_CLIENT)));
  // The gallery is made again with its own skin for the next test.
  GalleryHost::Get().Close();
  controls_ = nullptr;
}

// ---- QLT's main window: its two process lists ----

// The main window's description as QLT carries it, without its event bindings (the look only) and
// without its skin component (the build puts the skin there; the gallery's skin is used here).
class TMainWindowLook : public TForm {
  QLT_CLASS(TMainWindowLook)
 public:
  explicit TMainWindowLook(TComponent* owner) : TForm(owner) {}
};
const TClassInfo& TMainWindowLook::StaticClass() {
  static const TClassInfo info = ClassBuilder<TMainWindowLook, TForm>("TMainWindowLook").Build();
  return info;
}

std::string MainWindowDescription() {
  HRSRC found = FindResourceW(nullptr, L"QLT_MAIN_FORM", reinterpret_cast<LPCWSTR>(RT_RCDATA));
  if (!found) return {};
  const auto* data = static_cast<const char*>(LockResource(LoadResource(nullptr, found)));
  std::string text(data, SizeofResource(nullptr, found));
  std::string out;
  size_t at = 0;
  bool inSkinComponent = false;
  bool inIconData = false;
  while (at < text.size()) {
    size_t end = text.find('\n', at);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(at, end - at + 1);
    at = end + 1;
    const size_t word = line.find_first_not_of(' ');
    if (line.find(": TSkinData") != std::string::npos) inSkinComponent = true;
    if (inSkinComponent) {
      if (word != std::string::npos && line.compare(word, 3, "end") == 0) inSkinComponent = false;
      continue;
    }
    if (word != std::string::npos && line.compare(word, 2, "On") == 0 && line.find(" = ") != std::string::npos) {
      continue;  // an event binding
    }
    // The build's icon: its data runs over many lines up to the closing brace.
    if (inIconData || (word != std::string::npos && line.compare(word, 12, "Icon.Data = ") == 0)) {
      inIconData = line.find('}') == std::string::npos;
      continue;
    }
    if (const size_t cls = line.find(": TFrm_Main"); cls != std::string::npos) line.replace(cls, 11, ": TMainWindowLook");
    out += line;
  }
  return out;
}

TEST_P(SkinnedScrollBars, QltsProcessListsAreTheSkins) {
  static const bool registered = [] {
    RegisterComponentClass<TMainWindowLook>();
    return true;
  }();
  ASSERT_TRUE(registered);
  const std::string text = MainWindowDescription();
  ASSERT_FALSE(text.empty());
  auto* form = NewFormFromText<TMainWindowLook>(Application, text);
  form->SetBounds(200, 150, form->Width(), form->Height());
  auto* all = dynamic_cast<TListBox*>(form->FindComponent(u"Lst_ALLP"));
  auto* chosen = dynamic_cast<TListBox*>(form->FindComponent(u"Lst_SelectP"));
  ASSERT_NE(all, nullptr);
  ASSERT_NE(chosen, nullptr);
  for (int i = 0; i < 40; ++i) all->Items()->Add(u"program" + Widen(std::to_string(i)) + u".exe");
  for (int i = 0; i < 25; ++i) chosen->Items()->Add(u"选中" + Widen(std::to_string(i)) + u".exe");
  form->Show();
  ASSERT_TRUE(WaitUntil(
      [&] { return SkinnerOf<TSkinScrollbar>(all->Handle()) && SkinnerOf<TSkinScrollbar>(chosen->Handle()); }, 5s));
  PumpFor(200ms);
  EXPECT_TRUE(ShowsBar(Skin(), BarOfSystem(all->Handle(), OBJID_VSCROLL)));
  EXPECT_TRUE(ShowsBar(Skin(), BarOfSystem(chosen->Handle(), OBJID_VSCROLL)));
  // Scrolled with the real mouse.
  test::ClickAt(BarOfSystem(all->Handle(), OBJID_VSCROLL).SecondArrow());
  EXPECT_TRUE(WaitUntil([&] { return TopIndex(all) == 1; }, 2s));
  EXPECT_TRUE(ShowsBar(Skin(), BarOfSystem(all->Handle(), OBJID_VSCROLL)));
  test::SaveScreenshot(ShotName("qlt-main-lists"));
  delete form;
  PumpFor(50ms);
}

INSTANTIATE_TEST_SUITE_P(Slate, SkinnedScrollBars, ::testing::Values(kSlate));
INSTANTIATE_TEST_SUITE_P(Pine, SkinnedScrollBars, ::testing::Values(kPine));

}  // namespace
}  // namespace qlt
