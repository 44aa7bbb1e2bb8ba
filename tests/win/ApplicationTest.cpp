// The application object, modal forms, menus, the error box for an error raised in a handler, and
// the GDI objects of forms that are created and freed again and again.
#include <gtest/gtest.h>

#include "tests/win/UiTestSupport.h"
#include "ui/Buttons.h"
#include "ui/ComCtrls.h"
#include "ui/Forms.h"
#include "ui/StdCtrls.h"
#include "ui/Utf.h"

namespace qlt {
namespace {

using namespace test;

class TFrm_Dialog : public TForm {
  QLT_CLASS(TFrm_Dialog)
 public:
  explicit TFrm_Dialog(TComponent* owner) : TForm(owner) {}
  TBitBtn* Btn_Yes = nullptr;
  TBitBtn* Btn_No = nullptr;
  TEdit* Edt_Number = nullptr;
  TLabel* Lab_Result = nullptr;
  TPopupMenu* Menu1 = nullptr;
  TMenuItem* Item1 = nullptr;
  TMenuItem* Item2 = nullptr;
  TMenuItem* Sub = nullptr;
  TMenuItem* SubItem = nullptr;
  TCloseAction closeAction = caHide;
  bool afterConversion = false;
  std::vector<std::string> log;
  void FormShow(TObject*) { log.push_back("show"); }
  void FormClose(TObject*, TCloseAction& action) {
    log.push_back("close");
    action = closeAction;
  }
  void FormCloseQuery(TObject*, bool& canClose) { log.push_back("query"); }
  void Btn_YesClick(TObject*) {
    // A text that is no number: the conversion raises, the rest of the handler does not run.
    Lab_Result->SetCaption(IntToStr(StrToInt(Edt_Number->Text())));
    afterConversion = true;
  }
  void Item1Click(TObject*) { log.push_back("item1"); }
};

const TClassInfo& TFrm_Dialog::StaticClass() {
  static const TClassInfo info = ClassBuilder<TFrm_Dialog, TForm>("TFrm_Dialog")
                                     .Field("Btn_Yes", &TFrm_Dialog::Btn_Yes)
                                     .Field("Btn_No", &TFrm_Dialog::Btn_No)
                                     .Field("Edt_Number", &TFrm_Dialog::Edt_Number)
                                     .Field("Lab_Result", &TFrm_Dialog::Lab_Result)
                                     .Field("Menu1", &TFrm_Dialog::Menu1)
                                     .Field("Item1", &TFrm_Dialog::Item1)
                                     .Field("Item2", &TFrm_Dialog::Item2)
                                     .Field("Sub", &TFrm_Dialog::Sub)
                                     .Field("SubItem", &TFrm_Dialog::SubItem)
                                     .Handler("FormShow", &TFrm_Dialog::FormShow)
                                     .Handler("FormClose", &TFrm_Dialog::FormClose)
                                     .Handler("FormCloseQuery", &TFrm_Dialog::FormCloseQuery)
                                     .Handler("Btn_YesClick", &TFrm_Dialog::Btn_YesClick)
                                     .Handler("Item1Click", &TFrm_Dialog::Item1Click)
                                     .Build();
  return info;
}

DWORD UiThread() { return GetCurrentThreadId(); }

TEST(ApplicationObject, HasItsHiddenWindowTitleAndForms) {
  HWND app = Application->Handle();
  EXPECT_EQ(ClassNameOf(app), L"TApplication");
  EXPECT_FALSE(IsWindowVisible(app));
  // Its extended style can be set, to keep the program off the taskbar.
  SetWindowLongW(app, GWL_EXSTYLE, WS_EX_TOOLWINDOW);
  EXPECT_EQ(GetWindowLongW(app, GWL_EXSTYLE), WS_EX_TOOLWINDOW);

  auto* a = NewForm<TFrm_Dialog>(Application);
  auto* b = NewForm<TFrm_Dialog>(Application);
  EXPECT_EQ(Screen->FormCount(), 2);
  EXPECT_EQ(Application->FindComponent(u"Frm_Dialog"), a) << "forms belong to the application";
  a->Show();
  PumpFor(50ms);
  b->Show();
  PumpFor(50ms);
  SetActiveWindow(a->Handle());
  PumpFor(50ms);
  EXPECT_EQ(Screen->Forms(0), a) << "the most recently active form first";
  EXPECT_EQ(Screen->ActiveForm(), a);
  EXPECT_GT(Screen->MenuFont()->Height(), -100);
  delete b;
  EXPECT_EQ(Screen->FormCount(), 1);
  delete a;
  EXPECT_EQ(Screen->FormCount(), 0);
}

TEST(ApplicationObject, AnErrorInAHandlerShowsTheErrorBoxAndTheProgramGoesOn) {
  auto* form = NewForm<TFrm_Dialog>(Application);
  form->Show();
  PumpFor(100ms);
  {
    MessageBoxWatcher watcher(UiThread());
    // The user presses the button; its handler raises.
    SendMessageW(form->Btn_Yes->Handle(), BM_CLICK, 0, 0);
    PumpUntil([&] { return !watcher.Seen().empty(); });
    const auto boxes = watcher.Seen();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, L"QLT framework tests");
    EXPECT_EQ(boxes[0].text, L"'abc' is not a valid integer value.");
  }
  EXPECT_FALSE(form->afterConversion) << "the handler ended at the error";
  EXPECT_EQ(form->Lab_Result->Caption(), u"Lab_Result");
  // The program goes on: the same handler works with a number, messages still flow.
  form->Edt_Number->SetText(u"42");
  SendMessageW(form->Btn_Yes->Handle(), BM_CLICK, 0, 0);
  EXPECT_TRUE(form->afterConversion);
  EXPECT_EQ(form->Lab_Result->Caption(), u"42");

