// The skinned frame of the real QLT.exe, held on the screen to the default skin's objects: the main
// window, shown from the tray menu, answers the skin's query; its edges and title buttons show the
// skin's cells (active, then inactive once another window is active), its region leaves out the
// transparent pixels, and its client area keeps the designed size. The skin's close button, pressed
// and released with the mouse, only hides it; the skinned system menu opens on a right click of the
// title and its "Close" ends QLT as "退出" does. The hotkey dialog, the IP/DNS dialog and a message
// box wear the frame too; the message box, a dialog, shows no icon.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "resources/skin/generator/PngWriter.h"
#include "skin/data/StateCells.h"
#include "skin/data/WinSkinData.h"
#include "skin/frame/FrameLayout.h"
#include "skin/frame/SkinPixels.h"
#include "tests/e2e/Desktop.h"
#include "tests/e2e/QltData.h"
#include "tests/e2e/QltSession.h"
#include "tests/win/SkinOnScreen.h"
#include "ui/Handles.h"

namespace qlt::e2e {
namespace {

constexpr UINT kSkinQuery = 0x3504;  // a skinned window answers 1

bool AnswersSkinQuery(HWND window) {
  DWORD_PTR answer = 0;
  return SendMessageTimeoutW(window, kSkinQuery, 0, 0, SMTO_ABORTIFHUNG, 5000, &answer) && answer == 1;
}

// What a window is by its description: its border, the boxes it has, the client size it is made with.
struct Design {
  TBorderKind kind = bkSizeable;
  std::uint8_t boxFlags = 0;
  SIZE client{-1, -1};  // -1: the description gives the outer size only
};

Design DesignOf(const DfmObject& form) {
  Design d;
  const DfmProperty* style = form.Find("BorderStyle");
  const std::string border = style ? style->value.ident : "bsSizeable";
  if (border == "bsSingle" || border == "bsToolWindow") d.kind = bkSingle;
  if (border == "bsDialog") d.kind = bkDialog;
  if (border == "bsNone") d.kind = bkNone;
  const DfmProperty* icons = form.Find("BorderIcons");
  const std::vector<std::string> set =
      icons ? icons->value.set : std::vector<std::string>{"biSystemMenu", "biMinimize", "biMaximize"};
  auto has = [&](const char* icon) { return std::find(set.begin(), set.end(), icon) != set.end(); };
  const bool boxes = border == "bsSingle" || border == "bsSizeable";
  if (border != "bsNone" && has("biSystemMenu")) {
    d.boxFlags |= boxflag::kSystemMenu;
    if (boxes && has("biMinimize")) d.boxFlags |= boxflag::kMinimize;
    if (boxes && has("biMaximize")) d.boxFlags |= boxflag::kMaximize;
  }
  if (const DfmProperty* w = form.Find("ClientWidth")) d.client.cx = static_cast<int>(w->value.integer);
  if (const DfmProperty* h = form.Find("ClientHeight")) d.client.cy = static_cast<int>(h->value.integer);
  return d;
}

// How a window's frame should look: the skin, what the window is, whether it is active, and one title
// button in another state than at rest.
struct FrameLook {
  const TSkinContent* skin = nullptr;
  Design design;
  bool active = true;
  const TDataSkinSysButton* hot = nullptr;
  int hotState = kButtonHot;
};

COLORREF ToColorRef(Pixel32 p) { return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF); }

// The frame a window of the given size must show, composed from the skin's objects as the skin
// defines it: each edge nine-sliced from the cell of the window's state, the title buttons over it.
// Each pixel of the non-client area is either held to the composition (inside the window's region),
// cut away by the region (a transparent pixel of an edge that shapes the window), or not compared:
// the caption's band shows text, the icon button the window's icon, and buttons placed beside the
// caption move with its text.
class ExpectedFrame {
 public:
  enum Use : std::uint8_t { kClient, kNotCompared, kShown, kCut };

