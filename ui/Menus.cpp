#include "ui/Menus.h"

#include <algorithm>
#include <map>
#include <unordered_map>

#include "ui/Controls.h"
#include "ui/SysUtils.h"

namespace qlt {


namespace {

// Menu commands live above the control identifiers (100 to 0x7FFF), so that a WM_COMMAND without a
// window is never mistaken for a control's.
std::map<UINT, TMenuItem*> g_commands;
UINT g_nextCommand = 0x8000;
// Every sub-menu handle (and every menu's root handle) of a live item, to that item.
std::unordered_map<HMENU, TMenuItem*> g_handles;
TPopupMenu* g_tracking = nullptr;  // the popup menu inside Popup()

// The state bits and type bits of an entry that the item's properties (and its menu's reading
// order) decide; the others (the highlight, breaks) belong to whoever set them and are kept.
constexpr UINT kItemStates = MFS_CHECKED | MFS_DISABLED | MFS_GRAYED | MFS_DEFAULT;
constexpr UINT kItemTypes = MFT_SEPARATOR | MFT_RADIOCHECK | MFT_RIGHTJUSTIFY;

UINT AllocateCommand(TMenuItem* item) {
  for (int tries = 0; tries < 0x8000; ++tries) {
    const UINT id = g_nextCommand++;
    if (g_nextCommand > 0xFFFF) g_nextCommand = 0x8000;
    if (!g_commands.count(id)) {
      g_commands[id] = item;
      return id;
    }
  }
  return 0;
}

constexpr std::u16string_view kItemIntoItself = u"A menu item cannot be put into itself or its own sub-items";
constexpr std::u16string_view kRootIntoMenu = u"The root item of a menu cannot be put into another menu";

// The system's menu font, for measuring and drawing items.
TFont& MenuFont() {
  static TFont font = [] {
    TFont f;
    NONCLIENTMETRICSW ncm{};
    ncm.cbSize = sizeof ncm;
    if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof ncm, &ncm, 0)) f.SetFromLogFont(ncm.lfMenuFont);
    return f;
  }();
  return font;
}

std::u16string KeyName(int key) {
  if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z')) return std::u16string(1, static_cast<char16_t>(key));
  if (key >= VK_F1 && key <= VK_F24) return u"F" + IntToStr(key - VK_F1 + 1);
  switch (key) {
    case VK_BACK: return u"BkSp";
    case VK_TAB: return u"Tab";
    case VK_RETURN: return u"Enter";
    case VK_ESCAPE: return u"Esc";
    case VK_SPACE: return u"Space";
    case VK_PRIOR: return u"PgUp";
    case VK_NEXT: return u"PgDn";
    case VK_END: return u"End";
    case VK_HOME: return u"Home";
    case VK_LEFT: return u"Left";
    case VK_UP: return u"Up";
    case VK_RIGHT: return u"Right";
    case VK_DOWN: return u"Down";
    case VK_INSERT: return u"Ins";
    case VK_DELETE: return u"Del";
    default: return {};
  }
}

}  // namespace

std::u16string ShortCutToText(TShortCut shortCut) {
  const std::u16string key = KeyName(shortCut & 0xFF);
  if (key.empty()) return {};
  std::u16string text;
  if (shortCut & scShift) text += u"Shift+";
  if (shortCut & scCtrl) text += u"Ctrl+";
  if (shortCut & scAlt) text += u"Alt+";
  return text + key;
}

TShortCut TextToShortCut(std::u16string_view text) {
  TShortCut modifiers = 0;
  std::u16string rest(text);
  const std::pair<std::u16string, TShortCut> prefixes[] = {{u"shift+", scShift}, {u"ctrl+", scCtrl}, {u"alt+", scAlt}};
  for (bool found = true; found;) {
    found = false;
    for (const auto& [prefix, bit] : prefixes) {
      if (rest.size() > prefix.size() && AsciiLower(rest.substr(0, prefix.size())) == prefix) {
        modifiers |= bit;
        rest = rest.substr(prefix.size());
        found = true;
      }
    }
  }
  for (int key = 1; key < 256; ++key) {
    const std::u16string name = KeyName(key);
    if (!name.empty() && SameText(name, rest)) return modifiers | key;
  }
  return 0;
}

// ---- TMenuItem ----

