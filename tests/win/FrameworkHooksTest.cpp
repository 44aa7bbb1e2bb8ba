// What the skin engine builds on: windows bound to their objects while other windows are created
// (from a CBT hook), observers told of windows and components with whole objects, independent
// hooks on controls and subclasses on raw windows, errors while painting told once after the
// paint, a form's client size kept when its frame changes, OnDestroy with the whole form, and a
// popup menu that leaves the caption's right click to the system menu.
#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "tests/win/UiTestSupport.h"
#include "ui/Forms.h"
#include "ui/StdCtrls.h"

// Sizes compared and printed by the assertions (found next to SIZE, in the global namespace).
inline bool operator==(const SIZE& a, const SIZE& b) { return a.cx == b.cx && a.cy == b.cy; }
inline void PrintTo(const SIZE& s, std::ostream* os) { *os << s.cx << "x" << s.cy; }

namespace qlt {
namespace {

using namespace test;

std::vector<std::string> g_log;

// ---- binding ----

class TFrm_Bind : public TForm {
  QLT_CLASS(TFrm_Bind)
 public:
  explicit TFrm_Bind(TComponent* owner) : TForm(owner) {}
  TButton* Btn = nullptr;
  TEdit* Edt = nullptr;
  TComboBox* Cmb = nullptr;
  int clicks = 0;
  void Clicked(TObject*) { ++clicks; }
};

const TClassInfo& TFrm_Bind::StaticClass() {
  static const TClassInfo info = ClassBuilder<TFrm_Bind, TForm>("TFrm_Bind")
                                     .Field("Btn", &TFrm_Bind::Btn)
                                     .Field("Edt", &TFrm_Bind::Edt)
                                     .Field("Cmb", &TFrm_Bind::Cmb)
                                     .Handler("Clicked", &TFrm_Bind::Clicked)
                                     .Build();
  return info;
}

constexpr char kBind[] = R"(object Frm_Bind: TFrm_Bind
  Left = 120
  Top = 90
  Caption = 'Binding'
  ClientWidth = 320
  ClientHeight = 120
  BorderStyle = bsSingle
  object Btn: TButton
    Left = 10
    Top = 10
    Width = 90
    Height = 25
    Caption = 'Press'
    TabOrder = 0
    OnClick = Clicked
  end
  object Edt: TEdit
    Left = 110
    Top = 12
    Width = 90
    Height = 21
    TabOrder = 1
  end
  object Cmb: TComboBox
    Left = 210
    Top = 12
    Width = 90
    Height = 21
    Items.Strings = ('A' 'B')
    TabOrder = 2
  end
end
)";

// Records the messages a control's WindowProc gets, from before its window exists.
struct MessageRecorder {
  std::vector<UINT> seen;
  void Attach(TControl* control) {
    TWndMethod saved = control->WindowProc;
    control->WindowProc = [this, saved](TMessage& m) {
      seen.push_back(m.Msg);
      saved(m);
    };
  }
  bool Saw(UINT msg) const { return std::find(seen.begin(), seen.end(), msg) != seen.end(); }
};

std::wstring ClassOf(HWND window) {
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  return name;
}

// A CBT hook that, while the form and its controls are being created, creates windows of its
// own: a form and buttons of the framework (with objects), and windows of framework classes that
// no object asked for (a top-level one of the form's own class, a child "TButton").
struct CreationCrowd {
  TForm* host = nullptr;  // parents the helper controls
  HHOOK hook = nullptr;
  bool inside = false;
  std::vector<TWinControl*> helpers;
  std::vector<std::unique_ptr<MessageRecorder>> recorders;
  std::vector<HWND> raw;
};
CreationCrowd* g_crowd = nullptr;

LRESULT CALLBACK CreateDuringCreation(int code, WPARAM wParam, LPARAM lParam) {
  CreationCrowd& crowd = *g_crowd;
  if (code == HCBT_CREATEWND && !crowd.inside) {
    const std::wstring cls = ClassOf(reinterpret_cast<HWND>(wParam));
    if (cls == L"TFrm_Bind" || cls == L"TButton" || cls == L"TEdit" || cls == L"TComboBox") {
      crowd.inside = true;
      TWinControl* helper = nullptr;
      const HINSTANCE instance = GetModuleHandleW(nullptr);
      if (cls == L"TFrm_Bind") {
        auto* form = new TForm(crowd.host);
        form->SetCaption(u"helper form");
        helper = form;
        crowd.raw.push_back(CreateWindowExW(0, L"TFrm_Bind", L"raw form", WS_OVERLAPPEDWINDOW, 0, 0, 100, 80,
                                            nullptr, nullptr, instance, nullptr));
      } else {
        auto* button = new TButton(crowd.host);
        button->SetParent(crowd.host);
        button->SetCaption(u"helper " + std::u16string(cls.begin(), cls.end()));
        helper = button;
        if (cls == L"TButton") {
          crowd.raw.push_back(CreateWindowExW(0, L"TButton", L"raw", WS_CHILD | BS_CHECKBOX, 0, 0, 60, 20,
                                              crowd.host->Handle(), nullptr, instance, nullptr));
        }
      }
      crowd.recorders.push_back(std::make_unique<MessageRecorder>());
      crowd.recorders.back()->Attach(helper);
      helper->HandleNeeded();
      crowd.helpers.push_back(helper);
      crowd.inside = false;
    }
  }
  return CallNextHookEx(crowd.hook, code, wParam, lParam);
}

TEST(Binding, WindowsCreatedWhileOthersAreCreatedBindToTheirOwnObjects) {
  CreationCrowd crowd;
  crowd.host = new TForm(Application);
  crowd.host->SetBounds(500, 400, 300, 200);
  crowd.host->HandleNeeded();
  g_crowd = &crowd;

  auto* form = NewFormFromText<TFrm_Bind>(Application, kBind);
  MessageRecorder formSeen, btnSeen, edtSeen, cmbSeen;
  formSeen.Attach(form);
  btnSeen.Attach(form->Btn);
  edtSeen.Attach(form->Edt);
  cmbSeen.Attach(form->Cmb);
  crowd.hook = SetWindowsHookExW(WH_CBT, CreateDuringCreation, nullptr, GetCurrentThreadId());
  EXPECT_NE(crowd.hook, nullptr);
  form->Show();
  UnhookWindowsHookEx(crowd.hook);
  g_crowd = nullptr;

  // The form and each control made a helper while its own window was being created.
  EXPECT_EQ(crowd.helpers.size(), 4u);
  EXPECT_EQ(TWinControl::FindControl(form->Handle()), form);
  for (TWinControl* c : std::initializer_list<TWinControl*>{form->Btn, form->Edt, form->Cmb}) {
    EXPECT_EQ(TWinControl::FindControl(c->Handle()), c) << Narrow(c->Name());
    EXPECT_EQ(GetParent(c->Handle()), form->Handle()) << Narrow(c->Name());
  }
  for (size_t i = 0; i < crowd.helpers.size(); ++i) {
    EXPECT_EQ(TWinControl::FindControl(crowd.helpers[i]->Handle()), crowd.helpers[i]) << i;
    EXPECT_TRUE(crowd.recorders[i]->Saw(WM_NCCREATE)) << i;
  }
  if (crowd.helpers.size() > 1) {
    EXPECT_EQ(crowd.helpers[1]->Text(), u"helper TButton");
  }
  // Every object saw its own window's first messages; the form's came before WM_NCCREATE too.
  EXPECT_TRUE(formSeen.Saw(WM_GETMINMAXINFO));
  EXPECT_TRUE(formSeen.Saw(WM_NCCREATE));
  EXPECT_TRUE(formSeen.Saw(WM_CREATE));
  EXPECT_TRUE(btnSeen.Saw(WM_NCCREATE) && edtSeen.Saw(WM_NCCREATE) && cmbSeen.Saw(WM_NCCREATE));

  // The system classes underneath got their creation messages: they work.
  EXPECT_EQ(SendMessageW(form->Cmb->Handle(), CB_GETCOUNT, 0, 0), 2);
  EXPECT_NE(form->Cmb->EditHandle(), nullptr);
  form->Cmb->SetItemIndex(1);
  EXPECT_EQ(form->Cmb->Text(), u"B");
  EXPECT_GT(SendMessageW(form->Edt->Handle(), EM_GETLIMITTEXT, 0, 0), 0);
  SetForegroundWindow(form->Handle());
  EXPECT_TRUE(PumpUntil([&] { return GetForegroundWindow() == form->Handle(); }, 3s));
  ClickAt(CentreOf(form->Edt->Handle()));
  TypeText(L"typed");
  EXPECT_EQ(form->Edt->Text(), u"typed");
  ClickAt(CentreOf(form->Btn->Handle()));
  EXPECT_EQ(form->clicks, 1);

  // The raw windows have no object and work as their classes' system procedures make them.
  EXPECT_EQ(crowd.raw.size(), 2u);
  for (HWND raw : crowd.raw) {
    EXPECT_NE(raw, nullptr);
    EXPECT_EQ(TWinControl::FindControl(raw), nullptr);
  }
  if (crowd.raw.size() == 2 && crowd.raw[1]) {
    const HWND button = crowd.raw[1];
    EXPECT_TRUE(SendMessageW(button, WM_GETDLGCODE, 0, 0) & DLGC_BUTTON);
    SendMessageW(button, BM_SETCHECK, BST_CHECKED, 0);
    EXPECT_EQ(SendMessageW(button, BM_GETCHECK, 0, 0), BST_CHECKED);
  }
  if (!crowd.raw.empty() && crowd.raw[0]) DestroyWindow(crowd.raw[0]);

  delete form;
  delete crowd.host;  // the helpers with it
}

// ---- lifecycle ----

// A button with a part of its own, to tell a whole object from a half-destroyed one.
class TProbeButton : public TButton {
  QLT_CLASS(TProbeButton)
 public:
  explicit TProbeButton(TComponent* owner) : TButton(owner) {}
  ~TProbeButton() override { part.clear(); }
  std::string part = "whole";
};

const TClassInfo& TProbeButton::StaticClass() {
  static const TClassInfo info = ClassBuilder<TProbeButton, TButton>("TProbeButton").Build();
  return info;
}

bool Whole(TComponent* c) {
  auto* probe = dynamic_cast<TProbeButton*>(c);
  return probe && probe->part == "whole";
}

// Writes down what it hears, and whether the object was whole and its window still there.
class Recorder : public TComponentObserver {
 public:
  Recorder() { RegisterComponentObserver(this); }
  std::vector<std::string> events;
  TComponent* watched = nullptr;
  void HandleCreated(TWinControl* c) noexcept override {
    if (c == watched) events.push_back(std::string("created ") + (Whole(c) && IsWindow(c->Handle()) ? "whole" : "broken"));
  }
  void HandleDestroying(TWinControl* c) noexcept override {
    if (c != watched) return;
    const bool windowThere = c->HandleAllocated() && IsWindow(c->Handle());
    events.push_back(std::string("destroying ") + (Whole(c) && windowThere ? "whole" : "broken"));
  }
  void ComponentDestroying(TComponent* c) noexcept override {
    if (c == watched) events.push_back(std::string("freeing ") + (Whole(c) ? "whole" : "broken"));
  }
};

TEST(Lifecycle, ObserversHearOfWindowsAndComponentsWhileTheObjectsAreWhole) {
  using V = std::vector<std::string>;
  Recorder recorder;
  auto* form = new TForm(Application);
  form->SetBounds(100, 100, 240, 120);
  auto* button = new TProbeButton(form);
  button->SetParent(form);
  button->SetBounds(10, 10, 80, 25);
  button->SetCaption(u"probe");
  recorder.watched = button;

  // A hidden form's controls get their windows when it is first shown.
  form->HandleNeeded();
  EXPECT_FALSE(button->HandleAllocated());
  EXPECT_EQ(recorder.events, V{});
  form->Show();
  EXPECT_EQ(recorder.events, V{"created whole"});
  wchar_t text[16] = {};
  GetWindowTextW(button->Handle(), text, 16);
  EXPECT_STREQ(text, L"probe") << "the state is in the window when the observer hears of it";

  // Every way of losing the window is told once, before the window goes.
  recorder.events.clear();
  button->RecreateWnd();
  EXPECT_EQ(recorder.events, (V{"destroying whole", "created whole"}));
  recorder.events.clear();
  DestroyWindow(button->Handle());
  EXPECT_FALSE(button->HandleAllocated());
  EXPECT_EQ(recorder.events, V{"destroying whole"});
  button->HandleNeeded();
  recorder.events.clear();
  DestroyWindow(form->Handle());  // the parent's window, from outside
  EXPECT_EQ(recorder.events, V{"destroying whole"});
  form->Show();
  ASSERT_TRUE(button->HandleAllocated());

  // Freed: the component is about to go, then its window, both while it is whole.
  recorder.events.clear();
  delete button;
  EXPECT_EQ(recorder.events, (V{"freeing whole", "destroying whole"}));
  delete form;
}

// ---- hook chains ----

constexpr UINT kPing = WM_USER + 41;

// A handler (of a hook or a subclass) that writes down the pings it sees and the window's end,
// under a name, does what it is told on a ping, and passes every message on.
template <class Next>
auto Noting(const std::string& name, std::function<void()> onPing = {}) {
  return [name, onPing](TMessage& m, const Next& next) {
    if (m.Msg == kPing) {
      g_log.push_back(name);
      if (onPing) onPing();
    }
    if (m.Msg == WM_NCDESTROY) g_log.push_back(name + " end");
    next(m);
  };
}
const auto Hooking = Noting<TWindowProcHook::Next>;
const auto Watching = Noting<TWindowSubclass::Next>;

TEST(HookChains, HooksOnAControlComeOffInAnyOrderAndEachMessageReachesTheRest) {
  using V = std::vector<std::string>;
  auto* form = new TForm(Application);
  auto* button = new TButton(form);
  button->SetParent(form);
  button->HandleNeeded();
  const auto ping = [&] {
    g_log.clear();
    SendMessageW(button->Handle(), kPing, 0, 0);
    return g_log;
  };
  {
    TWindowProcHook first(button, Hooking("first", {}));
    TWindowProcHook second(button, Hooking("second", {}));
    EXPECT_EQ(ping(), (V{"second", "first"})) << "the newest first";
    first.Remove();  // the older one, out of order
    EXPECT_FALSE(first.Installed());
    EXPECT_TRUE(second.Installed());
    EXPECT_EQ(ping(), V{"second"});
    first.Remove();  // twice: nothing
    first.Install(button, Hooking("first", {}));
    second.Remove();
    EXPECT_EQ(ping(), V{"first"});
    // The control's own handling still runs under the hooks.
    SetWindowTextW(button->Handle(), L"still a button");
    EXPECT_EQ(button->Caption(), u"still a button");
  }
  EXPECT_EQ(ping(), V{}) << "hooks unlink themselves when they go";

  // A hook that removes itself inside its own message passes it on all the same; a hook freed
  // inside its own handler too.
  TWindowProcHook older(button, Hooking("older", {}));
  TWindowProcHook once;
  once.Install(button, Hooking("once", [&] { once.Remove(); }));
  auto freed = std::make_unique<TWindowProcHook>();
  freed->Install(button, Hooking("freed", [&] { freed.reset(); }));
  EXPECT_EQ(ping(), (V{"freed", "once", "older"}));
  EXPECT_EQ(ping(), V{"older"});
  EXPECT_FALSE(once.Installed());

  // A hook outlives its control: it then reports so, and removing it is safe.
  delete form;
  EXPECT_FALSE(older.Installed());
  EXPECT_EQ(older.Control(), nullptr);
  older.Remove();
}

// A window of the test's own class, whose procedure writes down the pings and the end.
LRESULT CALLBACK RawProcedure(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == kPing) g_log.push_back("window");
  if (msg == WM_NCDESTROY) g_log.push_back("window end");
  return DefWindowProcW(window, msg, wParam, lParam);
}