  ExpectedFrame(const FrameLook& look, SIZE size)
      : w_(size.cx), h_(size.cy), pixels_(size.cx, size.cy), use_(size.cx * size.cy, kClient) {
    const TSkinContent& skin = *look.skin;
    const Design& design = look.design;
    const bool active = look.active;
    m_ = ComputeFrameMetrics(skin, design.kind);
    const PixelView view = pixels_.View();
    DrawEdge(view, {0, 0, m_.left, h_}, *skin.LeftBorder, CellLayout::kSideBySide, active);
    DrawEdge(view, {w_ - m_.right, 0, w_, h_}, *skin.RightBorder, CellLayout::kSideBySide, active);
    DrawEdge(view, {m_.left, h_ - m_.bottom, w_ - m_.right, h_}, *skin.BottomBorder, CellLayout::kStacked, active);
    DrawEdge(view, Title(), *skin.TopBorder, CellLayout::kStacked, active);
    const bool shaped = skin.LeftBorder->Trans == 1 || skin.RightBorder->Trans == 1 ||
                        skin.TopBorder->Trans == 1 || skin.BottomBorder->Trans == 1;
    Mark({0, 0, m_.left, h_}, shaped && skin.LeftBorder->Trans == 1 && h_ > 1);
    Mark({w_ - m_.right, 0, w_, h_}, shaped && skin.RightBorder->Trans == 1 && h_ > 1);
    Mark({m_.left, h_ - m_.bottom, w_ - m_.right, h_}, shaped && skin.BottomBorder->Trans == 1 && m_.bottom >= 2);
    Mark(Title(), shaped && skin.TopBorder->Trans == 1 && m_.top > 1);

    TitleButtonContext ctx;
    ctx.boxFlags = design.boxFlags;
    ctx.active = active;
    ctx.kind = design.kind;
    ctx.windowWidth = w_;
    ctx.metrics = m_;
    ctx.menuBarLeftWidth = skin.MenuBar ? skin.MenuBar->LeftWidth : 0;
    const int iconSize = GetSystemMetrics(SM_CXSMICON);
    std::vector<std::pair<SkinRect, bool>> buttons;  // drawn in the skin's order, then marked
    for (const auto& b : skin.SysButtons) {
      if (b->Visibility == 100 || !TitleButtonVisible(*b, ctx)) continue;
      if (b->Action == 3 || b->Action == 11) {
        iconButton_ = TitleButtonRect(*b, iconSize, iconSize, ctx);
        NotCompared(iconButton_);
        continue;
      }
      const int cells = ClampCellCount(b->Frame);
      if (b->Align == 2 || b->Align == 3 || b->Align == 8 || b->Align == 9) {
        NotCompared({0, b->Ycoord, w_, b->Ycoord + b->Image.Height()});
        continue;
      }
      const SkinRect r = TitleButtonRect(*b, b->Image.Width() / cells, b->Image.Height(), ctx);
      if (r.Empty()) continue;
      const int state = b.get() == look.hot ? look.hotState : kButtonNormal;
      DrawCell(view, r, b->Image, cells, TitleButtonCell(*b, state, active), BlendMode::kKeyTransparent);
      buttons_.push_back({b.get(), r});
    }
    // The caption: from the title's left end to the clip before the buttons (a window that is no
    // popup), over the title's whole height.
    const SkinRect title = Title();
    NotCompared({title.left, 0, title.right - skin.Title->RightWidth, title.bottom});
    // Edges that shape the window are cut where the composition is transparent (the buttons
    // included: their transparent pixels leave the edge below them).
    for (int y = 0; y < h_; ++y) {
      for (int x = 0; x < w_; ++x) {
        std::uint8_t& u = use_[y * w_ + x];
        if (u == kCut) u = IsTransparent(pixels_.At(x, y)) ? kCut : kShown;
      }
    }
  }