const TClassInfo& TMenuItem::StaticClass() {
  static const TClassInfo info = ClassBuilder<TMenuItem, TComponent>("TMenuItem")
                                     .Str("Caption", &TMenuItem::Caption, &TMenuItem::SetCaption)
                                     .Bool("Checked", &TMenuItem::Checked, &TMenuItem::SetChecked)
                                     .Bool("Default", &TMenuItem::Default, &TMenuItem::SetDefault)
                                     .Bool("Enabled", &TMenuItem::Enabled, &TMenuItem::SetEnabled)
                                     .Default(1)
                                     .Str("Hint", &TMenuItem::Hint, &TMenuItem::SetHint)
                                     .Int("ImageIndex", &TMenuItem::ImageIndex, &TMenuItem::SetImageIndex)
                                     .Default(-1)
                                     .Bool("RadioItem", &TMenuItem::RadioItem, &TMenuItem::SetRadioItem)
                                     .Int("ShortCut", &TMenuItem::ShortCut, &TMenuItem::SetShortCut)
                                     .Bool("Visible", &TMenuItem::Visible, &TMenuItem::SetVisible)
                                     .Default(1)
                                     .Event("OnClick", &TMenuItem::OnClick)
                                     .Event("OnAdvancedDrawItem", &TMenuItem::OnAdvancedDrawItem)
                                     .Event("OnMeasureItem", &TMenuItem::OnMeasureItem)
                                     .Build();
  return info;
}

TMenuItem::TMenuItem(TComponent* owner) : TComponent(owner) {
  command_ = AllocateCommand(this);
  entryData_ = command_;
}

TMenuItem::~TMenuItem() {
  Destroying();
  while (!items_.empty()) delete items_.back();
  if (parent_) parent_->Remove(this);
  g_commands.erase(command_);
  if (handle_) {
    g_handles.erase(handle_.Get());
    // RemoveMenu, not DeleteMenu: entries others added may hold sub-menus that are not ours.
    while (GetMenuItemCount(handle_.Get()) > 0) RemoveMenu(handle_.Get(), 0, MF_BYPOSITION);
  }
}

void TMenuItem::SetCaption(const std::u16string& caption) {
  if (caption == caption_) return;
  caption_ = caption;
  Changed();
}

void TMenuItem::SetChecked(bool value) {
  if (value == checked_) return;
  checked_ = value;
  Changed();
}

void TMenuItem::SetEnabled(bool value) {
  if (value == enabled_) return;
  enabled_ = value;
  Changed();
}

void TMenuItem::SetVisible(bool value) {
  if (value == visible_) return;
  visible_ = value;
  Changed();
}

void TMenuItem::SetDefault(bool value) {
  if (value == default_) return;
  default_ = value;
  Changed();
}

void TMenuItem::SetRadioItem(bool value) {
  if (value == radioItem_) return;
  radioItem_ = value;
  Changed();
}

void TMenuItem::SetShortCut(TShortCut value) {
  if (value == shortCut_) return;
  shortCut_ = value;
  Changed();
}

void TMenuItem::SetImageIndex(int32_t value) {
  if (value == imageIndex_) return;
  imageIndex_ = value;
  Changed();
}

void TMenuItem::Add(TMenuItem* item) { Insert(Count(), item); }

void TMenuItem::Insert(int index, TMenuItem* item) {
  if (!item) return;
  for (const TMenuItem* above = this; above; above = above->parent_) {
    if (above == item) throw EMenuError(std::u16string(kItemIntoItself));
  }
  if (item->menu_) throw EMenuError(std::u16string(kRootIntoMenu));
  if (item->parent_) item->parent_->Remove(item);
  index = std::clamp(index, 0, Count());
  items_.insert(items_.begin() + index, item);
  item->parent_ = this;
  // The first sub-item turns this item's entry into a sub-menu entry (which may make the handle
  // and fill it, the new item included); otherwise only the new entry goes in.
  if (Count() == 1) UpdateEntry();
  item->InsertEntry();
  NotifyMenu();
}

void TMenuItem::Remove(TMenuItem* item) {
  const auto it = std::find(items_.begin(), items_.end(), item);
  if (it == items_.end()) return;
  item->RemoveEntry();
  items_.erase(it);
  item->parent_ = nullptr;
  if (items_.empty()) UpdateEntry();
  NotifyMenu();
}

void TMenuItem::Delete(int index) {
  if (index < 0 || index >= Count()) throw EListError(Format(msg::kListIndexError, {IntToStr(index)}));
  delete items_[static_cast<size_t>(index)];
}

void TMenuItem::Clear() {
  while (!items_.empty()) delete items_.back();
}

int TMenuItem::IndexOf(const TMenuItem* item) const {
  const auto it = std::find(items_.begin(), items_.end(), item);
  return it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
}

TMenu* TMenuItem::GetParentMenu() const {
  const TMenuItem* root = this;
  while (root->parent_) root = root->parent_;
  return root->menu_;
}

TImageList* TMenuItem::GetImageList() const {
  TMenu* menu = GetParentMenu();
  return menu ? menu->Images() : nullptr;
}

HMENU TMenuItem::Handle() {
  if (!handle_) {
    TMenu* menu = menu_;
    handle_.Reset(menu && menu->IsMenuBar() ? CreateMenu() : CreatePopupMenu());
    if (handle_) g_handles[handle_.Get()] = this;
    FillHandle();
  }
  return handle_.Get();
}

