#pragma once
// The skin's item painting on the popup menus of one skinned form (the tray menu of QLT's main
// window is one), and on the menus the engine makes itself (the skinned system menu). A form
// skinner holds one.
//
// Switching on makes each popup menu component the skin draws owner-drawn and gives every item
// that has no draw handler of its own the skin's painter and measurer; an item with its own
// OnAdvancedDrawItem keeps both its handlers. What was changed is recorded, and switching off gives
// back exactly that: each menu's OwnerDraw as it was (the entries lose the owner-draw mark and
// keep their text and item data), each changed item's handlers as they were; the application's
// own handlers are never touched. The skin's handlers hold the skin weakly: one left on an item
// after its recorder is gone, or after the skin component is freed, paints the framework's look.
#include <memory>
#include <vector>

#include "ui/Classes.h"
#include "ui/Menus.h"

namespace qlt {

class TForm;
class TSkinData;

class TSkinnedPopupMenus : public TComponentObserver {
 public:
  explicit TSkinnedPopupMenus(TSkinData& skin);
  ~TSkinnedPopupMenus() override;
  TSkinnedPopupMenus(const TSkinnedPopupMenus&) = delete;
  TSkinnedPopupMenus& operator=(const TSkinnedPopupMenus&) = delete;

  // On: the popup menus the form owns get the skin's painting, when the skin draws popup menus
  // (xcPopupMenu) and the menu's Tag mod 100 is not the skin's DisableTag; run again after a skin
  // change, it applies afresh. Off: Restore.
  void SetPopupMenusOwnerDraw(TForm& form, bool on);
  // Gives back what was changed; safe twice.
  void Restore();
  // The items of a menu of the engine's own get the skin's painter and measurer for good.
  void DressItems(TMenu& menu);

  // The menus whose look was changed, in order.
  std::vector<TPopupMenu*> ChangedMenus() const;
  // Whether the skin's painter or measurer is on the item.
  static bool PaintedBySkin(const TMenuItem& item);

  void ComponentDestroying(TComponent* component) noexcept override;

  // What the handlers reach the skin through; empty once the skin is gone.
  struct SkinLink {
    TSkinData* skin = nullptr;
  };

 private:
  void DressTree(TMenuItem& parent, bool record);

  struct MenuRecord {
    TPopupMenu* menu;
    bool ownerDrawBefore;
  };
  struct ItemRecord {
    TMenuItem* item;
    TMenuMeasureItemEvent measureBefore;
  };
  std::shared_ptr<SkinLink> link_;
  std::vector<MenuRecord> menus_;
  std::vector<ItemRecord> items_;
};

}  // namespace qlt
