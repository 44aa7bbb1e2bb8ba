// MDI under the skin, with both skins: the gallery's MDI frame and its children skinned through the
// MDI client; a maximised child merged into the frame's skinned menu bar with its three buttons
// drawn from the skin (each one working, by real clicks); restoring, tiling and cascading giving
// the children their skinned frames back; the bar rebuilt from the form's main menu when the last
// child has closed; the skin's MenuUpdate after creations that fail; a child made and gone before
// it was skinned; unskinning; and GDI objects over many maximise/restore rounds and repaints.
#include <gtest/gtest.h>

#include <algorithm>

#include "skin/menus/WinSkinMenu.h"
#include "tests/win/GalleryTestSupport.h"

namespace qlt::test {
namespace {

enum MdiAction { kMinimiseChild = 7, kRestoreChild = 8, kCloseChild = 9 };

const TDataSkinSysButton* SkinButtonOf(const TSkinContent& skin, int action) {
  for (const auto& b : skin.SysButtons) {
    if (b->Action == action && !b->Image.Empty()) return b.get();
  }
  return nullptr;
}

// A window class whose windows are bare MDI children (no framework object).
const wchar_t* BareChildClass() {
  static const bool registered = [] {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = DefMDIChildProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.lpszClassName = L"QltBareMdiChild";
    return RegisterClassExW(&wc) != 0;
  }();
  return registered ? L"QltBareMdiChild" : L"";
}

class SkinMdi : public GalleryFrameTest {
 protected:
  void OpenMdi() {
    Open();
    frame_ = host_->Gallery().Mdi();
    menuUpdateAtStart_ = host_->Skin().MenuUpdate();
    frame_->ShowWithChildren();
    SetForegroundWindow(frame_->Handle());
    ASSERT_TRUE(WaitUntil([&] {
      TWinSkinForm* s = SkinnerOf(frame_->Handle());
      return s && s->State() == skActive && s->MenuBar() && !s->MenuBar()->BarRect().Empty() &&
             frame_->MDIChildCount() == 2 && ChildrenSkinned();
    })) << "the frame and its two children are skinned";
    client_ = frame_->ClientHandle();
  }

  bool ChildrenSkinned() const {
    for (int i = 0; i < frame_->MDIChildCount(); ++i) {
      TWinSkinForm* s = SkinnerOf(frame_->MDIChildren(i)->Handle());
      if (!s || s->State() != skActive) return false;
    }
    return true;
  }
  TWinSkinForm& Frame() const { return *SkinnerOf(frame_->Handle()); }
  HWND Active() const { return reinterpret_cast<HWND>(SendMessageW(client_, WM_MDIGETACTIVE, 0, 0)); }

  const TWinSysButton* TitleButton(HWND window, int action) const {
    TWinSkinForm* s = SkinnerOf(window);
    if (!s) return nullptr;
    for (const auto& b : s->TitleButtons()) {
      if (b->Data.Action == action) return b.get();
    }
    return nullptr;
  }
  POINT Centre(HWND window, const SkinRect& r) const { return OnScreen(window, (r.left + r.right) / 2, (r.top + r.bottom) / 2); }

  // A child maximised by a click on its own skinned maximise button.
  void MaximiseByClick(HWND child) {
    const TWinSysButton* max = TitleButton(child, 1);
    ASSERT_TRUE(max && max->Visible) << "the child shows the skin's maximise button";
    // The active child is on top: its title is uncovered.
    SendMessageW(client_, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(child), 0);
    EXPECT_TRUE(WaitUntil([&] { return SkinnerOf(child)->Active(); })) << "the active child's frame shows it";
    ClickAt(Centre(child, max->Rect));
    ASSERT_TRUE(WaitUntil([&] {
      const TWinSysButton* b = TitleButton(frame_->Handle(), kCloseChild);
      return IsZoomed(child) && SkinManager->MdiMaximized() && b && b->Visible;
    })) << "the child shows maximised, its buttons in the frame's bar";
  }
  // Clicks one of the three buttons in the frame's bar.
  void ClickMdiButton(int action) {
    const TWinSysButton* b = TitleButton(frame_->Handle(), action);
    ASSERT_TRUE(b && b->Visible);
    ClickAt(Centre(frame_->Handle(), b->Rect));
  }

