#include "ui/Controls.h"

#include <algorithm>
#include <cstdint>
#include <map>
#include <unordered_map>
#include <utility>

#include "ui/Menus.h"
#include "ui/SysUtils.h"

namespace qlt {

namespace {

// The framework's windows and their objects. Everything here runs on the user-interface thread.
std::unordered_map<HWND, TWinControl*> g_windows;
TWinControl* g_creating = nullptr;  // bound to the first window that sends a message during creation
std::map<std::u16string, WNDPROC> g_classes;  // registered window class -> default procedure
TControl* g_mouseControl = nullptr;  // the control the mouse is over, for CM_MOUSEENTER/LEAVE
void (*g_mouseControlHook)(TControl*) = nullptr;
int g_nextControlId = 100;

LPCWSTR W(const std::u16string& s) { return reinterpret_cast<LPCWSTR>(s.c_str()); }

HINSTANCE ModuleInstance() { return GetModuleHandleW(nullptr); }

void EnsureCommonControls() {
  static bool done = false;
  if (done) return;
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_STANDARD_CLASSES | ICC_TAB_CLASSES | ICC_UPDOWN_CLASS | ICC_WIN95_CLASSES};
  InitCommonControlsEx(&icc);
  done = true;
}

// Registers the window class of a framework class once; returns the procedure that does the
// default handling (the system class's own for a superclass).
WNDPROC EnsureWindowClass(const TCreateParams& p) {
  const auto it = g_classes.find(p.className);
  if (it != g_classes.end()) return it->second;
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  WNDPROC defProc = DefWindowProcW;
  if (!p.baseClass.empty()) {
    EnsureCommonControls();
    if (!GetClassInfoExW(nullptr, W(p.baseClass), &wc) && !GetClassInfoExW(ModuleInstance(), W(p.baseClass), &wc)) {
      throw EWin32Error(Format(msg::kWindowCreate, {p.baseClass}));
    }
    defProc = wc.lpfnWndProc;
    wc.style &= ~CS_GLOBALCLASS;
  } else {
    wc.style = p.classStyle;
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.hbrBackground = nullptr;  // the control erases with its own colour
  }
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = FrameworkWndProc;
  wc.hInstance = ModuleInstance();
  wc.lpszClassName = W(p.className);
  if (!RegisterClassExW(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
    throw EWin32Error(Format(msg::kWindowCreate, {p.className}));
  }
  g_classes[p.className] = defProc;
  return defProc;
}

LPCWSTR CursorResource(TCursor cursor) {
  switch (cursor) {
    case crArrow: return reinterpret_cast<LPCWSTR>(IDC_ARROW);
    case crCross: return reinterpret_cast<LPCWSTR>(IDC_CROSS);
    case crIBeam: return reinterpret_cast<LPCWSTR>(IDC_IBEAM);
    case crSizeAll: return reinterpret_cast<LPCWSTR>(IDC_SIZEALL);
    case crHourGlass: return reinterpret_cast<LPCWSTR>(IDC_WAIT);
    case crNo: return reinterpret_cast<LPCWSTR>(IDC_NO);
    case crHandPoint: return reinterpret_cast<LPCWSTR>(IDC_HAND);
    default: return nullptr;
  }
}

bool IsFrameworkMessage(UINT msg) { return msg >= CM_BASE && msg < 0xC000; }

void SetMouseControl(TControl* control, HWND window);

// The control under the cursor now: a windowless child at the point, or the framework window.
TControl* ControlUnderCursor(HWND* window) {
  POINT p{};
  GetCursorPos(&p);
  HWND under = WindowFromPoint(p);
  *window = under;
  const auto it = g_windows.find(under);
  if (it == g_windows.end()) return nullptr;
  TWinControl* control = it->second;
  ScreenToClient(under, &p);
  if (TControl* child = control->ControlAtPos(p)) return child;
  return control;
}

// Leaving a window is reported by the system only if it notices; a check while the mouse is over
// a control catches a leave it missed (the pointer jumping out of a window, another program's
// window coming in between).
UINT_PTR g_mouseCheckTimer = 0;

void CALLBACK CheckMouseControl(HWND, UINT, UINT_PTR, DWORD) noexcept {
  try {
    HWND window = nullptr;
    TControl* now = ControlUnderCursor(&window);
    if (now != g_mouseControl) {
      SetMouseControl(now, now ? window : nullptr);
    } else if (!now && g_mouseCheckTimer) {
      KillTimer(nullptr, g_mouseCheckTimer);  // the control it watched is gone
      g_mouseCheckTimer = 0;
    }
  } catch (...) {
    ShowExceptionInHandler();
  }
}

void SetMouseControl(TControl* control, HWND window) {
  if (control == g_mouseControl) return;
  TControl* old = g_mouseControl;
  g_mouseControl = control;
  if (old) old->Perform(CM_MOUSELEAVE, 0, reinterpret_cast<LPARAM>(old));
  if (control && g_mouseControl == control) control->Perform(CM_MOUSEENTER, 0, reinterpret_cast<LPARAM>(control));
  if (g_mouseControlHook) g_mouseControlHook(g_mouseControl);
  if (g_mouseControl && !g_mouseCheckTimer) {
    g_mouseCheckTimer = SetTimer(nullptr, 0, 100, CheckMouseControl);
  } else if (!g_mouseControl && g_mouseCheckTimer) {
    KillTimer(nullptr, g_mouseCheckTimer);
    g_mouseCheckTimer = 0;
  }
  if (window) {
    TRACKMOUSEEVENT tme{sizeof tme, TME_LEAVE, window, 0};
    TrackMouseEvent(&tme);
  }
}

}  // namespace

TControl* MouseControl() { return g_mouseControl; }

void SetMouseControlHook(void (*hook)(TControl*)) { g_mouseControlHook = hook; }

const TEnumInfo& AlignmentInfo() {
  static const TEnumInfo info{{"taLeftJustify", "taRightJustify", "taCenter"}};
  return info;
}

const TIdentMap& CursorIdents() {
  static const TIdentMap map{{{"crDefault", crDefault},
                              {"crArrow", crArrow},
                              {"crCross", crCross},
                              {"crIBeam", crIBeam},
                              {"crSizeAll", crSizeAll},
                              {"crHourGlass", crHourGlass},
                              {"crNo", crNo},
                              {"crHandPoint", crHandPoint}}};
  return map;
}

const TIdentMap& ModalResultIdents() {
  static const TIdentMap map{{{"mrNone", mrNone},
                              {"mrOk", mrOk},
                              {"mrCancel", mrCancel},
                              {"mrAbort", mrAbort},
                              {"mrRetry", mrRetry},
                              {"mrIgnore", mrIgnore},
                              {"mrYes", mrYes},
                              {"mrNo", mrNo}}};
  return map;
}

// ---- the window procedure ----

LRESULT CALLBACK FrameworkWndProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) noexcept {
  TWinControl* control = nullptr;
  if (const auto it = g_windows.find(window); it != g_windows.end()) {
    control = it->second;
  } else if (g_creating) {
    // The first message of a window being created (WM_GETMINMAXINFO or WM_NCCREATE) binds it.
    control = std::exchange(g_creating, nullptr);
    control->handle_ = window;
    g_windows[window] = control;
  }
  if (!control) return DefWindowProcW(window, msg, wParam, lParam);
  TMessage m{msg, wParam, lParam, 0};
  try {
    // The control may be freed by its handler: from here on it is found again by its window.
    control->WindowProc(m);
  } catch (...) {
    ShowExceptionInHandler();
  }
  const auto it = g_windows.find(window);
  if (it != g_windows.end()) {
    TWinControl* still = it->second;
    if (msg == WM_NCDESTROY) {
      still->handle_ = nullptr;
      g_windows.erase(it);
    } else if (still->deleteAfterMessage_) {
      // Cleared first: destroying the window sends it more messages while it is being deleted.
      still->deleteAfterMessage_ = false;
      delete still;
    }
  }
  return m.Result;
}