  // Errors of timers and menu items are caught the same way.
  {
    MessageBoxWatcher watcher(UiThread());
    TTimer timer(nullptr);
    timer.SetInterval(10);
    int ticks = 0;
    timer.OnTimer = [&](TObject*) {
      ++ticks;
      timer.SetEnabled(false);
      throw EFCreateError(Format(msg::kCannotCreateFile, {u"C:\\x\\data.txt", u"Access is denied."}));
    };
    PumpUntil([&] { return !watcher.Seen().empty(); });
    ASSERT_EQ(watcher.Seen().size(), 1u);
    EXPECT_EQ(watcher.Seen()[0].text, L"Cannot create file \"C:\\x\\data.txt\". Access is denied.");
    EXPECT_EQ(ticks, 1);
  }
  {
    MessageBoxWatcher watcher(UiThread());
    form->Item1->OnClick = [](TObject*) { throw ERegistryException(Format(msg::kFailedToCreateKey, {u"SYSTEM\\X"})); };
    PostMessageW(TPopupMenu::PopupListWindow(), WM_COMMAND, form->Item1->Command(), 0);
    PumpUntil([&] { return !watcher.Seen().empty(); });
    ASSERT_EQ(watcher.Seen().size(), 1u);
    EXPECT_EQ(watcher.Seen()[0].text, L"Failed to create key SYSTEM\\X.");
  }
  // The simple message box: the title as its caption.
  {
    MessageBoxWatcher watcher(UiThread());
    ShowMessage(u"一个小时了,请注意您的眼睛,休息一会！");
    const auto boxes = watcher.Seen();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, L"QLT framework tests");
    EXPECT_EQ(boxes[0].text, L"一个小时了,请注意您的眼睛,休息一会！");
  }
  delete form;
}