void TMenuItem::FillHandle() {
  if (!handle_) return;
  // A new menu is empty: each visible item goes last, no search for its place needed.
  UINT position = 0;
  for (TMenuItem* item : items_) {
    if (item->visible_) item->InsertEntryAt(position++);
  }
}

bool TMenuItem::MenuOwnerDraw() const {
  const TMenu* menu = GetParentMenu();
  return menu && menu->OwnerDraw();
}

UINT TMenuItem::ReadingOrderTypes() const {
  // The bar's items stand at its right end. MFT_RIGHTORDER is left out: Wine reads that bit as the
  // old MF_SYSMENU and draws a drop-down of such items as a system menu (the items' owner drawing
  // mirrors them instead, from TMenu::IsRightToLeft).
  const TMenu* menu = GetParentMenu();
  if (!menu || !menu->IsRightToLeft()) return 0;
  const bool onMenuBar = parent_ && parent_->menu_ && parent_->menu_->IsMenuBar();
  return onMenuBar ? MFT_RIGHTJUSTIFY : 0;
}

int TMenuItem::MenuPosition() const {
  if (!parent_ || !parent_->handle_) return -1;
  HMENU menu = parent_->handle_.Get();
  const int count = GetMenuItemCount(menu);
  // Found by what the entry carries, not counted from the visible siblings: others may have put
  // entries of their own into the menu.
  for (int i = 0; i < count; ++i) {
    MENUITEMINFOW mii{};
    mii.cbSize = sizeof mii;
    mii.fMask = MIIM_ID | MIIM_SUBMENU;
    if (!GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &mii)) continue;
    if ((handle_ && mii.hSubMenu == handle_.Get()) || (!mii.hSubMenu && mii.wID == command_)) return i;
  }
  return -1;
}

namespace {

struct EntryText {
  std::u16string text;
  explicit EntryText(const TMenuItem& item) : text(item.Caption()) {
    if (item.ShortCut()) text += u"\t" + ShortCutToText(item.ShortCut());
  }
  LPWSTR Get() { return reinterpret_cast<LPWSTR>(text.data()); }
};

}  // namespace

void TMenuItem::InsertEntry() {
  if (!visible_ || !parent_ || !parent_->handle_ || MenuPosition() >= 0) return;
  // Beside its siblings: right after the nearest one before it that has an entry, else right
  // before the nearest one after it, else last; entries others put around them stay where they are.
  HMENU menu = parent_->handle_.Get();
  const int index = parent_->IndexOf(this);
  int position = -1;
  for (int i = index - 1; i >= 0 && position < 0; --i) {
    const int before = parent_->items_[static_cast<size_t>(i)]->MenuPosition();
    if (before >= 0) position = before + 1;
  }
  for (int i = index + 1; i < parent_->Count() && position < 0; ++i) {
    position = parent_->items_[static_cast<size_t>(i)]->MenuPosition();
  }
  if (position < 0) position = GetMenuItemCount(menu);
  InsertEntryAt(static_cast<UINT>(position));
}

void TMenuItem::InsertEntryAt(UINT position) {
  EntryText text(*this);
  MENUITEMINFOW mii{};
  mii.cbSize = sizeof mii;
  mii.fMask = MIIM_ID | MIIM_STATE | MIIM_FTYPE | MIIM_SUBMENU | MIIM_STRING | MIIM_DATA;
  mii.fType = (IsLine() ? MFT_SEPARATOR : MFT_STRING) | (MenuOwnerDraw() || entryOwnerDraw_ ? MFT_OWNERDRAW : 0) |
              (radioItem_ ? MFT_RADIOCHECK : 0) | ReadingOrderTypes();
  mii.fState = (checked_ ? MFS_CHECKED : 0) | (enabled_ ? 0 : MFS_GRAYED) | (default_ ? MFS_DEFAULT : 0);
  mii.wID = command_;
  mii.hSubMenu = items_.empty() ? nullptr : Handle();
  mii.dwItemData = entryData_;
  mii.dwTypeData = text.Get();
  InsertMenuItemW(parent_->handle_.Get(), position, TRUE, &mii);
}

void TMenuItem::RemoveEntry() {
  const int position = MenuPosition();
  if (position < 0) return;
  HMENU menu = parent_->handle_.Get();
  MENUITEMINFOW mii{};
  mii.cbSize = sizeof mii;
  mii.fMask = MIIM_FTYPE | MIIM_DATA;
  if (GetMenuItemInfoW(menu, static_cast<UINT>(position), TRUE, &mii)) {
    entryData_ = mii.dwItemData;
    // Only a mark someone else set travels with the item; the menu's own comes from OwnerDraw.
    entryOwnerDraw_ = (mii.fType & MFT_OWNERDRAW) != 0 && !MenuOwnerDraw();
  }
  // RemoveMenu, not DeleteMenu: the sub-menu belongs to this item and is used again.
  RemoveMenu(menu, static_cast<UINT>(position), MF_BYPOSITION);
}

