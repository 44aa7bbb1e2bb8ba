// The skinned push, bit and speed buttons under Wine, with both skins: the gallery's controls
// window, QLT's hotkey and IP/DNS dialogs and a message box's bare buttons. Every frame cell and
// glyph cell is read back from the screen and compared with the skin's own "Buttons" image and
// the buttons' own glyphs; the buttons are driven with the real mouse and keyboard; paints and
// GDI objects are counted; switching the skin off gives every button its own look back; and buttons
// recreated, hidden or freed under a press keep one skinner and no freed one is touched.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "gallery/FrmGallery.h"
#include "skin/controls/GlyphPixels.h"
#include "skin/controls/SkinButtons.h"
#include "skin/controls/SkinManager.h"
#include "skin/data/BitmapTransforms.h"
#include "skin/data/WinSkinData.h"
#include "skin/frame/WinSkinForm.h"
#include "tests/win/SkinOnScreen.h"
#include "tests/win/UiTestSupport.h"
#include "tools/FrmHotKey.h"
#include "tools/FrmIPDNS.h"
#include "ui/ComCtrls.h"
#include "ui/SysUtils.h"
#include "ui/Utf.h"

namespace qlt {
namespace {

using namespace test;

enum class SkinName { kSlate, kPine };

std::u16string SkinFileOf(SkinName skin) {
  return Widen(skin == SkinName::kSlate ? std::string(QLT_SKIN_BUILD_DIR) + "/QLTSkin.skin" : QLT_SECOND_SKIN_FILE);
}
std::wstring NameOf(SkinName skin) { return skin == SkinName::kSlate ? L"slate" : L"pine"; }

// ---- The gallery, shown once for the whole run ----

std::unique_ptr<TSkinEngine> g_engine;
TFrm_Gallery* g_gallery = nullptr;
SkinName g_skin = SkinName::kSlate;

TFrm_GalleryControls* Controls() { return g_gallery->Controls(); }
TSkinData& Skin() { return *g_gallery->SkinData1; }

template <class T = TSkinControl>
T* SkinnerOf(TControl* control) {
  for (int i = 0; i < control->ComponentCount(); ++i) {
    if (auto* s = dynamic_cast<T*>(control->Components(i))) return s;
  }
  return nullptr;
}

TWinSkinForm* FormSkinnerOf(TForm* form) {
  return SkinManager && form->HandleAllocated() ? SkinManager->FindFormSkinner(form->Handle()) : nullptr;
}

bool ControlsSkinned() {
  TFrm_GalleryControls* c = Controls();
  const TWinSkinForm* form = FormSkinnerOf(c);
  return form && form->State() == skActive && SkinnerOf<TSkinButton>(c->Btn_Push) &&
         SkinnerOf<TSkinBitButton>(c->Btn_Bit) && SkinnerOf<TSkinSpeedButton>(c->Spd_Four);
}

// Switches the skin on or off at once (the action the component schedules, run now); `settle`
// lets the windows finish fitting to their frames.
void SetSkinActive(bool on, bool settle = true) {
  Skin().SetActive(on);
  SkinManager->RunPendingAction();
  if (settle) {
    PumpFor(50ms);
  } else {
    PumpMessages();
  }
}

class GalleryEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    g_engine = std::make_unique<TSkinEngine>();
    RegisterGalleryClasses();
    // The gallery's own window stays hidden: its skin component serves the controls window.
    g_gallery = NewForm<TFrm_Gallery>(Application);
    Controls()->Show();
    ASSERT_TRUE(WaitUntil(ControlsSkinned)) << "the controls window was not skinned";
  }
  void TearDown() override {
    delete g_gallery;
    g_gallery = nullptr;
    g_engine.reset();
  }
};
const auto* const g_environment = ::testing::AddGlobalTestEnvironment(new GalleryEnvironment);

// ---- What the screen shows ----

constexpr POINT kAway{900, 640};  // the desktop, away from every window of the test

RECT ScreenRectOf(TControl* control) {
  if (auto* w = dynamic_cast<TWinControl*>(control)) {
    RECT r{};
    GetWindowRect(w->Handle(), &r);
    return r;
  }
  const TPoint origin = control->ClientToScreen(TPoint{0, 0});
  return RECT{origin.x, origin.y, origin.x + control->Width(), origin.y + control->Height()};
}
POINT CentreOf(TControl* control) {
  const RECT r = ScreenRectOf(control);
  return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}
POINT BelowOf(TControl* control) {
  const RECT r = ScreenRectOf(control);
  return POINT{(r.left + r.right) / 2, r.bottom + 30};
}

COLORREF FaceColour() { return SkinColourToRgb(Skin().ButtonFaceColour, GetSysColor(COLOR_BTNFACE)); }
COLORREF Rgb(Bgr p) { return RGB(p.r, p.g, p.b); }

// The cell of the "Buttons" image a button on the screen shows (0: none, -1: several).
int CellOnScreen(const ScreenGrab& grab) { return ButtonCellOnScreen(grab, *Skin().Buttons, FaceColour()); }
int CellOnScreen(const RECT& r) { return CellOnScreen(ScreenGrab(r)); }

// Waits until the control shows the cell (Wine puts a paint on the screen a moment later); the
// cell last seen.
int WaitForCell(const RECT& r, int cell) {
  int seen = 0;
  WaitUntil([&] { return (seen = CellOnScreen(r)) == cell; }, 3s);
  return seen;
}
int WaitForCell(TControl* control, int cell) { return WaitForCell(ScreenRectOf(control), cell); }

// Whether every corner pixel is the face colour: no frame drawn.
bool NoFrameOnScreen(TControl* control) {
  const TDataSkinButton& b = *Skin().Buttons;
  const ScreenGrab grab(ScreenRectOf(control));
  for (int y = 0; y < b.TopHeight; ++y) {
    for (int x = 0; x < b.LeftWidth; ++x) {
      if (grab.Pixel(x, y) != FaceColour() || grab.Pixel(grab.Width() - 1 - x, grab.Height() - 1 - y) != FaceColour()) {
        return false;
      }
    }
  }
  return true;
}

