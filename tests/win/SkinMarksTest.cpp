// Check boxes, radio buttons and group boxes painted from the skin, with both skins (Slate and
// Pine): every state of the gallery's marks and of QLT's own forms on the screen, each pixel read
// from the skin objects; the mark put back after everything that makes the system draw its own
// (a check from anywhere, clicks, the space bar, the focus leaving, the framework's notice);
// hover and press looks only where the skin has them, and no repaint for a hover that changes
// nothing; the group box's rounded frame and caption; cell counts the image lacks; GDI objects
// flat over many paints, hovers and skin switches; and the controls' own look back without the
// skin.
#include <windows.h>

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <sstream>

#include "app/FrmMain.h"
#include "app/WinText.h"
#include "gallery/FrmGallery.h"
#include "skin/controls/ControlLayout.h"
#include "skin/controls/SkinManager.h"
#include "skin/controls/SkinMarks.h"
#include "skin/data/SkinReader.h"
#include "skin/data/StateCells.h"
#include "skin/data/WinSkinData.h"
#include "skin/frame/WinSkinForm.h"
#include "tests/win/SkinOnScreen.h"
#include "tests/win/UiTestSupport.h"
#include "tools/FrmHotKey.h"
#include "tools/FrmIPDNS.h"
#include "ui/Handles.h"
#include "ui/Utf.h"

