// TWinSkinForm: the title buttons under the mouse, what they do, and the system menu.
#include <algorithm>

#include "skin/controls/SkinControl.h"
#include "skin/controls/SkinManager.h"
#include "skin/data/WinSkinData.h"
#include "skin/frame/WinSkinForm.h"
#include "skin/menus/SkinnedPopupMenus.h"
#include "skin/menus/WinSkinMenu.h"
#include "ui/Menus.h"

namespace qlt {

namespace {

constexpr int32_t kSystemMenuTag = 33333;
enum SystemMenuItem { smRestore = 0, smMaximize = 1, smMinimize = 2, smClose = 3, smLine = 100 };

bool IsSystemCommandId(WORD id) {
  switch (id & 0xFFF0) {
    case SC_SIZE:
    case SC_MOVE:
    case SC_MINIMIZE:
    case SC_MAXIMIZE:
    case SC_NEXTWINDOW:
    case SC_PREVWINDOW:
    case SC_CLOSE:
    case SC_RESTORE:
      return true;
    default:
      return false;
  }
}

// A drop-down of a menu bar shows, or the bar is between two of them (its button stays pressed).
bool MenuBarPopupOpen() { return (SkinManager && SkinManager->MenuBarPopup()) || TWinSkinMenu::DropDownOpen(); }

}  // namespace

// ---- the objects ----

void TNCObject::MouseDown() {
  if (TNCObject* current = owner_.HotObject(); current && current != this) current->MouseLeave();
  if (!Visible) return;
  owner_.SetHotObject(this);
  State = kButtonPressed;
  Paint();
}

void TNCObject::MouseUp() {
  if (!Visible) return;
  State = kButtonHot;
  Paint();
}

void TNCObject::MouseMove() {
  if (owner_.HotObject() == this) return;
  if (TNCObject* current = owner_.HotObject()) current->MouseLeave();
  if (!Visible) return;
  owner_.SetHotObject(this);
  State = kButtonHot;
  Paint();
}

void TNCObject::MouseLeave() {
  // An object that stopped showing must not stay the current one either.
  if (owner_.HotObject() == this) owner_.SetHotObject(nullptr);
  State = kButtonNormal;
  if (Visible) Paint();
}

bool TWinSysButton::ShowsIcon() const { return Data.Action == 3 || Data.Action == 11; }

void TWinSysButton::Paint() { owner_.PaintTitleButton(*this); }

TNCObject* TWinSkinForm::ObjectAt(POINT p) const {
  for (const auto& b : titleButtons_) {
    if (b->Visible && b->Data.Action >= 0 && b->Rect.Contains(p.x, p.y)) return b.get();
  }
  return menuBar_ ? menuBar_->ButtonAt(p) : nullptr;
}

// ---- mouse in the non-client area ----

bool TWinSkinForm::NcMouse(UINT msg, WPARAM hitCode, LPARAM lParam, LRESULT& result) {
  const POINT screen{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
  TNCObject* object = ObjectAt(ToWindow(screen));
  result = 0;
  switch (msg) {
    case WM_NCMOUSEMOVE:
      if (!active_) return true;
      if (object) {
        object->MouseMove();
        return true;
      }
      if (hotObject_) hotObject_->MouseLeave();
      return false;
    case WM_NCLBUTTONDOWN:
      if (object) {
        if (!active_) SetForegroundWindow(window_);
        object->MouseDown();
        pressedObject_ = object;
        // A menu bar button drops its menu once this message is done.
        if (auto* button = dynamic_cast<TMenuBtn*>(object)) menuBar_->Open(*button);
        return true;
      }
      if (frameState_ == frMaximized && active_ && hitCode == HTCAPTION) {
        // A maximised window is not dragged by its title.
        result = CallPrevious(msg, HTMENU, lParam);
        return true;
      }
      return false;
    case WM_NCLBUTTONUP: {
      if (!object) {
        pressedObject_ = nullptr;
        return false;
      }
      // Only a release over the button that was pressed acts; a menu bar button acted when pressed.
      const bool acts = object == pressedObject_ && object == hotObject_;
      pressedObject_ = nullptr;
      if (acts) {
        object->MouseUp();
        if (auto* button = dynamic_cast<TWinSysButton*>(object)) ButtonAction(*button, screen);
      }
      return true;
    }
    case WM_NCLBUTTONDBLCLK:
      // A fast second click on a button is a click on that button, never a maximise.
      if (object) return NcMouse(WM_NCLBUTTONDOWN, hitCode, lParam, result);
      if (hitCode != HTCAPTION) return false;
      if (frameState_ != frNormal) {
        Restore();
      } else if (boxFlags_ & boxflag::kMaximize) {
        Maximize();
      }
      return true;
    case WM_NCRBUTTONDOWN:
      if (hitCode != HTCAPTION || IsMdiChild()) return false;
      ShowSystemMenu(screen.x, screen.y);
      return true;
    case WM_NCRBUTTONUP:
      // The press opened the skin's menu: the release must not open the system's as well.
      return hitCode == HTCAPTION && !IsMdiChild();
    default:
      return false;
  }
}

void TWinSkinForm::HoverCheck() {
  if (MenuBarPopupOpen()) return;
  POINT cursor{};
  GetCursorPos(&cursor);
  // A bare push button hears of no leave from the framework: the timer tells it.
  if (!form_ && hotButton_) {
    RECT r{};
    if (!GetWindowRect(hotButton_->Handle(), &r) || !PtInRect(&r, cursor)) LeaveHotButton();
  }
  if (!hotObject_) return;
  const POINT p = ToWindow(cursor);
  if (!hotObject_->Rect.Contains(p.x, p.y)) {
    if (pressedObject_ == hotObject_) pressedObject_ = nullptr;
    hotObject_->MouseLeave();
  }
}

// ---- what the buttons do ----

void TWinSkinForm::Maximize() {
  if (frameState_ == frMaximized) return Restore();
  if (IsMdiChild() && SkinManager) SkinManager->SetMdiMaximized(true);
  frameState_ = frMaximized;
  if (hotObject_) hotObject_->MouseLeave();
  PostMessageW(window_, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
}

void TWinSkinForm::Minimize() {
  if (frameState_ == frMinimized) return Restore();
  frameState_ = frMinimized;
  PostMessageW(window_, WM_SYSCOMMAND, SC_MINIMIZE, 0);
}

void TWinSkinForm::Restore() {
  frameState_ = frNormal;
  PostMessageW(window_, WM_SYSCOMMAND, SC_RESTORE, 0);
}

void TWinSkinForm::ButtonAction(const TWinSysButton& button, POINT screen) {
  const int action = button.Data.Action;
  switch (action) {
    case 0:
      StartHoverTimer(false);
      PostMessageW(window_, WM_SYSCOMMAND, SC_CLOSE, 0);
      return;
    case 1:
    case 22:
      return Maximize();
    case 2:
    case 23:
      return Minimize();
    case 3:
    case 11:
    case 12:
      return ShowSystemMenu(screen.x + 1, screen.y + 1);
    case 7:
    case 60:
    case 8:
    case 61:
    case 9:
    case 62: {
      // The buttons of a maximised MDI child, in its frame's menu bar.
      const WPARAM command = action == 7 || action == 60 ? SC_MINIMIZE : action == 8 || action == 61 ? SC_RESTORE
                                                                                                      : SC_CLOSE;
      if (mdiKind_ != mkFrame) return;
      HWND client = FindWindowExW(window_, nullptr, L"MDIClient", nullptr);
      auto child = client ? reinterpret_cast<HWND>(SendMessageW(client, WM_MDIGETACTIVE, 0, 0)) : nullptr;
      if (!child) return;
      SendMessageW(child, WM_SYSCOMMAND, command, 0);
      if (SkinManager && SkinManager->MdiMaximized() && !IsZoomed(child)) SkinManager->SetMdiMaximized(false);
      return;
    }
    default:
      PostMessageW(window_, WM_SKIN_BUTTONACTION, static_cast<WPARAM>(action), 0);
      return;
  }
}

// ---- commands ----

bool TWinSkinForm::CommandHandler(WPARAM wParam, LPARAM, LRESULT& result) {
  const WORD id = LOWORD(wParam);
  if (id >= 0xFF00 || !IsSystemCommandId(id)) return false;
  // The system menu shown with TrackPopupMenu reports its items as commands.
  PostMessageW(window_, WM_SYSCOMMAND, id, 0);
  result = 0;
  return true;
}

bool TWinSkinForm::SysCommandHandler(WPARAM wParam, LPARAM lParam, LRESULT& result) {
  const WPARAM command = wParam & 0xFFF0;
  if (!MenuBarPopupOpen() && command == SC_KEYMENU && lParam != ' ' && lParam != '-' && !GetCapture()) {
    // Alt or F10 alone would enter the menu mode of a menu bar the skin hides.
    if (lParam == 0) {
      result = 1;
      return true;
    }
    // Alt and a menu bar button's accelerator (from a window the framework's keys do not reach).
    if (TMenuBtn* button = menuBar_ ? menuBar_->AcceleratorButton(static_cast<char16_t>(lParam)) : nullptr) {
      menuBar_->Open(*button);
      result = 0;
      return true;
    }
  }
  if (command == SC_MINIMIZE) {
    frameState_ = frMinimized;
    if (IsMdiChild()) SetFrameStyles(true);
  } else if (command == SC_MAXIMIZE) {
    frameState_ = frMaximized;
  } else if (command == SC_RESTORE) {
    frameState_ = frNormal;
    if (IsMdiChild()) SetFrameStyles(false);
  }
  result = CallPrevious(WM_SYSCOMMAND, wParam, lParam);
  return true;
}

// ---- the system menu ----

void TWinSkinForm::BuildSystemMenu() {
  systemMenu_.reset();
  if (!skin_) return;
  auto menu = std::make_unique<TPopupMenu>(nullptr);
  menu->SetTag(kSystemMenuTag);
  menu->SetOwnerDraw(true);
  menu->SetImages(skin_->MenuGlyphs());
  auto add = [&](const char16_t* caption, int tag) {
    auto* item = new TMenuItem(menu.get());
    item->SetCaption(caption);
    item->SetTag(tag);
    if (tag != smLine) item->SetImageIndex(tag);
    // What closes a window from the keyboard (and what the window's own system menu shows).
    if (tag == smClose) item->SetShortCut(TextToShortCut(u"Alt+F4"));
    if (tag != smLine) item->OnClick = [this, tag](TObject*) { SystemMenuClick(tag); };
    menu->Items()->Add(item);
  };
  add(u" Restore ", smRestore);
  if (boxFlags_ & boxflag::kMaximize) add(u" Maximize ", smMaximize);
  if (boxFlags_ & boxflag::kMinimize) add(u" Minimize ", smMinimize);
  add(u"-", smLine);
  add(u" Close ", smClose);
  // Drawn from the skin: its item cells, the popup's background and the glyphs.
  if (popupMenus_) popupMenus_->DressItems(*menu);
  systemMenu_ = std::move(menu);
}

void TWinSkinForm::SystemMenuClick(int tag) {
  switch (tag) {
    case smRestore: return Restore();
    case smMaximize: return Maximize();
    case smMinimize: return Minimize();
    case smClose:
      StartHoverTimer(false);
      PostMessageW(window_, WM_CLOSE, 0, 0);
      return;
    default: return;
  }
}

void TWinSkinForm::ShowSystemMenu(int x, int y) {
  if (systemMenu_) {
    TMenuItem* items = systemMenu_->Items();
    for (int i = 0; i < items->Count(); ++i) {
      TMenuItem* item = items->Items(i);
      if (item->Tag() == smRestore) item->SetEnabled(frameState_ != frNormal);
      if (item->Tag() == smMaximize) item->SetEnabled(frameState_ != frMaximized);
      if (item->Tag() == smMinimize) item->SetEnabled(frameState_ != frMinimized);
    }
  }
  const DWORD now = GetTickCount();
  if (hasMenuRequest_ && now - lastMenuRequest_ <= GetDoubleClickTime()) {
    // A double click on the icon button closes the window, as the system's icon does.
    if (hotObject_) {
      StartHoverTimer(false);
      PostMessageW(window_, WM_CLOSE, 0, 0);
    }
    return;
  }
  hasMenuRequest_ = true;
  lastMenuRequest_ = now;
  const bool skinned = skin_ && (skin_->SkinControls() & SkinControlBit(xcSystemMenu)) && !IsMdiChild();
  if (skinned && systemMenu_) {
    systemMenu_->Popup(x, y);
  } else if (HMENU menu = GetSystemMenu(window_, FALSE)) {
    TrackPopupMenu(menu, TPM_RIGHTBUTTON, x, y, 0, window_, nullptr);
  }
}

}  // namespace qlt
