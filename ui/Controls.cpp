#include "ui/Controls.h"

#include <commctrl.h>

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

// The objects whose windows are being created on this thread, innermost last: a window created
// while another one is (from a CBT hook, or a control made in WM_CREATE) stacks on top of it.
struct Creation {
  TWinControl* control;
  ATOM windowClass;
};
thread_local std::vector<Creation> t_creating;

// Registered window classes: by name, and the procedure that does the default handling of each
// (the system class's own for a superclass) by class atom.
struct WindowClass {
  ATOM atom;
  WNDPROC defProc;
};
std::map<std::u16string, WindowClass> g_classes;
std::unordered_map<ATOM, WNDPROC> g_baseProcs;

ATOM ClassAtomOf(HWND window) { return static_cast<ATOM>(GetClassLongW(window, GCW_ATOM)); }

WNDPROC BaseProcedureOf(HWND window) {
  const auto it = g_baseProcs.find(ClassAtomOf(window));
  return it == g_baseProcs.end() ? DefWindowProcW : it->second;
}

thread_local int t_paintDepth = 0;

bool IsPaintMessage(UINT msg) {
  switch (msg) {
    case WM_PAINT:
    case WM_NCPAINT:
    case WM_ERASEBKGND:
    case WM_PRINT:
    case WM_PRINTCLIENT:
    case WM_DRAWITEM:
      return true;
    default:
      return false;
  }
}

// Marks the handling of a paint message on this thread (errors wait until it is over).
class PaintMessageScope {
 public:
  explicit PaintMessageScope(UINT msg) : painting_(IsPaintMessage(msg)) {
    if (painting_) ++t_paintDepth;
  }
  ~PaintMessageScope() {
    if (painting_) --t_paintDepth;
  }
  PaintMessageScope(const PaintMessageScope&) = delete;
  PaintMessageScope& operator=(const PaintMessageScope&) = delete;

 private:
  bool painting_;
};

// BeginPaint / EndPaint for a scope (EndPaint also when painting raises), or the DC a paint
// message brought.
class PaintDc {
 public:
  PaintDc(HWND window, WPARAM given)
      : window_(given ? nullptr : window), dc_(given ? reinterpret_cast<HDC>(given) : BeginPaint(window, &ps_)) {}
  ~PaintDc() {
    if (window_) EndPaint(window_, &ps_);
  }
  PaintDc(const PaintDc&) = delete;
  PaintDc& operator=(const PaintDc&) = delete;
  HDC Get() const { return dc_; }

 private:
  PAINTSTRUCT ps_{};
  HWND window_;
  HDC dc_;
};

// SaveDC / RestoreDC for a scope.
class SavedDcState {
 public:
  explicit SavedDcState(HDC dc) : dc_(dc), saved_(SaveDC(dc)) {}
  ~SavedDcState() { RestoreDC(dc_, saved_); }
  SavedDcState(const SavedDcState&) = delete;
  SavedDcState& operator=(const SavedDcState&) = delete;

 private:
  HDC dc_;
  int saved_;
};

// A handler raised an exception. A paint that failed is done all the same: what it was asked to
// paint is validated, or the window would ask again at once (and again under the error box). The
// frame needs nothing: the system takes it off the update region when it sends WM_NCPAINT.
void HandlerFailed(HWND window, UINT msg) noexcept {
  if (msg == WM_PAINT) ValidateRect(window, nullptr);
  ShowExceptionInHandler();
}
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
  if (it != g_classes.end()) return it->second.defProc;
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
  ATOM atom = RegisterClassExW(&wc);
  if (!atom && GetLastError() == ERROR_CLASS_ALREADY_EXISTS) {
    WNDCLASSEXW existing{};
    existing.cbSize = sizeof existing;
    atom = static_cast<ATOM>(GetClassInfoExW(ModuleInstance(), W(p.className), &existing));
  }
  if (!atom) throw EWin32Error(Format(msg::kWindowCreate, {p.className}));
  g_classes[p.className] = WindowClass{atom, defProc};
  g_baseProcs[atom] = defProc;
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

bool HandlingPaintMessage() { return t_paintDepth > 0; }