void TMenuItem::UpdateEntry(bool resetOwnerDraw) {
  if (resetOwnerDraw) entryOwnerDraw_ = false;
  if (!visible_) {
    RemoveEntry();
    return;
  }
  const int position = MenuPosition();
  if (position < 0) {
    InsertEntry();
    return;
  }
  HMENU menu = parent_->handle_.Get();
  MENUITEMINFOW mii{};
  mii.cbSize = sizeof mii;
  mii.fMask = MIIM_FTYPE | MIIM_STATE;
  if (!GetMenuItemInfoW(menu, static_cast<UINT>(position), TRUE, &mii)) return;
  UINT type = mii.fType & ~kItemTypes;
  if (resetOwnerDraw) type &= ~static_cast<UINT>(MFT_OWNERDRAW);
  type |= (IsLine() ? MFT_SEPARATOR : 0) | (radioItem_ ? MFT_RADIOCHECK : 0) | (MenuOwnerDraw() ? MFT_OWNERDRAW : 0) |
          ReadingOrderTypes();
  mii.fType = type;
  mii.fState = (mii.fState & ~kItemStates) | (checked_ ? MFS_CHECKED : 0) | (enabled_ ? 0 : MFS_GRAYED) |
               (default_ ? MFS_DEFAULT : 0);
  EntryText text(*this);
  mii.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_STRING | MIIM_SUBMENU;
  mii.hSubMenu = items_.empty() ? nullptr : Handle();
  mii.dwTypeData = text.Get();
  SetMenuItemInfoW(menu, static_cast<UINT>(position), TRUE, &mii);
}

void TMenuItem::Changed() {
  if (InState(csDestroying)) return;
  UpdateEntry();
  NotifyMenu();
}

void TMenuItem::NotifyMenu() {
  if (InState(csDestroying)) return;
  if (TMenu* menu = GetParentMenu()) menu->MenuChanged();
}

void TMenuItem::Click() {
  if (!enabled_) return;
  if (OnClick) OnClick(this);
}

void TMenuItem::MeasureItem(TCanvas* canvas, int& width, int& height) {
  if (IsLine()) {
    width = 16;
    height = 8;
  } else {
    std::u16string text = caption_.empty() || caption_ == u"&" ? caption_ + u" " : caption_;
    if (shortCut_) text += u"    " + ShortCutToText(shortCut_);
    const SIZE size = canvas->TextExtent(text);
    const bool topLevel = parent_ && parent_->menu_ && parent_->menu_->IsMenuBar();
    width = size.cx + (topLevel ? 6 : 32);
    height = std::max<int>(size.cy + 4, GetSystemMetrics(SM_CYMENU) - 1);
  }
  if (OnMeasureItem) OnMeasureItem(this, canvas, width, height);
}

void TMenuItem::AdvancedDrawItem(TCanvas* canvas, TRect rect, TOwnerDrawState state, bool topLevel) {
  if (OnAdvancedDrawItem) {
    OnAdvancedDrawItem(this, canvas, rect, state);
  } else {
    DefaultDrawItem(canvas, rect, state, topLevel);
  }
}