  const FrameMetrics& Metrics() const { return m_; }
  // The composition as a picture (pixels not compared in grey), for a look when a frame differs.
  Bitmap24 Picture() const {
    Bitmap24 image(w_, h_);
    for (int y = 0; y < h_; ++y) {
      for (int x = 0; x < w_; ++x) {
        const Pixel32 p = use_[y * w_ + x] == kShown || use_[y * w_ + x] == kCut ? pixels_.At(x, y) : 0x808080;
        image.At(x, y) = RgbPixel((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
      }
    }
    return image;
  }
  // The composed pixel (under the icon and the caption: the bare title).
  COLORREF PixelAt(int x, int y) const { return ToColorRef(pixels_.At(x, y)); }
  SkinRect Title() const { return {m_.left, 0, w_ - m_.right, m_.top}; }
  const SkinRect& IconButton() const { return iconButton_; }
  // Where a drawn title button is, in window coordinates (empty when it does not show).
  SkinRect ButtonRect(int action) const {
    for (const auto& [data, rect] : buttons_)
      if (data->Action == action) return rect;
    return {};
  }
  const TDataSkinSysButton* Button(int action) const {
    for (const auto& [data, rect] : buttons_)
      if (data->Action == action) return data;
    return nullptr;
  }

  struct Comparison {
    int compared = 0;
    int wrong = 0;
    std::string firstWrong;
  };
  // The shown pixels of `area` (window coordinates) against a grab of the window.
  Comparison Compare(const ScreenGrab& grab, const SkinRect& area) const {
    Comparison c;
    const SkinRect a = area.Intersect({0, 0, w_, h_});
    for (int y = a.top; y < a.bottom; ++y) {
      for (int x = a.left; x < a.right; ++x) {
        if (use_[y * w_ + x] != kShown) continue;
        ++c.compared;
        const COLORREF want = ToColorRef(pixels_.At(x, y)), got = grab.Pixel(x, y);
        if (want == got) continue;
        if (c.wrong++ == 0) {
          char text[96];
          std::snprintf(text, sizeof text, "(%d, %d): %06lX on the screen, %06lX in the skin", x, y,
                        static_cast<unsigned long>(got), static_cast<unsigned long>(want));
          c.firstWrong = text;
        }
      }
    }
    return c;
  }
  Comparison Compare(const ScreenGrab& grab) const { return Compare(grab, {0, 0, w_, h_}); }

  // The window's region against the composition: every shown pixel inside, every cut one outside,
  // the client area inside. The number of pixels that disagree; the first one in `first`.
  int RegionMismatches(HRGN region, std::string& first) const {
    int wrong = 0;
    for (int y = 0; y < h_; ++y) {
      for (int x = 0; x < w_; ++x) {
        const std::uint8_t u = use_[y * w_ + x];
        if (u == kNotCompared) continue;
        const bool inside = PtInRegion(region, x, y) != FALSE;
        if (inside == (u != kCut)) continue;
        if (wrong++ == 0) first = "(" + std::to_string(x) + ", " + std::to_string(y) + ")";
      }
    }
    return wrong;
  }
  int CutPixels() const { return static_cast<int>(std::count(use_.begin(), use_.end(), kCut)); }

 private:
  static void DrawEdge(const PixelView& view, const SkinRect& r, const TDataSkinBorder& edge, CellLayout layout,
                       bool active) {
    DrawNineSlice(view, r, edge.Image, edge.Frame, EdgeCell(edge.Frame, active), layout,
                  {edge.LeftWidth, edge.TopHeight, edge.RightWidth, edge.BottomHeight}, edge.Tile != 1,
                  BlendMode::kCopy);
  }
  void Mark(const SkinRect& band, bool cut) { Fill(band, cut ? kCut : kShown); }
  void NotCompared(const SkinRect& r) { Fill(r, kNotCompared); }
  void Fill(const SkinRect& r, Use u) {
    const SkinRect a = r.Intersect({0, 0, w_, h_});
    for (int y = a.top; y < a.bottom; ++y)
      for (int x = a.left; x < a.right; ++x) use_[y * w_ + x] = u;
  }

  int w_, h_;
  FrameMetrics m_;
  PixelBuffer pixels_;
  std::vector<std::uint8_t> use_;
  SkinRect iconButton_;
  std::vector<std::pair<const TDataSkinSysButton*, SkinRect>> buttons_;
};

SIZE WindowSize(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  return {r.right - r.left, r.bottom - r.top};
}

POINT OnScreen(HWND window, POINT inWindow) {
  RECT r{};
  GetWindowRect(window, &r);
  return {r.left + inWindow.x, r.top + inWindow.y};
}

std::string ToString(const Bytes& bytes) { return std::string(bytes.begin(), bytes.end()); }

POINT CentreOfRect(const SkinRect& r) { return {(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

// Waits until the window shows the frame of that look at the size it has (a window is fitted to the
// skin's frame just after it is first shown); the last comparison, of the whole frame or of the
// title button with the action given. The end is kept in a screenshot; when the frame differs, the
// composition and the window's grab are saved beside it.
ExpectedFrame::Comparison WaitForFrame(HWND window, const FrameLook& look, const std::wstring& screenshot,
                                       int onlyButton = -1) {
  ExpectedFrame::Comparison last;
  std::optional<ExpectedFrame> expected;
  WaitUntil(
      [&] {
        const ScreenGrab grab = ScreenGrab::OfWindow(window);
        expected.emplace(look, SIZE{grab.Width(), grab.Height()});
        last = onlyButton >= 0 ? expected->Compare(grab, expected->ButtonRect(onlyButton)) : expected->Compare(grab);
        return last.compared > 0 && last.wrong == 0;
      },
      5s);
  if (!screenshot.empty()) {
    test::PumpFor(300ms);  // the controls painted too
    SaveScreenshot(screenshot);
    if (last.wrong > 0 && !Paths().screenshots.empty()) {
      const std::wstring base = Paths().screenshots + L"\\" + screenshot;
      test::WriteFileBytes(base + L"-expected.png", ToString(art::EncodePng(expected->Picture())));
      ScreenGrab::OfWindow(window).SavePng(base + L"-window.png");
    }
  }
  return last;
}

#define EXPECT_FRAME_SHOWN(comparison, what)                                                  \
  do {                                                                                        \
    const auto& c_ = (comparison);                                                            \
    EXPECT_GT(c_.compared, 0) << what;                                                        \
    EXPECT_EQ(c_.wrong, 0) << what << ": " << c_.wrong << " of " << c_.compared << " pixels differ, first " \
                           << c_.firstWrong;                                                  \
  } while (false)

#define ASSERT_FRAME_SHOWN(comparison, what)   \
  do {                                         \
    const auto& a_ = (comparison);             \
    ASSERT_TRUE(a_.compared > 0 && a_.wrong == 0) << what << ": " << a_.wrong << " pixels differ, first " << a_.firstWrong; \
  } while (false)

// The window's region, as the system keeps it; nullptr when it has none.
HRGN RegionOf(HWND window) {
  HRGN region = CreateRectRgn(0, 0, 0, 0);
  if (GetWindowRgn(window, region) == ERROR) {
    DeleteObject(region);
    return nullptr;
  }
  return region;
}

// The window's region against the frame: the transparent pixels of the edges outside, the rest of
// the window inside, over the whole window's size.
void ExpectRegionOf(HWND window, const ExpectedFrame& frame) {
  HRGN region = RegionOf(window);
  ASSERT_NE(region, nullptr) << "the skinned window has a region";
  std::string first;
  EXPECT_EQ(frame.RegionMismatches(region, first), 0) << "first at " << first;
  RECT box{};
  GetRgnBox(region, &box);
  EXPECT_EQ(box.right - box.left, WindowSize(window).cx);
  EXPECT_EQ(box.bottom - box.top, WindowSize(window).cy);
  DeleteObject(region);
}

class SkinFrame : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(qlt_.Main());
    main_ = qlt_.Main();
    WaitUntil([&] { return TrayIconPresent(main_); });
  }
  void TearDown() override {
    if (qlt_.Process().Running()) qlt_.Kill();
  }
  // "显示窗口" from the tray menu; the window once it is shown and skinned.
  bool ShowMain() {
    if (!ChooseFromTrayMenu(main_, qlt_.Process().Id(), kTrayMenuShowHideItem)) return false;
    return WaitUntil([&] { return IsWindowVisible(main_) && AnswersSkinQuery(main_); });
  }
  HWND WaitForVisible(const wchar_t* className) {
    HWND found = nullptr;
    WaitUntil([&] { return (found = qlt_.Process().FindTopLevelWindow(className)) && IsWindowVisible(found); });
    return found && IsWindowVisible(found) ? found : nullptr;
  }

  const TSkinContent& skin_ = DefaultSkin();
  QltSession qlt_{IniText({{"Hotkey", "CTRL+ALT+Q"}}), "notepad.exe\r\nwinemine.exe\r\n"};
  HWND main_ = nullptr;
};

TEST_F(SkinFrame, MainWindowWearsTheSkinsEdgesActiveAndInactiveAndIsCutToItsShape) {
  const Design design = DesignOf(QltFormDescription(L"TFRM_MAIN"));
  ASSERT_TRUE(ShowMain());
  EXPECT_TRUE(AnswersSkinQuery(main_));
  ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == main_; }));
  const FrameLook active{&skin_, design, true};
  EXPECT_FRAME_SHOWN(WaitForFrame(main_, active, L"skin-frame-main-active"), "active frame");

