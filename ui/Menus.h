#pragma once
// Menus: TMenuItem (a tree of items), TMainMenu (a form's menu bar) and TPopupMenu. Each menu keeps
// a system menu handle up to date with its items. A change to an item updates that one entry of the
// menu it sits in (SetMenuItemInfoW, or an insert or removal when it shows or hides), keeping what
// others put on the other entries and on this one (owner-draw marks, item data, the highlight);
// handles stay the same and the form is told (CM_MENUCHANGED). With OwnerDraw the items are drawn
// by the framework, or by OnAdvancedDrawItem and OnMeasureItem where an item has them.
//
// Every sub-menu handle maps back to its item (TMenu::FindItemByHandle), and an entry of a menu to
// its item by position or command. The menu messages that reach the popup list window or a form
// (WM_INITMENUPOPUP, WM_MENUSELECT, WM_UNINITMENUPOPUP, WM_MEASUREITEM, WM_DRAWITEM,
// WM_ENTERMENULOOP, WM_EXITMENULOOP) are resolved to the menu and item they concern and pass
// through TMenuHook watchers before the menu's own handling (TMenu::MenuMessage).
#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ui/Classes.h"
#include "ui/Controls.h"
#include "ui/Graphics.h"
#include "ui/SysUtils.h"

namespace qlt {

// A virtual key with the modifiers: Shift 0x2000, Ctrl 0x4000, Alt 0x8000 ("Ctrl+S" is 0x4053).
using TShortCut = int32_t;
inline constexpr TShortCut scShift = 0x2000;
inline constexpr TShortCut scCtrl = 0x4000;
inline constexpr TShortCut scAlt = 0x8000;
std::u16string ShortCutToText(TShortCut shortCut);
TShortCut TextToShortCut(std::u16string_view text);  // 0 for a text that is no shortcut

enum TOwnerDrawStateFlag : uint32_t {
  odSelected = 1,
  odGrayed = 2,
  odDisabled = 4,
  odChecked = 8,
  odFocused = 16,
  odDefault = 32,
  odNoAccel = 256,
};
using TOwnerDrawState = uint32_t;
// The state of an item as WM_DRAWITEM gives it (ODS_ flags), as the draw events take it.
TOwnerDrawState OwnerDrawStateOf(UINT itemState);
using TAdvancedMenuDrawItemEvent =
    std::function<void(TObject* Sender, TCanvas* ACanvas, TRect ARect, TOwnerDrawState State)>;
using TMenuMeasureItemEvent = std::function<void(TObject* Sender, TCanvas* ACanvas, int& Width, int& Height)>;

// Reading order of a menu (and of the form that shows it): right to left mirrors the items (the
// glyph at the right end, the text right-aligned) and puts a menu bar's items at the right.
enum TBiDiMode { bdLeftToRight, bdRightToLeft };

class TMenu;
class TMenuItem;

// An item put where it cannot go: into itself or its own sub-items (the tree would become a
// loop), or a menu's root item into another menu.
class EMenuError : public Exception {
  using Exception::Exception;
};

namespace detail {
struct MenuHookLinks;
class MenuDispatch;
}  // namespace detail

// A menu message with the framework objects it concerns, as hooks and TMenu::MenuMessage see it.
struct TMenuMessage {
  UINT Msg = 0;
  WPARAM WParam = 0;
  LPARAM LParam = 0;
  LRESULT Result = 0;
  HWND Window = nullptr;       // where it arrived: the popup list window or a form
  HMENU MenuHandle = nullptr;  // the menu opened, closed, selected in or drawn in; null when none is named
  TMenu* Menu = nullptr;       // the framework menu it concerns; null for other menus
  TMenuItem* Item = nullptr;   // WM_(UN)INITMENUPOPUP: the item whose sub-menu it is (a menu's root item
                               // for the menu itself); WM_MENUSELECT: the item selected;
                               // WM_MEASUREITEM, WM_DRAWITEM: the item measured or drawn
  // Answered: Result goes back to the system and the window's default handling is left out. A hook
  // that sets it also keeps the message from the hooks after it and from the menu's own handling.
  bool Handled = false;
  // Runs the hooks after this one and the menu's own handling now (once), so that a hook can act
  // after them, for example widen what the framework measured.
  void Inherited();