// ---- TControl ----

const TClassInfo& TControl::StaticClass() {
  static const TClassInfo info =
      ClassBuilder<TControl, TComponent>("TControl")
          .Int("Left", &TControl::Left, &TControl::SetLeft)
          .Int("Top", &TControl::Top, &TControl::SetTop)
          .Int("Width", &TControl::Width, &TControl::SetWidth)
          .Int("Height", &TControl::Height, &TControl::SetHeight)
          .Str("Caption", &TControl::Caption, &TControl::SetCaption)
          .Stored([](TControl& c) { return c.IsCaptionStored(); })
          .Int("Color", &TControl::Color, &TControl::SetColor, &ColorIdents())
          .Default(clBtnFace)
          .Stored([](TControl& c) { return !c.ParentColor(); })
          .Bool("ParentColor", &TControl::ParentColor, &TControl::SetParentColor)
          .Object<TFont>("Font", [](TControl& c) { return c.Font(); })
          .Stored([](TControl& c) { return !c.ParentFont(); })
          .Bool("ParentFont", &TControl::ParentFont, &TControl::SetParentFont)
          .Default(1)
          .Bool("Enabled", &TControl::Enabled, &TControl::SetEnabled)
          .Default(1)
          .Bool("Visible", &TControl::Visible, &TControl::SetVisible)
          .Default(1)
          .Str("Hint", &TControl::Hint, &TControl::SetHint)
          .Bool("ShowHint", &TControl::ShowHint, &TControl::SetShowHint)
          .Stored([](TControl& c) { return !c.ParentShowHint(); })
          .Bool("ParentShowHint", &TControl::ParentShowHint, &TControl::SetParentShowHint)
          .Default(1)
          .Int("Cursor", &TControl::Cursor, &TControl::SetCursor, &CursorIdents())
          .Object<TPopupMenu>("PopupMenu", &TControl::PopupMenu, &TControl::SetPopupMenu)
          .Event("OnClick", &TControl::OnClick)
          .Event("OnDblClick", &TControl::OnDblClick)
          .Build();
  return info;
}

