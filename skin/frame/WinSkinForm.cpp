// TWinSkinForm: attaching to a window, the message routing, and giving the window back.
#include "skin/frame/WinSkinForm.h"

#include <commctrl.h>

#include <algorithm>

#include "skin/controls/SkinControl.h"
#include "skin/controls/SkinManager.h"
#include "skin/data/WinSkinData.h"
#include "skin/menus/SkinnedPopupMenus.h"
#include "skin/menus/WinSkinMenu.h"
#include "ui/Forms.h"
#include "ui/Menus.h"

namespace qlt {

static_assert(wsbits::kPopup == WS_POPUP && wsbits::kChild == WS_CHILD && wsbits::kCaption == WS_CAPTION &&
              wsbits::kThickFrame == WS_THICKFRAME && wsbits::kSysMenu == WS_SYSMENU &&
              wsbits::kMinimizeBox == WS_MINIMIZEBOX && wsbits::kMaximizeBox == WS_MAXIMIZEBOX &&
              wsbits::kModalFrame == DS_MODALFRAME && wsbits::kExMdiChild == WS_EX_MDICHILD &&
              wsbits::kExLeftScrollBar == WS_EX_LEFTSCROLLBAR && wsbits::kBorder == WS_BORDER &&
              wsbits::kDlgFrame == WS_DLGFRAME && wsbits::kMinimized == WS_MINIMIZE &&
              wsbits::kMaximized == WS_MAXIMIZE);
static_assert(hit::kCaption == HTCAPTION && hit::kMenu == HTMENU && hit::kBorder == HTBORDER &&
              hit::kNowhere == HTNOWHERE && hit::kClient == HTCLIENT);

namespace {

constexpr UINT_PTR kHoverTimerId = 0x5148;

std::u16string ClassNameOf(HWND window) {
  wchar_t name[101] = {};
  const int n = GetClassNameW(window, name, 101);
  return std::u16string(reinterpret_cast<const char16_t*>(name), static_cast<size_t>(std::max(n, 0)));
}

HWND FindMdiClient(HWND window) {
  for (HWND child = GetTopWindow(window); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (AsciiLower(ClassNameOf(child)) == u"mdiclient") return child;
  }
  return nullptr;
}

bool ManagerMdiMaximized() { return SkinManager && SkinManager->MdiMaximized(); }

}  // namespace

const TClassInfo& TWinSkinForm::StaticClass() {
  static const TClassInfo info = ClassBuilder<TWinSkinForm, TComponent>("TWinSkinForm")
                                     .Int("DisableTag", &TWinSkinForm::DisableTag, &TWinSkinForm::SetDisableTag)
                                     .Build();
  return info;
}

TWinSkinForm::TWinSkinForm(TComponent* owner) : TComponent(owner) {}

TWinSkinForm::~TWinSkinForm() {
  // Freed while its window lives (the manager gave the window back first, or a form freed its
  // components): nothing of ours may stay in the window's chain.
  StartHoverTimer(false);
  FreeControlSkinners();
  formHook_.Remove();
  DetachMdiClient();
  Unsubclass();
  // Normally given back already; a skinner that never got hold of its window returns the bar.
  DetachMenuBar(IsWindow(window_) && state_ != skDestroying && state_ != skDead);
  pressedObject_ = hotObject_ = nullptr;
  titleButtons_.clear();
  systemMenu_.reset();
  popupMenus_.reset();  // the form's popup menus as they were
  if (SkinManager) SkinManager->RemoveFormSkinner(this);
}

LRESULT TWinSkinForm::CallPrevious(UINT msg, WPARAM wParam, LPARAM lParam) {
  TMessage m{msg, wParam, lParam, 0};
  if (next_) (*next_)(m);
  return m.Result;
}

// ---- attaching ----

void TWinSkinForm::AttachToForm(TSkinData& skin, TForm* form) {
  form_ = form;
  if (form_) {
    form_->SetAutoScroll(false);
    savedFormColour_ = form_->Color();
  }
  AttachToWindow(skin);
  if (form_ && subclassed_) {
    form_->SetColor(skin.ButtonFaceColour);
    ColourEmbeddedForms();
  }
  if (form_ && subclassed_ && frameSkinning_) {
    // Alt and a menu bar button's accelerator open its drop-down (the framework asks the form
    // with CM_DIALOGCHAR before the controls' own accelerators).
    formHook_.Install(form_, [this](TMessage& m, const TWindowProcHook::Next& next) {
      const bool onlyAlt = GetKeyState(VK_MENU) < 0 && GetKeyState(VK_CONTROL) >= 0 && GetKeyState(VK_SHIFT) >= 0;
      if (m.Msg == CM_DIALOGCHAR && menuBar_ && onlyAlt) {
        if (TMenuBtn* button = menuBar_->AcceleratorButton(static_cast<char16_t>(m.WParam))) {
          menuBar_->Open(*button);
          m.Result = 1;
          return;
        }
      }
      // An MDI child's accelerators are its frame's bar's.
      if (m.Msg == CM_DIALOGCHAR && IsMdiChild()) {
        if (auto* frame = dynamic_cast<TForm*>(TWinControl::FindControl(GetAncestor(window_, GA_ROOT)))) {
          if (const LRESULT r = frame->Perform(CM_DIALOGCHAR, m.WParam, m.LParam)) {
            m.Result = r;
            return;
          }
        }
      }
      next(m);
    });
  }
}

void TWinSkinForm::AttachToWindow(TSkinData& skin) {
  if (subclassed_ || !IsWindow(window_)) return;
  skin_ = &skin;
  frameSkinning_ = (skin.SkinControls() & SkinControlBit(xcMainMenu)) != 0;
  popupMenus_ = std::make_unique<TSkinnedPopupMenus>(skin);
  ReadWindow();
  BuildTitleFont();
  BuildSystemMenu();
  UpdateWindowState();
  mdiKind_ = mkNone;
  mdiClient_ = FindMdiClient(window_);
  if (mdiClient_) mdiKind_ = mkFrame;
  if (GetWindowLongW(window_, GWL_EXSTYLE) & WS_EX_MDICHILD) mdiKind_ = mkChild;
  if (mdiKind_ != mkFrame) mdiClient_ = nullptr;
  borderKind_ = DecideBorderKind(style_, className_);
  try {
    if (frameSkinning_) {
      AttachMenuBar();
      if (!(IsMdiChild() && ManagerMdiMaximized()) && !Minimized()) SetFrameStyles(false);
      ComputeFrameMetrics();
    } else {
      state_ = skActive;
    }
    Subclass();
    if (!subclassed_) {
      UndoAttach();
      return;
    }
    if (mdiKind_ == mkFrame) AttachMdiClient();
    if (IsMdiChild() && frameState_ == frMaximized && SkinManager && !SkinManager->MdiMaximized()) {
      SkinManager->SetMdiMaximized(true);
    }
    SkinControls();
    if (frameSkinning_ && form_) popupMenus_->SetPopupMenusOwnerDraw(*form_, true);
  } catch (...) {
    // A window skinned half way is worse than one left alone: it gets back what was taken.
    UndoAttach();
    throw;
  }
  InvalidateRect(window_, nullptr, TRUE);
}

void TWinSkinForm::UndoAttach() {
  if (subclassed_) {
    RestoreWindow();
  } else {
    DetachMenuBar(true);
    if (removedStyles_) SetFrameStyles(true);
  }
}

void TWinSkinForm::ReadWindow() {
  style_ = static_cast<std::uint32_t>(GetWindowLongW(window_, GWL_STYLE));
  rightToLeft_ = (GetWindowLongW(window_, GWL_EXSTYLE) & WS_EX_LEFTSCROLLBAR) != 0;
  const bool hasSystemMenu = GetSystemMenu(window_, FALSE) != nullptr;
  BuildIcon();
  className_ = ClassNameOf(window_);
  owner_ = GetWindow(window_, GW_OWNER);
  GetClientRect(window_, &clientAtAttach_);
  RECT w{};
  GetWindowRect(window_, &w);
  standardFrame_ = {(w.right - w.left) - clientAtAttach_.right, (w.bottom - w.top) - clientAtAttach_.bottom};
  boxFlags_ = BoxFlagsOf(style_, hasSystemMenu);
}

void TWinSkinForm::AttachMenuBar() {
  // A frameless window keeps its own bar; an MDI child's menu is its frame's business.
  if (menuBar_ || IsMdiChild() || borderKind_ == bkNone || !GetMenu(window_)) return;
  menuBar_ = std::make_unique<TWinSkinMenu>(*this);
  menuBarHeight_ = GetSystemMetrics(SM_CYMENU);
  menuBar_->Build();
}

void TWinSkinForm::DetachMenuBar(bool giveBack) {
  if (!menuBar_) return;
  if (giveBack) menuBar_->GiveBack();
  menuBar_.reset();
  menuBarHeight_ = 0;
}

void TWinSkinForm::ForgetMenuButtons() {
  if (dynamic_cast<TMenuBtn*>(hotObject_)) hotObject_ = nullptr;
  if (dynamic_cast<TMenuBtn*>(pressedObject_)) pressedObject_ = nullptr;
}

void TWinSkinForm::Subclass() {
  if (subclassed_) return;
  subclassed_ = subclass_.Attach(window_, [this](TMessage& m, const TWindowSubclass::Next& next) {
    // Messages nest (a paint inside a size change): each keeps the chain it came with. A skinner
    // let go of inside one (FreeWhenIdle) goes when the outermost is done with it.
    struct Scope {
      TWinSkinForm* self;
      const TWindowSubclass::Next* outer;
      ~Scope() {
        self->next_ = outer;
        if (--self->messageDepth_ == 0 && self->freeWhenIdle_) delete self;
      }
    } scope{this, std::exchange(next_, &next)};
    ++messageDepth_;
    m.Result = FrameWndProc(m.Msg, m.WParam, m.LParam);
  });
}

void TWinSkinForm::FreeWhenIdle(TWinSkinForm* skinner) {
  if (!skinner) return;
  if (skinner->messageDepth_ == 0) {
    delete skinner;
  } else {
    skinner->freeWhenIdle_ = true;
  }
}

void TWinSkinForm::Unsubclass() {
  if (!subclassed_) return;
  subclass_.Detach();
  subclassed_ = false;
}

void TWinSkinForm::SetFrameStyles(bool restore) {
  if (!restore && IsMdiChild() && ManagerMdiMaximized()) return;
  const auto style = static_cast<std::uint32_t>(GetWindowLongW(window_, GWL_STYLE));
  const std::uint32_t changed =
      restore ? RestoreFrameStyles(style, removedStyles_) : StripFrameStyles(style, owner_ || IsMdiChild(), removedStyles_);
  if (removedStyles_ & WS_CAPTION) boxFlags_ |= boxflag::kCaptionRemoved;
  if (changed != style) SetWindowLongW(window_, GWL_STYLE, static_cast<LONG>(changed));
  style_ = changed;
}

void TWinSkinForm::RefreshFrame() {
  SetWindowPos(window_, nullptr, 0, 0, 0, 0,
               SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void TWinSkinForm::StartHoverTimer(bool on) {
  if (on == hoverTimer_) return;
  if (on) {
    hoverTimer_ = SetTimer(window_, kHoverTimerId, 250, nullptr) != 0;
  } else {
    if (IsWindow(window_)) KillTimer(window_, kHoverTimerId);
    hoverTimer_ = false;
  }
}

void TWinSkinForm::UpdateWindowState() {
  WINDOWPLACEMENT wp{};
  wp.length = sizeof wp;
  if (!GetWindowPlacement(window_, &wp)) return;
  if (wp.showCmd == SW_SHOWMINIMIZED || wp.showCmd == SW_MINIMIZE || wp.showCmd == SW_SHOWMINNOACTIVE) {
    frameState_ = frMinimized;
  } else if (wp.showCmd == SW_SHOWMAXIMIZED) {
    frameState_ = frMaximized;
  } else {
    frameState_ = frNormal;
  }
}

// ---- giving the window back ----

void TWinSkinForm::ReleaseOnDestroy() {
  systemMenu_.reset();
  StartHoverTimer(false);
  FreeControlSkinners();
  formHook_.Remove();
  DetachMdiClient();
  // The window goes with its menu detached: the menu outlives it for the form's next window.
  DetachMenuBar(false);
  pressedObject_ = hotObject_ = nullptr;
  surface_.Release();
}

void TWinSkinForm::RestoreWindow() {
  if (!subclassed_) return;
  if (popupMenus_) popupMenus_->Restore();
  systemMenu_.reset();
  StartHoverTimer(false);
  // Before the control skinners, which give back the colour they found (the skin's, for a form
  // coloured here first).
  if (state_ != skDestroying) RestoreEmbeddedColours();
  FreeControlSkinners();
  pressedObject_ = hotObject_ = nullptr;
  if (form_ && state_ != skDestroying) form_->SetColor(savedFormColour_);
  DetachMdiClient();
  if (!frameSkinning_) {
    Unsubclass();
    if (form_) form_->Invalidate();
    return;
  }
  SetFrameStyles(true);
  // Our procedure must not answer the frame messages of the resize that follows.
  Unsubclass();
  formHook_.Remove();
  // The window's own menu bar comes back (the form keeps its client size around it).
  DetachMenuBar(state_ != skDestroying);
  const bool keepSize = borderKind_ == bkNone || frameState_ != frNormal || ((style_ & WS_CHILD) && !IsMdiChild());
  if (state_ != skDestroying) {
    if (keepSize) {
      RefreshFrame();
    } else {
      RestoreStandardSize();
    }
  }
  RemoveRegion();
  surface_.Release();
}

void TWinSkinForm::RestoreStandardSize() {
  // The client area stays as the user sees it; the standard frame goes around it again.
  RECT client{};
  GetClientRect(window_, &client);
  SetWindowPos(window_, nullptr, 0, 0, client.right + standardFrame_.cx, client.bottom + standardFrame_.cy,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

// ---- the message routing ----

bool TWinSkinForm::StageTwoRuns() const {
  return !MdiChildMaximizedOrMinimized() && !Minimized() && state_ != skAttaching;
}

LRESULT TWinSkinForm::FrameWndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_ERASEBKGND: {
      const LRESULT r = CallPrevious(msg, wParam, lParam);
      if (form_ || !skin_) return r;
      RECT client{};
      GetClientRect(window_, &client);
      FillRect(reinterpret_cast<HDC>(wParam), &client, skin_->FaceBrush());
      return 1;
    }
    case WM_STYLECHANGED:
      if (wParam == static_cast<WPARAM>(GWL_STYLE)) style_ = reinterpret_cast<STYLESTRUCT*>(lParam)->styleNew;
      return CallPrevious(msg, wParam, lParam);
    case WM_NCDESTROY: {
      state_ = skDestroying;
      ReleaseOnDestroy();
      const LRESULT r = CallPrevious(msg, wParam, lParam);
      // The subclass takes itself out of the chain once the message is through.
      Unsubclass();
      state_ = skDead;
      return r;
    }
    case WM_CTLCOLORBTN: {
      const LRESULT r = CallPrevious(msg, wParam, lParam);
      if (!form_) SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
      return r;
    }
    case WM_CTLCOLORSTATIC: {
      const LRESULT r = CallPrevious(msg, wParam, lParam);
      if (form_ || !skin_) return r;
      SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
      return reinterpret_cast<LRESULT>(skin_->FaceBrush());
    }
    case WM_SKIN_QUERY:
      return 1;
    default:
      break;
  }
  if (!frameSkinning_) return CallPrevious(msg, wParam, lParam);
  // A child window that is no MDI child keeps its own frame.
  if (!IsMdiChild() && (style_ & WS_CHILD)) return CallPrevious(msg, wParam, lParam);
  // Where the selection of an open drop-down is: the menu sends these to its owner window.
  if (menuBar_ && (msg == WM_MENUSELECT || msg == WM_INITMENUPOPUP || msg == WM_UNINITMENUPOPUP)) {
    menuBar_->MenuMessage(msg, wParam, lParam);
  }
  LRESULT result = 0;
  if (HandleFrameMessage(msg, wParam, lParam, result)) return result;
  return CallPrevious(msg, wParam, lParam);
}

bool TWinSkinForm::HandleFrameMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  // Stage one: whatever the window's state.
  switch (msg) {
    case WM_SIZE:
      result = CallPrevious(msg, wParam, lParam);
      SizeHandler(wParam);
      return true;
    case WM_ACTIVATE:
      active_ = LOWORD(wParam) != WA_INACTIVE;
      break;
    case WM_GETMINMAXINFO:
      result = CallPrevious(msg, wParam, lParam);
      MinMaxHandler(reinterpret_cast<MINMAXINFO*>(lParam));
      return true;
    case WM_WINDOWPOSCHANGED: {
      UpdateWindowState();
      result = CallPrevious(msg, wParam, lParam);
      // A procedure that kept WM_SIZE back would leave the region, and the frame paint waiting
      // for it, behind.
      RECT r{};
      if (GetWindowRect(window_, &r) && RegionStale(r.right - r.left, r.bottom - r.top)) UpdateRegion();
      // A hidden window keeps no surface: a tray program's window is hidden most of its life.
      if (reinterpret_cast<const WINDOWPOS*>(lParam)->flags & SWP_HIDEWINDOW) surface_.Release();
      return true;
    }
    case WM_COMMAND:
      return CommandHandler(wParam, lParam, result);
    case WM_SYSCOMMAND:
      return SysCommandHandler(wParam, lParam, result);
    case WM_SKIN_ATTACHED:
      AttachCompleted();
      return true;
    case WM_SKIN_CHANGED:
      ReapplySkin();
      return true;
    case WM_TIMER:
      if (wParam != kHoverTimerId) break;
      HoverCheck();
      return true;
    case CM_MENUCHANGED: {
      // The form's own menu rebuild must not paint this frame half way. Only this frame: a rebuild
      // that runs a loop of its own (a message box) leaves the other windows painting, and the
      // switch comes back on every way out, an error included.
      const bool outer = std::exchange(menuRebuilding_, true);
      struct Restore {
        bool& flag;
        bool value;
        ~Restore() { flag = value; }
      } restore{menuRebuilding_, outer};
      result = CallPrevious(msg, wParam, lParam);
      if (menuBar_) {
        menuBar_->MenuChanged(skin_->MenuUpdate(), skin_->MenuMerge());
        menuRebuilding_ = outer;
        if (state_ == skActive && !outer) PaintFrame(nullptr);
      }
      return true;
    }
    case WM_SETTEXT:
    case WM_SETICON:
      // The default handling paints the system's caption at once: the skin's goes over it.
      result = CallPrevious(msg, wParam, lParam);
      if (msg == WM_SETICON) BuildIcon();
      if (state_ == skActive) RefreshFrame();
      return true;
    case WM_NCACTIVATE:
      active_ = wParam != 0;
      break;
    default:
      break;
  }
  if (!StageTwoRuns()) return false;
  switch (msg) {
    case WM_NCCALCSIZE:
      result = NcCalcSize(wParam, lParam);
      return true;
    case WM_NCHITTEST:
      result = NcHitTest(lParam);
      return true;
    case WM_NCPAINT:
      if (!skin_->FramePaintEnabled || menuRebuilding_) return true;
      if (borderKind_ == bkNone) return false;
      PaintFrame(nullptr);
      return true;
    case WM_NCACTIVATE:
      result = NcActivate(wParam, lParam);
      return true;
    case WM_SKIN_REPAINTFRAME:
      PaintFrame(nullptr);
      return true;
    case WM_MEASUREITEM:
    case WM_DRAWITEM:
      // The entries of a drop-down that the window's own menu does not draw.
      return menuBar_ && menuBar_->OwnerDrawMessage(msg, lParam, result);
    case WM_NCMOUSEMOVE:
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONUP:
    case WM_NCLBUTTONDBLCLK:
    case WM_NCRBUTTONDOWN:
    case WM_NCRBUTTONUP:
      return NcMouse(msg, wParam, lParam, result);
    default:
      return false;
  }
}

void TWinSkinForm::SizeHandler(WPARAM type) {
  // A child maximised, or back from it: its frame's menu bar shows or hides the child's buttons.
  if (IsMdiChild() && (type == SIZE_MAXIMIZED) != (frameState_ == frMaximized)) {
    if (HWND frame = GetParent(GetParent(window_))) PostMessageW(frame, WM_SKIN_REPAINTFRAME, 0, 0);
  }
  if (type == SIZE_RESTORED) frameState_ = frNormal;
  if (type == SIZE_MINIMIZED) frameState_ = frMinimized;
  if (type == SIZE_MAXIMIZED) frameState_ = frMaximized;
  if (RegionFollowsSize()) UpdateRegion();
}

bool TWinSkinForm::RegionFollowsSize() const {
  if (Minimized() || (IsMdiChild() && (ManagerMdiMaximized() || frameState_ != frNormal))) return false;
  return state_ == skActive || state_ == skRefreshing;
}

bool TWinSkinForm::RegionStale(int w, int h) const {
  return regionOwned_ && (w != regionSize_.cx || h != regionSize_.cy) && RegionFollowsSize();
}

void TWinSkinForm::MinMaxHandler(MINMAXINFO* info) {
  UpdateWindowState();
  if (Minimized()) {
    SetFrameStyles(true);
  } else if (!IsMdiChild()) {
    SetFrameStyles(false);
  } else if (frameState_ == frNormal) {
    if (ManagerMdiMaximized()) SkinManager->SetMdiMaximized(false);
    SetFrameStyles(false);
  } else if (frameState_ == frMaximized) {
    if (SkinManager && !SkinManager->MdiMaximized()) SkinManager->SetMdiMaximized(true);
    SetFrameStyles(true);
  }
  if (!info) return;
  if (borderKind_ == bkSizeable) {
    info->ptMaxTrackSize = {GetSystemMetrics(SM_CXMAXIMIZED), GetSystemMetrics(SM_CYMAXIMIZED)};
  }
  // Never smaller than the frame: the client area would turn inside out.
  if (state_ != skAttaching && borderKind_ != bkNone) {
    const MinimumSize least = MinimumFrameSize(metrics_, menuBarHeight_);
    info->ptMinTrackSize.x = std::max<LONG>(info->ptMinTrackSize.x, least.width);
    info->ptMinTrackSize.y = std::max<LONG>(info->ptMinTrackSize.y, least.height);
  }
}

void TWinSkinForm::AttachCompleted() {
  if (state_ == skAttaching) {
    if (IsMdiChild() && ManagerMdiMaximized()) {
      SetFrameStyles(true);
      RefreshFrame();
    } else if (!Minimized() && borderKind_ != bkNone) {
      state_ = skResizing;
      FitWindowToSkin(false);
      state_ = skActive;
      UpdateRegion();
      // The client area moved inside the window: what the old frame left on the screen where the
      // client is now is painted over (the system takes the moved client area as valid).
      RedrawWindow(window_, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    }
  }
  state_ = skActive;
  if (GetActiveWindow() == window_) active_ = true;
  // An MDI child heard of its activation before it was skinned: it is the active one of an active
  // frame.
  if (IsMdiChild()) {
    const HWND client = GetParent(window_);
    active_ = reinterpret_cast<HWND>(SendMessageW(client, WM_MDIGETACTIVE, 0, 0)) == window_ &&
              GetActiveWindow() == GetAncestor(window_, GA_ROOT);
    if (active_) RedrawWindow(window_, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
  }
  StartHoverTimer(active_);
  // Children made before the frame was skinned are skinned with it.
  if (mdiKind_ == mkFrame && mdiClient_) {
    for (HWND c = GetTopWindow(mdiClient_); c; c = GetWindow(c, GW_HWNDNEXT)) SkinMdiChild(c);
  }
}

void TWinSkinForm::ReapplySkin() {
  if (!skin_ || !subclassed_) return;
  if (form_) form_->SetColor(skin_->ButtonFaceColour);
  ColourEmbeddedForms();
  for (TSkinControl* s : std::vector<TSkinControl*>(controlSkinners_)) s->SkinChanged();
  HWND focus = GetFocus();
  state_ = skRefreshing;
  if (frameSkinning_ && form_ && popupMenus_) popupMenus_->SetPopupMenusOwnerDraw(*form_, true);
  if (frameSkinning_) {
    BuildTitleFont();
    BuildSystemMenu();
    if (!Minimized() && borderKind_ != bkNone) {
      FitWindowToSkin(true);
    } else {
      RefreshFrame();
    }
    regionSize_ = {};
    UpdateRegion();
  }
  if (focus && IsChild(window_, focus)) SetFocus(focus);
  state_ = skActive;
  RedrawWindow(window_, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void TWinSkinForm::ColourEmbeddedForms() {
  if (!form_ || !skin_) return;
  for (TComponent* c : form_->ComponentList()) {
    auto* inner = dynamic_cast<TForm*>(c);
    // A form with a window of its own, or with a form skinner of its own (shown and activated in
    // its place), is coloured by its own skinner; one the skin leaves alone keeps its colour.
    if (!inner || !inner->Parent() || c->Tag() % 100 == skin_->DisableTag()) continue;
    if (inner->HandleAllocated() && SkinManager && SkinManager->FindFormSkinner(inner->Handle())) continue;
    const bool known = std::any_of(embeddedColours_.begin(), embeddedColours_.end(),
                                   [inner](const auto& e) { return e.first == inner; });
    if (!known) {
      embeddedColours_.push_back({inner, inner->Color()});
      inner->FreeNotification(this);
    }
    inner->SetColor(skin_->ButtonFaceColour);
  }
}

void TWinSkinForm::RestoreEmbeddedColours() {
  for (const auto& [inner, colour] : std::exchange(embeddedColours_, {})) {
    inner->RemoveFreeNotification(this);
    inner->SetColor(colour);
  }
}

void TWinSkinForm::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation == TOperation::opRemove) {
    std::erase_if(embeddedColours_, [component](const auto& e) { return e.first == component; });
  }
}

}  // namespace qlt
