// The skinned menu bar of the gallery's forms, with both skins: the bar painted inside the frame
// from the skin's MenuBar image (and its colour without one), hot buttons, only the band answering
// as the menu, drop-downs opened by a click, by Alt and an accelerator, moved along by the mouse
// and by Left and Right (sub-menus opened and closed on the way), one drop-down at a time and no
// filter left afterwards, a right-to-left form mirrored, the window's own menu bar given back by
// unskinning, and the GDI objects flat over a thousand drop-downs; the drop-downs' items on the
// popup's skinned background (read from the skin's file), the open button pressed between
// drop-downs, a bar item's own click before its drop-down, a menu merged in by Win32 calls, forms
// placed inside the form coloured by a new skin, and a plain Win32 window's bar and drop-downs
// skinned and its menu given back unchanged. Real mouse and keyboard; what happens inside a menu's
// loop is driven by a timer of this thread, which that loop still runs.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <set>

#include "gallery/FrmGallery.h"
#include "skin/controls/SkinManager.h"
#include "skin/frame/WinSkinForm.h"
#include "skin/menus/WinSkinMenu.h"
#include "tests/win/MenuTestSupport.h"
#include "tests/win/UiTestSupport.h"
#include "ui/ComCtrls.h"
#include "ui/Utf.h"

