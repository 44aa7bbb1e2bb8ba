#pragma once
// TWinSkinPopMenu: the skin on one popup menu window ("#32768"), whoever shows the menu (the tray
// menu, a form's popup menu, the skinned system menu, an edit's context menu). The skin manager
// makes one when the window is created and frees it when the window goes. It subclasses the
// window, answers WM_SKIN_QUERY, renders the skin's menu background at the window's size and puts
// its border strips around the items; the skinned item painting copies the items' background
// from the same bitmap (looked up by menu handle through the manager), so items and border are
// one picture.
//
// The system paints a popup's border in one of two ways: as a non-client frame (WM_NCPAINT, and
// WM_PRINT for the opening animation), or, as Wine does, inside the client area during WM_PAINT.
// The skinner answers the first and paints over the second once the default paint is done.
#include <windows.h>

#include <memory>

#include "skin/frame/SkinPixels.h"
#include "ui/Controls.h"
#include "ui/Handles.h"

namespace qlt {

class TSkinData;
struct RenderedMenuBackground;

class TWinSkinPopMenu {
 public:
  TWinSkinPopMenu() = default;
  ~TWinSkinPopMenu();
  TWinSkinPopMenu(const TWinSkinPopMenu&) = delete;
  TWinSkinPopMenu& operator=(const TWinSkinPopMenu&) = delete;

  // Subclasses the window; `menu` may be null (learnt when the window paints). False when the
  // window cannot be subclassed (gone, or another thread's).
  bool AttachPopup(HWND window, TSkinData& skin, HMENU menu);
  // Gives the window its own procedure back and drops the background; safe twice, and after the
  // window is gone.
  void ReleasePopup();
  bool Attached() const { return subclass_.Attached(); }

  HWND Window() const { return window_; }
  TSkinData* Skin() const { return skin_; }
  // The menu shown in the window, once known.
  HMENU Menu() const { return menu_; }
  // The whole window's background as the skin draws it (a 32-bit top-down DIB section of the
  // window's size), or null before the first paint and without a skinned background.
  HBITMAP Background() const;
  SIZE BackgroundSize() const;
  // Set for a popup dropped from a skinned menu bar.
  bool DroppedFromMenuBar() const { return droppedFromMenuBar_; }
  void MarkDroppedFromMenuBar() { droppedFromMenuBar_ = true; }

  // The popup that painted before it knew its menu (the system did not say), waiting for the first
  // item painted to tell it; nullptr when none waits.
  static TWinSkinPopMenu* PendingPopup();
  // The item painting reports the menu of an item it paints: a waiting popup takes it.
  static void MenuPainted(HMENU menu);
  // Backgrounds are rendered once for popups of the same size and look (the tray menu opened again
  // and again) and kept for the next ones; this lets the kept ones go.
  static void FreeKeptBackgrounds();

 private:
  void PopupWndProc(TMessage& m, const TWindowSubclass::Next& next);
  // The skin has a menu background to paint with.
  bool CanPaint() const;
  // Renders the background at the window's size (when it changed) and learns the menu; false when
  // there is nothing to paint with.
  bool PrepareBackground();
  void PaintBorder(HDC windowDc) const;
  void Print(TMessage& m, const TWindowSubclass::Next& next);

  TWindowSubclass subclass_;
  HWND window_ = nullptr;
  TSkinData* skin_ = nullptr;
  HMENU menu_ = nullptr;
  std::shared_ptr<const RenderedMenuBackground> background_;
  bool droppedFromMenuBar_ = false;
};

}  // namespace qlt