TEST(ModalForms, ShowModalEndsWhenModalResultIsSetOrTheFormCloses) {
  auto* form = NewForm<TFrm_Dialog>(Application);
  // A button with a modal result ends the dialog; the timer plays the user.
  TTimer press(nullptr);
  press.SetInterval(100);
  bool clicking = false;
  press.OnTimer = [&](TObject*) {
    // Clicks again while the dialog is still open (a click can miss while the pointer settles).
    if (clicking || !form->Modal()) return;
    clicking = true;
    ClickAt(CentreOf(form->Btn_No->Handle()));
    clicking = false;
  };
  EXPECT_EQ(form->ShowModal(), mrCancel);
  press.SetEnabled(false);
  EXPECT_FALSE(form->Visible());
  EXPECT_EQ(form->log, (std::vector<std::string>{"show", "query", "close"}));

  // Closing the window ends it too.
  form->log.clear();
  press.OnTimer = [&](TObject*) {
    press.SetEnabled(false);
    PostMessageW(form->Handle(), WM_CLOSE, 0, 0);
  };
  press.SetEnabled(true);
  EXPECT_EQ(form->ShowModal(), mrCancel);

  // Code that sets ModalResult ends it with that value; an OnClose of caNone keeps it open.
  form->closeAction = caNone;
  int round = 0;
  press.OnTimer = [&](TObject*) {
    if (++round == 1) {
      form->SetModalResult(mrOk);  // refused by OnClose
    } else if (round == 3) {
      form->closeAction = caHide;
      form->SetModalResult(mrYes);
      press.SetEnabled(false);
    }
  };
  press.SetEnabled(true);
  EXPECT_EQ(form->ShowModal(), mrYes);
  EXPECT_GE(round, 3);

  // A form whose OnClose frees it is freed after ShowModal has returned.
  form->closeAction = caFree;
  bool freed = false;
  struct Watch : TComponent {
    bool* flag;
    Watch(TComponent* owner, bool* f) : TComponent(owner), flag(f) {}
    ~Watch() override { *flag = true; }
  };
  new Watch(form, &freed);
  press.OnTimer = [&](TObject*) {
    press.SetEnabled(false);
    form->SetModalResult(mrOk);
  };
  press.SetEnabled(true);
  EXPECT_EQ(form->ShowModal(), mrOk);
  EXPECT_FALSE(freed);
  PumpUntil([&] { return freed; });
  EXPECT_TRUE(freed);
}

TEST(Menus, ItemsKeepTheirMenuHandleCurrentAndDrawThemselvesWhenOwnerDrawn) {
  auto* form = NewForm<TFrm_Dialog>(Application);
  HMENU menu = form->Menu1->Handle();
  ASSERT_NE(menu, nullptr);
  EXPECT_EQ(GetMenuItemCount(menu), 3);
  MENUITEMINFOW mii{};
  mii.cbSize = sizeof mii;
  mii.fMask = MIIM_FTYPE | MIIM_ID | MIIM_SUBMENU;
  ASSERT_TRUE(GetMenuItemInfoW(menu, 0, TRUE, &mii));
  EXPECT_EQ(mii.wID, form->Item1->Command());
  EXPECT_TRUE(mii.fType & MFT_OWNERDRAW);
  ASSERT_TRUE(GetMenuItemInfoW(menu, 2, TRUE, &mii));
  EXPECT_EQ(mii.hSubMenu, form->Sub->Handle());
  EXPECT_EQ(form->Sub->Handle(), form->Menu1->Items()->FindHandle(form->Sub->Handle())->Handle());

  // Hidden items leave the menu; the handle stays the same.
  form->Item1->SetVisible(false);
  EXPECT_EQ(GetMenuItemCount(menu), 2);
  form->Item1->SetVisible(true);
  form->Item1->SetChecked(true);
  EXPECT_EQ(form->Menu1->Handle(), menu);
  EXPECT_TRUE(GetMenuState(menu, 0, MF_BYPOSITION) & MF_CHECKED);
  form->Menu1->SetOwnerDraw(false);
  wchar_t text[64] = {};
  GetMenuStringW(menu, 0, text, 64, MF_BYPOSITION);
  EXPECT_STREQ(text, L"显示窗口");
  form->Menu1->SetOwnerDraw(true);

  // Shown for real: the system measures and draws each visible owner-drawn item through the
  // item's own events; a timer closes the menu.
  std::vector<std::string> drawn, measured;
  for (TMenuItem* item : {form->Item1, form->Item2, form->Sub}) {
    const std::string name = Narrow(item->Name());
    item->OnMeasureItem = [&measured, name](TObject*, TCanvas* canvas, int& width, int& height) {
      EXPECT_NE(canvas->Handle(), nullptr);
      measured.push_back(name);
      width = 120;
    };
    item->OnAdvancedDrawItem = [&drawn, name](TObject*, TCanvas* canvas, TRect rect, TOwnerDrawState) {
      canvas->Brush()->SetColor(clWhite);
      canvas->FillRect(rect);
      drawn.push_back(name);
    };
  }
  // Started when the menu opens; ends the menu loop once the menu had time to draw.
  TTimer close(nullptr);
  close.SetEnabled(false);
  close.SetInterval(300);
  close.OnTimer = [&](TObject*) { EndMenu(); };
  form->Menu1->OnPopup = [&](TObject*) { close.SetEnabled(true); };
  form->Show();
  SetForegroundWindow(form->Handle());
  PumpFor(50ms);
  form->Menu1->Popup(200, 200);
  close.SetEnabled(false);
  EXPECT_EQ(measured, (std::vector<std::string>{"Item1", "Item2", "Sub"}));
  EXPECT_EQ(drawn.size() >= 3, true);

  // A command of the menu reaches the item's OnClick.
  form->log.clear();
  PostMessageW(TPopupMenu::PopupListWindow(), WM_COMMAND, form->Item1->Command(), 0);
  PumpUntil([&] { return !form->log.empty(); });
  EXPECT_EQ(form->log, std::vector<std::string>{"item1"});
  delete form;
}