namespace qlt {
namespace {

using namespace test;

// ---- what the screen and the menus show ----

COLORREF Colour(TColor c, int system) { return SkinColourToRgb(c, GetSysColor(system)); }

COLORREF ImagePixel(const Bitmap24& image, int x, int y) {
  const Bgr p = image.At(x, y);
  return RGB(p.r, p.g, p.b);
}

BOOL CALLBACK CollectMenuWindow(HWND w, LPARAM list) {
  DWORD pid = 0;
  GetWindowThreadProcessId(w, &pid);
  if (pid == GetCurrentProcessId() && IsWindowVisible(w) && ClassNameOf(w) == L"#32768") {
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(w);
  }
  return TRUE;
}

// The menu windows this program shows.
std::vector<HWND> MenuWindows() {
  std::vector<HWND> found;
  EnumWindows(CollectMenuWindow, reinterpret_cast<LPARAM>(&found));
  return found;
}

HMENU MenuOf(HWND popup) { return reinterpret_cast<HMENU>(SendMessageW(popup, MN_GETHMENU, 0, 0)); }

// The popup window showing a menu, or nullptr.
HWND PopupShowing(HMENU menu) {
  for (HWND w : MenuWindows()) {
    if (MenuOf(w) == menu) return w;
  }
  return nullptr;
}

int Highlighted(HMENU menu) {
  for (int i = 0; i < GetMenuItemCount(menu); ++i) {
    MENUITEMINFOW mii{};
    mii.cbSize = sizeof mii;
    mii.fMask = MIIM_STATE;
    if (GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &mii) && (mii.fState & MFS_HILITE)) return i;
  }
  return -1;
}

RECT WindowRect(HWND w) {
  RECT r{};
  GetWindowRect(w, &r);
  return r;
}

int CountColour(const ScreenGrab& grab, const RECT& screen, COLORREF colour) {
  int n = 0;
  for (int y = screen.top; y < screen.bottom; ++y) {
    for (int x = screen.left; x < screen.right; ++x) n += grab.PixelAt({x, y}) == colour;
  }
  return n;
}

// The first and last screen columns of a rectangle holding pixels dark enough to be text (menus
// draw dark text on light items); {-1, -1} when there are none.
std::pair<int, int> DarkColumns(const RECT& screen) {
  const ScreenGrab grab(screen);
  int first = -1, last = -1;
  for (int x = 0; x < grab.Width(); ++x) {
    for (int y = 0; y < grab.Height(); ++y) {
      const COLORREF c = grab.Pixel(x, y);
      if (GetRValue(c) + GetGValue(c) + GetBValue(c) >= 3 * 100) continue;
      if (first < 0) first = screen.left + x;
      last = screen.left + x;
    }
  }
  return {first, last};
}

void SendKeys(const std::vector<WORD>& keys) {
  std::vector<INPUT> inputs;
  for (WORD vk : keys) inputs.push_back(KeyInput(vk, false));
  for (auto it = keys.rbegin(); it != keys.rend(); ++it) inputs.push_back(KeyInput(*it, true));
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

// ---- a script run by a timer of this thread, also inside a menu's loop ----

// Steps one after the other: a step's action runs once (on every tick when it repeats, as a hand
// moving to a place does) until its condition holds; a step whose condition does not come within
// five seconds fails the script. Whatever menu is left open at the end is closed with Escape.
class MenuScript {
 public:
  MenuScript() {
    timer_.SetEnabled(false);
    timer_.SetInterval(30);
    timer_.OnTimer = [this](TObject*) { Tick(); };
  }
  MenuScript& Then(std::string what, std::function<void()> act, std::function<bool()> done, bool repeat = false,
                   std::chrono::seconds patience = std::chrono::seconds(5)) {
    steps_.push_back({std::move(what), std::move(act), std::move(done), repeat, patience});
    return *this;
  }
  MenuScript& Key(const std::string& what, std::vector<WORD> keys, std::function<bool()> done) {
    return Then(what, [keys] { SendKeys(keys); }, std::move(done));
  }
  // The pointer brought to a point (and kept there), then pressed and released there.
  MenuScript& Click(const std::string& what, std::function<POINT()> at, std::function<bool()> done) {
    Then("pointer at " + what, [at] { SendMouseInput(0, at()); }, [at] { return PointerAt(at()); }, true);
    return Then(what, [at] {
      SendMouseInput(MOUSEEVENTF_LEFTDOWN, at());
      SendMouseInput(MOUSEEVENTF_LEFTUP, at());
    }, std::move(done));
  }
  // A moment for the menu's window to paint (Wine shows a paint a moment later), then `look`.
  MenuScript& Look(const std::string& what, std::function<void()> look) {
    auto since = std::make_shared<std::chrono::steady_clock::time_point>();
    Then("pause before " + what, [since] { *since = std::chrono::steady_clock::now(); },
         [since] { return std::chrono::steady_clock::now() - *since > std::chrono::milliseconds(400); });
    return Then(what, std::move(look), [] { return true; });
  }
  MenuScript& MoveTo(const std::string& what, std::function<POINT()> at, std::function<bool()> done) {
    return Then(what, [at, wiggle = 0]() mutable {
      POINT p = at();
      p.x += (wiggle++ & 1);  // a move Wine dropped is made again
      SendMouseInput(0, p);
    }, std::move(done), true);
  }
  // Runs the script; the name of the step that failed, or "" when all did.
  std::string Run() {
    step_ = 0;
    started_ = false;
    failed_.clear();
    timer_.SetEnabled(true);
    std::chrono::seconds patience(10);
    for (const Step& step : steps_) patience += step.patience + std::chrono::seconds(1);
    PumpUntil([&] { return step_ >= steps_.size() || !failed_.empty(); }, patience);
    timer_.SetEnabled(false);
    if (failed_.empty() && step_ < steps_.size()) failed_ = steps_[step_].what + " (the script did not run)";
    CloseMenus();
    return failed_;
  }

  static void CloseMenus() {
    for (int i = 0; i < 10 && (!MenuWindows().empty() || TWinSkinMenu::DropDownOpen()); ++i) {
      SendKeys({VK_ESCAPE});
      PumpFor(std::chrono::milliseconds(150));
    }
    if (!MenuWindows().empty()) EndMenu();
    PumpUntil([] { return MenuWindows().empty() && !TWinSkinMenu::DropDownOpen(); });
  }

 private:
  struct Step {
    std::string what;
    std::function<void()> act;
    std::function<bool()> done;
    bool repeat;
    std::chrono::seconds patience;
  };
  void Tick() {
    if (step_ >= steps_.size() || !failed_.empty()) {
      // The wait for the script's end runs outside the menu's loop: a menu left open by a failed
      // step is ended from in here, where that loop runs.
      if (!failed_.empty() && !MenuWindows().empty()) EndMenu();
      return;
    }
    Step& s = steps_[step_];
    if (started_ && s.done()) {
      ++step_;
      started_ = false;
      return;
    }
    if (!started_) {
      started_ = true;
      since_ = std::chrono::steady_clock::now();
      s.act();
    } else if (s.repeat) {
      s.act();
    }
    if (std::chrono::steady_clock::now() - since_ > s.patience) failed_ = s.what;
  }
  TTimer timer_{nullptr};
  std::vector<Step> steps_;
  size_t step_ = 0;
  bool started_ = false;
  std::chrono::steady_clock::time_point since_;
  std::string failed_;
};

// ---- the fixture: the gallery's main form skinned with one of the two skins ----

struct MenuEvent {
  UINT msg;
  HMENU menu;
};

class MenuBar : public ::testing::TestWithParam<const char*> {
 protected:
  static void SetUpTestSuite() { RegisterGalleryClasses(); }

  void SetUp() override {
    engine_ = std::make_unique<TSkinEngine>();
    const bool pine = std::string(GetParam()) == "Pine";
    TheGalleryOptions().skinFile = pine ? Widen(std::string(QLT_SECOND_SKIN_FILE)) : std::u16string();
    gallery_ = NewForm<TFrm_Gallery>(Application);
    ASSERT_TRUE(ShowSkinned(gallery_));
    skin_ = gallery_->SkinData1;
    ASSERT_EQ(skin_->NoSkin, false);
    content_ = SkinOfFile(Utf8ToWide(pine ? QLT_SECOND_SKIN_FILE : std::string(QLT_SKIN_BUILD_DIR) + "/QLTSkin.skin"));
    ASSERT_TRUE(content_ && content_->MenuItem && content_->MenuBackground);
    recorder_.Attach(gallery_->MainMenu1->Hooks(), [this](TMenuMessage& m) {
      if (m.Msg == WM_INITMENUPOPUP || m.Msg == WM_UNINITMENUPOPUP) events_.push_back({m.Msg, m.MenuHandle});
    });
  }

  void TearDown() override {
    MenuScript::CloseMenus();
    recorder_.Detach();
    delete gallery_;
    gallery_ = nullptr;
    engine_.reset();
    TheGalleryOptions().skinFile.clear();
  }

  // Shows a form and waits until its frame and menu bar are the skin's and painted.
  static bool ShowSkinned(TForm* form) {
    form->Show();
    SetForegroundWindow(form->Handle());
    return PumpUntil([&] {
      TWinSkinForm* s = SkinManager ? SkinManager->FindFormSkinner(form->Handle()) : nullptr;
      return s && s->State() == skActive && s->MenuBar() && !GetMenu(form->Handle()) &&
             !s->MenuBar()->BarRect().Empty() && !SkinManager->ActionTimerEnabled();
    }, std::chrono::seconds(10));
  }

  TWinSkinForm* Skinner(TForm* form) const { return SkinManager->FindFormSkinner(form->Handle()); }
  TWinSkinMenu* Bar(TForm* form) const { return Skinner(form)->MenuBar(); }
  TMenuBtn& Button(TForm* form, int index) const { return *Bar(form)->Button(index); }
  RECT ScreenRect(TForm* form, const SkinRect& r) const {
    const RECT w = WindowRect(form->Handle());
    return {w.left + r.left, w.top + r.top, w.left + r.right, w.top + r.bottom};
  }
  POINT ButtonCentre(TForm* form, int index) const {
    const RECT r = ScreenRect(form, Button(form, index).Rect);
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  }
  // The band of the bar on the screen.
  RECT Band(TForm* form) const { return ScreenRect(form, Bar(form)->BarRect()); }
  HMENU DropDownOf(TForm* form, int index) const { return Button(form, index).SubMenu; }

  // The drop-down of a button shows (alone) with its first item selected.
  std::function<bool()> Opened(int index, TForm* form = nullptr) const {
    return [this, index, form] {
      TForm* f = form ? form : gallery_;
      HMENU menu = DropDownOf(f, index);
      return MenuWindows().size() == 1 && PopupShowing(menu) && Highlighted(menu) == 0;
    };
  }
  static std::function<bool()> Closed() {
    return [] { return MenuWindows().empty() && !TWinSkinMenu::DropDownOpen(); };
  }

  // The top-level drop-downs in the order they opened; false when one opened before the one before
  // it had closed (a drop-down inside another).
  bool OneAtATime(std::vector<HMENU>& opened) const {
    std::set<HMENU> tops;
    for (const auto& b : Bar(gallery_)->Buttons()) tops.insert(b->SubMenu);
    HMENU open = nullptr;
    for (const MenuEvent& e : events_) {
      if (!tops.count(e.menu)) continue;
      if (e.msg == WM_INITMENUPOPUP) {
        if (open) return false;
        open = e.menu;
        opened.push_back(e.menu);
      } else if (e.menu == open) {
        open = nullptr;
      }
    }
    return open == nullptr;
  }

  // What differs on the screen from the skin's look of the drop-down of `menu` that shows now.
  std::vector<std::string> DropDownMismatches(HMENU menu) const {
    const HWND window = PopupShowing(menu);
    if (!window) return {"no drop-down shows"};
    std::vector<MenuEntry> entries;
    const std::vector<RECT> places = ItemPlaces(window, menu);
    for (int i = 0; i < static_cast<int>(places.size()); ++i) {
      MENUITEMINFOW mii{};
      mii.cbSize = sizeof mii;
      mii.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_SUBMENU;
      GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &mii);
      TMenuItem* item = TMenu::FindItemAt(menu, i);  // the gallery's images are 16 wide: the glyph square
      entries.push_back({places[static_cast<size_t>(i)], !item || !item->OnAdvancedDrawItem,
                         (mii.fType & MFT_SEPARATOR) != 0, (mii.fState & MFS_CHECKED) || (item && item->ImageIndex() >= 0),
                         mii.hSubMenu != nullptr});
    }
    return MenuWindowMismatches(*content_, window, entries, Highlighted(menu));
  }
  std::wstring Shot(const std::string& what) const { return L"menubar-" + Utf8ToWide(GetParam()) + L"-" + Utf8ToWide(what); }

  std::unique_ptr<TSkinEngine> engine_;
  TFrm_Gallery* gallery_ = nullptr;
  TSkinData* skin_ = nullptr;
  std::unique_ptr<TSkinContent> content_;  // the skin's objects as its file has them
  TMenuHook recorder_;
  std::vector<MenuEvent> events_;
};

// The gallery's bar: File, Edit, View, Windows, Tools (disabled), Debug (invisible), Help.
enum { kFile, kEdit, kView, kWindows, kTools, kDebug, kHelp };

// The pixel the bar shows at (x, y) of its fixed end parts, read from the MenuBar object: its two
// cells stacked (active, inactive), the ends kept at their width and stretched to the bar's height.
COLORREF BarEndPixel(const TDataSkinObject& bar, int frame, int x, int y, int width, int height) {
  const int cellHeight = bar.Image.Height() / 2;
  const int sy = cellHeight * (frame - 1) + y * cellHeight / height;
  const int sx = x < bar.LeftWidth ? x : bar.Image.Width() - (width - x);
  return ImagePixel(bar.Image, sx, sy);
}

// Pixels of the bar's two fixed ends on the screen that differ from the skin's cell `frame`.
int EndMismatches(const TDataSkinObject& bar, const RECT& band, int frame) {
  const ScreenGrab grab(band);
  const int w = band.right - band.left, h = band.bottom - band.top;
  int wrong = 0;
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      if (x >= bar.LeftWidth && x < w - bar.RightWidth) continue;
      wrong += grab.Pixel(x, y) != BarEndPixel(bar, frame, x, y, w, h);
    }
  }
  return wrong;
}