// Where cell `cell` of a glyph of `numGlyphs` cells shows inside the rectangle (greyed when
// asked), as an offset from its top-left; nothing when it does not show.
std::optional<POINT> FindGlyph(const RECT& r, TBitmap& glyph, int numGlyphs, int cell, bool greyed) {
  const Bitmap24 image = BitmapPixels(glyph);
  const Bgr key = image.At(0, image.Height() - 1);
  const SkinRect source = GlyphCellRect(image.Width(), image.Height(), numGlyphs, cell);
  Bitmap24 shown = image.Copy(source.left, source.top, source.Width(), source.Height());
  if (greyed) ToGrey(shown);
  const ScreenGrab grab(r);
  for (int y = 0; y + source.Height() <= grab.Height(); ++y) {
    for (int x = 0; x + source.Width() <= grab.Width(); ++x) {
      bool all = true;
      for (int gy = 0; all && gy < source.Height(); ++gy) {
        for (int gx = 0; all && gx < source.Width(); ++gx) {
          if (image.At(source.left + gx, gy) == key) continue;
          all = grab.Pixel(x + gx, y + gy) == Rgb(shown.At(gx, gy));
        }
      }
      if (all) return POINT{x, y};
    }
  }
  return std::nullopt;
}
std::optional<POINT> WaitForGlyph(TControl* control, TBitmap& glyph, int numGlyphs, int cell, bool greyed) {
  std::optional<POINT> at;
  WaitUntil([&] { return (at = FindGlyph(ScreenRectOf(control), glyph, numGlyphs, cell, greyed)).has_value(); }, 3s);
  return at;
}

void Press(POINT p) {
  MoveMouseTo(p);
  SendMouseInput(MOUSEEVENTF_LEFTDOWN, p);
  PumpFor(60ms);
}
void Release(POINT p) {
  SendMouseInput(MOUSEEVENTF_LEFTUP, p);
  PumpFor(60ms);
}
void Repaint(HWND window) {
  InvalidateRect(window, nullptr, FALSE);
  UpdateWindow(window);
}

// Runs `modal` (a dialog, a message box) while `user` acts on it from a timer inside its modal
// loop, as a person would; `close` ends a modal loop the user's actions left open.
void WhileModal(const std::function<void()>& modal, const std::function<bool()>& user,
                const std::function<void()>& close) {
  TTimer timer(nullptr);
  timer.SetInterval(50);
  bool busy = false, done = false;
  DWORD doneAt = 0;
  timer.OnTimer = [&](TObject*) {
    if (busy) return;
    busy = true;
    if (!done && user()) {
      done = true;
      doneAt = GetTickCount();
    } else if (done && GetTickCount() - doneAt > 3000) {
      close();
    }
    busy = false;
  };
  modal();
  timer.SetEnabled(false);
  EXPECT_TRUE(done) << "the user never found the window";
}

// A skinner that counts its paints.
template <class T>
class Counted : public T {
 public:
  using T::T;
  int paints = 0;

 protected:
  void Paint(HDC dc, const SkinRect& rect) override {
    ++paints;
    T::Paint(dc, rect);
  }
};

// A skinner whose painting fails (with a message of its own: the same failure is told once).
class TThrowingButton : public TSkinButton {
 public:
  TThrowingButton(TComponent* owner, std::u16string message) : TSkinButton(owner), message_(std::move(message)) {}

 protected:
  void Paint(HDC, const SkinRect&) override { throw Exception(message_); }

 private:
  std::u16string message_;
};

// A button class of another library: glyph properties published by name, NumGlyphs 0, and an image
// list for when it has no glyph.
class TOtherGlyphButton : public TButton {
  QLT_CLASS(TOtherGlyphButton)
 public:
  explicit TOtherGlyphButton(TComponent* owner) : TButton(owner) {}
  TBitmap glyph;
  TImageList* images = nullptr;
  int32_t imageIndex = -1;
};

const TClassInfo& TOtherGlyphButton::StaticClass() {
  static const TClassInfo info =
      ClassBuilder<TOtherGlyphButton, TButton>("TOtherGlyphButton")
          .Object<TBitmap>("Glyph", [](TOtherGlyphButton& b) { return &b.glyph; })
          .Int("NumGlyphs", [](TOtherGlyphButton&) { return 0; }, [](TOtherGlyphButton&, int32_t) {})
          .Object<TImageList>("Images", [](TOtherGlyphButton& b) { return b.images; },
                              [](TOtherGlyphButton& b, TImageList* v) { b.images = v; })
          .Int("ImageIndex", [](TOtherGlyphButton& b) { return b.imageIndex; },
               [](TOtherGlyphButton& b, int32_t v) { b.imageIndex = v; })
          .Build();
  return info;
}

// A button made for one test, left plain by discovery (its Tag is the skin's DisableTag) unless
// the test attaches a skinner itself.
template <class T>
T* NewButton(TWinControl* parent, int left, int top, int width, int height, const std::u16string& caption,
             bool plain) {
  auto* b = new T(parent);
  if (plain) b->SetTag(Skin().DisableTag());  // before its window comes, and the skinner with it
  b->SetBounds(left, top, width, height);
  b->SetCaption(caption);
  b->SetParent(parent);
  return b;
}

// ---- The tests, once with each skin ----

class SkinButtons : public ::testing::TestWithParam<SkinName> {
 protected:
  void SetUp() override {
    if (g_skin != GetParam()) {
      Skin().SetSkinFile(SkinFileOf(GetParam()));
      ASSERT_FALSE(Skin().NoSkin) << "the skin file did not load";
      ASSERT_TRUE(WaitUntil([] { return SkinManager->PendingSkinData() == nullptr; }));
      g_skin = GetParam();
    }
    if (!Skin().Active()) SetSkinActive(true);
    ASSERT_TRUE(WaitUntil(ControlsSkinned));
    MoveMouseTo(kAway);
    Controls()->Lst_Long->SetFocus();
    PumpFor(100ms);
  }
  void TearDown() override {
    for (TControl* b : std::initializer_list<TControl*>{Controls()->Btn_Push, Controls()->Btn_Bit, Controls()->Spd_Four}) {
      b->OnClick = nullptr;
    }
  }
  void Screenshot(const std::wstring& what) { SaveScreenshot(L"skin-buttons-" + what + L"-" + NameOf(GetParam())); }
};