  // The designed client area inside the skin's frame.
  const ExpectedFrame frame(active, WindowSize(main_));
  const FrameMetrics& m = frame.Metrics();
  RECT client{};
  GetClientRect(main_, &client);
  EXPECT_EQ(client.right, design.client.cx);
  EXPECT_EQ(client.bottom, design.client.cy);
  EXPECT_EQ(WindowSize(main_).cx, design.client.cx + m.left + m.right);
  EXPECT_EQ(WindowSize(main_).cy, design.client.cy + m.top + m.bottom);
  POINT clientOrigin{0, 0};
  ClientToScreen(main_, &clientOrigin);
  EXPECT_EQ(clientOrigin.x, OnScreen(main_, {m.left, 0}).x);
  EXPECT_EQ(clientOrigin.y, OnScreen(main_, {0, m.top}).y);
  EXPECT_FALSE(frame.ButtonRect(0).Empty()) << "the close button shows";
  EXPECT_TRUE(frame.ButtonRect(1).Empty()) << "no maximise button: the window has no maximise box";

  // The window's icon where the icon button is: not the bare title.
  const SkinRect icon = frame.IconButton();
  ASSERT_FALSE(icon.Empty());
  const ScreenGrab grab = ScreenGrab::OfWindow(main_);
  int differing = 0;
  for (int y = icon.top; y < icon.bottom; ++y)
    for (int x = icon.left; x < icon.right; ++x) differing += grab.Pixel(x, y) != frame.PixelAt(x, y);
  EXPECT_GT(differing, icon.Width() * icon.Height() / 8) << "the icon is drawn";

