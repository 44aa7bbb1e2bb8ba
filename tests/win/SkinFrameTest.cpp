// The skinned frame of the gallery's windows as a user sees and uses it, with both skins: the
// edges, caption and title buttons on the screen against the skin's cells, the window's shape, hit
// testing, the title buttons and the system menu driven with the real mouse and keyboard, client
// sizes, message boxes, and switching the skin off, on and to another file.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "tests/win/GalleryTestSupport.h"
#include "tests/win/MenuTestSupport.h"

namespace qlt::test {
namespace {

// The right half of the gallery's client area holds no control: after any change of the frame it
// shows the form's colour and nothing left over from the frame before.
std::vector<std::string> PlainClientOnScreen(HWND window, COLORREF colour) {
  return WaitForScreen(window, [&](const ScreenGrab& g, POINT) {
    RECT client{};
    GetClientRect(window, &client);
    POINT origin{};
    ClientToScreen(window, &origin);
    std::vector<std::string> out;
    for (int y = 0; y < client.bottom && out.size() < 4; ++y) {
      for (int x = client.right / 2; x < client.right && out.size() < 4; ++x) {
        const COLORREF seen = g.PixelAt({origin.x + x, origin.y + y});
        if (seen != colour) out.push_back("client (" + std::to_string(x) + "," + std::to_string(y) + ") shows " +
                                          std::to_string(GetRValue(seen)) + "," + std::to_string(GetGValue(seen)) +
                                          "," + std::to_string(GetBValue(seen)));
      }
    }
    return out;
  });
}

using SkinFrame = GalleryFrameTest;

TEST_P(SkinFrame, EdgesCaptionAndButtonsShowTheSkinActiveAndInactive) {
  Open();
  const Edges e = EdgesOf(*skin_);
  auto check = [&](bool active, HWND holder) {
    return WaitForScreen(window_, [&](const ScreenGrab& g, POINT o) {
      std::vector<std::string> out = FrameCheck(*skin_, window_, g, o, active);
      for (int action : {0, 1, 2}) {
        // Cell 1, or cell 4 in an inactive window where the image has four.
        const TDataSkinSysButton& b = Button(action);
        const int cell = active || b.Frame < 4 ? 1 : 4;
        for (const std::string& m : CellMismatches(g, o, Place(action), b.Image, b.Frame, cell)) {
          out.push_back("button " + std::to_string(action) + ": " + m);
        }
      }
      const COLORREF text = ColourOf(active ? skin_->TitleTextActiveColour : skin_->TitleTextNoActiveColour);
      const RECT title{e.left, 0, WindowSize(window_).cx - e.right, e.top};
      if (CountColour(g, o, title, text) < 10) out.push_back("no caption in the title");
      return out;
    }, 3s, holder);
  };
  const std::vector<std::string> active = check(true, window_);
  EXPECT_TRUE(active.empty()) << ::testing::PrintToString(active);
  SaveScreenshot(Shot("gallery-active"));

  // Another window activated while the mouse rests on a title button: no button stays hot in the
  // inactive frame.
  MoveMouseTo(CentreOf(Place(0)));
  std::vector<std::string> hot = ButtonCellOnScreen(0, 3);
  EXPECT_TRUE(hot.empty()) << ::testing::PrintToString(hot);
  TestWindow other(true, kOtherWindowPlace, RGB(40, 90, 160), L"another window");
  ASSERT_TRUE(Activate(other.Get()));
  const std::vector<std::string> inactive = check(false, other.Get());
  EXPECT_TRUE(inactive.empty()) << ::testing::PrintToString(inactive);
  SaveScreenshot(Shot("gallery-inactive"));
}

TEST_P(SkinFrame, HitTestAnswersCaptionButtonsBordersAndClient) {
  Open();
  host_->Gallery().Dialog()->Show();
  const HWND dialog = host_->Gallery().Dialog()->Handle();
  ASSERT_TRUE(WaitSkinned(dialog));
  const Edges e = EdgesOf(*skin_);
  const POINT caption = CaptionPoint();
  EXPECT_EQ(SendMessageW(window_, WM_NCHITTEST, 0, MAKELPARAM(caption.x, caption.y)), HTCAPTION);
  // The title buttons are the skin's: the window drags from the title around them and the
  // skinner takes their clicks itself.
  for (const RECT& r : ButtonPlaces(window_)) {
    const POINT p = CentreOf(r);
    EXPECT_EQ(SendMessageW(window_, WM_NCHITTEST, 0, MAKELPARAM(p.x, p.y)), HTCAPTION);
  }
  EXPECT_EQ(HitTest(window_, e.left + 5, e.top + SkinnedMenuBarHeight(window_) + 5), HTCLIENT);

  // The side and bottom edges are border, or the sizing codes of the window's own procedure for a
  // sizeable window; never the menu bar, nowhere or client.
  auto borderAnswers = [&](HWND window, bool sizeable) {
    const SIZE s = WindowSize(window);
    std::vector<std::string> wrong;
    auto expect = [&](int x, int y, std::initializer_list<LRESULT> sizing) {
      const LRESULT code = HitTest(window, x, y);
      const bool ok = code == HTBORDER || (sizeable && std::find(sizing.begin(), sizing.end(), code) != sizing.end());
      if (!ok && wrong.size() < 6) wrong.push_back("(" + std::to_string(x) + "," + std::to_string(y) + "): " + std::to_string(code));
    };
    for (int y = e.top + 4; y < s.cy - e.bottom; y += 3) {
      for (int x = 0; x < e.left; ++x) expect(x, y, {HTLEFT, HTTOPLEFT, HTBOTTOMLEFT});
      for (int x = s.cx - e.right; x < s.cx; ++x) expect(x, y, {HTRIGHT, HTTOPRIGHT, HTBOTTOMRIGHT});
    }
    for (int y = s.cy - e.bottom; y < s.cy; ++y) {
      for (int x = e.left; x < s.cx - e.right; x += 3) expect(x, y, {HTBOTTOM, HTBOTTOMLEFT, HTBOTTOMRIGHT});
    }
    return wrong;
  };
  const std::vector<std::string> sizeable = borderAnswers(window_, true);
  EXPECT_TRUE(sizeable.empty()) << ::testing::PrintToString(sizeable);
  const std::vector<std::string> fixed = borderAnswers(dialog, false);
  EXPECT_TRUE(fixed.empty()) << "a fixed dialog's edges are plain border: " << ::testing::PrintToString(fixed);
}

TEST_P(SkinFrame, TitleButtonsShowHotAndPressedAndActOnlyOnTheReleaseOverThem) {
  Open();
  const POINT close = CentreOf(Place(0));
  MoveMouseTo(close);
  std::vector<std::string> cell = ButtonCellOnScreen(0, 3);
  EXPECT_TRUE(cell.empty()) << "hot: " << ::testing::PrintToString(cell);
  SendMouseInput(MOUSEEVENTF_LEFTDOWN, close);
  cell = ButtonCellOnScreen(0, 2);
  EXPECT_TRUE(cell.empty()) << "pressed: " << ::testing::PrintToString(cell);
  SaveScreenshot(Shot("close-pressed"));
  // Moved off with the button held and let go over the client area: nothing happens, and the
  // button goes back to normal.
  const POINT client = OnScreen(window_, EdgesOf(*skin_).left + 250, EdgesOf(*skin_).top + 150);
  MoveMouseTo(client);
  SendMouseInput(MOUSEEVENTF_LEFTUP, client);
  cell = ButtonCellOnScreen(0, 1);
  EXPECT_TRUE(cell.empty()) << "left: " << ::testing::PrintToString(cell);
  // Pressed elsewhere and let go over the button: nothing either.
  SendMouseInput(MOUSEEVENTF_LEFTDOWN, client);
  MoveMouseTo(close);
  SendMouseInput(MOUSEEVENTF_LEFTUP, close);
  PumpFor(300ms);
  EXPECT_TRUE(IsWindowVisible(window_));
  MoveMouseTo(client);

  // Maximise and restore with the button, which follows the window's right edge.
  const RECT normal = [&] { RECT r{}; GetWindowRect(window_, &r); return r; }();
  ClickAt(CentreOf(Place(1)));
  ASSERT_TRUE(WaitUntil([&] { return IsZoomed(window_) != FALSE; }, 3s)) << "maximised by its button";
  std::vector<std::string> frame = FrameOnScreen(window_, true);
  EXPECT_TRUE(frame.empty()) << "maximised: " << ::testing::PrintToString(frame);
  SaveScreenshot(Shot("gallery-maximised"));
  ClickAt(CentreOf(Place(1)));
  ASSERT_TRUE(WaitUntil([&] { return !IsZoomed(window_); }, 3s)) << "restored by the same button";
  RECT restored{};
  GetWindowRect(window_, &restored);
  EXPECT_TRUE(EqualRect(&restored, &normal)) << "back to its place and size";

  // Minimise with its button; restored by the system.
  ClickAt(CentreOf(Place(2)));
  ASSERT_TRUE(WaitUntil([&] { return IsIconic(window_) != FALSE; }, 3s)) << "minimised by its button";
  SendMessageW(window_, WM_SYSCOMMAND, SC_RESTORE, 0);
  ASSERT_TRUE(WaitUntil([&] { return !IsIconic(window_); }, 3s));
  Activate(window_);
  EXPECT_TRUE(SameSize(ClientSize(window_), DesignedClientSize(host_->Gallery())));

  // A double click on the caption maximises, another restores.
  MoveMouseTo(client);
  DoubleClickAt(CaptionPoint());
  ASSERT_TRUE(WaitUntil([&] { return IsZoomed(window_) != FALSE; }, 3s)) << "a caption double click maximises";
  PumpFor(600ms);  // not a double click with the first
  DoubleClickAt(CaptionPoint());
  ASSERT_TRUE(WaitUntil([&] { return !IsZoomed(window_); }, 3s)) << "and restores";
  GetWindowRect(window_, &restored);
  EXPECT_TRUE(EqualRect(&restored, &normal));

  // A fast second click on minimise or close is a second click on that button, never a maximise.
  PumpFor(600ms);
  DoubleClickAt(CentreOf(Place(2)));
  ASSERT_TRUE(WaitUntil([&] { return IsIconic(window_) != FALSE; }, 3s));
  PumpFor(300ms);
  EXPECT_FALSE(IsZoomed(window_));
  SendMessageW(window_, WM_SYSCOMMAND, SC_RESTORE, 0);
  ASSERT_TRUE(WaitUntil([&] { return !IsIconic(window_); }, 3s));
  Activate(window_);
  PumpFor(600ms);
  DoubleClickAt(CentreOf(Place(0)));
  ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(window_); }, 3s)) << "closed by its close button";
  PumpFor(300ms);
  EXPECT_FALSE(IsZoomed(window_));
}

