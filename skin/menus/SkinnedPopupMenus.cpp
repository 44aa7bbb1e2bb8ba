#include "skin/menus/SkinnedPopupMenus.h"

#include <algorithm>

#include "skin/data/WinSkinData.h"
#include "skin/menus/MenuItemPainter.h"
#include "ui/Forms.h"

namespace qlt {

namespace {

using SkinLink = TSkinnedPopupMenus::SkinLink;

// The skin's draw handler of an item. A named type, so that the recorder knows its own handler
// from the application's when it gives the items back.
struct SkinItemDrawer {
  std::weak_ptr<SkinLink> link;
  void operator()(TObject* sender, TCanvas* canvas, TRect rect, TOwnerDrawState state) const {
    auto* item = dynamic_cast<TMenuItem*>(sender);
    if (!item || !canvas) return;
    const std::shared_ptr<SkinLink> to = link.lock();
    if (!to || !to->skin) return item->DefaultDrawItem(canvas, rect, state, false);
    TMenuItem* parent = item->Parent();
    const HMENU menu = parent && parent->HandleAllocated() ? parent->Handle() : nullptr;
    DrawSkinnedMenuItemOnPopup(*to->skin, *item, *canvas, rect, state, menu);
  }
};

// The skin's measure handler: the item's own measuring (if it had one) first, then the room for
// the skin's band and glyph column.
struct SkinItemMeasurer {
  std::weak_ptr<SkinLink> link;
  TMenuMeasureItemEvent before;
  void operator()(TObject* sender, TCanvas* canvas, int& width, int& height) const {
    if (before) before(sender, canvas, width, height);
    auto* item = dynamic_cast<TMenuItem*>(sender);
    const std::shared_ptr<SkinLink> to = link.lock();
    if (item && to && to->skin) MeasureSkinnedPopupItem(*to->skin, *item, width, height);
  }
};

// Tag mod 100 with the sign of Tag, as the skin's DisableTag is compared.
bool Disabled(const TComponent& c, const TSkinData& skin) { return c.Tag() % 100 == skin.DisableTag(); }

}  // namespace

TSkinnedPopupMenus::TSkinnedPopupMenus(TSkinData& skin) : link_(std::make_shared<SkinLink>(SkinLink{&skin})) {
  RegisterComponentObserver(this);
}

TSkinnedPopupMenus::~TSkinnedPopupMenus() {
  Restore();
  // Handlers left on the engine's own menus find no skin from now on.
  link_->skin = nullptr;
}

bool TSkinnedPopupMenus::PaintedBySkin(const TMenuItem& item) {
  return item.OnAdvancedDrawItem.target<SkinItemDrawer>() != nullptr ||
         item.OnMeasureItem.target<SkinItemMeasurer>() != nullptr;
}

void TSkinnedPopupMenus::SetPopupMenusOwnerDraw(TForm& form, bool on) {
  Restore();
  if (!on || !link_->skin) return;
  const TSkinData& skin = *link_->skin;
  if (!(skin.SkinControls() & SkinControlBit(xcPopupMenu))) return;
  for (int i = 0; i < form.ComponentCount(); ++i) {
    auto* menu = dynamic_cast<TPopupMenu*>(form.Components(i));
    if (!menu || Disabled(*menu, skin)) continue;
    menus_.push_back({menu, menu->OwnerDraw()});
    menu->SetOwnerDraw(true);
    DressTree(*menu->Items(), true);
  }
}

void TSkinnedPopupMenus::DressItems(TMenu& menu) { DressTree(*menu.Items(), false); }

void TSkinnedPopupMenus::DressTree(TMenuItem& parent, bool record) {
  for (int i = 0; i < parent.Count(); ++i) {
    TMenuItem& item = *parent.Items(i);
    // An item the application draws itself keeps its own painting and measuring.
    if (!item.OnAdvancedDrawItem) {
      if (record) items_.push_back({&item, item.OnMeasureItem});
      item.OnMeasureItem = SkinItemMeasurer{link_, item.OnMeasureItem};
      item.OnAdvancedDrawItem = SkinItemDrawer{link_};
    }
    DressTree(item, record);
  }
}

void TSkinnedPopupMenus::Restore() {
  // Only what is still the skin's goes back: a handler the application set meanwhile stays.
  for (auto it = items_.rbegin(); it != items_.rend(); ++it) {
    TMenuItem& item = *it->item;
    if (item.OnAdvancedDrawItem.target<SkinItemDrawer>()) item.OnAdvancedDrawItem = nullptr;
    if (item.OnMeasureItem.target<SkinItemMeasurer>()) item.OnMeasureItem = it->measureBefore;
  }
  items_.clear();
  std::vector<MenuRecord> menus;
  menus.swap(menus_);
  for (const MenuRecord& r : menus) {
    // Off again, the entries lose the owner-draw mark and keep their text and item data.
    if (r.menu->OwnerDraw() != r.ownerDrawBefore) r.menu->SetOwnerDraw(r.ownerDrawBefore);
  }
}

std::vector<TPopupMenu*> TSkinnedPopupMenus::ChangedMenus() const {
  std::vector<TPopupMenu*> out;
  for (const MenuRecord& r : menus_) out.push_back(r.menu);
  return out;
}

void TSkinnedPopupMenus::ComponentDestroying(TComponent* component) noexcept {
  if (component == link_->skin) {
    // The skin goes first: everything goes back now, and nothing paints with it any more.
    Restore();
    link_->skin = nullptr;
    return;
  }
  std::erase_if(items_, [component](const ItemRecord& r) { return r.item == component; });
  std::erase_if(menus_, [component](const MenuRecord& r) { return r.menu == component; });
}

}  // namespace qlt
