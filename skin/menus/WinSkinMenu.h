#pragma once
// TWinSkinMenu: the menu bar of a skinned window, painted inside the skinned frame under the title
// bar. The window's own menu bar is taken away (its menu is kept and given back when the skin goes);
// one TMenuBtn per top-level item turns hot under the mouse and drops its menu below itself with
// the first item selected. While a drop-down is open a message filter of the menu loop follows the
// keyboard and the mouse: Left and Right go to the neighbouring drop-down where the menu has no
// sub-menu to open or close, the mouse moving along the bar switches drop-downs, a click on the
// open button closes it. A switch closes the open drop-down (EndMenu) and opens the next once the
// first has returned, so one drop-down is open at a time, and the filter is gone when the menu ends.
// What the selection is comes from the window's own menu messages (the form skinner hands them
// over), never from the filter, which sees only the posted ones.
//
// The drop-downs run from a window of their own, so a window whose skin goes away (or that is
// destroyed) while its drop-down is open only ends the menu.
//
// The items of a framework main menu are drawn by the skin's item painter while the window is
// skinned (owner-drawn; items with a drawing handler of their own keep it), and the menu is given
// back exactly as it was. Entries the window's menu does not draw itself (a window without a form
// object, entries merged in by Win32 calls) are marked owner-drawn while their drop-down shows and
// drawn by the same painter; the mark goes when the drop-down closes. Drop-down items lie on the
// popup window's skinned background, as the items of every skinned popup menu do.
//
// Opening a bar item's drop-down runs the item's own click first (WM_COMMAND), so that it can
// bring its sub-items up to date before they show.
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "skin/frame/SkinPixels.h"
#include "skin/frame/WinSkinForm.h"
#include "skin/menus/MenuBarLayout.h"
#include "ui/Classes.h"
#include "ui/Handles.h"
#include "ui/Menus.h"

namespace qlt {

class TWinSkinMenu;

// One top-level item of the bar.
class TMenuBtn : public TNCObject {
 public:
  TMenuBtn(TWinSkinForm& owner, TWinSkinMenu& bar) : TNCObject(owner), bar_(bar) {}
  void Paint() override;
  // Shows, has a caption, is enabled and has a drop-down: the keyboard and the mouse may open it.
  bool Opens() const { return Visible && !Caption.empty() && Enabled && SubMenu; }

  TMenuItem* Item = nullptr;  // the framework item, for a bar built from a main menu
  int Index = 0;
  std::u16string Caption;     // with its "&" accelerator marker
  bool Enabled = true;
  HMENU SubMenu = nullptr;    // the drop-down, none for an item without sub-items
  UINT Command = 0;

 private:
  TWinSkinMenu& bar_;
};

class TWinSkinMenu : public TComponent {
  QLT_CLASS(TWinSkinMenu)
 public:
  explicit TWinSkinMenu(TWinSkinForm& form);
  ~TWinSkinMenu() override;

  // Takes the window's menu bar over: the window's menu is kept, its items become buttons and the
  // window's own bar goes. A framework main menu is drawn by the skin from now.
  void Build();
  // The window's menu changed (CM_MENUCHANGED): the window shows no bar of its own again, and the
  // buttons are rebuilt when `rebuild`: from the window's menu as it is now when `merge` (entries
  // others merged into it get buttons too), else from the form's main menu.
  void MenuChanged(bool rebuild, bool merge);
  // An MDI frame's bar: from the form's main menu again (its last child has gone), or from the
  // menu the frame was given (items without a caption are found in the main menu by command).
  void RebuildFromMenu();
  void RebuildFromHandle(HMENU menu);
  // Gives the window its menu bar back as it was before the skin, the main menu's owner drawing
  // and the draw handlers included; an open drop-down ends.
  void GiveBack();

  HMENU MenuHandle() const { return menuHandle_; }
  const std::vector<std::unique_ptr<TMenuBtn>>& Buttons() const { return buttons_; }
  TMenuBtn* Button(int index) const;
  // Where the bar was last laid out, window coordinates (empty before the first paint).
  const SkinRect& BarRect() const { return barRect_; }
  // The button under a point (window coordinates) that shows with a caption, or nullptr.
  TMenuBtn* ButtonAt(POINT window) const;
  // The button whose caption has this accelerator (shown and enabled), or nullptr.
  TMenuBtn* AcceleratorButton(char16_t typed) const;

  // Composes the bar into the frame's pixels: background from the skin, the buttons laid out and
  // their captions drawn (`dc` is the surface's, for the text), hot and pressed ones outlined.
  void Compose(const PixelView& view, HDC dc, const SkinRect& bar, bool active);

  // A button was clicked (or its accelerator typed): its drop-down opens once the message being
  // handled is done; a button without one posts its command.
  void Open(const TMenuBtn& button);
  // Menu messages the window receives (WM_MENUSELECT, WM_INITMENUPOPUP, WM_UNINITMENUPOPUP): while
  // this bar's drop-down is open they tell where the selection is.
  void MenuMessage(UINT msg, WPARAM wParam, LPARAM lParam);
  // WM_MEASUREITEM and WM_DRAWITEM the window receives: the entries of the open drop-down the skin
  // marked are measured and drawn here (result set, true); anything else is the window's.
  bool OwnerDrawMessage(UINT msg, LPARAM lParam, LRESULT& result);

  // A drop-down of a skinned menu bar is open (or about to open) now.
  static bool DropDownOpen();
  // The menu loop's message filter is installed.
  static bool FilterInstalled();

  void Notification(TComponent* component, TOperation operation) override;

 private:
  friend struct DropDownRun;
  void BuildFromMenu(TMainMenu& menu);
  void BuildFromHandle();
  // The main menu's top-level item for a bar item that has no caption of its own, or nullptr.
  TMenuItem* MenuItemFor(UINT command, int position) const;
  // The buttons of a maximised MDI child, drawn in the bar.
  void ComposeMdiButtons(const PixelView& view) const;
  // The form's main menu drawn by the skin, or given back.
  void AdoptMenu(TMainMenu* menu);
  void ReleaseMenu();
  void RemoveWindowBar();
  void DrawOnPopup(const TSkinData& skin, TMenuItem& item, const DRAWITEMSTRUCT& dis);
  void MeasureEntry(const TSkinData& skin, TMenuItem& item, int& width, int& height);
  // A framework item standing for an entry of a menu that has none.
  TMenuItem& EntryItem(HMENU menu, UINT position);
  void LayOut(HDC dc, const SkinRect& bar);
  // One drop-down, from its opening until TrackPopupMenuEx returns; false when this bar went away
  // meanwhile (nothing of it may be touched then).
  bool DropDown(int index);
  // The filter's part: true when the message is used up here.
  bool Filter(MSG& msg);
  void SwitchTo(int index);
  std::vector<bool> OpeningButtons() const;
  POINT ToWindow(POINT screen) const;

  TWinSkinForm& form_;
  std::vector<std::unique_ptr<TMenuBtn>> buttons_;
  HMENU menuHandle_ = nullptr;   // the window's menu, kept while the window shows none
  TMainMenu* menu_ = nullptr;    // the form's main menu, drawn by the skin
  bool ownerDrawSet_ = false;    // the skin switched the main menu's owner drawing on
  TMenuHook drawHook_;
  // The items' canvas, with the menu font made once (a font per item costs more than the item).
  TCanvas itemCanvas_;
  UniqueMemoryDc measureDc_;
  std::unique_ptr<TMenuItem> entryItem_;
  SkinRect barRect_;
  UniqueFont font_;
};

}  // namespace qlt