TEST_P(SkinFrame, RightClickOnTheCaptionOpensTheSkinnedSystemMenuWhoseItemsAct) {
  Open();
  // Opened, read, and closed with a real Escape.
  {
    WhileMenuOpen menu([](HWND, HMENU) { SendKeyNow(VK_ESCAPE); });
    ClickAt(CaptionPoint(), MouseButton::Right);
    ASSERT_TRUE(WaitUntil([&] { return menu.Seen() && !OpenMenuWindow(); }, 5s));
    EXPECT_EQ(menu.Items(), (std::vector<std::wstring>{L" Restore ", L" Maximize ", L" Minimize ", L"-", L" Close "}));
  }
  EXPECT_TRUE(IsWindowVisible(window_));
  EXPECT_FALSE(IsZoomed(window_));
  // " Close " shows the keys that close a window (its shortcut: the ink in the item's right half).
  const COLORREF menuText = ColourOf(skin_->MenuTextColour);
  const int altF4 = TextInkWidth(L"Alt+F4", menuText, true);
  int shortcut = 0;
  PumpFor(600ms);  // a second request within the double-click time is not a new menu
  MenuScript look({[&](HWND w, HMENU m) {
    const RECT item = ItemPlaces(w, m).at(4);
    const ScreenGrab grab = ScreenGrab::OfWindow(w);
    const RECT ink = ColourBounds(grab, {grab.Rect().left, grab.Rect().top},
                                  {(item.left + item.right) / 2, item.top, item.right, item.bottom},
                                  menuText);
    shortcut = ink.right - ink.left;
    if (shortcut == altF4) SaveScreenshot(Shot("system-menu"));
    return shortcut == altF4;
  }});
  ClickAt(CaptionPoint(), MouseButton::Right);
  EXPECT_TRUE(WaitUntil([&] { return look.Finished(); }, 15s) && look.Done()) << shortcut << " px, Alt+F4 " << altF4;

  // Each item acts: clicked with the real mouse.
  auto choose = [&](int position) {
    PumpFor(600ms);  // a second request within the double-click time is not a new menu
    WhileMenuOpen menu([position](HWND, HMENU m) {
      RECT item{};
      GetMenuItemRect(nullptr, m, static_cast<UINT>(position), &item);
      const POINT p{(item.left + item.right) / 2, (item.top + item.bottom) / 2};
      SendMouseInput(0, p);
      Sleep(50);
      SendMouseInput(MOUSEEVENTF_LEFTDOWN, p);
      SendMouseInput(MOUSEEVENTF_LEFTUP, p);
    });
    ClickAt(CaptionPoint(), MouseButton::Right);
    return WaitUntil([&] { return menu.Seen() && !OpenMenuWindow(); }, 5s);
  };
  ASSERT_TRUE(choose(1));
  EXPECT_TRUE(WaitUntil([&] { return IsZoomed(window_) != FALSE; }, 3s)) << " Maximize ";
  ASSERT_TRUE(choose(0));
  EXPECT_TRUE(WaitUntil([&] { return !IsZoomed(window_); }, 3s)) << " Restore ";
  ASSERT_TRUE(choose(4));
  EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(window_); }, 3s)) << " Close ";
}