TControl::TControl(TComponent* owner) : TComponent(owner) {
  WindowProc = [this](TMessage& m) { WndProc(m); };
  font_.OnChange = [this] { FontChanged(); };
}

TControl::~TControl() {
  Destroying();
  if (g_mouseControl == this) {
    g_mouseControl = nullptr;
    if (g_mouseControlHook) g_mouseControlHook(nullptr);
  }
  if (parent_) {
    if (parent_->mouseCapture_ == this) parent_->mouseCapture_ = nullptr;
    parent_->RemoveControl(this);
  }
  font_.OnChange = nullptr;
}

void TControl::SetParent(TWinControl* parent) {
  if (parent == parent_) return;
  if (parent == static_cast<TControl*>(this)) throw EConvertError(u"A control cannot be its own parent");
  if (parent_) parent_->RemoveControl(this);
  if (parent) parent->InsertControl(this);
}

void TControl::SetParentComponent(TComponent* parent) {
  if (auto* w = dynamic_cast<TWinControl*>(parent)) SetParent(w);
}

TComponent* TControl::GetParentComponent() const { return parent_; }

void TControl::SetBounds(int32_t left, int32_t top, int32_t width, int32_t height) {
  if (left == left_ && top == top_ && width == width_ && height == height_) return;
  Invalidate();
  left_ = left, top_ = top, width_ = std::max(width, 0), height_ = std::max(height, 0);
  Invalidate();
}

std::u16string TControl::Text() const { return text_; }

void TControl::SetText(const std::u16string& text) {
  if (text == Text()) return;
  text_ = text;
  TextChanged();
  Perform(CM_TEXTCHANGED);
  Invalidate();
}

void TControl::SetColor(TColor color) {
  parentColor_ = false;
  if (color == color_) return;
  color_ = color;
  ColorChanged();
}

void TControl::SetParentColor(bool value) {
  parentColor_ = value;
  if (value) ParentColorChanged();
}

void TControl::ParentColorChanged() {
  if (!parentColor_ || !parent_) return;
  if (color_ != parent_->Color()) {
    color_ = parent_->Color();
    ColorChanged();
  }
}

void TControl::ColorChanged() {
  Perform(CM_COLORCHANGED);
  Invalidate();
}

void TControl::SetParentFont(bool value) {
  parentFont_ = value;
  if (value) ParentFontChanged();
}

void TControl::ParentFontChanged() {
  if (!parentFont_ || !parent_) return;
  applyingParentFont_ = true;
  font_.Assign(*parent_->Font());
  applyingParentFont_ = false;
}

void TControl::FontChanged() {
  if (!applyingParentFont_) parentFont_ = false;
  Perform(CM_FONTCHANGED);
  Invalidate();
}

void TControl::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  Perform(CM_ENABLEDCHANGED);
  Invalidate();
}

void TControl::SetVisible(bool visible) {
  if (visible == visible_) return;
  if (!visible) Invalidate();
  visible_ = visible;
  Perform(CM_VISIBLECHANGED, visible);
  if (visible) Invalidate();
}

bool TControl::Showing() const { return visible_ && parent_ && parent_->Showing(); }

bool TControl::ShowHint() const {
  if (parentShowHint_ && parent_) return parent_->ShowHint();
  return showHint_;
}

void TControl::SetShowHint(bool show) {
  showHint_ = show;
  parentShowHint_ = false;
}

void TControl::SetPopupMenu(TPopupMenu* menu) {
  popupMenu_ = menu;
  if (menu) menu->FreeNotification(this);
}

void TControl::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation == TOperation::opRemove && component == popupMenu_) popupMenu_ = nullptr;
}

void TControl::Loaded() {
  TComponent::Loaded();
  if (parentFont_) ParentFontChanged();
  if (parentColor_) ParentColorChanged();
}

LRESULT TControl::Perform(UINT msg, WPARAM wParam, LPARAM lParam) {
  TMessage m{msg, wParam, lParam, 0};
  if (WindowProc) WindowProc(m);
  return m.Result;
}

void TControl::Invalidate() {
  if (parent_ && parent_->HandleAllocated() && visible_) {
    const TRect r = BoundsRect();
    InvalidateRect(parent_->Handle(), &r, TRUE);
  }
}