  // The region: the transparent pixels of the edges are outside, everything else inside.
  EXPECT_GT(frame.CutPixels(), 0) << "the default skin cuts the window's corners";
  ExpectRegionOf(main_, frame);

  // Another window active: the inactive cells.
  test::TestWindow other(true, RECT{10, 10, 210, 110}, RGB(40, 160, 60), L"another window");
  ClickAt(CentreOf(other.Get()));
  ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == other.Get(); }));
  EXPECT_FRAME_SHOWN(WaitForFrame(main_, {&skin_, design, false}, L"skin-frame-main-inactive"), "inactive frame");

  // Active again: the active cells come back.
  ClickAt(OnScreen(main_, CentreOfRect(frame.Title())));
  EXPECT_FRAME_SHOWN(WaitForFrame(main_, active, L""), "active again");
}

TEST_F(SkinFrame, TheCloseButtonTurnsHotAndPressedUnderTheMouseAndOnlyHidesTheWindow) {
  const Design design = DesignOf(QltFormDescription(L"TFRM_MAIN"));
  ASSERT_TRUE(ShowMain());
  ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == main_; }));
  const FrameLook normal{&skin_, design, true};
  EXPECT_FRAME_SHOWN(WaitForFrame(main_, normal, L""), "the frame at rest");
  const ExpectedFrame frame(normal, WindowSize(main_));
  const TDataSkinSysButton* close = frame.Button(0);
  ASSERT_NE(close, nullptr) << "the skin has a close button";
  const SkinRect button = frame.ButtonRect(0);

  // The pointer comes onto the button from its left part, as a hand moves.
  const POINT centre = OnScreen(main_, CentreOfRect(button));
  MoveMouseTo(OnScreen(main_, {button.left + 1, (button.top + button.bottom) / 2}));
  MoveMouseTo(centre);
  EXPECT_FRAME_SHOWN(WaitForFrame(main_, {&skin_, design, true, close, kButtonHot}, L"skin-frame-close-hot", 0),
                     "the close button under the mouse");
  test::SendMouseInput(MOUSEEVENTF_LEFTDOWN, centre);
  EXPECT_FRAME_SHOWN(WaitForFrame(main_, {&skin_, design, true, close, kButtonPressed}, L"", 0),
                     "the close button pressed");
  EXPECT_TRUE(IsWindowVisible(main_)) << "a press alone does nothing";
  test::SendMouseInput(MOUSEEVENTF_LEFTUP, centre);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(main_); })) << "the release over the button hides the window";
  test::PumpFor(300ms);
  EXPECT_TRUE(qlt_.Process().Running()) << "QLT goes on running";
  EXPECT_TRUE(TrayIconPresent(main_));

  // Shown again with the pointer elsewhere: the button is at rest.
  MoveMouseTo(POINT{5, 5});
  ASSERT_TRUE(ShowMain());
  EXPECT_FRAME_SHOWN(WaitForFrame(main_, normal, L"skin-frame-main-shown-again"), "the frame shown again");
}