TEST_P(SkinButtons, PushButtonsShowEveryStateAndClickOnlyWhenReleasedOverThem) {
  TFrm_GalleryControls* c = Controls();
  int clicks = 0;
  c->Btn_Push->OnClick = [&](TObject*) { ++clicks; };
  EXPECT_EQ(WaitForCell(c->Btn_Push, kButtonCellNormal), kButtonCellNormal);
  EXPECT_EQ(WaitForCell(c->Btn_PushOff, kButtonCellDisabled), kButtonCellDisabled);
  EXPECT_EQ(WaitForCell(c->Btn_Default, kButtonCellDefault), kButtonCellDefault);
  Screenshot(L"rest");

  MoveMouseTo(CentreOf(c->Btn_Push));
  EXPECT_EQ(WaitForCell(c->Btn_Push, kButtonCellHot), kButtonCellHot) << "hot under the mouse";
  Press(CentreOf(c->Btn_Push));
  EXPECT_EQ(WaitForCell(c->Btn_Push, kButtonCellPressed), kButtonCellPressed) << "pressed while held";
  EXPECT_EQ(GetFocus(), c->Btn_Push->Handle()) << "a press takes the focus";
  Screenshot(L"pressed");
  // Held and moved off: no longer pressed; let go there: no click.
  MoveMouseTo(BelowOf(c->Btn_Push));
  EXPECT_EQ(WaitForCell(c->Btn_Push, kButtonCellHot), kButtonCellHot);
  Release(BelowOf(c->Btn_Push));
  PumpFor(200ms);
  EXPECT_EQ(clicks, 0) << "a press that left the button before the release clicked it";
  // Moved off and back while held: pressed again, and the release over it clicks once.
  Press(CentreOf(c->Btn_Push));
  MoveMouseTo(BelowOf(c->Btn_Push));
  MoveMouseTo(CentreOf(c->Btn_Push));
  EXPECT_EQ(WaitForCell(c->Btn_Push, kButtonCellPressed), kButtonCellPressed);
  Release(CentreOf(c->Btn_Push));
  EXPECT_TRUE(WaitUntil([&] { return clicks == 1; }, 2s)) << clicks;
  // Focused, the mouse away: the focused cell.
  MoveMouseTo(kAway);
  EXPECT_EQ(WaitForCell(c->Btn_Push, kButtonCellHot), kButtonCellHot) << "focused";
  PumpFor(200ms);
  EXPECT_EQ(clicks, 1);
  // Hovering a disabled button changes nothing.
  MoveMouseTo(CentreOf(c->Btn_PushOff));
  PumpFor(150ms);
  EXPECT_EQ(WaitForCell(c->Btn_PushOff, kButtonCellDisabled), kButtonCellDisabled);
}