void TControl::Update() {
  if (parent_ && parent_->HandleAllocated()) UpdateWindow(parent_->Handle());
}

TPoint TControl::ClientToScreen(TPoint p) const {
  if (!parent_) return p;
  TPoint q{p.x + left_, p.y + top_};
  return parent_->ClientToScreen(q);
}

TPoint TControl::ScreenToClient(TPoint p) const {
  if (!parent_) return p;
  TPoint q = parent_->ScreenToClient(p);
  return TPoint{q.x - left_, q.y - top_};
}

void TControl::Click() {
  if (OnClick) OnClick(this);
}

void TControl::DblClick() {
  if (OnDblClick) OnDblClick(this);
}

void TControl::MouseClickMessage(TMessage& m) {
  switch (m.Msg) {
    case WM_LBUTTONDOWN:
      if (clickEvents_) clicked_ = true;
      break;
    case WM_LBUTTONUP:
      if (clicked_) {
        clicked_ = false;
        const int x = static_cast<short>(LOWORD(m.LParam)), y = static_cast<short>(HIWORD(m.LParam));
        if (x >= 0 && y >= 0 && x < ClientWidth() && y < ClientHeight()) Click();
      }
      break;
    case WM_LBUTTONDBLCLK:
      if (doubleClicks_) DblClick();
      break;
  }
}

void TControl::WndProc(TMessage& m) {
  if (m.Msg >= WM_MOUSEFIRST && m.Msg <= WM_MOUSELAST && !enabled_) return;
  DefaultHandler(m);
  MouseClickMessage(m);
}

// ---- TGraphicControl ----

const TClassInfo& TGraphicControl::StaticClass() {
  static const TClassInfo info = ClassBuilder<TGraphicControl, TControl>("TGraphicControl").Build();
  return info;
}

TGraphicControl::TGraphicControl(TComponent* owner) : TControl(owner) {}

void TGraphicControl::WndProc(TMessage& m) {
  if (m.Msg == WM_PAINT && m.WParam) {
    canvas_.SetHandle(reinterpret_cast<HDC>(m.WParam));
    canvas_.Font()->Assign(*Font());
    try {
      Paint(&canvas_);
    } catch (...) {
      canvas_.SetHandle(nullptr);
      throw;
    }
    canvas_.SetHandle(nullptr);
    return;
  }
  TControl::WndProc(m);
}

// ---- TWinControl ----

const TClassInfo& TWinControl::StaticClass() {
  static const TClassInfo info = ClassBuilder<TWinControl, TControl>("TWinControl")
                                     .Int("TabOrder", &TWinControl::TabOrder, &TWinControl::SetTabOrder)
                                     .Default(-1)
                                     .Bool("TabStop", &TWinControl::TabStop, &TWinControl::SetTabStop)
                                     .Bool("DoubleBuffered", &TWinControl::DoubleBuffered, &TWinControl::SetDoubleBuffered)
                                     .Event("OnKeyPress", &TWinControl::OnKeyPress)
                                     .Event("OnEnter", &TWinControl::OnEnter)
                                     .Event("OnExit", &TWinControl::OnExit)
                                     .Build();
  return info;
}

TWinControl::TWinControl(TComponent* owner) : TControl(owner), controlId_(g_nextControlId++) {
  if (g_nextControlId > 0x7FFF) g_nextControlId = 100;
  brush_.SetColor(Color());
}

TWinControl::~TWinControl() {
  Destroying();
  // Children first (their windows go with them), then this window.
  while (!controls_.empty()) delete controls_.back();
  DestroyHandle();
}

TWinControl* TWinControl::FindControl(HWND window) {
  const auto it = g_windows.find(window);
  return it == g_windows.end() ? nullptr : it->second;
}

void TWinControl::InsertControl(TControl* control) {
  controls_.push_back(control);
  control->parent_ = this;
  if (auto* w = dynamic_cast<TWinControl*>(control)) {
    tabList_.push_back(w);
    if (HandleAllocated()) {
      if (w->HandleAllocated()) {
        ::SetParent(w->handle_, handle_);
      } else if (!InState(csLoading) && !DefersChildHandles()) {
        w->HandleNeeded();
      }
      UpdateTabOrderOfWindows();
    }
  }
  control->ParentFontChanged();
  control->ParentColorChanged();
  control->Invalidate();
}