TEST_F(SkinFrame, RightClickOnTheTitleOpensTheSkinnedSystemMenuWhoseCloseEndsQlt) {
  const Design design = DesignOf(QltFormDescription(L"TFRM_MAIN"));
  ASSERT_TRUE(ShowMain());
  const FrameLook look{&skin_, design, true};
  ASSERT_FRAME_SHOWN(WaitForFrame(main_, look, L""), "the main window");
  // Saved again at the end: QLT writes the list it loaded.
  ASSERT_TRUE(DeleteFileW(qlt_.Folder().File(L"data.txt").c_str()));

  const POINT onTitle = OnScreen(main_, CentreOfRect(ExpectedFrame(look, WindowSize(main_)).Title()));
  ClickAt(onTitle, test::MouseButton::Right);
  HWND menu = WaitForPopupMenu(qlt_.Process().Id());
  ASSERT_NE(menu, nullptr) << "a right click on the title opens the system menu";
  RECT menuRect{};
  GetWindowRect(menu, &menuRect);
  InflateRect(&menuRect, 2, 2);
  EXPECT_TRUE(PtInRect(&menuRect, onTitle)) << "at the pointer";
  test::PumpFor(300ms);
  SaveScreenshot(L"skin-frame-system-menu");

  // "Close", the last item: as with "退出", the list is saved and QLT ends.
  GetWindowRect(menu, &menuRect);
  ClickAt(POINT{(menuRect.left + menuRect.right) / 2, menuRect.bottom - 6});
  const auto exitCode = qlt_.Process().WaitForExit();
  ASSERT_TRUE(exitCode.has_value()) << "Close ends QLT";
  EXPECT_EQ(*exitCode, 0u);
  EXPECT_EQ(qlt_.Folder().ReadBytes(L"data.txt"), std::optional<std::string>("notepad.exe\r\nwinemine.exe\r\n"));
  EXPECT_FALSE(TrayIconPresent(main_));
}

// The standard frame's size around a client area, for a window made with its outer size.
SIZE StandardFrameOf(const Design& design) {
  DWORD style = WS_CAPTION;
  if (design.kind == bkSizeable) style |= WS_THICKFRAME;
  if (design.boxFlags & boxflag::kSystemMenu) style |= WS_SYSMENU;
  if (design.boxFlags & boxflag::kMinimize) style |= WS_MINIMIZEBOX;
  if (design.boxFlags & boxflag::kMaximize) style |= WS_MAXIMIZEBOX;
  RECT r{0, 0, 0, 0};
  AdjustWindowRectEx(&r, style, FALSE, 0);
  return {r.right - r.left, r.bottom - r.top};
}

// The width of a caption in the system's caption font.
int CaptionTextWidth(const std::wstring& text) {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) return 0;
  UniqueFont font(CreateFontIndirectW(&metrics.lfCaptionFont));
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, font.Get());
  SIZE size{};
  GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  return size.cx;
}