TEST_P(SkinButtons, SpaceBarAndProgramsClickAsTheButtonItselfWould) {
  TFrm_GalleryControls* c = Controls();
  int clicks = 0;
  c->Btn_Push->OnClick = [&](TObject*) { ++clicks; };
  c->Btn_Push->SetFocus();
  EXPECT_EQ(WaitForCell(c->Btn_Push, kButtonCellHot), kButtonCellHot) << "focused";
  SendInput(1, std::vector<INPUT>{KeyInput(VK_SPACE, false)}.data(), sizeof(INPUT));
  EXPECT_EQ(WaitForCell(c->Btn_Push, kButtonCellPressed), kButtonCellPressed) << "pressed while the space bar is down";
  EXPECT_EQ(clicks, 0);
  SendInput(1, std::vector<INPUT>{KeyInput(VK_SPACE, true)}.data(), sizeof(INPUT));
  EXPECT_TRUE(WaitUntil([&] { return clicks == 1; }, 2s)) << clicks;
  EXPECT_EQ(WaitForCell(c->Btn_Push, kButtonCellHot), kButtonCellHot);
  // A click asked for by a program has happened when BM_CLICK returns, and the skin stays.
  SendMessageW(c->Btn_Push->Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(clicks, 2);
  EXPECT_EQ(WaitForCell(c->Btn_Push, kButtonCellHot), kButtonCellHot);
}

TEST_P(SkinButtons, ChineseCaptionsAreCentredAsMeasured) {
  TButton* b = Controls()->Btn_Push;
  const std::u16string saved = b->Caption();
  const RECT r = ScreenRectOf(b);
  b->SetCaption(u"");
  ASSERT_EQ(WaitForCell(b, kButtonCellNormal), kButtonCellNormal);
  PumpFor(100ms);
  const std::vector<COLORREF> bare = ScreenGrab(r).Pixels();
  b->SetCaption(u"中文按钮");
  ASSERT_TRUE(WaitUntil([&] { return ScreenGrab(r).Pixels() != bare; }));
  PumpFor(100ms);
  const ScreenGrab text(r);
  // A text set without one (a null lParam) is read back from the window: no caption, no crash.
  SendMessageW(b->Handle(), WM_SETTEXT, 0, 0);
  EXPECT_TRUE(WaitUntil([&] { return ScreenGrab(r).Pixels() == bare; })) << "the old caption is still drawn";
  b->SetCaption(saved);
  // The caption's ink: every pixel that differs from the face without a caption.
  int left = text.Width(), right = -1, top = text.Height(), bottom = -1;
  for (int y = 0; y < text.Height(); ++y) {
    for (int x = 0; x < text.Width(); ++x) {
      if (text.Pixel(x, y) == bare[static_cast<size_t>(y * text.Width() + x)]) continue;
      left = std::min(left, x), right = std::max(right, x), top = std::min(top, y), bottom = std::max(bottom, y);
    }
  }
  ASSERT_GE(right, left) << "no caption drawn";
  EXPECT_GT(right - left, 30) << "four Chinese characters, not question marks";
  EXPECT_LE(std::abs(left - (text.Width() - 1 - right)), 2) << "left " << left << ", right " << right;
  EXPECT_LE(std::abs(top - (text.Height() - 1 - bottom)), 4) << "top " << top << ", bottom " << bottom;

  // A glyph button places glyph and caption by the caption's measured width: the pair is centred
  // (automatic margin, spacing given), so the caption's ink ends inside the margin the glyph
  // leaves on the left, a few pixels of the font's side bearing short of it, after the glyph.
  TBitBtn* bit = Controls()->Btn_Bit;
  const std::u16string savedBit = bit->Caption();
  bit->SetCaption(u"中文图标");
  const RECT br = ScreenRectOf(bit);
  const auto glyph = WaitForGlyph(bit, *bit->Glyph(), 4, 1, false);
  ASSERT_TRUE(glyph.has_value());
  PumpFor(100ms);
  const ScreenGrab pair(br);
  bit->SetCaption(savedBit);
  const TDataSkinButton& buttons = *Skin().Buttons;
  const COLORREF ink = buttons.HasNormalColour2 ? SkinColourToRgb(buttons.NormalColour2, 0) : ColorToRGB(bit->Font()->Color());
  int inkLeft = pair.Width(), inkRight = -1;
  for (int y = 0; y < pair.Height(); ++y) {
    for (int x = glyph->x + 16; x < pair.Width(); ++x) {
      if (pair.Pixel(x, y) == ink) inkLeft = std::min(inkLeft, x), inkRight = std::max(inkRight, x);
    }
  }
  ASSERT_GE(inkRight, inkLeft) << "no caption ink";
  EXPECT_GT(inkLeft, glyph->x + 16) << "caption over the glyph";
  const int textEnd = pair.Width() - 1 - glyph->x;
  EXPECT_LE(inkRight, textEnd) << "glyph at " << glyph->x << ", caption ink ends at " << inkRight;
  EXPECT_GE(inkRight, textEnd - 8) << "glyph at " << glyph->x << ", caption ink ends at " << inkRight;
}

TEST_P(SkinButtons, BitButtonsShowTheirGlyphCellsGreyedWhenDisabled) {
  TFrm_GalleryControls* c = Controls();
  TBitmap& four = *c->Btn_Bit->Glyph();
  TBitmap& one = *c->Btn_BitOne->Glyph();
  ASSERT_EQ(c->Btn_Bit->ButtonGlyph().NumGlyphs(), 4);
  ASSERT_EQ(c->Btn_BitOne->ButtonGlyph().NumGlyphs(), 1);
  EXPECT_EQ(WaitForCell(c->Btn_Bit, kButtonCellNormal), kButtonCellNormal);
  const auto up = WaitForGlyph(c->Btn_Bit, four, 4, 1, false);
  ASSERT_TRUE(up.has_value()) << "the up cell";
  EXPECT_EQ(up->y, (c->Btn_Bit->Height() - 16 + 1) / 2) << "centred across";
  EXPECT_LT(up->x, c->Btn_Bit->Width() / 2) << "left of the caption";
  EXPECT_FALSE(FindGlyph(ScreenRectOf(c->Btn_Bit), four, 4, 3, false)) << "not the pressed cell";

  // Disabled: the disabled cell, greyed; the disabled frame.
  EXPECT_EQ(WaitForCell(c->Btn_BitOff, kButtonCellDisabled), kButtonCellDisabled);
  EXPECT_TRUE(WaitForGlyph(c->Btn_BitOff, four, 4, 2, true)) << "cell 2, greyed";
  // One cell: right of the caption; greyed when disabled.
  const auto right = WaitForGlyph(c->Btn_BitOne, one, 1, 1, false);
  ASSERT_TRUE(right.has_value());
  EXPECT_GT(right->x, c->Btn_BitOne->Width() / 2);
  EXPECT_TRUE(WaitForGlyph(c->Btn_BitOneOff, one, 1, 1, true)) << "cell 1, greyed";
  EXPECT_FALSE(FindGlyph(ScreenRectOf(c->Btn_BitOneOff), one, 1, 1, false));

  // Hot and focused share a cell; pressed shows the pressed glyph cell.
  MoveMouseTo(CentreOf(c->Btn_Bit));
  EXPECT_EQ(WaitForCell(c->Btn_Bit, kButtonCellHot), kButtonCellHot);
  int clicks = 0;
  c->Btn_Bit->OnClick = [&](TObject*) { ++clicks; };
  Press(CentreOf(c->Btn_Bit));
  EXPECT_EQ(WaitForCell(c->Btn_Bit, kButtonCellPressed), kButtonCellPressed);
  EXPECT_TRUE(WaitForGlyph(c->Btn_Bit, four, 4, 3, false)) << "the pressed cell";
  Screenshot(L"bit-pressed");
  // The owner-drawn button asks to be drawn on its own (a state change): still the skin.
  SendMessageW(c->Btn_Bit->Handle(), BM_SETSTATE, TRUE, 0);
  EXPECT_EQ(WaitForCell(c->Btn_Bit, kButtonCellPressed), kButtonCellPressed);
  Release(CentreOf(c->Btn_Bit));
  EXPECT_TRUE(WaitUntil([&] { return clicks == 1; }, 2s));
  MoveMouseTo(kAway);
  EXPECT_EQ(WaitForCell(c->Btn_Bit, kButtonCellHot), kButtonCellHot) << "focused";
  EXPECT_TRUE(WaitForGlyph(c->Btn_Bit, four, 4, 1, false));
}

TEST_P(SkinButtons, SpeedButtonsShowGlyphsDownDisabledAndFlat) {
  TFrm_GalleryControls* c = Controls();
  TBitmap& four = *c->Spd_Four->Glyph();
  TBitmap& one = *c->Spd_One->Glyph();
  EXPECT_EQ(WaitForCell(c->Spd_Four, kButtonCellNormal), kButtonCellNormal);
  // No caption: the glyph in the middle, with the speed button's one pixel more of margin.
  const auto at = WaitForGlyph(c->Spd_Four, four, 4, 1, false);
  ASSERT_TRUE(at.has_value());
  const GlyphTextPlacement place =
      PlaceGlyphAndText(c->Spd_Four->Width(), c->Spd_Four->Height(), 16, 16, 0, 0, -1, 4, GlyphLayout::kLeft, false, true);
  EXPECT_EQ(at->x, place.glyph.left);
  EXPECT_EQ(at->y, place.glyph.top);
  EXPECT_EQ(WaitForCell(c->Spd_FourOff, kButtonCellDisabled), kButtonCellDisabled);
  EXPECT_TRUE(WaitForGlyph(c->Spd_FourOff, four, 4, 2, true));
  EXPECT_EQ(WaitForCell(c->Spd_One, kButtonCellPressed), kButtonCellPressed) << "down";
  EXPECT_TRUE(WaitForGlyph(c->Spd_One, one, 1, 1, false)) << "down shows the first of one cell";
  EXPECT_EQ(WaitForCell(c->Spd_OneOff, kButtonCellDisabled), kButtonCellDisabled);
  EXPECT_TRUE(WaitForGlyph(c->Spd_OneOff, one, 1, 1, true));
  EXPECT_TRUE(WaitUntil([&] { return NoFrameOnScreen(c->Spd_Flat); })) << "a flat button at rest has no frame";

  // Hot, pressed, dragged off (no click), clicked.
  int clicks = 0;
  c->Spd_Four->OnClick = [&](TObject*) { ++clicks; };
  MoveMouseTo(CentreOf(c->Spd_Four));
  EXPECT_EQ(WaitForCell(c->Spd_Four, kButtonCellHot), kButtonCellHot);
  Press(CentreOf(c->Spd_Four));
  EXPECT_EQ(WaitForCell(c->Spd_Four, kButtonCellPressed), kButtonCellPressed);
  EXPECT_TRUE(WaitForGlyph(c->Spd_Four, four, 4, 3, false)) << "the pressed cell";
  MoveMouseTo(BelowOf(c->Spd_Four));
  // Held off the button: not pressed (hot still, or left when the parent reports the leave).
  EXPECT_TRUE(WaitUntil([&] {
    const int cell = CellOnScreen(ScreenRectOf(c->Spd_Four));
    return cell == kButtonCellHot || cell == kButtonCellNormal;
  })) << "held off the button";
  Release(BelowOf(c->Spd_Four));
  PumpFor(150ms);
  EXPECT_EQ(clicks, 0);
  ClickAt(CentreOf(c->Spd_Four));
  EXPECT_TRUE(WaitUntil([&] { return clicks == 1; }, 2s));
  MoveMouseTo(CentreOf(c->Spd_Flat));
  EXPECT_EQ(WaitForCell(c->Spd_Flat, kButtonCellHot), kButtonCellHot) << "a flat button shows its frame when hot";
  Screenshot(L"speed-hot");
  MoveMouseTo(kAway);
  EXPECT_TRUE(WaitUntil([&] { return NoFrameOnScreen(c->Spd_Flat); }));
  EXPECT_EQ(WaitForCell(c->Spd_Four, kButtonCellNormal), kButtonCellNormal);
  // A speed button pushed down by code shows down, disabled or not.
  c->Spd_One->SetEnabled(false);
  EXPECT_EQ(WaitForCell(c->Spd_One, kButtonCellPressed), kButtonCellPressed) << "down wins over disabled";
  c->Spd_One->SetEnabled(true);
}

TEST_P(SkinButtons, AHoverThatChangesNothingOnTheScreenPaintsNothing) {
  TFrm_GalleryControls* c = Controls();
  TWinSkinForm* form = FormSkinnerOf(c);
  ASSERT_NE(form, nullptr);
  auto* push = NewButton<TButton>(c, 8, 240, 90, 25, u"Counted", true);
  auto* off = NewButton<TButton>(c, 104, 240, 90, 25, u"Off", true);
  off->SetEnabled(false);
  auto* speed = NewButton<TSpeedButton>(c, 8, 272, 25, 25, u"S", true);
  auto* pushSkin = new Counted<TSkinButton>(push);
  auto* offSkin = new Counted<TSkinButton>(off);
  auto* speedSkin = new Counted<TSkinSpeedButton>(speed);
  for (TSkinControl* s : std::initializer_list<TSkinControl*>{pushSkin, offSkin, speedSkin}) {
    s->AttachControl(form, &Skin(), false);
    ASSERT_TRUE(s->Attached());
  }
  EXPECT_EQ(WaitForCell(push, kButtonCellNormal), kButtonCellNormal);
  EXPECT_EQ(WaitForCell(speed, kButtonCellNormal), kButtonCellNormal);
  PumpFor(100ms);

  // Into a button, about inside it, out again, about outside it: becoming hot is painted once and
  // the leave at least once, the moves inside and outside not at all. A repaint from outside (the
  // desktop's, an activation's) can land in one round; a hover that paints on every move does so in
  // every round.
  for (auto [control, paints] : {std::pair<TControl*, int*>{push, &pushSkin->paints}, {speed, &speedSkin->paints}}) {
    auto round = [&, control = control, paints = paints]() -> std::string {
      *paints = 0;
      const RECT r = ScreenRectOf(control);
      MoveMouseTo(POINT{r.left + 5, r.top + 5});
      if (WaitForCell(control, kButtonCellHot) != kButtonCellHot) return "never hot";
      for (int i = 0; i < 8; ++i) MoveMouseTo(POINT{r.left + 6 + i, r.top + 6 + i % 3});
      PumpFor(150ms);
      const int hot = std::exchange(*paints, 0);
      MoveMouseTo(kAway);
      if (WaitForCell(control, kButtonCellNormal) != kButtonCellNormal) return "hot after the leave";
      PumpFor(150ms);
      const int leave = std::exchange(*paints, 0);
      for (int i = 0; i < 8; ++i) MoveMouseTo(POINT{kAway.x + i, kAway.y + i % 3});
      PumpFor(150ms);
      if (hot == 1 && leave >= 1 && *paints == 0) return {};
      return std::to_string(hot) + " paints for becoming hot (1 expected), " + std::to_string(leave) +
             " for the leave (1 at least), " + std::to_string(*paints) + " for the moves outside (none expected)";
    };
    std::string failed = round();
    for (int again = 0; again < 2 && !failed.empty(); ++again) failed = round();
    EXPECT_TRUE(failed.empty()) << Narrow(control->Caption()) << ": " << failed;
  }
  // A focused button already shows the hot cell, a disabled one never changes: hovering either
  // paints nothing.
  push->SetFocus();
  EXPECT_EQ(WaitForCell(push, kButtonCellHot), kButtonCellHot);
  PumpFor(100ms);
  for (auto [control, paints] : {std::pair<TControl*, int*>{push, &pushSkin->paints}, {off, &offSkin->paints}}) {
    *paints = 0;
    MoveMouseTo(CentreOf(control));
    PumpFor(250ms);
    MoveMouseTo(kAway);
    PumpFor(250ms);
    EXPECT_EQ(*paints, 0) << Narrow(control->Caption());
  }
  EXPECT_EQ(form->HotButton(), nullptr);
  delete push;
  delete off;
  delete speed;
}

TEST_P(SkinButtons, HotButtonNeverPointsAtAFreedSkinner) {
  TFrm_GalleryControls* c = Controls();
  TWinSkinForm* form = FormSkinnerOf(c);
  ASSERT_NE(form, nullptr);
  // A button made now is skinned as its window appears.
  auto* late = NewButton<TButton>(c, 8, 240, 90, 25, u"Late 后来", false);
  late->HandleNeeded();
  ASSERT_TRUE(WaitUntil([&] { return SkinnerOf<TSkinButton>(late) != nullptr; }));
  MoveMouseTo(CentreOf(late));
  ASSERT_EQ(WaitForCell(late, kButtonCellHot), kButtonCellHot);
  EXPECT_EQ(form->HotButton(), SkinnerOf<TSkinButton>(late));
  // Its window made again: the old window's skinner goes, and the new one's alone takes the mouse.
  late->RecreateWnd();
  MoveMouseTo(kAway);
  MoveMouseTo(CentreOf(late));
  EXPECT_EQ(WaitForCell(late, kButtonCellHot), kButtonCellHot);
  EXPECT_EQ(std::count_if(form->ControlSkinners().begin(), form->ControlSkinners().end(),
                          [&](const TSkinControl* s) { return s->Control() == late; }), 1);
  EXPECT_EQ(form->HotButton(), SkinnerOf<TSkinButton>(late));
  delete late;  // its skinner goes with it
  EXPECT_EQ(form->HotButton(), nullptr);
  // The next hot button takes over without reaching for the freed one.
  MoveMouseTo(CentreOf(c->Btn_Push));
  EXPECT_EQ(WaitForCell(c->Btn_Push, kButtonCellHot), kButtonCellHot);
  EXPECT_EQ(form->HotButton(), SkinnerOf<TSkinButton>(c->Btn_Push));
  // One hot button at a time across the window.
  MoveMouseTo(CentreOf(c->Spd_Four));
  EXPECT_EQ(WaitForCell(c->Spd_Four, kButtonCellHot), kButtonCellHot);
  EXPECT_EQ(WaitForCell(c->Btn_Push, kButtonCellNormal), kButtonCellNormal);
  EXPECT_EQ(form->HotButton(), SkinnerOf<TSkinButton>(c->Spd_Four));
  MoveMouseTo(kAway);
  EXPECT_TRUE(WaitUntil([&] { return form->HotButton() == nullptr; }));
}

// A press whose focus change hides or frees the button (another control's OnExit) presses
// nothing; a skinner the application hands over and keeps is never freed by the engine, even
// when it cannot attach.
TEST_P(SkinButtons, NeitherAFocusChangeNorTheApplicationsSkinnerIsFreedUnderTheEngine) {
  TFrm_GalleryControls* c = Controls();
  FreedMemoryWatch freed;
  int clicks = 0;
  for (const bool free : {false, true}) {
    auto* b = NewButton<TButton>(c, 8, 240, 90, 25, u"Gone 走了", false);
    b->HandleNeeded();
    ASSERT_TRUE(WaitUntil([&] { return SkinnerOf<TSkinButton>(b) != nullptr; }));
    b->OnClick = [&](TObject*) { ++clicks; };
    c->Lst_Long->OnExit = [&](TObject*) { free ? delete b : b->SetVisible(false); };
    ClickAt(CentreOf(b));
    c->Lst_Long->OnExit = nullptr;
    if (!free) delete b;
    c->Lst_Long->SetFocus();
  }
  EXPECT_EQ(clicks, 0);
  EXPECT_EQ(freed.Writes(), 0) << "freed memory written to";

  struct THeld : TSkinButton {
    explicit THeld(bool& gone) : TSkinButton(nullptr), gone(gone) {}
    ~THeld() override { gone = true; }
    bool& gone;
  };
  bool gone = false;
  auto* held = new THeld(gone);  // no control of its own: it cannot attach
  Skin().OnSkinControl = [&](TComponent*, TSkinData*, TComponent*, TComponent*, const std::u16string&,
                             TComponent*& chosen) { chosen = held; };
  auto* b = NewButton<TButton>(c, 8, 240, 90, 25, u"Held", false);
  b->HandleNeeded();
  PumpFor(100ms);
  Skin().OnSkinControl = nullptr;
  EXPECT_FALSE(gone) << "the application's skinner was freed";
  if (!gone) delete held;
  delete b;
}

TEST_P(SkinButtons, APaintThatFailsReleasesItsDeviceContexts) {
  TFrm_GalleryControls* c = Controls();
  TWinSkinForm* form = FormSkinnerOf(c);
  ASSERT_NE(form, nullptr);
  auto* b = NewButton<TButton>(c, 8, 240, 90, 25, u"Broken", true);
  auto* skinner = new TThrowingButton(b, GetParam() == SkinName::kSlate ? u"Broken in Slate" : u"Broken in Pine");
  skinner->AttachControl(form, &Skin(), false);
  int errors = 0;
  Application->OnException = [&](TObject*, const std::exception&) { ++errors; };
  for (int i = 0; i < 3; ++i) {  // warm up
    skinner->DrawNow(nullptr);
    Repaint(b->Handle());
  }
  PumpFor(50ms);
  const int gdi = GdiObjectCount();
  for (int i = 0; i < 300; ++i) {
    skinner->DrawNow(nullptr);  // a window DC of its own
    Repaint(b->Handle());       // BeginPaint's
  }
  PumpFor(100ms);
  EXPECT_EQ(GdiObjectCount(), gdi) << "a device context kept on every failed paint";
  RECT update{};
  EXPECT_FALSE(GetUpdateRect(b->Handle(), &update, FALSE)) << "the failed paint is validated";
  EXPECT_GT(errors, 0) << "the failure is told, after the paint";
  Application->OnException = nullptr;
  delete b;
}

TEST_P(SkinButtons, GdiObjectsStayFlatOverRepaintsAndHovers) {
  TFrm_GalleryControls* c = Controls();
  // A hover cycle repaints each button twice (hot, then not).
  const std::vector<TControl*> buttons{c->Btn_Push, c->Btn_Bit, c->Spd_Four};
  auto cycle = [&] {
    for (TControl* b : buttons) {
      b->Perform(CM_MOUSEENTER, 0, reinterpret_cast<LPARAM>(b));
      b->Perform(CM_MOUSELEAVE, 0, reinterpret_cast<LPARAM>(b));
    }
  };
  cycle();
  PumpFor(50ms);
  const int gdi = GdiObjectCount();
  for (int i = 0; i < 1000; ++i) {
    cycle();
    if (i % 50 == 0) PumpMessages();
  }
  PumpFor(100ms);
  EXPECT_EQ(GdiObjectCount(), gdi);
  EXPECT_EQ(WaitForCell(c->Btn_Push, kButtonCellNormal), kButtonCellNormal);
}

TEST_P(SkinButtons, SkinOffGivesEveryButtonItsOwnLookBack) {
  TFrm_GalleryControls* c = Controls();
  const std::vector<TControl*> buttons{c->Btn_Push, c->Btn_Default, c->Btn_Bit, c->Btn_BitOff, c->Spd_Four, c->Spd_One,
                                       c->Spd_Flat};
  EXPECT_TRUE(c->Btn_Push->DoubleBuffered()) << "skinned buttons paint off the screen";
  auto ownLook = [&] {
    SetSkinActive(false);
    EXPECT_EQ(FormSkinnerOf(c), nullptr);
    c->Lst_Long->SetFocus();
    PumpFor(400ms);
    std::vector<std::vector<COLORREF>> grabs;
    for (TControl* b : buttons) grabs.push_back(ScreenGrab(ScreenRectOf(b)).Pixels());
    return grabs;
  };
  const auto first = ownLook();
  for (TControl* b : buttons) EXPECT_EQ(SkinnerOf(b), nullptr) << "a skinner left on " << Narrow(b->Name());
  EXPECT_FALSE(c->Btn_Push->DoubleBuffered()) << "the control's own setting is back";
  EXPECT_EQ(CellOnScreen(ScreenRectOf(c->Btn_Push)), 0);
  // Nothing stands in front of the button: the system's own button takes the press.
  Press(CentreOf(c->Btn_Push));
  EXPECT_TRUE(SendMessageW(c->Btn_Push->Handle(), BM_GETSTATE, 0, 0) & BST_PUSHED);
  MoveMouseTo(kAway);
  Release(kAway);
  Screenshot(L"skin-off");

  SetSkinActive(true);
  ASSERT_TRUE(WaitUntil(ControlsSkinned));
  c->Lst_Long->SetFocus();
  EXPECT_EQ(WaitForCell(c->Btn_Push, kButtonCellNormal), kButtonCellNormal);
  const auto second = ownLook();
  ASSERT_EQ(first.size(), second.size());
  for (size_t i = 0; i < first.size(); ++i) {
    EXPECT_TRUE(first[i] == second[i]) << Narrow(buttons[i]->Name()) << " does not look as it did unskinned";
  }
  SetSkinActive(true);
  ASSERT_TRUE(WaitUntil(ControlsSkinned));
}

TEST_P(SkinButtons, WithoutAButtonsImageEveryButtonPaintsAndPressesItself) {
  TFrm_GalleryControls* c = Controls();
  const std::vector<TControl*> buttons{c->Btn_Push, c->Btn_Bit, c->Btn_BitOneOff, c->Spd_Four, c->Spd_Flat};
  auto looks = [&] {
    c->Lst_Long->SetFocus();
    for (TControl* b : buttons) b->Invalidate();
    PumpFor(400ms);
    std::vector<std::vector<COLORREF>> grabs;
    for (TControl* b : buttons) grabs.push_back(ScreenGrab(ScreenRectOf(b)).Pixels());
    return grabs;
  };
  SetSkinActive(false);
  const auto own = looks();
  SetSkinActive(true);
  ASSERT_TRUE(WaitUntil(ControlsSkinned));
  // The skin loses its image: the skinners stay, and stand aside.
  Bitmap24 image = std::exchange(Skin().Buttons->Image, Bitmap24());
  const auto bare = looks();
  for (size_t i = 0; i < buttons.size(); ++i) {
    EXPECT_TRUE(own[i] == bare[i]) << Narrow(buttons[i]->Name()) << " is not painted as it paints itself";
  }
  EXPECT_NE(SkinnerOf(c->Btn_Push), nullptr);
  Press(CentreOf(c->Btn_Push));
  EXPECT_TRUE(SendMessageW(c->Btn_Push->Handle(), BM_GETSTATE, 0, 0) & BST_PUSHED) << "the press is the button's own";
  MoveMouseTo(kAway);
  Release(kAway);
  Skin().Buttons->Image = std::move(image);
  for (TControl* b : buttons) b->Invalidate();
  c->Lst_Long->SetFocus();
  EXPECT_EQ(WaitForCell(c->Btn_Push, kButtonCellNormal), kButtonCellNormal);
  EXPECT_EQ(WaitForCell(c->Spd_Four, kButtonCellNormal), kButtonCellNormal);
}

TEST_P(SkinButtons, TwoHundredSkinOnOffCyclesKeepGdiObjectsFlat) {
  SetSkinActive(false);
  SetSkinActive(true);
  ASSERT_TRUE(WaitUntil(ControlsSkinned));
  PumpFor(100ms);
  const int gdi = GdiObjectCount();
  for (int i = 0; i < 200; ++i) {
    SetSkinActive(false, false);
    SetSkinActive(true, false);
  }
  ASSERT_TRUE(WaitUntil(ControlsSkinned));
  PumpFor(200ms);
  EXPECT_EQ(GdiObjectCount(), gdi);
  EXPECT_EQ(WaitForCell(Controls()->Btn_Push, kButtonCellNormal), kButtonCellNormal);
}

TEST_P(SkinButtons, MessageBoxButtonsAreSkinnedAndAnswerTheMouse) {
  HWND box = nullptr;
  int okCell = 0, cancelCell = 0, heldCell = 0;
  bool stayedOpen = false;
  int answer = 0;
  WhileModal([&] { answer = MessageBoxW(Controls()->Handle(), L"Skinned buttons 按钮?", L"Buttons", MB_OKCANCEL); },
             [&] {
               box = FindWindowW(L"#32770", L"Buttons");
               if (!box || !SkinManager->FindFormSkinner(box)) return false;
               HWND ok = GetDlgItem(box, IDOK), cancel = GetDlgItem(box, IDCANCEL);
               RECT okRect{}, cancelRect{};
               // The frame is fitted to the skin right after attaching: measure after that.
               WaitUntil([&] { return SkinManager->FindFormSkinner(box)->State() == skActive; });
               PumpFor(100ms);
               GetWindowRect(ok, &okRect);
               GetWindowRect(cancel, &cancelRect);
               okCell = WaitForCell(okRect, kButtonCellDefault);
               cancelCell = WaitForCell(cancelRect, kButtonCellNormal);
               SaveScreenshot(L"skin-buttons-message-box-" + NameOf(GetParam()));
               // Pressed on OK, let go beside the box: no answer.
               const POINT okCentre{(okRect.left + okRect.right) / 2, (okRect.top + okRect.bottom) / 2};
               Press(okCentre);
               heldCell = WaitForCell(okRect, kButtonCellPressed);
               MoveMouseTo(kAway);
               Release(kAway);
               PumpFor(300ms);
               stayedOpen = IsWindow(box) != FALSE;
               ClickAt(POINT{(cancelRect.left + cancelRect.right) / 2, (cancelRect.top + cancelRect.bottom) / 2});
               return true;
             },
             [&] { PostMessageW(box, WM_COMMAND, IDABORT, 0); });
  EXPECT_EQ(okCell, kButtonCellDefault);
  EXPECT_EQ(cancelCell, kButtonCellNormal);
  EXPECT_EQ(heldCell, kButtonCellPressed);
  EXPECT_TRUE(stayedOpen) << "a press let go off the button answered the box";
  EXPECT_EQ(answer, IDCANCEL);
}

TFrm_HotKey* OpenHotKeyDialog() {
  HWND window = FindWindowW(L"TFrm_HotKey", nullptr);
  auto* form = dynamic_cast<TFrm_HotKey*>(TWinControl::FindControl(window));
  return form && form->Modal() && IsWindowVisible(window) ? form : nullptr;
}

// The hotkey dialog's skinned glyph buttons, once it is skinned and fitted to the frame.
TFrm_HotKey* SkinnedHotKeyDialog() {
  TFrm_HotKey* form = OpenHotKeyDialog();
  if (!form || !FormSkinnerOf(form) || FormSkinnerOf(form)->State() != skActive) return nullptr;
  if (!SkinnerOf<TSkinBitButton>(form->Btn_Yes) || !SkinnerOf<TSkinBitButton>(form->Btn_No)) return nullptr;
  return form;
}

TEST_P(SkinButtons, HotKeyDialogGlyphButtonsAreSkinnedAndEndTheDialog) {
  // Accepted with the mouse, after a press that left the button without closing the dialog.
  std::u16string result = u"unset";
  bool glyphsShown = false, stayedOpen = false;
  WhileModal([&] { result = EditHotKey(u"CTRL+ALT+Z"); },
             [&] {
               TFrm_HotKey* form = SkinnedHotKeyDialog();
               if (!form) return false;
               PumpFor(150ms);
               glyphsShown = WaitForGlyph(form->Btn_Yes, *form->Btn_Yes->Glyph(), 2, 1, false) &&
                             WaitForGlyph(form->Btn_No, *form->Btn_No->Glyph(), 2, 1, false);
               EXPECT_EQ(WaitForCell(form->Btn_No, kButtonCellNormal), kButtonCellNormal);
               SaveScreenshot(L"skin-buttons-hotkey-dialog-" + NameOf(GetParam()));
               Press(CentreOf(form->Btn_Yes));
               EXPECT_EQ(WaitForCell(form->Btn_Yes, kButtonCellPressed), kButtonCellPressed);
               MoveMouseTo(BelowOf(form->Btn_Yes));
               Release(BelowOf(form->Btn_Yes));
               PumpFor(300ms);
               stayedOpen = OpenHotKeyDialog() == form;
               ClickAt(CentreOf(form->Btn_Yes));
               return true;
             },
             [] {
               if (TFrm_HotKey* form = OpenHotKeyDialog()) PostMessageW(form->Handle(), WM_CLOSE, 0, 0);
             });
  EXPECT_TRUE(glyphsShown) << "the two-cell glyphs show their first cell";
  EXPECT_TRUE(stayedOpen);
  EXPECT_EQ(result, u"1CTRL+ALT+Z");

  // Cancelled with the space bar on the focused cancel button.
  result = u"unset";
  WhileModal([&] { result = EditHotKey(u"CTRL+ALT+Z"); },
             [&] {
               TFrm_HotKey* form = SkinnedHotKeyDialog();
               if (!form) return false;
               form->Btn_No->SetFocus();
               EXPECT_EQ(WaitForCell(form->Btn_No, kButtonCellHot), kButtonCellHot) << "focused";
               PressKey(VK_SPACE);
               return true;
             },
             [] {
               if (TFrm_HotKey* form = OpenHotKeyDialog()) PostMessageW(form->Handle(), WM_CLOSE, 0, 0);
             });
  EXPECT_EQ(result, u"");
}

TEST_P(SkinButtons, IpDnsDialogButtonsAreSkinned) {
  // Deleted without closing: nothing is saved beside the test program.
  std::unique_ptr<TFrm_IPDNS> dialog(NewForm<TFrm_IPDNS>(Application));
  dialog->Show();
  ASSERT_TRUE(WaitUntil([&] {
    const TWinSkinForm* form = FormSkinnerOf(dialog.get());
    return form && form->State() == skActive && SkinnerOf<TSkinButton>(dialog->Button1) &&
           SkinnerOf<TSkinButton>(dialog->Button2);
  }));
  dialog->Edit1->SetFocus();
  EXPECT_EQ(WaitForCell(dialog->Button1, kButtonCellNormal), kButtonCellNormal);
  EXPECT_EQ(WaitForCell(dialog->Button2, kButtonCellNormal), kButtonCellNormal);
  MoveMouseTo(CentreOf(dialog->Button2));
  EXPECT_EQ(WaitForCell(dialog->Button2, kButtonCellHot), kButtonCellHot);
  SaveScreenshot(L"skin-buttons-ipdns-dialog-" + NameOf(GetParam()));
  MoveMouseTo(kAway);
  EXPECT_EQ(WaitForCell(dialog->Button2, kButtonCellNormal), kButtonCellNormal);
}

TEST_P(SkinButtons, ButtonsOfOtherClassesAreReadByPropertyName) {
  TFrm_GalleryControls* c = Controls();
  // Another library's glyph button, named in Skin3rd as a bit button.
  TStringList* rows = Skin().Skin3rd();
  rows->Add(u"TOtherGlyphButton=bitbtn");
  auto* b = NewButton<TOtherGlyphButton>(c, 8, 240, 120, 25, u"Other 其他", false);
  b->HandleNeeded();
  ASSERT_TRUE(WaitUntil([&] { return SkinnerOf<TSkinBitButton>(b) != nullptr; }));
  b->glyph.Assign(*c->Btn_Bit->Glyph());  // four cells, but its NumGlyphs says 0
  b->Invalidate();
  EXPECT_EQ(WaitForCell(b, kButtonCellNormal), kButtonCellNormal);
  EXPECT_TRUE(WaitForGlyph(b, b->glyph, 1, 1, false)) << "a count of 0 shows the whole image as one cell";

  // No glyph: the image list's image at the glyph's place (a green square in a magenta border).
  TImageList images(nullptr);
  TBitmap square;
  square.SetSize(16, 16);
  for (int y = 0; y < 16; ++y) {
    uint8_t* row = square.ScanLine(y);
    for (int x = 0; x < 16; ++x) {
      const bool inside = x >= 4 && x < 12 && y >= 4 && y < 12;
      row[x * 3] = inside ? 40 : 255, row[x * 3 + 1] = inside ? 200 : 0, row[x * 3 + 2] = inside ? 0 : 255;
    }
  }
  ASSERT_GE(images.AddMasked(&square, clFuchsia), 0);
  b->glyph.Clear();
  b->images = &images;
  b->imageIndex = 0;
  b->Invalidate();
  EXPECT_TRUE(WaitForGlyph(b, square, 1, 1, false)) << "the image list's image";
  b->SetEnabled(false);
  EXPECT_EQ(WaitForCell(b, kButtonCellDisabled), kButtonCellDisabled);
  delete b;
  rows->Delete(rows->Count() - 1);
}

INSTANTIATE_TEST_SUITE_P(BothSkins, SkinButtons, ::testing::Values(SkinName::kSlate, SkinName::kPine),
                         [](const ::testing::TestParamInfo<SkinName>& info) {
                           return info.param == SkinName::kSlate ? "Slate" : "Pine";
                         });

}  // namespace
}  // namespace qlt