void TWinControl::RemoveControl(TControl* control) {
  control->Invalidate();
  controls_.erase(std::remove(controls_.begin(), controls_.end(), control), controls_.end());
  // By address: a control being destroyed is no longer a TWinControl to dynamic_cast (its window
  // is gone by then).
  tabList_.erase(std::remove_if(tabList_.begin(), tabList_.end(),
                                [control](TWinControl* w) { return static_cast<TControl*>(w) == control; }),
                 tabList_.end());
  if (!control->InState(csDestroying)) {
    if (auto* w = dynamic_cast<TWinControl*>(control)) w->DestroyHandle();
  }
  if (mouseCapture_ == control) mouseCapture_ = nullptr;
  control->parent_ = nullptr;
}

TControl* TWinControl::ControlAtPos(TPoint p) const {
  for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
    TControl* c = *it;
    if (dynamic_cast<TWinControl*>(c) || !c->Visible()) continue;
    if (p.x >= c->Left() && p.y >= c->Top() && p.x < c->Left() + c->Width() && p.y < c->Top() + c->Height()) return c;
  }
  return nullptr;
}

std::vector<TComponent*> TWinControl::GetChildren(TComponent* root) const {
  std::vector<TComponent*> out;
  for (TControl* c : controls_) {
    if (c->Owner() == root) out.push_back(c);
  }
  return out;
}

int32_t TWinControl::TabOrder() const {
  if (!Parent()) return -1;
  const auto& list = Parent()->tabList_;
  const auto it = std::find(list.begin(), list.end(), this);
  return it == list.end() ? -1 : static_cast<int32_t>(it - list.begin());
}

void TWinControl::SetTabOrder(int32_t order) {
  if (InState(csReading)) {
    tabOrderRead_ = order;
    return;
  }
  TWinControl* parent = Parent();
  if (!parent || order < 0) return;
  auto& list = parent->tabList_;
  list.erase(std::remove(list.begin(), list.end(), this), list.end());
  list.insert(list.begin() + std::min<size_t>(static_cast<size_t>(order), list.size()), this);
  parent->UpdateTabOrderOfWindows();
}

void TWinControl::Loaded() {
  TControl::Loaded();
  // The tab orders of a description refer to the finished list of siblings.
  std::stable_sort(tabList_.begin(), tabList_.end(), [](const TWinControl* a, const TWinControl* b) {
    const auto key = [](const TWinControl* w) { return w->tabOrderRead_ >= 0 ? w->tabOrderRead_ : INT32_MAX; };
    return key(a) < key(b);
  });
  for (TWinControl* w : tabList_) w->tabOrderRead_ = -1;
  UpdateTabOrderOfWindows();
}

void TWinControl::SetTabStop(bool value) {
  if (value == tabStop_) return;
  tabStop_ = value;
  if (handle_) {
    const LONG_PTR style = GetWindowLongPtrW(handle_, GWL_STYLE);
    SetWindowLongPtrW(handle_, GWL_STYLE, value ? (style | WS_TABSTOP) : (style & ~WS_TABSTOP));
  }
}