TEST_P(MenuBar, IsPaintedInsideTheFrameFromTheSkinAndOnlyItsBandAnswersAsTheMenu) {
  const HWND window = gallery_->Handle();
  TWinSkinForm& skinner = *Skinner(gallery_);
  TWinSkinMenu& bar = *Bar(gallery_);
  EXPECT_EQ(GetMenu(window), nullptr) << "the window shows no bar of its own";
  EXPECT_EQ(bar.MenuHandle(), gallery_->MainMenu1->Handle()) << "its menu is kept";
  EXPECT_EQ(skinner.MenuBarHeight(), GetSystemMetrics(SM_CYMENU));

  // The client area begins below the title and the bar.
  const RECT w = WindowRect(window);
  POINT origin{0, 0};
  ClientToScreen(window, &origin);
  const FrameMetrics& m = skinner.Metrics();
  EXPECT_EQ(origin.x - w.left, m.left);
  EXPECT_EQ(origin.y - w.top, m.top + GetSystemMetrics(SM_CYMENU));
  const RECT band = Band(gallery_);
  EXPECT_EQ(band.left, w.left + m.left);
  EXPECT_EQ(band.right, w.right - m.right);
  EXPECT_EQ(band.top, w.top + m.top);
  EXPECT_EQ(band.bottom, origin.y);

  // The background: the MenuBar image's fixed ends, active cell.
  ASSERT_TRUE(skin_->MenuBar && !skin_->MenuBar->Image.Empty());
  const TDataSkinObject& image = *skin_->MenuBar;
  EXPECT_TRUE(PumpUntil([&] { return EndMismatches(image, band, 1) == 0; }, std::chrono::seconds(3)))
      << EndMismatches(image, band, 1) << " pixels of the bar's ends differ from the skin's active cell";

  // The buttons: one per item that shows, from after the image's left part, captions in the
  // skin's text colour, the disabled one in the system's shadow colour.
  EXPECT_EQ(bar.Buttons().size(), 7u);
  EXPECT_EQ(Button(gallery_, kFile).Rect.left - bar.BarRect().left, image.LeftWidth + 4);
  EXPECT_TRUE(Button(gallery_, kDebug).Rect.Empty()) << "an invisible item has no button";
  EXPECT_EQ(Button(gallery_, kEdit).Rect.left, Button(gallery_, kFile).Rect.right);
  EXPECT_EQ(Button(gallery_, kHelp).Rect.left, Button(gallery_, kTools).Rect.right);
  const ScreenGrab grab = ScreenGrab::OfWindow(window);
  const COLORREF text = Colour(skin_->MenuBarTextColour, COLOR_MENUTEXT);
  for (int i : {kFile, kEdit, kView, kWindows, kHelp}) {
    EXPECT_GT(CountColour(grab, ScreenRect(gallery_, Button(gallery_, i).Rect), text), 5) << "button " << i;
  }
  const RECT tools = ScreenRect(gallery_, Button(gallery_, kTools).Rect);
  EXPECT_GT(CountColour(grab, tools, GetSysColor(COLOR_BTNSHADOW)), 5);
  EXPECT_EQ(CountColour(grab, tools, text), 0) << "a disabled caption is not drawn as an enabled one";

  // Hit testing: the band is the menu; the title above it, the client below it and the edges
  // beside it are not.
  auto hit = [&](int x, int y) { return SendMessageW(window, WM_NCHITTEST, 0, MAKELPARAM(x, y)); };
  const int mid = (band.left + band.right) / 2;
  EXPECT_EQ(hit(mid, (band.top + band.bottom) / 2), HTMENU);
  EXPECT_EQ(hit(ButtonCentre(gallery_, kEdit).x, ButtonCentre(gallery_, kEdit).y), HTMENU);
  EXPECT_EQ(hit(band.left, band.top), HTMENU);
  EXPECT_EQ(hit(band.right - 1, band.bottom - 1), HTMENU);
  EXPECT_EQ(hit(mid, band.top - 1), HTCAPTION);
  EXPECT_EQ(hit(mid, band.bottom), HTCLIENT);
  EXPECT_NE(hit(band.left - 1, (band.top + band.bottom) / 2), HTMENU) << "the left edge beside the band";
  EXPECT_NE(hit(band.right, (band.top + band.bottom) / 2), HTMENU) << "the right edge beside the band";

  // An inactive window's bar shows the second cell (where the cells differ at the ends).
  int differ = 0;
  const int bw = band.right - band.left, bh = band.bottom - band.top;
  for (int y = 0; y < bh; ++y) {
    for (int x = 0; x < image.LeftWidth; ++x) differ += BarEndPixel(image, 1, x, y, bw, bh) != BarEndPixel(image, 2, x, y, bw, bh);
  }
  gallery_->Tool()->Show();
  SetForegroundWindow(gallery_->Tool()->Handle());
  if (differ > 0) {
    EXPECT_TRUE(PumpUntil([&] { return EndMismatches(image, band, 2) == 0; }, std::chrono::seconds(3)))
        << EndMismatches(image, band, 2) << " pixels of an inactive bar's ends differ from the inactive cell";
  }
  gallery_->Tool()->Hide();
  SetForegroundWindow(window);

  // Without a MenuBar object the bar is filled with the skin's menu bar colour and the buttons start 6
  // from its end.
  SkinObjectPtr saved = std::move(skin_->MenuBar);
  RedrawWindow(window, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
  const COLORREF fill = Colour(skin_->MenubarColour, COLOR_MENU);
  const RECT start{band.left, band.top, band.left + 6, band.bottom};
  EXPECT_TRUE(PumpUntil([&] { return CountColour(ScreenGrab(start), start, fill) == 6 * (band.bottom - band.top); },
                        std::chrono::seconds(3)));
  EXPECT_EQ(Button(gallery_, kFile).Rect.left - bar.BarRect().left, 6);
  skin_->MenuBar = std::move(saved);
  RedrawWindow(window, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
}

TEST_P(MenuBar, AButtonTurnsHotUnderTheMouseAndBackWhenTheMouseLeaves) {
  const COLORREF outline = Colour(skin_->ButtonHilightColour, COLOR_BTNHIGHLIGHT);
  // The button's outline on the screen: its four edges in the outline colour.
  auto outlined = [&](int index) {
    const RECT r = ScreenRect(gallery_, Button(gallery_, index).Rect);
    const ScreenGrab grab(r);
    const int w = r.right - r.left, h = r.bottom - r.top;
    return CountColour(grab, {r.left, r.top, r.right, r.top + 1}, outline) == w &&
           CountColour(grab, {r.left, r.bottom - 1, r.right, r.bottom}, outline) == w &&
           CountColour(grab, {r.left, r.top, r.left + 1, r.bottom}, outline) == h &&
           CountColour(grab, {r.right - 1, r.top, r.right, r.bottom}, outline) == h;
  };
  // A hand resting on a button moves by a pixel now and then (Wine may report a pointer position a
  // moment late, and the hover check then takes the button for left).
  auto restOn = [&](int index, const std::function<bool()>& shows) {
    const POINT centre = ButtonCentre(gallery_, index);
    MoveMouseTo(centre);
    for (int i = 0; i < 20 && !shows(); ++i) {
      SendMouseInput(0, POINT{centre.x + (i & 1), centre.y});
      PumpFor(std::chrono::milliseconds(100));
    }
    return shows();
  };
  MoveMouseTo(CentreOf(gallery_->Handle()));
  ASSERT_TRUE(PumpUntil([&] { return !outlined(kEdit); }, std::chrono::seconds(2)));
  EXPECT_TRUE(restOn(kEdit, [&] { return outlined(kEdit); }));
  EXPECT_EQ(Button(gallery_, kEdit).State, kButtonHot);
  EXPECT_TRUE(restOn(kView, [&] { return outlined(kView) && !outlined(kEdit); }));
  // Off the bar: the hover check puts the button back without further non-client messages.
  MoveMouseTo(CentreOf(gallery_->Handle()));
  EXPECT_TRUE(PumpUntil([&] { return !outlined(kView); }, std::chrono::seconds(2)));
  EXPECT_EQ(Button(gallery_, kView).State, kButtonNormal);
  EXPECT_EQ(Skinner(gallery_)->HotObject(), nullptr);
}

TEST_P(MenuBar, AClickDropsTheMenuBelowItsButtonAndTheMouseSwitchesDropDownsOneAtATime) {
  RECT popup{};
  std::vector<std::string> looks;
  MenuScript script;
  script.Click("click on File", [&] { return ButtonCentre(gallery_, kFile); }, Opened(kFile))
      .Then("its items on the popup's skinned background, as popup menus show them", [] {},
            [&] { return (looks = DropDownMismatches(DropDownOf(gallery_, kFile))).empty(); })
      .Look("look", [&] {
        GetWindowRect(PopupShowing(DropDownOf(gallery_, kFile)), &popup);
        SaveScreenshot(Shot("dropdown"));
      })
      .MoveTo("mouse over Edit", [&] { return ButtonCentre(gallery_, kEdit); }, Opened(kEdit))
      .MoveTo("mouse over View", [&] { return ButtonCentre(gallery_, kView); }, Opened(kView))
      .MoveTo("mouse over the disabled Tools", [&] { return ButtonCentre(gallery_, kTools); },
              [&] { return Opened(kView)() && PointerAt(ButtonCentre(gallery_, kTools)); })
      .Click("click on the open View", [&] { return ButtonCentre(gallery_, kView); }, Closed());
  EXPECT_EQ(script.Run(), "") << ::testing::PrintToString(looks);

  const RECT file = ScreenRect(gallery_, Button(gallery_, kFile).Rect);
  EXPECT_EQ(popup.top, Band(gallery_).bottom) << "the drop-down hangs below the bar";
  EXPECT_EQ(popup.left, file.left) << "... from its button's left end";
  std::vector<HMENU> opened;
  EXPECT_TRUE(OneAtATime(opened)) << "a drop-down opened inside another";
  EXPECT_EQ(opened, (std::vector<HMENU>{DropDownOf(gallery_, kFile), DropDownOf(gallery_, kEdit),
                                         DropDownOf(gallery_, kView)}))
      << "the disabled Tools opened nothing; the click on View closed it without opening it again";
  EXPECT_FALSE(TWinSkinMenu::FilterInstalled());
  EXPECT_FALSE(SkinManager->MenuBarPopup());
  EXPECT_NE(Button(gallery_, kView).State, kButtonPressed);
}

TEST_P(MenuBar, LeftAndRightMoveAlongTheBarWrapAroundTheEndsAndOpenAndCloseSubMenus) {
  HMENU file = DropDownOf(gallery_, kFile);
  auto* recentItem = dynamic_cast<TMenuItem*>(gallery_->FindComponent(u"Mnu_Recent"));
  ASSERT_NE(recentItem, nullptr);
  HMENU recent = recentItem->Handle();
  MenuScript script;
  const auto since = std::make_shared<std::chrono::steady_clock::time_point>();
  script.Click("click on File", [&] { return ButtonCentre(gallery_, kFile); }, Opened(kFile))
      .Key("Right on New", {VK_RIGHT}, Opened(kEdit))
      .Then("Edit stays pressed past the hover check, the pointer on File",
            [&] { *since = std::chrono::steady_clock::now(); },
            [&] {
              const RECT r = ScreenRect(gallery_, Button(gallery_, kEdit).Rect), top{r.left, r.top, r.right, r.top + 1};
              const COLORREF outline = Colour(skin_->ButtonHilightColour, COLOR_BTNHIGHLIGHT);
              return std::chrono::steady_clock::now() - *since > std::chrono::milliseconds(700) &&
                     Button(gallery_, kEdit).State == kButtonPressed &&
                     CountColour(ScreenGrab(top), top, outline) == r.right - r.left;
            })
      .Key("Right to View", {VK_RIGHT}, Opened(kView))
      .Key("Right to Windows", {VK_RIGHT}, Opened(kWindows))
      .Key("Right over the disabled and the invisible item", {VK_RIGHT}, Opened(kHelp))
      .Key("Right from the last", {VK_RIGHT}, Opened(kFile))
      .Key("Left from the first", {VK_LEFT}, Opened(kHelp))
      .Key("Left to Windows", {VK_LEFT}, Opened(kWindows))
      .Key("Left to View", {VK_LEFT}, Opened(kView))
      .Key("Left to Edit", {VK_LEFT}, Opened(kEdit))
      .Key("Left to File", {VK_LEFT}, Opened(kFile))
      .Key("Down to Recent", {VK_DOWN}, [&] { return Highlighted(file) == 1; })
      .Key("Right opens Recent", {VK_RIGHT},
           [&] { return MenuWindows().size() == 2 && PopupShowing(recent) && Highlighted(recent) == 0; })
      .Look("look", [&] { SaveScreenshot(Shot("submenu")); })
      .Key("Left closes Recent", {VK_LEFT},
           [&] { return MenuWindows().size() == 1 && PopupShowing(file) && Highlighted(file) == 1; })
      .Key("Escape leaves", {VK_ESCAPE}, Closed());
  EXPECT_EQ(script.Run(), "");
  std::vector<HMENU> opened;
  EXPECT_TRUE(OneAtATime(opened)) << "a drop-down opened inside another";
  EXPECT_EQ(opened.size(), 11u);
  EXPECT_FALSE(TWinSkinMenu::FilterInstalled()) << "no filter is left once the menu has ended";
  EXPECT_FALSE(TWinSkinMenu::DropDownOpen());
  EXPECT_NE(Button(gallery_, kFile).State, kButtonPressed) << "the button the menu closed on is pressed no more";
  // With no drop-down open, a filter call of the menu loop's kind moves nothing.
  MSG right{gallery_->Handle(), WM_KEYDOWN, VK_RIGHT, 0, 0, {}};
  EXPECT_EQ(CallMsgFilterW(&right, MSGF_MENU), FALSE);
  PumpFor(std::chrono::milliseconds(200));
  EXPECT_TRUE(MenuWindows().empty());
}

TEST_P(MenuBar, AltAndAnAcceleratorOpenItsDropDownAndEscapeLeaves) {
  const auto start = std::make_shared<std::chrono::steady_clock::time_point>();
  MenuScript script;
  script.Key("Alt+E", {VK_MENU, 'E'}, Opened(kEdit))
      .Key("Escape", {VK_ESCAPE}, Closed())
      .Then("Alt+O, the disabled Tools", [&] {
        *start = std::chrono::steady_clock::now();
        SendKeys({VK_MENU, 'O'});
      }, [&] { return std::chrono::steady_clock::now() - *start > std::chrono::milliseconds(700); })
      .Then("nothing opened", [] {}, [] { return MenuWindows().empty() && !TWinSkinMenu::DropDownOpen(); })
      .Key("Alt+V", {VK_MENU, 'V'}, Opened(kView))
      .Key("Right", {VK_RIGHT}, Opened(kWindows))
      .Key("Escape", {VK_ESCAPE}, Closed());
  EXPECT_EQ(script.Run(), "");
  EXPECT_FALSE(TWinSkinMenu::FilterInstalled());
  EXPECT_EQ(GetForegroundWindow(), gallery_->Handle()) << "the window keeps the focus";
}

TEST_P(MenuBar, ARightToLeftFormMirrorsItsBarItsDropDownsAndTheArrowKeys) {
  TFrm_GalleryRtl* rtl = gallery_->RightToLeft();
  ASSERT_TRUE(ShowSkinned(rtl));
  ASSERT_TRUE(Skinner(rtl)->RightToLeft());
  const TDataSkinObject& image = *skin_->MenuBar;
  TWinSkinMenu& bar = *Bar(rtl);
  // The first item at the right end, after the image's right part; the others to its left.
  EXPECT_EQ(bar.BarRect().right - Button(rtl, 0).Rect.right, image.RightWidth + 8);
  EXPECT_EQ(Button(rtl, 1).Rect.right, Button(rtl, 0).Rect.left);
  EXPECT_EQ(Button(rtl, 2).Rect.right, Button(rtl, 1).Rect.left);

  RECT popup{};
  RECT item{};
  std::pair<int, int> ink{-1, -1};
  HMENU file = DropDownOf(rtl, 0);
  MenuScript script;
  script.Click("click on File", [&] { return ButtonCentre(rtl, 0); }, Opened(0, rtl))
      .Look("look", [&] {
        GetWindowRect(PopupShowing(file), &popup);
        // "Close", a caption alone: where its text is.
        GetMenuItemRect(nullptr, file, 3, &item);
        ink = DarkColumns(item);
        SaveScreenshot(Shot("rtl"));
      })
      .Key("Left goes on along the bar", {VK_LEFT}, Opened(1, rtl))
      .Key("Right comes back", {VK_RIGHT}, Opened(0, rtl))
      .Key("Right from the first wraps to the last", {VK_RIGHT}, Opened(2, rtl))
      .Key("Escape", {VK_ESCAPE}, Closed());
  EXPECT_EQ(script.Run(), "");
  const RECT button = ScreenRect(rtl, Button(rtl, 0).Rect);
  EXPECT_EQ(popup.right, button.right) << "the drop-down hangs from its button's right end";
  EXPECT_EQ(popup.top, Band(rtl).bottom);
  ASSERT_GE(ink.first, 0) << "the caption was drawn";
  EXPECT_GT(ink.second, item.right - 40) << "the caption ends against the item's right end";
  EXPECT_GT(ink.first, item.left + (item.right - item.left) / 3) << "... and leaves the left end free";
  EXPECT_TRUE(rtl->MainMenu1->IsRightToLeft());
}

// Every entry of a menu and its sub-menus: its type, id, item data and text.
using Entry = std::tuple<UINT, UINT, ULONG_PTR, std::wstring>;
void ForEachEntry(HMENU menu, const std::function<void(const Entry&)>& visit) {
  for (int i = 0; i < GetMenuItemCount(menu); ++i) {
    wchar_t text[80] = {};
    MENUITEMINFOW mii{};
    mii.cbSize = sizeof mii;
    mii.fMask = MIIM_FTYPE | MIIM_SUBMENU | MIIM_ID | MIIM_DATA | MIIM_STRING;
    mii.dwTypeData = text;
    mii.cch = 80;
    if (!GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &mii)) continue;
    visit(Entry{mii.fType, mii.wID, mii.dwItemData, text});
    if (mii.hSubMenu) ForEachEntry(mii.hSubMenu, visit);
  }
}

TEST_P(MenuBar, UnskinningGivesTheWindowItsOwnBarBackAtTheSameClientSizeWithTheMenusOwnDrawing) {
  const HWND window = gallery_->Handle();
  TMainMenu* menu = gallery_->MainMenu1;
  auto* copy = dynamic_cast<TMenuItem*>(gallery_->FindComponent(u"Mnu_Copy"));
  ASSERT_NE(copy, nullptr);
  int ownDrawn = 0;
  copy->OnAdvancedDrawItem = [&](TObject*, TCanvas* canvas, TRect r, TOwnerDrawState state) {
    ++ownDrawn;
    copy->DefaultDrawItem(canvas, r, state, false);
  };
  int skinDrawn = 0;
  bool inMenuLoop = false;
  TMenuHook watch(menu->Hooks(), [&](TMenuMessage& m) {
    if (m.Msg == WM_DRAWITEM && m.Item != copy) ++skinDrawn;
    if (m.Msg == WM_ENTERMENULOOP) inMenuLoop = true;
    if (m.Msg == WM_EXITMENULOOP) inMenuLoop = false;
  });
  const HMENU edit = DropDownOf(gallery_, kEdit);
  auto clientSize = [&] {
    RECT r{};
    GetClientRect(window, &r);
    return std::make_pair(r.right, r.bottom);
  };
  const auto designed = std::make_pair(LONG{420}, LONG{260});  // the description's client size
  EXPECT_EQ(clientSize(), designed);
  EXPECT_TRUE(menu->OwnerDraw()) << "the skin draws the main menu's items";

  // Skinned: the skin draws the items, and Copy draws itself as the application said.
  MenuScript skinned;
  skinned.Key("Alt+E", {VK_MENU, 'E'}, Opened(kEdit)).Look("look", [] {}).Key("Escape", {VK_ESCAPE}, Closed());
  EXPECT_EQ(skinned.Run(), "");
  EXPECT_GT(ownDrawn, 0);
  EXPECT_GT(skinDrawn, 0);

  skin_->SetActive(false);
  ASSERT_TRUE(PumpUntil([&] { return !SkinManager->FindFormSkinner(window) && GetMenu(window) == menu->Handle(); },
                        std::chrono::seconds(5)))
      << "the window's own bar, with the menu it had";
  EXPECT_EQ(clientSize(), designed) << "the client area keeps its size around the bar";
  EXPECT_FALSE(menu->OwnerDraw()) << "as the application had it";
  EXPECT_TRUE(static_cast<bool>(copy->OnAdvancedDrawItem)) << "the application's own drawing stays";
  int marked = 0;
  ForEachEntry(menu->Handle(), [&](const Entry& e) { marked += (std::get<0>(e) & MFT_OWNERDRAW) != 0; });
  EXPECT_EQ(marked, 0) << "no entry is left owner-drawn";
  RECT item{};
  ASSERT_TRUE(GetMenuItemRect(window, menu->Handle(), kEdit, &item));
  POINT origin{0, 0};
  ClientToScreen(window, &origin);
  EXPECT_LE(item.bottom, origin.y) << "the system's bar stands above the client area";
  EXPECT_GT(item.top, WindowRect(window).top);

  // The system's own bar and drop-down: nothing of it is owner-drawn.
  ownDrawn = skinDrawn = 0;
  MenuScript plain;
  plain.Click("click on the system's Edit", [&] { return POINT{(item.left + item.right) / 2, (item.top + item.bottom) / 2}; },
              [&] { return PopupShowing(edit) != nullptr; })
      .Look("look", [&] { SaveScreenshot(Shot("unskinned")); })
      .Key("Escape closes the drop-down", {VK_ESCAPE}, [] { return MenuWindows().empty(); })
      .Key("Escape leaves the bar", {VK_ESCAPE}, [&] { return !inMenuLoop; });
  EXPECT_EQ(plain.Run(), "");
  EXPECT_EQ(ownDrawn, 0);
  EXPECT_EQ(skinDrawn, 0);

  // On again: the skin's bar, drawing and client size once more.
  skin_->SetActive(true);
  ASSERT_TRUE(ShowSkinned(gallery_));
  EXPECT_EQ(GetMenu(window), nullptr);
  EXPECT_TRUE(menu->OwnerDraw());
  EXPECT_EQ(Bar(gallery_)->MenuHandle(), menu->Handle());
  EXPECT_EQ(clientSize(), designed);
  // Nothing of the system's frame is left inside the client area: its right and bottom strips
  // (where no control stands) show the form's colour alone.
  const COLORREF face = Colour(skin_->ButtonFaceColour, COLOR_BTNFACE);
  ClientToScreen(window, &(origin = POINT{0, 0}));
  const RECT right{origin.x + designed.first - 8, origin.y, origin.x + designed.first, origin.y + designed.second};
  const RECT bottom{origin.x, origin.y + designed.second - 8, origin.x + designed.first, origin.y + designed.second};
  auto plainFace = [&] {
    return CountColour(ScreenGrab(right), right, face) == 8 * designed.second &&
           CountColour(ScreenGrab(bottom), bottom, face) == 8 * designed.first;
  };
  EXPECT_TRUE(PumpUntil(plainFace, std::chrono::seconds(2)));
  copy->OnAdvancedDrawItem = nullptr;
}

TEST_P(MenuBar, GdiObjectsStayFlatOverAThousandDropDowns) {
  // Once a drop-down's last item is drawn, Right moves on to the next drop-down (a key posted into
  // the menu's loop, as the keyboard would), a thousand times, then Escape leaves.
  constexpr int kOpenings = 1000;
  const HWND window = gallery_->Handle();
  TMenuItem* root = gallery_->MainMenu1->Items();
  std::set<HMENU> tops;
  for (const auto& b : Bar(gallery_)->Buttons()) tops.insert(b->SubMenu);
  auto lastShown = [](TMenuItem* parent) -> TMenuItem* {
    for (int i = parent->Count() - 1; i >= 0; --i) {
      if (parent->Items(i)->Visible()) return parent->Items(i);
    }
    return nullptr;
  };
  int openings = 0, movedOn = 0, gdiWarm = -1;
  TMenuHook driver(gallery_->MainMenu1->Hooks(), [&](TMenuMessage& m) {
    if (m.Msg == WM_INITMENUPOPUP && tops.count(m.MenuHandle)) {
      if (++openings == 50) gdiWarm = GdiObjectCount();
    }
    if (m.Msg != WM_DRAWITEM || !m.Item || movedOn == openings) return;
    TMenuItem* parent = m.Item->Parent();
    if (!parent || parent->Parent() != root || m.Item != lastShown(parent)) return;
    movedOn = openings;
    PostMessageW(window, WM_KEYDOWN, openings >= kOpenings ? VK_ESCAPE : VK_RIGHT, 1);
  });
  const auto start = std::chrono::steady_clock::now();
  MenuScript script;
  script.Click("click on File", [&] { return ButtonCentre(gallery_, kFile); }, [&] { return openings >= 1; })
      .Then("a thousand drop-downs", [] {}, [&] { return openings >= kOpenings && Closed()(); }, false,
            std::chrono::seconds(300));
  EXPECT_EQ(script.Run(), "");
  const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
  PumpFor(std::chrono::milliseconds(200));
  const int gdiEnd = GdiObjectCount();
  std::printf("%d drop-downs in %lld ms; GDI objects %d after 50, %d at the end\n", openings,
              static_cast<long long>(elapsed.count()), gdiWarm, gdiEnd);
  EXPECT_GE(openings, kOpenings);
  ASSERT_GE(gdiWarm, 0);
  EXPECT_LE(gdiEnd - gdiWarm, 2) << "GDI objects grow with the drop-downs";
  EXPECT_TRUE(MenuWindows().empty());
  EXPECT_FALSE(TWinSkinMenu::FilterInstalled());
  EXPECT_FALSE(TWinSkinMenu::DropDownOpen());
  std::vector<HMENU> opened;
  EXPECT_TRUE(OneAtATime(opened)) << "a drop-down opened inside another";
}

TEST_P(MenuBar, AChosenItemRunsAndAMenuThatChangesKeepsTheSkinsBar) {
  const HWND window = gallery_->Handle();
  auto* statusBar = dynamic_cast<TMenuItem*>(gallery_->FindComponent(u"Mnu_StatusBar"));
  auto* hidden = dynamic_cast<TMenuItem*>(gallery_->FindComponent(u"Mnu_Debug"));
  ASSERT_TRUE(statusBar && hidden);
  ASSERT_FALSE(statusBar->Checked());
  MenuScript script;
  script.Key("Alt+V", {VK_MENU, 'V'}, Opened(kView))
      .Key("Down to Status bar", {VK_DOWN}, [&] { return Highlighted(DropDownOf(gallery_, kView)) == 1; })
      .Key("Enter chooses it", {VK_RETURN}, [&] { return Closed()() && statusBar->Checked(); });
  EXPECT_EQ(script.Run(), "");
  // The item changed (the form shows its own bar again on every change of its menu): the bar stays
  // the skin's, rebuilt.
  EXPECT_EQ(GetMenu(window), nullptr);
  EXPECT_EQ(Bar(gallery_)->Buttons().size(), 7u);
  EXPECT_EQ(Bar(gallery_)->MenuHandle(), gallery_->MainMenu1->Handle());
  // A top-level item shown by the program gets its button.
  hidden->SetVisible(true);
  EXPECT_EQ(GetMenu(window), nullptr);
  EXPECT_FALSE(Button(gallery_, kDebug).Rect.Empty());
  EXPECT_GT(Button(gallery_, kHelp).Rect.left, Button(gallery_, kDebug).Rect.left);
  MenuScript debug;
  debug.Click("click on Debug", [&] { return ButtonCentre(gallery_, kDebug); }, Opened(kDebug))
      .Key("Escape", {VK_ESCAPE}, Closed());
  EXPECT_EQ(debug.Run(), "");

  // A bar item's own click runs before its drop-down shows, also one reached from a neighbour:
  // Edit enables Paste exactly when the clipboard holds text.
  auto clipboard = [&](const std::wstring& text) {
    ASSERT_TRUE(OpenClipboard(window) && EmptyClipboard());
    HGLOBAL g = text.empty() ? nullptr : GlobalAlloc(GMEM_FIXED, (text.size() + 1) * sizeof(wchar_t));
    if (g && wcscpy(static_cast<wchar_t*>(g), text.c_str())) SetClipboardData(CF_UNICODETEXT, g);
    CloseClipboard();
  };
  auto* paste = dynamic_cast<TMenuItem*>(gallery_->FindComponent(u"Mnu_Paste"));
  auto editWithPaste = [&](bool on) { return [&, on] { return Opened(kEdit)() && paste->Enabled() == on; }; };
  clipboard(L"text");
  MenuScript clicks;
  clicks.Click("click on Edit", [&] { return ButtonCentre(gallery_, kEdit); }, editWithPaste(true))
      .Then("the clipboard emptied; Right", [&] {
        clipboard(L"");
        SendKeys({VK_RIGHT});
      }, Opened(kView))
      .Key("Left back to Edit", {VK_LEFT}, editWithPaste(false))
      .Key("Escape", {VK_ESCAPE}, Closed());
  EXPECT_EQ(clicks.Run(), "");

  // With MenuMerge, a drop-down merged into the window's menu by Win32 calls gets a button, and the
  // skin draws its items; without, the bar is the form's menu alone.
  HMENU plugin = CreatePopupMenu();
  AppendMenuW(plugin, MF_STRING, 0x7001, L"&Run 运行");
  AppendMenuW(plugin, MF_SEPARATOR, 0, nullptr);
  AppendMenuW(plugin, MF_STRING | MF_CHECKED, 0x7002, L"&Trace 跟踪");
  const HMENU bar = gallery_->MainMenu1->Handle();
  AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(plugin), L"&Plugin");
  skin_->SetMenuMerge(true);
  hidden->SetVisible(false);  // the menu changes (and leaves room at the bar's end)
  const int last = static_cast<int>(Bar(gallery_)->Buttons().size()) - 1;
  ASSERT_EQ(Button(gallery_, last).Caption, u"&Plugin") << "the window's menu as it is, the hidden item left out";
  std::vector<std::string> looks;
  MenuScript merged;
  merged.Click("click on Plugin", [&] { return ButtonCentre(gallery_, last); }, Opened(last))
      .Then("its items drawn by the skin", [] {}, [&] { return (looks = DropDownMismatches(plugin)).empty(); })
      .Key("Escape", {VK_ESCAPE}, Closed());
  EXPECT_EQ(merged.Run(), "") << ::testing::PrintToString(looks);
  skin_->SetMenuMerge(false);
  statusBar->SetChecked(false);  // the menu changes
  EXPECT_EQ(Bar(gallery_)->Buttons().size(), 7u);
  EXPECT_EQ(Button(gallery_, kHelp).Caption, u"&Help 帮助");
  RemoveMenu(bar, static_cast<UINT>(GetMenuItemCount(bar) - 1), MF_BYPOSITION);
  DestroyMenu(plugin);
}