void TMenuItem::DefaultDrawItem(TCanvas* canvas, TRect rect, TOwnerDrawState state, bool topLevel) {
  const bool selected = (state & odSelected) != 0;
  const bool disabled = (state & (odDisabled | odGrayed)) != 0 || !enabled_;
  canvas->Brush()->SetStyle(bsSolid);
  canvas->Brush()->SetColor(selected && !topLevel ? clHighlight : clMenu);
  canvas->FillRect(rect);
  HDC dc = canvas->Handle();
  if (IsLine()) {
    TRect line = rect;
    line.top += (rect.bottom - rect.top) / 2 - 1;
    DrawEdge(dc, &line, EDGE_ETCHED, BF_TOP);
    return;
  }
  const int glyph = topLevel ? 0 : 20;
  // Right to left: the glyph at the right end, the text against it, the shortcut at the left.
  const TMenu* menu = GetParentMenu();
  const bool mirrored = menu && menu->IsRightToLeft();
  if (!topLevel) {
    TImageList* images = GetImageList();
    const int glyphLeft = mirrored ? rect.right - 18 : rect.left + 2;
    if (images && imageIndex_ >= 0 && imageIndex_ < images->Count()) {
      images->Draw(canvas, mirrored ? rect.right - 2 - images->Width() : glyphLeft,
                   rect.top + (rect.bottom - rect.top - images->Height()) / 2, imageIndex_, !disabled);
    } else if (checked_) {
      TRect mark = Rect(glyphLeft, rect.top + (rect.bottom - rect.top - 16) / 2, glyphLeft + 16, 0);
      mark.bottom = mark.top + 16;
      DrawFrameControl(dc, &mark, DFC_MENU, radioItem_ ? DFCS_MENUBULLET : DFCS_MENUCHECK);
    }
  }
  canvas->Brush()->SetStyle(bsClear);
  TFontStyles style = canvas->Font()->Style();
  if (default_) canvas->Font()->SetStyle(style | FontStyle(fsBold));
  canvas->Font()->SetColor(disabled ? clGrayText : (selected && !topLevel ? clHighlightText : clMenuText));
  TRect text = mirrored ? Rect(rect.left + 8, rect.top, rect.right - glyph - 4, rect.bottom)
                        : Rect(rect.left + glyph + 4, rect.top, rect.right - 8, rect.bottom);
  const UINT hidePrefix = (state & odNoAccel) ? DT_HIDEPREFIX : 0;
  const UINT align = topLevel ? DT_CENTER : mirrored ? DT_RIGHT | DT_RTLREADING : 0;
  canvas->DrawText(caption_, text, DT_SINGLELINE | DT_VCENTER | DT_EXPANDTABS | hidePrefix | align);
  if (shortCut_ && !topLevel) {
    canvas->DrawText(ShortCutToText(shortCut_), text, DT_SINGLELINE | DT_VCENTER | (mirrored ? DT_LEFT : DT_RIGHT));
  }
  canvas->Font()->SetStyle(style);
}

void TMenuItem::SetParentComponent(TComponent* parent) {
  if (auto* menu = dynamic_cast<TMenu*>(parent)) {
    menu->Items()->Add(this);
  } else if (auto* item = dynamic_cast<TMenuItem*>(parent)) {
    item->Add(this);
  }
}

TComponent* TMenuItem::GetParentComponent() const {
  if (!parent_) return nullptr;
  if (parent_->menu_) return parent_->menu_;
  return parent_;
}

std::vector<TComponent*> TMenuItem::GetChildren(TComponent* root) const {
  return std::vector<TComponent*>(items_.begin(), items_.end());
}

TMenuItem* TMenuItem::FindCommand(UINT command) {
  if (command_ == command && parent_) return this;
  for (TMenuItem* item : items_) {
    if (TMenuItem* found = item->FindCommand(command)) return found;
  }
  return nullptr;
}

TMenuItem* TMenuItem::FindHandle(HMENU menu) {
  if (handle_ && handle_.Get() == menu) return this;
  for (TMenuItem* item : items_) {
    if (TMenuItem* found = item->FindHandle(menu)) return found;
  }
  return nullptr;
}

// ---- TMenu ----

const TClassInfo& TMenu::StaticClass() {
  static const TClassInfo info = ClassBuilder<TMenu, TComponent>("TMenu")
                                     .Object<TImageList>("Images", &TMenu::Images, &TMenu::SetImages)
                                     .Bool("OwnerDraw", &TMenu::OwnerDraw, &TMenu::SetOwnerDraw)
                                     .Build();
  return info;
}

TMenu::TMenu(TComponent* owner) : TComponent(owner), items_(std::make_unique<TMenuItem>(nullptr)) {
  items_->menu_ = this;
}

TMenu::~TMenu() {
  Destroying();
  items_.reset();
}

void TMenu::UpdateEntries(bool resetOwnerDraw) {
  struct Walker {
    static void Update(TMenuItem* item, bool reset) {
      for (int i = 0; i < item->Count(); ++i) {
        item->Items(i)->UpdateEntry(reset);
        Update(item->Items(i), reset);
      }
    }
  };
  Walker::Update(items_.get(), resetOwnerDraw);
}

void TMenu::SetOwnerDraw(bool value) {
  if (value == ownerDraw_) return;
  ownerDraw_ = value;
  UpdateEntries(true);
  MenuChanged();
}

void TMenu::SetBiDiMode(TBiDiMode mode) {
  if (mode == biDiMode_) return;
  biDiMode_ = mode;
  UpdateEntries(false);
  MenuChanged();
}

void TMenu::SetImages(TImageList* images) {
  images_ = images;
  if (images) images->FreeNotification(this);
  MenuChanged();
}

void TMenu::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation == TOperation::opRemove && component == images_) images_ = nullptr;
}

bool TMenu::DispatchCommand(UINT command) {
  TMenuItem* item = FindItem(command);
  if (!item) return false;
  item->Click();
  return true;
}