  // What the frame's bar shows where the MDI buttons are: each its cell `cell`.
  std::vector<std::string> MdiButtonsOnScreen(int cell) {
    return WaitForScreen(frame_->Handle(), [&](const ScreenGrab& grab, POINT origin) {
      std::vector<std::string> wrong;
      for (int action : {kMinimiseChild, kRestoreChild, kCloseChild}) {
        const TWinSysButton* b = TitleButton(frame_->Handle(), action);
        const TDataSkinSysButton* expected = SkinButtonOf(*skin_, action);
        if (!b || !expected || !b->Visible) {
          wrong.push_back("button " + std::to_string(action) + " not shown");
          continue;
        }
        const RECT place{b->Rect.left, b->Rect.top, b->Rect.right, b->Rect.bottom};
        const int c = action == kCloseChild ? cell : 1;
        for (auto& m : CellMismatches(grab, origin, place, expected->Image, expected->Frame, c, 3)) wrong.push_back(m);
      }
      return wrong;
    });
  }

  // A child whose frame is the skin's: its caption styles taken, its shape set, its edges drawn.
  void ExpectSkinnedFrame(HWND child, const std::string& when, bool uncovered = true) {
    EXPECT_TRUE(WaitUntil([&] { return RegionOf(child).kind != ERROR && !IsZoomed(child); })) << when;
    EXPECT_EQ(GetWindowLongW(child, GWL_STYLE) & WS_SYSMENU, 0) << when;
    TWinSkinForm* s = SkinnerOf(child);
    ASSERT_TRUE(s) << when;
    if (!uncovered) return;
    const auto wrong = FrameOnScreen(child, s->Active());
    EXPECT_TRUE(wrong.empty()) << when << ": " << ::testing::PrintToString(wrong);
  }

  std::wstring MdiShot(const std::string& what) const { return Shot("mdi-" + what); }

  TFrm_GalleryMdi* frame_ = nullptr;
  HWND client_ = nullptr;
  bool menuUpdateAtStart_ = true;
};

TEST_P(SkinMdi, ChildrenAreSkinnedThroughTheClientAndAMaximisedChildsButtonsEachWorkFromTheBar) {
  OpenMdi();
  TWinSkinForm& frame = Frame();
  EXPECT_EQ(frame.MdiKind(), mkFrame);
  EXPECT_TRUE(frame.MdiClientSubclassed());
  EXPECT_EQ(frame.PendingMdiChild(), nullptr) << "each new child was skinned once the window menu was refreshed";
  EXPECT_EQ(SkinManager->MdiChildCount(), 2);
  EXPECT_EQ(GetMenu(frame_->Handle()), nullptr) << "the system's bar stays hidden";
  HWND first = frame_->MDIChildren(0)->Handle();
  EXPECT_EQ(SkinnerOf(first)->MdiKind(), mkChild);
  EXPECT_EQ(SkinnerOf(first)->MenuBar(), nullptr) << "a child has no bar of its own";
  ExpectSkinnedFrame(first, "a new child");
  EXPECT_FALSE(TitleButton(frame_->Handle(), kCloseChild)->Visible) << "no child buttons while none is maximised";
  SaveScreenshot(MdiShot("children"));

  // Maximised: the child's frame is the system's, its buttons are the skin's in the frame's bar.
  MaximiseByClick(first);
  EXPECT_EQ(RegionOf(first).kind, ERROR) << "a maximised child has no shape of its own";
  EXPECT_NE(GetWindowLongW(first, GWL_STYLE) & WS_SYSMENU, 0) << "its own styles are back";
  EXPECT_EQ(GetMenu(frame_->Handle()), nullptr) << "the system merged no bar of its own into the frame";
  HMENU held = frame.MenuBar()->MenuHandle();
  EXPECT_EQ(GetMenuItemCount(held), frame_->MainMenu1->Items()->Count()) << "no child items merged into the menu";
  const SkinRect band = frame.MenuBar()->BarRect();
  for (int action : {kMinimiseChild, kRestoreChild, kCloseChild}) {
    const SkinRect r = TitleButton(frame_->Handle(), action)->Rect;
    EXPECT_TRUE(band.Intersect(r) == r) << "button " << action << " sits in the bar";
    EXPECT_EQ(HitTest(frame_->Handle(), (r.left + r.right) / 2, (r.top + r.bottom) / 2), HTMENU);
  }
  auto wrong = MdiButtonsOnScreen(1);
  EXPECT_TRUE(wrong.empty()) << ::testing::PrintToString(wrong);
  SaveScreenshot(MdiShot("maximised"));
  // Hot under the mouse: the close button shows its hot cell.
  MoveMouseTo(Centre(frame_->Handle(), TitleButton(frame_->Handle(), kCloseChild)->Rect));
  wrong = MdiButtonsOnScreen(4);
  EXPECT_TRUE(wrong.empty()) << "hot: " << ::testing::PrintToString(wrong);

  // Restore: the child's skinned frame comes back and the buttons go.
  ClickMdiButton(kRestoreChild);
  ASSERT_TRUE(WaitUntil([&] { return !IsZoomed(first) && !SkinManager->MdiMaximized(); }));
  EXPECT_TRUE(WaitUntil([&] { return !TitleButton(frame_->Handle(), kCloseChild)->Visible; }));
  ExpectSkinnedFrame(first, "restored from the bar");
  SaveScreenshot(MdiShot("restored"));

  // Minimise from the bar.
  MaximiseByClick(first);
  ClickMdiButton(kMinimiseChild);
  EXPECT_TRUE(WaitUntil([&] { return IsIconic(first) && !SkinManager->MdiMaximized(); })) << "minimised from the bar";
  // Restored from the icon it comes back maximised, as it was: once more to its own size.
  for (int i = 0; i < 2 && (IsIconic(first) || IsZoomed(first)); ++i) {
    SendMessageW(client_, WM_MDIRESTORE, reinterpret_cast<WPARAM>(first), 0);
    PumpFor(100ms);
  }
  ASSERT_TRUE(!IsIconic(first) && !IsZoomed(first));
  EXPECT_FALSE(SkinManager->MdiMaximized());

  // Close from the bar: the child's form goes.
  HWND second = frame_->MDIChildren(0)->Handle() == first ? frame_->MDIChildren(1)->Handle() : frame_->MDIChildren(0)->Handle();
  MaximiseByClick(second);
  ClickMdiButton(kCloseChild);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindow(second) && frame_->MDIChildCount() == 1; })) << "closed from the bar";
  EXPECT_EQ(SkinManager->MdiChildCount(), 1);
}