namespace qlt {
namespace {

using namespace test;

enum class SkinName { kSlate, kPine };

std::string SkinPath(SkinName s) {
  return s == SkinName::kPine ? std::string(QLT_SECOND_SKIN_FILE) : std::string(QLT_SKIN_BUILD_DIR) + "/QLTSkin.skin";
}

// The skin as the tests know it: read from the file the program loads, not from the component
// under test.
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

COLORREF Rgb(Bgr p) { return RGB(p.r, p.g, p.b); }
COLORREF Face(const TSkinContent& s) { return SkinColourToRgb(s.ButtonFaceColour, GetSysColor(COLOR_BTNFACE)); }
COLORREF Shadow(const TSkinContent& s) { return SkinColourToRgb(s.ButtonShadowColour, GetSysColor(COLOR_BTNSHADOW)); }

int CheckCell(const TSkinContent& s, bool checked, bool grayed, bool disabled, MarkLook look = MarkLook::kNormal) {
  return CheckBoxCell(s.Buttons->CheckFrame, checked, grayed, disabled, look);
}
int RadioCellOf(const TSkinContent& s, bool checked, bool disabled, MarkLook look = MarkLook::kNormal) {
  return RadioCell(s.Buttons->RadioFrame, checked, disabled, look);
}

// Pixels of a control's mark on the screen that differ from `cell` of `cells` of a mark image put
// over the face colour where the system's box was.
int CellMismatches(HWND h, const TSkinContent& skin, const Bitmap24& image, int cells, int cell, bool radio) {
  const ScreenGrab grab = ScreenGrab::OfWindow(h);
  const bool textLeft = (GetWindowLongW(h, GWL_STYLE) & BS_LEFTTEXT) != 0;
  const MarkPlacement place = PlaceMark(grab.Width(), grab.Height(), image.Width() / cells, image.Height(),
                                        GetSystemMetrics(SM_CXMENUCHECK), textLeft, radio);
  const SkinRect source = CellRect(image.Width(), image.Height(), cells, cell, CellLayout::kSideBySide);
  int bad = 0;
  for (int y = 0; y < grab.Height(); ++y) {
    for (int x = 0; x < grab.Width(); ++x) {
      COLORREF want = Face(skin);
      if (place.mark.Contains(x, y)) {
        const Bgr p = image.At(source.left + x - place.mark.left, y - place.mark.top);
        if (!IsTransparent(p)) want = Rgb(p);
      } else if (!place.face.Contains(x, y)) {
        continue;
      }
      if (grab.Pixel(x, y) != want) ++bad;
    }
  }
  return bad;
}

// The same for a cell of the skin's own check or radio image.
int MarkMismatches(HWND h, const TSkinContent& skin, bool radio, int cell) {
  return CellMismatches(h, skin, radio ? skin.Buttons->RadioImage : skin.Buttons->CheckImage,
                        std::max(radio ? skin.Buttons->RadioFrame : skin.Buttons->CheckFrame, 1), cell, radio);
}

::testing::AssertionResult ShowsMark(TWinControl* control, const TSkinContent& skin, bool radio, int cell) {
  HWND h = control->Handle();
  int bad = -1;
  if (WaitUntil([&] { return (bad = MarkMismatches(h, skin, radio, cell)) == 0; }, 3s)) {
    return ::testing::AssertionSuccess();
  }
  SaveScreenshot(L"marks-failed-" + ToWide(control->Name()));
  return ::testing::AssertionFailure() << Narrow(control->Name()) << ": " << bad << " pixels differ from cell "
                                       << cell;
}
::testing::AssertionResult ShowsCheck(TCheckBox* box, const TSkinContent& skin, MarkLook look = MarkLook::kNormal) {
  return ShowsMark(box, skin, false,
                   CheckCell(skin, box->State() == cbChecked, box->State() == cbGrayed, !box->Enabled(), look));
}
::testing::AssertionResult ShowsRadio(TRadioButton* radio, const TSkinContent& skin,
                                      MarkLook look = MarkLook::kNormal) {
  return ShowsMark(radio, skin, true, RadioCellOf(skin, radio->Checked(), !radio->Enabled(), look));
}

// Covers a control's box on the screen with black, as the system's own drawing would, without
// telling the window; true once the screen shows it.
bool Smudge(HWND h) {
  PumpFor(50ms);
  {
    WindowDc dc(h, false);
    RECT r{};
    GetClientRect(h, &r);
    r.right = std::min<LONG>(r.right, 20);
    FillRect(dc.Get(), &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  }
  return WaitUntil(
      [&] {
        const ScreenGrab grab = ScreenGrab::OfWindow(h);
        return grab.Pixel(3, grab.Height() / 2) == RGB(0, 0, 0);
      },
      2s);
}

// The group box's frame and caption as the skin draws them: the rounded line in the shadow
// colour (the system's etched lines gone), broken where the caption stands on the face colour.
::testing::AssertionResult ShowsGroupFrame(TGroupBox* group, const TSkinContent& skin) {
  HWND h = group->Handle();
  SIZE zero{};
  RECT text{};
  {
    WindowDc dc(h, false);
    SelectedObject font(dc.Get(), group->Font()->Handle());
    GetTextExtentPoint32W(dc.Get(), L"0", 1, &zero);
    const std::wstring caption = ToWide(group->Caption());
    DrawTextW(dc.Get(), caption.c_str(), -1, &text, DT_SINGLELINE | DT_EXPANDTABS | DT_CALCRECT);
  }
  const int captionWidth = group->Caption().empty() ? 0 : text.right - text.left;
  std::string wrong;
  const bool ok = WaitUntil(
      [&] {
        const ScreenGrab grab = ScreenGrab::OfWindow(h);
        const int w = grab.Width(), ht = grab.Height();
        const GroupBoxLayout g = LayOutGroupBox(w, ht, zero.cy, captionWidth);
        const SkinRect& f = g.frame;
        std::ostringstream out;
        auto expect = [&](int x, int y, COLORREF want, const char* what) {
          if (grab.Pixel(x, y) != want) out << what << " at " << x << "," << y << "; ";
        };
        for (int y = g.bands[0].bottom; y < ht; ++y) {
          expect(0, y, Face(skin), "the left etched line");
          expect(w - 1, y, Face(skin), "the right etched line");
        }
        for (int y = f.top + 3; y < f.bottom - 3; ++y) {
          expect(f.left, y, Shadow(skin), "the left line");
          expect(f.right - 1, y, Shadow(skin), "the right line");
        }
        for (int x = f.left + 3; x < f.right - 3; ++x) {
          expect(x, ht - 1, Face(skin), "the bottom etched line");
          expect(x, f.bottom - 1, Shadow(skin), "the bottom line");
          if (g.caption.Empty() || x > g.caption.right + 1) expect(x, f.top, Shadow(skin), "the top line");
        }
        if (!g.caption.Empty()) {
          expect(g.caption.left - 1, f.top, Face(skin), "the gap before the caption");
          int ink = 0;
          for (int y = g.caption.top; y < g.caption.bottom; ++y) {
            for (int x = g.caption.left; x < g.caption.right; ++x) ink += grab.Pixel(x, y) != Face(skin);
          }
          if (ink == 0) out << "no caption; ";
        }
        wrong = out.str();
        return wrong.empty();
      },
      3s);
  if (ok) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << Narrow(group->Name()) << ": " << wrong.substr(0, 400);
}

// Counts the paints the system asks of a control (WM_PAINT from the window, not the framework's
// buffered repeat).
struct PaintCounter {
  explicit PaintCounter(TControl* control)
      : hook(control, [this](TMessage& m, const TWindowProcHook::Next& next) {
          if (m.Msg == WM_PAINT && !m.WParam) ++count;
          next(m);
        }) {}
  int count = 0;
  TWindowProcHook hook;
};

// A form of QLT as its description in the program makes it, without its handlers (nothing of the
// program runs: no tray icon, no settings file, no hotkey) and without a skin component of its
// own, so the test's skin paints it.
std::string DescriptionWithoutHandlers(const wchar_t* resourceName) {
  return QltFormDescription(resourceName, false);
}

class SkinnedMarks : public ::testing::TestWithParam<SkinName> {
 protected:
  void SetUp() override {
    engine_ = std::make_unique<TSkinEngine>();
    RegisterGalleryClasses();
    TheGalleryOptions().skinFile = GetParam() == SkinName::kPine ? Widen(SkinPath(SkinName::kPine)) : u"";
    gallery_ = NewForm<TFrm_Gallery>(Application);
    ASSERT_TRUE(gallery_->SkinData1);
    ASSERT_FALSE(gallery_->SkinData1->NoSkin);
    gallery_->Show();
    controls_ = gallery_->Controls();
    ShowSkinned(controls_, controls_->Chk_On);
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

  static TSkinControl* SkinnerOf(TWinControl* control) {
    TWinSkinForm* form = SkinManager->FindFormSkinner(control->GetParentForm()->Handle());
    return form ? form->FindControlSkinner(control->Handle()) : nullptr;
  }
  template <class T>
  static bool SkinnedAs(TWinControl* control) {
    return dynamic_cast<T*>(SkinnerOf(control)) != nullptr;
  }
  // Shows a form and waits until the skin has its frame and `probe` its skinner.
  void ShowSkinned(TForm* form, TWinControl* probe) {
    form->Show();
    SetForegroundWindow(form->Handle());
    ASSERT_TRUE(WaitUntil([&] { return SkinManager->FindFormSkinner(form->Handle()) && SkinnerOf(probe); }, 5s))
        << "the form was not skinned";
    MoveMouseTo(BesideOf(form->Handle()));
    PumpFor(100ms);
  }
  // Switches the gallery's skin on or off now, as its action timer would.
  void SetSkinActive(bool on) {
    gallery_->SkinData1->SetActive(on);
    SkinManager->RunPendingAction();
    if (on) {
      ASSERT_TRUE(WaitUntil([&] { return SkinnerOf(controls_->Chk_On) && SkinnerOf(controls_->Grp_Marks); }, 5s));
    }
  }
  // A point of the controls form where the pointer is over no control.
  POINT Nowhere() const { return controls_->ClientToScreen(POINT{4, controls_->ClientHeight() - 4}); }

  std::unique_ptr<TSkinEngine> engine_;
  TFrm_Gallery* gallery_ = nullptr;
  TFrm_GalleryControls* controls_ = nullptr;
};

TEST_P(SkinnedMarks, EveryStateOfTheGallerysMarksShowsItsCellEnabledAndDisabled) {
  TFrm_GalleryControls& f = *controls_;
  const TSkinContent& s = Skin();
  for (TCheckBox* box : {f.Chk_On, f.Chk_Off, f.Chk_Grayed, f.Chk_Left, f.Chk_OnOff, f.Chk_OffOff, f.Chk_GrayedOff}) {
    EXPECT_TRUE(SkinnedAs<TSkinCheckBox>(box)) << Narrow(box->Name());
  }
  for (TRadioButton* radio : {f.Rad_One, f.Rad_Two, f.Rad_OnOff, f.Rad_OffOff}) {
    EXPECT_TRUE(SkinnedAs<TSkinRadioButton>(radio)) << Narrow(radio->Name());
  }
  // Marks on the face colour, caption and all.
  for (TWinControl* mark : std::initializer_list<TWinControl*>{f.Chk_On, f.Chk_Left, f.Rad_Two, f.Chk_OffOff}) {
    EXPECT_EQ(ColorToRGB(mark->Color()), Face(s)) << Narrow(mark->Name());
  }
  for (TGroupBox* group : {f.Grp_Marks, f.Grp_MarksOff, f.Grp_Empty}) {
    EXPECT_TRUE(SkinnedAs<TSkinGroupBox>(group)) << Narrow(group->Name());
    EXPECT_EQ(ColorToRGB(group->Color()), Face(s)) << "a skinned group box has the face colour";
  }

  EXPECT_TRUE(ShowsMark(f.Chk_On, s, false, CheckCell(s, true, false, false)));
  EXPECT_TRUE(ShowsMark(f.Chk_Off, s, false, CheckCell(s, false, false, false)));
  EXPECT_TRUE(ShowsMark(f.Chk_Grayed, s, false, CheckCell(s, false, true, false)));
  EXPECT_TRUE(ShowsMark(f.Chk_Left, s, false, CheckCell(s, false, false, false))) << "the box on the right";
  EXPECT_TRUE(ShowsMark(f.Chk_OnOff, s, false, CheckCell(s, true, false, true)));
  EXPECT_TRUE(ShowsMark(f.Chk_OffOff, s, false, CheckCell(s, false, false, true)));
  EXPECT_TRUE(ShowsMark(f.Chk_GrayedOff, s, false, CheckCell(s, false, true, true)));
  EXPECT_TRUE(ShowsMark(f.Rad_One, s, true, RadioCellOf(s, true, false)));
  EXPECT_TRUE(ShowsMark(f.Rad_Two, s, true, RadioCellOf(s, false, false)));
  EXPECT_TRUE(ShowsMark(f.Rad_OnOff, s, true, RadioCellOf(s, true, true)));
  EXPECT_TRUE(ShowsMark(f.Rad_OffOff, s, true, RadioCellOf(s, false, true)));

  for (TGroupBox* group : {f.Grp_Marks, f.Grp_MarksOff, f.Grp_Empty}) EXPECT_TRUE(ShowsGroupFrame(group, s));
  SaveScreenshot(Named(L"marks-gallery"));
}

TEST_P(SkinnedMarks, HoverAndPressShowTheirCellsOnlyWhereTheSkinHasThemAndRepaintNothingElse) {
  TFrm_GalleryControls& f = *controls_;
  const TSkinContent& s = Skin();
  const bool hotLook = CheckCell(s, false, false, false, MarkLook::kHot) != CheckCell(s, false, false, false);
  EXPECT_EQ(hotLook, GetParam() == SkinName::kPine) << "one skin with a hot look, one without";

  // Unticked, ticked and indeterminate, each with the pointer over it and after it left.
  for (TCheckBox* box : {f.Chk_Off, f.Chk_On, f.Chk_Grayed}) {
    SCOPED_TRACE(Narrow(box->Name()));
    PaintCounter paints(box);
    MoveMouseTo(CentreOf(box->Handle()));
    EXPECT_TRUE(ShowsCheck(box, s, MarkLook::kHot));
    MoveMouseTo(Nowhere());
    EXPECT_TRUE(ShowsCheck(box, s));
    PumpFor(150ms);
    if (hotLook) {
      EXPECT_GE(paints.count, 2) << "painted hot, and back";
    } else {
      EXPECT_EQ(paints.count, 0) << "the hover changed nothing on the screen";
    }
  }
  {
    PaintCounter paints(f.Rad_Two);
    MoveMouseTo(CentreOf(f.Rad_Two->Handle()));
    EXPECT_TRUE(ShowsRadio(f.Rad_Two, s, MarkLook::kHot));
    MoveMouseTo(Nowhere());
    EXPECT_TRUE(ShowsRadio(f.Rad_Two, s));
    PumpFor(150ms);
    EXPECT_EQ(paints.count > 0, RadioCellOf(s, false, false, MarkLook::kHot) != RadioCellOf(s, false, false));
  }
  // A disabled mark never looks hot.
  for (TCheckBox* box : {f.Chk_OnOff, f.Chk_GrayedOff}) {
    box->Perform(CM_MOUSEENTER, 0, reinterpret_cast<LPARAM>(box));
    EXPECT_TRUE(ShowsCheck(box, s)) << Narrow(box->Name());
    box->Perform(CM_MOUSELEAVE, 0, reinterpret_cast<LPARAM>(box));
  }

  // Pressed: the pressed look while the button is held over the box; dragged off and let go
  // there, nothing changes.
  TCheckBox* box = f.Chk_Off;
  SendMouseInput(MOUSEEVENTF_LEFTDOWN, CentreOf(box->Handle()));
  EXPECT_TRUE(ShowsCheck(box, s, MarkLook::kPressed));
  SendMouseInput(0, Nowhere());
  SendMouseInput(MOUSEEVENTF_LEFTUP, Nowhere());
  PumpFor(100ms);
  EXPECT_FALSE(box->Checked());
  EXPECT_TRUE(ShowsCheck(box, s));
}

TEST_P(SkinnedMarks, TheMarkIsPaintedAgainAfterEverythingThatDrawsTheSystemsOwn) {
  TFrm_GalleryControls& f = *controls_;
  const TSkinContent& s = Skin();
  TCheckBox* box = f.Chk_Off;
  HWND h = box->Handle();

  // A check from outside the framework: the system draws its tick, the skin goes over it; the
  // control's own state decides the mark.
  ASSERT_TRUE(Smudge(h));
  SendMessageW(h, BM_SETCHECK, BST_CHECKED, 0);
  EXPECT_TRUE(ShowsMark(box, s, false, CheckCell(s, false, false, false)));
  SendMessageW(h, BM_SETCHECK, BST_UNCHECKED, 0);

  // The framework's notice of a change, alone.
  ASSERT_TRUE(Smudge(h));
  box->Perform(CM_CHECKCHANGED);
  EXPECT_TRUE(ShowsCheck(box, s));

  // Set from code.
  ASSERT_TRUE(Smudge(h));
  box->SetChecked(true);
  EXPECT_TRUE(ShowsMark(box, s, false, CheckCell(s, true, false, false)));

  // A real click, then the space bar.
  ClickAt(CentreOf(h));
  EXPECT_FALSE(box->Checked());
  EXPECT_TRUE(ShowsCheck(box, s, MarkLook::kHot));
  ASSERT_TRUE(box->Focused());
  PressKey(VK_SPACE);
  EXPECT_TRUE(box->Checked());
  EXPECT_TRUE(ShowsCheck(box, s, MarkLook::kHot));
  MoveMouseTo(Nowhere());
  box->Perform(CM_MOUSELEAVE, 0, reinterpret_cast<LPARAM>(box));
  EXPECT_TRUE(ShowsCheck(box, s));

  // The focus leaving: by the Tab key, and the framework's notice alone.
  ASSERT_TRUE(Smudge(h));
  PressKey(VK_TAB);
  EXPECT_FALSE(box->Focused());
  EXPECT_TRUE(ShowsCheck(box, s));
  ASSERT_TRUE(Smudge(h));
  box->Perform(CM_EXIT);
  EXPECT_TRUE(ShowsCheck(box, s));

  // Indeterminate, passed through by clicks.
  TCheckBox* grayed = f.Chk_Grayed;
  ClickAt(CentreOf(grayed->Handle()));
  EXPECT_EQ(grayed->State(), cbChecked);
  EXPECT_TRUE(ShowsCheck(grayed, s, MarkLook::kHot));
  ClickAt(CentreOf(grayed->Handle()));
  ClickAt(CentreOf(grayed->Handle()));
  EXPECT_EQ(grayed->State(), cbGrayed);
  EXPECT_TRUE(ShowsCheck(grayed, s, MarkLook::kHot));

  // A radio button clicked: it and the one it unchecks.
  ClickAt(CentreOf(f.Rad_Two->Handle()));
  EXPECT_TRUE(f.Rad_Two->Checked());
  EXPECT_FALSE(f.Rad_One->Checked());
  EXPECT_TRUE(ShowsRadio(f.Rad_One, s));
  EXPECT_TRUE(ShowsRadio(f.Rad_Two, s, MarkLook::kHot));
  MoveMouseTo(Nowhere());
  f.Rad_Two->Perform(CM_MOUSELEAVE, 0, reinterpret_cast<LPARAM>(f.Rad_Two));
  ASSERT_TRUE(Smudge(f.Rad_One->Handle()));
  f.Rad_One->SetChecked(true);
  EXPECT_TRUE(ShowsRadio(f.Rad_One, s));
  EXPECT_TRUE(ShowsRadio(f.Rad_Two, s));

  // A check box window of the system's own, skinned by its handle: its window state decides.
  UniqueWindow bare(CreateWindowExW(0, L"BUTTON", L"Bare 裸", WS_CHILD | WS_VISIBLE | BS_AUTOCHECKBOX, 8, 380, 150,
                                    17, controls_->Handle(), nullptr, GetModuleHandleW(nullptr), nullptr));
  ASSERT_TRUE(bare.Get());
  SendMessageW(bare.Get(), WM_SETFONT, reinterpret_cast<WPARAM>(controls_->Font()->Handle()), TRUE);
  auto skinner = std::make_unique<TSkinCheckBox>(nullptr);
  skinner->AttachWindow(bare.Get(), gallery_->SkinData1, nullptr);
  ASSERT_TRUE(skinner->Attached());
  auto showsBare = [&](bool checked) {
    int bad = -1;
    const int cell = CheckCell(s, checked, false, false);
    const bool ok = WaitUntil([&] { return (bad = MarkMismatches(bare.Get(), s, false, cell)) == 0; }, 3s);
    return ok ? ::testing::AssertionSuccess() : ::testing::AssertionFailure() << bad << " pixels differ";
  };
  EXPECT_TRUE(showsBare(false));
  SendMessageW(bare.Get(), BM_SETCHECK, BST_CHECKED, 0);
  EXPECT_TRUE(showsBare(true));
  MoveMouseTo(CentreOf(bare.Get()));
  ClickAt(CentreOf(bare.Get()));
  MoveMouseTo(Nowhere());
  SendMessageW(bare.Get(), CM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(SendMessageW(bare.Get(), BM_GETCHECK, 0, 0), BST_UNCHECKED);
  EXPECT_TRUE(showsBare(false));
  // Freed, the skinner lets go: the window paints its own mark again.
  skinner.reset();
  RedrawWindow(bare.Get(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  PumpFor(200ms);
  EXPECT_GT(MarkMismatches(bare.Get(), s, false, CheckCell(s, false, false, false)), 0);
}

TEST_P(SkinnedMarks, GroupBoxesHaveTheRoundedFrameInTheShadowColourAndTheCaptionOnTheFace) {
  TFrm_GalleryControls& f = *controls_;
  const TSkinContent& s = Skin();
  EXPECT_TRUE(ShowsGroupFrame(f.Grp_Marks, s));
  EXPECT_TRUE(ShowsGroupFrame(f.Grp_MarksOff, s));
  EXPECT_TRUE(ShowsGroupFrame(f.Grp_Empty, s)) << "without a caption: the whole line";
  // A new caption (wider, Chinese) is drawn at once, the line broken for it.
  f.Grp_Marks->SetCaption(u"另一个标题 Another caption");
  EXPECT_TRUE(ShowsGroupFrame(f.Grp_Marks, s));
  f.Grp_Empty->SetCaption(u"标题");
  EXPECT_TRUE(ShowsGroupFrame(f.Grp_Empty, s));
  f.Grp_Empty->SetCaption(u"");
  EXPECT_TRUE(ShowsGroupFrame(f.Grp_Empty, s));
}

TEST_P(SkinnedMarks, CellCountsTheImageLacksAreClampedAndAnEmptyImageLeavesTheSystemsMark) {
  TFrm_GalleryControls& f = *controls_;
  TSkinData& live = *gallery_->SkinData1;
  const TSkinContent& s = Skin();
  const int checkCells = live.Buttons->CheckFrame;
  const int radioCells = live.Buttons->RadioFrame;

  // Two cells said: the disabled ticked box asks for a cell above them and gets the second,
  // cut from the image halved. No count at all: the whole image is the one cell.
  live.Buttons->CheckFrame = 2;
  live.Buttons->RadioFrame = 0;
  f.Chk_OnOff->Invalidate();
  f.Rad_OffOff->Invalidate();
  int bad = -1;
  HWND ticked = f.Chk_OnOff->Handle();
  EXPECT_TRUE(WaitUntil([&] { return (bad = CellMismatches(ticked, s, s.Buttons->CheckImage, 2, 2, false)) == 0; }, 3s))
      << bad << " pixels differ from the image's second half";
  HWND radio = f.Rad_OffOff->Handle();
  EXPECT_TRUE(WaitUntil([&] { return (bad = CellMismatches(radio, s, s.Buttons->RadioImage, 1, 1, true)) == 0; }, 3s))
      << bad << " pixels differ from the whole image";
  live.Buttons->CheckFrame = checkCells;
  live.Buttons->RadioFrame = radioCells;

  // No check image: the skinner leaves the box as the system draws it.
  Bitmap24 saved;
  std::swap(saved, live.Buttons->CheckImage);
  {
    PaintCounter paints(f.Chk_On);
    f.Chk_On->Invalidate();
    EXPECT_TRUE(WaitUntil([&] { return paints.count > 0; }, 2s));
    PumpFor(100ms);
    EXPECT_GT(MarkMismatches(f.Chk_On->Handle(), s, false, CheckCell(s, true, false, false)), 0);
  }
  std::swap(saved, live.Buttons->CheckImage);
  f.Chk_On->Invalidate();
  EXPECT_TRUE(ShowsCheck(f.Chk_On, s));
}

TEST_P(SkinnedMarks, GdiObjectsStayFlatOverRepaintsHoversAndSkinSwitches) {
  TFrm_GalleryControls& f = *controls_;
  const std::vector<TWinControl*> painted{f.Chk_On, f.Chk_Grayed, f.Rad_One, f.Chk_OffOff, f.Grp_Marks, f.Grp_Empty};
  auto repaintAll = [&] {
    for (TWinControl* c : painted) RedrawWindow(c->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  };
  auto hoverCycle = [&] {
    // The hot control changes hands, then the pointer leaves.
    f.Chk_Off->Perform(CM_MOUSEENTER, 0, reinterpret_cast<LPARAM>(f.Chk_Off));
    f.Rad_Two->Perform(CM_MOUSEENTER, 0, reinterpret_cast<LPARAM>(f.Rad_Two));
    f.Rad_Two->Perform(CM_MOUSELEAVE, 0, reinterpret_cast<LPARAM>(f.Rad_Two));
  };
  repaintAll();
  hoverCycle();
  PumpFor(50ms);
  int start = GdiObjectCount();
  ASSERT_GT(start, 0);
  for (int i = 0; i < 1000; ++i) repaintAll();
  PumpMessages();
  EXPECT_EQ(GdiObjectCount(), start) << "over 1000 repaints of each";
  for (int i = 0; i < 1000; ++i) hoverCycle();
  PumpMessages();
  EXPECT_EQ(GdiObjectCount(), start) << "over 1000 hover cycles";

  SetSkinActive(false);
  SetSkinActive(true);
  PumpFor(100ms);
  start = GdiObjectCount();
  for (int i = 0; i < 200; ++i) {
    SetSkinActive(false);
    SetSkinActive(true);
  }
  PumpFor(100ms);
  EXPECT_EQ(GdiObjectCount(), start) << "over 200 skin switches";
  EXPECT_TRUE(ShowsCheck(f.Chk_On, Skin()));
}

TEST_P(SkinnedMarks, WithoutTheSkinTheControlsLookAsTheirOwnAgainAndNoSkinnerIsLeft) {
  // A window of the same controls that has never been skinned: their own colours, buffering and
  // look on the screen.
  SetSkinActive(false);
  std::unique_ptr<TFrm_GalleryControls> fresh(NewForm<TFrm_GalleryControls>(Application));
  TFrm_GalleryControls& f = *fresh;
  f.Show();
  SetForegroundWindow(f.Handle());
  MoveMouseTo(BesideOf(f.Handle()));
  const std::vector<TWinControl*> all{f.Chk_On,     f.Chk_Off,      f.Chk_Grayed,    f.Chk_Left,   f.Rad_One,
                                      f.Rad_Two,    f.Chk_OnOff,    f.Chk_OffOff,    f.Chk_GrayedOff, f.Rad_OnOff,
                                      f.Rad_OffOff, f.Grp_Marks,    f.Grp_MarksOff,  f.Grp_Empty};
  auto skinnersOf = [](TWinControl* c) {
    int n = 0;
    for (TComponent* owned : c->ComponentList()) n += dynamic_cast<TSkinControl*>(owned) != nullptr;
    return n;
  };
  PumpFor(300ms);
  std::map<TWinControl*, bool> buffered;
  std::map<TWinControl*, TColor> colour;
  std::map<TWinControl*, std::vector<COLORREF>> own;
  for (TWinControl* c : all) {
    buffered[c] = c->DoubleBuffered();
    colour[c] = c->Color();
    own[c] = ScreenGrab::OfWindow(c->Handle()).Pixels();
  }
  SaveScreenshot(Named(L"marks-never-skinned"));

  // Skinned, with the gallery's own controls window open beside it: one skinner each.
  SetSkinActive(true);
  ASSERT_TRUE(WaitUntil([&] { return SkinnerOf(f.Chk_On) && SkinnerOf(f.Grp_Empty); }, 5s));
  for (TWinControl* c : all) EXPECT_EQ(skinnersOf(c), 1) << Narrow(c->Name());
  EXPECT_TRUE(ShowsCheck(f.Chk_On, Skin()));
  EXPECT_NE(ScreenGrab::OfWindow(f.Chk_On->Handle()).Pixels(), own[f.Chk_On]);
  EXPECT_NE(ScreenGrab::OfWindow(f.Grp_Marks->Handle()).Pixels(), own[f.Grp_Marks]);

  SetSkinActive(false);
  EXPECT_EQ(SkinManager->FindFormSkinner(f.Handle()), nullptr);
  for (TWinControl* c : all) {
    SCOPED_TRACE(Narrow(c->Name()));
    EXPECT_EQ(skinnersOf(c), 0);
    EXPECT_EQ(c->DoubleBuffered(), buffered[c]);
    EXPECT_EQ(c->Color(), colour[c]);
    EXPECT_TRUE(WaitUntil([&] { return ScreenGrab::OfWindow(c->Handle()).Pixels() == own[c]; }, 3s))
        << "the control's own look";
  }
  SaveScreenshot(Named(L"marks-unskinned"));
}

TEST_P(SkinnedMarks, QltsMainWindowOnBothPagesAndItsDialogs) {
  const TSkinContent& s = Skin();
  // The main window: the check box below the pages, and the second page's group boxes.
  std::unique_ptr<TFrm_Main> main(NewFormFromText<TFrm_Main>(Application, DescriptionWithoutHandlers(L"TFRM_MAIN")));
  ShowSkinned(main.get(), main->Chk_Auto);
  EXPECT_TRUE(SkinnedAs<TSkinCheckBox>(main->Chk_Auto));
  EXPECT_TRUE(ShowsCheck(main->Chk_Auto, s));
  SaveScreenshot(Named(L"marks-main-page1"));
  main->PageControl1->SetActivePage(main->TabSheet2);
  ASSERT_TRUE(WaitUntil([&] { return SkinnerOf(main->Rad_Kill) != nullptr; }, 3s));
  for (TCheckBox* box : {main->Chk_Volume, main->Chk_TP, main->Chk_Auto}) {
    EXPECT_TRUE(SkinnedAs<TSkinCheckBox>(box)) << Narrow(box->Name());
    EXPECT_TRUE(ShowsCheck(box, s));
  }
  for (TRadioButton* radio : {main->Rad_Kill, main->Rad_Hide, main->Rad_AP, main->Rad_Close, main->Rad_MSG}) {
    EXPECT_TRUE(SkinnedAs<TSkinRadioButton>(radio)) << Narrow(radio->Name());
    EXPECT_TRUE(ShowsRadio(radio, s));
  }
  main->Rad_Hide->SetChecked(true);
  main->Chk_TP->SetChecked(true);
  EXPECT_TRUE(ShowsRadio(main->Rad_Hide, s));
  EXPECT_TRUE(ShowsCheck(main->Chk_TP, s));
  for (TGroupBox* group : {main->GroupBox1, main->GroupBox2, main->GroupBox3}) {
    EXPECT_TRUE(SkinnedAs<TSkinGroupBox>(group)) << Narrow(group->Name());
    EXPECT_TRUE(ShowsGroupFrame(group, s));
  }
  SaveScreenshot(Named(L"marks-main-page2"));
  main.reset();

  // The IP/DNS dialog: two group boxes of address fields.
  std::unique_ptr<TFrm_IPDNS> addresses(
      NewFormFromText<TFrm_IPDNS>(Application, DescriptionWithoutHandlers(L"TFRM_IPDNS")));
  ShowSkinned(addresses.get(), addresses->GroupBox2);
  for (TGroupBox* group : {addresses->GroupBox1, addresses->GroupBox2}) {
    EXPECT_TRUE(SkinnedAs<TSkinGroupBox>(group)) << Narrow(group->Name());
    EXPECT_TRUE(ShowsGroupFrame(group, s));
  }
  SaveScreenshot(Named(L"marks-ipdns"));
  addresses.reset();

  // The hotkey dialog: four check boxes in a group box, two of them ticked by the hotkey shown.
  auto* dialog = NewForm<TFrm_HotKey>(Application);
  std::unique_ptr<TFrm_HotKey> owned(dialog);
  dialog->Lab_Hotkey->SetCaption(u"CTRL+ALT+Z");
  ShowSkinned(dialog, dialog->Chk_Win);
  EXPECT_TRUE(dialog->Chk_CTRL->Checked());
  for (TCheckBox* box : {dialog->Chk_Win, dialog->Chk_CTRL, dialog->Chk_Alt, dialog->Chk_Shift}) {
    EXPECT_TRUE(SkinnedAs<TSkinCheckBox>(box)) << Narrow(box->Name());
    EXPECT_TRUE(ShowsCheck(box, s));
  }
  EXPECT_TRUE(ShowsGroupFrame(dialog->GroupBox1, s));
  ClickAt(CentreOf(dialog->Chk_Shift->Handle()));
  EXPECT_TRUE(dialog->Chk_Shift->Checked());
  EXPECT_TRUE(ShowsCheck(dialog->Chk_Shift, s, MarkLook::kHot));
  SaveScreenshot(Named(L"marks-hotkey"));
}

INSTANTIATE_TEST_SUITE_P(BothSkins, SkinnedMarks, ::testing::Values(SkinName::kSlate, SkinName::kPine),
                         [](const auto& info) { return info.param == SkinName::kPine ? "Pine" : "Slate"; });

}  // namespace
}  // namespace qlt