TEST_P(SkinFrame, ClientSizesHoldThroughSkinningUnskinningAndAnotherSkin) {
  Open();
  TFrm_Gallery& g = host_->Gallery();
  g.Dialog()->Show();
  g.Tool()->Show();
  std::vector<TForm*> forms{&g, g.Dialog(), g.Tool()};
  for (TForm* f : forms) ASSERT_TRUE(WaitSkinned(f->Handle()));
  auto sizesHold = [&](const char* when) {
    for (TForm* f : forms) {
      const SIZE want = DesignedClientSize(*f), have = ClientSize(f->Handle());
      EXPECT_TRUE(SameSize(want, have)) << when << ": " << f->ClassType().name << " has " << have.cx << " x "
                                        << have.cy << ", designed " << want.cx << " x " << want.cy;
    }
  };
  sizesHold("skinned");
  host_->Skin().SetActive(false);
  for (TForm* f : forms) ASSERT_TRUE(WaitUnskinned(f->Handle()));
  sizesHold("unskinned");
  host_->Skin().SetActive(true);
  for (TForm* f : forms) ASSERT_TRUE(WaitSkinned(f->Handle()));
  sizesHold("skinned again");
  const auto other = ReadSkinContent(SkinFileBytes(OtherSkin(GetParam())));
  const Edges e = EdgesOf(*other);
  host_->Skin().SetSkinFile(reinterpret_cast<const char16_t*>(SkinFilePath(OtherSkin(GetParam())).c_str()));
  ASSERT_TRUE(WaitUntil([&] { return ClientInsideEdges(window_, e); }, 5s));
  PumpFor(300ms);
  sizesHold("with the other skin");
}