HWND CreateRawWindow() {
  static const ATOM atom = [] {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = RawProcedure;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"QltRawTestWindow";
    return RegisterClassExW(&wc);
  }();
  EXPECT_NE(atom, 0);
  return CreateWindowExW(0, L"QltRawTestWindow", L"raw", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr,
                         GetModuleHandleW(nullptr), nullptr);
}

TEST(HookChains, SubclassesOfARawWindowComeOffInAnyOrderAndGoWithTheWindow) {
  using V = std::vector<std::string>;
  HWND window = CreateRawWindow();
  ASSERT_NE(window, nullptr);
  const auto ping = [&] {
    g_log.clear();
    SendMessageW(window, kPing, 0, 0);
    return g_log;
  };
  TWindowSubclass first(window, Watching("first", {}));
  TWindowSubclass second(window, Watching("second", {}));
  EXPECT_TRUE(first.Attached() && second.Attached());
  EXPECT_EQ(ping(), (V{"second", "first", "window"}));
  first.Detach();
  first.Detach();
  EXPECT_EQ(ping(), (V{"second", "window"}));
  EXPECT_TRUE(first.Attach(window, Watching("first", {})));
  EXPECT_TRUE(first.Attach(window, Watching("first", {})));  // again: still once in the chain
  second.Detach();
  EXPECT_EQ(ping(), (V{"first", "window"}));
  second.Attach(window, Watching("second", {}));

  // Removed, or freed, inside its own message: the message goes on down the chain.
  TWindowSubclass once;
  once.Attach(window, Watching("once", [&] { once.Detach(); }));
  auto freed = std::make_unique<TWindowSubclass>();
  freed->Attach(window, Watching("freed", [&] { freed.reset(); }));
  EXPECT_EQ(ping(), (V{"freed", "once", "second", "first", "window"}));
  EXPECT_EQ(ping(), (V{"second", "first", "window"}));

  // Destroyed with subclasses on: each hears the end, passes it on and lets go of the handle.
  g_log.clear();
  DestroyWindow(window);
  EXPECT_EQ(g_log, (V{"second end", "first end", "window end"}));
  EXPECT_FALSE(first.Attached());
  EXPECT_FALSE(second.Attached());
  first.Detach();
  EXPECT_FALSE(first.Attach(window, Watching("first", {}))) << "the window is gone";
}