bool TMenu::IsShortCut(TShortCut shortCut) {
  struct Finder {
    static TMenuItem* Find(TMenuItem* item, TShortCut s) {
      for (int i = 0; i < item->Count(); ++i) {
        TMenuItem* sub = item->Items(i);
        if (!sub->Visible() || !sub->Enabled()) continue;
        if (sub->ShortCut() == s && sub->Count() == 0) return sub;
        if (TMenuItem* found = Find(sub, s)) return found;
      }
      return nullptr;
    }
  };
  if (!shortCut) return false;
  TMenuItem* item = Finder::Find(items_.get(), shortCut);
  if (!item) return false;
  item->Click();
  return true;
}

std::vector<TComponent*> TMenu::GetChildren(TComponent* root) const { return items_->GetChildren(root); }

void TMenu::MenuChanged() {
  if (window_ && IsWindow(window_)) SendMessageW(window_, CM_MENUCHANGED, 0, 0);
}

TMenuItem* TMenu::FindAnyItem(UINT command) {
  const auto it = g_commands.find(command);
  return it == g_commands.end() ? nullptr : it->second;
}

TMenuItem* TMenu::FindItemByHandle(HMENU menu) {
  if (!menu) return nullptr;
  const auto it = g_handles.find(menu);
  return it == g_handles.end() ? nullptr : it->second;
}

TMenuItem* TMenu::FindItemByCommand(HMENU menu, UINT command) {
  TMenuItem* item = FindAnyItem(command);
  if (!item || !item->Parent() || item->Parent() != FindItemByHandle(menu)) return nullptr;
  return item->MenuPosition() >= 0 ? item : nullptr;
}

TMenuItem* TMenu::FindItemAt(HMENU menu, int position) {
  TMenuItem* owner = FindItemByHandle(menu);
  if (!owner || position < 0) return nullptr;
  MENUITEMINFOW mii{};
  mii.cbSize = sizeof mii;
  mii.fMask = MIIM_ID | MIIM_SUBMENU;
  if (!GetMenuItemInfoW(menu, static_cast<UINT>(position), TRUE, &mii)) return nullptr;
  if (mii.hSubMenu) {
    TMenuItem* item = FindItemByHandle(mii.hSubMenu);
    return item && item->Parent() == owner ? item : nullptr;
  }
  return FindItemByCommand(menu, mii.wID);
}

void TMenu::MenuMessage(TMenuMessage& m) {
  switch (m.Msg) {
    case WM_MEASUREITEM:
      if (MeasureMenuItem(*reinterpret_cast<MEASUREITEMSTRUCT*>(m.LParam), m.Window)) {
        m.Result = TRUE;
        m.Handled = true;
      }
      break;
    case WM_DRAWITEM:
      if (DrawMenuItem(*reinterpret_cast<DRAWITEMSTRUCT*>(m.LParam))) {
        m.Result = TRUE;
        m.Handled = true;
      }
      break;
  }
}

// ---- TMainMenu, TPopupMenu ----

const TClassInfo& TMainMenu::StaticClass() {
  static const TClassInfo info = ClassBuilder<TMainMenu, TMenu>("TMainMenu").Build();
  return info;
}

const TClassInfo& TPopupMenu::StaticClass() {
  static const TClassInfo info = ClassBuilder<TPopupMenu, TMenu>("TPopupMenu")
                                     .Bool("AutoPopup", &TPopupMenu::AutoPopup, &TPopupMenu::SetAutoPopup)
                                     .Default(1)
                                     .Event("OnPopup", &TPopupMenu::OnPopup)
                                     .Build();
  return info;
}

TPopupMenu::TPopupMenu(TComponent* owner) : TMenu(owner) {}

TPopupMenu::~TPopupMenu() {
  if (g_tracking == this) g_tracking = nullptr;
}

void TPopupMenu::Notification(TComponent* component, TOperation operation) {
  TMenu::Notification(component, operation);
  if (operation == TOperation::opRemove && component == popupComponent_) popupComponent_ = nullptr;
}

void TPopupMenu::Popup(int x, int y) {
  // OnPopup runs before the menu is measured, so that it can still change the items; the root's
  // WM_INITMENUPOPUP then knows it has been told.
  if (OnPopup) OnPopup(this);
  TPopupMenu* const outer = std::exchange(g_tracking, this);
  popupAnnounced_ = true;
  TrackPopupMenu(Handle(), TPM_LEFTALIGN | TPM_RIGHTBUTTON, x, y, 0, PopupListWindow(), nullptr);
  const bool freed = g_tracking != this;  // a handler freed the menu while it showed
  g_tracking = outer;
  if (!freed) popupAnnounced_ = false;
}

TPopupMenu* TPopupMenu::Tracking() { return g_tracking; }

void TPopupMenu::MenuMessage(TMenuMessage& m) {
  if (m.Msg == WM_INITMENUPOPUP && m.Item == items_.get()) {
    // Shown by Popup(): told already. Shown by anyone else (TrackPopupMenu on Handle()): told now.
    if (popupAnnounced_) {
      popupAnnounced_ = false;
    } else if (OnPopup) {
      OnPopup(this);
    }
  }
  TMenu::MenuMessage(m);
}

