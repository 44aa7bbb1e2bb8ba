// QLT's own three forms under the skin engine, made from the descriptions QLT.exe carries (the main
// window with its SkinData1, which skins the dialogs as it does in QLT), with both skins: which
// skinner each control gets, the exclusions the application has (a Tag, a Skin3rd row, its own
// OnSkinControl), and screenshots of every window of QLT skinned with each skin and unskinned,
// put side by side on one page per form in the build folder.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <typeinfo>
#include <vector>

#include "app/FrmMain.h"
#include "app/Reminder.h"
#include "app/WinText.h"
#include "resources/skin/generator/PngWriter.h"
#include "skin/controls/ControlDiscovery.h"
#include "skin/controls/SkinButtons.h"
#include "skin/controls/SkinControl.h"
#include "skin/controls/SkinManager.h"
#include "skin/controls/SkinScrollBars.h"
#include "skin/frame/WinSkinForm.h"
#include "tests/win/SkinOnScreen.h"
#include "tests/win/UiTestSupport.h"
#include "tools/FrmHotKey.h"
#include "tools/FrmIPDNS.h"
#include "ui/SysUtils.h"
#include "ui/Utf.h"

namespace qlt {
namespace {

using namespace test;

// A point of the screen above the taskbar that no window of the test covers.
constexpr POINT kPointerAway{1010, 700};

enum class Look { kUnskinned, kSlate, kPine };
const char* NameOf(Look look) {
  return look == Look::kSlate ? "Slate" : look == Look::kPine ? "Pine" : "unskinned";
}
std::u16string SkinFileOf(Look look) {
  return Widen(look == Look::kPine ? std::string(QLT_SECOND_SKIN_FILE)
                                   : std::string(QLT_SKIN_BUILD_DIR) + "/QLTSkin.skin");
}

// The skinners a form skinner holds for one control: bound to its object or to its window.
std::vector<TSkinControl*> SkinnersOf(TComponent* c) {
  std::vector<TSkinControl*> found;
  auto* control = dynamic_cast<TControl*>(c);
  TForm* form = control ? control->GetParentForm() : nullptr;
  TWinSkinForm* skinner = form && form->HandleAllocated() ? SkinManager->FindFormSkinner(form->Handle()) : nullptr;
  if (!skinner) return found;
  auto* windowed = dynamic_cast<TWinControl*>(c);
  for (TSkinControl* s : skinner->ControlSkinners()) {
    if (s->LifeState() == lsDead) continue;
    const bool byWindow = windowed && windowed->HandleAllocated() && s->Handle() == windowed->Handle();
    if (s->Control() == c || s->GraphicControl() == c || byWindow) found.push_back(s);
  }
  return found;
}

// What discovery gives a control of QLT's forms, by its class. `built`: the engine draws that kind
// already, so the skinner must be there; the others may be left plain until their skinner exists,
// and if one is there it is the one the engine makes for that kind.
struct Expected {
  std::vector<SkinnerKind> kinds;  // empty: never skinned
  bool built = false;
};
std::optional<Expected> ExpectedFor(const std::string& cls) {
  using K = SkinnerKind;
  if (cls == "TButton") return Expected{{K::kButton}, true};
  if (cls == "TBitBtn") return Expected{{K::kBitButton}, true};
  if (cls == "TCheckBox") return Expected{{K::kCheckBox}, true};
  if (cls == "TRadioButton") return Expected{{K::kRadioButton}, true};
  if (cls == "TGroupBox") return Expected{{K::kGroupBox}, true};
  if (cls == "TListBox") return Expected{{K::kScrollbar}, true};
  if (cls == "TPageControl") return Expected{{K::kTab}};
  if (cls == "TComboBox") return Expected{{K::kComboBox}};
  if (cls == "TEdit") return Expected{{K::kEdit}};
  if (cls == "TSpinEdit") return Expected{{K::kEdit, K::kUpDown}};
  if (cls == "TLabel" || cls == "TTabSheet" || cls == "TTimer" || cls == "TPopupMenu" || cls == "TMenuItem" ||
      cls == "TSkinData") {
    return Expected{};
  }
  return std::nullopt;  // a class this test does not know: a new control on a form needs a look
}

// The class of the skinner the engine makes for a kind (nullptr when it has none yet).
const std::type_info* SkinnerClassOf(SkinnerKind kind) {
  std::unique_ptr<TSkinControl> probe(CreateSkinner(kind, nullptr));
  return probe ? &typeid(*probe) : nullptr;
}

// What is wrong with the skinners of one component, or empty.
std::string CheckSkinners(TComponent* c) {
  const std::string name = Narrow(c->Name()) + " (" + c->ClassName() + ")";
  const std::optional<Expected> expected = ExpectedFor(c->ClassName());
  if (!expected) return name + ": a class the forms did not have";
  const std::vector<TSkinControl*> skinners = SkinnersOf(c);
  std::set<const std::type_info*> allowed;
  for (SkinnerKind k : expected->kinds) {
    if (const std::type_info* t = SkinnerClassOf(k)) allowed.insert(t);
  }
  if (expected->built && skinners.size() != 1) {
    return name + ": " + std::to_string(skinners.size()) + " skinners instead of one";
  }
  for (TSkinControl* s : skinners) {
    if (!allowed.count(&typeid(*s))) return name + ": skinned as " + s->ClassName();
    if (!s->Attached()) return name + ": its skinner is not attached";
  }
  return {};
}

// Every component of the form (they are all the form's), checked; the faults as text.
std::vector<std::string> CheckForm(TForm* form) {
  std::vector<std::string> faults;
  for (TComponent* c : form->ComponentList()) {
    if (dynamic_cast<TSkinControl*>(c) || dynamic_cast<TWinSkinForm*>(c)) continue;  // the engine's own
    if (std::string fault = CheckSkinners(c); !fault.empty()) faults.push_back(fault);
  }
  return faults;
}

bool AllBuiltKindsSkinned(TForm* form) {
  for (TComponent* c : form->ComponentList()) {
    const std::optional<Expected> e = ExpectedFor(c->ClassName());
    if (e && e->built && SkinnersOf(c).empty()) return false;
  }
  return true;
}

TWinSkinForm* ActiveSkinnerOf(TForm* form) {
  TWinSkinForm* s = form->HandleAllocated() ? SkinManager->FindFormSkinner(form->Handle()) : nullptr;
  return s && s->State() == skActive ? s : nullptr;
}

// QLT's main window as the program makes it (its skin component with the default skin), without
// its handlers, in a skin engine of the test; `look` chosen before anything is shown.
class QltForms {
 public:
  explicit QltForms(Look look) {
    main_.reset(NewFormFromText<TFrm_Main>(Application, QltFormDescription(L"TFRM_MAIN", true)));
    EXPECT_FALSE(main_->SkinData1->NoSkin);
    if (look == Look::kPine) main_->SkinData1->SetSkinFile(SkinFileOf(look));
    if (look == Look::kUnskinned) main_->SkinData1->SetActive(false);
    if (SkinManager->PendingSkinData()) SkinManager->RunPendingAction();
    skinned_ = look != Look::kUnskinned;
  }
  ~QltForms() {
    main_.reset();
    PumpFor(50ms);
  }
  TFrm_Main* Main() const { return main_.get(); }
  TSkinData& Skin() const { return *main_->SkinData1; }

