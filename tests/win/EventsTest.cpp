// Events of the controls: programmatic changes fire exactly when a value really changes, real user
// input (mouse and keyboard) fires the same events, a replaced WindowProc sees every message and
// can swallow one, and the mouse entering and leaving a control is reported.
#include <gtest/gtest.h>

#include "tests/win/UiTestSupport.h"
#include "ui/Buttons.h"
#include "ui/ComCtrls.h"
#include "ui/Forms.h"
#include "ui/StdCtrls.h"

namespace qlt {
namespace {

using namespace test;

class TFrm_Events : public TForm {
  QLT_CLASS(TFrm_Events)
 public:
  explicit TFrm_Events(TComponent* owner) : TForm(owner) {}
  TButton* Btn_Go = nullptr;
  TButton* Btn_Cancel = nullptr;
  TCheckBox* Chk_One = nullptr;
  TRadioButton* Rad_A = nullptr;
  TRadioButton* Rad_B = nullptr;
  TEdit* Edt_Name = nullptr;
  TSpinEdit* Edt_AP = nullptr;
  TSpinEdit* Edt_M = nullptr;
  TListBox* Lst = nullptr;
  TComboBox* Cmb = nullptr;
  TLabel* Lab_Link = nullptr;
  TPageControl* Pages = nullptr;
  TTabSheet* Page1 = nullptr;
  TTabSheet* Page2 = nullptr;
  std::vector<std::string> log;
  void Note(TObject* sender, const char* what) {
    log.push_back(std::string(what) + ":" + Narrow(static_cast<TComponent*>(sender)->Name()));
  }
  void Clicked(TObject* s) { Note(s, "click"); }
  void Changed(TObject* s) { Note(s, "change"); }
  void DoubleClicked(TObject* s) { Note(s, "dblclick"); }
  void KeyFilter(TObject*, char16_t& key) {
    if (key == u'x') key = 0;
  }
};

const TClassInfo& TFrm_Events::StaticClass() {
  static const TClassInfo info = ClassBuilder<TFrm_Events, TForm>("TFrm_Events")
                                     .Field("Btn_Go", &TFrm_Events::Btn_Go)
                                     .Field("Btn_Cancel", &TFrm_Events::Btn_Cancel)
                                     .Field("Chk_One", &TFrm_Events::Chk_One)
                                     .Field("Rad_A", &TFrm_Events::Rad_A)
                                     .Field("Rad_B", &TFrm_Events::Rad_B)
                                     .Field("Edt_Name", &TFrm_Events::Edt_Name)
                                     .Field("Edt_AP", &TFrm_Events::Edt_AP)
                                     .Field("Edt_M", &TFrm_Events::Edt_M)
                                     .Field("Lst", &TFrm_Events::Lst)
                                     .Field("Cmb", &TFrm_Events::Cmb)
                                     .Field("Lab_Link", &TFrm_Events::Lab_Link)
                                     .Field("Pages", &TFrm_Events::Pages)
                                     .Field("Page1", &TFrm_Events::Page1)
                                     .Field("Page2", &TFrm_Events::Page2)
                                     .Handler("Clicked", &TFrm_Events::Clicked)
                                     .Handler("Changed", &TFrm_Events::Changed)
                                     .Handler("DoubleClicked", &TFrm_Events::DoubleClicked)
                                     .Handler("KeyFilter", &TFrm_Events::KeyFilter)
                                     .Build();
  return info;
}

class Events : public ::testing::Test {
 protected:
  void SetUp() override {
    form = NewForm<TFrm_Events>(Application);
    EXPECT_TRUE(form->log.empty()) << "reading a form fires no handler";
  }
  void TearDown() override { delete form; }
  void ShowAndSettle() {
    form->Show();
    SetForegroundWindow(form->Handle());
    // Input goes to the active window of the desktop: wait until the form is that, and until the
    // pointer has been over it once.
    EXPECT_TRUE(PumpUntil([&] { return GetForegroundWindow() == form->Handle(); }, 3s));
    MoveMouseTo(CentreOf(form->Handle()));
    PumpFor(150ms);
  }
  TFrm_Events* form = nullptr;
};

TEST_F(Events, SettingValuesFromCodeFiresHandlersExactlyWhenTheValueChanges) {
  using V = std::vector<std::string>;
  // Without windows (a form is read before it is shown).
  form->Chk_One->SetChecked(true);
  form->Rad_A->SetChecked(true);
  form->Edt_Name->SetText(u"start");
  form->Edt_AP->SetValue(200);
  EXPECT_EQ(form->log, V{}) << "values equal to the current ones fire nothing";
  form->Chk_One->SetChecked(false);
  form->Rad_B->SetChecked(true);
  form->Edt_Name->SetText(u"other");
  EXPECT_EQ(form->log, (V{"click:Chk_One", "click:Rad_B", "change:Edt_Name"}));
  EXPECT_FALSE(form->Rad_A->Checked()) << "checking one radio button unchecks its siblings";
  form->log.clear();

  // With windows.
  form->HandleNeeded();
  form->Chk_One->SetChecked(false);
  form->Edt_Name->SetText(u"other");
  EXPECT_EQ(form->log, V{});
  form->Chk_One->SetChecked(true);
  EXPECT_EQ(SendMessageW(form->Chk_One->Handle(), BM_GETCHECK, 0, 0), BST_CHECKED);
  form->Rad_A->SetChecked(true);
  EXPECT_EQ(SendMessageW(form->Rad_B->Handle(), BM_GETCHECK, 0, 0), BST_UNCHECKED);
  form->Edt_Name->SetText(u"third");
  EXPECT_EQ(form->log, (V{"click:Chk_One", "click:Rad_A", "change:Edt_Name"}));
  form->log.clear();

  // A spin edit limits what is set (1 to 255 here; 0 and 0 mean no limit).
  form->Edt_AP->SetValue(0);
  EXPECT_EQ(form->Edt_AP->Value(), 1);
  form->Edt_AP->SetValue(-5);  // limited to 1 again: no change
  form->Edt_AP->SetValue(300);
  EXPECT_EQ(form->Edt_AP->Value(), 255);
  form->Edt_M->SetValue(75);
  form->Edt_M->SetValue(-1000000);
  EXPECT_EQ(form->Edt_M->Value(), -1000000);
  EXPECT_EQ(form->log, (V{"change:Edt_AP", "change:Edt_AP", "change:Edt_M", "change:Edt_M"}));
  form->Edt_AP->SetText(u"abc");
  EXPECT_EQ(form->Edt_AP->Value(), 1) << "a text that is no number reads as the minimum";
  form->log.clear();

  form->Pages->SetActivePage(form->Page2);
  form->Pages->SetActivePage(form->Page2);
  EXPECT_EQ(SendMessageW(form->Pages->Handle(), TCM_GETCURSEL, 0, 0), 1);
  form->Cmb->SetText(u"B");
  form->Cmb->SetText(u"B");
  EXPECT_EQ(form->log, (V{"change:Pages", "change:Cmb"}));
}

TEST_F(Events, ClicksAndKeysOfARealUserFireTheSameEvents) {
  using V = std::vector<std::string>;
  ShowAndSettle();
  ASSERT_TRUE(IsWindowVisible(form->Handle()));

  ClickAt(CentreOf(form->Btn_Go->Handle()));
  ClickAt(CentreOf(form->Chk_One->Handle()));
  EXPECT_FALSE(form->Chk_One->Checked());
  ClickAt(CentreOf(form->Rad_B->Handle()));
  ClickAt(CentreOf(form->Rad_B->Handle()));  // already checked: nothing
  EXPECT_TRUE(form->Rad_B->Checked());
  EXPECT_FALSE(form->Rad_A->Checked());
  ClickAt(form->Lab_Link->ClientToScreen(POINT{5, 5}));
  EXPECT_EQ(form->log, (V{"click:Btn_Go", "click:Chk_One", "click:Rad_B", "click:Lab_Link"}));
  form->log.clear();

  // A double click on a list item selects it and reports both.
  DoubleClickAt(ListBoxRowCentre(form->Lst->Handle(), 1));
  EXPECT_EQ(form->Lst->ItemIndex(), 1);
  EXPECT_EQ(form->log, (V{"click:Lst", "dblclick:Lst"}));
  form->log.clear();

  // Typing into an edit: every change is reported; OnKeyPress can throw a character away.
  ClickAt(CentreOf(form->Edt_Name->Handle()));
  ASSERT_TRUE(form->Edt_Name->Focused());
  SendMessageW(form->Edt_Name->Handle(), EM_SETSEL, 0, -1);
  TypeText(L"axb");
  EXPECT_EQ(form->Edt_Name->Text(), u"ab");
  EXPECT_EQ(form->log, (V{"change:Edt_Name", "change:Edt_Name"}));
  form->log.clear();

  // A spin edit takes a value outside its range as typed and limits it when the focus leaves.
  ClickAt(CentreOf(form->Edt_AP->Handle()));
  SendMessageW(form->Edt_AP->Handle(), EM_SETSEL, 0, -1);
  TypeText(L"999");
  EXPECT_EQ(form->Edt_AP->Text(), u"999");
  form->log.clear();
  PressKey(VK_TAB);
  EXPECT_TRUE(form->Edt_M->Focused()) << "Tab goes on in tab order";
  EXPECT_EQ(form->Edt_AP->Value(), 255);
  EXPECT_EQ(form->log, V{"change:Edt_AP"});
  form->log.clear();

  // Enter presses the default button, Esc the cancel button, Alt+G the button captioned "&Go".
  PressKey(VK_RETURN);
  PressKey(VK_ESCAPE);
  PressKey('G', true);
  EXPECT_EQ(form->log, (V{"click:Btn_Go", "click:Btn_Cancel", "click:Btn_Go"}));
  form->log.clear();

  // Choosing another page of the page control.
  ClickAt(TabCentre(form->Pages->Handle(), 1));
  EXPECT_EQ(form->Pages->ActivePage(), form->Page2);
  EXPECT_EQ(form->log, V{"change:Pages"});
}

TEST_F(Events, ACheckBoxShowsItsGrayedStateAndClicksPassThroughItOnlyWhenAllowed) {
  using V = std::vector<std::string>;
  ShowAndSettle();
  TCheckBox* box = form->Chk_One;
  HWND h = box->Handle();
  const auto shown = [h] { return SendMessageW(h, BM_GETCHECK, 0, 0); };
  ASSERT_FALSE(box->AllowGrayed());

  // Set from code, the grayed state shows in the window even without AllowGrayed.
  box->SetState(cbGrayed);
  EXPECT_EQ(shown(), BST_INDETERMINATE);
  EXPECT_FALSE(box->Checked());
  EXPECT_EQ(form->log, V{"click:Chk_One"});
  // A click leaves it checked; further clicks never pass through grayed.
  ClickAt(CentreOf(h));
  EXPECT_EQ(box->State(), cbChecked);
  EXPECT_EQ(shown(), BST_CHECKED);
  ClickAt(CentreOf(h));
  ClickAt(CentreOf(h));
  EXPECT_EQ(box->State(), cbChecked);

  // Allowed after the window was made: unchecked, grayed, checked, by mouse and by the space bar.
  box->SetAllowGrayed(true);
  ClickAt(CentreOf(h));
  EXPECT_EQ(box->State(), cbUnchecked);
  EXPECT_EQ(shown(), BST_UNCHECKED);
  ClickAt(CentreOf(h));
  EXPECT_EQ(box->State(), cbGrayed);
  EXPECT_EQ(shown(), BST_INDETERMINATE);
  ASSERT_TRUE(box->Focused());
  PressKey(VK_SPACE);
  EXPECT_EQ(box->State(), cbChecked);
  EXPECT_EQ(shown(), BST_CHECKED);
  EXPECT_EQ(form->log.size(), 7u) << "every change fired OnClick once";
}

TEST_F(Events, AReplacedWindowProcSeesEveryMessageCanSwallowOneAndIsPutBack) {
  ShowAndSettle();
  TButton* button = form->Btn_Go;
  std::vector<UINT> seen;
  bool swallowSetText = true;
  TWndMethod saved = button->WindowProc;
  button->WindowProc = [&](TMessage& m) {
    seen.push_back(m.Msg);
    if (m.Msg == WM_SETTEXT && swallowSetText) {
      m.Result = TRUE;
      return;
    }
    saved(m);
  };
  const auto saw = [&](UINT msg) { return std::find(seen.begin(), seen.end(), msg) != seen.end(); };

  SetWindowTextW(button->Handle(), L"changed");
  EXPECT_TRUE(saw(WM_SETTEXT));
  EXPECT_EQ(button->Caption(), u"&Go") << "the swallowed message never reached the button";
  swallowSetText = false;
  button->SetCaption(u"&Go!");
  EXPECT_EQ(button->Caption(), u"&Go!");

  button->Repaint();
  EXPECT_TRUE(saw(WM_PAINT));
  MoveMouseTo(CentreOf(button->Handle()));
  EXPECT_TRUE(saw(WM_MOUSEMOVE));
  EXPECT_TRUE(saw(CM_MOUSEENTER));
  button->SetEnabled(false);
  EXPECT_TRUE(saw(CM_ENABLEDCHANGED));
  button->SetEnabled(true);
  ClickAt(CentreOf(button->Handle()));
  EXPECT_TRUE(saw(WM_LBUTTONDOWN));
  EXPECT_TRUE(saw(CN_COMMAND)) << "the notification is reflected to the control";
  EXPECT_EQ(form->log, std::vector<std::string>{"click:Btn_Go"});

  // Put back: the hook sees nothing more.
  button->WindowProc = saved;
  seen.clear();
  SetWindowTextW(button->Handle(), L"again");
  EXPECT_TRUE(seen.empty());
  EXPECT_EQ(button->Caption(), u"again");

  // Swallowing a click: the button never hears of the press.
  saved = button->WindowProc;
  button->WindowProc = [&](TMessage& m) {
    // A press soon after the last one on the same spot comes as a double click.
    if (m.Msg == WM_LBUTTONDOWN || m.Msg == WM_LBUTTONDBLCLK || m.Msg == WM_LBUTTONUP) return;
    saved(m);
  };
  form->log.clear();
  ClickAt(CentreOf(button->Handle()));
  EXPECT_TRUE(form->log.empty());
  button->WindowProc = saved;

  // A windowless control gets its paint and mouse messages through WindowProc as well.
  TLabel* label = form->Lab_Link;
  std::vector<UINT> labelSeen;
  TWndMethod labelSaved = label->WindowProc;
  label->WindowProc = [&](TMessage& m) {
    labelSeen.push_back(m.Msg);
    if (m.Msg == WM_PAINT) {
      EXPECT_NE(m.WParam, 0u) << "the parent's DC";
    }
    labelSaved(m);
  };
  label->Repaint();
  ClickAt(label->ClientToScreen(POINT{4, 4}));
  label->WindowProc = labelSaved;
  for (UINT msg : {static_cast<UINT>(WM_PAINT), static_cast<UINT>(WM_LBUTTONDOWN), static_cast<UINT>(WM_LBUTTONUP),
                   CM_MOUSEENTER}) {
    EXPECT_NE(std::find(labelSeen.begin(), labelSeen.end(), msg), labelSeen.end()) << std::hex << msg;
  }
}

TEST_F(Events, TheMouseEnteringAndLeavingAControlIsReported) {
  ShowAndSettle();
  std::vector<std::string> events;
  std::vector<std::pair<TControl*, TWndMethod>> saved;
  for (TControl* c : std::initializer_list<TControl*>{form->Btn_Go, form->Btn_Cancel, form->Lab_Link}) {
    saved.emplace_back(c, c->WindowProc);
    TWndMethod previous = c->WindowProc;
    c->WindowProc = [&events, previous, c](TMessage& m) {
      if (m.Msg == CM_MOUSEENTER) events.push_back("enter:" + Narrow(c->Name()));
      if (m.Msg == CM_MOUSELEAVE) events.push_back("leave:" + Narrow(c->Name()));
      previous(m);
    };
  }
  MoveMouseTo(BesideOf(form->Handle()));
  PumpFor(300ms);
  events.clear();
  // The display server can report a pointer position late, so the pointer may pass between two
  // controls more than once on its way; what must hold is that every enter is matched by a leave
  // of the same control before the next enter, and that the last event names where it rests.
  std::vector<std::string> all;
  const auto expectLast = [&](const std::string& last) {
    EXPECT_TRUE(PumpUntil([&] { return !events.empty() && events.back() == last; }, 5s))
        << last << " after " << ::testing::PrintToString(events);
    PumpFor(100ms);
    EXPECT_FALSE(events.empty());
    if (!events.empty()) {
      EXPECT_EQ(events.back(), last);
    }
    all.insert(all.end(), events.begin(), events.end());
    events.clear();
  };
  MoveMouseTo(CentreOf(form->Btn_Go->Handle()));
  expectLast("enter:Btn_Go");
  MoveMouseTo(CentreOf(form->Btn_Cancel->Handle()));
  expectLast("enter:Btn_Cancel");
  MoveMouseTo(form->Lab_Link->ClientToScreen(POINT{5, 5}));
  expectLast("enter:Lab_Link");
  MoveMouseTo(BesideOf(form->Handle()));
  expectLast("leave:Lab_Link");
  ASSERT_FALSE(all.empty());
  std::string inside;
  for (const std::string& e : all) {
    if (e.rfind("enter:", 0) == 0) {
      EXPECT_EQ(inside, "") << "entered " << e << " while inside " << inside;
      inside = e.substr(6);
    } else {
      EXPECT_EQ(e.substr(6), inside) << "left a control it was not in";
      inside.clear();
    }
  }
  EXPECT_EQ(inside, "");
  for (auto& [c, proc] : saved) c->WindowProc = proc;
}

}  // namespace
}  // namespace qlt