TEST_P(MenuBar, ANewSkinColoursTheFormsPlacedInsideTheFormAndUnskinningGivesTheirColourBack) {
  // A form placed inside the gallery (not shown yet) that the skin takes for a scroll bar container
  // (Tag 55): no skinner of its own colours it.
  TForm* inner = NewFormFromText<TForm>(gallery_, "object Inner: TForm\n  Tag = 55\n  Color = clAqua\nend\n");
  inner->SetParent(gallery_);
  const bool pine = std::string(GetParam()) == "Pine";
  skin_->SetSkinFile(pine ? Widen(std::string(QLT_SKIN_BUILD_DIR) + "/QLTSkin.skin") : Widen(QLT_SECOND_SKIN_FILE));
  ASSERT_TRUE(PumpUntil(
      [&] { return gallery_->Color() == skin_->ButtonFaceColour && !SkinManager->ActionTimerEnabled(); }));
  EXPECT_EQ(inner->Color(), skin_->ButtonFaceColour) << "the new skin's face colour, as the form's";
  EXPECT_TRUE(ShowSkinned(gallery_)) << "the bar is the skin's still";
  skin_->SetActive(false);
  ASSERT_TRUE(PumpUntil([&] { return !SkinManager->FindFormSkinner(gallery_->Handle()); }, std::chrono::seconds(5)));
  EXPECT_EQ(inner->Color(), clAqua);
}