TEST_P(SkinFrame, SkinOffGivesEveryWindowItsOldSizeStylesAndNoRegionAndOnSkinsThemAgain) {
  Open(false);
  TFrm_Gallery& g = host_->Gallery();
  host_->Skin().SetActive(false);  // before any window shows: nothing is skinned
  g.Show();
  g.Dialog()->Show();
  g.Tool()->Show();
  g.Popup()->Show();
  std::vector<TForm*> forms{&g, g.Dialog(), g.Tool(), g.Popup()};
  ASSERT_TRUE(Activate(window_));
  PumpFor(300ms);
  struct Was {
    RECT rect;
    LONG style;
    LONG exStyle;
  };
  std::vector<Was> before;
  for (TForm* f : forms) {
    ASSERT_EQ(SkinnerOf(f->Handle()), nullptr);
    Was w{};
    GetWindowRect(f->Handle(), &w.rect);
    w.style = GetWindowLongW(f->Handle(), GWL_STYLE);
    w.exStyle = GetWindowLongW(f->Handle(), GWL_EXSTYLE);
    before.push_back(w);
  }

  // Switched on while another window is active: every window is skinned, none is activated.
  TestWindow other(true, kOtherWindowPlace, RGB(40, 90, 160), L"another window");
  ASSERT_TRUE(Activate(other.Get()));
  host_->Skin().SetActive(true);
  for (TForm* f : forms) ASSERT_TRUE(WaitSkinned(f->Handle())) << f->ClassType().name;
  PumpFor(300ms);
  EXPECT_EQ(GetForegroundWindow(), other.Get()) << "the skin-all pass activates no window";
  EXPECT_NE(GetWindowLongW(window_, GWL_STYLE), before[0].style) << "the caption styles are the skin's now";
  EXPECT_NE(RegionOf(window_).kind, ERROR);
  std::vector<std::string> frame = FrameOnScreen(window_, false, nullptr, other.Get());
  EXPECT_TRUE(frame.empty()) << ::testing::PrintToString(frame);
  std::vector<std::string> client = PlainClientOnScreen(window_, ColourOf(skin_->ButtonFaceColour));
  EXPECT_TRUE(client.empty()) << "skinned: " << ::testing::PrintToString(client);

  host_->Skin().SetActive(false);
  for (TForm* f : forms) ASSERT_TRUE(WaitUnskinned(f->Handle())) << f->ClassType().name;
  for (size_t i = 0; i < forms.size(); ++i) {
    const HWND w = forms[i]->Handle();
    RECT now{};
    GetWindowRect(w, &now);
    EXPECT_TRUE(EqualRect(&now, &before[i].rect)) << forms[i]->ClassType().name << " keeps its old place and size";
    EXPECT_EQ(GetWindowLongW(w, GWL_STYLE), before[i].style) << forms[i]->ClassType().name << ": exactly its styles";
    EXPECT_EQ(GetWindowLongW(w, GWL_EXSTYLE), before[i].exStyle) << forms[i]->ClassType().name;
    EXPECT_EQ(RegionOf(w).kind, ERROR) << forms[i]->ClassType().name << " has no region";
  }
  EXPECT_EQ(GetForegroundWindow(), other.Get());

  client = PlainClientOnScreen(window_, GetSysColor(COLOR_BTNFACE));
  EXPECT_TRUE(client.empty()) << "unskinned: " << ::testing::PrintToString(client);

  host_->Skin().SetActive(true);
  for (TForm* f : forms) ASSERT_TRUE(WaitSkinned(f->Handle())) << f->ClassType().name;
  ASSERT_TRUE(Activate(window_));
  frame = FrameOnScreen(window_, true);
  EXPECT_TRUE(frame.empty()) << "skinned again: " << ::testing::PrintToString(frame);
  client = PlainClientOnScreen(window_, ColourOf(skin_->ButtonFaceColour));
  EXPECT_TRUE(client.empty()) << "skinned again: " << ::testing::PrintToString(client);
}