TEST(HookChains, TheComboBoxsEditKeepsOtherSubclassesAndItsKeyFilter) {
  using V = std::vector<std::string>;
  auto* form = new TForm(Application);
  form->SetBounds(150, 150, 260, 120);
  auto* combo = new TComboBox(form);
  combo->SetParent(form);
  combo->SetBounds(10, 10, 120, 21);
  int keys = 0;
  combo->OnKeyPress = [&](TObject*, char16_t& key) {
    ++keys;
    if (key == u'x') key = 0;
  };
  form->Show();
  HWND edit = combo->EditHandle();
  ASSERT_NE(edit, nullptr);
  TWindowSubclass skin(edit, Watching("skin", {}));
  SendMessageW(edit, WM_CHAR, u'x', 0);
  SendMessageW(edit, WM_CHAR, u'y', 0);
  EXPECT_EQ(combo->Text(), u"y") << "the key filter still runs under another subclass";
  EXPECT_EQ(keys, 2);

  // The combo box lets go of its edit (a new window) while the other subclass stays to the end.
  g_log.clear();
  combo->RecreateWnd();
  EXPECT_EQ(g_log, V{"skin end"});
  EXPECT_FALSE(skin.Attached());
  combo->SetText(u"");
  skin.Attach(combo->EditHandle(), Watching("skin", {}));
  ASSERT_TRUE(skin.Attached());
  SendMessageW(combo->EditHandle(), WM_CHAR, u'z', 0);
  EXPECT_EQ(keys, 3);
  skin.Detach();  // the other one first, out of order: the combo box's own stays
  SendMessageW(combo->EditHandle(), WM_CHAR, u'x', 0);
  EXPECT_EQ(keys, 4);
  EXPECT_EQ(combo->Text(), u"z");
  delete form;
}