  // Shows a form in front and waits until the skin (if on) has it and every control of a kind
  // the engine draws (or only `probe`, for a form with controls left plain on purpose).
  ::testing::AssertionResult Show(TForm* form, TComponent* probe = nullptr) const {
    form->Show();
    SetForegroundWindow(form->Handle());
    auto controlsSkinned = [&] { return probe ? !SkinnersOf(probe).empty() : AllBuiltKindsSkinned(form); };
    const bool ok = WaitUntil([&] { return !skinned_ || (ActiveSkinnerOf(form) && controlsSkinned()); }, 5s);
    MoveMouseTo(kPointerAway);
    PumpFor(150ms);
    if (ok) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << Narrow(form->Name()) << " was not skinned";
  }

 private:
  std::unique_ptr<TFrm_Main> main_;
  bool skinned_ = true;
};

TFrm_IPDNS* NewIpDnsDialog() {
  return NewFormFromText<TFrm_IPDNS>(Application, QltFormDescription(L"TFRM_IPDNS", false));
}

class QltFormsSkin : public ::testing::TestWithParam<Look> {
 protected:
  void SetUp() override {
    engine_ = std::make_unique<TSkinEngine>();
    forms_ = std::make_unique<QltForms>(GetParam());
  }
  void TearDown() override {
    forms_.reset();
    engine_.reset();
  }
  std::unique_ptr<TSkinEngine> engine_;
  std::unique_ptr<QltForms> forms_;
};

TEST_P(QltFormsSkin, EveryControlGetsTheSkinnerItsClassIsDiscoveredWith) {
  TFrm_Main* main = forms_->Main();
  ASSERT_TRUE(forms_->Show(main));
  // The second page's controls get their windows when it is first shown, and their skinners then.
  main->PageControl1->SetActivePage(main->TabSheet2);
  EXPECT_TRUE(WaitUntil([&] { return AllBuiltKindsSkinned(main); }, 5s));
  EXPECT_EQ(CheckForm(main), std::vector<std::string>{});
  EXPECT_EQ(SkinnersOf(main->Btn_Hide).size(), 1u);
  EXPECT_NE(dynamic_cast<TSkinScrollbar*>(SkinnersOf(main->Lst_ALLP).at(0)), nullptr);
  main->PageControl1->SetActivePage(main->TabSheet1);

  std::unique_ptr<TFrm_HotKey> hotkey(NewForm<TFrm_HotKey>(Application));
  ASSERT_TRUE(forms_->Show(hotkey.get()));
  EXPECT_EQ(CheckForm(hotkey.get()), std::vector<std::string>{});
  EXPECT_NE(dynamic_cast<TSkinBitButton*>(SkinnersOf(hotkey->Btn_Yes).at(0)), nullptr);
  hotkey.reset();

  std::unique_ptr<TFrm_IPDNS> addresses(NewIpDnsDialog());
  ASSERT_TRUE(forms_->Show(addresses.get()));
  EXPECT_EQ(CheckForm(addresses.get()), std::vector<std::string>{});
  // A push button is a push button's skinner, not a bit button's (which derives from it).
  EXPECT_TRUE(typeid(*SkinnersOf(addresses->Button1).at(0)) == typeid(TSkinButton));
}

// The ways an application keeps a control of its forms plain or skins it its own way.
TEST_P(QltFormsSkin, TagsSkin3rdRowsAndTheApplicationsOwnSkinnersOnQltsDialogs) {
  TSkinData& sd = forms_->Skin();
  ASSERT_TRUE(forms_->Show(forms_->Main()));

  // Tag mod 100 equal to DisableTag: 199 is excluded; -99 is not (the remainder keeps the sign).
  // A Skin3rd row "nil" leaves a class plain; a row of a longer class name that starts with the
  // same letters, or of a shorter one, names another class.
  TStringList* rows = sd.Skin3rd();
  rows->Insert(0, u"TCheckBox=nil");
  rows->Insert(0, u"TBitBtnX=nil");
  rows->Insert(0, u"TBit=nil");
  {
    std::unique_ptr<TFrm_HotKey> hotkey(NewForm<TFrm_HotKey>(Application));
    hotkey->Btn_No->SetTag(100 + sd.DisableTag());
    hotkey->Btn_Yes->SetTag(-sd.DisableTag());
    ASSERT_TRUE(forms_->Show(hotkey.get(), hotkey->Btn_Yes));
    EXPECT_TRUE(SkinnersOf(hotkey->Btn_No).empty()) << "Tag 199";
    EXPECT_EQ(SkinnersOf(hotkey->Btn_Yes).size(), 1u) << "Tag -99, and the rows of other class names";
    for (TCheckBox* box : {hotkey->Chk_Win, hotkey->Chk_CTRL, hotkey->Chk_Alt, hotkey->Chk_Shift}) {
      EXPECT_TRUE(SkinnersOf(box).empty()) << Narrow(box->Name());
    }
    EXPECT_EQ(SkinnersOf(hotkey->GroupBox1).size(), 1u) << "only the named class is left plain";
    EXPECT_EQ(CheckSkinners(hotkey->Cmb_Key), "");
  }
  for (int i = 0; i < 3; ++i) rows->Delete(0);

  // OnSkinControl: a skinner of the application's own replaces the table's; handing back one that
  // is already in use ends the decision with the control left plain; nothing, or an object that
  // is no skinner, leaves the decision to the table.
  class TApplicationButtonSkin : public TSkinButton {
   public:
    using TSkinButton::TSkinButton;
  };
  TSkinControl* own = nullptr;
  std::vector<std::u16string> asked;
  sd.OnSkinControl = [&](TComponent* sender, TSkinData* skin, TComponent*, TComponent* control,
                         const std::u16string& cls, TComponent*& chosen) {
    EXPECT_EQ(skin, &sd);
    EXPECT_NE(dynamic_cast<TWinSkinForm*>(sender), nullptr);
    asked.push_back(control->Name() + u":" + cls);
    // Button2 comes first in the dialog's description, Button1 after it.
    if (control->Name() == u"Button2") chosen = own = new TApplicationButtonSkin(control);
    if (control->Name() == u"Button1") chosen = own;
    if (control->Name() == u"GroupBox1") chosen = control;
  };
  std::unique_ptr<TFrm_IPDNS> addresses(NewIpDnsDialog());
  ASSERT_TRUE(forms_->Show(addresses.get(), addresses->GroupBox2));
  ASSERT_NE(own, nullptr);
  ASSERT_EQ(SkinnersOf(addresses->Button2).size(), 1u);
  EXPECT_EQ(SkinnersOf(addresses->Button2)[0], own);
  EXPECT_TRUE(own->Attached());
  EXPECT_TRUE(SkinnersOf(addresses->Button1).empty()) << "a skinner already in use is not attached twice";
  EXPECT_EQ(SkinnersOf(addresses->GroupBox1).size(), 1u) << "a component that is no skinner: the table decides";
  EXPECT_EQ(SkinnersOf(addresses->GroupBox2).size(), 1u);
  EXPECT_NE(std::find(asked.begin(), asked.end(), u"Button2:TBUTTON"), asked.end()) << "class names in upper case";
  sd.OnSkinControl = nullptr;
}

INSTANTIATE_TEST_SUITE_P(BothSkins, QltFormsSkin, ::testing::Values(Look::kSlate, Look::kPine),
                         [](const auto& info) { return std::string(NameOf(info.param)); });

// ---- Screenshots and the side-by-side pages ----

std::wstring ShotFolder() { return TestProgramDirectory() + L"screenshots\\qlt-forms"; }

// A grab of the window once it stays the same for a moment (what Wine put on the screen last).
ScreenGrab SettledGrab(HWND window) {
  std::optional<ScreenGrab> last;
  for (int i = 0; i < 30; ++i) {
    PumpFor(100ms);
    ScreenGrab now = ScreenGrab::OfWindow(window);
    if (last && !now.Empty() && now.Pixels() == last->Pixels()) return now;
    last.emplace(std::move(now));
  }
  return std::move(*last);
}

// Runs `modal` (a message box) while a timer of this thread, inside its loop, grabs the box once
// it shows (skinned, when the skin is on) and answers it. `skinners`: the classes of the skinners
// its child windows got (it has no form object: they are found by their window class).
std::optional<ScreenGrab> GrabMessageBox(const std::function<void()>& modal, const wchar_t* caption, bool skinned,
                                         std::vector<std::string>& skinners) {
  std::optional<ScreenGrab> grab;
  TTimer timer(nullptr);
  timer.SetInterval(100);
  bool busy = false;
  HWND box = nullptr;
  const DWORD start = GetTickCount();
  timer.OnTimer = [&](TObject*) {
    if (busy) return;
    busy = true;
    box = FindWindowW(L"#32770", caption);
    const TWinSkinForm* s = box ? SkinManager->FindFormSkinner(box) : nullptr;
    if (box && (!skinned || (s && s->State() == skActive))) {
      MoveMouseTo(kPointerAway);
      grab.emplace(SettledGrab(box));
      for (HWND c = GetTopWindow(box); s && c; c = GetWindow(c, GW_HWNDNEXT)) {
        const TSkinControl* skinner = s->FindControlSkinner(c);
        skinners.push_back(WideToCodePage(ClassNameOf(c), CP_UTF8) + ":" + (skinner ? skinner->ClassName() : "none"));
      }
      PostMessageW(box, WM_COMMAND, IDOK, 0);
    } else if (GetTickCount() - start > 8000 && box) {
      PostMessageW(box, WM_COMMAND, IDOK, 0);  // never skinned: let the test go on and fail
    }
    busy = false;
  };
  modal();
  timer.SetEnabled(false);
  return grab;
}

// Each window of QLT (the main window's two pages, the hotkey dialog, the IP/DNS dialog, the
// reminder's message box) with Slate, with Pine and unskinned; each grab saved, and one page per
// form with the three side by side.
TEST(QltFormsOnScreen, EveryWindowWithEachSkinAndUnskinnedSideBySide) {
  const std::vector<std::string> shots = {"main-page1", "main-page2", "hotkey", "ipdns", "message"};
  std::map<std::string, std::map<Look, Bitmap24>> grabs;
  CreateFolders(ShotFolder());
  for (Look look : {Look::kSlate, Look::kPine, Look::kUnskinned}) {
    SCOPED_TRACE(NameOf(look));
    TSkinEngine engine;
    QltForms forms(look);
    const bool skinned = look != Look::kUnskinned;
    auto keep = [&](const std::string& what, const ScreenGrab& grab) {
      EXPECT_FALSE(grab.Empty()) << what;
      grab.SavePng(ShotFolder() + L"\\" + Utf8ToWide(what) + L"-" + Utf8ToWide(NameOf(look)) + L".png");
      grabs[what][look] = grab.Image();
    };
    TFrm_Main* main = forms.Main();
    main->SetBounds(120, 60, main->Width(), main->Height());
    // The lists as QLT fills them when it shows the window: the running programs, and a choice
    // long enough for a scroll bar.
    main->RefreshProcessList();
    for (int i = 1; i <= 24; ++i) main->Lst_SelectP->Items()->Add(u"program" + Widen(std::to_string(i)) + u".exe");
    ASSERT_TRUE(forms.Show(main));
    keep("main-page1", SettledGrab(main->Handle()));
    main->PageControl1->SetActivePage(main->TabSheet2);
    EXPECT_TRUE(WaitUntil([&] { return !skinned || AllBuiltKindsSkinned(main); }, 5s));
    keep("main-page2", SettledGrab(main->Handle()));
    main->PageControl1->SetActivePage(main->TabSheet1);
    {
      std::unique_ptr<TFrm_HotKey> hotkey(NewForm<TFrm_HotKey>(Application));
      hotkey->Lab_Hotkey->SetCaption(u"CTRL+ALT+Z");
      ASSERT_TRUE(forms.Show(hotkey.get()));
      keep("hotkey", SettledGrab(hotkey->Handle()));
    }
    {
      std::unique_ptr<TFrm_IPDNS> addresses(NewIpDnsDialog());
      ASSERT_TRUE(forms.Show(addresses.get()));
      keep("ipdns", SettledGrab(addresses->Handle()));
    }
    // QLT's message boxes carry its application title.
    const std::u16string title = Application->Title();
    Application->SetTitle(u"QLTZarnit");
    std::vector<std::string> boxSkinners;
    const std::optional<ScreenGrab> box = GrabMessageBox([] { Application->ShowMessage(kReminderMessage); },
                                                         L"QLTZarnit", skinned, boxSkinners);
    Application->SetTitle(title);
    ASSERT_TRUE(box.has_value()) << "the reminder's message box";
    if (skinned) {
      // Its OK button is a bare "Button" window: a push button's skinner; its text and icon (the
      // "Static" windows) keep their own look.
      EXPECT_EQ(std::count(boxSkinners.begin(), boxSkinners.end(), "Button:TSkinButton"), 1);
      for (const std::string& child : boxSkinners) {
        EXPECT_TRUE(child == "Button:TSkinButton" || child == "Static:none") << child;
      }
    }
    keep("message", *box);
    main->Hide();
  }

  // A skinned window differs from its unskinned self, and each skin from the other.
  for (const std::string& what : shots) {
    SCOPED_TRACE(what);
    auto& g = grabs[what];
    ASSERT_EQ(g.size(), 3u);
    EXPECT_NE(g[Look::kSlate], g[Look::kUnskinned]);
    EXPECT_NE(g[Look::kPine], g[Look::kUnskinned]);
    EXPECT_NE(g[Look::kSlate], g[Look::kPine]);
  }
  // One page per form: its rows of Slate, Pine and unskinned.
  const Bgr paper = RgbPixel(255, 255, 255);
  auto row = [&](const std::string& what) {
    auto& g = grabs[what];
    return std::vector<const Bitmap24*>{&g[Look::kSlate], &g[Look::kPine], &g[Look::kUnskinned]};
  };
  const std::vector<std::pair<std::string, std::vector<std::string>>> pages = {
      {"main", {"main-page1", "main-page2"}}, {"hotkey", {"hotkey"}}, {"ipdns", {"ipdns"}}, {"message", {"message"}}};
  for (const auto& [name, rowsOfPage] : pages) {
    std::vector<std::vector<const Bitmap24*>> rows;
    for (const std::string& what : rowsOfPage) rows.push_back(row(what));
    const Bitmap24 page = SideBySidePage(rows, 12, paper);
    const Bitmap24& first = grabs[rowsOfPage[0]][Look::kSlate];
    EXPECT_EQ(page.At(12, 12), first.At(0, 0)) << "the first grab sits at the page's corner";
    const Bytes png = art::EncodePng(page);
    EXPECT_TRUE(WriteFileBytes(ShotFolder() + L"\\page-" + Utf8ToWide(name) + L".png",
                               std::string(png.begin(), png.end())));
  }
}

}  // namespace
}  // namespace qlt