TEST_P(SkinFrame, AnotherSkinFileRefreshesEveryWindowAndItsShape) {
  Open();
  TFrm_Gallery& g = host_->Gallery();
  g.Dialog()->Show();
  g.Tool()->Show();
  std::vector<HWND> windows{g.Dialog()->Handle(), g.Tool()->Handle(), window_};
  for (HWND w : windows) ASSERT_TRUE(WaitSkinned(w));
  ASSERT_TRUE(Activate(window_));
  const WindowRegion shaped = RegionOf(window_);
  EXPECT_EQ(shaped.kind, COMPLEXREGION) << "the skin's transparent pixels cut the window's shape";

  const GallerySkin otherSkin = OtherSkin(GetParam());
  const auto other = ReadSkinContent(SkinFileBytes(otherSkin));
  const Edges e = EdgesOf(*other);
  host_->Skin().SetSkinFile(reinterpret_cast<const char16_t*>(SkinFilePath(otherSkin).c_str()));
  for (HWND w : windows) {
    EXPECT_TRUE(WaitUntil([&] { return ClientInsideEdges(w, e); }, 5s))
        << "new metrics";
  }
  std::vector<std::string> frame = FrameOnScreen(window_, true, other.get());
  EXPECT_TRUE(frame.empty()) << "new pixels and a new shape: " << ::testing::PrintToString(frame);
  SaveScreenshot(Shot("changed-to-" + SkinCaseName(otherSkin)));

  // A skin whose edges cut nothing gives a plain rectangle.
  const std::wstring plain = WriteEditedSkin(GetParam(), "qlt-plain-edges.skin", [](std::string& ini) {
    for (const char* key : {"LeftTrans=", "RightTrans=", "TopTrans=", "BottomTrans="}) {
      for (size_t at; (at = ini.find(key)) != std::string::npos;) ini.replace(at, ini.find('\n', at) - at, ";");
    }
    const size_t at = ini.find("[Personality]");
    ini.insert(ini.find('\n', at) + 1, "LeftTrans=0\r\nRightTrans=0\r\nTopTrans=0\r\nBottomTrans=0\r\n");
  });
  ASSERT_FALSE(plain.empty());
  host_->Skin().SetSkinFile(reinterpret_cast<const char16_t*>(plain.c_str()));
  ASSERT_TRUE(WaitUntil([&] { return RegionOf(window_).kind == SIMPLEREGION; }, 5s));
  const RECT box = RegionOf(window_).Box();
  const SIZE size = WindowSize(window_);
  EXPECT_EQ(box.left, 0);
  EXPECT_EQ(box.top, 0);
  EXPECT_EQ(box.right, size.cx);
  EXPECT_EQ(box.bottom, size.cy);
  DeleteFileW(plain.c_str());
}