 private:
  friend class detail::MenuDispatch;
  detail::MenuDispatch* dispatch_ = nullptr;
};

class TMenuHookChain;

// One watcher of menu messages. It links itself into a chain when attached and unlinks itself when
// detached or destroyed, wherever it stands: removing hooks in any order, from inside a hook too,
// never cuts another off, and a chain that is gone first leaves its hooks harmlessly detached.
// The newest hook sees a message first.
class TMenuHook {
 public:
  using THandler = std::function<void(TMenuMessage&)>;
  TMenuHook() = default;
  TMenuHook(TMenuHookChain& chain, THandler handler) { Attach(chain, std::move(handler)); }
  ~TMenuHook() { Detach(); }
  TMenuHook(const TMenuHook&) = delete;
  TMenuHook& operator=(const TMenuHook&) = delete;
  // Links the hook in at the front of a chain (leaving the chain it was in).
  void Attach(TMenuHookChain& chain, THandler handler);
  // Unlinks it; safe to call twice and after the chain has been freed.
  void Detach();
  bool Attached() const;

 private:
  std::weak_ptr<detail::MenuHookLinks> links_;
  std::shared_ptr<THandler> handler_;
};

// The hooks of one place: every TMenu has one, the popup list window has one.
class TMenuHookChain {
 public:
  TMenuHookChain();
  ~TMenuHookChain();
  TMenuHookChain(const TMenuHookChain&) = delete;
  TMenuHookChain& operator=(const TMenuHookChain&) = delete;
  int Count() const;  // hooks linked in

 private:
  friend class TMenuHook;
  friend class detail::MenuDispatch;
  std::shared_ptr<detail::MenuHookLinks> links_;
};

class TMenuItem : public TComponent {
  QLT_CLASS(TMenuItem)
 public:
  explicit TMenuItem(TComponent* owner);
  ~TMenuItem() override;

  const std::u16string& Caption() const { return caption_; }
  void SetCaption(const std::u16string& caption);
  bool Checked() const { return checked_; }
  void SetChecked(bool value);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool value);
  bool Visible() const { return visible_; }
  void SetVisible(bool value);
  bool Default() const { return default_; }
  void SetDefault(bool value);
  bool RadioItem() const { return radioItem_; }
  void SetRadioItem(bool value);
  TShortCut ShortCut() const { return shortCut_; }
  void SetShortCut(TShortCut value);
  int32_t ImageIndex() const { return imageIndex_; }
  void SetImageIndex(int32_t value);
  const std::u16string& Hint() const { return hint_; }
  void SetHint(const std::u16string& hint) { hint_ = hint; }
  bool IsLine() const { return caption_ == u"-"; }

  int Count() const { return static_cast<int>(items_.size()); }
  TMenuItem* Items(int index) const { return items_.at(static_cast<size_t>(index)); }
  // Moves the item here from where it was; EMenuError for an item that cannot go here.
  void Add(TMenuItem* item);
  void Insert(int index, TMenuItem* item);
  void Remove(TMenuItem* item);  // the item is not freed
  void Delete(int index);        // the item is freed
  void Clear();                  // every sub-item is freed
  int IndexOf(const TMenuItem* item) const;
  TMenuItem* Parent() const { return parent_; }
  int MenuIndex() const { return parent_ ? parent_->IndexOf(this) : -1; }
  TMenu* GetParentMenu() const;
  // The command identifier that WM_COMMAND, WM_DRAWITEM and WM_MEASUREITEM carry for this item.
  UINT Command() const { return command_; }
  // The menu of the sub-items (created on demand).
  HMENU Handle();
  bool HandleAllocated() const { return static_cast<bool>(handle_); }
  // The item's position in its parent's menu as the system shows it; -1 while it is not there
  // (invisible, no parent, or the parent's menu not made yet).
  int MenuPosition() const;
  TImageList* GetImageList() const;

