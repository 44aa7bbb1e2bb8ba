// Edit boxes, spin edits and combo boxes painted from the skin, with both skins (Slate has no
// up-down images: its buttons are drawn; Pine has them): the flat border, the up-down halves in
// every look (hot, pressed, disabled) still stepping the value, a sideways up-down of the system's,
// the combo box's ring and button in each state with the list opening and an item chosen, the
// button on the left for a left scroll bar, a DC's clipping given back, GDI objects flat, the
// controls' own look back without the skin, and QLT's forms. Every expected pixel is composed from
// the skin's objects read from its file.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <map>
#include <sstream>

#include "app/FrmMain.h"
#include "gallery/FrmGalleryEdits.h"
#include "skin/controls/EditLayout.h"
#include "skin/controls/SkinEdits.h"
#include "tests/win/GalleryTestSupport.h"
#include "tests/win/SkinOnScreen.h"
#include "tools/FrmHotKey.h"
#include "tools/FrmIPDNS.h"
#include "ui/Utf.h"

namespace qlt {
namespace {

using namespace test;

std::string Utf8(const std::wstring& w) {
  return Narrow(std::u16string_view(reinterpret_cast<const char16_t*>(w.c_str()), w.size()));
}
std::wstring Wide(const std::u16string& t) { return std::wstring(t.begin(), t.end()); }

::testing::AssertionResult ShowsOnScreen(HWND h, const std::function<PixelBuffer()>& want, const SkinRect& skip,
                                         const std::wstring& name) {
  int bad = -1;
  std::ostringstream where;
  if (WaitUntil(
          [&] {
            const ScreenGrab grab = ScreenGrab::OfWindow(h);
            const PixelBuffer expected = want();
            bad = PixelMismatches(grab, expected, skip);
            if (bad > 0) {
              where.str({});
              int shown = 0;
              for (int y = 0; y < grab.Height() && shown < 6; ++y) {
                for (int x = 0; x < grab.Width() && shown < 6; ++x) {
                  const Pixel32 p = expected.At(x, y);
                  const COLORREF c = RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
                  if (skip.Contains(x, y) || grab.Pixel(x, y) == c) continue;
                  where << " (" << x << "," << y << ") " << std::hex << grab.Pixel(x, y) << " not " << c << std::dec;
                  ++shown;
                }
              }
            }
            return bad == 0;
          },
          3s)) {
    return ::testing::AssertionSuccess();
  }
  SaveScreenshot(L"edits-failed-" + name);
  return ::testing::AssertionFailure() << Utf8(name) << ": " << bad << " pixels differ;" << where.str();
}

class SkinnedEdits : public ::testing::TestWithParam<GallerySkin> {
 protected:
  void SetUp() override {
    skin_ = ReadSkinContent(SkinFileBytes(GetParam()));
    host_ = std::make_unique<GalleryHost>(GetParam());
    edits_ = host_->Gallery().Edits();
    ShowSkinned(edits_, edits_->Cmb_Left);
  }
  void TearDown() override { host_.reset(); }