TMenuHookChain& TPopupMenu::PopupListHooks() {
  static TMenuHookChain hooks;
  return hooks;
}

TOwnerDrawState OwnerDrawStateOf(UINT itemState) {
  TOwnerDrawState s = 0;
  if (itemState & ODS_SELECTED) s |= odSelected;
  if (itemState & ODS_GRAYED) s |= odGrayed;
  if (itemState & ODS_DISABLED) s |= odDisabled;
  if (itemState & ODS_CHECKED) s |= odChecked;
  if (itemState & ODS_FOCUS) s |= odFocused;
  if (itemState & ODS_DEFAULT) s |= odDefault;
  if (itemState & ODS_NOACCEL) s |= odNoAccel;
  return s;
}

namespace {

LRESULT CALLBACK PopupListProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) noexcept {
  try {
    if (msg == WM_COMMAND && lParam == 0) {
      if (TMenuItem* item = TMenu::FindAnyItem(LOWORD(wParam))) item->Click();
      return 0;
    }
    TMessage m{msg, wParam, lParam, 0};
    if (DispatchMenuMessage(window, m, &TPopupMenu::PopupListHooks(), g_tracking)) return m.Result;
  } catch (...) {
    ShowExceptionInHandler();
    return 0;
  }
  return DefWindowProcW(window, msg, wParam, lParam);
}

}  // namespace

HWND TPopupMenu::PopupListWindow() {
  static HWND window = [] {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = PopupListProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"TPopupList";
    RegisterClassExW(&wc);
    return CreateWindowExW(WS_EX_TOOLWINDOW, L"TPopupList", L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                           GetModuleHandleW(nullptr), nullptr);
  }();
  return window;
}

bool DrawMenuItem(const DRAWITEMSTRUCT& dis) {
  if (dis.CtlType != ODT_MENU) return false;
  TMenuItem* item = TMenu::FindAnyItem(dis.itemID);
  if (!item) return false;
  TMenu* menu = item->GetParentMenu();
  const bool topLevel = menu && item->Parent() == menu->Items() && dynamic_cast<TMainMenu*>(menu);
  TCanvas canvas;
  canvas.SetHandle(dis.hDC);
  canvas.Font()->Assign(MenuFont());
  const int saved = SaveDC(dis.hDC);
  item->AdvancedDrawItem(&canvas, dis.rcItem, OwnerDrawStateOf(dis.itemState), topLevel);
  canvas.SetHandle(nullptr);
  RestoreDC(dis.hDC, saved);
  return true;
}

bool MeasureMenuItem(MEASUREITEMSTRUCT& mis, HWND window) {
  if (mis.CtlType != ODT_MENU) return false;
  TMenuItem* item = TMenu::FindAnyItem(mis.itemID);
  if (!item) return false;
  WindowDc dc(window);
  TCanvas canvas;
  canvas.SetHandle(dc.Get());
  canvas.Font()->Assign(MenuFont());
  int width = static_cast<int>(mis.itemWidth), height = static_cast<int>(mis.itemHeight);
  item->MeasureItem(&canvas, width, height);
  canvas.SetHandle(nullptr);
  mis.itemWidth = static_cast<UINT>(std::max(width, 0));
  mis.itemHeight = static_cast<UINT>(std::max(height, 0));
  return true;
}

// ---- Hooks and the routing of menu messages ----

namespace detail {

struct MenuHookLinks {
  // In the order linked; an entry left while a message runs through the chain is cleared, and the
  // list is compacted once no message is running through it.
  std::vector<std::shared_ptr<TMenuHook::THandler>> hooks;
  int dispatching = 0;
  void Compact() {
    if (dispatching == 0) hooks.erase(std::remove(hooks.begin(), hooks.end(), nullptr), hooks.end());
  }
};

// One message on its way through the hook chains, newest hook first, then the menu's handling.
class MenuDispatch {
 public:
  MenuDispatch(std::initializer_list<TMenuHookChain*> chains, TMenu* menu) : menu_(menu) {
    for (TMenuHookChain* chain : chains) {
      if (!chain) continue;
      // Holding the links keeps them valid when a hook frees the chain's owner on the way.
      stages_.push_back({chain->links_, chain->links_->hooks.size()});
      ++chain->links_->dispatching;
    }
  }
  ~MenuDispatch() {
    for (Stage& stage : stages_) {
      --stage.links->dispatching;
      stage.links->Compact();
    }
  }
  MenuDispatch(const MenuDispatch&) = delete;
  MenuDispatch& operator=(const MenuDispatch&) = delete;