TEST_P(MenuBar, UnskinningWhileADropDownIsOpenEndsItAndGivesTheBarBack) {
  const HWND window = gallery_->Handle();
  MenuScript script;
  script.Click("click on Edit", [&] { return ButtonCentre(gallery_, kEdit); }, Opened(kEdit))
      .Then("skin off", [&] { skin_->SetActive(false); },
            [&] { return Closed()() && GetMenu(window) == gallery_->MainMenu1->Handle(); });
  EXPECT_EQ(script.Run(), "");
  EXPECT_EQ(SkinManager->FindFormSkinner(window), nullptr);
  EXPECT_FALSE(TWinSkinMenu::FilterInstalled());
  EXPECT_FALSE(SkinManager->MenuBarPopup());
  EXPECT_FALSE(gallery_->MainMenu1->OwnerDraw());
  skin_->SetActive(true);
  EXPECT_TRUE(ShowSkinned(gallery_));
}

TEST_P(MenuBar, AWindowWithoutAFormGetsItsBarAndSkinnedDropDownsFromItsMenuAndGetsItBackUnchanged) {
  // The gallery's plain window: a menu of Win32 calls, no framework object behind it.
  TGalleryPlainWindow& plain = *gallery_->Plain();
  const HWND window = plain.Handle();
  const HMENU menu = plain.Menu();
  auto entries = [&] {
    std::vector<Entry> out;
    ForEachEntry(menu, [&](const Entry& e) { out.push_back(e); });
    return out;
  };
  const auto before = entries();
  plain.Show();
  TWinSkinForm* skinner = nullptr;
  ASSERT_TRUE(PumpUntil([&] {
    skinner = SkinManager->FindFormSkinner(window);
    return skinner && skinner->State() == skActive && skinner->MenuBar() && !skinner->MenuBar()->BarRect().Empty();
  }));
  TWinSkinMenu& bar = *skinner->MenuBar();
  EXPECT_EQ(GetMenu(window), nullptr);
  EXPECT_EQ(bar.MenuHandle(), menu);
  ASSERT_EQ(bar.Buttons().size(), 3u);
  EXPECT_EQ(bar.Button(0)->Caption, u"&File 文件");
  EXPECT_EQ(bar.Button(2)->SubMenu, nullptr);
  const HMENU file = GetSubMenu(menu, 0), edit = GetSubMenu(menu, 1), more = GetSubMenu(file, 6);
  auto centre = [&](int index) {
    const RECT w = WindowRect(window);
    const SkinRect& r = bar.Button(index)->Rect;
    return POINT{w.left + (r.left + r.right) / 2, w.top + (r.top + r.bottom) / 2};
  };
  auto shows = [&](HMENU drop, size_t windows = 1) {
    return [=] { return MenuWindows().size() == windows && PopupShowing(drop) && Highlighted(drop) == 0; };
  };
  std::vector<std::string> looks;
  bool marked = false;
  MenuScript script;
  script.Click("click on File", [&] { return centre(0); }, shows(file))
      .Then("its items drawn by the skin", [] {}, [&] {
        marked = entries() != before;
        return (looks = DropDownMismatches(file)).empty();
      })
      .Look("look", [&] { SaveScreenshot(Shot("plain-window")); })
      .Key("Right", {VK_RIGHT}, shows(edit))
      .Key("Right past the bar's own item", {VK_RIGHT}, shows(file))
      .Key("Up to More", {VK_UP}, [&] { return Highlighted(file) == 6; })
      .Key("Right opens More", {VK_RIGHT}, shows(more, 2))
      .Then("its items drawn by the skin", [] {}, [&] { return (looks = DropDownMismatches(more)).empty(); })
      .Key("Escape closes More", {VK_ESCAPE}, [&] { return MenuWindows().size() == 1; })
      .Key("Down to New", {VK_DOWN}, [&] { return Highlighted(file) == 0; })
      .Key("Enter chooses New", {VK_RETURN}, [&] { return Closed()() && !plain.Commands().empty(); })
      .Click("click on Go", [&] { return centre(2); }, [&] { return plain.Commands().size() == 2; })
      .Key("Alt+E", {VK_MENU, 'E'}, shows(edit))
      .Key("Escape", {VK_ESCAPE}, Closed());
  EXPECT_EQ(script.Run(), "") << ::testing::PrintToString(looks);
  EXPECT_EQ(plain.Commands(), (std::vector<UINT>{TGalleryPlainWindow::kNew, TGalleryPlainWindow::kGo}));
  EXPECT_TRUE(marked) << "owner-drawn while it showed";
  EXPECT_TRUE(entries() == before) << "types, ids, item data and texts as they were once it closed";

  skin_->SetActive(false);
  EXPECT_TRUE(PumpUntil([&] { return !SkinManager->FindFormSkinner(window) && GetMenu(window) == menu; }))
      << "the window's own bar is back";
  EXPECT_TRUE(entries() == before);
  skin_->SetActive(true);
  ASSERT_TRUE(ShowSkinned(gallery_));
}

INSTANTIATE_TEST_SUITE_P(BothSkins, MenuBar, ::testing::Values("Slate", "Pine"),
                         [](const auto& info) { return std::string(info.param); });

}  // namespace
}  // namespace qlt