// A message box whose caption is wider than the box: widened to the caption, its buttons still
// centred and in their order, and it still answers with the button pressed.
TEST_P(SkinFrame, AMessageBoxIsWidenedToItsCaptionAndStillAnswers) {
  Open();
  struct Box {
    bool skinned = false;
    SIZE window{}, client{};
    std::vector<int> order;  // child ids in z-order, which is the tab order
    RECT ok{}, cancel{};     // client coordinates
    int answerBy = 0;
  };
  auto show = [&](const std::wstring& caption, int press) {
    Box seen;
    std::atomic<bool> stop{false};
    std::thread hand([&] {
      HWND box = nullptr;
      for (int i = 0; i < 400 && !box && !stop; ++i, Sleep(25)) {
        for (HWND b : MessageBoxesOf(GetCurrentProcessId())) box = b;
      }
      if (!box) return;
      DWORD_PTR answer = 0;
      Sleep(600);  // the skin fits the box once it is up
      seen.skinned = SendMessageTimeoutW(box, WM_SKIN_QUERY, 0, 0, SMTO_ABORTIFHUNG, 2000, &answer) && answer == 1;
      seen.window = WindowSize(box);
      seen.client = ClientSize(box);
      for (HWND c = GetWindow(box, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) seen.order.push_back(GetDlgCtrlID(c));
      seen.ok = RectInParent(GetDlgItem(box, IDOK));
      seen.cancel = RectInParent(GetDlgItem(box, IDCANCEL));
      SaveScreenshot(Shot(seen.skinned ? "messagebox-active" : "messagebox-unskinned"));
      if (seen.skinned && caption == L"QLT") {
        // A window of this thread takes the focus for a moment: the box's inactive frame.
        const RECT& r = kOtherWindowPlace;
        HWND cover = CreateWindowExW(0, L"STATIC", L"another window", WS_POPUP | WS_CAPTION | WS_VISIBLE, r.left,
                                     r.top, r.right - r.left, r.bottom - r.top, nullptr, nullptr, nullptr, nullptr);
        SetForegroundWindow(cover);
        for (int i = 0; i < 40; ++i, Sleep(10)) {
          for (MSG msg; PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE);) DispatchMessageW(&msg);
        }
        SaveScreenshot(Shot("messagebox-inactive"));
        DestroyWindow(cover);
      }
      RECT r{};
      GetWindowRect(GetDlgItem(box, press), &r);
      const POINT p{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
      SendMouseInput(0, p);
      Sleep(100);
      SendMouseInput(MOUSEEVENTF_LEFTDOWN, p);
      SendMouseInput(MOUSEEVENTF_LEFTUP, p);
    });
    seen.answerBy = MessageBoxW(window_, reinterpret_cast<LPCWSTR>(TFrm_Gallery::MessageText()), caption.c_str(),
                                MB_OKCANCEL | MB_ICONINFORMATION);
    stop = true;
    hand.join();
    return seen;
  };
  const std::wstring wide = reinterpret_cast<const wchar_t*>(TFrm_Gallery::MessageCaption());
  host_->Skin().SetActive(false);
  ASSERT_TRUE(WaitUnskinned(window_));
  const Box plain = show(wide, IDOK);
  const Box plainShort = show(L"QLT", IDOK);
  EXPECT_EQ(plain.answerBy, IDOK);
  ASSERT_FALSE(plain.skinned);
  host_->Skin().SetActive(true);
  ASSERT_TRUE(WaitSkinned(window_));
  ASSERT_TRUE(Activate(window_));

  const Box skinned = show(wide, IDCANCEL);
  ASSERT_TRUE(skinned.skinned);
  EXPECT_EQ(skinned.answerBy, IDCANCEL) << "the button pressed with the mouse is the answer";
  EXPECT_EQ(skinned.order, plain.order) << "the children keep their order";
  EXPECT_EQ(skinned.client.cy, plain.client.cy);
  // Wide enough for the caption in the system's caption font between the skin's text margins.
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  ASSERT_TRUE(SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0));
  UniqueFont font(CreateFontIndirectW(&metrics.lfCaptionFont));
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, font.Get());
  SIZE text{};
  GetTextExtentPoint32W(dc, wide.c_str(), static_cast<int>(wide.size()), &text);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  const int needed = skin_->Title->LeftWidth + text.cx + skin_->Title->RightWidth;
  ASSERT_GT(needed, plain.window.cx) << "the caption is wider than the box";
  EXPECT_EQ(skinned.window.cx, needed);
  // The buttons moved with the rest: as centred in the wider box as they were in the narrow one.
  auto offCentre = [](const Box& b) { return (b.ok.left + b.cancel.right) - b.client.cx; };
  EXPECT_LE(std::abs(offCentre(skinned)), std::abs(offCentre(plain)) + 2)
      << "buttons " << skinned.ok.left << ".." << skinned.cancel.right << " in " << skinned.client.cx;
  EXPECT_EQ(skinned.ok.top, plain.ok.top);

  // A box with a short caption keeps its client size.
  const Box skinnedShort = show(L"QLT", IDOK);
  EXPECT_TRUE(skinnedShort.skinned);
  EXPECT_TRUE(SameSize(skinnedShort.client, plainShort.client))
      << skinnedShort.client.cx << " x " << skinnedShort.client.cy << " for " << plainShort.client.cx << " x "
      << plainShort.client.cy;
  EXPECT_EQ(skinnedShort.answerBy, IDOK);
}