TEST(Menus, AFormsMainMenuIsItsMenuBarAndChangesReachTheForm) {
  auto* form = NewForm<TFrm_Dialog>(Application);
  auto* mainMenu = new TMainMenu(form);
  auto* file = new TMenuItem(form);
  file->SetCaption(u"&File");
  mainMenu->Items()->Add(file);
  auto* quit = new TMenuItem(form);
  quit->SetCaption(u"&Quit");
  quit->SetShortCut(scCtrl | 'Q');
  int quits = 0;
  quit->OnClick = [&](TObject*) { ++quits; };
  file->Add(quit);
  form->SetMenu(mainMenu);
  form->HandleNeeded();
  EXPECT_EQ(GetMenu(form->Handle()), mainMenu->Handle());
  RECT client{};
  GetClientRect(form->Handle(), &client);
  EXPECT_EQ(client.bottom, 134) << "the client area keeps its size with a menu bar";

  int menuChanged = 0;
  TWndMethod saved = form->WindowProc;
  form->WindowProc = [&](TMessage& m) {
    if (m.Msg == CM_MENUCHANGED) ++menuChanged;
    saved(m);
  };
  file->SetCaption(u"&Datei");
  EXPECT_GE(menuChanged, 1);
  wchar_t text[32] = {};
  GetMenuStringW(GetMenu(form->Handle()), 0, text, 32, MF_BYPOSITION);
  EXPECT_STREQ(text, L"&Datei");
  form->WindowProc = saved;

  SendMessageW(form->Handle(), WM_COMMAND, quit->Command(), 0);
  EXPECT_EQ(quits, 1);
  EXPECT_TRUE(form->IsShortCut(scCtrl | 'Q'));
  EXPECT_EQ(quits, 2);
  EXPECT_FALSE(form->IsShortCut(scCtrl | 'W'));
  delete form;
}

TEST(Resources, FormsCreatedAndFreedAHundredTimesLeaveNoGdiObjectBehind) {
  const int probeBefore = GdiObjectCount();
  ASSERT_GT(probeBefore, 0) << "the GDI object count cannot be read";
  HBRUSH probe = CreateSolidBrush(RGB(1, 2, 3));
  EXPECT_EQ(GdiObjectCount(), probeBefore + 1) << "the counter sees a new brush";
  DeleteObject(probe);
  EXPECT_EQ(GdiObjectCount(), probeBefore);

  const auto cycle = [] {
    auto* form = NewForm<TFrm_Dialog>(Application);
    form->Show();
    form->Repaint();
    form->Btn_Yes->Repaint();
    form->Lab_Result->SetCaption(u"changed");
    form->Font()->SetHeight(-13);
    form->SetColor(clWindow);
    PumpFor(std::chrono::milliseconds(0));
    HMENU menu = form->Menu1->Handle();
    EXPECT_NE(menu, nullptr);
    delete form;
    PumpFor(std::chrono::milliseconds(0));
  };
  cycle();  // classes registered, caches filled
  const int before = GdiObjectCount();
  {
    auto* form = NewForm<TFrm_Dialog>(Application);
    form->Show();
    PumpFor(std::chrono::milliseconds(0));
    EXPECT_GT(GdiObjectCount(), before) << "a shown form holds fonts, brushes and bitmaps";
    delete form;
  }
  EXPECT_EQ(GdiObjectCount(), before);
  for (int i = 0; i < 100; ++i) cycle();
  const int after = GdiObjectCount();
  EXPECT_EQ(after, before) << "GDI objects before " << before << ", after 100 forms " << after;
  std::printf("GDI objects: %d before, %d after 100 create/free cycles\n", before, after);
}

}  // namespace
}  // namespace qlt
