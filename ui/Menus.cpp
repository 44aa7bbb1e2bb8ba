#include "ui/Menus.h"

#include <algorithm>
#include <map>

#include "ui/Controls.h"
#include "ui/SysUtils.h"

namespace qlt {


namespace {

// Menu commands live above the control identifiers (100 to 0x7FFF), so that a WM_COMMAND without a
// window is never mistaken for a control's.
std::map<UINT, TMenuItem*> g_commands;
UINT g_nextCommand = 0x8000;

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

TMenuItem::TMenuItem(TComponent* owner) : TComponent(owner) { command_ = AllocateCommand(this); }

TMenuItem::~TMenuItem() {
  Destroying();
  while (!items_.empty()) delete items_.back();
  if (parent_) parent_->Remove(this);
  g_commands.erase(command_);
  if (handle_) {
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
  if (!item || item == this) return;
  if (item->parent_) item->parent_->Remove(item);
  index = std::clamp(index, 0, Count());
  items_.insert(items_.begin() + index, item);
  item->parent_ = this;
  RebuildHandle();
  Changed();
}

void TMenuItem::Remove(TMenuItem* item) {
  const auto it = std::find(items_.begin(), items_.end(), item);
  if (it == items_.end()) return;
  items_.erase(it);
  item->parent_ = nullptr;
  RebuildHandle();
  if (!InState(csDestroying)) Changed();
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
    RebuildHandle();
  }
  return handle_.Get();
}

void TMenuItem::AppendTo(HMENU menu, bool ownerDraw) {
  std::u16string text = caption_;
  if (shortCut_) text += u"\t" + ShortCutToText(shortCut_);
  MENUITEMINFOW mii{};
  mii.cbSize = sizeof mii;
  mii.fMask = MIIM_ID | MIIM_STATE | MIIM_FTYPE | MIIM_SUBMENU | MIIM_STRING | MIIM_DATA;
  mii.fType = (IsLine() ? MFT_SEPARATOR : MFT_STRING) | (ownerDraw ? MFT_OWNERDRAW : 0) |
              (radioItem_ ? MFT_RADIOCHECK : 0);
  mii.fState = (checked_ ? MFS_CHECKED : 0) | (enabled_ ? 0 : MFS_GRAYED) | (default_ ? MFS_DEFAULT : 0);
  mii.wID = command_;
  mii.hSubMenu = items_.empty() ? nullptr : Handle();
  mii.dwItemData = command_;
  mii.dwTypeData = reinterpret_cast<LPWSTR>(text.data());
  InsertMenuItemW(menu, GetMenuItemCount(menu), TRUE, &mii);
}

void TMenuItem::RebuildHandle() {
  if (!handle_) return;
  HMENU menu = handle_.Get();
  // RemoveMenu, not DeleteMenu: the sub-menus belong to their items and are reused.
  while (GetMenuItemCount(menu) > 0) RemoveMenu(menu, 0, MF_BYPOSITION);
  TMenu* owner = GetParentMenu();
  const bool ownerDraw = owner && owner->OwnerDraw();
  for (TMenuItem* item : items_) {
    if (item->visible_) item->AppendTo(menu, ownerDraw);
  }
}

void TMenuItem::Changed() {
  if (InState(csDestroying)) return;
  if (parent_) parent_->RebuildHandle();
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
  if (!topLevel) {
    TImageList* images = GetImageList();
    if (images && imageIndex_ >= 0 && imageIndex_ < images->Count()) {
      images->Draw(canvas, rect.left + 2, rect.top + (rect.bottom - rect.top - images->Height()) / 2, imageIndex_,
                   !disabled);
    } else if (checked_) {
      TRect mark = Rect(rect.left + 2, rect.top + (rect.bottom - rect.top - 16) / 2, rect.left + 18, 0);
      mark.bottom = mark.top + 16;
      DrawFrameControl(dc, &mark, DFC_MENU, radioItem_ ? DFCS_MENUBULLET : DFCS_MENUCHECK);
    }
  }
  canvas->Brush()->SetStyle(bsClear);
  TFontStyles style = canvas->Font()->Style();
  if (default_) canvas->Font()->SetStyle(style | FontStyle(fsBold));
  canvas->Font()->SetColor(disabled ? clGrayText : (selected && !topLevel ? clHighlightText : clMenuText));
  TRect text = Rect(rect.left + glyph + 4, rect.top, rect.right - 8, rect.bottom);
  const UINT hidePrefix = (state & odNoAccel) ? DT_HIDEPREFIX : 0;
  canvas->DrawText(caption_, text, DT_SINGLELINE | DT_VCENTER | DT_EXPANDTABS | hidePrefix | (topLevel ? DT_CENTER : 0));
  if (shortCut_ && !topLevel) {
    canvas->DrawText(ShortCutToText(shortCut_), text, DT_SINGLELINE | DT_VCENTER | DT_RIGHT);
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

void TMenu::SetOwnerDraw(bool value) {
  if (value == ownerDraw_) return;
  ownerDraw_ = value;
  // Every sub-menu that exists is filled again with the new item type.
  struct Walker {
    static void Rebuild(TMenuItem* item) {
      for (int i = 0; i < item->Count(); ++i) Rebuild(item->Items(i));
      item->RebuildHandle();
    }
  };
  Walker::Rebuild(items_.get());
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

TPopupMenu::~TPopupMenu() = default;

void TPopupMenu::Notification(TComponent* component, TOperation operation) {
  TMenu::Notification(component, operation);
  if (operation == TOperation::opRemove && component == popupComponent_) popupComponent_ = nullptr;
}

void TPopupMenu::Popup(int x, int y) {
  if (OnPopup) OnPopup(this);
  TrackPopupMenu(Handle(), TPM_LEFTALIGN | TPM_RIGHTBUTTON, x, y, 0, PopupListWindow(), nullptr);
}

namespace {

TOwnerDrawState DrawState(UINT itemState) {
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

LRESULT CALLBACK PopupListProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) noexcept {
  try {
    switch (msg) {
      case WM_COMMAND:
        if (lParam == 0) {
          if (TMenuItem* item = TMenu::FindAnyItem(LOWORD(wParam))) item->Click();
          return 0;
        }
        break;
      case WM_DRAWITEM:
        if (DrawMenuItem(*reinterpret_cast<DRAWITEMSTRUCT*>(lParam))) return TRUE;
        break;
      case WM_MEASUREITEM:
        if (MeasureMenuItem(*reinterpret_cast<MEASUREITEMSTRUCT*>(lParam), window)) return TRUE;
        break;
    }
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
  item->AdvancedDrawItem(&canvas, dis.rcItem, DrawState(dis.itemState), topLevel);
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

}  // namespace qlt
