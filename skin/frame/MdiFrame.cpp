// TWinSkinForm: MDI frames and children. A frame subclasses its MDI client: a child made through it
// is remembered until the client refreshes its window menu and then skinned; a child going away,
// tiling and cascading keep the manager's maximised state right; the menu bar is rebuilt from the
// frame's menu when the frame's menu changes and when the last child has gone. A child's frame is
// the system's while the children show maximised.
#include <algorithm>
#include <utility>
#include <vector>

#include "skin/controls/SkinManager.h"
#include "skin/data/WinSkinData.h"
#include "skin/frame/WinSkinForm.h"
#include "skin/menus/WinSkinMenu.h"

namespace qlt {

namespace {

bool IsMdiChildOf(HWND window, HWND client) {
  return window && client && IsWindow(window) && GetParent(window) == client &&
         (GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_MDICHILD);
}

}  // namespace

void TWinSkinForm::AttachMdiClient() {
  if (!mdiClient_ || clientSubclass_.Attached() || !skin_) return;
  savedMenuUpdate_ = skin_->MenuUpdate();
  menuUpdateHeld_ = false;
  clientSubclass_.Attach(mdiClient_, [this](TMessage& m, const TWindowSubclass::Next& next) { MdiClientMessage(m, next); });
}

void TWinSkinForm::DetachMdiClient() {
  clientSubclass_.Detach();
  pendingMdiChild_ = nullptr;
  // The skin's own setting comes back whatever state the children were left in.
  RestoreMenuUpdate();
}

void TWinSkinForm::RestoreMenuUpdate() {
  if (!std::exchange(menuUpdateHeld_, false) || !skin_ || !SkinManager) return;
  // Only a component that is still there (the frame may go after its skin's form).
  const auto& live = SkinManager->SkinDataList();
  if (std::find(live.begin(), live.end(), skin_) != live.end()) skin_->SetMenuUpdate(savedMenuUpdate_);
}

void TWinSkinForm::ForgetMdiChild(HWND window) {
  if (window && window == pendingMdiChild_) pendingMdiChild_ = nullptr;
}

HWND TWinSkinForm::ActiveMdiChild() const {
  if (mdiKind_ != mkFrame || !mdiClient_ || !IsWindow(mdiClient_)) return nullptr;
  return reinterpret_cast<HWND>(SendMessageW(mdiClient_, WM_MDIGETACTIVE, 0, 0));
}

bool TWinSkinForm::ActiveMdiChildMaximized() const {
  if (mdiKind_ != mkFrame || !mdiClient_ || !IsWindow(mdiClient_)) return false;
  BOOL maximized = FALSE;
  const auto active = reinterpret_cast<HWND>(SendMessageW(mdiClient_, WM_MDIGETACTIVE, 0, reinterpret_cast<LPARAM>(&maximized)));
  return active && maximized;
}

void TWinSkinForm::SkinMdiChild(HWND child) {
  if (!IsMdiChildOf(child, mdiClient_) || !SkinManager) return;
  SkinManager->SkinWindow(child);
}

void TWinSkinForm::MdiClientMessage(TMessage& m, const TWindowSubclass::Next& next) {
  const bool frames = frameSkinning_ && skin_ && state_ != skDead;
  switch (m.Msg) {
    case WM_NCDESTROY:
      next(m);
      // The subclass has taken itself out.
      pendingMdiChild_ = nullptr;
      mdiClient_ = nullptr;
      return;
    case WM_NCCALCSIZE:
      if (frames) {
        // The skinned frame has no room for the client's own scroll bars.
        const LONG style = GetWindowLongW(mdiClient_, GWL_STYLE);
        if (style & (WS_HSCROLL | WS_VSCROLL)) SetWindowLongW(mdiClient_, GWL_STYLE, style & ~(WS_HSCROLL | WS_VSCROLL));
      }
      next(m);
      return;
    case WM_MDICREATE: {
      // The frame's menu stays as it is while children live. A creation that fails (or throws)
      // leaves no child: the setting is put back unless another child holds it.
      if (skin_) {
        if (!menuUpdateHeld_) savedMenuUpdate_ = skin_->MenuUpdate();
        skin_->SetMenuUpdate(false);
        menuUpdateHeld_ = true;
      }
      struct Settle {
        TWinSkinForm& self;
        TMessage& m;
        ~Settle() {
          if (m.Result) {
            self.pendingMdiChild_ = reinterpret_cast<HWND>(m.Result);
          } else if (!self.pendingMdiChild_ && (!SkinManager || SkinManager->MdiChildCount() == 0)) {
            self.RestoreMenuUpdate();
          }
        }
      } settle{*this, m};
      m.Result = 0;
      next(m);
      return;
    }
    case WM_MDIDESTROY: {
      ForgetMdiChild(reinterpret_cast<HWND>(m.WParam));
      next(m);
      if (!frames || !SkinManager) return;
      SkinManager->SetMdiMaximized(ActiveMdiChildMaximized());
      // The child that went is dead by now: when none is left the bar is the form's own again.
      if (SkinManager->MdiChildCount() == 0 && !pendingMdiChild_) {
        RestoreMenuUpdate();
        if (menuBar_) menuBar_->RebuildFromMenu();
        PostMessageW(window_, WM_SKIN_REPAINTFRAME, 0, 0);
      }
      return;
    }
    case WM_MDITILE:
    case WM_MDICASCADE:
      if (frames && SkinManager && SkinManager->MdiMaximized()) SkinManager->SetMdiMaximized(false);
      next(m);
      return;
    case WM_MDISETMENU: {
      next(m);
      if (!frames || !menuBar_) return;
      const auto menu = reinterpret_cast<HMENU>(m.WParam);
      if (menu && (menu != menuBar_->MenuHandle() || pendingMdiChild_)) menuBar_->RebuildFromHandle(GetMenu(window_));
      // The bar is the skin's: the system's stays hidden.
      SetMenu(window_, nullptr);
      PostMessageW(window_, WM_SKIN_REPAINTFRAME, 0, 0);
      return;
    }
    case WM_MDIREFRESHMENU: {
      next(m);
      const HWND child = std::exchange(pendingMdiChild_, nullptr);
      // Never a window that went meanwhile, or a handle some other window has taken since.
      if (!IsMdiChildOf(child, mdiClient_)) return;
      SkinMdiChild(child);
      PostMessageW(window_, WM_SKIN_REPAINTFRAME, 0, 0);
      return;
    }
    default:
      next(m);
      return;
  }
}

void TWinSkinForm::MdiMaximizedChanged(bool on) {
  if (!IsMdiChild() || !subclassed_ || state_ == skDead || state_ == skDestroying || !frameSkinning_) return;
  // The client area moves inside the window as the frame changes hands; the system takes the bits
  // it moved for valid, so the whole child is painted again.
  struct Repaint {
    HWND window;
    ~Repaint() { RedrawWindow(window, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN); }
  } repaint{window_};
  if (on) {
    // The system draws a maximised child: no region, its own styles.
    RemoveRegion();
    SetFrameStyles(true);
    return;
  }
  UpdateWindowState();
  if (Minimized()) {
    SetFrameStyles(true);
    return;
  }
  frameState_ = frNormal;
  SetFrameStyles(false);
  regionSize_ = {};
  UpdateRegion();
  RefreshFrame();
}

}  // namespace qlt
