#pragma once
// Menus: TMenuItem (a tree of items), TMainMenu (a form's menu bar) and TPopupMenu. Each menu keeps
// a system menu handle up to date with its items; a change to an item rebuilds the menu it sits in
// (handles stay the same) and tells the form (CM_MENUCHANGED). With OwnerDraw the items are drawn
// by the framework, or by OnAdvancedDrawItem and OnMeasureItem where an item has them.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ui/Classes.h"
#include "ui/Graphics.h"

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
using TAdvancedMenuDrawItemEvent =
    std::function<void(TObject* Sender, TCanvas* ACanvas, TRect ARect, TOwnerDrawState State)>;
using TMenuMeasureItemEvent = std::function<void(TObject* Sender, TCanvas* ACanvas, int& Width, int& Height)>;

class TMenu;

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
  void Changed();         // this item looks different: its menu is rebuilt
  void RebuildHandle();   // fills the sub-menu handle with the visible sub-items
  void AppendTo(HMENU menu, bool ownerDraw);
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
  // The form window that shows this menu (a menu bar); told of changes.
  HWND WindowHandle() const { return window_; }
  void SetWindowHandle(HWND window) { window_ = window; }

  TMenuItem* FindItem(UINT command) const { return items_->FindCommand(command); }
  // Runs the click of the item of a command; false when the command is not this menu's.
  bool DispatchCommand(UINT command);
  // Clicks the enabled item with this shortcut; false when there is none.
  bool IsShortCut(TShortCut shortCut);

  std::vector<TComponent*> GetChildren(TComponent* root) const override;
  void Notification(TComponent* component, TOperation operation) override;
  virtual void MenuChanged();
  // The item of a command in any menu of the program.
  static TMenuItem* FindAnyItem(UINT command);

 protected:
  friend class TMenuItem;
  virtual bool IsMenuBar() const { return false; }
  std::unique_ptr<TMenuItem> items_;
  bool ownerDraw_ = false;
  TImageList* images_ = nullptr;
  HWND window_ = nullptr;
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
  // after that, from the message loop).
  virtual void Popup(int x, int y);
  TComponent* PopupComponent() const { return popupComponent_; }
  void SetPopupComponent(TComponent* component) { popupComponent_ = component; }
  bool AutoPopup() const { return autoPopup_; }
  void SetAutoPopup(bool value) { autoPopup_ = value; }
  void Notification(TComponent* component, TOperation operation) override;
  // The hidden window that owns every popup menu while it shows ("TPopupList"); it receives the
  // menus' WM_COMMAND, WM_MEASUREITEM and WM_DRAWITEM.
  static HWND PopupListWindow();

  TNotifyEvent OnPopup;

 private:
  TComponent* popupComponent_ = nullptr;
  bool autoPopup_ = true;
};

// Draws or measures a menu item from WM_DRAWITEM / WM_MEASUREITEM (any menu of the program);
// false when the message is not about a framework menu item.
bool DrawMenuItem(const DRAWITEMSTRUCT& dis);
bool MeasureMenuItem(MEASUREITEMSTRUCT& mis, HWND window);

}  // namespace qlt
