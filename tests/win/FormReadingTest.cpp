// Forms read from descriptions, with real windows: components and their order, properties, the
// window classes, tab order, properties by name for each control class, and writing back.
#include <gtest/gtest.h>

#include "tests/win/UiTestSupport.h"
#include "ui/Buttons.h"
#include "ui/ComCtrls.h"
#include "ui/Forms.h"
#include "ui/StdCtrls.h"
#include "ui/Utf.h"

namespace qlt {
namespace {

using test::ClassNameOf;
using test::Descendants;

class TFrm_Sample : public TForm {
  QLT_CLASS(TFrm_Sample)
 public:
  explicit TFrm_Sample(TComponent* owner) : TForm(owner) {}
  TPageControl* PageControl1 = nullptr;
  TTabSheet* TabSheet1 = nullptr;
  TTabSheet* TabSheet2 = nullptr;
  TListBox* Lst_ALLP = nullptr;
  TGroupBox* GroupBox1 = nullptr;
  TRadioButton* Rad_Kill = nullptr;
  TRadioButton* Rad_Hide = nullptr;
  TSpinEdit* Edt_AP = nullptr;
  TLabel* Label7 = nullptr;
  TCheckBox* Chk_Auto = nullptr;
  TLabel* Lab_key = nullptr;
  TButton* Btn_Hide = nullptr;
  TButton* Btn_Show = nullptr;
  TEdit* Edt_Color = nullptr;
  TComboBox* Cmb_Key = nullptr;
  TBitBtn* Btn_Yes = nullptr;
  TSpeedButton* Spd = nullptr;
  TTimer* Timer1 = nullptr;
  TPopupMenu* PopupMenu1 = nullptr;
  TMenuItem* N1 = nullptr;
  TMenuItem* N2 = nullptr;
  std::vector<std::string> log;
  void FormCreate(TObject*) { log.push_back("create"); }
  void Btn_HideClick(TObject*) { log.push_back("hide"); }
  void Lab_keyClick(TObject*) { log.push_back("label"); }
  void N1Click(TObject*) { log.push_back("N1"); }
};

const TClassInfo& TFrm_Sample::StaticClass() {
  static const TClassInfo info = ClassBuilder<TFrm_Sample, TForm>("TFrm_Sample")
                                     .Field("PageControl1", &TFrm_Sample::PageControl1)
                                     .Field("TabSheet1", &TFrm_Sample::TabSheet1)
                                     .Field("TabSheet2", &TFrm_Sample::TabSheet2)
                                     .Field("Lst_ALLP", &TFrm_Sample::Lst_ALLP)
                                     .Field("GroupBox1", &TFrm_Sample::GroupBox1)
                                     .Field("Rad_Kill", &TFrm_Sample::Rad_Kill)
                                     .Field("Rad_Hide", &TFrm_Sample::Rad_Hide)
                                     .Field("Edt_AP", &TFrm_Sample::Edt_AP)
                                     .Field("Label7", &TFrm_Sample::Label7)
                                     .Field("Chk_Auto", &TFrm_Sample::Chk_Auto)
                                     .Field("Lab_key", &TFrm_Sample::Lab_key)
                                     .Field("Btn_Hide", &TFrm_Sample::Btn_Hide)
                                     .Field("Btn_Show", &TFrm_Sample::Btn_Show)
                                     .Field("Edt_Color", &TFrm_Sample::Edt_Color)
                                     .Field("Cmb_Key", &TFrm_Sample::Cmb_Key)
                                     .Field("Btn_Yes", &TFrm_Sample::Btn_Yes)
                                     .Field("Spd", &TFrm_Sample::Spd)
                                     .Field("Timer1", &TFrm_Sample::Timer1)
                                     .Field("PopupMenu1", &TFrm_Sample::PopupMenu1)
                                     .Field("N1", &TFrm_Sample::N1)
                                     .Field("N2", &TFrm_Sample::N2)
                                     .Handler("FormCreate", &TFrm_Sample::FormCreate)
                                     .Handler("Btn_HideClick", &TFrm_Sample::Btn_HideClick)
                                     .Handler("Lab_keyClick", &TFrm_Sample::Lab_keyClick)
                                     .Handler("N1Click", &TFrm_Sample::N1Click)
                                     .Build();
  return info;
}

class FormReading : public ::testing::Test {
 protected:
  void SetUp() override { form = NewForm<TFrm_Sample>(Application); }
  void TearDown() override { delete form; }
  TFrm_Sample* form = nullptr;
};

TEST_F(FormReading, ComponentsArriveInDescriptionOrderWithOwnersParentsAndFields) {
  std::vector<std::string> names;
  for (TComponent* c : form->ComponentList()) names.push_back(Utf16ToUtf8(c->Name()));
  EXPECT_EQ(names, (std::vector<std::string>{"PageControl1", "TabSheet1", "Lst_ALLP", "TabSheet2", "GroupBox1",
                                             "Rad_Kill", "Rad_Hide", "Edt_AP", "Label7", "Chk_Auto", "Lab_key",
                                             "Btn_Hide", "Btn_Show", "Edt_Color", "Cmb_Key", "Btn_Yes", "Spd",
                                             "Timer1", "PopupMenu1", "N2", "N1"}));
  for (TComponent* c : form->ComponentList()) EXPECT_EQ(c->Owner(), form);
  EXPECT_EQ(form->FindComponent(u"rad_hide"), form->Rad_Hide);
  ASSERT_NE(form->Rad_Kill, nullptr);
  EXPECT_EQ(form->Rad_Kill->Parent(), form->GroupBox1);
  EXPECT_EQ(form->GroupBox1->Parent(), form->TabSheet2);
  EXPECT_EQ(form->TabSheet2->PageControl(), form->PageControl1);
  EXPECT_EQ(form->PageControl1->PageCount(), 2);
  EXPECT_EQ(form->PageControl1->ActivePage(), form->TabSheet1);
  EXPECT_EQ(form->PopupMenu1->Items()->Count(), 2);
  EXPECT_EQ(form->PopupMenu1->Items()->Items(1), form->N1);
  EXPECT_EQ(form->PopupMenu(), form->PopupMenu1);
  EXPECT_EQ(form->log, std::vector<std::string>{"create"});
  EXPECT_FALSE(form->Visible());
}

TEST_F(FormReading, PropertiesHaveTheirDescribedValues) {
  EXPECT_EQ(form->Caption(), u"QLTZarnit2.32－QLT科技");
  EXPECT_EQ(form->ClientWidth(), 371);
  EXPECT_EQ(form->ClientHeight(), 301);
  EXPECT_EQ(form->Font()->Name(), u"宋体");
  EXPECT_EQ(form->Font()->Height(), -12);
  EXPECT_EQ(form->Font()->Charset(), GB2312_CHARSET);
  // Controls without a font of their own take the form's.
  EXPECT_EQ(form->Rad_Kill->Font()->Name(), u"宋体");
  EXPECT_TRUE(form->Rad_Kill->ParentFont());
  EXPECT_EQ(form->Lab_key->Font()->Color(), clBlue);
  EXPECT_EQ(form->Lab_key->Font()->Style(), FontStyle(fsUnderline));
  EXPECT_EQ(form->Lab_key->Cursor(), crHandPoint);
  EXPECT_TRUE(form->Rad_Hide->Checked());
  EXPECT_FALSE(form->Rad_Kill->Checked());
  EXPECT_EQ(form->Edt_AP->Value(), 200);
  EXPECT_EQ(form->Edt_AP->MinValue(), 1);
  EXPECT_EQ(form->Lst_ALLP->Items()->Count(), 2);
  EXPECT_EQ(form->Lst_ALLP->ItemHeight(), 12);
  EXPECT_EQ(form->Lst_ALLP->Hint(), u"双击选择的名称可以增加");
  EXPECT_TRUE(form->Btn_Yes->Default());
  EXPECT_EQ(form->Btn_Yes->ModalResult(), mrOk);
  EXPECT_TRUE(form->Spd->Down());
  EXPECT_EQ(form->Timer1->Interval(), 60000);
  EXPECT_FALSE(form->N2->Visible());
  EXPECT_EQ(form->N1->ShortCut(), scCtrl | 'N');
  EXPECT_EQ(ShortCutToText(form->N1->ShortCut()), u"Ctrl+N");
  EXPECT_EQ(form->Btn_Hide->Left(), 254);
  EXPECT_EQ(form->Btn_Hide->Top(), 327);
}

TEST_F(FormReading, WindowsAreCreatedOnDemandAndNamedAfterTheirClasses) {
  EXPECT_FALSE(form->HandleAllocated());
  EXPECT_FALSE(form->Btn_Hide->HandleAllocated());
  form->Btn_Hide->HandleNeeded();  // the parent windows come first
  EXPECT_TRUE(form->HandleAllocated());
  EXPECT_EQ(ClassNameOf(form->Handle()), L"TFrm_Sample");
  EXPECT_EQ(ClassNameOf(form->Btn_Hide->Handle()), L"TButton");
  EXPECT_EQ(ClassNameOf(form->Rad_Kill->Handle()), L"TRadioButton");
  EXPECT_EQ(ClassNameOf(form->Chk_Auto->Handle()), L"TCheckBox");
  EXPECT_EQ(ClassNameOf(form->Lst_ALLP->Handle()), L"TListBox");
  EXPECT_EQ(ClassNameOf(form->Edt_AP->Handle()), L"TSpinEdit");
  EXPECT_EQ(ClassNameOf(GetWindow(form->Edt_AP->Handle(), GW_CHILD)), L"TSpinButton");
  // The spin button keeps its width and ends at the edit's client edge, wholly inside it.
  RECT editClient{}, spin{};
  GetClientRect(form->Edt_AP->Handle(), &editClient);
  GetWindowRect(GetWindow(form->Edt_AP->Handle(), GW_CHILD), &spin);
  MapWindowPoints(nullptr, form->Edt_AP->Handle(), reinterpret_cast<POINT*>(&spin), 2);
  EXPECT_EQ(spin.right, editClient.right);
  EXPECT_EQ(spin.right - spin.left, form->Edt_AP->Button()->Width());
  EXPECT_EQ(form->Edt_AP->Button()->Width(), 15);
  EXPECT_EQ(ClassNameOf(form->PageControl1->Handle()), L"TPageControl");
  EXPECT_EQ(ClassNameOf(form->TabSheet2->Handle()), L"TTabSheet");
  EXPECT_EQ(ClassNameOf(form->GroupBox1->Handle()), L"TGroupBox");
  EXPECT_EQ(ClassNameOf(form->Cmb_Key->Handle()), L"TComboBox");
  EXPECT_EQ(ClassNameOf(form->Btn_Yes->Handle()), L"TBitBtn");
  EXPECT_EQ(ClassNameOf(GetWindow(form->Handle(), GW_OWNER)), L"TApplication");
  // The framework classes behave like the system controls they are made of.
  EXPECT_EQ(SendMessageW(form->Lst_ALLP->Handle(), LB_GETCOUNT, 0, 0), 2);
  EXPECT_EQ(SendMessageW(form->Rad_Hide->Handle(), BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_EQ(SendMessageW(form->PageControl1->Handle(), TCM_GETITEMCOUNT, 0, 0), 2);
  EXPECT_TRUE(GetWindowLongW(form->PageControl1->Handle(), GWL_STYLE) & TCS_BUTTONS);
  EXPECT_EQ(GetWindowTextLengthW(form->Edt_AP->Handle()), 3);
  RECT client{};
  GetClientRect(form->Handle(), &client);
  EXPECT_EQ(client.right, 371);
  EXPECT_EQ(client.bottom, 301);
  const LONG style = GetWindowLongW(form->Handle(), GWL_STYLE);
  EXPECT_TRUE(style & WS_SYSMENU);
  EXPECT_FALSE(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME));
  // Only the active page shows.
  EXPECT_TRUE(GetWindowLongW(form->TabSheet1->Handle(), GWL_STYLE) & WS_VISIBLE);
  EXPECT_FALSE(GetWindowLongW(form->TabSheet2->Handle(), GWL_STYLE) & WS_VISIBLE);
}

TEST_F(FormReading, TabOrderFollowsTheDescriptionNotTheCreationOrder) {
  EXPECT_EQ(form->Btn_Show->TabOrder(), 0);
  EXPECT_EQ(form->Btn_Hide->TabOrder(), 1);
  EXPECT_EQ(form->PageControl1->TabOrder(), 5);
  EXPECT_EQ(form->Rad_Hide->TabOrder(), 0);
  EXPECT_EQ(form->Edt_AP->TabOrder(), 1);
  EXPECT_EQ(form->Rad_Kill->TabOrder(), 2);  // 3 asked for, but only three windows are in the group
  // The dialog manager walks the windows in Z order: the same order, also for windows made one at
  // a time while the form is hidden.
  form->HandleNeeded();
  const HWND hide = form->Btn_Hide->Handle();
  const HWND show = form->Btn_Show->Handle();
  HWND first = GetWindow(form->Handle(), GW_CHILD);
  EXPECT_EQ(first, show);
  EXPECT_EQ(GetWindow(first, GW_HWNDNEXT), hide);
  form->Show();  // the other windows come along
  first = GetWindow(form->Handle(), GW_CHILD);
  EXPECT_EQ(first, show);
  EXPECT_EQ(GetWindow(first, GW_HWNDNEXT), hide);
  form->Btn_Hide->SetTabOrder(0);
  EXPECT_EQ(GetWindow(form->Handle(), GW_CHILD), hide);
}

// The first windowed control under `parent` that has no window, or nullptr.
TWinControl* WithoutWindow(const TWinControl* parent) {
  for (int i = 0; i < parent->ControlCount(); ++i) {
    auto* w = dynamic_cast<TWinControl*>(parent->Controls(i));
    if (!w) continue;
    if (!w->HandleAllocated()) return w;
    if (TWinControl* inner = WithoutWindow(w)) return inner;
  }
  return nullptr;
}

TEST_F(FormReading, HiddenFormsControlsGetTheirWindowsWhenItShowsWithWhatWasSetMeanwhile) {
  form->Icon()->SetHandle(CopyIcon(LoadIconW(nullptr, reinterpret_cast<LPCWSTR>(IDI_APPLICATION))));
  form->HandleNeeded();
  EXPECT_TRUE(Descendants(form->Handle()).empty()) << "a hidden form's own window comes alone";
  EXPECT_EQ(SendMessageW(form->Handle(), WM_GETICON, ICON_BIG, 0), 0) << "its icons wait as well";
  EXPECT_FALSE(form->Lst_ALLP->HandleAllocated());
  // What changes while there are no windows is in them when they come.
  form->Lst_ALLP->Items()->Add(u"third.exe");
  form->Rad_Kill->SetChecked(true);
  form->Edt_AP->SetValue(42);
  const bool autostart = !form->Chk_Auto->Checked();
  form->Chk_Auto->SetChecked(autostart);
  form->Btn_Hide->SetEnabled(false);

  // Shown from outside the framework (as another program could): the controls are there with it.
  ShowWindow(form->Handle(), SW_SHOWNOACTIVATE);
  EXPECT_EQ(WithoutWindow(form), nullptr) << "every windowed control has its window, the spin button too";
  EXPECT_EQ(SendMessageW(form->Handle(), WM_GETICON, ICON_BIG, 0), reinterpret_cast<LRESULT>(form->Icon()->Handle()));
  EXPECT_EQ(SendMessageW(form->Handle(), WM_GETICON, ICON_SMALL, 0), reinterpret_cast<LRESULT>(form->Icon()->Handle()));
  ASSERT_TRUE(form->Lst_ALLP->HandleAllocated());
  EXPECT_EQ(SendMessageW(form->Lst_ALLP->Handle(), LB_GETCOUNT, 0, 0), 3);
  EXPECT_EQ(SendMessageW(form->Rad_Kill->Handle(), BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_EQ(SendMessageW(form->Rad_Hide->Handle(), BM_GETCHECK, 0, 0), BST_UNCHECKED);
  EXPECT_EQ(GetWindowTextLengthW(form->Edt_AP->Handle()), 2);
  EXPECT_EQ(form->Edt_AP->Value(), 42);
  EXPECT_EQ(SendMessageW(form->Chk_Auto->Handle(), BM_GETCHECK, 0, 0), autostart ? BST_CHECKED : BST_UNCHECKED);
  EXPECT_FALSE(IsWindowEnabled(form->Btn_Hide->Handle()));
  EXPECT_TRUE(IsWindowVisible(form->TabSheet1->Handle()));
  EXPECT_FALSE(GetWindowLongW(form->TabSheet2->Handle(), GWL_STYLE) & WS_VISIBLE);
  ShowWindow(form->Handle(), SW_HIDE);

  // A control created later on a hidden form that has its window waits as well.
  TFrm_Sample* second = NewForm<TFrm_Sample>(Application);
  second->HandleNeeded();
  auto* late = new TButton(second);
  late->SetParent(second);
  EXPECT_FALSE(late->HandleAllocated());
  second->Show();
  EXPECT_TRUE(late->HandleAllocated());
  EXPECT_TRUE(IsWindowVisible(late->Handle()));
  delete second;
}

TEST_F(FormReading, PropertiesByNameWorkForEveryControlClassAndAreNeutralForUnknownNames) {
  TControl* controls[] = {form->Btn_Hide, form->Rad_Kill, form->Chk_Auto, form->Lst_ALLP, form->Edt_AP,
                          form->Label7,  form->GroupBox1, form->Cmb_Key, form->Btn_Yes, form->Spd,
                          form->PageControl1, form->TabSheet1, form->Edt_Color, form};
  for (TControl* c : controls) {
    SCOPED_TRACE(c->ClassName());
    EXPECT_EQ(GetStrProp(c, "Caption"), c->Caption());
    EXPECT_EQ(GetIntProp(c, "Left"), c->Left());
    EXPECT_EQ(GetEnumProp(c, "Enabled"), "True");
    EXPECT_EQ(GetObjectProp(c, "Font", &TFont::StaticClass()), c->Font());
    EXPECT_EQ(GetIntProp(c, "NoSuchProperty"), 0);
    EXPECT_EQ(GetStrProp(c, "NoSuchProperty"), u"");
    EXPECT_EQ(GetEnumProp(c, "NoSuchProperty"), "");
    EXPECT_EQ(GetObjectProp(c, "NoSuchProperty"), nullptr);
    EXPECT_EQ(GetIntProp(c, "Caption"), 0);  // a string read as an integer
    SetEnumProp(c, "Flat", "True");           // only where there is such an enumeration
    SetIntProp(c, "Caption", 5);
  }
  EXPECT_EQ(GetEnumProp(form->Spd, "Flat"), "True");
  EXPECT_EQ(GetEnumProp(form->Spd, "Down"), "True");
  EXPECT_EQ(GetEnumProp(form->Btn_Yes, "Layout"), "blGlyphRight");
  EXPECT_EQ(GetIntProp(form->Btn_Yes, "NumGlyphs"), 2);
  EXPECT_EQ(GetIntProp(form->Btn_Yes, "Margin"), -1);
  EXPECT_EQ(GetIntProp(form->Btn_Yes, "Spacing"), 4);
  EXPECT_EQ(GetEnumProp(form->Btn_Yes, "Default"), "True");
  EXPECT_NE(GetObjectProp(form->Btn_Yes, "Glyph", &TBitmap::StaticClass()), nullptr);
  EXPECT_EQ(GetEnumProp(form->Rad_Hide, "Checked"), "True");
  EXPECT_EQ(GetEnumProp(form->Chk_Auto, "Checked"), "False");
  EXPECT_EQ(GetEnumProp(form->Label7, "Alignment"), "taLeftJustify");
  EXPECT_EQ(GetIntProp(form->Edt_AP, "Value"), 200);
  EXPECT_EQ(GetStrProp(form->Edt_AP, "Text"), u"200");
  EXPECT_EQ(GetIntProp(form->Lab_key, "Cursor"), crHandPoint);
  EXPECT_EQ(GetObjectProp(form->PopupMenu1, "Items"), nullptr);  // not published
  EXPECT_EQ(GetEnumProp(form->N1, "Default"), "True");
  EXPECT_EQ(GetStrProp(form->N1, "Caption"), u"显示窗口");
  SetEnumProp(form->Chk_Auto, "Checked", "True");
  EXPECT_TRUE(form->Chk_Auto->Checked());
  SetStrProp(form->Btn_Show, "Caption", u"显示!");
  EXPECT_EQ(form->Btn_Show->Caption(), u"显示!");
  // What a skinner does to a tool bar or panel it only knows by name: nothing where it is not there.
  SetEnumProp(form->Btn_Show, "Transparent", "True");
  SetEnumProp(form->Label7, "Transparent", "True");
  EXPECT_TRUE(form->Label7->Transparent());
}

TEST_F(FormReading, AFormIsWrittenBackAndReadsToTheSameDescription) {
  const std::string written = WriteFormText(WriteRootComponent(*form));
  EXPECT_NE(written.find("object Edt_AP: TSpinEdit"), std::string::npos) << written;
  EXPECT_NE(written.find("OnClick = Btn_HideClick"), std::string::npos) << written;
  EXPECT_NE(written.find("'notepad.exe'"), std::string::npos) << written;
  auto* again = NewFormFromText<TFrm_Sample>(Application, written);
  EXPECT_EQ(again->Name(), u"Frm_Sample_1") << "a second form of a class gets a name of its own";
  again->SetName(u"Frm_Sample_Copy");
  form->SetName(u"Frm_Sample_Copy2");
  form->SetName(u"Frm_Sample");
  std::string rewritten = WriteFormText(WriteRootComponent(*again));
  rewritten.replace(rewritten.find("Frm_Sample_Copy"), 15, "Frm_Sample");
  EXPECT_EQ(rewritten, written);
  EXPECT_EQ(again->ClientWidth(), 371);
  EXPECT_EQ(again->Rad_Kill->Parent(), again->GroupBox1);
  EXPECT_EQ(again->Btn_Show->TabOrder(), 0);
  delete again;
}

TEST(FormResources, CreateFormReadsTheDescriptionResourceNamedAfterTheClass) {
  TFrm_Sample* sample = nullptr;
  // Named "TFRM_SAMPLE" in the test's resources (forms/Sample.form), as the fixture's forms.
  Application->CreateForm(sample);
  ASSERT_NE(sample, nullptr);
  EXPECT_EQ(sample->Owner(), Application);
  EXPECT_EQ(sample->Caption(), u"QLTZarnit2.32－QLT科技");
  EXPECT_EQ(sample->log, std::vector<std::string>{"create"});
  delete sample;
  EXPECT_THROW(NewForm<TForm>(Application), EReadError);  // no "TFORM" resource
}

}  // namespace
}  // namespace qlt