TWinControl* TWinControl::ObjectOfWindow(HWND window, UINT msg, LPARAM lParam) {
  const void* announced = nullptr;
  if (msg == WM_NCCREATE) {
    const auto* cs = reinterpret_cast<const CREATESTRUCTW*>(lParam);
    announced = cs->lpCreateParams;
    // An MDI child is made by its MDI client, which passes its own record: the object is in it.
    if ((cs->dwExStyle & WS_EX_MDICHILD) && announced) {
      announced = reinterpret_cast<const void*>(reinterpret_cast<const MDICREATESTRUCTW*>(announced)->lParam);
    }
  }
  if (const auto it = g_windows.find(window); it != g_windows.end()) {
    TWinControl* bound = it->second;
    if (msg != WM_NCCREATE || announced == static_cast<const void*>(bound)) return bound;
    // Bound by a guess from an earlier message, and WM_NCCREATE names another object (or none):
    // the guess was wrong.
    g_windows.erase(it);
    bound->handle_ = nullptr;
  }
  if (t_creating.empty()) return nullptr;
  TWinControl* found = nullptr;
  if (msg == WM_NCCREATE) {
    for (const Creation& c : t_creating) {
      if (static_cast<const void*>(c.control) == announced) found = c.control;
    }
    // A guess that gave the object another window is undone.
    if (found && found->handle_ && found->handle_ != window) g_windows.erase(found->handle_);
  } else if (msg == WM_GETMINMAXINFO) {
    // The one message before WM_NCCREATE (a top-level window's): taken to be the innermost
    // creation's when the window is of its class, which WM_NCCREATE then confirms or undoes.
    const Creation& innermost = t_creating.back();
    if (!innermost.control->handle_ && innermost.windowClass == ClassAtomOf(window)) found = innermost.control;
  }
  if (found) found->Bind(window);
  return found;
}

void TWinControl::Bind(HWND window) {
  handle_ = window;
  destroyingAnnounced_ = false;
  g_windows[window] = this;
}