// ---- errors while painting ----

// A control whose painting fails every time, before it has painted anything.
class TBrokenPaint : public TWinControl {
  QLT_CLASS(TBrokenPaint)
 public:
  explicit TBrokenPaint(TComponent* owner) : TWinControl(owner) {}
  int paints = 0;

 protected:
  void WndProc(TMessage& m) override {
    if (m.Msg == WM_PAINT) {
      ++paints;
      throw Exception(u"The picture is broken");
    }
    TWinControl::WndProc(m);
  }
};

const TClassInfo& TBrokenPaint::StaticClass() {
  static const TClassInfo info = ClassBuilder<TBrokenPaint, TWinControl>("TBrokenPaint").Build();
  return info;
}

// A windowless control whose painting fails every time, after its parent began to paint.
class TBrokenLabel : public TGraphicControl {
  QLT_CLASS(TBrokenLabel)
 public:
  explicit TBrokenLabel(TComponent* owner) : TGraphicControl(owner) {}
  int paints = 0;

 protected:
  void Paint(TCanvas*) override {
    ++paints;
    throw Exception(u"The label is broken");
  }
};

const TClassInfo& TBrokenLabel::StaticClass() {
  static const TClassInfo info = ClassBuilder<TBrokenLabel, TGraphicControl>("TBrokenLabel").Build();
  return info;
}