  const TSkinContent& Skin() const { return *skin_; }
  std::wstring Named(const std::wstring& what) const {
    return L"edits-" + what + (GetParam() == GallerySkin::Pine ? L"-Pine" : L"-Slate");
  }
  static TSkinControl* SkinnerOfControl(TWinControl* control) {
    TWinSkinForm* form = SkinManager->FindFormSkinner(control->GetParentForm()->Handle());
    return form ? form->FindControlSkinner(control->Handle()) : nullptr;
  }
  static TSkinEdit* EditSkinner(TWinControl* c) { return dynamic_cast<TSkinEdit*>(SkinnerOfControl(c)); }
  static TSkinComBox* ComboSkinner(TWinControl* c) { return dynamic_cast<TSkinComBox*>(SkinnerOfControl(c)); }
  static void ShowSkinned(TForm* form, TWinControl* probe) {
    form->Show();
    Activate(form->Handle());
    ASSERT_TRUE(WaitUntil([&] { return SkinnerOfControl(probe) != nullptr; }, 5s)) << "not skinned";
    MoveMouseTo(kParkedPointer);
    PumpFor(100ms);
  }
  void SetSkinActive(bool on) {
    host_->Skin().SetActive(on);
    SkinManager->RunPendingAction();
    if (on) {
      ASSERT_TRUE(WaitUntil([&] { return SkinnerOfControl(edits_->Cmb_Left) != nullptr; }, 5s));
    }
  }
  // The up-down skinner of a spin edit (or of the edit holding the system's up-down), once painted.
  TSkinUpDown* Arrow(TWinControl* edit) {
    TSkinEdit* e = EditSkinner(edit);
    if (!e) return nullptr;
    WaitUntil([&] { return e->ArrowSkinner() != nullptr; }, 2s);
    return e->ArrowSkinner();
  }
  ::testing::AssertionResult UpDownShows(HWND h, bool horizontal, int first, int second, const std::wstring& name) {
    RECT r{};
    GetClientRect(h, &r);
    return ShowsOnScreen(
        h, [&] { return ExpectedUpDown(Skin(), r.right, r.bottom, horizontal, true, first, second); }, {}, name);
  }
  // The ring and the button outside the text area, which is the control's: its own item area
  // (which may reach beyond the layout's) or, with a left button, the layout's.
  ::testing::AssertionResult ComboShows(TWinControl* combo, int look, bool left = false) {
    ComboLayout layout;
    RECT r{};
    GetWindowRect(combo->Handle(), &r);
    ExpectedCombo(Skin(), r.right - r.left, r.bottom - r.top, look, left, layout);
    const SkinRect skip = left ? layout.text : ComboTextArea(layout, ComboItemArea(combo->Handle()));
    return ShowsOnScreen(
        combo->Handle(),
        [&] { return ExpectedCombo(Skin(), r.right - r.left, r.bottom - r.top, look, left, layout); }, skip,
        Named(Wide(combo->Name())));
  }

