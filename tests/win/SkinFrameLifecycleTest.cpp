// The skinned frame's lifecycle, with both skins: windows destroyed while skinned and the manager's
// list, the manager going before its windows, an attach that fails inside the hook, a menu rebuild
// that runs a loop of its own and fails, the skin switched off inside the system menu's loop,
// WM_SIZE reaching the form once, the frame messages in their rarer forms, what unskinning leaves
// alone, the caption's clip at every size, title buttons across a skin change and when they stop
// showing, and GDI objects and handles over many cycles.
#include <gtest/gtest.h>

#include <iostream>
#include <stdexcept>

#include "tests/win/GalleryTestSupport.h"

namespace qlt::test {
namespace {

using SkinFrameLifecycle = GalleryFrameTest;

TForm* PlainForm(const std::string& caption, int left, int top, const std::string& icons = "[biSystemMenu]") {
  return NewFormFromText<TForm>(Application, "object Frm_Plain: TForm\n  Left = " + std::to_string(left) +
                                                 "\n  Top = " + std::to_string(top) + "\n  BorderIcons = " + icons +
                                                 "\n  BorderStyle = bsSingle\n  Caption = '" + caption +
                                                 "'\n  ClientWidth = 200\n  ClientHeight = 90\nend\n");
}

bool Listed(const TWinSkinForm* skinner) {
  const auto& list = SkinManager->FormSkinners();
  return std::find(list.begin(), list.end(), skinner) != list.end();
}

TEST_P(SkinFrameLifecycle, DestroyedWindowsLeaveTheManagersListByThePurgeOrWithTheirForms) {
  Open();
  TForm* a = PlainForm("a", 520, 60);
  TForm* b = PlainForm("b", 520, 220);
  for (TForm* f : {a, b}) {
    f->Show();
    ASSERT_TRUE(WaitSkinned(f->Handle()));
  }
  TWinSkinForm* sa = SkinnerOf(a->Handle());
  TWinSkinForm* sb = SkinnerOf(b->Handle());
  int lastMessages = 0;
  TWindowProcHook watch(b, [&](TMessage& m, const TWindowProcHook::Next& next) {
    lastMessages += m.Msg == WM_NCDESTROY;
    next(m);
  });

  // b's window goes while its form stays: the window procedure still gets its last message, and
  // the skinner waits, dead, for the manager's purge.
  const HWND bWindow = b->Handle();
  DestroyWindow(bWindow);
  EXPECT_EQ(lastMessages, 1);
  EXPECT_EQ(sb->State(), skDead);
  EXPECT_TRUE(Listed(sb));
  EXPECT_EQ(SkinnerOf(bWindow), nullptr) << "a dead skinner is not the window's";
  // a goes with its form: its skinner leaves the list at once, the others stay.
  delete a;
  EXPECT_FALSE(Listed(sa));
  EXPECT_TRUE(Listed(sb));
  EXPECT_TRUE(Listed(SkinnerOf(window_)));
  // The next window skinned purges the dead one first.
  TForm* c = PlainForm("c", 520, 380);
  c->Show();
  ASSERT_TRUE(WaitSkinned(c->Handle()));
  EXPECT_FALSE(Listed(sb));
  for (const TWinSkinForm* f : SkinManager->FormSkinners()) EXPECT_NE(f->State(), skDead);
  delete b;
  delete c;
  EXPECT_TRUE(WaitSkinned(window_));
}

TEST_P(SkinFrameLifecycle, TheFormGetsEachSizeOnce) {
  Open();
  int sizes = 0;
  TWindowProcHook watch(&host_->Gallery(), [&](TMessage& m, const TWindowProcHook::Next& next) {
    sizes += m.Msg == WM_SIZE;
    next(m);
  });
  const SIZE size = WindowSize(window_);
  SetWindowPos(window_, nullptr, 0, 0, size.cx + 40, size.cy + 30, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  EXPECT_EQ(sizes, 1);
  sizes = 0;
  SendMessageW(window_, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
  EXPECT_EQ(sizes, 1) << "maximised";
}

// A menu rebuild that shows another window and waits in a loop of its own, then fails: the other
// window is skinned and painted meanwhile, and afterwards every frame paints again.
TEST_P(SkinFrameLifecycle, AMenuRebuildWithALoopOfItsOwnThatFailsLeavesEveryFramePainted) {
  Open();
  TFrm_Gallery& g = host_->Gallery();
  int errors = 0;
  Application->OnException = [&](TObject*, const std::exception&) { ++errors; };
  std::vector<std::string> toolFrame{"not shown"};
  TWindowProcHook rebuild(&g, [&](TMessage& m, const TWindowProcHook::Next& next) {
    if (m.Msg != CM_MENUCHANGED) return next(m);
    g.Tool()->Show();
    if (WaitSkinned(g.Tool()->Handle())) toolFrame = FrameOnScreen(g.Tool()->Handle(), true);
    throw std::runtime_error("the menu cannot be rebuilt");
  });
  SendMessageW(window_, CM_MENUCHANGED, 0, 0);
  Application->OnException = nullptr;
  EXPECT_EQ(errors, 1);
  EXPECT_TRUE(toolFrame.empty()) << "a window shown during the rebuild: " << ::testing::PrintToString(toolFrame);
  EXPECT_TRUE(host_->Skin().FramePaintEnabled);
  ASSERT_TRUE(Activate(window_));
  RedrawWindow(window_, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
  const std::vector<std::string> frame = FrameOnScreen(window_, true);
  EXPECT_TRUE(frame.empty()) << ::testing::PrintToString(frame);
}

// The skin switched off from a loop inside one of the window's messages (the system menu's): the
// skinner goes only once that message is done with it.
TEST_P(SkinFrameLifecycle, TheSkinSwitchedOffWhileTheSystemMenuShowsFreesTheSkinnerAfterTheMenu) {
  Open();
  FreedMemoryWatch freed;
  WhileMenuOpen menu([&](HWND, HMENU) {
    host_->Skin().SetActive(false);
    SkinManager->RunPendingAction();
    SendKeyNow(VK_ESCAPE);
  });
  ClickAt(CaptionPoint(), MouseButton::Right);
  ASSERT_TRUE(WaitUntil([&] { return menu.Seen() && !OpenMenuWindow(); }, 5s));
  EXPECT_EQ(freed.Writes(), 0) << "freed memory written to";
  EXPECT_TRUE(WaitUnskinned(window_));
}

TEST_P(SkinFrameLifecycle, UnskinningLeavesBorderlessMaximisedAndMinimisedWindowsAndTakesBackOnlyItsStyles) {
  Open(false);
  TFrm_Gallery& g = host_->Gallery();
  host_->Skin().SetActive(false);
  g.Show();
  g.Popup()->Show();
  g.Tool()->Show();
  TForm* bare = PlainForm("no system menu", 700, 420, "[]");
  bare->Show();
  const std::vector<TForm*> forms{&g, g.Popup(), g.Tool(), bare};
  std::vector<LONG> styles;
  for (TForm* f : forms) styles.push_back(GetWindowLongW(f->Handle(), GWL_STYLE));
  ASSERT_EQ(styles[3] & WS_SYSMENU, 0) << "the form without boxes has no system menu";

  host_->Skin().SetActive(true);
  for (TForm* f : forms) ASSERT_TRUE(WaitSkinned(f->Handle()));
  SendMessageW(window_, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
  SendMessageW(g.Tool()->Handle(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
  ASSERT_TRUE(IsZoomed(window_) && IsIconic(g.Tool()->Handle()));
  std::vector<RECT> rects(forms.size());
  for (size_t i = 0; i < forms.size(); ++i) GetWindowRect(forms[i]->Handle(), &rects[i]);

  host_->Skin().SetActive(false);
  for (TForm* f : forms) ASSERT_TRUE(WaitUnskinned(f->Handle()));
  for (size_t i = 0; i < 3; ++i) {
    RECT now{};
    GetWindowRect(forms[i]->Handle(), &now);
    EXPECT_TRUE(EqualRect(&now, &rects[i])) << forms[i]->ClassType().name << " keeps its size";
  }
  EXPECT_TRUE(IsZoomed(window_));
  EXPECT_TRUE(IsIconic(g.Tool()->Handle()));
  const LONG boxes = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME;
  for (size_t i = 0; i < forms.size(); ++i) {
    EXPECT_EQ(GetWindowLongW(forms[i]->Handle(), GWL_STYLE) & boxes, styles[i] & boxes) << forms[i]->ClassType().name;
  }
  // Restored later, they have their designed client areas.
  SendMessageW(window_, WM_SYSCOMMAND, SC_RESTORE, 0);
  SendMessageW(g.Tool()->Handle(), WM_SYSCOMMAND, SC_RESTORE, 0);
  for (TForm* f : {static_cast<TForm*>(&g), static_cast<TForm*>(g.Tool())}) {
    const SIZE have = ClientSize(f->Handle()), want = DesignedClientSize(*f);
    EXPECT_TRUE(SameSize(have, want)) << f->ClassType().name << " restored: " << have.cx << " x " << have.cy;
  }
  delete bare;
}

TEST_P(SkinFrameLifecycle, SkinnedWindowsWorkOnWhenTheManagerGoesFirst) {
  Open();
  host_->Gallery().Dialog()->Show();
  ASSERT_TRUE(WaitSkinned(host_->Gallery().Dialog()->Handle()));
  ASSERT_TRUE(Activate(window_));
  host_->ReleaseEngine();
  ASSERT_EQ(SkinManager, nullptr);
  const POINT caption = CaptionPoint();
  EXPECT_EQ(SendMessageW(window_, WM_NCHITTEST, 0, MAKELPARAM(caption.x, caption.y)), HTCAPTION);
  const SIZE size = WindowSize(window_);
  SetWindowPos(window_, nullptr, 0, 0, size.cx + 20, size.cy + 20, SWP_NOMOVE | SWP_NOZORDER);
  std::vector<std::string> frame = FrameOnScreen(window_, true);
  EXPECT_TRUE(frame.empty()) << ::testing::PrintToString(frame);
  ClickAt(CentreOf(Place(1)));
  EXPECT_TRUE(WaitUntil([&] { return IsZoomed(window_) != FALSE; }, 3s)) << "its buttons still act";
  host_->FreeGallery();  // the skinners go with their forms
}

// An attach that fails half way (the application's control handler throws) inside the hook: the
// window is left as it was, and the next activation skins it.
TEST_P(SkinFrameLifecycle, AnAttachThatFailsInsideTheHookLeavesTheWindowAsItWas) {
  Open(false);
  TFrm_Gallery& g = host_->Gallery();
  bool fail = true;
  int failures = 0;
  host_->Skin().OnSkinControl = [&](TComponent*, TSkinData*, TComponent*, TComponent*, const std::u16string&,
                                    TComponent*&) {
    if (!fail) return;
    ++failures;
    throw std::runtime_error("the application cannot skin this control");
  };
  const LONG style = GetWindowLongW(window_, GWL_STYLE) | WS_VISIBLE;
  g.Show();
  ASSERT_TRUE(Activate(window_));
  PumpFor(300ms);
  ASSERT_GT(failures, 0);
  EXPECT_EQ(SkinnerOf(window_), nullptr);
  EXPECT_NE(SendMessageW(window_, WM_SKIN_QUERY, 0, 0), 1);
  EXPECT_EQ(GetWindowLongW(window_, GWL_STYLE), style) << "its caption and boxes are still there";
  EXPECT_TRUE(SameSize(ClientSize(window_), DesignedClientSize(g)));
  fail = false;
  TestWindow other(true, kOtherWindowPlace, RGB(40, 90, 160), L"another window");
  ASSERT_TRUE(Activate(other.Get()));
  ASSERT_TRUE(Activate(window_));
  EXPECT_TRUE(WaitSkinned(window_));
  EXPECT_TRUE(SameSize(ClientSize(window_), DesignedClientSize(g)));
}

TEST_P(SkinFrameLifecycle, FrameMessagesInTheirRarerFormsAnswerFromTheSkinAndTakeNothing) {
  Open();
  const Edges e = EdgesOf(*skin_);
  RECT window{};
  GetWindowRect(window_, &window);
  RECT calc = window;
  SendMessageW(window_, WM_NCCALCSIZE, FALSE, reinterpret_cast<LPARAM>(&calc));
  const RECT skinned{window.left + e.left, window.top + e.top + SkinnedMenuBarHeight(window_), window.right - e.right,
                     window.bottom - e.bottom};
  EXPECT_TRUE(EqualRect(&calc, &skinned)) << calc.left << "," << calc.top << "," << calc.right << "," << calc.bottom;

  auto spoilFrame = [&] {
    HDC dc = GetWindowDC(window_);
    const RECT all{0, 0, window.right - window.left, window.bottom - window.top};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    ReleaseDC(window_, dc);
  };
  const int gdi = GdiObjectCount();
  for (int i = 0; i < 200; ++i) {
    spoilFrame();
    SendMessageW(window_, WM_NCPAINT, 1, 0);  // the whole window
    HRGN part = CreateRectRgn(window.left, window.top, window.right, window.top + e.top);
    SendMessageW(window_, WM_NCPAINT, reinterpret_cast<WPARAM>(part), 0);
    ASSERT_TRUE(DeleteObject(part)) << "the region handed in is still the caller's";
  }
  EXPECT_EQ(GdiObjectCount(), gdi);
  spoilFrame();
  SendMessageW(window_, WM_NCPAINT, 1, 0);
  const std::vector<std::string> frame = FrameOnScreen(window_, true);
  EXPECT_TRUE(frame.empty()) << ::testing::PrintToString(frame);
}

// A caption longer than any title: it ends before the title buttons (for a popup-style window, the
// leftmost right-aligned one; else where the skin clips it), at every width of the window; one
// that fits is drawn whole.
TEST_P(SkinFrameLifecycle, ALongCaptionEndsBeforeTheTitleButtonsAtEveryWidth) {
  Open();
  TFrm_Gallery& g = host_->Gallery();
  g.Dialog()->Show();
  const std::u16string caption =
      u"A caption far longer than any title bar of the gallery can show — 一个比任何标题栏都长得多的标题";
  const Edges e = EdgesOf(*skin_);
  const COLORREF text = ColourOf(skin_->TitleTextActiveColour);
  for (TForm* f : {static_cast<TForm*>(&g), static_cast<TForm*>(g.Dialog())}) {
    const HWND w = f->Handle();
    ASSERT_TRUE(WaitSkinned(w));
    ASSERT_TRUE(Activate(w));
    f->SetCaption(caption);
    const bool popup = (GetWindowLongW(w, GWL_STYLE) & WS_POPUP) != 0;
    for (int narrower : {0, 60}) {
      const SIZE size = WindowSize(w);
      SetWindowPos(w, nullptr, 0, 0, size.cx - narrower, size.cy, SWP_NOMOVE | SWP_NOZORDER);
      const std::vector<std::string> wrong = WaitForScreen(w, [&](const ScreenGrab& grab, POINT o) {
        const int width = WindowSize(w).cx;
        const std::vector<RECT> buttons = ButtonPlaces(w);
        int clip = width - e.right - skin_->Title->RightWidth;
        if (popup) {
          clip = width;
          for (const RECT& b : buttons) {
            if (b.top < e.top && b.left > width / 2) clip = std::min<int>(clip, b.left - 5);
          }
        }
        std::vector<std::string> out;
        if (CountColour(grab, o, {e.left, 0, clip, e.top}, text) < 10) out.push_back("no caption");
        for (int x = clip; x < width - e.right; ++x) {
          for (int y = 0; y < e.top; ++y) {
            const bool onButton = std::any_of(buttons.begin(), buttons.end(), [&](const RECT& b) {
              return x >= b.left && x < b.right && y >= b.top && y < b.bottom;
            });
            if (!onButton && grab.PixelAt({o.x + x, o.y + y}) == text && out.size() < 4) {
              out.push_back("caption at (" + std::to_string(x) + "," + std::to_string(y) + "), past " +
                            std::to_string(clip));
            }
          }
        }
        return out;
      });
      EXPECT_TRUE(wrong.empty()) << f->ClassType().name << " " << narrower << " narrower: "
                                 << ::testing::PrintToString(wrong);
    }
    PumpFor(500ms);  // what the window uncovered is painted a moment later
    SaveScreenshot(Shot(std::string("long-caption-") + f->ClassType().name));
  }
  // Ampersands are text: a caption with them that fits is drawn whole, not cut short with "…".
  const std::wstring amp = L"Save & Exit && Go";
  const int want = TextInkWidth(amp, text);
  ASSERT_TRUE(Activate(window_));
  g.SetCaption(std::u16string(amp.begin(), amp.end()));
  const std::vector<std::string> cut = WaitForScreen(window_, [&](const ScreenGrab& grab, POINT o) {
    RECT room{e.left, 0, WindowSize(window_).cx - e.right, e.top};  // between the title buttons
    for (const RECT& b : ButtonPlaces(window_)) {
      if (b.right <= room.right / 2) room.left = std::max(room.left, b.right);
      else room.right = std::min(room.right, b.left);
    }
    const RECT ink = ColourBounds(grab, o, room, text);
    if (ink.right - ink.left == want) return std::vector<std::string>{};
    return std::vector<std::string>{std::to_string(ink.right - ink.left) + " px wide, the text " + std::to_string(want)};
  });
  EXPECT_TRUE(cut.empty()) << ::testing::PrintToString(cut);
  SaveScreenshot(Shot("ampersand-caption"));
}

TEST_P(SkinFrameLifecycle, ASkinChangeWhileATitleButtonIsHotGivesTheNewButtonsTheMouse) {
  Open();
  MoveMouseTo(CentreOf(Place(0)));
  std::vector<std::string> cell = ButtonCellOnScreen(0, 3);
  ASSERT_TRUE(cell.empty()) << ::testing::PrintToString(cell);
  const GallerySkin otherSkin = OtherSkin(GetParam());
  const auto other = ReadSkinContent(SkinFileBytes(otherSkin));
  host_->Skin().SetSkinFile(reinterpret_cast<const char16_t*>(SkinFilePath(otherSkin).c_str()));
  const Edges e = EdgesOf(*other);
  ASSERT_TRUE(WaitUntil([&] { return ClientInsideEdges(window_, e); }, 5s));
  PumpFor(600ms);  // the hover timer runs over the new buttons
  const TWinSkinForm* skinner = SkinnerOf(window_);
  const TNCObject* hot = skinner->HotObject();
  EXPECT_TRUE(!hot || std::any_of(skinner->TitleButtons().begin(), skinner->TitleButtons().end(),
                                  [&](const auto& b) { return b.get() == hot; }))
      << "no freed button is hot";
  const TDataSkinSysButton& close = *SkinButton(*other, 0);
  const RECT place = RightAlignedButtonRect(close, WindowSize(window_).cx);
  MoveMouseTo(CentreOf(place));
  cell = WaitForScreen(window_, [&](const ScreenGrab& g, POINT o) {
    return CellMismatches(g, o, place, close.Image, close.Frame, 3);
  });
  EXPECT_TRUE(cell.empty()) << "the new close button is hot: " << ::testing::PrintToString(cell);
}

// A button that stops showing while it is hot (here the skin shows minimise only while the window
// is not maximised) is no longer the hot one, and the others take the mouse again.
TEST_P(SkinFrameLifecycle, AHotButtonThatStopsShowingIsNoLongerHot) {
  const std::wstring file = WriteEditedSkin(GetParam(), "qlt-minimise-unmaximised.skin", [](std::string& ini) {
    const size_t at = ini.find("\nAction=2");
    ini.insert(ini.find('\n', at + 1) + 1, "Visibility1=2\r\n");
  });
  ASSERT_FALSE(file.empty());
  Open(HostOptions{true, nullptr, file});
  MoveMouseTo(CentreOf(Place(2)));
  std::vector<std::string> cell = ButtonCellOnScreen(2, 3);
  ASSERT_TRUE(cell.empty()) << ::testing::PrintToString(cell);
  TWinSkinForm* skinner = SkinnerOf(window_);
  ASSERT_NE(skinner->HotObject(), nullptr);
  SendMessageW(window_, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
  ASSERT_TRUE(IsZoomed(window_));
  EXPECT_TRUE(WaitUntil([&] { return skinner->HotObject() == nullptr; }, 2s));
  MoveMouseTo(CentreOf(Place(0)));
  cell = ButtonCellOnScreen(0, 3);
  EXPECT_TRUE(cell.empty()) << "close takes the mouse: " << ::testing::PrintToString(cell);
  DeleteFileW(file.c_str());
}

// A skin with nonsensical metrics (no cells, margins below zero or beyond the image, a tiled
// middle of no size) still gives a frame that paints and keeps the client area; a window cannot be
// made smaller than that frame.
TEST_P(SkinFrameLifecycle, NonsensicalMetricsAndTinyWindowsStillGiveAWorkingFrame) {
  const int cell = skin_->RightBorder->Image.Height();
  const std::wstring file = WriteEditedSkin(GetParam(), "qlt-odd-metrics.skin", [cell](std::string& ini) {
    for (const char* key : {"TopFrame=", "LeftTopHeight=", "LeftBotHeight=", "RightTopHeight=", "RightBotHeight=",
                            "RightStretch="}) {
      for (size_t at; (at = ini.find(key)) != std::string::npos;) ini.replace(at, ini.find('\n', at) - at, ";");
    }
    const size_t at = ini.find("[Personality]");
    ini.insert(ini.find('\n', at) + 1, "TopFrame=0\r\nLeftTopHeight=-7\r\nLeftBotHeight=100000\r\nRightTopHeight=" +
                                           std::to_string(cell / 2) + "\r\nRightBotHeight=" +
                                           std::to_string(cell - cell / 2) + "\r\nRightStretch=0\r\n");
  });
  ASSERT_FALSE(file.empty());
  const auto odd = ReadSkinContent(ReadFileBytes(file));
  ASSERT_NE(odd, nullptr);
  Open(HostOptions{true, nullptr, file});
  TFrm_Gallery& g = host_->Gallery();
  EXPECT_TRUE(SameSize(ClientSize(window_), DesignedClientSize(g)));
  std::vector<std::string> frame = FrameOnScreen(window_, true, odd.get());
  EXPECT_TRUE(frame.empty()) << ::testing::PrintToString(frame);
  SaveScreenshot(Shot("odd-metrics"));

  const Edges e = EdgesOf(*odd);
  SetWindowPos(window_, nullptr, 0, 0, 5, 5, SWP_NOMOVE | SWP_NOZORDER);
  const SIZE tiny = WindowSize(window_);
  EXPECT_GE(tiny.cx, e.left + e.right);
  EXPECT_GE(tiny.cy, e.top + e.bottom);
  RECT client{};
  GetClientRect(window_, &client);
  EXPECT_GE(client.right, 0);
  EXPECT_GE(client.bottom, 0);
  // The edges only: a centred caption is wider than so small a title and covers it.
  frame = WaitForScreen(window_, [&](const ScreenGrab& grab, POINT o) {
    const SIZE size = WindowSize(window_);
    std::vector<RECT> title = ButtonPlaces(window_);
    title.push_back({0, 0, size.cx, e.top});
    return FrameMismatches(grab, o, FrameProbes(*odd, size.cx, size.cy, true, title), RegionOf(window_));
  });
  EXPECT_TRUE(frame.empty()) << "at the smallest size: " << ::testing::PrintToString(frame);
  SaveScreenshot(Shot("odd-metrics-smallest"));
  DeleteFileW(file.c_str());
}

TEST_P(SkinFrameLifecycle, GdiObjectsAndHandlesStayFlatOverThousandsOfCycles) {
  Open();
  TSkinData& skin = host_->Skin();
  const SIZE size = WindowSize(window_);
  const std::vector<std::pair<const char*, std::function<void(int)>>> cycles{
      {"skin off and on",
       [&](int) {
         skin.SetActive(false);
         SkinManager->RunPendingAction();
         skin.SetActive(true);
         SkinManager->RunPendingAction();
         PumpMessages();
       }},
      {"hide and show",
       [&](int) {
         ShowWindow(window_, SW_HIDE);
         ShowWindow(window_, SW_SHOW);
         PumpMessages();
       }},
      {"resize",
       [&](int i) {
         SetWindowPos(window_, nullptr, 0, 0, size.cx + i % 60, size.cy + i % 40, SWP_NOMOVE | SWP_NOZORDER);
         PumpMessages();
       }},
  };
  for (const auto& [name, cycle] : cycles) {
    for (int i = 0; i < 20; ++i) cycle(i);
    PumpFor(100ms);
    const int gdi = GdiObjectCount();
    const int handles = KernelHandleCount();
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < 1000; ++i) cycle(i);
    PumpFor(100ms);
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
    EXPECT_EQ(GdiObjectCount(), gdi) << name;
    EXPECT_EQ(KernelHandleCount(), handles) << name;
    EXPECT_TRUE(WaitSkinned(window_)) << name;
    std::cout << "[ " << SkinCaseName(GetParam()) << " ] 1000 x " << name << ": " << ms.count() << " ms, " << gdi
              << " GDI objects, " << handles << " handles\n";
  }
  const std::vector<std::string> frame = FrameOnScreen(window_, true);
  EXPECT_TRUE(frame.empty()) << ::testing::PrintToString(frame);
}

INSTANTIATE_TEST_SUITE_P(BothSkins, SkinFrameLifecycle, ::testing::Values(GallerySkin::Slate, GallerySkin::Pine),
                         [](const auto& info) { return SkinCaseName(info.param); });

}  // namespace
}  // namespace qlt::test