  virtual void Click();
  // Draws the item: its OnAdvancedDrawItem, or the framework's look.
  void AdvancedDrawItem(TCanvas* canvas, TRect rect, TOwnerDrawState state, bool topLevel);
  // Measures the item: the framework's size, then OnMeasureItem may change it.
  void MeasureItem(TCanvas* canvas, int& width, int& height);
  void DefaultDrawItem(TCanvas* canvas, TRect rect, TOwnerDrawState state, bool topLevel);

  TNotifyEvent OnClick;
  TAdvancedMenuDrawItemEvent OnAdvancedDrawItem;
  TMenuMeasureItemEvent OnMeasureItem;

  void SetParentComponent(TComponent* parent) override;
  TComponent* GetParentComponent() const override;
  std::vector<TComponent*> GetChildren(TComponent* root) const override;
  // The item of a command or a sub-menu handle, here or below; nullptr when there is none.
  TMenuItem* FindCommand(UINT command);
  TMenuItem* FindHandle(HMENU menu);

 private:
  friend class TMenu;
  void Changed();       // this item looks different: its entry is updated, the form told
  void NotifyMenu();    // the form is told that its menu changed
  void FillHandle();    // a new sub-menu handle gets the visible sub-items
  // This item's entry in its parent's menu: put in at its place, brought up to date (or put in or
  // taken out after a visibility change), taken out. resetOwnerDraw: the menu's OwnerDraw decides
  // the owner-draw mark, instead of keeping the one the entry has.
  void InsertEntry();
  void InsertEntryAt(UINT position);
  void UpdateEntry(bool resetOwnerDraw = false);
  void RemoveEntry();
  bool MenuOwnerDraw() const;
  UINT ReadingOrderTypes() const;  // the type bits of the menu's reading order
  std::u16string caption_;
  bool checked_ = false, enabled_ = true, visible_ = true, default_ = false, radioItem_ = false;
  TShortCut shortCut_ = 0;
  int32_t imageIndex_ = -1;
  std::u16string hint_;
  std::vector<TMenuItem*> items_;
  TMenuItem* parent_ = nullptr;
  TMenu* menu_ = nullptr;  // for the root item of a menu
  UINT command_ = 0;
  UniqueMenu handle_;
  // What others put on the entry, kept while it is out of its menu (hidden, or between parents).
  ULONG_PTR entryData_ = 0;
  bool entryOwnerDraw_ = false;
};

class TMenu : public TComponent {
  QLT_CLASS(TMenu)
 public:
  explicit TMenu(TComponent* owner);
  ~TMenu() override;
  TMenuItem* Items() const { return items_.get(); }
  HMENU Handle() { return items_->Handle(); }
  bool OwnerDraw() const { return ownerDraw_; }
  void SetOwnerDraw(bool value);
  TImageList* Images() const { return images_; }
  void SetImages(TImageList* images);
  // A main menu takes its form's reading order: its bar's entries stand at the right
  // (MFT_RIGHTJUSTIFY), and whoever draws its items mirrors them.
  TBiDiMode BiDiMode() const { return biDiMode_; }
  void SetBiDiMode(TBiDiMode mode);
  bool IsRightToLeft() const { return biDiMode_ == bdRightToLeft; }
  // The form window that shows this menu (a menu bar); told of changes.
  HWND WindowHandle() const { return window_; }
  void SetWindowHandle(HWND window) { window_ = window; }

  TMenuItem* FindItem(UINT command) const { return items_->FindCommand(command); }
  // Lookups over every menu of the program. The item whose sub-menu a handle is (for a menu's own
  // handle, its root item Items()); the item shown at a position of a menu, or with a command in
  // it. nullptr for a handle that is no framework menu's (or has been freed) and for an entry that
  // is not a framework item.
  static TMenuItem* FindItemByHandle(HMENU menu);
  static TMenuItem* FindItemAt(HMENU menu, int position);
  static TMenuItem* FindItemByCommand(HMENU menu, UINT command);
  // Runs the click of the item of a command; false when the command is not this menu's.
  bool DispatchCommand(UINT command);
  // Clicks the enabled item with this shortcut; false when there is none.
  bool IsShortCut(TShortCut shortCut);