  std::unique_ptr<TSkinContent> skin_;
  std::unique_ptr<GalleryHost> host_;
  TFrm_GalleryEdits* edits_ = nullptr;
};

TEST_P(SkinnedEdits, EditsHaveTheFlatBorderAndSpinButtonsTheUpDownLook) {
  TFrm_GalleryEdits& f = *edits_;
  for (TWinControl* e : std::initializer_list<TWinControl*>{f.Edt_Plain, f.Edt_Off, f.Spn_Value, f.Spn_Off, f.Edt_Sideways}) {
    SCOPED_TRACE(Narrow(e->Name()));
    ASSERT_TRUE(EditSkinner(e));
    EXPECT_EQ(FlatBorderFault(e->Handle(), Skin()), "");
  }
  for (TComboBox* c : {f.Cmb_List, f.Cmb_Off, f.Cmb_Edit, static_cast<TComboBox*>(f.Cmb_Left)}) EXPECT_TRUE(ComboSkinner(c));
  EXPECT_EQ(Arrow(f.Edt_Plain), nullptr) << "an edit without an up-down gets none";

  TSkinUpDown* spin = Arrow(f.Spn_Value);
  ASSERT_TRUE(spin);
  EXPECT_TRUE(spin->InEdit());
  EXPECT_EQ(spin->Handle(), f.Spn_Value->Button()->Handle());
  EXPECT_TRUE(UpDownShows(spin->Handle(), false, kLookNormal, kLookNormal, Named(L"spin")));
  TSkinUpDown* off = Arrow(f.Spn_Off);
  ASSERT_TRUE(off);
  EXPECT_TRUE(UpDownShows(off->Handle(), false, kLookDisabled, kLookDisabled, Named(L"spin-off")));
  TSkinUpDown* sideways = Arrow(f.Edt_Sideways);
  ASSERT_TRUE(sideways);
  EXPECT_EQ(sideways->Handle(), f.SidewaysUpDown());
  EXPECT_TRUE(sideways->Horizontal());
  EXPECT_TRUE(UpDownShows(sideways->Handle(), true, kLookNormal, kLookNormal, Named(L"sideways")));
  SaveScreenshot(Named(L"gallery"));
}

TEST_P(SkinnedEdits, UpDownHalvesShowHotPressedAndDisabledAndStillStepTheValue) {
  TFrm_GalleryEdits& f = *edits_;
  TSkinUpDown* spin = Arrow(f.Spn_Value);
  ASSERT_TRUE(spin);
  HWND h = spin->Handle();
  RECT r{};
  GetClientRect(h, &r);
  const UpDownHalves halves = SplitUpDown(r.right, r.bottom, false, true);
  auto at = [&](const SkinRect& half, int dy) {
    POINT p{(half.left + half.right) / 2, (half.top + half.bottom) / 2 + dy};
    ClientToScreen(h, &p);
    return p;
  };
  const int value = f.Spn_Value->Value();

  // Hot: the half under the pointer, the other normal; moving inside one half paints nothing.
  MoveMouseTo(at(halves.first, 0));
  EXPECT_TRUE(UpDownShows(h, false, kLookHot, kLookNormal, Named(L"up-hot")));
  const int paints = spin->Paints();
  MoveMouseTo(at(halves.first, -1));
  MoveMouseTo(at(halves.first, 1));
  PumpFor(150ms);
  EXPECT_EQ(spin->Paints(), paints) << "a hover that changes nothing repaints nothing";
  MoveMouseTo(at(halves.second, 0));
  // The skinner's own idea first (did the move reach it?), then the screen.
  EXPECT_TRUE(WaitUntil([&] { return spin->SecondLook() == kLookHot && spin->FirstLook() == kLookNormal; }, 2s))
      << "the skinner did not follow the move: " << spin->FirstLook() << "/" << spin->SecondLook();
  EXPECT_TRUE(UpDownShows(h, false, kLookNormal, kLookHot, Named(L"down-hot")))
      << spin->Paints() << " paints";

  // The lower half held: its pressed cell (6 with images) below, normal (1) above; released, the
  // value went down one step.
  SendMouseInput(MOUSEEVENTF_LEFTDOWN, at(halves.second, 0));
  // Drawn halves look the same hot and pressed: wait for the press itself before the screen.
  EXPECT_TRUE(WaitUntil([&] { return spin->SecondLook() == kLookPressed; }, 2s));
  EXPECT_TRUE(UpDownShows(h, false, kLookNormal, kLookPressed, Named(L"down-pressed")));
  EXPECT_EQ(spin->FirstLook(), kLookNormal);
  EXPECT_EQ(UpDownCell(spin->SecondLook(), true), 6);
  SaveScreenshot(Named(L"spin-down-pressed"));
  SendMouseInput(MOUSEEVENTF_LEFTUP, at(halves.second, 0));
  PumpFor(100ms);
  EXPECT_EQ(f.Spn_Value->Value(), value - 1);
  EXPECT_TRUE(UpDownShows(h, false, kLookNormal, kLookHot, Named(L"down-released")));
  // The upper half clicked twice: two steps up.
  ClickAt(at(halves.first, 0));
  ClickAt(at(halves.first, 0));
  PumpFor(100ms);
  EXPECT_EQ(f.Spn_Value->Value(), value + 1);
  // The pointer gone: both normal again.
  MoveMouseTo(kParkedPointer);
  EXPECT_TRUE(UpDownShows(h, false, kLookNormal, kLookNormal, Named(L"left")));

  // Disabled: no hover, no step.
  TSkinUpDown* off = Arrow(f.Spn_Off);
  ASSERT_TRUE(off);
  ClickAt(UpDownHalfCentre(off->Handle(), false, true, false));
  PumpFor(100ms);
  EXPECT_EQ(f.Spn_Off->Value(), 7);
  EXPECT_TRUE(UpDownShows(off->Handle(), false, kLookDisabled, kLookDisabled, Named(L"off-clicked")));
  // A spin edit disabled and enabled again follows at once.
  f.Spn_Value->SetEnabled(false);
  EXPECT_TRUE(UpDownShows(h, false, kLookDisabled, kLookDisabled, Named(L"disabled-now")));
  f.Spn_Value->SetEnabled(true);
  EXPECT_TRUE(UpDownShows(h, false, kLookNormal, kLookNormal, Named(L"enabled-again")));

  // The system's sideways up-down: its right half steps its edit's number up.
  TSkinUpDown* sideways = Arrow(f.Edt_Sideways);
  ASSERT_TRUE(sideways);
  const POINT right = UpDownHalfCentre(sideways->Handle(), true, true, true);
  SendMouseInput(MOUSEEVENTF_LEFTDOWN, right);
  EXPECT_TRUE(WaitUntil([&] { return sideways->SecondLook() == kLookPressed; }, 2s));
  EXPECT_TRUE(UpDownShows(sideways->Handle(), true, kLookNormal, kLookPressed, Named(L"right-pressed")));
  SendMouseInput(MOUSEEVENTF_LEFTUP, right);
  PumpFor(100ms);
  EXPECT_EQ(f.Edt_Sideways->Text(), u"1");
}

TEST_P(SkinnedEdits, ComboButtonShowsEachStateTheListOpensAndAnItemIsChosen) {
  TFrm_GalleryEdits& f = *edits_;
  EXPECT_TRUE(ComboShows(f.Cmb_List, kLookNormal));
  EXPECT_TRUE(ComboShows(f.Cmb_Off, kLookDisabled));
  EXPECT_TRUE(ComboShows(f.Cmb_Edit, kLookNormal));
  EXPECT_TRUE(ComboShows(f.Cmb_Left, kLookNormal, true)) << "the mirrored button on the left";

  HWND h = f.Cmb_List->Handle();
  RECT wr{};
  GetWindowRect(h, &wr);
  const ComboLayout layout = LayOutCombo(wr.right - wr.left, wr.bottom - wr.top, GetSystemMetrics(SM_CXHSCROLL), false);
  POINT button{wr.left + (layout.button.left + layout.button.right) / 2, wr.top + (wr.bottom - wr.top) / 2};
  // Hot with the pointer over it; a move inside paints nothing.
  MoveMouseTo(button);
  EXPECT_TRUE(ComboShows(f.Cmb_List, kLookHot));
  const int paints = ComboSkinner(f.Cmb_List)->Paints();
  MoveMouseTo({button.x, button.y + 1});
  PumpFor(150ms);
  EXPECT_EQ(ComboSkinner(f.Cmb_List)->Paints(), paints);
  // Pressed while held; the list opens.
  SendMouseInput(MOUSEEVENTF_LEFTDOWN, button);
  EXPECT_TRUE(ComboShows(f.Cmb_List, kLookPressed));
  EXPECT_TRUE(WaitUntil([&] { return SendMessageW(h, CB_GETDROPPEDSTATE, 0, 0) != 0; }, 2s));
  SaveScreenshot(Named(L"combo-open"));
  SendMouseInput(MOUSEEVENTF_LEFTUP, button);
  PumpFor(100ms);
  // An item of the list clicked: chosen, the list closed, the box focused (the hot look).
  COMBOBOXINFO info{};
  info.cbSize = sizeof info;
  ASSERT_TRUE(GetComboBoxInfo(h, &info));
  ClickAt(ListBoxRowCentre(info.hwndList, 2));
  EXPECT_TRUE(WaitUntil([&] { return SendMessageW(h, CB_GETDROPPEDSTATE, 0, 0) == 0; }, 2s));
  EXPECT_EQ(f.Cmb_List->ItemIndex(), 2);
  EXPECT_EQ(f.Cmb_List->Text(), u"F3");
  MoveMouseTo(kParkedPointer);
  EXPECT_TRUE(ComboShows(f.Cmb_List, kLookHot)) << "focused";
  // The keyboard chooses too, and the ring stays.
  PressKey(VK_DOWN);
  EXPECT_EQ(f.Cmb_List->ItemIndex(), 3);
  EXPECT_TRUE(ComboShows(f.Cmb_List, kLookHot));
  f.Edt_Plain->SetFocus();
  EXPECT_TRUE(ComboShows(f.Cmb_List, kLookNormal));

  // A paint into a DC of the caller leaves its clipping as it was.
  WindowDc screen(h, true);
  UniqueMemoryDc memory(CreateCompatibleDC(screen.Get()));
  UniqueBitmap bitmap(CreateCompatibleBitmap(screen.Get(), wr.right - wr.left, wr.bottom - wr.top));
  SelectedObject selected(memory.Get(), bitmap.Get());
  UniqueRegion clip(CreateRectRgn(1, 1, 40, 15));
  SelectClipRgn(memory.Get(), clip.Get());
  SendMessageW(h, WM_PAINT, reinterpret_cast<WPARAM>(memory.Get()), 0);
  UniqueRegion after(CreateRectRgn(0, 0, 0, 0));
  ASSERT_EQ(GetClipRgn(memory.Get(), after.Get()), 1);
  EXPECT_TRUE(EqualRgn(after.Get(), clip.Get())) << "the clipping is the caller's again";
}

// The system's combo box may know no left button (Wine's keeps its item at the left and its own
// button on the right): the skin then shows the control's picture of its item right of the left
// button, places an edit there, and takes a press on the left button as one on the control's own.
TEST_P(SkinnedEdits, ALeftButtonComboShowsItsItemRightOfTheButton) {
  TFrm_GalleryEdits& f = *edits_;
  SetSkinActive(false);
  auto* withEdit = new TGalleryLeftCombo(&f);  // owned by the form
  withEdit->SetName(u"Cmb_LeftEdit");
  withEdit->SetParent(&f);
  withEdit->SetBounds(190, 88, 150, 20);
  withEdit->Items()->Add(u"Alpha");
  withEdit->Items()->Add(u"Beta");
  withEdit->SetText(u"Alpha");
  HWND list = f.Cmb_Left->Handle(), combo = withEdit->Handle(), edit = withEdit->EditHandle();
  ASSERT_TRUE(edit);
  auto editRect = [&] {
    RECT r{};
    GetWindowRect(edit, &r);
    MapWindowPoints(nullptr, combo, reinterpret_cast<POINT*>(&r), 2);
    return SkinRect{r.left, r.top, r.right, r.bottom};
  };
  const SkinRect editHome = editRect();
  MoveMouseTo(kParkedPointer);
  PumpFor(300ms);
  const ScreenGrab own = ScreenGrab::OfWindow(list);

  SetSkinActive(true);
  ASSERT_TRUE(WaitUntil([&] { return ComboSkinner(withEdit) != nullptr; }, 5s));
  const ComboLayout layout = LayOutCombo(own.Width(), own.Height(), GetSystemMetrics(SM_CXHSCROLL), true);
  const MirroredCombo mirror = MirrorCombo(layout, ComboItemArea(list), {});
  const int shift = mirror.needed ? mirror.shift : 0;
  EXPECT_TRUE(ComboShows(f.Cmb_Left, kLookNormal, true));
  // The text area holds what the control shows of its item, moved right of the button.
  std::string wrong;
  EXPECT_TRUE(WaitUntil(
      [&] {
        const ScreenGrab g = ScreenGrab::OfWindow(list);
        std::ostringstream out;
        for (int y = layout.text.top; y < layout.text.bottom; ++y) {
          for (int x = layout.text.left; x < layout.text.right; ++x) {
            if (g.Pixel(x, y) != own.Pixel(x - shift, y)) out << "(" << x << "," << y << ") ";
          }
        }
        wrong = out.str();
        return wrong.empty();
      },
      3s))
      << wrong.substr(0, 300);
  // Another item chosen with the keyboard: the button stays over whatever the control paints.
  f.Cmb_Left->SetFocus();
  PressKey(VK_DOWN);
  EXPECT_EQ(f.Cmb_Left->ItemIndex(), 1);
  EXPECT_TRUE(ComboShows(f.Cmb_Left, kLookHot, true));
  SaveScreenshot(Named(L"left-combos"));

  // The edit sits one pixel inside the text area; the left button opens the list.
  if (mirror.needed) {
    EXPECT_TRUE(WaitUntil([&] { return editRect().left == layout.text.left + 1; }, 2s));
    EXPECT_EQ(editRect().right, layout.text.right - 1);
  }
  f.Edt_Plain->SetFocus();
  EXPECT_TRUE(ComboShows(withEdit, kLookNormal, true));
  // Around the edit the margin the control keeps, in the window colour, on both sides.
  const int middle = (layout.text.top + layout.text.bottom) / 2;
  EXPECT_TRUE(WaitUntil(
      [&] {
        const ScreenGrab g = ScreenGrab::OfWindow(combo);
        return g.Pixel(layout.text.left, middle) == GetSysColor(COLOR_WINDOW) &&
               g.Pixel(layout.text.right - 1, middle) == GetSysColor(COLOR_WINDOW);
      },
      2s));
  RECT wr{};
  GetWindowRect(combo, &wr);
  ClickAt({wr.left + (layout.button.left + layout.button.right) / 2, (wr.top + wr.bottom) / 2});
  EXPECT_TRUE(WaitUntil([&] { return SendMessageW(combo, CB_GETDROPPEDSTATE, 0, 0) != 0; }, 2s));
  PressKey(VK_ESCAPE);
  EXPECT_TRUE(WaitUntil([&] { return SendMessageW(combo, CB_GETDROPPEDSTATE, 0, 0) == 0; }, 2s));

  // Without the skin the edit is back where the control had put it.
  SetSkinActive(false);
  EXPECT_EQ(editRect(), editHome);
}

TEST_P(SkinnedEdits, GdiObjectsStayFlatOverRepaintsHoversAndSkinSwitches) {
  TFrm_GalleryEdits& f = *edits_;
  TSkinUpDown* spin = Arrow(f.Spn_Value);
  ASSERT_TRUE(spin);
  const std::vector<HWND> painted{f.Edt_Plain->Handle(), f.Spn_Value->Handle(), spin->Handle(), f.Cmb_List->Handle(),
                                  f.Cmb_Left->Handle(), f.Edt_Sideways->Handle()};
  auto repaintAll = [&] {
    for (HWND h : painted) RedrawWindow(h, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW);
  };
  auto hoverCycle = [&] {
    f.Cmb_List->Perform(CM_MOUSEENTER, 0, reinterpret_cast<LPARAM>(f.Cmb_List));
    f.Cmb_Edit->Perform(CM_MOUSEENTER, 0, reinterpret_cast<LPARAM>(f.Cmb_Edit));
    f.Cmb_Edit->Perform(CM_MOUSELEAVE, 0, reinterpret_cast<LPARAM>(f.Cmb_Edit));
    SendMessageW(spin->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(3, 3));
    SendMessageW(spin->Handle(), WM_MOUSELEAVE, 0, 0);
  };
  EXPECT_EQ(GdiGrowth(repaintAll, hoverCycle,
                      [&] {
                        SetSkinActive(false);
                        SetSkinActive(true);
                      }),
            "");
  EXPECT_EQ(FlatBorderFault(f.Edt_Plain->Handle(), Skin()), "");
  EXPECT_TRUE(ComboShows(f.Cmb_List, kLookNormal));
}

TEST_P(SkinnedEdits, WithoutTheSkinTheControlsLookAsTheirOwnAgainAndNoSkinnerIsLeft) {
  SetSkinActive(false);
  std::unique_ptr<TFrm_GalleryEdits> fresh(NewForm<TFrm_GalleryEdits>(Application));
  TFrm_GalleryEdits& f = *fresh;
  f.Show();
  Activate(f.Handle());
  MoveMouseTo(kParkedPointer);
  PumpFor(300ms);
  const std::vector<HWND> all{f.Edt_Plain->Handle(), f.Edt_Off->Handle(),        f.Spn_Value->Handle(),
                              f.Spn_Off->Handle(),   f.Spn_Value->Button()->Handle(), f.Edt_Sideways->Handle(),
                              f.SidewaysUpDown(),    f.Cmb_List->Handle(),       f.Cmb_Off->Handle(),
                              f.Cmb_Left->Handle()};
  std::map<HWND, std::vector<COLORREF>> own;
  for (HWND h : all) own[h] = ScreenGrab::OfWindow(h).Pixels();
  SaveScreenshot(Named(L"never-skinned"));

  SetSkinActive(true);
  Activate(f.Handle());
  ASSERT_TRUE(WaitUntil([&] { return SkinnerOfControl(f.Cmb_Left) != nullptr; }, 5s));
  ASSERT_TRUE(Arrow(f.Spn_Value));
  EXPECT_EQ(FlatBorderFault(f.Edt_Plain->Handle(), Skin()), "");
  EXPECT_NE(ScreenGrab::OfWindow(f.Cmb_List->Handle()).Pixels(), own[f.Cmb_List->Handle()]);

  SetSkinActive(false);
  EXPECT_EQ(SkinManager->FindFormSkinner(f.Handle()), nullptr);
  for (TComponent* c : f.ComponentList()) {
    for (TComponent* owned : c->ComponentList()) EXPECT_EQ(dynamic_cast<TSkinControl*>(owned), nullptr) << Narrow(c->Name());
  }
  MoveMouseTo(kParkedPointer);
  for (HWND h : all) {
    wchar_t name[64] = {};
    GetClassNameW(h, name, 64);
    EXPECT_TRUE(WaitUntil([&] { return ScreenGrab::OfWindow(h).Pixels() == own[h]; }, 3s)) << Utf8(name);
  }
  SaveScreenshot(Named(L"unskinned"));
}

TEST_P(SkinnedEdits, QltsSpinEditsAddressFieldsAndHotkeyCombo) {
  const TSkinContent& s = Skin();
  std::unique_ptr<TFrm_Main> main(NewFormFromText<TFrm_Main>(Application, QltFormDescription(L"TFRM_MAIN", false)));
  ShowSkinned(main.get(), main->Chk_Auto);
  main->PageControl1->SetActivePage(main->TabSheet2);
  ASSERT_TRUE(WaitUntil([&] { return EditSkinner(main->Edt_AP) && EditSkinner(main->Edt_M); }, 3s));
  for (TSpinEdit* spin : {main->Edt_AP, main->Edt_M}) {
    SCOPED_TRACE(Narrow(spin->Name()));
    EXPECT_EQ(FlatBorderFault(spin->Handle(), s), "");
    TSkinUpDown* arrow = Arrow(spin);
    ASSERT_TRUE(arrow);
    EXPECT_TRUE(UpDownShows(arrow->Handle(), false, kLookNormal, kLookNormal, Named(Wide(spin->Name()))));
  }
  // The alpha steps with a click on the upper half.
  TSkinUpDown* alpha = Arrow(main->Edt_AP);
  ASSERT_TRUE(alpha);
  const int before = main->Edt_AP->Value();
  ClickAt(UpDownHalfCentre(alpha->Handle(), false, true, false));
  PumpFor(100ms);
  EXPECT_EQ(main->Edt_AP->Value(), std::min(before + 1, 255));
  SaveScreenshot(Named(L"qlt-main-page2"));
  main.reset();

  std::unique_ptr<TFrm_IPDNS> addresses(NewFormFromText<TFrm_IPDNS>(Application, QltFormDescription(L"TFRM_IPDNS", false)));
  ShowSkinned(addresses.get(), addresses->Edit6);
  for (TEdit* e : {addresses->Edit1, addresses->Edit2, addresses->Edit3, addresses->Edit4, addresses->Edit5, addresses->Edit6}) {
    EXPECT_TRUE(EditSkinner(e)) << Narrow(e->Name());
    EXPECT_EQ(FlatBorderFault(e->Handle(), s), "") << Narrow(e->Name());
  }
  SaveScreenshot(Named(L"qlt-ipdns"));
  addresses.reset();

  auto* dialog = NewForm<TFrm_HotKey>(Application);
  std::unique_ptr<TFrm_HotKey> owned(dialog);
  dialog->Lab_Hotkey->SetCaption(u"CTRL+ALT+Z");
  ShowSkinned(dialog, dialog->Cmb_Key);
  ASSERT_TRUE(ComboSkinner(dialog->Cmb_Key));
  dialog->Btn_Yes->SetFocus();
  EXPECT_TRUE(ComboShows(dialog->Cmb_Key, kLookNormal));
  HWND h = dialog->Cmb_Key->Handle();
  RECT wr{};
  GetWindowRect(h, &wr);
  const ComboLayout layout = LayOutCombo(wr.right - wr.left, wr.bottom - wr.top, GetSystemMetrics(SM_CXHSCROLL), false);
  POINT button{wr.left + (layout.button.left + layout.button.right) / 2, (wr.top + wr.bottom) / 2};
  MoveMouseTo(button);
  EXPECT_TRUE(ComboShows(dialog->Cmb_Key, kLookHot));
  SendMouseInput(MOUSEEVENTF_LEFTDOWN, button);
  EXPECT_TRUE(ComboShows(dialog->Cmb_Key, kLookPressed));
  SendMouseInput(MOUSEEVENTF_LEFTUP, button);
  ASSERT_TRUE(WaitUntil([&] { return SendMessageW(h, CB_GETDROPPEDSTATE, 0, 0) != 0; }, 2s));
  SaveScreenshot(Named(L"qlt-hotkey-open"));
  COMBOBOXINFO info{};
  info.cbSize = sizeof info;
  ASSERT_TRUE(GetComboBoxInfo(h, &info));
  // The list opens scrolled to the key shown: another row it shows, clicked where it is.
  const int row = ShownListRow(info.hwndList, static_cast<int>(SendMessageW(h, CB_GETCURSEL, 0, 0)));
  wchar_t item[32] = {};
  ASSERT_GT(SendMessageW(h, CB_GETLBTEXT, row, reinterpret_cast<LPARAM>(item)), 0);
  ASSERT_NE(std::wstring(item), L"Z") << "a key other than the one shown";
  ClickAt(ShownListRowCentre(info.hwndList, row));
  EXPECT_TRUE(WaitUntil([&] { return SendMessageW(h, CB_GETDROPPEDSTATE, 0, 0) == 0; }, 2s));
  EXPECT_EQ(Wide(dialog->Cmb_Key->Text()), std::wstring(item));
  dialog->Cmb_Key->SetEnabled(false);
  MoveMouseTo(kParkedPointer);
  EXPECT_TRUE(ComboShows(dialog->Cmb_Key, kLookDisabled));
  SaveScreenshot(Named(L"qlt-hotkey"));
}

INSTANTIATE_TEST_SUITE_P(BothSkins, SkinnedEdits, ::testing::Values(GallerySkin::Slate, GallerySkin::Pine),
                         [](const auto& info) { return SkinCaseName(info.param); });

}  // namespace
}  // namespace qlt