// Pumps while the control is asked to paint again and again; the boxes seen meanwhile.
std::string Texts(const std::vector<MessageBoxWatcher::Box>& boxes) {
  std::string out;
  for (const auto& b : boxes) out += Narrow(std::u16string(b.text.begin(), b.text.end())) + " | ";
  return out;
}

std::vector<MessageBoxWatcher::Box> BoxesWhileRepainting(TControl* control, std::chrono::milliseconds holdOpen) {
  // Each box stays open for a while: a second one would show up beside it.
  MessageBoxWatcher boxes(GetCurrentThreadId(), holdOpen);
  EXPECT_TRUE(PumpUntil([&] { return !boxes.Seen().empty(); }, 5s));
  for (int i = 0; i < 20; ++i) {
    control->Invalidate();  // painted again while the box is open and after
    PumpFor(40ms);
  }
  PumpFor(holdOpen + 200ms);
  return boxes.Seen();
}

TEST(PaintErrors, APaintThatFailsIsValidatedAndToldOnceAfterThePaint) {
  auto* form = new TForm(Application);
  form->SetBounds(200, 160, 300, 200);
  auto* broken = new TBrokenPaint(form);
  broken->SetParent(form);
  broken->SetBounds(10, 10, 200, 100);
  form->Show();
  {
    const auto seen = BoxesWhileRepainting(broken, 600ms);
    ASSERT_EQ(seen.size(), 1u) << Texts(seen);
    EXPECT_EQ(seen[0].text, L"The picture is broken.");
    EXPECT_GT(broken->paints, 5) << "it was asked to paint again, and failed again, untold";
    RECT update{};
    EXPECT_FALSE(GetUpdateRect(broken->Handle(), &update, FALSE)) << "what it was asked to paint is validated";
  }
  delete broken;

  // Failing inside its parent's paint: the parent's paint ends properly (no device context kept).
  auto* label = new TBrokenLabel(form);
  label->SetParent(form);
  label->SetBounds(10, 10, 100, 20);
  {
    const auto seen = BoxesWhileRepainting(label, 300ms);
    ASSERT_EQ(seen.size(), 1u) << Texts(seen);
    EXPECT_EQ(seen[0].text, L"The label is broken.");
    const int gdi = GdiObjectCount();
    for (int i = 0; i < 30; ++i) {
      label->Repaint();
      PumpFor(10ms);
    }
    EXPECT_EQ(GdiObjectCount(), gdi);
  }

  // A frame paint that fails, in a subclass: told once as well.
  {
    MessageBoxWatcher boxes(GetCurrentThreadId(), 300ms);
    TWindowSubclass frame(form->Handle(), [](TMessage& m, const TWindowSubclass::Next& next) {
      next(m);
      if (m.Msg == WM_NCPAINT) throw Exception(u"The frame is broken");
    });
    for (int i = 0; i < 10; ++i) {
      RedrawWindow(form->Handle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
      PumpFor(80ms);
    }
    PumpFor(500ms);
    const auto seen = boxes.Seen();
    ASSERT_EQ(seen.size(), 1u) << Texts(seen);
    EXPECT_EQ(seen[0].text, L"The frame is broken.");
  }
  delete form;
}

// ---- the designed client size ----

// What a skinned frame does: other border widths (11, 29, 5, 22) through WM_NCCALCSIZE.
void SkinFrame(TMessage& m, const TWindowSubclass::Next& next) {
  if (m.Msg != WM_NCCALCSIZE) return next(m);
  RECT* r = m.WParam ? &reinterpret_cast<NCCALCSIZE_PARAMS*>(m.LParam)->rgrc[0] : reinterpret_cast<RECT*>(m.LParam);
  r->left += 11;
  r->top += 29;
  r->right -= 5;
  r->bottom -= 22;
  m.Result = 0;
}

void FrameChanged(HWND window) {
  SetWindowPos(window, nullptr, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  PumpFor(50ms);
}

SIZE ClientSize(HWND window) {
  RECT r{};
  GetClientRect(window, &r);
  return SIZE{r.right, r.bottom};
}

SIZE WindowSize(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  return SIZE{r.right - r.left, r.bottom - r.top};
}

TEST(ClientSize, AFormKeepsItsClientSizeWhenItsFrameChanges) {
  auto* form = NewFormFromText<TFrm_Bind>(Application, kBind);
  form->SetBorderStyle(bsSizeable);
  form->Show();
  const HWND window = form->Handle();
  ASSERT_EQ(ClientSize(window), (SIZE{320, 120}));
  const SIZE standard = WindowSize(window);

  // A skinned frame comes after the form is shown: the window grows around the same client.
  TWindowSubclass skin(window, SkinFrame);
  FrameChanged(window);
  EXPECT_EQ(ClientSize(window), (SIZE{320, 120}));
  EXPECT_EQ(WindowSize(window), (SIZE{320 + 16, 120 + 51}));
  EXPECT_EQ(WindowSizeForClient(window, SIZE{100, 50}), (SIZE{116, 101})) << "the window is asked";
  // The standard frame back: the same client size again.
  skin.Detach();
  FrameChanged(window);
  EXPECT_EQ(ClientSize(window), (SIZE{320, 120}));
  EXPECT_EQ(WindowSize(window), standard);

  // A resize on purpose sets the client size that is kept from then on.
  form->SetBounds(form->Left(), form->Top(), standard.cx + 40, standard.cy + 30);
  EXPECT_EQ(ClientSize(window), (SIZE{360, 150}));
  skin.Attach(window, SkinFrame);
  FrameChanged(window);
  EXPECT_EQ(ClientSize(window), (SIZE{360, 150}));
  EXPECT_EQ(form->ClientWidth(), 360);

  // Maximised, the window keeps the screen's size; restored, the kept client size comes back.
  ShowWindow(window, SW_MAXIMIZE);
  PumpFor(100ms);
  const SIZE maximised = WindowSize(window);
  skin.Detach();
  FrameChanged(window);
  EXPECT_EQ(WindowSize(window), maximised);
  ShowWindow(window, SW_RESTORE);
  PumpFor(100ms);
  EXPECT_EQ(ClientSize(window), (SIZE{360, 150}));
  delete form;
}

// ---- destruction order ----

class TFrm_Destroy : public TForm {
  QLT_CLASS(TFrm_Destroy)
 public:
  explicit TFrm_Destroy(TComponent* owner) : TForm(owner) {}
  struct Part {
    bool alive = true;
    ~Part() {
      alive = false;
      g_log.push_back("member gone");
    }
  };
  Part part;
  void FormDestroy(TObject*) {
    g_log.push_back(std::string("OnDestroy: member ") + (part.alive ? "alive" : "gone") +
                    (HandleAllocated() && IsWindow(Handle()) ? ", window there" : ", no window"));
  }
};

const TClassInfo& TFrm_Destroy::StaticClass() {
  static const TClassInfo info =
      ClassBuilder<TFrm_Destroy, TForm>("TFrm_Destroy").Handler("FormDestroy", &TFrm_Destroy::FormDestroy).Build();
  return info;
}

TEST(Destruction, OnDestroyRunsOnceWhileTheWholeFormExists) {
  auto* form = NewFormFromText<TFrm_Destroy>(Application, "object Frm_Destroy: TFrm_Destroy\n  OnDestroy = FormDestroy\nend\n");
  form->Show();
  g_log.clear();
  delete form;
  EXPECT_EQ(g_log, (std::vector<std::string>{"OnDestroy: member alive, window there", "member gone"}));
}

// ---- the popup menu and the caption ----

int g_menusSeen = 0;

void CALLBACK CloseOpenMenu(HWND, UINT, UINT_PTR, DWORD) {
  HWND open = FindWindowW(L"#32768", nullptr);
  if (open && IsWindowVisible(open)) {
    ++g_menusSeen;
    EndMenu();
  }
}

TEST(ContextMenu, TheCaptionsRightClickOpensTheSystemMenuAndTheClientsThePopupMenu) {
  auto* form = NewFormFromText<TFrm_Bind>(Application, kBind);
  auto* menu = new TPopupMenu(form);
  auto* item = new TMenuItem(form);
  item->SetCaption(u"隐藏窗口");
  menu->Items()->Add(item);
  int popups = 0;
  menu->OnPopup = [&](TObject*) { ++popups; };
  form->SetPopupMenu(menu);
  form->Show();
  SetForegroundWindow(form->Handle());
  ASSERT_TRUE(PumpUntil([&] { return GetForegroundWindow() == form->Handle(); }, 3s));

  // Whatever menu opens is seen and closed from a timer of this thread (its loop runs them).
  g_menusSeen = 0;
  ThreadTimer closer(100, CloseOpenMenu);
  // Press and release go in together: on the caption the default handling waits for the
  // release inside the press.
  const auto rightClick = [](POINT p) {
    MoveMouseTo(p);
    SendMouseInput(MOUSEEVENTF_RIGHTDOWN, p);
    SendMouseInput(MOUSEEVENTF_RIGHTUP, p);
  };
  RECT frame{};
  GetWindowRect(form->Handle(), &frame);
  POINT client{};
  ClientToScreen(form->Handle(), &client);
  const POINT caption{(frame.left + frame.right) / 2, (frame.top + client.y) / 2};
  ASSERT_EQ(SendMessageW(form->Handle(), WM_NCHITTEST, 0, MAKELPARAM(caption.x, caption.y)), HTCAPTION);
  rightClick(caption);
  EXPECT_TRUE(PumpUntil([] { return g_menusSeen > 0; }, 3s)) << "the system menu";
  EXPECT_EQ(popups, 0) << "the form's popup menu stays closed on the caption";

  g_menusSeen = 0;
  rightClick(POINT{client.x + 300, client.y + 100});
  EXPECT_TRUE(PumpUntil([&] { return popups == 1; }, 3s));
  EXPECT_TRUE(PumpUntil([] { return g_menusSeen > 0; }, 3s));

  // A request from the keyboard (no point) opens it too.
  SendMessageW(form->Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(form->Handle()), -1);
  EXPECT_EQ(popups, 2);
  delete form;
}

}  // namespace
}  // namespace qlt