void TWinControl::UpdateTabOrderOfWindows() {
  // The dialog manager moves through the tab order along the Z order of the child windows.
  HWND after = HWND_TOP;
  for (TWinControl* w : tabList_) {
    if (!w->handle_) continue;
    SetWindowPos(w->handle_, after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
    after = w->handle_;
  }
}

bool TWinControl::Focused() const { return handle_ && GetFocus() == handle_; }

bool TWinControl::CanFocus() const {
  for (const TControl* c = this; c; c = c->Parent()) {
    if (!c->Visible() || !c->Enabled()) return false;
  }
  return true;
}

void TWinControl::SetFocus() { ::SetFocus(Handle()); }

HWND TWinControl::Handle() {
  if (!handle_) CreateHandle();
  return handle_;
}

void TWinControl::CreateParams(TCreateParams& p) {
  p.caption = text_;
  p.style = WS_CHILD | WS_CLIPSIBLINGS;
  if (Visible()) p.style |= WS_VISIBLE;
  if (!Enabled()) p.style |= WS_DISABLED;
  if (tabStop_) p.style |= WS_TABSTOP;
  p.x = left_, p.y = top_, p.width = width_, p.height = height_;
  p.className = Widen(ClassName());
}

void TWinControl::CreateHandle() {
  if (handle_) return;
  TWinControl* parent = Parent();
  if (parent && !parent->HandleAllocated()) {
    parent->HandleNeeded();  // creates this window too, unless the parent defers its children
    if (handle_) return;
  }
  TCreateParams p;
  CreateParams(p);
  if (p.style & WS_CHILD) {
    if (!parent) throw EWin32Error(u"Control '" + Name() + u"' has no parent window");
    p.wndParent = parent->handle_;
  }
  defWndProc_ = EnsureWindowClass(p);
  struct Creating {
    TWinControl* self;
    explicit Creating(TWinControl* s) : self(s) {
      self->creatingHandle_ = true;
      g_creating = s;
    }
    ~Creating() {
      self->creatingHandle_ = false;
      if (g_creating == self) g_creating = nullptr;
    }
  } creating(this);
  HMENU id = (p.style & WS_CHILD) ? reinterpret_cast<HMENU>(static_cast<UINT_PTR>(controlId_)) : nullptr;
  HWND window = CreateWindowExW(p.exStyle, W(p.className), W(p.caption), p.style, p.x, p.y, p.width, p.height,
                                p.wndParent, id, ModuleInstance(), this);
  if (!window) throw EWin32Error(Format(msg::kWindowCreate, {Widen(ClassName()) + u" " + Name()}));
  if (!handle_) {
    handle_ = window;
    g_windows[window] = this;
  }
  SendMessageW(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(Font()->Handle()), FALSE);
  CreateWnd();
  if (!DefersChildHandles()) CreateChildHandles();
  // A child asked for alone (its parent deferring the others) takes its place in the tab order.
  if (parent && !parent->creatingChildren_) parent->UpdateTabOrderOfWindows();
}

void TWinControl::CreateChildHandles() {
  if (!handle_) return;
  struct Creating {
    bool& flag;
    bool saved;
    ~Creating() { flag = saved; }
  } creating{creatingChildren_, std::exchange(creatingChildren_, true)};
  bool created = false;
  for (size_t i = 0; i < tabList_.size(); ++i) {
    if (tabList_[i]->handle_) continue;
    tabList_[i]->CreateHandle();
    created = true;
  }
  if (created) UpdateTabOrderOfWindows();
}

void TWinControl::DestroyHandle() {
  if (!handle_) return;
  text_ = Text();
  for (TWinControl* w : tabList_) w->DestroyHandle();
  DestroyWnd();
  HWND window = handle_;
  DestroyWindow(window);  // WM_NCDESTROY unbinds the object
  if (handle_ == window) {
    g_windows.erase(window);
    handle_ = nullptr;
  }
}

void TWinControl::RecreateWnd() {
  if (!handle_) return;
  DestroyHandle();
  CreateHandle();
}

std::u16string TWinControl::Text() const {
  if (!handle_) return text_;
  const int n = GetWindowTextLengthW(handle_);
  std::u16string text(static_cast<size_t>(n) + 1, u'\0');
  const int got = GetWindowTextW(handle_, reinterpret_cast<LPWSTR>(text.data()), n + 1);
  text.resize(static_cast<size_t>(std::max(got, 0)));
  return text;
}

void TWinControl::SetText(const std::u16string& text) {
  if (text == Text()) return;
  text_ = text;
  if (handle_) SetWindowTextW(handle_, W(text));
  TextChanged();
  Perform(CM_TEXTCHANGED);
}

int32_t TWinControl::ClientWidth() const {
  if (!handle_) return width_;
  RECT r{};
  GetClientRect(handle_, &r);
  return r.right;
}

int32_t TWinControl::ClientHeight() const {
  if (!handle_) return height_;
  RECT r{};
  GetClientRect(handle_, &r);
  return r.bottom;
}

void TWinControl::SetBounds(int32_t left, int32_t top, int32_t width, int32_t height) {
  left_ = left, top_ = top, width_ = std::max(width, 0), height_ = std::max(height, 0);
  if (handle_) SetWindowPos(handle_, nullptr, left_, top_, width_, height_, SWP_NOZORDER | SWP_NOACTIVATE);
}

void TWinControl::SetEnabled(bool enabled) {
  if (enabled == Enabled()) return;
  TControl::SetEnabled(enabled);
  if (handle_) EnableWindow(handle_, enabled);
}

void TWinControl::SetVisible(bool visible) {
  if (visible == Visible()) return;
  TControl::SetVisible(visible);
  if (handle_) ShowWindow(handle_, visible ? SW_SHOWNOACTIVATE : SW_HIDE);
}

bool TWinControl::Showing() const {
  if (!Visible()) return false;
  if (Parent()) return Parent()->Showing();
  return handle_ && IsWindowVisible(handle_);
}

void TWinControl::Invalidate() {
  if (handle_) InvalidateRect(handle_, nullptr, TRUE);
}

TPoint TWinControl::ClientToScreen(TPoint p) const {
  if (!handle_) return TControl::ClientToScreen(p);
  ::ClientToScreen(handle_, &p);
  return p;
}

TPoint TWinControl::ScreenToClient(TPoint p) const {
  if (!handle_) return TControl::ScreenToClient(p);
  ::ScreenToClient(handle_, &p);
  return p;
}

void TWinControl::Update() {
  if (handle_) UpdateWindow(handle_);
}

void TWinControl::FontChanged() {
  TControl::FontChanged();
  if (handle_) SendMessageW(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(Font()->Handle()), TRUE);
  for (TControl* c : controls_) c->ParentFontChanged();
}

void TWinControl::ColorChanged() {
  brush_.SetColor(Color());
  TControl::ColorChanged();
  for (TControl* c : controls_) c->ParentColorChanged();
}

void TWinControl::KeyPress(char16_t& key) {
  if (OnKeyPress) OnKeyPress(this, key);
}

void TWinControl::DefaultHandler(TMessage& m) {
  if (!handle_ || IsFrameworkMessage(m.Msg)) return;
  m.Result = CallWindowProcW(defWndProc_, handle_, m.Msg, m.WParam, m.LParam);

}

void TWinControl::PaintControls(HDC dc) {
  for (TControl* c : controls_) {
    if (dynamic_cast<TWinControl*>(c) || !c->Visible()) continue;
    const int saved = SaveDC(dc);
    POINT origin{};
    OffsetViewportOrgEx(dc, c->Left(), c->Top(), &origin);
    IntersectClipRect(dc, 0, 0, c->Width(), c->Height());
    c->Perform(WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
    RestoreDC(dc, saved);
  }
}

void TWinControl::PaintHandler(TMessage& m) {
  PAINTSTRUCT ps{};
  HDC dc = m.WParam ? reinterpret_cast<HDC>(m.WParam) : BeginPaint(handle_, &ps);
  const int saved = SaveDC(dc);
  TMessage own{WM_PAINT, reinterpret_cast<WPARAM>(dc), 0, 0};
  DefaultHandler(own);
  RestoreDC(dc, saved);
  PaintControls(dc);
  if (!m.WParam) EndPaint(handle_, &ps);
}

void TWinControl::PaintBuffered(TMessage& m) {
  PAINTSTRUCT ps{};
  HDC dc = BeginPaint(handle_, &ps);
  RECT client{};
  GetClientRect(handle_, &client);
  UniqueMemoryDc memory(CreateCompatibleDC(dc));
  UniqueBitmap bitmap(CreateCompatibleBitmap(dc, std::max<int>(client.right, 1), std::max<int>(client.bottom, 1)));
  {
    SelectedObject selected(memory.Get(), bitmap.Get());
    // The control paints into the bitmap through its own WindowProc, so whoever hooks it paints
    // there as well.
    Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(memory.Get()), reinterpret_cast<LPARAM>(memory.Get()));
    Perform(WM_PAINT, reinterpret_cast<WPARAM>(memory.Get()), 0);
    BitBlt(dc, 0, 0, client.right, client.bottom, memory.Get(), 0, 0, SRCCOPY);
  }
  EndPaint(handle_, &ps);
  m.Result = 0;
}

void TWinControl::ReflectNotification(TMessage& m, HWND child) {
  TWinControl* control = FindControl(child);
  if (control && control != this) {
    m.Result = control->Perform(CN_BASE + m.Msg, m.WParam, m.LParam);
  } else {
    DefaultHandler(m);
  }
}

void TWinControl::TrackMouse(TMessage& m) {
  const TPoint p{static_cast<short>(LOWORD(m.LParam)), static_cast<short>(HIWORD(m.LParam))};
  TControl* target = mouseCapture_ ? mouseCapture_ : ControlAtPos(p);
  SetMouseControl(target ? target : this, handle_);
}

void TWinControl::WndProc(TMessage& m) {
  switch (m.Msg) {
    case WM_PAINT: {
      if (doubleBuffered_ && !m.WParam && handle_) return PaintBuffered(m);
      const bool windowless = std::any_of(controls_.begin(), controls_.end(), [](TControl* c) {
        return c->Visible() && !dynamic_cast<TWinControl*>(c);
      });
      if (windowless) return PaintHandler(m);
      break;
    }
    case WM_ERASEBKGND:
      if (doubleBuffered_ && m.WParam != static_cast<WPARAM>(m.LParam)) {
        m.Result = 1;  // erased in the bitmap when painting
        return;
      }
      if (defWndProc_ == DefWindowProcW) {
        RECT r{};
        GetClientRect(handle_, &r);
        FillRect(reinterpret_cast<HDC>(m.WParam), &r, brush_.Handle());
        m.Result = 1;
        return;
      }
      break;
    case WM_COMMAND:
      if (m.LParam) return ReflectNotification(m, reinterpret_cast<HWND>(m.LParam));
      break;
    case WM_NOTIFY:
      return ReflectNotification(m, reinterpret_cast<NMHDR*>(m.LParam)->hwndFrom);
    case WM_HSCROLL:
    case WM_VSCROLL:
      if (m.LParam) return ReflectNotification(m, reinterpret_cast<HWND>(m.LParam));
      break;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSTATIC:
      return ReflectNotification(m, reinterpret_cast<HWND>(m.LParam));
    case WM_DRAWITEM: {
      const auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(m.LParam);
      if (dis->CtlType != ODT_MENU) return ReflectNotification(m, dis->hwndItem);
      break;
    }
    case WM_MEASUREITEM: {
      const auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(m.LParam);
      if (mis->CtlType != ODT_MENU) {
        for (TWinControl* w : tabList_) {
          if (w->controlId_ == static_cast<int>(mis->CtlID)) return ReflectNotification(m, w->handle_);
        }
      }
      break;
    }
    case CN_CTLCOLOREDIT:
    case CN_CTLCOLORLISTBOX:
    case CN_CTLCOLORBTN:
    case CN_CTLCOLORSTATIC: {
      HDC dc = reinterpret_cast<HDC>(m.WParam);
      SetTextColor(dc, ColorToRGB(Font()->Color()));
      SetBkColor(dc, ColorToRGB(Color()));
      m.Result = reinterpret_cast<LRESULT>(brush_.Handle());
      return;
    }
    case WM_SETFOCUS:
      DefaultHandler(m);
      Perform(CM_ENTER);
      if (OnEnter) OnEnter(this);
      return;
    case WM_KILLFOCUS:
      DefaultHandler(m);
      Perform(CM_EXIT);
      if (OnExit) OnExit(this);
      return;
    case WM_CHAR: {
      auto key = static_cast<char16_t>(m.WParam);
      KeyPress(key);
      if (key == 0) return;
      m.WParam = key;
      break;
    }
    case WM_SETCURSOR:
      if (reinterpret_cast<HWND>(m.WParam) == handle_ && LOWORD(m.LParam) == HTCLIENT) {
        POINT p{};
        GetCursorPos(&p);
        ::ScreenToClient(handle_, &p);
        TControl* target = ControlAtPos(p);
        TCursor cursor = target && target->Cursor() != crDefault ? target->Cursor() : Cursor();
        if (LPCWSTR res = CursorResource(cursor)) {
          ::SetCursor(LoadCursorW(nullptr, res));
          m.Result = TRUE;
          return;
        }
      }
      break;
    case WM_MOUSEMOVE:
      TrackMouse(m);
      [[fallthrough]];
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP: {
      const TPoint p{static_cast<short>(LOWORD(m.LParam)), static_cast<short>(HIWORD(m.LParam))};
      TControl* target = mouseCapture_ ? mouseCapture_ : ControlAtPos(p);
      if (target && target->Enabled()) {
        if (m.Msg == WM_LBUTTONDOWN || m.Msg == WM_LBUTTONDBLCLK) {
          mouseCapture_ = target;
          SetCapture(handle_);
        }
        const LPARAM local = MAKELPARAM(p.x - target->Left(), p.y - target->Top());
        m.Result = target->Perform(m.Msg, m.WParam, local);
        if (m.Msg == WM_LBUTTONUP && mouseCapture_) {
          mouseCapture_ = nullptr;
          if (GetCapture() == handle_) ReleaseCapture();
        }
        return;
      }
      if (target) return;  // a disabled windowless control swallows its clicks
      break;
    }
    case WM_MOUSELEAVE:
      if (g_mouseControl && (g_mouseControl == this || g_mouseControl->parent_ == this)) {
        if (g_mouseControl == this || !dynamic_cast<TWinControl*>(g_mouseControl)) SetMouseControl(nullptr, nullptr);
      }
      break;
    case WM_CONTEXTMENU: {
      TPoint p{static_cast<short>(LOWORD(m.LParam)), static_cast<short>(HIWORD(m.LParam))};
      const bool keyboard = p.x == -1 && p.y == -1;
      TControl* target = this;
      if (!keyboard) {
        TPoint local = p;
        ::ScreenToClient(handle_, &local);
        if (TControl* c = ControlAtPos(local); c && c->PopupMenu()) target = c;
      } else {
        p = ClientToScreen(TPoint{0, 0});
      }
      if (TPopupMenu* menu = target->PopupMenu(); menu && menu->AutoPopup()) {
        menu->SetPopupComponent(target);
        menu->Popup(p.x, p.y);
        return;
      }
      break;
    }
    case CM_DIALOGCHAR:
      for (TControl* c : controls_) {
        if (c->Visible() && c->Enabled() && c->Perform(CM_DIALOGCHAR, m.WParam, m.LParam)) {
          m.Result = 1;
          return;
        }
      }
      break;
    case WM_WINDOWPOSCHANGED: {
      const auto* wp = reinterpret_cast<WINDOWPOS*>(m.LParam);
      if (!(wp->flags & SWP_NOMOVE)) left_ = wp->x, top_ = wp->y;
      if (!(wp->flags & SWP_NOSIZE)) width_ = wp->cx, height_ = wp->cy;
      break;
    }
  }
  TControl::WndProc(m);
}

}  // namespace qlt