TEST_P(SkinMdi, AltAndAnAcceleratorInAChildOpenTheFramesDropDown) {
  OpenMdi();
  TFrm_GalleryMdiChild* child = dynamic_cast<TFrm_GalleryMdiChild*>(frame_->ActiveMDIChild());
  ASSERT_NE(child, nullptr);
  child->Btn_Close->SetFocus();
  ASSERT_TRUE(WaitUntil([&] { return GetFocus() == child->Btn_Close->Handle(); }));
  WhileMenuOpen menu([](HWND, HMENU) { SendKeyNow(VK_ESCAPE); });
  PressKey('W', true);
  EXPECT_TRUE(WaitUntil([&] { return menu.Seen(); })) << "Alt+W in a child opens the frame's Window drop-down";
  EXPECT_TRUE(WaitUntil([&] { return !TWinSkinMenu::DropDownOpen(); }));
  EXPECT_TRUE(IsWindow(child->Handle())) << "the child's own button was not pressed";
}

TEST_P(SkinMdi, TilingAndCascadingAMaximisedChildGiveEveryChildItsSkinnedFrameBack) {
  OpenMdi();
  for (const char* how : {"tile", "cascade"}) {
    MaximiseByClick(Active());
    if (std::string(how) == "tile") {
      frame_->Tile();
    } else {
      frame_->Cascade();
    }
    EXPECT_FALSE(SkinManager->MdiMaximized()) << how;
    // Tiled children sit side by side; cascaded ones under the active one.
    for (int i = 0; i < frame_->MDIChildCount(); ++i) {
      HWND child = frame_->MDIChildren(i)->Handle();
      ExpectSkinnedFrame(child, how, std::string(how) == "tile" || child == Active());
    }
    PumpFor(300ms);
    SaveScreenshot(MdiShot(how));
  }
}