namespace qlt {
namespace {

// Rests the mouse on a point until the hint shows. A retry first leaves for a point beside the
// form, so the control is entered afresh and its hint timer starts again.
bool RestMouseUntil(HWND form, POINT where, const std::function<bool()>& shown) {
  for (int attempt = 0; attempt < 3; ++attempt) {
    if (attempt > 0) MoveMouseTo(BesideOf(form));
    MoveMouseTo(where);
    if (PumpUntil(shown, 3s)) return true;
  }
  return false;
}

TEST_F(Events, HintsShowWhileTheMouseRestsOnAControlThatShowsThem) {
  form->Btn_Go->SetHint(u"双击选择的名称可以增加");
  form->Btn_Go->SetShowHint(true);
  form->Btn_Cancel->SetHint(u"no hint: ShowHint is off");
  form->Lab_Link->SetHint(u"用鼠标点击可以热键设置");
  EXPECT_FALSE(form->Lab_Link->ShowHint());
  form->SetShowHint(true);  // the label follows its parent
  EXPECT_TRUE(form->Lab_Link->ShowHint());
  form->Btn_Cancel->SetShowHint(false);
  // A slow machine may take longer to check a hint than the usual time it stays up.
  const int32_t hidePause = Application->HintHidePause;
  Application->HintHidePause = 60000;
  ShowAndSettle();

  EXPECT_TRUE(RestMouseUntil(form->Handle(), CentreOf(form->Btn_Go->Handle()),
                            [] { return Application->ShownHint() == u"双击选择的名称可以增加"; }));
  EXPECT_EQ(ClassNameOf(Application->HintWindow()), L"THintWindow");
  EXPECT_TRUE(IsWindowVisible(Application->HintWindow()));

  MoveMouseTo(CentreOf(form->Btn_Cancel->Handle()));
  EXPECT_TRUE(PumpUntil([] { return Application->ShownHint().empty(); }, 3s));
  PumpFor(800ms);
  EXPECT_EQ(Application->ShownHint(), u"") << "a control with ShowHint off shows none";

  EXPECT_TRUE(RestMouseUntil(form->Handle(), form->Lab_Link->ClientToScreen(POINT{5, 5}),
                            [] { return Application->ShownHint() == u"用鼠标点击可以热键设置"; }));
  MoveMouseTo(BesideOf(form->Handle()));
  EXPECT_TRUE(PumpUntil([] { return Application->ShownHint().empty(); }, 5s));
  Application->HintHidePause = hidePause;
}

}  // namespace
}  // namespace qlt

namespace qlt {
namespace {

TEST_F(Events, ADoubleBufferedControlPaintsThroughItsWindowProcIntoABitmap) {
  ShowAndSettle();
  for (TWinControl* control : std::initializer_list<TWinControl*>{form->Btn_Go, form->Pages, form}) {
    SCOPED_TRACE(control->ClassName());
    control->SetDoubleBuffered(true);
    EXPECT_EQ(GetEnumProp(control, "DoubleBuffered"), "True");
    std::vector<DWORD> paintDcs;
    TWndMethod saved = control->WindowProc;
    control->WindowProc = [&](TMessage& m) {
      if (m.Msg == WM_PAINT) paintDcs.push_back(m.WParam ? GetObjectType(reinterpret_cast<HDC>(m.WParam)) : 0);
      saved(m);
    };
    control->Repaint();
    control->WindowProc = saved;
    control->SetDoubleBuffered(false);
    // The window's own WM_PAINT, then the painting into the bitmap's DC.
    EXPECT_EQ(paintDcs, (std::vector<DWORD>{0, OBJ_MEMDC}));
    RECT update{};
    EXPECT_FALSE(GetUpdateRect(control->Handle(), &update, FALSE)) << "the window was validated";
  }
}

}  // namespace
}  // namespace qlt