// Every window of the gallery skinned, active and inactive, on the screen and in screenshots.
TEST_P(SkinFrame, EveryGalleryWindowWearsTheFrame) {
  Open();
  TFrm_Gallery& g = host_->Gallery();
  g.Popup()->Show();
  g.Tool()->Show();
  g.Dialog()->Show();
  for (TForm* f : std::vector<TForm*>{g.Popup(), g.Tool(), g.Dialog()}) ASSERT_TRUE(WaitSkinned(f->Handle()));
  for (HWND w : {g.Tool()->Handle(), g.Dialog()->Handle()}) {
    ASSERT_TRUE(Activate(w));
    std::vector<std::string> frame = FrameOnScreen(w, true);
    EXPECT_TRUE(frame.empty()) << ClassNameOf(w) << " active: " << ::testing::PrintToString(frame);
    SaveScreenshot(Shot(std::string(w == g.Tool()->Handle() ? "tool" : "dialog") + "-active"));
  }
  // The dialog shows no icon and, having no boxes, no maximise or minimise; the popup has no
  // frame at all.
  TWinSkinForm* dialog = SkinnerOf(g.Dialog()->Handle());
  int closeButtons = 0;
  for (const auto& b : dialog->TitleButtons()) {
    if (!b->Visible) continue;
    const int action = b->Data.Action;
    EXPECT_TRUE(action != 1 && action != 2 && action != 3 && action != 11 && action != 12) << action;
    closeButtons += action == 0;
  }
  EXPECT_EQ(closeButtons, 1);
  EXPECT_TRUE(SameSize(ClientSize(g.Popup()->Handle()), WindowSize(g.Popup()->Handle())));
  TestWindow other(true, kOtherWindowPlace, RGB(40, 90, 160), L"another window");
  ASSERT_TRUE(Activate(other.Get()));
  for (HWND w : {g.Tool()->Handle(), g.Dialog()->Handle()}) {
    std::vector<std::string> frame = FrameOnScreen(w, false, nullptr, other.Get());
    EXPECT_TRUE(frame.empty()) << ClassNameOf(w) << " inactive: " << ::testing::PrintToString(frame);
  }
  SaveScreenshot(Shot("all-inactive"));
  ASSERT_TRUE(Activate(window_));
  SaveScreenshot(Shot("all-gallery-active"));
  ASSERT_TRUE(Activate(g.Popup()->Handle()));
  SaveScreenshot(Shot("all-popup-active"));
  // The icon, the window's own or (for the tool window, which has none) the program's, shows no
  // trace of the transparent colour.
  for (HWND w : {window_, g.Tool()->Handle()}) {
    ASSERT_TRUE(Activate(w));
    TWinSkinForm* skinner = SkinnerOf(w);
    for (const auto& b : skinner->TitleButtons()) {
      if (!b->Visible || !b->ShowsIcon()) continue;
      const RECT icon{b->Rect.left, b->Rect.top, b->Rect.right, b->Rect.bottom};
      const std::vector<std::string> pink = WaitForScreen(w, [&](const ScreenGrab& grab, POINT o) {
        std::vector<std::string> out;
        for (int y = icon.top; y < icon.bottom; ++y) {
          for (int x = icon.left; x < icon.right; ++x) {
            const COLORREF c = grab.PixelAt({o.x + x, o.y + y});
            if (GetRValue(c) >= 160 && GetBValue(c) >= 160 && GetGValue(c) < 64 && out.size() < 4) {
              out.push_back("(" + std::to_string(x) + "," + std::to_string(y) + ")");
            }
          }
        }
        return out;
      });
      EXPECT_TRUE(pink.empty()) << ClassNameOf(w) << ": magenta in the icon at " << ::testing::PrintToString(pink);
    }
  }
}

INSTANTIATE_TEST_SUITE_P(BothSkins, SkinFrame, ::testing::Values(GallerySkin::Slate, GallerySkin::Pine),
                         [](const auto& info) { return SkinCaseName(info.param); });

}  // namespace
}  // namespace qlt::test