  // Runs what is left of the way: hooks not yet called, then the menu's own handling.
  void Run(TMenuMessage& m) {
    m.dispatch_ = this;
    while (!m.Handled) {
      std::shared_ptr<TMenuHook::THandler> hook = Next();
      if (!hook) {
        if (!menuDone_) {
          menuDone_ = true;
          if (menu_) menu_->MenuMessage(m);
        }
        return;
      }
      (*hook)(m);  // the copy keeps the handler alive should it detach itself
    }
  }

 private:
  struct Stage {
    std::shared_ptr<MenuHookLinks> links;
    size_t left;  // hooks below this index not called yet (hooks linked meanwhile wait)
  };
  std::shared_ptr<TMenuHook::THandler> Next() {
    for (; stage_ < stages_.size(); ++stage_) {
      Stage& stage = stages_[stage_];
      while (stage.left > 0) {
        if (auto hook = stage.links->hooks[--stage.left]) return hook;
      }
    }
    return nullptr;
  }
  std::vector<Stage> stages_;
  size_t stage_ = 0;
  TMenu* menu_;
  bool menuDone_ = false;
};

}  // namespace detail

void TMenuMessage::Inherited() {
  if (dispatch_) dispatch_->Run(*this);
}

TMenuHookChain::TMenuHookChain() : links_(std::make_shared<detail::MenuHookLinks>()) {}

TMenuHookChain::~TMenuHookChain() = default;

int TMenuHookChain::Count() const {
  return static_cast<int>(std::count_if(links_->hooks.begin(), links_->hooks.end(), [](const auto& h) { return h != nullptr; }));
}

void TMenuHook::Attach(TMenuHookChain& chain, THandler handler) {
  Detach();
  handler_ = std::make_shared<THandler>(std::move(handler));
  chain.links_->hooks.push_back(handler_);
  links_ = chain.links_;
}

void TMenuHook::Detach() {
  if (auto links = links_.lock()) {
    auto& hooks = links->hooks;
    if (const auto it = std::find(hooks.begin(), hooks.end(), handler_); it != hooks.end()) it->reset();
    links->Compact();
  }
  links_.reset();
  handler_.reset();
}

bool TMenuHook::Attached() const { return handler_ && !links_.expired(); }

namespace {

// Fills in the menu and item a message concerns; false for messages that are not about menus.
bool ResolveMenuMessage(TMenuMessage& m, TMenu* loopMenu) {
  switch (m.Msg) {
    case WM_INITMENUPOPUP:
    case WM_UNINITMENUPOPUP:
      m.MenuHandle = reinterpret_cast<HMENU>(m.WParam);
      m.Item = TMenu::FindItemByHandle(m.MenuHandle);
      break;
    case WM_MENUSELECT: {
      const UINT flags = HIWORD(m.WParam);
      m.MenuHandle = reinterpret_cast<HMENU>(m.LParam);
      if (flags == 0xFFFF && !m.MenuHandle) {  // the menu closed
        m.Menu = loopMenu;
        return true;
      }
      m.Item = (flags & MF_POPUP) ? TMenu::FindItemAt(m.MenuHandle, LOWORD(m.WParam))
                                  : TMenu::FindItemByCommand(m.MenuHandle, LOWORD(m.WParam));
      break;
    }
    case WM_MEASUREITEM: {
      const auto* mis = reinterpret_cast<const MEASUREITEMSTRUCT*>(m.LParam);
      if (!mis || mis->CtlType != ODT_MENU) return false;
      m.Item = TMenu::FindAnyItem(mis->itemID);
      if (m.Item && m.Item->Parent() && m.Item->Parent()->HandleAllocated()) m.MenuHandle = m.Item->Parent()->Handle();
      break;
    }
    case WM_DRAWITEM: {
      const auto* dis = reinterpret_cast<const DRAWITEMSTRUCT*>(m.LParam);
      if (!dis || dis->CtlType != ODT_MENU) return false;
      m.MenuHandle = reinterpret_cast<HMENU>(dis->hwndItem);
      m.Item = TMenu::FindAnyItem(dis->itemID);
      break;
    }
    case WM_ENTERMENULOOP:
    case WM_EXITMENULOOP:
      m.Menu = loopMenu;
      return true;
    default:
      return false;
  }
  m.Menu = m.Item ? m.Item->GetParentMenu() : nullptr;
  return true;
}

}  // namespace

bool DispatchMenuMessage(HWND window, TMessage& message, TMenuHookChain* windowHooks, TMenu* loopMenu) {
  TMenuMessage m;
  m.Msg = message.Msg;
  m.WParam = message.WParam;
  m.LParam = message.LParam;
  m.Window = window;
  if (!ResolveMenuMessage(m, loopMenu)) return false;
  detail::MenuDispatch dispatch({windowHooks, m.Menu ? &m.Menu->Hooks() : nullptr}, m.Menu);
  dispatch.Run(m);
  message.Result = m.Result;
  return m.Handled;
}

}  // namespace qlt