LRESULT CALLBACK FrameworkWndProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) noexcept {
  TWinControl* control = TWinControl::ObjectOfWindow(window, msg, lParam);
  if (!control) return CallWindowProcW(BaseProcedureOf(window), window, msg, wParam, lParam);
  TMessage m{msg, wParam, lParam, 0};
  {
    PaintMessageScope paint(msg);
    try {
      if (msg == WM_DESTROY) control->WindowDestroying();
      // The control may be freed by its handler: from here on it is found again by its window.
      control->WindowProc(m);
    } catch (...) {
      HandlerFailed(window, msg);
    }
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

// ---- hooks ----

// One hook in a control's chain. The chain holds the nodes (newest first); a node taken out keeps
// its link to the next one, so a message it is passing on still reaches the rest of the chain.
struct WindowProcHookNode {
  std::shared_ptr<TControl*> owner;  // *owner is the control, nullptr once it is gone
  TWindowProcHook::Handler handler;
  std::shared_ptr<WindowProcHookNode> next;
  WindowProcHookNode* previous = nullptr;
  bool linked = false;

  // Runs the message through the first linked node from `node` on, then the control's own
  // handling. The node is held for the call, whatever its handler does to the chain.
  static void Run(std::shared_ptr<WindowProcHookNode> node, TControl* control, TMessage& m) {
    while (node && !node->linked) node = node->next;
    if (!node) {
      control->WndProc(m);
      return;
    }
    node->handler(m, TWindowProcHook::Next(node.get()));
  }
};

void TWindowProcHook::Next::operator()(TMessage& message) const {
  TControl* control = *node_->owner;
  if (control) WindowProcHookNode::Run(node_->next, control, message);
}

TWindowProcHook& TWindowProcHook::operator=(TWindowProcHook&& other) noexcept {
  if (this != &other) {
    Remove();
    node_ = std::move(other.node_);
  }
  return *this;
}

void TWindowProcHook::Install(TControl* control, Handler handler) {
  Remove();
  if (!control || !handler) return;
  auto node = std::make_shared<WindowProcHookNode>();
  node->owner = control->self_;
  node->handler = std::move(handler);
  node->next = control->hooks_;
  if (node->next) node->next->previous = node.get();
  node->linked = true;
  control->hooks_ = node;
  node_ = std::move(node);
}

void TWindowProcHook::Remove() {
  if (!node_) return;
  const std::shared_ptr<WindowProcHookNode> node = std::move(node_);
  TControl* control = *node->owner;
  if (!node->linked || !control) return;
  node->linked = false;
  if (node->previous) {
    node->previous->next = node->next;
  } else {
    control->hooks_ = node->next;
  }
  if (node->next) node->next->previous = node->previous;
  node->previous = nullptr;
}

bool TWindowProcHook::Installed() const { return node_ && node_->linked && *node_->owner; }

TControl* TWindowProcHook::Control() const { return Installed() ? *node_->owner : nullptr; }

void TControl::RunHooks(TMessage& m) { WindowProcHookNode::Run(hooks_, this, m); }

// The state of a window subclass, shared by the object and the system's subclass entry. It is
// freed by whichever lets go last: the object, or the subclass procedure still on the stack.
struct TWindowSubclass::State {
  HWND window = nullptr;  // while attached
  Handler handler;
  int running = 0;        // calls of the subclass procedure on the stack
  bool orphaned = false;  // the object is gone
};

struct WindowSubclassCall {
  static LRESULT CALLBACK Procedure(HWND window, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                    DWORD_PTR data) noexcept {
    auto* state = reinterpret_cast<TWindowSubclass::State*>(data);
    TMessage m{msg, wParam, lParam, 0};
    bool passed = false;
    const TWindowSubclass::Next next(window, &passed);
    ++state->running;
    {
      PaintMessageScope paint(msg);
      try {
        if (state->window == window && state->handler) {
          state->handler(m, next);
        } else {
          next(m);
        }
      } catch (...) {
        HandlerFailed(window, msg);
      }
    }
    // The end of the window must reach every procedure of the chain.
    if (msg == WM_NCDESTROY && !passed) next(m);
    --state->running;
    if (msg == WM_NCDESTROY && state->window == window) {
      RemoveWindowSubclass(window, &WindowSubclassCall::Procedure, id);
      state->window = nullptr;
    }
    if (state->orphaned && state->running == 0 && !state->window) delete state;
    return m.Result;
  }
};

void TWindowSubclass::Next::operator()(TMessage& message) const {
  *passed_ = true;
  message.Result = DefSubclassProc(window_, message.Msg, message.WParam, message.LParam);
}

TWindowSubclass::~TWindowSubclass() {
  Detach();
  if (!state_) return;
  if (state_->running > 0) {
    state_->orphaned = true;  // the procedure on the stack frees it when it returns
  } else {
    delete state_;
  }
}

TWindowSubclass& TWindowSubclass::operator=(TWindowSubclass&& other) noexcept {
  if (this != &other) {
    TWindowSubclass old(std::move(*this));
    state_ = std::exchange(other.state_, nullptr);
  }
  return *this;
}

bool TWindowSubclass::Attach(HWND window, Handler handler) {
  Detach();
  if (state_ && state_->running > 0) {
    state_->orphaned = true;  // its handler is running: a new state for the new handler
    state_ = nullptr;
  }
  if (!state_) state_ = new State;
  state_->handler = std::move(handler);
  if (!window || !IsWindow(window) || GetWindowThreadProcessId(window, nullptr) != GetCurrentThreadId()) return false;
  const auto id = reinterpret_cast<UINT_PTR>(state_);
  if (!SetWindowSubclass(window, &WindowSubclassCall::Procedure, id, reinterpret_cast<DWORD_PTR>(state_))) {
    return false;
  }
  state_->window = window;
  return true;
}

void TWindowSubclass::Detach() {
  if (!state_ || !state_->window) return;
  const HWND window = std::exchange(state_->window, nullptr);
  if (IsWindow(window)) RemoveWindowSubclass(window, &WindowSubclassCall::Procedure, reinterpret_cast<UINT_PTR>(state_));
}

bool TWindowSubclass::Attached() const { return state_ && state_->window; }

HWND TWindowSubclass::Window() const { return state_ ? state_->window : nullptr; }

// ---- window sizes ----

SIZE WindowSizeForClient(SIZE client, DWORD style, DWORD exStyle, bool menu) {
  RECT r{0, 0, client.cx, client.cy};
  AdjustWindowRectEx(&r, style, menu && !(style & WS_CHILD), exStyle);
  return SIZE{r.right - r.left, r.bottom - r.top};
}

SIZE WindowSizeForClient(HWND window, SIZE client) {
  RECT frame{}, inner{};
  if (!window || !GetWindowRect(window, &frame) || !GetClientRect(window, &inner)) {
    return WindowSizeForClient(client, WS_OVERLAPPEDWINDOW, 0, false);
  }
  // Start from the frame the window has now; a menu bar that wraps at another width, or a frame
  // that depends on the size, is caught by asking again at the size found.
  SIZE size{client.cx + (frame.right - frame.left) - inner.right, client.cy + (frame.bottom - frame.top) - inner.bottom};
  for (int attempt = 0; attempt < 3; ++attempt) {
    RECT proposed{frame.left, frame.top, frame.left + size.cx, frame.top + size.cy};
    DWORD_PTR ignored = 0;
    if (!SendMessageTimeoutW(window, WM_NCCALCSIZE, FALSE, reinterpret_cast<LPARAM>(&proposed), SMTO_ABORTIFHUNG,
                             1000, &ignored)) {
      // Nobody answers: the system's frame for the window's styles.
      const auto style = static_cast<DWORD>(GetWindowLongW(window, GWL_STYLE));
      const auto exStyle = static_cast<DWORD>(GetWindowLongW(window, GWL_EXSTYLE));
      return WindowSizeForClient(client, style, exStyle, GetMenu(window) != nullptr);
    }
    const SIZE got{proposed.right - proposed.left, proposed.bottom - proposed.top};
    if (got.cx == client.cx && got.cy == client.cy) break;
    size.cx += client.cx - got.cx;
    size.cy += client.cy - got.cy;
  }
  return size;
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

TControl::TControl(TComponent* owner) : TComponent(owner), self_(std::make_shared<TControl*>(this)) {
  WindowProc = [this](TMessage& m) { RunHooks(m); };
  font_.OnChange = [this] { FontChanged(); };
}

TControl::~TControl() {
  BeginDestruction();
  // Hooks that outlive the control find it gone.
  *self_ = nullptr;
  for (WindowProcHookNode* node = hooks_.get(); node; node = node->next.get()) {
    node->linked = false;
    node->previous = nullptr;
  }
  hooks_.reset();
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
  BeginDestruction();
  // The windows went in BeforeDestruction; the children objects go now.
  while (!controls_.empty()) delete controls_.back();
  DestroyHandle();
}

void TWinControl::BeforeDestruction() {
  try {
    DestroyHandle();
  } catch (...) {
    ShowExceptionInHandler();
  }
  TControl::BeforeDestruction();
}

void TWinControl::WindowDestroying() {
  if (destroyingAnnounced_) return;
  destroyingAnnounced_ = true;
  NotifyHandleDestroying(this);
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
  creatingHandle_ = true;
  struct CreatingHandle {
    bool& flag;
    ~CreatingHandle() { flag = false; }
  } creatingHandle{creatingHandle_};
  HMENU id = (p.style & WS_CHILD) ? reinterpret_cast<HMENU>(static_cast<UINT_PTR>(controlId_)) : nullptr;
  HWND window = nullptr;
  {
    // This object binds to its window at WM_NCCREATE, which carries it (or, for the messages
    // before that, as the innermost creation of the thread).
    t_creating.push_back(Creation{this, g_classes[p.className].atom});
    struct Created {
      TWinControl* self;
      ~Created() {
        const auto it = std::find_if(t_creating.rbegin(), t_creating.rend(),
                                     [this](const Creation& c) { return c.control == self; });
        if (it != t_creating.rend()) t_creating.erase(std::next(it).base());
      }
    } created{this};
    window = CreateWindowHandle(p, id);
  }
  if (!window) throw EWin32Error(Format(msg::kWindowCreate, {Widen(ClassName()) + u" " + Name()}));
  if (!handle_) Bind(window);
  SendMessageW(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(Font()->Handle()), FALSE);
  CreateWnd();
  NotifyHandleCreated(this);
  if (!handle_) return;  // an observer took the window away again
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
  WindowDestroying();
  if (!handle_) return;  // an observer destroyed it already
  text_ = Text();
  for (TWinControl* w : tabList_) w->DestroyHandle();
  DestroyWnd();
  HWND window = handle_;
  DestroyWindowHandle(window);  // WM_NCDESTROY unbinds the object
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
  m.Result = CallDefaultProcedure(m.Msg, m.WParam, m.LParam);
}

LRESULT TWinControl::CallDefaultProcedure(UINT msg, WPARAM wParam, LPARAM lParam) {
  return CallWindowProcW(defWndProc_, handle_, msg, wParam, lParam);
}

HWND TWinControl::CreateWindowHandle(const TCreateParams& p, HMENU id) {
  return CreateWindowExW(p.exStyle, W(p.className), W(p.caption), p.style, p.x, p.y, p.width, p.height, p.wndParent,
                         id, ModuleInstance(), this);
}

void TWinControl::DestroyWindowHandle(HWND window) { DestroyWindow(window); }

void TWinControl::PaintControls(HDC dc) {
  for (TControl* c : controls_) {
    if (dynamic_cast<TWinControl*>(c) || !c->Visible()) continue;
    SavedDcState state(dc);
    POINT origin{};
    OffsetViewportOrgEx(dc, c->Left(), c->Top(), &origin);
    IntersectClipRect(dc, 0, 0, c->Width(), c->Height());
    c->Perform(WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
  }
}

void TWinControl::PaintHandler(TMessage& m) {
  PaintDc paint(handle_, m.WParam);
  const HDC dc = paint.Get();
  {
    SavedDcState state(dc);
    TMessage own{WM_PAINT, reinterpret_cast<WPARAM>(dc), 0, 0};
    DefaultHandler(own);
  }
  PaintControls(dc);
}

void TWinControl::PaintBuffered(TMessage& m) {
  PaintDc paint(handle_, 0);
  const HDC dc = paint.Get();
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
        RECT client{};
        GetClientRect(handle_, &client);
        // On the frame (a caption, a scroll bar) the default handling runs: the system menu.
        if (!PtInRect(&client, local)) break;
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