TEST_P(SkinMdi, AMenuGivenToTheFrameReplacesTheBarAndClosingTheLastChildRebuildsItFromTheMainMenu) {
  OpenMdi();
  TWinSkinForm& frame = Frame();
  const bool menuUpdate = menuUpdateAtStart_;
  // A menu given through the client: the bar shows it, the system's bar stays hidden.
  UniqueMenu other(CreateMenu());
  AppendMenuW(other.Get(), MF_STRING, 4711, L"Other 其他");
  SendMessageW(client_, WM_MDISETMENU, reinterpret_cast<WPARAM>(other.Get()), 0);
  ASSERT_EQ(frame.MenuBar()->Buttons().size(), 1u);
  EXPECT_EQ(frame.MenuBar()->Buttons()[0]->Caption, u"Other 其他");
  EXPECT_EQ(GetMenu(frame_->Handle()), nullptr);

  // The last child closes while maximised (its dying skinner counts no more): the bar is the main
  // menu's again, with no child buttons, and the skin's setting is back.
  frame_->MDIChildren(0)->Close();
  ASSERT_TRUE(WaitUntil([&] { return frame_->MDIChildCount() == 1; }));
  EXPECT_EQ(frame.MenuBar()->Buttons().size(), 1u) << "a child still lives: the bar stays";
  EXPECT_FALSE(frame.Skin()->MenuUpdate()) << "held off while a child lives";
  HWND last = frame_->MDIChildren(0)->Handle();
  MaximiseByClick(last);
  frame_->MDIChildren(0)->Close();
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(last); }));
  EXPECT_EQ(SkinManager->MdiChildCount(), 0);
  EXPECT_FALSE(SkinManager->MdiMaximized());
  const TMenuItem* root = frame_->MainMenu1->Items();
  ASSERT_EQ(frame.MenuBar()->Buttons().size(), static_cast<size_t>(root->Count())) << "rebuilt from the main menu";
  for (int i = 0; i < root->Count(); ++i) EXPECT_EQ(frame.MenuBar()->Buttons()[i]->Caption, root->Items(i)->Caption());
  EXPECT_EQ(frame.Skin()->MenuUpdate(), menuUpdate);
  EXPECT_TRUE(WaitUntil([&] { return !TitleButton(frame_->Handle(), kCloseChild)->Visible; }));
  EXPECT_EQ(frame.MenuBar()->MenuHandle(), frame_->MainMenu1->Handle()) << "the main menu is the one given back";
  SaveScreenshot(MdiShot("no-children"));
}

TEST_P(SkinMdi, MenuUpdateComesBackAfterACreationThatFailsAndAPendingChildThatGoesIsNeverSkinned) {
  OpenMdi();
  TWinSkinForm& frame = Frame();
  TSkinData& skin = *frame.Skin();
  while (frame_->MDIChildCount() > 0) {
    frame_->MDIChildren(0)->Close();
    PumpMessages();
  }
  ASSERT_TRUE(WaitUntil([&] { return frame_->MDIChildCount() == 0 && SkinManager->MdiChildCount() == 0; }));
  const bool menuUpdate = skin.MenuUpdate();
  auto create = [&](const wchar_t* cls) {
    MDICREATESTRUCTW mcs{};
    mcs.szClass = cls;
    mcs.szTitle = L"bare";
    mcs.hOwner = GetModuleHandleW(nullptr);
    mcs.x = mcs.y = 10;
    mcs.cx = 200;
    mcs.cy = 120;
    mcs.style = WS_VISIBLE;
    return reinterpret_cast<HWND>(SendMessageW(client_, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&mcs)));
  };
  // A class that does not exist: nothing made, the setting as it was.
  EXPECT_EQ(create(L"NoSuchClassAnywhere"), nullptr);
  EXPECT_EQ(skin.MenuUpdate(), menuUpdate) << "a failed creation gives MenuUpdate back";
  EXPECT_EQ(frame.PendingMdiChild(), nullptr);

  // Made, then destroyed before the window menu was refreshed: forgotten, never skinned.
  const size_t skinners = SkinManager->FormSkinners().size();
  HWND bare = create(BareChildClass());
  ASSERT_NE(bare, nullptr);
  EXPECT_EQ(frame.PendingMdiChild(), bare);
  EXPECT_FALSE(skin.MenuUpdate()) << "held off while the child lives";
  DestroyWindow(bare);
  EXPECT_EQ(frame.PendingMdiChild(), nullptr) << "a destroyed child is no pending one";
  // Another goes through the client before the refresh; the refresh then skins nothing.
  HWND gone = create(BareChildClass());
  ASSERT_NE(gone, nullptr);
  SendMessageW(client_, WM_MDIDESTROY, reinterpret_cast<WPARAM>(gone), 0);
  EXPECT_EQ(frame.PendingMdiChild(), nullptr);
  EXPECT_EQ(skin.MenuUpdate(), menuUpdate) << "no child left";
  SendMessageW(client_, WM_MDIREFRESHMENU, 0, 0);
  PumpFor(100ms);
  EXPECT_EQ(SkinManager->FormSkinners().size(), skinners) << "nothing skinned for a child that went";

  // A failed creation while a child lives leaves the setting held.
  HWND kept = create(BareChildClass());
  ASSERT_NE(kept, nullptr);
  SendMessageW(client_, WM_MDIREFRESHMENU, 0, 0);
  EXPECT_TRUE(WaitSkinned(kept)) << "a child without a form is skinned at the refresh";
  EXPECT_EQ(create(L"NoSuchClassAnywhere"), nullptr);
  EXPECT_FALSE(skin.MenuUpdate());
  SendMessageW(client_, WM_MDIDESTROY, reinterpret_cast<WPARAM>(kept), 0);
  EXPECT_EQ(skin.MenuUpdate(), menuUpdate);
}