TEST_F(SkinFrame, TheDialogsAndMessageBoxesWearTheFrameTooTheMessageBoxWithoutAnIcon) {
  ASSERT_TRUE(ShowMain());
  const FrameLook mainLook{&skin_, DesignOf(QltFormDescription(L"TFRM_MAIN")), true};
  ASSERT_FRAME_SHOWN(WaitForFrame(main_, mainLook, L""), "the main window");
  const SkinRect icon = ExpectedFrame(mainLook, WindowSize(main_)).IconButton();
  ASSERT_FALSE(icon.Empty());
  const ScreenGrab mainGrab = ScreenGrab::OfWindow(main_);

  // The hotkey dialog, from the hotkey's label: the client area of its description.
  ClickAt(qlt_.OnScreen(POINT{177, 264}));
  HWND hotKey = WaitForVisible(L"TFrm_HotKey");
  ASSERT_NE(hotKey, nullptr);
  {
    const Design design = DesignOf(QltFormDescription(L"TFRM_HOTKEY"));
    EXPECT_TRUE(WaitUntil([&] { return AnswersSkinQuery(hotKey); }));
    ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == hotKey; }));
    EXPECT_FRAME_SHOWN(WaitForFrame(hotKey, {&skin_, design, true}, L"skin-frame-hotkey-dialog"), "the hotkey dialog");
    RECT client{};
    GetClientRect(hotKey, &client);
    EXPECT_EQ(client.right, design.client.cx);
    EXPECT_EQ(client.bottom, design.client.cy);
  }
  test::PressKey(VK_ESCAPE);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(hotKey); }));

  // The IP/DNS dialog, from the tray menu: sizeable, with the boxes of its description; made with
  // its outer size in the standard frame, it keeps that client area in the skin's.
  ASSERT_TRUE(ChooseFromTrayMenu(main_, qlt_.Process().Id(), kTrayMenuIpItem));
  HWND ipDns = WaitForVisible(L"TFrm_IPDNS");
  ASSERT_NE(ipDns, nullptr);
  {
    const DfmObject description = QltFormDescription(L"TFRM_IPDNS");
    const Design design = DesignOf(description);
    EXPECT_TRUE(WaitUntil([&] { return AnswersSkinQuery(ipDns); }));
    ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == ipDns; }));
    EXPECT_FRAME_SHOWN(WaitForFrame(ipDns, {&skin_, design, true}, L"skin-frame-ipdns-dialog"), "the IP/DNS dialog");
    EXPECT_FALSE(ExpectedFrame({&skin_, design, true}, WindowSize(ipDns)).ButtonRect(1).Empty())
        << "a maximise button";
    const SIZE standard = StandardFrameOf(design);
    RECT client{};
    GetClientRect(ipDns, &client);
    EXPECT_EQ(client.right, description.Find("Width")->value.integer - standard.cx);
    EXPECT_EQ(client.bottom, description.Find("Height")->value.integer - standard.cy);
  }

  // A message box of QLT (the colour tool's, for a text that is no colour): a dialog, so no icon.
  HWND input = nullptr, convert = FindDescendant(main_, L"TButton", L"得到颜色");
  for (HWND edit : Descendants(main_, L"TEdit"))
    if (RectInParent(edit).left == 530 && RectInParent(edit).top == 85) input = edit;
  ASSERT_TRUE(input && convert);
  SendMessageW(input, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"00GG80"));
  PostMessageW(convert, BM_CLICK, 0, 0);
  HWND box = WaitForMessageBox(qlt_.Process().Id());
  ASSERT_NE(box, nullptr);
  EXPECT_TRUE(WaitUntil([&] { return AnswersSkinQuery(box); }));
  {
    const FrameLook look{&skin_, {bkDialog, boxflag::kSystemMenu, {-1, -1}}, true};
    EXPECT_TRUE(ExpectedFrame(look, WindowSize(box)).IconButton().Empty()) << "the skin's rules: no icon on a dialog";
    EXPECT_FRAME_SHOWN(WaitForFrame(box, look, L"skin-frame-message-box"), "the message box");
    const ScreenGrab grab = ScreenGrab::OfWindow(box);
    int differing = 0;
    for (int y = icon.top; y < icon.bottom; ++y)
      for (int x = icon.left; x < icon.right; ++x) differing += grab.Pixel(x, y) != mainGrab.Pixel(x, y);
    EXPECT_GT(differing, icon.Width() * icon.Height() / 8) << "where the main window shows its icon, the box does not";
    // Wide enough for its caption between the skin's title margins, and its button the skin's.
    wchar_t caption[256] = {};
    GetWindowTextW(box, caption, 256);
    EXPECT_GE(WindowSize(box).cx, skin_.Title->LeftWidth + CaptionTextWidth(caption) + skin_.Title->RightWidth)
        << "the box is widened to its caption";
    HWND ok = FindWindowExW(box, nullptr, L"Button", nullptr);
    ASSERT_NE(ok, nullptr);
    const COLORREF face = SkinColourToRgb(skin_.ButtonFaceColour, GetSysColor(COLOR_BTNFACE));
    int cell = 0;
    EXPECT_TRUE(WaitUntil([&] {
      RECT r{};
      GetWindowRect(ok, &r);
      return (cell = test::ButtonCellOnScreen(ScreenGrab(r), *skin_.Buttons, face)) > 0;
    }, 3s)) << "the box's button shows a cell of the skin's buttons (seen: " << cell << ")";
  }
  PressOk(box);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindow(box); }));
}

// QLT's GDI objects, counted in its process's handle table.
int GdiObjectsOf(HWND window) {
  DWORD pid = 0;
  const DWORD tid = GetWindowThreadProcessId(window, &pid);
  HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid);
  HANDLE thread = OpenThread(THREAD_QUERY_INFORMATION, FALSE, tid);
  const int count = process && thread ? test::GdiObjectCount(process, thread) : -1;
  if (thread) CloseHandle(thread);
  if (process) CloseHandle(process);
  return count;
}