  std::vector<TComponent*> GetChildren(TComponent* root) const override;
  void Notification(TComponent* component, TOperation operation) override;
  virtual void MenuChanged();
  // The item of a command in any menu of the program.
  static TMenuItem* FindAnyItem(UINT command);

  // Watchers of the messages about this menu, wherever they arrive (popup list window or form).
  TMenuHookChain& Hooks() { return hooks_; }
  // The menu's own handling of a message about it, after the hooks: measuring and drawing its
  // owner-drawn items; a popup menu also runs OnPopup when its root opens.
  virtual void MenuMessage(TMenuMessage& m);

 protected:
  friend class TMenuItem;
  virtual bool IsMenuBar() const { return false; }
  // Every entry brought up to date in place (hidden items take the new state when they show).
  void UpdateEntries(bool resetOwnerDraw);
  std::unique_ptr<TMenuItem> items_;
  bool ownerDraw_ = false;
  TBiDiMode biDiMode_ = bdLeftToRight;
  TImageList* images_ = nullptr;
  HWND window_ = nullptr;
  TMenuHookChain hooks_;
};

class TMainMenu : public TMenu {
  QLT_CLASS(TMainMenu)
 public:
  explicit TMainMenu(TComponent* owner) : TMenu(owner) {}

 protected:
  bool IsMenuBar() const override { return true; }
};

class TPopupMenu : public TMenu {
  QLT_CLASS(TPopupMenu)
 public:
  explicit TPopupMenu(TComponent* owner);
  ~TPopupMenu() override;
  // Shows the menu at a screen point; returns when it has closed (the chosen item's click runs
  // after that, from the message loop). OnPopup runs first, once.
  virtual void Popup(int x, int y);
  TComponent* PopupComponent() const { return popupComponent_; }
  void SetPopupComponent(TComponent* component) { popupComponent_ = component; }
  bool AutoPopup() const { return autoPopup_; }
  void SetAutoPopup(bool value) { autoPopup_ = value; }
  void Notification(TComponent* component, TOperation operation) override;
  // The hidden window that owns every popup menu while it shows ("TPopupList"); it receives the
  // menus' WM_COMMAND and their menu messages.
  static HWND PopupListWindow();
  // Watchers of every menu message the popup list window gets, before the menu's own hooks.
  static TMenuHookChain& PopupListHooks();
  // The popup menu inside Popup() now, or nullptr.
  static TPopupMenu* Tracking();
  void MenuMessage(TMenuMessage& m) override;

  // Runs when the menu opens: from Popup(), or when its root menu opens however it was shown.
  TNotifyEvent OnPopup;

 private:
  TComponent* popupComponent_ = nullptr;
  bool autoPopup_ = true;
  bool popupAnnounced_ = false;  // Popup() ran OnPopup for the opening under way
};

// Draws or measures a menu item from WM_DRAWITEM / WM_MEASUREITEM (any menu of the program);
// false when the message is not about a framework menu item.
bool DrawMenuItem(const DRAWITEMSTRUCT& dis);
bool MeasureMenuItem(MEASUREITEMSTRUCT& mis, HWND window);

// Routes a message that arrived at a window to the menu objects it concerns: the window's own
// hooks (may be null), then the hooks of the menu, then TMenu::MenuMessage. loopMenu is the menu
// that WM_ENTERMENULOOP, WM_EXITMENULOOP and the closing WM_MENUSELECT concern (they name none).
// Returns true when the message was answered (m.Result set; leave out the default handling);
// false at once for messages that are not about menus.
bool DispatchMenuMessage(HWND window, TMessage& m, TMenuHookChain* windowHooks, TMenu* loopMenu);

}  // namespace qlt