TEST_P(SkinMdi, UnskinningGivesFrameAndChildrenTheirOwnLookAndSkinningAgainTakesThemBack) {
  OpenMdi();
  TSkinData& skin = host_->Skin();
  HWND child = frame_->MDIChildren(0)->Handle();
  const HMENU mainMenu = frame_->MainMenu1->Handle();
  skin.SetActive(false);
  SkinManager->RunPendingAction();
  ASSERT_TRUE(WaitUnskinned(frame_->Handle()));
  EXPECT_EQ(SkinnerOf(child), nullptr);
  EXPECT_EQ(GetMenu(frame_->Handle()), mainMenu) << "the frame's own bar is back";
  EXPECT_NE(GetWindowLongW(child, GWL_STYLE) & WS_CAPTION, 0);
  EXPECT_EQ(RegionOf(child).kind, ERROR);
  SaveScreenshot(MdiShot("unskinned"));
  // A child made while the skin is off is the system's; it is skinned with the others.
  frame_->NewChild();
  skin.SetActive(true);
  SkinManager->RunPendingAction();
  SetForegroundWindow(frame_->Handle());
  ASSERT_TRUE(WaitUntil([&] { return SkinnerOf(frame_->Handle()) && frame_->MDIChildCount() == 3 && ChildrenSkinned(); }));
  EXPECT_TRUE(Frame().MdiClientSubclassed());
  EXPECT_EQ(GetMenu(frame_->Handle()), nullptr);
  ExpectSkinnedFrame(child, "skinned again", false);
  ExpectSkinnedFrame(Active(), "the new child, skinned with the others");
}

TEST_P(SkinMdi, GdiObjectsStayFlatOverMaximiseRestoreRoundsRepaintsAndSkinCycles) {
  OpenMdi();
  HWND child = Active();
  TSkinData& skin = host_->Skin();
  struct Cycle {
    const char* name;
    int rounds;
    std::function<void()> run;
  };
  const std::vector<Cycle> cycles{
      {"maximise and restore", 200,
       [&] {
         SendMessageW(client_, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(child), 0);
         PumpMessages();
         SendMessageW(client_, WM_MDIRESTORE, reinterpret_cast<WPARAM>(child), 0);
         PumpMessages();
       }},
      {"repaint", 1000,
       [&] {
         RedrawWindow(frame_->Handle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
       }},
      {"skin off and on", 200,
       [&] {
         skin.SetActive(false);
         SkinManager->RunPendingAction();
         skin.SetActive(true);
         SkinManager->RunPendingAction();
         PumpMessages();
       }},
  };
  for (const auto& [name, rounds, run] : cycles) {
    for (int i = 0; i < 20; ++i) run();
    PumpFor(100ms);
    const int gdi = GdiObjectCount();
    for (int i = 0; i < rounds; ++i) run();
    PumpFor(100ms);
    EXPECT_LE(GdiObjectCount() - gdi, 2) << name;
  }
  SetForegroundWindow(frame_->Handle());
  EXPECT_TRUE(WaitUntil([&] { return SkinnerOf(frame_->Handle()) && ChildrenSkinned(); }));
}

INSTANTIATE_TEST_SUITE_P(BothSkins, SkinMdi, ::testing::Values(GallerySkin::Slate, GallerySkin::Pine),
                         [](const auto& info) { return SkinCaseName(info.param); });

}  // namespace
}  // namespace qlt::test
