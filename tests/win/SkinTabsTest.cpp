// Tab controls painted from the skin, with both skins (Slate and Pine): the gallery's page controls
// with their tabs on each side, button-style tabs, a disabled page control and a system tab control
// whose tabs overflow; QLT's main window with its two pages. Every tab's frame is read back from
// the screen (a strip on a side turned back first) and compared with the cells of the skin's
// "Tabs" image read from the skin file; the page border's corners likewise. Real clicks switch
// pages; the focus of button-style tabs apart from the selection; Chinese captions; the caller's
// DC left as it was; GDI objects flat over repaints and skin switches; each control's own look
// back without the skin.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <map>
#include <memory>

#include "app/FrmMain.h"
#include "gallery/FrmGallery.h"
#include "gallery/FrmGalleryTabs.h"
#include "skin/controls/SkinManager.h"
#include "skin/controls/SkinTabs.h"
#include "skin/controls/TabLayout.h"
#include "skin/data/BitmapTransforms.h"
#include "skin/data/SkinReader.h"
#include "skin/data/WinSkinData.h"
#include "skin/frame/WinSkinForm.h"
#include "tests/win/SkinOnScreen.h"
#include "tests/win/UiTestSupport.h"
#include "ui/Utf.h"

namespace qlt {
namespace {

using namespace test;

enum class SkinName { kSlate, kPine };

std::string SkinPath(SkinName s) {
  return s == SkinName::kPine ? std::string(QLT_SECOND_SKIN_FILE) : std::string(QLT_SKIN_BUILD_DIR) + "/QLTSkin.skin";
}

// The skin as the tests know it: read from the file the program loads, apart from the engine.
struct SkinFile {
  TSkinReader reader;
  TSkinContent content;
};
const TSkinContent& SkinObjects(SkinName s) {
  static std::map<SkinName, std::unique_ptr<SkinFile>> read;
  auto& file = read[s];
  if (!file) {
    file = std::make_unique<SkinFile>();
    const std::string bytes = ReadFileBytes(Utf8ToWide(SkinPath(s)));
    EXPECT_TRUE(file->reader.LoadPacked(ByteView(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size())));
    file->content.BuildSkin(file->reader);
  }
  return file->content;
}

SkinRect ToSkin(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

class SkinnedTabs : public ::testing::TestWithParam<SkinName> {
 protected:
  void SetUp() override {
    engine_ = std::make_unique<TSkinEngine>();
    RegisterGalleryClasses();
    TheGalleryOptions().skinFile = GetParam() == SkinName::kPine ? Widen(SkinPath(SkinName::kPine)) : u"";
    gallery_ = NewForm<TFrm_Gallery>(Application);
    ASSERT_TRUE(gallery_->SkinData1);
    gallery_->Show();
    tabs_ = gallery_->Tabs();
    ShowSkinned(tabs_, tabs_->Page_Right);
    ASSERT_TRUE(WaitUntil([&] { return SkinnerOfWindow(tabs_, tabs_->TabControl()) != nullptr; }, 3s));
  }
  void TearDown() override {
    delete gallery_;
    engine_.reset();
    TheGalleryOptions() = {};
  }

  const TSkinContent& Skin() const { return SkinObjects(GetParam()); }
  std::wstring Named(const std::wstring& what) const {
    return what + (GetParam() == SkinName::kPine ? L"-Pine" : L"-Slate");
  }
  Bgr Face() const {
    const COLORREF c = SkinColourToRgb(Skin().ButtonFaceColour, GetSysColor(COLOR_BTNFACE));
    return RgbPixel(GetRValue(c), GetGValue(c), GetBValue(c));
  }

  static TSkinTab* SkinnerOfWindow(TForm* form, HWND window) {
    TWinSkinForm* f = SkinManager->FindFormSkinner(form->Handle());
    return f ? dynamic_cast<TSkinTab*>(f->FindControlSkinner(window)) : nullptr;
  }
  static TSkinTab* SkinnerOf(TWinControl* control) {
    return SkinnerOfWindow(control->GetParentForm(), control->Handle());
  }
  void ShowSkinned(TForm* form, TWinControl* probe) {
    form->Show();
    SetForegroundWindow(form->Handle());
    ASSERT_TRUE(WaitUntil([&] { return SkinManager->FindFormSkinner(form->Handle()) && SkinnerOf(probe); }, 5s))
        << "the form was not skinned";
    MoveMouseTo(BesideOf(form->Handle()));
    PumpFor(100ms);
  }
  void SetSkinActive(bool on) {
    gallery_->SkinData1->SetActive(on);
    SkinManager->RunPendingAction();
    if (on) ASSERT_TRUE(WaitUntil([&] { return SkinnerOf(tabs_->Page_Top) != nullptr; }, 5s));
  }

  bool Shows(const TabPicture& p, HWND tab, int index, int cell) const {
    return TabShowsCell(p, tab, index, cell, Skin(), Face());
  }
  std::string TabsOnScreen(HWND tab) const { return test::TabsOnScreen(tab, Skin(), Face()); }
  bool BorderOnScreen(HWND tab) const { return TabPageBorderOnScreen(tab, Skin(), Face()); }
  std::vector<TPageControl*> Pages() const {
    return {tabs_->Page_Top, tabs_->Page_Bottom, tabs_->Page_Left, tabs_->Page_Right, tabs_->Page_Buttons,
            tabs_->Page_Off};
  }

  std::unique_ptr<TSkinEngine> engine_;
  TFrm_Gallery* gallery_ = nullptr;
  TFrm_GalleryTabs* tabs_ = nullptr;
};

TEST_P(SkinnedTabs, EverySideShowsTheSelectedTabSelectedAndTheBorderAroundThePage) {
  ASSERT_TRUE(Skin().Tabs && !Skin().Tabs->Image.Empty() && !Skin().Tabs->Image2.Empty());
  const TabSide sides[] = {TabSide::kTop, TabSide::kBottom, TabSide::kLeft, TabSide::kRight, TabSide::kTop,
                           TabSide::kTop};
  const std::vector<TPageControl*> pages = Pages();
  for (size_t i = 0; i < pages.size(); ++i) {
    SCOPED_TRACE(Narrow(pages[i]->Name()));
    TSkinTab* skinner = SkinnerOf(pages[i]);
    ASSERT_NE(skinner, nullptr);
    EXPECT_EQ(skinner->Owner(), SkinManager->FindFormSkinner(tabs_->Handle())) << "the form skinner owns it";
    EXPECT_EQ(skinner->Side(), sides[i]);
    EXPECT_EQ(TabsOnScreen(pages[i]->Handle()), "");
    EXPECT_TRUE(BorderOnScreen(pages[i]->Handle()));
  }
  // The system's own tab control, skinned by its window.
  EXPECT_EQ(TabsOnScreen(tabs_->TabControl()), "");
  SaveScreenshot(Named(L"tabs-gallery"));
}

TEST_P(SkinnedTabs, AClickOnAnotherTabSwitchesThePageAndDrawsItSelected) {
  struct Case {
    TPageControl* page;
    int other;
  };
  for (const Case& c : {Case{tabs_->Page_Top, 1}, Case{tabs_->Page_Bottom, 1}, Case{tabs_->Page_Left, 1},
                        Case{tabs_->Page_Right, 1}, Case{tabs_->Page_Buttons, 1}}) {
    SCOPED_TRACE(Narrow(c.page->Name()));
    ASSERT_EQ(c.page->ActivePageIndex(), 0);
    ClickAt(TabCentre(c.page->Handle(), c.other));
    EXPECT_TRUE(WaitUntil([&] { return c.page->ActivePageIndex() == c.other; }, 3s));
    EXPECT_EQ(TabsOnScreen(c.page->Handle()), "");
    ClickAt(TabCentre(c.page->Handle(), 0));
    EXPECT_TRUE(WaitUntil([&] { return c.page->ActivePageIndex() == 0; }, 3s));
    EXPECT_EQ(TabsOnScreen(c.page->Handle()), "");
  }
  // The system's tab control: its selection follows the click.
  HWND bare = tabs_->TabControl();
  ClickAt(TabCentre(bare, 1));
  EXPECT_TRUE(WaitUntil([&] { return SendMessageW(bare, TCM_GETCURSEL, 0, 0) == 1; }, 3s));
  EXPECT_EQ(TabsOnScreen(bare), "");
  // A disabled page control does not switch.
  ClickAt(TabCentre(tabs_->Page_Off->Handle(), 1));
  PumpFor(200ms);
  EXPECT_EQ(tabs_->Page_Off->ActivePageIndex(), 0);
  EXPECT_EQ(TabsOnScreen(tabs_->Page_Off->Handle()), "");
  SaveScreenshot(Named(L"tabs-clicked"));
}

TEST_P(SkinnedTabs, ButtonTabsDrawTheSelectionAsSelectedAndTheFocusAsFocus) {
  HWND h = tabs_->Page_Buttons->Handle();
  SetForegroundWindow(tabs_->Handle());
  tabs_->Page_Buttons->SetFocus();
  ASSERT_TRUE(WaitUntil([&] { return GetFocus() == h; }, 2s));
  const TabPicture before = PictureOf(h);
  // Button-style tabs move the focus without selecting.
  SendMessageW(h, TCM_SETCURFOCUS, 1, 0);
  ASSERT_EQ(SendMessageW(h, TCM_GETCURFOCUS, 0, 0), 1) << "the focus moved";
  ASSERT_EQ(SendMessageW(h, TCM_GETCURSEL, 0, 0), 0) << "the selection stayed";
  EXPECT_EQ(TabsOnScreen(h), "") << "the selected tab is drawn selected, the focused one not";
  // The focus shows on the focused tab: its inside changed, its frame did not.
  RECT r{};
  SendMessageW(h, TCM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&r));
  const SkinRect at = TabInStrip(before.side, before.layout, ToSkin(r));
  const Bitmap24 unfocused = before.strip.Copy(at.left, at.top, at.Width(), at.Height());
  TabPicture after;
  EXPECT_TRUE(WaitUntil([&] {
    after = PictureOf(h);
    return after.strip.Copy(at.left, at.top, at.Width(), at.Height()) != unfocused;
  }, 3s));
  EXPECT_TRUE(Shows(after, h, 1, 1));
  EXPECT_TRUE(Shows(after, h, 0, 2));
  SaveScreenshot(Named(L"tabs-focus-apart"));
  SendMessageW(h, TCM_SETCURFOCUS, 0, 0);
}

TEST_P(SkinnedTabs, ChineseAndLongCaptionsAreDrawnAsTheyAre) {
  HWND bare = tabs_->TabControl();
  auto setCaption = [&](int index, std::u16string text) {
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = reinterpret_cast<LPWSTR>(text.data());
    SendMessageW(bare, TCM_SETITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
    InvalidateRect(bare, nullptr, FALSE);
    PumpFor(150ms);
  };
  auto tabPixels = [&](int index) {
    RECT r{};
    SendMessageW(bare, TCM_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&r));
    const TabPicture p = PictureOf(bare);
    const SkinRect at = TabInStrip(p.side, p.layout, ToSkin(r));
    return p.strip.Copy(at.left, at.top, at.Width(), at.Height());
  };
  const Bitmap24 chinese = tabPixels(0);
  setCaption(0, u"?? 1");  // what a narrow read would make of "标签 1"
  const Bitmap24 marks = tabPixels(0);
  EXPECT_NE(chinese, marks) << "the Chinese caption is drawn, not question marks";
  setCaption(0, TFrm_GalleryTabs::TabCaption(0));
  EXPECT_EQ(tabPixels(0), chinese);
  // A caption far longer than any buffer: drawn cut, the tab still the skin's.
  setCaption(0, std::u16string(600, u'长'));
  EXPECT_EQ(TabsOnScreen(bare), "");
  setCaption(0, TFrm_GalleryTabs::TabCaption(0));
}

TEST_P(SkinnedTabs, OverflowArrowsStayTheSystemsAndTheCallersDcIsLeftAsItWas) {
  HWND bare = tabs_->TabControl();
  TSkinTab* skinner = SkinnerOfWindow(tabs_, bare);
  ASSERT_NE(skinner, nullptr);
  HWND arrows = skinner->ArrowWindow();
  ASSERT_NE(arrows, nullptr) << "more tabs than fit: the arrows show";
  // The arrows keep the system's look: the skin's face does not cover them.
  const ScreenGrab arrowGrab = ScreenGrab::OfWindow(arrows);
  RECT whole{0, 0, arrowGrab.Width(), arrowGrab.Height()};
  const COLORREF skinFace = RGB(Face().r, Face().g, Face().b);
  EXPECT_LT(CountColour(arrowGrab, POINT{arrowGrab.Rect().left, arrowGrab.Rect().top}, whole, skinFace),
            arrowGrab.Width() * arrowGrab.Height() / 2);

  // A paint into a DC of the caller's, which has its own clipping: given back as it was.
  RECT client{};
  GetClientRect(bare, &client);
  HDC screen = GetDC(nullptr);
  UniqueMemoryDc memory(CreateCompatibleDC(screen));
  UniqueBitmap bitmap(CreateCompatibleBitmap(screen, client.right, client.bottom));
  ReleaseDC(nullptr, screen);
  SelectedObject selected(memory.Get(), bitmap.Get());
  UniqueRegion clip(CreateRectRgn(2, 2, client.right - 3, client.bottom - 1));
  SelectClipRgn(memory.Get(), clip.Get());
  UniqueRegion before(CreateRectRgn(0, 0, 0, 0)), after(CreateRectRgn(0, 0, 0, 0));
  ASSERT_EQ(GetClipRgn(memory.Get(), before.Get()), 1);
  const int paints = skinner->PaintCount();
  SendMessageW(bare, WM_PAINT, reinterpret_cast<WPARAM>(memory.Get()), 0);
  EXPECT_EQ(skinner->PaintCount(), paints + 1);
  ASSERT_EQ(GetClipRgn(memory.Get(), after.Get()), 1);
  EXPECT_TRUE(EqualRgn(before.Get(), after.Get()));
  // And the skin's face is in it, the arrows' place left out.
  RECT a{};
  GetWindowRect(arrows, &a);
  MapWindowPoints(nullptr, bare, reinterpret_cast<POINT*>(&a), 2);
  const COLORREF face = RGB(Face().r, Face().g, Face().b);
  EXPECT_EQ(GetPixel(memory.Get(), 3, client.bottom - 3), face);
  EXPECT_NE(GetPixel(memory.Get(), (a.left + a.right) / 2, (a.top + a.bottom) / 2), face);
  SelectClipRgn(memory.Get(), nullptr);

  // A control too small for its strip (and one of no size) paints without harm.
  tabs_->Page_Off->SetBounds(288, 336, 6, 6);
  UpdateWindow(tabs_->Page_Off->Handle());
  tabs_->Page_Off->SetBounds(288, 336, 0, 0);
  UpdateWindow(tabs_->Page_Off->Handle());
  tabs_->Page_Off->SetBounds(288, 336, 120, 78);
  EXPECT_EQ(TabsOnScreen(tabs_->Page_Off->Handle()), "");
}

TEST_P(SkinnedTabs, HandlesStayFlatAndUnskinningGivesEachControlItsOwnLook) {
  std::vector<HWND> windows;
  for (TPageControl* p : Pages()) windows.push_back(p->Handle());
  windows.push_back(tabs_->TabControl());
  // Repaints.
  for (int i = 0; i < 20; ++i) {
    for (HWND w : windows) RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  }
  const int gdi = GdiObjectCount();
  for (int i = 0; i < 1000; ++i) RedrawWindow(windows[i % windows.size()], nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  EXPECT_LE(GdiObjectCount(), gdi + 2) << "1000 repaints";

  // The own look: grabs without the skin.
  SetSkinActive(false);
  ASSERT_EQ(SkinManager->FindFormSkinner(tabs_->Handle()), nullptr);
  PumpFor(300ms);
  std::vector<std::vector<COLORREF>> own;
  for (HWND w : windows) own.push_back(ScreenGrab::OfWindow(w).Pixels());
  SaveScreenshot(Named(L"tabs-unskinned"));

  SetSkinActive(true);
  EXPECT_EQ(TabsOnScreen(tabs_->Page_Top->Handle()), "");
  EXPECT_NE(ScreenGrab::OfWindow(windows[0]).Pixels(), own[0]);
  // 200 switches off and on.
  const int before = GdiObjectCount();
  for (int i = 0; i < 200; ++i) {
    gallery_->SkinData1->SetActive(false);
    SkinManager->RunPendingAction();
    gallery_->SkinData1->SetActive(true);
    SkinManager->RunPendingAction();
    PumpMessages();
  }
  ASSERT_TRUE(WaitUntil([&] { return SkinnerOf(tabs_->Page_Top) != nullptr; }, 5s));
  PumpFor(200ms);
  EXPECT_LE(GdiObjectCount(), before + 4) << "200 skin switches";
  EXPECT_EQ(TabsOnScreen(tabs_->Page_Left->Handle()), "");

  SetSkinActive(false);
  for (size_t i = 0; i < windows.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_TRUE(WaitUntil([&] { return ScreenGrab::OfWindow(windows[i]).Pixels() == own[i]; }, 3s)) << "own look";
  }
}

TEST_P(SkinnedTabs, QltsMainWindowShowsBothPagesTabsFromTheSkin) {
  std::unique_ptr<TFrm_Main> main(NewFormFromText<TFrm_Main>(Application, QltFormDescription(L"TFRM_MAIN", false)));
  ShowSkinned(main.get(), main->PageControl1);
  HWND h = main->PageControl1->Handle();
  ASSERT_EQ(SendMessageW(h, TCM_GETITEMCOUNT, 0, 0), 2);
  EXPECT_TRUE(GetWindowLongW(h, GWL_STYLE) & TCS_BUTTONS);
  EXPECT_EQ(TabsOnScreen(h), "");
  EXPECT_TRUE(BorderOnScreen(h));
  SaveScreenshot(Named(L"tabs-main-page1"));
  ClickAt(TabCentre(h, 1));
  EXPECT_TRUE(WaitUntil([&] { return main->PageControl1->ActivePage() == main->TabSheet2; }, 3s));
  EXPECT_EQ(TabsOnScreen(h), "");
  SaveScreenshot(Named(L"tabs-main-page2"));
  ClickAt(TabCentre(h, 0));
  EXPECT_TRUE(WaitUntil([&] { return main->PageControl1->ActivePage() == main->TabSheet1; }, 3s));
  EXPECT_EQ(TabsOnScreen(h), "");
}

INSTANTIATE_TEST_SUITE_P(BothSkins, SkinnedTabs, ::testing::Values(SkinName::kSlate, SkinName::kPine),
                         [](const auto& info) { return info.param == SkinName::kPine ? "Pine" : "Slate"; });

}  // namespace
}  // namespace qlt