TEST_F(SkinFrame, TheMainWindowShownAndHiddenAgainAndAgainKeepsItsGdiObjectsAndHiddenHoldsNoFrameSurface) {
  const FrameLook look{&skin_, DesignOf(QltFormDescription(L"TFRM_MAIN")), true};
  std::vector<int> shown, hidden;
  for (int cycle = 0; cycle < 8; ++cycle) {
    ASSERT_TRUE(ShowMain());
    ASSERT_FRAME_SHOWN(WaitForFrame(main_, look, L""), "the main window");
    test::PumpFor(500ms);  // the controls painted, nothing of the moment held
    shown.push_back(GdiObjectsOf(main_));
    PostMessageW(main_, WM_SYSCOMMAND, SC_CLOSE, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(main_); }));
    test::PumpFor(500ms);
    hidden.push_back(GdiObjectsOf(main_));
  }
  ASSERT_GT(hidden.front(), 0);
  std::string counts;
  for (size_t i = 0; i < hidden.size(); ++i) counts += std::to_string(shown[i]) + "/" + std::to_string(hidden[i]) + " ";
  // After the first showings (they make the controls' objects and the system's caches), nothing
  // grows.
  constexpr size_t kWarm = 2;
  for (size_t i = kWarm + 1; i < hidden.size(); ++i) {
    EXPECT_LE(shown[i], shown[kWarm] + 1) << "shown/hidden: " << counts;
    EXPECT_EQ(hidden[i], hidden[kWarm]) << "shown/hidden: " << counts;
  }
  // The frame's off-screen surface (a bitmap and its DC) goes with the window's showing.
  EXPECT_LE(hidden.back(), *std::min_element(shown.begin() + kWarm, shown.end()) - 2) << "shown/hidden: " << counts;
}

TEST_F(SkinFrame, ASizeableDialogDraggedLargerIsPaintedAndCutAnewAtItsNewSize) {
  ASSERT_TRUE(ChooseFromTrayMenu(main_, qlt_.Process().Id(), kTrayMenuIpItem));
  HWND ipDns = WaitForVisible(L"TFrm_IPDNS");
  ASSERT_NE(ipDns, nullptr);
  const FrameLook look{&skin_, DesignOf(QltFormDescription(L"TFRM_IPDNS")), true};
  ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == ipDns; }));
  ASSERT_FRAME_SHOWN(WaitForFrame(ipDns, look, L""), "the IP/DNS dialog");
  const SIZE before = WindowSize(ipDns);
  RECT client{};
  GetClientRect(ipDns, &client);

  // By its bottom-right corner, with the mouse, 60 x 40 pixels larger.
  RECT r{};
  GetWindowRect(ipDns, &r);
  test::DragMouse(POINT{r.right - 2, r.bottom - 2}, POINT{r.right + 58, r.bottom + 38});
  ASSERT_TRUE(WaitUntil([&] { return WindowSize(ipDns).cx == before.cx + 60 && WindowSize(ipDns).cy == before.cy + 40; }))
      << WindowSize(ipDns).cx << " x " << WindowSize(ipDns).cy;
  EXPECT_FRAME_SHOWN(WaitForFrame(ipDns, look, L"skin-frame-ipdns-dialog-resized"), "the frame at the new size");
  ExpectRegionOf(ipDns, ExpectedFrame(look, WindowSize(ipDns)));
  RECT larger{};
  GetClientRect(ipDns, &larger);
  EXPECT_EQ(larger.right, client.right + 60);
  EXPECT_EQ(larger.bottom, client.bottom + 40);

  // And smaller again.
  GetWindowRect(ipDns, &r);
  test::DragMouse(POINT{r.right - 2, r.bottom - 2}, POINT{r.right - 62, r.bottom - 42});
  ASSERT_TRUE(WaitUntil([&] { return WindowSize(ipDns).cx == before.cx && WindowSize(ipDns).cy == before.cy; }));
  EXPECT_FRAME_SHOWN(WaitForFrame(ipDns, look, L""), "the frame at the old size");
  ExpectRegionOf(ipDns, ExpectedFrame(look, WindowSize(ipDns)));
}

}  // namespace
}  // namespace qlt::e2e
